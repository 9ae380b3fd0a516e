// "players.dat" records written by tests: a new player's profile and files of such records.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "profile.h"

namespace gd::test {

// A profile as the settings window fills it for a new player.
inline PlayerProfile NewProfile(const std::string& name, const std::string& password = "") {
    PlayerProfile p;
    p.PlayerName = name;
    p.Password = password;
    p.Location = "Leeds";
    p.PhotoMode = 2;
    for (int i = 0; i < kSoundEventCount; ++i)
        p.SoundFiles[i] = kDefaultSoundFiles[i];
    p.Background = "Marble";
    p.ComputerSkill = 2;
    return p;
}

// The bytes of a profile file holding these records in this order.
inline std::string Records(const std::vector<PlayerProfile>& all) {
    std::string bytes;
    for (const auto& p : all)
        bytes += EncodeProfile(p);
    return bytes;
}

// Appends these profiles' records to the profile file `path`.
inline void WriteProfiles(const std::string& path, const std::vector<PlayerProfile>& all) {
    std::ofstream(path, std::ios::binary | std::ios::app) << Records(all);
}

}  // namespace gd::test
