#pragma once

// What the kernel says this process holds of a file: its open descriptors and its locks.

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
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

// Whether process `pid` (any process but this one for 0) holds a lock on the file. Looked up in
// the process's own descriptors (/proc/<pid>/fdinfo lists the locks of each), so that locks of the
// process and locks of one of its open file descriptions count alike.
inline bool holdsLock(pid_t pid, const std::string& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return false;
    char dev[32];
    std::snprintf(dev, sizeof dev, "%02x:%02x:", ::major(st.st_dev), ::minor(st.st_dev));
    const std::string id = dev + std::to_string(st.st_ino) + " ";
    auto holds = [&](const std::string& proc) {
        DIR* d = ::opendir((proc + "/fdinfo").c_str());
        if (!d) return false;
        bool found = false;
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.') continue;
            std::ifstream info(proc + "/fdinfo/" + e->d_name);
            std::string line;
            while (!found && std::getline(info, line))
                found = line.rfind("lock:", 0) == 0 && line.find(" -> ") == std::string::npos &&
                        line.find(id) != std::string::npos;
            if (found) break;
        }
        ::closedir(d);
        return found;
    };
    if (pid != 0) return holds("/proc/" + std::to_string(pid));
    DIR* d = ::opendir("/proc");
    bool found = false;
    while (dirent* e = d ? ::readdir(d) : nullptr) {
        const std::string name = e->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (std::stol(name) == ::getpid()) continue;
        if ((found = holds("/proc/" + name))) break;
    }
    if (d) ::closedir(d);
    return found;
}

}  // namespace support
