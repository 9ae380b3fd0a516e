// The dictionary window's line wrapping, its first-letters search and its information texts.
#include "wordview.h"

#include <gtest/gtest.h>

namespace gd {
namespace {

DictRecord Rec(const std::string& word, const std::string& definition) {
    std::string field = word;
    field.resize(kDictWordWidth, ' ');
    std::string def = definition;
    def.resize(kDictDefinitionWidth, ' ');
    return {field, def};
}

std::string Repeat(char c, std::size_t n) {
    return std::string(n, c);
}

// Words of nine letters and a blank, cut to `length`, so blanks fall every ten characters.
std::string Sentence(std::size_t length) {
    std::string s;
    while (s.size() < length)
        s += "abcdefghi ";
    s.resize(length);
    return s;
}

// Guards against an off-by-one at the 76-character limit and at the blank search from 65.
TEST(DictDisplayLines, SplitsOnlyFromSeventySixCharacters) {
    const std::string d75 = Sentence(75);
    EXPECT_EQ(DictDisplayLines(Rec("able", d75)), std::vector<std::string>{"able  " + d75});

    // A 76-character definition with a blank at position 67: broken there.
    const std::string d76 = Repeat('a', 66) + " " + Repeat('b', 9);
    ASSERT_EQ(d76.size(), 76u);
    EXPECT_EQ(DictDisplayLines(Rec("able", d76)),
              (std::vector<std::string>{"able  " + Repeat('a', 66), "      " + Repeat('b', 9)}));

    // A blank exactly at position 65 is the break point; one at 64 is not.
    const std::string at65 = Repeat('a', 64) + " " + Repeat('b', 20);
    EXPECT_EQ(DictDisplayLines(Rec("acid", at65))[0], "acid  " + Repeat('a', 64));
    const std::string at64 = Repeat('a', 63) + " " + Repeat('b', 5) + " " + Repeat('c', 20);
    EXPECT_EQ(DictDisplayLines(Rec("acid", at64))[0], "acid  " + Repeat('a', 63) + " bbbbb");
}

// Guards against losing or duplicating text when a long definition is wrapped.
TEST(DictDisplayLines, FullDefinitionGivesFourLinesThatRejoinToIt) {
    const std::string d = Trim(Sentence(240));
    const auto lines = DictDisplayLines(Rec("zone", d));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 6), "zone  ");
    std::string joined = lines[0].substr(6);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(0, 6), "      ") << i;
        joined += " " + lines[i].substr(6);
    }
    EXPECT_EQ(joined, d);
    EXPECT_EQ(lines[1].size(), 6u + 69u);
    EXPECT_EQ(lines[3].size(), 6u + 29u);
}

TEST(DictDisplayLines, EveryLengthStaysWithinFourLinesAndKeepsItsText) {
    for (std::size_t n = 1; n <= kDictDefinitionWidth; ++n) {
        const std::string d = Trim(Sentence(n));
        const auto lines = DictDisplayLines(Rec("word", d));
        ASSERT_GE(lines.size(), 1u);
        ASSERT_LE(lines.size(), kDictMaxLines) << n;
        std::string joined = lines[0].substr(6);
        for (std::size_t i = 1; i < lines.size(); ++i)
            joined += " " + lines[i].substr(6);
        EXPECT_EQ(joined, d) << n;
    }
}

// Guards against cutting words apart when no blank follows position 65.
TEST(DictDisplayLines, PartWithoutBlankAfterSixtyFiveStaysWhole) {
    const std::string noBlank = Repeat('a', 30) + " " + Repeat('b', 100);
    EXPECT_EQ(DictDisplayLines(Rec("able", noBlank)), std::vector<std::string>{"able  " + noBlank});

    const std::string longRest = Repeat('a', 66) + " " + Repeat('c', 100);
    EXPECT_EQ(DictDisplayLines(Rec("able", longRest)),
              (std::vector<std::string>{"able  " + Repeat('a', 66), "      " + Repeat('c', 100)}));

    const std::string longRest2 = Repeat('a', 66) + " " + Repeat('b', 69) + " " + Repeat('c', 90);
    EXPECT_EQ(DictDisplayLines(Rec("able", longRest2)),
              (std::vector<std::string>{"able  " + Repeat('a', 66), "      " + Repeat('b', 69),
                                        "      " + Repeat('c', 90)}));
}

TEST(DictDisplayLines, WordFieldIsShownAsStoredAndDefinitionTrimmed) {
    DictRecord r{"ax    ", "   a cutting tool" + Repeat(' ', 223)};
    EXPECT_EQ(DictDisplayLines(r), std::vector<std::string>{"ax    a cutting tool"});
}

class DictSearch : public ::testing::Test {
  protected:
    // A wrapped record whose continuation starts with a word that comes later in the list.
    std::vector<std::string> lines = {
        "able  having power", "      quit and done",   "      " + Repeat('x', 10),
        "quad  a quadrangle", "quay  a landing place", "quit  to leave",
    };
};

// Guards against moving the list for texts of the wrong length.
TEST_F(DictSearch, OnlyOneToFourCharactersSearch) {
    EXPECT_FALSE(SearchDictLines(lines, ""));
    EXPECT_FALSE(SearchDictLines(lines, "quits"));
    EXPECT_FALSE(SearchDictLines(lines, "quit "));
    for (const char* text : {"q", "qu", "qua"}) {
        const auto hit = SearchDictLines(lines, text);
        ASSERT_TRUE(hit) << text;
        EXPECT_EQ(hit->top, 3) << text;
        EXPECT_FALSE(hit->select) << text;
    }
    const auto four = SearchDictLines(lines, "quay");
    ASSERT_TRUE(four);
    EXPECT_EQ(four->top, 4);
    EXPECT_TRUE(four->select);
}

TEST_F(DictSearch, IgnoresCaseAndNeverMatchesContinuationLines) {
    const auto hit = SearchDictLines(lines, "QuIt");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->top, 5);
    EXPECT_FALSE(SearchDictLines(lines, "xxxx"));
    EXPECT_FALSE(SearchDictLines(lines, "zz"));
}

// Guards against a missing blank when the count is empty.
TEST(DictInfo, MissingCountLeavesTwoBlanks) {
    const std::string text = DictInfoFilled("");
    EXPECT_NE(text.find("This dictionary contains  four letter words."), std::string::npos);
    EXPECT_NE(DictInfoFilled("3999").find("\n\nTo save space, only one definition per word is "
                                          "displayed. This dictionary contains 3999 four letter "
                                          "words."),
              std::string::npos);
    const std::string filling = DictInfoWhileFilling();
    const std::string tail =
        "Dictionary.\n\nTo save space, only one definition per word is "
        "displayed. Many words have multiple definitions.";
    EXPECT_EQ(filling.substr(filling.size() - tail.size()), tail);
}

}  // namespace
}  // namespace gd
