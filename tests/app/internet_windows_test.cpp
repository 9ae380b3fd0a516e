// The internet waiting-room windows and the chat line in the running program, on a fake transfer.
#include "app_fixture.h"
#include "internet_play.h"
#include "internetwindows.h"
#include "waitingtransfer.h"

#include <chrono>
#include <thread>

namespace gd {
namespace {

using test::AppHarness;

const std::string kList =
    "x*$*7$*$*#*Bob#*#**#**York##*##***#***4###*###****#****2####*####*****#*****NO#####*#####";

// Guards against a waiting room that never loads its list, or joins a line never selected.
TEST(InternetWindowsTest, ListLoadsAfterOpeningAndJoinsTheSelectedLine) {
    AppHarness h;
    h.Start();
    h.inet.Answer(ReadWaitUrl(kDefaultServerAddress), kList);
    h.RunMenuCommand("Play Internet Game");
    InetStart* room = h.app->internetWindows().inetstart();
    ASSERT_TRUE(room);
    EXPECT_TRUE(h.inet.requests.empty());  // not before half a second has passed
    room->waitroomtimerTick();
    ASSERT_EQ(room->List1()->count(), 1);
    EXPECT_TRUE(room->Command(1)->isEnabled());
    EXPECT_FALSE(room->waitroomtimer().isActive());

    room->Command1Click();  // nothing selected
    EXPECT_EQ(room->List2()->currentItem()->text(),
              "Error: You must select a player to join first!");
    room->List1()->setCurrentRow(0);
    h.inet.Answer(JoinGameUrl(kDefaultServerAddress, "7", h.app->internet().UserEmail, ""),
                  "x-JOINED-");
    room->Command1Click();
    AppHarness::Settle();
    EXPECT_EQ(h.s().InternetState, 1);
    EXPECT_TRUE(h.app->inettimer().isActive());
    EXPECT_FALSE(h.app->internetWindows().inetstart());
}

// Guards against a wait sent with a choice other than the one shown.
TEST(InternetWindowsTest, EnterWaitingRoomStartsAtFiveMinutesWithThePasswordOff) {
    AppHarness h;
    h.Start();
    h.app->internetWindows().ShowEnterWaitingRoom();
    JoinWaitRoom* w = h.app->internetWindows().joinwaitroom();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Choice().wait, WaitOption::FiveMinutes);
    EXPECT_FALSE(w->Text1()->isEnabled());
    w->Option(2)->click();
    w->Option(6)->click();
    EXPECT_TRUE(w->Text1()->isEnabled());
    EXPECT_EQ(w->Choice().wait, WaitOption::FifteenMinutes);
}

// Guards against chat lines sent outside a network game, or an Enter on an empty line.
TEST(InternetWindowsTest, ChatSendsOnlyInAGame) {
    AppHarness h;
    h.Start();
    h.main().ChatText()->setText("hello");
    h.main().SendButtonClick();
    EXPECT_TRUE(h.main().ChatText()->text().isEmpty());
    EXPECT_TRUE(h.inet.requests.empty());

    h.s().InternetState = 1;
    h.app->internet().PostMailboxKey = "s7";
    h.main().ChatTextEnter();
    EXPECT_TRUE(h.inet.requests.empty());
    h.main().ChatText()->setText("hi +1");
    h.main().ChatTextEnter();
    ASSERT_EQ(h.inet.requests.size(), 1u);
    EXPECT_EQ(h.inet.requests[0], PostUrl(kDefaultServerAddress, "s7", PostKind::Chat, "hi +1"));
    EXPECT_EQ(h.s().StatusText.lines.back(), "Sent: hi +1");
}

// A control that answers only after a while, as a distant server does.
struct SlowTransfer : test::FakeTransfer {
    TransferReply OpenURL(const std::string& url, TransferData type) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return FakeTransfer::OpenURL(url, type);
    }
};

// Guards against a request that freezes the windows, or lets a timer's handler run inside it.
// (Clicks and keys wait too: the wait takes no user input from the window system.)
TEST(WaitingTransferTest, WindowsPaintButNoHandlerRunsDuringARequest) {
    test::QtApp();
    SlowTransfer slow;
    TickGuard guard;
    WaitingTransfer inet(slow, guard, nullptr);
    TimerState pollState{true, 10};
    int ticks = 0, frames = 0;
    StateTimer poll("poll", pollState, guard, [&] { ++ticks; });
    QTimer frame;
    QObject::connect(&frame, &QTimer::timeout, [&] { ++frames; });
    frame.start(10);
    inet.OpenURL("http://gd/Glyphdrop/readwait.mv");
    EXPECT_GT(frames, 3);
    EXPECT_EQ(ticks, 0);
    AppHarness::Settle();
    EXPECT_GT(ticks, 0);
}

}  // namespace
}  // namespace gd
