// Waiting for a request with the windows painting and user input held back.
#include "waitingtransfer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <future>

#include "nestedwait.h"

namespace gd {
namespace {

int waitingRequests = 0;

}  // namespace

WaitingTransfer::WaitingTransfer(HttpTransfer& inner, TickGuard& guard,
                                 std::function<void()> beforeWait)
    : inner_(inner), guard_(guard), beforeWait_(std::move(beforeWait)) {}

bool WaitingTransfer::Waiting() {
    return waitingRequests > 0;
}

TransferReply WaitingTransfer::OpenURL(const std::string& url, TransferData type) {
    inner_.AccessType = AccessType;
    inner_.Proxy = Proxy;
    inner_.RequestTimeout = RequestTimeout;
    inner_.MaxReplyBytes = MaxReplyBytes;
    if (beforeWait_) beforeWait_();
    waiting_ = true;
    ++waitingRequests;
    const NestedWait wait;
    const bool wasBusy = guard_.busy;
    guard_.busy = true;
    auto answer = std::async(std::launch::async, [&] { return inner_.OpenURL(url, type); });
    // Paint, timers of animations and window moves go on; clicks and keys wait.
    while (answer.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 15);
    guard_.busy = wasBusy;
    --waitingRequests;
    waiting_ = false;
    return answer.get();
}

}  // namespace gd
