// The transfer control as the windows use it: a request runs on a worker thread while the
// windows keep painting, and no user input reaches the program until its answer is in.
#pragma once

#include <functional>

#include "statetimer.h"
#include "transfer.h"

namespace gd {

class WaitingTransfer : public HttpTransfer {
  public:
    // `beforeWait` shows the state (the light, a status line) before the request blocks; no
    // timer's tick runs while `guard` is held.
    WaitingTransfer(HttpTransfer& inner, TickGuard& guard, std::function<void()> beforeWait);
    TransferReply OpenURL(const std::string& url, TransferData type = TransferData::Text) override;
    bool StillExecuting() const override { return waiting_ || inner_.StillExecuting(); }
    // The control that carries the requests.
    HttpTransfer& inner() { return inner_; }
    // True while any request of the program waits for its answer.
    static bool Waiting();

  private:
    HttpTransfer& inner_;
    TickGuard& guard_;
    std::function<void()> beforeWait_;
    bool waiting_ = false;
};

}  // namespace gd
