// POSIX implementation of the profile file's file operations.
#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace gd {
namespace {

class SystemIo : public FileIo {
  public:
    FileRead Read(const std::string& path) override {
        FileRead r;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            r.exists = errno != ENOENT && errno != ENOTDIR;
            r.ok = !r.exists;
            if (!r.ok) r.error = Describe(path);
            return r;
        }
        r.exists = true;
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                r.ok = false;
                r.error = Describe(path);
                r.bytes.clear();
                break;
            }
            r.bytes.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return r;
    }

    int Create(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) last_ = Describe(path);
        return fd;
    }

    bool Write(int handle, const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(handle, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {  // a write that makes no progress would otherwise loop for ever
                if (n == 0) errno = ENOSPC;
                last_ = Describe("write");
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool Sync(int handle) override { return Check(::fsync(handle) == 0, "fsync"); }
    bool Close(int handle) override { return Check(::close(handle) == 0, "close"); }

    bool Rename(const std::string& from, const std::string& to) override {
        return Check(::rename(from.c_str(), to.c_str()) == 0, to);
    }

    bool SyncFolder(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return Check(false, folder);
        // A file system that cannot flush a folder (EINVAL) keeps its renames without it.
        const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
        if (!ok) last_ = Describe(folder);
        ::close(fd);
        return ok;
    }

    bool Remove(const std::string& path) override {
        return Check(::unlink(path.c_str()) == 0 || errno == ENOENT, path);
    }

    std::string LastError() const override { return last_; }

  private:
    static std::string Describe(const std::string& what) {
        return what + ": " + std::strerror(errno);
    }
    bool Check(bool ok, const std::string& what) {
        if (!ok) last_ = Describe(what);
        return ok;
    }
    std::string last_;
};

}  // namespace

FileIo& SystemFileIo() {
    static SystemIo io;
    return io;
}

}  // namespace gd
