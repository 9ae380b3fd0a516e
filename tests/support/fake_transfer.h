// A scripted HTTP transfer control: answers from a table of URLs and records every request.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "transfer.h"

namespace gd::test {

class FakeTransfer : public HttpTransfer {
  public:
    TransferReply OpenURL(const std::string& url, TransferData /*type*/) override {
        requests.push_back(url);
        const auto it = replies.find(url);
        return it != replies.end() ? it->second : TransferReply{false, "", 7, "Could not connect"};
    }
    bool StillExecuting() const override { return busy; }
    void Answer(const std::string& url, const std::string& body) {
        replies[url] = {true, body, 0, ""};
    }
    std::map<std::string, TransferReply> replies;
    std::vector<std::string> requests;
    bool busy = false;
};

}  // namespace gd::test
