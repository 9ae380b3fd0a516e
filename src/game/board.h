// Reading and changing the holes of the board, and the four-hole windows that words are read in.
#pragma once

#include <array>
#include <string>

#include "state.h"

namespace gd {

// Letter number: "a" = 0 .. "z" = 25; -1 for anything else.
int LetterNumber(const std::string& tag);
std::string LetterOf(int n);

// The picture of the local player's letters for a `PieceColour` value: blue only for "blue".
Picture PieceColourPicture(const std::string& pieceColour);

bool IsHoleEmpty(const GameState& s, int hole);
void EmptyHole(GameState& s, int hole);
void SetHole(GameState& s, int hole, const std::string& letter, Picture picture);
// True when some hole 0..41 shows the empty-hole picture.
bool BoardHasRoom(const GameState& s);
// The lowest empty hole of column 0..6, or -1 when the column is full.
int LandingHole(const GameState& s, int column);
// Moves the letter in `hole` down while the hole below is empty; returns where it comes to rest.
int LetFall(GameState& s, int hole);

// 1-based column (1 left .. 7 right) and row (1 top .. 6 bottom) of a hole 0..41.
inline int ColumnOf(int hole) {
    return hole % kColumns + 1;
}
inline int RowOf(int hole) {
    return kRows - hole / kColumns;
}

// One of the 13 windows through a hole: offsets from the hole in reading order, and the rows
// and columns of the hole for which all four cells lie on the board.
struct WordWindow {
    std::array<int, 4> offsets;
    int minRow, maxRow, minColumn, maxColumn;
    int position;  // index of the hole itself in `offsets`
};
extern const std::array<WordWindow, 13> kWordWindows;

inline bool WindowFits(const WordWindow& w, int hole) {
    const int row = RowOf(hole), column = ColumnOf(hole);
    return row >= w.minRow && row <= w.maxRow && column >= w.minColumn && column <= w.maxColumn;
}
inline std::array<int, 4> WindowHoles(const WordWindow& w, int hole) {
    return {hole + w.offsets[0], hole + w.offsets[1], hole + w.offsets[2], hole + w.offsets[3]};
}

}  // namespace gd
