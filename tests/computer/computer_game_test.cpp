// The game against the computer: its start, whole games driven by drops and timer ticks, and
// the game-over window.
#include "computer_game.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "computer.h"
#include "fakes.h"
#include "temp_folder.h"

namespace gd {
namespace {

using test::Harness;
using Strings = std::vector<std::string>;
using Results = std::vector<std::pair<std::string, GameOutcome>>;

struct Profile {
    std::string name;
    int played, won, lost, tied;
};

// "players.dat" records of 1890 bytes: the name in the first 25, the four counters as
// little-endian 16-bit numbers from byte 1626.
std::string Profiles(const std::vector<Profile>& profiles) {
    std::string bytes;
    for (const Profile& p : profiles) {
        std::string record(1890, '\0');
        record.replace(0, 25, (p.name + std::string(25, ' ')).substr(0, 25));
        const int counters[] = {p.played, p.won, p.lost, p.tied};
        for (int i = 0; i < 4; ++i) {
            const auto value = static_cast<std::uint16_t>(counters[i]);
            record[1626 + 2 * i] = static_cast<char>(value & 0xff);
            record[1627 + 2 * i] = static_cast<char>(value >> 8);
        }
        bytes += record;
    }
    return bytes;
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
    folder.Write("players.dat", Profiles({{"Ann", 3, 2, 1, 0}, {"Computer", 10, 4, 5, 1}}));
    t.s.PieceColour = "red";
    DealNext("abcdefgh");
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ((Strings{t.s.FirstPlayer, t.s.SecondPlayer, t.s.CurrentPlayer, t.s.PieceColour,
                       t.s.Label7, t.s.Label8, t.s.Label13, t.s.Image[7].Tag}),
              (Strings{"Ann", "Computer", "Ann", "blue", "Computer", "Silicon Valley", "Your Turn!",
                       "h"}));
    EXPECT_EQ(t.Counters(), (Strings{"10", "4", "5", "1"}));
    EXPECT_TRUE(t.s.ComputerGame && t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.LanSide, 1);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::PcPlayer);
    EXPECT_EQ(t.s.Image[7].picture, Picture::Blue);
    EXPECT_TRUE(t.prompt.shown.empty());
}

// Guards against reading the wrong record, or the wrong bytes of one.
TEST_F(ComputerGameTest, PanelShowsTheFirstWholeRecordNamedComputer) {
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
        Strings counters;
    };
    const Strings kept = {"7", "", "", ""};
    // clang-format off
    const std::vector<Case> cases = {
        {"no file", "none", "", kept},
        {"other case, prefix, longer name, blanks around", "players.dat",
         Profiles({{"computer", 9, 9, 9, 9}, {"Comp", 9, 9, 9, 9}, {"Computers", 9, 9, 9, 9},
                   {"  Computer ", 10, 4, 5, -1}, {"Computer", 1, 1, 1, 1}}),
         {"10", "4", "5", "-1"}},
        {"a trailing partial record is not read", "players.dat",
         Profiles({{"Ann", 3, 2, 1, 0}, {"Computer", 4, 4, 0, 0}}).substr(0, 2 * 1890 - 1), kept},
        {"file name in another case", "PLAYERS.DAT", Profiles({{"Computer", -2, 30000, 0, 12}}),
         {"-2", "30000", "0", "12"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Harness h;
        h.s.PlayersFile = folder.File("players.dat");
        h.s.Label9 = "7";
        folder.Write(c.file, c.bytes);
        ASSERT_TRUE(StartComputerGame(h.s, h.sv));
        EXPECT_EQ(h.Counters(), c.counters) << c.name;
        std::remove(folder.File(c.file).c_str());
    }
}

// Guards against leaving internet play without the player's consent, or without its loss.
TEST_F(ComputerGameTest, LeavingInternetPlayIsAskedFirst) {
    t.s.InternetState = 1;
    t.s.SecondPlayer = t.s.Label7 = "Bob";
    t.s.inettimer.Enabled = true;
    t.prompt.answers = {false, true};
    EXPECT_FALSE(StartComputerGame(t.s, t.sv));
    ASSERT_EQ(t.prompt.shown.size(), 1u);
    EXPECT_EQ(t.prompt.shown[0].title, "Quit Game In Play!");
    EXPECT_EQ(t.prompt.shown[0].text,
              "You are currently playing an internet game. If you quit during play, the game "
              "will score as a loss for you.\n\nDo you wish to cancel current game and score a "
              "loss?");
    EXPECT_EQ(t.s.InternetState, 1);
    EXPECT_FALSE(t.s.ComputerGame || t.s.lantimer.Enabled);
    EXPECT_TRUE(t.s.inettimer.Enabled);
    EXPECT_EQ(Strings({t.s.SecondPlayer, t.s.Label7}), Strings(2, "Bob"));
    EXPECT_TRUE(t.hooks.results.empty());
    EXPECT_EQ(t.hooks.internetGamesEnded, 0);

    EXPECT_TRUE(StartComputerGame(t.s, t.sv));  // Yes: the internet game counts as lost
    EXPECT_EQ(t.hooks.results, (Results{{"Ann", GameOutcome::Loss}}));
    EXPECT_EQ(t.hooks.internetGamesEnded, 1);
    EXPECT_TRUE(t.s.ComputerGame);
}

TEST_F(ComputerGameTest, TheWaitingRoomIsLeftOnlyWhenConfirmed) {
    t.s.InternetState = 2;
    t.s.inettimer.Enabled = true;
    t.prompt.answers = {false, true};
    EXPECT_FALSE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ(t.s.InternetState, 2);
    EXPECT_TRUE(t.s.inettimer.Enabled);
    EXPECT_EQ(t.hooks.waitingRoomsExited, 0);

    EXPECT_TRUE(StartComputerGame(t.s, t.sv));
    ASSERT_EQ(t.prompt.shown.size(), 2u);
    EXPECT_EQ(t.prompt.shown[1].title, "Exit Waiting Room?");
    EXPECT_EQ(t.prompt.shown[1].text,
              "You are currently waiting for an internet opponent.\n\nDo you wish to exit the "
              "waiting room?");
    EXPECT_EQ(t.s.InternetState, 0);
    EXPECT_FALSE(t.s.inettimer.Enabled);
    EXPECT_EQ(t.hooks.waitingRoomsExited, 1);
    const Strings& lines = t.s.StatusText.lines;
    EXPECT_EQ(Strings(lines.end() - 2, lines.end()),
              (Strings{"You have exited the internet waiting room.", "Ready."}));
    EXPECT_TRUE(t.s.ComputerGame);
}

TEST_F(ComputerGameTest, RestartingAnUnfinishedGameKeepsItsLettersAndRecordsNothing) {
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    PlayerDrops(0, 2);
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_NE(t.s.Hole[2].Tag, kEmptyMarker);
    EXPECT_TRUE(t.hooks.results.empty());
}

// Guards against the turns, the end of a game or the next game going wrong in a real series.
TEST_F(ComputerGameTest, ASeriesWonByEachSideThenDrawn) {
    test::WriteDictionary(t.s.WordListFile,
                          {{"able", "having the power"}, {"Word", "a unit of language"}});
    ASSERT_TRUE(LoadWordList(t.s.Words, t.s.WordListFile));
    folder.Write("players.dat", Profiles({{"Computer", 10, 4, 5, 1}}));
    t.s.CurrentComputerSkill = 2;

    // Game 1: Ann lays "wor" along the bottom row; the computer completes "word".
    DealNext("wordqqqq");
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    ASSERT_EQ(t.s.CurrentPlayer, "Ann");
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
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.CurrentPlayer, "Computer");
    EXPECT_EQ(t.s.Label13, "Game Over");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.StatusText.lines.back(),
              "Computer made word word. Game Over. Winner is Computer");
    EXPECT_EQ(t.Counters(), (Strings{"11", "5", "5", "1"}));
    EXPECT_EQ(t.hooks.results, (Results{{"Computer", GameOutcome::Win}}));
    EXPECT_EQ(t.hooks.playMoreShown, 1);
    EXPECT_EQ(PlayMoreResultLine(t.s).text,
              "Winner is Computer with word: Word - a unit of language");
    EXPECT_FALSE(PlayMoreResultLine(t.s).centred);
    LanTimerTick(t.s, t.sv);       // the game is over: the computer does not move again
    EXPECT_EQ(t.pause.pauses, 6);  // two for each of its three moves

    // Game 2: the computer opens; at Beginner it never looks for Ann's word going down.
    t.s.CurrentComputerSkill = 1;
    DealNext("drowqqqq");
    PlayMoreYes(t.s, t.sv);
    EXPECT_EQ(t.Board().back(), ".......");
    EXPECT_FALSE(t.s.GameOver);
    EXPECT_TRUE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.Label13 + " " + t.s.CurrentPlayer, "Opponents Turn! Computer");
    for (int piece = 0; piece < 4; ++piece) {
        ComputerPlays('x', {6});
        PlayerDrops(piece, 0);
    }
    EXPECT_EQ(t.Board(),
              (Strings{".......", ".......", "w.....x", "o.....x", "r.....x", "d.....x"}));
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_EQ(t.Counters(), (Strings{"12", "5", "6", "1"}));
    EXPECT_EQ(t.hooks.results.back(), std::make_pair(std::string("Computer"), GameOutcome::Loss));
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word: Word - a unit of language");

    // Game 3: Ann opens again; the last two holes fill the board without a word.
    PlayMoreYes(t.s, t.sv);
    ASSERT_EQ(t.s.CurrentPlayer, "Ann");
    t.SetBoard({"xqxqx..", "qxqxqxq", "xqxqxqx", "qxqxqxq", "xqxqxqx", "qxqxqxq"});
    PlayerDrops(0, 5);
    ComputerPlays('q', {0, 3, 6});  // two full columns drawn, then the open one
    EXPECT_EQ(t.Board()[0], "xqxqx" + t.s.Hole[40].Tag + "q");
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.WinningWord, "");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.Counters(), (Strings{"13", "5", "6", "2"}));
    EXPECT_EQ(t.hooks.results.back(), std::make_pair(std::string("Computer"), GameOutcome::Tie));
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Game Over. No Winner.");
    EXPECT_TRUE(PlayMoreResultLine(t.s).centred);

    // "Yes" after the draw: the computer opens the fourth game at once.
    PlayMoreYes(t.s, t.sv);
    EXPECT_TRUE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.CurrentPlayer, "Computer");
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
    test::WriteDictionary(folder.File("WordList.DIC"), {{"Able", "  having the power  "}});
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
