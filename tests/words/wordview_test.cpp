// The dictionary window's line wrapping and its first-letters search.
#include "wordview.h"

#include <gtest/gtest.h>

#include "dictionary.h"

namespace gd {
namespace {

using Strings = std::vector<std::string>;

DictRecord Rec(const std::string& word, const std::string& definition) {
    const std::string bytes = test::DictRecordBytes(word, definition);
    return {bytes.substr(0, 6), bytes.substr(6)};
}

std::string Rep(char c, std::size_t n) {
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

// Guards against an off-by-one at the 76-character limit or the blank search from 65, and
// against cutting a word apart when no blank follows position 65.
TEST(DictDisplayLines, SplitsFromSeventySixCharactersAtTheFirstBlankFromSixtyFive) {
    // The definition is the parts joined by blanks; each part is to show on a line of its own.
    auto expect = [](const char* name, const Strings& parts) {
        std::string definition;
        Strings lines;
        for (const std::string& part : parts) {
            definition += (definition.empty() ? "" : " ") + part;
            lines.push_back((lines.empty() ? "able  " : "      ") + part);
        }
        EXPECT_EQ(DictDisplayLines(Rec("able", definition)), lines) << name;
    };
    const std::string a66 = Rep('a', 66);
    expect("75 characters", {Sentence(75)});
    expect("76 with a blank at 67", {a66, Rep('b', 9)});
    expect("a blank at 65 is the break", {Rep('a', 64), Rep('b', 20)});
    expect("a blank at 64 is not", {Rep('a', 63) + " bbbbb", Rep('c', 20)});
    expect("no blank after 65", {Rep('a', 30) + " " + Rep('b', 100)});
    expect("a long unbroken rest", {a66, Rep('c', 100)});
    expect("a long second part", {a66, Rep('b', 69), Rep('c', 90)});
    EXPECT_EQ(DictDisplayLines(Rec("able", "   tool")), Strings{"able  tool"});  // trimmed
    // The word field is shown as stored, blanks and all.
    EXPECT_EQ(DictDisplayLines({"ax    ", "tool"}), Strings{"ax    tool"});
}

// Guards against losing or duplicating text when a long definition is wrapped.
TEST(DictDisplayLines, EveryLengthStaysWithinFourLinesAndKeepsItsText) {
    for (std::size_t n = 1; n <= 240; ++n) {
        const std::string d = Trim(Sentence(n));
        const auto lines = DictDisplayLines(Rec("word", d));
        ASSERT_GE(lines.size(), 1u);
        ASSERT_LE(lines.size(), 4u) << n;
        EXPECT_EQ(lines[0].substr(0, 6), "word  ");
        std::string joined = lines[0].substr(6);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].substr(0, 6), "      ") << n;
            joined += " " + lines[i].substr(6);
        }
        EXPECT_EQ(joined, d) << n;
        if (n == 240) {
            EXPECT_EQ(lines.size(), 4u);
            EXPECT_EQ(lines[1].size(), 6u + 69u);
            EXPECT_EQ(lines[3].size(), 6u + 29u);
        }
    }
}

// Guards against moving the list for texts of the wrong length, case mattering, or a match on
// a continuation line.
TEST(DictSearch, OneToFourFirstLettersOfAWordLineMoveTheListAndFourSelect) {
    // A wrapped record whose continuation starts with a word that comes later in the list.
    const Strings lines = {
        "able  having power", "      quit and done",   "      " + Rep('x', 10),
        "quad  a quadrangle", "quay  a landing place", "quit  to leave",
    };
    auto expect = [&](const std::string& text, int top, bool select) {
        const auto hit = SearchDictLines(lines, text);
        EXPECT_EQ(hit ? hit->top : -1, top) << text;  // -1: the list does not move
        EXPECT_EQ(hit && hit->select, select) << text;
    };
    for (const char* text : {"", "quits", "quit ", "xxxx", "zz"})
        expect(text, -1, false);
    for (const char* text : {"q", "qu", "qua"})
        expect(text, 3, false);
    expect("quay", 4, true);
    expect("QuIt", 5, true);
}

}  // namespace
}  // namespace gd
