// The game server's HTTP layer on libmicrohttpd: event threads answer what is quick (refusals,
// polls of empty mailboxes) at once; requests that wait for the store are parked and answered by
// a pool of workers, so a commit's wait never holds up an event thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "service.h"

struct MHD_Daemon;
struct MHD_Connection;

namespace gd::server {

class Metrics;

enum class LogLevel { Error, Warn, Info };

struct HttpOptions {
    std::string address = "127.0.0.1";  // IPv4, or IPv6 without brackets
    int port = 27810;                   // 0: the system picks one
    int eventThreads = 2;
    int workers = 128;
    LogLevel logLevel = LogLevel::Warn;
    bool forwardedFor = false;   // take the client's address from X-Forwarded-For
    int perAddress = 64;         // connections one address may hold at once; 0: no limit
    int headerSeconds = 10;      // a new connection must send a request's header within this
    int idleSeconds = 120;       // and a kept-alive one its next request's header
    Metrics* metrics = nullptr;  // counts every reply, when the operator asked for metrics
};

// Runs queued tasks on a fixed set of threads.
class WorkerPool : public AnswerRunner {
  public:
    explicit WorkerPool(int threads);
    ~WorkerPool() override;  // runs what is queued, then ends
    void Submit(std::function<void()> task);
    void Run(std::function<void()> answer, std::function<void(bool durable)> deliver) override;

  private:
    void Work();
    std::mutex lock_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

class HttpServer {
  public:
    // Starts listening; throws std::runtime_error when it cannot. Requests that wait for the
    // store are answered through `runner`, or on a pool of options.workers threads.
    HttpServer(Service& service, HttpOptions options, AnswerRunner* runner = nullptr);
    ~HttpServer();

    int Port() const { return port_; }
    // Milliseconds on the monotonic clock when the last request arrived.
    std::int64_t LastRequestMs() const { return lastRequestMs_.load(); }
    // Connections open at this moment.
    int OpenConnections() const;
    // Stops accepting, lets the requests in flight finish, then closes every connection.
    void Stop();

    static std::int64_t MonotonicMs();

    // The library's calls for each request: its first line, each step, its end.
    struct Exchange;
    static void* BeginRequest(void* self, const char* uri);
    static void EndRequest(void* self, MHD_Connection* connection, void** context);
    // A connection opens or closes.
    struct Watch;
    static void Opened(void* self, MHD_Connection* connection, void** socketContext);
    static void Closed(void* self, void** socketContext);
    static int Access(void* self, MHD_Connection* connection, const char* method,
                      const char* version, std::size_t* uploadSize, void** context);

  private:
    static std::optional<std::string> Ambiguity(MHD_Connection* connection,
                                                const Exchange& exchange, const char* version);
    int Respond(MHD_Connection* connection, Exchange& exchange);
    std::string ClientAddress(MHD_Connection* connection) const;
    void LogRefusal(const Exchange& exchange, const Reply& reply) const;
    // Marks whether a connection is inside a request; outside, its next header is due by then.
    void SetInRequest(MHD_Connection* connection, bool inside, std::int64_t dueMs);
    // Closes, now and then, each connection whose header is overdue.
    void CloseOverdue();

    Service& service_;
    HttpOptions options_;
    WorkerPool workers_;
    AnswerRunner& runner_;
    MHD_Daemon* daemon_ = nullptr;
    int port_ = 0;
    std::atomic<std::int64_t> lastRequestMs_{0};
    std::atomic<int> inFlight_{0};
    std::atomic<int> parked_{0};
    std::atomic<bool> stopping_{false};

    std::mutex watchLock_;
    std::condition_variable watchWake_;
    std::unordered_set<Watch*> watches_;
    bool watching_ = true;
    std::thread overdue_;
};

}  // namespace gd::server
