// The real LAN session layer on Qt Network: sessions found by UDP queries (each interface's IPv4
// broadcast address and an IPv6 link-local multicast group, or loopback alone) and played over
// one TCP connection of length-prefixed frames with heartbeats.
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <deque>
#include <functional>
#include <list>
#include <random>
#include <set>

#include "lan_frames.h"
#include "profile.h"
#include "providers.h"
#include "session.h"
#include "text.h"
#include "waiting.h"

namespace gd {

namespace {

// The link-local multicast group hosts join for discovery over IPv6 (transient, link scope).
const char* const kMulticastGroup = "ff12::4744";
// Connections that have not joined yet, in all and from one address: a few half-open ones
// from one machine never fill the host, so a joiner from another gets in.
constexpr int kMaxPending = 32;
constexpr int kMaxPendingPerAddress = 3;

const std::string kRefusedSecondJoiner = "This game already has two players.";
const std::string kNotReachable = "The waiting player could not be reached.";
const std::string kGone =
    "That player is no longer waiting. Please look for waiting players again.";
const std::string kGarbled =
    "The waiting player's program answered in a way this one does not understand.";

enum class Method { Network, ThisComputer };

// Waits as every handler of the program waits, until `done` holds or `ms` have passed.
void WaitFor(int ms, const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    WaitWhile([&] { return !done() && clock.elapsed() < ms; });
}

std::string ToStd(const QByteArray& b) {
    return std::string(b.constData(), b.size());
}
QByteArray ToBytes(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

void Dispose(QObject* o) {
    if (o) o->deleteLater();
}

// Interfaces that can carry discovery: up, running, not loopback.
std::vector<QNetworkInterface> LanInterfaces() {
    std::vector<QNetworkInterface> out;
    for (const auto& iface : QNetworkInterface::allInterfaces()) {
        const auto f = iface.flags();
        if (f.testFlag(QNetworkInterface::IsUp) && f.testFlag(QNetworkInterface::IsRunning) &&
            !f.testFlag(QNetworkInterface::IsLoopBack))
            out.push_back(iface);
    }
    return out;
}

bool HasIpv6LinkLocal(const QNetworkInterface& iface) {
    if (!iface.flags().testFlag(QNetworkInterface::CanMulticast)) return false;
    for (const auto& e : iface.addressEntries())
        if (e.ip().protocol() == QAbstractSocket::IPv6Protocol && e.ip().isLinkLocal()) return true;
    return false;
}

class NetConnection : public LanConnection {
  public:
    NetConnection(Method method, LanOptions options) : method_(method), opt_(std::move(options)) {
        if (opt_.appId.empty()) opt_.appId = kLanApplicationId;
        if (!opt_.clock) opt_.clock = &steady_;
        beat_.setInterval(opt_.beatCheckMs);
        QObject::connect(&beat_, &QTimer::timeout, &ctx_, [this] { BeatTick(); });
    }
    ~NetConnection() override {
        Close();
        for (auto& p : pending_)
            Dispose(p.socket);
        Dispose(peer_);
    }

    SessionListing ListSessions(int timeoutMs) override;
    SessionListing WatchSessions() override;
    OpenResult Host(const std::string& name) override;
    OpenResult Join(std::uint32_t instance, const std::string& name) override;
    bool Send(int from, int to, const std::string& text) override;
    std::optional<LanMessage> Receive() override;
    void Close() override;

  private:
    enum class PeerState { None, Awaiting, Joined, Over };
    struct Pending {
        QTcpSocket* socket;
        FrameReader reader;
        std::int64_t since;  // on the beat check's clock
    };
    struct Endpoint {
        QHostAddress address;
        quint16 port;
    };
    struct Heard {
        LanSessionInfo session;
        Endpoint at;
        QElapsedTimer age;
    };

    // Sends a query from the watch's sockets; false when none could go.
    bool AskForSessions();
    void CollectAnswers(QUdpSocket& socket);
    void StopWatching();
    bool OpenDiscovery();
    // Joins the discovery group on interfaces that have come up since the last look.
    void JoinGroups();
    void StopAnnouncing();
    void AnswerQueries(QUdpSocket* socket);
    void OnNewConnection();
    void OnPendingData(std::list<Pending>::iterator p);
    void DropPending(std::list<Pending>::iterator p);
    // Tells the host, once per address, that connections from it were closed without joining.
    void NoteNotJoined(const QHostAddress& address);
    void Refuse(QTcpSocket* socket, const std::string& why);
    void AcceptJoiner(QTcpSocket* socket, const std::string& name, FrameReader reader);
    void WatchPeer();
    void OnPeerData();
    void OnPeerFrame(const Frame& f);
    void OnPeerGone();
    void LoseSession();
    void BeatTick();
    void Write(FrameType type, const std::string& payload);
    void Post(LanMessage m) { inbox_.push_back(std::move(m)); }
    int OtherSide() const { return side_ == 1 ? 2 : 1; }
    std::int64_t Now() const { return opt_.clock->MonotonicMs(); }

    Method method_;
    SystemClock steady_;  // the beat check's clock when the options give none
    LanOptions opt_;
    QObject ctx_;  // context of every signal connection, so none outlives this object
    QTimer beat_;
    std::deque<LanMessage> inbox_;

    // Host side.
    QTcpServer* server_ = nullptr;
    std::vector<QUdpSocket*> discovery_;
    QUdpSocket* groupSocket_ = nullptr;  // the IPv6 one among them
    std::set<int> joinedGroups_;
    int beats_ = 0;
    std::list<Pending> pending_;
    std::set<QString> noted_;  // addresses the host has been told about
    std::uint32_t instance_ = 0;

    // Joiner side: what the watch has heard, in the order first heard.
    std::unique_ptr<QUdpSocket> watch4_, watch6_;
    std::vector<Heard> heard_;
    QElapsedTimer watching_, lastAsked_;
    bool askedOnce_ = false;

    // Both sides once joined.
    QTcpSocket* peer_ = nullptr;
    FrameReader peerReader_;
    PeerState state_ = PeerState::None;
    std::int64_t lastHeard_ = 0, lastSent_ = 0;  // on the beat check's clock
    std::string myName_, peerName_, joinError_;
    int side_ = 0;
};

SessionListing NetConnection::ListSessions(int timeoutMs) {
    StopWatching();
    SessionListing listing = WatchSessions();
    WaitFor(timeoutMs, [&] {
        listing = WatchSessions();
        return false;
    });
    if (listing.failure == ListFailure::None && listing.sessions.empty())
        listing.failure = ListFailure::NoSessions;
    return listing;
}

SessionListing NetConnection::WatchSessions() {
    SessionListing listing;
    if (!watching_.isValid()) {
        watch4_ = std::make_unique<QUdpSocket>();
        watch6_ = std::make_unique<QUdpSocket>();
        if (method_ == Method::ThisComputer) {
            watch4_->bind(QHostAddress::LocalHost, 0);
        } else {
            watch4_->bind(QHostAddress::AnyIPv4, 0);
            watch6_->bind(QHostAddress::AnyIPv6, 0);
        }
        watching_.start();
    }
    CollectAnswers(*watch4_);
    CollectAnswers(*watch6_);
    if (!lastAsked_.isValid() || lastAsked_.elapsed() >= opt_.watchAskMs) {
        askedOnce_ = AskForSessions() || askedOnce_;
        lastAsked_.start();
    }
    if (!askedOnce_) {
        listing.failure = ListFailure::Unsupported;
        return listing;
    }
    // A host that no longer answers has left, or has started a game.
    heard_.erase(
        std::remove_if(heard_.begin(), heard_.end(),
                       [&](const Heard& h) { return h.age.elapsed() > opt_.watchForgetMs; }),
        heard_.end());
    for (const auto& h : heard_)
        listing.sessions.push_back(h.session);
    // No answer to a whole round of asking: nobody waits.
    if (listing.sessions.empty() && watching_.elapsed() >= opt_.watchAskMs)
        listing.failure = ListFailure::NoSessions;
    return listing;
}

bool NetConnection::AskForSessions() {
    int sent = 0;
    const QByteArray query = ToBytes(EncodeQuery(opt_.appId));
    const quint16 port = quint16(opt_.udpPort);
    auto& v4 = *watch4_;
    auto& v6 = *watch6_;
    const bool have4 = v4.state() == QAbstractSocket::BoundState;
    const bool have6 = v6.state() == QAbstractSocket::BoundState;
    if (method_ == Method::ThisComputer) {
        if (have4 && v4.writeDatagram(query, QHostAddress::LocalHost, port) >= 0) ++sent;
        return sent > 0;
    }
    for (const auto& iface : LanInterfaces()) {
        for (const auto& e : iface.addressEntries())
            if (have4 && e.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                !e.broadcast().isNull() && v4.writeDatagram(query, e.broadcast(), port) >= 0)
                ++sent;
        if (have6 && HasIpv6LinkLocal(iface)) {
            QHostAddress group(kMulticastGroup);
            group.setScopeId(iface.name());
            v6.setMulticastInterface(iface);
            if (v6.writeDatagram(query, group, port) >= 0) ++sent;
        }
    }
    return sent > 0;
}

void NetConnection::CollectAnswers(QUdpSocket& socket) {
    while (socket.state() == QAbstractSocket::BoundState && socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = socket.receiveDatagram(kMaxDatagram + 1);
        const auto a = DecodeAnswer(ToStd(d.data()));
        if (!a || a->appId != opt_.appId) continue;
        auto known = std::find_if(heard_.begin(), heard_.end(), [&](const Heard& h) {
            return h.session.instance == a->instance;
        });
        if (known == heard_.end()) known = heard_.insert(heard_.end(), Heard{});
        known->session = {a->name, a->instance};
        known->at = {d.senderAddress(), a->tcpPort};
        known->age.start();
    }
}

void NetConnection::StopWatching() {
    watch4_.reset();
    watch6_.reset();
    heard_.clear();
    watching_.invalidate();
    lastAsked_.invalidate();
    askedOnce_ = false;
}

OpenResult NetConnection::Host(const std::string& name) {
    if (server_ || state_ != PeerState::None) return {false, "", "A game is already open."};
    server_ = new QTcpServer;
    const QHostAddress where =
        method_ == Method::ThisComputer ? QHostAddress(QHostAddress::LocalHost) : QHostAddress::Any;
    if (!server_->listen(where, quint16(opt_.tcpPort))) {
        const std::string why = server_->errorString().toStdString();
        Dispose(server_);
        server_ = nullptr;
        return {false, "",
                "The game could not be opened on TCP port " + std::to_string(opt_.tcpPort) + ": " +
                    why};
    }
    QObject::connect(server_, &QTcpServer::newConnection, &ctx_, [this] { OnNewConnection(); });
    if (!OpenDiscovery()) {
        Close();
        return {
            false, "",
            "The game could not be announced on UDP port " + std::to_string(opt_.udpPort) + "."};
    }
    std::random_device seed;
    std::uniform_int_distribution<std::uint32_t> draw(1, 0xffffffffu);
    instance_ = draw(seed);
    myName_ = name;
    side_ = 1;
    beat_.start();
    return {true, name, ""};
}

bool NetConnection::OpenDiscovery() {
    const auto mode = QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint;
    const quint16 port = quint16(opt_.udpPort);
    auto open = [&](const QHostAddress& where) -> QUdpSocket* {
        auto* s = new QUdpSocket;
        if (!s->bind(where, port, mode)) {
            Dispose(s);
            return nullptr;
        }
        QObject::connect(s, &QUdpSocket::readyRead, &ctx_, [this, s] { AnswerQueries(s); });
        discovery_.push_back(s);
        return s;
    };
    if (method_ == Method::ThisComputer) return open(QHostAddress::LocalHost) != nullptr;
    open(QHostAddress::AnyIPv4);
    groupSocket_ = open(QHostAddress::AnyIPv6);
    joinedGroups_.clear();
    JoinGroups();
    return !discovery_.empty();
}

void NetConnection::StopAnnouncing() {
    // Closed at once, not when the deferred deletion comes: no query is answered after this.
    for (auto* d : discovery_) {
        d->close();
        Dispose(d);
    }
    discovery_.clear();
    groupSocket_ = nullptr;
}

void NetConnection::JoinGroups() {
    if (!groupSocket_) return;
    for (const auto& iface : LanInterfaces())
        if (HasIpv6LinkLocal(iface) && joinedGroups_.insert(iface.index()).second)
            groupSocket_->joinMulticastGroup(QHostAddress(kMulticastGroup), iface);
}

void NetConnection::AnswerQueries(QUdpSocket* socket) {
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket->receiveDatagram(kMaxDatagram + 1);
        const auto appId = DecodeQuery(ToStd(d.data()));
        if (!appId || *appId != opt_.appId || state_ != PeerState::None) continue;
        const SessionAnswer a{opt_.appId, instance_, quint16(opt_.tcpPort), myName_};
        socket->writeDatagram(ToBytes(EncodeAnswer(a)), d.senderAddress(), quint16(d.senderPort()));
    }
}

void NetConnection::OnNewConnection() {
    while (QTcpSocket* s = server_->nextPendingConnection()) {
        s->setParent(nullptr);
        const QHostAddress from = s->peerAddress();
        const auto sameAddress =
            std::count_if(pending_.begin(), pending_.end(),
                          [&](const auto& p) { return p.socket->peerAddress() == from; });
        if (int(pending_.size()) >= kMaxPending || sameAddress >= kMaxPendingPerAddress) {
            NoteNotJoined(from);
            s->abort();
            Dispose(s);
            continue;
        }
        pending_.push_back({s, FrameReader{}, Now()});
        auto it = std::prev(pending_.end());
        QObject::connect(s, &QTcpSocket::readyRead, &ctx_, [this, it] { OnPendingData(it); });
        // One that goes away frees its place at once.
        QObject::connect(s, &QTcpSocket::disconnected, &ctx_, [this, it] { DropPending(it); });
    }
}

void NetConnection::DropPending(std::list<Pending>::iterator p) {
    QObject::disconnect(p->socket, nullptr, &ctx_, nullptr);
    p->socket->abort();
    Dispose(p->socket);
    pending_.erase(p);
}

void NetConnection::NoteNotJoined(const QHostAddress& address) {
    const QString text = address.toString();
    if (!noted_.insert(text).second) return;
    Post({0, "Connections from " + text.toStdString() + " that did not join this game were closed.",
          kSysNotJoined, ""});
}

void NetConnection::OnPendingData(std::list<Pending>::iterator p) {
    p->reader.Feed(ToStd(p->socket->readAll()));
    const auto r = p->reader.Next();
    if (!r) return;
    QTcpSocket* s = p->socket;
    FrameReader reader = std::move(p->reader);
    pending_.erase(p);
    QObject::disconnect(s, nullptr, &ctx_, nullptr);
    const auto join = r->fault == FrameFault::None && r->frame.type == FrameType::Join
                          ? DecodeJoin(r->frame.payload)
                          : std::nullopt;
    if (!join || join->appId != opt_.appId || join->instance != instance_) {
        NoteNotJoined(s->peerAddress());
        s->abort();  // not this game's joiner: nothing to explain
        Dispose(s);
    } else if (state_ != PeerState::None) {
        Refuse(s, kRefusedSecondJoiner);
    } else if (Trim(join->name) == Trim(myName_)) {
        Refuse(s, SameNameRefusal(Trim(join->name)));
    } else {
        AcceptJoiner(s, join->name, std::move(reader));
    }
}

void NetConnection::Refuse(QTcpSocket* socket, const std::string& why) {
    // Deleted once the refusal has gone out and the connection is closed.
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(ToBytes(EncodeFrame(FrameType::Refuse, why)));
    socket->disconnectFromHost();
}

void NetConnection::AcceptJoiner(QTcpSocket* socket, const std::string& name, FrameReader reader) {
    peer_ = socket;
    peerReader_ = std::move(reader);
    peerName_ = name;
    state_ = PeerState::Joined;
    StopAnnouncing();  // a full session is no longer listed
    WatchPeer();
    Write(FrameType::Accept, myName_);
    Post({0, "", kSysPlayerJoined, name});
    OnPeerData();  // frames that came with the join
}

void NetConnection::WatchPeer() {
    lastHeard_ = lastSent_ = Now();
    QObject::connect(peer_, &QTcpSocket::readyRead, &ctx_, [this] { OnPeerData(); });
    QObject::connect(peer_, &QTcpSocket::disconnected, &ctx_, [this] { OnPeerGone(); });
    QObject::connect(peer_, &QTcpSocket::errorOccurred, &ctx_, [this] { OnPeerGone(); });
    beat_.start();
}

OpenResult NetConnection::Join(std::uint32_t instance, const std::string& name) {
    const auto at = std::find_if(heard_.begin(), heard_.end(),
                                 [&](const Heard& h) { return h.session.instance == instance; });
    if (at == heard_.end()) return {false, "", kGone};
    if (state_ != PeerState::None || server_) return {false, "", "A game is already open."};
    myName_ = name;
    side_ = 2;
    joinError_.clear();
    peer_ = new QTcpSocket;
    state_ = PeerState::Awaiting;
    WatchPeer();
    const std::string join = EncodeJoin({opt_.appId, instance, name});
    QObject::connect(peer_, &QTcpSocket::connected, &ctx_,
                     [this, join] { Write(FrameType::Join, join); });
    peer_->connectToHost(at->at.address, at->at.port);
    WaitFor(opt_.joinDeadlineMs + 2000, [this] { return state_ != PeerState::Awaiting; });
    if (state_ == PeerState::Joined) return {true, peerName_, ""};
    // Refused or unreachable: forget this attempt, so the player may choose again.
    QObject::disconnect(peer_, nullptr, &ctx_, nullptr);
    peer_->abort();
    Dispose(peer_);
    peer_ = nullptr;
    peerReader_ = FrameReader{};
    state_ = PeerState::None;
    beat_.stop();
    return {false, "", joinError_.empty() ? kNotReachable : joinError_};
}

void NetConnection::OnPeerData() {
    if (!peer_ || !peer_->isOpen()) return;
    peerReader_.Feed(ToStd(peer_->readAll()));
    while (state_ == PeerState::Awaiting || state_ == PeerState::Joined) {
        const auto r = peerReader_.Next();
        if (!r) return;
        lastHeard_ = Now();
        if (r->fault != FrameFault::None) {
            if (state_ == PeerState::Awaiting) {
                joinError_ = kGarbled;
                state_ = PeerState::Over;
                peer_->abort();
                return;
            }
            Post({0, DescribeFrameFault(r->fault), kSysMessageRefused, peerName_});
            continue;
        }
        OnPeerFrame(r->frame);
    }
}

void NetConnection::OnPeerFrame(const Frame& f) {
    if (state_ == PeerState::Awaiting) {
        if (f.type == FrameType::Accept && ValidPlayerName(f.payload)) {
            peerName_ = f.payload;
            state_ = PeerState::Joined;
        } else {
            joinError_ = f.type == FrameType::Refuse ? f.payload : kGarbled;
            state_ = PeerState::Over;
        }
        return;
    }
    switch (f.type) {
        case FrameType::Text:
            Post({OtherSide(), f.payload, 0, ""});
            break;
        case FrameType::Heartbeat:
            break;
        case FrameType::Bye:
            state_ = PeerState::Over;
            Post({0, "", kSysPlayerLeft, peerName_});
            peer_->disconnectFromHost();
            break;
        default:
            Post({0, "unexpected frame", kSysMessageRefused, peerName_});
    }
}

void NetConnection::OnPeerGone() {
    OnPeerData();  // a refusal or a last message may have come with the close
    if (state_ == PeerState::Awaiting) {
        joinError_ = kNotReachable;
        state_ = PeerState::Over;
    }
    if (state_ == PeerState::Joined) LoseSession();
}

void NetConnection::LoseSession() {
    state_ = PeerState::Over;
    Post({0, "", kSysSessionLost, peerName_});
    if (peer_) peer_->abort();
}

void NetConnection::BeatTick() {
    for (auto it = pending_.begin(); it != pending_.end();) {
        const auto next = std::next(it);
        if (Now() - it->since >= opt_.joinDeadlineMs) {  // nothing valid in time
            NoteNotJoined(it->socket->peerAddress());
            DropPending(it);
        }
        it = next;
    }
    // A waiting host looks for new interfaces now and then (a cable plugged in after hosting).
    if (groupSocket_ && ++beats_ % 8 == 0) JoinGroups();
    if (state_ != PeerState::Joined) return;
    if (Now() - lastHeard_ > opt_.lossMs) return LoseSession();
    if (Now() - lastSent_ >= opt_.heartbeatMs) Write(FrameType::Heartbeat, "");
}

void NetConnection::Write(FrameType type, const std::string& payload) {
    if (!peer_) return;
    peer_->write(ToBytes(EncodeFrame(type, payload)));
    lastSent_ = Now();
}

bool NetConnection::Send(int /*from*/, int /*to*/, const std::string& text) {
    static_assert(kMaxLanText + 1 == kMaxFrameBody, "a text and its frame type fill a frame");
    if (state_ != PeerState::Joined || text.size() > kMaxLanText) return false;
    Write(FrameType::Text, text);
    return true;
}

std::optional<LanMessage> NetConnection::Receive() {
    if (inbox_.empty()) return std::nullopt;
    LanMessage m = std::move(inbox_.front());
    inbox_.pop_front();
    return m;
}

void NetConnection::Close() {
    if (state_ == PeerState::Joined && peer_) {
        Write(FrameType::Bye, "");
        peer_->flush();
        peer_->waitForBytesWritten(200);
        peer_->disconnectFromHost();
    }
    if (state_ != PeerState::None) state_ = PeerState::Over;
    beat_.stop();
    StopWatching();
    StopAnnouncing();
    if (server_) {
        server_->close();
        Dispose(server_);
        server_ = nullptr;
    }
}

class NetRoot : public LanRoot {
  public:
    explicit NetRoot(LanOptions options) : opt_(std::move(options)) {}
    std::vector<std::string> ListProviders() override { return ListLanProviders(); }
    std::unique_ptr<LanConnection> InitializeConnection(int index) override {
        if (index == 0) return std::make_unique<NetConnection>(Method::Network, opt_);
        if (index == 1) return std::make_unique<NetConnection>(Method::ThisComputer, opt_);
        return nullptr;
    }

  private:
    LanOptions opt_;
};

}  // namespace

std::unique_ptr<LanRoot> MakeLanRoot(const LanOptions& options) {
    return std::make_unique<NetRoot>(options);
}

}  // namespace gd
