// The help window over the shipped GLYPHDROP.HLP, the quick help and about windows: their
// pages and texts, their buttons, bringing forward, and a missing help file.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "about.h"
#include "app_fixture.h"
#include "helpfile.h"
#include "helpviewer.h"
#include "qtext.h"
#include "quickhelp.h"

namespace gd::test {
namespace {

QString PageText(HelpViewer* viewer) {
    return viewer->Browser()->toPlainText();
}

bool IsCentred(QWidget* window) {
    const QRect screen = QApplication::primaryScreen()->geometry();
    return window->pos() == screen.topLeft() + QPoint((screen.width() - window->width()) / 2,
                                                      (screen.height() - window->height()) / 2);
}

using HelpViewerTest = InfoWindowTest;

// Guards against a topic the program opens by number being absent or unreachable.
TEST_F(HelpViewerTest, OpensTheContentsAndEveryTopicTheProgramAsksForByNumber) {
    InstallHelpFile();
    HelpViewer* viewer = ShowHelpContents();
    EXPECT_EQ(viewer->windowTitle(), "Glyphdrop Help");
    EXPECT_FALSE(viewer->IndexPane()->isVisible());
    for (const char* link : {"topic:30", "topic:70", "topic:140", "topic:125"})
        EXPECT_TRUE(viewer->Browser()->toHtml().contains(link)) << link;
    EXPECT_TRUE(PageText(viewer).contains("Obtaining technical support"));

    const LoadedHelp shipped = LoadHelpFile(FromQ(ShippedFile("GLYPHDROP.HLP")));
    for (int number : {30, 70, 80, 90, 100, 110, 140}) {
        EXPECT_EQ(ShowHelpTopic(number), viewer);  // one help window for the whole program
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:" + QString::number(number)));
        EXPECT_TRUE(
            PageText(viewer).startsWith(QString::fromStdString(shipped.file.Find(number)->title)))
            << number;
    }
    EXPECT_TRUE(PageText(ShowHelpTopic(999)).contains("The help file has no topic 999."));
}

// Guards against the index search landing nowhere or opening the wrong topic.
TEST_F(HelpViewerTest, SearchFindsAKeywordAndOpensItsTopics) {
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
    EXPECT_TRUE(text.contains("Settings: Player Profiles") &&
                text.contains("Logging in and players"));
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

using QuickHelpTest = InfoWindowTest;

// Guards against a changed line, a lost blank line or a two-character line break.
TEST_F(QuickHelpTest, ShowsItsFramesAndTheWordDirectionTextLineForLine) {
    const QStringList expected = {"Words can be created in four directions:",
                                  "",
                                  "Vertical - Top to Bottom",
                                  "Horizonal - Left to Right",
                                  "Diagonal - Left to Right - Up",
                                  "Diagonal - Left to Right - Down"};
    EXPECT_EQ(QString::fromStdString(WordDirectionText()).split('\n'), expected);
    QuickHelpWindow window;
    EXPECT_EQ(window.WordDirectionLabel()->text(), expected.join('\n'));
    EXPECT_EQ(window.windowTitle(), "Glyphdrop - Quick Help");
    QStringList frames;
    for (auto* frame : window.findChildren<QGroupBox*>())
        frames << frame->title();
    EXPECT_EQ(frames, (QStringList{"Object Of Game", "How To Play", "Word Direction"}));
    EXPECT_TRUE(window.ObjectText()->text().startsWith("The object of Glyphdrop is to be"));
    EXPECT_TRUE(window.ObjectText()->text().endsWith("complete a four letter word wins!"));
    EXPECT_TRUE(window.HowToPlayText()->text().contains(
        "Under the 'Game' heading, select to play against a LAN opponent"));
    EXPECT_TRUE(window.HowToPlayText()->text().endsWith("Your letter will be dropped into place."));
    EXPECT_EQ(window.findChild<QLabel*>("hint")->text(), "See full help (F1) for more details,");
    EXPECT_EQ(window.Command2()->text() + "|" + window.Command1()->text(),
              "Open Full Help|Close Quick Help");
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
}

// Guards against a second quick help window, or one that stays open when the full help cannot
// be shown.
TEST_F(QuickHelpTest, ShownAgainIsTheSameWindowAndBothButtonsCloseIt) {
    QPointer<QuickHelpWindow> first = ShowQuickHelp();
    EXPECT_EQ(ShowQuickHelp(), first.data());
    first->Command1()->click();
    AppHarness::Settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(OpenHelpViewer(), nullptr);

    QPointer<QuickHelpWindow> again = ShowQuickHelp();
    EXPECT_TRUE(again->isVisible());
    again->Command2()->click();  // no help file beside the program
    AppHarness::Settle();
    EXPECT_TRUE(again.isNull());
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_TRUE(PageText(OpenHelpViewer()).contains("was not found"));
}

using AboutTest = InfoWindowTest;

TEST_F(AboutTest, CaptionFromTheVersionCentredAndOkCloses) {
    QPointer<AboutWindow> window = ShowAbout("1.1");
    EXPECT_EQ(window->windowTitle(), "Glyphdrop - Version 1.1");
    EXPECT_TRUE(IsCentred(window));
    for (QLabel* label : window->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().isEmpty()) << FromQ(label->objectName());
    EXPECT_EQ(window->Command1()->text(), "OK");
    window->Command1()->click();
    AppHarness::Settle();
    EXPECT_TRUE(window.isNull());
}

TEST_F(AboutTest, SupportLineOpensTopicThirtyAndTheAboutWindowCloses) {
    InstallHelpFile();
    QPointer<AboutWindow> about = ShowAbout("1.1");
    AppHarness::Settle();
    about->Label3Click();
    AppHarness::Settle();
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_EQ(OpenHelpViewer()->Browser()->source(), QUrl("topic:30"));
    EXPECT_TRUE(about.isNull());  // the help window took the activation
}

}  // namespace
}  // namespace gd::test
