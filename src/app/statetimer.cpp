// Timers driven from the game state.
#include "statetimer.h"

#include "waiting.h"

namespace gd {

StateTimer::StateTimer(const QString& name, TimerState& state, std::function<void()> tick,
                       QObject* parent)
    : QObject(parent), state_(state), tick_(std::move(tick)) {
    setObjectName(name);
    timer_.setObjectName(name);
    // A coarse timer may move its deadline by a few per cent at each look, so a countdown that
    // is kept would seem to grow; the game's timers are few and slow enough to be exact.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StateTimer::Fire);
    Sync();
}

StateTimer::~StateTimer() {
    Waits().Forget(this);
}

void StateTimer::Sync() {
    const int interval = state_.Interval / scale_;
    if (timer_.interval() != interval) timer_.setInterval(interval);
    if (state_.Enabled && !timer_.isActive()) timer_.start();
    if (!state_.Enabled && timer_.isActive()) timer_.stop();
}

void StateTimer::Fire() {
    // A held tick runs after the wait; by then the handler that waited may have stopped it.
    Waits().Tick(this, [this] {
        if (state_.Enabled) tick_();
    });
}

}  // namespace gd
