// Fuzz target: any text a player sends arrives as sent. The server's replies around it are read
// with the program's own readers, which must give the text back and find no other message in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game_wire.h"
#include "text.h"
#include "server_replies.h"

namespace {

namespace wire = gd::wire;

void Require(bool condition) {
    if (!condition) std::abort();
}

// The reply holding `message` alone, read back: nothing but that message is in it.
wire::MailboxReply ReadAlone(const wire::Message& message) {
    const wire::MailboxReply r = wire::ReadMailboxReply(wire::WriteMailboxReply({message}, 7));
    Require(!r.socketError && !r.empty && r.batch == 7);
    Require(r.quit == (message.kind == wire::MessageKind::Quit));
    Require(!r.move || message.kind == wire::MessageKind::Move);
    return r;
}

void CheckTexts(const std::string& text) {
    const auto chat = ReadAlone({wire::MessageKind::Chat, text});
    Require(chat.chat == text && !chat.pictureUrl && !chat.playData && !chat.startGame);
    const auto picture = ReadAlone({wire::MessageKind::Picture, text});
    Require(picture.pictureUrl == text && !picture.chat && !picture.playData);
}

void CheckBlock(const std::string& name, const std::string& location) {
    const std::string block = wire::WritePlayDataBlock({name, location, "3", "-1", "0", "12"});
    Require(wire::ParsePlayDataBlock(block).has_value());
    const auto read = ReadAlone({wire::MessageKind::Start, block});
    Require(read.startGame && !read.playData && !read.chat && !read.pictureUrl);
    Require(read.startGame->name == gd::Trim(name) &&
            read.startGame->location == gd::Trim(location));
    Require(read.startGame->won == "-1" && read.startGame->tied == "12");
}

void CheckEntry(const std::string& name, const std::string& location) {
    gd::server::WaitingEntry e;
    e.game = "G1";
    e.name = name;
    e.location = location;
    e.played = e.won = "1";
    const wire::WaitingList list = wire::ReadWaitingList(gd::server::WaitingListReply({e, e}));
    Require(list.answer == wire::WaitingListAnswer::Entries && list.entries.size() == 2);
    for (const auto& read : list.entries)
        Require(read.gameNumber == "G1" && read.name == gd::Trim(name) &&
                read.location == gd::Trim(location) && read.played == "1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckTexts(input);
    const auto cut = input.find('\n');
    const std::string first = input.substr(0, cut);
    const std::string rest = cut == std::string::npos ? "" : input.substr(cut + 1);
    CheckBlock(first, rest);
    CheckEntry(first, rest);
    // Any request target: an answer, never a crash.
    wire::SplitFields(input, 3, true);
    wire::PercentDecode(input);
    return 0;
}
