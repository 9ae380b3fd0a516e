// The main window: its load step, drops on holes and elsewhere, the status list, the sound button
// and quitting.
#include <QtTest/qtestspontaneevent.h>

#include <fstream>

#include "app_fixture.h"
#include "board.h"
#include "internet_play.h"
#include "qtext.h"

namespace gd::test {
namespace {

using Strings = std::vector<std::string>;

// Ann logged on at an empty board.
struct MainWindowTest : ::testing::Test {
    void SetUp() override { h.Start(); }
    AppHarness h;
};

// Guards against a missing or damaged file that stops the start. (The caption and the close
// area's quick exit are the whole-program checks'.)
TEST(MainWindowLoad, MissingWordListIsReportedOnceAndPlayGoesOn) {
    AppHarness h(DictEntries{});
    h.Start();
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].title, "File Not Found");
    EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
}

TEST(MainWindowLoad, BackgroundFoundWithoutRegardToCaseADamagedOneLeftPlain) {
    for (const bool damaged : {false, true}) {
        AppHarness h;
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(h.home.filePath("marble.bmp"), "BMP"));
        if (damaged) std::ofstream(h.File("marble.bmp")) << "BM\x10 no picture";
        h.Start();
        EXPECT_EQ(h.main().main1()->HasPicture(), !damaged);
        h.main().grab();  // painting either background must not fail
    }
}

// Guards against drops through the window's events not reaching the drop rules, or the window
// not showing their result.
struct MainWindowDrop : MainWindowTest {
    void SetUp() override {
        h.Start();
        h.StartPlay("abcdefgh");
    }
};

// Anywhere but a hole, and a drag that never passed the drag bar, are refused; foreign drags
// are not ours to refuse.
TEST_F(MainWindowDrop, ElsewhereOrWithoutPassingTheDragBarThePieceGoesBack) {
    MainWindow& w = h.main();
    for (QWidget* target : std::vector<QWidget*>{w.Label(3), w.StatusText(), w.Picture1(),
                                                 w.main1(), w.ChatText(), w.dragbar()})
        h.DragAndDrop(1, target);
    h.DragAndDrop(0, h.main().Hole(3), /*overDragbar=*/false);
    EXPECT_EQ(h.sound.played, Strings(7, "missed.wav"));
    EXPECT_EQ(h.s().StatusText.lines.back(),
              "OOPS! You grabbed a game piece before your turn. Try again!");
    for (int i = 0; i < kPieceCount; ++i)
        EXPECT_TRUE(w.Image(i)->isVisible());

    QMimeData text, bad;
    text.setText("7");
    bad.setData(kPieceMimeType, "99");
    const QPoint at = h.Centre(h.main().Hole(3));
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&h.main(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    for (QMimeData* mime : {&text, &bad}) {
        QDropEvent drop(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&h.main(), &drop);
    }
    EXPECT_EQ(h.sound.played.size(), 7u);
    EXPECT_TRUE(BoardEmpty(h.s()));
}

// What a drop leaves behind: board, pieces, status lines, sounds and the turn caption.
std::string DropResult(AppHarness& h) {
    std::string result = h.s().Label13;
    for (const Cell& c : h.s().Hole)
        result += c.Tag + std::to_string(int(c.picture));
    for (const Piece& p : h.s().Image)
        result += p.Tag + std::to_string(int(p.picture)) + (p.visible ? "+" : "-");
    for (const std::string& text : h.s().StatusText.lines)
        result += "|" + text;
    for (const std::string& sound : h.sound.played)
        result += "|" + sound;
    return result;
}

// Sends a key to `area` as to the element that has the focus.
void Key(QWidget* area, Qt::Key key) {
    area->setFocus();
    QTest::keyClick(area, key);
}

// Guards against the keyboard's drop taking another way than the drag's: letters dropped either
// way, or refused (not his turn, the game over, a full column), leave the very same state. A
// drop-row hole acts as the top hole of its column.
TEST(MainWindowKeys, DropsAndRefusalsByKeyAreTheDragsOwn) {
    const std::vector<std::function<void(GameState&)>> setups = {
        [](GameState&) {},
        [](GameState& s) { s.CurrentPlayer = "Bob"; },
        [](GameState& s) { s.GameOver = true; },
        [](GameState& s) {
            for (int row = 0; row < kRows; ++row)
                s.Hole[row * kColumns + 5] = Cell{Picture::Red, "z"};
        },
    };
    for (const auto& setup : setups) {
        AppHarness byKey, byDrag;
        for (AppHarness* h : {&byKey, &byDrag}) {
            h->Start();
            h->StartPlay("abcdefgh");
            setup(h->s());
            h->random.QueueLetters({4});  // the new letter: "e"
        }
        byDrag.DragAndDrop(2, byDrag.main().Hole(47));
        for (Qt::Key key : {Qt::Key_3, Qt::Key_6, Qt::Key_Return})
            Key(byKey.main().Rack(), key);
        EXPECT_EQ(DropResult(byKey), DropResult(byDrag));
        EXPECT_EQ(byKey.main().ChosenPiece(), 2);  // the refilled place stays chosen
        if (&setup != &setups.front()) continue;   // the letter fell, as the window shows
        EXPECT_EQ(byKey.s().Hole[5].Tag + byKey.sound.played.at(0), "cdropped.wav");
        EXPECT_FALSE(byKey.main().Hole(5)->pixmap().isNull());
        EXPECT_TRUE(byDrag.main().Hole(47)->pixmap().isNull());  // the drop row stays bare
    }
}

// Guards against keys choosing the wrong letter or column, marks that do not follow them, and
// keys of play acting from the chat line.
TEST_F(MainWindowDrop, KeysChooseLetterAndColumnOnlyFromTheLettersAndTheBoard) {
    MainWindow& w = h.main();
    const auto chosen = [&w] { return std::make_pair(w.ChosenPiece(), w.ChosenColumn()); };
    Key(w.Rack(), Qt::Key_3);
    Key(w.Rack(), Qt::Key_7);  // right after a letter's digit: the column
    EXPECT_EQ(chosen(), std::make_pair(2, 6));
    Key(w.Rack(), Qt::Key_8);  // then a letter again
    Key(w.Rack(), Qt::Key_Left);
    Key(w.Rack(), Qt::Key_Up);
    EXPECT_EQ(chosen(), std::make_pair(4, 6));
    Key(w.Board(), Qt::Key_Right);  // the last column stays the last
    Key(w.Board(), Qt::Key_Left);
    EXPECT_EQ(chosen(), std::make_pair(4, 5));
    EXPECT_TRUE(w.PieceMarker()->geometry().contains(w.Image(4)->geometry()));
    EXPECT_NEAR(w.ColumnMarker()->geometry().center().x(), w.Hole(40)->geometry().center().x(), 1);
    EXPECT_LT(w.ColumnMarker()->geometry().bottom(), w.Hole(40)->geometry().top());

    Key(w.Rack(), Qt::Key_Tab);
    EXPECT_EQ(w.focusWidget(), w.Board());
    QTest::keyClick(w.Board(), Qt::Key_Tab);
    EXPECT_EQ(w.focusWidget(), w.ChatText());
    for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_Left, Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(w.ChatText(), key);
    EXPECT_EQ(chosen(), std::make_pair(4, 5));
    EXPECT_TRUE(BoardEmpty(h.s()));
    EXPECT_TRUE(h.sound.played.empty());
}

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

// Guards against the newest status line scrolling out of view.
TEST_F(MainWindowTest, StatusListKeepsTheLastFourLinesInViewWithTheNewestSelected) {
    QListWidget* list = h.main().StatusText();
    for (int i = 2; i < 25; ++i) {
        AddStatusLine(h.s(), "line " + std::to_string(i));
        h.app->Refresh();
        EXPECT_EQ(list->indexAt(QPoint(4, 2)).row(), std::max(0, i - 3)) << i;
        EXPECT_EQ(list->currentRow(), i);
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(i))));
    }
}

// Guards against the sound button's face or the sound falling out of step with each other.
TEST_F(MainWindowTest, SoundButtonTogglesSoundAndItsFace) {
    const qint64 onFace = h.main().soundbutton()->pixmap().cacheKey();
    h.main().soundbuttonClick();
    EXPECT_FALSE(h.s().SoundOn);
    EXPECT_NE(h.main().soundbutton()->pixmap().cacheKey(), onFace);
    h.main().soundbuttonClick();
    EXPECT_EQ(h.main().soundbutton()->pixmap().cacheKey(), onFace);
}

// Guards against the turn caption's narrow panel clipping its longest caption at both ends.
TEST_F(MainWindowTest, TheWaitingCaptionShowsWhole) {
    h.s().Label13 = "Waiting for Player";
    h.app->Refresh();
    EXPECT_TRUE(ShowsWholeText(h.main().Label(13)));
}

// Guards against the frame's own areas, or the window system's close, doing the wrong thing.
TEST_F(MainWindowTest, MinimiseAreaMinimises) {
    h.main().MinButtonClick();
    Settle();
    EXPECT_TRUE(h.main().windowState() & Qt::WindowMinimized);
}

// Closing asks first only in internet play and its waiting room; the program's own close never.
TEST_F(MainWindowTest, ClosingAsksOnlyInInternetPlayAndNoKeepsItOpen) {
    const auto userCloses = [this] {  // as the window system delivers it
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QtApp().notify(&h.main(), &event);
        return event.isAccepted();
    };
    h.app->match().Pair(h.app->internet(), "Bob", "Ann");
    h.s().InternetState = 1;
    h.s().GameOver = false;
    h.prompt.answers = {false};
    h.main().CloseButtonClick();
    Settle();
    EXPECT_EQ(h.prompt.shown.back().title, "Quit Game In Play!");
    EXPECT_TRUE(h.main().isVisible() && !h.app->ending());
    h.app->match().Wait(h.app->internet());
    h.s().InternetState = 2;  // the waiting room: No, then Yes
    h.prompt.answers = {false, true};
    EXPECT_FALSE(userCloses());
    EXPECT_EQ(h.s().InternetState, 2);
    EXPECT_TRUE(userCloses());
    EXPECT_EQ(h.s().InternetState, 0);
    h.s().InternetState = 1;
    EXPECT_TRUE(h.main().close());
    EXPECT_EQ(h.prompt.shown.size(), 3u);
}

}  // namespace
}  // namespace gd::test
