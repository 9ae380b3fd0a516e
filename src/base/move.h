// The one codec for a move on the wire: the internet payload (letter + hole, "q17") and the
// LAN move message ("M" + letter + hole, "Mq17"). Every move from outside is decoded here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gd {

struct Move {
    char letter = 'a';  // "a".."z"
    int hole = 0;       // 0..41, where the letter came to rest
    int LetterNumber() const { return letter - 'a'; }
    bool operator==(const Move& o) const { return letter == o.letter && hole == o.hole; }
};

enum class MoveForm {
    Payload,     // the internet move: letter + hole
    LanMessage,  // "M" + letter + hole
};

// The text of `move` in `form`. The move must be valid.
std::string EncodeMove(const Move& move, MoveForm form);

// The move a text carries, or nothing when it is not exactly one letter "a".."z" followed by a
// hole 0..41 in decimal without sign, blanks or leading zeros (after "M" for a LAN message).
std::optional<Move> DecodeMove(std::string_view text, MoveForm form);

}  // namespace gd
