// The game against the computer: its start, whole games driven by drops and timer ticks, and
// the game-over window.
#include "computer_game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "computer.h"
#include "fakes.h"
#include "profile_counters.h"

namespace gd {
namespace {

namespace fs = std::filesystem;
using test::Harness;

// A folder of its own for each test, removed afterwards.
struct TempFolder {
    fs::path path;
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = fs::temp_directory_path() /
               ("gd_computer_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
};

struct Profile {
    std::string name;
    int played, won, lost, tied;
};

std::string ProfileRecord(const Profile& p) {
    std::string record(1890, '\0');
    record.replace(0, 25, (p.name + std::string(25, ' ')).substr(0, 25));
    const int counters[] = {p.played, p.won, p.lost, p.tied};
    for (int i = 0; i < 4; ++i) {
        const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(counters[i]));
        record[1626 + 2 * i] = static_cast<char>(value & 0xff);
        record[1627 + 2 * i] = static_cast<char>(value >> 8);
    }
    return record;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteProfiles(const std::string& path, const std::vector<Profile>& profiles) {
    std::string bytes;
    for (const Profile& p : profiles)
        bytes += ProfileRecord(p);
    WriteFile(path, bytes);
}

void WriteDictionary(const std::string& path,
                     const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string bytes;
    for (const auto& [word, definition] : entries)
        bytes += (word + std::string(6, ' ')).substr(0, 6) +
                 (definition + std::string(240, ' ')).substr(0, 240);
    WriteFile(path, bytes);
}

struct ComputerGameTest : ::testing::Test {
    TempFolder folder;
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

// Guards against starting over an internet game, or with the wrong pairing or panel.
TEST_F(ComputerGameTest, StartSetsUpThePairingAndShowsTheComputersRecord) {
    WriteProfiles(t.s.PlayersFile, {{"Ann", 3, 2, 1, 0},
                                    {"computer", 9, 9, 9, 9},
                                    {"Computer   ", 10, 4, 5, 1},
                                    {"Computer", 1, 1, 1, 1}});
    t.s.PieceColour = "red";
    DealNext("abcdefgh");
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));

    EXPECT_EQ(t.s.FirstPlayer, "Ann");
    EXPECT_EQ(t.s.SecondPlayer, "Computer");
    EXPECT_EQ(t.s.PieceColour, "blue");
    EXPECT_EQ(t.s.LanSide, 1);
    EXPECT_TRUE(t.s.ComputerGame);
    EXPECT_TRUE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.Label7, "Computer");
    EXPECT_EQ(t.s.Label8, "Silicon Valley");
    EXPECT_EQ(t.s.Picture1, PhotoPicture::PcPlayer);
    EXPECT_EQ(std::vector<std::string>({t.s.Label9, t.s.Label10, t.s.Label11, t.s.Label12}),
              std::vector<std::string>({"10", "4", "5", "1"}));
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_EQ(t.s.Label13, "Your Turn!");
    EXPECT_EQ(t.s.Image[7].Tag, "h");
    EXPECT_EQ(t.s.Image[7].picture, Picture::Blue);
    EXPECT_TRUE(t.prompt.shown.empty());
}

TEST_F(ComputerGameTest, WithoutTheComputersRecordThePanelKeepsItsCounters) {
    t.s.Label9 = "7";
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));  // no players.dat at all
    EXPECT_EQ(t.s.Label9, "7");

    // The record of "Computer" is the trailing partial one: it is not read.
    WriteFile(t.s.PlayersFile, ProfileRecord({"Ann", 3, 2, 1, 0}) +
                                   ProfileRecord({"Computer", 4, 4, 0, 0}).substr(0, 1889));
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ(t.s.Label9, "7");
}

TEST_F(ComputerGameTest, TheProfileFileIsFoundWithoutRegardToCase) {
    WriteProfiles(folder.File("PLAYERS.DAT"), {{"Computer", -2, 30000, 0, 12}});
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    EXPECT_EQ(t.s.Label9, "-2");
    EXPECT_EQ(t.s.Label10, "30000");
    EXPECT_EQ(t.s.Label12, "12");
}

TEST_F(ComputerGameTest, AnsweringNoToLeavingAnInternetGameStartsNothing) {
    t.s.InternetState = 1;
    t.s.SecondPlayer = t.s.Label7 = "Bob";
    t.s.inettimer.Enabled = true;
    t.prompt.answers = {false};
    EXPECT_FALSE(StartComputerGame(t.s, t.sv));

    ASSERT_EQ(t.prompt.shown.size(), 1u);
    EXPECT_EQ(t.prompt.shown[0].title, "Quit Game In Play!");
    EXPECT_EQ(t.prompt.shown[0].text,
              "You are currently playing an internet game. If you quit during play, the game "
              "will score as a loss for you.\n\nDo you wish to cancel current game and score a "
              "loss?");
    EXPECT_EQ(t.s.InternetState, 1);
    EXPECT_FALSE(t.s.ComputerGame);
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_TRUE(t.s.inettimer.Enabled);
    EXPECT_EQ(t.s.SecondPlayer, "Bob");
    EXPECT_EQ(t.s.Label7, "Bob");
    EXPECT_TRUE(t.hooks.results.empty());
    EXPECT_EQ(t.hooks.internetGamesEnded, 0);
}

TEST_F(ComputerGameTest, LeavingAnInternetGameCountsItLostThenStarts) {
    t.s.InternetState = 1;
    t.prompt.answers = {true};
    EXPECT_TRUE(StartComputerGame(t.s, t.sv));
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0].first, "Ann");
    EXPECT_EQ(t.hooks.results[0].second, GameOutcome::Loss);
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
    const auto& lines = t.s.StatusText.lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "You have exited the internet waiting room.");
    EXPECT_EQ(lines.back(), "Ready.");
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
    WriteDictionary(
        t.s.WordListFile,
        {{"able", "having the power"}, {"Word", "a unit of language"}, {"zone", "an area"}});
    ASSERT_TRUE(LoadWordList(t.s.Words, t.s.WordListFile));
    WriteProfiles(t.s.PlayersFile, {{"Computer", 10, 4, 5, 1}});
    t.s.CurrentComputerSkill = 2;

    // Game 1: Ann lays "wor" along the bottom row; the computer completes "word".
    DealNext("wordqqqq");
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    ASSERT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));  // not the computer's turn: nothing happens
    EXPECT_EQ(t.pause.pauses, 0);
    for (int piece = 0; piece < 3; ++piece) {
        PlayerDrops(piece, piece);
        EXPECT_EQ(t.s.Label13, "Opponents Turn");
        EXPECT_EQ(t.s.CurrentPlayer, "Computer");
        if (piece < 2) {
            ComputerPlays('x', {6});
            EXPECT_EQ(t.s.Label13, "Your Turn");
            EXPECT_EQ(t.s.CurrentPlayer, "Ann");
        }
    }
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));
    EXPECT_EQ(t.Board().back(), "word..x");
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.CurrentPlayer, "Computer");
    EXPECT_EQ(t.s.Label13, "Game Over");
    EXPECT_FALSE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.StatusText.lines.back(),
              "Computer made word word. Game Over. Winner is Computer");
    EXPECT_EQ(t.s.Label9, "11");
    EXPECT_EQ(t.s.Label10, "5");
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0], std::make_pair(std::string("Computer"), GameOutcome::Win));
    EXPECT_EQ(t.hooks.playMoreShown, 1);
    ResultLine line = PlayMoreResultLine(t.s);
    EXPECT_EQ(line.text, "Winner is Computer with word: Word - a unit of language");
    EXPECT_FALSE(line.centred);
    const int pauses = t.pause.pauses;
    LanTimerTick(t.s, t.sv);  // the game is over: the computer does not move again
    EXPECT_EQ(t.pause.pauses, pauses);

    // Game 2: the computer opens; at Beginner it never looks for Ann's word going down.
    t.s.CurrentComputerSkill = 1;
    DealNext("drowqqqq");
    PlayMoreYes(t.s, t.sv);
    EXPECT_EQ(t.Board().back(), ".......");
    EXPECT_FALSE(t.s.GameOver);
    EXPECT_TRUE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.CurrentPlayer, "Computer");
    EXPECT_EQ(t.s.Label13, "Opponents Turn!");
    for (int piece = 0; piece < 4; ++piece) {
        ComputerPlays('x', {6});
        PlayerDrops(piece, 0);
    }
    EXPECT_EQ(t.Board(), std::vector<std::string>(
                             {".......", ".......", "w.....x", "o.....x", "r.....x", "d.....x"}));
    EXPECT_TRUE(t.s.GameOver);
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
    EXPECT_EQ(t.s.Label9, "12");
    EXPECT_EQ(t.s.Label11, "6");
    ASSERT_EQ(t.hooks.results.size(), 2u);
    EXPECT_EQ(t.hooks.results[1], std::make_pair(std::string("Computer"), GameOutcome::Loss));
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
    EXPECT_EQ(t.s.Label9, "13");
    EXPECT_EQ(t.s.Label12, "2");
    ASSERT_EQ(t.hooks.results.size(), 3u);
    EXPECT_EQ(t.hooks.results[2], std::make_pair(std::string("Computer"), GameOutcome::Tie));
    line = PlayMoreResultLine(t.s);
    EXPECT_EQ(line.text, "Game Over. No Winner.");
    EXPECT_TRUE(line.centred);

    // "Yes" after the draw: the computer opens the fourth game at once.
    PlayMoreYes(t.s, t.sv);
    EXPECT_TRUE(t.s.lantimer.Enabled);
    EXPECT_EQ(t.s.CurrentPlayer, "Computer");
    ComputerPlays('z', {3});
    EXPECT_EQ(t.s.Hole[3].Tag, "z");
    EXPECT_EQ(t.s.CurrentPlayer, "Ann");
}

TEST_F(ComputerGameTest, NoEndsComputerPlay) {
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    t.s.GameOver = t.s.MoveEndedGame = true;
    t.s.CurrentPlayer = "Computer";
    PlayMoreNo(t.s);
    EXPECT_FALSE(t.s.ComputerGame);
    EXPECT_FALSE(t.s.GameOver);
    EXPECT_EQ(t.s.Picture1, PhotoPicture::Photona);
    for (const std::string* label : {&t.s.Label7, &t.s.Label8, &t.s.Label9, &t.s.Label10,
                                     &t.s.Label11, &t.s.Label12, &t.s.Label13})
        EXPECT_EQ(*label, "");
    EXPECT_EQ(t.s.StatusText.lines.back(), "Ready");
    EXPECT_EQ(t.s.Image[0].picture, Picture::Blank);
    t.s.GameOver = false;  // even with the turn left at the computer, no move is made
    EXPECT_FALSE(LanTimerTick(t.s, t.sv));
    EXPECT_EQ(t.pause.pauses, 0);
}

TEST_F(ComputerGameTest, NoClearsEveryKindOfGame) {
    t.s.InternetState = 1;
    t.s.LanGame = true;
    PlayMoreNo(t.s);
    EXPECT_EQ(t.s.InternetState, 0);
    EXPECT_FALSE(t.s.LanGame);
}

// Guards against a wrong result line in the game-over window.
TEST_F(ComputerGameTest, TheResultLineNamesTheWinnerWordAndDefinition) {
    t.s.CurrentPlayer = "Ann";
    t.s.WinningWord = "able";
    // Without the file the word and definition parts stay empty.
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word:  - ");
    WriteDictionary(folder.File("WordList.DIC"), {{"Able", "  having the power  "}});
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word: Able - having the power");
    t.s.WinningWord = "zzzz";
    EXPECT_EQ(PlayMoreResultLine(t.s).text, "Winner is Ann with word:  - ");
}

TEST_F(ComputerGameTest, AWordOnTheLastHoleIsAWinNotADraw) {
    WriteDictionary(t.s.WordListFile, {{"able", "having the power"}});
    ASSERT_TRUE(LoadWordList(t.s.Words, t.s.WordListFile));
    ASSERT_TRUE(StartComputerGame(t.s, t.sv));
    t.SetBoard({"abl.xqx", "qxqxqxq", "xqxqxqx", "qxqxqxq", "xqxqxqx", "qxqxqxq"});
    t.s.CurrentPlayer = "Computer";
    EXPECT_TRUE(LanTimerTick(t.s, t.sv));
    EXPECT_FALSE(BoardHasRoom(t.s));
    EXPECT_EQ(t.s.WinningWord, "able");
    ASSERT_EQ(t.hooks.results.size(), 1u);
    EXPECT_EQ(t.hooks.results[0].second, GameOutcome::Win);
    const ResultLine line = PlayMoreResultLine(t.s);
    EXPECT_EQ(line.text, "Winner is Computer with word: able - having the power");
    EXPECT_FALSE(line.centred);
}

// Guards against reading the wrong bytes of a profile record.
TEST_F(ComputerGameTest, CountersAreReadFromTheFirstRecordWithTheExactName) {
    const std::string path = folder.File("players.dat");
    EXPECT_FALSE(ReadProfileCounters(path, "Computer"));
    WriteProfiles(path, {{"COMPUTER", 1, 1, 1, 1}, {"  Computer", 5, 3, 2, -1}});
    const auto counters = ReadProfileCounters(path, "Computer");
    ASSERT_TRUE(counters);
    EXPECT_EQ(counters->Played, 5);
    EXPECT_EQ(counters->Won, 3);
    EXPECT_EQ(counters->Lost, 2);
    EXPECT_EQ(counters->Tied, -1);
    EXPECT_FALSE(ReadProfileCounters(path, "Comp"));
}

}  // namespace
}  // namespace gd
