// A small file system of a test's own: a tmpfs mounted in a private mount namespace of the
// test's thread, so nobody else sees it and it goes when the test process ends. Needs root.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "temp_folder.h"

namespace gd::test {

class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes) {
        // Threads and processes started later inherit the namespace: a server or a store's
        // writer sees the disk too.
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder_.path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                  ("size=" + std::to_string(bytes)).c_str()) != 0)
            why_ = std::string("mounting a small file system is not permitted here (") +
                   std::strerror(errno) + ")";
    }
    ~SmallDisk() {
        if (why_.empty()) umount2(folder_.path.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Empty when the disk is mounted; else why not, for the skipped test's line.
    const std::string& Why() const { return why_; }
    std::string File(const std::string& name) const { return folder_.File(name); }
    bool MakeReadOnly() {
        return mount(nullptr, folder_.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    TempFolder folder_;
    std::string why_;
};

}  // namespace gd::test

#define GD_SKIP_WITHOUT_SMALL_DISK(disk)                         \
    do {                                                         \
        if (!(disk).Why().empty()) GTEST_SKIP() << (disk).Why(); \
    } while (false)
