// Holding timer ticks while a handler waits.
#include "wait_rule.h"

#include <algorithm>
#include <cassert>

namespace gd {

WaitRule::WaitRule(std::function<void(Job)> post) : post_(std::move(post)) {}

void WaitRule::Enter() {
    ++depth_;
}

void WaitRule::Leave() {
    assert(depth_ > 0);
    if (--depth_ == 0) PostHeld();
}

void WaitRule::Tick(const void* timer, Job tick) {
    if (depth_ > 0 || ticking_) {
        const bool alreadyHeld = std::any_of(held_.begin(), held_.end(),
                                             [timer](const auto& h) { return h.first == timer; });
        if (!alreadyHeld) held_.emplace_back(timer, std::move(tick));
        return;
    }
    ticking_ = true;
    tick();
    ticking_ = false;
    PostHeld();
}

void WaitRule::Forget(const void* timer) {
    held_.erase(std::remove_if(held_.begin(), held_.end(),
                               [timer](const auto& h) { return h.first == timer; }),
                held_.end());
}

void WaitRule::PostHeld() {
    // One job carries every held tick; it picks them up when it runs, so a timer forgotten
    // meanwhile is not ticked.
    if (held_.empty() || posted_) return;
    posted_ = true;
    post_([this] { RunHeld(); });
}

void WaitRule::RunHeld() {
    posted_ = false;
    auto due = std::move(held_);
    held_.clear();
    // Each goes through the rule again: a wait begun since holds it once more.
    for (auto& [timer, tick] : due)
        Tick(timer, std::move(tick));
}

}  // namespace gd
