// The menu window: its place over the main window, the main window following it, the menu tree
// and toolbar as listed, opening only while the main window is active, and its commands with
// the windows they open.
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include "about.h"
#include "app_fixture.h"
#include "helpviewer.h"
#include "menuform.h"
#include "qtext.h"
#include "quickhelp.h"
#include "wordlistwindow.h"

namespace gd::test {
namespace {

using Strings = std::vector<std::string>;

// The entries of a menu as captions, "-" for a separator.
Strings Entries(const QList<QAction*>& actions) {
    Strings captions;
    for (QAction* a : actions)
        captions.push_back(a->isSeparator() ? "-" : FromQ(a->text()));
    return captions;
}

// The visible window of this kind, if any.
template <typename Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

class MenuWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(ShippedFile("GLYPHDROP.HLP"), h.home.filePath("GLYPHDROP.HLP")));
        h.Start();
        Activate(&h.main());
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &h.main()) w->close();
        AppHarness::Settle();
    }
    static void Activate(QWidget* w) {
        w->activateWindow();
        AppHarness::Settle();
    }
    MenuForm* OpenMenu() {
        h.app->ShowMenu();
        AppHarness::Settle();
        return h.app->menuForm();
    }
    void MouseOnMenuArea(QEvent::Type type) {
        QWidget* area = h.main().MenuButton();
        const QPointF at = area->rect().center();
        QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(area, &event);
        AppHarness::Settle();
    }
    QUrl HelpPage() { return OpenHelpViewer() ? OpenHelpViewer()->Browser()->source() : QUrl(); }
    AppHarness h;
};

// Guards against the menu window opening in the wrong place, or the main window not following
// it when it was moved.
TEST_F(MenuWindow, OpensOverTheTopOfTheMainWindowWhichFollowsItsMoves) {
    const QPoint start = h.main().pos();
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowType(), Qt::Tool);
    EXPECT_EQ(menu->pos(), start);
    EXPECT_EQ(menu->size(), QSize(618, 67));
    EXPECT_EQ(menu->windowTitle(), "Glyphdrop v1.1 - Ann Logged On");
    h.app->ShowMenu();  // opening it again while it is up changes nothing
    EXPECT_EQ(h.app->menuForm(), menu);
    menu->move(start + QPoint(100, 0));
    Activate(&h.main());  // clicking the main window takes the activation away
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_EQ(h.main().pos(), start + QPoint(100, 0));
}

TEST_F(MenuWindow, MaximisedMainWindowStaysAndSecondToggleCentres) {
    h.RunMenuCommand("Toggle Full Screen");
    ASSERT_TRUE(h.main().windowState() & Qt::WindowMaximized);
    const QPoint maximised = h.main().pos();
    MenuForm* menu = OpenMenu();
    menu->move(menu->pos() + QPoint(100, 40));
    menu->close();
    AppHarness::Settle();
    EXPECT_EQ(h.main().pos(), maximised);
    EXPECT_TRUE(h.main().windowState() & Qt::WindowMaximized);

    h.app->ToggleFullScreen();
    AppHarness::Settle();
    EXPECT_FALSE(h.main().windowState() & Qt::WindowMaximized);
    const QRect screen = h.main().screen()->geometry();
    EXPECT_EQ(h.main().geometry(), QRect(screen.topLeft() + QPoint((screen.width() - 618) / 2,
                                                                   (screen.height() - 449) / 2),
                                         QSize(618, 449)));
}

// Guards against the Menu area opening the menu while another window is active.
TEST_F(MenuWindow, MenuAreaWorksOnlyWhileTheMainWindowIsActive) {
    EXPECT_TRUE(h.main().MenuButton()->isEnabled());
    QWidget other;
    other.show();
    Activate(&other);
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
    MouseOnMenuArea(QEvent::MouseMove);
    EXPECT_EQ(h.app->menuForm(), nullptr);

    Activate(&h.main());
    MouseOnMenuArea(QEvent::MouseMove);
    ASSERT_NE(h.app->menuForm(), nullptr);
    EXPECT_TRUE(h.app->menuForm()->isVisible());
    // The open menu window holds the activation, so the Menu area is dead meanwhile.
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
    h.app->ToggleMenu();
    AppHarness::Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
    Activate(&h.main());
    MouseOnMenuArea(QEvent::MouseButtonPress);  // a click opens it too
    MouseOnMenuArea(QEvent::MouseButtonRelease);
    EXPECT_NE(h.app->menuForm(), nullptr);
}

// Guards against changed captions, access keys or order, which the player knows from the help.
TEST_F(MenuWindow, MenuTreeAndToolbarAsListed) {
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> top = menu->menuBar()->actions();
    EXPECT_EQ(Entries(top),
              (Strings{"&Game", "&Settings", "&View Dictionary", "&Web Links", "&Help"}));
    EXPECT_EQ(Entries(top[0]->menu()->actions()),
              (Strings{"Play Network (LAN) Game", "Play Internet Game", "Play Against Computer",
                       "-", "View Stats", "-", "Change &User", "-", "E&xit"}));
    EXPECT_FALSE(top[1]->menu() || top[2]->menu());
    const Strings web = Entries(top[3]->menu()->actions());
    ASSERT_GE(web.size(), 3u);
    EXPECT_EQ(web[0] + web[1], "Check For Updates-");
    EXPECT_EQ(Entries(top[4]->menu()->actions()),
              (Strings{"Help Contents", "&Search Help For..", "Frequently Asked Questions", "-",
                       "&About Glyphdrop", "&Obtaining Technical Support"}));
    EXPECT_EQ(top[4]->menu()->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));

    Strings tips;
    const QList<QAction*> buttons = menu->Toolbar1()->actions();
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->isSeparator(), i % 2 == 1) << i;  // one between every two buttons
        if (buttons[i]->isSeparator()) continue;
        tips.push_back(FromQ(buttons[i]->toolTip()));
        EXPECT_FALSE(buttons[i]->icon().isNull());
    }
    EXPECT_EQ(tips, (Strings{"Play Computer", "Lan Play", "Internet Play", "View Player Stats",
                             "Change User", "Settings", "View Word List", "Help", "About Glyphdrop",
                             "Toggle Full Screen", "Exit"}));
}

// Guards against a command that opens nothing, or leaves the menu window open.
TEST_F(MenuWindow, PlayAgainstComputerStartsAGameAndClosesTheMenu) {
    h.RunMenuCommand("Play Against Computer");
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_EQ(h.main().Label(7)->text(), "Computer");
    EXPECT_TRUE(h.app->lantimer().isActive());
    EXPECT_EQ(h.app->lantimer().interval(), 50);
}

TEST_F(MenuWindow, DictionaryFromMenuOrToolbarAndF1InItOrTheMainWindow) {
    for (const char* caption : {"&View Dictionary", "View Word List"}) {
        h.RunMenuCommand(caption);
        auto* dictionary = Shown<WordListWindow>();
        ASSERT_TRUE(dictionary) << caption;
        EXPECT_EQ(dictionary->List1()->count(), 2);  // the harness's two words
        EXPECT_FALSE(h.app->menuForm() && h.app->menuForm()->isVisible()) << caption;
        QTest::keyClick(dictionary, Qt::Key_F1);
        EXPECT_EQ(HelpPage(), QUrl("help:contents"));
        if (HelpViewer* viewer = OpenHelpViewer()) viewer->close();
        dictionary->close();
        AppHarness::Settle();
    }
    Activate(&h.main());
    QTest::keyClick(&h.main(), Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
}

TEST_F(MenuWindow, HelpEntriesOpenContentsSearchAndTheirTopics) {
    const std::vector<std::pair<const char*, const char*>> commands = {
        {"Help Contents", "help:contents"},
        {"Frequently Asked Questions", "topic:140"},
        {"&Obtaining Technical Support", "topic:30"},
        {"Help", "help:contents"}};  // the toolbar button
    for (const auto& [caption, page] : commands) {
        h.RunMenuCommand(caption);
        EXPECT_EQ(HelpPage(), QUrl(page)) << caption;
    }
    h.RunMenuCommand("&Search Help For..");
    EXPECT_TRUE(OpenHelpViewer()->IndexPane()->isVisible());
}

// Guards against an about window that lingers after the main window is clicked.
TEST_F(MenuWindow, AboutShowsTheVersionOnceAndClosesWhenTheMainWindowIsActivated) {
    for (const char* caption : {"&About Glyphdrop", "About Glyphdrop"}) {
        h.RunMenuCommand(caption);
        QPointer<AboutWindow> about = Shown<AboutWindow>();
        ASSERT_TRUE(about) << caption;
        EXPECT_EQ(about->windowTitle(), "Glyphdrop - Version 1.1");
        Activate(about);
        EXPECT_EQ(ShowAbout("1.1"), about.data());  // shown again: the same window
        Activate(&h.main());
        EXPECT_TRUE(about.isNull()) << caption;
    }
}

TEST_F(MenuWindow, QuestionMarkOpensQuickHelpAndItOpensTheFullHelp) {
    h.main().Image9Click();
    AppHarness::Settle();
    ASSERT_TRUE(Shown<QuickHelpWindow>());
    Shown<QuickHelpWindow>()->Command2()->click();
    AppHarness::Settle();
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    EXPECT_EQ(Shown<QuickHelpWindow>(), nullptr);
}

TEST_F(MenuWindow, ExitEndsTheProgram) {
    h.RunMenuCommand("Exit");
    EXPECT_TRUE(h.app->ending());
    EXPECT_FALSE(h.main().isVisible());
}

}  // namespace
}  // namespace gd::test
