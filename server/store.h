// Where the game server keeps its waiting room, its games and their mailboxes.
//
// Every operation below is one transaction of the store, and everything that makes two requests
// depend on each other (the waiting room, game numbers, the players' addresses, the mailboxes and
// the retried-move rule) lives in the store, not in a server process. So several server
// processes that share one store (one PostgreSQL database) behave as one server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_wire.h"

namespace gd::server {

// Messages, their kinds and the two sides of a game, as the wire names them.
using wire::Message;
using wire::MessageKind;
using wire::Partner;
using wire::Side;

// One waiting player. Times are wall-clock milliseconds since 1970, shared by every process.
struct WaitingEntry {
    std::string game;  // the game number, chosen by the caller
    std::string email;
    std::string name;
    std::string location;
    std::string played;
    std::string won;
    bool isPrivate = false;
    std::string password;
    std::int64_t expiresAtMs = 0;  // when the wait time has passed
    std::string hostAddress;       // the address that entered
};

enum class EnterOutcome {
    Entered,
    Full,       // roomSize entries wait already
    TakenGame,  // the game number exists already; the caller draws another
};

enum class JoinOutcome {
    Joined,
    BadPassword,  // a private game and another password
    NotWaiting,   // unknown number, joined already, withdrawn or expired
};

enum class PostOutcome {
    Stored,
    Repeated,     // a retried move: acknowledged, not stored again
    NotAllowed,   // no such game, not joined yet, or another address (when bound)
    MailboxFull,  // maxPending messages wait in the mailbox already
};

struct PostRequest {
    std::string game;
    Side to = Side::Host;  // whose mailbox: "s" + game is the host's, "c" + game the joiner's
    Message message;
    std::string address;  // the poster's address
    bool bound = true;    // when false, any address may post once the game is joined
    int maxPending = 64;
    std::int64_t nowMs = 0;
};

struct TakeRequest {
    std::string game;
    Side reader = Side::Host;  // whose mailbox
    std::string address;       // the reader's address
    bool bound = true;         // when false, any address may read an existing game's mailbox
    std::int64_t nowMs = 0;
    // The batch the reader confirms it received (0 when none yet); nothing for a plain read.
    std::optional<std::int64_t> confirm;
};

// What one read delivers: messages oldest first, and the batch number the next read confirms
// (0 for a plain read, whose messages are gone at once).
struct Batch {
    std::vector<Message> messages;
    std::int64_t number = 0;
};

// The server's decisions, which every store calls inside its own transactions on the rows it
// read, so that the stores differ only in their SQL (store_rules.cpp).

// How many of a mailbox's pending messages (oldest first) one read returns: the oldest ones in
// posting order up to, not including, the first that repeats a kind; "Quit" only when it is the
// oldest; "Start" and "Data" only alone.
std::size_t DeliverableCount(const std::vector<Message>& pendingOldestFirst);

// Whether a wait that ends at expiresAtMs has passed at nowMs (its entry then goes).
bool WaitHasPassed(std::int64_t expiresAtMs, std::int64_t nowMs);

// Whether one more player may enter a room where `waiting` players wait whose waits go on.
bool RoomHasSpace(std::int64_t waiting, int roomSize);

// Whether `address` may act for a side bound to `sideAddress` (nothing: the side is not taken
// yet). When not `bound`, any address may.
bool MayActFor(const std::optional<std::string>& sideAddress, const std::string& address,
               bool bound);

// A join of a game that still waits: a private game needs its password, compared exactly; a
// public game ignores it.
JoinOutcome JoinOfWaitingGame(bool isPrivate, const std::string& storedPassword,
                              const std::string& password);

// A retried move: a Move whose text equals the last move stored into the mailbox (nothing when
// the partner has moved since, or none was stored), which is acknowledged but not stored again.
bool IsRetriedMove(const Message& message, const std::optional<std::string>& lastMoveInto);

// Told of each commit a store makes: how long its transaction took from its start to its commit,
// and whether what it carried is durable.
class CommitObserver {
  public:
    virtual ~CommitObserver() = default;
    virtual void Committed(double seconds, bool durable) = 0;
};

class Store {
  public:
    virtual ~Store() = default;

    // Tells `observer` of every commit from now on; set before the store is shared.
    void ObserveCommits(CommitObserver* observer) { commitObserver_ = observer; }

    // How many games the store holds, each with its two mailboxes; nothing from a store that
    // cannot say.
    virtual std::optional<long> CountGames() { return std::nullopt; }

    // Adds a waiting player after removing the entries whose wait has passed (expiresAtMs <=
    // nowMs, with their games). Creates the game with its two empty mailboxes; the host's address
    // is bound to the host's side.
    virtual EnterOutcome Enter(const WaitingEntry& entry, int roomSize, std::int64_t nowMs) = 0;

    // The players still waiting at nowMs, in the order they entered.
    virtual std::vector<WaitingEntry> ListWaiting(std::int64_t nowMs) = 0;

    // Joins a waiting game: a private game needs its password (compared exactly; a public game
    // ignores it). The entry leaves the waiting room and the address is bound to the joiner's side.
    virtual JoinOutcome Join(const std::string& game, const std::string& password,
                             const std::string& address, std::int64_t nowMs) = 0;

    // Withdraws a game that still waits, with its mailboxes. When `bound`, only the host's address
    // may. Returns whether an entry went.
    virtual bool Leave(const std::string& game, const std::string& address, bool bound) = 0;

    // Stores one message at the end of the mailbox, durably, before returning Stored. Allowed only
    // once the game is joined, and when `bound` only from the address of the side that posts into
    // this mailbox (the partner of `to`). A retried move: a Move whose text equals the last Move
    // stored into this mailbox, with no Move stored into the partner's mailbox since, is answered
    // Repeated and not stored. Marks the game active at nowMs.
    virtual PostOutcome Post(const PostRequest& request) = 0;

    // Reads, in one transaction, the first DeliverableCount(pending) pending messages of the
    // mailbox, oldest first. A plain read removes them at once, so each message reaches exactly
    // one read (also when several processes read one mailbox at once). A read that confirms a
    // batch removes that batch's messages, then delivers again the batch still unconfirmed, if
    // any (its reply never arrived), else marks the messages it delivers as a new batch, kept
    // until a later read confirms it. Returns nothing (and changes nothing) when the game is
    // unknown, or, when `bound`, the address is not the reader side's (the joiner's side is
    // bound only by the join). No messages is an empty mailbox.
    virtual Batch Take(const TakeRequest& request) = 0;

    // A cheap, possibly stale hint for polls: false only when the mailbox certainly holds no
    // message right now. A store without such a hint answers true.
    virtual bool MayHaveMessages(const std::string& game, Side reader) {
        (void)game;
        (void)reader;
        return true;
    }

    // Removes games, with their mailboxes and waiting entries, that were neither entered, joined
    // nor posted to since idleSinceMs. Returns how many went.
    virtual int RemoveIdle(std::int64_t idleSinceMs) = 0;

  protected:
    CommitObserver* commitObserver_ = nullptr;
};

}  // namespace gd::server
