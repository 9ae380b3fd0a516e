// The profile file byte for byte: record layout, saving, finding, deleting and results.
#include <gtest/gtest.h>

#include "profile.h"
#include "profile_helpers.h"

namespace gd {
namespace {

using test::IntAt;
using test::NewProfile;
using test::Padded;
using test::Records;

constexpr std::size_t R = kProfileRecordSize;
using Counters = std::vector<int>;  // Played, Won, Lost, Tied

struct ProfileFileTest : test::PlayersTest {
    // "Ann", "Bob" (with a password), "Computer" and a player called "computer".
    void FourProfiles() {
        Store({NewProfile("Ann"), NewProfile("Bob", "secret"), NewProfile(kComputerName),
               NewProfile("computer")});
    }
    // Saves a new profile as the settings window would: find first, then save.
    void SaveNew(PlayerProfile p) {
        PlayerProfile working;
        const int record = f.Exists() ? FindProfile(f, p.PlayerName, working) : 0;
        ASSERT_TRUE(SaveProfile(f, p, record).ok);
    }
    // The counters of record `record` (from 0), read at offsets 1626 to 1633.
    Counters CountersOf(std::size_t record) const {
        const std::string b = Bytes();
        Counters c;
        for (std::size_t at = 1626; at < 1634; at += 2)
            c.push_back(IntAt(b, record * R + at));
        return c;
    }
};

// Guards against fields written at the wrong offset, in the wrong width or byte order, and
// texts not cut on the right.
TEST(RecordLayout, EveryFieldSitsAtItsOffset) {
    PlayerProfile p = NewProfile(std::string(30, 'n'), "pass");
    p.Location = "York";
    p.PhotoMode = 1;
    p.PictureUrl = "http://example.com/a.jpg";
    p.Background = "underseaXYZ";
    p.UseProxy = 5;
    p.ProxyAddress = "proxy:8080";
    p.UseStoredProtocol = 6;
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
    const std::vector<std::pair<std::size_t, std::string>> texts{
        {0, std::string(25, 'n')},
        {25, Padded("pass", 10)},
        {35, Padded("York", 25)},
        {62, Padded("http://example.com/a.jpg", 150)},
        {1412, "underseaXY"},
        {1424, Padded("proxy:8080", 150)},
        {1576, Padded("Local Network", 50)},
        {1634, std::string(250, '\0')}};
    for (const auto& [at, text] : texts)
        EXPECT_EQ(b.substr(at, text.size()), text) << "offset " << at;
    for (int i = 0; i < kSoundEventCount; ++i)
        EXPECT_EQ(b.substr(212 + 150 * i, 150), Padded(kDefaultSoundFiles[i], 150));
    const std::vector<std::pair<std::size_t, int>> numbers{
        {60, 1},    {1422, 5}, {1574, 6}, {1626, 300},    {1628, 2},
        {1630, -3}, {1632, 4}, {1884, 3}, {1886, 0x1234}, {1888, 7}};
    for (const auto& [at, n] : numbers)
        EXPECT_EQ(IntAt(b, at), n) << "offset " << at;
    EXPECT_EQ(EncodeProfile(DecodeProfile(b)), b);
}

// Guards against a first save that forgets "Computer", appends that keep counters, and
// passwords stored longer than their field. Saves in place are checked through the settings.
TEST_F(ProfileFileTest, FirstSaveAddsTheComputerAndLaterSavesAppend) {
    SaveNew(NewProfile("Ann", "abcdefghijkl"));
    std::string b = Bytes();
    ASSERT_EQ(b.size(), 2 * R);
    EXPECT_EQ(b.substr(0, 35), Padded("Ann", 25) + "abcdefghij");
    EXPECT_EQ(b.substr(R, 25), Padded("Computer", 25));
    EXPECT_EQ(b.substr(R + 35, 25), Padded("Leeds", 25));  // the first player's settings
    EXPECT_EQ(CountersOf(1), Counters(4, 0));
    PlayerProfile cara = NewProfile("Cara");
    cara.Played = cara.Won = 9;
    SaveNew(cara);
    ASSERT_EQ(Bytes().size(), 3 * R);
    EXPECT_EQ(Bytes().substr(2 * R, 25), Padded("Cara", 25));
    EXPECT_EQ(CountersOf(2), Counters(4, 0));
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
    EXPECT_EQ(b.substr(1634, 250), record.substr(1634, 250));
    EXPECT_EQ(b.substr(1886, 4), record.substr(1886, 4));
    EXPECT_EQ(b.substr(R + 1634, 250), std::string(250, '\0'));
    EXPECT_EQ(b.substr(R + 1886, 4), std::string(4, '\0'));
}

// Guards against names matched without trimming or without letter case.
TEST_F(ProfileFileTest, NamesMatchTrimmedAndWithLetterCase) {
    FourProfiles();
    PlayerProfile working;
    EXPECT_EQ(FindProfile(f, "  Bob ", working), 2);
    EXPECT_EQ(Trim(working.Password), "secret");
    EXPECT_EQ(FindProfile(f, "bob", working), 0);
    EXPECT_EQ(CountProfiles(f), 4);
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "Bob", "computer"}));
}

// Guards against reading that creates the file, or misses it for its letter case.
TEST_F(ProfileFileTest, MissingFileIsNotCreatedByReadingAndAnyCaseIsFound) {
    PlayerProfile working;
    EXPECT_EQ(CountProfiles(f), 0);
    EXPECT_EQ(FindProfile(f, "Ann", working), 0);
    EXPECT_TRUE(ListProfileNames(f).empty());
    EXPECT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_FALSE(dir.Has("players.dat"));
    dir.Write("Players.DAT", EncodeProfile(NewProfile("Ann")));
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_FALSE(dir.Has("players.dat"));
    EXPECT_EQ(IntAt(dir.Read("Players.DAT"), 1626), 1);
}

// Guards against a deletion that loses other profiles or leaves the temporary file.
TEST_F(ProfileFileTest, DeletingRemovesEveryRecordOfTheNameAndKeepsTheOrder) {
    SaveNew(NewProfile("Ann"));
    ASSERT_TRUE(DeleteProfile(f, " Ann").ok);
    ASSERT_EQ(Bytes().size(), R);
    EXPECT_EQ(Bytes().substr(0, 25), Padded("Computer", 25));
    EXPECT_FALSE(dir.Has("players.tmp"));
    Store({NewProfile("Bob"), NewProfile("Ann"), NewProfile("Cara"), NewProfile("Bob")});
    ASSERT_TRUE(DeleteProfile(f, "Bob").ok);
    EXPECT_EQ(Bytes(), Records({NewProfile("Ann"), NewProfile("Cara")}));
}

// Guards against results counted on the wrong record or with the wrong outcome: a tie or a
// human's win against the computer changes only "Computer", never "computer".
TEST_F(ProfileFileTest, ResultChangesOnlyTheNamedRecord) {
    struct Case {
        std::string name;
        GameOutcome outcome;
        std::size_t record;  // from 0; 4 for none
        Counters counters;
    };
    const std::vector<Case> cases{{kComputerName, GameOutcome::Tie, 2, {1, 0, 0, 1}},
                                  {kComputerName, GameOutcome::Loss, 2, {1, 0, 1, 0}},
                                  {"Bob", GameOutcome::Win, 1, {1, 1, 0, 0}},
                                  {"Zed", GameOutcome::Win, 4, {}}};
    for (const Case& c : cases) {
        FourProfiles();
        const std::string before = Bytes();
        ASSERT_TRUE(RecordGameResult(f, c.name, c.outcome).ok) << c.name;
        const std::string after = Bytes();
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t r = 0; r < 4; ++r) {
            const std::size_t kept = r == c.record ? 1626 : R;
            EXPECT_EQ(after.substr(r * R, kept), before.substr(r * R, kept)) << c.name << r;
        }
        EXPECT_EQ(c.record < 4 ? CountersOf(c.record) : Counters{}, c.counters) << c.name;
    }
}

TEST_F(ProfileFileTest, CountersStopAtTheLargest16BitNumber) {
    PlayerProfile p = NewProfile("Ann");
    p.Played = p.Won = 32767;
    Store({p});
    ASSERT_TRUE(RecordGameResult(f, "Ann", GameOutcome::Win).ok);
    EXPECT_EQ(CountersOf(0), (Counters{32767, 32767, 0, 0}));
}

TEST_F(ProfileFileTest, ResultThatCannotBeWrittenIsReportedInTheStatusList) {
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
    EXPECT_EQ(CountersOf(0), (Counters{1, 1, 0, 0}));
}

// Guards against a torn file being misread or made worse by later writes.
TEST_F(ProfileFileTest, TruncatedFileIsReadAsItsWholeRecords) {
    const std::string whole = Records({NewProfile("Ann"), NewProfile("Bob")});
    const std::string torn = EncodeProfile(NewProfile("Cara")).substr(0, 700);
    dir.Write("players.dat", whole + torn);
    PlayerProfile working;
    EXPECT_EQ(CountProfiles(f), 2);
    EXPECT_EQ(FindProfile(f, "Cara", working), 0);
    ASSERT_TRUE(RecordGameResult(f, "Bob", GameOutcome::Win).ok);
    EXPECT_EQ(CountersOf(1), (Counters{1, 1, 0, 0}));
    SaveNew(NewProfile("Dan"));
    const std::string b = Bytes();
    ASSERT_EQ(b.size(), 3 * R + 700);
    EXPECT_EQ(b.substr(0, R), whole.substr(0, R));
    EXPECT_EQ(b.substr(3 * R), torn);
    EXPECT_EQ(ListProfileNames(f), (std::vector<std::string>{"Ann", "Bob", "Dan"}));
}

// Guards against a profile block built from a stale record, or one a player without a record
// cannot send.
TEST_F(ProfileFileTest, PlayDataBlockIsBuiltFromTheRecord) {
    PlayerProfile p = NewProfile("Ann Lee");
    p.Played = 12;
    p.Won = 7;
    p.Lost = -1;
    Store({p});
    ASSERT_TRUE(RecordGameResult(f, "Ann Lee", GameOutcome::Tie).ok);
    const auto fields = [](const PlayData& d) {
        return std::vector<std::string>{d.name, d.location, d.played, d.won, d.lost, d.tied};
    };
    EXPECT_EQ(fields(ReadPlayDataBlock(PlayDataBlock(f, "Ann Lee"))),
              (std::vector<std::string>{"Ann Lee", "Leeds", "13", "7", "-1", "1"}));
    EXPECT_EQ(fields(ReadPlayDataBlock(PlayDataBlock(f, "Nobody"))),
              (std::vector<std::string>{"Nobody", "", "0", "0", "0", "0"}));
    // Each field lies between its first markers; a missing or reversed pair gives "".
    EXPECT_EQ(fields(ReadPlayDataBlock("*qq hh*York cc*5")), std::vector<std::string>(6));
    EXPECT_EQ(ReadPlayDataBlock("xxjjj").name, "");
}

}  // namespace
}  // namespace gd
