// The computer's search, random move and drop, on boards built from pictures.
#include "computer.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fakes.h"

namespace gd {
namespace {

using test::Harness;
using test::SeededRandom;

// Every window the search looked up, as its word with '?' at the weighed hole.
std::vector<std::string> lookedUp;

std::uint32_t RecordingLookup(const WordList& words, const WindowTags& tags, int position) {
    std::string word;
    for (int i = 0; i < 4; ++i)
        word += i == position ? "?" : *tags[i];
    lookedUp.push_back(word);
    return IndexedCompletions(words, tags, position);
}

struct ComputerTest : ::testing::Test {
    Harness t;
    void SetUp() override { lookedUp.clear(); }
    // The computer's turn in a game against "Ann", the computer to move.
    void ComputerToMove() {
        t.s.LocalPlayer = t.s.FirstPlayer = "Ann";
        t.s.SecondPlayer = t.s.CurrentPlayer = kComputerName;
        t.s.ComputerGame = true;
    }
};

// Guards against reading a window in the wrong cells or the wrong order.
struct Direction {
    const char* name;
    int rowStep, columnStep;    // one step in reading order; rows count up from the bottom
    int firstRow, firstColumn;  // a start that keeps all four cells on the board
};
const Direction kDirections[] = {
    {"horizontal", 0, 1, 2, 1},
    {"vertical", -1, 0, 4, 3},
    {"diagonal down", -1, 1, 4, 1},
    {"diagonal up", 1, 1, 1, 2},
};

TEST_F(ComputerTest, EveryWindowThroughAHoleFindsItsWord) {
    t.AddWords({"word"});
    int windows = 0;
    for (const Direction& d : kDirections) {
        // A vertical word can only run down from the newest letter of its column.
        const int places = d.columnStep == 0 ? 1 : 4;
        for (int place = 0; place < places; ++place) {
            Harness board;
            board.AddWords({"word"});
            int hole = -1;
            for (int i = 0; i < 4; ++i) {
                const int h =
                    (d.firstRow + i * d.rowStep) * kColumns + d.firstColumn + i * d.columnStep;
                if (i == place)
                    hole = h;
                else
                    SetHole(board.s, h, std::string(1, "word"[i]), Picture::Blue);
            }
            SCOPED_TRACE(std::string(d.name) + " place " + std::to_string(place));
            EXPECT_EQ(WinningLetter(board.s, hole), "word"[place] - 'a');
            ++windows;
        }
    }
    EXPECT_EQ(windows, 13);
}

TEST_F(ComputerTest, WordsReadAgainstTheirDirectionAreNotFound) {
    t.AddWords({"word"});
    t.SetBoard({"drow..."});  // right to left in the bottom row
    EXPECT_EQ(WinningLetter(t.s, 4), -1);
    t.SetBoard({"...o...", "...r...", "...d..."});
    EXPECT_EQ(WinningLetter(t.s, 24), 'w' - 'a');  // "word" read downwards
    t.SetBoard({"...r...", "...o...", "...w..."});
    EXPECT_EQ(WinningLetter(t.s, 24), -1);  // "word" read upwards
}

TEST_F(ComputerTest, FindWinningLetterLeavesTheLetterInComputerLetter) {
    t.AddWords({"word"});
    t.SetBoard({"wor...."});
    t.s.ComputerLetter = 99;
    EXPECT_FALSE(FindWinningLetter(t.s, 4));
    EXPECT_EQ(t.s.ComputerLetter, 99);
    EXPECT_TRUE(FindWinningLetter(t.s, 3));
    EXPECT_EQ(t.s.ComputerLetter, 'd' - 'a');
    EXPECT_EQ(t.Board().back(), "wor....");
}

// Guards against looking up a window that still has an empty cell, and against a wrong answer
// when several moves win.
TEST_F(ComputerTest, OnlyTheWindowWithoutEmptyCellsIsLookedUp) {
    // Holes 0 to 3 and 7 to 9 filled, hole 10 empty: column 3 lands in hole 10.
    t.AddWords({"beam", "beak", "bead", "abcd"});
    t.SetBoard({"bea....", "abcd..."});
    EXPECT_EQ(WinningLetter(t.s, 10, RecordingLookup), 'd' - 'a');
    EXPECT_EQ(lookedUp, std::vector<std::string>{"bea?"});

    t.s.CurrentComputerSkill = 2;
    const ComputerChoice choice = ChooseComputerMove(t.s, t.sv);
    EXPECT_EQ(choice.column, 3);
    EXPECT_EQ(choice.letter, 'd' - 'a');
}

TEST_F(ComputerTest, TheLeftmostWinningColumnIsPlayed) {
    // Column 2 makes "word" downwards, column 5 makes "back", an earlier letter.
    t.AddWords({"back", "word"});
    t.SetBoard({"..o..a.", "..r..c.", "..d..k."});
    const ComputerChoice choice = ChooseComputerMove(t.s, t.sv);
    EXPECT_EQ(choice.column, 2);
    EXPECT_EQ(choice.letter, 'w' - 'a');
    EXPECT_EQ(choice.computerLetter, 'w' - 'a');
    EXPECT_EQ(t.random.reseeds, 0);
}

TEST_F(ComputerTest, WithinAColumnTheFirstWindowWins) {
    // Hole 3: window 1 reads "?ear", window 4 reads "tea?".
    t.AddWords({"teak", "year"});
    t.SetBoard({"tea.ear"});
    EXPECT_EQ(ChooseComputerMove(t.s, t.sv).letter, 'y' - 'a');
    Harness only;
    only.AddWords({"teak"});
    only.SetBoard({"tea.ear"});
    EXPECT_EQ(ChooseComputerMove(only.s, only.sv).letter, 'k' - 'a');
}

// Guards against the skill levels mixing up search and chance.
// Columns 0 and 6 land in holes 0 and 6; a word could then be made above them, in hole 7
// ("able") or hole 13 ("earn"). Column 3 is full.
const std::vector<std::string> kDangerBoard = {
    "...z...", "...z...", "...z...", "...z...", ".blear.", ".qqqqq.",
};

TEST_F(ComputerTest, BeginnerNeverSearches) {
    t.AddWords({"word"});
    t.SetBoard({"wor...."});
    t.s.CurrentComputerSkill = 1;
    t.s.ComputerLetter = 7;
    t.random.QueueLetters({16});
    t.random.QueueColumns({6});
    const ComputerChoice choice = ChooseComputerMove(t.s, t.sv, RecordingLookup);
    EXPECT_EQ(choice.column, 6);
    EXPECT_EQ(choice.letter, 16);
    EXPECT_EQ(choice.computerLetter, 7);
    EXPECT_TRUE(lookedUp.empty());
}

TEST_F(ComputerTest, MasterRedrawsADangerousColumn) {
    t.AddWords({"able", "earn"});
    t.SetBoard(kDangerBoard);
    t.s.CurrentComputerSkill = 3;
    t.random.QueueLetters({4});
    t.random.QueueColumns({0, 6, 1});
    ComputerChoice choice = ChooseComputerMove(t.s, t.sv);
    EXPECT_EQ(choice.column, 1);
    EXPECT_EQ(choice.letter, 4);
    EXPECT_EQ(t.random.reseeds, 4);  // the letter and three columns, each freshly seeded

    // Normal takes the first open column it draws.
    t.s.CurrentComputerSkill = 2;
    t.random.QueueLetters({4});
    t.random.QueueColumns({0, 6, 1});
    choice = ChooseComputerMove(t.s, t.sv);
    EXPECT_EQ(choice.column, 0);
}

TEST_F(ComputerTest, MasterTakesTheFifthOpenColumnDrawnWhenAllAreDangerous) {
    t.AddWords({"able", "earn"});
    t.SetBoard(kDangerBoard);
    t.s.CurrentComputerSkill = 3;
    t.random.QueueLetters({4});
    // Column 3 is full: redrawn without counting as an attempt.
    t.random.QueueColumns({0, 3, 6, 3, 0, 0, 6, 1});
    const ComputerChoice choice = ChooseComputerMove(t.s, t.sv);
    EXPECT_EQ(choice.column, 6);
    EXPECT_EQ(choice.computerLetter, 'n' - 'a');  // the danger found last
    EXPECT_EQ(t.random.script.size(), 1u);
}

TEST_F(ComputerTest, MasterIgnoresTheTopRow) {
    // Column 0 fills its top hole: nothing lies above it to weigh.
    t.AddWords({"able"});
    t.SetBoard({".bl....", "zzzzzzz", "zzzzzzz", "zzzzzzz", "zzzzzzz", "zzzzzzz"});
    t.s.CurrentComputerSkill = 3;
    t.random.QueueLetters({0});
    t.random.QueueColumns({0});
    EXPECT_EQ(ChooseComputerMove(t.s, t.sv).column, 0);
}

TEST_F(ComputerTest, ARandomMoveNeverPicksAFullColumn) {
    t.SetBoard({"abcdef.", "bcdefa.", "cdefab.", "defabc.", "efabcd.", "fabcde."});
    t.random.QueueLetters({2});
    t.random.QueueColumns({0, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(ChooseComputerMove(t.s, t.sv).column, 6);
    EXPECT_TRUE(t.random.script.empty());

    SeededRandom random(7);
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks};
    t.SetBoard({"abc.ef.", "bcd.fa.", "cde.ab.", "def.bc.", "efa.cd.", "fab.de."});
    for (int i = 0; i < 2000; ++i) {
        const int column = ChooseComputerMove(t.s, sv).column;
        ASSERT_TRUE(column == 3 || column == 6) << column;
    }
}

// Chi-square statistic of observed counts against a uniform expectation.
template <std::size_t N>
double ChiSquare(const std::array<int, N>& counts, int draws) {
    const double expected = static_cast<double>(draws) / N;
    double sum = 0;
    for (int c : counts)
        sum += (c - expected) * (c - expected) / expected;
    return sum;
}

TEST_F(ComputerTest, RandomLetterAndColumnAreUniform) {
    SeededRandom random(20240531);
    Services sv{t.sound, t.pause, random, t.prompt, t.hooks};
    t.s.CurrentComputerSkill = 1;
    const int draws = 26 * 2000;
    std::array<int, 26> letters{};
    std::array<int, kColumns> columns{};
    for (int i = 0; i < draws; ++i) {
        const ComputerChoice choice = ChooseComputerMove(t.s, sv);
        ++letters.at(choice.letter);
        ++columns.at(choice.column);
    }
    // 0.1% critical values for 25 and 6 degrees of freedom.
    EXPECT_LT(ChiSquare(letters, draws), 52.62);
    EXPECT_LT(ChiSquare(columns, draws), 22.46);
    EXPECT_EQ(random.reseeds, 2 * draws);  // fresh seed before the letter and the column
}

// Guards against the visible steps of the computer's turn going wrong.
TEST_F(ComputerTest, NothingHappensOnceTheGameIsOver) {
    ComputerToMove();
    t.s.GameOver = true;
    t.SetBoard({"wor...."});
    ComputerMove(t.s, t.sv);
    EXPECT_EQ(t.pause.pauses, 0);
    EXPECT_EQ(t.random.reseeds, 0);
    EXPECT_TRUE(t.sound.played.empty());
    EXPECT_EQ(t.Board().back(), "wor....");
    EXPECT_EQ(t.s.CurrentPlayer, kComputerName);
}

// Records what the drop row showed when the window was asked to repaint it.
struct RepaintWatch : test::RecordingHooks {
    const GameState* s = nullptr;
    const test::CountingPauser* pause = nullptr;
    std::vector<Cell> shown;
    std::vector<int> pausesBefore;
    void RepaintHole(int hole) override {
        RecordingHooks::RepaintHole(hole);
        shown.push_back(s->Hole[hole]);
        pausesBefore.push_back(pause->pauses);
    }
};

TEST_F(ComputerTest, TheLetterWaitsAboveItsColumnThenFallsLeavingTheDropCellBlank) {
    for (int column = 0; column < kColumns; ++column) {
        Harness h;
        RepaintWatch watch;
        watch.s = &h.s;
        watch.pause = &h.pause;
        Services sv{h.sound, h.pause, h.random, h.prompt, watch};
        h.s.LocalPlayer = h.s.FirstPlayer = "Ann";
        h.s.SecondPlayer = h.s.CurrentPlayer = kComputerName;
        h.random.QueueLetters({'q' - 'a'});
        h.random.QueueColumns({column});
        ComputerMove(h.s, sv);

        const int dropCell = kDropRowFirst + column;
        ASSERT_EQ(watch.repainted, std::vector<int>{dropCell});
        EXPECT_EQ(watch.shown[0].picture, Picture::Red);
        EXPECT_EQ(watch.shown[0].Tag, "q");
        EXPECT_EQ(watch.pausesBefore[0], 1);
        EXPECT_EQ(h.pause.pauses, 2);
        EXPECT_EQ(h.s.Hole[dropCell].picture, h.s.Blank.picture);
        EXPECT_EQ(h.s.Hole[dropCell].Tag, kEmptyMarker);
        EXPECT_EQ(h.s.Hole[column].picture, Picture::Red);
        EXPECT_EQ(h.s.Hole[column].Tag, "q");
        EXPECT_EQ(h.sound.played, std::vector<std::string>{"dropped2.wav"});
        EXPECT_EQ(h.s.Label13, "Your Turn");
        EXPECT_EQ(h.s.CurrentPlayer, "Ann");
    }
}

TEST_F(ComputerTest, AWinningMoveKeepsTheTurnWithTheComputer) {
    ComputerToMove();
    t.AddWords({"word"});
    t.SetBoard({"wor...."});
    t.s.lantimer.Enabled = true;
    ComputerMove(t.s, t.sv);
    EXPECT_EQ(t.Board().back(), "word...");
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.CurrentPlayer, kComputerName);
    EXPECT_EQ(t.s.Label13, "Game Over");
    EXPECT_EQ(t.s.WinningWord, "word");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.Hole[3].picture, Picture::Yellow);
    EXPECT_EQ(t.s.ComputerLetter, 'd' - 'a');
}

// Guards against the indexed lookup answering differently from the scan of the word list.
struct Sample {
    std::mt19937 generator;
    explicit Sample(unsigned seed) : generator(seed) {}
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); }
};

// A dense list over a few letters, with repeats, mixed case and entries no board can spell.
void AddDenseWords(WordList& words, Sample& sample) {
    const std::string letters = "abcdeABCDE";
    for (int i = 0; i < 160; ++i) {
        std::string word;
        for (int k = 0; k < 4; ++k)
            word += letters[sample.Below(static_cast<int>(letters.size()))];
        words.Add(word);
    }
    for (const char* odd : {"ab", "abcde", "ab c", "ab-d", "", "ABC\xC9"})
        words.Add(odd);
}

// A board as letters fall: each column filled to a random height with letters a to f.
void FillRandomBoard(Harness& h, Sample& sample) {
    for (int c = 0; c < kColumns; ++c) {
        const int height = sample.Below(kRows + 1);
        for (int r = 0; r < kRows; ++r) {
            const int hole = r * kColumns + c;
            if (r < height)
                SetHole(h.s, hole, LetterOf(sample.Below(6)), Picture::Blue);
            else
                EmptyHole(h.s, hole);
        }
    }
}

TEST_F(ComputerTest, IndexedSearchAgreesWithTheListScan) {
    Sample sample(99);
    int searchesWon = 0, movesCompared = 0;
    for (int board = 0; board < 120; ++board) {
        Harness h;
        AddDenseWords(h.s.Words, sample);
        FillRandomBoard(h, sample);
        for (int hole = 0; hole < kBoardHoles; ++hole) {
            const int indexed = WinningLetter(h.s, hole);
            ASSERT_EQ(indexed, WinningLetter(h.s, hole, ScanCompletions)) << board << " " << hole;
            ASSERT_EQ(indexed, WinningLetter(h.s, hole, HashCompletions)) << board << " " << hole;
        }
        if (!BoardHasRoom(h.s)) continue;
        for (int skill = 1; skill <= 3; ++skill) {
            h.s.CurrentComputerSkill = skill;
            SeededRandom a(board), b(board);
            Services sa{h.sound, h.pause, a, h.prompt, h.hooks};
            Services sb{h.sound, h.pause, b, h.prompt, h.hooks};
            const ComputerChoice fast = ChooseComputerMove(h.s, sa);
            const ComputerChoice scan = ChooseComputerMove(h.s, sb, ScanCompletions);
            ASSERT_EQ(fast.column, scan.column) << board;
            ASSERT_EQ(fast.letter, scan.letter) << board;
            ASSERT_EQ(fast.computerLetter, scan.computerLetter) << board;
            if (skill > 1 && fast.computerLetter != 99) ++searchesWon;
            ++movesCompared;
        }
    }
    // The boards must exercise both the search and the random move.
    EXPECT_GT(searchesWon, 20);
    EXPECT_LT(searchesWon, movesCompared - 20);
}

TEST_F(ComputerTest, TagsThatAreNotLettersAreWeighedAsWords) {
    // Cells the start-up has not emptied yet carry no tag; the scan would see the word "x".
    GameState s;
    s.Words.Add("x");
    const std::string none;
    const WindowTags tags{nullptr, &none, &none, &none};
    EXPECT_EQ(IndexedCompletions(s.Words, tags, 0), 1u << ('x' - 'a'));
    EXPECT_EQ(ScanCompletions(s.Words, tags, 0), 1u << ('x' - 'a'));
}

}  // namespace
}  // namespace gd
