// The menu window: the main window following it, opening only while the main window is active,
// and what each of its commands opens.
#include <QMouseEvent>
#include <QToolBar>

#include "about.h"
#include "app_fixture.h"
#include "helpviewer.h"
#include "quickhelp.h"
#include "settingswindow.h"
#include "statswindow.h"
#include "wordlistwindow.h"

namespace gd::test {
namespace {

class MenuWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(ShippedFile("GLYPHDROP.HLP"), h.home.filePath("GLYPHDROP.HLP")));
        h.Start();
        Activate(&h.main());
    }
    void TearDown() override { CloseOtherWindows(); }
    void CloseOtherWindows() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != h.app->mainWindow()) w->close();
        Settle();
    }
    static void Activate(QWidget* w) {
        w->activateWindow();
        Settle();
    }
    MenuForm* OpenMenu() {
        h.app->ShowMenu();
        Settle();
        return h.app->menuForm();
    }
    void MouseOnMenuArea(QEvent::Type type) {
        QWidget* area = h.main().MenuButton();
        const QPointF at = area->rect().center();
        QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(area, &event);
        Settle();
    }
    QUrl HelpPage() { return OpenHelpViewer() ? OpenHelpViewer()->Browser()->source() : QUrl(); }
    AppHarness h;
};

// Guards against the main window not following the menu window when it was moved, or staying
// maximised when it was not. (The menu window's place is the whole-program check's.)
TEST_F(MenuWindow, MainWindowFollowsTheMenuWindowsMovesUnlessMaximised) {
    const QPoint start = h.main().pos();
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    h.app->ShowMenu();  // opening it again while it is up changes nothing
    EXPECT_EQ(h.app->menuForm(), menu);
    menu->move(start + QPoint(100, 0));
    Activate(&h.main());  // clicking the main window takes the activation away
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_EQ(h.main().pos(), start + QPoint(100, 0));

    h.RunMenuCommand("Toggle Full Screen");
    ASSERT_TRUE(h.main().windowState() & Qt::WindowMaximized);
    const QPoint maximised = h.main().pos();
    menu = OpenMenu();
    menu->move(menu->pos() + QPoint(100, 40));
    menu->close();
    Settle();
    EXPECT_EQ(h.main().pos(), maximised);
    h.app->ToggleFullScreen();
    EXPECT_FALSE(h.main().windowState() & Qt::WindowMaximized);
}

// Guards against the Menu area opening the menu while another window is active.
TEST_F(MenuWindow, MenuAreaWorksOnlyWhileTheMainWindowIsActive) {
    QWidget other;
    other.show();
    Activate(&other);
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
    MouseOnMenuArea(QEvent::MouseMove);
    EXPECT_EQ(h.app->menuForm(), nullptr);

    Activate(&h.main());
    MouseOnMenuArea(QEvent::MouseMove);
    ASSERT_NE(h.app->menuForm(), nullptr);
    // The open menu window holds the activation, so the Menu area is dead meanwhile.
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
    h.app->ToggleMenu();
    Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
    Activate(&h.main());
    MouseOnMenuArea(QEvent::MouseButtonPress);  // a click opens it too
    MouseOnMenuArea(QEvent::MouseButtonRelease);
    EXPECT_NE(h.app->menuForm(), nullptr);
}

// Guards against a menu entry or toolbar button that is missing, opens the wrong thing or
// leaves the menu window open, and "Change User" keeping the old main window.
TEST_F(MenuWindow, EveryEntryAndButtonOpensWhatItNames) {
    const auto page = [this](const char* url) {
        return [this, url] { return HelpPage() == QUrl(url); };
    };
    const auto computerGame = [this] {
        return h.app->match().seat() == &h.app->computer() && h.app->lantimer().isActive();
    };
    const auto wordList = [] { return Shown<WordListWindow>() != nullptr; };
    const auto about = [] { return Shown<AboutWindow>() != nullptr; };
    const std::vector<std::pair<std::vector<const char*>, std::function<bool()>>> commands = {
        {{"Play Against Computer", "Play Computer"}, computerGame},
        {{"&View Dictionary", "View Word List"}, wordList},
        {{"View Stats", "View Player Stats"}, [this] { return h.app->statsWindow() != nullptr; }},
        {{"&Settings", "Settings"}, [this] { return h.app->settingsWindow() != nullptr; }},
        {{"Help Contents", "Help"}, page("help:contents")},
        {{"Frequently Asked Questions"}, page("topic:140")},
        {{"&Obtaining Technical Support"}, page("topic:30")},
        {{"&Search Help For.."}, [] { return OpenHelpViewer()->IndexPane()->isVisible(); }},
        {{"&About Glyphdrop", "About Glyphdrop"}, about},
        {{"Change &User", "Change User"},
         [this] { return !h.app->mainWindow() && h.app->loginWindow()->isVisible(); }},
        {{"E&xit"},
         [this] { return h.app->ending() && !(h.app->mainWindow() && h.main().isVisible()); }},
    };
    for (QAction* button : OpenMenu()->Toolbar1()->actions())  // every button shows its picture
        EXPECT_TRUE(button->isSeparator() || !button->icon().isNull());
    for (const auto& [captions, opened] : commands)
        for (const char* caption : captions) {
            h.RunMenuCommand(caption);
            EXPECT_TRUE(opened()) << caption;
            EXPECT_FALSE(h.app->menuForm() && h.app->menuForm()->isVisible()) << caption;
            if (!h.app->mainWindow() && !h.app->ending()) h.LogIn("Ann");
            CloseOtherWindows();
            h.app->match().Leave();
        }
}

// Guards against F1 or the question mark leading nowhere from any window.
TEST_F(MenuWindow, F1AndTheQuestionMarkOpenTheHelp) {
    h.RunMenuCommand("View Word List");
    QTest::keyClick(Shown<WordListWindow>(), Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    CloseOtherWindows();
    Activate(&h.main());
    QTest::keyClick(&h.main(), Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    CloseOtherWindows();
    bool bound = false;  // in the menu window F1 is the shortcut of "Help Contents"
    for (QAction* a : OpenMenu()->findChildren<QAction*>())
        bound |= a->text() == "Help Contents" && a->shortcut() == QKeySequence(Qt::Key_F1);
    EXPECT_TRUE(bound);
    CloseOtherWindows();

    h.main().Image9Click();
    Settle();
    ASSERT_TRUE(Shown<QuickHelpWindow>());
    Shown<QuickHelpWindow>()->Command2()->click();
    Settle();
    EXPECT_EQ(HelpPage(), QUrl("help:contents"));
    EXPECT_EQ(Shown<QuickHelpWindow>(), nullptr);
}

// Guards against the menu or the game commands being out of the keyboard's reach: F10 opens the
// menu with its first menu down, Escape closes that menu and then the window, giving the keys
// back to the main window, where the commands' keys work without the menu.
TEST_F(MenuWindow, F10OpensTheMenuEscapeClosesItAndCommandKeysWorkWithoutIt) {
    QTest::keyClick(&h.main(), Qt::Key_F10);
    Settle();
    MenuForm* menu = h.app->menuForm();
    ASSERT_TRUE(menu && menu->isVisible());
    QMenu* game = menu->findChild<QMenu*>("mnuGame");
    ASSERT_EQ(QApplication::activePopupWidget(), game);
    QAction* computer = game->actions().value(2);
    EXPECT_EQ(computer->text() + computer->shortcut().toString(), "Play Against ComputerF2");
    QTest::keyClick(game, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    ASSERT_EQ(h.app->menuForm(), menu);
    QTest::keyClick(menu->menuBar(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_TRUE(h.main().isActiveWindow());
    QTest::keyClick(&h.main(), Qt::Key_F2);
    EXPECT_EQ(h.app->match().seat(), &h.app->computer());
}

}  // namespace
}  // namespace gd::test
