// Reading a profile's counters from the fixed 1890-byte records of "players.dat".
#include "profile_counters.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

#include "wordlist.h"

namespace gd {

namespace {

constexpr std::size_t kRecordSize = 1890;
constexpr std::size_t kNameWidth = 25;
constexpr std::size_t kPlayedOffset = 1626;  // then Won, Lost and Tied, 2 bytes each

int Int16At(const char* record, std::size_t offset) {
    const auto low = static_cast<std::uint8_t>(record[offset]);
    const auto high = static_cast<std::uint8_t>(record[offset + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
}

}  // namespace

std::optional<ProfileCounters> ReadProfileCounters(const std::string& path,
                                                   const std::string& name) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string wanted = Trim(name);
    char record[kRecordSize];
    while (in.read(record, kRecordSize)) {
        if (Trim(std::string(record, kNameWidth)) != wanted) continue;
        ProfileCounters counters;
        counters.Played = Int16At(record, kPlayedOffset);
        counters.Won = Int16At(record, kPlayedOffset + 2);
        counters.Lost = Int16At(record, kPlayedOffset + 4);
        counters.Tied = Int16At(record, kPlayedOffset + 6);
        return counters;
    }
    return std::nullopt;
}

}  // namespace gd
