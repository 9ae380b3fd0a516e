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

#include "http_server.h"
#include "open_store.h"
#include "service.h"
#include "sqlite_store.h"
#include "text.h"

namespace {

using namespace gd::server;

struct Options {
    std::string listen = "127.0.0.1:27810";
    std::string db;  // default: glyphdrop-server.db beside the executable
    ServiceOptions service;
    HttpOptions http;
    int exitWhenIdle = 0;
};

std::string ProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? "." : exe.parent_path().string();
}

void PrintHelp(const Options& d) {
    std::printf(
        "Usage: glyphdrop-server [OPTION]...\n"
        "The game server for Glyphdrop's internet play: waiting room and mailboxes over HTTP.\n"
        "\n"
        "  --listen ADDR:PORT       where to listen (default %s; [ADDR]:PORT for IPv6)\n"
        "  --db FILE|postgresql://...\n"
        "                           the store: a SQLite file, or a PostgreSQL database shared\n"
        "                           by several servers (default glyphdrop-server.db in the\n"
        "                           program's folder)\n"
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

void SplitListen(const std::string& listen, HttpOptions& http) {
    const auto colon = listen.rfind(':');
    if (colon == std::string::npos) throw std::runtime_error("--listen needs ADDR:PORT");
    std::string address = listen.substr(0, colon);
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    http.address = address;
    http.port = Number("--listen's port", listen.substr(colon + 1), 0);
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
    SplitListen(o.listen, o.http);
    if (o.db.empty()) o.db = ProgramFolder() + "/glyphdrop-server.db";
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
        const auto store = OpenStore(options.db);
        SystemClock clock;
        RandomGameNumbers numbers;
        Service service(*store, clock, numbers, options.service);
        // A store that commits in groups answers inside its transactions.
        HttpServer http(service, options.http, dynamic_cast<AnswerRunner*>(store.get()));
        std::printf("glyphdrop-server listening on http://%s:%d (store %s)\n",
                    options.http.address.find(':') == std::string::npos
                        ? options.http.address.c_str()
                        : ("[" + options.http.address + "]").c_str(),
                    http.Port(), StoreForDisplay(options.db).c_str());
        std::fflush(stdout);
        WaitForTheEnd(options, http, service, stop);
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
