// The program's side of the game server's wire: the request URL of each script, and the replies
// read into typed values by the wire's readers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_wire.h"

namespace gd {

// The local server that `./run` starts; the program talks to it unless told otherwise.
inline const std::string kDefaultServerAddress = "http://127.0.0.1:27810";

// Request time-outs in seconds around particular requests; 60 is the control's default.
constexpr int kListTimeout = 20;
constexpr int kQuitTimeout = 20;
constexpr int kEnterWaitTimeout = 40;
constexpr int kJoinTimeout = 60;
constexpr int kUpdateTimeout = 15;

// The replies and their readers, as the program's internet code names them.
using wire::EncodeField;
using wire::EnterWaitAnswer;
using wire::EnterWaitReply;
using wire::JoinAnswer;
using wire::MailboxReply;
using wire::MoveStored;
using wire::ReadEnterWaitReply;
using wire::ReadJoinReply;
using wire::ReadMailboxReply;
using wire::ReadUpdateReply;
using wire::ReadWaitingList;
using wire::UpdateAnswer;
using wire::WaitingEntry;
using wire::WaitingList;
using wire::WaitingListAnswer;

// `UserEmail`: the player's name and the machine's name; the server splits fields on "+".
std::string MakeUserEmail(const std::string& player, const std::string& host);

// What "joinwait.mv?" carries, in its order; texts are trimmed when the URL is built.
struct EnterWaitRequest {
    std::string userEmail, name, location;
    int played = 0, won = 0;
    bool isPrivate = false;
    std::string password;  // "none" for a public game
    int waitSeconds = 300;
};

// The URL of each script under `base` (an http or https address without the script path).
std::string ReadWaitUrl(const std::string& base);
std::string JoinWaitUrl(const std::string& base, const EnterWaitRequest& r);
std::string JoinGameUrl(const std::string& base, const std::string& gameNumber,
                        const std::string& userEmail, const std::string& password);
// The game number is the read key without its first character, trimmed.
std::string ExitWaitUrl(const std::string& base, const std::string& readMailboxKey);
// A read that names `confirmBatch`, the last batch this side received (0 for none yet), so the
// server delivers again a batch whose reply never arrived; without it, a read as the plain
// protocol has it, whose messages are gone once read.
std::string GetDataUrl(const std::string& base, const std::string& readMailboxKey,
                       std::optional<std::int64_t> confirmBatch = std::nullopt);
std::string UpdatesUrl(const std::string& base, const std::string& version);

// The messages posted into the opponent's mailbox.
enum class PostKind { Start, Data, PictureUrl, Move, Chat, Quit };
// "postdata.mv?" + key + the kind's name + its text (none for Quit). The key is trimmed for
// every kind but Start and Data; the picture address and chat line are trimmed.
std::string PostUrl(const std::string& base, const std::string& postMailboxKey, PostKind kind,
                    const std::string& text = "");

// The entry as one fixed-pitch line of `List1`, and the fields read back from a selected line.
std::string WaitingListLine(const WaitingEntry& e);
struct SelectedGame {
    std::string gameNumber, name, location, isPrivate;
};
SelectedGame ReadWaitingListLine(const std::string& line);

}  // namespace gd
