// The computer opponent's search, random move and drop.
#include "computer.h"

#include <cassert>

#include "board.h"
#include "rules.h"

namespace gd {

namespace {

constexpr int kLetters = 26;
constexpr int kBeginner = 1;
constexpr int kMaster = 3;
// Master redraws a dangerous column at most this many times in all.
constexpr int kMasterAttempts = 5;
constexpr int kNoLetter = 99;

// The window's word with `letter` at `position`.
std::string CandidateWord(const WindowTags& tags, int position, int letter) {
    std::string word;
    for (int i = 0; i < 4; ++i)
        word += i == position ? LetterOf(letter) : *tags[i];
    return word;
}

int LowestLetter(std::uint32_t letters) {
    assert(letters != 0);
    return __builtin_ctz(letters);
}

// The top hole of a column: the column is full when it is taken.
int TopHole(int column) {
    return kDropRowFirst + column - kColumns;
}

bool AnyColumnOpen(const GameState& s) {
    for (int c = 0; c < kColumns; ++c)
        if (IsHoleEmpty(s, TopHole(c))) return true;
    return false;
}

int DrawColumn(Services& sv) {
    sv.random.Reseed();
    const int k = static_cast<int>(kColumns * sv.random.Next() + 1);
    assert(k >= 1 && k <= kColumns);
    return k - 1;
}

// A random letter, drawn once, into a random open column. Master redraws a column whose move
// would let a word be completed in the hole just above the computer's letter.
void ChooseRandomMove(const GameState& s, Services& sv, CompletionLookup lookup,
                      ComputerChoice& choice) {
    sv.random.Reseed();
    choice.letter = DrawLetter(sv);
    // A full board has already ended the game; never draw forever.
    if (!AnyColumnOpen(s)) return;
    int attempt = 1;
    for (;;) {
        const int column = DrawColumn(sv);
        if (!IsHoleEmpty(s, TopHole(column))) continue;
        choice.column = column;
        if (s.CurrentComputerSkill != kMaster) return;
        const int above = LandingHole(s, column) + kColumns;
        if (above >= kBoardHoles) return;
        const int danger = WinningLetter(s, above, lookup);
        if (danger < 0) return;
        choice.computerLetter = danger;
        if (attempt >= kMasterAttempts) return;
        ++attempt;
    }
}

// The windows through `hole` in the word check's order; in the first whose other three cells
// are filled and that a letter of `among` completes, the lowest such letter, and its word in
// `word` when asked.
int Search(const GameState& s, int hole, CompletionLookup lookup, std::uint32_t among,
           std::string* word) {
    assert(hole >= 0 && hole < kBoardHoles);
    for (const WordWindow& window : kWordWindows) {
        if (!WindowFits(window, hole)) continue;
        WindowTags tags{};
        bool complete = true;
        for (int i = 0; i < 4 && complete; ++i) {
            if (i == window.position) continue;
            const std::string& tag = s.Hole[hole + window.offsets[i]].Tag;
            complete = tag != kEmptyMarker;
            tags[i] = &tag;
        }
        if (!complete) continue;
        const std::uint32_t letters = lookup(s.Words, tags, window.position) & among;
        if (letters == 0) continue;
        const int letter = LowestLetter(letters);
        if (word) *word = CandidateWord(tags, window.position, letter);
        return letter;
    }
    return -1;
}

}  // namespace

std::uint32_t IndexedCompletions(const WordList& words, const WindowTags& tags, int position) {
    int others[3], k = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == position) continue;
        const int n = LetterNumber(*tags[i]);
        // Board tags are always letters; anything else is weighed the slow way.
        if (n < 0) return HashCompletions(words, tags, position);
        others[k++] = n;
    }
    return words.CompletingLetters(position, others[0], others[1], others[2]);
}

std::uint32_t HashCompletions(const WordList& words, const WindowTags& tags, int position) {
    for (int j = 0; j < kLetters; ++j)
        if (IsWord(words, CandidateWord(tags, position, j))) return 1u << j;
    return 0;
}

std::uint32_t ScanCompletions(const WordList& words, const WindowTags& tags, int position) {
    for (int j = 0; j < kLetters; ++j) {
        const std::string word = CandidateWord(tags, position, j);
        for (int i = 0; i < words.WordCount; ++i)
            if (UpperAscii(words.Words[i]) == UpperAscii(word)) return 1u << j;
    }
    return 0;
}

int WinningLetter(const GameState& s, int hole, CompletionLookup lookup) {
    return Search(s, hole, lookup, kEveryLetter, nullptr);
}

Completion CompletionAt(const GameState& s, int hole, std::uint32_t among,
                        CompletionLookup lookup) {
    Completion found;
    found.letter = Search(s, hole, lookup, among, &found.word);
    return found;
}

bool FindWinningLetter(GameState& s, int hole) {
    const int letter = WinningLetter(s, hole);
    if (letter < 0) return false;
    s.ComputerLetter = letter;
    return true;
}

ComputerChoice ChooseComputerMove(const GameState& s, Services& sv, CompletionLookup lookup) {
    ComputerChoice choice;
    choice.computerLetter = s.ComputerLetter;
    if (s.CurrentComputerSkill != kBeginner) {
        choice.computerLetter = kNoLetter;
        for (int column = 0; column < kColumns; ++column) {
            const int landing = LandingHole(s, column);
            if (landing < 0) continue;
            const int letter = WinningLetter(s, landing, lookup);
            if (letter < 0) continue;
            choice.column = column;
            choice.letter = choice.computerLetter = letter;
            return choice;
        }
    }
    ChooseRandomMove(s, sv, lookup, choice);
    return choice;
}

std::optional<Move> ComputerMove(GameState& s, Services& sv) {
    if (s.GameOver) return std::nullopt;
    sv.pause.Pause();
    const ComputerChoice choice = ChooseComputerMove(s, sv);
    s.ComputerLetter = choice.computerLetter;
    if (choice.column < 0) return std::nullopt;
    return Move{LetterOf(choice.letter)[0], LandingHole(s, choice.column)};
}

}  // namespace gd
