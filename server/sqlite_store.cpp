// The game server's store in one SQLite file, with group commit.
#include "sqlite_store.h"

#include <fcntl.h>
#include <pthread.h>
#include <sqlite3.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace gd::server {

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS games(
    seq INTEGER PRIMARY KEY AUTOINCREMENT,
    game TEXT NOT NULL UNIQUE,
    host_address TEXT NOT NULL,
    joiner_address TEXT,
    waiting INTEGER NOT NULL,
    email TEXT NOT NULL, name TEXT NOT NULL, location TEXT NOT NULL,
    played TEXT NOT NULL, won TEXT NOT NULL,
    is_private INTEGER NOT NULL, password TEXT NOT NULL,
    expires_at_ms INTEGER NOT NULL,
    active_at_ms INTEGER NOT NULL,
    last_move_host TEXT, last_move_joiner TEXT);
CREATE INDEX IF NOT EXISTS games_waiting ON games(waiting, expires_at_ms);
CREATE INDEX IF NOT EXISTS games_active ON games(active_at_ms);
CREATE TABLE IF NOT EXISTS messages(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    game TEXT NOT NULL,
    side INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    text TEXT NOT NULL,
    batch INTEGER);
CREATE INDEX IF NOT EXISTS messages_box ON messages(game, side, id);
)";

// A file made before reads were confirmed lacks the batch column.
bool HasBatchColumn(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT batch FROM messages LIMIT 0", -1, &stmt, nullptr) !=
        SQLITE_OK)
        return false;
    sqlite3_finalize(stmt);
    return true;
}

std::string MailboxName(const std::string& game, Side side) {
    return (side == Side::Host ? "s" : "c") + game;
}

const char* LastMoveColumn(Side side) {
    return side == Side::Host ? "last_move_host" : "last_move_joiner";
}

// Why the store at `path` cannot be written, or empty. SQLite would open a read-only file for
// reading and fail later with no more than "disk I/O error".
std::string WhyNotWritable(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0)
        return "the file is read-only (" + std::string(std::strerror(errno)) +
               "); the server must be able to write to its store";
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return "its folder " + folder + " is not writable (" + std::strerror(errno) +
               "); the server keeps the store's log file beside it";
    return "";
}

}  // namespace

// Disk space held back in a file beside the store. Given up when the disk fills, it leaves room
// for reads, which free space, and for the log's checkpoint, which gives the log's space back.
class SqliteStore::Reserve {
  public:
    Reserve(std::string path, std::size_t bytes) : path_(std::move(path)), bytes_(bytes) {}
    // Whether the file now holds all its bytes; when they do not fit, the file goes again.
    bool Hold() {
        const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const bool held = fd >= 0 && posix_fallocate(fd, 0, static_cast<off_t>(bytes_)) == 0;
        if (fd >= 0) close(fd);
        if (!held) unlink(path_.c_str());
        return held;
    }
    void Release() { unlink(path_.c_str()); }
    std::size_t Bytes() const { return bytes_; }
    // Bytes free on the disk for this process.
    std::size_t Free() const {
        struct statvfs disk {};
        const std::string folder = std::filesystem::path(path_).parent_path().string();
        if (statvfs(folder.empty() ? "." : folder.c_str(), &disk) != 0) return 0;
        return static_cast<std::size_t>(disk.f_bavail) * disk.f_frsize;
    }

  private:
    std::string path_;
    std::size_t bytes_;
};

// The writer thread's view of the open transaction: prepared statements kept for reuse, and the
// changes to the pending counts that take effect once the commit is on disk.
class SqliteStore::Transaction {
  public:
    explicit Transaction(sqlite3* db) : db_(db) {}
    ~Transaction() {
        for (auto& [sql, stmt] : statements_)
            sqlite3_finalize(stmt);
    }

    // A statement with its parameters bound, ready to step.
    class Query {
      public:
        Query(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;
        ~Query() {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
        Query& Bind(const std::string& text) {
            Check(sqlite3_bind_text(stmt_, ++at_, text.data(), static_cast<int>(text.size()),
                                    SQLITE_TRANSIENT));
            return *this;
        }
        Query& Bind(std::int64_t n) {
            Check(sqlite3_bind_int64(stmt_, ++at_, n));
            return *this;
        }
        Query& BindNull() {
            Check(sqlite3_bind_null(stmt_, ++at_));
            return *this;
        }
        // Steps once: true while there is a row.
        bool Step() {
            const int rc = sqlite3_step(stmt_);
            if (rc == SQLITE_ROW) return true;
            if (rc == SQLITE_DONE) return false;
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
        void Run() {
            while (Step()) {
            }
        }
        std::int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
        bool IsNull(int column) { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
        std::optional<std::string> TextOrNothing(int column) {
            return IsNull(column) ? std::nullopt : std::optional<std::string>(Text(column));
        }
        std::string Text(int column) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
            return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                     : std::string();
        }

      private:
        void Check(int rc) {
            if (rc != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db_));
        }
        sqlite3* db_;
        sqlite3_stmt* stmt_;
        int at_ = 0;
    };

    Query Sql(const std::string& sql) {
        auto& stmt = statements_[sql];
        if (!stmt && sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt,
                                        nullptr) != SQLITE_OK) {
            statements_.erase(sql);
            throw std::runtime_error(sqlite3_errmsg(db_));
        }
        return Query(db_, stmt);
    }
    void Exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    int Changes() { return sqlite3_changes(db_); }

    // Pending-count changes of the current operation; kForget drops the mailbox's count.
    static constexpr int kForget = INT_MIN;
    std::vector<std::pair<std::string, int>> changes;

    void ForgetGame(const std::string& game) {
        changes.emplace_back(MailboxName(game, Side::Host), kForget);
        changes.emplace_back(MailboxName(game, Side::Joiner), kForget);
    }

  private:
    sqlite3* db_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

SqliteStore::SqliteStore(const std::string& path, std::size_t reserveBytes)
    : reserve_(std::make_unique<Reserve>(path + "-reserve", reserveBytes)) {
    if (const std::string why = WhyNotWritable(path); !why.empty())
        throw std::runtime_error("cannot use " + path + ": " + why);
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path + ": " + why);
    }
    tx_ = std::make_unique<Transaction>(db_);
    try {
        // Exclusive before WAL: the WAL index then lives in this process, and a second server
        // on the same file fails here instead of sharing it.
        // A new file gives the pages that reads free back to the disk on demand (KeepRoom).
        tx_->Exec("PRAGMA auto_vacuum=INCREMENTAL");
        tx_->Exec("PRAGMA locking_mode=EXCLUSIVE");
        tx_->Exec("PRAGMA journal_mode=WAL");
        tx_->Exec("PRAGMA synchronous=FULL");
        // The log is checkpointed and cut back to nothing once it holds half the reserve, so it
        // never takes more of the disk than the reserve can give back.
        walLimitFrames_ = static_cast<int>(reserveBytes / 2 / 4096) + 1;
        sqlite3_wal_hook(
            db_,
            [](void* self, sqlite3*, const char*, int frames) {
                static_cast<SqliteStore*>(self)->walFrames_ = frames;
                return SQLITE_OK;
            },
            this);
        tx_->Sql("BEGIN IMMEDIATE").Run();
        tx_->Exec(kSchema);
        if (!HasBatchColumn(db_)) tx_->Exec("ALTER TABLE messages ADD COLUMN batch INTEGER");
        tx_->Sql("COMMIT").Run();
        LoadPendingCounts();
        short_ = !reserve_->Hold();
    } catch (const std::exception& e) {
        tx_.reset();
        sqlite3_close(db_);
        throw std::runtime_error("cannot use " + path + ": " + e.what());
    }
    writer_ = std::thread([this] {
        pthread_setname_np(pthread_self(), "gd-store");
        WriterLoop();
    });
}

SqliteStore::~SqliteStore() {
    {
        std::lock_guard<std::mutex> hold(queueLock_);
        stopping_ = true;
    }
    queued_.notify_all();
    writer_.join();
    tx_.reset();
    sqlite3_close(db_);
    reserve_->Release();
}

void SqliteStore::LoadPendingCounts() {
    auto q = tx_->Sql("SELECT game, side, count(*) FROM messages GROUP BY game, side");
    std::unique_lock<std::shared_mutex> hold(countLock_);
    pending_.clear();
    while (q.Step())
        pending_[MailboxName(q.Text(0), static_cast<Side>(q.Int(1)))] = static_cast<int>(q.Int(2));
}

void SqliteStore::Enqueue(std::unique_ptr<Job> job) {
    {
        std::lock_guard<std::mutex> hold(queueLock_);
        queue_.push_back(std::move(job));
    }
    queued_.notify_one();
}

template <class F>
auto SqliteStore::Apply(F work) -> decltype(work(std::declval<Transaction&>())) {
    // On the writer thread (an answer run inside the transaction) the operation runs at once, in
    // a savepoint of its own, so a failure undoes it alone.
    if (std::this_thread::get_id() == writer_.get_id()) {
        const std::size_t mark = tx_->changes.size();
        tx_->Sql("SAVEPOINT step").Run();
        try {
            auto result = work(*tx_);
            tx_->Sql("RELEASE step").Run();
            return result;
        } catch (...) {
            tx_->Sql("ROLLBACK TO step").Run();
            tx_->Sql("RELEASE step").Run();
            tx_->changes.resize(mark);
            throw;
        }
    }
    using Result = decltype(work(std::declval<Transaction&>()));
    std::optional<Result> result;
    auto job = std::make_unique<Job>();
    job->work = [&](Transaction& tx) { result = work(tx); };
    auto done = job->done.get_future();
    Enqueue(std::move(job));
    done.get();  // rethrows the operation's failure
    return std::move(*result);
}

void SqliteStore::Run(std::function<void()> answer, std::function<void(bool durable)> deliver) {
    auto job = std::make_unique<Job>();
    job->work = [answer = std::move(answer)](Transaction&) { answer(); };
    job->deliver = std::move(deliver);
    Enqueue(std::move(job));
}

void SqliteStore::WriterLoop() {
    for (;;) {
        std::vector<std::unique_ptr<Job>> batch;
        {
            std::unique_lock<std::mutex> hold(queueLock_);
            queued_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            for (auto& job : queue_)
                batch.push_back(std::move(job));
            queue_.clear();
        }
        CommitBatch(batch);
    }
}

void SqliteStore::CommitBatch(std::vector<std::unique_ptr<Job>>& batch) {
    std::vector<std::exception_ptr> failures(batch.size());
    std::vector<std::pair<std::string, int>> changes;
    std::exception_ptr commitFailure;
    bool diskFull = false;
    const auto started = std::chrono::steady_clock::now();
    try {
        tx_->Sql("BEGIN IMMEDIATE").Run();
        for (std::size_t i = 0; i < batch.size(); ++i) {
            tx_->changes.clear();
            tx_->Sql("SAVEPOINT operation").Run();
            try {
                batch[i]->work(*tx_);
                tx_->Sql("RELEASE operation").Run();
                changes.insert(changes.end(), tx_->changes.begin(), tx_->changes.end());
            } catch (...) {
                failures[i] = std::current_exception();
                diskFull = diskFull || sqlite3_errcode(db_) == SQLITE_FULL;
                tx_->Sql("ROLLBACK TO operation").Run();
                tx_->Sql("RELEASE operation").Run();
            }
        }
        tx_->Sql("COMMIT").Run();
    } catch (...) {
        commitFailure = std::current_exception();
        diskFull = diskFull || sqlite3_errcode(db_) == SQLITE_FULL;
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    KeepRoom(diskFull);
    if (commitFailure) {
        // Nothing of this batch happened; the counts are read again from the file.
        try {
            LoadPendingCounts();
        } catch (...) {
        }
    } else {
        std::unique_lock<std::shared_mutex> hold(countLock_);
        for (const auto& [mailbox, change] : changes) {
            if (change == Transaction::kForget) {
                pending_.erase(mailbox);
            } else if ((pending_[mailbox] += change) <= 0) {
                pending_.erase(mailbox);
            }
        }
    }
    ++commits_;
    operations_ += static_cast<long>(batch.size());
    if (commitObserver_)
        commitObserver_->Committed(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
            !commitFailure);
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const bool failed = commitFailure || failures[i];
        if (batch[i]->deliver)
            batch[i]->deliver(!failed);
        else if (failed)
            batch[i]->done.set_exception(commitFailure ? commitFailure : failures[i]);
        else
            batch[i]->done.set_value();
    }
}

// A full disk gives up the reserve, so that reads, which free space, go on; posts and entries
// wait until the reserve can be held again. The log is cut back whenever it is long or the disk
// short, or it would take the space freed.
void SqliteStore::KeepRoom(bool diskFull) {
    if (diskFull && !short_) {
        reserve_->Release();
        short_ = true;
    }
    // While short, what reads freed goes back to the disk (in a file made since pages are
    // given back on demand), so posts can start again once there is room for a reserve and a log.
    if (short_ && !diskFull)
        sqlite3_exec(db_, "PRAGMA incremental_vacuum", nullptr, nullptr, nullptr);
    if (short_ || walFrames_ >= walLimitFrames_) {
        if (sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr) ==
            SQLITE_OK)
            walFrames_ = 0;
    }
    // Room for the reserve, a whole log, and as much again for the file to grow at checkpoints.
    const std::size_t needed = reserve_->Bytes() + 2 * 4096 * std::size_t(walLimitFrames_);
    if (short_ && !diskFull && reserve_->Free() >= needed && reserve_->Hold()) short_ = false;
}

void SqliteStore::CheckRoom() const {
    if (short_) throw std::runtime_error("the disk is full: posts wait until reads free space");
}

std::pair<long, long> SqliteStore::CommitsAndOperations() const {
    return {commits_.load(), operations_.load()};
}

bool SqliteStore::MayHaveMessages(const std::string& game, Side reader) {
    std::shared_lock<std::shared_mutex> hold(countLock_);
    return pending_.count(MailboxName(game, reader)) > 0;
}

EnterOutcome SqliteStore::Enter(const WaitingEntry& e, int roomSize, std::int64_t nowMs) {
    return Apply([&](Transaction& tx) {
        CheckRoom();
        std::vector<std::pair<std::string, std::int64_t>> waiting;
        auto q = tx.Sql("SELECT game, expires_at_ms FROM games WHERE waiting = 1");
        while (q.Step())
            waiting.emplace_back(q.Text(0), q.Int(1));
        std::int64_t staying = 0;
        for (const auto& [game, expiresAtMs] : waiting) {
            if (WaitHasPassed(expiresAtMs, nowMs))
                tx.Sql("DELETE FROM games WHERE game = ?").Bind(game).Run();
            else
                ++staying;
        }
        if (!RoomHasSpace(staying, roomSize)) return EnterOutcome::Full;
        auto taken = tx.Sql("SELECT 1 FROM games WHERE game = ?");
        if (taken.Bind(e.game).Step()) return EnterOutcome::TakenGame;
        tx.Sql(
              "INSERT INTO games(game, host_address, waiting, email, name, location, played, "
              "won, is_private, password, expires_at_ms, active_at_ms) "
              "VALUES(?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .Bind(e.game)
            .Bind(e.hostAddress)
            .Bind(e.email)
            .Bind(e.name)
            .Bind(e.location)
            .Bind(e.played)
            .Bind(e.won)
            .Bind(std::int64_t{e.isPrivate})
            .Bind(e.password)
            .Bind(e.expiresAtMs)
            .Bind(nowMs)
            .Run();
        return EnterOutcome::Entered;
    });
}

std::vector<WaitingEntry> SqliteStore::ListWaiting(std::int64_t nowMs) {
    return Apply([&](Transaction& tx) {
        std::vector<WaitingEntry> entries;
        auto q = tx.Sql(
            "SELECT game, email, name, location, played, won, is_private, password, "
            "expires_at_ms, host_address FROM games WHERE waiting = 1 ORDER BY seq");
        while (q.Step()) {
            if (WaitHasPassed(q.Int(8), nowMs)) continue;
            entries.push_back({q.Text(0), q.Text(1), q.Text(2), q.Text(3), q.Text(4), q.Text(5),
                               q.Int(6) != 0, q.Text(7), q.Int(8), q.Text(9)});
        }
        return entries;
    });
}

JoinOutcome SqliteStore::Join(const std::string& game, const std::string& password,
                              const std::string& address, std::int64_t nowMs) {
    return Apply([&](Transaction& tx) {
        auto q = tx.Sql(
            "SELECT is_private, password, expires_at_ms FROM games WHERE game = ? AND waiting = 1");
        if (!q.Bind(game).Step() || WaitHasPassed(q.Int(2), nowMs)) return JoinOutcome::NotWaiting;
        const JoinOutcome outcome = JoinOfWaitingGame(q.Int(0) != 0, q.Text(1), password);
        if (outcome != JoinOutcome::Joined) return outcome;
        tx.Sql("UPDATE games SET waiting = 0, joiner_address = ?, active_at_ms = ? WHERE game = ?")
            .Bind(address)
            .Bind(nowMs)
            .Bind(game)
            .Run();
        return outcome;
    });
}

bool SqliteStore::Leave(const std::string& game, const std::string& address, bool bound) {
    return Apply([&](Transaction& tx) {
        auto q = tx.Sql("SELECT host_address FROM games WHERE game = ? AND waiting = 1");
        if (!q.Bind(game).Step() || !MayActFor(q.Text(0), address, bound)) return false;
        tx.Sql("DELETE FROM games WHERE game = ?").Bind(game).Run();
        return true;
    });
}

PostOutcome SqliteStore::Post(const PostRequest& r) {
    return Apply([&](Transaction& tx) {
        CheckRoom();
        const Side poster = Partner(r.to);
        auto game = tx.Sql(
            "SELECT host_address, joiner_address, last_move_host, last_move_joiner "
            "FROM games WHERE game = ? AND waiting = 0");
        if (!game.Bind(r.game).Step()) return PostOutcome::NotAllowed;
        if (!MayActFor(game.TextOrNothing(poster == Side::Host ? 0 : 1), r.address, r.bound))
            return PostOutcome::NotAllowed;
        const bool isMove = r.message.kind == MessageKind::Move;
        const bool repeated =
            IsRetriedMove(r.message, game.TextOrNothing(r.to == Side::Host ? 2 : 3));

        const std::string touch =
            std::string("UPDATE games SET active_at_ms = ?") +
            (isMove && !repeated ? std::string(", ") + LastMoveColumn(r.to) + " = ?, " +
                                       LastMoveColumn(poster) + " = NULL"
                                 : "") +
            " WHERE game = ?";
        if (repeated) {
            tx.Sql(touch).Bind(r.nowMs).Bind(r.game).Run();
            return PostOutcome::Repeated;
        }
        auto count = tx.Sql("SELECT count(*) FROM messages WHERE game = ? AND side = ?");
        count.Bind(r.game).Bind(static_cast<std::int64_t>(r.to)).Step();
        if (count.Int(0) >= r.maxPending) return PostOutcome::MailboxFull;

        tx.Sql("INSERT INTO messages(game, side, kind, text) VALUES(?, ?, ?, ?)")
            .Bind(r.game)
            .Bind(static_cast<std::int64_t>(r.to))
            .Bind(static_cast<std::int64_t>(r.message.kind))
            .Bind(r.message.text)
            .Run();
        auto update = tx.Sql(touch);
        update.Bind(r.nowMs);
        if (isMove) update.Bind(r.message.text);
        update.Bind(r.game).Run();
        tx.changes.emplace_back(MailboxName(r.game, r.to), 1);
        return PostOutcome::Stored;
    });
}

Batch SqliteStore::Take(const TakeRequest& r) {
    return Apply([&](Transaction& tx) {
        Batch taken;
        auto game = tx.Sql("SELECT host_address, joiner_address FROM games WHERE game = ?");
        if (!game.Bind(r.game).Step()) return taken;
        if (!MayActFor(game.TextOrNothing(r.reader == Side::Host ? 0 : 1), r.address, r.bound))
            return taken;
        const auto side = static_cast<std::int64_t>(r.reader);
        const std::string mailbox = MailboxName(r.game, r.reader);

        if (r.confirm) {
            tx.Sql("DELETE FROM messages WHERE game = ? AND side = ? AND batch = ?")
                .Bind(r.game)
                .Bind(side)
                .Bind(*r.confirm)
                .Run();
            tx.changes.emplace_back(mailbox, -tx.Changes());
            auto unconfirmed = tx.Sql(
                "SELECT kind, text, batch FROM messages WHERE game = ? AND side = ? "
                "AND batch IS NOT NULL ORDER BY id");
            unconfirmed.Bind(r.game).Bind(side);
            while (unconfirmed.Step()) {
                taken.messages.push_back(
                    {static_cast<MessageKind>(unconfirmed.Int(0)), unconfirmed.Text(1)});
                taken.number = unconfirmed.Int(2);
            }
            if (!taken.messages.empty()) return taken;
        }

        std::vector<std::int64_t> ids;
        std::vector<Message> pending;
        auto q = tx.Sql(
            "SELECT id, kind, text FROM messages WHERE game = ? AND side = ? ORDER BY id LIMIT 8");
        q.Bind(r.game).Bind(side);
        while (q.Step()) {
            ids.push_back(q.Int(0));
            pending.push_back({static_cast<MessageKind>(q.Int(1)), q.Text(2)});
        }
        const std::size_t n = DeliverableCount(pending);
        if (n == 0) return taken;
        taken.messages.assign(pending.begin(), pending.begin() + static_cast<long>(n));
        if (r.confirm) {
            // The batch is named by its first message, so numbers only grow in a mailbox.
            taken.number = ids[0];
            tx.Sql("UPDATE messages SET batch = ? WHERE game = ? AND side = ? AND id <= ?")
                .Bind(taken.number)
                .Bind(r.game)
                .Bind(side)
                .Bind(ids[n - 1])
                .Run();
            return taken;
        }
        tx.Sql("DELETE FROM messages WHERE game = ? AND side = ? AND id <= ?")
            .Bind(r.game)
            .Bind(side)
            .Bind(ids[n - 1])
            .Run();
        tx.changes.emplace_back(mailbox, -static_cast<int>(n));
        return taken;
    });
}

int SqliteStore::RemoveIdle(std::int64_t idleSinceMs) {
    return Apply([&](Transaction& tx) {
        std::vector<std::string> games;
        auto q = tx.Sql("SELECT game FROM games WHERE active_at_ms < ?");
        q.Bind(idleSinceMs);
        while (q.Step())
            games.push_back(q.Text(0));
        for (const auto& g : games) {
            tx.Sql("DELETE FROM messages WHERE game = ?").Bind(g).Run();
            tx.Sql("DELETE FROM games WHERE game = ?").Bind(g).Run();
            tx.ForgetGame(g);
        }
        return static_cast<int>(games.size());
    });
}

std::optional<long> SqliteStore::CountGames() {
    return Apply([&](Transaction& tx) {
        auto q = tx.Sql("SELECT count(*) FROM games");
        return q.Step() ? std::optional<long>(q.Int(0)) : std::nullopt;
    });
}

}  // namespace gd::server
