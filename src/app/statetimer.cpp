// Timers driven from the game state.
#include "statetimer.h"

namespace gd {

StateTimer::StateTimer(const QString& name, TimerState& state, TickGuard& guard,
                       std::function<void()> tick, QObject* parent)
    : QObject(parent), state_(state), guard_(guard), tick_(std::move(tick)) {
    setObjectName(name);
    timer_.setObjectName(name);
    connect(&timer_, &QTimer::timeout, this, &StateTimer::Fire);
    Sync();
}

void StateTimer::Sync() {
    const int interval = state_.Interval / scale_;
    if (timer_.interval() != interval) timer_.setInterval(interval);
    if (state_.Enabled && !timer_.isActive()) timer_.start();
    if (!state_.Enabled && timer_.isActive()) timer_.stop();
}

void StateTimer::Fire() {
    if (guard_.busy || !state_.Enabled) return;
    guard_.busy = true;
    tick_();
    guard_.busy = false;
}

}  // namespace gd
