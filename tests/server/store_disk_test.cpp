// The store as the server opens and shows it: its address without a password, a disk it cannot
// write, and a disk that fills up.
#include <gtest/gtest.h>

#include "open_store.h"
#include "small_disk.h"
#include "sqlite_store.h"

namespace gd::server::test {
namespace {

// Guards against the server printing a PostgreSQL password in its first line, and so its log.
TEST(StoreOpen, ShowsAPostgresAddressWithoutItsPassword) {
    EXPECT_EQ(StoreForDisplay("postgresql://ann:s3cr:et@db.example:5432/glyphdrop"),
              "postgresql://ann@db.example:5432/glyphdrop");
    EXPECT_EQ(StoreForDisplay("postgres://db/g?password=x&sslmode=require&password=y"),
              "postgres://db/g?sslmode=require");
    EXPECT_EQ(StoreForDisplay("postgresql://ann@db/g?host=/run/pg"),
              "postgresql://ann@db/g?host=/run/pg");
    EXPECT_EQ(StoreForDisplay("/srv/s:p@ss.db"), "/srv/s:p@ss.db");
}

// Guards against a store the server may not write ending it with no more than "disk I/O error".
TEST(StoreOpen, AStoreOnAReadOnlyDiskSaysSo) {
    gd::test::SmallDisk disk(1 << 20);
    GD_SKIP_WITHOUT_SMALL_DISK(disk);
    { SqliteStore made(disk.File("s.db")); }
    ASSERT_TRUE(disk.MakeReadOnly());
    try {
        SqliteStore store(disk.File("s.db"));
        ADD_FAILURE() << "opened a store on a read-only disk";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace gd::server::test
