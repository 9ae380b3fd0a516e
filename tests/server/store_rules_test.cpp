// The server's decisions that both stores apply, tested once here rather than once per store.
#include <gtest/gtest.h>

#include "store.h"

namespace gd::server {
namespace {

// Guards against a read that takes two messages of a kind, a quit before older messages, or a
// play-data block sharing a reply.
TEST(StoreRules, AReadTakesOneMessageOfEachKindInOrder) {
    using K = MessageKind;
    const auto count = [](std::vector<K> kinds) {
        std::vector<Message> pending;
        for (K k : kinds)
            pending.push_back({k, ""});
        return DeliverableCount(pending);
    };
    EXPECT_EQ(count({K::Chat, K::Move, K::Picture, K::Chat}), 3u);
    EXPECT_EQ(count({K::Chat, K::Quit}), 1u);
    EXPECT_EQ(count({K::Start, K::Data}), 1u);
    EXPECT_EQ(count({K::Move, K::Data}), 1u);
}

// Guards against an entry listed, joined or counted after its wait, a room one too big, another
// address acting for a player, or a private game joined without its password.
TEST(StoreRules, WaitsRoomsAddressesAndPasswords) {
    EXPECT_TRUE(!WaitHasPassed(1000, 999) && WaitHasPassed(1000, 1000));
    EXPECT_TRUE(RoomHasSpace(2, 3) && !RoomHasSpace(3, 3));
    const std::optional<std::string> host = "127.0.0.1";
    EXPECT_TRUE(MayActFor(host, "127.0.0.1", true) && !MayActFor(host, "127.0.0.2", true));
    EXPECT_FALSE(MayActFor(std::nullopt, "127.0.0.1", true));  // nobody has joined yet
    EXPECT_TRUE(MayActFor(std::nullopt, "127.0.0.9", false));
    EXPECT_EQ(JoinOfWaitingGame(true, "s cret", "s cret"), JoinOutcome::Joined);
    EXPECT_EQ(JoinOfWaitingGame(true, "s cret", "S cret"), JoinOutcome::BadPassword);
    EXPECT_EQ(JoinOfWaitingGame(false, "none", "anything"), JoinOutcome::Joined);
}

// Guards against a move stored twice when the program repeats a post it saw no answer to, or a
// new move taken for a retry.
TEST(StoreRules, ARetriedMoveRepeatsTheLastMoveIntoTheMailbox) {
    EXPECT_TRUE(IsRetriedMove({MessageKind::Move, "e17"}, std::string("e17")));
    EXPECT_FALSE(IsRetriedMove({MessageKind::Move, "e17"}, std::nullopt));
    EXPECT_FALSE(IsRetriedMove({MessageKind::Move, "e17"}, std::string("e10")));
    EXPECT_FALSE(IsRetriedMove({MessageKind::Chat, "e17"}, std::string("e17")));
}

}  // namespace
}  // namespace gd::server
