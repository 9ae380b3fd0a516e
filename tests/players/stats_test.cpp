// The statistics list: fixed columns, separators and the empty cases.
#include <gtest/gtest.h>

#include "profile_helpers.h"
#include "stats.h"

namespace gd {
namespace {

PlayerProfile Scored(const std::string& name, int won, int lost, int tied) {
    PlayerProfile p = test::NewProfile(name);
    p.Won = static_cast<std::int16_t>(won);
    p.Lost = static_cast<std::int16_t>(lost);
    p.Tied = static_cast<std::int16_t>(tied);
    return p;
}

// Guards against columns that drift, cut long values or miscount blanks.
TEST(StatsLine, NumbersRightAlignedAndLongValuesShiftTheLaterColumns) {
    EXPECT_EQ(StatsLine(Scored("Ann", 12, 3, 0)),
              "Ann                       |    12|     3|     0|");
    EXPECT_EQ(kStatsSeparator, "--------------------------|------|------|------|");
    // The record would cut a name at 25; the line itself never cuts.
    EXPECT_EQ(StatsLine(Scored(std::string(26, 'x'), 32767, -32768, 5191)),
              std::string(26, 'x') + "| 32767|-32768|  5191|");
    EXPECT_EQ(StatsLine(Scored(std::string(30, 'y'), -1234, 0, 5191)),
              std::string(30, 'y') + "| -1234|     0|  5191|");
}

TEST(StatsLines, SeparatorBetweenRecordsAndTheEmptyCases) {
    test::TempFolder dir;
    ProfileFile f{dir.path};
    EXPECT_EQ(StatsLines(f), (std::vector<std::string>{"No Scores Found"}));
    dir.Write("players.dat", "");
    EXPECT_TRUE(StatsLines(f).empty());
    dir.Write("players.dat", test::Records({Scored("Ann", 1, 2, 3), Scored("Bob", 0, 0, 0),
                                            Scored("Computer", 4, 5, 6)}));
    EXPECT_EQ(StatsLines(f),
              (std::vector<std::string>{StatsLine(Scored("Ann", 1, 2, 3)), kStatsSeparator,
                                        StatsLine(Scored("Bob", 0, 0, 0)), kStatsSeparator,
                                        "Computer                  |     4|     5|     6|"}));
}

}  // namespace
}  // namespace gd
