#include "support/disk_faults.h"

#include <sqlite3.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/files/system_calls.h"

namespace support {

namespace {

struct State {
    bool counting = false;
    long seen = 0;
    long failAt = 0;  // 0: none
    int error = 0;
    bool hit = false;
};
State g_state;
State g_reads;  // reads: failAt and hit only, always EIO
std::string g_failedReadFile;

// Counts one write, truncation or sync; true when it is to fail (errno is set then). A full disk
// refuses every write and sync from the n-th call on, but no truncation (which frees space or
// leaves a hole); an I/O error hits the n-th call, or the first after it that a fault can hit.
bool fails(bool truncation = false) {
    State& s = g_state;
    if (!s.counting) return false;
    ++s.seen;
    if (s.failAt == 0 || s.seen < s.failAt) return false;
    if (s.error == ENOSPC ? truncation : s.hit) return false;
    s.hit = true;
    errno = s.error;
    return true;
}

// Counts one read; true when it is the one to fail (errno is set then).
bool readFails(int fd) {
    State& s = g_reads;
    if (!s.counting) return false;
    ++s.seen;
    if (s.failAt == 0 || s.seen != s.failAt) return false;
    s.hit = true;
    char name[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), name, sizeof name);
    g_failedReadFile = n > 0 ? std::string(name, static_cast<size_t>(n)) : "?";
    errno = EIO;
    return true;
}

// ------------------------------------------------------------------ SQLite's system calls

using WriteFn = ssize_t (*)(int, const void*, size_t);
using PwriteFn = ssize_t (*)(int, const void*, size_t, off_t);
using Pwrite64Fn = ssize_t (*)(int, const void*, size_t, off64_t);
using TruncateFn = int (*)(int, off_t);
using FallocateFn = int (*)(int, off_t, off_t);
using ReadFn = ssize_t (*)(int, void*, size_t);
using PreadFn = ssize_t (*)(int, void*, size_t, off_t);
using Pread64Fn = ssize_t (*)(int, void*, size_t, off64_t);

WriteFn g_write = nullptr;
PwriteFn g_pwrite = nullptr;
Pwrite64Fn g_pwrite64 = nullptr;
TruncateFn g_ftruncate = nullptr;
FallocateFn g_fallocate = nullptr;
ReadFn g_read = nullptr;
PreadFn g_pread = nullptr;
Pread64Fn g_pread64 = nullptr;

ssize_t shimWrite(int fd, const void* data, size_t n) { return fails() ? -1 : g_write(fd, data, n); }
ssize_t shimPwrite(int fd, const void* data, size_t n, off_t at) { return fails() ? -1 : g_pwrite(fd, data, n, at); }
ssize_t shimPwrite64(int fd, const void* data, size_t n, off64_t at) {
    return fails() ? -1 : g_pwrite64(fd, data, n, at);
}
int shimFtruncate(int fd, off_t size) { return fails(true) ? -1 : g_ftruncate(fd, size); }
// posix_fallocate answers with the error number itself.
int shimFallocate(int fd, off_t at, off_t size) { return fails() ? g_state.error : g_fallocate(fd, at, size); }
ssize_t shimRead(int fd, void* data, size_t n) { return readFails(fd) ? -1 : g_read(fd, data, n); }
ssize_t shimPread(int fd, void* data, size_t n, off_t at) { return readFails(fd) ? -1 : g_pread(fd, data, n, at); }
ssize_t shimPread64(int fd, void* data, size_t n, off64_t at) { return readFails(fd) ? -1 : g_pread64(fd, data, n, at); }

template <class Fn>
void replaceSystemCall(sqlite3_vfs* unix, const char* name, Fn& original, Fn shim) {
    original = reinterpret_cast<Fn>(unix->xGetSystemCall(unix, name));
    if (!original) return;  // not built into this SQLite
    if (unix->xSetSystemCall(unix, name, reinterpret_cast<sqlite3_syscall_ptr>(shim)) != SQLITE_OK)
        throw std::runtime_error(std::string("SQLite's system call cannot be replaced: ") + name);
}

// ------------------------------------------------------------------ the program's own calls

ssize_t ownWrite(int fd, const void* data, size_t n) { return fails() ? -1 : ::write(fd, data, n); }
int ownSync(int fd) { return fails() ? -1 : ::fsync(fd); }
// A disk that has filled up says so when asked for its free space, until the faults are off.
int ownStatvfs(const char* path, struct statvfs* out) {
    const int rc = ::statvfs(path, out);
    if (rc == 0 && g_state.counting && g_state.hit && g_state.error == ENOSPC) out->f_bavail = out->f_bfree = 0;
    return rc;
}

// ------------------------------------------------------------------ a VFS over the default one

sqlite3_vfs* g_real = nullptr;

struct ShimFile {
    sqlite3_file base;
    int lastErrno;  // of a sync failed here; 0 once the file underneath met an error of its own
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};
ShimFile& shim(sqlite3_file* f) { return *reinterpret_cast<ShimFile*>(f); }
sqlite3_file* real(sqlite3_file* f) { return shim(f).real(); }
const sqlite3_io_methods& m(sqlite3_file* f) { return *real(f)->pMethods; }
// The file underneath keeps the errno of its own latest failure.
int passed(sqlite3_file* f, int rc) {
    if (rc != SQLITE_OK) shim(f).lastErrno = 0;
    return rc;
}

int xClose(sqlite3_file* f) { return m(f).xClose(real(f)); }
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 at) { return passed(f, m(f).xRead(real(f), p, n, at)); }
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) { return passed(f, m(f).xWrite(real(f), p, n, at)); }
int xTruncate(sqlite3_file* f, sqlite3_int64 size) { return passed(f, m(f).xTruncate(real(f), size)); }
// Fails as SQLite's own sync does: SQLITE_IOERR_FSYNC, the errno kept with the file.
int xSync(sqlite3_file* f, int flags) {
    if (fails()) {
        shim(f).lastErrno = g_state.error;
        return SQLITE_IOERR_FSYNC;
    }
    return passed(f, m(f).xSync(real(f), flags));
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return m(f).xFileSize(real(f), size); }
int xLock(sqlite3_file* f, int lock) { return m(f).xLock(real(f), lock); }
int xUnlock(sqlite3_file* f, int lock) { return m(f).xUnlock(real(f), lock); }
int xCheckReservedLock(sqlite3_file* f, int* out) { return m(f).xCheckReservedLock(real(f), out); }
int xFileControl(sqlite3_file* f, int op, void* arg) {
    if (op == SQLITE_FCNTL_LAST_ERRNO && shim(f).lastErrno) {
        *static_cast<int*>(arg) = shim(f).lastErrno;
        return SQLITE_OK;
    }
    return m(f).xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) { return m(f).xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return m(f).xDeviceCharacteristics(real(f)); }
int xShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** p) {
    return m(f).xShmMap(real(f), page, size, extend, p);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) { return m(f).xShmLock(real(f), offset, n, flags); }
void xShmBarrier(sqlite3_file* f) { m(f).xShmBarrier(real(f)); }
int xShmUnmap(sqlite3_file* f, int deleteFlag) { return m(f).xShmUnmap(real(f), deleteFlag); }
int xFetch(sqlite3_file* f, sqlite3_int64 at, int n, void** p) { return m(f).xFetch(real(f), at, n, p); }
int xUnfetch(sqlite3_file* f, sqlite3_int64 at, void* p) { return m(f).xUnfetch(real(f), at, p); }

// One table per version of the methods underneath, so that SQLite calls only what they offer.
sqlite3_io_methods methodsOfVersion(int version) {
    sqlite3_io_methods t{};
    t.iVersion = version;
    t.xClose = xClose;
    t.xRead = xRead;
    t.xWrite = xWrite;
    t.xTruncate = xTruncate;
    t.xSync = xSync;
    t.xFileSize = xFileSize;
    t.xLock = xLock;
    t.xUnlock = xUnlock;
    t.xCheckReservedLock = xCheckReservedLock;
    t.xFileControl = xFileControl;
    t.xSectorSize = xSectorSize;
    t.xDeviceCharacteristics = xDeviceCharacteristics;
    if (version >= 2) {
        t.xShmMap = xShmMap;
        t.xShmLock = xShmLock;
        t.xShmBarrier = xShmBarrier;
        t.xShmUnmap = xShmUnmap;
    }
    if (version >= 3) {
        t.xFetch = xFetch;
        t.xUnfetch = xUnfetch;
    }
    return t;
}
const sqlite3_io_methods g_methods[] = {methodsOfVersion(1), methodsOfVersion(2), methodsOfVersion(3)};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    sqlite3_file* r = real(f);
    shim(f).lastErrno = 0;
    const int rc = g_real->xOpen(g_real, name, r, flags, outFlags);
    f->pMethods = r->pMethods ? &g_methods[std::min(std::max(r->pMethods->iVersion, 1), 3) - 1] : nullptr;
    return rc;
}
int xDelete(sqlite3_vfs*, const char* name, int syncDir) { return g_real->xDelete(g_real, name, syncDir); }
int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) { return g_real->xAccess(g_real, name, flags, out); }
int xFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return g_real->xFullPathname(g_real, name, n, out);
}
void* xDlOpen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void xDlError(sqlite3_vfs*, int n, char* out) { g_real->xDlError(g_real, n, out); }
void (*xDlSym(sqlite3_vfs*, void* h, const char* sym))(void) { return g_real->xDlSym(g_real, h, sym); }
void xDlClose(sqlite3_vfs*, void* h) { g_real->xDlClose(g_real, h); }
int xRandomness(sqlite3_vfs*, int n, char* out) { return g_real->xRandomness(g_real, n, out); }
int xSleep(sqlite3_vfs*, int us) { return g_real->xSleep(g_real, us); }
int xCurrentTime(sqlite3_vfs*, double* t) { return g_real->xCurrentTime(g_real, t); }
int xGetLastError(sqlite3_vfs*, int n, char* out) { return g_real->xGetLastError(g_real, n, out); }
int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* t) { return g_real->xCurrentTimeInt64(g_real, t); }
int xSetSystemCall(sqlite3_vfs*, const char* name, sqlite3_syscall_ptr p) {
    return g_real->xSetSystemCall(g_real, name, p);
}
sqlite3_syscall_ptr xGetSystemCall(sqlite3_vfs*, const char* name) { return g_real->xGetSystemCall(g_real, name); }
const char* xNextSystemCall(sqlite3_vfs*, const char* name) { return g_real->xNextSystemCall(g_real, name); }

sqlite3_vfs g_vfs{};

void installAll() {
    sqlite3_initialize();
    g_real = sqlite3_vfs_find(nullptr);
    if (!g_real || g_real->iVersion < 3) throw std::runtime_error("SQLite's default VFS offers no system calls");
    replaceSystemCall(g_real, "write", g_write, &shimWrite);
    replaceSystemCall(g_real, "pwrite", g_pwrite, &shimPwrite);
    replaceSystemCall(g_real, "pwrite64", g_pwrite64, &shimPwrite64);
    replaceSystemCall(g_real, "ftruncate", g_ftruncate, &shimFtruncate);
    replaceSystemCall(g_real, "fallocate", g_fallocate, &shimFallocate);
    replaceSystemCall(g_real, "read", g_read, &shimRead);
    replaceSystemCall(g_real, "pread", g_pread, &shimPread);
    replaceSystemCall(g_real, "pread64", g_pread64, &shimPread64);
    files::sys::replace(&ownWrite, &ownSync, &ownStatvfs);

    g_vfs.iVersion = 3;
    g_vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "zuv-disk-faults";
    g_vfs.xOpen = xOpen;
    g_vfs.xDelete = xDelete;
    g_vfs.xAccess = xAccess;
    g_vfs.xFullPathname = xFullPathname;
    g_vfs.xDlOpen = xDlOpen;
    g_vfs.xDlError = xDlError;
    g_vfs.xDlSym = xDlSym;
    g_vfs.xDlClose = xDlClose;
    g_vfs.xRandomness = xRandomness;
    g_vfs.xSleep = xSleep;
    g_vfs.xCurrentTime = xCurrentTime;
    g_vfs.xGetLastError = xGetLastError;
    g_vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
    g_vfs.xSetSystemCall = xSetSystemCall;
    g_vfs.xGetSystemCall = xGetSystemCall;
    g_vfs.xNextSystemCall = xNextSystemCall;
    if (sqlite3_vfs_register(&g_vfs, 1) != SQLITE_OK) throw std::runtime_error("the test VFS cannot be registered");
}

}  // namespace

void DiskFaults::install() {
    static const bool installed = (installAll(), true);
    (void)installed;
}

void DiskFaults::count() {
    g_state = State{};
    g_state.counting = true;
}

void DiskFaults::failAt(long n, int error) {
    g_state = State{};
    g_state.counting = true;
    g_state.failAt = n;
    g_state.error = error;
}

void DiskFaults::countReads() {
    g_reads = State{};
    g_failedReadFile.clear();
    g_reads.counting = true;
}

void DiskFaults::failReadAt(long n) {
    g_reads = State{};
    g_failedReadFile.clear();
    g_reads.counting = true;
    g_reads.failAt = n;
    g_reads.error = EIO;
}

void DiskFaults::off() {
    g_state.counting = false;
    g_state.failAt = 0;
    g_reads.counting = false;
    g_reads.failAt = 0;
}

long DiskFaults::counted() { return g_state.seen; }

bool DiskFaults::hit() { return g_state.hit; }

long DiskFaults::readsCounted() { return g_reads.seen; }

bool DiskFaults::readHit() { return g_reads.hit; }

std::string DiskFaults::failedReadFile() { return g_failedReadFile; }

}  // namespace support
