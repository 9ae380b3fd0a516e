// The help window over the shipped GLYPHDROP.HLP: contents, index search, numbered topics,
// history, and a missing file.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "helpfile.h"
#include "helpviewer.h"
#include "info_windows_support.h"

namespace gd::test {
namespace {

QString PageText(HelpViewer* viewer) {
    return viewer->Browser()->toPlainText();
}

class HelpViewerTest : public InfoWindowTest {};

// Guards against a topic the program opens by number being absent or unreachable.
TEST_F(HelpViewerTest, OpensEveryTopicTheProgramAsksForByNumber) {
    InstallHelpFile();
    const LoadedHelp shipped = LoadHelpFile(ShippedFile("GLYPHDROP.HLP").toStdString());
    ASSERT_EQ(shipped.status, HelpFileStatus::Loaded);
    for (int number : {30, 70, 80, 90, 100, 110, 140}) {
        HelpViewer* viewer = ShowHelpTopic(number);
        ASSERT_TRUE(viewer);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:" + QString::number(number)));
        const QString title = QString::fromStdString(shipped.file.Find(number)->title);
        EXPECT_TRUE(PageText(viewer).startsWith(title)) << number;
    }
    EXPECT_EQ(OpenHelpViewer(), ShowHelpTopic(30));  // one help window for the whole program
}

TEST_F(HelpViewerTest, ContentsListsTheTopicsAsLinks) {
    InstallHelpFile();
    HelpViewer* viewer = ShowHelpContents();
    EXPECT_EQ(viewer->windowTitle(), "Glyphdrop Help");
    EXPECT_FALSE(viewer->IndexPane()->isVisible());
    const QString html = viewer->Browser()->toHtml();
    for (const char* link : {"topic:30", "topic:70", "topic:140", "topic:125"})
        EXPECT_TRUE(html.contains(link)) << link;
    EXPECT_TRUE(PageText(viewer).contains("Obtaining technical support"));
}

// Guards against the index search landing nowhere or opening the wrong topic.
TEST_F(HelpViewerTest, SearchFindsAKeywordAndOpensItsTopic) {
    InstallHelpFile();
    HelpViewer* viewer = ShowHelpSearch();
    EXPECT_TRUE(viewer->IndexPane()->isVisible());
    EXPECT_GT(viewer->IndexList()->count(), 50);
    QTest::keyClicks(viewer->SearchBox(), "prox");
    ASSERT_NE(viewer->IndexList()->currentItem(), nullptr);
    EXPECT_EQ(viewer->IndexList()->currentItem()->text(), "proxy");
    QTest::keyClick(viewer->SearchBox(), Qt::Key_Return);
    EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:110"));

    // A keyword of several topics lists them all to choose from.
    viewer->SearchBox()->clear();
    QTest::keyClicks(viewer->SearchBox(), "password");
    viewer->findChild<QPushButton*>("displayButton")->click();
    const QString text = PageText(viewer);
    EXPECT_TRUE(text.startsWith("Topics Found: password"));
    EXPECT_TRUE(text.contains("Settings: Player Profiles"));
    EXPECT_TRUE(text.contains("Logging in and players"));
}

TEST_F(HelpViewerTest, LinksKeepAHistoryForBackAndForward) {
    InstallHelpFile();
    HelpViewer* viewer = ShowHelpTopic(140);
    auto* back = viewer->findChild<QPushButton*>("backButton");
    EXPECT_FALSE(back->isEnabled());
    viewer->Browser()->setSource(QUrl("topic:45"));
    EXPECT_TRUE(PageText(viewer).startsWith("Word directions"));
    ASSERT_TRUE(back->isEnabled());
    back->click();
    EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:140"));
    viewer->findChild<QPushButton*>("forwardButton")->click();
    EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:45"));
}

TEST_F(HelpViewerTest, AnUnknownTopicNumberSaysSo) {
    InstallHelpFile();
    EXPECT_TRUE(PageText(ShowHelpTopic(999)).contains("The help file has no topic 999."));
}

// Guards against a blank or crashing help window when the file is not beside the program.
TEST_F(HelpViewerTest, MissingFileShowsAClearMessageForEveryRequest) {
    HelpViewer* viewer = ShowHelpContents();
    EXPECT_TRUE(PageText(viewer).contains("GLYPHDROP.HLP was not found"));
    ShowHelpTopic(30);
    EXPECT_TRUE(PageText(viewer).contains("GLYPHDROP.HLP was not found"));
    ShowHelpSearch();
    EXPECT_TRUE(PageText(viewer).contains("was not found"));
    EXPECT_EQ(viewer->IndexList()->count(), 0);
    EXPECT_FALSE(viewer->SearchBox()->isEnabled());
    QTest::keyClicks(viewer->SearchBox(), "lan");  // nothing to find, nothing breaks

    // Put back while the window is open: the next request reads it.
    InstallHelpFile("glyphdrop.hlp");  // found without regard to case
    ShowHelpTopic(80);
    EXPECT_TRUE(viewer->Loaded());
    EXPECT_TRUE(PageText(viewer).startsWith("The internet waiting room"));
}

TEST_F(HelpViewerTest, F1InAWindowOpensTheContents) {
    InstallHelpFile();
    QWidget window;
    InstallHelpKey(&window);
    window.show();
    window.activateWindow();
    SettleEvents();
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_EQ(OpenHelpViewer()->Browser()->source(), QUrl("help:contents"));
}

}  // namespace
}  // namespace gd::test
