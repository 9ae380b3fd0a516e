// The game server's answer to each request.
#include "service.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <stdexcept>

#include "move.h"
#include "text.h"

namespace gd::server {

namespace {

constexpr std::size_t kFieldLimit = 256;  // any single field but a message text

Reply Refusal(int status, const std::string& text) {
    return {status, text + "\n"};
}

bool FieldsFit(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.size() <= kFieldLimit; });
}

// A number of seconds as the program sends it: decimal digits, no sign.
std::optional<int> Seconds(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

struct FieldShape {
    std::size_t count;
    bool lastTakesRest;
};

FieldShape ShapeOf(Script script) {
    switch (script) {
        case Script::JoinWait:
            return {8, false};
        case Script::JoinGame:
            return {3, true};
        case Script::PostData:
            return {3, true};
        default:
            return {1, false};
    }
}

}  // namespace

std::int64_t SystemWallClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string RandomGameNumbers::Next() {
    static const std::string alphabet = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    thread_local std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string number;
    while (number.size() < 11)
        number += alphabet[pick(source)];
    return number;
}

bool RateLimiter::Allow(const std::string& address, std::int64_t nowMs) {
    Shard& shard = shards_[std::hash<std::string>{}(address) % 16];
    std::lock_guard<std::mutex> hold(shard.lock);
    // Addresses whose buckets have filled up again are forgotten, so the table stays small.
    if (shard.buckets.size() > 4096) {
        for (auto it = shard.buckets.begin(); it != shard.buckets.end();)
            it = nowMs - it->second.atMs > 1000 * burst_ / perSecond_ ? shard.buckets.erase(it)
                                                                      : std::next(it);
    }
    auto [it, added] = shard.buckets.try_emplace(address, Bucket{burst_, nowMs});
    Bucket& b = it->second;
    if (!added) {
        const double elapsed = static_cast<double>(std::max<std::int64_t>(0, nowMs - b.atMs));
        b.tokens = std::min(burst_, b.tokens + elapsed * perSecond_ / 1000.0);
        b.atMs = nowMs;
    }
    if (b.tokens < 1) return false;
    b.tokens -= 1;
    return true;
}

Service::Service(Store& store, WallClock& clock, GameNumbers& numbers, ServiceOptions options)
    : store_(store), clock_(clock), numbers_(numbers), options_(std::move(options)) {
    if (options_.ratePerSecond > 0)
        limiter_ = std::make_unique<RateLimiter>(options_.ratePerSecond, options_.rateBurst);
}

std::optional<Reply> Service::Screen(const std::string& method, const std::string& target,
                                     const std::string& address, Request& request) {
    if (method != "GET") return Refusal(405, "Only GET is served");
    if (target.size() > options_.maxRequestLine) return Refusal(414, "Request too long");
    if (limiter_ && !limiter_->Allow(address, clock_.NowMs()))
        return Refusal(429, "Too many requests; slow down");

    const auto question = target.find('?');
    const auto script = ScriptOf(std::string_view(target).substr(0, question));
    if (!script) return Refusal(404, "No such script");
    request.script = *script;
    if (*script == Script::ReadWait) return std::nullopt;

    const std::string_view query = question == std::string::npos
                                       ? std::string_view()
                                       : std::string_view(target).substr(question + 1);
    const auto shape = ShapeOf(*script);
    auto fields = SplitFields(query, shape.count, shape.lastTakesRest);
    // "+QUIT" is the one post without a text field; a read may confirm a batch.
    if (!fields && (*script == Script::PostData || *script == Script::GetData))
        fields = SplitFields(query, 2, false);
    if (!fields) return Refusal(400, "Malformed query");
    request.fields = std::move(*fields);

    if (*script == Script::Updates)
        return Reply{200, wire::WriteUpdateReply(
                              IsCurrentVersion(Trim(request.fields[0]), options_.latestVersion))};
    if (*script == Script::GetData) {
        const auto key = ParseMailboxKey(Trim(request.fields[0]));
        if (!key) return Refusal(400, "Malformed mailbox key");
        if (!store_.MayHaveMessages(key->game, key->reader))
            return Reply{200, wire::WriteMailboxReply({})};
    }
    return std::nullopt;
}

Reply Service::Answer(const Request& request, const std::string& address) {
    try {
        switch (request.script) {
            case Script::ReadWait:
                return ReadWaitingRoom();
            case Script::JoinWait:
                return EnterWaitingRoom(request.fields, address);
            case Script::JoinGame:
                return JoinGame(request.fields, address);
            case Script::ExitWait:
                return ExitWaitingRoom(request.fields, address);
            case Script::GetData:
                return ReadMailbox(request.fields, address);
            case Script::PostData:
                return PostMessage(request.fields, address);
            case Script::Updates:
                return Reply{200, wire::WriteUpdateReply(IsCurrentVersion(Trim(request.fields[0]),
                                                                          options_.latestVersion))};
        }
    } catch (const std::exception& e) {
        return Refusal(500, std::string("The store failed: ") + e.what());
    }
    return Refusal(500, "Unknown script");
}

Reply Service::Handle(const std::string& method, const std::string& target,
                      const std::string& address) {
    Request request;
    if (auto reply = Screen(method, target, address, request)) return *reply;
    return Answer(request, address);
}

int Service::RemoveIdleGames() {
    return store_.RemoveIdle(clock_.NowMs() - std::int64_t{1000} * options_.idleSeconds);
}

Reply Service::ReadWaitingRoom() {
    return Reply{200, WaitingListReply(store_.ListWaiting(clock_.NowMs()))};
}

Reply Service::EnterWaitingRoom(const std::vector<std::string>& f, const std::string& address) {
    if (!FieldsFit(f)) return Refusal(413, "A field is too long");
    WaitingEntry e;
    e.email = Trim(f[0]);
    e.name = Trim(f[1]);
    e.location = Trim(f[2]);
    e.played = Trim(f[3]);
    e.won = Trim(f[4]);
    const std::string privateFlag = Trim(f[5]);
    e.password = Trim(f[6]);
    const auto wait = Seconds(Trim(f[7]));
    if (privateFlag != "YES" && privateFlag != "NO")
        return Refusal(400, "Private must be YES or NO");
    if (!IsCounter(e.played) || !IsCounter(e.won)) return Refusal(400, "Counters must be numbers");
    if (!wait || *wait < 1 || *wait > options_.maxWaitSeconds)
        return Refusal(400, "Wait time out of range");
    e.isPrivate = privateFlag == "YES";
    e.hostAddress = address;
    const std::int64_t now = clock_.NowMs();
    e.expiresAtMs = now + std::int64_t{1000} * *wait;
    for (int attempt = 0; attempt < 8; ++attempt) {
        e.game = numbers_.Next();
        switch (store_.Enter(e, options_.roomSize, now)) {
            case EnterOutcome::Entered:
                return Reply{200, wire::WriteEnteredReply(e.game)};
            case EnterOutcome::Full:
                return Reply{200, wire::WriteRoomFullReply()};
            case EnterOutcome::TakenGame:
                break;
        }
    }
    return Refusal(500, "No free game number");
}

Reply Service::JoinGame(const std::vector<std::string>& f, const std::string& address) {
    if (!FieldsFit(f)) return Refusal(413, "A field is too long");
    switch (store_.Join(Trim(f[0]), Trim(f[2]), address, clock_.NowMs())) {
        case JoinOutcome::Joined:
            return Reply{200, wire::WriteJoinedReply()};
        case JoinOutcome::BadPassword:
            return Reply{200, wire::WriteBadPasswordReply()};
        // An ordinary outcome of the game, not a refusal: the program says the join failed.
        case JoinOutcome::NotWaiting:
            return Reply{200, wire::WriteNotWaitingReply()};
    }
    return Refusal(500, "Unknown join outcome");
}

Reply Service::ExitWaitingRoom(const std::vector<std::string>& f, const std::string& address) {
    if (!FieldsFit(f)) return Refusal(413, "A field is too long");
    return Reply{200, wire::WriteLeftReply(store_.Leave(Trim(f[0]), address, options_.bound))};
}

Reply Service::ReadMailbox(const std::vector<std::string>& f, const std::string& address) {
    const auto key = ParseMailboxKey(Trim(f[0]));
    if (!key) return Refusal(400, "Malformed mailbox key");
    TakeRequest take{key->game, key->reader, address, options_.bound, clock_.NowMs(), {}};
    if (f.size() > 1) {
        take.confirm = wire::ParseBatchNumber(Trim(f[1]));
        if (!take.confirm) return Refusal(400, "Malformed batch number");
    }
    const Batch batch = store_.Take(take);
    return Reply{200, wire::WriteMailboxReply(batch.messages, batch.number)};
}

Reply Service::PostMessage(const std::vector<std::string>& f, const std::string& address) {
    const auto key = ParseMailboxKey(Trim(f[0]));
    if (!key) return Refusal(400, "Malformed mailbox key");
    const auto kind = KindOf(Trim(f[1]));
    if (!kind) return Refusal(400, "Unknown message kind");
    const Message message{*kind, f.size() > 2 ? f[2] : std::string()};
    if (auto refusal = RefusalOfPost(message)) return Refusal(400, *refusal);

    PostRequest post{key->game,      key->reader,         message,       address,
                     options_.bound, options_.maxPending, clock_.NowMs()};
    switch (store_.Post(post)) {
        case PostOutcome::Stored:
        case PostOutcome::Repeated:
            return Reply{200, wire::WriteStoredReply()};
        case PostOutcome::NotAllowed:
            return Refusal(403, "Not a player of this game, or not joined");
        case PostOutcome::MailboxFull:
            return Refusal(503, "Mailbox full; the reader must read first");
    }
    return Refusal(500, "Unknown post outcome");
}

std::optional<std::string> Service::RefusalOfPost(const Message& m) const {
    if (m.text.size() > options_.maxMessageBytes) return "Message too long";
    switch (m.kind) {
        case MessageKind::Start:
        case MessageKind::Data:
            if (!wire::ParsePlayDataBlock(m.text)) return "Malformed play-data block";
            break;
        case MessageKind::Move:
            if (!DecodeMove(m.text, MoveForm::Payload)) return "Malformed move";
            break;
        // Any text a player types travels encoded in the reply, so none is refused.
        case MessageKind::Picture:
        case MessageKind::Chat:
            break;
        case MessageKind::Quit:
            if (!m.text.empty()) return "A quit carries no text";
            break;
    }
    return std::nullopt;
}

}  // namespace gd::server
