// The menu window: its place over the main window, the main window following it, the menu tree
// and toolbar as listed, opening only while the main window is active, and its commands.
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QToolBar>

#include "app_fixture.h"
#include "menuform.h"
#include "text.h"

namespace gd::test {
namespace {

class MenuWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        h.Start();
        h.main().activateWindow();
        AppHarness::Settle();
    }
    MenuForm* OpenMenu() {
        h.app->ShowMenu();
        AppHarness::Settle();
        return h.app->menuForm();
    }
    // The entries of a menu as captions, "-" for a separator.
    static std::vector<std::string> Entries(const QList<QAction*>& actions) {
        std::vector<std::string> captions;
        for (QAction* a : actions)
            captions.push_back(a->isSeparator() ? "-" : FromQ(a->text()));
        return captions;
    }
    static QAction* Find(MenuForm* menu, const QString& caption) {
        for (QAction* top : menu->menuBar()->actions()) {
            if (top->text() == caption) return top;
            if (top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == caption) return a;
        }
        return nullptr;
    }
    void SendMouse(QWidget* w, QEvent::Type type) {
        const QPointF at = w->rect().center();
        QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
        AppHarness::Settle();
    }
    AppHarness h;
};

TEST_F(MenuWindow, OpensOverTheTopOfTheMainWindow) {
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowType(), Qt::Tool);
    EXPECT_EQ(menu->pos(), h.main().pos());
    EXPECT_EQ(menu->size(), QSize(618, 67));
    EXPECT_EQ(menu->windowTitle(), "Glyphdrop v1.1 - Ann Logged On");
    // Opening it again while it is up changes nothing.
    h.app->ShowMenu();
    EXPECT_EQ(h.app->menuForm(), menu);
}

TEST_F(MenuWindow, MainWindowFollowsTheMovedMenuWindow) {
    const QPoint start = h.main().pos();
    MenuForm* menu = OpenMenu();
    menu->move(start + QPoint(100, 0));
    AppHarness::Settle();
    h.main().activateWindow();  // clicking the main window takes the activation away
    AppHarness::Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_EQ(h.main().pos(), start + QPoint(100, 0));
}

TEST_F(MenuWindow, MaximisedMainWindowStaysAndSecondToggleCentres) {
    h.app->ToggleFullScreen();
    AppHarness::Settle();
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
    EXPECT_EQ(h.main().size(), QSize(618, 449));
    EXPECT_EQ(h.main().pos(),
              QPoint((screen.width() - 618) / 2, (screen.height() - 449) / 2) + screen.topLeft());
}

TEST_F(MenuWindow, MenuAreaWorksOnlyWhileTheMainWindowIsActive) {
    QWidget other;
    other.show();
    other.activateWindow();
    AppHarness::Settle();
    SendMouse(h.main().MenuButton(), QEvent::MouseMove);
    EXPECT_EQ(h.app->menuForm(), nullptr);

    h.main().activateWindow();
    AppHarness::Settle();
    SendMouse(h.main().MenuButton(), QEvent::MouseMove);
    ASSERT_NE(h.app->menuForm(), nullptr);
    EXPECT_TRUE(h.app->menuForm()->isVisible());
    // The open menu window holds the activation, so the Menu area is dead meanwhile.
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
}

TEST_F(MenuWindow, ClickOnTheMenuAreaOpensAndClosesIt) {
    SendMouse(h.main().MenuButton(), QEvent::MouseButtonPress);
    SendMouse(h.main().MenuButton(), QEvent::MouseButtonRelease);
    ASSERT_NE(h.app->menuForm(), nullptr);
    h.app->ToggleMenu();
    AppHarness::Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
}

// Captions, access keys and order as the player knows them from the help and other copies.
TEST_F(MenuWindow, MenuTreeAndToolbarAsListed) {
    MenuForm* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> top = menu->menuBar()->actions();
    EXPECT_EQ(Entries(top), (std::vector<std::string>{"&Game", "&Settings", "&View Dictionary",
                                                      "&Web Links", "&Help"}));
    EXPECT_EQ(Entries(top[0]->menu()->actions()),
              (std::vector<std::string>{"Play Network (LAN) Game", "Play Internet Game",
                                        "Play Against Computer", "-", "View Stats", "-",
                                        "Change &User", "-", "E&xit"}));
    EXPECT_EQ(top[1]->menu(), nullptr);
    EXPECT_EQ(top[2]->menu(), nullptr);
    const auto web = Entries(top[3]->menu()->actions());
    ASSERT_GE(web.size(), 3u);
    EXPECT_EQ(web[0], "Check For Updates");
    EXPECT_EQ(web[1], "-");
    EXPECT_EQ(Entries(top[4]->menu()->actions()),
              (std::vector<std::string>{"Help Contents", "&Search Help For..",
                                        "Frequently Asked Questions", "-", "&About Glyphdrop",
                                        "&Obtaining Technical Support"}));
    EXPECT_EQ(Find(menu, "Help Contents")->shortcut(), QKeySequence(Qt::Key_F1));

    std::vector<std::string> tips;
    const QList<QAction*> buttons = menu->Toolbar1()->actions();
    for (int i = 0; i < buttons.size(); ++i) {
        // A separator stands between every two buttons.
        EXPECT_EQ(buttons[i]->isSeparator(), i % 2 == 1) << i;
        if (!buttons[i]->isSeparator()) {
            tips.push_back(FromQ(buttons[i]->toolTip()));
            EXPECT_FALSE(buttons[i]->icon().isNull());
        }
    }
    EXPECT_EQ(tips, (std::vector<std::string>{"Play Computer", "Lan Play", "Internet Play",
                                              "View Player Stats", "Change User", "Settings",
                                              "View Word List", "Help", "About Glyphdrop",
                                              "Toggle Full Screen", "Exit"}));
}

TEST_F(MenuWindow, PlayAgainstComputerStartsAGameAndClosesTheMenu) {
    MenuForm* menu = OpenMenu();
    Find(menu, "Play Against Computer")->trigger();
    AppHarness::Settle();
    EXPECT_EQ(h.app->menuForm(), nullptr);
    EXPECT_TRUE(h.s().ComputerGame);
    EXPECT_EQ(h.main().Label(7)->text(), "Computer");
    EXPECT_EQ(h.main().Label(8)->text(), "Silicon Valley");
    EXPECT_EQ(h.main().Label(13)->text(), "Your Turn!");
    EXPECT_TRUE(h.app->lantimer().isActive());
    EXPECT_EQ(h.app->lantimer().interval(), 50);
    for (int i = 0; i < kPieceCount; ++i)
        EXPECT_FALSE(h.main().Image(i)->pixmap().isNull());
}

TEST_F(MenuWindow, ToolbarTogglesFullScreenAndExits) {
    MenuForm* menu = OpenMenu();
    const QList<QAction*> buttons = menu->Toolbar1()->actions();
    buttons[18]->trigger();  // "Toggle Full Screen"
    AppHarness::Settle();
    EXPECT_TRUE(h.main().windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(h.app->ending());
    menu = OpenMenu();
    menu->Toolbar1()->actions()[20]->trigger();  // "Exit"
    AppHarness::Settle();
    EXPECT_TRUE(h.app->ending());
    EXPECT_FALSE(h.main().isVisible());
}

}  // namespace
}  // namespace gd::test
