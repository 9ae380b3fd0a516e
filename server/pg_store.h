// The game server's store in one PostgreSQL database, shared by any number of server processes.
//
// Each operation is one transaction on a connection of a small pool, every statement prepared
// and parameterised. Rows locked in the database, never a lock in one process, keep the
// operations of several processes apart, so together they behave as one server.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "store.h"

namespace gd::server {

class PgStore : public Store {
  public:
    // Connects to `url` ("postgresql://..."), creates the tables when missing; throws
    // std::runtime_error with PostgreSQL's message when it cannot. At most `connections` are
    // open at once; more operations at a time wait for one.
    explicit PgStore(const std::string& url, int connections = 16);
    ~PgStore() override;

    EnterOutcome Enter(const WaitingEntry& entry, int roomSize, std::int64_t nowMs) override;
    std::vector<WaitingEntry> ListWaiting(std::int64_t nowMs) override;
    JoinOutcome Join(const std::string& game, const std::string& password,
                     const std::string& address, std::int64_t nowMs) override;
    bool Leave(const std::string& game, const std::string& address, bool bound) override;
    PostOutcome Post(const PostRequest& request) override;
    Batch Take(const TakeRequest& request) override;
    int RemoveIdle(std::int64_t idleSinceMs) override;
    // Answered from memory: a mailbox is marked when this process starts or reconnects and finds
    // messages in it, and whenever any process commits a post into it (NOTIFY); a read through
    // this process that finds it empty unmarks it, unless a post was notified meanwhile. While
    // the listening session is down, every mailbox may have messages.
    bool MayHaveMessages(const std::string& game, Side reader) override;
    std::optional<long> CountGames() override;

    class Connection;

  private:
    // A connection of the pool for the length of one operation, which is one transaction: its
    // time is the commit's latency, and an exception leaving it a failed commit.
    class Lease {
      public:
        Lease(PgStore& store, std::unique_ptr<Connection> c);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() const { return connection_.get(); }
        Connection& operator*() const { return *connection_; }

      private:
        PgStore& store_;
        std::unique_ptr<Connection> connection_;
        std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
        int exceptions_ = std::uncaught_exceptions();
    };

    Lease Acquire();
    void Release(std::unique_ptr<Connection> c);

    // The mailboxes that may hold messages, each with how many posts into it were notified.
    class Marks {
      public:
        bool MayHave(const std::string& mailbox) const;
        std::uint64_t Notified(const std::string& mailbox) const;
        void Mark(const std::string& mailbox);
        // Unmarks a mailbox found empty, unless a post into it was notified since `notified`.
        void Unmark(const std::string& mailbox, std::uint64_t notified);
        void Reset(const std::vector<std::string>& nonEmpty);
        void SetListening(bool listening);

      private:
        mutable std::mutex lock_;
        std::unordered_map<std::string, std::uint64_t> marked_;
        bool listening_ = false;
    };
    void Listen();

    const std::string url_;
    const int limit_;
    std::mutex lock_;
    std::condition_variable released_;
    std::vector<std::unique_ptr<Connection>> idle_;
    int open_ = 0;

    Marks marks_;
    std::atomic<bool> stopping_{false};
    std::thread listener_;
};

}  // namespace gd::server
