// The real server program over HTTP on loopback: refusals, the idle end and a clean end on
// SIGTERM. Its rules through HTTP are the protocol suite's.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "server_process.h"
#include "temp_folder.h"

namespace gd::server::test {
namespace {

// Guards against a malformed, oversized or too frequent request crashing the server or being
// served.
TEST(ServerHttp, RefusesMalformedOversizedAndTooFrequentRequests) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"), {"--rate", "1", "--burst", "6"});
    ASSERT_GT(server.Port(), 0);
    const std::string b = server.Base();
    EXPECT_EQ(HttpGet(b + "getdata.mv?s" + std::string(5000, '1')).status, 414);
    EXPECT_EQ(HttpGet(b + "getdata.mv?s1%2").status, 400);
    EXPECT_EQ(HttpGet(b + "joinwait.mv?a+b").status, 400);
    EXPECT_EQ(HttpGet(b + "postdata.mv?sX+CHAT+" + std::string(3000, 'a')).status, 400);
    EXPECT_EQ(HttpGet(b + "../etc/passwd").status, 404);
    int refused = 0;
    for (int i = 0; i < 6; ++i)
        refused += HttpGet(b + "readwait.mv").status == 429;
    EXPECT_GE(refused, 3);
    // Another address has a bucket of its own.
    EXPECT_EQ(HttpGet(b + "readwait.mv", "127.0.0.2").status, 200);
}

// Guards against requests that a proxy in front may read differently being served (a NUL in the
// target, two different lengths of one body, HTTP/1.1 without Host), and against a second
// X-Forwarded-For line posing as a player: the balancer appends its own line last.
TEST(ServerHttp, RefusesWhatAProxyMayReadDifferentlyAndTakesItsLastAddress) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"), {"--forwarded-for"});
    const int port = server.Port();
    const std::string update = "GET /Glyphdrop/updates.mv?1.1 HTTP/1.1\r\nHost: x\r\n";
    EXPECT_EQ(RawStatus(port, update + "\r\n"), 200);
    EXPECT_EQ(RawStatus(port, "GET /Glyphdrop/updates.mv?1.1 HTTP/1.0\r\n\r\n"), 200);
    EXPECT_EQ(
        RawStatus(port,
                  std::string("GET /Glyphdrop/updates.mv\0?1.1 HTTP/1.1\r\nHost: x\r\n\r\n", 52)),
        400);
    EXPECT_EQ(RawStatus(port, update + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nab"), 400);
    EXPECT_EQ(RawStatus(port, "GET /Glyphdrop/updates.mv?1.1 HTTP/1.1\r\n\r\n"), 400);

    const std::string b = server.Base();
    auto from = [](const std::string& a) { return "X-Forwarded-For: " + a; };
    const std::string game = GameNumber(
        HttpGet(b + "joinwait.mv?e+Ann+X+0+0+NO+none+300", "127.0.0.1", {from("10.0.0.1")}).body);
    HttpGet(b + "joingame.mv?" + game + "+e+", "127.0.0.1", {from("10.0.0.2")});
    const std::string post = b + "postdata.mv?c" + game + "+CHAT+x";
    EXPECT_FALSE(
        Has(HttpGet(post, "127.0.0.1", {from("10.0.0.1"), from("9.9.9.9")}).body, "WRITE*OK"));
    EXPECT_TRUE(Has(HttpGet(post, "127.0.0.1", {from("9.9.9.9"), from("8.8.8.8, 10.0.0.1")}).body,
                    "WRITE*OK"));
}

// Those of `fds` that the server leaves open for `ms`; a byte of a header goes to each every
// 200 ms while `trickle`.
std::vector<int> StillOpen(std::vector<int> fds, int ms, bool trickle = false) {
    for (int waited = 0; waited < ms && !fds.empty(); waited += 50) {
        if (trickle && waited % 200 == 0)
            for (int fd : fds)
                send(fd, "G", 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        fds.erase(std::remove_if(fds.begin(), fds.end(),
                                 [](int fd) {
                                     char byte;
                                     return recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
                                 }),
                  fds.end());
    }
    return fds;
}

// Guards against one address holding the server's connections, sending nothing or a byte now and
// then, while other addresses wait.
TEST(ServerHttp, OneAddressHoldsAFewConnectionsForAShortTime) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"), {"--per-address", "4", "--header-time", "3"});
    std::vector<int> held;
    for (int i = 0; i < 12; ++i)
        held.push_back(RawConnect(server.Port(), "127.0.0.8"));
    const std::vector<int> kept = StillOpen(held, 1000);
    EXPECT_EQ(kept.size(), 4u);
    EXPECT_EQ(HttpGet(server.Base() + "readwait.mv", "127.0.0.41").status, 200);
    EXPECT_TRUE(StillOpen(kept, 5000, true).empty()) << "a trickling header outlived its time";
    for (int fd : held)
        close(fd);
}

// Guards against a server started for the game running on for ever once nobody plays.
TEST(ServerHttp, EndsAfterTheIdleTime) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"), {"--exit-when-idle", "1"});
    EXPECT_EQ(HttpGet(server.Base() + "readwait.mv").status, 200);
    EXPECT_EQ(server.WaitForExit(4000), 0);
}

// Guards against SIGTERM cutting off requests in flight or losing what they stored. Each poster
// keeps its connection, so every request it sends is one the server has to finish.
TEST(ServerHttp, SigtermAnswersTheRequestsInFlightThenEnds) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"),
                         {"--rate", "0", "--mailbox-size", "100000", "--log-level", "error"});
    const std::string b = server.Base();
    const std::string game = GameNumber(HttpGet(b + "joinwait.mv?e+Ann+X+0+0+NO+none+300").body);
    HttpGet(b + "joingame.mv?" + game + "+e+");
    std::atomic<int> acknowledged{0}, cut{0};
    std::atomic<bool> stopping{false};
    std::vector<std::thread> posters;
    for (int t = 0; t < 8; ++t)
        posters.emplace_back([&] {
            HttpClient client;
            while (!stopping) {
                const auto a = client.Get(b + "postdata.mv?s" + game + "+CHAT+x");
                cut += a.status == 0;
                acknowledged += wire::MoveStored(a.body);
            }
        });
    // Once many requests have been answered, SIGTERM comes while others are in flight.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (acknowledged < 200 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stopping = true;
    EXPECT_EQ(server.Signal(SIGTERM), 0);
    for (auto& p : posters)
        p.join();
    EXPECT_EQ(cut, 0);

    ServerProcess again(folder.File("s.db"),
                        {"--rate", "0", "--mailbox-size", "100000", "--log-level", "error"});
    int read = 0;
    while (wire::ReadMailboxReply(HttpGet(again.Base() + "getdata.mv?s" + game).body).chat == "x")
        ++read;
    EXPECT_EQ(read, acknowledged.load());
}

}  // namespace
}  // namespace gd::server::test
