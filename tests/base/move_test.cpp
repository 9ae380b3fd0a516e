// The move codec: guards against a malformed or hostile move reaching the board.
#include <gtest/gtest.h>

#include <vector>

#include "move.h"
#include "text.h"

namespace gd {
namespace {

TEST(MoveCodec, RoundTripsEveryMoveInBothForms) {
    for (char letter = 'a'; letter <= 'z'; ++letter)
        for (int hole = 0; hole <= 41; ++hole)
            for (MoveForm form : {MoveForm::Payload, MoveForm::LanMessage}) {
                const Move move{letter, hole};
                EXPECT_EQ(DecodeMove(EncodeMove(move, form), form), move);
            }
    EXPECT_EQ(EncodeMove({'q', 17}, MoveForm::LanMessage), "Mq17");
    EXPECT_EQ(EncodeMove({'k', 9}, MoveForm::Payload), "k9");
}

TEST(MoveCodec, RefusesMalformedAndHostileLanMoves) {
    const std::string huge = "Mq" + std::string(10 * 1024, '1');
    for (const std::string& text :
         std::vector<std::string>{"", "M", "Mq", "Mq42", "Mq-1", "MQ5", "Mq05", "Mq 5",
                                  "M\xc3\xa9"
                                  "5",
                                  "mq5", "Mq5 ", "Mq+5", "Mq1x", "Mq100", huge})
        EXPECT_FALSE(DecodeMove(text, MoveForm::LanMessage)) << text.substr(0, 20);
}

TEST(MoveCodec, PayloadHasNoPrefixAndTheSameRules) {
    EXPECT_EQ(DecodeMove("e17", MoveForm::Payload), (Move{'e', 17}));
    for (const std::string text : {"Me17", "e", "17", "e017", "E17", "e42", " e17"})
        EXPECT_FALSE(DecodeMove(text, MoveForm::Payload)) << text;
}

TEST(Text, TrimsBlanksOnlyAndFoldsAsciiOnly) {
    EXPECT_EQ(Trim("  a b \t "), "a b \t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UpperAscii("ab\xe9z"), "AB\xe9Z");
    EXPECT_EQ(LowerAscii("AB\xc9Z"), "ab\xc9z");
}

}  // namespace
}  // namespace gd
