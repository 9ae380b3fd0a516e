// kill -9 in the middle of concurrent posts and reads, round after round: every acknowledged
// message is read exactly once, by readers that confirm each batch as the program does.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "protocol.h"
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
    std::int64_t batch = 0;  // the last batch received, which the next read confirms
};

void PostUntilCut(const std::string& server, Mailbox& box, std::atomic<bool>& killed,
                  std::atomic<int>& acknowledged) {
    while (!killed) {
        const int seq = box.nextSeq;
        const auto a =
            HttpGet(PostUrl(server, "s" + box.game, PostKind::Chat, "m" + std::to_string(seq)));
        if (a.status == 0) {
            box.uncertain.insert(seq);
            ++box.nextSeq;
            return;
        }
        if (MoveStored(a.body)) {
            box.acknowledged.insert(seq);
            ++box.nextSeq;
            ++acknowledged;
        }  // a full mailbox stored nothing: the same message again
    }
}

enum class ReadResult { Cut, Empty, Got };

// One read that confirms the last batch received.
ReadResult ReadOnce(const std::string& server, Mailbox& box) {
    const auto a = HttpGet(GetDataUrl(server, "s" + box.game, box.batch));
    if (a.status == 0) return ReadResult::Cut;
    const MailboxReply reply = ReadMailboxReply(a.body);
    if (reply.batch > 0) box.batch = reply.batch;
    if (reply.chat) box.received.push_back(ChatNumber(*reply.chat));
    return reply.empty ? ReadResult::Empty : ReadResult::Got;
}

void ReadUntilCut(const std::string& server, Mailbox& box, std::atomic<bool>& killed) {
    while (!killed && ReadOnce(server, box) != ReadResult::Cut) {
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
        std::atomic<int> acknowledged{0};
        std::vector<std::thread> clients;
        for (auto& box : boxes) {
            clients.emplace_back(PostUntilCut, server.Address(), std::ref(box), std::ref(killed),
                                 std::ref(acknowledged));
            clients.emplace_back(ReadUntilCut, server.Address(), std::ref(box), std::ref(killed));
        }
        // The kill lands at a different point of the traffic each round.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (acknowledged < 25 + 15 * round && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(server.Signal(SIGKILL), -SIGKILL);
        killed = true;
        for (auto& c : clients)
            c.join();
    }
    {  // a last calm read of everything left
        ServerProcess server(folder.File("s.db"), options);
        for (auto& box : boxes)
            while (ReadOnce(server.Address(), box) == ReadResult::Got) {
            }
    }

    int acknowledged = 0, lost = 0, duplicated = 0;
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
        for (int seq : box.acknowledged)
            lost += times.count(seq) ? 0 : 1;
    }
    std::printf("%d rounds: %d acknowledged, lost %d, duplicated %d\n", rounds, acknowledged, lost,
                duplicated);
    EXPECT_GT(acknowledged, 100);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(duplicated, 0);
}

}  // namespace
}  // namespace gd::server::test
