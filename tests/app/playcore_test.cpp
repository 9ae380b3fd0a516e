// The real timers driven from the state, and what "Change User" keeps: guards against a poll
// that never comes while the player clicks around, ticks running inside each other, and a new
// login forgetting the program-wide game values.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "app_fixture.h"
#include "statetimer.h"

namespace gd::test {
namespace {

// Runs the event loop until `done` or the limit passes.
void RunUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(StateTimer, PollFiresOnTimeWhileOtherHandlersRunEvery50Ms) {
    QtApp();
    TickGuard guard;
    TimerState poll{true, 200};
    QElapsedTimer clock;
    qint64 firedAt = -1;
    StateTimer timer("inettimer", poll, guard, [&] {
        if (firedAt < 0) firedAt = clock.elapsed();
    });
    // Every other handler ends by showing the state, which syncs the timer again.
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [&] {
        poll.Enabled = true;
        poll.Interval = 200;
        timer.Sync();
    });
    clock.start();
    busy.start(50);
    RunUntil([&] { return firedAt >= 0; }, 1000);
    // A coarse timer may fire up to 5% early; a loaded machine may make it late.
    EXPECT_GE(firedAt, 180);
    EXPECT_LE(firedAt, 400);
}

TEST(StateTimer, TicksOfDifferentTimersNeverNest) {
    QtApp();
    TickGuard guard;
    TimerState a{true, 10}, b{true, 10};
    bool inA = false, bInsideA = false;
    int aTicks = 0, bTicks = 0;
    StateTimer timerA("a", a, guard, [&] {
        ++aTicks;
        inA = true;
        // A message box inside a tick keeps events flowing.
        QEventLoop wait;
        QTimer::singleShot(60, &wait, &QEventLoop::quit);
        wait.exec();
        inA = false;
        a.Enabled = false;
    });
    StateTimer timerB("b", b, guard, [&] {
        ++bTicks;
        if (inA) bInsideA = true;
    });
    RunUntil([&] { return aTicks > 0 && bTicks > 0 && !inA; }, 1000);
    EXPECT_FALSE(bInsideA);
    EXPECT_GT(bTicks, 0);
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
