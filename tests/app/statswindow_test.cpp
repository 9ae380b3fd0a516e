// The statistics window: its lines, and the two ways it closes.
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "player_windows_support.h"
#include "statswindow.h"

namespace gd::test {
namespace {

using StatsWindowTest = PlayerWindowTest;

QStringList Lines(const StatsWindow& w) {
    QStringList lines;
    for (int i = 0; i < w.List1()->count(); ++i)
        lines << w.List1()->item(i)->text();
    return lines;
}

TEST_F(StatsWindowTest, NoProfileFileShowsNoScoresFound) {
    StatsWindow w(profiles);
    EXPECT_EQ(w.windowTitle(), "Glyphdrop - View Player Stats");
    EXPECT_EQ(Lines(w), QStringList{"No Scores Found"});
}

TEST_F(StatsWindowTest, EveryProfileWithSeparators) {
    PlayerProfile ann = NewProfile("Ann");
    ann.Won = 12;
    ann.Lost = 3;
    Store({ann, NewProfile("Computer")});
    StatsWindow w(profiles);
    EXPECT_EQ(Lines(w), (QStringList{"Ann                       |    12|     3|     0|",
                                     "--------------------------|------|------|------|",
                                     "Computer                  |     0|     0|     0|"}));
    EXPECT_TRUE(QFontInfo(w.List1()->font()).fixedPitch());
}

TEST_F(StatsWindowTest, ClickOnTheLabelCloses) {
    StatsWindow w(profiles);
    w.show();
    QTest::mouseClick(w.Label1(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(StatsWindowTest, LosingTheFocusCloses) {
    StatsWindow w(profiles);
    w.show();
    QApplication::setActiveWindow(&w);
    SettlePlayerWindows();
    ASSERT_TRUE(w.isActiveWindow());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    SettlePlayerWindows();
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace gd::test
