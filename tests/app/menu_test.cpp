// The menu window: its place over the main window, the main window following it, opening only
// while the main window is active, and what each of its commands opens.
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

// Guards against the menu window opening in the wrong place, or the main window not following
// it when it was moved.
TEST_F(MenuWindow, OpensOverTheTopOfTheMainWindowWhichFollowsItsMoves) {
    const QPoint start = h.main().pos();
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowType(), Qt::Tool);
    EXPECT_EQ(menu->pos(), start);
    EXPECT_EQ(menu->width(), h.main().width());
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
    Settle();
    EXPECT_EQ(h.main().pos(), maximised);
    EXPECT_TRUE(h.main().windowState() & Qt::WindowMaximized);

    h.app->ToggleFullScreen();
    Settle();
    EXPECT_FALSE(h.main().windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(IsCentred(&h.main()));
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
// leaves the menu window open.
TEST_F(MenuWindow, EveryEntryAndButtonOpensWhatItNames) {
    const auto page = [this](const char* url) {
        return [this, url] { return HelpPage() == QUrl(url); };
    };
    const auto computerGame = [this] { return h.s().ComputerGame && h.app->lantimer().isActive(); };
    const auto settings = [this] { return h.app->settingsWindow() != nullptr; };
    const auto stats = [this] { return h.app->statsWindow() != nullptr; };
    const std::vector<std::pair<const char*, std::function<bool()>>> commands = {
        {"Play Against Computer", computerGame},
        {"Play Computer", computerGame},
        {"&View Dictionary", [] { return Shown<WordListWindow>() != nullptr; }},
        {"View Word List", [] { return Shown<WordListWindow>() != nullptr; }},
        {"View Stats", stats},
        {"View Player Stats", stats},
        {"&Settings", settings},
        {"Settings", settings},
        {"Help Contents", page("help:contents")},
        {"Help", page("help:contents")},
        {"Frequently Asked Questions", page("topic:140")},
        {"&Obtaining Technical Support", page("topic:30")},
        {"&Search Help For..", [] { return OpenHelpViewer()->IndexPane()->isVisible(); }},
        {"&About Glyphdrop", [] { return Shown<AboutWindow>() != nullptr; }},
        {"About Glyphdrop", [] { return Shown<AboutWindow>() != nullptr; }},
    };
    for (const auto& [caption, opened] : commands) {
        h.RunMenuCommand(caption);
        EXPECT_TRUE(opened()) << caption;
        EXPECT_FALSE(h.app->menuForm() && h.app->menuForm()->isVisible()) << caption;
        CloseOtherWindows();
        h.s().ComputerGame = false;
    }
    for (QAction* button : OpenMenu()->Toolbar1()->actions())
        EXPECT_TRUE(button->isSeparator() || !button->icon().isNull());
}

// Guards against "Change User" keeping the old main window, or a login that leads nowhere.
TEST_F(MenuWindow, ChangeUserGoesBackToTheLoginAndExitEndsTheProgram) {
    for (const char* caption : {"Change &User", "Change User"}) {
        h.RunMenuCommand(caption);
        EXPECT_EQ(h.app->mainWindow(), nullptr) << caption;
        ASSERT_NE(h.app->loginWindow(), nullptr);
        EXPECT_TRUE(h.app->loginWindow()->isVisible());
        h.LogIn("Ann");  // opens the main window anew
        ASSERT_NE(h.app->mainWindow(), nullptr);
        EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
    }
    h.RunMenuCommand("E&xit");
    EXPECT_TRUE(h.app->ending());
    EXPECT_FALSE(h.main().isVisible());
}

// Guards against an about window that lingers after the main window is clicked.
TEST_F(MenuWindow, AboutIsShownOnceAndClosesWhenTheMainWindowIsActivated) {
    h.RunMenuCommand("About Glyphdrop");
    QPointer<AboutWindow> about = Shown<AboutWindow>();
    ASSERT_TRUE(about);
    Activate(about);
    EXPECT_EQ(ShowAbout("1.1"), about.data());
    Activate(&h.main());
    EXPECT_TRUE(about.isNull());
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
    for (QAction* top : OpenMenu()->menuBar()->actions())
        for (QAction* a : top->menu() ? top->menu()->actions() : QList<QAction*>{})
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

}  // namespace
}  // namespace gd::test
