// Handlers that wait, in the program: a window closed meanwhile is not deleted under the
// handler, a timer's tick never runs inside the wait, and a click made meanwhile is dropped.
#include <QDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app_fixture.h"
#include "internet_play.h"
#include "statetimer.h"
#include "waiting.h"
#include "waitingtransfer.h"

namespace gd::test {
namespace {

// Commands that leave the program or the machine are run elsewhere.
bool Skipped(const QString& caption) {
    return caption.contains("Exit") || caption.contains("E&xit") || caption.contains("Home Page") ||
           caption.contains("E-Mail");
}

std::vector<QString> Commands(MenuForm& menu) {
    std::vector<QString> captions;
    for (QAction* top : menu.menuBar()->actions()) {
        if (!top->menu()) captions.push_back(top->text());
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (!a->isSeparator()) captions.push_back(a->text());
    }
    for (QAction* a : menu.Toolbar1()->actions())
        if (!a->isSeparator()) captions.push_back(a->toolTip());
    return captions;
}

// Guards against a window being deleted under a handler that waits: every menu and toolbar
// command runs with a data file missing, so real message boxes (nested event loops) come up
// while the menu window loses the activation and closes.
class CommandsWithAFileMissing : public ::testing::TestWithParam<const char*> {};

TEST_P(CommandsWithAFileMissing, NoWindowIsDeletedUnderAWaitingHandler) {
    AppHarness h;
    QFile::copy(ShippedFile("GLYPHDROP.HLP"), h.home.filePath("GLYPHDROP.HLP"));
    QFile::remove(h.home.filePath(GetParam()));
    // The real message boxes, each answered by closing it as soon as it is up.
    AppOptions options;
    options.player = "Ann";
    options.home = h.home.path();
    h.app.reset();
    h.app = std::make_unique<Application>(
        options, ServiceOverrides{&h.sound, &h.pause, &h.random, nullptr, &h.inet});
    QTimer answer;
    int boxes = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->reject();
        }
    });
    answer.start(5);
    h.Start();
    if (!h.app->mainWindow()) h.app->LogOn("Ann");  // without "players.dat" Ann is new
    h.app->ShowMenu();
    Settle();
    ASSERT_TRUE(h.app->menuForm());
    for (const QString& caption : Commands(*h.app->menuForm())) {
        if (Skipped(caption)) continue;
        if (!h.app->mainWindow()) h.app->LogOn("Ann");
        h.RunMenuCommand(caption);
        EXPECT_FALSE(Waits().Waiting()) << caption.toStdString();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != h.app->mainWindow()) w->close();
        Settle();
    }
    if (QString(GetParam()) == "wordlist.dic") {
        EXPECT_GT(boxes, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(DataFiles, CommandsWithAFileMissing,
                         ::testing::Values("wordlist.dic", "GLYPHDROP.HLP", "players.dat",
                                           "Marble.bmp"));

// Every move is stored; every mailbox read finds the opponent's quit.
struct OpponentQuits : FakeTransfer {
    TransferReply OpenURL(const std::string& url, TransferData) override {
        requests.push_back(url);
        const bool read = url.find("getdata") != std::string::npos;
        return {true, read ? "x*QUIT*GAME*" : "WRITE*OK", 0, ""};
    }
};

// Guards against one game counted twice: the opponent's quit read by a poll that ran inside
// the box asking whether to quit, then the player's Yes recording a loss as well.
TEST(WaitingInTheProgram, APollDueWhileTheQuitBoxIsUpRunsAfterItNotInside) {
    AppHarness h;
    OpponentQuits server;
    h.app = std::make_unique<Application>(
        h.options, ServiceOverrides{&h.sound, &h.pause, &h.random, nullptr, &server});
    h.Start();
    h.StartPlay();
    h.app->match().Pair(h.app->internet(), "Ann", "Bob");
    h.s().InternetState = 1;
    h.s().GameOver = false;
    h.DragAndDrop(0, h.main().Hole(38));  // Ann has moved: leaving counts as her loss
    h.s().inettimer = {true, 1000};
    const std::size_t before = server.requests.size();  // the move's post
    std::size_t pollsInTheBox = 0;
    bool pollDue = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (!pollDue) {  // the poll comes due while the player reads
            pollDue = true;
            QTimer::singleShot(0, [&] {
                h.app->inettimer().Fire();
                pollsInTheBox = server.requests.size() - before;
            });
        } else if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
            yes->click();
        } else {
            box->accept();
        }
    });
    answer.start(5);
    h.app->PlayAgainstComputer();
    Settle();
    EXPECT_EQ(pollsInTheBox, 0u);
    const auto ann = ReadProfiles(h.app->profiles()).front();
    EXPECT_EQ(ann.Played, 1);
    EXPECT_EQ(ann.Lost, 1);
}

// A request that is answered once the window under test has painted during the wait.
struct AnsweredAfterAPaint : FakeTransfer {
    std::atomic<bool> painted{false};
    TransferReply OpenURL(const std::string& url, TransferData type) override {
        for (int i = 0; i < 2000 && !painted; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return FakeTransfer::OpenURL(url, type);
    }
};

class PaintCounter : public QPushButton {
  public:
    using QPushButton::QPushButton;
    AnsweredAfterAPaint* request = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (request) request->painted = true;
    }
};

// Guards against a request that freezes the windows, lets a timer's tick run inside it, or
// keeps the clicks and keys made meanwhile and runs them after its answer (a second request, an
// exit after the update check).
TEST(WaitingInTheProgram, DuringARequestWindowsPaintTicksWaitAndInputIsDropped) {
    QtApp();
    AnsweredAfterAPaint slow;
    WaitingTransfer inet(slow, nullptr);
    TimerState pollState{true, 1000};
    int ticks = 0, clicks = 0;
    StateTimer poll("poll", pollState, [&] { ++ticks; });
    PaintCounter button("Refresh");
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    button.show();
    Settle();
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClick(&button, Qt::Key_Space);
        poll.Fire();
        button.request = &slow;
        button.update();
    });
    inet.OpenURL("http://gd/Glyphdrop/readwait.mv");
    EXPECT_TRUE(slow.painted);
    EXPECT_EQ(ticks, 0);
    Settle();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace gd::test
