// The PostgreSQL store shared by several server processes: each store object here stands for one
// process with its own connections to the one database.
#include "pg_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "scratch_postgres.h"

namespace gd::server {
namespace {

using test::SharedPostgres;

constexpr std::int64_t kNow = 1'000'000;

WaitingEntry Entry(const std::string& game) {
    WaitingEntry e;
    e.game = game;
    e.email = "x@example.org";
    e.name = "Ann";
    e.location = "Leeds";
    e.played = "3";
    e.won = "1";
    e.password = "none";
    e.expiresAtMs = kNow + 600'000;
    e.hostAddress = "127.0.0.1";
    return e;
}

// A joined game: the host is 127.0.0.1, the joiner 127.0.0.2.
void StartGame(Store& store, const std::string& game) {
    ASSERT_EQ(store.Enter(Entry(game), 100, kNow), EnterOutcome::Entered);
    ASSERT_EQ(store.Join(game, "", "127.0.0.2", kNow), JoinOutcome::Joined);
}

PostRequest ChatToHost(const std::string& game, const std::string& text) {
    return {game, Side::Host, {MessageKind::Chat, text}, "127.0.0.2", true, 64, kNow};
}

class PgStoreTest : public ::testing::Test {
  protected:
    std::string url = SharedPostgres().NewDatabase();
};

// Guards against the room's size or one game's join being decided in one process only.
TEST_F(PgStoreTest, RoomSizeAndJoinHoldAcrossProcesses) {
    PgStore first(url, 4), second(url, 4);
    std::atomic<int> entered{0}, joined{0};
    std::vector<std::thread> players;
    for (int i = 0; i < 8; ++i) {
        players.emplace_back([&, i] {
            Store& via = i % 2 ? first : second;
            if (via.Enter(Entry("E" + std::to_string(i)), 5, kNow) == EnterOutcome::Entered)
                ++entered;
        });
    }
    for (auto& t : players)
        t.join();
    EXPECT_EQ(entered, 5);

    const std::string game = first.ListWaiting(kNow).at(0).game;
    std::thread a(
        [&] { joined += first.Join(game, "", "127.0.0.3", kNow) == JoinOutcome::Joined; });
    std::thread b(
        [&] { joined += second.Join(game, "", "127.0.0.4", kNow) == JoinOutcome::Joined; });
    a.join();
    b.join();
    EXPECT_EQ(joined, 1);
}

// Guards against player texts that the database's text encoding would refuse or cut.
TEST_F(PgStoreTest, KeepsEveryByteOfPlayerTexts) {
    PgStore store(url, 1);
    const std::string odd = std::string("N\0\xff\xe9 +%", 7);
    WaitingEntry e = Entry("G3");
    e.name = odd;
    ASSERT_EQ(store.Enter(e, 100, kNow), EnterOutcome::Entered);
    EXPECT_EQ(store.ListWaiting(kNow).at(0).name, odd);
    ASSERT_EQ(store.Join("G3", "", "127.0.0.2", kNow), JoinOutcome::Joined);
    ASSERT_EQ(store.Post(ChatToHost("G3", odd)), PostOutcome::Stored);
    const auto got = store.Take({"G3", Side::Host, "127.0.0.1", true, kNow, {}}).messages;
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, odd);
}

// Guards against pooled sessions that the database ended by a restart failing the operations
// that come after it.
TEST_F(PgStoreTest, KeepsWorkingAfterTheDatabaseRestarts) {
    PgStore store(url, 2);
    StartGame(store, "G4");
    SharedPostgres().Restart();
    EXPECT_EQ(store.Post(ChatToHost("G4", "after")), PostOutcome::Stored);
    EXPECT_EQ(store.Take({"G4", Side::Host, "127.0.0.1", true, kNow, {}}).messages.size(), 1u);
}

// Guards against a poll answered "empty" from memory while a post made through another process
// waits in the mailbox.
TEST_F(PgStoreTest, EmptyPollsFollowThePostsOfEveryProcess) {
    PgStore first(url, 2), second(url, 2);
    StartGame(first, "H1");
    const auto within = [](const std::function<bool()>& holds) {
        for (int i = 0; i < 500 && !holds(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return holds();
    };
    EXPECT_TRUE(within([&] { return !second.MayHaveMessages("H1", Side::Host); }));
    ASSERT_EQ(first.Post(ChatToHost("H1", "hi")), PostOutcome::Stored);
    EXPECT_TRUE(first.MayHaveMessages("H1", Side::Host));
    EXPECT_TRUE(within([&] { return second.MayHaveMessages("H1", Side::Host); }));
    EXPECT_EQ(second.Take({"H1", Side::Host, "127.0.0.1", true, kNow, {}}).messages.size(), 1u);
    EXPECT_TRUE(second.Take({"H1", Side::Host, "127.0.0.1", true, kNow, {}}).messages.empty());
    EXPECT_FALSE(second.MayHaveMessages("H1", Side::Host));
}

// Guards against a process failing to start because its table set-up locks the tables against the
// posts and reads of the processes already running (a deadlock).
TEST_F(PgStoreTest, StartsWhileAnotherProcessCarriesLoad) {
    PgStore running(url, 8);
    StartGame(running, "L1");
    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    for (int t = 0; t < 6; ++t)
        load.emplace_back([&] {
            while (!stop) {
                try {
                    running.Post(ChatToHost("L1", "x"));
                    running.Take({"L1", Side::Host, "127.0.0.1", true, kNow, {}});
                } catch (const std::exception&) {  // the load's own failures are not this test's
                }
            }
        });
    for (int i = 0; i < 20; ++i)  // twenty starts of another process
        EXPECT_NO_THROW((PgStore{url, 1})) << "start " << i;
    stop = true;
    for (auto& t : load)
        t.join();
}

}  // namespace
}  // namespace gd::server
