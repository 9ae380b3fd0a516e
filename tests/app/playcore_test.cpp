// The real timers driven from the state, and what "Change User" keeps: guards against a poll
// that never comes while the player clicks around, and a new login forgetting the program-wide
// game values.
#include <QThread>

#include "app_fixture.h"
#include "statetimer.h"

namespace gd::test {
namespace {

// Every handler ends by showing the state, which syncs the timers again: that must not start
// their countdown afresh, or a poll never comes while the player keeps clicking.
TEST(StateTimer, SyncingAnUnchangedStateKeepsTheCountdown) {
    QtApp();
    TimerState poll{true, 1000};
    StateTimer timer("inettimer", poll, [] {});
    QThread::msleep(30);
    const int before = timer.remainingTime();
    timer.Sync();
    EXPECT_TRUE(timer.isActive());
    EXPECT_LE(timer.remainingTime(), before);
}

TEST(ChangeUser, KeepsTheProgramWideValuesAndLoadsTheMainWindowAnew) {
    AppHarness h;
    h.Start();
    h.StartPlay();
    h.s().LastStarter = "Bob";
    h.s().InternetState = 0;
    SetHole(h.s(), 3, "q", Picture::Blue);
    h.s().lantimer.Enabled = true;
    h.app->ChangeUser();
    Settle();
    EXPECT_EQ(h.app->mainWindow(), nullptr);
    EXPECT_EQ(h.s().LastStarter, "Bob");
    EXPECT_FALSE(h.app->lantimer().isActive());
    h.app->LogOn("Ann");
    EXPECT_TRUE(IsHoleEmpty(h.s(), 3));
    EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
    EXPECT_EQ(h.s().inettimer.Interval, 10000);
}

}  // namespace
}  // namespace gd::test
