// The rule every handler that waits obeys (a message box, an input box, a pause, a request, the
// LAN layer's waits), without Qt: no timer's tick runs inside a wait or inside another tick; a
// tick that came due meanwhile is held and runs once, from the event loop, after the wait.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace gd {

class WaitRule {
  public:
    using Job = std::function<void()>;
    // `post` hands a job to the event loop, which runs it once the handler that waited returns.
    explicit WaitRule(std::function<void(Job)> post);

    // A wait begins or ends; waits nest.
    void Enter();
    void Leave();
    bool Waiting() const { return depth_ > 0; }

    // A tick of `timer`: runs now, unless a wait or another tick runs. Then it is held, once
    // however often it comes due, and is posted when the outermost wait or the tick ends.
    void Tick(const void* timer, Job tick);
    // `timer` is gone: a tick it left held is dropped.
    void Forget(const void* timer);

  private:
    void PostHeld();
    void RunHeld();

    std::function<void(Job)> post_;
    int depth_ = 0;
    bool ticking_ = false;
    bool posted_ = false;
    std::vector<std::pair<const void*, Job>> held_;
};

}  // namespace gd
