// The game server's wire: request URLs and replies read by marker and position.
#include <gtest/gtest.h>

#include "protocol.h"

namespace gd {
namespace {

using wire::HasMarkerFrom;

const std::string kBase = "http://127.0.0.1:27810";

// Guards against fields that shift or break the request line: blanks, "+" and "#" inside a
// field, or a post whose kind the server would read wrongly. Every request reaching the real
// server is the whole-program check's.
TEST(RequestTest, FieldsAreEncodedAndJoinedWithARawPlus) {
    EXPECT_EQ(EncodeField("a b+c#d%e\x01\xe9~"), "a%20b%2Bc%23d%25e%01%E9~");
    EnterWaitRequest r{" ann@pc ", " Ann Lee ", " Leeds+York ", 3, -1, false, "none", 300};
    EXPECT_EQ(JoinWaitUrl(kBase + "/", r),
              kBase + "/Glyphdrop/joinwait.mv?ann@pc+Ann%20Lee+Leeds%2BYork+3+-1+NO+none+300");
    EXPECT_EQ(JoinGameUrl(kBase, "g17", " bob@pc ", " pw "),
              kBase + "/Glyphdrop/joingame.mv?g17+bob@pc+pw");
    EXPECT_EQ(MakeUserEmail("A+B", "pc+1"), "A-B@pc-1");
    const std::string post = kBase + "/Glyphdrop/postdata.mv?";
    EXPECT_EQ(PostUrl(kBase, "s9 ", PostKind::Chat, "  "), post + "s9+CHAT+");
    EXPECT_EQ(PostUrl(kBase, "s9", PostKind::Chat, "hi +1 #2"), post + "s9+CHAT+hi%20%2B1%20%232");
    EXPECT_EQ(PostUrl(kBase, "s9 ", PostKind::Start, "xxxA Bjjj"),
              post + "s9%20+START+xxxA%20Bjjj");
    EXPECT_EQ(PostUrl(kBase, " c9", PostKind::Quit), post + "c9+QUIT");
}

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

// Guards against a reply of several kinds losing one, or a payload cut or trimmed.
TEST(ReplyTest, SeveralKindsInOneReply) {
    const MailboxReply r = ReadMailboxReply(
        "<*CHAT****$$ hi *MOVE* $$$**><*PICURL***#$http://h/a b.jpg$#**><*MOVE**#*$q17$*#*>"
        "<PLAYDATAxxx Bob jjjhh*Leeds*qqcc*3*eerr*1*pptt*2*vvmm*0*aa>");
    EXPECT_EQ(r.chat, " hi *MOVE* ");
    EXPECT_EQ(r.pictureUrl, "http://h/a b.jpg");
    EXPECT_EQ(r.move, "q17");
    ASSERT_TRUE(r.playData);
    EXPECT_EQ(r.playData->name, "Bob");
    EXPECT_EQ(r.playData->lost, "2");
    EXPECT_FALSE(r.quit || r.empty || r.socketError || r.startGame);
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

// Guards against lost, merged or shifted entries of the waiting-room list.
TEST(WaitingListTest, ZeroOneAndManyEntries) {
    EXPECT_TRUE(ReadWaitingList("no players").entries.empty());
    EXPECT_EQ(ReadWaitingList("..Socket Error").answer, WaitingListAnswer::SocketError);
    EXPECT_EQ(ReadWaitingList("Unable to open").answer, WaitingListAnswer::Unreachable);
    const auto one = ReadWaitingList("<" + Entry(" g1 ", " Ann ", "Leeds", "YES") + ">");
    ASSERT_EQ(one.entries.size(), 1u);
    EXPECT_EQ(one.entries[0].gameNumber, " g1 ");
    EXPECT_EQ(one.entries[0].name, "Ann");
    EXPECT_EQ(one.entries[0].played, "12");
    EXPECT_EQ(one.entries[0].isPrivate, "YES");
    std::string reply = "<html>";
    const std::string longName(200, 'n');
    for (int i = 0; i < 300; ++i)
        reply += Entry("g" + std::to_string(i), longName, "Place " + std::to_string(i)) + "\n";
    const auto many = ReadWaitingList(reply);
    ASSERT_EQ(many.entries.size(), 300u);
    EXPECT_EQ(many.entries[299].location, "Place 299");
    EXPECT_EQ(many.entries[299].name, longName);
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
