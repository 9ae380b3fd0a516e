// Fuzz target: the program's reading of every game server reply (mailbox, waiting room, entry,
// join and update replies) on any text, and the two sides kept in step: a text the server lets
// into a reply is read back by the program as the server meant it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol.h"
#include "text.h"
#include "wire.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void ReadAsEveryReply(const std::string& reply) {
    gd::ReadMailboxReply(reply);
    gd::MoveStored(reply);
    gd::ReadEnterWaitReply(reply);
    gd::ReadJoinReply(reply);
    gd::ReadUpdateReply(reply);
    const gd::WaitingList list = gd::ReadWaitingList(reply);
    for (const auto& entry : list.entries)
        gd::ReadWaitingListLine(gd::WaitingListLine(entry));
}

void CheckChatTrip(const std::string& text) {
    namespace s = gd::server;
    if (!s::ChatTextIsSafe(text)) return;
    const gd::MailboxReply read =
        gd::ReadMailboxReply(s::MailboxReply({{s::MessageKind::Chat, text}}));
    Require(read.chat == text);
    Require(!read.quit && !read.move && !read.pictureUrl && !read.playData && !read.startGame);
}

void CheckWaitingTrip(const std::string& text) {
    namespace s = gd::server;
    const auto cut = text.find('\n');
    const std::string name = text.substr(0, cut);
    const std::string location = cut == std::string::npos ? "Oslo" : text.substr(cut + 1);
    if (!s::WaitingFieldsAreSafe(name, location)) return;
    s::WaitingEntry e;
    e.game = "G1";
    e.name = name;
    e.location = location;
    e.played = e.won = "1";
    const gd::WaitingList list = gd::ReadWaitingList(s::WaitingListReply({e, e}));
    Require(list.answer == gd::WaitingListAnswer::Entries && list.entries.size() == 2);
    for (const auto& read : list.entries) {
        Require(read.name == gd::Trim(name));
        Require(read.location == gd::Trim(location));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReadAsEveryReply(text);
    CheckChatTrip(text);
    CheckWaitingTrip(text);
    return 0;
}
