// The LAN session layer's frames: length-prefixed frames on the session connection and the
// discovery datagrams. Plain text and bytes, no sockets, so hostile input is tested directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gd {

// This game's own application identifier: only sessions carrying it are listed and joined.
inline const std::string kLanApplicationId = "6b1d4c2e-47a0-4f31-9e52-glyphdrop";

// The largest frame body (type byte and payload) either side accepts.
constexpr std::size_t kMaxFrameBody = 4096;

// Frame types. A frame is a 2-byte big-endian body length, then the body: type byte, payload.
enum class FrameType : char {
    Join = 'J',       // joiner -> host: application id, instance, player name
    Accept = 'A',     // host -> joiner: the host's player name
    Refuse = 'R',     // host -> joiner: why the join was refused; the host then closes
    Text = 'T',       // a player message
    Heartbeat = 'H',  // sent every second while joined
    Bye = 'B',        // an orderly leave
};

struct Frame {
    FrameType type = FrameType::Text;
    std::string payload;
};

// The bytes of one frame. The payload must fit `kMaxFrameBody`.
std::string EncodeFrame(FrameType type, std::string_view payload);

// Why a frame was refused where it entered.
enum class FrameFault { None, Empty, TooLarge, UnknownType };
std::string DescribeFrameFault(FrameFault fault);

// Cuts a byte stream into frames. A refused frame is skipped whole, so the stream stays in step;
// no more than one frame's bytes are ever held.
class FrameReader {
  public:
    struct Result {
        Frame frame;
        FrameFault fault = FrameFault::None;
    };
    void Feed(std::string_view bytes);
    // The next complete frame (or refusal), or nothing until more bytes arrive.
    std::optional<Result> Next();

  private:
    std::string buffer_;
    std::size_t skipping_ = 0;  // bytes of a refused frame still to throw away
};

// The join frame's payload and its reading.
struct JoinRequest {
    std::string appId;
    std::uint32_t instance = 0;
    std::string name;
};
std::string EncodeJoin(const JoinRequest& join);
std::optional<JoinRequest> DecodeJoin(std::string_view payload);

// Discovery: a lister sends a query; each waiting host answers with its session.
struct SessionAnswer {
    std::string appId;
    std::uint32_t instance = 0;
    std::uint16_t tcpPort = 0;
    std::string name;
};
constexpr std::size_t kMaxDatagram = 512;
std::string EncodeQuery(const std::string& appId);
// The application id a query asks for, or nothing for anything else.
std::optional<std::string> DecodeQuery(std::string_view datagram);
std::string EncodeAnswer(const SessionAnswer& answer);
std::optional<SessionAnswer> DecodeAnswer(std::string_view datagram);

// A player name as it may travel: 1..64 printable bytes, no line breaks.
bool ValidPlayerName(std::string_view name);

}  // namespace gd
