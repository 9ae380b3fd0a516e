// The help window over the shipped GLYPHDROP.HLP, the quick help and about windows: their
// pages and texts, their buttons, bringing forward, and a missing help file.

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

using HelpViewerTest = InfoWindowTest;

// Guards against a topic opened by number landing elsewhere, or a second help window. (That the
// shipped file holds every topic the program opens is the help file test's.)
TEST_F(HelpViewerTest, OpensTheContentsAndATopicByNumberInTheOneWindow) {
    InstallHelpFile();
    HelpViewer* viewer = ShowHelpContents();
    EXPECT_FALSE(viewer->IndexPane()->isVisible());
    EXPECT_TRUE(PageText(viewer).contains("Obtaining technical support"));
    const LoadedHelp shipped = LoadHelpFile(FromQ(ShippedFile("GLYPHDROP.HLP")));
    EXPECT_EQ(ShowHelpTopic(140), viewer);
    EXPECT_EQ(viewer->Browser()->source(), QUrl("topic:140"));
    EXPECT_TRUE(PageText(viewer).startsWith(QString::fromStdString(shipped.file.Find(140)->title)));
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
    EXPECT_TRUE(PageText(viewer).startsWith("Topics Found: password"));
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

// Guards against a text cut off or covered in the quick help or about window, a lost blank line
// or a two-character line break in the word directions.
TEST_F(QuickHelpTest, EveryTextOfTheInfoWindowsShowsWhole) {
    const QStringList directions = QString::fromStdString(WordDirectionText()).split('\n');
    EXPECT_EQ(directions.size(), 6);
    EXPECT_TRUE(directions.value(1).isEmpty());
    EXPECT_FALSE(directions.join("").contains('\r'));
    for (QWidget* window :
         {static_cast<QWidget*>(ShowQuickHelp()), static_cast<QWidget*>(ShowAbout("1.1"))}) {
        Settle();
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->isVisible() && label->pixmap().isNull()) {
                EXPECT_FALSE(label->text().isEmpty()) << FromQ(label->objectName());
                EXPECT_TRUE(ShowsWholeText(label));
            }
    }
}

// Guards against a second quick help window, or one that stays open when the full help cannot
// be shown.
TEST_F(QuickHelpTest, ShownAgainIsTheSameWindowAndBothButtonsCloseIt) {
    QPointer<QuickHelpWindow> first = ShowQuickHelp();
    EXPECT_EQ(ShowQuickHelp(), first.data());
    first->Command1()->click();
    Settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(OpenHelpViewer(), nullptr);

    QPointer<QuickHelpWindow> again = ShowQuickHelp();
    EXPECT_TRUE(again->isVisible());
    again->Command2()->click();  // no help file beside the program
    Settle();
    EXPECT_TRUE(again.isNull());
    EXPECT_TRUE(OpenHelpViewer());
}

using AboutTest = InfoWindowTest;

// Guards against a caption that does not follow the version, an OK that leaves it open, or a
// support line that leads nowhere.
TEST_F(AboutTest, CaptionFromTheVersionOkClosesAndTheSupportLineOpensTopicThirty) {
    QPointer<AboutWindow> window = ShowAbout("2.7");
    EXPECT_EQ(window->windowTitle(), "Glyphdrop - Version 2.7");
    window->Command1()->click();
    Settle();
    EXPECT_TRUE(window.isNull());

    InstallHelpFile();  // the support line opens topic 30 and the about window closes
    QPointer<AboutWindow> about = ShowAbout("1.1");
    Settle();
    about->Label3Click();
    Settle();
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_EQ(OpenHelpViewer()->Browser()->source(), QUrl("topic:30"));
    EXPECT_TRUE(about.isNull());  // the help window took the activation
}

}  // namespace
}  // namespace gd::test
