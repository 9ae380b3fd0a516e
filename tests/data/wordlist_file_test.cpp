// Checks the committed "wordlist.dic" against the record layout the game reads.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

constexpr std::size_t kRecord = 246;

// Guards against a regenerated list that the game would misread (a torn record, too many words
// for the table, a word field that is not four letters, an empty definition), or that lets
// offensive words back in.
TEST(CommittedWordList, EveryRecordIsAWholeWellFormedEntryAndNoneIsBlocked) {
    std::ifstream in(GD_WORDLIST_FILE, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(bytes.size() % kRecord, 0u);
    const std::size_t count = bytes.size() / kRecord;
    EXPECT_LE(count, 4000u);
    EXPECT_GE(count, 1000u) << "suspiciously few words";
    std::set<std::string> words;
    for (std::size_t r = 0; r < count; ++r) {
        const std::string word = bytes.substr(r * kRecord, 6);
        const std::string definition = bytes.substr(r * kRecord + 6, kRecord - 6);
        SCOPED_TRACE("record " + std::to_string(r + 1) + " '" + word + "'");
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_TRUE(word[i] >= 'a' && word[i] <= 'z');
        EXPECT_EQ(word.substr(4), "  ");
        EXPECT_TRUE(words.empty() || *words.rbegin() < word) << "words out of order or repeated";
        words.insert(word);
        const auto first = definition.find_first_not_of(' ');
        ASSERT_NE(first, std::string::npos) << "empty definition";
        const std::string text =
            definition.substr(first, definition.find_last_not_of(' ') + 1 - first);
        for (char c : definition)
            EXPECT_TRUE(c >= 32 && c < 127) << "byte " << int(c);
        EXPECT_EQ(text.find("  "), std::string::npos) << "double blank inside: " << text;
    }
    for (const char* w : {"shit", "slut", "dyke", "gook", "wank", "tits", "cunt", "fuck"})
        EXPECT_EQ(words.count(std::string(w) + "  "), 0u) << w;
    for (const char* w : {"able", "word", "game", "play", "zone"})
        EXPECT_EQ(words.count(std::string(w) + "  "), 1u) << w;
}

}  // namespace
