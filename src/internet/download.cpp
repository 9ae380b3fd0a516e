// The download function: a picture from the web into the program's folder, never over a file
// the program needs.
#include "download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "files.h"
#include "text.h"

namespace gd {
namespace {

// Files the program ships or writes, whatever their letter case.
const std::array<std::string, 7> kProgramFiles{"players.dat",     "players.tmp", "wordlist.dic",
                                               "glyphdrop.hlp",   "glyphdrop",   "gdpupdate",
                                               "glyphdrop-server"};
// Kinds of file beside the program that it reads: an existing one is never replaced.
const std::array<std::string, 7> kProgramExtensions{".bmp", ".png", ".wav", ".dic",
                                                    ".dat", ".tmp", ".hlp"};

// Tries to write all of `bytes` to a new file `path`; an existing file or link is never
// opened, so nothing already in the folder is overwritten.
enum class Write { Done, Exists, Failed };
Write WriteNew(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? Write::Exists : Write::Failed;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) {
            data += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (::close(fd) == 0 && ok) return Write::Done;
    ::unlink(path.c_str());
    return Write::Failed;
}

// The name itself, then "stem-1.ext", "stem-2.ext", ... for when a file of that name is there.
std::string Candidate(const std::string& name, int n) {
    if (n == 0) return name;
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string ext = stem.size() == name.size() ? "" : name.substr(dot);
    return stem + "-" + std::to_string(n) + ext;
}
constexpr int kMaxCandidates = 100;

std::optional<std::string> Refuse(Prompter& prompt) {
    prompt.Message(kDownloadErrorText, kDownloadErrorTitle);
    return std::nullopt;
}

}  // namespace

bool IsProtectedDownloadName(const std::string& folder, const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos)
        return true;
    const std::string lower = LowerAscii(name);
    for (const auto& file : kProgramFiles)
        if (lower == file) return true;
    const std::string existing = FindFileNoCase(folder + "/" + name);
    struct stat st {};
    if (::lstat(existing.c_str(), &st) != 0) return false;  // a new file
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0111) != 0) return true;
    for (const auto& ext : kProgramExtensions)
        if (EndsWithNoCase(name, ext)) return true;
    return false;
}

std::optional<std::string> DownloadFile(HttpTransfer& inet, Prompter& prompt,
                                        const std::string& url, const std::string& folder) {
    if (inet.StillExecuting()) return std::nullopt;
    const std::string name = url.substr(url.rfind('/') + 1);
    if (IsProtectedDownloadName(folder, name)) return Refuse(prompt);
    // The cap stops an oversized body while it arrives, not after it has all been read.
    const std::size_t cap = inet.MaxReplyBytes;
    inet.MaxReplyBytes = std::min(cap, kMaxDownloadBytes);
    const TransferReply reply = inet.OpenURL(url, TransferData::Bytes);
    inet.MaxReplyBytes = cap;
    if (!reply.ok || reply.body.size() > kMaxDownloadBytes) return Refuse(prompt);
    // A file already there under that name (another letter case included) stays as it is:
    // the picture goes beside it under a fresh name.
    for (int n = 0; n < kMaxCandidates; ++n) {
        const std::string candidate = Candidate(name, n);
        if (n > 0 && IsProtectedDownloadName(folder, candidate)) continue;
        if (FindFileNoCase(folder + "/" + candidate) != folder + "/" + candidate) continue;
        const std::string path = folder + "/" + candidate;
        const Write result = WriteNew(path, reply.body);
        if (result == Write::Done) return path;
        if (result == Write::Failed) break;
    }
    return Refuse(prompt);
}

}  // namespace gd
