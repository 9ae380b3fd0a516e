// The help file format: parsing, the index, the pages, bad files, and the committed help file.
#include "helpfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "temp_folder.h"

namespace gd {
namespace {

const char* kSample = R"(# a comment
@title Sample Help
@contents
Basics
  20
  10
@topic 10 First Topic
@keywords alpha, Beta; gamma
First line of a paragraph
continues here with [[20]] and [[20|a label]].

== A subheading
- item one
  continued
- item **two** & <three>
@topic 20 Second Topic
@keywords ALPHA
Body of two.
)";

// Guards against losing topics, keywords or contents entries of a well-formed file.
TEST(ParseHelpText, ReadsTopicsKeywordsAndContents) {
    const HelpFile file = ParseHelpText(kSample);
    EXPECT_TRUE(file.problems.empty()) << file.problems.front();
    EXPECT_EQ(file.title, "Sample Help");
    ASSERT_EQ(file.topics.size(), 2u);
    const HelpTopic* first = file.Find(10);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->title, "First Topic");
    EXPECT_EQ(first->keywords, (std::vector<std::string>{"alpha", "Beta", "gamma"}));
    EXPECT_EQ(first->body.front(), "First line of a paragraph");
    EXPECT_EQ(first->body.back(), "- item **two** & <three>");
    std::vector<std::tuple<int, int, std::string>> contents;
    for (const HelpContentsEntry& e : file.contents)
        contents.emplace_back(e.level, e.topic, e.text);
    EXPECT_EQ(contents, (std::vector<std::tuple<int, int, std::string>>{
                            {0, 0, "Basics"}, {1, 20, "Second Topic"}, {1, 10, "First Topic"}}));
    EXPECT_FALSE(file.Find(30));
}

// Guards against a damaged file stopping the parse or going unnoticed.
TEST(ParseHelpText, SkipsWhatItCannotUseAndSaysWhere) {
    const HelpFile file = ParseHelpText(
        "stray text\n@topic x No Number\nlost body\n@topic 5\n@topic 7 Seven\nSee [[8]].\n"
        "@topic 7 Again\n@bogus\n@contents\n  9\n  7\n");
    ASSERT_EQ(file.topics.size(), 1u);
    EXPECT_EQ(file.topics[0].title, "Seven");
    EXPECT_EQ(file.topics[0].body, std::vector<std::string>{"See [[8]]."});
    const std::vector<std::string> expected = {
        "line 1: text outside a topic",        "line 2: a topic needs a number above 0",
        "line 4: topic 5 has no title",        "line 7: topic 7 twice",
        "line 8: unknown directive @bogus",    "line 6: link to topic 8, which is not in the file",
        "contents: topic 9 is not in the file"};
    EXPECT_EQ(file.problems, expected);
    ASSERT_EQ(file.contents.size(), 1u);
    EXPECT_EQ(file.contents[0].topic, 7);
}

// Guards against unescaped text breaking a page, links that lead nowhere, and contents that
// lose the order or the nesting of the file.
TEST(HelpPages, TopicAndContentsPages) {
    const HelpFile file = ParseHelpText(kSample);
    const std::string html = HelpTopicHtml(file, *file.Find(10));
    for (const char* part : {"<p>First line of a paragraph continues here with <a "
                             "href=\"topic:20\">Second Topic</a>",
                             "<h3>A subheading</h3>", "<a href=\"topic:20\">a label</a>",
                             "<li>item one continued</li>", "<b>two</b> &amp; &lt;three&gt;"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    const HelpFile broken = ParseHelpText("@topic 1 T\nsee [[2|there]] and **open");
    const std::string page = HelpTopicHtml(broken, broken.topics[0]);
    EXPECT_NE(page.find("see there and <b>open</b>"), std::string::npos);
    EXPECT_EQ(page.find("topic:2"), std::string::npos);

    const std::string contents = HelpContentsHtml(file);
    EXPECT_LT(contents.find("<b>Basics</b>"), contents.find("<ul>\n<li><a href=\"topic:20\">"));
    EXPECT_LT(contents.find("topic:20"), contents.find("topic:10"));  // the contents order
    const std::string all = HelpContentsHtml(ParseHelpText("@topic 3 Three\n@topic 1 One\n"));
    EXPECT_LT(all.find("topic:3"), all.find("topic:1"));  // no contents: every topic in file order
}

// Guards against one keyword showing up twice, or the index losing topic titles.
TEST(HelpIndex, MergesKeywordsWithoutCaseAndSortsThem) {
    const HelpFile file = ParseHelpText(kSample);
    const auto index = BuildHelpIndex(file);
    std::vector<std::string> keywords;
    for (const auto& entry : index)
        keywords.push_back(entry.keyword);
    EXPECT_EQ(keywords,
              (std::vector<std::string>{"alpha", "Beta", "First Topic", "gamma", "Second Topic"}));
    EXPECT_EQ(index[0].topics, (std::vector<int>{10, 20}));

    EXPECT_EQ(FindHelpIndexEntry(index, "GA"), 3);
    EXPECT_EQ(FindHelpIndexEntry(index, "topic"), 2);  // no keyword starts with it
    EXPECT_EQ(FindHelpIndexEntry(index, ""), -1);
    EXPECT_EQ(FindHelpIndexEntry(index, "zzz"), -1);
    const std::string found = HelpTopicsFoundHtml(file, index[0]);
    EXPECT_LT(found.find("topic:10"), found.find("topic:20"));
}

// Guards against a crash or a blank window when the file is absent or not a help file.
TEST(LoadHelpFileTest, ReportsEachKindOfUnusableFile) {
    const gd::test::TempFolder dir;
    dir.Write("empty.hlp", "# nothing\n");
    dir.Write("good.hlp", kSample);
    dir.Write("big.hlp", "");
    std::filesystem::resize_file(dir.File("big.hlp"), kMaxHelpFileSize + 1);
    for (const auto& [name, status] : std::vector<std::pair<std::string, HelpFileStatus>>{
             {"none.hlp", HelpFileStatus::Missing},
             {"", HelpFileStatus::Unreadable},  // the folder itself
             {"empty.hlp", HelpFileStatus::NoTopics},
             {"big.hlp", HelpFileStatus::TooLarge},
             {"good.hlp", HelpFileStatus::Loaded}}) {
        EXPECT_EQ(LoadHelpFile(dir.File(name)).status, status) << name;
        EXPECT_NE(HelpStatusMessage(status, "p").empty(), status != HelpFileStatus::Loaded) << name;
    }
    EXPECT_NE(HelpStatusMessage(HelpFileStatus::Missing, "/x/G.HLP").find("(/x/G.HLP)"),
              std::string::npos);
}

// Guards against shipping a help file that lacks a topic the program opens by number, holds
// broken links, or has topics that neither the contents nor the index reach.
TEST(ShippedHelpFile, HoldsEveryTopicTheProgramAsksFor) {
    const LoadedHelp help = LoadHelpFile(GD_HELP_FILE);
    ASSERT_EQ(help.status, HelpFileStatus::Loaded);
    EXPECT_TRUE(help.file.problems.empty()) << help.file.problems.front();
    for (int number : {30, 70, 80, 90, 100, 110, 140}) {
        const HelpTopic* topic = help.file.Find(number);
        ASSERT_TRUE(topic) << number;
        EXPECT_GE(topic->body.size(), 5u) << number;
    }
    std::set<int> inContents;
    for (const auto& entry : help.file.contents)
        inContents.insert(entry.topic);
    for (const auto& topic : help.file.topics) {
        EXPECT_TRUE(inContents.count(topic.number)) << topic.number;
        EXPECT_FALSE(topic.keywords.empty()) << topic.number;
    }
    const auto index = BuildHelpIndex(help.file);
    for (const char* word : {"LAN", "proxy", "waiting room", "dictionary", "directions", "vowels",
                             "skill", "password", "chat", "support", "statistics", "sounds"})
        EXPECT_GE(FindHelpIndexEntry(index, word), 0) << word;
}

}  // namespace
}  // namespace gd
