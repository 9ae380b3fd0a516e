// The game server's store in PostgreSQL: tables, statements and the connection pool.
#include "pg_store.h"

#include <libpq-fe.h>
#include <poll.h>

#include <cstdlib>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace gd::server {

namespace {

// Texts a player sends are kept as bytes (bytea): any byte a player sends is stored as sent,
// whatever the database's encoding.
constexpr const char* kSchema = R"(
BEGIN;
SELECT pg_advisory_xact_lock(47810001);
CREATE TABLE IF NOT EXISTS games(
    seq bigserial NOT NULL,
    game bytea PRIMARY KEY,
    host_address text NOT NULL,
    joiner_address text,
    waiting boolean NOT NULL,
    email bytea NOT NULL, name bytea NOT NULL, location bytea NOT NULL,
    played bytea NOT NULL, won bytea NOT NULL,
    is_private boolean NOT NULL, password bytea NOT NULL,
    expires_at_ms bigint NOT NULL,
    active_at_ms bigint NOT NULL,
    last_move_host bytea, last_move_joiner bytea);
CREATE INDEX IF NOT EXISTS games_waiting ON games(seq) WHERE waiting;
CREATE INDEX IF NOT EXISTS games_active ON games(active_at_ms);
CREATE TABLE IF NOT EXISTS messages(
    id bigserial PRIMARY KEY,
    game bytea NOT NULL REFERENCES games(game) ON DELETE CASCADE,
    side smallint NOT NULL,
    kind smallint NOT NULL,
    text bytea NOT NULL);
CREATE INDEX IF NOT EXISTS messages_box ON messages(game, side, id);
COMMIT;
)";

// Entering the waiting room is the one operation that counts rows it does not lock (the room's
// size); a transaction-wide lock of this number keeps two entries from passing one count.
constexpr const char* kRoomLock = "SELECT pg_advisory_xact_lock(47810002)";

// A failed statement with PostgreSQL's error code.
struct DatabaseError : std::runtime_error {
    DatabaseError(const std::string& what, std::string code)
        : std::runtime_error(what), sqlstate(std::move(code)) {}
    std::string sqlstate;
};

// Deadlocks and serialization failures undo the whole transaction, which may then run again.
bool WorthRetrying(const DatabaseError& e) {
    return e.sqlstate == "40001" || e.sqlstate == "40P01";
}

// Parameters of one statement: texts and numbers in text form, player texts as raw bytes.
class Params {
  public:
    Params& Text(std::string s) { return Add(std::move(s), 0); }
    Params& Bytes(std::string s) { return Add(std::move(s), 1); }
    Params& Int(std::int64_t n) { return Add(std::to_string(n), 0); }
    Params& Bool(bool b) { return Add(b ? "t" : "f", 0); }

    int Count() const { return static_cast<int>(values_.size()); }
    std::vector<const char*> Values() const {
        std::vector<const char*> v;
        for (const auto& s : values_)
            v.push_back(s.data());
        return v;
    }
    std::vector<int> Lengths() const {
        std::vector<int> v;
        for (const auto& s : values_)
            v.push_back(static_cast<int>(s.size()));
        return v;
    }
    const std::vector<int>& Formats() const { return formats_; }

  private:
    Params& Add(std::string s, int format) {
        values_.push_back(std::move(s));
        formats_.push_back(format);
        return *this;
    }
    std::vector<std::string> values_;
    std::vector<int> formats_;
};

// The rows of one statement, read in text form.
class Result {
  public:
    explicit Result(PGresult* r) : r_(r, &PQclear) {}
    int Rows() const { return PQntuples(r_.get()); }
    int Changed() const { return std::atoi(PQcmdTuples(r_.get())); }
    bool IsNull(int row, int col) const { return PQgetisnull(r_.get(), row, col) != 0; }
    std::string Text(int row, int col) const {
        return std::string(PQgetvalue(r_.get(), row, col),
                           static_cast<std::size_t>(PQgetlength(r_.get(), row, col)));
    }
    std::int64_t Int(int row, int col) const {
        return std::strtoll(PQgetvalue(r_.get(), row, col), nullptr, 10);
    }
    bool Bool(int row, int col) const { return PQgetvalue(r_.get(), row, col)[0] == 't'; }
    std::string Bytes(int row, int col) const {
        std::size_t length = 0;
        unsigned char* raw = PQunescapeBytea(
            reinterpret_cast<const unsigned char*>(PQgetvalue(r_.get(), row, col)), &length);
        if (!raw) throw std::runtime_error("out of memory reading bytes");
        std::string bytes(reinterpret_cast<const char*>(raw), length);
        PQfreemem(raw);
        return bytes;
    }

  private:
    std::unique_ptr<PGresult, decltype(&PQclear)> r_;
};

const char* LastMoveColumn(Side side) {
    return side == Side::Host ? "last_move_host" : "last_move_joiner";
}

}  // namespace

// One session with the database; its statements are prepared on first use and kept.
class PgStore::Connection {
  public:
    explicit Connection(const std::string& url) : c_(Connect(url), &PQfinish) {
        if (PQstatus(c_.get()) != CONNECTION_OK)
            throw std::runtime_error("cannot connect to PostgreSQL: " + Error());
        // The schema's "already exists, skipping" and the like are no news for the log.
        PQsetNoticeProcessor(
            c_.get(), [](void*, const char*) {}, nullptr);
    }

    bool Broken() const { return PQstatus(c_.get()) != CONNECTION_OK; }
    // Between operations a session holds no transaction, open or failed.
    bool ReadyForNext() const { return !Broken() && PQtransactionStatus(c_.get()) == PQTRANS_IDLE; }

    // Whether an idle session still stands: it has nothing to say between operations, so
    // anything on its socket is the database ending it (a restart, a fail-over).
    bool StillOpen() const {
        if (Broken()) return false;
        pollfd socket{PQsocket(c_.get()), POLLIN, 0};
        return ::poll(&socket, 1, 0) == 0;
    }

    // Statements without parameters: the schema and transaction control.
    void Exec(const char* sql) { Check(PQexec(c_.get(), sql), sql); }

    Result Run(const std::string& sql, const Params& p = Params()) {
        auto [it, added] = prepared_.try_emplace(sql, "s" + std::to_string(prepared_.size()));
        if (added) {
            try {
                Check(PQprepare(c_.get(), it->second.c_str(), sql.c_str(), 0, nullptr), sql);
            } catch (...) {
                prepared_.erase(it);
                throw;
            }
        }
        const auto values = p.Values();
        const auto lengths = p.Lengths();
        return Check(PQexecPrepared(c_.get(), it->second.c_str(), p.Count(), values.data(),
                                    lengths.data(), p.Formats().data(), 0),
                     sql);
    }

  private:
    // Settings of our own come first, so that the address's own override them: a database
    // machine that vanishes is noticed within about a minute, and a server process that
    // vanishes in the middle of a transaction (its machine cut off) releases its row locks
    // after 30 seconds.
    static PGconn* Connect(const std::string& url) {
        static const std::pair<const char*, const char*> kDefaults[] = {
            {"connect_timeout", "10"},
            {"keepalives_idle", "30"},
            {"keepalives_interval", "10"},
            {"keepalives_count", "3"},
            {"tcp_user_timeout", "30000"},
            {"options", "-c idle_in_transaction_session_timeout=30s"},
        };
        std::vector<const char*> keys, values;
        for (const auto& [key, value] : kDefaults) {
            keys.push_back(key);
            values.push_back(value);
        }
        keys.insert(keys.end(), {"dbname", nullptr});
        values.insert(values.end(), {url.c_str(), nullptr});
        return PQconnectdbParams(keys.data(), values.data(), 1);
    }

    std::string Error() const {
        std::string e = PQerrorMessage(c_.get());
        while (!e.empty() && (e.back() == '\n' || e.back() == ' '))
            e.pop_back();
        return e;
    }
    Result Check(PGresult* raw, const std::string& sql) {
        Result r(raw);
        const ExecStatusType st = PQresultStatus(raw);
        if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) return r;
        const char* code = raw ? PQresultErrorField(raw, PG_DIAG_SQLSTATE) : nullptr;
        throw DatabaseError(Error() + " (in: " + sql.substr(0, 60) + ")", code ? code : "");
    }

    std::unique_ptr<PGconn, decltype(&PQfinish)> c_;
    std::unordered_map<std::string, std::string> prepared_;
};

namespace {

// One transaction: rolled back unless committed, and run again after a deadlock.
template <class Work>
auto InTransaction(PgStore::Connection& c, Work work) -> decltype(work()) {
    for (int attempt = 1;; ++attempt) {
        c.Exec("BEGIN");
        try {
            auto result = work();
            c.Exec("COMMIT");
            return result;
        } catch (const DatabaseError& e) {
            if (!c.Broken()) c.Exec("ROLLBACK");
            if (attempt >= 3 || c.Broken() || !WorthRetrying(e)) throw;
        } catch (...) {
            if (!c.Broken()) c.Exec("ROLLBACK");
            throw;
        }
    }
}

}  // namespace

namespace {

// Whether every table and index of the schema exists. A process that starts beside running ones
// finds them all and takes no lock: creating them, even "if not exists", locks the tables in the
// opposite order to posts, which may deadlock with a post.
bool SchemaExists(PgStore::Connection& c) {
    return c
        .Run(
            "SELECT to_regclass('games') IS NOT NULL AND to_regclass('games_waiting') IS NOT NULL "
            "AND to_regclass('games_active') IS NOT NULL AND to_regclass('messages') IS NOT NULL "
            "AND to_regclass('messages_box') IS NOT NULL")
        .Bool(0, 0);
}

void CreateSchema(PgStore::Connection& c) {
    for (int attempt = 1; !SchemaExists(c); ++attempt) {
        try {
            c.Exec(kSchema);
        } catch (const DatabaseError& e) {
            if (c.Broken()) throw;
            c.Exec("ROLLBACK");
            if (attempt >= 5 || !WorthRetrying(e)) throw;
        }
    }
}

}  // namespace

PgStore::PgStore(const std::string& url, int connections) : url_(url), limit_(connections) {
    CreateSchema(*Acquire());
}

PgStore::~PgStore() = default;

PgStore::Lease::Lease(PgStore& store, std::unique_ptr<Connection> c)
    : store_(store), connection_(std::move(c)) {}

PgStore::Lease::~Lease() {
    store_.Release(std::move(connection_));
    if (store_.commitObserver_)
        store_.commitObserver_->Committed(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count(),
            std::uncaught_exceptions() == exceptions_);
}

PgStore::Lease PgStore::Acquire() {
    std::unique_lock<std::mutex> hold(lock_);
    released_.wait(hold, [this] { return !idle_.empty() || open_ < limit_; });
    while (!idle_.empty()) {
        auto c = std::move(idle_.back());
        idle_.pop_back();
        if (c->StillOpen()) return Lease(*this, std::move(c));
        --open_;
    }
    ++open_;
    hold.unlock();
    try {
        return Lease(*this, std::make_unique<Connection>(url_));
    } catch (...) {
        hold.lock();
        --open_;
        released_.notify_one();
        throw;
    }
}

void PgStore::Release(std::unique_ptr<Connection> c) {
    std::lock_guard<std::mutex> hold(lock_);
    // A lost session, or one left inside a transaction, is dropped; the next operation opens a
    // new one.
    if (!c->ReadyForNext()) {
        --open_;
    } else {
        idle_.push_back(std::move(c));
    }
    released_.notify_one();
}

EnterOutcome PgStore::Enter(const WaitingEntry& e, int roomSize, std::int64_t nowMs) {
    Lease c = Acquire();
    return InTransaction(*c, [&] {
        c->Run(kRoomLock);
        c->Run("DELETE FROM games WHERE waiting AND expires_at_ms <= $1", Params().Int(nowMs));
        if (c->Run("SELECT count(*) FROM games WHERE waiting").Int(0, 0) >= roomSize)
            return EnterOutcome::Full;
        const Result added = c->Run(
            "INSERT INTO games(game, host_address, waiting, email, name, location, played, won, "
            "is_private, password, expires_at_ms, active_at_ms) "
            "VALUES($1, $2, true, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
            "ON CONFLICT (game) DO NOTHING",
            Params()
                .Bytes(e.game)
                .Text(e.hostAddress)
                .Bytes(e.email)
                .Bytes(e.name)
                .Bytes(e.location)
                .Bytes(e.played)
                .Bytes(e.won)
                .Bool(e.isPrivate)
                .Bytes(e.password)
                .Int(e.expiresAtMs)
                .Int(nowMs));
        return added.Changed() == 1 ? EnterOutcome::Entered : EnterOutcome::TakenGame;
    });
}

std::vector<WaitingEntry> PgStore::ListWaiting(std::int64_t nowMs) {
    Lease c = Acquire();
    const Result r = c->Run(
        "SELECT game, email, name, location, played, won, is_private, password, expires_at_ms, "
        "host_address FROM games WHERE waiting AND expires_at_ms > $1 ORDER BY seq",
        Params().Int(nowMs));
    std::vector<WaitingEntry> entries;
    for (int i = 0; i < r.Rows(); ++i) {
        entries.push_back({r.Bytes(i, 0), r.Bytes(i, 1), r.Bytes(i, 2), r.Bytes(i, 3),
                           r.Bytes(i, 4), r.Bytes(i, 5), r.Bool(i, 6), r.Bytes(i, 7), r.Int(i, 8),
                           r.Text(i, 9)});
    }
    return entries;
}

JoinOutcome PgStore::Join(const std::string& game, const std::string& password,
                          const std::string& address, std::int64_t nowMs) {
    Lease c = Acquire();
    // One statement: of two players joining at once, the second finds the game not waiting.
    const Result joined = c->Run(
        "UPDATE games SET waiting = false, joiner_address = $3, active_at_ms = $4 "
        "WHERE game = $1 AND waiting AND expires_at_ms > $4 AND (NOT is_private OR password = $2)",
        Params().Bytes(game).Bytes(password).Text(address).Int(nowMs));
    if (joined.Changed() == 1) return JoinOutcome::Joined;
    const Result waits =
        c->Run("SELECT 1 FROM games WHERE game = $1 AND waiting AND expires_at_ms > $2",
               Params().Bytes(game).Int(nowMs));
    return waits.Rows() > 0 ? JoinOutcome::BadPassword : JoinOutcome::NotWaiting;
}

bool PgStore::Leave(const std::string& game, const std::string& address, bool bound) {
    Lease c = Acquire();
    return c->Run("DELETE FROM games WHERE game = $1 AND waiting AND (NOT $2 OR host_address = $3)",
                  Params().Bytes(game).Bool(bound).Text(address))
               .Changed() > 0;
}

PostOutcome PgStore::Post(const PostRequest& r) {
    const Side poster = Partner(r.to);
    const bool isMove = r.message.kind == MessageKind::Move;
    Lease c = Acquire();
    return InTransaction(*c, [&] {
        // The game's row stays locked to the end: posts into one game run one after another, so
        // the retried-move rule and the mailbox limit see every earlier post.
        const Result game = c->Run(
            "SELECT host_address, joiner_address, last_move_host, last_move_joiner "
            "FROM games WHERE game = $1 AND NOT waiting FOR NO KEY UPDATE",
            Params().Bytes(r.game));
        if (game.Rows() == 0) return PostOutcome::NotAllowed;
        const int posterColumn = poster == Side::Host ? 0 : 1;
        if (r.bound && game.Text(0, posterColumn) != r.address) return PostOutcome::NotAllowed;
        const int lastMove = r.to == Side::Host ? 2 : 3;
        if (isMove && !game.IsNull(0, lastMove) && game.Bytes(0, lastMove) == r.message.text) {
            c->Run("UPDATE games SET active_at_ms = $2 WHERE game = $1",
                   Params().Bytes(r.game).Int(r.nowMs));
            return PostOutcome::Repeated;
        }
        const Result stored = c->Run(
            "INSERT INTO messages(game, side, kind, text) "
            "SELECT $1::bytea, $2::smallint, $3::smallint, $4::bytea "
            "WHERE (SELECT count(*) FROM messages WHERE game = $1 AND side = $2) < $5",
            Params()
                .Bytes(r.game)
                .Int(static_cast<int>(r.to))
                .Int(static_cast<int>(r.message.kind))
                .Bytes(r.message.text)
                .Int(r.maxPending));
        if (stored.Changed() == 0) return PostOutcome::MailboxFull;
        if (isMove) {
            c->Run(std::string("UPDATE games SET active_at_ms = $2, ") + LastMoveColumn(r.to) +
                       " = $3, " + LastMoveColumn(poster) + " = NULL WHERE game = $1",
                   Params().Bytes(r.game).Int(r.nowMs).Bytes(r.message.text));
        } else {
            c->Run("UPDATE games SET active_at_ms = $2 WHERE game = $1",
                   Params().Bytes(r.game).Int(r.nowMs));
        }
        return PostOutcome::Stored;
    });
}

std::vector<Message> PgStore::Take(const TakeRequest& r) {
    const int side = static_cast<int>(r.reader);
    Lease c = Acquire();
    // One round trip answers the usual poll: a foreign or empty mailbox.
    const Result game = c->Run(
        "SELECT host_address, joiner_address, "
        "EXISTS (SELECT 1 FROM messages WHERE game = $1 AND side = $2) FROM games WHERE game = $1",
        Params().Bytes(r.game).Int(side));
    if (game.Rows() == 0) return {};
    const int readerColumn = r.reader == Side::Host ? 0 : 1;
    if (r.bound && (game.IsNull(0, readerColumn) || game.Text(0, readerColumn) != r.address))
        return {};
    if (!game.Bool(0, 2)) return {};

    return InTransaction(*c, [&] {
        // FOR UPDATE without SKIP LOCKED: a second reader waits for the first, then finds the
        // messages the first took gone and starts after them, so no message is read twice and
        // none overtakes an older one. A read delivers at most one message of each kind, so
        // eight rows are more than one read can take.
        const Result pending = c->Run(
            "SELECT id, kind, text FROM messages WHERE game = $1 AND side = $2 "
            "ORDER BY id LIMIT 8 FOR UPDATE",
            Params().Bytes(r.game).Int(side));
        std::vector<Message> messages;
        for (int i = 0; i < pending.Rows(); ++i)
            messages.push_back({static_cast<MessageKind>(pending.Int(i, 1)), pending.Bytes(i, 2)});
        const std::size_t n = DeliverableCount(messages);
        messages.resize(n);
        if (n == 0) return messages;
        std::string ids = "{";
        for (std::size_t i = 0; i < n; ++i)
            ids += (i ? "," : "") + pending.Text(static_cast<int>(i), 0);
        c->Run("DELETE FROM messages WHERE id = ANY($1::bigint[])", Params().Text(ids + "}"));
        return messages;
    });
}

int PgStore::RemoveIdle(std::int64_t idleSinceMs) {
    Lease c = Acquire();
    // The messages of each removed game go with it (ON DELETE CASCADE).
    return c->Run("DELETE FROM games WHERE active_at_ms < $1", Params().Int(idleSinceMs)).Changed();
}

std::optional<long> PgStore::CountGames() {
    Lease c = Acquire();
    return c->Run("SELECT count(*) FROM games").Int(0, 0);
}

}  // namespace gd::server
