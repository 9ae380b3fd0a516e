// The game server's store in one PostgreSQL database, shared by any number of server processes.
//
// Each operation is one transaction on a connection of a small pool, every statement prepared
// and parameterised. Rows locked in the database, never a lock in one process, keep the
// operations of several processes apart, so together they behave as one server.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
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
    std::vector<Message> Take(const TakeRequest& request) override;
    int RemoveIdle(std::int64_t idleSinceMs) override;
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

    const std::string url_;
    const int limit_;
    std::mutex lock_;
    std::condition_variable released_;
    std::vector<std::unique_ptr<Connection>> idle_;
    int open_ = 0;
};

}  // namespace gd::server
