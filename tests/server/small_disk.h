// A small file system of a test's own: a tmpfs mounted in a private mount namespace of the
// test's thread (and the threads and processes it starts), gone with the process. Needs root.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "temp_folder.h"

namespace gd::test {

struct SmallDisk {
    explicit SmallDisk(std::size_t bytes) {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder.path.c_str(), "tmpfs", 0,
                  ("size=" + std::to_string(bytes)).c_str()) != 0)
            why = std::string("mounting a file system is not permitted: ") + std::strerror(errno);
    }
    ~SmallDisk() { umount2(folder.path.c_str(), MNT_DETACH); }
    bool MakeReadOnly() {
        return mount(nullptr, folder.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    TempFolder folder;
    std::string why;  // empty when mounted; else the skipped test's line
};

}  // namespace gd::test
