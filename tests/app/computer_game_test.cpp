// Whole games against the computer driven through the windows: the player's letters dropped on
// the main window, the computer's turns through the turn timer's tick, the game-over window
// with its result line, "Yes" and "No".
#include <QPushButton>

#include "app_fixture.h"
#include "layout.h"
#include "playmore.h"

namespace gd::test {
namespace {

class ComputerGame : public ::testing::Test {
  protected:
    void SetUp() override {
        h.Start();
        h.s().CurrentComputerSkill = 1;                   // random moves, so the test decides them
        h.random.QueueLetters({c, a, t, s, b, b, b, b});  // the first deal
        h.app->PlayAgainstComputer();
        AppHarness::Settle();
        h.sound.played.clear();
    }
    // The computer's turn: a random letter into a random column.
    void ComputerPlays(int letter, int column) {
        h.random.QueueLetters({letter});
        h.random.QueueColumns({column});
        ASSERT_TRUE(h.app->lantimer().isActive());
        h.app->LanTimerTick();
        AppHarness::Settle();
    }
    // The player drops piece `piece` on `hole`; the piece is refilled with a "b".
    void PlayerDrops(int piece, int hole) {
        h.random.QueueLetters({b});
        h.DragAndDrop(piece, h.main().Hole(hole));
        AppHarness::Settle();
    }
    QString Caption(int label) { return h.main().Label(label)->text(); }
    static constexpr int c = 2, a = 0, t = 19, s = 18, b = 1, z = 25, x = 23;
    AppHarness h{{{"cats", "small domesticated felines"}, {"word", "a unit of language"}}};
};

// Guards against the windows showing the game wrongly: the computer's letter above its column
// while it waits, the turn captions, the game-over window and its "Yes".
TEST_F(ComputerGame, PlayerWinsThenYesLetsTheComputerBegin) {
    EXPECT_EQ(Caption(13), "Your Turn!");
    std::vector<bool> dropRowShown;  // at each of the computer's pauses
    h.pause.during = [&] { dropRowShown.push_back(!h.main().Hole(48)->pixmap().isNull()); };
    PlayerDrops(0, 42);  // "c" over column 0 falls to hole 0
    EXPECT_EQ(Caption(13), "Opponents Turn");
    ComputerPlays(z, 6);
    EXPECT_EQ(dropRowShown, (std::vector<bool>{false, true}));
    EXPECT_TRUE(h.main().Hole(48)->pixmap().isNull());  // the emptied drop cell shows nothing
    EXPECT_FALSE(h.main().Hole(6)->pixmap().isNull());
    EXPECT_EQ(Caption(13), "Your Turn");
    for (const auto& [piece, hole] : std::vector<std::pair<int, int>>{{1, 1}, {2, 37}}) {
        PlayerDrops(piece, hole);  // "t" into the top hole of column 2 falls to hole 2
        ComputerPlays(z, 6);
    }
    EXPECT_EQ(h.app->playMore(), nullptr);
    PlayerDrops(3, 3);  // "s" completes "cats" left to right

    EXPECT_EQ(Caption(13), "Game Over");
    EXPECT_EQ(Caption(9) + Caption(11), "11");  // played, and the computer's lost
    EXPECT_FALSE(h.app->lantimer().isActive());
    PlayMore* over = h.app->playMore();
    ASSERT_NE(over, nullptr);
    EXPECT_TRUE(over->isVisible());
    EXPECT_EQ(over->windowTitle(), "Game Over");
    EXPECT_EQ(over->geometry().size(), layout::kPlayMoreSize);
    EXPECT_EQ(over->pos(), h.main().pos() + QPoint(152, 314));
    EXPECT_EQ(over->Label1()->text(), "Winner is Ann with word: cats - small domesticated felines");
    EXPECT_TRUE(over->Label1()->alignment() & Qt::AlignLeft);
    EXPECT_EQ(over->Label2()->text(), "Game Over. Would You Like To Play Again?");

    h.random.QueueLetters({x, x, x, x, x, x, x, x});
    over->Command1()->click();
    AppHarness::Settle();
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
    EXPECT_TRUE(over->Label1()->alignment() & Qt::AlignHCenter);
    over->activateWindow();
    AppHarness::Settle();
    ASSERT_TRUE(over->isActiveWindow());
    h.main().activateWindow();
    AppHarness::Settle();
    EXPECT_TRUE(over->isVisible() && over->isActiveWindow());

    over->Command2()->click();
    AppHarness::Settle();
    EXPECT_EQ(h.app->playMore(), nullptr);
    EXPECT_FALSE(h.s().ComputerGame || h.app->lantimer().isActive());
    for (int n = 7; n <= 13; ++n)
        EXPECT_EQ(Caption(n), "") << n;
}

}  // namespace
}  // namespace gd::test
