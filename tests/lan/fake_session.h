// An in-process session pair for the LAN controller's tests: one host, one joiner, messages
// handed across in memory, and system messages put in by the test.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "session.h"

namespace gd::test {

struct FakeHub {
    std::vector<std::string> providers{"Local Network (TCP/IP)", "This Computer (Loopback)"};
    std::vector<int> initialised;  // provider rows a connection was made for
    ListFailure listFailure = ListFailure::None;
    std::string hostName;  // empty until someone hosts
    std::string joinerName;
    std::deque<LanMessage> inbox[3];   // by side: 1 host, 2 joiner
    std::vector<std::string> sent[3];  // texts each side sent
    int closes = 0;
};

class FakeConnection : public LanConnection {
  public:
    explicit FakeConnection(FakeHub& hub) : hub_(hub) {}
    SessionListing ListSessions(int) override {
        if (hub_.listFailure != ListFailure::None) return {hub_.listFailure, {}};
        if (hub_.hostName.empty() || !hub_.joinerName.empty()) return {ListFailure::NoSessions, {}};
        return {ListFailure::None, {{hub_.hostName, 77}}};
    }
    SessionListing WatchSessions() override { return ListSessions(0); }
    OpenResult Host(const std::string& name) override {
        hub_.hostName = name;
        side_ = 1;
        return {true, name, ""};
    }
    OpenResult Join(std::uint32_t instance, const std::string& name) override {
        if (instance != 77) return {false, "", "gone"};
        hub_.joinerName = name;
        side_ = 2;
        hub_.inbox[1].push_back({0, "", kSysPlayerJoined, name});
        return {true, hub_.hostName, ""};
    }
    bool Send(int from, int to, const std::string& text) override {
        hub_.sent[from].push_back(text);
        hub_.inbox[to].push_back({from, text, 0, ""});
        return true;
    }
    std::optional<LanMessage> Receive() override {
        auto& in = hub_.inbox[side_];
        if (side_ == 0 || in.empty()) return std::nullopt;
        LanMessage m = in.front();
        in.pop_front();
        return m;
    }
    void Close() override { ++hub_.closes; }

  private:
    FakeHub& hub_;
    int side_ = 0;  // 1 once hosting, 2 once joined
};

class FakeRoot : public LanRoot {
  public:
    explicit FakeRoot(FakeHub& hub) : hub_(hub) {}
    std::vector<std::string> ListProviders() override { return hub_.providers; }
    std::unique_ptr<LanConnection> InitializeConnection(int index) override {
        hub_.initialised.push_back(index);
        return std::make_unique<FakeConnection>(hub_);
    }

  private:
    FakeHub& hub_;
};

}  // namespace gd::test
