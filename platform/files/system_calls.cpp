#include "platform/files/system_calls.h"

#include <unistd.h>

#include <atomic>

namespace files::sys {

namespace {
std::atomic<WriteCall> g_write{&::write};
std::atomic<SyncCall> g_sync{&::fsync};
std::atomic<StatvfsCall> g_statvfs{&::statvfs};
}  // namespace

ssize_t write(int fd, const void* data, size_t size) { return g_write.load()(fd, data, size); }

int fsync(int fd) { return g_sync.load()(fd); }

int statvfs(const char* path, struct statvfs* out) { return g_statvfs.load()(path, out); }

void replace(WriteCall write, SyncCall sync, StatvfsCall statvfs) {
    g_write = write ? write : &::write;
    g_sync = sync ? sync : &::fsync;
    g_statvfs = statvfs ? statvfs : &::statvfs;
}

bool diskFull(const std::string& path) {
    struct statvfs st {};
    if (sys::statvfs(path.c_str(), &st) == 0) return st.f_bavail == 0;
    // A file that is gone by now: its folder.
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return false;
    return sys::statvfs(path.substr(0, slash).c_str(), &st) == 0 && st.f_bavail == 0;
}

}  // namespace files::sys
