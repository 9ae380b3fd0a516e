// The few file operations that reading and replacing "players.dat" need, behind an interface
// so that tests can fail or crash any single one of them.
#pragma once

#include <cstddef>
#include <string>

namespace gd {

struct FileRead {
    bool exists = false;  // false when there is no such file (not an error)
    bool ok = true;       // false when the file exists but could not be read
    std::string bytes;
    std::string error;
};

class FileIo {
  public:
    virtual ~FileIo() = default;
    virtual FileRead Read(const std::string& path) = 0;
    // Opens `path` for writing from empty, creating it; -1 on failure.
    virtual int Create(const std::string& path) = 0;
    // Writes all `size` bytes or fails.
    virtual bool Write(int handle, const char* data, std::size_t size) = 0;
    // Flushes the file's data to the disk.
    virtual bool Sync(int handle) = 0;
    virtual bool Close(int handle) = 0;
    // Replaces `to` by `from` in one step.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Flushes the folder entry, so that a rename survives a power loss.
    virtual bool SyncFolder(const std::string& folder) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // The description of the last failure.
    virtual std::string LastError() const = 0;
};

// The real file system (POSIX calls).
FileIo& SystemFileIo();

}  // namespace gd
