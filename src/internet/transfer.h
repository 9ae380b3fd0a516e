// The HTTP transfer control: one blocking GET at a time, with a named proxy, a time-out in
// seconds and a cap on the reply's size. Failures are trapped as a number and a description.
#pragma once

#include <cstddef>
#include <string>

namespace gd {

constexpr int kDefaultAccess = 0;
constexpr int kNamedProxy = 2;
constexpr int kDefaultRequestTimeout = 60;
constexpr std::size_t kDefaultMaxReplyBytes = 5 * 1024 * 1024;

enum class TransferData { Text, Bytes };

// The answer of one request: the body, or the trapped error that replaced it.
struct TransferReply {
    bool ok = false;
    std::string body;  // empty when the request failed
    int errorNumber = 0;
    std::string errorDescription;
};

class HttpTransfer {
  public:
    virtual ~HttpTransfer() = default;
    // GET `url`; the whole body, as text or as bytes (both unchanged), or a trapped error.
    virtual TransferReply OpenURL(const std::string& url,
                                  TransferData type = TransferData::Text) = 0;
    // True while a request of this control is in progress.
    virtual bool StillExecuting() const = 0;

    int AccessType = kDefaultAccess;  // kNamedProxy: requests go through `Proxy`
    std::string Proxy;
    int RequestTimeout = kDefaultRequestTimeout;  // seconds; 0 waits without limit
    std::size_t MaxReplyBytes = kDefaultMaxReplyBytes;
};

// Named-proxy access through `address` when `useProxy`, default (direct) access otherwise.
void ApplyProxySetting(HttpTransfer& inet, bool useProxy, const std::string& address);

}  // namespace gd
