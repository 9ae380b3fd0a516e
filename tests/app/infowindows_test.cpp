// The quick help and about windows: their texts, their buttons, bringing forward, and the about
// window closing when another window takes the activation.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "about.h"
#include "info_windows_support.h"
#include "quickhelp.h"

namespace gd::test {
namespace {

QStringList Lines(const std::string& text) {
    return QString::fromStdString(text).split('\n');
}

class QuickHelpTest : public InfoWindowTest {};

// Guards against a changed line, a lost blank line or a two-character line break.
TEST_F(QuickHelpTest, WordDirectionTextLineForLine) {
    EXPECT_EQ(WordDirectionText().find('\r'), std::string::npos);
    const QStringList expected = {"Words can be created in four directions:",
                                  "",
                                  "Vertical - Top to Bottom",
                                  "Horizonal - Left to Right",
                                  "Diagonal - Left to Right - Up",
                                  "Diagonal - Left to Right - Down"};
    EXPECT_EQ(Lines(WordDirectionText()), expected);
    QuickHelpWindow window;
    EXPECT_EQ(window.WordDirectionLabel()->text().toStdString(), WordDirectionText());
}

TEST_F(QuickHelpTest, ShowsItsFramesTextsAndButtons) {
    QuickHelpWindow window;
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
    EXPECT_EQ(window.Command2()->text(), "Open Full Help");
    EXPECT_EQ(window.Command1()->text(), "Close Quick Help");
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(QuickHelpTest, ShownAgainIsTheSameWindowAndCloseQuickHelpClosesIt) {
    QuickHelpWindow* first = ShowQuickHelp();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(ShowQuickHelp(), first);
    first->Command1()->click();
    SettleEvents();
    EXPECT_EQ(OpenHelpViewer(), nullptr);
    QuickHelpWindow* again = ShowQuickHelp();
    EXPECT_TRUE(again->isVisible());
}

// Guards against the quick help staying open, or failing, when the full help cannot be shown.
TEST_F(QuickHelpTest, OpenFullHelpWithoutAHelpFileStillCloses) {
    QPointer<QuickHelpWindow> window = ShowQuickHelp();
    window->Command2()->click();
    SettleEvents();
    EXPECT_TRUE(window.isNull());
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_TRUE(OpenHelpViewer()->Browser()->toPlainText().contains("was not found"));
}

TEST_F(QuickHelpTest, OpenFullHelpShowsTheContents) {
    InstallHelpFile();
    ShowQuickHelp()->Command2()->click();
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_EQ(OpenHelpViewer()->Browser()->source(), QUrl("help:contents"));
}

class AboutTest : public InfoWindowTest {};

TEST_F(AboutTest, CaptionFromTheVersionAndCentredOnTheScreen) {
    AboutWindow window("1.1");
    EXPECT_EQ(window.windowTitle(), "Glyphdrop - Version 1.1");
    const QRect screen = QApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.x(), screen.x() + (screen.width() - window.width()) / 2);
    EXPECT_EQ(window.y(), screen.y() + (screen.height() - window.height()) / 2);
    EXPECT_EQ(window.Command1()->text(), "OK");
    for (QLabel* label : window.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().isEmpty()) << label->objectName().toStdString();
}

TEST_F(AboutTest, OkCloses) {
    QPointer<AboutWindow> window = ShowAbout("1.1");
    window->Command1()->click();
    SettleEvents();
    EXPECT_TRUE(window.isNull());
}

// Guards against the about window lingering behind the main window.
TEST_F(AboutTest, ClosesWhenAnotherWindowIsActivated) {
    QWidget mainWindow;
    mainWindow.show();
    QPointer<AboutWindow> about = ShowAbout("1.1");
    SettleEvents();
    ASSERT_TRUE(about);
    ASSERT_TRUE(about->isActiveWindow());
    EXPECT_EQ(ShowAbout("1.1"), about.data());  // shown again: the same window

    mainWindow.activateWindow();
    SettleEvents();
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(AboutTest, SupportLineOpensTopicThirty) {
    InstallHelpFile();
    QPointer<AboutWindow> about = ShowAbout("1.1");
    SettleEvents();
    about->Label3Click();
    SettleEvents();
    ASSERT_TRUE(OpenHelpViewer());
    EXPECT_EQ(OpenHelpViewer()->Browser()->source(), QUrl("topic:30"));
    EXPECT_TRUE(about.isNull());  // the help window took the activation
}

}  // namespace
}  // namespace gd::test
