// The game counters of one profile in "players.dat", read without the rest of the record.
#pragma once

#include <optional>
#include <string>

namespace gd {

struct ProfileCounters {
    int Played = 0, Won = 0, Lost = 0, Tied = 0;
};

// The counters of the first record whose trimmed name equals the trimmed `name` exactly;
// nothing when the file cannot be read or holds no such record. A trailing partial record is
// not read.
std::optional<ProfileCounters> ReadProfileCounters(const std::string& path,
                                                   const std::string& name);

}  // namespace gd
