// Helpers for the session layer's tests: a Qt event loop, free loopback ports, waiting for a
// message, and a child lan_peer process stopped by its PID.
#pragma once

#include <signal.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
#include <QUdpSocket>
#include <optional>
#include <string>
#include <vector>

#include "session.h"

namespace gd::test {

inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "lan_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

// A UDP and a TCP port free on loopback right now, so parallel tests never collide.
inline LanOptions FreePorts() {
    EnsureQtApp();
    QUdpSocket u;
    u.bind(QHostAddress::LocalHost, 0);
    QTcpServer t;
    t.listen(QHostAddress::LocalHost, 0);
    LanOptions o;
    o.udpPort = u.localPort();
    o.tcpPort = t.serverPort();
    return o;
}

// Serves the event loop until `c` has a message or `ms` pass.
inline std::optional<LanMessage> WaitMessage(LanConnection& c, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (auto m = c.Receive()) return m;
        QThread::msleep(1);
    }
    return std::nullopt;
}

inline void Serve(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

// What `c` hears once it hears `count` waiting sessions, watching for at most 3 s.
inline std::vector<LanSessionInfo> Listed(LanConnection& c, std::size_t count = 1) {
    QElapsedTimer t;
    t.start();
    std::vector<LanSessionInfo> heard;
    while ((heard = c.WatchSessions().sessions).size() < count && t.elapsed() < 3000)
        Serve(5);
    return heard;
}

// A lan_peer child (optionally under a wrapper such as "ip netns exec NS"); killed by its PID.
class Peer {
  public:
    Peer(const QStringList& wrapper, const QStringList& args) {
        QStringList all = wrapper;
        all << LAN_PEER_PATH << args;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(all.front(), all.mid(1));
        process.waitForStarted(5000);
    }
    ~Peer() {
        if (process.state() != QProcess::NotRunning) {
            ::kill(pid_t(process.processId()), SIGKILL);
            process.waitForFinished(5000);
        }
    }
    // The next output line, or empty after `ms`.
    std::string Line(int ms = 10000) {
        if (!process.canReadLine()) process.waitForReadyRead(ms);
        while (!process.canReadLine() && process.waitForReadyRead(ms)) {
        }
        return process.readLine().trimmed().toStdString();
    }
    // The exit code once it ends by itself within `ms`, else -1.
    int Finish(int ms = 30000) { return process.waitForFinished(ms) ? process.exitCode() : -1; }
    pid_t Pid() const { return pid_t(process.processId()); }
    QProcess process;
};

}  // namespace gd::test
