// A real timer driven from the state's record of it (`TimerState`), and the guard that keeps
// the ticks of different timers from running inside each other.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "state.h"

namespace gd {

// One per program: set while any timer's tick runs. A tick that finds it set (a message box
// or a pause inside another tick keeps events flowing) is skipped; its timer fires again later.
struct TickGuard {
    bool busy = false;
};

class StateTimer : public QObject {
    Q_OBJECT
  public:
    // `state` must outlive the timer; `tick` runs the handler and then shows the state.
    StateTimer(const QString& name, TimerState& state, TickGuard& guard, std::function<void()> tick,
               QObject* parent = nullptr);

    // Makes the real timer what the state says: the interval is set only when it changed (a set
    // restarts the countdown), and an enabled timer that runs keeps its countdown.
    void Sync();
    // Test runs only: the real timer runs `scale` times faster than the state says.
    void SetTimeScale(int scale) {
        scale_ = scale;
        Sync();
    }
    bool isActive() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }
    // The tick as the timer runs it: guarded, then the state shown.
    void Fire();

  private:
    QTimer timer_;
    TimerState& state_;
    TickGuard& guard_;
    std::function<void()> tick_;
    int scale_ = 1;
};

}  // namespace gd
