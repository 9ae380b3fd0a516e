// The game against the computer: its start, whole games driven by drops and timer ticks, and
// the game-over window.
#include "computer_game.h"

#include <gtest/gtest.h>

#include "computer.h"
#include "fakes.h"
#include "profile_records.h"
#include "temp_folder.h"

namespace gd {
namespace {

using test::Harness;
using test::Results;
using Strings = std::vector<std::string>;

// A profile with these counters: played, won, lost, tied.
PlayerProfile Scored(const std::string& name, int played, int won, int lost, int tied) {
    PlayerProfile p = test::NewProfile(name);
    p.Played = static_cast<std::int16_t>(played);
    p.Won = static_cast<std::int16_t>(won);
    p.Lost = static_cast<std::int16_t>(lost);
    p.Tied = static_cast<std::int16_t>(tied);
    return p;
}

struct ComputerGameTest : ::testing::Test {
    test::TempFolder folder;
    Harness t;
    ComputerSeat computer{t.s, t.sv, t.match};
    void SetUp() override {
        t.s.LocalPlayer = "Ann";
        t.s.PlayersFile = folder.File("players.dat");
        t.s.WordListFile = folder.File("wordlist.dic");
    }
    // The local player drags piece `piece` onto the drop row above `column`.
    void PlayerDrops(int piece, int column) { t.Drop(piece, kDropRowFirst + column); }
    // The computer's turn comes with the next tick; a random move draws `letter` and columns.
    void ComputerPlays(char letter, const std::vector<int>& columns) {
        t.random.QueueLetters({letter - 'a'});
        t.random.QueueColumns(columns);
        t.match.Tick(t.s.lantimer);
        EXPECT_TRUE(t.random.script.empty());
    }
    void DealNext(const std::string& letters) {
        for (char c : letters)
            t.random.QueueLetters({c - 'a'});
    }
};

// Guards against starting with the wrong pairing, colour or panel.
TEST_F(ComputerGameTest, StartSetsUpThePairingAndShowsTheComputersRecord) {
    test::WriteProfiles(t.s.PlayersFile,
                        {Scored("Ann", 3, 2, 1, 0), Scored("Computer", 10, 4, 5, 1)});
    t.s.PieceColour = "red";
    DealNext("abcdefgh");
    ASSERT_TRUE(computer.Start());
    EXPECT_EQ((Strings{t.s.FirstPlayer, t.s.SecondPlayer, t.s.CurrentPlayer, t.s.PieceColour,
                       t.s.Label7, t.s.Label8, t.s.Label13, t.s.Image[7].Tag}),
              (Strings{"Ann", "Computer", "Ann", "blue", "Computer", "Silicon Valley", "Your Turn!",
                       "h"}));
    EXPECT_EQ(t.Counters(), (Strings{"10", "4", "5", "1"}));
    EXPECT_TRUE(t.match.seat() == &computer && t.s.lantimer.Enabled && t.prompt.shown.empty());
    EXPECT_EQ(t.s.LanSide, 1);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::PcPlayer);
    EXPECT_EQ(t.s.Image[7].picture, Picture::Blue);
}

// Guards against a new game starting on the letters of one abandoned, and against the first
// game of a new pairing begun by anyone but its host (the local player).
TEST_F(ComputerGameTest, RestartingAnUnfinishedGameEmptiesTheBoardAndRecordsNothing) {
    t.s.LastStarter = "Ann";  // Ann began the last game, of another pairing
    ASSERT_TRUE(computer.Start());
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    PlayerDrops(0, 2);
    ASSERT_TRUE(computer.Start());
    EXPECT_TRUE(test::BoardEmpty(t.s));
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_TRUE(t.book.results.empty());
}

// Guards against the turns, the end of a game or the next game going wrong in a real series.
TEST_F(ComputerGameTest, ASeriesWonByTheComputerThenOpenedByIt) {
    test::WriteWordList(t.s.WordListFile, {{"able", "having the power"}, {"Word", "a unit"}});
    ASSERT_TRUE(LoadWordList(t.s.Words, t.s.WordListFile));
    test::WriteProfiles(t.s.PlayersFile, {Scored("Computer", 10, 4, 5, 1)});
    t.s.CurrentComputerSkill = 2;

    // Ann lays "wor" along the bottom row; the computer completes "word".
    DealNext("wordqqqq");
    ASSERT_TRUE(computer.Start());
    t.match.Tick(t.s.lantimer);  // not the computer's turn: nothing happens
    EXPECT_EQ(t.pause.pauses, 0);
    for (int piece = 0; piece < 3; ++piece) {
        PlayerDrops(piece, piece);
        EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Opponents Turn Computer");
        if (piece == 2) break;
        ComputerPlays('x', {6});
        EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Your Turn Ann");
    }
    t.match.Tick(t.s.lantimer);
    EXPECT_EQ(t.Board().back(), "word..x");
    EXPECT_TRUE(t.s.GameOver && !t.s.lantimer.Enabled);
    EXPECT_EQ(t.Counters(), (Strings{"11", "5", "5", "1"}));
    EXPECT_EQ(t.book.results, (Results{{"Computer", GameOutcome::Win}}));
    EXPECT_EQ(t.s.Label13, "Game Over");  // the loser's caption under the game-over window
    EXPECT_EQ(t.hooks.playMoreShown, 1);
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Computer with word: Word - a unit");
    t.match.Tick(t.s.lantimer);    // the game is over: the computer does not move again
    EXPECT_EQ(t.pause.pauses, 6);  // two for each of its three moves

    // "Yes": the computer opens the next game at its next tick.
    t.match.PlayAgain();
    EXPECT_TRUE(test::BoardEmpty(t.s) && t.s.lantimer.Enabled && !t.s.GameOver);
    EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Opponents Turn! Computer");
    ComputerPlays('z', {3});
    EXPECT_EQ(t.s.Hole[3].Tag, "z");
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

// Guards against a game, or a move of the computer, outliving "No".
TEST_F(ComputerGameTest, NoEndsTheComputerGame) {
    ASSERT_TRUE(computer.Start());
    t.s.GameOver = t.s.MoveEndedGame = true;
    t.s.CurrentPlayer = "Computer";
    t.match.Decline();
    EXPECT_FALSE(t.match.seat() || t.s.GameOver || t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::Photona);
    EXPECT_EQ(t.s.Label7 + t.s.Label8 + t.s.Label9 + t.s.Label10 + t.s.Label11 + t.s.Label12 +
                  t.s.Label13,
              "");
    EXPECT_EQ(t.s.StatusText.lines.back(), "Ready");
    EXPECT_EQ(t.s.Image[0].picture, Picture::Blank);
    t.s.CurrentPlayer = "Computer";  // even with the turn left at the computer, no move is made
    t.match.Tick(t.s.lantimer);
    EXPECT_EQ(t.pause.pauses, 0);
}

// Guards against a wrong result line, and a word on the last hole shown as a draw.
TEST_F(ComputerGameTest, TheResultLineNamesTheWinnerWordAndDefinition) {
    t.s.CurrentPlayer = "Ann";
    t.s.WinningWord = "able";
    // Without the file the word and definition parts stay empty.
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word:  - ");
    test::WriteWordList(folder.File("WordList.DIC"), {{"Able", "  having the power  "}});
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word: Able - having the power");
    t.s.WinningWord = "zzzz";
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word:  - ");

    ASSERT_TRUE(LoadWordList(t.s.Words, folder.File("WordList.DIC")));
    ASSERT_TRUE(computer.Start());
    t.SetBoard({"abl.xqx", "qxqxqxq", "xqxqxqx", "qxqxqxq", "xqxqxqx", "qxqxqxq"});
    t.s.CurrentPlayer = "Computer";
    t.match.Tick(t.s.lantimer);
    EXPECT_FALSE(BoardHasRoom(t.s));
    EXPECT_EQ(t.book.results, (Results{{"Computer", GameOutcome::Win}}));
    const ResultLine line = PlayMoreResultLine(t.s);
    EXPECT_EQ(line.text, "Winner is Computer with word: Able - having the power");
    EXPECT_FALSE(line.centred);
}

}  // namespace
}  // namespace gd
