// The dictionary window: filling from a file, the first-letters search, the resize rule and the
// missing file.
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "fakes.h"
#include "info_windows_support.h"
#include "wordlistwindow.h"
#include "wordview.h"

namespace gd::test {
namespace {

std::string Record(const std::string& word, const std::string& definition) {
    std::string record = word;
    record.resize(kDictWordWidth, ' ');
    std::string text = definition;
    text.resize(kDictDefinitionWidth, ' ');
    return record + text;
}

class WordListWindowTest : public InfoWindowTest {
  protected:
    ScriptedPrompter prompt;

    // Many words before and after "qu..", some with definitions long enough to wrap.
    void WriteSampleList() {
        std::string bytes;
        for (char a = 'a'; a <= 'p'; ++a)
            for (char b = 'a'; b <= 'j'; ++b)
                bytes += Record(std::string{a, b, 'l', 'e'},
                                "a word " + std::string(70, 'x') + " with a long definition");
        for (const char* w : {"quad", "quay", "quit"})
            bytes += Record(w, std::string("the ") + w);
        for (char a = 'r'; a <= 'z'; ++a)
            for (char b = 'a'; b <= 'j'; ++b)
                bytes += Record(std::string{a, b, 'c', 'k'}, "a word");
        QFile file(folder.filePath("wordlist.dic"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }
    int TopRow(WordListWindow& w) { return w.List1()->verticalScrollBar()->value(); }
    int RowStartingWith(WordListWindow& w, const QString& text) {
        for (int i = 0; i < w.List1()->count(); ++i)
            if (w.List1()->item(i)->text().startsWith(text)) return i;
        return -1;
    }
};

// Guards against a missing file crashing the window or garbling the information text.
TEST_F(WordListWindowTest, MissingFileGivesTheMessageAndAnEmptyList) {
    WordListWindow window(prompt);
    window.show();
    window.Open();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Error! Word List File Not Found.");
    EXPECT_EQ(prompt.shown[0].title, "File Not Found");
    EXPECT_EQ(window.List1()->count(), 0);
    const QString info = window.Label2()->text();
    EXPECT_TRUE(info.startsWith("This dictionary is based on the public domain portion of"));
    EXPECT_TRUE(info.endsWith("This dictionary contains  four letter words."));
    QTest::keyClicks(window.Text1(), "qu");  // searching an empty list moves nothing
    EXPECT_EQ(window.List1()->currentRow(), -1);
}

TEST_F(WordListWindowTest, ShowsCaptionsAndAFixedPitchList) {
    WordListWindow window(prompt);
    EXPECT_EQ(window.windowTitle(), "Glyphdrop - Game Dictionary");
    EXPECT_EQ(window.Label1()->text(), "Search for word:");
    EXPECT_EQ(window.wordviewclose()->text(), "Close Window");
    const QFontMetrics metrics(window.List1()->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii  ."), metrics.horizontalAdvance("WWWW  ."));
    const QRect screen = QApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.x(), screen.x() + (screen.width() - window.width()) / 2);
    window.show();
    window.wordviewclose()->click();
    EXPECT_FALSE(window.isVisible());
}

// Guards against the wrapped lines or the count drifting from the shipped dictionary.
TEST_F(WordListWindowTest, FillsEveryRecordOfTheShippedList) {
    ASSERT_TRUE(QFile::copy(ShippedFile("wordlist.dic"), folder.filePath("wordlist.dic")));
    WordListWindow window(prompt);
    window.Open();
    EXPECT_TRUE(prompt.shown.empty());
    const std::string path = folder.filePath("wordlist.dic").toStdString();
    int records = 0, lines = 0;
    std::string firstLine;
    ForEachDictRecord(path, [&](const DictRecord& record) {
        const auto shown = DictDisplayLines(record);
        if (records == 0) firstLine = shown.front();
        ++records;
        lines += int(shown.size());
        return true;
    });
    EXPECT_EQ(window.List1()->count(), lines);
    EXPECT_GT(lines, records);  // some definitions wrap
    EXPECT_EQ(window.List1()->item(0)->text().toStdString(), firstLine);
    EXPECT_TRUE(window.Label2()->text().endsWith("This dictionary contains " +
                                                 QString::number(records) + " four letter words."));
}

// Guards against the search selecting too early, matching continuation lines, or moving the
// list for texts of the wrong length.
TEST_F(WordListWindowTest, TypingScrollsToTheFirstMatchAndSelectsOnTheFourthLetter) {
    WriteSampleList();
    WordListWindow window(prompt);
    window.show();
    window.Open();
    SettleEvents();
    const int quad = RowStartingWith(window, "quad"), quit = RowStartingWith(window, "quit");
    ASSERT_GT(quad, 100);

    QTest::keyClicks(window.Text1(), "QU");
    EXPECT_EQ(TopRow(window), quad);
    EXPECT_TRUE(window.List1()->selectedItems().isEmpty());
    QTest::keyClicks(window.Text1(), "it");
    EXPECT_EQ(TopRow(window), quit);
    EXPECT_EQ(window.List1()->currentRow(), quit);
    EXPECT_TRUE(window.List1()->item(quit)->isSelected());

    QTest::keyClicks(window.Text1(), "s");  // five letters: nothing moves
    EXPECT_EQ(TopRow(window), quit);
    window.Text1()->clear();  // empty: nothing moves
    EXPECT_EQ(TopRow(window), quit);
    window.Text1()->setText("xxxx");  // only continuation text holds it: nothing moves
    EXPECT_EQ(TopRow(window), quit);
    window.Text1()->setText("a");
    EXPECT_EQ(TopRow(window), 0);
}

TEST_F(WordListWindowTest, ListFollowsTheWindowWidth) {
    WordListWindow window(prompt);
    window.show();
    for (int width : {500, 900}) {
        window.resize(width, window.height());
        SettleEvents();
        EXPECT_EQ(window.List1()->x(), 8);
        EXPECT_EQ(window.List1()->width(), width - 16);
    }
}

TEST_F(WordListWindowTest, ShowingAgainBringsTheOpenWindowForward) {
    WriteSampleList();
    WordListWindow* first = ShowWordList(prompt);
    const int count = first->List1()->count();
    EXPECT_EQ(ShowWordList(prompt), first);
    EXPECT_EQ(first->List1()->count(), count);  // not filled twice
    first->close();
    SettleEvents();
    WordListWindow* second = ShowWordList(prompt);
    EXPECT_EQ(second->List1()->count(), count);
}

}  // namespace
}  // namespace gd::test
