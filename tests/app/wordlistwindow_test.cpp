// The dictionary window: filling from a file, the first-letters search, its font and the
// missing file.
#include <QFontMetrics>
#include <QScrollBar>

#include "app_fixture.h"
#include "qtext.h"
#include "wordlistwindow.h"
#include "wordview.h"

namespace gd::test {
namespace {

class WordListWindowTest : public InfoWindowTest {
  protected:
    // Many words before and after "qu..", some with definitions long enough to wrap.
    void WriteSampleList() {
        DictEntries words;
        for (char a : std::string("abcdefghijklmnoprstuvwxyz"))
            for (char b = 'a'; b <= 'j'; ++b)
                words.emplace_back(std::string{a, b, a < 'q' ? 'l' : 'c', a < 'q' ? 'e' : 'k'},
                                   "a word " + std::string(a < 'q' ? 70 : 0, 'x') + " defined");
        words.insert(words.begin() + 160, {{"quad", "the quad"}, {"quay", "a"}, {"quit", "b"}});
        WriteWordList(FromQ(folder.filePath("wordlist.dic")), words);
    }
    int TopRow() { return window.List1()->verticalScrollBar()->value(); }
    int RowStartingWith(const QString& text) {
        for (int i = 0; i < window.List1()->count(); ++i)
            if (window.List1()->item(i)->text().startsWith(text)) return i;
        return -1;
    }
    ScriptedPrompter prompt;
    WordListWindow window{prompt};
};

// Guards against a missing file crashing the window or garbling the information text.
TEST_F(WordListWindowTest, MissingFileGivesTheMessageAndAnEmptyList) {
    window.show();
    window.Open();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "File Not Found");
    EXPECT_EQ(window.List1()->count(), 0);
    QTest::keyClicks(window.Text1(), "qu");  // searching an empty list moves nothing
    EXPECT_EQ(window.List1()->currentRow(), -1);
}

// Guards against a proportional font that breaks the columns.
TEST_F(WordListWindowTest, FixedPitchAndTheCloseButtonCloses) {
    const QFontMetrics metrics(window.List1()->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii  ."), metrics.horizontalAdvance("WWWW  ."));
    window.show();
    window.wordviewclose()->click();
    EXPECT_FALSE(window.isVisible());
}

// Guards against the wrapped lines or the count drifting from the shipped dictionary.
TEST_F(WordListWindowTest, FillsEveryRecordOfTheShippedList) {
    ASSERT_TRUE(QFile::copy(ShippedFile("wordlist.dic"), folder.filePath("wordlist.dic")));
    window.Open();
    EXPECT_TRUE(prompt.shown.empty());
    int records = 0, lines = 0;
    std::string firstLine;
    ForEachDictRecord(FromQ(folder.filePath("wordlist.dic")), [&](const DictRecord& record) {
        const auto shown = DictDisplayLines(record);
        if (records++ == 0) firstLine = shown.front();
        lines += int(shown.size());
        return true;
    });
    EXPECT_EQ(window.List1()->count(), lines);
    EXPECT_GT(lines, records);  // some definitions wrap
    EXPECT_EQ(FromQ(window.List1()->item(0)->text()), firstLine);
    EXPECT_TRUE(window.Label2()->text().endsWith("This dictionary contains " +
                                                 QString::number(records) + " four letter words."));
}

// Guards against the search selecting too early or not moving the list. (Which texts move it to
// which line is the dictionary search's own test.)
TEST_F(WordListWindowTest, TypingScrollsToTheFirstMatchAndSelectsOnTheFourthLetter) {
    WriteSampleList();
    window.show();
    window.Open();
    Settle();
    const int quad = RowStartingWith("quad"), quit = RowStartingWith("quit");
    ASSERT_GT(quad, 100);
    QTest::keyClicks(window.Text1(), "QU");
    EXPECT_EQ(TopRow(), quad);
    EXPECT_TRUE(window.List1()->selectedItems().isEmpty());
    QTest::keyClicks(window.Text1(), "it");
    EXPECT_EQ(TopRow(), quit);
    EXPECT_EQ(window.List1()->currentRow(), quit);
    EXPECT_TRUE(window.List1()->item(quit)->isSelected());
}

TEST_F(WordListWindowTest, ShowingAgainBringsTheOpenWindowForwardFilledOnce) {
    WriteSampleList();
    WordListWindow* first = ShowWordList(prompt);
    const int count = first->List1()->count();
    EXPECT_EQ(ShowWordList(prompt), first);
    EXPECT_EQ(first->List1()->count(), count);
    first->close();
    Settle();
    EXPECT_EQ(ShowWordList(prompt)->List1()->count(), count);
}

}  // namespace
}  // namespace gd::test
