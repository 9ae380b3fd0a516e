// The transfer control as the windows use it: a request runs on a worker thread while the
// program waits for it as every handler waits, the windows painting and the input dropped.
#pragma once

#include <functional>

#include "transfer.h"

namespace gd {

class WaitingTransfer : public HttpTransfer {
  public:
    // `beforeWait` shows the state (the light, a status line) before the request blocks.
    WaitingTransfer(HttpTransfer& inner, std::function<void()> beforeWait);
    TransferReply OpenURL(const std::string& url, TransferData type = TransferData::Text) override;
    bool StillExecuting() const override { return waiting_ || inner_.StillExecuting(); }
    // The control that carries the requests.
    HttpTransfer& inner() { return inner_; }

  private:
    HttpTransfer& inner_;
    std::function<void()> beforeWait_;
    bool waiting_ = false;
};

}  // namespace gd
