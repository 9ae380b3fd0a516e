// Building the game server's request URLs and reading its replies by marker and position.
#include "protocol.h"

#include <array>
#include <map>

#include "text.h"

namespace gd {
namespace {

constexpr auto npos = std::string::npos;

std::string Script(const std::string& base, const std::string& script) {
    std::string root = Trim(base);
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    return root + "/Glyphdrop/" + script;
}

// Fields joined with a raw "+", each encoded on its own.
std::string Joined(const std::vector<std::string>& fields) {
    std::string query;
    for (std::size_t i = 0; i < fields.size(); ++i)
        query += (i ? "+" : "") + EncodeField(fields[i]);
    return query;
}

// The delimiters of the six fields of a waiting-room entry.
struct FieldDelimiters {
    const char* open;
    const char* close;
};
constexpr std::array<FieldDelimiters, 6> kEntryFields{{{"*$*", "$*$"},
                                                       {"*#*", "#*#"},
                                                       {"**#**", "##*##"},
                                                       {"***#***", "###*###"},
                                                       {"****#****", "####*####"},
                                                       {"*****#*****", "#####*#####"}}};
// Column widths of the list line; the private flag takes the rest. The game number's column
// is one wider than the server's 11-character numbers, so a blank keeps it from the name.
constexpr std::array<std::size_t, 5> kColumnWidths{12, 27, 29, 10, 9};

// First occurrences at or after a start that only moves forward, each delimiter remembered, so
// a reply of many entries is read in one pass even when a delimiter is missing from most.
class ForwardSearch {
  public:
    explicit ForwardSearch(const std::string& text) : text_(text) {}
    std::size_t Find(const std::string& what, std::size_t from) {
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
    std::map<std::string, Seen> seen_;
};

std::string PaddedTo(const std::string& text, std::size_t width, std::size_t counted) {
    return text + std::string(counted < width ? width - counted : 0, ' ');
}

// Characters `first` to `last` (counting from 1) of `line`, trimmed; npos reads to the end.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
    if (line.size() < first) return "";
    return Trim(line.substr(first - 1, last == npos ? npos : last - first + 1));
}

}  // namespace

std::string EncodeField(const std::string& field) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : field) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= ' ' || c >= 0x7f || c == '+' || c == '#' || c == '%') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string MakeUserEmail(const std::string& player, const std::string& host) {
    std::string email = Trim(player) + "@" + Trim(host);
    for (char& c : email)
        if (c == '+') c = '-';
    return email;
}

std::string ReadWaitUrl(const std::string& base) {
    return Script(base, "readwait.mv");
}

std::string JoinWaitUrl(const std::string& base, const EnterWaitRequest& r) {
    return Script(base, "joinwait.mv?") +
           Joined({Trim(r.userEmail), Trim(r.name), Trim(r.location), std::to_string(r.played),
                   std::to_string(r.won), r.isPrivate ? "YES" : "NO", Trim(r.password),
                   std::to_string(r.waitSeconds)});
}

std::string JoinGameUrl(const std::string& base, const std::string& gameNumber,
                        const std::string& userEmail, const std::string& password) {
    return Script(base, "joingame.mv?") + Joined({gameNumber, Trim(userEmail), Trim(password)});
}

std::string ExitWaitUrl(const std::string& base, const std::string& readMailboxKey) {
    const std::string number = readMailboxKey.empty() ? "" : Trim(readMailboxKey.substr(1));
    return Script(base, "exitwait.mv?") + EncodeField(number);
}

std::string GetDataUrl(const std::string& base, const std::string& readMailboxKey) {
    return Script(base, "getdata.mv?") + EncodeField(readMailboxKey);
}

std::string UpdatesUrl(const std::string& base, const std::string& version) {
    return Script(base, "updates.mv?") + EncodeField(version);
}

std::string PostUrl(const std::string& base, const std::string& postMailboxKey, PostKind kind,
                    const std::string& text) {
    const std::string key = Trim(postMailboxKey);
    std::vector<std::string> fields;
    switch (kind) {
        case PostKind::Start:
            fields = {postMailboxKey, "START", text};
            break;
        case PostKind::Data:
            fields = {postMailboxKey, "DATA", text};
            break;
        case PostKind::PictureUrl:
            fields = {key, "PICURL", Trim(text)};
            break;
        case PostKind::Move:
            fields = {key, "MOVE", text};
            break;
        case PostKind::Chat:
            fields = {key, "CHAT", Trim(text)};
            break;
        case PostKind::Quit:
            fields = {key, "QUIT"};
            break;
    }
    return Script(base, "postdata.mv?") + Joined(fields);
}

bool HasMarkerFrom(const std::string& reply, const std::string& marker, std::size_t position) {
    const auto at = reply.find(marker);
    return at != npos && at + 1 >= position;
}

std::string Delimited(const std::string& reply, const std::string& open, const std::string& close) {
    const auto o = reply.find(open);
    const auto c = reply.find(close);
    if (o == npos || c == npos || c < o + open.size()) return "";
    return reply.substr(o + open.size(), c - o - open.size());
}

MailboxReply ReadMailboxReply(const std::string& reply) {
    MailboxReply r;
    r.socketError = HasMarkerFrom(reply, "Socket Error", 3);
    r.empty = HasMarkerFrom(reply, "FILE*NOT*FOUND", 1);
    if (HasMarkerFrom(reply, "*CHAT*", 2)) r.chat = Delimited(reply, "***$$", "$$$**");
    r.quit = HasMarkerFrom(reply, "QUIT*GAME", 2);
    if (HasMarkerFrom(reply, "*PICURL*", 2)) r.pictureUrl = Delimited(reply, "**#$", "$#**");
    if (HasMarkerFrom(reply, "*MOVE*", 2)) r.move = Delimited(reply, "*#*$", "$*#*");
    if (HasMarkerFrom(reply, "PLAYDATA", 2)) r.playData = ReadPlayDataBlock(reply);
    if (HasMarkerFrom(reply, "START*GAME", 2)) r.startGame = ReadPlayDataBlock(reply);
    return r;
}

bool MoveStored(const std::string& reply) {
    return HasMarkerFrom(reply, "WRITE*OK", 1);
}

EnterWaitReply ReadEnterWaitReply(const std::string& reply) {
    if (HasMarkerFrom(reply, "***--FULL--***", 2)) return {EnterWaitAnswer::Full, ""};
    if (HasMarkerFrom(reply, "***--ENTRY--***", 2))
        return {EnterWaitAnswer::Entered, Trim(Delimited(reply, "tttt", "ssss"))};
    return {};
}

JoinAnswer ReadJoinReply(const std::string& reply) {
    if (HasMarkerFrom(reply, "*BADPASSWORD*", 2)) return JoinAnswer::BadPassword;
    if (HasMarkerFrom(reply, "-JOINED-", 2)) return JoinAnswer::Joined;
    return JoinAnswer::Failed;
}

UpdateAnswer ReadUpdateReply(const std::string& reply) {
    if (HasMarkerFrom(reply, "*CURRENT*", 2)) return UpdateAnswer::Current;
    if (HasMarkerFrom(reply, "*UPDATED*", 2)) return UpdateAnswer::Updated;
    return UpdateAnswer::Unknown;
}

WaitingList ReadWaitingList(const std::string& reply) {
    WaitingList list;
    if (HasMarkerFrom(reply, "Socket Error", 3)) {
        list.answer = WaitingListAnswer::SocketError;
        return list;
    }
    if (HasMarkerFrom(reply, "Unable to open", 1)) {
        list.answer = WaitingListAnswer::Unreachable;
        return list;
    }
    ForwardSearch search(reply);
    for (std::size_t p = 0; search.Find("*$*", p) != npos;) {
        std::array<std::string, 6> field;
        std::size_t lastClose = npos;
        for (std::size_t i = 0; i < kEntryFields.size(); ++i) {
            const std::string open = kEntryFields[i].open, close = kEntryFields[i].close;
            const auto o = search.Find(open, p);
            const auto c = search.Find(close, o == npos ? p : o);
            if (o != npos && c != npos && c >= o + open.size())
                field[i] = reply.substr(o + open.size(), c - o - open.size());
            lastClose = c;
        }
        for (std::size_t i = 1; i < 5; ++i)
            field[i] = Trim(field[i]);
        list.entries.push_back({field[0], field[1], field[2], field[3], field[4], field[5]});
        // The next entry starts after this one's last closing delimiter; a reply that does not
        // move forward ends the list.
        if (lastClose == npos || lastClose <= p || search.Find("*#*", lastClose) == npos) break;
        p = lastClose;
    }
    return list;
}

std::string WaitingListLine(const WaitingEntry& e) {
    const std::array<const std::string*, 5> padded{&e.gameNumber, &e.name, &e.location, &e.played,
                                                   &e.won};
    std::string line = PaddedTo(e.gameNumber, kColumnWidths[0], Trim(e.gameNumber).size());
    for (std::size_t i = 1; i < padded.size(); ++i)
        line += PaddedTo(*padded[i], kColumnWidths[i], padded[i]->size());
    return line + e.isPrivate;
}

SelectedGame ReadWaitingListLine(const std::string& line) {
    return {Columns(line, 1, 12), Columns(line, 13, 39), Columns(line, 40, 68),
            Columns(line, 87, npos)};
}

}  // namespace gd
