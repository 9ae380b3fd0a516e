// A PostgreSQL server of a test's own: a temporary folder with its socket, stopped by PID.
#pragma once

#include <sys/types.h>

#include <string>

namespace gd::test {

// Empty when the PostgreSQL server binaries are installed, else the one line a skipped test shows.
std::string PostgresMissing();

class PostgresInstance {
  public:
    // Runs initdb and starts the server; throws std::runtime_error with the log's end on failure.
    PostgresInstance();
    ~PostgresInstance();
    PostgresInstance(const PostgresInstance&) = delete;
    PostgresInstance& operator=(const PostgresInstance&) = delete;

    std::string Url(const std::string& database) const;

    // Creates an empty database no other test uses and returns its address.
    std::string NewDatabase();
    // Runs statements on a database and returns the first field of the last row ("" when none).
    std::string Query(const std::string& url, const std::string& sql) const;

    // Stops the server and starts it again, as a database restart does.
    void Restart();
    // Fast shutdown by PID, then the folder is removed; safe to call twice.
    void Stop();

  private:
    void Start();
    void StopServer();
    std::string LogTail() const;

    std::string folder_;
    pid_t pid_ = -1;
    int databases_ = 0;
};

// The one instance the tests of this process share, started on first use.
PostgresInstance& SharedPostgres();

}  // namespace gd::test

// Skips the current test with one clear line where PostgreSQL is not installed.
#define GD_SKIP_WITHOUT_POSTGRES()                                               \
    do {                                                                         \
        if (const std::string why = ::gd::test::PostgresMissing(); !why.empty()) \
            GTEST_SKIP() << why;                                                 \
    } while (false)
