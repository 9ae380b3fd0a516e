// The store as the server opens and shows it: its address without a password, a disk it cannot
// write, and a disk that fills up.
#include <gtest/gtest.h>

#include "open_store.h"
#include "small_disk.h"
#include "sqlite_store.h"

namespace gd::server::test {
namespace {

// Guards against the server printing a PostgreSQL password in its first line, and so its log,
// and against a store it may not write ending it with no more than "disk I/O error".
TEST(StoreOpen, ShowsNoPasswordAndSaysWhenItMayNotWrite) {
    EXPECT_EQ(StoreForDisplay("postgresql://ann:s3cr:et@db.example:5432/glyphdrop"),
              "postgresql://ann@db.example:5432/glyphdrop");
    EXPECT_EQ(StoreForDisplay("postgres://db/g?password=x&sslmode=require&password=y"),
              "postgres://db/g?sslmode=require");
    EXPECT_EQ(StoreForDisplay("postgresql://ann@db/g?host=/run/pg"),
              "postgresql://ann@db/g?host=/run/pg");
    gd::test::SmallDisk disk(1 << 20);
    if (!disk.why.empty()) GTEST_SKIP() << disk.why;
    { SqliteStore made(disk.folder.File("s.db")); }
    ASSERT_TRUE(disk.MakeReadOnly());
    try {
        SqliteStore store(disk.folder.File("s.db"));
        ADD_FAILURE() << "opened a store on a read-only disk";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
}

// Guards against a full disk losing acknowledged messages: posts are refused while it is full,
// reads (which free space) go on, and once they have freed it posts are taken again.
TEST(StoreOnAFullDisk, RefusesPostsKeepsReadingAndLosesNothing) {
    gd::test::SmallDisk disk(2 << 20);
    if (!disk.why.empty()) GTEST_SKIP() << disk.why;
    SqliteStore store(disk.folder.File("s.db"), 256 << 10);
    WaitingEntry e{"G1", "e", "Ann", "X", "0", "0", false, "none", 1 << 30, "127.0.0.1"};
    ASSERT_EQ(store.Enter(e, 10, 0), EnterOutcome::Entered);
    ASSERT_EQ(store.Join("G1", "", "127.0.0.2", 0), JoinOutcome::Joined);
    PostRequest chat{"G1", Side::Host, {MessageKind::Chat, ""}, "127.0.0.2", true, 1 << 30, 0};
    auto post = [&](int i) {
        chat.message.text = std::to_string(i) + " " + std::string(900, 'x');
        try {
            return store.Post(chat) == PostOutcome::Stored;
        } catch (const std::runtime_error&) {
            return false;
        }
    };
    int acknowledged = 0;
    while (acknowledged < 5000 && post(acknowledged))
        ++acknowledged;
    int read = 0, failedReads = 0;
    for (bool empty = false; !empty && failedReads < 100;) {
        try {
            const auto got = store.Take({"G1", Side::Host, "127.0.0.1", true, 0, {}}).messages;
            read += static_cast<int>(got.size());
            empty = got.empty();
        } catch (const std::runtime_error&) {
            ++failedReads;
        }
    }
    EXPECT_GT(acknowledged, 1000);
    EXPECT_EQ(acknowledged - read, 0) << "messages lost after a full disk";
    EXPECT_LE(failedReads, 1);
    EXPECT_TRUE(post(0));
}

}  // namespace
}  // namespace gd::server::test
