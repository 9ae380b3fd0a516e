// A PostgreSQL server of a test's own: initdb into a temporary folder, started and stopped by PID.
#include "postgres_instance.h"

#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace gd::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string BinDir() {
    const char* env = std::getenv("GLYPHDROP_PG_BIN");
    return env && *env ? env : "/usr/lib/postgresql/15/bin";
}

struct Account {
    uid_t uid;
    gid_t gid;
    bool change;
};

// initdb and postgres refuse to run as root, so a root test runs them as the postgres account.
Account ServerAccount() {
    if (::geteuid() != 0) return {::geteuid(), ::getegid(), false};
    const passwd* pw = ::getpwnam("postgres");
    if (!pw) throw std::runtime_error("running as root, and there is no postgres account");
    return {pw->pw_uid, pw->pw_gid, true};
}

// Starts a program as the server account with its output appended to `log`.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& log) {
    const Account account = ServerAccount();
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (out < 0 || in < 0) throw std::runtime_error("cannot open " + log);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (account.change && (::setgroups(0, nullptr) != 0 || ::setgid(account.gid) != 0 ||
                               ::setuid(account.uid) != 0))
            ::_exit(126);
        // A test that dies without stopping the server takes the server with it.
        ::prctl(PR_SET_PDEATHSIG, SIGQUIT);
        if (::getppid() != parent) ::_exit(1);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(in);
    if (pid < 0) throw std::runtime_error("fork failed");
    return pid;
}

// Waits up to `limit` for the process to end; true when it has (and is reaped).
bool WaitFor(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr) {
    const auto until = Clock::now() + limit;
    int st = 0;
    while (::waitpid(pid, &st, WNOHANG) == 0) {
        if (Clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (status) *status = st;
    return true;
}

std::string Tail(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    return text.size() > 2000 ? text.substr(text.size() - 2000) : text;
}

}  // namespace

std::string PostgresMissing() {
    const std::string bin = BinDir();
    if (::access((bin + "/postgres").c_str(), X_OK) == 0 &&
        ::access((bin + "/initdb").c_str(), X_OK) == 0)
        return "";
    return "PostgreSQL server binaries not found in " + bin +
           " (install postgresql, or set GLYPHDROP_PG_BIN): skipped";
}

PostgresInstance::PostgresInstance() {
    if (const std::string why = PostgresMissing(); !why.empty()) throw std::runtime_error(why);
    std::string pattern = (std::filesystem::temp_directory_path() / "glyphdrop-pg-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    try {
        const Account account = ServerAccount();
        if (account.change && ::chown(folder_.c_str(), account.uid, account.gid) != 0)
            throw std::runtime_error("cannot hand " + folder_ + " to the postgres account");
        const pid_t initdb =
            Spawn({BinDir() + "/initdb", "-D", folder_ + "/data", "-U", "glyphdrop", "--auth=trust",
                   "--no-sync", "-E", "UTF8", "--locale=C"},
                  folder_ + "/initdb.log");
        int status = 0;
        if (!WaitFor(initdb, std::chrono::seconds(120), &status) || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            throw std::runtime_error("initdb failed: " + Tail(folder_ + "/initdb.log"));
        Start();
    } catch (...) {
        Stop();
        throw;
    }
}

PostgresInstance::~PostgresInstance() {
    Stop();
}

// The server listens on a Unix socket in the instance's own folder only, so parallel tests never
// compete for a port.
void PostgresInstance::Start() {
    pid_ = Spawn({BinDir() + "/postgres", "-D", folder_ + "/data", "-k", folder_, "-h", "", "-c",
                  "fsync=off", "-c", "shared_buffers=16MB", "-c", "max_connections=200"},
                 folder_ + "/server.log");
    const std::string ping =
        "host=" + folder_ + " user=glyphdrop dbname=postgres connect_timeout=2";
    for (const auto until = Clock::now() + std::chrono::seconds(30); Clock::now() < until;) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) break;
        if (PQping(ping.c_str()) == PQPING_OK) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    throw std::runtime_error("PostgreSQL did not start: " + LogTail());
}

void PostgresInstance::Restart() {
    StopServer();
    Start();
}

void PostgresInstance::Stop() {
    StopServer();
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        folder_.clear();
    }
}

void PostgresInstance::StopServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGINT);  // fast shutdown: open sessions are ended, not waited for
        if (!WaitFor(pid_, std::chrono::seconds(15))) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
}

std::string PostgresInstance::Url(const std::string& database) const {
    return "postgresql://glyphdrop@/" + database + "?host=" + folder_;
}

std::string PostgresInstance::NewDatabase() {
    const std::string name = "test" + std::to_string(++databases_);
    Query(Url("postgres"), "CREATE DATABASE " + name);
    return Url(name);
}

std::string PostgresInstance::Query(const std::string& url, const std::string& sql) const {
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(url.c_str()), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK)
        throw std::runtime_error(std::string("cannot connect: ") + PQerrorMessage(conn.get()));
    std::unique_ptr<PGresult, decltype(&PQclear)> res(PQexec(conn.get(), sql.c_str()), &PQclear);
    const ExecStatusType st = PQresultStatus(res.get());
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
        throw std::runtime_error(sql + ": " + PQerrorMessage(conn.get()));
    const int rows = PQntuples(res.get());
    return rows > 0 && PQnfields(res.get()) > 0 ? PQgetvalue(res.get(), rows - 1, 0) : "";
}

std::string PostgresInstance::LogTail() const {
    return Tail(folder_ + "/initdb.log") + Tail(folder_ + "/server.log");
}

PostgresInstance& SharedPostgres() {
    static PostgresInstance instance;
    return instance;
}

}  // namespace gd::test
