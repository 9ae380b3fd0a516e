// The hint in a game against the computer: the local player's best letter and column by the
// Master's search, and why, as a line for the status list.
#pragma once

#include <optional>
#include <string>

#include "computer.h"
#include "match.h"
#include "state.h"

namespace gd {

enum class HintReason {
    CompletesWord,  // the letter completes `word`: the game is won
    BlocksWord,     // the letter takes the hole where the opponent could complete `word`
    FewestChances,  // nothing wins or blocks; the move leaves the opponent the fewest winning moves
};

struct MoveAdvice {
    int piece = -1;   // the rack letter `Image[piece]`, 0..7
    int column = -1;  // 0..6, never a full column
    HintReason reason = HintReason::FewestChances;
    std::string word;  // the word completed or blocked, upper case; empty for FewestChances
    int chances = 0;   // the opponent's winning moves after this move: columns where he completes
    std::string text;  // the status line
};

// The local player's best move with the letters of his rack, on the board as it is: a word of
// his own first, then a word the opponent (who may play any letter) could complete next taken
// away, else the move that leaves the opponent the fewest columns where he completes a word.
// Ties go to the column nearest the middle, then the left one, then the first rack letter.
// Each move is tried on the board and taken back, so the board ends as it began. Nothing when
// no rack letter or no column is left. `lookup` must answer every letter (see `CompletionAt`).
std::optional<MoveAdvice> AdviseMove(GameState& s, CompletionLookup lookup = IndexedCompletions);

// The "Hint" command: when `match.HintOffered()`, the advice, its line going to the status list,
// for the window to pick out its letter and column; otherwise a line saying why there is none.
std::optional<MoveAdvice> AskForHint(const Match& match, GameState& s);

}  // namespace gd
