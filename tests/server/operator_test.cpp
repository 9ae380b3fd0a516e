// The server as an operator runs it: where its store goes when --db names none, and its metrics
// page as Prometheus scrapes it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>

#include "server_process.h"
#include "temp_folder.h"

namespace gd::server::test {
namespace {

// Sets an environment variable (or removes it, for nothing) for one test's servers.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The store a server started without --db names in its first line.
std::string StoreOf(const ServerProcess& server) {
    std::smatch m;
    return std::regex_search(server.FirstLine(), m, std::regex(R"(\(store ([^,)]+))")) ? m[1].str()
                                                                                       : "";
}

// Guards against the default store landing beside an installed program, where nobody may
// write, instead of the service's state folder or the user's own.
TEST(ServerDefaultStore, IsTheServicesStateFolderElseTheUsersOwn) {
    gd::test::TempFolder folder;
    ScopedVariable home("HOME", folder.File("home")), xdg("XDG_STATE_HOME", std::nullopt);
    {
        ScopedVariable state("STATE_DIRECTORY", folder.path);
        ServerProcess server("");
        ASSERT_GT(server.Port(), 0);
        EXPECT_EQ(StoreOf(server), folder.File("glyphdrop-server.db"));
        EXPECT_TRUE(folder.Has("glyphdrop-server.db"));
        EXPECT_EQ(server.FirstLine().find("metrics"), std::string::npos) << "metrics are opt-in";
    }
    ScopedVariable state("STATE_DIRECTORY", std::nullopt);
    ServerProcess user("");
    ASSERT_GT(user.Port(), 0);
    const std::string own = folder.File("home/.local/state/glyphdrop-server");
    EXPECT_EQ(StoreOf(user), own + "/glyphdrop-server.db");
    EXPECT_TRUE(folder.Has("home/.local/state/glyphdrop-server/glyphdrop-server.db"));
    struct stat info {};
    ASSERT_EQ(stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "other users could read the store";
}

// The value of one sample of a scrape, or -1 when it is missing.
double Sample(const std::string& page, const std::string& series) {
    const auto at = page.find("\n" + series + " ");
    return at == std::string::npos ? -1 : std::atof(page.c_str() + at + series.size() + 2);
}

// Guards against metrics that miscount what the server did, or that Prometheus cannot read.
TEST(ServerMetrics, AScrapeCountsRequestsRefusalsCommitsAndTheWaitingRoom) {
    gd::test::TempFolder folder;
    ServerProcess server(folder.File("s.db"), {"--metrics", "127.0.0.1:0"});
    ASSERT_GT(server.Port(), 0);
    std::smatch m;
    const std::string line = server.FirstLine();
    ASSERT_TRUE(std::regex_search(line, m, std::regex(R"(metrics on (http://\S+/metrics))")))
        << line;
    const std::string metrics = m[1].str(), b = server.Base();
    EXPECT_EQ(HttpGet(b + "joinwait.mv?e+Ann+X+0+0+NO+none+300").status, 200);
    EXPECT_EQ(HttpGet(b + "nothing.mv").status, 404);
    EXPECT_EQ(HttpGet(b + "getdata.mv?s1%2").status, 400);
    EXPECT_EQ(HttpGet(metrics + "x").status, 404);

    const HttpAnswer scrape = HttpGet(metrics);
    ASSERT_EQ(scrape.status, 200);
    const std::string& page = scrape.body;
    EXPECT_EQ(Sample(page, R"(glyphdrop_requests_total{script="joinwait.mv",status="200"})"), 1);
    EXPECT_EQ(Sample(page, R"(glyphdrop_requests_total{script="none",status="404"})"), 1);
    EXPECT_EQ(Sample(page, R"(glyphdrop_refusals_total{reason="No such script"})"), 1);
    EXPECT_EQ(Sample(page, R"(glyphdrop_refusals_total{reason="Malformed query"})"), 1);
    EXPECT_EQ(Sample(page, "glyphdrop_waiting_players"), 1);
    EXPECT_EQ(Sample(page, "glyphdrop_mailboxes"), 2);
    EXPECT_GE(Sample(page, "glyphdrop_connections"), 0);
    const double commits = Sample(page, "glyphdrop_store_commits_total");
    EXPECT_GE(commits, 2) << "the entry into the waiting room was committed";
    EXPECT_EQ(Sample(page, "glyphdrop_store_commit_seconds_count"), commits);
    EXPECT_EQ(Sample(page, R"(glyphdrop_store_commit_seconds_bucket{le="+Inf"})"), commits);

    if (std::system("promtool --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "promtool (Debian package prometheus) cannot run: the scrape's format "
                        "is unchecked";
    folder.Write("scrape.txt", page);
    const std::string check = "promtool check metrics < " + folder.File("scrape.txt") + " 2>&1";
    FILE* out = popen(check.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string verdict;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, out))
        verdict += chunk;
    EXPECT_EQ(pclose(out), 0) << verdict << page;
}

}  // namespace
}  // namespace gd::server::test
