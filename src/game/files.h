// Files beside the program: found without regard to letter case, tested by opening them.
#pragma once

#include <string>
#include <vector>

namespace gd {

// Where the program's files are. `home` is the program's folder: "players.dat", downloads and
// the player's own files. `readOnly`, set for an installed program, holds the files it ships
// ("wordlist.dic", the pictures, the sounds, the help); a file missing from `home` is found
// there as if it lay beside the program, so a file of the same name in `home` wins.
struct ProgramFolders {
    std::string home;
    std::string readOnly;  // empty: every file lies in `home`
};

// Moves the player's files from the folder an earlier version kept them in, `old`, to `now`:
// the whole folder when `now` does not exist yet, else each file `now` lacks (so profiles are
// never lost and never overwritten); `old` goes once it is empty. False when a move failed.
bool MoveOldDataFolder(const std::string& old, const std::string& now);

// The folders the lookups below use from now on; the application hands them over at start.
void UseProgramFolders(ProgramFolders folders);

// The path of `name` as it exists on disk: `name` itself when it exists, else the entry of its
// folder that equals it without regard to case, else (for a file of the program's folder) the
// same lookup in the read-only folder, else `name` unchanged.
std::string FindFileNoCase(const std::string& name);
// True when the file can be opened for reading; every error answers false.
bool FileExists(const std::string& name);
// Makes `folder` the current folder; false when that fails.
bool ChangeToAppFolder(const std::string& folder);
// True when `name` ends in `ending`, letter case ignored.
bool EndsWithNoCase(const std::string& name, const std::string& ending);
// The names of the regular files in `folder` whose names end in `extension` (case ignored),
// sorted without regard to case. The program's folder lists the read-only folder's files too,
// once each.
std::vector<std::string> ListFilesNoCase(const std::string& folder, const std::string& extension);

}  // namespace gd
