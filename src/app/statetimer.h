// A real timer driven from the state's record of it (`TimerState`), ticking by the wait rule:
// never inside a wait or inside another timer's tick, and once after the wait when it came due.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "state.h"

namespace gd {

class StateTimer : public QObject {
    Q_OBJECT
  public:
    // `state` must outlive the timer; `tick` runs the handler and then shows the state.
    StateTimer(const QString& name, TimerState& state, std::function<void()> tick,
               QObject* parent = nullptr);
    ~StateTimer() override;

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
    int remainingTime() const { return timer_.remainingTime(); }
    // The tick as the timer runs it: by the wait rule, and only while the state enables it.
    void Fire();

  private:
    QTimer timer_;
    TimerState& state_;
    std::function<void()> tick_;
    int scale_ = 1;
};

}  // namespace gd
