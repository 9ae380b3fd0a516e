// The shared wire: every text a player can type arrives as typed, inside every reply that
// carries one, and the readers never take a player's text for the server's word.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game_wire.h"
#include "text.h"

namespace gd::wire {
namespace {

// Texts that would break a reply carried as they stand: each printable ASCII character alone
// and all of them in one line, every marker and delimiter the program looks for, their halves
// and their neighbours, and every byte.
std::vector<std::string> AwkwardTexts() {
    std::vector<std::string> texts = {""};
    const std::string lines =
        "*\n***\n*$\n$*\nSocket Error\n*MOVE*q17\nQUIT*GAME\ngo *MOVE* *#*$a3$*#* now\nx$$$**y\n"
        "%41 %zz %\nxxxjjj\nRaj\nqqLeeds\nhh*Bath*qq\nFILE*NOT*FOUND\n*BATCH* <<*9*>>\n#####*#####";
    for (std::size_t at = 0, end; at <= lines.size(); at = end + 1) {
        end = std::min(lines.find('\n', at), lines.size());
        texts.push_back(lines.substr(at, end - at));
    }
    std::string printable, bytes;
    for (int c = 0x20; c < 0x7f; ++c) {
        texts.emplace_back(1, static_cast<char>(c));
        printable += static_cast<char>(c);
    }
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    texts.push_back(printable);
    texts.push_back(bytes);
    return texts;
}

// Guards against a chat line or picture address that arrives cut, changed, or read as another
// message ("*MOVE*q17" played as a move, "QUIT*GAME" ending the game).
TEST(WireTexts, ChatLinesAndPictureAddressesArriveAsTyped) {
    for (const std::string& text : AwkwardTexts()) {
        const MailboxReply chat = ReadMailboxReply(
            WriteMailboxReply({{MessageKind::Chat, text}, {MessageKind::Move, "q17"}}, 5));
        EXPECT_EQ(chat.chat, text);
        EXPECT_EQ(chat.move, "q17");
        EXPECT_EQ(chat.batch, 5);
        EXPECT_FALSE(chat.quit || chat.pictureUrl || chat.playData || chat.startGame ||
                     chat.empty || chat.socketError)
            << text;
        const MailboxReply picture =
            ReadMailboxReply(WriteMailboxReply({{MessageKind::Picture, text}}));
        EXPECT_EQ(picture.pictureUrl, text);
        EXPECT_FALSE(picture.chat || picture.move || picture.quit) << text;
    }
}

// Guards against a name or location that joins a marker of the block or the list beside it and
// so reads back wrongly, or that the server would have to refuse.
TEST(WireTexts, NamesAndLocationsArriveTrimmedAndOtherwiseAsTyped) {
    for (const std::string& typed : AwkwardTexts()) {
        const std::string text = Trim(typed);
        const std::string block =
            WritePlayDataBlock({" " + typed, typed + " ", "3", "-1", "0", "32767"});
        ASSERT_TRUE(ParsePlayDataBlock(block)) << block;
        const MailboxReply start =
            ReadMailboxReply(WriteMailboxReply({{MessageKind::Start, block}}));
        ASSERT_TRUE(start.startGame);
        EXPECT_EQ(start.startGame->name, text);
        EXPECT_EQ(start.startGame->location, text);
        EXPECT_EQ(start.startGame->tied, "32767");
        EXPECT_FALSE(start.playData || start.chat || start.move || start.quit) << text;

        const WaitingEntry e{"G1", typed, typed, "4", "2", "NO"};
        const WaitingList list = ReadWaitingList(WriteWaitingList({e, e}));
        ASSERT_EQ(list.entries.size(), 2u) << text;
        EXPECT_EQ(list.entries[1].name, text);
        EXPECT_EQ(list.entries[1].location, text);
    }
}

// Guards against the server taking a block it could not pass on whole, or refusing one the
// program writes.
TEST(WireTexts, OnlyBlocksAsWrittenPassTheServersCheck) {
    EXPECT_TRUE(ParsePlayDataBlock(WritePlayDataBlock({"Bo", "", "0", "-12", "1", "2"})));
    for (const char* bad : {"xxxBojjjhh**qqcc*one*eerr*0*pptt*0*vvmm*0*aa",
                            "xxxB*ojjjhh**qqcc*0*eerr*0*pptt*0*vvmm*0*aa",
                            "xxxBojjjhh**qqcc*0*eerr*0*pptt*0*vvmm*0*aa tail", "xxxBo", "",
                            "xxxBojjjhh**qqcc*1234567890*eerr*0*pptt*0*vvmm*0*aa"})
        EXPECT_FALSE(ParsePlayDataBlock(bad)) << bad;
}

// Guards against fields that shift on the server: "+" and "%" inside a field, or a bad escape.
TEST(WireFields, SplitAndDecodeWhatTheProgramJoins) {
    const std::vector<std::string> fields = {"s G1", "CHAT", "a+b %41 #c\x01"};
    EXPECT_EQ(SplitFields(JoinFields(fields), 3, true), fields);
    EXPECT_EQ(SplitFields("a+b+c+d", 3, true), (std::vector<std::string>{"a", "b", "c+d"}));
    EXPECT_FALSE(SplitFields("a+b+c", 2, false));
    EXPECT_FALSE(SplitFields("a", 2, false));
    EXPECT_FALSE(SplitFields("a%4", 1, false));
    EXPECT_FALSE(PercentDecode("%G1"));
    EXPECT_FALSE(ParseMailboxKey("x1"));  // keys the server never hands out
}

}  // namespace
}  // namespace gd::wire
