// The LAN session layer's frames and discovery datagrams.
#include "lan_frames.h"

#include <charconv>
#include <vector>

namespace gd {

namespace {

const std::string kQueryMark = "GLYPHDROP-LAN/1 Q ";
const std::string kAnswerMark = "GLYPHDROP-LAN/1 S ";

bool KnownType(char c) {
    switch (static_cast<FrameType>(c)) {
        case FrameType::Join:
        case FrameType::Accept:
        case FrameType::Refuse:
        case FrameType::Text:
        case FrameType::Heartbeat:
        case FrameType::Bye:
            return true;
    }
    return false;
}

// Splits at most `count` - 1 times at `sep`; the last field keeps the rest.
std::vector<std::string_view> Split(std::string_view s, char sep, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const auto at = s.find(sep);
        if (at == std::string_view::npos) break;
        parts.push_back(s.substr(0, at));
        s.remove_prefix(at + 1);
    }
    parts.push_back(s);
    return parts;
}

template <typename N>
std::optional<N> ParseNumber(std::string_view s) {
    N value{};
    if (s.empty() || s.size() > 10 || s.front() == '0') return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string EncodeFrame(FrameType type, std::string_view payload) {
    const std::size_t body = payload.size() + 1;
    std::string out;
    out.reserve(body + 2);
    out.push_back(static_cast<char>((body >> 8) & 0xff));
    out.push_back(static_cast<char>(body & 0xff));
    out.push_back(static_cast<char>(type));
    out.append(payload);
    return out;
}

std::string DescribeFrameFault(FrameFault fault) {
    switch (fault) {
        case FrameFault::None:
            return "";
        case FrameFault::Empty:
            return "empty frame";
        case FrameFault::TooLarge:
            return "frame over 4 kB";
        case FrameFault::UnknownType:
            return "unknown frame type";
    }
    return "";
}

void FrameReader::Feed(std::string_view bytes) {
    if (skipping_ > 0) {
        const std::size_t n = std::min(skipping_, bytes.size());
        skipping_ -= n;
        bytes.remove_prefix(n);
    }
    buffer_.append(bytes);
}

std::optional<FrameReader::Result> FrameReader::Next() {
    if (skipping_ > 0 || buffer_.size() < 2) return std::nullopt;
    const std::size_t body =
        (static_cast<unsigned char>(buffer_[0]) << 8) | static_cast<unsigned char>(buffer_[1]);
    if (body == 0) {
        buffer_.erase(0, 2);
        return Result{{}, FrameFault::Empty};
    }
    if (body > kMaxFrameBody) {
        // Throw the oversized body away as it arrives instead of holding it.
        const std::size_t held = std::min(body, buffer_.size() - 2);
        buffer_.erase(0, 2 + held);
        skipping_ = body - held;
        if (skipping_ > 0) buffer_.clear();
        return Result{{}, FrameFault::TooLarge};
    }
    if (buffer_.size() < body + 2) return std::nullopt;
    const char type = buffer_[2];
    Result r;
    if (KnownType(type)) {
        r.frame.type = static_cast<FrameType>(type);
        r.frame.payload = buffer_.substr(3, body - 1);
    } else {
        r.fault = FrameFault::UnknownType;
    }
    buffer_.erase(0, body + 2);
    return r;
}

std::string EncodeJoin(const JoinRequest& join) {
    return join.appId + "\n" + std::to_string(join.instance) + "\n" + join.name;
}

std::optional<JoinRequest> DecodeJoin(std::string_view payload) {
    const auto parts = Split(payload, '\n', 3);
    if (parts.size() != 3) return std::nullopt;
    const auto instance = ParseNumber<std::uint32_t>(parts[1]);
    if (!instance || !ValidPlayerName(parts[2])) return std::nullopt;
    return JoinRequest{std::string(parts[0]), *instance, std::string(parts[2])};
}

std::string EncodeQuery(const std::string& appId) {
    return kQueryMark + appId;
}

std::optional<std::string> DecodeQuery(std::string_view datagram) {
    if (datagram.size() > kMaxDatagram || datagram.substr(0, kQueryMark.size()) != kQueryMark)
        return std::nullopt;
    return std::string(datagram.substr(kQueryMark.size()));
}

std::string EncodeAnswer(const SessionAnswer& a) {
    return kAnswerMark + a.appId + " " + std::to_string(a.instance) + " " +
           std::to_string(a.tcpPort) + " " + a.name;
}

std::optional<SessionAnswer> DecodeAnswer(std::string_view datagram) {
    if (datagram.size() > kMaxDatagram || datagram.substr(0, kAnswerMark.size()) != kAnswerMark)
        return std::nullopt;
    const auto parts = Split(datagram.substr(kAnswerMark.size()), ' ', 4);
    if (parts.size() != 4) return std::nullopt;
    const auto instance = ParseNumber<std::uint32_t>(parts[1]);
    const auto port = ParseNumber<std::uint16_t>(parts[2]);
    if (!instance || !port || !ValidPlayerName(parts[3])) return std::nullopt;
    return SessionAnswer{std::string(parts[0]), *instance, *port, std::string(parts[3])};
}

bool ValidPlayerName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    return true;
}

}  // namespace gd
