// The server's decisions that every store applies to the rows it read in its own transaction.
#include <set>

#include "store.h"

namespace gd::server {

std::size_t DeliverableCount(const std::vector<Message>& pendingOldestFirst) {
    std::set<MessageKind> seen;
    std::size_t n = 0;
    for (const auto& m : pendingOldestFirst) {
        const bool alone = m.kind == MessageKind::Quit || m.kind == MessageKind::Start ||
                           m.kind == MessageKind::Data;
        if (alone) return n == 0 ? 1 : n;
        if (!seen.insert(m.kind).second) break;
        ++n;
    }
    return n;
}

bool WaitHasPassed(std::int64_t expiresAtMs, std::int64_t nowMs) {
    return expiresAtMs <= nowMs;
}

bool RoomHasSpace(std::int64_t waiting, int roomSize) {
    return waiting < roomSize;
}

bool MayActFor(const std::optional<std::string>& sideAddress, const std::string& address,
               bool bound) {
    return !bound || (sideAddress && *sideAddress == address);
}

JoinOutcome JoinOfWaitingGame(bool isPrivate, const std::string& storedPassword,
                              const std::string& password) {
    return isPrivate && storedPassword != password ? JoinOutcome::BadPassword : JoinOutcome::Joined;
}

bool IsRetriedMove(const Message& message, const std::optional<std::string>& lastMoveInto) {
    return message.kind == MessageKind::Move && lastMoveInto && *lastMoveInto == message.text;
}

}  // namespace gd::server
