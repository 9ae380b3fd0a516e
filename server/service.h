// The game server's answer to each request: checks it, applies the waiting-room and mailbox rules
// through the store, and writes the reply. No sockets here; the HTTP layer calls it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "server_replies.h"
#include "store.h"

namespace gd::server {

struct ServiceOptions {
    int roomSize = 100;      // players waiting at most
    int idleSeconds = 3600;  // a game without a post for this long is removed
    bool bound = true;       // mailboxes are bound to the players' addresses
    std::string latestVersion = "1.1";
    double ratePerSecond = 20;  // requests an address may make on average; 0 turns limits off
    double rateBurst = 200;     // and at once
    int maxPending = 64;        // messages waiting in one mailbox
    std::size_t maxMessageBytes = 2048;
    std::size_t maxRequestLine = 4096;
    int maxWaitSeconds = 3600;
};

// Wall-clock time, shared by every server process of one store.
class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual std::int64_t NowMs() = 0;
};

// Draws game numbers that cannot be guessed from earlier ones.
class GameNumbers {
  public:
    virtual ~GameNumbers() = default;
    virtual std::string Next() = 0;
};

class SystemWallClock : public WallClock {
  public:
    std::int64_t NowMs() override;
};

// Eleven letters and digits from the system's random source.
class RandomGameNumbers : public GameNumbers {
  public:
    std::string Next() override;
};

struct Reply {
    int status = 200;
    std::string body;
};

// Runs the answers that wait for the store. A pool of threads runs each on its own; a store
// that commits in groups runs them inside its next transaction instead, sparing a thread switch.
class AnswerRunner {
  public:
    virtual ~AnswerRunner() = default;
    // Runs `answer`, then `deliver(true)` once what it stored is durable, or `deliver(false)`
    // when that failed.
    virtual void Run(std::function<void()> answer, std::function<void(bool durable)> deliver) = 0;
};

// A request that passed the first checks, waiting for the store.
struct Request {
    Script script = Script::ReadWait;
    std::vector<std::string> fields;
};

// A token bucket per address.
class RateLimiter {
  public:
    RateLimiter(double perSecond, double burst) : perSecond_(perSecond), burst_(burst) {}
    bool Allow(const std::string& address, std::int64_t nowMs);

  private:
    struct Bucket {
        double tokens = 0;
        std::int64_t atMs = 0;
    };
    struct Shard {
        std::mutex lock;
        std::unordered_map<std::string, Bucket> buckets;
    };
    double perSecond_, burst_;
    Shard shards_[16];
};

class Service {
  public:
    Service(Store& store, WallClock& clock, GameNumbers& numbers, ServiceOptions options);

    // The first look at a request, cheap enough for the HTTP thread: the reply when there is one
    // at once (a refusal, the update check, the poll of an empty mailbox), else nothing and
    // `request` is what Answer takes.
    std::optional<Reply> Screen(const std::string& method, const std::string& target,
                                const std::string& address, Request& request);

    // The reply to a screened request; may wait for the store.
    Reply Answer(const Request& request, const std::string& address);

    // Screen and Answer in one.
    Reply Handle(const std::string& method, const std::string& target, const std::string& address);

    // Removes the games idle longer than the configured time; returns how many went.
    int RemoveIdleGames();

    const ServiceOptions& Options() const { return options_; }

  private:
    Reply ReadWaitingRoom();
    Reply EnterWaitingRoom(const std::vector<std::string>& f, const std::string& address);
    Reply JoinGame(const std::vector<std::string>& f, const std::string& address);
    Reply ExitWaitingRoom(const std::vector<std::string>& f, const std::string& address);
    Reply ReadMailbox(const std::vector<std::string>& f, const std::string& address);
    Reply PostMessage(const std::vector<std::string>& f, const std::string& address);
    std::optional<std::string> RefusalOfPost(const Message& message) const;

    Store& store_;
    WallClock& clock_;
    GameNumbers& numbers_;
    ServiceOptions options_;
    std::unique_ptr<RateLimiter> limiter_;
};

}  // namespace gd::server
