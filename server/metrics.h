// The operator's view of a running server: counters the HTTP layer and the store add to, served
// in Prometheus' text format on an address of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store.h"

struct MHD_Daemon;

namespace gd::server {

// What is read at the moment of a scrape rather than counted.
struct MetricsGauges {
    int connections = 0;            // open HTTP connections
    std::optional<long> mailboxes;  // nothing when the store could not say
    std::optional<long> waitingPlayers;
};

class Metrics : public CommitObserver {
  public:
    // One answered request: its raw target (for the script), its status and its reply's text
    // (for the reason of a refusal).
    void CountReply(const std::string& target, int status, const std::string& body);
    void Committed(double seconds, bool durable) override;

    // Everything in Prometheus' text exposition format.
    std::string Text(const MetricsGauges& gauges) const;

  private:
    mutable std::mutex lock_;
    std::map<std::pair<std::string, int>, std::uint64_t> requests_;  // (script, status)
    std::map<std::string, std::uint64_t> refusals_;                  // reason
    std::uint64_t commits_ = 0, failedCommits_ = 0;
    std::vector<std::uint64_t> commitBuckets_;  // one per bound of kCommitBounds
    double commitSeconds_ = 0;
};

// Serves GET /metrics on its own address, apart from the players' port.
class MetricsServer {
  public:
    // Starts listening on `address` (IPv4, or IPv6 without brackets) and `port` (0: the system
    // picks); throws std::runtime_error when it cannot.
    MetricsServer(const Metrics& metrics, std::function<MetricsGauges()> gauges,
                  const std::string& address, int port);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    int Port() const { return port_; }
    // The page a scrape gets: the metrics, or nothing for any other path.
    std::optional<std::string> Page(const std::string& path) const;

  private:
    const Metrics& metrics_;
    std::function<MetricsGauges()> gauges_;
    MHD_Daemon* daemon_ = nullptr;
    int port_ = 0;
};

}  // namespace gd::server
