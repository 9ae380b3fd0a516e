// The wire between the program and the game server: its texts, writers and readers.
#include "game_wire.h"

#include <algorithm>
#include <array>
#include <map>

#include "text.h"

namespace gd::wire {
namespace {

constexpr auto npos = std::string::npos;

constexpr std::string_view kScriptFolder = "/Glyphdrop/";
constexpr std::array<std::string_view, 7> kScriptNames = {
    "readwait.mv", "joinwait.mv", "joingame.mv", "exitwait.mv",
    "getdata.mv",  "postdata.mv", "updates.mv"};

constexpr std::array<std::string_view, 6> kKindNames = {"START", "DATA", "PICURL",
                                                        "MOVE",  "CHAT", "QUIT"};

// Every reply starts with a line of its own, so no marker stands at the reply's start, where
// the program would not count it.
constexpr std::string_view kFirstLine = "Glyphdrop\n";

// The markers the program looks for in replies, and the delimiter pairs around their payloads.
constexpr std::string_view kSocketError = "Socket Error";
constexpr std::string_view kUnreachable = "Unable to open";
constexpr std::string_view kEmptyMailbox = "FILE*NOT*FOUND";
constexpr std::string_view kStored = "WRITE*OK";
constexpr std::string_view kChat = "*CHAT*", kChatOpen = "***$$", kChatClose = "$$$**";
constexpr std::string_view kQuit = "QUIT*GAME";
constexpr std::string_view kPicture = "*PICURL*", kPictureOpen = "**#$", kPictureClose = "$#**";
constexpr std::string_view kMove = "*MOVE*", kMoveOpen = "*#*$", kMoveClose = "$*#*";
constexpr std::string_view kPlayData = "PLAYDATA";
constexpr std::string_view kStartGame = "START*GAME";
// The batch a read delivered, for the next read to confirm.
constexpr std::string_view kBatch = "*BATCH*", kBatchOpen = "<<*", kBatchClose = "*>>";
constexpr std::string_view kFull = "***--FULL--***";
constexpr std::string_view kEntered = "***--ENTRY--***", kGameOpen = "tttt", kGameClose = "ssss";
constexpr std::string_view kBadPassword = "*BADPASSWORD*";
constexpr std::string_view kJoined = "-JOINED-";
constexpr std::string_view kCurrent = "*CURRENT*";
constexpr std::string_view kUpdated = "*UPDATED*";

struct Delimiters {
    std::string_view open, close;
};
// The six fields of a waiting-list entry, in their order.
constexpr std::array<Delimiters, 6> kEntryFields{{{"*$*", "$*$"},
                                                  {"*#*", "#*#"},
                                                  {"**#**", "##*##"},
                                                  {"***#***", "###*###"},
                                                  {"****#****", "####*####"},
                                                  {"*****#*****", "#####*#####"}}};
// The six fields of the play-data block, in their order.
constexpr std::array<Delimiters, 6> kBlockFields{{{"xxx", "jjj"},
                                                  {"hh*", "*qq"},
                                                  {"cc*", "*ee"},
                                                  {"rr*", "*pp"},
                                                  {"tt*", "*vv"},
                                                  {"mm*", "*aa"}}};

// Every marker and delimiter above: a player's text may hold none of their characters.
std::vector<std::string_view> AllMarkers() {
    std::vector<std::string_view> all = {
        kSocketError, kUnreachable, kEmptyMailbox, kStored,      kChat,         kChatOpen,
        kChatClose,   kQuit,        kPicture,      kPictureOpen, kPictureClose, kMove,
        kMoveOpen,    kMoveClose,   kPlayData,     kStartGame,   kBatch,        kBatchOpen,
        kBatchClose,  kFull,        kEntered,      kGameOpen,    kGameClose,    kBadPassword,
        kJoined,      kCurrent,     kUpdated};
    for (const auto& d : kEntryFields)
        all.insert(all.end(), {d.open, d.close});
    for (const auto& d : kBlockFields)
        all.insert(all.end(), {d.open, d.close});
    return all;
}

// The bytes a reply carries as they are: printable ASCII outside every marker, but "%".
const std::array<bool, 256>& PlainBytes() {
    static const std::array<bool, 256> plain = [] {
        std::array<bool, 256> p{};
        for (int c = 0x21; c < 0x7f; ++c)
            p[c] = c != '%';
        for (std::string_view m : AllMarkers())
            for (char c : m)
                p[static_cast<unsigned char>(c)] = false;
        return p;
    }();
    return plain;
}

constexpr const char* kHex = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendEscape(std::string& out, unsigned char c) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

std::string Line(std::string_view text) {
    return std::string(kFirstLine) + std::string(text) + "\n";
}

// First occurrences at or after a start that only moves forward, each delimiter remembered, so
// a reply of many entries is read in one pass even when a delimiter is missing from most.
class ForwardSearch {
  public:
    explicit ForwardSearch(const std::string& text) : text_(text) {}
    std::size_t Find(std::string_view what, std::size_t from) {
        auto& seen = seen_[what];
        if (seen.valid && seen.from <= from && (seen.at == npos || seen.at >= from)) return seen.at;
        seen = {true, from, text_.find(what, from)};
        return seen.at;
    }

  private:
    struct Seen {
        bool valid = false;
        std::size_t from = 0, at = npos;
    };
    const std::string& text_;
    std::map<std::string_view, Seen> seen_;
};

}  // namespace

std::string ScriptPath(Script script) {
    std::string path =
        std::string(kScriptFolder) + std::string(kScriptNames[static_cast<std::size_t>(script)]);
    return script == Script::ReadWait ? path : path + "?";
}

std::optional<Script> ScriptOf(std::string_view path) {
    if (path.substr(0, kScriptFolder.size()) != kScriptFolder) return std::nullopt;
    path.remove_prefix(kScriptFolder.size());
    for (std::size_t i = 0; i < kScriptNames.size(); ++i)
        if (path == kScriptNames[i]) return static_cast<Script>(i);
    return std::nullopt;
}

std::string MailboxKey(Side reader, const std::string& game) {
    return (reader == Side::Host ? "s" : "c") + game;
}

std::optional<Mailbox> ParseMailboxKey(const std::string& key) {
    if (key.size() < 2 || key.size() > 12) return std::nullopt;
    if (key[0] != 's' && key[0] != 'c') return std::nullopt;
    return Mailbox{key.substr(1), key[0] == 's' ? Side::Host : Side::Joiner};
}

std::string_view KindName(MessageKind kind) {
    return kKindNames[static_cast<std::size_t>(kind) - 1];
}

std::optional<MessageKind> KindOf(std::string_view name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        if (name == kKindNames[i]) return static_cast<MessageKind>(i + 1);
    return std::nullopt;
}

std::string EncodeField(const std::string& field) {
    std::string out;
    for (const char ch : field) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= ' ' || c >= 0x7f || c == '+' || c == '#' || c == '%')
            AppendEscape(out, c);
        else
            out += ch;
    }
    return out;
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string query;
    for (std::size_t i = 0; i < fields.size(); ++i)
        query += (i ? "+" : "") + EncodeField(fields[i]);
    return query;
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

std::string EncodeText(const std::string& text) {
    const auto& plain = PlainBytes();
    std::string out;
    out.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (plain[c])
            out += ch;
        else
            AppendEscape(out, c);
    }
    return out;
}

std::string DecodeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                            HexValue(text[i + 2]) >= 0;
        if (!escape) {
            out += text[i];
            continue;
        }
        out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
        i += 2;
    }
    return out;
}

bool IsEncodedText(const std::string& text) {
    return EncodeText(DecodeText(text)) == text;
}

bool HasMarkerFrom(const std::string& reply, std::string_view marker, std::size_t position) {
    const auto at = reply.find(marker);
    return at != npos && at + 1 >= position;
}

std::string Delimited(const std::string& reply, std::string_view open, std::string_view close) {
    const auto o = reply.find(open);
    const auto c = reply.find(close);
    if (o == npos || c == npos || c < o + open.size()) return "";
    return reply.substr(o + open.size(), c - o - open.size());
}

std::string WritePlayDataBlock(const PlayData& d) {
    const std::array<std::string, 6> fields = {
        EncodeText(Trim(d.name)), EncodeText(Trim(d.location)), d.played, d.won, d.lost, d.tied};
    std::string block;
    for (std::size_t i = 0; i < fields.size(); ++i)
        block += std::string(kBlockFields[i].open) + fields[i] + std::string(kBlockFields[i].close);
    return block;
}

PlayData ReadPlayDataBlock(const std::string& text) {
    std::array<std::string, 6> f;
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = Trim(DecodeText(Delimited(text, kBlockFields[i].open, kBlockFields[i].close)));
    return PlayData{f[0], f[1], f[2], f[3], f[4], f[5]};
}

std::optional<PlayData> ParsePlayDataBlock(const std::string& block) {
    std::array<std::string, 6> f;
    std::size_t at = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const auto& d = kBlockFields[i];
        if (block.compare(at, d.open.size(), d.open) != 0) return std::nullopt;
        at += d.open.size();
        const auto end = block.find(d.close, at);
        if (end == npos) return std::nullopt;
        f[i] = block.substr(at, end - at);
        at = end + d.close.size();
    }
    if (at != block.size() || !IsEncodedText(f[0]) || !IsEncodedText(f[1])) return std::nullopt;
    for (std::size_t i = 2; i < f.size(); ++i)
        if (!IsCounter(f[i])) return std::nullopt;
    return PlayData{f[0], f[1], f[2], f[3], f[4], f[5]};
}

bool IsCounter(const std::string& text) {
    const std::size_t digitsAt = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t digits = text.size() - digitsAt;
    return digits >= 1 && digits <= 9 &&
           std::all_of(text.begin() + static_cast<long>(digitsAt), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int64_t> ParseBatchNumber(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string WriteMailboxReply(const std::vector<Message>& messages, std::int64_t batch) {
    std::string reply(kFirstLine);
    if (messages.empty()) return reply + std::string(kEmptyMailbox) + "\n";
    for (const auto& m : messages) {
        std::string line;
        switch (m.kind) {
            case MessageKind::Start:
                line = std::string(kStartGame) + " " + m.text;
                break;
            case MessageKind::Data:
                line = std::string(kPlayData) + " " + m.text;
                break;
            case MessageKind::Picture:
                line = std::string(kPicture) + " " + std::string(kPictureOpen) +
                       EncodeText(m.text) + std::string(kPictureClose);
                break;
            case MessageKind::Move:
                line = std::string(kMove) + " " + std::string(kMoveOpen) + m.text +
                       std::string(kMoveClose);
                break;
            case MessageKind::Chat:
                line = std::string(kChat) + " " + std::string(kChatOpen) + EncodeText(m.text) +
                       std::string(kChatClose);
                break;
            case MessageKind::Quit:
                line = std::string(kQuit);
                break;
        }
        reply += line + "\n";
    }
    if (batch > 0)
        reply += std::string(kBatch) + " " + std::string(kBatchOpen) + std::to_string(batch) +
                 std::string(kBatchClose) + "\n";
    return reply;
}

MailboxReply ReadMailboxReply(const std::string& reply) {
    MailboxReply r;
    r.socketError = HasMarkerFrom(reply, kSocketError, 3);
    r.empty = HasMarkerFrom(reply, kEmptyMailbox, 1);
    if (HasMarkerFrom(reply, kChat, 2))
        r.chat = DecodeText(Delimited(reply, kChatOpen, kChatClose));
    r.quit = HasMarkerFrom(reply, kQuit, 2);
    if (HasMarkerFrom(reply, kPicture, 2))
        r.pictureUrl = DecodeText(Delimited(reply, kPictureOpen, kPictureClose));
    if (HasMarkerFrom(reply, kMove, 2)) r.move = Delimited(reply, kMoveOpen, kMoveClose);
    if (HasMarkerFrom(reply, kPlayData, 2)) r.playData = ReadPlayDataBlock(reply);
    if (HasMarkerFrom(reply, kStartGame, 2)) r.startGame = ReadPlayDataBlock(reply);
    if (HasMarkerFrom(reply, kBatch, 2))
        r.batch = ParseBatchNumber(Delimited(reply, kBatchOpen, kBatchClose)).value_or(0);
    return r;
}

std::string WriteStoredReply() {
    return Line(kStored);
}

bool MoveStored(const std::string& reply) {
    return HasMarkerFrom(reply, kStored, 1);
}

std::string WriteEnteredReply(const std::string& game) {
    return Line(std::string(kEntered) + std::string(kGameOpen) + game + std::string(kGameClose));
}

std::string WriteRoomFullReply() {
    return Line(kFull);
}

EnterWaitReply ReadEnterWaitReply(const std::string& reply) {
    if (HasMarkerFrom(reply, kFull, 2)) return {EnterWaitAnswer::Full, ""};
    if (HasMarkerFrom(reply, kEntered, 2))
        return {EnterWaitAnswer::Entered, Trim(Delimited(reply, kGameOpen, kGameClose))};
    return {};
}

std::string WriteJoinedReply() {
    return Line(kJoined);
}

std::string WriteBadPasswordReply() {
    return Line(kBadPassword);
}

std::string WriteNotWaitingReply() {
    return Line("That game is not waiting any more.");
}

JoinAnswer ReadJoinReply(const std::string& reply) {
    if (HasMarkerFrom(reply, kBadPassword, 2)) return JoinAnswer::BadPassword;
    if (HasMarkerFrom(reply, kJoined, 2)) return JoinAnswer::Joined;
    return JoinAnswer::Failed;
}

std::string WriteLeftReply(bool left) {
    return Line(left ? "Left the waiting room." : "That game is not waiting.");
}

std::string WriteUpdateReply(bool current) {
    return Line(current ? kCurrent : kUpdated);
}

UpdateAnswer ReadUpdateReply(const std::string& reply) {
    if (HasMarkerFrom(reply, kCurrent, 2)) return UpdateAnswer::Current;
    if (HasMarkerFrom(reply, kUpdated, 2)) return UpdateAnswer::Updated;
    return UpdateAnswer::Unknown;
}

std::string WriteWaitingList(const std::vector<WaitingEntry>& entries) {
    std::string reply(kFirstLine);
    for (const auto& e : entries) {
        const std::array<std::string, 6> fields = {
            e.gameNumber, EncodeText(e.name), EncodeText(e.location), e.played, e.won, e.isPrivate};
        for (std::size_t i = 0; i < fields.size(); ++i)
            reply +=
                std::string(kEntryFields[i].open) + fields[i] + std::string(kEntryFields[i].close);
        reply += "\n";
    }
    if (entries.empty()) reply += "No players are waiting.\n";
    return reply;
}

WaitingList ReadWaitingList(const std::string& reply) {
    WaitingList list;
    if (HasMarkerFrom(reply, kSocketError, 3)) {
        list.answer = WaitingListAnswer::SocketError;
        return list;
    }
    if (HasMarkerFrom(reply, kUnreachable, 1)) {
        list.answer = WaitingListAnswer::Unreachable;
        return list;
    }
    ForwardSearch search(reply);
    for (std::size_t p = 0; search.Find(kEntryFields[0].open, p) != npos;) {
        std::array<std::string, 6> field;
        std::size_t lastClose = npos;
        for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
            const auto& d = kEntryFields[i];
            const auto o = search.Find(d.open, p);
            const auto c = search.Find(d.close, o == npos ? p : o);
            if (o != npos && c != npos && c >= o + d.open.size())
                field[i] = reply.substr(o + d.open.size(), c - o - d.open.size());
            lastClose = c;
        }
        field[1] = DecodeText(field[1]);
        field[2] = DecodeText(field[2]);
        for (std::size_t i = 1; i < 5; ++i)
            field[i] = Trim(field[i]);
        list.entries.push_back({field[0], field[1], field[2], field[3], field[4], field[5]});
        // The next entry starts after this one's last closing delimiter; a reply that does not
        // move forward ends the list.
        if (lastClose == npos || lastClose <= p ||
            search.Find(kEntryFields[1].open, lastClose) == npos)
            break;
        p = lastClose;
    }
    return list;
}

}  // namespace gd::wire
