// Checks of the private PostgreSQL server that the store tests start.
#include "postgres_instance.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <filesystem>

namespace gd::test {
namespace {

// Guards against a test that leaves a server running or its folder behind, or shares a database.
TEST(PostgresInstance, GivesSeparateDatabasesAndLeavesNothingBehind) {
    GD_SKIP_WITHOUT_POSTGRES();
    PostgresInstance pg;
    const std::string first = pg.NewDatabase();
    const std::string second = pg.NewDatabase();
    pg.Query(first, "CREATE TABLE only_here (n int); INSERT INTO only_here VALUES (7)");
    EXPECT_EQ(pg.Query(first, "SELECT n FROM only_here"), "7");
    EXPECT_EQ(pg.Query(second, "SELECT count(*) FROM pg_tables WHERE tablename = 'only_here'"),
              "0");

    const pid_t pid = pg.Pid();
    const std::string folder = pg.Folder();
    pg.Stop();
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace gd::test
