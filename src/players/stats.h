// The statistics list: one fixed-column line per profile, separators between them.
#pragma once

#include <string>
#include <vector>

#include "profile.h"

namespace gd {

inline const std::string kStatsSeparator = "--------------------------|------|------|------|";
inline const std::string kNoScoresFound = "No Scores Found";

// Name in 26 columns, then Won, Lost and Tied right-aligned in 6 columns, each followed by
// "|". A longer name or number is not cut; the later columns shift instead.
std::string StatsLine(const PlayerProfile& p);
// The list's lines: "No Scores Found" without a profile file, else the record lines in file
// order with a separator before every line but the first.
std::vector<std::string> StatsLines(const ProfileFile& f);

}  // namespace gd
