#pragma once

// What the kernel says this process holds of a file: its open descriptors and its locks.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace support {

// How many descriptors of this process refer to the file or to its "-wal" and "-shm".
inline int descriptorsOn(const std::string& file) {
    struct Id {
        dev_t dev;
        ino_t ino;
    };
    Id ids[3];
    int n = 0;
    for (const char* side : {"", "-wal", "-shm"}) {
        struct stat st;
        if (::stat((file + side).c_str(), &st) == 0) ids[n++] = {st.st_dev, st.st_ino};
    }
    int count = 0;
    DIR* d = ::opendir("/proc/self/fd");
    if (!d) return -1;
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        struct stat st;
        if (::fstatat(::dirfd(d), e->d_name, &st, 0) != 0) continue;
        for (int i = 0; i < n; ++i)
            if (ids[i].dev == st.st_dev && ids[i].ino == st.st_ino) ++count;
    }
    ::closedir(d);
    return count;
}

// Whether process `pid` (any process but this one for 0) holds a lock of SQLite's kind on the
// file, as /proc/locks lists it.
inline bool holdsLock(pid_t pid, const std::string& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return false;
    std::ifstream locks("/proc/locks");
    std::string line;
    const std::string inode = ":" + std::to_string(st.st_ino);
    while (std::getline(locks, line)) {
        std::istringstream f(line);
        std::string n, kind, advisory, mode, owner, dev;
        f >> n >> kind;
        if (kind == "->") continue;  // a lock still waited for is not held
        f >> advisory >> mode >> owner >> dev;
        const bool whose = pid == 0 ? owner != std::to_string(::getpid()) : owner == std::to_string(pid);
        if (kind == "POSIX" && whose && dev.size() > inode.size() &&
            dev.compare(dev.size() - inode.size(), inode.size(), inode) == 0)
            return true;
    }
    return false;
}

}  // namespace support
