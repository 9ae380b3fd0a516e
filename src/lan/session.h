// The LAN session layer as the LAN controller sees it: connection methods, sessions, players
// and text messages between the two sides. No Qt here; the real layer is made by MakeLanRoot.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "services.h"

namespace gd {

// System message types, as a receive reports them.
constexpr int kSysPlayerJoined = 3;      // the other player has joined (its name in shortName)
constexpr int kSysAddedToGroup = 7;      // also a join, from layers that report it so
constexpr int kSysPlayerLeft = 5;        // the other player has left in order
constexpr int kSysSessionLost = 49;      // no heartbeat for a while, or the connection broke
constexpr int kSysMessageRefused = 900;  // our own: a frame refused where it entered
constexpr int kSysNotJoined = 901;       // our own, to a waiting host: connections closed unjoined

// The longest text one message carries.
constexpr std::size_t kMaxLanText = 4095;

// One received message. A system message has `from` 0 and its `type`; a player message has the
// sender's side (1 host, 2 joiner) in `from` and its text.
struct LanMessage {
    int from = 0;
    std::string text;
    int type = 0;
    std::string shortName;
};

struct LanSessionInfo {
    std::string name;  // the waiting host's player name
    std::uint32_t instance = 0;
};

// How a session listing ended.
enum class ListFailure { None, NoSessions, Unsupported };
struct SessionListing {
    ListFailure failure = ListFailure::None;
    std::vector<LanSessionInfo> sessions;
};

// What hosting or joining gave: on success the host's player name; otherwise a text for the user.
struct OpenResult {
    bool ok = false;
    std::string hostName;
    std::string error;
};

// One connection, initialised for one connection method.
class LanConnection {
  public:
    virtual ~LanConnection() = default;
    // The sessions of this game that wait for a second player, gathered for `timeoutMs`.
    virtual SessionListing ListSessions(int timeoutMs) = 0;
    // The same without waiting: what has been heard so far, each call asking again now and then,
    // so that calls a moment apart follow hosts that appear, start a game or leave.
    virtual SessionListing WatchSessions() = 0;
    // Opens a two-player session named after `name` and announces it.
    virtual OpenResult Host(const std::string& name) = 0;
    // Joins a session from the last listing as the player `name`.
    virtual OpenResult Join(std::uint32_t instance, const std::string& name) = 0;
    // Sends one text from side `from` to side `to`; false when it cannot go (no peer, or longer
    // than kMaxLanText).
    virtual bool Send(int from, int to, const std::string& text) = 0;
    // The next waiting message, or nothing.
    virtual std::optional<LanMessage> Receive() = 0;
    // Leaves the session in order; the other side hears type 5.
    virtual void Close() = 0;
};

// The session layer's root: its connection methods in a fixed order.
class LanRoot {
  public:
    virtual ~LanRoot() = default;
    virtual std::vector<std::string> ListProviders() = 0;
    // A connection for the method at `index`, or nothing for an index out of range.
    virtual std::unique_ptr<LanConnection> InitializeConnection(int index) = 0;
};

// Ports and timings of the real layer. Tests choose other ports so that two never collide, and
// may give the beat check a clock of their own, so that no test waits out a loss.
struct LanOptions {
    int udpPort = 27820;  // discovery
    int tcpPort = 27821;  // sessions; the host listens here
    int heartbeatMs = 1000;
    int lossMs = 5000;          // no frame for this long: the connection is lost
    int joinDeadlineMs = 1500;  // a new connection must send a valid join within this
    int beatCheckMs = 250;      // how often the three times above are checked
    Clock* clock = nullptr;     // what they are measured on; none: the system's steady clock
    int watchAskMs = 500;       // a watched listing asks again this often
    int watchForgetMs = 1600;   // and forgets a host not heard from for this long
    std::string appId;          // empty: the game's own identifier
};

// The real layer over the local network and loopback. Needs a running Qt event loop.
std::unique_ptr<LanRoot> MakeLanRoot(const LanOptions& options = {});

}  // namespace gd
