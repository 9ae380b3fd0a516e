// Fuzz target: the LAN frame reader and the join, query and answer decoders, fed any bytes from
// the connection or the discovery port. Frames cut from a stream must not depend on how the
// stream was split into reads, and whatever is accepted must encode back to what was received.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "lan_frames.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

using Results = std::vector<gd::FrameReader::Result>;

// Feeds `bytes` in pieces of at most `piece` bytes, taking every frame as soon as it is whole.
Results ReadFrames(std::string_view bytes, std::size_t piece) {
    gd::FrameReader reader;
    Results out;
    while (!bytes.empty()) {
        const std::size_t n = std::min(piece, bytes.size());
        reader.Feed(bytes.substr(0, n));
        bytes.remove_prefix(n);
        while (auto r = reader.Next())
            out.push_back(*r);
    }
    return out;
}

bool Same(const Results& a, const Results& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].fault != b[i].fault || a[i].frame.type != b[i].frame.type ||
            a[i].frame.payload != b[i].frame.payload)
            return false;
    return true;
}

void CheckFrames(std::string_view bytes) {
    const Results whole = ReadFrames(bytes, bytes.size() + 1);
    Require(Same(whole, ReadFrames(bytes, 1)));
    Require(Same(whole, ReadFrames(bytes, 7)));
    for (const auto& r : whole) {
        if (r.fault != gd::FrameFault::None) continue;
        Require(r.frame.payload.size() < gd::kMaxFrameBody);
        Require(bytes.find(gd::EncodeFrame(r.frame.type, r.frame.payload)) != std::string::npos);
        if (r.frame.type == gd::FrameType::Join) {
            if (const auto join = gd::DecodeJoin(r.frame.payload))
                Require(gd::EncodeJoin(*join) == r.frame.payload);
        }
    }
}

void CheckDatagram(std::string_view bytes) {
    if (const auto join = gd::DecodeJoin(bytes)) {
        Require(gd::ValidPlayerName(join->name));
        Require(gd::EncodeJoin(*join) == bytes);
    }
    if (const auto app = gd::DecodeQuery(bytes)) Require(gd::EncodeQuery(*app) == bytes);
    if (const auto answer = gd::DecodeAnswer(bytes)) {
        Require(answer->tcpPort != 0 && gd::ValidPlayerName(answer->name));
        Require(gd::EncodeAnswer(*answer) == bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckFrames(bytes);
    CheckDatagram(bytes);
    return 0;
}
