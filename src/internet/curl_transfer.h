// The HTTP transfer control on libcurl's easy interface.
#pragma once

#include <atomic>

#include "transfer.h"

namespace gd {

class CurlTransfer : public HttpTransfer {
  public:
    CurlTransfer();
    TransferReply OpenURL(const std::string& url, TransferData type = TransferData::Text) override;
    bool StillExecuting() const override { return executing_; }

  private:
    std::atomic<bool> executing_{false};
};

}  // namespace gd
