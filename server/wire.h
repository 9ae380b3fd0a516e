// The game server's requests and replies on the wire: the scripts, splitting and decoding a
// query into its fields, checking the texts players send, and writing the replies.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store.h"

namespace gd::server {

enum class Script { ReadWait, JoinWait, JoinGame, ExitWait, GetData, PostData, Updates };

// The script a request path names ("/Glyphdrop/getdata.mv"), or nothing.
std::optional<Script> ScriptOf(std::string_view path);

// Splits a raw query on "+" into exactly `count` fields and percent-decodes each. When
// `lastTakesRest`, the last field is everything after the (count - 1)th "+". Fewer fields, more
// fields, or a "%" not followed by two hex digits: nothing.
std::optional<std::vector<std::string>> SplitFields(std::string_view rawQuery, std::size_t count,
                                                    bool lastTakesRest);

// A "%XX" percent-decoded text, or nothing when a "%" is not followed by two hex digits.
std::optional<std::string> PercentDecode(std::string_view text);

// The mailbox a key names: "s" + game is the host's, "c" + game the joiner's.
struct MailboxKey {
    std::string game;
    Side reader = Side::Host;
};
std::optional<MailboxKey> ParseMailboxKey(const std::string& key);

// The message kind a post's kind field names ("START", "DATA", "PICURL", "MOVE", "CHAT",
// "QUIT").
std::optional<MessageKind> KindOf(const std::string& field);

// Whether a text may go into a reply in this place: no control bytes, no marker or delimiter of
// the protocol, and none made across its edges with the reply's own delimiters.
bool ChatTextIsSafe(const std::string& text);
bool PictureAddressIsSafe(const std::string& text);
bool PlayDataBlockIsSafe(const std::string& block);
bool WaitingFieldsAreSafe(const std::string& name, const std::string& location);

// A counter as the program writes it: decimal, an optional "-", at most nine digits.
bool IsCounter(const std::string& text);

// The replies. Each starts with a line of its own, so no marker stands at the reply's start.
std::string WaitingListReply(const std::vector<WaitingEntry>& entries);
std::string EnteredReply(const std::string& game);
std::string RoomFullReply();
std::string JoinedReply();
std::string BadPasswordReply();
std::string NotWaitingReply();
std::string LeftReply(bool left);
std::string MailboxReply(const std::vector<Message>& messages);
std::string WriteOkReply();
std::string UpdateReply(bool current);

// Whether `version` is `latest` or newer, compared as dotted numbers ("1.10" > "1.9").
bool IsCurrentVersion(const std::string& version, const std::string& latest);

}  // namespace gd::server
