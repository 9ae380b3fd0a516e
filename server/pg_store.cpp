// The game server's store in PostgreSQL: tables, statements and the connection pool.
#include "pg_store.h"

#include <libpq-fe.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <optional>
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
ALTER TABLE messages ADD COLUMN IF NOT EXISTS batch bigint;
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

// The channel on which every process announces the mailboxes it posted into.
constexpr const char* kMailChannel = "glyphdrop_mail";

// A mailbox as the channel names it: the reader's side, then the game number in hex, so any
// bytes of a game number make a valid payload.
std::string MailboxName(const std::string& game, Side reader) {
    static const char* hex = "0123456789abcdef";
    std::string name(1, reader == Side::Host ? '0' : '1');
    for (const char ch : game) {
        const auto c = static_cast<unsigned char>(ch);
        name += hex[c >> 4];
        name += hex[c & 15];
    }
    return name;
}

std::optional<std::string> TextOrNothing(const Result& r, int row, int col) {
    return r.IsNull(row, col) ? std::nullopt : std::optional<std::string>(r.Text(row, col));
}
std::optional<std::string> BytesOrNothing(const Result& r, int row, int col) {
    return r.IsNull(row, col) ? std::nullopt : std::optional<std::string>(r.Bytes(row, col));
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

    // The session's socket, its input read so far, and the next notification it brought (freed
    // by the caller with PQfreemem); for the listening session.
    int Socket() const { return PQsocket(c_.get()); }
    bool ConsumeInput() { return PQconsumeInput(c_.get()) == 1; }
    PGnotify* NextNotification() { return PQnotifies(c_.get()); }

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

// Whether every table, column and index of the schema exists. A process that starts beside running
// ones finds them all and takes no lock: creating them, even "if not exists", locks the tables in
// the opposite order to posts, which may deadlock with a post.
bool SchemaExists(PgStore::Connection& c) {
    return c
        .Run(
            "SELECT to_regclass('games') IS NOT NULL AND to_regclass('games_waiting') IS NOT NULL "
            "AND to_regclass('games_active') IS NOT NULL AND to_regclass('messages') IS NOT NULL "
            "AND to_regclass('messages_box') IS NOT NULL AND EXISTS (SELECT 1 FROM pg_attribute "
            "WHERE attrelid = to_regclass('messages') AND attname = 'batch' AND NOT attisdropped)")
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
    listener_ = std::thread([this] { Listen(); });
}

PgStore::~PgStore() {
    stopping_ = true;
    listener_.join();
}

bool PgStore::Marks::MayHave(const std::string& mailbox) const {
    std::lock_guard<std::mutex> hold(lock_);
    return !listening_ || marked_.count(mailbox) > 0;
}

std::uint64_t PgStore::Marks::Notified(const std::string& mailbox) const {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = marked_.find(mailbox);
    return it == marked_.end() ? 0 : it->second;
}

void PgStore::Marks::Mark(const std::string& mailbox) {
    std::lock_guard<std::mutex> hold(lock_);
    ++marked_[mailbox];
}

void PgStore::Marks::Unmark(const std::string& mailbox, std::uint64_t notified) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = marked_.find(mailbox);
    if (it != marked_.end() && it->second == notified) marked_.erase(it);
}

void PgStore::Marks::SetListening(bool listening) {
    std::lock_guard<std::mutex> hold(lock_);
    listening_ = listening;
}

// One listening session at a time, opened again when lost. It listens before it reads which
// mailboxes hold messages, so a post committed after that reading is notified and one committed
// before it is found by it.
void PgStore::Listen() {
    while (!stopping_) {
        try {
            Connection c(url_);
            c.Exec((std::string("LISTEN ") + kMailChannel).c_str());
            const Result boxes = c.Run("SELECT DISTINCT game, side FROM messages");
            for (int i = 0; i < boxes.Rows(); ++i)
                marks_.Mark(MailboxName(boxes.Bytes(i, 0), static_cast<Side>(boxes.Int(i, 1))));
            marks_.SetListening(true);
            while (!stopping_ && c.ConsumeInput() && !c.Broken()) {
                while (PGnotify* n = c.NextNotification()) {
                    marks_.Mark(n->extra);
                    PQfreemem(n);
                }
                pollfd socket{c.Socket(), POLLIN, 0};
                ::poll(&socket, 1, 200);
            }
        } catch (const std::exception&) {
        }
        marks_.SetListening(false);
        for (int i = 0; i < 5 && !stopping_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool PgStore::MayHaveMessages(const std::string& game, Side reader) {
    return marks_.MayHave(MailboxName(game, reader));
}

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
        const Result waiting = c->Run("SELECT game, expires_at_ms FROM games WHERE waiting");
        std::int64_t staying = 0;
        for (int i = 0; i < waiting.Rows(); ++i) {
            if (WaitHasPassed(waiting.Int(i, 1), nowMs))
                c->Run("DELETE FROM games WHERE game = $1", Params().Bytes(waiting.Bytes(i, 0)));
            else
                ++staying;
        }
        if (!RoomHasSpace(staying, roomSize)) return EnterOutcome::Full;
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
        "host_address FROM games WHERE waiting ORDER BY seq");
    std::vector<WaitingEntry> entries;
    for (int i = 0; i < r.Rows(); ++i) {
        if (WaitHasPassed(r.Int(i, 8), nowMs)) continue;
        entries.push_back({r.Bytes(i, 0), r.Bytes(i, 1), r.Bytes(i, 2), r.Bytes(i, 3),
                           r.Bytes(i, 4), r.Bytes(i, 5), r.Bool(i, 6), r.Bytes(i, 7), r.Int(i, 8),
                           r.Text(i, 9)});
    }
    return entries;
}

JoinOutcome PgStore::Join(const std::string& game, const std::string& password,
                          const std::string& address, std::int64_t nowMs) {
    Lease c = Acquire();
    return InTransaction(*c, [&] {
        // The row stays locked to the end: of two players joining at once, the second finds the
        // game not waiting any more.
        const Result g = c->Run(
            "SELECT is_private, password, expires_at_ms FROM games WHERE game = $1 AND waiting "
            "FOR UPDATE",
            Params().Bytes(game));
        if (g.Rows() == 0 || WaitHasPassed(g.Int(0, 2), nowMs)) return JoinOutcome::NotWaiting;
        const JoinOutcome outcome = JoinOfWaitingGame(g.Bool(0, 0), g.Bytes(0, 1), password);
        if (outcome == JoinOutcome::Joined)
            c->Run(
                "UPDATE games SET waiting = false, joiner_address = $2, active_at_ms = $3 "
                "WHERE game = $1",
                Params().Bytes(game).Text(address).Int(nowMs));
        return outcome;
    });
}

bool PgStore::Leave(const std::string& game, const std::string& address, bool bound) {
    Lease c = Acquire();
    return InTransaction(*c, [&] {
        const Result g =
            c->Run("SELECT host_address FROM games WHERE game = $1 AND waiting FOR UPDATE",
                   Params().Bytes(game));
        if (g.Rows() == 0 || !MayActFor(g.Text(0, 0), address, bound)) return false;
        c->Run("DELETE FROM games WHERE game = $1", Params().Bytes(game));
        return true;
    });
}

PostOutcome PgStore::Post(const PostRequest& r) {
    const Side poster = Partner(r.to);
    const bool isMove = r.message.kind == MessageKind::Move;
    const std::string mailbox = MailboxName(r.game, r.to);
    Lease c = Acquire();
    const PostOutcome outcome = InTransaction(*c, [&] {
        // The game's row stays locked to the end: posts into one game run one after another, so
        // the retried-move rule and the mailbox limit see every earlier post.
        const Result game = c->Run(
            "SELECT host_address, joiner_address, last_move_host, last_move_joiner "
            "FROM games WHERE game = $1 AND NOT waiting FOR NO KEY UPDATE",
            Params().Bytes(r.game));
        if (game.Rows() == 0) return PostOutcome::NotAllowed;
        if (!MayActFor(TextOrNothing(game, 0, poster == Side::Host ? 0 : 1), r.address, r.bound))
            return PostOutcome::NotAllowed;
        if (IsRetriedMove(r.message, BytesOrNothing(game, 0, r.to == Side::Host ? 2 : 3))) {
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
        // Sent to every listening process when this transaction commits.
        c->Run("SELECT pg_notify($1, $2)", Params().Text(kMailChannel).Text(mailbox));
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
    // This process's own reads see the post at once, before its notification comes round.
    if (outcome == PostOutcome::Stored) marks_.Mark(mailbox);
    return outcome;
}

Batch PgStore::Take(const TakeRequest& r) {
    const int side = static_cast<int>(r.reader);
    const std::string mailbox = MailboxName(r.game, r.reader);
    // Taken before the query: a post notified after it may be one the query did not see.
    const std::uint64_t notified = marks_.Notified(mailbox);
    Lease c = Acquire();
    // One round trip answers the usual poll: a foreign or empty mailbox.
    const Result game = c->Run(
        "SELECT host_address, joiner_address, "
        "EXISTS (SELECT 1 FROM messages WHERE game = $1 AND side = $2) FROM games WHERE game = $1",
        Params().Bytes(r.game).Int(side));
    if (game.Rows() == 0) {
        marks_.Unmark(mailbox, notified);
        return {};
    }
    if (!MayActFor(TextOrNothing(game, 0, r.reader == Side::Host ? 0 : 1), r.address, r.bound))
        return {};
    if (!game.Bool(0, 2)) {
        marks_.Unmark(mailbox, notified);
        return {};
    }

    return InTransaction(*c, [&] {
        Batch taken;
        if (r.confirm) {
            c->Run("DELETE FROM messages WHERE game = $1 AND side = $2 AND batch = $3",
                   Params().Bytes(r.game).Int(side).Int(*r.confirm));
            const Result unconfirmed = c->Run(
                "SELECT kind, text, batch FROM messages WHERE game = $1 AND side = $2 "
                "AND batch IS NOT NULL ORDER BY id FOR UPDATE",
                Params().Bytes(r.game).Int(side));
            for (int i = 0; i < unconfirmed.Rows(); ++i) {
                taken.messages.push_back(
                    {static_cast<MessageKind>(unconfirmed.Int(i, 0)), unconfirmed.Bytes(i, 1)});
                taken.number = unconfirmed.Int(i, 2);
            }
            if (!taken.messages.empty()) return taken;
        }
        // FOR UPDATE without SKIP LOCKED: a second reader waits for the first, then finds the
        // messages the first took gone and starts after them, so no message is read twice and
        // none overtakes an older one. A read delivers at most one message of each kind, so
        // eight rows are more than one read can take.
        const Result pending = c->Run(
            "SELECT id, kind, text FROM messages WHERE game = $1 AND side = $2 "
            "ORDER BY id LIMIT 8 FOR UPDATE",
            Params().Bytes(r.game).Int(side));
        for (int i = 0; i < pending.Rows(); ++i)
            taken.messages.push_back(
                {static_cast<MessageKind>(pending.Int(i, 1)), pending.Bytes(i, 2)});
        const std::size_t n = DeliverableCount(taken.messages);
        taken.messages.resize(n);
        if (n == 0) return taken;
        std::string ids = "{";
        for (std::size_t i = 0; i < n; ++i)
            ids += (i ? "," : "") + pending.Text(static_cast<int>(i), 0);
        ids += "}";
        if (r.confirm) {
            // The batch is named by its first message, so numbers only grow in a mailbox.
            taken.number = pending.Int(0, 0);
            c->Run("UPDATE messages SET batch = $2 WHERE id = ANY($1::bigint[])",
                   Params().Text(ids).Int(taken.number));
        } else {
            c->Run("DELETE FROM messages WHERE id = ANY($1::bigint[])", Params().Text(ids));
        }
        return taken;
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
