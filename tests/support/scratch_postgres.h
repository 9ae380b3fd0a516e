// The PostgreSQL server the tests of one program share: scratch-postgres.sh in a temporary folder
// of its own, started on first use and stopped by the script (by its PID) when the program ends.
#pragma once

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace gd::test {

// Empty when the PostgreSQL server binaries are installed, else the one line a skipped test shows.
inline std::string PostgresMissing() {
    const char* env = std::getenv("GLYPHDROP_PG_BIN");
    const std::string bin = env && *env ? env : "/usr/lib/postgresql/15/bin";
    if (::access((bin + "/postgres").c_str(), X_OK) == 0) return "";
    return "PostgreSQL server binaries not found in " + bin +
           " (install postgresql, or set GLYPHDROP_PG_BIN): skipped";
}

class ScratchPostgres {
  public:
    ScratchPostgres() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "glyphdrop-pg-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern;
        url_ = Script("start");
        if (url_.empty()) throw std::runtime_error("PostgreSQL did not start in " + folder_);
    }
    ~ScratchPostgres() { Script("stop"); }
    ScratchPostgres(const ScratchPostgres&) = delete;
    ScratchPostgres& operator=(const ScratchPostgres&) = delete;

    // Creates an empty database no other test uses and returns its address.
    std::string NewDatabase() {
        const std::string name = "test" + std::to_string(++databases_);
        std::unique_ptr<PGconn, decltype(&PQfinish)> c(PQconnectdb(url_.c_str()), &PQfinish);
        std::unique_ptr<PGresult, decltype(&PQclear)> r(
            PQexec(c.get(), ("CREATE DATABASE " + name).c_str()), &PQclear);
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            throw std::runtime_error(std::string("CREATE DATABASE: ") + PQerrorMessage(c.get()));
        return url_.substr(0, url_.rfind('/') + 1) + name;
    }

    // Stops the server and starts it again, as a database restart does.
    void Restart() { Script("restart"); }

  private:
    // Runs the script on the folder; its first line of output.
    std::string Script(const std::string& command) {
        const std::string line =
            std::string(GLYPHDROP_SCRATCH_POSTGRES) + " " + command + " '" + folder_ + "'";
        FILE* out = ::popen(line.c_str(), "r");
        if (!out) return "";
        char text[512] = "";
        if (!std::fgets(text, sizeof text, out)) text[0] = '\0';
        ::pclose(out);
        std::string first = text;
        while (!first.empty() && (first.back() == '\n' || first.back() == ' '))
            first.pop_back();
        return first;
    }

    std::string folder_, url_;
    int databases_ = 0;
};

// The one server the tests of this program share, started on first use.
inline ScratchPostgres& SharedPostgres() {
    static ScratchPostgres instance;
    return instance;
}

}  // namespace gd::test

// Skips the current test with one clear line where PostgreSQL is not installed.
#define GD_SKIP_WITHOUT_POSTGRES()                                               \
    do {                                                                         \
        if (const std::string why = ::gd::test::PostgresMissing(); !why.empty()) \
            GTEST_SKIP() << why;                                                 \
    } while (false)
