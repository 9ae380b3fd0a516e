// Text helpers for the single-byte texts of the files and the wire, and the program's version.
#pragma once

#include <string>

namespace gd {

// The version the program reports and the update check sends.
inline const std::string kProgramVersion = "1.1";

// Blanks only are trimmed, and only the ASCII letters change case, so bytes outside ASCII
// pass through unchanged.
std::string Trim(const std::string& s);
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);

}  // namespace gd
