// Every window by keyboard: command labels click on Space, Enter and the accessible press action;
// each window's tab chain reaches only named controls, Enter has a default button and Escape
// closes the window through its close box's own handler.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QKeyEvent>
#include <QPointer>
#include <QTabWidget>

#include "about.h"
#include "app_fixture.h"
#include "helpviewer.h"
#include "internetwindows.h"
#include "lanwindows.h"
#include "playmore.h"
#include "settingswindow.h"
#include "statswindow.h"
#include "widgets.h"
#include "wordlistwindow.h"

namespace gd::test {
namespace {

TEST(ClickLabel, CommandClicksOnKeysAndPressActionDecorationTakesNoFocus) {
    QtApp();
    QWidget window;
    auto* command = new ClickLabel(&window);
    command->setText("Send");
    command->SetCommand();
    auto* picture = new ClickLabel(&window);
    picture->setToolTip("a face");
    EXPECT_EQ(command->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(picture->focusPolicy(), Qt::NoFocus);

    QSignalSpy clicks(command, &ClickLabel::clicked);
    QTest::keyClick(command, Qt::Key_Space);
    QTest::keyClick(command, Qt::Key_Return);
    QTest::keyClick(command, Qt::Key_Enter);
    QTest::keyClick(command, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 3);
    QSignalSpy pictureClicks(picture, &ClickLabel::clicked);
    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_EQ(pictureClicks.count(), 0);

    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(command);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), "Send");
    QAccessibleActionInterface* actions = button->actionInterface();
    ASSERT_TRUE(actions);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 4);
    command->setEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 4);

    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(picture);
    ASSERT_TRUE(plain);
    EXPECT_NE(plain->role(), QAccessible::Button);
}

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

// The controls the window lets the keyboard reach, whether or not Tab comes to them.
std::vector<QWidget*> Focusable(QWidget* window) {
    std::vector<QWidget*> all;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && w->window() == window)
            all.push_back(w);
    return all;
}

// The controls Tab comes to from the first, in order, until it comes round again.
std::vector<QWidget*> TabWalk() {
    std::vector<QWidget*> walk;
    QWidget* first = QApplication::focusWidget();
    for (int i = 0; i < 60 && QApplication::focusWidget(); ++i) {
        QWidget* now = QApplication::focusWidget();
        // A control that moves among its own links keeps the focus for a Tab or more.
        if (walk.size() > 1 && now == first) break;
        if (walk.empty() || walk.back() != now) walk.push_back(now);
        QTest::keyClick(now, Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), first) << "Tab never comes round again";
    return walk;
}

// The first line or list of names the keyboard can type into, if the window has one.
QWidget* FirstField(QWidget* window) {
    for (QWidget* w : Focusable(window))
        if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) && !KeepsEnter(w))
            return w;
    return nullptr;
}

// Every control the window lets the keyboard reach has a name, on every page of its tabs.
void ExpectNamed(QWidget* window) {
    const auto tabs = window->findChildren<QTabWidget*>();
    for (int page = 0; page < (tabs.empty() ? 1 : tabs[0]->count()); ++page) {
        if (!tabs.empty()) tabs[0]->setCurrentIndex(page);
        for (QWidget* w : Focusable(window))
            EXPECT_FALSE(AccessibleName(w).isEmpty()) << w->objectName().toStdString();
    }
    if (!tabs.empty()) tabs[0]->setCurrentIndex(0);
}

struct WindowRow {
    const char* name;
    std::function<QWidget*(AppHarness&)> open;
    bool hasDefault = true;  // the game-over window is answered on purpose, never by Enter
    bool escapeCloses = true;
};

// Counts the close events the window's own close handler is given.
struct CloseCounter : QObject {
    int closes = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        closes += e->type() == QEvent::Close;
        return false;
    }
};

// Guards against a window the keyboard cannot use: a control Tab reaches that a screen reader
// cannot name, a focus trap, Enter without a default command, or an Escape that closes other
// than the close box does (past the window's close handler) or not at all.
TEST(WindowKeys, EveryWindowIsNamedWalkedByTabHasADefaultAndClosesOnEscape) {
    const std::vector<WindowRow> rows = {
        {"login", [](AppHarness& h) { return (h.app->ShowLogin(), h.app->loginWindow()); }},
        {"settings",
         [](AppHarness& h) { return (h.app->ShowSettings(), h.app->settingsWindow()); }},
        {"stats", [](AppHarness& h) { return (h.app->ViewStats(), h.app->statsWindow()); }},
        {"inetstart",
         [](AppHarness& h) {
             h.app->internetWindows().ShowWaitingRoom();
             return h.app->internetWindows().inetstart();
         }},
        {"joinwaitroom",
         [](AppHarness& h) {
             h.app->internetWindows().ShowEnterWaitingRoom();
             return h.app->internetWindows().joinwaitroom();
         }},
        {"Provider", [](AppHarness& h) { return (h.app->PlayNetworkGame(), h.app->provider()); }},
        {"netSelectPlay", [](AppHarness& h) { return new NetSelectPlay(*h.app); }},
        {"SelectWaiting", [](AppHarness& h) { return new SelectWaiting(*h.app); }},
        {"wordlist", [](AppHarness& h) { return ShowWordList(h.prompt); }},
        {"helpviewer", [](AppHarness&) { return ShowHelpSearch(); }},
        {"about", [](AppHarness&) { return ShowAbout("1.0", QPixmap()); }},
        {"playmore", [](AppHarness& h) { return (h.app->ShowPlayMore(), h.app->playMore()); },
         false, false},
    };
    for (const WindowRow& row : rows) {
        SCOPED_TRACE(row.name);
        AppHarness h;
        h.Start();
        h.StartPlay();
        QPointer<QWidget> window = row.open(h);  // Enter may close, and so delete, the window
        ASSERT_TRUE(window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        BringForward(window);
        Settle();
        ASSERT_EQ(QApplication::activeWindow(), window);
        ExpectNamed(window);
        EXPECT_GE(TabWalk().size(), 2u);
        EXPECT_EQ(DefaultCommand(window) != nullptr, row.hasDefault);
        if (QWidget* field = FirstField(window); field && row.hasDefault) {
            QSignalSpy presses(DefaultCommand(window), SIGNAL(clicked()));
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            EXPECT_EQ(presses.count(), 1) << field->objectName().toStdString();
            Settle();
            if (!window || !window->isVisible()) window = row.open(h);
            ASSERT_TRUE(window);
            BringForward(window);
            Settle();
        }
        CloseCounter counter;
        window->installEventFilter(&counter);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(counter.closes, row.escapeCloses ? 1 : 0);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &h.main()) w->close();
        Settle();
    }
}

}  // namespace
}  // namespace gd::test
