// Fuzz target: the server's request reading (request line, script, query fields) and, through
// it, the SQLite store. Each input is a short session of requests, one a line: the first byte
// picks the player's address, the rest is the request target. A request must get a reply with a
// real status, whatever it holds, and the store must never fail or throw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service.h"
#include "sqlite_store.h"

namespace {

using namespace gd::server;

void Require(bool condition) {
    if (!condition) std::abort();
}

class StepClock : public WallClock {
  public:
    std::int64_t now = 1'800'000'000'000;
    std::int64_t NowMs() override { return now += 1000; }
};

class CountingNumbers : public GameNumbers {
  public:
    int next = 1;
    std::string Next() override { return "G" + std::to_string(next++); }
};

// At most this many requests an input: a session, not a load test.
constexpr int kMaxRequests = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    SqliteStore store(":memory:");
    StepClock clock;
    CountingNumbers numbers;
    ServiceOptions options;
    options.ratePerSecond = 0;
    options.roomSize = 3;
    options.maxPending = 4;
    Service service(store, clock, numbers, options);
    for (int n = 0; n < kMaxRequests && !input.empty(); ++n) {
        const auto end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (line.empty()) continue;
        const std::string address = "127.0.0." + std::to_string(1 + (line[0] & 3));
        const std::string method = line[0] & 4 ? "POST" : "GET";
        const Reply reply = service.Handle(method, std::string(line.substr(1)), address);
        Require(reply.status >= 200 && reply.status < 600);
        if (reply.status == 200) Require(!reply.body.empty());
    }
    service.RemoveIdleGames();
    return 0;
}
