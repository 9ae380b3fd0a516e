// Fuzz target: any text the server lets into a reply comes back out of it, read the way the
// program reads replies (first opening delimiter, then the first closing one after it), and adds
// no marker the program would act on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "service.h"
#include "wire.h"

namespace {

using namespace gd::server;

void Require(bool condition) {
    if (!condition) std::abort();
}

// The program's reading of a delimited value, searched from `from`.
std::string Between(const std::string& reply, const std::string& open, const std::string& close,
                    std::size_t from = 0) {
    const auto a = reply.find(open, from);
    if (a == std::string::npos) return "";
    const auto b = reply.find(close, a);
    return b == std::string::npos || b < a + open.size()
               ? ""
               : reply.substr(a + open.size(), b - a - open.size());
}

bool Has(const std::string& reply, const char* marker) {
    return reply.find(marker) != std::string::npos;
}

void CheckChat(const std::string& text) {
    if (!ChatTextIsSafe(text)) return;
    const std::string reply = MailboxReply({{MessageKind::Chat, text}});
    Require(Between(reply, "***$$", "$$$**") == text);
    for (const char* m : {"QUIT*GAME", "*PICURL*", "*MOVE*", "PLAYDATA", "START*GAME",
                          "Socket Error", "FILE*NOT*FOUND"})
        Require(!Has(reply, m));
}

void CheckPicture(const std::string& text) {
    if (!PictureAddressIsSafe(text)) return;
    const std::string reply = MailboxReply({{MessageKind::Picture, text}});
    Require(Between(reply, "**#$", "$#**") == text);
    for (const char* m : {"QUIT*GAME", "*CHAT*", "*MOVE*", "PLAYDATA", "START*GAME"})
        Require(!Has(reply, m));
}

void CheckBlock(const std::string& block) {
    if (!PlayDataBlockIsSafe(block)) return;
    const std::string reply = MailboxReply({{MessageKind::Data, block}});
    static const char* marks[6][2] = {{"xxx", "jjj"}, {"hh*", "*qq"}, {"cc*", "*ee"},
                                      {"rr*", "*pp"}, {"tt*", "*vv"}, {"mm*", "*aa"}};
    std::string rebuilt;
    for (const auto& m : marks)
        rebuilt += m[0] + Between(reply, m[0], m[1]) + m[1];
    Require(rebuilt == block);
    for (const char* m : {"QUIT*GAME", "*CHAT*", "*MOVE*", "*PICURL*", "START*GAME"})
        Require(!Has(reply, m));
}

void CheckEntry(const std::string& name, const std::string& location) {
    if (!WaitingFieldsAreSafe(name, location)) return;
    WaitingEntry e;
    e.game = "G1";
    e.name = name;
    e.location = location;
    e.played = e.won = "1";
    const std::string reply = WaitingListReply({e, e});
    Require(Between(reply, "*#*", "#*#") == name);
    Require(Between(reply, "**#**", "##*##") == location);
    // The second entry is found after the first one's last delimiter, and reads the same.
    const auto end = reply.find("#####*#####");
    Require(Between(reply, "*$*", "$*$", end) == "G1");
    Require(Between(reply, "*#*", "#*#", reply.find("*$*", end)) == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckChat(input);
    CheckPicture(input);
    CheckBlock(input);
    const auto cut = input.find('\n');
    CheckEntry(input.substr(0, cut), cut == std::string::npos ? "" : input.substr(cut + 1));
    // Any request target: an answer, never a crash.
    SplitFields(input, 3, true);
    PercentDecode(input);
    return 0;
}
