// Reading "wordlist.dic" and looking words up.
#include "wordlist.h"

#include <gtest/gtest.h>

#include "dictionary.h"
#include "temp_folder.h"

namespace gd {
namespace {

using test::DictBytes;
using test::DictRecordBytes;
using Strings = std::vector<std::string>;

// Guards against losing the last record, misreading the fixed record layout, case mattering
// anywhere, overrunning the 4000-word table, or a crash on a strange file.
TEST(WordFile, LoadsWholeRecordsAndLooksThemUpWithoutRegardToCase) {
    std::string many;
    for (int i = 0; i < 4005; ++i) {
        std::string w = "aaaa";
        for (int k = 3, n = i; k >= 0; --k, n /= 26)
            w[k] = static_cast<char>('a' + n % 26);
        many += DictRecordBytes(w, "word number " + std::to_string(i));
    }
    test::TempFolder folder;
    auto expect = [&](const char* name, const std::string& bytes, int count, const Strings& words,
                      const Strings& notWords) {
        folder.Write("wordlist.dic", bytes);
        WordList list;
        ASSERT_TRUE(LoadWordList(list, folder.File("wordlist.dic"))) << name;
        EXPECT_EQ(list.WordCount, count) << name;
        for (const std::string& w : words)
            EXPECT_TRUE(IsWord(list, w)) << name << ": " << w;
        for (const std::string& w : notWords)
            EXPECT_FALSE(IsWord(list, w)) << name << ": " << w;
    };
    expect("three records", DictBytes({{"able", "having power"}, {"acid", "sour"}, {"zone", "a"}}),
           3, {"able", "acid", "zone"}, {"abl", "ablex"});
    expect("a trailing partial record", DictBytes({{"able", "x"}, {"acid", "y"}}).substr(0, 346), 1,
           {"able"}, {"acid"});
    expect("ABLE, Acid", DictBytes({{"ABLE", "x"}, {"Acid", "y"}}), 2,
           {"able", "ABLE", "Able", "acid", "ACID"}, {});
    expect("more than 4000 records", many, kMaxWords, {"afxv"}, {"afxw"});  // records 3999, 4000
    expect("an empty file", "", 0, {}, {"able"});
    // Only ASCII letters change case; a NUL or a high byte loads like any other byte.
    expect("bytes outside ASCII",
           DictBytes({{"\xe9t\xe9s", "\xff\xfe"}, {std::string("ab\0d", 4), ""}, {"cafe", "\x80"}}),
           3, {"CAFE", "\xe9T\xe9S"}, {"\xc9T\xc9S"});

    WordList list;
    folder.Write("wordlist.dic", DictBytes({{"ABLE", "x"}}));
    ASSERT_TRUE(LoadWordList(list, folder.File("wordlist.dic")));
    EXPECT_EQ(list.Words[0], "ABLE");  // stored as the file has it
    // A missing file leaves an empty list, not the words of the last one.
    EXPECT_FALSE(LoadWordList(list, folder.File("missing.dic")));
    EXPECT_EQ(list.WordCount, 0);
    EXPECT_FALSE(IsWord(list, "able"));
}

TEST(WordFile, DefinitionOfTheFirstMatchingRecordTrimmed) {
    test::TempFolder folder;
    folder.Write("w.dic",
                 DictBytes({{"able", "  having power  "}, {"ABLE", "second"}, {"acid", "sour"}}));
    const auto found = LookUpDefinition(folder.File("w.dic"), " Able ");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->word, "able");
    EXPECT_EQ(found->definition, "having power");
    EXPECT_FALSE(LookUpDefinition(folder.File("w.dic"), "zone"));
    EXPECT_FALSE(LookUpDefinition(folder.File("missing.dic"), "able"));
}

}  // namespace
}  // namespace gd
