// Fuzz target: the opponent's play-data block is read from any received text without a fault,
// and a block the program builds from any profile reads back as that profile and passes the
// game server's check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game_wire.h"
#include "profile.h"
#include "text.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckRoundTrip(const std::string& bytes) {
    const auto cut = bytes.find('\n');
    if (cut == std::string::npos) return;
    gd::PlayerProfile p;
    p.PlayerName = bytes.substr(0, cut);
    p.Location = bytes.substr(cut + 1);
    p.Played = static_cast<std::int16_t>(bytes.size());
    p.Lost = -7;
    const std::string block = gd::BuildPlayDataBlock(p);
    Require(gd::wire::ParsePlayDataBlock(block).has_value());
    const gd::PlayData d = gd::ReadPlayDataBlock(block);
    Require(d.name == gd::Trim(p.PlayerName));
    Require(d.location == gd::Trim(p.Location));
    Require(d.played == std::to_string(p.Played));
    Require(d.lost == "-7");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const gd::PlayData d = gd::ReadPlayDataBlock(text);
    for (const std::string* field : {&d.name, &d.location, &d.played, &d.won, &d.lost, &d.tied})
        Require(field->size() <= text.size());
    CheckRoundTrip(text);
    return 0;
}
