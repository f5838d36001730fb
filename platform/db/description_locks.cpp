// The engine's locks belong to an open file description of its own, not to the process.
//
// SQLite's unix VFS locks its files with POSIX record locks (fcntl F_SETLK), which belong to the
// process: closing ANY descriptor of a file drops all of the process's locks on it, while SQLite
// believes it still holds them. Any part of the program (or a library in it, such as a file
// dialog that looks into the files it lists) that opens and closes the data file, its -wal or its
// -shm would let an outside reader take the live log for a stale one and delete it.
//
// Here SQLite's own system calls "open", "close" and "fcntl" are replaced: every lock request goes,
// as an open-file-description lock (F_OFD_SETLK/F_OFD_SETLKW/F_OFD_GETLK), to one description per
// file that the engine opens for that purpose and keeps until SQLite's last descriptor of the file
// closes. Such locks conflict with the POSIX locks of other programs (an outside sqlite3) just as
// before, and with each other only between descriptions; since all of SQLite's connections in this
// process lock a file through the same description, they share its locks as they shared the
// process's (SQLite's own bookkeeping per file stays what decides who holds what). A descriptor
// someone else opens and closes touches none of them.

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace db::detail {

namespace {

using OpenFn = int (*)(const char*, int, int);
using CloseFn = int (*)(int);
using FcntlFn = int (*)(int, int, ...);

OpenFn g_open = nullptr;
CloseFn g_close = nullptr;
FcntlFn g_fcntl = nullptr;

using FileId = std::pair<dev_t, ino_t>;

struct LockDescription {
    int fd = -1;    // the engine's own description of the file, opened at the first lock request
    int users = 0;  // SQLite's descriptors of the file
};

// Never destroyed, like the connection registries: SQLite may close its files from the exit handlers.
std::mutex& guard() {
    static auto* m = new std::mutex;
    return *m;
}
std::map<FileId, LockDescription>& descriptions() {
    static auto* d = new std::map<FileId, LockDescription>;
    return *d;
}
std::map<int, FileId>& sqliteDescriptors() {
    static auto* d = new std::map<int, FileId>;
    return *d;
}

int openFile(const char* path, int flags, int mode) {
    const int fd = g_open(path, flags, mode);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        std::lock_guard<std::mutex> lock(guard());
        const FileId id{st.st_dev, st.st_ino};
        ++descriptions()[id].users;
        sqliteDescriptors()[fd] = id;
    }
    return fd;
}

int closeFile(int fd) {
    {
        std::lock_guard<std::mutex> lock(guard());
        auto it = sqliteDescriptors().find(fd);
        if (it != sqliteDescriptors().end()) {
            auto d = descriptions().find(it->second);
            sqliteDescriptors().erase(it);
            // SQLite keeps a descriptor open while it holds a lock on the file; when its last
            // one goes, nothing is locked any more and the lock description goes too.
            if (d != descriptions().end() && --d->second.users <= 0) {
                if (d->second.fd >= 0) g_close(d->second.fd);
                descriptions().erase(d);
            }
        }
    }
    return g_close(fd);
}

// The description that carries the locks of the file `fd` refers to; `fd` itself for a file
// SQLite did not open through us.
int lockDescriptor(int fd) {
    std::lock_guard<std::mutex> lock(guard());
    auto it = sqliteDescriptors().find(fd);
    if (it == sqliteDescriptors().end()) return fd;
    LockDescription& d = descriptions()[it->second];
    if (d.fd < 0) {
        // A new description of the same file (also of one deleted meanwhile), writable where the
        // file allows it, since a read-only connection may share the file with a writing one.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        d.fd = g_open(self.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (d.fd < 0) d.fd = g_open(self.c_str(), O_RDONLY | O_CLOEXEC, 0);
        if (d.fd < 0) return fd;
    }
    return d.fd;
}

int fileControl(int fd, int op, ...) {
    va_list ap;
    va_start(ap, op);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    int ofd = 0;
    switch (op) {
    case F_SETLK: ofd = F_OFD_SETLK; break;
    case F_SETLKW: ofd = F_OFD_SETLKW; break;
    case F_GETLK: ofd = F_OFD_GETLK; break;
    default: return g_fcntl(fd, op, arg);
    }
    auto* l = static_cast<struct flock*>(arg);
    l->l_pid = 0;  // required for locks of a description
    return g_fcntl(lockDescriptor(fd), ofd, l);
}

bool install() {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!vfs || vfs->iVersion < 3 || !vfs->xGetSystemCall || !vfs->xSetSystemCall) return false;
    auto open = reinterpret_cast<OpenFn>(vfs->xGetSystemCall(vfs, "open"));
    auto close = reinterpret_cast<CloseFn>(vfs->xGetSystemCall(vfs, "close"));
    auto fcntl = reinterpret_cast<FcntlFn>(vfs->xGetSystemCall(vfs, "fcntl"));
    if (!open || !close || !fcntl) return false;
    g_open = open;
    g_close = close;
    g_fcntl = fcntl;
    return vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(&openFile)) == SQLITE_OK &&
           vfs->xSetSystemCall(vfs, "close", reinterpret_cast<sqlite3_syscall_ptr>(&closeFile)) == SQLITE_OK &&
           vfs->xSetSystemCall(vfs, "fcntl", reinterpret_cast<sqlite3_syscall_ptr>(&fileControl)) == SQLITE_OK;
}

}  // namespace

int descriptorOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    const FileId id{st.st_dev, st.st_ino};
    std::lock_guard<std::mutex> lock(guard());
    for (const auto& [fd, file] : sqliteDescriptors())
        if (file == id) return fd;
    return -1;
}

// Installed before main, so that no SQLite file of this process is ever locked the other way.
bool descriptionLocksInstalled() {
    static const bool installed = install();
    return installed;
}

namespace {
[[maybe_unused]] const bool g_installedAtStart = descriptionLocksInstalled();
}

}  // namespace db::detail
