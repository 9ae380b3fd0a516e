// The game server's wire: the request URL of each script and every reply read into typed values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profile.h"

namespace gd {

// The local server that `./run` starts; the program talks to it unless told otherwise.
inline const std::string kDefaultServerAddress = "http://127.0.0.1:47810";

// Request time-outs in seconds around particular requests; 60 is the control's default.
constexpr int kListTimeout = 20;
constexpr int kQuitTimeout = 20;
constexpr int kEnterWaitTimeout = 40;
constexpr int kJoinTimeout = 60;
constexpr int kUpdateTimeout = 15;

// One query field as HTTP can carry it: a blank as %20, "+" as %2B, "#", "%" and bytes outside
// printable ASCII percent-encoded; everything else as it is.
std::string EncodeField(const std::string& field);

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
std::string GetDataUrl(const std::string& base, const std::string& readMailboxKey);
std::string UpdatesUrl(const std::string& base, const std::string& version);

// The messages posted into the opponent's mailbox.
enum class PostKind { Start, Data, PictureUrl, Move, Chat, Quit };
// "postdata.mv?" + key + the kind's marker + its text (none for Quit). The key is trimmed for
// every kind but Start and Data; the picture address and chat line are trimmed.
std::string PostUrl(const std::string& base, const std::string& postMailboxKey, PostKind kind,
                    const std::string& text = "");

// True when the first occurrence of `marker` in `reply` is at `position` (counting from 1) or
// later; a marker found only at an earlier position does not count.
bool HasMarkerFrom(const std::string& reply, const std::string& marker, std::size_t position);
// The text between the first `open` and the first `close`, both searched from the start;
// empty when either is missing or `close` comes first.
std::string Delimited(const std::string& reply, const std::string& open, const std::string& close);

// A mailbox read ("getdata.mv?"): at most one message of each kind, texts as they stand.
struct MailboxReply {
    bool socketError = false;
    bool empty = false;  // "FILE*NOT*FOUND"
    std::optional<std::string> chat;
    bool quit = false;
    std::optional<std::string> pictureUrl;
    std::optional<std::string> move;  // the payload, for the move codec
    std::optional<PlayData> playData;
    std::optional<PlayData> startGame;
};
MailboxReply ReadMailboxReply(const std::string& reply);

// "WRITE*OK" anywhere: the move was stored.
bool MoveStored(const std::string& reply);

enum class EnterWaitAnswer { Full, Entered, Other };
struct EnterWaitReply {
    EnterWaitAnswer answer = EnterWaitAnswer::Other;
    std::string gameNumber;  // trimmed, when entered
};
EnterWaitReply ReadEnterWaitReply(const std::string& reply);

enum class JoinAnswer { BadPassword, Joined, Failed };
JoinAnswer ReadJoinReply(const std::string& reply);

enum class UpdateAnswer { Current, Updated, Unknown };
UpdateAnswer ReadUpdateReply(const std::string& reply);

// One waiting player of "readwait.mv": game number untrimmed, fields 2 to 5 trimmed, the
// private flag as it stands.
struct WaitingEntry {
    std::string gameNumber, name, location, played, won, isPrivate;
};
enum class WaitingListAnswer { SocketError, Unreachable, Entries };
struct WaitingList {
    WaitingListAnswer answer = WaitingListAnswer::Entries;
    std::vector<WaitingEntry> entries;
};
WaitingList ReadWaitingList(const std::string& reply);

// The entry as one fixed-pitch line of `List1`, and the fields read back from a selected line.
std::string WaitingListLine(const WaitingEntry& e);
struct SelectedGame {
    std::string gameNumber, name, location, isPrivate;
};
SelectedGame ReadWaitingListLine(const std::string& line);

}  // namespace gd
