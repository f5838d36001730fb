#include "platform/db/shared_folder.h"

#include "platform/db/connection.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <new>
#include <sstream>
#include <string_view>
#include <thread>
#include <vector>

namespace db::detail {

namespace {

// statfs types of file systems that other computers reach too.
constexpr uint64_t kNfs = 0x6969;
constexpr uint64_t kSmb = 0x517B;
constexpr uint64_t kCifs = 0xFF534D42;
constexpr uint64_t kSmb2 = 0xFE534D42;
constexpr uint64_t kFuse = 0x65735546;
constexpr uint64_t kCoda = 0x73757245;
constexpr uint64_t kAfs = 0x5346414F;
constexpr uint64_t kCeph = 0x00C36400;
constexpr uint64_t kV9fs = 0x01021997;  // a host's folder in a virtual machine
constexpr uint64_t kOcfs2 = 0x7461636F;
constexpr uint64_t kGfs2 = 0x01161970;

}  // namespace

bool networkFileSystem(uint64_t type, std::string_view mountType) {
    switch (type) {
    case kNfs:
    case kSmb:
    case kCifs:
    case kSmb2:
    case kCoda:
    case kAfs:
    case kCeph:
    case kV9fs:
    case kOcfs2:
    case kGfs2: return true;
    case kFuse: break;
    default: return false;
    }
    // A FUSE file system on a block device of this computer is local; so are those that show
    // this computer's own files in another way.
    if (mountType == "fuseblk") return false;
    static constexpr std::string_view kLocal[] = {"ntfs-3g",      "ntfs",      "exfat",      "fuse-exfat",
                                                  "lxcfs",        "portal",    "doc",        "bindfs",
                                                  "encfs",        "gocryptfs", "squashfuse", "fuse-zip",
                                                  "archivemount", "mergerfs",  "unionfs",    "fuse-overlayfs"};
    constexpr std::string_view kPrefix = "fuse.";
    if (mountType.substr(0, kPrefix.size()) != kPrefix) return true;
    const std::string_view sub = mountType.substr(kPrefix.size());
    for (std::string_view local : kLocal)
        if (sub == local) return false;
    return true;  // sshfs, gvfsd-fuse, rclone, s3fs, davfs, and any not known
}

std::string mountTypeOf(std::string_view text, unsigned major, unsigned minor) {
    const std::string device = std::to_string(major) + ":" + std::to_string(minor);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        // "36 35 98:0 /root /mount options [optional fields] - type source super-options"
        std::istringstream in{std::string(line)};
        std::string id, parent, dev;
        if (!(in >> id >> parent >> dev) || dev != device) continue;
        std::string field;
        while (in >> field)
            if (field == "-") {
                std::string type;
                if (in >> type) return type;
                break;
            }
    }
    return {};
}

bool onSharedFolder(const std::string& path) {
    struct statfs fsInfo;
    struct stat st;
    std::string at = path;
    if (::stat(at.c_str(), &st) != 0) {
        const size_t slash = at.find_last_of('/');
        at = slash == std::string::npos ? "." : slash == 0 ? "/" : at.substr(0, slash);
        if (::stat(at.c_str(), &st) != 0) return false;
    }
    if (::statfs(at.c_str(), &fsInfo) != 0) return false;
    const auto type = static_cast<uint64_t>(static_cast<uint32_t>(fsInfo.f_type));
    if (type != kFuse) return networkFileSystem(type, "");
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return networkFileSystem(type, mountTypeOf(text.str(), major(st.st_dev), minor(st.st_dev)));
}

// ------------------------------------------------------------------ the lock

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string thisComputer() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !*name) return "unbekannt";
    return name;
}

std::string bootId() {
    std::string id = readText("/proc/sys/kernel/random/boot_id");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

// When a process started, in clock ticks since boot: a process number used again later is
// another process.
std::string processStart(long pid) {
    const std::string stat = readText("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && in >> field; ++i)
        if (i == 22) return field;
    return {};
}

std::string userName() {
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name &&
        *found->pw_name)
        return found->pw_name;
    if (const char* u = ::getenv("USER"); u && *u) return u;
    return std::to_string(::getuid());
}

int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string lockFolder(const std::string& dataFile) { return dataFile + ".lock"; }

struct Record {
    std::map<std::string, std::string> fields;
    std::string text;
};

Record parse(const std::string& text) {
    Record r;
    r.text = text;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) r.fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return r;
}

bool readHolder(const std::string& folder, LockHolder& h) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return false;
    h = {};
    const Record r = parse(readText(folder + "/owner"));
    h.record = r.text;
    auto field = [&](const char* k) {
        auto it = r.fields.find(k);
        return it == r.fields.end() ? std::string() : it->second;
    };
    h.computer = field("computer");
    h.user = field("user");
    h.process = std::atol(field("process").c_str());
    int64_t since = std::atoll(field("time").c_str());
    if (h.computer.empty()) since = static_cast<int64_t>(st.st_mtime);
    h.ageSeconds = std::max<int64_t>(0, nowSeconds() - since);
    h.thisComputer = !h.computer.empty() && h.computer == thisComputer();
    return true;
}

// A lock of this computer whose program has ended, or that was made before this computer last
// started.
bool abandonedHere(const LockHolder& h) {
    if (!h.thisComputer) return false;
    const Record r = parse(h.record);
    auto field = [&](const char* k) {
        auto it = r.fields.find(k);
        return it == r.fields.end() ? std::string() : it->second;
    };
    if (field("boot") != bootId()) return true;
    if (h.process <= 0) return false;
    if (::kill(static_cast<pid_t>(h.process), 0) != 0 && errno == ESRCH) return true;
    const std::string start = field("start");
    return !start.empty() && start != processStart(h.process);
}

std::atomic<unsigned> g_names{0};

std::string ownName(const std::string& base, const char* what) {
    return base + "." + what + "-" + thisComputer() + "-" + std::to_string(::getpid()) + "-" + std::to_string(++g_names);
}

// Lock folders taken over whose removal had to wait for a reader (see removeFolder), tried again
// whenever this program takes a lock and as it ends.
std::mutex& asideGuard() {
    static auto* m = new std::mutex;
    return *m;
}
std::vector<std::string>& leftAside() {
    static auto* l = new std::vector<std::string>;
    return *l;
}
void removeLeftAside() {
    std::lock_guard<std::mutex> g(asideGuard());
    auto& l = leftAside();
    l.erase(std::remove_if(l.begin(), l.end(),
                           [](const std::string& f) { return ::rmdir(f.c_str()) == 0 || errno != ENOTEMPTY; }),
            l.end());
}

// True when the folder is gone.
bool removeFolder(const std::string& folder) {
    ::unlink((folder + "/owner").c_str());
    // The record was read just before. A FUSE mount (sshfs) may count it as open for a moment
    // after that read, and then keeps the unlinked record under a hidden name in the folder until
    // it lets go: the folder is not empty yet. Without waiting for that, a lock taken over
    // would stay beside the file under its other name for good.
    for (int i = 0; i < 250; ++i) {
        if (::rmdir(folder.c_str()) == 0 || errno != ENOTEMPTY) return true;
        ::usleep(2000);
    }
    return false;
}

// Takes the lock when nobody holds it: SQLITE_OK, SQLITE_BUSY, or an I/O error.
int makeLock(const std::string& folder, std::string& record) {
    const std::string draft = ownName(folder, "new");
    if (::mkdir(draft.c_str(), 0777) != 0) return errno == EACCES || errno == EROFS ? SQLITE_READONLY : SQLITE_IOERR_LOCK;
    const pid_t pid = ::getpid();
    record = "computer=" + thisComputer() + "\nuser=" + userName() + "\nprocess=" + std::to_string(pid) +
             "\nstart=" + processStart(pid) + "\nboot=" + bootId() + "\ntime=" + std::to_string(nowSeconds()) + "\n";
    const int fd = ::open((draft + "/owner").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    bool written = fd >= 0 && ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    if (fd >= 0 && ::close(fd) != 0) written = false;
    if (!written) {
        removeFolder(draft);
        return SQLITE_IOERR_LOCK;
    }
    // A folder of that name that holds a record stops the rename; an empty one is a lock being
    // let go, and is replaced.
    if (::rename(draft.c_str(), folder.c_str()) == 0) return SQLITE_OK;
    removeFolder(draft);
    return SQLITE_BUSY;
}

}  // namespace

bool sharedLockHolder(const std::string& dataFile, LockHolder& holder) {
    return readHolder(lockFolder(dataFile), holder);
}

bool takeOverSharedLock(const std::string& dataFile, const LockHolder& holder) {
    const std::string folder = lockFolder(dataFile);
    // Moved aside first, in one step: of several programs that take over at once only one gets
    // it, and one that finds another record there (a new holder) puts it back.
    const std::string aside = ownName(folder, "old");
    if (::rename(folder.c_str(), aside.c_str()) != 0) return errno == ENOENT;
    if (readText(aside + "/owner") != holder.record) {
        ::rename(aside.c_str(), folder.c_str());
        return false;
    }
    if (!removeFolder(aside)) {
        std::lock_guard<std::mutex> g(asideGuard());
        leftAside().push_back(aside);
    }
    return true;
}

}  // namespace db::detail

std::string db::LockHolder::described() const {
    const LockHolder& h = *this;
    std::string age;
    const int64_t s = h.ageSeconds;
    if (s < 120) age = std::to_string(s) + (s == 1 ? " Sekunde" : " Sekunden");
    else if (s < 2 * 3600) age = std::to_string(s / 60) + " Minuten";
    else if (s < 2 * 86400) age = std::to_string(s / 3600) + " Stunden";
    else age = std::to_string(s / 86400) + " Tagen";
    if (h.computer.empty()) return "von einem anderen Programm (ohne Angabe, wer es ist) seit " + age;
    std::string who = "von „" + (h.user.empty() ? std::string("?") : h.user) + "“ ";
    who += h.thisComputer ? "auf diesem Computer" : "auf dem Computer „" + h.computer + "“";
    if (h.process > 0) who += " (Programm Nr. " + std::to_string(h.process) + ")";
    return who + " seit " + age;
}

namespace db::detail {

// ------------------------------------------------------------------ the VFS

namespace {

struct SharedFile;

using Clock = std::chrono::steady_clock;

// The statements of one action (a rating reads and writes several times in a row) take the lock
// on the file server once: it is kept for a moment after SQLite lets go of it, and let go for
// good by the releaser below once nothing asked for it for kIdleHold. A program that goes on
// asking all the time lets go after kLongestHold and waits kYield before it takes the lock again,
// so that the other computers get their turn.
constexpr auto kIdleHold = std::chrono::milliseconds(15);
constexpr auto kLongestHold = std::chrono::milliseconds(400);
constexpr auto kYield = std::chrono::milliseconds(40);

// One data file's locks in this process, shared by all its connections.
struct FileLock {
    std::string folder;
    int users = 0;
    int shared = 0;                  // connections holding at least a shared lock
    SharedFile* reserved = nullptr;  // the one that writes, from RESERVED on
    SharedFile* pending = nullptr;   // waiting for the readers to go, or EXCLUSIVE
    bool held = false;               // the folder lock is this process's
    bool unlocked = false;           // a read-only folder: read without a lock
    std::string record;
    Clock::time_point heldSince{};   // when the folder lock was made
    Clock::time_point idleSince{};   // when the last connection let go (shared 0, still held)
    Clock::time_point yieldUntil{};  // after a long hold: others get their turn first
};

struct SharedFile {
    sqlite3_file base;
    FileLock* lock;  // nullptr for journals
    int level;
    bool readOnly;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

std::mutex& guard() {
    static auto* m = new std::mutex;
    return *m;
}
std::map<std::string, FileLock>& locks() {
    static auto* l = new std::map<std::string, FileLock>;
    return *l;
}

sqlite3_vfs* g_inner = nullptr;

SharedFile& own(sqlite3_file* f) { return *reinterpret_cast<SharedFile*>(f); }
sqlite3_file* inner(sqlite3_file* f) { return own(f).real(); }
const sqlite3_io_methods& m(sqlite3_file* f) { return *inner(f)->pMethods; }

// A network file system may keep pages and the size of the file from before another computer
// wrote to it: once the lock is held, what this computer keeps of the file is dropped, so that
// SQLite reads the file as it stands now (past an old size it would read zeros and take the file
// for damaged). The kernel keeps a FUSE file's size while its attributes count as fresh, and the
// mount may answer from a memory of its own: listing the folder makes the mount ask the server
// for every name in it, and the size is then asked anew. No descriptor of the file is opened for
// it; its pages are dropped through SQLite's own.
void forgetCachedFile(const std::string& dataFile) {
    const size_t slash = dataFile.find_last_of('/');
    if (DIR* d = ::opendir(slash == std::string::npos ? "." : dataFile.substr(0, slash + 1).c_str())) {
        while (::readdir(d)) {
        }
        ::closedir(d);
    }
    struct statx now;
    ::statx(AT_FDCWD, dataFile.c_str(), AT_STATX_FORCE_SYNC, STATX_SIZE | STATX_MTIME, &now);
    const int fd = descriptorOf(dataFile);
    if (fd >= 0) ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
}

// A rollback journal that SQLite does not roll back (empty, or its header still or again zero)
// is what a program killed in a transaction that had written nothing yet leaves beside the file;
// SQLite passes over it, and it would stay until the next save. With the lock held nobody else
// is in a transaction, so it goes. A journal with a header is SQLite's to roll back.
void removeColdJournal(const std::string& dataFile) {
    const std::string journal = dataFile + "-journal";
    const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    unsigned char first = 0;
    const ssize_t n = ::pread(fd, &first, 1, 0);
    ::close(fd);
    if (n == 0 || (n == 1 && first == 0)) ::unlink(journal.c_str());
}

int takeFolder(FileLock& l, bool readOnly) {
    const std::string dataFile = l.folder.substr(0, l.folder.size() - 5);
    for (int attempt = 0; attempt < 3; ++attempt) {
        int rc = makeLock(l.folder, l.record);
        if (rc == SQLITE_OK) {
            l.held = true;
            forgetCachedFile(dataFile);
            if (!readOnly) removeColdJournal(dataFile);
            removeLeftAside();
            return rc;
        }
        if (rc == SQLITE_READONLY && readOnly) {
            // Nobody who may not write there can make a lock; reading cannot harm the file.
            l.unlocked = true;
            forgetCachedFile(dataFile);
            return SQLITE_OK;
        }
        if (rc != SQLITE_BUSY) return rc;
        LockHolder h;
        if (!readHolder(l.folder, h)) continue;  // let go meanwhile
        if (!abandonedHere(h)) return SQLITE_BUSY;
        takeOverSharedLock(dataFile, h);
    }
    return SQLITE_BUSY;
}

void releaseFolder(FileLock& l) {
    if (l.unlocked) {
        l.unlocked = false;
        return;
    }
    if (!l.held) return;
    l.held = false;
    // Taken over meanwhile by someone who judged this program gone: that lock is theirs.
    if (readText(l.folder + "/owner") != l.record) return;
    removeFolder(l.folder);
}

// Made anew in a forked child: the parent's releaser may have been waiting on it at the fork,
// and the child inherits that waiter without the thread. It lives in storage of its own, never
// destroyed, so that the one made anew takes the old one's place instead of leaving it behind.
alignas(std::condition_variable) unsigned char g_releaserWakesPlace[sizeof(std::condition_variable)];
std::condition_variable* g_releaserWakes = new (g_releaserWakesPlace) std::condition_variable;
std::condition_variable& releaserWakes() { return *g_releaserWakes; }
bool g_releaserRuns = false;

void releaseIdle() {
    std::unique_lock<std::mutex> g(guard());
    for (;;) {
        const auto now = Clock::now();
        auto next = Clock::time_point::max();
        for (auto& [folder, l] : locks()) {
            if (!(l.held || l.unlocked) || l.shared > 0) continue;
            if (now - l.idleSince >= kIdleHold) releaseFolder(l);
            else next = std::min(next, l.idleSince + kIdleHold);
        }
        if (next == Clock::time_point::max()) releaserWakes().wait(g);
        else releaserWakes().wait_until(g, next);
    }
}

// Called with guard() held, when a lock becomes idle.
void wakeReleaser() {
    if (!g_releaserRuns) {
        g_releaserRuns = true;
        std::thread(releaseIdle).detach();
    }
    releaserWakes().notify_one();
}

// A program that ends leaves no lock behind, also one kept for a moment.
void releaseAtExit() {
    std::lock_guard<std::mutex> g(guard());
    for (auto& [folder, l] : locks())
        if (l.shared == 0) releaseFolder(l);
    removeLeftAside();
}

// A forked child has no releaser, and the locks of the parent are the parent's.
void beforeFork() { guard().lock(); }
void afterForkInParent() { guard().unlock(); }
void afterForkInChild() {
    g_releaserRuns = false;
    g_releaserWakes = new (g_releaserWakesPlace) std::condition_variable;
    for (auto& [folder, l] : locks()) {
        l.held = false;
        l.unlocked = false;
    }
    guard().unlock();
}

int xClose(sqlite3_file* f) {
    SharedFile& s = own(f);
    const int rc = m(f).xClose(inner(f));
    if (s.lock) {
        std::lock_guard<std::mutex> g(guard());
        if (s.level > SQLITE_LOCK_NONE) {
            if (s.lock->reserved == &s) s.lock->reserved = nullptr;
            if (s.lock->pending == &s) s.lock->pending = nullptr;
            --s.lock->shared;
        }
        // The last connection to the file lets go of it at once.
        if (--s.lock->users == 0) {
            releaseFolder(*s.lock);
            locks().erase(s.lock->folder);
        }
        s.lock = nullptr;
    }
    return rc;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 at) { return m(f).xRead(inner(f), p, n, at); }
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) { return m(f).xWrite(inner(f), p, n, at); }
int xTruncate(sqlite3_file* f, sqlite3_int64 size) { return m(f).xTruncate(inner(f), size); }
int xSync(sqlite3_file* f, int flags) { return m(f).xSync(inner(f), flags); }
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return m(f).xFileSize(inner(f), size); }

int xLock(sqlite3_file* f, int level) {
    SharedFile& s = own(f);
    if (!s.lock) return m(f).xLock(inner(f), level);
    std::lock_guard<std::mutex> g(guard());
    FileLock& l = *s.lock;
    if (s.level >= level) return SQLITE_OK;
    if (level == SQLITE_LOCK_SHARED) {
        if (l.pending && l.pending != &s) return SQLITE_BUSY;
        if (l.shared == 0) {
            const auto now = Clock::now();
            if ((l.held || l.unlocked) && now - l.heldSince >= kLongestHold) {
                releaseFolder(l);
                l.yieldUntil = now + kYield;
            }
            if (!l.held && !l.unlocked) {
                if (now < l.yieldUntil) return SQLITE_BUSY;
                const int rc = takeFolder(l, s.readOnly);
                if (rc != SQLITE_OK) return rc;
                l.heldSince = now;
            }
        }
        ++l.shared;
        s.level = SQLITE_LOCK_SHARED;
        return SQLITE_OK;
    }
    if (l.reserved && l.reserved != &s) return SQLITE_BUSY;
    l.reserved = &s;
    if (level == SQLITE_LOCK_RESERVED) {
        s.level = SQLITE_LOCK_RESERVED;
        return SQLITE_OK;
    }
    // EXCLUSIVE: no new readers of this process from now on, and none left.
    l.pending = &s;
    if (l.shared > 1) {
        s.level = SQLITE_LOCK_PENDING;
        return SQLITE_BUSY;
    }
    s.level = SQLITE_LOCK_EXCLUSIVE;
    return SQLITE_OK;
}

int xUnlock(sqlite3_file* f, int level) {
    SharedFile& s = own(f);
    if (!s.lock) return m(f).xUnlock(inner(f), level);
    std::lock_guard<std::mutex> g(guard());
    FileLock& l = *s.lock;
    if (s.level <= level) return SQLITE_OK;
    if (l.pending == &s) l.pending = nullptr;
    if (l.reserved == &s) l.reserved = nullptr;
    if (level == SQLITE_LOCK_SHARED) {
        s.level = SQLITE_LOCK_SHARED;
        return SQLITE_OK;
    }
    s.level = SQLITE_LOCK_NONE;
    if (--l.shared == 0) {
        l.idleSince = Clock::now();
        wakeReleaser();
    }
    return SQLITE_OK;
}

int xCheckReservedLock(sqlite3_file* f, int* out) {
    SharedFile& s = own(f);
    if (!s.lock) return m(f).xCheckReservedLock(inner(f), out);
    std::lock_guard<std::mutex> g(guard());
    const FileLock& l = *s.lock;
    if (l.reserved) *out = 1;
    else if (l.held || l.unlocked) *out = 0;  // nobody else can be writing
    else {
        struct stat st;
        *out = ::stat(l.folder.c_str(), &st) == 0 ? 1 : 0;
    }
    return SQLITE_OK;
}

int xFileControl(sqlite3_file* f, int op, void* arg) {
    if (op == SQLITE_FCNTL_VFSNAME) {
        *static_cast<char**>(arg) = sqlite3_mprintf("%s", sharedFolderVfs());
        return SQLITE_OK;
    }
    return m(f).xFileControl(inner(f), op, arg);
}
int xSectorSize(sqlite3_file* f) { return m(f).xSectorSize(inner(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return m(f).xDeviceCharacteristics(inner(f)); }

// Version 1: no shared memory (so no write-ahead log) and no memory mapping, which another
// computer's writes would turn into a crash (SIGBUS) where the file shrinks under it.
const sqlite3_io_methods g_methods = [] {
    sqlite3_io_methods t{};
    t.iVersion = 1;
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
    return t;
}();

int vOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    SharedFile& s = own(f);
    s.lock = nullptr;
    s.level = SQLITE_LOCK_NONE;
    s.readOnly = (flags & SQLITE_OPEN_READONLY) != 0;
    int rc = g_inner->xOpen(g_inner, name, s.real(), flags, outFlags);
    // A mount answers from what it keeps of names (the kernel for a second, sshfs for up to 20
    // seconds): a journal this computer saw while another one saved stays there for it after the
    // other one deleted it. Creating the journal then becomes an open of a file the server no
    // longer has, which fails, and the save would end in an I/O error (3043) over a folder that is
    // fine. Opened to be made new, the name is asked of the file server again; a journal that is
    // really there, or a folder that cannot be written, still fails.
    if (rc == SQLITE_CANTOPEN && name && (flags & SQLITE_OPEN_MAIN_JOURNAL) && (flags & SQLITE_OPEN_CREATE) &&
        !(flags & SQLITE_OPEN_EXCLUSIVE)) {
        const int fresh = g_inner->xOpen(g_inner, name, s.real(), flags | SQLITE_OPEN_EXCLUSIVE, outFlags);
        if (fresh == SQLITE_OK) rc = fresh;
    }
    f->pMethods = s.real()->pMethods ? &g_methods : nullptr;
    if (rc == SQLITE_OK && name && (flags & SQLITE_OPEN_MAIN_DB)) {
        std::lock_guard<std::mutex> g(guard());
        FileLock& l = locks()[lockFolder(name)];
        l.folder = lockFolder(name);
        ++l.users;
        s.lock = &l;
    }
    return rc;
}

// Whether the rollback journal stands beside the file, asked of the file server itself. A mount
// answers a stat from what it keeps of names and attributes (the kernel for a second, sshfs for
// up to 20 seconds): a journal that this computer saw while another one saved (a look at the side
// files, say) would still be there for it after the other one deleted it. SQLite would take it for
// hot, fail to open it and report an I/O error (3043) for a file that is whole. An open goes to
// the file server.
int vAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    static constexpr std::string_view kJournal = "-journal";
    const std::string_view n = name ? std::string_view(name) : std::string_view();
    if (flags == SQLITE_ACCESS_EXISTS && n.size() > kJournal.size() && n.substr(n.size() - kJournal.size()) == kJournal) {
        const int fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            *out = 1;
            return SQLITE_OK;
        }
        if (errno == ENOENT) {
            *out = 0;
            return SQLITE_OK;
        }
    }
    return g_inner->xAccess(g_inner, name, flags, out);
}

sqlite3_vfs g_vfs{};

bool registerVfs() {
    ::pthread_atfork(beforeFork, afterForkInParent, afterForkInChild);
    std::atexit(releaseAtExit);
    g_inner = sqlite3_vfs_find("unix-none");
    if (!g_inner) return false;
    g_vfs = *g_inner;
    g_vfs.zName = "zuv-shared";
    g_vfs.szOsFile = static_cast<int>(sizeof(SharedFile)) + g_inner->szOsFile;
    g_vfs.pNext = nullptr;
    g_vfs.xOpen = vOpen;
    g_vfs.xAccess = vAccess;
    return sqlite3_vfs_register(&g_vfs, 0) == SQLITE_OK;
}

}  // namespace

const char* sharedFolderVfs() {
    static const bool registered = registerVfs();
    return registered ? g_vfs.zName : nullptr;
}

}  // namespace db::detail
