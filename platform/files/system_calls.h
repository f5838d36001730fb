#pragma once

#include <sys/types.h>

#include <cstddef>

// The system calls through which the program writes its own files (the INI file, copies of data
// files). Like SQLite's (sqlite3_vfs::xSetSystemCall) they can be replaced, so that a test makes
// the n-th write or sync fail as a full or failing disk does; the program never replaces them.
namespace files::sys {

using WriteCall = ssize_t (*)(int fd, const void* data, size_t size);
using SyncCall = int (*)(int fd);

ssize_t write(int fd, const void* data, size_t size);
int fsync(int fd);

// Puts other calls in place; nullptr puts the system's own back.
void replace(WriteCall write, SyncCall sync);

}  // namespace files::sys
