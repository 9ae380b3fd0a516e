// The statistics line: fixed columns that long names and numbers shift but never cut.
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
    EXPECT_EQ(StatsLine(Scored("Ann", 12, -3, 0)),
              "Ann                       |    12|    -3|     0|");
    // The widest numbers fill their columns; a name fills the record's 25 characters at most.
    EXPECT_EQ(StatsLine(Scored(std::string(25, 'x'), 32767, -32768, 5191)),
              std::string(25, 'x') + " | 32767|-32768|  5191|");
}

}  // namespace
}  // namespace gd
