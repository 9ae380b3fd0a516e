// Blocking GETs through libcurl: only http and https, a few redirects, a proxy when named, the
// request's time-out and a reply cap enforced while the body arrives.
#include "curl_transfer.h"

#include <curl/curl.h>

#include <memory>

#include "text.h"

namespace gd {
namespace {

// Our own number for a reply cut off at the cap, beside curl's error numbers.
constexpr int kReplyTooLarge = 1000;

struct Receiver {
    std::string body;
    std::size_t limit;
    bool overflow = false;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* user) {
    auto* r = static_cast<Receiver*>(user);
    const std::size_t n = size * count;
    if (r->body.size() + n > r->limit) {
        r->overflow = true;
        return 0;  // makes curl stop with a write error
    }
    r->body.append(data, n);
    return n;
}

void InitOnce() {
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

TransferReply Trapped(int number, std::string description) {
    TransferReply reply;
    reply.errorNumber = number;
    reply.errorDescription = std::move(description);
    return reply;
}

}  // namespace

CurlTransfer::CurlTransfer() {
    InitOnce();
}

TransferReply CurlTransfer::OpenURL(const std::string& url, TransferData /*type*/) {
    // Text and bytes are the same here: bodies are single-byte texts kept unchanged.
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return Trapped(CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT));
    CURL* h = curl.get();
    Receiver receiver{{}, MaxReplyBytes};
    char errorText[CURL_ERROR_SIZE] = {0};
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    const std::string userAgent = "Glyphdrop/" + kProgramVersion;
    curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_TIMEOUT,
                     static_cast<long>(RequestTimeout < 0 ? 0 : RequestTimeout));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxReplyBytes));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &receiver);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    // Default access goes direct: an empty proxy also keeps curl from reading proxy variables.
    const std::string proxy = AccessType == kNamedProxy ? Trim(Proxy) : "";
    curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(h, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
    curl_easy_setopt(h, CURLOPT_PROXYPORT, 80L);

    executing_ = true;
    const CURLcode code = curl_easy_perform(h);
    executing_ = false;

    if (receiver.overflow || code == CURLE_FILESIZE_EXCEEDED)
        return Trapped(kReplyTooLarge,
                       "Reply larger than " + std::to_string(MaxReplyBytes) + " bytes");
    if (code != CURLE_OK)
        return Trapped(code, errorText[0] != '\0' ? errorText : curl_easy_strerror(code));
    TransferReply reply;
    reply.ok = true;
    reply.body = std::move(receiver.body);
    return reply;
}

}  // namespace gd
