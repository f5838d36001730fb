#include "platform/files/system_calls.h"

#include <unistd.h>

#include <atomic>

namespace files::sys {

namespace {
std::atomic<WriteCall> g_write{&::write};
std::atomic<SyncCall> g_sync{&::fsync};
}  // namespace

ssize_t write(int fd, const void* data, size_t size) { return g_write.load()(fd, data, size); }

int fsync(int fd) { return g_sync.load()(fd); }

void replace(WriteCall write, SyncCall sync) {
    g_write = write ? write : &::write;
    g_sync = sync ? sync : &::fsync;
}

}  // namespace files::sys
