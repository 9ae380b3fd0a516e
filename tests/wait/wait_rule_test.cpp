// Guards against a timer's tick running inside a wait (a message box, a request) or inside
// another tick, against a tick that came due meanwhile being lost or run more than once, and
// against a held tick running before the handler that waited has returned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wait_rule.h"

namespace gd {
namespace {

// The event loop, by hand: posted jobs run only when the test says the handler has returned.
struct Loop {
    std::vector<WaitRule::Job> posted;
    WaitRule rule{[this](WaitRule::Job job) { posted.push_back(std::move(job)); }};
    std::string log;

    void Return() {
        auto jobs = std::move(posted);
        posted.clear();
        for (auto& job : jobs)
            job();
    }
    WaitRule::Job Logs(const std::string& what) {
        return [this, what] { log += what; };
    }
};

int a, b;  // two timers

TEST(WaitRule, ATickDueDuringAWaitRunsOnceAfterTheHandlerReturns) {
    Loop loop;
    loop.rule.Tick(&a, loop.Logs("a"));
    loop.rule.Enter();
    loop.rule.Enter();  // a box shown from inside a request
    for (int i = 0; i < 3; ++i)
        loop.rule.Tick(&a, loop.Logs("A"));
    loop.rule.Tick(&b, loop.Logs("B"));
    loop.rule.Leave();
    EXPECT_TRUE(loop.posted.empty());  // the outer wait still runs
    loop.rule.Leave();
    loop.log += "|";  // the rest of the handler that waited
    EXPECT_EQ(loop.log, "a|");
    loop.Return();
    EXPECT_EQ(loop.log, "a|AB");
    loop.Return();
    EXPECT_EQ(loop.log, "a|AB");
}

TEST(WaitRule, TicksNeverNestAndOneDueInsideATickRunsAfterIt) {
    Loop loop;
    loop.rule.Tick(&a, [&] {
        loop.log += "(";
        loop.rule.Tick(&b, loop.Logs("b"));  // a pause inside the tick served events
        loop.log += ")";
    });
    EXPECT_EQ(loop.log, "()");
    loop.Return();
    EXPECT_EQ(loop.log, "()b");
}

TEST(WaitRule, AHeldTickIsHeldAgainByAWaitBegunBeforeItRuns) {
    Loop loop;
    loop.rule.Enter();
    loop.rule.Tick(&a, loop.Logs("a"));
    loop.rule.Leave();
    loop.rule.Enter();  // the handler waits once more, and its events run the posted job
    loop.Return();
    EXPECT_EQ(loop.log, "");
    loop.rule.Leave();
    loop.Return();
    EXPECT_EQ(loop.log, "a");
}

TEST(WaitRule, AForgottenTimerIsNotTicked) {
    Loop loop;
    loop.rule.Enter();
    loop.rule.Tick(&a, loop.Logs("a"));
    loop.rule.Tick(&b, loop.Logs("b"));
    loop.rule.Leave();
    loop.rule.Forget(&a);
    loop.Return();
    EXPECT_EQ(loop.log, "b");
}

}  // namespace
}  // namespace gd
