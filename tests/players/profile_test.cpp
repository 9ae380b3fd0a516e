// The profile file byte for byte: record layout, saving, finding, deleting and results.
#include <gtest/gtest.h>

#include "profile.h"
#include "profile_helpers.h"

namespace gd {
namespace {

using test::IntAt;
using test::NewProfile;
using test::Padded;
using test::TempFolder;
using test::TextAt;

constexpr std::size_t R = kProfileRecordSize;

struct ProfileFileTest : ::testing::Test {
    TempFolder dir;
    ProfileFile f{dir.path};
    std::string Bytes() const { return dir.Read("players.dat"); }
    // Saves a new profile as the settings window would: find first, then save.
    void SaveNew(PlayerProfile p) {
        PlayerProfile working;
        const int record = f.Exists() ? FindProfile(f, p.PlayerName, working) : 0;
        ASSERT_TRUE(SaveProfile(f, p, record).ok);
    }
    // "Ann", "Bob" and "Computer", in that order.
    void ThreeProfiles() {
        SaveNew(NewProfile("Ann"));
        SaveNew(NewProfile("Bob", "secret"));
        std::string bytes = Bytes();
        // Move "Computer" (record 2) to the end.
        bytes = bytes.substr(0, R) + bytes.substr(2 * R, R) + bytes.substr(R, R);
        dir.Write("players.dat", bytes);
    }
};

// Guards against fields written at the wrong offset, in the wrong width or byte order.
TEST(RecordLayout, EveryFieldSitsAtItsOffset) {
    PlayerProfile p;
    p.PlayerName = "Ann";
    p.Password = "pass";
    p.Location = "York";
    p.PhotoMode = 1;
    p.PictureUrl = "http://example.com/a.jpg";
    for (int i = 0; i < kSoundEventCount; ++i)
        p.SoundFiles[i] = "s" + std::to_string(i) + ".wav";
    p.Background = "woody";
    p.UseProxy = 1;
    p.ProxyAddress = "proxy:8080";
    p.UseStoredProtocol = 1;
    p.LanProtocol = "Local Network";
    p.Played = 300;
    p.Won = 2;
    p.Lost = -3;
    p.Tied = 4;
    p.ComputerSkill = 3;
    p.Reserved27 = 0x1234;
    p.Reserved28 = 7;
    const std::string b = EncodeProfile(p);
    ASSERT_EQ(b.size(), 1890u);
    EXPECT_EQ(TextAt(b, 0, 25), Padded("Ann", 25));
    EXPECT_EQ(TextAt(b, 25, 10), Padded("pass", 10));
    EXPECT_EQ(TextAt(b, 35, 25), Padded("York", 25));
    EXPECT_EQ(IntAt(b, 60), 1);
    EXPECT_EQ(TextAt(b, 62, 150), Padded("http://example.com/a.jpg", 150));
    for (int i = 0; i < kSoundEventCount; ++i)
        EXPECT_EQ(TextAt(b, 212 + 150 * i, 150), Padded("s" + std::to_string(i) + ".wav", 150));
    EXPECT_EQ(TextAt(b, 1412, 10), Padded("woody", 10));
    EXPECT_EQ(IntAt(b, 1422), 1);
    EXPECT_EQ(TextAt(b, 1424, 150), Padded("proxy:8080", 150));
    EXPECT_EQ(IntAt(b, 1574), 1);
    EXPECT_EQ(TextAt(b, 1576, 50), Padded("Local Network", 50));
    EXPECT_EQ(IntAt(b, 1626), 300);
    EXPECT_EQ(b[1626], '\x2c');  // 300 = 0x012C, low byte first
    EXPECT_EQ(b[1627], '\x01');
    EXPECT_EQ(IntAt(b, 1628), 2);
    EXPECT_EQ(IntAt(b, 1630), -3);
    EXPECT_EQ(IntAt(b, 1632), 4);
    EXPECT_EQ(TextAt(b, 1634, 250), std::string(250, '\0'));
    EXPECT_EQ(IntAt(b, 1884), 3);
    EXPECT_EQ(IntAt(b, 1886), 0x1234);
    EXPECT_EQ(IntAt(b, 1888), 7);

    const PlayerProfile back = DecodeProfile(b);
    EXPECT_EQ(EncodeProfile(back), b);
    EXPECT_EQ(back.Lost, -3);
}

TEST(RecordLayout, LongTextsAreCutOnTheRight) {
    PlayerProfile p;
    p.PlayerName = std::string(30, 'n');
    p.Background = "underseaXYZ";
    const std::string b = EncodeProfile(p);
    EXPECT_EQ(TextAt(b, 0, 25), std::string(25, 'n'));
    EXPECT_EQ(TextAt(b, 25, 10), std::string(10, ' '));
    EXPECT_EQ(TextAt(b, 1412, 10), "underseaXY");
}

// Guards against a first save that forgets "Computer", or saves that reset counters.
TEST_F(ProfileFileTest, FirstSaveMakesThePlayerAndTheComputer) {
    SaveNew(NewProfile("Ann"));
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 2 * R);
    EXPECT_EQ(TextAt(b, 0, 25), Padded("Ann", 25));
    EXPECT_EQ(TextAt(b, R, 25), Padded("Computer", 25));
    EXPECT_EQ(TextAt(b, R + 35, 25), Padded("Leeds", 25));  // the first player's settings
    for (std::size_t at : {1626u, 1628u, 1630u, 1632u})
        EXPECT_EQ(IntAt(b, R + at), 0);
    EXPECT_FALSE(dir.Has("players.tmp"));
}

TEST_F(ProfileFileTest, InPlaceSaveKeepsTheCounters) {
    ThreeProfiles();
    ASSERT_TRUE(RecordGameResult(f, "Bob", GameOutcome::Win).ok);
    ASSERT_TRUE(RecordGameResult(f, "Bob", GameOutcome::Tie).ok);
    PlayerProfile working;
    const int record = FindProfile(f, "Bob", working);
    ASSERT_EQ(record, 2);
    working.Location = "Hull";
    ASSERT_TRUE(SaveProfile(f, working, record).ok);
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 3 * R);
    EXPECT_EQ(TextAt(b, R + 35, 25), Padded("Hull", 25));
    EXPECT_EQ(IntAt(b, R + 1626), 2);
    EXPECT_EQ(IntAt(b, R + 1628), 1);
    EXPECT_EQ(IntAt(b, R + 1632), 1);
}

TEST_F(ProfileFileTest, AppendedProfileStartsWithZeroCounters) {
    SaveNew(NewProfile("Ann"));
    PlayerProfile cara = NewProfile("Cara");
    cara.Played = cara.Won = 9;
    SaveNew(cara);
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 3 * R);
    EXPECT_EQ(TextAt(b, 2 * R, 25), Padded("Cara", 25));
    EXPECT_EQ(IntAt(b, 2 * R + 1626), 0);
    EXPECT_EQ(IntAt(b, 2 * R + 1628), 0);
}

TEST_F(ProfileFileTest, TwelveCharacterPasswordIsStoredAsTen) {
    SaveNew(NewProfile("Ann", "abcdefghijkl"));
    const std::string b = Bytes();
    EXPECT_EQ(TextAt(b, 25, 10), "abcdefghij");
    PlayerProfile working;
    ASSERT_EQ(FindProfile(f, "Ann", working), 1);
    EXPECT_FALSE(PasswordMatches("abcdefghijkl", working.Password));
    EXPECT_TRUE(PasswordMatches("abcdefghij", working.Password));
}

// Guards against an update that loses bytes the program does not use.
TEST_F(ProfileFileTest, ReservedFieldsKeptOnUpdateAndZeroOnANewRecord) {
    std::string record = EncodeProfile(NewProfile("Ann"));
    for (std::size_t i = 1634; i < 1884; ++i)
        record[i] = static_cast<char>('A' + i % 26);
    record[1886] = 5;
    record[1889] = 6;
    dir.Write("players.dat", record);
    PlayerProfile working;
    ASSERT_EQ(FindProfile(f, "Ann", working), 1);
    working.Location = "Bath";
    ASSERT_TRUE(SaveProfile(f, working, 1).ok);
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Loss).ok);
    SaveNew(NewProfile("Bob"));
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 2 * R);
    EXPECT_EQ(TextAt(b, 1634, 250), TextAt(record, 1634, 250));
    EXPECT_EQ(TextAt(b, 1886, 4), TextAt(record, 1886, 4));
    EXPECT_EQ(TextAt(b, R + 1634, 250), std::string(250, '\0'));
    EXPECT_EQ(TextAt(b, R + 1886, 4), std::string(4, '\0'));
}

TEST_F(ProfileFileTest, AnEmptyFileGetsThePlayerAsRecordOneWithoutComputer) {
    dir.Write("players.dat", "");
    SaveNew(NewProfile("Ann"));
    EXPECT_EQ(Bytes().size(), R);
}

// Guards against names matched without trimming, or without letter case.
TEST_F(ProfileFileTest, NamesMatchTrimmedAndWithLetterCase) {
    ThreeProfiles();
    PlayerProfile working;
    EXPECT_EQ(FindProfile(f, "  Bob ", working), 2);
    EXPECT_EQ(Trim(working.Password), "secret");
    EXPECT_EQ(FindProfile(f, "bob", working), 0);
    EXPECT_EQ(CountProfiles(f), 3);
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "Bob"}));
}

TEST_F(ProfileFileTest, LowerCaseComputerIsAPlayerNotTheComputer) {
    SaveNew(NewProfile("Ann"));
    SaveNew(NewProfile("computer"));
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "computer"}));
    const std::string before = Bytes();
    ASSERT_TRUE(RecordGameResult(f, kComputerName, GameOutcome::Win).ok);
    const std::string after = Bytes();
    EXPECT_EQ(IntAt(after, R + 1626), 1);                  // "Computer", record 2
    EXPECT_EQ(after.substr(2 * R), before.substr(2 * R));  // "computer" untouched
}

TEST_F(ProfileFileTest, MissingFileHasNoProfilesAndIsNotCreatedByReading) {
    PlayerProfile working;
    EXPECT_EQ(CountProfiles(f), 0);
    EXPECT_EQ(FindProfile(f, "Ann", working), 0);
    EXPECT_TRUE(ListProfileNames(f).empty());
    EXPECT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_FALSE(dir.Has("players.dat"));
}

TEST_F(ProfileFileTest, FileNameIsFoundWithoutRegardToCase) {
    dir.Write("Players.DAT", EncodeProfile(NewProfile("Ann")));
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_FALSE(dir.Has("players.dat"));
    EXPECT_EQ(IntAt(dir.Read("Players.DAT"), 1626), 1);
}

// Guards against a deletion that loses other profiles or leaves the temporary file.
TEST_F(ProfileFileTest, DeletingTheOnlyPlayerLeavesTheComputer) {
    SaveNew(NewProfile("Ann"));
    ASSERT_TRUE(DeleteProfile(f, " Ann").ok);
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), R);
    EXPECT_EQ(TextAt(b, 0, 25), Padded("Computer", 25));
    EXPECT_FALSE(dir.Has("players.tmp"));
}

TEST_F(ProfileFileTest, DeletingRemovesEveryRecordOfTheNameAndKeepsTheOrder) {
    const std::string ann = EncodeProfile(NewProfile("Ann"));
    const std::string bob = EncodeProfile(NewProfile("Bob"));
    const std::string cara = EncodeProfile(NewProfile("Cara"));
    dir.Write("players.dat", bob + ann + cara + bob);
    ASSERT_TRUE(DeleteProfile(f, "Bob").ok);
    EXPECT_EQ(Bytes(), ann + cara);
}

// Guards against results counted on the wrong record or with the wrong outcome.
TEST_F(ProfileFileTest, TieAgainstTheComputerChangesOnlyComputer) {
    ThreeProfiles();
    const std::string before = Bytes();
    ASSERT_TRUE(RecordGameResult(f, kComputerName, GameOutcome::Tie).ok);
    const std::string after = Bytes();
    EXPECT_EQ(after.substr(0, 2 * R), before.substr(0, 2 * R));
    EXPECT_EQ(IntAt(after, 2 * R + 1626), 1);
    EXPECT_EQ(IntAt(after, 2 * R + 1628), 0);
    EXPECT_EQ(IntAt(after, 2 * R + 1630), 0);
    EXPECT_EQ(IntAt(after, 2 * R + 1632), 1);
    EXPECT_EQ(TextAt(after, 2 * R, 1626), TextAt(before, 2 * R, 1626));
}

TEST_F(ProfileFileTest, HumanWinAgainstTheComputerIsTheComputersLoss) {
    ThreeProfiles();
    const std::string before = Bytes();
    ASSERT_TRUE(RecordGameResult(f, kComputerName, GameOutcome::Loss).ok);
    const std::string after = Bytes();
    EXPECT_EQ(after.substr(0, 2 * R), before.substr(0, 2 * R));
    EXPECT_EQ(IntAt(after, 2 * R + 1626), 1);
    EXPECT_EQ(IntAt(after, 2 * R + 1630), 1);
}

TEST_F(ProfileFileTest, UnknownNameRecordsNothing) {
    ThreeProfiles();
    const std::string before = Bytes();
    ASSERT_TRUE(RecordGameResult(f, "Zed", GameOutcome::Win).ok);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(ProfileFileTest, CountersStopAtTheLargest16BitNumber) {
    PlayerProfile p = NewProfile("Ann");
    p.Played = p.Won = 32767;
    dir.Write("players.dat", EncodeProfile(p));
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_EQ(IntAt(Bytes(), 1626), 32767);
    EXPECT_EQ(IntAt(Bytes(), 1628), 32767);
}

TEST_F(ProfileFileTest, ResultThatCannotBeWrittenIsReportedInTheStatusList) {
    GameState s;
    SaveNew(NewProfile("Ann"));
    const std::string before = Bytes();
    std::filesystem::create_directory(dir.File("players.tmp"));  // blocks the temporary file
    CountFinishedGame(s, f, "Ann", GameOutcome::Win);
    ASSERT_EQ(s.StatusText.lines.size(), 1u);
    EXPECT_EQ(s.StatusText.lines[0].rfind("The game result could not be saved: ", 0), 0u);
    EXPECT_EQ(Bytes(), before);
    std::filesystem::remove(dir.File("players.tmp"));
    CountFinishedGame(s, f, "Ann", GameOutcome::Win);
    EXPECT_EQ(s.StatusText.lines.size(), 1u);
    EXPECT_EQ(IntAt(Bytes(), 1626), 1);
}

// Guards against a torn file being misread or made worse by later writes.
TEST_F(ProfileFileTest, TruncatedFileIsReadAsItsWholeRecords) {
    const std::string ann = EncodeProfile(NewProfile("Ann"));
    const std::string bob = EncodeProfile(NewProfile("Bob"));
    const std::string torn = EncodeProfile(NewProfile("Cara")).substr(0, 700);
    dir.Write("players.dat", ann + bob + torn);
    PlayerProfile working;
    EXPECT_EQ(CountProfiles(f), 2);
    EXPECT_EQ(FindProfile(f, "Cara", working), 0);
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "Bob"}));

    ASSERT_TRUE(RecordGameResult(f, "Bob", GameOutcome::Win).ok);
    std::string b = Bytes();
    ASSERT_EQ(b.size(), 2 * R + 700);
    EXPECT_EQ(b.substr(0, R), ann);
    EXPECT_EQ(IntAt(b, R + 1626), 1);
    EXPECT_EQ(b.substr(2 * R), torn);

    SaveNew(NewProfile("Dan"));
    b = Bytes();
    ASSERT_EQ(b.size(), 3 * R + 700);
    EXPECT_EQ(TextAt(b, 2 * R, 25), Padded("Dan", 25));
    EXPECT_EQ(b.substr(0, R), ann);
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "Bob", "Dan"}));
}

// Guards against a password rule that ignores case or blanks the wrong way.
TEST(Passwords, MatchTrimmedWithLetterCase) {
    EXPECT_TRUE(PasswordMatches("  Secret ", "Secret    "));
    EXPECT_FALSE(PasswordMatches("secret", "Secret    "));
    EXPECT_TRUE(PasswordInForce("abc       "));
    EXPECT_FALSE(PasswordInForce("ab        "));
    EXPECT_FALSE(PasswordInForce(std::string(10, ' ')));
}

// Guards against a profile block the opponent cannot read back.
TEST(PlayDataBlock, BuildsTheMarkedFields) {
    PlayerProfile p = NewProfile("Ann Lee");
    p.Played = 12;
    p.Won = 7;
    p.Lost = -1;
    p.Tied = 0;
    EXPECT_EQ(BuildPlayDataBlock(DecodeProfile(EncodeProfile(p))),
              "xxxAnn Leejjjhh*Leeds*qqcc*12*eerr*7*pptt*-1*vvmm*0*aa");
}

TEST(PlayDataBlock, ReadsEachFieldBetweenItsFirstMarkers) {
    const PlayData d =
        ReadPlayDataBlock("9PLAYDATAxxx Ann jjjhh*Leeds*qqcc*12*eerr*7*pptt*1*vvmm*0*aa tail *aa");
    EXPECT_EQ(d.name, "Ann");
    EXPECT_EQ(d.location, "Leeds");
    EXPECT_EQ(d.played, "12");
    EXPECT_EQ(d.won, "7");
    EXPECT_EQ(d.lost, "1");
    EXPECT_EQ(d.tied, "0");
}

TEST(PlayDataBlock, MissingOrReversedMarkersGiveEmptyFields) {
    const PlayData d = ReadPlayDataBlock("*qq hh*York cc*5");
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.location, "");  // closing marker first
    EXPECT_EQ(d.played, "");    // no closing marker
    EXPECT_EQ(ReadPlayDataBlock("xxjjj").name, "");
    EXPECT_EQ(ReadPlayDataBlock("xxxjjj").name, "");
}

TEST_F(ProfileFileTest, BlockIsBuiltFromTheRecordJustBeforeSending) {
    SaveNew(NewProfile("Ann"));
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_EQ(PlayDataBlock(f, "Ann"), "xxxAnnjjjhh*Leeds*qqcc*1*eerr*1*pptt*0*vvmm*0*aa");
    EXPECT_EQ(PlayDataBlock(f, "Nobody"), "xxxNobodyjjjhh**qqcc*0*eerr*0*pptt*0*vvmm*0*aa");
}

}  // namespace
}  // namespace gd
