// The hint's key in the main window against the computer.
#include "app_fixture.h"
#include "board.h"

namespace gd::test {
namespace {

// Guards against Ctrl+H not reaching the hint, the hint's letter and column not being picked
// out, and the key acting while the chat line has the focus.
TEST(HintKey, CtrlHShowsTheLineAndChoosesTheLetterAndColumn) {
    AppHarness h(DictEntries{{"arts", "works of creative skill"}});
    h.Start();
    h.RunMenuCommand("Play Against Computer");
    GameState& s = h.s();
    ASSERT_EQ(s.CurrentPlayer, s.LocalPlayer);
    for (int hole = 1; hole <= 3; ++hole)
        SetHole(s, hole, std::string(1, "art"[hole - 1]), Picture::Red);
    for (int i = 0; i < kPieceCount; ++i)
        s.Image[i] = Piece{Picture::Blue, std::string(1, "bsdsfghi"[i]), true};
    h.app->Refresh();
    h.main().activateWindow();
    Settle();
    const std::size_t lines = s.StatusText.lines.size();

    h.main().ChatText()->setFocus();
    QTest::keyClick(&h.main(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(s.StatusText.lines.size(), lines);
    h.main().ChatText()->clearFocus();
    QTest::keyClick(&h.main(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(s.StatusText.lines.back(), "Hint: drop S in column 5 to complete ARTS.");
    EXPECT_EQ(h.main().ChosenPiece(), 1);
    EXPECT_EQ(h.main().ChosenColumn(), 4);
}

}  // namespace
}  // namespace gd::test
