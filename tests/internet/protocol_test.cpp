// The program's readers of the game server's replies on hostile and broken replies, and the
// waiting list's lines; every request and reply of the real server is the contract suite's.
#include <gtest/gtest.h>

#include "protocol.h"

namespace gd {
namespace {

using wire::HasMarkerFrom;

// Guards against markers taken at the reply's first characters, where they never count.
TEST(ReplyTest, MarkersCountOnlyFromTheirPosition) {
    struct Case {
        std::string marker;
        std::size_t from;
    };
    for (const Case& c : {Case{"Socket Error", 3}, Case{"*MOVE*", 2}, Case{"QUIT*GAME", 2},
                          Case{"FILE*NOT*FOUND", 1}, Case{"*CHAT*", 2}, Case{"START*GAME", 2}})
        for (std::size_t at = 1; at <= 3; ++at) {
            const std::string reply = std::string(at - 1, '.') + c.marker + " " + c.marker;
            EXPECT_EQ(HasMarkerFrom(reply, c.marker, c.from), at >= c.from) << reply;
        }
    EXPECT_FALSE(ReadMailboxReply("*MOVE**#*$e3$*#*").move);
    EXPECT_EQ(ReadMailboxReply(".*MOVE**#*$e3$*#*").move, "e3");
    EXPECT_FALSE(ReadMailboxReply(".Socket Error").socketError);
    EXPECT_TRUE(ReadMailboxReply("..Socket Error").socketError);
    EXPECT_EQ(ReadUpdateReply("*CURRENT*"), UpdateAnswer::Unknown);
    EXPECT_EQ(ReadUpdateReply("x*UPDATED* *CURRENT*"), UpdateAnswer::Current);
    EXPECT_EQ(ReadJoinReply("-JOINED-"), JoinAnswer::Failed);
    EXPECT_EQ(ReadJoinReply("x-JOINED- *BADPASSWORD*"), JoinAnswer::BadPassword);
    EXPECT_EQ(ReadEnterWaitReply("***--FULL--***").answer, EnterWaitAnswer::Other);
    const EnterWaitReply entered = ReadEnterWaitReply("x***--ENTRY--***tttt g42 ssss");
    EXPECT_EQ(entered.answer, EnterWaitAnswer::Entered);
    EXPECT_EQ(entered.gameNumber, "g42");
    EXPECT_TRUE(MoveStored("WRITE*OK"));
}

// Guards against values read from half a reply: missing or reversed delimiters give nothing.
TEST(ReplyTest, MissingOrReversedDelimitersGiveAnEmptyValue) {
    EXPECT_EQ(ReadMailboxReply(".*MOVE**#*$q17").move, "");
    EXPECT_EQ(ReadMailboxReply(".*MOVE*$*#*q17*#*$").move, "");
    EXPECT_EQ(ReadMailboxReply(".*MOVE**#*$*#*").move, "");  // the closing one inside the opening
    EXPECT_EQ(ReadMailboxReply(".*CHAT*$$$**x***$$").chat, "");
    EXPECT_EQ(ReadMailboxReply("x-START*GAMExxxAnn").startGame->name, "");
    EXPECT_EQ(ReadEnterWaitReply("x***--ENTRY--***ssss7tttt").gameNumber, "");
    const std::string binary("\0.*MOVE*\xff*#*$\0z$*#*", 20);
    EXPECT_EQ(ReadMailboxReply(binary).move, std::string("\0z", 2));
    const MailboxReply huge = ReadMailboxReply(std::string(5 << 20, '*') + "*MOVE*");
    EXPECT_EQ(huge.move, "");
}

std::string Entry(const std::string& number, const std::string& name, const std::string& place,
                  const std::string& isPrivate = "NO") {
    return "*$*" + number + "$*$*#*" + name + "#*#**#**" + place + "##*##***#***12###*###" +
           "****#****5####*####*****#*****" + isPrivate + "#####*#####";
}

// Guards against a hostile list that never ends or takes for ever: delimiters missing from
// every entry but the last.
TEST(WaitingListTest, BrokenEntriesEndTheListQuickly) {
    std::string reply;
    for (int i = 0; i < 50000; ++i)
        reply += "*$*" + std::to_string(i) + "$*$*#*n#*#";
    reply += Entry("last", "x", "y");
    const auto list = ReadWaitingList(reply);
    EXPECT_FALSE(list.entries.empty());
    EXPECT_EQ(ReadWaitingList("*$*1$*$").entries.size(), 1u);
}

// Guards against a list line whose columns the join reads back wrongly, or a game number of
// the server's full length that runs into the name.
TEST(WaitingListTest, LineLayoutAndReadBack) {
    const std::string line = WaitingListLine({"g7", "Ann Lee", "Leeds", "12", "5", "YES"});
    EXPECT_EQ(line.size(), 12u + 27 + 29 + 10 + 9 + 3);
    EXPECT_EQ(line.substr(78), "5        YES");
    // The game number's blanks are counted on its trimmed length.
    EXPECT_EQ(WaitingListLine({" g7 ", "A", "L", "1", "2", "NO"}).substr(0, 15), " g7           A");
    const std::string full = WaitingListLine({"BM9TPRAEQFL", "Ann", "L", "1", "2", "NO"});
    EXPECT_EQ(full.substr(0, 15), "BM9TPRAEQFL Ann");
    EXPECT_EQ(ReadWaitingListLine(full).gameNumber + "|" + ReadWaitingListLine(full).name,
              "BM9TPRAEQFL|Ann");
    const SelectedGame back = ReadWaitingListLine(line);
    EXPECT_EQ(back.gameNumber, "g7");
    EXPECT_EQ(back.name, "Ann Lee");
    EXPECT_EQ(back.location, "Leeds");
    EXPECT_EQ(back.isPrivate, "YES");
    const std::string wide = WaitingListLine({"g", std::string(30, 'n'), "L", "1", "2", "NO"});
    EXPECT_EQ(wide.substr(12, 31), std::string(30, 'n') + "L");
    EXPECT_EQ(ReadWaitingListLine("short").gameNumber, "short");
    EXPECT_EQ(ReadWaitingListLine("short").isPrivate, "");
}

}  // namespace
}  // namespace gd
