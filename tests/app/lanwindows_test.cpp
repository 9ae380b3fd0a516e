// The LAN set-up windows inside the program, offscreen; nothing is hosted or joined here.
#include <QTcpServer>
#include <QUdpSocket>

#include "app_fixture.h"
#include "internet_play.h"
#include "lanwindows.h"

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

// Guards against the waiting players being read once as the window opens: the list follows the
// network while it is open (a host that opens, leaves or starts a game), keeping the choice.
TEST(LanWindows, WaitingPlayersFollowTheNetwork) {
    AppHarness h;
    QUdpSocket udp;
    QTcpServer tcp;  // free ports, given back before use
    udp.bind(QHostAddress::LocalHost, 0);
    tcp.listen(QHostAddress::LocalHost, 0);
    h.options.lan.udpPort = udp.localPort();
    h.options.lan.tcpPort = tcp.serverPort();
    h.options.lan.watchAskMs = 50;
    h.options.lan.watchForgetMs = 200;
    udp.close();
    tcp.close();
    h.Start();
    h.app->PlayNetworkGame();
    h.app->provider()->lstProviders()->setCurrentRow(1);
    h.app->provider()->btnOKClick();
    h.app->netSelectPlay()->Option2()->setChecked(true);
    h.app->netSelectPlay()->Command1Click();
    ASSERT_TRUE(h.app->selectWaiting());
    QTreeWidget* tree = h.app->selectWaiting()->tvSessions();
    auto first = [tree] { return tree->topLevelItem(0)->child(0); };
    auto showsWithin2s = [&](const char* name) {  // the window's timer ticks sooner here
        for (int i = 0; i < 100; ++i, QTest::qWait(20)) {
            h.app->selectWaiting()->tmrSessions().Fire();
            if (first() && first()->text(0) == name) return true;
        }
        return false;
    };
    auto root = MakeLanRoot(h.options.lan);
    auto alice = root->InitializeConnection(1), carol = root->InitializeConnection(1),
         bob = root->InitializeConnection(1);
    ASSERT_TRUE(alice->Host("Alice").ok);
    ASSERT_TRUE(showsWithin2s("Alice"));
    tree->setCurrentItem(first());
    for (int tick = 0; tick < 3; ++tick)
        h.app->selectWaiting()->tmrSessions().Fire();
    EXPECT_EQ(tree->currentItem(), first());
    alice->Close();
    EXPECT_TRUE(showsWithin2s("(None)"));
    ASSERT_TRUE(carol->Host("Carol").ok);
    ASSERT_TRUE(showsWithin2s("Carol"));
    std::vector<LanSessionInfo> listed;
    for (int i = 0; i < 100 && listed.empty(); ++i, QTest::qWait(20))
        listed = bob->WatchSessions().sessions;
    ASSERT_TRUE(!listed.empty() && bob->Join(listed[0].instance, "Bob").ok);
    EXPECT_TRUE(showsWithin2s("(None)"));
}

}  // namespace
}  // namespace gd::test
