#pragma once

#include <sys/statvfs.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

// The system calls through which the program writes its own files (the INI file, copies of data
// files, pictures, printouts into files, text files), and asks how much space a disk has left.
// Like SQLite's (sqlite3_vfs::xSetSystemCall) they can be replaced, so that a test makes the n-th
// write or sync fail as a full or failing disk does; the program never replaces them.
namespace files::sys {

using WriteCall = ssize_t (*)(int fd, const void* data, size_t size);
using SyncCall = int (*)(int fd);
using StatvfsCall = int (*)(const char* path, struct statvfs* out);

ssize_t write(int fd, const void* data, size_t size);
int fsync(int fd);
int statvfs(const char* path, struct statvfs* out);

// Puts other calls in place; nullptr puts the system's own back.
void replace(WriteCall write, SyncCall sync, StatvfsCall statvfs = nullptr);

// Whether the file system holding `path` (a file or a folder) has no space left for a writer
// without special rights; false when that cannot be told.
bool diskFull(const std::string& path);

}  // namespace files::sys
