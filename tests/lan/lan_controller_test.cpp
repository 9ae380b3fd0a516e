// The LAN controller on an in-process session pair: set-up windows, the tick's waiting and
// playing branches, the profile exchange, moves, chat and the endings.
#include <gtest/gtest.h>

#include "fake_session.h"
#include "fakes.h"
#include "lan_controller.h"
#include "temp_folder.h"

namespace gd::test {
namespace {

struct Side : Harness {
    explicit Side(FakeHub& hub, const std::string& name, const std::string& folder)
        : lan(s, sv, match, ProfileFile{folder}) {
        s.LocalPlayer = name;
        lan.NewLanRoot(std::make_unique<FakeRoot>(hub));
    }
    // Through the connection-method window with the row chosen by hand.
    void Connect(int row) {
        ProviderList w = lan.ProviderLoad();
        w.selected = row;
        ASSERT_EQ(lan.ProviderAccept(w), LanNext::ShowNetSelectPlay);
    }
    LanController lan;
};

// Two programs in one session.
struct LanPair {
    TempFolder dir;
    FakeHub hub;
    Side host{hub, "Host", dir.path}, guest{hub, "Guest", dir.path};
    // Host waiting, guest joined, host's arrival tick done, profiles exchanged.
    void StartGame() {
        host.Connect(1);
        ASSERT_EQ(host.lan.NetSelectPlayOk(true), LanNext::Close);
        guest.Connect(1);
        ASSERT_EQ(guest.lan.NetSelectPlayOk(false), LanNext::ShowSelectWaiting);
        const SessionTree tree = guest.lan.SelectWaitingLoad();
        ASSERT_EQ(tree.children.size(), 1u);
        ASSERT_EQ(guest.lan.SelectWaitingJoin(&tree.children[0]), LanNext::Close);
        host.lan.LanTimerTick();   // arrival: game starts, host's profile goes out
        guest.lan.LanTimerTick();  // profile read and answered
        host.lan.LanTimerTick();   // profile read, not answered
    }
};
struct LanTest : ::testing::Test, LanPair {};

// Finding 1: two programs whose earlier games differ pick different first movers. Guards
// against the first game of a LAN pairing begun by anyone but the host, and against later
// games of the pairing not alternating alike on both sides.
TEST(LanPairing, TheHostBeginsTheFirstGameWhateverEitherPlayedBeforeThenTurnsAlternate) {
    for (const std::string before : {"", "Host", "Guest", "Computer"}) {
        for (const std::string otherBefore : {"", "Host", "Guest"}) {
            LanPair t;
            t.host.s.LastStarter = before;
            t.guest.s.LastStarter = otherBefore;
            t.StartGame();
            const std::string history = "(" + before + ", " + otherBefore + ")";
            EXPECT_EQ(t.host.s.CurrentPlayer + " " + t.guest.s.CurrentPlayer, "Host Host")
                << history;
            for (const std::string next : {"Guest", "Host"}) {
                for (Side* side : {&t.host, &t.guest}) {
                    side->s.GameOver = true;
                    side->match.PlayAgain();
                }
                EXPECT_EQ(t.host.s.CurrentPlayer + " " + t.guest.s.CurrentPlayer, next + " " + next)
                    << history;
            }
        }
    }
}

// Guards against offering modem rows, going on without a method, or choosing by itself twice.
TEST_F(LanTest, ConnectionMethodWindowSkipsModemsAndChoosesTheStoredMethodOncePerRun) {
    hub.providers = {"Local Network (TCP/IP)", "This Computer (Loopback)", "Fast Modem", "IPX"};
    ProviderList w = host.lan.ProviderLoad();
    EXPECT_EQ(w.lstProviders[2], "     ");
    w.selected = 2;
    EXPECT_EQ(host.lan.ProviderAccept(w), LanNext::Stay);
    EXPECT_EQ(host.prompt.shown.back().text,
              "Please select a connection method from the list above, or press Cancel to abort.");
    w.selected = 3;
    EXPECT_EQ(host.lan.ProviderAccept(w), LanNext::ShowNetSelectPlay);
    EXPECT_EQ(hub.initialised, (std::vector<int>{3}));

    host.s.CurrentLanProtocol = " IPX ";
    w = host.lan.ProviderLoad();
    ASSERT_TRUE(w.Timer1.Enabled);
    EXPECT_EQ(host.lan.ProviderTimer1Tick(w), LanNext::ShowNetSelectPlay);
    EXPECT_EQ(w.selected, 3);
    w = host.lan.ProviderLoad();
    EXPECT_EQ(host.lan.ProviderTimer1Tick(w), LanNext::Stay);
    EXPECT_EQ(hub.initialised.size(), 2u);
}

// Guards against a host starting before its opponent, or either side mis-setting the pairing.
TEST_F(LanTest, HostWaitsIgnoringPlayerMessagesThenBothSidesStartWithTheHostToMove) {
    host.Connect(1);
    host.lan.NetSelectPlayOk(true);
    EXPECT_EQ(host.s.SecondPlayer, "Waiting For Player");
    EXPECT_EQ(host.s.StatusText.lines.back(),
              "System Message: Please wait. Waiting for Player 2 to join game.");
    EXPECT_EQ(host.s.Label13, "Waiting for player");
    EXPECT_TRUE(host.s.lantimer.Enabled);
    hub.inbox[1].push_back({2, "Mq17", 0, ""});
    host.lan.LanTimerTick();
    EXPECT_TRUE(BoardEmpty(host.s));
    hub.inbox[1].push_back({0, "Closed.", kSysNotJoined, ""});  // the host hears of junk
    host.lan.LanTimerTick();
    EXPECT_EQ(host.s.StatusText.lines.back(), "System Message: Closed.");

    StartGame();
    EXPECT_EQ(host.s.SecondPlayer, "Guest");
    EXPECT_EQ(host.s.CurrentPlayer, "Host");
    EXPECT_EQ(guest.s.CurrentPlayer, "Host");
    EXPECT_EQ(guest.s.PieceColour, "red");
    EXPECT_EQ(host.s.StatusText.lines.back(), "Guest is ready to play. Your move!");
    EXPECT_EQ(guest.s.StatusText.lines.back(), "Game Ready! Waiting for Host to move.");
    // One profile each way, shown in the opponent panels.
    EXPECT_EQ(hub.sent[1].size() + hub.sent[2].size(), 2u);
    EXPECT_EQ(host.s.Label7 + guest.s.Label7 + guest.s.Label9, "GuestHost0");
}

// Guards against "M" and "m" being confused, or a hostile move reaching the board.
TEST_F(LanTest, MovesAndChatLinesAreToldApartAndBadMovesRefused) {
    StartGame();
    for (const char* text : {"Mq3", "mx5", "Mx5", "Mz99"})
        hub.inbox[2].push_back({1, text, 0, ""});
    for (int i = 0; i < 4; ++i)
        guest.lan.LanTimerTick();
    EXPECT_EQ(guest.s.Hole[3].Tag, "q");
    EXPECT_EQ(guest.s.Hole[5].Tag, "x");
    const auto& lines = guest.s.StatusText.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "From Host: x5"), lines.end());
    EXPECT_EQ(lines.back(), "Move refused: Mz99");
    EXPECT_EQ(guest.s.CurrentPlayer, "Guest");

    EXPECT_TRUE(host.lan.SendChat(" hi + all "));
    EXPECT_EQ(hub.sent[1].back(), "m hi + all ");
    EXPECT_FALSE(host.lan.SendChat(std::string(kMaxLanChat + 1, 'x')));  // more than one message
    EXPECT_EQ(hub.sent[1].back(), "m hi + all ");
    EXPECT_EQ(host.s.StatusText.lines.back().rfind("Not sent: ", 0), 0u);
    EXPECT_EQ(host.sound.played.back(), host.s.CurrentSoundFiles[2]);
}

// Guards against the opponent's leaving or a lost connection leaving the program running.
TEST_F(LanTest, DepartureAndLostConnectionEndTheProgramAfterTheirMessage) {
    StartGame();
    hub.inbox[2].push_back({0, "frame over 4 kB", kSysMessageRefused, "Host"});
    hub.inbox[2].push_back({0, "", kSysPlayerLeft, "Host"});
    hub.inbox[1].push_back({0, "", kSysSessionLost, "Guest"});
    guest.lan.LanTimerTick();
    EXPECT_EQ(guest.s.StatusText.lines.back(), "Message refused: frame over 4 kB");
    guest.lan.LanTimerTick();
    host.lan.LanTimerTick();
    EXPECT_EQ(guest.prompt.shown.back().title, "Opponent Quit");
    EXPECT_EQ(host.prompt.shown.back().title, "Connection Lost");
    EXPECT_TRUE(guest.s.ProgramEnding);
    EXPECT_TRUE(host.s.ProgramEnding);
}

// Guards against a failed listing offering something to join, and type 7 not counting as arrival.
TEST_F(LanTest, ListingFailuresShowTheirNodeAndJoinOnThemDoesNothing) {
    guest.Connect(0);
    guest.lan.NetSelectPlayOk(false);
    hub.listFailure = ListFailure::Unsupported;
    EXPECT_EQ(guest.lan.SelectWaitingLoad().children[0].text, "(Not supported)");
    hub.listFailure = ListFailure::None;
    const SessionTree tree = guest.lan.SelectWaitingLoad();
    EXPECT_EQ(tree.root, "Players Waiting");
    ASSERT_EQ(tree.children[0].text, "(None)");
    EXPECT_EQ(guest.lan.SelectWaitingJoin(&tree.children[0]), LanNext::Stay);
    EXPECT_EQ(guest.lan.SelectWaitingJoin(nullptr), LanNext::Stay);

    host.Connect(0);
    host.lan.NetSelectPlayOk(true);
    hub.inbox[1].push_back({0, "", kSysAddedToGroup, "Guest"});
    host.lan.LanTimerTick();
    EXPECT_EQ(host.s.SecondPlayer, "Guest");
    EXPECT_EQ(host.s.Label13, "Your Turn!");
}

}  // namespace
}  // namespace gd::test
