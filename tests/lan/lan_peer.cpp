// A scripted LAN peer for the session layer's tests: hosts, joins or lists sessions in a
// process of its own (so a test can kill it or run it inside a network namespace).
//   lan_peer host|join|list --name N --method net|loopback --udp P --tcp Q [--echo]
// host/join print "JOINED <other>" and then play the fixed game script below, or echo texts.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game_wire.h"
#include "session.h"

namespace {

// One game's messages: profiles once each way, seven moves each, chat both ways.
std::vector<std::pair<int, std::string>> GameScript() {
    std::vector<std::pair<int, std::string>> s = {
        {1, "s" + gd::wire::WritePlayDataBlock({"Host", "Here", "3", "1", "1", "1"})},
        {2, "s" + gd::wire::WritePlayDataBlock({"Guest", "", "0", "0", "0", "0"})},
    };
    for (int i = 0; i < 14; ++i)
        s.push_back({1 + i % 2, "M" + std::string(1, char('a' + i)) + std::to_string(i)});
    s.push_back({1, "mgood game +++ to you"});
    s.push_back({2, "m thanks "});
    return s;
}

bool Pump(gd::LanConnection& c, gd::LanMessage& m, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (auto got = c.Receive()) {
            m = *got;
            return true;
        }
        QThread::msleep(2);
    }
    return false;
}

// Watches for waiting sessions until one is heard, or the method proves unsupported (when
// `uptoUnsupported`), or `ms` pass. A link just made may need a moment before any interface can
// carry the listing: the watch asks again now and then.
gd::SessionListing Watch(gd::LanConnection& c, int ms, bool uptoUnsupported) {
    QElapsedTimer t;
    t.start();
    gd::SessionListing l;
    while (t.elapsed() < ms) {
        l = c.WatchSessions();
        if (!l.sessions.empty() || (uptoUnsupported && l.failure == gd::ListFailure::Unsupported))
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return l;
}

int Fail(const std::string& why) {
    std::printf("FAIL %s\n", why.c_str());
    std::fflush(stdout);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string mode = argc > 1 ? argv[1] : "", name = "Peer", method = "loopback";
    gd::LanOptions opt;
    bool echo = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const std::string v = i + 1 < argc ? argv[i + 1] : "";
        if (a == "--name") name = v, ++i;
        if (a == "--method") method = v, ++i;
        if (a == "--udp") opt.udpPort = std::stoi(v), ++i;
        if (a == "--tcp") opt.tcpPort = std::stoi(v), ++i;
        if (a == "--echo") echo = true;
    }
    auto root = gd::MakeLanRoot(opt);
    auto c = root->InitializeConnection(method == "net" ? 0 : 1);
    const int side = mode == "host" ? 1 : 2;
    gd::LanMessage m;
    if (mode == "list") {
        const auto l = Watch(*c, 1500, true);
        if (l.failure == gd::ListFailure::NoSessions) std::printf("(None)\n");
        if (l.failure == gd::ListFailure::Unsupported) std::printf("(Not supported)\n");
        for (const auto& s : l.sessions)
            std::printf("%s\n", s.name.c_str());
        return 0;
    }
    if (mode == "host") {
        const auto r = c->Host(name);
        if (!r.ok) return Fail(r.error);
        std::printf("HOSTING\n");
        std::fflush(stdout);
        if (!Pump(*c, m, 30000) || m.type != gd::kSysPlayerJoined) return Fail("no joiner");
        std::printf("JOINED %s\n", m.shortName.c_str());
    } else {
        const auto l = Watch(*c, 20000, false);
        if (l.sessions.empty()) return Fail("no session found");
        const auto r = c->Join(l.sessions.front().instance, name);
        if (!r.ok) return Fail(r.error);
        std::printf("JOINED %s\n", r.hostName.c_str());
    }
    std::fflush(stdout);
    if (echo) {
        while (Pump(*c, m, 60000) && m.from != 0)
            c->Send(side, 3 - side, "echo:" + m.text);
        return 0;
    }
    for (const auto& [from, text] : GameScript()) {
        if (from == side) {
            if (!c->Send(side, 3 - side, text)) return Fail("send " + text);
        } else if (!Pump(*c, m, 10000) || m.from != from || m.text != text) {
            return Fail("expected " + text + " got " + m.text);
        }
    }
    if (side == 2) {
        c->Close();
    } else if (!Pump(*c, m, 10000) || m.type != gd::kSysPlayerLeft) {
        return Fail("no orderly leave");
    }
    std::printf("DONE\n");
    return 0;
}
