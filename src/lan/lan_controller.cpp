// The LAN set-up windows' handlers and the LAN game loop, step by step.
#include "lan_controller.h"

#include <cstdlib>

#include "move.h"
#include "rules.h"
#include "settings.h"
#include "text.h"

namespace gd {

namespace {

const std::string kHostWaitLine = "System Message: Please wait. Waiting for Player 2 to join game.";
const std::string kSelectProviderText =
    "Please select a connection method from the list above, or press Cancel to abort.";

}  // namespace

LanController::LanController(GameState& s, Services& sv, Match& match, ProfileFile profiles)
    : s_(s), sv_(sv), match_(match), profiles_(std::move(profiles)) {}

LanController::~LanController() {
    if (connection_) connection_->Close();
}

void LanController::NewLanRoot(std::unique_ptr<LanRoot> root) {
    root_ = std::move(root);
}

ProviderList LanController::ProviderLoad() {
    ProviderList w;
    if (!root_) return w;
    w.lstProviders = LanProviderRows(root_->ListProviders());
    if (s_.CurrentLanProtocol.size() > 3) w.Timer1.Enabled = true;
    return w;
}

bool LanController::InitializeConnection(int row) {
    if (!root_) return false;
    // A new connection ends the LAN pairing of the old one.
    if (match_.seat() == this) match_.Leave();
    connection_ = root_->InitializeConnection(row);
    return connection_ != nullptr;
}

LanNext LanController::ProviderAccept(const ProviderList& w) {
    if (w.selected < 0 || w.selected >= int(w.lstProviders.size()) ||
        w.lstProviders[w.selected] == kModemRow) {
        sv_.prompt.Message(kSelectProviderText, "");
        return LanNext::Stay;
    }
    if (!InitializeConnection(w.selected)) return LanNext::Stay;
    return LanNext::ShowNetSelectPlay;
}

LanNext LanController::ProviderTimer1Tick(ProviderList& w) {
    if (autoChoiceRan_) return LanNext::Stay;
    autoChoiceRan_ = true;
    w.Timer1.Enabled = false;
    const std::string wanted = Trim(s_.CurrentLanProtocol);
    for (int row = 0; row < int(w.lstProviders.size()); ++row) {
        if (Trim(w.lstProviders[row]) != wanted) continue;
        w.selected = row;
        // No row matching: the window stays open for a choice by hand.
        return InitializeConnection(row) ? LanNext::ShowNetSelectPlay : LanNext::Stay;
    }
    return LanNext::Stay;
}

LanNext LanController::NetSelectPlayOk(bool startNew) {
    // A game in play elsewhere goes on until this player's own pairing begins.
    if (!startNew) return LanNext::ShowSelectWaiting;
    if (!connection_) return LanNext::Stay;
    // Opening the session also creates the host's player, named `LocalPlayer`.
    const OpenResult opened = connection_->Host(s_.LocalPlayer);
    if (!opened.ok) {
        sv_.prompt.Message(opened.error, "Glyphdrop Network Play");
        return LanNext::Stay;
    }
    match_.Wait(*this);
    s_.FirstPlayer = s_.LocalPlayer;
    s_.SecondPlayer = kWaitingForPlayer;
    s_.PieceColour = "blue";
    s_.LanSide = 1;
    s_.lantimer.Enabled = true;
    AddStatusLine(s_, kHostWaitLine);
    PlaySound(s_, sv_, SoundEvent::IncomingSystemMessage);
    s_.Label13 = "Waiting for player";
    return LanNext::Close;
}

SessionTree LanController::SelectWaitingLoad() {
    SessionTree tree;
    tree.root = "Players Waiting";
    tmrSessionsTick(tree);
    tree.expanded = true;
    tree.tmrSessions.Enabled = true;
    return tree;
}

// The list follows the network for as long as the window is open, instead of showing one
// listing of a second and a half.
void LanController::tmrSessionsTick(SessionTree& tree) {
    const SessionListing listing =
        connection_ ? connection_->WatchSessions() : SessionListing{ListFailure::Unsupported, {}};
    tree.children.clear();
    if (listing.failure == ListFailure::NoSessions) {
        tree.children.push_back({"(None)", ""});
    } else if (listing.failure == ListFailure::Unsupported) {
        tree.children.push_back({"(Not supported)", ""});
    } else {
        for (const auto& session : listing.sessions)
            tree.children.push_back({session.name, std::to_string(session.instance)});
    }
}

LanNext LanController::SelectWaitingJoin(const SessionNode* selected) {
    if (!selected || selected->tag.empty() || !connection_) return LanNext::Stay;
    const std::uint32_t instance = std::uint32_t(std::strtoul(selected->tag.c_str(), nullptr, 10));
    if (instance == 0) return LanNext::Stay;
    // Joining creates this player, named `LocalPlayer`, and names the host, who begins.
    const OpenResult joined = connection_->Join(instance, s_.LocalPlayer);
    if (!joined.ok) {
        sv_.prompt.Message(joined.error, "Join Glyphdrop Player");
        return LanNext::Stay;
    }
    match_.Pair(*this, joined.hostName, s_.LocalPlayer);
    s_.LanSide = 2;
    s_.PieceColour = "red";
    match_.BeginGame();
    PlaySound(s_, sv_, SoundEvent::GameReady);
    AddStatusLine(s_, "Game Ready! Waiting for " + s_.FirstPlayer + " to move.");
    return LanNext::Close;
}

void LanController::LanTimerTick() {
    if (!connection_) return;
    const auto m = connection_->Receive();
    if (!m) return;
    if (match_.seat() != this) return;
    if (match_.Waiting()) {
        Waiting(*m);
    } else {
        Playing(*m);
    }
}

void LanController::Waiting(const LanMessage& m) {
    if (m.from != 0) return;  // nobody to play with yet
    if (m.type == kSysNotJoined) AddStatusLine(s_, "System Message: " + m.text);
    if (m.type != kSysPlayerJoined && m.type != kSysAddedToGroup) return;
    match_.Pair(*this, s_.LocalPlayer, m.shortName);
    match_.BeginGame();
    PlaySound(s_, sv_, SoundEvent::GameReady);
    AddStatusLine(s_, s_.SecondPlayer + " is ready to play. Your move!");
    SendProfile();
}

void LanController::Playing(const LanMessage& m) {
    if (m.from != 0) {
        PlayerMessage(m.text);
    } else {
        SystemMessage(m);
    }
}

void LanController::PlayerMessage(const std::string& text) {
    const char kind = text.empty() ? '\0' : text[0];
    if (kind == 'm') {
        PlaySound(s_, sv_, SoundEvent::IncomingChatMessage);
        const std::string& other =
            s_.FirstPlayer != s_.LocalPlayer ? s_.FirstPlayer : s_.SecondPlayer;
        AddStatusLine(s_, "From " + other + ": " + text.substr(1));
    } else if (kind == 's') {
        ShowOpponentPanel(s_, ReadPlayDataBlock(text));
        // Only the joiner answers, so the exchange is one profile each way.
        if (s_.SecondPlayer == s_.LocalPlayer) SendProfile();
    } else if (kind == 'M') {
        if (const std::optional<Move> move = DecodeMove(text, MoveForm::LanMessage))
            match_.ApplyOpponentMove(*move);
        else
            RefuseMoveText(s_, text);
    }
}

void LanController::SystemMessage(const LanMessage& m) {
    if (m.type == kSysPlayerLeft) {
        sv_.prompt.Message("Your opponent has left the game.", "Opponent Quit");
        s_.lantimer.Enabled = false;
        match_.SeatEnded(GameEnd::OpponentLeft);
        EndProgramNow(s_, sv_);
    } else if (m.type == kSysSessionLost) {
        sv_.prompt.Message("The connection with your opponent has been lost.", "Connection Lost");
        s_.lantimer.Enabled = false;
        match_.SeatEnded(GameEnd::ConnectionLost);
        EndProgramNow(s_, sv_);
    } else if (m.type == kSysMessageRefused) {
        AddStatusLine(s_, "Message refused: " + m.text);
    }
}

void LanController::SendProfile() {
    Send("s" + PlayDataBlock(profiles_, s_.LocalPlayer));
}

bool LanController::Send(const std::string& text) {
    return connection_ && connection_->Send(s_.LanSide, s_.LanSide != 1 ? 1 : 2, text);
}

void LanController::SendMove(const Move& move) {
    Send(EncodeMove(move, MoveForm::LanMessage));
}

bool LanController::SendChat(const std::string& chatText) {
    if (chatText.size() > kMaxLanChat) {
        AddStatusLine(s_, "Not sent: a chat line holds at most " + std::to_string(kMaxLanChat) +
                              " characters.");
        return false;
    }
    if (!Send("m" + chatText)) {
        AddStatusLine(s_, "Not sent: no opponent is connected.");
        return false;
    }
    PlaySound(s_, sv_, SoundEvent::ChatMessageSent);
    return true;
}

void LanController::Leave(GameEnd /*why*/) {
    s_.lantimer.Enabled = false;
    if (connection_) connection_->Close();
}

}  // namespace gd
