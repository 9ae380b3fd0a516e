// The statistics window: its lines, and the two ways it closes.

#include "statswindow.h"
#include "app_fixture.h"

namespace gd::test {
namespace {

using StatsWindowTest = PlayerWindowTest;

QStringList Lines(const StatsWindow& w) {
    QStringList lines;
    for (int i = 0; i < w.List1()->count(); ++i)
        lines << w.List1()->item(i)->text();
    return lines;
}

// Guards against lists without their separators or empty cases, or not in a fixed-pitch font.
TEST_F(StatsWindowTest, ShowsEveryProfileOrNoScoresFound) {
    EXPECT_EQ(Lines(StatsWindow(profiles)), QStringList{"No Scores Found"});
    Store({});
    EXPECT_EQ(Lines(StatsWindow(profiles)), QStringList{});
    PlayerProfile ann = NewProfile("Ann");
    ann.Won = 12;
    ann.Lost = 3;
    Store({ann, NewProfile("Bob"), NewProfile("Computer")});
    StatsWindow w(profiles);
    const QStringList lines = Lines(w);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Ann                       |    12|     3|     0|");
    EXPECT_EQ(lines[1], lines[3]);  // a separator between every two players
    EXPECT_TRUE(lines[1].startsWith("-----") && lines[4].startsWith("Computer "));
    EXPECT_TRUE(QFontInfo(w.List1()->font()).fixedPitch());
}

// Guards against a window that stays open when clicked or left.
TEST_F(StatsWindowTest, ClosesOnAClickOfTheLabelOrLosingTheFocus) {
    StatsWindow w(profiles);
    w.show();
    QTest::mouseClick(w.Label1(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    w.show();
    QApplication::setActiveWindow(&w);
    Settle();
    ASSERT_TRUE(w.isActiveWindow());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    Settle();
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace gd::test
