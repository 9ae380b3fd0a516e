// Whole games against the computer driven through the windows: the player's letters dropped on
// the main window, the computer's turns through the turn timer's tick, the game-over window
// with its result line, "Yes" and "No".
#include <QPushButton>

#include "app_fixture.h"
#include "board.h"
#include "layout.h"
#include "playmore.h"

namespace gd::test {
namespace {

class ComputerGame : public ::testing::Test {
  protected:
    void SetUp() override {
        h.Start();
        h.s().CurrentComputerSkill = 1;  // random moves, so the test decides them
        h.sound.played.clear();
    }
    // Starts the game with these eight letters dealt.
    void Start(const std::vector<int>& deal) {
        h.random.QueueLetters(deal);
        h.app->PlayAgainstComputer();
        AppHarness::Settle();
    }
    // The computer's turn: a random letter into a random column.
    void ComputerPlays(int letter, int column) {
        h.random.QueueLetters({letter});
        h.random.QueueColumns({column});
        ASSERT_TRUE(h.app->lantimer().isActive());
        h.app->LanTimerTick();
        AppHarness::Settle();
    }
    // The player drops piece `piece` on `hole`; `refill` is the draw for the new letter.
    void PlayerDrops(int piece, int hole, int refill) {
        h.random.QueueLetters({refill});
        h.DragAndDrop(piece, h.main().Hole(hole));
        AppHarness::Settle();
    }
    PlayMore* GameOverWindow() { return h.app->playMore(); }
    AppHarness h{{{"cats", "small domesticated felines"}, {"word", "a unit of language"}}};
};

constexpr int c = 2, a = 0, t = 19, s = 18, b = 1, z = 25, x = 23;

TEST_F(ComputerGame, PlayerWinsThenYesLetsTheComputerBegin) {
    Start({c, a, t, s, b, b, b, b});
    EXPECT_EQ(h.main().Label(13)->text(), "Your Turn!");
    EXPECT_EQ(h.s().CurrentPlayer, "Ann");

    // While the computer waits between its two pauses, its letter shows above its column.
    std::vector<bool> dropRowShown;
    h.pause.during = [&] { dropRowShown.push_back(!h.main().Hole(48)->pixmap().isNull()); };

    PlayerDrops(0, 42, b);  // "c" over column 0 falls to hole 0
    EXPECT_EQ(h.s().Hole[0].Tag, "c");
    EXPECT_EQ(h.main().Label(13)->text(), "Opponents Turn");
    ComputerPlays(z, 6);
    EXPECT_EQ(dropRowShown, (std::vector<bool>{false, true}));
    EXPECT_EQ(h.s().Hole[6].Tag, "z");
    EXPECT_EQ(h.s().Hole[48].Tag, kEmptyMarker);
    EXPECT_TRUE(h.main().Hole(48)->pixmap().isNull());  // the emptied drop cell shows nothing
    EXPECT_EQ(h.main().Label(13)->text(), "Your Turn");
    EXPECT_EQ(h.sound.played, (std::vector<std::string>{"dropped.wav", "dropped2.wav"}));

    PlayerDrops(1, 1, b);
    ComputerPlays(z, 6);
    PlayerDrops(2, 37, b);  // "t" into the top hole of column 2 falls to hole 2
    ComputerPlays(z, 6);
    EXPECT_EQ(GameOverWindow(), nullptr);
    PlayerDrops(3, 3, b);  // "s" completes "cats" left to right

    EXPECT_EQ(h.s().StatusText.lines.back(), "Ann made word cats. Game Over. Winner is Ann");
    EXPECT_EQ(h.main().Label(13)->text(), "Game Over");
    EXPECT_EQ(h.main().Label(9)->text(), "1");
    EXPECT_EQ(h.main().Label(11)->text(), "1");  // the computer's panel: it lost
    EXPECT_FALSE(h.app->lantimer().isActive());
    PlayMore* over = GameOverWindow();
    ASSERT_NE(over, nullptr);
    EXPECT_TRUE(over->isVisible());
    EXPECT_EQ(over->windowTitle(), "Game Over");
    EXPECT_EQ(over->size(), layout::kPlayMoreSize);
    EXPECT_EQ(over->pos(), h.main().pos() + QPoint(152, 314));
    EXPECT_EQ(over->Label1()->text(), "Winner is Ann with word: cats - small domesticated felines");
    EXPECT_TRUE(over->Label1()->alignment() & Qt::AlignLeft);
    EXPECT_EQ(over->Label2()->text(), "Game Over. Would You Like To Play Again?");

    // No tick makes a move while the game is over.
    const int pauses = h.pause.pauses;
    h.app->LanTimerTick();
    EXPECT_EQ(h.pause.pauses, pauses);

    h.random.QueueLetters({x, x, x, x, x, x, x, x});
    over->Command1()->click();
    AppHarness::Settle();
    EXPECT_EQ(GameOverWindow(), nullptr);
    for (int i = 0; i < kBoardHoles; ++i)
        EXPECT_TRUE(IsHoleEmpty(h.s(), i));
    EXPECT_EQ(h.main().Label(13)->text(), "Opponents Turn!");
    EXPECT_EQ(h.s().CurrentPlayer, "Computer");
    EXPECT_TRUE(h.app->lantimer().isActive());
    ComputerPlays(z, 3);
    EXPECT_EQ(h.s().Hole[3].Tag, "z");
    EXPECT_EQ(h.s().CurrentPlayer, "Ann");
}

TEST_F(ComputerGame, ComputerWinsAndKeepsTheTurn) {
    Start({b, b, b, b, b, b, b, b});
    h.s().Words.Add("zzzz");
    PlayerDrops(0, 0, b);
    ComputerPlays(z, 6);
    PlayerDrops(1, 1, b);
    ComputerPlays(z, 6);
    PlayerDrops(2, 2, b);
    ComputerPlays(z, 6);
    PlayerDrops(3, 7, b);
    ComputerPlays(z, 6);  // the fourth "z" reads "zzzz" from the top down
    EXPECT_EQ(h.s().CurrentPlayer, "Computer");
    EXPECT_EQ(h.main().Label(13)->text(), "Game Over");
    EXPECT_EQ(h.main().Label(10)->text(), "1");  // the computer won
    ASSERT_NE(GameOverWindow(), nullptr);
    EXPECT_EQ(GameOverWindow()->Label1()->text(), "Winner is Computer with word:  - ");
}

TEST_F(ComputerGame, DrawOnAFullBoardThenNoEndsComputerPlay) {
    Start({b, b, b, b, b, b, b, b});
    // Every hole but the top of column 6 filled, without a word.
    for (int hole = 0; hole < kBoardHoles - 1; ++hole)
        SetHole(h.s(), hole, "q", Picture::Red);
    h.app->Refresh();
    PlayerDrops(0, 48, b);
    ASSERT_NE(GameOverWindow(), nullptr);
    EXPECT_EQ(GameOverWindow()->Label1()->text(), "Game Over. No Winner.");
    EXPECT_TRUE(GameOverWindow()->Label1()->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(h.main().Label(12)->text(), "1");

    GameOverWindow()->Command2()->click();
    AppHarness::Settle();
    EXPECT_EQ(GameOverWindow(), nullptr);
    EXPECT_FALSE(h.s().ComputerGame);
    EXPECT_FALSE(h.app->lantimer().isActive());
    for (int n = 7; n <= 13; ++n)
        EXPECT_EQ(h.main().Label(n)->text(), "") << n;
    EXPECT_EQ(h.s().Picture1, PhotoPicture::Photona);
    EXPECT_EQ(h.s().StatusText.lines.back(), "Ready");
    for (int i = 0; i < kBoardHoles; ++i)
        EXPECT_TRUE(IsHoleEmpty(h.s(), i));
}

// The game-over window stays in front until it is answered.
TEST_F(ComputerGame, GameOverWindowComesBackWhenItLosesTheActivation) {
    Start({b, b, b, b, b, b, b, b});
    for (int hole = 0; hole < kBoardHoles - 1; ++hole)
        SetHole(h.s(), hole, "q", Picture::Red);
    PlayerDrops(0, 48, b);
    PlayMore* over = GameOverWindow();
    ASSERT_NE(over, nullptr);
    over->activateWindow();
    AppHarness::Settle();
    ASSERT_TRUE(over->isActiveWindow());
    h.main().activateWindow();
    AppHarness::Settle();
    EXPECT_TRUE(over->isVisible());
    EXPECT_TRUE(over->isActiveWindow());
}

}  // namespace
}  // namespace gd::test
