// Files beside the program: found without regard to letter case, tested by opening them.
#pragma once

#include <string>
#include <vector>

namespace gd {

// The path of `name` as it exists on disk: `name` itself when it exists, else the entry of its
// folder that equals it without regard to case, else `name` unchanged.
std::string FindFileNoCase(const std::string& name);
// True when the file can be opened for reading; every error answers false.
bool FileExists(const std::string& name);
// Makes `folder` the current folder; false when that fails.
bool ChangeToAppFolder(const std::string& folder);
// True when `name` ends in `ending`, letter case ignored.
bool EndsWithNoCase(const std::string& name, const std::string& ending);
// The names of the regular files in `folder` whose names end in `extension` (case ignored),
// sorted without regard to case.
std::vector<std::string> ListFilesNoCase(const std::string& folder, const std::string& extension);

}  // namespace gd
