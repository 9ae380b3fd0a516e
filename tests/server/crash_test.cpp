// kill -9 in the middle of concurrent posts and reads, round after round: every acknowledged
// message is read exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "server_process.h"
#include "temp_folder.h"

namespace gd::server::test {
namespace {

// What happened to one mailbox: one poster sends "m1", "m2", ... in order, one reader reads.
struct Mailbox {
    std::string game;
    int nextSeq = 1;
    std::set<int> acknowledged, uncertain;  // uncertain: the post was cut off by the kill
    std::vector<int> received;
    std::vector<int> cutAfter;  // for each read cut off by the kill: the last seq read before it
};

void PostUntilCut(const std::string& base, Mailbox& box, std::atomic<bool>& killed) {
    while (!killed) {
        const int seq = box.nextSeq;
        const auto a = HttpGet(base + "postdata.mv?s" + box.game + "+CHAT+m" + std::to_string(seq));
        if (a.status == 0) {
            box.uncertain.insert(seq);
            ++box.nextSeq;
            return;
        }
        if (a.body.find("WRITE*OK") != std::string::npos) {
            box.acknowledged.insert(seq);
            ++box.nextSeq;
        }  // a full mailbox stored nothing: the same message again
    }
}

void ReadUntilCut(const std::string& base, Mailbox& box, std::atomic<bool>& killed) {
    while (!killed) {
        const auto a = HttpGet(base + "getdata.mv?s" + box.game);
        if (a.status == 0) {
            box.cutAfter.push_back(box.received.empty() ? 0 : box.received.back());
            return;
        }
        const auto at = a.body.find("***$$m");
        if (at != std::string::npos) box.received.push_back(std::stoi(a.body.substr(at + 6)));
    }
}

// Guards against a message lost or delivered twice when the server dies at any moment.
TEST(ServerCrash, AcknowledgedMessagesAreReadExactlyOnceAcrossKills) {
    gd::test::TempFolder folder;
    const std::vector<std::string> options = {"--rate", "0"};
    std::vector<Mailbox> boxes(6);
    {
        ServerProcess server(folder.File("s.db"), options);
        for (auto& box : boxes) {
            box.game =
                GameNumber(HttpGet(server.Base() + "joinwait.mv?e+A+X+0+0+NO+none+900").body);
            ASSERT_EQ(HttpGet(server.Base() + "joingame.mv?" + box.game + "+e+").status, 200);
        }
    }
    // GLYPHDROP_CRASH_ROUNDS asks for a longer run.
    const char* asked = std::getenv("GLYPHDROP_CRASH_ROUNDS");
    const int rounds = asked ? std::max(1, std::atoi(asked)) : 12;
    for (int round = 0; round < rounds; ++round) {
        ServerProcess server(folder.File("s.db"), options);
        ASSERT_GT(server.Port(), 0);
        std::atomic<bool> killed{false};
        std::vector<std::thread> clients;
        for (auto& box : boxes) {
            clients.emplace_back(PostUntilCut, server.Base(), std::ref(box), std::ref(killed));
            clients.emplace_back(ReadUntilCut, server.Base(), std::ref(box), std::ref(killed));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 37 * round));
        EXPECT_EQ(server.Signal(SIGKILL), -SIGKILL);
        killed = true;
        for (auto& c : clients)
            c.join();
    }
    {  // a last calm read of everything left
        ServerProcess server(folder.File("s.db"), options);
        for (auto& box : boxes)
            for (;;) {
                const auto a = HttpGet(server.Base() + "getdata.mv?s" + box.game);
                if (a.body.find("***$$m") == std::string::npos) break;
                box.received.push_back(std::stoi(a.body.substr(a.body.find("***$$m") + 6)));
            }
    }

    int acknowledged = 0, lost = 0, duplicated = 0, takenByCutReads = 0;
    for (auto& box : boxes) {
        acknowledged += static_cast<int>(box.acknowledged.size());
        std::map<int, int> times;
        for (std::size_t i = 0; i < box.received.size(); ++i) {
            ++times[box.received[i]];
            if (i > 0) {
                EXPECT_LT(box.received[i - 1], box.received[i]) << "out of order";
            }
        }
        for (const auto& [seq, n] : times) {
            duplicated += n - 1;
            EXPECT_TRUE(box.acknowledged.count(seq) || box.uncertain.count(seq));
        }
        // A read cut off by the kill may have taken one message (a read returns one chat line)
        // with it: the first one after what that reader had read.
        std::multiset<int> cuts(box.cutAfter.begin(), box.cutAfter.end());
        for (int seq : box.acknowledged) {
            if (times.count(seq)) continue;
            const auto cut = std::find_if(cuts.begin(), cuts.end(), [&](int before) {
                const auto next = times.upper_bound(before);
                return before < seq && (next == times.end() || next->first > seq);
            });
            if (cut != cuts.end()) {
                ++takenByCutReads;
                cuts.erase(cut);
            } else {
                ++lost;
            }
        }
    }
    std::printf("%d rounds: %d acknowledged, lost %d, duplicated %d, taken by reads cut off %d\n",
                rounds, acknowledged, lost, duplicated, takenByCutReads);
    EXPECT_GT(acknowledged, 100);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(duplicated, 0);
}

}  // namespace
}  // namespace gd::server::test
