// The LAN set-up windows inside the program, offscreen; nothing is hosted or joined here.
#include "lanwindows.h"
#include "app_fixture.h"

namespace gd::test {
namespace {

// Guards against the LAN entry skipping the internet game's question, or ignoring its "No".
TEST(LanWindows, MenuEntryAsksBeforeEndingAnInternetGameAndNoCancelsIt) {
    AppHarness h;
    h.Start();
    h.s().InternetState = 1;
    h.prompt.answers = {false};
    h.RunMenuCommand("Play Network (LAN) Game");
    EXPECT_FALSE(h.app->provider());
    EXPECT_EQ(h.s().InternetState, 1);

    h.prompt.answers = {true};
    h.RunMenuCommand("Lan Play");
    ASSERT_TRUE(h.app->provider());
    EXPECT_EQ(h.prompt.shown.size(), 2u);  // asked each time
    EXPECT_EQ(h.app->provider()->lstProviders()->count(), 2);
}

// Guards against going on without a method, or the next window not following the choice.
TEST(LanWindows, ConnectionMethodWindowNeedsAChoiceThenGivesWayToHostOrJoin) {
    AppHarness h;
    h.Start();
    h.app->PlayNetworkGame();
    Provider* provider = h.app->provider();
    ASSERT_TRUE(provider);
    provider->btnOKClick();  // nothing chosen: the window stays
    EXPECT_EQ(h.prompt.shown.size(), 1u);
    ASSERT_TRUE(h.app->provider());
    provider->lstProviders()->setCurrentRow(1);
    provider->btnOKClick();
    h.Settle();
    EXPECT_FALSE(h.app->provider());
    ASSERT_TRUE(h.app->netSelectPlay());
    EXPECT_TRUE(h.app->netSelectPlay()->isVisible());
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
    h.Settle();
    EXPECT_FALSE(h.app->provider());
    EXPECT_TRUE(h.app->netSelectPlay());
}

}  // namespace
}  // namespace gd::test
