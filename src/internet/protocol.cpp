// Building the game server's request URLs and laying out the waiting list's lines.
#include "protocol.h"

#include <array>

#include "text.h"

namespace gd {
namespace {

constexpr auto npos = std::string::npos;
using wire::JoinFields;
using wire::Script;

std::string Url(const std::string& base, Script script) {
    std::string root = Trim(base);
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    return root + wire::ScriptPath(script);
}

// Column widths of the list line; the private flag takes the rest. The game number's column
// is one wider than the server's 11-character numbers, so a blank keeps it from the name.
constexpr std::array<std::size_t, 5> kColumnWidths{12, 27, 29, 10, 9};

std::string PaddedTo(const std::string& text, std::size_t width, std::size_t counted) {
    return text + std::string(counted < width ? width - counted : 0, ' ');
}

// Characters `first` to `last` (counting from 1) of `line`, trimmed; npos reads to the end.
std::string Columns(const std::string& line, std::size_t first, std::size_t last) {
    if (line.size() < first) return "";
    return Trim(line.substr(first - 1, last == npos ? npos : last - first + 1));
}

wire::MessageKind KindOf(PostKind kind) {
    switch (kind) {
        case PostKind::Start:
            return wire::MessageKind::Start;
        case PostKind::Data:
            return wire::MessageKind::Data;
        case PostKind::PictureUrl:
            return wire::MessageKind::Picture;
        case PostKind::Move:
            return wire::MessageKind::Move;
        case PostKind::Chat:
            return wire::MessageKind::Chat;
        case PostKind::Quit:
            break;
    }
    return wire::MessageKind::Quit;
}

}  // namespace

std::string MakeUserEmail(const std::string& player, const std::string& host) {
    std::string email = Trim(player) + "@" + Trim(host);
    for (char& c : email)
        if (c == '+') c = '-';
    return email;
}

std::string ReadWaitUrl(const std::string& base) {
    return Url(base, Script::ReadWait);
}

std::string JoinWaitUrl(const std::string& base, const EnterWaitRequest& r) {
    return Url(base, Script::JoinWait) +
           JoinFields({Trim(r.userEmail), Trim(r.name), Trim(r.location), std::to_string(r.played),
                       std::to_string(r.won), r.isPrivate ? "YES" : "NO", Trim(r.password),
                       std::to_string(r.waitSeconds)});
}

std::string JoinGameUrl(const std::string& base, const std::string& gameNumber,
                        const std::string& userEmail, const std::string& password) {
    return Url(base, Script::JoinGame) + JoinFields({gameNumber, Trim(userEmail), Trim(password)});
}

std::string ExitWaitUrl(const std::string& base, const std::string& readMailboxKey) {
    const std::string number = readMailboxKey.empty() ? "" : Trim(readMailboxKey.substr(1));
    return Url(base, Script::ExitWait) + EncodeField(number);
}

std::string GetDataUrl(const std::string& base, const std::string& readMailboxKey,
                       std::optional<std::int64_t> confirmBatch) {
    std::vector<std::string> fields = {readMailboxKey};
    if (confirmBatch) fields.push_back(std::to_string(*confirmBatch));
    return Url(base, Script::GetData) + JoinFields(fields);
}

std::string UpdatesUrl(const std::string& base, const std::string& version) {
    return Url(base, Script::Updates) + EncodeField(version);
}

std::string PostUrl(const std::string& base, const std::string& postMailboxKey, PostKind kind,
                    const std::string& text) {
    const bool keyAsItStands = kind == PostKind::Start || kind == PostKind::Data;
    const bool trimmedText = kind == PostKind::PictureUrl || kind == PostKind::Chat;
    std::vector<std::string> fields = {keyAsItStands ? postMailboxKey : Trim(postMailboxKey),
                                       std::string(wire::KindName(KindOf(kind)))};
    if (kind != PostKind::Quit) fields.push_back(trimmedText ? Trim(text) : text);
    return Url(base, Script::PostData) + JoinFields(fields);
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
