// The game-over window: its result line shown whole, and answered by the player alone. (The
// games that lead to it are the rules' tests and the whole-program checks'.)

#include "playmore.h"
#include "app_fixture.h"
#include "qtext.h"
#include "wordlist.h"

namespace gd::test {
namespace {

// Guards against the game-over window slicing a long result line: every line of the longest
// definitions shows whole, with the question and the buttons below it and inside the window.
TEST(GameOverWindow, ALongDefinitionShowsWhole) {
    const auto bulb = LookUpDefinition(FromQ(ShippedFile("wordlist.dic")), "bulb");
    ASSERT_TRUE(bulb);
    std::string widest = "WMWMWMWMW";
    while (widest.size() < 230)
        widest += " WMWMWMWMW";
    for (const std::string& definition : {std::string("short"), bulb->definition, widest}) {
        AppHarness h{{{"bulb", definition}}};
        h.Start();
        h.StartPlay();
        h.s().WinningWord = "bulb";
        h.app->ShowPlayMore();
        Settle();
        PlayMore* over = h.app->playMore();
        ASSERT_NE(over, nullptr);
        EXPECT_TRUE(over->Label1()->text().endsWith(ToQ(definition)));
        for (const QLabel* label : {over->Label1(), over->Label2()})
            EXPECT_TRUE(ShowsWholeText(label)) << definition.size();
        for (const QWidget* button : {over->Command1(), over->Command2()})
            EXPECT_TRUE(over->rect().contains(button->geometry()));
        EXPECT_TRUE(h.main().geometry().contains(over->geometry()));
    }
}

// Guards against the game-over window answered by the keys of a chat line typed on as it
// appears, or left behind the main window unanswered.
TEST(GameOverWindow, AnEnterMeantForTheChatLineDoesNotAnswerIt) {
    AppHarness h;
    h.Start();
    h.StartPlay();
    h.main().activateWindow();
    h.main().ChatText()->setFocus();
    Settle();
    h.app->ShowPlayMore();
    Settle();
    PlayMore* over = h.app->playMore();
    ASSERT_NE(over, nullptr);
    // The end of a chat line, typed on into whatever now has the keyboard.
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QWidget* typedInto = QApplication::focusWidget();
        if (!typedInto) typedInto = QApplication::activeWindow();
        ASSERT_TRUE(typedInto);
        QTest::keyClick(typedInto, key);
        Settle();
    }
    EXPECT_EQ(h.app->playMore(), over);
    EXPECT_TRUE(over->isVisible());
    h.main().activateWindow();
    Settle();
    EXPECT_TRUE(over->isActiveWindow());
}

}  // namespace
}  // namespace gd::test
