// Case-insensitive file lookup and the program's folder.
#include "files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "wordlist.h"

namespace fs = std::filesystem;

namespace gd {

std::string FindFileNoCase(const std::string& name) {
    std::error_code ec;
    if (name.empty() || fs::exists(name, ec)) return name;
    const fs::path path(name);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string wanted = LowerAscii(path.filename().string());
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (LowerAscii(it->path().filename().string()) == wanted)
            return path.has_parent_path() ? (folder / it->path().filename()).string()
                                          : it->path().filename().string();
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
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        if (EndsWithNoCase(name, extension)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return LowerAscii(a) < LowerAscii(b);
    });
    return names;
}

}  // namespace gd
