// The real session layer on loopback: in-process pairs, raw hostile sockets and a child peer.
#include <gtest/gtest.h>
#include <signal.h>

#include <QTcpSocket>
#include <QTimer>

#include "fakes.h"
#include "lan_frames.h"
#include "lan_support.h"

namespace gd::test {
namespace {

constexpr int kLoopback = 1;
constexpr int kQuiet = 100;  // how long a test listens to be sure that nothing comes

// The next message on `c` as "from type name text", or "none" when nothing comes within `ms`.
std::string Next(LanConnection& c, int ms = 3000) {
    const auto m = WaitMessage(c, ms);
    return m ? std::to_string(m->from) + " " + std::to_string(m->type) + " " + m->shortName + " " +
                   m->text
             : "none";
}

struct Pair {
    explicit Pair(const LanOptions& o = FreePorts())
        : options(o),
          root(MakeLanRoot(o)),
          host(root->InitializeConnection(kLoopback)),
          guest(root->InitializeConnection(kLoopback)) {}
    // Hosts as `hostName` and lists; the listing's first session, if any.
    std::optional<LanSessionInfo> HostAndList(const std::string& hostName,
                                              LanConnection* lister = nullptr) {
        EXPECT_TRUE(host->Host(hostName).ok);
        const auto l = Listed(lister ? *lister : *guest);
        if (l.empty()) return std::nullopt;
        return l.front();
    }
    LanOptions options;
    std::unique_ptr<LanRoot> root;
    std::unique_ptr<LanConnection> host, guest;
};

// Guards against a third program or a same-named player getting into a two-player session.
TEST(SessionLayer, SecondJoinerAndEqualNameAreRefusedWithAClearMessage) {
    Pair p;
    auto third = p.root->InitializeConnection(kLoopback);
    const auto s = p.HostAndList("Alice");
    ASSERT_TRUE(s);
    ASSERT_EQ(Listed(*third).size(), 1u);

    const auto same = p.guest->Join(s->instance, " Alice ");
    EXPECT_FALSE(same.ok);
    EXPECT_NE(same.error.find("also called Alice"), std::string::npos) << same.error;
    EXPECT_EQ(Next(*p.host, kQuiet), "none");
    ASSERT_TRUE(p.guest->Join(s->instance, "Bob").ok);
    const auto late = third->Join(s->instance, "Carol");
    EXPECT_FALSE(late.ok);
    EXPECT_EQ(late.error, "This game already has two players.");
    EXPECT_EQ(Next(*p.host), "0 3 Bob ");
    EXPECT_EQ(Next(*p.host, kQuiet), "none");  // no arrival for Carol
}

// A raw connection to a waiting host.
std::unique_ptr<QTcpSocket> RawConnect(const LanOptions& o) {
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(QHostAddress::LocalHost, quint16(o.tcpPort));
    s->waitForConnected(2000);
    return s;
}

// Free ports, and the deadlines and heartbeats read `clock`, checked every 5 ms.
LanOptions OnClock(FakeClock& clock) {
    LanOptions o = FreePorts();
    o.clock = &clock;
    o.beatCheckMs = 5;
    return o;
}

bool ClosedWithin(QTcpSocket& s, int ms) {
    QElapsedTimer t;
    t.start();
    while (s.state() == QAbstractSocket::ConnectedState && t.elapsed() < ms)
        Serve(10);
    return s.state() != QAbstractSocket::ConnectedState;
}

// Guards against connections that never join (garbled, or a join's first bytes and no more,
// opened again as the host drops them) holding the host or locking a real joiner out unseen.
TEST(SessionLayer, ConnectionsThatDoNotJoinAreDroppedToldAndTheJoinerGetsIn) {
    FakeClock clock;
    const LanOptions o = OnClock(clock);
    Pair p(o);
    const auto s = p.HostAndList("Alice");
    ASSERT_TRUE(s);
    auto unknown = RawConnect(o);
    unknown->write(QByteArray::fromStdString(EncodeFrame(FrameType::Text, "Mq17")));
    EXPECT_TRUE(ClosedWithin(*unknown, 1000));
    std::vector<std::unique_ptr<QTcpSocket>> halfOpen(12);
    for (auto& h : halfOpen) {
        h = std::make_unique<QTcpSocket>();
        auto open = [&o, s = h.get()] {
            s->bind(QHostAddress("127.0.0.5"));
            s->connectToHost(QHostAddress::LocalHost, quint16(o.tcpPort));
            s->write("\x00\x30J", 3);
        };
        QObject::connect(  // opened again while the socket lives, not after the test
            h.get(), &QTcpSocket::disconnected, h.get(),
            [open, s = h.get()] { QTimer::singleShot(1, s, open); }, Qt::QueuedConnection);
        open();
    }
    for (int deadline = 0; deadline < 4; ++deadline) {  // the half-open ones dropped, and back
        Serve(20);
        clock.Advance(o.joinDeadlineMs / 1000.0);
    }
    EXPECT_TRUE(p.guest->Join(s->instance, "Bob").ok);
    std::string heard;
    for (std::string m; (m = Next(*p.host, kQuiet)) != "none";)
        heard += m + "\n";
    EXPECT_NE(heard.find("0 901  Connections from 127.0.0.5 that did not join"), std::string::npos)
        << heard;
}

// Guards against a garbled frame from the joined peer crashing the receiver or losing step.
TEST(SessionLayer, RefusedFramesFromThePeerAreReportedAndTheStreamStaysInStep) {
    Pair p;
    const auto s = p.HostAndList("Alice");
    ASSERT_TRUE(s);
    auto raw = RawConnect(p.options);
    raw->write(QByteArray::fromStdString(
        EncodeFrame(FrameType::Join, EncodeJoin({kLanApplicationId, s->instance, "Mallory"}))));
    raw->write(QByteArray("\x13\x00T", 3) + QByteArray(0x1300 - 1, 'x'));  // over 4 kB
    raw->write(QByteArray("\x00\x02Zz", 4));                               // unknown type
    raw->write(QByteArray::fromStdString(EncodeFrame(FrameType::Text, "Mq17")));
    std::vector<std::string> got;
    for (std::string m; (m = Next(*p.host, kQuiet)) != "none";)
        got.push_back(m.substr(m.find(' ') + 1));  // without the sender
    EXPECT_EQ(got, (std::vector<std::string>{"3 Mallory ", "900 Mallory frame over 4 kB",
                                             "900 Mallory unknown frame type", "0  Mq17"}));
}

// Guards against missing heartbeats (a pulled cable: the socket stays open) going unnoticed,
// and against beats that do not go out to a quiet peer. The clock is the test's.
TEST(SessionLayer, SilentPeerIsLostAfterFiveSecondsWithoutAFrameAndIsSentBeats) {
    FakeClock clock;
    const LanOptions o = OnClock(clock);
    Pair p(o);
    const auto s = p.HostAndList("Alice");
    ASSERT_TRUE(s);
    auto raw = RawConnect(o);
    raw->write(QByteArray::fromStdString(
        EncodeFrame(FrameType::Join, EncodeJoin({kLanApplicationId, s->instance, "Mallory"}))));
    ASSERT_EQ(Next(*p.host), "0 3 Mallory ");
    clock.monotonicMs += 5000;
    EXPECT_EQ(Next(*p.host, kQuiet), "none");
    EXPECT_TRUE(
        raw->readAll().endsWith(QByteArray::fromStdString(EncodeFrame(FrameType::Heartbeat, ""))));
    clock.monotonicMs += 1;
    EXPECT_EQ(Next(*p.host), "0 49 Mallory ");
}

// A child host that echoes; the test process joins it.
struct ChildHost {
    ChildHost()
        : options(FreePorts()),
          peer({}, {"host", "--name", "Child", "--method", "loopback", "--udp",
                    QString::number(options.udpPort), "--tcp", QString::number(options.tcpPort),
                    "--echo"}),
          root(MakeLanRoot(options)),
          conn(root->InitializeConnection(kLoopback)) {
        EXPECT_EQ(peer.Line(), "HOSTING");
        const auto l = Listed(*conn);
        EXPECT_EQ(l.size(), 1u);
        if (!l.empty()) joined = conn->Join(l.front().instance, "Parent").ok;
        EXPECT_EQ(peer.Line(), "JOINED Parent");
    }
    LanOptions options;
    Peer peer;
    std::unique_ptr<LanRoot> root;
    std::unique_ptr<LanConnection> conn;
    bool joined = false;
};

// Guards against a killed opponent going unnoticed.
TEST(SessionLayerChild, KilledPeerIsSeenAsALostConnection) {
    ChildHost c;
    ASSERT_TRUE(c.joined);
    ASSERT_TRUE(c.conn->Send(2, 1, "ping"));
    EXPECT_EQ(Next(*c.conn).substr(1), " 0  echo:ping");
    ::kill(c.peer.Pid(), SIGKILL);
    EXPECT_EQ(Next(*c.conn), "0 49 Child ");  // at once, not after the heartbeats' time
}

}  // namespace
}  // namespace gd::test
