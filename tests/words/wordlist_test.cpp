// Reading "wordlist.dic" and looking words up.
#include "wordlist.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace gd {
namespace {

std::string Record(const std::string& word, const std::string& definition) {
    std::string r = word;
    r.resize(kDictWordWidth, ' ');
    std::string d = definition;
    d.resize(kDictDefinitionWidth, ' ');
    return r + d;
}

class WordFile : public ::testing::Test {
  protected:
    std::string path = (std::filesystem::temp_directory_path() /
                        ("wordlist_test_" + std::to_string(::getpid()) + ".dic"))
                           .string();
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    void TearDown() override { std::filesystem::remove(path); }
};

// Guards against losing the last record or misreading the fixed record layout.
TEST_F(WordFile, LoadsEveryWholeRecordIncludingTheLast) {
    Write(Record("able", "having power") + Record("acid", "sour") + Record("zone", "a belt"));
    WordList list;
    ASSERT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, 3);
    for (const char* w : {"able", "acid", "zone"})
        EXPECT_TRUE(IsWord(list, w)) << w;
    EXPECT_FALSE(IsWord(list, "abl"));
}

TEST_F(WordFile, IgnoresATrailingPartialRecord) {
    Write(Record("able", "x") + Record("acid", "y").substr(0, 100));
    WordList list;
    ASSERT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, 1);
    EXPECT_FALSE(IsWord(list, "acid"));
}

// Guards against case mattering anywhere: in the file, in the lookup, or between the two.
TEST_F(WordFile, LetterCaseNeverMatters) {
    Write(Record("ABLE", "x") + Record("Acid", "y") + Record("zone", "z"));
    WordList list;
    ASSERT_TRUE(LoadWordList(list, path));
    for (const char* w : {"able", "ABLE", "Able", "acid", "ACID", "Zone"})
        EXPECT_TRUE(IsWord(list, w)) << w;
    EXPECT_EQ(list.Words[0], "ABLE");  // stored as the file has it
}

TEST_F(WordFile, KeepsTheFirst4000Records) {
    std::string bytes;
    for (int i = 0; i < 4005; ++i) {
        std::string w = "aaaa";
        for (int k = 3, n = i; k >= 0; --k, n /= 26)
            w[k] = static_cast<char>('a' + n % 26);
        bytes += Record(w, "word number " + std::to_string(i));
    }
    Write(bytes);
    WordList list;
    ASSERT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, kMaxWords);
    EXPECT_TRUE(IsWord(list, "afxv"));   // record 3999: the last one kept
    EXPECT_FALSE(IsWord(list, "afxw"));  // record 4000: beyond the table
}

TEST_F(WordFile, MissingEmptyAndStrangeFilesLoadWithoutHarm) {
    WordList list;
    list.Add("old");
    EXPECT_FALSE(LoadWordList(list, path + ".missing"));
    EXPECT_EQ(list.WordCount, 0);
    EXPECT_FALSE(IsWord(list, "old"));

    Write("");
    EXPECT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, 0);

    Write(Record("\xe9t\xe9s", "\xff\xfe") + Record(std::string("ab\0d", 4), "") +
          Record("cafe", "\x80"));
    EXPECT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, 3);
    EXPECT_TRUE(IsWord(list, "CAFE"));
    EXPECT_FALSE(IsWord(list, "\xc9T\xc9S"));  // only ASCII letters change case
    EXPECT_TRUE(IsWord(list, "\xe9T\xe9S"));
}

TEST_F(WordFile, DefinitionOfTheFirstMatchingRecordTrimmed) {
    Write(Record("able", "  having power  ") + Record("ABLE", "second") + Record("acid", "sour"));
    const auto found = LookUpDefinition(path, " Able ");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->word, "able");
    EXPECT_EQ(found->definition, "having power");
    EXPECT_FALSE(LookUpDefinition(path, "zone"));
    EXPECT_FALSE(LookUpDefinition(path + ".missing", "able"));
}

}  // namespace
}  // namespace gd
