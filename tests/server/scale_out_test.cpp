// Several glyphdrop-server processes on one PostgreSQL database behave as one server.
#include <gtest/gtest.h>

#include "scratch_postgres.h"
#include "server_process.h"

namespace gd::server::test {
namespace {

// Two server processes on one fresh database, without rate limits.
class ScaleOut : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(first.Port(), 0);
        ASSERT_GT(second.Port(), 0);
    }
    void TearDown() override {
        EXPECT_EQ(first.Signal(SIGTERM), 0);
        EXPECT_EQ(second.Signal(SIGTERM), 0);
    }
    // Enters the waiting room through the first process; returns the game number.
    std::string Enter() {
        return GameNumber(HttpGet(via[0] + "joinwait.mv?a%40x+Ann+Leeds+3+1+NO+none+300").body);
    }

    const std::string db = gd::test::SharedPostgres().NewDatabase();
    ServerProcess first{db, {"--rate", "0"}}, second{db, {"--rate", "0"}};
    const std::string via[2] = {first.Base(), second.Base()};
};

// Guards against a game, a join or a retried move known to one process only.
TEST_F(ScaleOut, AGameStartedThroughOneProcessGoesOnThroughTheOther) {
    const std::string game = Enter();
    EXPECT_EQ(wire::ReadWaitingList(HttpGet(via[1] + "readwait.mv").body).entries.at(0).gameNumber,
              game);
    EXPECT_TRUE(
        Has(HttpGet(via[1] + "joingame.mv?" + game + "+b%40y+", "127.0.0.2").body, "-JOINED-"));
    EXPECT_FALSE(
        Has(HttpGet(via[0] + "joingame.mv?" + game + "+c%40z+", "127.0.0.3").body, "-JOINED-"));
    for (const auto& base : via)  // the program repeats a move it saw no "WRITE*OK" for
        EXPECT_TRUE(wire::MoveStored(
            HttpGet(base + "postdata.mv?s" + game + "+MOVE+q17", "127.0.0.2").body));
    EXPECT_EQ(wire::ReadMailboxReply(HttpGet(via[0] + "getdata.mv?s" + game).body).move, "q17");
    EXPECT_TRUE(wire::ReadMailboxReply(HttpGet(via[1] + "getdata.mv?s" + game).body).empty);
}

// Guards against a message read twice, lost or overtaken when readers poll one mailbox through
// both processes while posts arrive through both.
TEST_F(ScaleOut, ConcurrentReadersThroughBothProcessesGetEachMessageOnce) {
    const std::string game = Enter();
    ASSERT_TRUE(
        Has(HttpGet(via[1] + "joingame.mv?" + game + "+b%40y+", "127.0.0.2").body, "-JOINED-"));

    ExpectEachMessageReadOnce(
        150, [&](int r) { return HttpGet(via[r % 2] + "getdata.mv?s" + game).body; },
        [&](int i) {
            return wire::MoveStored(
                HttpGet(via[i % 2] + "postdata.mv?s" + game + "+CHAT+m" + std::to_string(i),
                        "127.0.0.2")
                    .body);
        });
}

}  // namespace
}  // namespace gd::server::test
