// Helpers of the profile and player window tests: offsets, message boxes, fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"
#include "player_hooks.h"
#include "profile.h"
#include "profile_records.h"
#include "temp_folder.h"

namespace gd::test {

// The little-endian 16-bit number at `offset` of `bytes`; `text` filled with blanks to `width`.
inline int IntAt(const std::string& bytes, std::size_t offset) {
    const auto lo = static_cast<unsigned char>(bytes.at(offset));
    const auto hi = static_cast<unsigned char>(bytes.at(offset + 1));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}
inline std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

// The text and title of the last message box, both empty when none was shown.
using Box = std::pair<std::string, std::string>;
inline Box LastBox(const ScriptedPrompter& prompt) {
    return prompt.shown.empty() ? Box{} : Box{prompt.shown.back().text, prompt.shown.back().title};
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

// A program folder of the test's own with its profile file, and the fakes the players' logic
// reaches out to.
struct PlayersTest : ::testing::Test {
    TempFolder dir;
    ProfileFile f{dir.path};
    GameState s;
    ScriptedPrompter prompt;
    RecordingPlayerHooks hooks;
    void Store(const std::vector<PlayerProfile>& all) { dir.Write("players.dat", Records(all)); }
    std::string Bytes() const { return dir.Read("players.dat"); }
};

}  // namespace gd::test
