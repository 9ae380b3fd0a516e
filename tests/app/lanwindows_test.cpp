// The LAN set-up windows inside the program, offscreen; nothing is hosted or joined here.
#include "lanwindows.h"
#include "app_fixture.h"
#include "internet_play.h"

namespace gd::test {
namespace {

// Guards against the LAN entry skipping the internet game's question, ignoring its "No", or
// going on without a method. (The chosen method leading on is the whole-program check's.)
TEST(LanWindows, MenuEntryAsksBeforeEndingAnInternetGameThenNeedsAMethod) {
    AppHarness h;
    h.Start();
    h.app->match().Pair(h.app->internet(), "Bob", "Ann");
    h.s().InternetState = 1;
    h.s().GameOver = false;
    h.prompt.answers = {false};
    h.RunMenuCommand("Play Network (LAN) Game");
    EXPECT_FALSE(h.app->provider());
    EXPECT_EQ(h.s().InternetState, 1);

    h.prompt.answers = {true};
    h.RunMenuCommand("Lan Play");
    ASSERT_TRUE(h.app->provider());
    EXPECT_EQ(h.prompt.shown.size(), 2u);  // asked each time
    h.app->provider()->btnOKClick();       // nothing chosen: the window stays
    EXPECT_EQ(h.prompt.shown.size(), 3u);
    EXPECT_TRUE(h.app->provider() && !h.app->netSelectPlay());
}

// Guards against the stored method's timer never firing. Choosing only once a run is the
// controller's, tested with it.
TEST(LanWindows, StoredMethodIsChosenByTimer1) {
    AppHarness h;
    h.Start();
    h.s().CurrentLanProtocol = "This Computer (Loopback)";
    h.app->PlayNetworkGame();
    ASSERT_TRUE(h.app->provider()->Timer1().isActive());
    h.app->provider()->Timer1().Fire();
    Settle();
    EXPECT_FALSE(h.app->provider());
    EXPECT_TRUE(h.app->netSelectPlay());
}

}  // namespace
}  // namespace gd::test
