// The menu, toolbar, main window and F1 reaching the dictionary, help, quick help and about
// windows in the running program.
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "about.h"
#include "app_fixture.h"
#include "helpviewer.h"
#include "menuform.h"
#include "quickhelp.h"
#include "wordlistwindow.h"

namespace gd::test {
namespace {

template <typename Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

class HelpCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            QFile::copy(QString(GD_DATA_DIR) + "/GLYPHDROP.HLP", h.home.filePath("GLYPHDROP.HLP")));
        h.Start();
        h.main().activateWindow();
        AppHarness::Settle();
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &h.main()) w->close();
        AppHarness::Settle();
    }
    MenuForm* OpenMenu() {
        h.app->ShowMenu();
        AppHarness::Settle();
        return h.app->menuForm();
    }
    // A menu entry or toolbar button of a freshly opened menu window, by caption or tool tip.
    QAction* Command(const QString& caption) {
        MenuForm* menu = OpenMenu();
        if (!menu) return nullptr;
        for (QAction* top : menu->menuBar()->actions()) {
            if (top->text() == caption) return top;
            if (top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == caption) return a;
        }
        for (QAction* a : menu->Toolbar1()->actions())
            if (!a->isSeparator() && a->toolTip() == caption) return a;
        return nullptr;
    }
    void Run(const QString& caption) {
        QAction* action = Command(caption);
        ASSERT_TRUE(action) << caption.toStdString();
        action->trigger();
        AppHarness::Settle();
    }
    QUrl HelpPage() { return OpenHelpViewer() ? OpenHelpViewer()->Browser()->source() : QUrl(); }

    AppHarness h;
};

// Guards against a dictionary command that opens nothing, or leaves the menu window open.
TEST_F(HelpCommands, ViewDictionaryOpensTheFilledDictionaryAndClosesTheMenu) {
    for (const char* caption : {"&View Dictionary", "View Word List"}) {
        Run(caption);
        auto* dictionary = Shown<WordListWindow>();
        ASSERT_TRUE(dictionary) << caption;
        EXPECT_EQ(dictionary->List1()->count(), 2);  // the harness's two words
        EXPECT_FALSE(h.app->menuForm() && h.app->menuForm()->isVisible()) << caption;
        dictionary->close();
        AppHarness::Settle();
    }
}

TEST_F(HelpCommands, HelpEntriesOpenContentsSearchAndTheirTopics) {
    Run("Help Contents");
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    Run("&Search Help For..");
    EXPECT_TRUE(OpenHelpViewer()->IndexPane()->isVisible());
    Run("Frequently Asked Questions");
    EXPECT_EQ(HelpPage(), QUrl("topic:140"));
    Run("&Obtaining Technical Support");
    EXPECT_EQ(HelpPage(), QUrl("topic:30"));
    Run("Help");  // the toolbar button
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
}

TEST_F(HelpCommands, F1OnTheMainWindowOpensTheContents) {
    QTest::keyClick(&h.main(), Qt::Key_F1);
    AppHarness::Settle();
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
}

// Guards against an about window that lingers after the main window is clicked.
TEST_F(HelpCommands, AboutShowsTheVersionAndClosesWhenTheMainWindowIsActivated) {
    for (const char* caption : {"&About Glyphdrop", "About Glyphdrop"}) {
        Run(caption);
        QPointer<AboutWindow> about = Shown<AboutWindow>();
        ASSERT_TRUE(about) << caption;
        EXPECT_EQ(about->windowTitle(), "Glyphdrop - Version 1.1");
        about->activateWindow();
        AppHarness::Settle();
        h.main().activateWindow();
        AppHarness::Settle();
        EXPECT_TRUE(about.isNull()) << caption;
    }
}

TEST_F(HelpCommands, QuestionMarkOpensQuickHelpOnce) {
    h.main().Image9Click();
    AppHarness::Settle();
    QuickHelpWindow* quick = Shown<QuickHelpWindow>();
    ASSERT_TRUE(quick);
    h.main().Image9Click();
    AppHarness::Settle();
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += bool(qobject_cast<QuickHelpWindow*>(w));
    EXPECT_EQ(count, 1);
    quick->Command2()->click();
    AppHarness::Settle();
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    EXPECT_EQ(Shown<QuickHelpWindow>(), nullptr);
}

}  // namespace
}  // namespace gd::test
