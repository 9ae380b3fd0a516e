// The internet waiting-room windows and the chat line in the running program, on a fake transfer.
#include "app_fixture.h"
#include "internet_play.h"
#include "internetwindows.h"

namespace gd {
namespace {

using test::AppHarness;

// Loading the waiting room's list and joining the selected line are the whole-program check's.

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

// Guards against chat lines sent outside a network game, or an Enter on an empty line. (Chat
// in a game, both ways, is the whole-program check's.)
TEST(InternetWindowsTest, ChatSendsNothingOutsideAGameOrFromAnEmptyLine) {
    AppHarness h;
    h.Start();
    h.main().ChatText()->setText("hello");
    h.main().SendButtonClick();
    EXPECT_TRUE(h.main().ChatText()->text().isEmpty());
    h.s().InternetState = 1;
    h.app->internet().PostMailboxKey = "s7";
    h.main().ChatTextEnter();
    EXPECT_TRUE(h.inet.requests.empty());
    // A LAN line that cannot go (nobody joined) is never shown as sent, and stays in the box.
    h.s().InternetState = 0;
    h.app->match().Pair(h.app->lan(), "Bob", "Ann");
    h.main().ChatText()->setText("hello");
    h.main().SendButtonClick();
    EXPECT_EQ(h.s().StatusText.lines.back(), "Not sent: no opponent is connected.");
    EXPECT_EQ(h.main().ChatText()->maxLength(), int(kMaxLanChat));
}

}  // namespace
}  // namespace gd
