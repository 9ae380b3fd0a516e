// glyphdrop-server: the game server for internet play, from the command line.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "http_server.h"
#include "metrics.h"
#include "open_store.h"
#include "service.h"
#include "sqlite_store.h"
#include "text.h"

namespace {

using namespace gd::server;

struct Options {
    std::string listen = "127.0.0.1:27810";
    std::string db;       // default: DefaultStore()
    std::string metrics;  // ADDR:PORT of the metrics page; empty: none
    ServiceOptions service;
    HttpOptions http;
    int exitWhenIdle = 0;
};

// The store when --db names none. The system service gets its state folder from systemd
// (StateDirectory=, which may list several, the first being ours); anyone else keeps it in his
// own state folder, made private to him.
std::string DefaultStore() {
    if (const char* state = std::getenv("STATE_DIRECTORY"); state && *state) {
        const std::string folders = state;
        return folders.substr(0, folders.find(':')) + "/glyphdrop-server.db";
    }
    std::string folder;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && xdg[0] == '/')
        folder = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        folder = std::string(home) + "/.local/state";
    else
        throw std::runtime_error("no state folder for the store (HOME is not set): give --db FILE");
    folder += "/glyphdrop-server";
    std::error_code ec;
    if (std::filesystem::create_directories(folder, ec))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    if (ec)
        throw std::runtime_error("cannot make the store's folder " + folder + ": " + ec.message());
    return folder + "/glyphdrop-server.db";
}

void PrintHelp(const Options& d) {
    std::printf(
        "Usage: glyphdrop-server [OPTION]...\n"
        "The game server for Glyphdrop's internet play: waiting room and mailboxes over HTTP.\n"
        "\n"
        "  --listen ADDR:PORT       where to listen (default %s; [ADDR]:PORT for IPv6)\n"
        "  --db FILE|postgresql://...\n"
        "                           the store: a SQLite file, or a PostgreSQL database shared\n"
        "                           by several servers (default glyphdrop-server.db in\n"
        "                           $STATE_DIRECTORY, the system service's state folder, else\n"
        "                           in $XDG_STATE_HOME/glyphdrop-server, by default\n"
        "                           ~/.local/state/glyphdrop-server)\n"
        "  --room-size N            players waiting at most (default %d)\n"
        "  --idle-expiry SECONDS    remove a game without a post for this long (default %d)\n"
        "  --rate PER_SECOND        requests an address may make per second on average;\n"
        "                           0 turns rate limits off (default %g)\n"
        "  --burst N                requests an address may make at once (default %g)\n"
        "  --mailbox-size N         messages waiting in one mailbox at most (default %d)\n"
        "  --latest-version V       the version the update check calls current (default %s)\n"
        "  --log-level LEVEL        error, warn (each refused or failed request) or info\n"
        "                           (also start and stop) (default warn)\n"
        "  --no-binding             let any address read and post to a joined game's\n"
        "                           mailboxes (for players whose address changes mid-game)\n"
        "  --forwarded-for          take the player's address from X-Forwarded-For (behind a\n"
        "                           load balancer that sets it)\n"
        "  --per-address N          connections one address may hold at once; 0: no limit\n"
        "                           (default %d, and 0 with --forwarded-for)\n"
        "  --header-time SECONDS    a connection must send a request's header within this of\n"
        "                           opening (default %d)\n"
        "  --metrics ADDR:PORT      serve the operator's metrics in Prometheus' text format at\n"
        "                           /metrics on this address (default: none)\n"
        "  --exit-when-idle SECONDS end after this long without a request (default 0: never)\n"
        "  --threads N              HTTP event threads, at least 2 (default %d)\n"
        "  --workers N              threads answering requests that wait for the store\n"
        "                           (default %d)\n"
        "  --help                   show this help\n",
        d.listen.c_str(), d.service.roomSize, d.service.idleSeconds, d.service.ratePerSecond,
        d.service.rateBurst, d.service.maxPending, d.service.latestVersion.c_str(),
        d.http.perAddress, d.http.headerSeconds, d.http.eventThreads, d.http.workers);
}

int Number(const std::string& option, const std::string& text, int least) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < least || n > 1000000000)
        throw std::runtime_error(option + " needs a whole number of at least " +
                                 std::to_string(least));
    return static_cast<int>(n);
}

// "ADDR:PORT", "[IPv6]:PORT": the address without brackets, and the port.
std::pair<std::string, int> SplitAddress(const std::string& option, const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) throw std::runtime_error(option + " needs ADDR:PORT");
    std::string address = text.substr(0, colon);
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    return {address, Number(option + "'s port", text.substr(colon + 1), 0)};
}

Options Parse(int argc, char** argv) {
    Options o;
    o.service.latestVersion = gd::kProgramVersion;
    int perAddress = -1;  // not given
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help") {
            PrintHelp(o);
            std::exit(0);
        } else if (arg == "--listen") {
            o.listen = value();
        } else if (arg == "--db") {
            o.db = value();
        } else if (arg == "--room-size") {
            o.service.roomSize = Number(arg, value(), 1);
        } else if (arg == "--idle-expiry") {
            o.service.idleSeconds = Number(arg, value(), 1);
        } else if (arg == "--rate") {
            o.service.ratePerSecond = Number(arg, value(), 0);
        } else if (arg == "--burst") {
            o.service.rateBurst = Number(arg, value(), 1);
        } else if (arg == "--mailbox-size") {
            o.service.maxPending = Number(arg, value(), 1);
        } else if (arg == "--latest-version") {
            o.service.latestVersion = value();
        } else if (arg == "--log-level") {
            const std::string level = value();
            static const std::map<std::string, LogLevel> levels = {
                {"error", LogLevel::Error}, {"warn", LogLevel::Warn}, {"info", LogLevel::Info}};
            if (!levels.count(level)) throw std::runtime_error("--log-level: error, warn or info");
            o.http.logLevel = levels.at(level);
        } else if (arg == "--no-binding") {
            o.service.bound = false;
        } else if (arg == "--forwarded-for") {
            o.http.forwardedFor = true;
        } else if (arg == "--per-address") {
            perAddress = Number(arg, value(), 0);
        } else if (arg == "--header-time") {
            o.http.headerSeconds = Number(arg, value(), 1);
        } else if (arg == "--metrics") {
            o.metrics = value();
            SplitAddress(arg, o.metrics);
        } else if (arg == "--exit-when-idle") {
            o.exitWhenIdle = Number(arg, value(), 0);
        } else if (arg == "--threads") {
            o.http.eventThreads = Number(arg, value(), 2);
        } else if (arg == "--workers") {
            o.http.workers = Number(arg, value(), 1);
        } else {
            throw std::runtime_error("unknown option " + arg + " (see --help)");
        }
    }
    // Behind a balancer every connection comes from the balancer's address.
    if (perAddress >= 0)
        o.http.perAddress = perAddress;
    else if (o.http.forwardedFor)
        o.http.perAddress = 0;
    std::tie(o.http.address, o.http.port) = SplitAddress("--listen", o.listen);
    if (o.db.empty()) o.db = DefaultStore();
    return o;
}

// Many players mean many open connections.
void RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// Waits for SIGTERM or SIGINT, or for the idle time to pass; removes idle games each minute.
void WaitForTheEnd(const Options& o, HttpServer& http, Service& service, const sigset_t& stop) {
    std::int64_t lastSweep = HttpServer::MonotonicMs();
    for (;;) {
        timespec second{1, 0};
        if (sigtimedwait(&stop, nullptr, &second) > 0) return;
        const std::int64_t now = HttpServer::MonotonicMs();
        if (o.exitWhenIdle > 0 && now - http.LastRequestMs() >= 1000LL * o.exitWhenIdle) {
            if (o.http.logLevel == LogLevel::Info)
                std::fprintf(stderr, "glyphdrop-server: idle for %d s, ending\n", o.exitWhenIdle);
            return;
        }
        if (now - lastSweep >= 60000) {
            lastSweep = now;
            try {
                service.RemoveIdleGames();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "glyphdrop-server: removing idle games failed: %s\n",
                             e.what());
            }
        }
    }
}

std::string Url(const std::string& address, int port) {
    const bool v6 = address.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

// The metrics page, when the operator asked for it: the counters, and what the HTTP layer and
// the store say at each scrape. A store that cannot answer leaves its figures out.
std::unique_ptr<MetricsServer> StartMetrics(const Options& o, const Metrics& metrics,
                                            const HttpServer& http, Store& store,
                                            WallClock& clock) {
    if (o.metrics.empty()) return nullptr;
    auto gauges = [&http, &store, &clock] {
        MetricsGauges g;
        g.connections = http.OpenConnections();
        try {
            if (const auto games = store.CountGames()) g.mailboxes = 2 * *games;
            g.waitingPlayers = static_cast<long>(store.ListWaiting(clock.NowMs()).size());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "glyphdrop-server: metrics: the store failed: %s\n", e.what());
        }
        return g;
    };
    const auto [address, port] = SplitAddress("--metrics", o.metrics);
    return std::make_unique<MetricsServer>(metrics, gauges, address, port);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = Parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "glyphdrop-server: %s\n", e.what());
        return 2;
    }
    // The signals are taken by sigtimedwait on this thread; every thread started later
    // inherits the block.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    signal(SIGPIPE, SIG_IGN);
    RaiseOpenFileLimit();
    try {
        Metrics metrics;  // outlives the store, which may still commit as it closes
        const auto store = OpenStore(options.db);
        SystemWallClock clock;
        RandomGameNumbers numbers;
        Service service(*store, clock, numbers, options.service);
        if (!options.metrics.empty()) {
            store->ObserveCommits(&metrics);
            options.http.metrics = &metrics;
        }
        // A store that commits in groups answers inside its transactions.
        HttpServer http(service, options.http, dynamic_cast<AnswerRunner*>(store.get()));
        auto metricsServer = StartMetrics(options, metrics, http, *store, clock);
        std::printf("glyphdrop-server listening on %s (store %s)",
                    Url(options.http.address, http.Port()).c_str(),
                    StoreForDisplay(options.db).c_str());
        if (metricsServer)
            std::printf(", metrics on %s/metrics",
                        Url(SplitAddress("--metrics", options.metrics).first, metricsServer->Port())
                            .c_str());
        std::printf("\n");
        std::fflush(stdout);
        WaitForTheEnd(options, http, service, stop);
        metricsServer.reset();  // its scrapes ask the HTTP layer, which stops now
        http.Stop();
        if (options.http.logLevel == LogLevel::Info) {
            std::fprintf(stderr, "glyphdrop-server: stopped, closing the store\n");
            if (const auto* sqlite = dynamic_cast<const SqliteStore*>(store.get())) {
                const auto [commits, operations] = sqlite->CommitsAndOperations();
                std::fprintf(stderr, "glyphdrop-server: %ld commits carried %ld operations\n",
                             commits, operations);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "glyphdrop-server: %s\n", e.what());
        return 1;
    }
    return 0;
}
