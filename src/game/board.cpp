// Holes, letters and the word windows of the board.
#include "board.h"

#include <cassert>

namespace gd {

// Reading order first letter first; +1 is one column right, +7 one row up.
const std::array<WordWindow, 13> kWordWindows = {{
    {{0, 1, 2, 3}, 1, 6, 1, 4, 0},       // horizontal
    {{-1, 0, 1, 2}, 1, 6, 2, 5, 1},      //
    {{-2, -1, 0, 1}, 1, 6, 3, 6, 2},     //
    {{-3, -2, -1, 0}, 1, 6, 4, 7, 3},    //
    {{0, -7, -14, -21}, 1, 3, 1, 7, 0},  // vertical, top to bottom
    {{0, -6, -12, -18}, 1, 3, 1, 4, 0},  // diagonal down, upper left to lower right
    {{6, 0, -6, -12}, 2, 4, 2, 5, 1},    //
    {{12, 6, 0, -6}, 3, 5, 3, 6, 2},     //
    {{18, 12, 6, 0}, 4, 6, 4, 7, 3},     //
    {{0, 8, 16, 24}, 4, 6, 1, 4, 0},     // diagonal up, lower left to upper right
    {{-8, 0, 8, 16}, 3, 5, 2, 5, 1},     //
    {{-16, -8, 0, 8}, 2, 4, 3, 6, 2},    //
    {{-24, -16, -8, 0}, 1, 3, 4, 7, 3},  //
}};

int LetterNumber(const std::string& tag) {
    if (tag.size() != 1 || tag[0] < 'a' || tag[0] > 'z') return -1;
    return tag[0] - 'a';
}

std::string LetterOf(int n) {
    assert(n >= 0 && n < 26);
    return std::string(1, static_cast<char>('a' + n));
}

Picture PieceColourPicture(const std::string& pieceColour) {
    return pieceColour == "blue" ? Picture::Blue : Picture::Red;
}

bool IsHoleEmpty(const GameState& s, int hole) {
    assert(hole >= 0 && hole < kHoleCount);
    return s.Hole[hole].picture == s.Blank.picture;
}

void EmptyHole(GameState& s, int hole) {
    assert(hole >= 0 && hole < kHoleCount);
    s.Hole[hole] = s.Blank;
}

void SetHole(GameState& s, int hole, const std::string& letter, Picture picture) {
    assert(hole >= 0 && hole < kHoleCount);
    assert(LetterNumber(letter) >= 0 && picture != Picture::Blank && picture != Picture::None);
    s.Hole[hole] = Cell{picture, letter};
}

bool BoardHasRoom(const GameState& s) {
    for (int h = 0; h < kBoardHoles; ++h)
        if (IsHoleEmpty(s, h)) return true;
    return false;
}

int LandingHole(const GameState& s, int column) {
    for (int h = column; h < kBoardHoles; h += kColumns)
        if (IsHoleEmpty(s, h)) return h;
    return -1;
}

int LetFall(GameState& s, int hole) {
    while (hole - kColumns >= 0 && IsHoleEmpty(s, hole - kColumns)) {
        const Cell letter = s.Hole[hole];
        EmptyHole(s, hole);
        hole -= kColumns;
        s.Hole[hole] = letter;
    }
    return hole;
}

}  // namespace gd
