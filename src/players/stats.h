// The statistics list: one fixed-column line per profile, separators between them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "profile.h"
#include "services.h"
#include "state.h"

namespace gd {

inline const std::string kStatsSeparator = "--------------------------|------|------|------|";
inline const std::string kNoScoresFound = "No Scores Found";

// Name in 26 columns, then Won, Lost and Tied right-aligned in 6 columns, each followed by
// "|". A longer name or number is not cut; the later columns shift instead.
std::string StatsLine(const PlayerProfile& p);
// The list's lines: "No Scores Found" without a profile file, else the record lines in file
// order with a separator before every line but the first.
std::vector<std::string> StatsLines(const ProfileFile& f);

// The profile file as the match's result book: each finished game on its record; a write that
// fails says so in the status list.
class ProfileResults : public ResultBook {
  public:
    ProfileResults(GameState& s, ProfileFile f) : s_(s), f_(std::move(f)) {}
    void Record(const std::string& name, GameOutcome outcome) override {
        CountFinishedGame(s_, f_, name, outcome);
    }

  private:
    GameState& s_;
    ProfileFile f_;
};

}  // namespace gd
