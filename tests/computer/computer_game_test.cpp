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
using Strings = std::vector<std::string>;
using Results = std::vector<std::pair<std::string, GameOutcome>>;

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
        EXPECT_TRUE(LanTimerTick(t.s, t.sv));
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
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ((Strings{t.s.FirstPlayer, t.s.SecondPlayer, t.s.CurrentPlayer, t.s.PieceColour,
                       t.s.Label7, t.s.Label8, t.s.Label13, t.s.Image[7].Tag}),
              (Strings{"Ann", "Computer", "Ann", "blue", "Computer", "Silicon Valley", "Your Turn!",
                       "h"}));
    EXPECT_EQ(t.Counters(), (Strings{"10", "4", "5", "1"}));
    EXPECT_TRUE(t.s.ComputerGame && t.s.lantimer.Enabled && t.prompt.shown.empty());
    EXPECT_EQ(t.s.LanSide, 1);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::PcPlayer);
    EXPECT_EQ(t.s.Image[7].picture, Picture::Blue);
}

// Guards against leaving internet play or its waiting room without the player's consent, or
// a lost internet game not counted.
TEST_F(ComputerGameTest, LeavingInternetPlayIsAskedFirst) {
    for (const int state : {1, 2}) {
        Harness h;
        h.s.LocalPlayer = "Ann";
        h.s.InternetState = state;
        h.s.inettimer.Enabled = true;
        h.prompt.answers = {false, true};
        EXPECT_FALSE(StartComputerGame(h.s, h.sv));  // No: everything stays
        EXPECT_EQ(h.s.InternetState, state);
        EXPECT_TRUE(h.s.inettimer.Enabled && !h.s.ComputerGame && !h.s.lantimer.Enabled);
        EXPECT_TRUE(h.hooks.results.empty());
        EXPECT_EQ(h.hooks.internetGamesEnded + h.hooks.waitingRoomsExited, 0);

        SetHole(h.s, 0, "e", Picture::Red);  // the opponent's letter of the game left
        EXPECT_TRUE(StartComputerGame(h.s, h.sv));
        // Finding 2: the computer game began on the letters of the internet game left.
        EXPECT_TRUE(test::BoardEmpty(h.s));
        EXPECT_EQ(h.prompt.shown.back().title,
                  state == 1 ? "Quit Game In Play!" : "Exit Waiting Room?");
        EXPECT_TRUE(h.s.ComputerGame);
        EXPECT_EQ(h.hooks.results, (state == 1 ? Results{{"Ann", GameOutcome::Loss}} : Results{}));
        EXPECT_EQ(h.hooks.internetGamesEnded, state == 1);
        EXPECT_EQ(h.hooks.waitingRoomsExited, state == 2);
    }
}

// Guards against a new game starting on the letters of one abandoned, and against the first
// game of a new pairing begun by anyone but its host (the local player).
TEST_F(ComputerGameTest, RestartingAnUnfinishedGameEmptiesTheBoardAndRecordsNothing) {
    t.s.LastStarter = "Ann";  // Ann began the last game, of another pairing
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    PlayerDrops(0, 2);
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_TRUE(test::BoardEmpty(t.s));
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_TRUE(t.hooks.results.empty());
}

// Guards against the turns, the end of a game or the next game going wrong in a real series.
TEST_F(ComputerGameTest, ASeriesWonByTheComputerThenOpenedByIt) {
    test::WriteWordList(t.s.WordListFile, {{"able", "having the power"}, {"Word", "a unit"}});
    ASSERT_TRUE(LoadWordList(t.s.Words, t.s.WordListFile));
    test::WriteProfiles(t.s.PlayersFile, {Scored("Computer", 10, 4, 5, 1)});
    t.s.CurrentComputerSkill = 2;

    // Ann lays "wor" along the bottom row; the computer completes "word".
    DealNext("wordqqqq");
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));  // not the computer's turn: nothing happens
    EXPECT_EQ(t.pause.pauses, 0);
    for (int piece = 0; piece < 3; ++piece) {
        PlayerDrops(piece, piece);
        EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Opponents Turn Computer");
        if (piece == 2) break;
        ComputerPlays('x', {6});
        EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Your Turn Ann");
    }
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));
    EXPECT_EQ(t.Board().back(), "word..x");
    EXPECT_TRUE(t.s.GameOver && !t.s.lantimer.Enabled);
    EXPECT_EQ(t.Counters(), (Strings{"11", "5", "5", "1"}));
    EXPECT_EQ(t.hooks.results, (Results{{"Computer", GameOutcome::Win}}));
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Computer with word: Word - a unit");
    LanTimerTick(t.s, t.sv);       // the game is over: the computer does not move again
    EXPECT_EQ(t.pause.pauses, 6);  // two for each of its three moves

    // "Yes": the computer opens the next game at its next tick.
    PlayMoreYes(t.s, t.sv);
    EXPECT_TRUE(test::BoardEmpty(t.s) && t.s.lantimer.Enabled && !t.s.GameOver);
    EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Opponents Turn! Computer");
    ComputerPlays('z', {3});
    EXPECT_EQ(t.s.Hole[3].Tag, "z");
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

// Guards against a game, or a move of the computer, outliving "No".
TEST_F(ComputerGameTest, NoEndsEveryKindOfGame) {
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    t.s.GameOver = t.s.MoveEndedGame = t.s.LanGame = true;
    t.s.InternetState = 1;
    t.s.CurrentPlayer = "Computer";
    PlayMoreNo(t.s);
    EXPECT_FALSE(t.s.ComputerGame || t.s.GameOver || t.s.LanGame);
    EXPECT_EQ(t.s.InternetState, 0);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::Photona);
    EXPECT_EQ(t.s.Label7 + t.s.Label8 + t.s.Label9 + t.s.Label10 + t.s.Label11 + t.s.Label12 +
                  t.s.Label13,
              "");
    EXPECT_EQ(t.s.StatusText.lines.back(), "Ready");
    EXPECT_EQ(t.s.Image[0].picture, Picture::Blank);
    t.s.GameOver = false;  // even with the turn left at the computer, no move is made
    EXPECT_FALSE(LanTimerTick(t.s, t.sv));
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
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    t.SetBoard({"abl.xqx", "qxqxqxq", "xqxqxqx", "qxqxqxq", "xqxqxqx", "qxqxqxq"});
    t.s.CurrentPlayer = "Computer";
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));
    EXPECT_FALSE(BoardHasRoom(t.s));
    EXPECT_EQ(t.hooks.results, (Results{{"Computer", GameOutcome::Win}}));
    const ResultLine line = PlayMoreResultLine(t.s);
    EXPECT_EQ(line.text, "Winner is Computer with word: Able - having the power");
    EXPECT_FALSE(line.centred);
}

}  // namespace
}  // namespace gd
