// The main window: its load step, its elements' places, drops on holes and elsewhere, the status
// list, the sound button and quitting.
#include <QtTest/qtestspontaneevent.h>
#include <QFile>
#include <QScreen>
#include <QScrollBar>

#include "app_fixture.h"
#include "board.h"
#include "layout.h"

namespace gd::test {
namespace {

// The load step leaves the window, the state and the status list as a new player expects.
TEST(MainWindowLoad, WelcomesThePlayerOnAnEmptyBoard) {
    AppHarness h;
    h.Start();
    MainWindow& w = h.main();
    EXPECT_EQ(w.size(), QSize(618, 449));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.windowTitle(), "Glyphdrop v1.1 - Ann Logged On");
    EXPECT_EQ(h.s().StatusText.lines,
              (std::vector<std::string>{"", "Welcome Ann.   Click Menu to begin play."}));
    EXPECT_EQ(w.StatusText()->currentRow(), 1);
    EXPECT_TRUE(h.s().SoundOn);
    EXPECT_EQ(h.s().PieceColour, "blue");
    EXPECT_EQ(h.s().BackgroundFile, "Marble.bmp");
    EXPECT_EQ(h.s().Words.WordCount, 2);
    EXPECT_TRUE(h.prompt.shown.empty());
    for (int i = 0; i < kBoardHoles; ++i)
        EXPECT_TRUE(IsHoleEmpty(h.s(), i)) << i;
    EXPECT_EQ(w.Image10()->toolTip(), "Glyphdrop v1.1");
    EXPECT_EQ(w.main1()->geometry(), w.rect());
    // No background picture in the folder: a plain background, and the window still shows.
    EXPECT_FALSE(w.main1()->HasPicture());
    EXPECT_TRUE(w.isVisible());
}

TEST(MainWindowLoad, MissingWordListIsReportedOnceAndPlayGoesOn) {
    AppHarness h(std::vector<std::pair<std::string, std::string>>{});
    h.Start();
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].text, "Error! Word List File Not Found.");
    EXPECT_EQ(h.prompt.shown[0].title, "File Not Found");
    EXPECT_EQ(h.s().Words.WordCount, 0);
    EXPECT_EQ(h.s().StatusText.lines.back(), "Welcome Ann.   Click Menu to begin play.");
}

// The background is found without regard to case; a damaged one leaves a plain background.
TEST(MainWindowLoad, BackgroundFoundWithoutRegardToCase) {
    AppHarness h;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(h.home.filePath("marble.bmp"), "BMP"));
    h.Start();
    EXPECT_TRUE(h.main().main1()->HasPicture());
}

TEST(MainWindowLoad, DamagedBackgroundLeavesPlainBackground) {
    AppHarness h;
    QFile bad(h.home.filePath("Marble.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM\x10\x00\x00\x00garbage that is no picture", 36);
    bad.close();
    h.Start();
    EXPECT_FALSE(h.main().main1()->HasPicture());
    h.main().grab();  // painting the plain background must not fail either
}

// Elements sit where the layout puts them (twips / 15); a slip in the conversion moves them.
TEST(MainWindowLayout, ElementsAtTheirPlaces) {
    AppHarness h;
    h.Start();
    MainWindow& w = h.main();
    EXPECT_EQ(w.Hole(0)->geometry(), QRect(177, 267, 32, 32));
    EXPECT_EQ(w.Hole(41)->geometry(), QRect(427, 57, 32, 32));
    EXPECT_EQ(w.Hole(45)->geometry().left(), w.Hole(38)->geometry().left());
    EXPECT_LT(w.Hole(45)->geometry().bottom(), w.Hole(38)->geometry().top());
    EXPECT_EQ(w.Image(0)->geometry(), QRect(498, 110, 32, 32));
    EXPECT_EQ(w.Image(7)->geometry(), QRect(534, 218, 32, 32));
    EXPECT_EQ(w.Image(0)->toolTip(), "Click, hold, and drag to desired location.");
    EXPECT_EQ(w.dragbar()->geometry(), QRect(468, 74, 125, 199));
    EXPECT_EQ(w.MenuButton()->geometry(), QRect(4, 2, 133, 41));
    EXPECT_EQ(w.CloseButton()->geometry(), QRect(574, 16, 23, 19));
    EXPECT_EQ(w.CloseButton()->toolTip(), "Click here to exit.");
    EXPECT_EQ(w.soundbutton()->toolTip(), "Click here to toggle sound on or off.");
    EXPECT_EQ(w.Image9()->toolTip(), "Click Here For Quick Help.");
    EXPECT_EQ(w.SendButton()->toolTip(), "Click to send message.");
    EXPECT_EQ(w.Picture1()->geometry(), QRect(34, 330, 103, 87));
    EXPECT_EQ(w.StatusText()->geometry(), QRect(168, 326, 403, 56));
    EXPECT_EQ(w.Label(13)->geometry(), QRect(483, 288, 93, 19));
    const char* captions[] = {"Player ID", "From", "Played:", "Won:", "Lost:", "Tied:"};
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(w.Label(n)->text(), captions[n - 1]);
    // Every piece lies on the drag bar, so a piece dragged away always passes over it.
    for (int i = 0; i < kPieceCount; ++i)
        EXPECT_TRUE(w.dragbar()->geometry().contains(w.Image(i)->geometry())) << i;
    // The drop row shows nothing until a letter is put there.
    for (int i = kDropRowFirst; i < kHoleCount; ++i)
        EXPECT_TRUE(w.Hole(i)->pixmap().isNull());
}

// Drops through the window's events reach the drop rules and the window shows the result.
class MainWindowDrop : public ::testing::Test {
  protected:
    void SetUp() override {
        h.Start();
        h.StartPlay("abcdefgh");
        h.sound.played.clear();
    }
    AppHarness h;
};

TEST_F(MainWindowDrop, OnAHoleTheLetterFallsAndThePieceIsReplaced) {
    h.random.QueueLetters({4});  // the new letter: "e"
    h.DragAndDrop(2, h.main().Hole(40));
    EXPECT_EQ(h.s().Hole[5].Tag, "c");
    EXPECT_EQ(h.s().Hole[40].Tag, kEmptyMarker);
    EXPECT_FALSE(h.main().Hole(5)->pixmap().isNull());
    EXPECT_EQ(h.s().Image[2].Tag, "e");
    EXPECT_TRUE(h.main().Image(2)->isVisible());
    EXPECT_EQ(h.sound.played, std::vector<std::string>{"dropped.wav"});
    EXPECT_EQ(h.s().StatusText.lines.size(), 2u);
    EXPECT_EQ(h.main().Label(13)->text(), "Opponents Turn");
    EXPECT_EQ(h.s().CurrentPlayer, "Bob");
}

TEST_F(MainWindowDrop, OnTheDropRowActsAsTheHoleBelow) {
    h.DragAndDrop(0, h.main().Hole(47));
    EXPECT_EQ(h.s().Hole[5].Tag, "a");
    EXPECT_EQ(h.s().Hole[47].Tag, "");  // the drop row itself is never filled by a local drop
    EXPECT_TRUE(h.main().Hole(47)->pixmap().isNull());
}

TEST_F(MainWindowDrop, OnALabelOrTheListGoesBackWithTheErrorSound) {
    for (QWidget* target :
         std::vector<QWidget*>{h.main().Label(3), h.main().StatusText(), h.main().Picture1(),
                               h.main().main1(), h.main().ChatText(), h.main().dragbar()}) {
        h.DragAndDrop(1, target);
        for (int i = 0; i < kPieceCount; ++i)
            EXPECT_TRUE(h.main().Image(i)->isVisible());
    }
    EXPECT_EQ(h.sound.played, std::vector<std::string>(6, "missed.wav"));
    for (int i = 0; i < kBoardHoles; ++i)
        EXPECT_TRUE(IsHoleEmpty(h.s(), i));
    EXPECT_EQ(h.s().StatusText.lines.size(), 2u);
    EXPECT_EQ(h.s().CurrentPlayer, "Ann");
}

TEST_F(MainWindowDrop, WithoutPassingTheDragBarIsARefusedGrab) {
    h.DragAndDrop(0, h.main().Hole(3), /*overDragbar=*/false);
    EXPECT_EQ(h.s().StatusText.lines.back(),
              "OOPS! You grabbed a game piece before your turn. Try again!");
    EXPECT_TRUE(IsHoleEmpty(h.s(), 3));
    EXPECT_EQ(h.sound.played, std::vector<std::string>{"missed.wav"});
}

TEST_F(MainWindowDrop, PassingTheDragBarHidesTheDraggedPiece) {
    QMimeData mime;
    mime.setData(kPieceMimeType, "3");
    h.EnterDrag(mime, 3);
    QDragMoveEvent move(h.Centre(h.main().dragbar()) + QPoint(0, 70), Qt::MoveAction, &mime,
                        Qt::LeftButton, Qt::NoModifier);
    ASSERT_EQ(h.main().childAt(move.position().toPoint()), h.main().dragbar());
    QCoreApplication::sendEvent(&h.main(), &move);
    EXPECT_FALSE(h.main().Image(3)->isVisible());
    EXPECT_TRUE(h.main().Image(2)->isVisible());
}

TEST_F(MainWindowDrop, ForeignDragsAreIgnored) {
    QMimeData text;
    text.setText("7");
    QDragEnterEvent enter(h.Centre(h.main().Hole(3)), Qt::CopyAction, &text, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&h.main(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(h.Centre(h.main().Hole(3)), Qt::CopyAction, &text, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(&h.main(), &drop);
    QMimeData bad;
    bad.setData(kPieceMimeType, "99");
    QDropEvent drop2(h.Centre(h.main().Hole(3)), Qt::MoveAction, &bad, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&h.main(), &drop2);
    EXPECT_TRUE(h.sound.played.empty());
    EXPECT_TRUE(IsHoleEmpty(h.s(), 3));
}

// The list keeps the newest four lines in view and the newest selected.
TEST(MainWindowStatus, KeepsTheLastFourLinesInView) {
    AppHarness h;
    h.Start();
    QListWidget* list = h.main().StatusText();
    auto topRow = [list] { return list->indexAt(QPoint(4, 2)).row(); };
    AddStatusLine(h.s(), "three");
    AddStatusLine(h.s(), "four");
    h.app->Refresh();
    EXPECT_EQ(topRow(), 0);
    EXPECT_EQ(list->currentRow(), 3);
    AddStatusLine(h.s(), "five");
    h.app->Refresh();
    EXPECT_EQ(topRow(), 1);
    EXPECT_EQ(list->currentRow(), 4);
    EXPECT_EQ(list->currentItem()->text(), "five");
    // All four lines from the top one are in view.
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(4))));
    for (int i = 0; i < 20; ++i)
        AddStatusLine(h.s(), "line " + std::to_string(i));
    h.app->Refresh();
    EXPECT_EQ(topRow(), 21);
    EXPECT_EQ(list->count(), 25);
}

// The sound button switches sound and tells the player; switching on plays at once.
TEST(MainWindowSound, ButtonTogglesSound) {
    AppHarness h;
    h.Start();
    const QPixmap onFace = h.main().soundbutton()->pixmap();
    h.main().soundbuttonClick();
    EXPECT_FALSE(h.s().SoundOn);
    EXPECT_EQ(h.s().StatusText.lines.back(), "System Message: Sound Off");
    EXPECT_NE(h.main().soundbutton()->pixmap().cacheKey(), onFace.cacheKey());
    EXPECT_TRUE(h.sound.played.empty());
    h.main().soundbuttonClick();
    EXPECT_TRUE(h.s().SoundOn);
    EXPECT_EQ(h.s().StatusText.lines.back(), "System Message: Sound On");
    EXPECT_EQ(h.sound.played, std::vector<std::string>{"sysmess.wav"});
    EXPECT_EQ(h.main().soundbutton()->pixmap().cacheKey(), onFace.cacheKey());
}

// The Menu area works only while the main window is the active window.
TEST(MainWindowFrame, MenuButtonFollowsActivation) {
    AppHarness h;
    h.Start();
    h.main().activateWindow();
    AppHarness::Settle();
    ASSERT_TRUE(h.main().isActiveWindow());
    EXPECT_TRUE(h.main().MenuButton()->isEnabled());
    QWidget other;
    other.show();
    other.activateWindow();
    AppHarness::Settle();
    EXPECT_FALSE(h.main().MenuButton()->isEnabled());
}

TEST(MainWindowFrame, ResizeStretchesTheBackgroundAndMinimiseMinimises) {
    AppHarness h;
    h.Start();
    h.main().resize(700, 500);
    AppHarness::Settle();
    EXPECT_EQ(h.main().main1()->size(), QSize(700, 500));
    h.main().MinButtonClick();
    AppHarness::Settle();
    EXPECT_TRUE(h.main().windowState() & Qt::WindowMinimized);
}

TEST(MainWindowFrame, CloseButtonEndsTheProgramWithoutAQuestion) {
    AppHarness h;
    h.Start();
    h.main().CloseButtonClick();
    AppHarness::Settle();
    EXPECT_TRUE(h.app->ending());
    EXPECT_FALSE(h.main().isVisible());
    EXPECT_TRUE(h.prompt.shown.empty());
}

// Closing through the window system asks the same questions as the close area; a No keeps
// the program running.
class MainWindowClose : public ::testing::Test {
  protected:
    void SetUp() override { h.Start(); }
    bool UserCloses() {
        QCloseEvent event;
        // As the window system delivers it; sendEvent would clear the mark.
        QSpontaneKeyEvent::setSpontaneous(&event);
        QtApp().notify(&h.main(), &event);
        return event.isAccepted();
    }
    AppHarness h;
};

TEST_F(MainWindowClose, WaitingRoomAnsweredNoKeepsTheWindowOpen) {
    h.s().InternetState = 2;
    h.prompt.answers = {false};
    EXPECT_FALSE(UserCloses());
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].title, "Exit Waiting Room?");
    EXPECT_EQ(h.s().InternetState, 2);
    EXPECT_TRUE(h.main().isVisible());
}

TEST_F(MainWindowClose, WaitingRoomAnsweredYesLeavesItAndCloses) {
    h.s().InternetState = 2;
    h.prompt.answers = {true};
    EXPECT_TRUE(UserCloses());
    EXPECT_EQ(h.s().InternetState, 0);
    EXPECT_EQ(h.s().StatusText.lines.back(), "Ready.");
}

TEST_F(MainWindowClose, ProgramsOwnCloseAsksNothing) {
    h.s().InternetState = 1;
    EXPECT_TRUE(h.main().close());
    EXPECT_TRUE(h.prompt.shown.empty());
}

TEST_F(MainWindowClose, CloseButtonDuringInternetGameAnsweredNoGoesOn) {
    h.s().InternetState = 1;
    h.prompt.answers = {false};
    h.main().CloseButtonClick();
    AppHarness::Settle();
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].title, "Quit Game In Play!");
    EXPECT_FALSE(h.app->ending());
    EXPECT_TRUE(h.main().isVisible());
    EXPECT_EQ(h.s().InternetState, 1);
}

}  // namespace
}  // namespace gd::test
