// The server's counters and their Prometheus text endpoint on libmicrohttpd.
#include "metrics.h"

#include <microhttpd.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "server_replies.h"

namespace gd::server {

namespace {

// Upper bounds of the commit-latency histogram's buckets, in seconds: an fsync takes from a
// fraction of a millisecond (a cache that keeps its word) to tens of milliseconds (a disk).
constexpr double kCommitBounds[] = {0.0005, 0.001, 0.0025, 0.005, 0.01, 0.025,
                                    0.05,   0.1,   0.25,   0.5,   1,    2.5};

// The script a target names ("getdata.mv"), or "none".
std::string ScriptLabel(const std::string& target) {
    const std::string path = target.substr(0, target.find('?'));
    if (!ScriptOf(path)) return "none";
    return path.substr(path.rfind('/') + 1);
}

// A refusal's reason: its text up to the first pause, so a store's error message does not make
// a label of its own for every failure.
std::string ReasonLabel(const std::string& body) {
    std::string reason = body.substr(0, body.find_first_of(";:,\n"));
    return reason.substr(0, 48);
}

// A label value as the text format wants it: backslash, double quote and line feed escaped.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out + "\"";
}

void Describe(std::string& out, const char* name, const char* type, const char* help) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

}  // namespace

void Metrics::CountReply(const std::string& target, int status, const std::string& body) {
    const std::string script = ScriptLabel(target);
    std::lock_guard<std::mutex> hold(lock_);
    ++requests_[{script, status}];
    if (status >= 400) ++refusals_[ReasonLabel(body)];
}

void Metrics::Committed(double seconds, bool durable) {
    std::lock_guard<std::mutex> hold(lock_);
    if (commitBuckets_.empty()) commitBuckets_.assign(std::size(kCommitBounds), 0);
    ++commits_;
    if (!durable) ++failedCommits_;
    commitSeconds_ += seconds;
    for (std::size_t i = 0; i < std::size(kCommitBounds); ++i)
        if (seconds <= kCommitBounds[i]) ++commitBuckets_[i];
}

std::string Metrics::Text(const MetricsGauges& gauges) const {
    std::lock_guard<std::mutex> hold(lock_);
    std::string out;
    Describe(out, "glyphdrop_requests_total", "counter",
             "Requests answered, by script and status.");
    for (const auto& [key, count] : requests_)
        out += "glyphdrop_requests_total{script=" + Quoted(key.first) + ",status=\"" +
               std::to_string(key.second) + "\"} " + std::to_string(count) + "\n";
    Describe(out, "glyphdrop_refusals_total", "counter",
             "Requests refused (status 400 and up), by reason.");
    for (const auto& [reason, count] : refusals_)
        out += "glyphdrop_refusals_total{reason=" + Quoted(reason) + "} " + std::to_string(count) +
               "\n";
    Describe(out, "glyphdrop_connections", "gauge", "Open HTTP connections of players.");
    out += "glyphdrop_connections " + std::to_string(gauges.connections) + "\n";
    Describe(out, "glyphdrop_store_commits_total", "counter", "Transactions the store committed.");
    out += "glyphdrop_store_commits_total " + std::to_string(commits_) + "\n";
    Describe(out, "glyphdrop_store_commit_failures_total", "counter",
             "Transactions the store failed to commit.");
    out += "glyphdrop_store_commit_failures_total " + std::to_string(failedCommits_) + "\n";
    Describe(out, "glyphdrop_store_commit_seconds", "histogram",
             "Time from a store transaction's start to its commit.");
    for (std::size_t i = 0; i < std::size(kCommitBounds); ++i)
        out += "glyphdrop_store_commit_seconds_bucket{le=\"" + Number(kCommitBounds[i]) + "\"} " +
               std::to_string(commitBuckets_.empty() ? 0 : commitBuckets_[i]) + "\n";
    out += "glyphdrop_store_commit_seconds_bucket{le=\"+Inf\"} " + std::to_string(commits_) + "\n";
    out += "glyphdrop_store_commit_seconds_sum " + Number(commitSeconds_) + "\n";
    out += "glyphdrop_store_commit_seconds_count " + std::to_string(commits_) + "\n";
    if (gauges.mailboxes) {
        Describe(out, "glyphdrop_mailboxes", "gauge", "Mailboxes of the games in the store.");
        out += "glyphdrop_mailboxes " + std::to_string(*gauges.mailboxes) + "\n";
    }
    if (gauges.waitingPlayers) {
        Describe(out, "glyphdrop_waiting_players", "gauge", "Players in the waiting room.");
        out += "glyphdrop_waiting_players " + std::to_string(*gauges.waitingPlayers) + "\n";
    }
    return out;
}

namespace {

MHD_Result AnswerScrape(void* self, MHD_Connection* connection, const char* url, const char* method,
                        const char*, const char*, std::size_t*, void**) {
    const auto* server = static_cast<const MetricsServer*>(self);
    std::optional<std::string> page;
    if (std::strcmp(method, "GET") == 0) page = server->Page(url ? url : "");
    const std::string body = page ? *page : std::string("Only GET /metrics is served\n");
    MHD_Response* response = MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                            page ? "text/plain; version=0.0.4; charset=utf-8" : "text/plain");
    const MHD_Result queued = MHD_queue_response(connection, page ? 200 : 404, response);
    MHD_destroy_response(response);
    return queued;
}

}  // namespace

MetricsServer::MetricsServer(const Metrics& metrics, std::function<MetricsGauges()> gauges,
                             const std::string& address, int port)
    : metrics_(metrics), gauges_(std::move(gauges)) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        throw std::runtime_error("--metrics: not an IP address: " + address);
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> bound(found, &freeaddrinfo);
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_POLL | MHD_USE_ERROR_LOG;
    if (found->ai_family == AF_INET6) flags |= MHD_USE_IPv6;
    daemon_ =
        MHD_start_daemon(flags, static_cast<std::uint16_t>(port), nullptr, nullptr, &AnswerScrape,
                         this, MHD_OPTION_SOCK_ADDR, found->ai_addr, MHD_OPTION_CONNECTION_LIMIT,
                         16u, MHD_OPTION_CONNECTION_TIMEOUT, 10u, MHD_OPTION_END);
    if (!daemon_)
        throw std::runtime_error("--metrics: cannot listen on " + address + ":" +
                                 std::to_string(port));
    const auto* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info ? info->port : port;
}

MetricsServer::~MetricsServer() {
    MHD_stop_daemon(daemon_);
}

std::optional<std::string> MetricsServer::Page(const std::string& path) const {
    if (path != "/metrics") return std::nullopt;
    return metrics_.Text(gauges_());
}

}  // namespace gd::server
