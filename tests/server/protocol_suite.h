// The contract suite every store passes: the program's requests and readers against the
// server's rules over real HTTP on loopback (from 127.0.0.x addresses), with a clock and game
// numbers the test sets. A
// store joins the suite with one INSTANTIATE_TEST_SUITE_P(Name, ServerProtocol,
// testing::Values(StoreMaker{...})).
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "http_server.h"
#include "protocol.h"
#include "service.h"
#include "store.h"

namespace gd::server::test {

struct StoreMaker {
    std::string name;
    std::function<std::shared_ptr<Store>()> make;  // a fresh, empty store
};
inline void PrintTo(const StoreMaker& maker, std::ostream* out) {
    *out << maker.name;
}

class FakeClock : public WallClock {
  public:
    std::int64_t now = 1'800'000'000'000;
    std::int64_t NowMs() override { return now; }
};

class CountingNumbers : public GameNumbers {
  public:
    int next = 1;
    std::string Next() override { return "G" + std::to_string(next++); }
};

class ServerProtocol : public testing::TestWithParam<StoreMaker> {
  protected:
    void SetUp() override { Start(ServiceOptions{}); }
    void Start(ServiceOptions options) {
        options.ratePerSecond = 0;
        options.roomSize = 3;
        http.reset();
        service.reset();
        store = GetParam().make();
        service = std::make_unique<Service>(*store, clock, numbers, options);
        HttpOptions where;
        where.port = 0;
        where.workers = 8;
        where.logLevel = LogLevel::Error;
        http =
            std::make_unique<HttpServer>(*service, where, dynamic_cast<AnswerRunner*>(store.get()));
    }

    // The server's address for the program's URL builders.
    std::string Base() const;
    // The body of the reply to GET `url` from `address`.
    std::string Get(const std::string& url, const std::string& address = "127.0.0.1");
    // Enters the waiting room and returns the game number.
    std::string Enter(const std::string& name = "Ann", bool isPrivate = false,
                      const std::string& address = "127.0.0.1");
    bool Join(const std::string& game, const std::string& password,
              const std::string& address = "127.0.0.1");
    // Enters, then joins from `joiner`; returns the game number.
    std::string StartGame(const std::string& joiner = "127.0.0.1");
    // Whether the post was stored.
    bool Post(const std::string& key, gd::PostKind kind, const std::string& text = "",
              const std::string& address = "127.0.0.1");
    wire::MailboxReply Read(const std::string& key, const std::string& address = "127.0.0.1",
                            std::optional<std::int64_t> confirm = std::nullopt);
    std::vector<wire::WaitingEntry> Waiting();

    std::shared_ptr<Store> store;
    FakeClock clock;
    CountingNumbers numbers;
    std::unique_ptr<Service> service;
    std::unique_ptr<HttpServer> http;
    std::atomic<int> lastStatus{0};  // of the latest Get, from whichever thread
};

}  // namespace gd::server::test
