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
#include "wordlist.h"

namespace gd {
namespace {

// Files the program ships or writes, whatever their letter case.
const std::array<std::string, 7> kProgramFiles{"players.dat",     "players.tmp", "wordlist.dic",
                                               "glyphdrop.hlp",   "glyphdrop",   "gdpupdate",
                                               "glyphdrop-server"};
// Kinds of file beside the program that it reads: an existing one is never replaced.
const std::array<std::string, 7> kProgramExtensions{".bmp", ".png", ".wav", ".dic",
                                                    ".dat", ".tmp", ".hlp"};

// Writes all of `bytes` to `path` from empty, without following a symbolic link.
bool WriteWhole(const std::string& path, const std::string& bytes) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
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
    return ::close(fd) == 0 && ok;
}

bool Refuse(Prompter& prompt) {
    prompt.Message(kDownloadErrorText, kDownloadErrorTitle);
    return false;
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

bool DownloadFile(HttpTransfer& inet, Prompter& prompt, const std::string& url,
                  const std::string& folder) {
    if (inet.StillExecuting()) return false;
    const std::string name = url.substr(url.rfind('/') + 1);
    if (IsProtectedDownloadName(folder, name)) return Refuse(prompt);
    // The cap stops an oversized body while it arrives, not after it has all been read.
    const std::size_t cap = inet.MaxReplyBytes;
    inet.MaxReplyBytes = std::min(cap, kMaxDownloadBytes);
    const TransferReply reply = inet.OpenURL(url, TransferData::Bytes);
    inet.MaxReplyBytes = cap;
    if (!reply.ok || reply.body.size() > kMaxDownloadBytes) return Refuse(prompt);
    const std::string path = folder + "/" + name;
    if (!WriteWhole(path, reply.body)) {
        ::unlink(path.c_str());
        return Refuse(prompt);
    }
    return true;
}

}  // namespace gd
