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
    for (const char* w : {"able", "acid", "zone"}) EXPECT_TRUE(IsWord(list, w)) << w;
    EXPECT_FALSE(IsWord(list, "abl"));
}

TEST_F(WordFile, IgnoresATrailingPartialRecord) {
    Write(Record("able", "x") + Record("acid", "y").substr(0, 100));
    WordList list;
    ASSERT_TRUE(LoadWordList(list, path));
    EXPECT_EQ(list.WordCount, 1);
    EXPECT_FALSE(IsWord(list, "acid"));
}

}  // namespace
}  // namespace gd
