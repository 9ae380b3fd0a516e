// Games against the computer through the windows: the player's letter dropped on the main
// window, the game-over window with its result line, "Yes" and "No".

#include "app_fixture.h"
#include "playmore.h"
#include "qtext.h"
#include "wordlist.h"

namespace gd::test {
namespace {

class ComputerGame : public ::testing::Test {
  protected:
    void SetUp() override {
        h.Start();
        h.s().CurrentComputerSkill = 1;                   // random moves, so the test decides them
        h.random.QueueLetters({c, a, t, s, b, b, b, b});  // the first deal
        h.app->PlayAgainstComputer();
        Settle();
        h.sound.played.clear();
    }
    // The player drops piece `piece` on `hole`; the piece is refilled with a "b".
    void PlayerDrops(int piece, int hole) {
        h.random.QueueLetters({b});
        h.DragAndDrop(piece, h.main().Hole(hole));
        Settle();
    }
    QString Caption(int label) { return h.main().Label(label)->text(); }
    static constexpr int c = 2, a = 0, t = 19, s = 18, b = 1, x = 23;
    AppHarness h{{{"cats", "small domesticated felines"}, {"word", "a unit of language"}}};
};

// Guards against a won game shown wrongly by the windows, and a "Yes" that does not let the
// computer begin. The computer's own turns on screen are the whole-program check's.
TEST_F(ComputerGame, PlayerWinsThenYesLetsTheComputerBegin) {
    EXPECT_EQ(Caption(13), "Your Turn!");
    for (int hole = 0; hole < 3; ++hole)
        SetHole(h.s(), hole, std::string(1, "cat"[hole]), Picture::Blue);
    PlayerDrops(3, 3);  // "s" completes "cats" left to right
    EXPECT_EQ(Caption(13), "Game Over");
    EXPECT_EQ(Caption(9) + Caption(11), "11");  // played, and the computer's lost
    EXPECT_FALSE(h.app->lantimer().isActive());
    PlayMore* over = h.app->playMore();
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->Label1()->text(), "Winner is Ann with word: cats - small domesticated felines");

    h.random.QueueLetters({x, x, x, x, x, x, x, x});
    over->Command1()->click();
    Settle();
    EXPECT_EQ(h.app->playMore(), nullptr);
    EXPECT_TRUE(BoardEmpty(h.s()));
    EXPECT_EQ(Caption(13), "Opponents Turn!");
    EXPECT_TRUE(h.app->lantimer().isActive());
}

// Guards against a draw shown as a win, a game-over window that can be left unanswered, and a
// computer game that outlives "No".
TEST_F(ComputerGame, DrawOnAFullBoardStaysInFrontThenNoEndsComputerPlay) {
    for (int hole = 0; hole < kBoardHoles - 1; ++hole)  // every hole but the last one
        SetHole(h.s(), hole, "q", Picture::Red);
    PlayerDrops(0, 48);
    PlayMore* over = h.app->playMore();
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->Label1()->text(), "Game Over. No Winner.");
    over->activateWindow();
    Settle();
    ASSERT_TRUE(over->isActiveWindow());
    h.main().activateWindow();
    Settle();
    EXPECT_TRUE(over->isVisible() && over->isActiveWindow());

    over->Command2()->click();
    Settle();
    EXPECT_EQ(h.app->playMore(), nullptr);
    EXPECT_FALSE(h.app->match().seat() || h.app->lantimer().isActive());
    EXPECT_EQ(Caption(7) + Caption(13), "");
}

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

}  // namespace
}  // namespace gd::test
