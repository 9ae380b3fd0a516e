// The game server's requests and replies on the wire.
#include "wire.h"

#include <algorithm>
#include <array>

#include "move.h"
#include "text.h"

namespace gd::server {

namespace {

constexpr std::string_view kScriptFolder = "/Glyphdrop/";

// Every text the program searches a reply for, anywhere in it. A player's text holding one of
// these would be read by the other program as the server's word.
constexpr std::array<std::string_view, 34> kReplyTokens = {"Socket Error",
                                                           "Unable to open",
                                                           "FILE*NOT*FOUND",
                                                           "WRITE*OK",
                                                           "*CHAT*",
                                                           "***$$",
                                                           "$$$**",
                                                           "QUIT*GAME",
                                                           "*PICURL*",
                                                           "**#$",
                                                           "$#**",
                                                           "*MOVE*",
                                                           "*#*$",
                                                           "$*#*",
                                                           "PLAYDATA",
                                                           "START*GAME",
                                                           "*$*",
                                                           "$*$",
                                                           "*#*",
                                                           "#*#",
                                                           "**#**",
                                                           "##*##",
                                                           "***#***",
                                                           "###*###",
                                                           "****#****",
                                                           "####*####",
                                                           "*****#*****",
                                                           "#####*#####",
                                                           "***--FULL--***",
                                                           "***--ENTRY--***",
                                                           "*BADPASSWORD*",
                                                           "-JOINED-",
                                                           "*CURRENT*",
                                                           "*UPDATED*"};

// Stands in for a player's text when counting the tokens the reply's own parts make: it occurs
// in no token, so no token can touch it.
const std::string kPlaceholder = "0";

const std::string kFirstLine = "Glyphdrop\n";

bool HasControlBytes(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7f;
    });
}

// A reply part built around player texts is safe when it holds each token exactly as often as
// the same part built around placeholders: then no token lies in or touches a player's text.
template <std::size_t N>
bool SameTokens(const std::string& withTexts, const std::string& withPlaceholders,
                const std::array<std::string_view, N>& tokens) {
    return std::all_of(tokens.begin(), tokens.end(), [&](std::string_view t) {
        return CountOccurrences(withTexts, t) == CountOccurrences(withPlaceholders, t);
    });
}

std::string ChatLine(const std::string& text) {
    return "*CHAT* ***$$" + text + "$$$**\n";
}
std::string PictureLine(const std::string& text) {
    return "*PICURL* **#$" + text + "$#**\n";
}

struct PlayData {
    std::string name, location, played, won, lost, tied;
};

std::string BlockOf(const PlayData& d) {
    return "xxx" + d.name + "jjjhh*" + d.location + "*qqcc*" + d.played + "*eerr*" + d.won +
           "*pptt*" + d.lost + "*vvmm*" + d.tied + "*aa";
}

// The block read as the program writes it: counters without blanks, the name and location
// free; the first marker after each field ends it.
std::optional<PlayData> ParseBlock(const std::string& block) {
    static const std::array<std::string_view, 7> parts = {"xxx",    "jjjhh*", "*qqcc*", "*eerr*",
                                                          "*pptt*", "*vvmm*", "*aa"};
    if (block.compare(0, parts[0].size(), parts[0]) != 0) return std::nullopt;
    std::array<std::string, 6> fields;
    std::size_t at = parts[0].size();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto end = block.find(parts[i + 1], at);
        if (end == std::string::npos) return std::nullopt;
        fields[i] = block.substr(at, end - at);
        at = end + parts[i + 1].size();
    }
    if (at != block.size()) return std::nullopt;
    PlayData d{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    if (!IsCounter(d.played) || !IsCounter(d.won) || !IsCounter(d.lost) || !IsCounter(d.tied))
        return std::nullopt;
    return d;
}

std::string EntryLine(const WaitingEntry& e) {
    return "*$*" + e.game + "$*$*#*" + e.name + "#*#**#**" + e.location + "##*##***#***" +
           e.played + "###*###****#****" + e.won + "####*####*****#*****" +
           (e.isPrivate ? "YES" : "NO") + "#####*#####\n";
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<long> VersionNumbers(const std::string& version) {
    std::vector<long> numbers;
    std::size_t at = 0;
    while (at <= version.size()) {
        auto dot = version.find('.', at);
        if (dot == std::string::npos) dot = version.size();
        long n = 0;
        for (std::size_t i = at; i < dot && i < at + 9; ++i)
            n = version[i] >= '0' && version[i] <= '9' ? n * 10 + (version[i] - '0') : n;
        numbers.push_back(n);
        at = dot + 1;
    }
    while (!numbers.empty() && numbers.back() == 0)
        numbers.pop_back();
    return numbers;
}

}  // namespace

std::optional<Script> ScriptOf(std::string_view path) {
    static const std::array<std::pair<std::string_view, Script>, 7> scripts = {{
        {"readwait.mv", Script::ReadWait},
        {"joinwait.mv", Script::JoinWait},
        {"joingame.mv", Script::JoinGame},
        {"exitwait.mv", Script::ExitWait},
        {"getdata.mv", Script::GetData},
        {"postdata.mv", Script::PostData},
        {"updates.mv", Script::Updates},
    }};
    if (path.substr(0, kScriptFolder.size()) != kScriptFolder) return std::nullopt;
    path.remove_prefix(kScriptFolder.size());
    for (const auto& [name, script] : scripts)
        if (path == name) return script;
    return std::nullopt;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view rawQuery, std::size_t count,
                                                    bool lastTakesRest) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (fields.size() + 1 < count) {
        const auto plus = rawQuery.find('+', at);
        if (plus == std::string_view::npos) return std::nullopt;
        auto field = PercentDecode(rawQuery.substr(at, plus - at));
        if (!field) return std::nullopt;
        fields.push_back(std::move(*field));
        at = plus + 1;
    }
    const auto rest = rawQuery.substr(std::min(at, rawQuery.size()));
    if (!lastTakesRest && rest.find('+') != std::string_view::npos) return std::nullopt;
    auto last = PercentDecode(rest);
    if (!last) return std::nullopt;
    fields.push_back(std::move(*last));
    return fields;
}

std::optional<MailboxKey> ParseMailboxKey(const std::string& key) {
    if (key.size() < 2 || key.size() > 12) return std::nullopt;
    if (key[0] != 's' && key[0] != 'c') return std::nullopt;
    return MailboxKey{key.substr(1), key[0] == 's' ? Side::Host : Side::Joiner};
}

std::optional<MessageKind> KindOf(const std::string& field) {
    static const std::array<std::pair<std::string_view, MessageKind>, 6> kinds = {{
        {"START", MessageKind::Start},
        {"DATA", MessageKind::Data},
        {"PICURL", MessageKind::Picture},
        {"MOVE", MessageKind::Move},
        {"CHAT", MessageKind::Chat},
        {"QUIT", MessageKind::Quit},
    }};
    for (const auto& [name, kind] : kinds)
        if (field == name) return kind;
    return std::nullopt;
}

bool ChatTextIsSafe(const std::string& text) {
    return !HasControlBytes(text) &&
           SameTokens(ChatLine(text), ChatLine(kPlaceholder), kReplyTokens);
}

bool PictureAddressIsSafe(const std::string& text) {
    return !HasControlBytes(text) &&
           SameTokens(PictureLine(text), PictureLine(kPlaceholder), kReplyTokens);
}

bool PlayDataBlockIsSafe(const std::string& block) {
    const auto data = ParseBlock(block);
    if (!data || HasControlBytes(block)) return false;
    PlayData plain = *data;
    plain.name = plain.location = kPlaceholder;
    const std::string line = kFirstLine + "START*GAME " + BlockOf(*data) + "\n";
    const std::string plainLine = kFirstLine + "START*GAME " + BlockOf(plain) + "\n";
    return SameTokens(line, plainLine, kReplyTokens) &&
           SameTokens(line, plainLine, kPlayDataMarkers);
}

bool WaitingFieldsAreSafe(const std::string& name, const std::string& location) {
    if (HasControlBytes(name) || HasControlBytes(location)) return false;
    WaitingEntry e, plain;
    e.name = name;
    e.location = location;
    plain.name = plain.location = kPlaceholder;
    return SameTokens(EntryLine(e), EntryLine(plain), kReplyTokens);
}

bool IsCounter(const std::string& text) {
    const std::size_t digitsAt = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t digits = text.size() - digitsAt;
    return digits >= 1 && digits <= 9 &&
           std::all_of(text.begin() + static_cast<long>(digitsAt), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::string WaitingListReply(const std::vector<WaitingEntry>& entries) {
    std::string reply = kFirstLine;
    for (const auto& e : entries)
        reply += EntryLine(e);
    if (entries.empty()) reply += "No players are waiting.\n";
    return reply;
}

std::string EnteredReply(const std::string& game) {
    return kFirstLine + "***--ENTRY--***tttt" + game + "ssss\n";
}
std::string RoomFullReply() {
    return kFirstLine + "***--FULL--***\n";
}
std::string JoinedReply() {
    return kFirstLine + "-JOINED-\n";
}
std::string BadPasswordReply() {
    return kFirstLine + "*BADPASSWORD*\n";
}
std::string NotWaitingReply() {
    return kFirstLine + "That game is not waiting any more.\n";
}
std::string LeftReply(bool left) {
    return kFirstLine + (left ? "Left the waiting room.\n" : "That game is not waiting.\n");
}
std::string WriteOkReply() {
    return kFirstLine + "WRITE*OK\n";
}
std::string UpdateReply(bool current) {
    return kFirstLine + (current ? "*CURRENT*\n" : "*UPDATED*\n");
}

std::string MailboxReply(const std::vector<Message>& messages) {
    if (messages.empty()) return kFirstLine + "FILE*NOT*FOUND\n";
    std::string reply = kFirstLine;
    for (const auto& m : messages) {
        switch (m.kind) {
            case MessageKind::Start:
                reply += "START*GAME " + m.text + "\n";
                break;
            case MessageKind::Data:
                reply += "PLAYDATA " + m.text + "\n";
                break;
            case MessageKind::Picture:
                reply += PictureLine(m.text);
                break;
            case MessageKind::Move:
                reply += "*MOVE* *#*$" + m.text + "$*#*\n";
                break;
            case MessageKind::Chat:
                reply += ChatLine(m.text);
                break;
            case MessageKind::Quit:
                reply += "QUIT*GAME\n";
                break;
        }
    }
    return reply;
}

bool IsCurrentVersion(const std::string& version, const std::string& latest) {
    return VersionNumbers(version) >= VersionNumbers(latest);
}

}  // namespace gd::server
