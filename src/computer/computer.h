// The computer opponent's turn: search for a word-completing letter, else a random move, then
// the drop with its two pauses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "move.h"
#include "services.h"
#include "state.h"
#include "wordlist.h"

namespace gd {

// The tags of a window's four cells in reading order; the entry at the weighed hole's place is
// null (that hole's own tag is never read).
using WindowTags = std::array<const std::string*, 4>;

// Which letters complete a window: bit n is set when the window's word with letter n ("a" + n)
// at `position` is listed. The search uses only the lowest bit, so a lookup may stop at the
// first letter it finds. The answers of all lookups below agree.
using CompletionLookup = std::uint32_t (*)(const WordList& words, const WindowTags& tags,
                                           int position);
// One probe of the word list's letter patterns.
std::uint32_t IndexedCompletions(const WordList& words, const WindowTags& tags, int position);
// A hash probe per candidate letter.
std::uint32_t HashCompletions(const WordList& words, const WindowTags& tags, int position);
// A scan of the whole list per candidate letter, both sides upper-cased at every comparison.
std::uint32_t ScanCompletions(const WordList& words, const WindowTags& tags, int position);

// The alphabetically first letter (0..25) that completes a listed word in the first of the 13
// windows through `hole` whose other three cells are all filled; -1 when there is none.
int WinningLetter(const GameState& s, int hole, CompletionLookup lookup = IndexedCompletions);

// A word that one letter in a hole completes: the letter (0..25, -1 when none) and the word.
struct Completion {
    int letter = -1;
    std::string word;
};
constexpr std::uint32_t kEveryLetter = (1u << 26) - 1;
// The search of `WinningLetter` among the letters of `among` only (bit n for letter n), with the
// word it finds: the first window through `hole` that one of them completes, and the
// alphabetically first of them there. A lookup that stops at the first letter it finds suits
// `kEveryLetter` only; `IndexedCompletions` answers every letter.
Completion CompletionAt(const GameState& s, int hole, std::uint32_t among = kEveryLetter,
                        CompletionLookup lookup = IndexedCompletions);
// True when some letter in `hole` would complete a word; `ComputerLetter` then holds it.
bool FindWinningLetter(GameState& s, int hole);

// The computer's decision: the column and letter it plays, and what `ComputerLetter` holds
// afterwards.
struct ComputerChoice {
    int column = -1;  // 0..6; -1 only when every column is full
    int letter = -1;  // 0..25
    int computerLetter = 99;
};
// Everything of the computer's turn between the two pauses that decides the move: the search
// (skill 2 and 3), else the random move with Master's danger test. Draws from `sv.random`.
ComputerChoice ChooseComputerMove(const GameState& s, Services& sv,
                                  CompletionLookup lookup = IndexedCompletions);

// The computer's turn up to its decision: the thinking pause, then the letter and the hole it
// lands in. The match plays it as every opponent's move is played (`Match::ApplyOpponentMove`).
std::optional<Move> ComputerMove(GameState& s, Services& sv);

}  // namespace gd
