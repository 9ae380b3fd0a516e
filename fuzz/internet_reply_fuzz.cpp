// Fuzz target: the program's reading of every game server reply (mailbox, waiting room, entry,
// join and update replies) on any text, without a fault. That the server's replies read back as
// meant is server_reply_fuzz's part.
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol.h"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReadAsEveryReply(text);
    return 0;
}
