// The computer's search, random move and drop, on boards built from pictures.
#include "computer.h"

#include <gtest/gtest.h>

#include "computer_game.h"

#include <tuple>

#include "fakes.h"

namespace gd {
namespace {

using test::Harness;
using test::SeededRandom;
using Strings = std::vector<std::string>;

// Every window the search looked up, as its word with '?' at the weighed hole.
Strings lookedUp;

std::uint32_t RecordingLookup(const WordList& words, const WindowTags& tags, int position) {
    std::string word;
    for (int i = 0; i < 4; ++i)
        word += i == position ? "?" : *tags[i];
    lookedUp.push_back(word);
    return IndexedCompletions(words, tags, position);
}

// Guards against reading a window in the wrong cells or order, or past the board's edges.
TEST(Search, EveryLineFindsItsMissingLetterReadInOrderOnly) {
    for (const test::Direction& d : test::kDirections)
        for (const auto& line : test::BoardLines(d))
            // A vertical word can only run down from the newest letter of its column.
            for (int place = 0; place < (d.columnStep == 0 ? 1 : 4); ++place)
                for (const std::string word : {"word", "drow"}) {
                    Harness t;
                    t.AddWords({"word"});
                    for (int i = 0; i < 4; ++i)
                        if (i != place) SetHole(t.s, line[i], word.substr(i, 1), Picture::Blue);
                    SCOPED_TRACE(std::string(d.name) + " " + word + " at hole " +
                                 std::to_string(line[place]));
                    EXPECT_EQ(WinningLetter(t.s, line[place]),
                              word == "word" ? word[place] - 'a' : -1);
                }
}

// Guards against looking up a window that still has an empty cell, and against a wrong answer
// when several moves win: the leftmost column, then the first window, then the first letter.
TEST(Search, OnlyFullWindowsAreLookedUpAndTiesGoLeftFirstThenAlphabetical) {
    struct Case {
        const char* name;
        Strings words, board;
        int column;
        char letter;
    };
    const std::vector<Case> cases = {
        {"holes 0-3 and 7-9 filled, 10 empty",
         {"beam", "beak", "bead", "abcd"},
         {"bea....", "abcd..."},
         3,
         'd'},
        {"leftmost column", {"back", "word"}, {"..o..a.", "..r..c.", "..d..k."}, 2, 'w'},
        {"first window: ?ear before tea?", {"teak", "year"}, {"tea.ear"}, 3, 'y'},
        {"the later window alone", {"teak"}, {"tea.ear"}, 3, 'k'},
    };
    for (const Case& c : cases) {
        Harness t;
        t.AddWords(c.words);
        t.SetBoard(c.board);
        const ComputerChoice choice = ChooseComputerMove(t.s, t.sv);
        EXPECT_EQ(choice.column, c.column) << c.name;
        EXPECT_EQ(choice.letter, c.letter - 'a') << c.name;
        EXPECT_EQ(choice.computerLetter, c.letter - 'a') << c.name;
        EXPECT_EQ(t.random.reseeds, 0) << c.name;
    }
    Harness t;
    t.AddWords(cases[0].words);
    t.SetBoard(cases[0].board);
    lookedUp.clear();
    EXPECT_EQ(WinningLetter(t.s, 10, RecordingLookup), 'd' - 'a');
    EXPECT_EQ(lookedUp, Strings{"bea?"});
}

// Guards against the skill levels mixing up search and chance. On this board columns 0 and 6
// land in holes 0 and 6, under hole 7 ("?ble") and hole 13 ("ear?"); column 3 is full.
TEST(RandomMove, SkillDecidesSearchAndDangerTestWithFreshlySeededDraws) {
    const Strings danger = {"...z...", "...z...", "...z...", "...z...", ".blear.", ".qqqqq."};
    const Strings topRowOpen = {".bl....", "zzzzzzz", "zzzzzzz", "zzzzzzz", "zzzzzzz", "zzzzzzz"};
    struct Case {
        const char* name;
        int skill;
        Strings words, board;
        int letter;
        std::vector<int> columns;
        int column, computerLetter;
        std::size_t drawsLeft;
    };
    // The search starts from "no letter" (99); the danger test leaves the last letter found.
    const int n = 'n' - 'a', none = 99;
    const Strings ae = {"able", "earn"}, columnsFull(kRows, "abcdef.");
    const std::vector<Case> cases = {
        {"Beginner never searches", 1, {"word"}, {"wor...."}, 16, {6}, 6, 7, 0},
        {"Normal takes the first column drawn", 2, ae, danger, 4, {0, 6, 1}, 0, none, 2},
        {"Master redraws dangerous columns", 3, ae, danger, 4, {0, 6, 1}, 1, n, 0},
        // A full column is drawn again without counting as an attempt.
        {"Master's fifth attempt", 3, ae, danger, 4, {0, 3, 6, 3, 0, 0, 6, 1}, 6, n, 1},
        {"Master weighs nothing above the top row", 3, {"able"}, topRowOpen, 0, {0}, 0, none, 0},
        {"a full column is never taken", 2, {}, columnsFull, 2, {0, 1, 2, 3, 4, 5, 6}, 6, none, 0},
    };
    for (const Case& c : cases) {
        Harness t;
        t.AddWords(c.words);
        t.SetBoard(c.board);
        t.s.CurrentComputerSkill = c.skill;
        t.s.ComputerLetter = 7;
        t.random.QueueLetters({c.letter});
        t.random.QueueColumns(c.columns);
        lookedUp.clear();
        const ComputerChoice choice = ChooseComputerMove(t.s, t.sv, RecordingLookup);
        EXPECT_EQ(choice.column, c.column) << c.name;
        EXPECT_EQ(choice.letter, c.letter) << c.name;
        EXPECT_EQ(choice.computerLetter, c.computerLetter) << c.name;
        EXPECT_EQ(t.random.script.size(), c.drawsLeft) << c.name;
        // The letter and every column drawn, each after a fresh seed.
        EXPECT_EQ(t.random.reseeds, int(1 + c.columns.size() - c.drawsLeft)) << c.name;
        EXPECT_TRUE(c.skill > 1 || lookedUp.empty()) << c.name;
    }
}

// Guards against the visible steps of the computer's turn going wrong: after its thinking
// pause its letter shows red above the column, then falls, leaving the drop cell blank. The
// match plays it, as every opponent's move.
TEST(ComputerMoveTest, TheLetterWaitsAboveItsColumnThenFallsLeavingTheDropCellBlank) {
    for (int column = 0; column < kColumns; ++column) {
        Harness h;
        ComputerSeat computer(h.s, h.sv, h.match);
        h.StartPlay("Ann", kComputerName, &computer);
        h.s.CurrentPlayer = kComputerName;
        h.random.QueueLetters({'q' - 'a'});
        h.random.QueueColumns({column});
        std::vector<std::pair<Cell, int>> shown;  // each repainted cell and the pauses before it
        h.hooks.repaintedFn = [&](int hole) { shown.emplace_back(h.s.Hole[hole], h.pause.pauses); };
        h.match.Tick(h.s.lantimer);
        ASSERT_EQ(h.hooks.repainted, std::vector<int>{kDropRowFirst + column});
        EXPECT_EQ(shown[0].first.picture, Picture::Red);
        EXPECT_EQ(shown[0].first.Tag + std::to_string(shown[0].second), "q1");
        EXPECT_EQ(h.pause.pauses, 2);
        EXPECT_TRUE(IsHoleEmpty(h.s, kDropRowFirst + column));
        EXPECT_EQ(h.s.Hole[column].picture, Picture::Red);
        EXPECT_EQ(h.Board().back()[column], 'q');
        EXPECT_EQ(h.sound.played, Strings{"dropped2.wav"});
        EXPECT_EQ(h.s.Label13 + " " + h.s.CurrentPlayer, "Your Turn Ann");
    }
}

// Guards against the indexed lookup answering differently from the scan of the word list.
TEST(Search, IndexedSearchAgreesWithTheListScan) {
    std::mt19937 generator(99);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); };
    int searchesWon = 0, movesCompared = 0;
    for (int board = 0; board < 120; ++board) {
        Harness h;
        // A dense list over a few letters, with repeats, mixed case and entries no board spells.
        for (int i = 0; i < 160; ++i) {
            std::string word;
            for (int k = 0; k < 4; ++k)
                word += "abcdeABCDE"[below(10)];
            h.s.Words.Add(word);
        }
        h.AddWords({"ab", "abcde", "ab c", "ab-d", "", "ABC\xC9"});
        // Each column filled to a random height with letters a to f, as letters fall.
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0, height = below(kRows + 1); r < height; ++r)
                SetHole(h.s, r * kColumns + c, LetterOf(below(6)), Picture::Blue);
        for (int hole = 0; hole < kBoardHoles; ++hole) {
            const int indexed = WinningLetter(h.s, hole);
            ASSERT_EQ(indexed, WinningLetter(h.s, hole, ScanCompletions)) << board << " " << hole;
            ASSERT_EQ(indexed, WinningLetter(h.s, hole, HashCompletions)) << board << " " << hole;
        }
        if (!BoardHasRoom(h.s)) continue;
        for (int skill = 1; skill <= 3; ++skill) {
            h.s.CurrentComputerSkill = skill;
            SeededRandom a(board), b(board);
            Services sa{h.sound, h.pause, a, h.prompt, h.hooks, h.clock};
            Services sb{h.sound, h.pause, b, h.prompt, h.hooks, h.clock};
            const ComputerChoice fast = ChooseComputerMove(h.s, sa);
            const ComputerChoice scan = ChooseComputerMove(h.s, sb, ScanCompletions);
            ASSERT_EQ(std::tie(fast.column, fast.letter, fast.computerLetter),
                      std::tie(scan.column, scan.letter, scan.computerLetter))
                << board;
            searchesWon += skill > 1 && fast.computerLetter != 99;
            ++movesCompared;
        }
    }
    // The boards must exercise both the search and the random move.
    EXPECT_GT(searchesWon, 20);
    EXPECT_LT(searchesWon, movesCompared - 20);
}

}  // namespace
}  // namespace gd
