// The LAN game without Qt: the connection-method, host-or-join and session windows' handlers,
// the `lantimer` tick of a LAN game, and the LAN move and chat sends. Windows show what these
// return; the session layer is reached only through `LanRoot` and `LanConnection`.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "match.h"
#include "profile.h"
#include "services.h"
#include "session.h"
#include "state.h"

namespace gd {

// The host's `SecondPlayer` while he waits for an opponent.
inline const std::string kWaitingForPlayer = "Waiting For Player";
// The row that stands for a modem provider, which is never offered (see LanProviderRows).
inline const std::string kModemRow = "     ";
constexpr int kLanHelpTopic = 70;
// The session window asks the network this often while it is open.
constexpr int kSessionRefreshMs = 250;
// The longest chat line one LAN message carries, after its kind "m".
constexpr std::size_t kMaxLanChat = kMaxLanText - 1;

// What the window whose handler ran does next.
enum class LanNext {
    Stay,               // the window stays open
    Close,              // the window unloads
    ShowNetSelectPlay,  // the window unloads; the host-or-join window shows
    ShowSelectWaiting,  // the window unloads; the session window shows
};

// The connection-method window `Provider`: its rows and its timer `Timer1`.
struct ProviderList {
    std::vector<std::string> lstProviders;
    int selected = -1;
    TimerState Timer1{false, 50};
};

// One node of `tvSessions`; the tag is the session's instance number, empty for no session.
struct SessionNode {
    std::string text;
    std::string tag;
};
// The session window's tree: the root "Players Waiting" and its children, and the timer that
// keeps it following the network.
struct SessionTree {
    std::string root;
    std::vector<SessionNode> children;
    bool expanded = false;
    TimerState tmrSessions{false, kSessionRefreshMs};
};

// The LAN controller, and the seat of an opponent on the LAN connection.
class LanController : public OpponentSeat {
  public:
    LanController(GameState& s, Services& sv, Match& match, ProfileFile profiles);
    ~LanController();

    // The menu entry, after the internet questions: a new root for this LAN set-up.
    void NewLanRoot(std::unique_ptr<LanRoot> root);
    bool HasConnection() const { return connection_ != nullptr; }

    // Connection-method window.
    ProviderList ProviderLoad();
    LanNext ProviderAccept(const ProviderList& w);
    LanNext ProviderTimer1Tick(ProviderList& w);

    // Host-or-join window: OK with "I want to start a new game." (`startNew`) or joining.
    LanNext NetSelectPlayOk(bool startNew);

    // Session window: opening, and each tick of its timer.
    SessionTree SelectWaitingLoad();
    void tmrSessionsTick(SessionTree& tree);
    LanNext SelectWaitingJoin(const SessionNode* selected);

    // A `lantimer` tick of a LAN game: at most one message.
    void LanTimerTick();
    // A chat line, to the other side; false, with a status line saying why, when it could not go.
    bool SendChat(const std::string& chatText);

    // The seat: our move as "M" + letter + hole, a tick, a chat line, and leaving, which closes
    // the session in order (the other side hears that its opponent has left).
    void SendMove(const Move& move) override;
    void Tick() override { LanTimerTick(); }
    bool Chat(const std::string& line) override { return SendChat(line); }
    void Leave(GameEnd why) override;
    TimerState& Timer() override { return s_.lantimer; }

  private:
    void Waiting(const LanMessage& m);
    void Playing(const LanMessage& m);
    void PlayerMessage(const std::string& text);
    void SystemMessage(const LanMessage& m);
    void SendProfile();
    bool InitializeConnection(int row);
    bool Send(const std::string& text);

    GameState& s_;
    Services& sv_;
    Match& match_;
    ProfileFile profiles_;
    std::unique_ptr<LanRoot> root_;              // `LanRoot`
    std::unique_ptr<LanConnection> connection_;  // `LanConnection`
    bool autoChoiceRan_ = false;                 // the stored method is chosen at most once per run
};

}  // namespace gd
