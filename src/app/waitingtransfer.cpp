// Waiting for a request with the windows painting and user input dropped.
#include "waitingtransfer.h"

#include <future>

#include "waiting.h"

namespace gd {

WaitingTransfer::WaitingTransfer(HttpTransfer& inner, std::function<void()> beforeWait)
    : inner_(inner), beforeWait_(std::move(beforeWait)) {}

TransferReply WaitingTransfer::OpenURL(const std::string& url, TransferData type) {
    inner_.AccessType = AccessType;
    inner_.Proxy = Proxy;
    inner_.RequestTimeout = RequestTimeout;
    inner_.MaxReplyBytes = MaxReplyBytes;
    if (beforeWait_) beforeWait_();
    waiting_ = true;
    auto answer = std::async(std::launch::async, [&] { return inner_.OpenURL(url, type); });
    WaitWhile(
        [&] { return answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready; });
    waiting_ = false;
    return answer.get();
}

}  // namespace gd
