// The statistics list: fixed columns, separators and the empty cases.
#include <gtest/gtest.h>

#include "profile_helpers.h"
#include "stats.h"

namespace gd {
namespace {

using test::NewProfile;
using test::TempFolder;

PlayerProfile Scored(const std::string& name, int won, int lost, int tied) {
    PlayerProfile p = NewProfile(name);
    p.Won = static_cast<std::int16_t>(won);
    p.Lost = static_cast<std::int16_t>(lost);
    p.Tied = static_cast<std::int16_t>(tied);
    return p;
}

// Guards against columns that drift, cut long values or miscount blanks.
TEST(StatsLine, NumbersRightAlignedInSixColumns) {
    EXPECT_EQ(StatsLine(Scored("Ann", 12, 3, 0)),
              "Ann                       |    12|     3|     0|");
    EXPECT_EQ(StatsLine(Scored("Ann", 12, 3, 0)).size(), 48u);
    EXPECT_EQ(kStatsSeparator.size(), 48u);
}

TEST(StatsLine, LongNamesAndNumbersShiftTheLaterColumns) {
    const std::string name26(26, 'x');
    PlayerProfile p = Scored("", 32767, -32768, 5191);
    p.PlayerName = name26;  // the record would cut it at 25; the line itself never cuts
    EXPECT_EQ(StatsLine(p), name26 + "| 32767|-32768|  5191|");
    p.PlayerName = std::string(30, 'y');
    EXPECT_EQ(StatsLine(p), std::string(30, 'y') + "| 32767|-32768|  5191|");
    p.Won = -1234;
    EXPECT_EQ(StatsLine(p).substr(30), "| -1234|-32768|  5191|");
}

TEST(StatsLines, SeparatorBetweenRecordsAndTheEmptyCases) {
    TempFolder dir;
    ProfileFile f{dir.path};
    EXPECT_EQ(StatsLines(f), (std::vector<std::string>{"No Scores Found"}));
    dir.Write("players.dat", "");
    EXPECT_TRUE(StatsLines(f).empty());
    dir.Write("players.dat", EncodeProfile(Scored("Ann", 1, 2, 3)));
    EXPECT_EQ(StatsLines(f).size(), 1u);
    dir.Write("players.dat", EncodeProfile(Scored("Ann", 1, 2, 3)) +
                                 EncodeProfile(Scored("Bob", 0, 0, 0)) +
                                 EncodeProfile(Scored("Computer", 4, 5, 6)));
    const auto lines = StatsLines(f);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], kStatsSeparator);
    EXPECT_EQ(lines[3], kStatsSeparator);
    EXPECT_EQ(lines[4], "Computer                  |     4|     5|     6|");
}

}  // namespace
}  // namespace gd
