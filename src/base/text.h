// Text helpers for the single-byte texts of the files and the wire, and the program's version.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace gd {

// The version the program reports and the update check sends.
inline const std::string kProgramVersion = "1.1";

// Blanks only are trimmed, and only the ASCII letters change case, so bytes outside ASCII
// pass through unchanged.
std::string Trim(const std::string& s);
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);

// How often `token` occurs in `text`, overlapping occurrences counted ("jjj" twice in "jjjj").
std::size_t CountOccurrences(const std::string& text, std::string_view token);

// The markers of the play-data block, in their order; its reader takes the first of each, so
// each may occur only once in a block.
inline constexpr std::array<std::string_view, 12> kPlayDataMarkers = {
    "xxx", "jjj", "hh*", "*qq", "cc*", "*ee", "rr*", "*pp", "tt*", "*vv", "mm*", "*aa"};

}  // namespace gd
