// The one wire between the program and the game server: script names, mailbox keys, message
// kinds, every marker and delimiter of the replies, the play-data block, the waiting-list entry
// and how texts travel in requests and replies. Each reply has its writer (the server's) and its
// reader (the program's) side by side here, so the two cannot drift apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gd::wire {

// ---- Scripts ----------------------------------------------------------------------------------

enum class Script { ReadWait, JoinWait, JoinGame, ExitWait, GetData, PostData, Updates };

// The path the program requests: "/Glyphdrop/" + the script's name, then "?" for every script
// but ReadWait, which takes no query.
std::string ScriptPath(Script script);
// The script a request path names ("/Glyphdrop/getdata.mv", without "?"), or nothing.
std::optional<Script> ScriptOf(std::string_view path);

// ---- Mailboxes --------------------------------------------------------------------------------

// The two players of a game. The host waited and reads mailbox "s" + game; the joiner joined and
// reads mailbox "c" + game. Each posts into the other's mailbox.
enum class Side { Host = 0, Joiner = 1 };
inline Side Partner(Side s) {
    return s == Side::Host ? Side::Joiner : Side::Host;
}

// The key of the mailbox that `reader` reads in `game`.
std::string MailboxKey(Side reader, const std::string& game);
struct Mailbox {
    std::string game;
    Side reader = Side::Host;
};
// The mailbox a key names; nothing for a key the server never hands out.
std::optional<Mailbox> ParseMailboxKey(const std::string& key);

// ---- Messages ---------------------------------------------------------------------------------

// The kinds of message a player posts. The text is the field after the kind: the play-data block
// (Start, Data), the picture address, the move payload, the chat line, or nothing (Quit).
enum class MessageKind { Start = 1, Data = 2, Picture = 3, Move = 4, Chat = 5, Quit = 6 };

struct Message {
    MessageKind kind = MessageKind::Chat;
    std::string text;
    bool operator==(const Message& o) const { return kind == o.kind && text == o.text; }
};

// The kind's name in a post ("START", "DATA", "PICURL", "MOVE", "CHAT", "QUIT").
std::string_view KindName(MessageKind kind);
std::optional<MessageKind> KindOf(std::string_view name);

// ---- Texts in requests ------------------------------------------------------------------------

// One query field as HTTP can carry it: a blank as %20, "+" as %2B, "#", "%" and bytes outside
// printable ASCII percent-encoded; everything else as it is.
std::string EncodeField(const std::string& field);
// Fields each encoded, joined with a raw "+".
std::string JoinFields(const std::vector<std::string>& fields);
// A "%XX" percent-decoded text, or nothing when a "%" is not followed by two hex digits.
std::optional<std::string> PercentDecode(std::string_view text);
// Splits a raw query on "+" into exactly `count` fields and percent-decodes each. When
// `lastTakesRest`, the last field is everything after the (count - 1)th "+". Fewer fields, more
// fields, or a bad "%": nothing.
std::optional<std::vector<std::string>> SplitFields(std::string_view rawQuery, std::size_t count,
                                                    bool lastTakesRest);

// ---- Texts in replies -------------------------------------------------------------------------

// A player's text (a chat line, a picture address, a name or a location) as a reply or a
// play-data block carries it: every byte that occurs in some marker or delimiter of this wire,
// "%", and every byte outside printable ASCII becomes "%" and two upper-case hex digits. An
// encoded text then holds no character of any marker but the hex digits of its escapes, so no
// marker can lie inside it or be made with what stands beside it, and the server has nothing a
// player types to refuse.
std::string EncodeText(const std::string& text);
// The text back; a "%" not followed by two hex digits stays as it is.
std::string DecodeText(const std::string& text);
// Whether a text is one that EncodeText could have written.
bool IsEncodedText(const std::string& text);

// ---- Reading replies by marker ----------------------------------------------------------------

// True when the first occurrence of `marker` in `reply` is at `position` (counting from 1) or
// later; a marker found only at an earlier position does not count.
bool HasMarkerFrom(const std::string& reply, std::string_view marker, std::size_t position);
// The text between the first `open` and the first `close`, both searched from the start;
// empty when either is missing or `close` comes first.
std::string Delimited(const std::string& reply, std::string_view open, std::string_view close);

// ---- The play-data block ----------------------------------------------------------------------

// One player's public profile, sent to the opponent at the start of a game.
struct PlayData {
    std::string name, location, played, won, lost, tied;
};
// "xxx" name "jjjhh*" location "*qqcc*" played "*eerr*" won "*pptt*" lost "*vvmm*" tied "*aa",
// the name and location trimmed and encoded as replies carry texts, the counters as given.
std::string WritePlayDataBlock(const PlayData& data);
// The six fields of the block inside any received text: each between the first occurrence of
// its markers, decoded and trimmed; a field whose markers are missing or reversed is empty.
PlayData ReadPlayDataBlock(const std::string& text);
// The block exactly as WritePlayDataBlock writes it, with counters for counters; the fields as
// they stand (name and location still encoded). Nothing for anything else.
std::optional<PlayData> ParsePlayDataBlock(const std::string& block);
// A counter as the program writes it: decimal, an optional "-", at most nine digits.
bool IsCounter(const std::string& text);

// ---- Mailbox replies ("getdata.mv?") ----------------------------------------------------------

// What one read of a mailbox holds: at most one message of each kind, texts decoded.
struct MailboxReply {
    bool socketError = false;
    bool empty = false;  // "FILE*NOT*FOUND"
    std::optional<std::string> chat;
    bool quit = false;
    std::optional<std::string> pictureUrl;
    std::optional<std::string> move;  // the payload, for the move codec
    std::optional<PlayData> playData;
    std::optional<PlayData> startGame;
    // The number of the batch the read delivered, which the next read confirms; 0 for none.
    std::int64_t batch = 0;
};
// The server's reply to a read that delivers `messages` (oldest first) as batch `batch` (0 when
// the read confirms nothing); no messages is an empty mailbox.
std::string WriteMailboxReply(const std::vector<Message>& messages, std::int64_t batch = 0);
MailboxReply ReadMailboxReply(const std::string& reply);
// A batch number as a read confirms it: decimal digits, no sign, at most 18; else nothing.
std::optional<std::int64_t> ParseBatchNumber(const std::string& text);

// ---- The other replies ------------------------------------------------------------------------

// A post stored ("WRITE*OK" anywhere).
std::string WriteStoredReply();
bool MoveStored(const std::string& reply);

// "joinwait.mv?": entered with a game number, or the room is full.
std::string WriteEnteredReply(const std::string& game);
std::string WriteRoomFullReply();
enum class EnterWaitAnswer { Full, Entered, Other };
struct EnterWaitReply {
    EnterWaitAnswer answer = EnterWaitAnswer::Other;
    std::string gameNumber;  // trimmed, when entered
};
EnterWaitReply ReadEnterWaitReply(const std::string& reply);

// "joingame.mv?": joined, a wrong password, or the game waits no more.
std::string WriteJoinedReply();
std::string WriteBadPasswordReply();
std::string WriteNotWaitingReply();
enum class JoinAnswer { BadPassword, Joined, Failed };
JoinAnswer ReadJoinReply(const std::string& reply);

// "exitwait.mv?": whether the entry went; the program does not read it.
std::string WriteLeftReply(bool left);

// "updates.mv?": the version is current, or a newer one exists.
std::string WriteUpdateReply(bool current);
enum class UpdateAnswer { Current, Updated, Unknown };
UpdateAnswer ReadUpdateReply(const std::string& reply);

// "readwait.mv": one entry per waiting player. Written from the fields as they are; read back
// with the game number untrimmed, fields 2 to 5 trimmed, the private flag as it stands.
struct WaitingEntry {
    std::string gameNumber, name, location, played, won, isPrivate;
};
std::string WriteWaitingList(const std::vector<WaitingEntry>& entries);
enum class WaitingListAnswer { SocketError, Unreachable, Entries };
struct WaitingList {
    WaitingListAnswer answer = WaitingListAnswer::Entries;
    std::vector<WaitingEntry> entries;
};
WaitingList ReadWaitingList(const std::string& reply);

}  // namespace gd::wire
