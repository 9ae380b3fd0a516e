// Case-insensitive file lookup in the program's folder and an installed program's read-only files.
#include "files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "wordlist.h"

namespace fs = std::filesystem;

namespace gd {

namespace {

// The one copy of the program's folders, handed over by UseProgramFolders.
ProgramFolders& FoldersInUse() {
    static ProgramFolders folders;
    return folders;
}

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// The name of the entry of `folder` that equals `filename` without regard to case, or empty.
std::string EntryNoCase(const fs::path& folder, const std::string& filename) {
    const std::string wanted = LowerAscii(filename);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (LowerAscii(entry) == wanted) return entry;
    }
    return "";
}

// True when an installed program's read-only files stand in for files missing from `folder`.
bool HasReadOnlyFiles(const fs::path& folder) {
    std::error_code ec;
    return !FoldersInUse().readOnly.empty() && fs::equivalent(folder, FoldersInUse().home, ec);
}

void ListInto(std::vector<std::string>& names, const fs::path& folder,
              const std::string& extension) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        if (EndsWithNoCase(name, extension)) names.push_back(name);
    }
}

}  // namespace

bool MoveOldDataFolder(const std::string& old, const std::string& now) {
    std::error_code ec;
    if (!fs::is_directory(old, ec)) return true;
    if (!fs::exists(now, ec)) {
        fs::rename(old, now, ec);
        return !ec;
    }
    bool moved = true;
    for (fs::directory_iterator it(old, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path target = fs::path(now) / it->path().filename();
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || fs::exists(target, fileEc)) continue;
        fs::rename(it->path(), target, fileEc);
        moved = moved && !fileEc;
    }
    fs::remove(old, ec);  // only when nothing is left in it
    return moved;
}

void UseProgramFolders(ProgramFolders folders) {
    FoldersInUse() = std::move(folders);
}

std::string FindFileNoCase(const std::string& name) {
    std::error_code ec;
    if (name.empty() || fs::exists(name, ec)) return name;
    const fs::path path(name);
    const fs::path folder = FolderOf(path);
    const std::string filename = path.filename().string();
    const std::string entry = EntryNoCase(folder, filename);
    if (!entry.empty()) return path.has_parent_path() ? (folder / entry).string() : entry;
    if (HasReadOnlyFiles(folder)) {
        const fs::path readOnly(FoldersInUse().readOnly);
        const std::string shipped = EntryNoCase(readOnly, filename);
        if (!shipped.empty()) return (readOnly / shipped).string();
    }
    return name;
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    const std::string found = FindFileNoCase(name);
    if (found.empty() || fs::is_directory(found, ec)) return false;
    std::ifstream in(found, std::ios::binary);
    return static_cast<bool>(in);
}

bool ChangeToAppFolder(const std::string& folder) {
    std::error_code ec;
    fs::current_path(folder, ec);
    return !ec;
}

bool EndsWithNoCase(const std::string& name, const std::string& ending) {
    return name.size() >= ending.size() &&
           LowerAscii(name.substr(name.size() - ending.size())) == LowerAscii(ending);
}

std::vector<std::string> ListFilesNoCase(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    ListInto(names, folder, extension);
    if (HasReadOnlyFiles(folder)) {
        std::vector<std::string> shipped;
        ListInto(shipped, FoldersInUse().readOnly, extension);
        std::set<std::string> own;
        for (const auto& name : names)
            own.insert(LowerAscii(name));
        // A file of the program's folder wins over the shipped one of the same name.
        for (const auto& name : shipped)
            if (!own.count(LowerAscii(name))) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return LowerAscii(a) < LowerAscii(b);
    });
    return names;
}

}  // namespace gd
