// The waiting room, the mailbox poll and its answers, the move post with its retries, the chat
// post and the update check, each handler's steps in order.
#include "internet_play.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

#include "download.h"
#include "files.h"
#include "rules.h"
#include "text.h"

namespace gd {
namespace {

const std::string kBoxTitle = "Glyphdrop";
const std::string kQuitGameTitle = "Quit Game In Play!";
const std::string kExitWaitTitle = "Exit Waiting Room?";
const std::string kExitWaitText =
    "You are currently waiting for an internet opponent.\n\nDo you wish to exit the waiting room?";

// "Quit Game In Play!" for a game in play: `lossText` only when quitting scores the loss. A
// player who has not moved yet (perhaps he only misclicked) is asked too, and told the truth.
bool AskQuitGame(Prompter& prompt, GameAtStake atStake, const std::string& lossText) {
    return prompt.YesNo(atStake == GameAtStake::Loss
                            ? lossText
                            : "You are currently playing an internet game. You have not moved "
                              "in it yet, so if you quit now the game is not scored.\n\nDo you "
                              "wish to quit the current game?",
                        kQuitGameTitle);
}

// The request time-out that holds outside the few requests that set their own.
constexpr int kNormalTimeout = kDefaultRequestTimeout;

int WaitSeconds(WaitOption option) {
    if (option == WaitOption::FiveMinutes) return 300;
    if (option == WaitOption::TwoMinutes) return 120;
    if (option == WaitOption::FifteenMinutes) return 900;
    return 600;
}

bool IsShownPicture(const std::string& file) {
    const std::string name = UpperAscii(file);
    for (const char* ext : {".GIF", ".JPG", ".BMP"})
        if (name.find(ext) != std::string::npos) return true;
    return false;
}

}  // namespace

InternetPlay::InternetPlay(GameState& s, Services& sv, Match& match, HttpTransfer& inet,
                           InternetView& view, ProfileFile profiles, std::string folder)
    : s_(s),
      sv_(sv),
      match_(match),
      inet_(inet),
      view_(view),
      profiles_(std::move(profiles)),
      folder_(std::move(folder)) {}

TransferReply InternetPlay::Request(const std::string& url, int timeout) {
    if (timeout != 0) inet_.RequestTimeout = timeout;
    TransferReply reply = inet_.OpenURL(url);
    if (timeout != 0) inet_.RequestTimeout = kNormalTimeout;
    if (!reply.ok) reply.body.clear();
    return reply;
}

std::string InternetPlay::ErrorText(const TransferReply& reply) const {
    return std::to_string(reply.errorNumber) + ": " + reply.errorDescription;
}

void InternetPlay::PlayInternetGame() {
    if (match_.seat() == this) {
        if (s_.InternetState == 2) {
            if (!sv_.prompt.YesNo(kExitWaitText, kExitWaitTitle)) return;
        } else if (match_.InPlay()) {
            if (!AskQuitGame(sv_.prompt, match_.AtStake(),
                             "You are already playing an internet game. If you quit current "
                             "game, the game will be scored as a loss for you.\n\nDo you "
                             "wish to cancel current game and score a loss?"))
                return;
        }
        // Answered Yes, or the game-over window is up: the pairing is left (unless it ended
        // while the question was up).
        if (match_.seat() == this) match_.Leave();
    }
    view_.ShowWaitingRoom();
}

LeaveAnswer InternetPlay::ConfirmLeave(GameAtStake atStake) {
    if (s_.InternetState == 2)
        return sv_.prompt.YesNo(kExitWaitText, kExitWaitTitle) ? LeaveAnswer::Leave
                                                               : LeaveAnswer::Stay;
    if (s_.InternetState != 1) return LeaveAnswer::NotAsked;
    if (atStake == GameAtStake::None) return LeaveAnswer::Leave;
    return AskQuitGame(sv_.prompt, atStake,
                       "You are currently playing an internet game. If you quit during play, "
                       "the game will score as a loss for you.\n\nDo you wish to cancel "
                       "current game and score a loss?")
               ? LeaveAnswer::Leave
               : LeaveAnswer::Stay;
}

void InternetPlay::Leave(GameEnd why) {
    if (why == GameEnd::Quit && s_.InternetState == 2) {
        s_.InternetState = 0;
        s_.inettimer.Enabled = false;
        AddStatusLine(s_, "You have exited the internet waiting room.");
        AddStatusLine(s_, "Ready.");
        ExitWaitingRoom();
    } else if (why == GameEnd::Quit && s_.InternetState == 1) {
        EndInternetGame();
    } else {
        s_.InternetState = 0;
        s_.inettimer.Enabled = false;
        s_.light = LightPicture::Off;
    }
}

void InternetPlay::SendMove(const Move& move) {
    UploadMove(EncodeMove(move, MoveForm::Payload));
}

void InternetPlay::RefreshList() {
    view_.AddWaitRoomLine("Connecting to game server...Please Wait!");
    view_.EnableJoin(false);
    view_.ClearPlayers();
    view_.Animate(true);
    const TransferReply reply = Request(ReadWaitUrl(ServerAddress), kListTimeout);
    if (!reply.ok) view_.AddWaitRoomLine(ErrorText(reply));
    view_.Animate(false);

    const WaitingList list = ReadWaitingList(reply.body);
    if (list.answer == WaitingListAnswer::SocketError) {
        view_.AddPlayer("Socket Error. Please check your internet connection");
        return;
    }
    if (list.answer == WaitingListAnswer::Unreachable) {
        view_.AddPlayer(
            "Unable to reach game server. Please check your internet connection, or try later.");
        return;
    }
    if (list.entries.empty()) {
        view_.AddPlayer("No Players Currently Waiting To Play.");
        view_.AddWaitRoomLine("Finished. Waiting room empty.");
        return;
    }
    for (const WaitingEntry& entry : list.entries)
        view_.AddPlayer(WaitingListLine(entry));
    view_.EnableJoin(true);
    view_.AddWaitRoomLine("Finished. You may now select a player to join.");
}

void InternetPlay::Join() {
    const std::string line = view_.SelectedPlayer();
    if (line.size() < 50) {
        view_.AddWaitRoomLine("Error: You must select a player to join first!");
        return;
    }
    const SelectedGame game = ReadWaitingListLine(line);
    if (Trim(game.name) == Trim(s_.LocalPlayer)) {
        sv_.prompt.Message(SameNameRefusal(Trim(game.name)), kBoxTitle);
        return;
    }
    std::string password;
    if (game.isPrivate == "YES") {
        const auto answer = sv_.prompt.Input(
            "This is a private game. You may only join this game if you know the password set "
            "by the other player.\n\nEnter password:",
            "Private Game", "");
        if (!answer || answer->empty()) return;
        password = *answer;
    }
    view_.Animate(true);
    const TransferReply reply =
        Request(JoinGameUrl(ServerAddress, game.gameNumber, UserEmail, password), kJoinTimeout);
    if (!reply.ok) sv_.prompt.Message(ErrorText(reply), kBoxTitle);
    view_.Animate(false);
    const JoinAnswer answer = ReadJoinReply(reply.body);
    if (answer == JoinAnswer::BadPassword) {
        view_.AddWaitRoomLine("Invalid password to enter selected game!");
        return;
    }
    if (answer != JoinAnswer::Joined) {
        sv_.prompt.Message(
            "Failed to join listed player. Refresh view to see if player is still waiting and "
            "try again",
            kBoxTitle);
        return;
    }

    // The host begins: the pairing is his, whatever either program played before.
    match_.Pair(*this, game.name, s_.LocalPlayer);
    s_.Label7 = game.name;
    s_.Label8 = game.location;
    TakePartInGame(1, "c", "s", game.gameNumber);
    PostPlayData(PostKind::Start);
    AddStatusLine(s_, "");
    AddStatusLine(s_, "");
    AddStatusLine(
        s_, "Game: " + game.gameNumber + " ready for play. Waiting for " + s_.Label7 + " to move.");
    AddStatusLine(s_, "PLEASE WAIT!!");
    PlaySound(s_, sv_, SoundEvent::IncomingSystemMessage);
    PostPicture();
    s_.PieceColour = "red";
    match_.BeginGame();
    view_.CloseWaitingRoom();
}

void InternetPlay::TakePartInGame(int internetState, const std::string& readLetter,
                                  const std::string& postLetter, const std::string& gameNumber) {
    s_.Label13 = "Waiting for Player";
    s_.InternetState = internetState;
    ReadMailboxKey = readLetter + gameNumber;
    PostMailboxKey = postLetter + gameNumber;
    ReceivedBatch = 0;
    s_.inettimer.Enabled = true;
}

void InternetPlay::EnterWaitingRoom(const EnterChoice& choice) {
    EnterWaitRequest r;
    r.isPrivate = !choice.publicGame;
    r.password = choice.publicGame ? "none" : Trim(choice.password);
    r.waitSeconds = WaitSeconds(choice.wait);
    WaitExpiry = sv_.clock.MonotonicMs() + std::int64_t{1000} * r.waitSeconds;
    PlayerProfile own;
    FindProfile(profiles_, s_.LocalPlayer, own);
    r.userEmail = UserEmail;
    r.name = s_.LocalPlayer;
    r.location = s_.LocalLocation;
    r.played = own.Played;
    r.won = own.Won;

    view_.Animate(true);
    const TransferReply reply = Request(JoinWaitUrl(ServerAddress, r), kEnterWaitTimeout);
    view_.Animate(false);
    if (!reply.ok) {
        view_.ShowWaitingRoom();
        view_.AddWaitRoomLine(ErrorText(reply));
        view_.CloseEnterWaitingRoom();
        return;
    }
    const EnterWaitReply entered = ReadEnterWaitReply(reply.body);
    if (entered.answer == EnterWaitAnswer::Full) {
        sv_.prompt.Message(
            "Sorry, the waiting room is full. Either join a waiting player, or come back later.",
            "Waiting Room Full!");
        view_.CloseEnterWaitingRoom();
        return;
    }
    if (entered.answer != EnterWaitAnswer::Entered) return;
    match_.Wait(*this);
    AddStatusLine(s_, " ");
    AddStatusLine(
        s_, "Game #" + entered.gameNumber + " ready for play. Waiting for a player to join you.");
    AddStatusLine(s_, "You will be notified when a player joins you.");
    AddStatusLine(s_, "PLEASE WAIT!!");
    PlaySound(s_, sv_, SoundEvent::IncomingSystemMessage);
    TakePartInGame(2, "s", "c", entered.gameNumber);
    view_.CloseEnterWaitingRoom();
}

void InternetPlay::inettimerTick() {
    if (s_.InternetState == 2 && sv_.clock.MonotonicMs() > WaitExpiry) {
        WaitExpired();
        return;
    }
    s_.inettimer.Enabled = false;
    s_.light = LightPicture::On;
    const TransferReply reply = Request(GetDataUrl(ServerAddress, ReadMailboxKey, ReceivedBatch));
    s_.light = reply.ok ? LightPicture::Off : LightPicture::Red;

    const MailboxReply mail = ReadMailboxReply(reply.body);
    if (mail.batch > 0) ReceivedBatch = mail.batch;
    if (mail.socketError) {
        AddStatusLine(s_, "Socket Error. Please check your internet connection");
        return;
    }
    if (mail.empty) {
        s_.inettimer.Enabled = true;
        return;
    }
    if (mail.chat) {
        AddStatusLine(s_, "From " + Trim(s_.Label7) + ": " + *mail.chat);
        PlaySound(s_, sv_, SoundEvent::IncomingChatMessage);
    }
    if (mail.quit) {
        // A move that came with the quit was made before it: it is played first, so that
        // both programs end the game alike.
        if (mail.move) OpponentMoved(*mail.move);
        if (s_.ProgramEnding || match_.seat() != this) return;
        OpponentLeft();
        return;
    }
    if (mail.pictureUrl) ShowOpponentPicture(*mail.pictureUrl);
    if (mail.move) OpponentMoved(*mail.move);
    if (s_.ProgramEnding || match_.seat() != this) return;
    if (mail.playData) ShowOpponentPanel(s_, *mail.playData);
    if (mail.startGame && s_.InternetState == 2) OpponentJoined(*mail.startGame);
    s_.inettimer.Enabled = true;
}

void InternetPlay::OpponentMoved(const std::string& payload) {
    const std::optional<Move> move = DecodeMove(payload, MoveForm::Payload);
    if (!move) {
        RefuseMoveText(s_, payload);
        return;
    }
    // A move kept for the next game leaves the poll period as it was.
    const bool inPlay = match_.InPlay();
    if (!match_.ApplyOpponentMove(*move) || !inPlay || match_.seat() != this) return;
    s_.inettimer.Interval = kPollAfterOpponent;
    s_.inettimer.Enabled = true;
}

void InternetPlay::WaitExpired() {
    s_.inettimer.Enabled = false;
    s_.InternetState = 0;
    sv_.prompt.Message(
        "Sorry. No other players have joined your internet game request and your selected "
        "wait time has elapsed.\n\nPlease try again.",
        "Wait Time Expired");
    match_.StopWaiting();
    AddStatusLine(s_, "Wait time expired. Please try again");
    AddStatusLine(s_, "");
    AddStatusLine(s_, "Ready");
}

void InternetPlay::OpponentLeft() {
    // A game the opponent had not yet moved in (he declined it) is no win: it counts on
    // neither side.
    const bool win = match_.OpponentLeavingCounts();
    sv_.prompt.Message(win ? "Your opponent has exited the game. You win by default!"
                           : "Your opponent has exited the game.",
                       "Opponent Left!");
    s_.inettimer.Enabled = false;
    s_.InternetState = 0;
    match_.SeatEnded(GameEnd::OpponentLeft);
    AddStatusLine(s_, win ? "Your opponent forfieted game. You win." : "Your opponent has left.");
    AddStatusLine(s_, "Ready..");
}

void InternetPlay::ShowOpponentPicture(const std::string& address) {
    ShowPhoto(s_, "");
    view_.ShowDownloading(true);
    const auto file = DownloadFile(inet_, sv_.prompt, address, folder_);
    if (file && IsShownPicture(*file)) {
        std::ifstream in(*file, std::ios::binary);
        ShowPhoto(s_, std::string(std::istreambuf_iterator<char>(in), {}));
        in.close();
        std::remove(file->c_str());
    }
    view_.ShowDownloading(false);
}

void InternetPlay::OpponentJoined(const PlayData& data) {
    s_.InternetState = 1;
    ShowOpponentPanel(s_, data);
    match_.Pair(*this, s_.LocalPlayer, s_.Label7);
    s_.PieceColour = "blue";
    PostPlayData(PostKind::Data);
    PostPicture();
    AddStatusLine(s_, "");
    AddStatusLine(s_, s_.Label7 + " has joined game. YOUR TURN!!");
    PlaySound(s_, sv_, SoundEvent::GameReady);
    match_.BeginGame();
    s_.inettimer.Interval = kPollAfterOpponent;
    s_.inettimer.Enabled = true;
}

void InternetPlay::PostPlayData(PostKind kind) {
    Request(PostUrl(ServerAddress, PostMailboxKey, kind, PlayDataBlock(profiles_, s_.LocalPlayer)));
}

void InternetPlay::PostPicture() {
    if (s_.CurrentPictureUrl.size() <= 12) return;
    s_.light = LightPicture::On;
    Request(PostUrl(ServerAddress, PostMailboxKey, PostKind::PictureUrl, s_.CurrentPictureUrl));
    s_.light = LightPicture::Off;
}

bool InternetPlay::PostMoveOnce(const std::string& url) {
    s_.light = LightPicture::On;
    return MoveStored(Request(url).body);
}

void InternetPlay::UploadMove(const std::string& move) {
    s_.inettimer.Enabled = false;
    const std::string url = PostUrl(ServerAddress, PostMailboxKey, PostKind::Move, Trim(move));
    for (int tries = 0; !PostMoveOnce(url);) {
        if (++tries < 3) {
            s_.light = LightPicture::Red;
            continue;
        }
        s_.light = LightPicture::Off;
        if (!sv_.prompt.YesNo("Data transfer to opponent failed. Please check your internet "
                              "connection.\n\nWould you like to try again?",
                              "Transfer Failed")) {
            EndProgramNow(s_, sv_);
            return;
        }
        tries = 0;
    }
    s_.inettimer.Interval = kPollAfterOwnMove;
    s_.inettimer.Enabled = true;
    s_.light = LightPicture::Off;
}

void InternetPlay::EndInternetGame() {
    s_.InternetState = 0;
    s_.inettimer.Enabled = false;
    s_.light = LightPicture::Off;
    AddStatusLine(s_, "Internet game terminated.");
    Request(PostUrl(ServerAddress, PostMailboxKey, PostKind::Quit), kQuitTimeout);
}

void InternetPlay::ExitWaitingRoom() {
    Request(ExitWaitUrl(ServerAddress, ReadMailboxKey));
}

void InternetPlay::PostChat(const std::string& line) {
    s_.inettimer.Enabled = false;
    s_.light = LightPicture::On;
    Request(PostUrl(ServerAddress, PostMailboxKey, PostKind::Chat, line));
    s_.inettimer.Enabled = true;
    s_.light = LightPicture::Off;
}

void InternetPlay::CheckForUpdates() {
    AddStatusLine(s_, " ");
    AddStatusLine(s_, "Checking server for updates...please wait.");
    const TransferReply reply =
        Request(UpdatesUrl(ServerAddress, s_.ProgramVersion), kUpdateTimeout);
    if (!reply.ok) AddStatusLine(s_, ErrorText(reply));
    switch (ReadUpdateReply(reply.body)) {
        case UpdateAnswer::Current:
            sv_.prompt.Message("This version is up-to-date!", "Update Check Complete.");
            AddStatusLine(s_, "Update check complete. You are current.");
            AddStatusLine(s_, " ");
            return;
        case UpdateAnswer::Updated:
            if (!sv_.prompt.YesNo("Glyphdrop Live Update has detected a new version is "
                                  "available.\n\nWould you like Live Update to download and "
                                  "install the latest version now?",
                                  "Live Update")) {
                AddStatusLine(s_, "Update check complete. Your version NOT current.");
                AddStatusLine(s_, " ");
                return;
            }
            if (std::string why; !view_.StartUpdater(why)) {
                sv_.prompt.Message("The updater \"gdpupdate\" could not be started: " + why,
                                   "Live Update");
                return;
            }
            EndProgramNow(s_, sv_);
            return;
        case UpdateAnswer::Unknown:
            AddStatusLine(s_,
                          "Update check failed. Please check your internet connection and try "
                          "later.");
            AddStatusLine(s_, "");
            return;
    }
}

}  // namespace gd
