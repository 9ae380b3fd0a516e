// Encoding and strict decoding of moves; anything but a well-formed move is refused here.
#include "move.h"

#include <cassert>

namespace gd {
namespace {

constexpr int kLastHole = 41;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "0".."41" with no leading zero; anything else is no hole.
std::optional<int> DecodeHole(std::string_view digits) {
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    if (digits.size() == 2 && digits[0] == '0') return std::nullopt;
    int hole = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        hole = hole * 10 + (c - '0');
    }
    if (hole > kLastHole) return std::nullopt;
    return hole;
}

}  // namespace

std::string EncodeMove(const Move& move, MoveForm form) {
    assert(move.letter >= 'a' && move.letter <= 'z');
    assert(move.hole >= 0 && move.hole <= kLastHole);
    std::string text = form == MoveForm::LanMessage ? "M" : "";
    text += move.letter;
    text += std::to_string(move.hole);
    return text;
}

std::optional<Move> DecodeMove(std::string_view text, MoveForm form) {
    if (form == MoveForm::LanMessage) {
        if (text.empty() || text[0] != 'M') return std::nullopt;
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] < 'a' || text[0] > 'z') return std::nullopt;
    const auto hole = DecodeHole(text.substr(1));
    if (!hole) return std::nullopt;
    return Move{text[0], *hole};
}

}  // namespace gd
