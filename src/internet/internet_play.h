// The internet controller: the waiting room, the game by mailbox, chat posts and the update
// check, one function per handler, effects through the transfer, the prompts and a view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "match.h"
#include "profile.h"
#include "protocol.h"
#include "services.h"
#include "state.h"
#include "transfer.h"

namespace gd {

// The poll periods: after an own move, and after the opponent's move or a game start.
constexpr int kPollAfterOwnMove = 10000;
constexpr int kPollAfterOpponent = 30000;

// What the internet controller shows outside the game state: the waiting-room windows
// (`inetstart`, `joinwaitroom`), the opponent's photo and the updater.
class InternetView {
  public:
    virtual ~InternetView() = default;
    // `inetstart`: opened centred (its list loads half a second later), closed.
    virtual void ShowWaitingRoom() = 0;
    virtual void CloseWaitingRoom() = 0;
    // `List2`, the window's status lines.
    virtual void AddWaitRoomLine(const std::string& text) = 0;
    // `List1`, the waiting players, and the line selected there ("" when none).
    virtual void ClearPlayers() = 0;
    virtual void AddPlayer(const std::string& line) = 0;
    virtual std::string SelectedPlayer() = 0;
    // `Command1`, "Join Selected Player".
    virtual void EnableJoin(bool enabled) = 0;
    // `AniGIF1` of the open waiting-room window, while a request is in flight.
    virtual void Animate(bool on) = 0;
    // `joinwaitroom` closes.
    virtual void CloseEnterWaitingRoom() = 0;
    // `Label14` "Downloading Picture" shown or hidden, and `Picture1` as it is now, at once.
    virtual void ShowDownloading(bool shown) = 0;
    // Starts the updater beside the program; false with the reason when it cannot.
    virtual bool StartUpdater(std::string& why) = 0;
};

// `joinwaitroom`'s choices.
enum class WaitOption { None, TwoMinutes, FiveMinutes, TenMinutes, FifteenMinutes };
struct EnterChoice {
    bool publicGame = false;  // "Public" chosen
    std::string password;     // `Text1`
    WaitOption wait = WaitOption::FiveMinutes;
};

// The internet controller, and the seat of an opponent who plays by mailbox.
class InternetPlay : public OpponentSeat {
  public:
    InternetPlay(GameState& s, Services& sv, Match& match, HttpTransfer& inet, InternetView& view,
                 ProfileFile profiles, std::string folder);

    std::string ServerAddress = kDefaultServerAddress;
    std::string UserEmail;
    std::string ReadMailboxKey, PostMailboxKey;
    // The last batch of messages a read brought; the next read confirms it, and the server sends
    // again a batch whose reply was lost.
    std::int64_t ReceivedBatch = 0;
    std::int64_t WaitExpiry = 0;  // on the monotonic clock, so midnight changes nothing

    // "Play Internet Game": the questions for a wait or a game in play, then `inetstart`.
    void PlayInternetGame();
    // `inetstart`: Refresh (`Command4` and the first tick of `waitroomtimer`) and Join.
    void RefreshList();
    void Join();
    // `joinwaitroom`'s "Enter Waiting Room".
    void EnterWaitingRoom(const EnterChoice& choice);
    // A tick of `inettimer`.
    void inettimerTick();
    // Posts the local move (letter + landing hole): three tries, then the "Transfer Failed"
    // question; No ends the program and the drop handler goes no further.
    void UploadMove(const std::string& move);
    // Leaves the game in play: the opponent is told and polling stops.
    void EndInternetGame();
    // Withdraws from the waiting room on the server; errors and answer ignored.
    void ExitWaitingRoom();
    // Send, internet side: posts the chat line with polling held.
    void PostChat(const std::string& line);
    // "Check For Updates".
    void CheckForUpdates();

    // The seat.
    void SendMove(const Move& move) override;
    void Tick() override { inettimerTick(); }
    // A failed chat post is lost without notice.
    bool Chat(const std::string& line) override {
        PostChat(line);
        return true;
    }
    // Quit: the waiting room is left, or the game ended with the quit message; ProgramEnding:
    // polling stops, nothing is sent; BoardsDiffer: polling stops, the refused move has gone
    // back to the opponent instead of a quit.
    void Leave(GameEnd why) override;
    TimerState& Timer() override { return s_.inettimer; }
    // "Quit Game In Play!" during a game (its loss named only when quitting scores one), "Exit
    // Waiting Room?" during a wait; after a game's end, with the game-over window up, the
    // pairing is left without a question.
    LeaveAnswer ConfirmLeave(GameAtStake atStake) override;
    bool DepartureCounts() const override { return true; }

  private:
    TransferReply Request(const std::string& url, int timeout = 0);
    std::string ErrorText(const TransferReply& reply) const;
    bool PostMoveOnce(const std::string& url);
    void PostPlayData(PostKind kind);
    void PostPicture();
    void OpponentMoved(const std::string& payload);
    void WaitExpired();
    void OpponentLeft();
    void ShowOpponentPicture(const std::string& address);
    void OpponentJoined(const PlayData& data);
    // A joiner (state 1) or a host (state 2) takes part in game `gameNumber`: the turn caption,
    // the mode, the two mailbox keys, and polling on.
    void TakePartInGame(int internetState, const std::string& readLetter,
                        const std::string& postLetter, const std::string& gameNumber);

    GameState& s_;
    Services& sv_;
    Match& match_;
    HttpTransfer& inet_;
    InternetView& view_;
    ProfileFile profiles_;
    std::string folder_;
};

}  // namespace gd
