// Helpers of the profile and player window tests: reading fields back at their offsets, a new
// profile, and hooks that record where the players' logic reached out.
#pragma once

#include <cstdint>
#include <string>

#include <utility>
#include <vector>

#include "player_hooks.h"
#include "profile.h"
#include "temp_folder.h"

namespace gd::test {

// The text of `width` bytes at `offset` of `bytes`, and the little-endian 16-bit number there.
inline std::string TextAt(const std::string& bytes, std::size_t offset, std::size_t width) {
    return bytes.substr(offset, width);
}
inline int IntAt(const std::string& bytes, std::size_t offset) {
    const auto lo = static_cast<unsigned char>(bytes.at(offset));
    const auto hi = static_cast<unsigned char>(bytes.at(offset + 1));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}
inline std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

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

class RecordingPlayerHooks : public PlayerHooks {
  public:
    void ApplyProxy(bool useProxy, const std::string& address) override {
        proxy.emplace_back(useProxy, address);
    }
    void ShowBackground(const std::string& file) override { backgrounds.push_back(file); }
    std::vector<std::pair<bool, std::string>> proxy;
    std::vector<std::string> backgrounds;
};

}  // namespace gd::test
