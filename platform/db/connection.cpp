#include "platform/db/connection.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>

#include "platform/db/errors.h"
#include "platform/db/jet_sql.h"
#include "platform/db/shared_folder.h"
#include "platform/db/text.h"
#include "platform/files/held_files.h"
#include "platform/files/system_calls.h"
#include "platform/vb/ascii.h"
#include "platform/vb/strings.h"

namespace db::detail {

namespace fs = std::filesystem;

namespace {

// The registries below are never destroyed: a database held by a program-wide object closes its
// connection while the exit handlers run, after function-local objects made later than it are gone.
std::map<std::string, std::weak_ptr<Connection>>& pool() {
    static auto* p = new std::map<std::string, std::weak_ptr<Connection>>;
    return *p;
}
// Files opened exclusively in this process, and how many connections each file has.
std::map<std::string, int>& openCounts() {
    static auto* c = new std::map<std::string, int>;
    return *c;
}
std::set<std::string>& exclusiveFiles() {
    static auto* s = new std::set<std::string>;
    return *s;
}
// Every connection that holds its file, pooled or not (exclusive ones are not pooled).
std::set<Connection*>& liveConnections() {
    static auto* s = new std::set<Connection*>;
    return *s;
}

int germanCollation(void*, int la, const void* a, int lb, const void* b) {
    return compareGerman(std::string_view(static_cast<const char*>(a), la),
                         std::string_view(static_cast<const char*>(b), lb));
}

// LIKE with Jet's wildcards; numbers compare through their text.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, jetLike(text ? text : "", pattern ? pattern : "") ? 1 : 0);
}

// The sort key of ORDER BY terms (kSortKey).
void sortKeyFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_TEXT: {
        const std::string key = germanSortKey(
            std::string_view(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), sqlite3_value_bytes(argv[0])));
        sqlite3_result_blob(ctx, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
        return;
    }
    case SQLITE_BLOB: {
        std::string key(1, '\xFF');
        key.append(static_cast<const char*>(sqlite3_value_blob(argv[0])), sqlite3_value_bytes(argv[0]));
        sqlite3_result_blob(ctx, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
        return;
    }
    default: sqlite3_result_value(ctx, argv[0]);
    }
}

// The signature of a stored field, as SQL (see valueSignature).
void columnSignature(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1) return;
    const int type = sqlite3_value_type(argv[0]);
    int64_t whole = 0;
    double number = 0;
    std::string_view bytes;
    switch (type) {
    case SQLITE_INTEGER: whole = sqlite3_value_int64(argv[0]); break;
    case SQLITE_FLOAT: number = sqlite3_value_double(argv[0]); break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const void* p = type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(argv[0]))
                                            : sqlite3_value_blob(argv[0]);
        if (p) bytes = std::string_view(static_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(argv[0])));
        break;
    }
    default: break;
    }
    sqlite3_result_int64(ctx, valueSignature(type, whole, number, bytes));
}

// SQLite's parser gave up on the statement's size or depth (not a fault in what it says).
bool tooLargeToParse(const std::string& sqliteMessage) {
    return sqliteMessage.find("parser stack overflow") != std::string::npos ||
           sqliteMessage.find("tree is too large") != std::string::npos;
}

std::string spelledPath(const std::string& path) {
    std::error_code ec;
    auto c = fs::weakly_canonical(path, ec);
    return ec ? path : c.string();
}

// Connections are shared per file, told apart by device and inode: every spelling of a path and
// every link reach the same one, and a file deleted or replaced under its name is another file,
// so a connection to the old one is never handed out for the new one.
std::string fileKey(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return std::to_string(static_cast<uint64_t>(st.st_dev)) + ":" + std::to_string(static_cast<uint64_t>(st.st_ino));
    return spelledPath(path);
}

// The file's header says it keeps a write-ahead log (read and write versions 2).
bool walHeader(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char versions[2] = {};
    const bool read = ::pread(fd, versions, 2, 18) == 2;
    ::close(fd);
    return read && (versions[0] == 2 || versions[1] == 2);
}

}  // namespace

const ColumnInfo* TableInfo::column(std::string_view n) const {
    for (const auto& c : columns)
        if (sameName(c.name, n)) return &c;
    return nullptr;
}

Stmt::~Stmt() {
    if (!m_s) return;
    if (m_owned) {
        sqlite3_finalize(m_s);
    } else if (!m_c->m_db) {  // lent from the cache of a connection closed meanwhile
        sqlite3_finalize(m_s);
        m_c->m_lent.erase(m_s);
    } else {
        sqlite3_reset(m_s);
        sqlite3_clear_bindings(m_s);
        m_c->m_lent.erase(m_s);
    }
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {
// SQLite keeps the system's error with its own only now and then; each of its files keeps the last
// one it met. The log (or rollback journal) is asked first, most writes go there, then the file
// itself: the first error that `wanted` accepts, or 0.
template <class Wanted>
int keptSystemError(sqlite3* db, Wanted wanted) {
    int e = 0;
    sqlite3_file* log = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_JOURNAL_POINTER, &log) == SQLITE_OK && log && log->pMethods &&
        log->pMethods->xFileControl(log, SQLITE_FCNTL_LAST_ERRNO, &e) == SQLITE_OK && e && wanted(e))
        return e;
    e = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &e) == SQLITE_OK && e && wanted(e)) return e;
    return 0;
}
}  // namespace

int lastSystemError(sqlite3* db) {
    if (!db) return 0;
    if (const int e = sqlite3_system_errno(db)) return e;
    if (const int e = keptSystemError(db, [](int) { return true; })) return e;
    // A rollback journal whose write or sync failed is closed (and its error with it) by the time
    // SQLite reports: a disk without space left is the cause then.
    switch (sqlite3_extended_errcode(db)) {
    case SQLITE_IOERR:
    case SQLITE_IOERR_WRITE:
    case SQLITE_IOERR_FSYNC:
    case SQLITE_IOERR_DIR_FSYNC:
    case SQLITE_IOERR_TRUNCATE:
    case SQLITE_IOERR_SHMSIZE: {
        const char* name = sqlite3_db_filename(db, "main");
        if (name && *name && files::sys::diskFull(name)) return ENOSPC;
        break;
    }
    default: break;
    }
    return 0;
}

int readFault(sqlite3* db) {
    if (!db) return 0;
    // The errors SQLite's own reads turn into a damaged file; any other failed read it reports as
    // an I/O error. A read of the file itself, of the log, or of the rollback journal.
    return keptSystemError(db, [](int e) { return e == EIO || e == ERANGE || e == ENXIO; });
}

int applicationId(sqlite3* db, int32_t& id) {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &s, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) {
            id = sqlite3_column_int(s, 0);
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_NOTADB;
        }
    }
    sqlite3_finalize(s);
    return rc;
}

bool diskFault(sqlite3* db, int rc) {
    const int base = rc & 0xFF;
    return base == SQLITE_IOERR || (base == SQLITE_CORRUPT && readFault(db) != 0);
}

bool Connection::heldInProcess(const std::string& path) {
    const auto it = openCounts().find(fileKey(path));
    return it != openCounts().end() && it->second > 0;
}

void Connection::releaseFile(const std::string& path) {
    const std::string key = fileKey(path);
    const std::string spelled = spelledPath(path);
    std::vector<Connection*> found;
    for (Connection* c : liveConnections())
        if (c->m_key == key || spelledPath(c->m_path) == spelled || spelledPath(c->m_sqlitePath) == spelled)
            found.push_back(c);
    for (Connection* c : found) c->shutdown();
}

void Connection::releaseAll() {
    // Each shutdown takes its connection off the list: the list is copied first.
    const std::vector<Connection*> all(liveConnections().begin(), liveConnections().end());
    for (Connection* c : all) c->shutdown();
}

bool lockedElsewhere(const std::string& path) {
    if (files::isHeldByDatabase(path)) return true;
    // The lock that programs on a shared folder make beside the file.
    if (struct stat st; ::stat((path + ".lock").c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

void Connection::requireOpen() const {
    if (!m_db) raise(vb::err::ObjectInvalid, m_path);
    // Nothing goes into SQLite while it waits for the answer about another computer's lock.
    if (m_asking) raise(vb::err::RecordLocked, m_path);
}

Connection* Connection::heldUnder(const std::string& path, bool anySpelling) {
    for (Connection* c : liveConnections())
        if (!c->m_readOnly && c->m_db && c->m_path == path) return c;
    if (!anySpelling) return nullptr;
    const std::string spelled = spelledPath(path);
    for (Connection* c : liveConnections())
        if (!c->m_readOnly && c->m_db && spelledPath(c->m_path) == spelled) return c;
    return nullptr;
}

namespace {

// A descriptor of this process on the file of that device and inode (SQLite's own): looked up
// through /proc, so that the file is not opened again; -1 when there is none.
int descriptorOf(uint64_t device, uint64_t inode) {
    DIR* d = ::opendir("/proc/self/fd");
    if (!d) return -1;
    int found = -1;
    while (const dirent* e = ::readdir(d)) {
        if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
        const int fd = std::atoi(e->d_name);
        struct stat st;
        if (fd != ::dirfd(d) && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<uint64_t>(st.st_dev) == device && static_cast<uint64_t>(st.st_ino) == inode) {
            found = fd;
            break;
        }
    }
    ::closedir(d);
    return found;
}

}  // namespace

HeldFile Connection::fate() const {
    HeldFile f;
    if (!m_db) return f;
    struct stat st;
    const bool named = ::stat(m_path.c_str(), &st) == 0;
    if (named && static_cast<uint64_t>(st.st_dev) == m_device && static_cast<uint64_t>(st.st_ino) == m_inode) {
        // The rule of opening: a write-protected file or a folder that takes no new files (for the
        // log) is not written, even where this account could override it.
        const bool writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(m_path.c_str(), W_OK) == 0 &&
                              ::access(m_folder.c_str(), W_OK) == 0;
        if (!m_readOnly && !writable) f.fate = HeldFile::Fate::NotWritable;
        return f;
    }
    f.nameTaken = named;
    // Where SQLite's own descriptor leads now: to no name (deleted) or to the file's new name.
    const int fd = descriptorOf(m_device, m_inode);
    struct stat own;
    if (fd < 0 || ::fstat(fd, &own) != 0 || own.st_nlink == 0) {
        f.fate = HeldFile::Fate::Deleted;
        return f;
    }
    char link[PATH_MAX];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link - 1);
    if (n > 0) f.now.assign(link, static_cast<size_t>(n));
    // Still under its name, but the name cannot be reached (a folder closed to this account).
    if (f.now == m_path) f.fate = HeldFile::Fate::NotWritable;
    else f.fate = HeldFile::Fate::Moved;
    return f;
}

void Connection::requireInPlace(bool writing) {
    const HeldFile f = fate();
    // What was committed goes from the log beside the old name into the file it belongs to, so
    // that the file is whole wherever it is now, and no file put under the old name meanwhile is
    // read together with this file's log.
    if ((f.fate == HeldFile::Fate::Deleted || f.fate == HeldFile::Fate::Moved) && sqlite3_get_autocommit(m_db))
        checkpoint();
    switch (f.fate) {
    case HeldFile::Fate::InPlace: return;
    case HeldFile::Fate::NotWritable:
        if (writing) raise(vb::err::FileNoLongerWritable, m_path);
        return;
    case HeldFile::Fate::Deleted:
        if (f.nameTaken)
            raiseText(vb::err::FileDeletedWhileOpen,
                      "Die Datei wurde gelöscht oder durch eine andere ersetzt, während sie geöffnet war; es "
                      "wird nichts mehr in sie geschrieben.",
                      m_path);
        raise(vb::err::FileDeletedWhileOpen, m_path);
    case HeldFile::Fate::Moved:
        if (f.now.empty()) raise(vb::err::FileMovedWhileOpen, m_path);
        raiseText(vb::err::FileMovedWhileOpen,
                  errorText(vb::err::FileMovedWhileOpen) + " Sie heißt jetzt „" + vb::excerpt(f.now, 240) + "“.", m_path);
    }
}

void Connection::beforeWrite() {
    if (!m_readOnly && m_db && sqlite3_get_autocommit(m_db)) requireInPlace(true);
}

namespace {

// "file:" and the path, with the characters that a URI gives a meaning of their own escaped.
std::string fileUri(const std::string& path) {
    static const char* const hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char ch : path) {
        if (ch == '%' || ch == '?' || ch == '#' || ch < 0x20) {
            uri += '%';
            uri += hex[ch >> 4];
            uri += hex[ch & 15];
        } else {
            uri += static_cast<char>(ch);
        }
    }
    return uri;
}

// A file opened for reading that this account cannot write, or that lies in a folder taking no new
// files (a read-only mount, a folder of another account), and that no program holds with a log
// beside it, is read as it stands. SQLite would otherwise make its log and shared-memory file
// beside it: that fails where the folder takes none, and where it succeeds the two files keep the
// data file's permissions, so that its owner could no longer write the file once it is writable
// again. Nothing is then made or written beside the file.
bool readAsItStands(const std::string& path, const std::string& folder) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    const bool writable = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0 &&
                          ::access(folder.c_str(), W_OK) == 0;
    if (writable) return false;
    // A log beside the file belongs to a program writing it: SQLite reads the file with that log.
    for (const char* side : {"-wal", "-journal"}) {
        struct stat s;
        if (::lstat((path + side).c_str(), &s) == 0) return false;
    }
    return true;
}

}  // namespace

std::shared_ptr<Connection> Connection::open(const std::string& path, bool readOnly, bool exclusive,
                                             const DBEngine::Login& login) {
    descriptionLocksInstalled();
    // A file this program holds that was deleted, moved or write-protected meanwhile is named as
    // such, not taken for a missing or locked one. Another file put under its name is that file,
    // and opened anew.
    if (Connection* held = heldUnder(path, false)) {
        const HeldFile f = held->fate();
        if (f.fate != HeldFile::Fate::InPlace && !f.nameTaken) held->requireInPlace(!readOnly);
    }
    std::error_code ec;
    const fs::path p(path);
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) raise(vb::err::PathNotFound, path);
    const fs::file_status status = fs::status(p, ec);
    if (!fs::exists(status)) raise(vb::err::FileNotFoundDb, path);
    if (fs::is_directory(status)) raise(vb::err::NotADatabase, path);
    // A pipe or a device would let the first read wait for ever, or read without end.
    if (!fs::is_regular_file(status))
        raiseText(vb::err::NotADatabase,
                  "Die Datei ist keine gewöhnliche Datei (sondern z. B. ein Gerät oder eine benannte Pipe) und "
                  "wird nicht als Datenbank geöffnet.",
                  path);
    if (!readOnly) {
        // A write-protected file stays protected even for an account that could override it.
        const auto perms = status.permissions();
        const bool writable = (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
                              fs::perms::none;
        if (!writable || ::access(path.c_str(), W_OK) != 0 || ::access(parent.c_str(), W_OK) != 0)
            raise(vb::err::FileLocked, path);
    }

    const std::string file = fileKey(path);
    if (exclusiveFiles().count(file) || (exclusive && openCounts()[file] > 0)) raise(vb::err::FileInUse, path);
    if (openCounts()[file] == 0) checkSideFiles(path, readOnly);
    const std::string key = file + (readOnly ? "|ro" : "|rw");
    if (!exclusive) {
        auto it = pool().find(key);
        if (it != pool().end())
            if (auto c = it->second.lock(); c && c->isOpen()) {
                c->checkOwner(login);
                return c;
            }
    }

    // From here on the file is read through SQLite only. Its locks belong to the engine's own
    // file description (description_locks.cpp), so another descriptor's close no longer drops
    // them; reading a held file elsewhere is refused all the same (files::isHeldByDatabase).
    std::shared_ptr<Connection> c(new Connection);
    c->m_path = path;
    c->m_key = file;
    c->m_folder = parent.string();
    if (struct stat st; ::stat(path.c_str(), &st) == 0) {
        c->m_device = static_cast<uint64_t>(st.st_dev);
        c->m_inode = static_cast<uint64_t>(st.st_ino);
    }
    c->m_readOnly = readOnly;
    c->m_exclusive = exclusive;
    // SQLite finds the log beside the name it opens; a file already open under another name (a
    // hard link) is opened under that one, so that both connections use the same log.
    c->m_sqlitePath = path;
    for (Connection* other : liveConnections())
        if (other->m_key == file) {
            c->m_sqlitePath = other->m_sqlitePath;
            break;
        }
    if (c->m_sqlitePath == path && openCounts()[file] == 0) checkLeftoverLog(path, readOnly);
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    // A file that keeps a write-ahead log and is only read (an installation database nobody
    // writes) is read as on a local disk: read through the lock of a shared folder, it would be
    // held for as long as it is open, since SQLite reads such a log without shared memory only
    // while it keeps the file to itself. A file anybody writes there leaves the log at its first
    // opening for writing (leaveWal).
    c->m_shared = onSharedFolder(path) && !(readOnly && walHeader(path));
    std::string openName = c->m_sqlitePath;
    if (readOnly && readAsItStands(c->m_sqlitePath, c->m_folder)) {
        // Read as it stands, the file takes no lock at all, so neither does the shared folder's.
        openName = fileUri(c->m_sqlitePath) + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
        c->m_shared = false;
    }
    const int rc = sqlite3_open_v2(openName.c_str(), &c->m_db, flags, c->m_shared ? sharedFolderVfs() : nullptr);
    if (rc != SQLITE_OK) {
        if (c->m_db) sqlite3_close_v2(c->m_db);
        c->m_db = nullptr;
        // SQLite reads the file's header as it opens it: a read the disk failed is no other kind of file.
        raise(rc == SQLITE_CANTOPEN         ? vb::err::FileLocked
              : (rc & 0xFF) == SQLITE_IOERR ? vb::err::DiskOrNetworkError
                                            : vb::err::NotADatabase,
              path);
    }
    // Until the file is accepted, closing the connection merges no log into it.
    sqlite3_db_config(c->m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    openCounts()[file]++;
    if (exclusive) exclusiveFiles().insert(file);
    c->m_listed = true;
    c->m_heldEntry = files::noteHeld(c->m_sqlitePath);
    liveConnections().insert(c.get());
    c->configure(exclusive);
    // A file of another owner is refused as it stands, too.
    c->checkOwner(login);
    c->accept();
    if (!exclusive) pool()[key] = c;
    if (c->m_leaveWal) c->leaveWal();
    return c;
}

void Connection::accept() {
    m_ready = true;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
}

namespace {

// A path as the file name of a SQLite URI.
std::string uriPath(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out = "file:";
    for (unsigned char ch : path) {
        const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                           ch >= 0x80 || std::string_view("/.-_~").find(static_cast<char>(ch)) != std::string_view::npos;
        if (plain) {
            out += static_cast<char>(ch);
        } else {
            out += '%';
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
    }
    return out;
}

// A log with at least one frame after its header.
bool logHasFrames(const std::string& path) {
    struct stat st;
    return ::stat((path + "-wal").c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 32;
}

std::string userName(uid_t uid) {
    std::vector<char> buffer(16384);
    struct passwd pw;
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &pw, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return "Nr. " + std::to_string(uid);
}

}  // namespace

void Connection::checkSideFiles(const std::string& path, bool readOnly) {
    // SQLite needs the log and its index beside the file to read and write as the file is opened;
    // one it may not use is otherwise reported as a fault of the disk (3043) or, where it can only
    // be read, as a file that is read-only (3027) at every save.
    for (const char* side : {"-wal", "-shm", "-journal"}) {
        const std::string name = path + side;
        struct stat st;
        if (::stat(name.c_str(), &st) != 0) continue;
        if (::access(name.c_str(), readOnly ? R_OK : R_OK | W_OK) == 0) continue;
        const std::string owner = userName(st.st_uid);
        const std::string shown = fs::path(name).filename().string();
        const bool mine = st.st_uid == ::geteuid();
        const std::string use = readOnly ? "lesen" : "beschreiben";
        std::string text = "Die Datei kann nicht geöffnet werden: die Datei „" + shown + "“ neben ihr gehört ";
        if (mine) {
            text += "Ihnen, aber Sie dürfen sie nicht " + use +
                    ". Geben Sie sich das Recht dazu wieder, oder bitten "
                    "Sie den Verwalter des Ordners darum.";
        } else {
            text += "dem Benutzer „" + owner + "“, und Sie dürfen sie nicht " + use + ". Hat „" + owner +
                    "“ die Datendatei gerade in einem Programm geöffnet, warten Sie, bis dieses Programm sie "
                    "schließt, oder bitten Sie „" +
                    owner + "“, es zu beenden; sonst bitten Sie „" + owner +
                    "“ oder den Verwalter des Ordners, Ihnen das Recht dazu zu geben.";
        }
        raiseText(vb::err::FileLocked, text, name);
    }
}

bool Connection::leftoverLog(const std::string& path) {
    if (!logHasFrames(path) || heldInProcess(path) || lockedElsewhere(path)) return false;
    const std::string shm = path + "-shm";
    return !fs::exists(shm) || !lockedElsewhere(shm);
}

void Connection::checkLeftoverLog(const std::string& path, bool readOnly) {
    // A log that no program holds was left by one that ended without closing the file, or it
    // belongs to another file (or an earlier state of this one) that stood under this name: a
    // backup copied over the file leaves the old log beside it. SQLite would read the file through
    // it, rebuild its shared-memory index, and merge it into the file as it closes, so the file
    // is checked first through a connection that writes nothing: one that holds the file alone
    // and keeps its index of the log in memory (or, for a file it may not write, reads the index
    // without writing it).
    if (!leftoverLog(path)) return;
    const bool writable = !readOnly || ::access(path.c_str(), W_OK) == 0;
    if (!writable && !fs::exists(path + "-shm")) return;
    auto probe = [&](const std::string& uri, int flags, const char* setup) {
        Connection c;
        c.m_path = path;
        c.m_readOnly = true;
        if (sqlite3_open_v2(uri.c_str(), &c.m_db, flags | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            if (c.m_db) sqlite3_close_v2(c.m_db);
            c.m_db = nullptr;
            raise(vb::err::FileLocked, path);
        }
        sqlite3_db_config(c.m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_busy_timeout(c.m_db, DBEngine::instance().busyTimeout());
        if (setup) sqlite3_exec(c.m_db, setup, nullptr, nullptr, nullptr);
        c.checkReadable();
    };
    try {
        if (writable) probe(uriPath(path), SQLITE_OPEN_READWRITE, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA query_only=ON");
        else probe(uriPath(path) + "?readonly_shm=1", SQLITE_OPEN_READONLY, nullptr);
        return;
    } catch (const vb::Error& withLog) {
        if (withLog.number() != vb::err::NotADatabase) throw;
        // The file alone, as if no log stood beside it: whole there, it is the log that does not fit.
        try {
            probe(uriPath(path) + "?immutable=1", SQLITE_OPEN_READONLY, nullptr);
        } catch (const vb::Error&) {
            throw withLog;
        }
        raiseText(vb::err::ForeignLog,
                  "Die Datei „" + fs::path(path).filename().string() + "“ selbst ist unversehrt, aber das Protokoll „" +
                      fs::path(path + "-wal").filename().string() +
                      "“ neben ihr passt nicht zu ihr: es gehört vielleicht zu einer anderen Datei oder zu einem "
                      "früheren Stand dieser Datei (etwa wenn eine Sicherung über sie kopiert wurde). Die Datei wird "
                      "nicht geöffnet; an ihr und ihrem Protokoll wurde nichts geändert.",
                  path + "-wal");
    }
}

namespace {

// SQLite's own busy timeout, with a word to the program when a wait begins (the hourglass).
int busyWait(void* started, int count) {
    using Clock = std::chrono::steady_clock;
    auto& since = *static_cast<Clock::time_point*>(started);
    if (count == 0) {
        since = Clock::now();
        DBEngine::instance().waitingForLock();
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
    const long timeout = DBEngine::instance().busyTimeout();
    if (waited >= timeout) return 0;
    static constexpr int kSteps[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    const int step = count < 12 ? kSteps[count] : 100;
    sqlite3_sleep(static_cast<int>(std::min<long>(step, timeout - waited)));
    return 1;
}

}  // namespace

void Connection::waitForLocks(bool wait) {
    if (!wait) sqlite3_busy_handler(m_db, nullptr, nullptr);
    else if (m_shared) sqlite3_busy_handler(m_db, &Connection::waitOnSharedFolder, this);
    else sqlite3_busy_handler(m_db, busyWait, &m_waitStarted);
}

void Connection::leaveWal() {
    m_leaveWal = false;
    // The log goes into the file, and the file keeps a rollback journal from now on; the lock
    // held since opening is let go at the next read.
    if (!m_readOnly) sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    if (!m_exclusive) {
        sqlite3_exec(m_db, "PRAGMA locking_mode=NORMAL", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    }
}

namespace {
// How long past the busy timeout a statement still tries when the lock was let go at that moment.
constexpr long kLastTries = 200;
}  // namespace

int Connection::waitOnSharedFolder(void* self, int count) {
    auto* c = static_cast<Connection*>(self);
    DBEngine& engine = DBEngine::instance();
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) {
        c->m_waitStarted = now;
        engine.waitingForLock();
    }
    if (now - c->m_waitStarted < std::chrono::milliseconds(engine.busyTimeout())) {
        // Another computer's write takes a few milliseconds; looking again costs the network.
        ::usleep(static_cast<useconds_t>(std::min(count + 1, 20)) * 1000);
        return 1;
    }
    // Waited long enough: a holder that stays is named or asked about. One that let go just now
    // gets the statement a last few tries, not a wait of its own: with the computers taking turns
    // all the time the wait would otherwise start over and over, and the user is promised the
    // message after the busy timeout.
    LockHolder holder;
    if (c->m_asking) return 0;
    if (!sharedLockHolder(c->m_sqlitePath, holder)) {
        if (now - c->m_waitStarted >= std::chrono::milliseconds(engine.busyTimeout() + kLastTries)) return 0;
        ::usleep(2000);
        return 1;
    }
    // A save takes milliseconds, an import of many persons a while: only a lock that has stood
    // for longer is offered to be taken over; a younger one is named, and the user tries again.
    constexpr int64_t kTakeOverAfterSeconds = 60;
    if (holder.thisComputer || holder.ageSeconds < kTakeOverAfterSeconds || !engine.takeOverQuestion()) return 0;
    bool takeOver = false;
    c->m_asking = true;
    try {
        takeOver = engine.takeOverQuestion()(c->m_path, holder);
    } catch (...) {
        c->m_questionFailed = std::current_exception();
    }
    c->m_asking = false;
    if (!takeOver) return 0;
    takeOverSharedLock(c->m_sqlitePath, holder);
    // Taken over: the statement goes on at once, with a wait of its own for whoever comes next.
    c->m_waitStarted = std::chrono::steady_clock::now();
    return 1;
}

[[noreturn]] void Connection::raiseLocked(int number) {
    if (m_questionFailed) std::rethrow_exception(std::exchange(m_questionFailed, nullptr));
    LockHolder holder;
    if (m_shared && sharedLockHolder(m_sqlitePath, holder))
        raiseText(number,
                  errorText(number) + " Die Datei wird gerade " + describeHolder(holder) +
                      " benutzt. Versuchen Sie es gleich noch einmal.",
                  m_path);
    if (number == vb::err::RecordLocked)
        raiseText(vb::err::RecordLocked,
                  "Aktualisieren nicht möglich; die Daten sind zurzeit gesperrt: ein anderes Programm benutzt die "
                  "Datei „" +
                      vb::excerpt(m_path, 240) +
                      "“ und hält sie gesperrt. Es wurde nichts gespeichert. "
                      "Versuchen Sie es in einem Moment noch einmal, oder schließen Sie das andere Programm.");
    raise(number, m_path);
}

void Connection::configure(bool exclusive) {
    waitForLocks(true);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_create_collation(m_db, kCollation, SQLITE_UTF8, nullptr, germanCollation);
    sqlite3_create_function(m_db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(m_db, kSortKey, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            sortKeyFunction, nullptr, nullptr);
    sqlite3_update_hook(m_db, &Connection::rowChanged, this);
    sqlite3_create_function(m_db, kColumnSignature, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            columnSignature, nullptr, nullptr);
    auto opened = [&](int rc) {
        if (rc == SQLITE_OK) return;
        const int base = rc & 0xFF;
        if (base == SQLITE_BUSY || base == SQLITE_LOCKED) raiseLocked(vb::err::FileInUse);
        if (base == SQLITE_NOTADB) raise(vb::err::NotADatabase, m_path);
        if (base == SQLITE_CORRUPT) raiseDamaged();
        fail(rc, "open");
    };
    auto pragma = [&](const std::string& sql) {
        char* msg = nullptr;
        const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &msg);
        sqlite3_free(msg);
        opened(rc);
    };
    // Nothing here writes to the file: a file the caller then refuses stays as it was, byte for byte.
    // A file on a shared folder in write-ahead-log mode can be read only while this connection
    // holds it alone; it goes over to a rollback journal once it is accepted (leaveWal).
    m_leaveWal = m_shared && walHeader(m_sqlitePath);
    if (exclusive || m_leaveWal) pragma("PRAGMA locking_mode=EXCLUSIVE");
    // A cursor visits its rows in its own order, scattered over the file: the persons of a large
    // file stay in memory once read, instead of each visit reading its page from the file again.
    // Set before the check, which reads the persons' table whole: what it read stays for the
    // first list of the persons.
    pragma("PRAGMA cache_size=-32768");
    checkReadable();
    pragma("PRAGMA foreign_keys=ON");
    if (!m_readOnly && m_shared) {
        // Every commit is in the file server's file before it is confirmed.
        pragma("PRAGMA synchronous=FULL");
        m_walPending = false;
    } else if (!m_readOnly) {
        pragma("PRAGMA synchronous=NORMAL");
        // Another program that keeps a read open holds the log back from being written into the
        // file, so that it grows with every write meanwhile; once the log starts over, it is cut
        // back to what about one regular checkpoint's worth of writes needs (see kLogSizeLimit).
        pragma("PRAGMA journal_size_limit=" + std::to_string(kLogSizeLimit));
        // The file goes over to the write-ahead log at its first write, not now (see prepareWrite).
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA journal_mode", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW) {
            const unsigned char* mode = sqlite3_column_text(s, 0);
            m_walPending = !(mode && std::string(reinterpret_cast<const char*>(mode)) == "wal");
        }
        sqlite3_finalize(s);
    }
}

void Connection::checkReadable() {
    // Reading the schema finds a damaged header or a locked file before anything else.
    char* msg = nullptr;
    const int rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK) {
        const int base = rc & 0xFF;
        if (base == SQLITE_BUSY || base == SQLITE_LOCKED) raiseLocked(vb::err::FileInUse);
        if (base == SQLITE_NOTADB) raise(vb::err::NotADatabase, m_path);
        if (base == SQLITE_CORRUPT) raiseDamaged();
        fail(rc, "open");
    }
    int32_t id = 0;
    if (const int idRc = applicationId(m_db, id); idRc != SQLITE_OK) {
        if (diskFault(m_db, idRc)) raise(vb::err::DiskOrNetworkError, m_path);
        raise(vb::err::NotADatabase, m_path);
    }
    if (id != kDataAppId) raise(vb::err::NotADatabase, m_path);
    checkIntegrity();
}

namespace {

// SQLite's quick check reads every page; on a file of ten thousand persons that costs most of a
// second, more than opening may take. A file up to this many pages is checked whole; of a larger
// one the schema and the tables up to this many rows together, smallest first. The rest of a large
// file is checked by SQLite as it is read: a damaged page read later raises the same error.
constexpr int64_t kWholeFileCheckPages = 2048;
constexpr int64_t kTableCheckRows = 200000;

}  // namespace

void Connection::checkIntegrity() {
    auto single = [&](const std::string& sql, int64_t& value) {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_step(s);
        const bool row = rc == SQLITE_ROW;
        if (row) value = sqlite3_column_type(s, 0) == SQLITE_NULL ? 0 : sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED) raiseLocked(vb::err::FileInUse);
        return row || rc == SQLITE_DONE;
    };
    auto check = [&](const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_step(s);
        const unsigned char* first = rc == SQLITE_ROW ? sqlite3_column_text(s, 0) : nullptr;
        const bool ok = first && std::string(reinterpret_cast<const char*>(first)) == "ok";
        sqlite3_finalize(s);
        if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED) raiseLocked(vb::err::FileInUse);
        if (!ok) raiseDamaged();
    };
    // The check looks at the file's structure; the columns' own value rules (ranges, lengths) are
    // the engine's to enforce when it writes, and checking them on every row would double the cost.
    sqlite3_exec(m_db, "PRAGMA ignore_check_constraints=ON", nullptr, nullptr, nullptr);
    struct Restore {
        sqlite3* db;
        ~Restore() { sqlite3_exec(db, "PRAGMA ignore_check_constraints=OFF", nullptr, nullptr, nullptr); }
    } restore{m_db};
    int64_t pages = 0;
    if (!single("PRAGMA page_count", pages)) raiseDamaged();
    if (pages <= kWholeFileCheckPages) {
        check("PRAGMA quick_check");
        return;
    }
    check("PRAGMA quick_check(sqlite_schema)");
    std::vector<std::pair<int64_t, std::string>> tables;
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND rootpage > 0", -1, &s,
                               nullptr) != SQLITE_OK) {
            sqlite3_finalize(s);
            raiseDamaged();
        }
        while (sqlite3_step(s) == SQLITE_ROW)
            tables.push_back({0, reinterpret_cast<const char*>(sqlite3_column_text(s, 0))});
        sqlite3_finalize(s);
    }
    // The highest row id stands for a table's size: found in a few page reads.
    for (auto& [rows, name] : tables)
        if (!single("SELECT max(rowid) FROM " + quoteName(name), rows)) rows = kTableCheckRows + 1;
    std::sort(tables.begin(), tables.end());
    int64_t checked = 0;
    for (const auto& [rows, name] : tables) {
        if (checked + rows > kTableCheckRows) break;
        check("PRAGMA quick_check(" + quoteName(name) + ")");
        checked += rows;
    }
}

[[noreturn]] void Connection::raiseDamaged() {
    // A page the disk failed to read is not damaged: the user is told of the disk, not sent to
    // repair or replace a sound file.
    if (readFault(m_db)) raise(vb::err::DiskOrNetworkError, m_path);
    raiseText(vb::err::NotADatabase, "Die Datenbank ist beschädigt und wird nicht geöffnet.", m_path);
}

void Connection::prepareWrite() {
    // Inside a transaction the journal mode cannot change; the switch then waits for the next write
    // outside one. Where it cannot happen at all (another program reads the file) the file keeps
    // its rollback journal, which is just as safe.
    if (!m_walPending || !sqlite3_get_autocommit(m_db)) return;
    beforeWrite();  // the switch writes the file's header
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(m_db, "PRAGMA journal_mode=WAL", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW) {
        const unsigned char* mode = sqlite3_column_text(s, 0);
        if (mode && std::string(reinterpret_cast<const char*>(mode)) == "wal") m_walPending = false;
    }
    sqlite3_finalize(s);
}

std::shared_ptr<Connection> Connection::create(const std::string& path, const DBEngine::Login& owner, bool installation) {
    std::error_code ec;
    const fs::path p(path);
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (p.filename().empty()) raise(vb::err::PathNotFound, path);
    if (!fs::is_directory(parent, ec)) raise(vb::err::PathNotFound, path);
    if (fs::exists(p, ec)) raise(vb::err::DatabaseExists, path);
    if (::access(parent.c_str(), W_OK) != 0) raise(vb::err::FileLocked, path);
    // SQLite makes a new file readable by all and writable by its owner alone, whatever the umask
    // allows. Made here first, the file takes the permissions the umask gives (in a group folder
    // the group may write it too), and SQLite gives its log and shared memory those of the file.
    if (const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); fd >= 0) ::close(fd);
    else raise(errno == EEXIST ? vb::err::DatabaseExists : vb::err::FileLocked, path);
    sqlite3* db = nullptr;
    const bool shared = onSharedFolder(path);
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             shared ? sharedFolderVfs() : nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        fs::remove(p, ec);
        raise(vb::err::FileLocked, path);
    }
    // The file goes over to the write-ahead log before anything else is written, without a
    // rollback journal of its own (a file that fails is removed whole), and is made in one
    // transaction.
    // On a shared folder it keeps a rollback journal (see shared_folder.h).
    std::string sql = std::string(shared
                                      ? "PRAGMA synchronous=FULL;PRAGMA journal_mode=MEMORY;"
                                      : "PRAGMA synchronous=NORMAL;PRAGMA journal_mode=MEMORY;PRAGMA journal_mode=WAL;") +
                      "BEGIN;"
                      "PRAGMA application_id=" +
                      std::to_string(kDataAppId) +
                      ";"
                      "CREATE TABLE zuvsys_owner (key TEXT PRIMARY KEY, value TEXT);"
                      "CREATE TABLE zuvsys_relations (name TEXT PRIMARY KEY COLLATE NOCASE, tbl TEXT, ftbl TEXT, "
                      "fld TEXT, ffld TEXT, attributes INTEGER);"
                      "CREATE TABLE zuvsys_permissions (container TEXT, document TEXT, username TEXT, permissions "
                      "INTEGER, PRIMARY KEY (container, document, username));";
    if (installation) {
        sql += "INSERT INTO zuvsys_owner VALUES ('installation', '1');";
    } else {
        sql += "INSERT INTO zuvsys_owner VALUES ('account', " + quoteLiteral(owner.accountId) + ");";
        sql += "INSERT INTO zuvsys_owner VALUES ('workgroup', " + quoteLiteral(owner.workgroupId) + ");";
        sql += "INSERT INTO zuvsys_owner VALUES ('user', " + quoteLiteral(owner.userName) + ");";
    }
    sql += "COMMIT;";
    char* msg = nullptr;
    rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    const int systemErrno = rc == SQLITE_OK ? 0 : lastSystemError(db);
    sqlite3_close_v2(db);
    // A file that could not be made whole, or not be opened afterwards (the disk filled up in
    // between), is of no use to anyone: it goes, with its log.
    auto removeMade = [&] {
        for (const char* side : {"", "-wal", "-shm", "-journal"}) fs::remove(path + side, ec);
    };
    if (rc != SQLITE_OK) {
        removeMade();
        raise(diskErrorNumber(rc, systemErrno), path);
    }
    try {
        return open(path, false, false, owner);
    } catch (...) {
        if (!heldInProcess(path)) removeMade();
        throw;
    }
}

Connection::~Connection() { shutdown(); }

void Connection::closeHandle() {
    if (!m_db) return;
    // Statements lent out right now are finalized by their holders; SQLite closes the file
    // when the last of them goes.
    for (auto& [sql, s] : m_cache)
        if (!m_lent.count(s)) sqlite3_finalize(s);
    m_cache.clear();
    if (!m_readOnly && m_ready) checkpointAsLettingGo();
    // SQLite leaves its log and shared-memory file beside the old name of a file moved or
    // deleted meanwhile, since they might belong to a file put there since. Where none stands
    // there, they are this connection's alone and go with it.
    std::vector<std::pair<std::string, struct stat>> ownSideFiles;
    if (!m_readOnly && m_ready && m_sqlitePath == m_path) {
        const HeldFile f = fate();
        if ((f.fate == HeldFile::Fate::Deleted || f.fate == HeldFile::Fate::Moved) && !f.nameTaken)
            for (const char* side : {"-wal", "-shm"}) {
                struct stat st;
                const std::string name = m_path + side;
                if (::stat(name.c_str(), &st) == 0 && descriptorOf(st.st_dev, st.st_ino) >= 0)
                    ownSideFiles.emplace_back(name, st);
            }
    }
    sqlite3_close_v2(m_db);  // an open transaction is rolled back
    for (const auto& [name, was] : ownSideFiles) {
        struct stat st;
        if (descriptorOf(was.st_dev, was.st_ino) < 0 && ::stat(name.c_str(), &st) == 0 && st.st_dev == was.st_dev &&
            st.st_ino == was.st_ino)
            ::unlink(name.c_str());
    }
    m_db = nullptr;
    m_depth = 0;
    m_ended.reset();
    schemaChanged();
}

bool Connection::reopenAt(const std::string& target) {
    if (!m_db || !m_ready || m_depth != 0 || !m_lent.empty() || m_exclusive || m_sqlitePath != m_path) return false;
    // The old handle goes first: its log lies beside the old name, where the copy may stand now,
    // and the copy's own log is made there when the copy is opened.
    closeHandle();
    files::letGo(m_heldEntry);
    m_heldEntry = 0;
    const std::string oldKey = m_key;
    if (auto it = openCounts().find(oldKey); it != openCounts().end() && --it->second <= 0) openCounts().erase(it);
    std::weak_ptr<Connection> self;
    std::string mode;
    for (auto it = pool().begin(); it != pool().end();) {
        if (it->second.lock().get() == this) {
            self = it->second;
            mode = it->first.substr(it->first.rfind('|'));
            it = pool().erase(it);
        } else {
            ++it;
        }
    }
    const fs::path p(target);
    m_path = target;
    m_sqlitePath = target;
    m_key = fileKey(target);
    m_folder = p.has_parent_path() ? p.parent_path().string() : std::string(".");
    struct stat st;
    if (::stat(target.c_str(), &st) != 0) return false;
    m_device = static_cast<uint64_t>(st.st_dev);
    m_inode = static_cast<uint64_t>(st.st_ino);
    openCounts()[m_key]++;
    const int flags = (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    m_shared = onSharedFolder(target) && !(m_readOnly && walHeader(target));
    if (sqlite3_open_v2(m_sqlitePath.c_str(), &m_db, flags, m_shared ? sharedFolderVfs() : nullptr) != SQLITE_OK) {
        if (m_db) sqlite3_close_v2(m_db);
        m_db = nullptr;
        return false;
    }
    m_heldEntry = files::noteHeld(m_sqlitePath);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    try {
        m_ready = false;
        configure(false);
        accept();
        if (m_leaveWal) leaveWal();
    } catch (...) {
        // The reason goes to the caller, which lets the connection go.
        closeHandle();
        throw;
    }
    // Handed out for the file under its new name from now on, as if opened there.
    if (!self.expired()) pool()[m_key + mode] = self;
    m_keysets.clear();
    m_dataVersion = 0;
    wrote();  // every cursor reads its rows anew, from the copy
    return true;
}

bool Connection::follow(const std::string& path, const std::string& target) {
    const std::string key = fileKey(path);
    const std::string spelled = spelledPath(path);
    std::vector<Connection*> found;
    for (Connection* c : liveConnections())
        if (c->m_key == key || spelledPath(c->m_path) == spelled) found.push_back(c);
    bool all = !found.empty();
    std::exception_ptr refused;
    for (Connection* c : found) {
        bool followed = false;
        try {
            followed = c->reopenAt(target);
        } catch (...) {
            if (!refused) refused = std::current_exception();
        }
        if (!followed) {
            c->shutdown();
            all = false;
        }
    }
    if (refused) std::rethrow_exception(refused);
    return all;
}

void Connection::shutdown() {
    closeHandle();
    if (!m_listed) return;
    m_listed = false;
    liveConnections().erase(this);
    files::letGo(m_heldEntry);
    auto it = openCounts().find(m_key);
    if (it != openCounts().end() && --it->second <= 0) openCounts().erase(it);
    if (m_exclusive) exclusiveFiles().erase(m_key);
    const std::string key = m_key + (m_readOnly ? "|ro" : "|rw");
    auto p = pool().find(key);
    if (p != pool().end()) {
        auto pooled = p->second.lock();
        if (!pooled || pooled.get() == this) pool().erase(p);
    }
}

void Connection::checkpoint() {
    if (m_db && !m_readOnly && m_depth == 0)
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
}

void Connection::checkpointAsLettingGo() {
    if (!m_db || m_readOnly || m_depth != 0 || m_shared) return;
    if (fate().fate != HeldFile::Fate::InPlace) {
        checkpoint();
        return;
    }
    waitForLocks(false);
    sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    waitForLocks(true);
}

void Connection::checkOwner(const DBEngine::Login& login) {
    if (!m_ownerRead) {
        // The owner record as the file holds it. Rows that are missing, empty, Null or not text
        // leave their part empty, and an empty part matches no login: a file whose record was
        // removed or spoilt is not taken for an installation database that anyone may open.
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, "SELECT key, value FROM zuvsys_owner", -1, &s, nullptr) == SQLITE_OK) {
            int rc;
            while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
                if (sqlite3_column_type(s, 0) != SQLITE_TEXT || sqlite3_column_type(s, 1) != SQLITE_TEXT) continue;
                const std::string key = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
                const std::string value = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
                if (key == "account") m_ownerAccount = value;
                else if (key == "workgroup") m_ownerWorkgroup = value;
                else if (key == "installation") m_installation = value == "1";
            }
            sqlite3_finalize(s);
            if (rc != SQLITE_DONE) {
                if ((rc & 0xFF) == SQLITE_CORRUPT) raiseDamaged();
                fail(rc, "owner");
            }
        } else {
            sqlite3_finalize(s);
        }
        m_ownerRead = true;
    }
    if (m_installation && m_ownerAccount.empty() && m_ownerWorkgroup.empty()) return;
    if (m_ownerAccount.empty() || m_ownerWorkgroup.empty() || m_ownerAccount != login.accountId ||
        m_ownerWorkgroup != login.workgroupId)
        raise(vb::err::NoPermission, m_path);
}

[[noreturn]] void Connection::fail(int rc, const std::string& context) {
    try {
        raiseFor(rc, context);
    } catch (const vb::Error& e) {
        // SQLite ended the transaction this statement ran in: what the caller still commits of it
        // is gone, so committing reports this error rather than confirming anything.
        if (m_db && m_depth > 0 && !m_ended && sqlite3_get_autocommit(m_db)) m_ended = e;
        throw;
    }
}

[[noreturn]] void Connection::raiseFor(int rc, const std::string& context) {
    const int ext = m_db ? sqlite3_extended_errcode(m_db) : rc;
    const std::string msg = m_db ? sqlite3_errmsg(m_db) : "";
    const int base = rc & 0xFF;
    auto after = [&](const char* marker) {
        const size_t at = msg.find(marker);
        return at == std::string::npos ? std::string() : msg.substr(at + std::strlen(marker));
    };
    switch (base) {
    case SQLITE_CONSTRAINT:
        if (ext == SQLITE_CONSTRAINT_FOREIGNKEY) raise(vb::err::RelatedRecordRequired);
        if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY) raise(vb::err::DuplicateKey);
        if (ext == SQLITE_CONSTRAINT_NOTNULL) raise(vb::err::FieldRequired, msg);
        if (msg.find("zuv_len_") != std::string::npos) raise(vb::err::FieldTooSmall, after("zuv_len_"));
        if (msg.find("zuv_range_") != std::string::npos) raise(vb::err::NumericOverflow, after("zuv_range_"));
        raise(vb::err::ValidationRuleViolated, msg);
    case SQLITE_READONLY: raise(vb::err::ReadOnlyDatabase, m_path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: raiseLocked(vb::err::RecordLocked);
    case SQLITE_CORRUPT: raiseDamaged();
    case SQLITE_NOTADB: raise(vb::err::NotADatabase, m_path);
    case SQLITE_FULL:
    case SQLITE_IOERR: raise(diskErrorNumber(rc, lastSystemError(m_db)), m_path);
    case SQLITE_CANTOPEN: raise(vb::err::DiskOrNetworkError, m_path);
    default: break;
    }
    if (tooLargeToParse(msg))
        raiseText(vb::err::SyntaxError,
                  "Die Anweisung ist zu umfangreich oder zu tief verschachtelt und wird nicht ausgeführt.", context);
    if (msg.find("no such table") != std::string::npos) raise(vb::err::TableNotFound, after("no such table: "));
    if (msg.find("no such column") != std::string::npos) raise(vb::err::TooFewParameters, after("no such column: "));
    if (msg.find("no such function") != std::string::npos)
        raise(vb::err::SyntaxError, "unbekannte Funktion " + after("no such function: "));
    if (msg.rfind("index ", 0) == 0 && msg.find("already exists") != std::string::npos) raise(vb::err::IndexExists, msg);
    if (msg.find("already exists") != std::string::npos)
        raise(vb::err::ObjectExists, msg.substr(0, msg.find(" already")));
    raise(vb::err::SyntaxError, context.empty() ? msg : context);
}

Stmt Connection::prepare(const std::string& sql, int errorNumber) {
    requireOpen();
    auto it = m_cache.find(sql);
    if (it != m_cache.end()) {
        if (!m_lent.count(it->second)) {
            m_lent.insert(it->second);
            return Stmt(this, it->second, false);
        }
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
            sqlite3_finalize(s);
            fail(sqlite3_errcode(m_db), sql);
        }
        return Stmt(this, s, true);
    }
    sqlite3_stmt* s = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &s, &tail);
    if (rc == SQLITE_OK && tail) {
        for (const char* c = tail; *c; ++c)
            if (!vb::ascii::isSpace(*c) && *c != ';') {
                sqlite3_finalize(s);
                raise(errorNumber == vb::err::CriteriaSyntaxError ? vb::err::CriteriaSyntaxError
                                                                  : vb::err::CharactersAfterStatementEnd);
            }
    }
    if (rc != SQLITE_OK) {
        sqlite3_finalize(s);
        const std::string msg = sqlite3_errmsg(m_db);
        if (tooLargeToParse(msg)) fail(rc, sql);
        if (errorNumber != vb::err::SyntaxError && msg.find("no such column") != std::string::npos)
            raise(vb::err::UnknownFieldInCriteria, msg.substr(msg.find(':') + 1));
        if (errorNumber != vb::err::SyntaxError && (rc & 0xFF) == SQLITE_ERROR) raise(errorNumber, msg);
        fail(rc, sql);
    }
    if (!sqlite3_stmt_readonly(s)) prepareWrite();
    if (m_cache.size() > 200) {
        std::erase_if(m_cache, [this](auto& entry) {
            if (m_lent.count(entry.second)) return false;
            sqlite3_finalize(entry.second);
            return true;
        });
    }
    m_cache[sql] = s;
    m_lent.insert(s);
    return Stmt(this, s, false);
}

void Connection::refuseEndedTransaction() const {
    // Written now, a row would be committed on its own, outside the transaction it belongs to.
    if (m_ended && m_depth > 0 && sqlite3_get_autocommit(m_db)) throw *m_ended;
}

long Connection::run(sqlite3_stmt* s, std::vector<int64_t>* returned) {
    refuseEndedTransaction();
    if (!sqlite3_stmt_readonly(s)) beforeWrite();
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        if (!returned) continue;
        returned->clear();
        for (int c = 0; c < sqlite3_column_count(s); ++c) returned->push_back(sqlite3_column_int64(s, c));
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(s);
        fail(rc, sqlite3_sql(s) ? sqlite3_sql(s) : "");
    }
    return sqlite3_changes(m_db);
}

void Connection::exec(const std::string& sql) {
    requireOpen();
    refuseEndedTransaction();
    beforeWrite();
    prepareWrite();
    execEnding(sql);
}

void Connection::execEnding(const std::string& sql) {
    requireOpen();
    char* msg = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK) fail(rc, sql);
}

void Connection::schemaChanged() {
    // Cached statements stay: SQLite prepares them again for the new schema by itself. Kept row
    // ids go: a table dropped or made anew changes its rows without a word to rowChanged.
    m_keysets.clear();
    m_schemaLoaded = false;
    m_tables.clear();
    m_dotted.clear();
}

void Connection::loadSchema() {
    requireOpen();
    if (m_schemaLoaded) return;
    m_tables.clear();
    m_dotted.clear();
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(m_db,
                                "SELECT name, type, sql FROM sqlite_schema WHERE type IN ('table','view') AND "
                                "substr(name, 1, 7) <> 'sqlite_' AND substr(name, 1, 7) <> 'zuvsys_' "
                                "ORDER BY name COLLATE NOCASE",
                                -1, &s, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(s);
        fail(rc, "schema");
    }
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        TableInfo t;
        t.name = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        t.isView = std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 1))) == "view";
        const char* create = reinterpret_cast<const char*>(sqlite3_column_text(s, 2));
        const bool autoinc = create && std::string(create).find("AUTOINCREMENT") != std::string::npos;
        m_tables.push_back(std::move(t));
        (void)autoinc;
        m_tables.back().counterIndex = autoinc ? -2 : -1;
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE) fail(rc, "schema");
    for (auto& t : m_tables) {
        const bool autoinc = t.counterIndex == -2;
        t.counterIndex = -1;
        sqlite3_stmt* ti = nullptr;
        const std::string sql = "PRAGMA table_info(" + quoteName(t.name) + ")";
        rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &ti, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(ti);
            continue;  // a view over a missing table: it fails when used
        }
        while (sqlite3_step(ti) == SQLITE_ROW) {
            ColumnInfo c;
            c.name = reinterpret_cast<const char*>(sqlite3_column_text(ti, 1));
            const char* decl = reinterpret_cast<const char*>(sqlite3_column_text(ti, 2));
            c.type = typeFromDecl(decl ? decl : "", c.size);
            c.primaryKey = sqlite3_column_int(ti, 5) != 0;
            const std::string d = decl ? decl : "";
            if (c.primaryKey && autoinc && (d == "INTEGER" || d == "integer")) {
                c.counter = true;
                c.type = FieldType::Counter;
                t.counterIndex = static_cast<int>(t.columns.size());
            }
            if (sqlite3_column_type(ti, 4) != SQLITE_NULL) {
                const std::string dflt = reinterpret_cast<const char*>(sqlite3_column_text(ti, 4));
                sqlite3_stmt* ev = nullptr;
                if (sqlite3_prepare_v2(m_db, ("SELECT " + dflt).c_str(), -1, &ev, nullptr) == SQLITE_OK &&
                    sqlite3_step(ev) == SQLITE_ROW)
                    c.defaultValue = readColumn(ev, 0, c.type == FieldType::Counter ? FieldType::Long : c.type);
                sqlite3_finalize(ev);
            } else {
                c.defaultValue = vb::Variant::null();
            }
            if (t.isView && c.name.find('.') != std::string::npos) m_dotted.insert(foldName(c.name));
            t.columns.push_back(std::move(c));
        }
        sqlite3_finalize(ti);
    }
    m_schemaLoaded = true;
}

const TableInfo* Connection::table(std::string_view name) {
    loadSchema();
    for (const auto& t : m_tables)
        if (sameName(t.name, name)) return &t;
    return nullptr;
}

std::vector<std::string> Connection::tableNames() {
    loadSchema();
    std::vector<std::string> out;
    for (const auto& t : m_tables)
        if (!t.isView) out.push_back(t.name);
    return out;
}

DottedNames Connection::dottedColumnsOf(const std::string& jet) {
    loadSchema();
    if (m_dotted.empty()) return nullptr;
    std::vector<std::string> views;
    for (const auto& name : sourceNames(jet)) {
        const TableInfo* t = table(name);
        if (t && t->isView) views.push_back(t->name);
    }
    if (views.empty()) return nullptr;
    return [this, views](const std::string& n) {
        if (!m_dotted.count(foldName(n))) return false;
        for (const auto& v : views) {
            const TableInfo* t = table(v);
            if (t && t->column(n)) return true;
        }
        return false;
    };
}

int64_t Connection::reserveCounter(const TableInfo& t) {
    Savepoint sp(*this);
    int64_t seq = 0;
    bool hasRow = false;
    {
        Stmt s = prepare("SELECT seq FROM sqlite_sequence WHERE name = ?1");
        sqlite3_bind_text(s, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(s) == SQLITE_ROW) {
            seq = sqlite3_column_int64(s, 0);
            hasRow = true;
        }
    }
    {
        Stmt s = prepare("SELECT max(rowid) FROM " + quoteName(t.name));
        if (sqlite3_step(s) == SQLITE_ROW) seq = std::max<int64_t>(seq, sqlite3_column_int64(s, 0));
    }
    const int64_t next = seq + 1;
    if (next > std::numeric_limits<int32_t>::max()) raise(vb::err::NumericOverflow, t.name);
    Stmt w = prepare(hasRow ? "UPDATE sqlite_sequence SET seq = ?2 WHERE name = ?1"
                            : "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)");
    sqlite3_bind_text(w, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(w, 2, next);
    run(w);
    sp.release();
    wrote();
    return next;
}

namespace {

// Fewer rows are read anew each time; more changed rows are read anew rather than placed one by one.
constexpr size_t kKeepKeysetRows = 2000;
constexpr size_t kPlaceChangedRows = 200;
constexpr size_t kKeptKeysets = 4;

}  // namespace

void Connection::rowChanged(void* self, int, const char* database, const char* table, sqlite3_int64 rowid) {
    auto* c = static_cast<Connection*>(self);
    if (c->m_keysets.empty() || std::strcmp(database, "main") != 0) return;
    for (auto& [sql, k] : c->m_keysets) {
        if (k.tooMany || k.table != table) continue;
        if (k.changed.size() >= kPlaceChangedRows) {
            k.tooMany = true;
            k.changed.clear();
        } else {
            k.changed.insert(rowid);
        }
    }
}

uint64_t Connection::dataVersion() {
    Stmt s = prepare("PRAGMA data_version");
    const int rc = sqlite3_step(s);
    // The file held by another program all the while: the statement this was asked for would
    // wait for it all over again (and the user be asked again about the same lock).
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED) raiseLocked(vb::err::RecordLocked);
    m_dataVersion = rc == SQLITE_ROW ? static_cast<uint64_t>(sqlite3_column_int64(s, 0)) : 0;
    m_dataVersionSeen = std::chrono::steady_clock::now();
    return m_dataVersion;
}

std::vector<int64_t> Connection::readKeyset(const std::string& keySql) {
    std::vector<int64_t> ids;
    Stmt k = prepare(keySql);
    int rc;
    while ((rc = sqlite3_step(k)) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(k, 0));
    if (rc != SQLITE_DONE) fail(rc, keySql);
    return ids;
}

namespace {

// A sort key as SQLite gave it; text and blobs lie in a block of their own.
struct SortValue {
    int rank = 0;  // SQLite's order of storage classes: Null, numbers, text, blobs
    bool whole = false;
    int64_t integer = 0;
    double real = 0;
    uint64_t prefix = 0;  // the first eight bytes, for a quick comparison
    uint32_t at = 0;
    uint32_t size = 0;
};

int compareWholeReal(int64_t i, double r) {
    if (r < -9223372036854775808.0) return 1;
    if (r >= 9223372036854775808.0) return -1;
    const int64_t t = static_cast<int64_t>(r);
    if (i != t) return i < t ? -1 : 1;
    const double d = static_cast<double>(i);
    return d < r ? -1 : d > r ? 1 : 0;
}

int compareSortValues(const SortValue& a, const SortValue& b, const std::string& bytes) {
    if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
    switch (a.rank) {
    case 0: return 0;
    case 1:
        if (a.whole && b.whole) return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
        if (!a.whole && !b.whole) return a.real < b.real ? -1 : a.real > b.real ? 1 : 0;
        return a.whole ? compareWholeReal(a.integer, b.real) : -compareWholeReal(b.integer, a.real);
    default: {
        if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
        const int c = std::memcmp(bytes.data() + a.at, bytes.data() + b.at, std::min(a.size, b.size));
        if (c) return c < 0 ? -1 : 1;
        return a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
    }
    }
}

}  // namespace

std::vector<int64_t> Connection::readSorted(const std::string& sortSql, const std::vector<bool>& descending) {
    // SQLite's own sort costs far more than reading the keys: the rows are read in the order of
    // their ids and sorted here by their keys and ids, as ORDER BY the keys and the id sorts them.
    // Many rows share a key (a surname): each term's distinct keys are sorted once, and the rows
    // by the keys' places.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    struct Term {
        std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> ids;
        std::vector<SortValue> values;
        std::string bytes;
    };
    const size_t terms = descending.size();
    std::vector<Term> term(terms);
    std::vector<int64_t> ids;
    std::vector<uint32_t> keys;  // of each row, each term's distinct key
    {
        Stmt s = prepare(sortSql);
        std::string probe;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            ids.push_back(sqlite3_column_int64(s, 0));
            for (size_t t = 0; t < terms; ++t) {
                const int col = static_cast<int>(t + 1);
                SortValue v;
                probe.clear();
                const int type = sqlite3_column_type(s, col);
                probe += static_cast<char>(type);
                switch (type) {
                case SQLITE_NULL: break;
                case SQLITE_INTEGER:
                    v.rank = 1;
                    v.whole = true;
                    v.integer = sqlite3_column_int64(s, col);
                    probe.append(reinterpret_cast<const char*>(&v.integer), sizeof v.integer);
                    break;
                case SQLITE_FLOAT:
                    v.rank = 1;
                    v.real = sqlite3_column_double(s, col);
                    probe.append(reinterpret_cast<const char*>(&v.real), sizeof v.real);
                    break;
                default: {
                    // Text (which sort keys never are) compares byte by byte as blobs do.
                    v.rank = type == SQLITE_TEXT ? 2 : 3;
                    const void* p = sqlite3_column_blob(s, col);
                    v.size = static_cast<uint32_t>(sqlite3_column_bytes(s, col));
                    if (p) probe.append(static_cast<const char*>(p), v.size);
                    break;
                }
                }
                Term& tm = term[t];
                auto found = tm.ids.find(std::string_view(probe));
                if (found == tm.ids.end()) {
                    if (v.rank >= 2) {
                        v.at = static_cast<uint32_t>(tm.bytes.size());
                        tm.bytes.append(probe, 1, std::string::npos);
                        for (uint32_t b = 0; b < 8; ++b)
                            v.prefix = (v.prefix << 8) |
                                       (b < v.size ? static_cast<unsigned char>(tm.bytes[v.at + b]) : 0u);
                    }
                    found = tm.ids.emplace(probe, static_cast<uint32_t>(tm.values.size())).first;
                    tm.values.push_back(v);
                }
                keys.push_back(found->second);
            }
        }
        if (rc != SQLITE_DONE) fail(rc, sortSql);
    }
    // The place of each distinct key in its term's order; keys that compare equal share it.
    std::vector<std::vector<uint32_t>> place(terms);
    std::vector<int> width(terms, 0);
    int bits = 0;
    for (size_t t = 0; t < terms; ++t) {
        const Term& tm = term[t];
        std::vector<uint32_t> order(tm.values.size());
        for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            const int c = compareSortValues(tm.values[a], tm.values[b], tm.bytes);
            return descending[t] ? c > 0 : c < 0;
        });
        place[t].resize(order.size());
        uint32_t at = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            if (k && compareSortValues(tm.values[order[k - 1]], tm.values[order[k]], tm.bytes) != 0) ++at;
            place[t][order[k]] = at;
        }
        width[t] = std::bit_width(static_cast<uint64_t>(at));
        bits += width[t];
    }
    // The rows came in the order of their ids: their number among them breaks ties.
    const size_t n = ids.size();
    std::vector<int64_t> sorted;
    sorted.reserve(n);
    if (bits + std::bit_width(static_cast<uint64_t>(n)) <= 64) {
        std::vector<uint64_t> packed(n);
        for (size_t r = 0; r < n; ++r) {
            uint64_t v = 0;
            for (size_t t = 0; t < terms; ++t) v = (v << width[t]) | place[t][keys[r * terms + t]];
            packed[r] = (v << std::bit_width(static_cast<uint64_t>(n))) | r;
        }
        std::sort(packed.begin(), packed.end());
        const uint64_t mask = (uint64_t{1} << std::bit_width(static_cast<uint64_t>(n))) - 1;
        for (uint64_t v : packed) sorted.push_back(ids[v & mask]);
        return sorted;
    }
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        for (size_t t = 0; t < terms; ++t) {
            const uint32_t pa = place[t][keys[a * terms + t]], pb = place[t][keys[b * terms + t]];
            if (pa != pb) return pa < pb;
        }
        return a < b;
    });
    for (uint32_t i : order) sorted.push_back(ids[i]);
    return sorted;
}

bool Connection::bringUpToDate(KeptKeyset& k) {
    if (!k.changed.empty()) {
        std::erase_if(k.ids, [&](int64_t id) { return k.changed.count(id) > 0; });
        std::vector<int64_t> changed(k.changed.begin(), k.changed.end());
        std::sort(changed.begin(), changed.end());
        k.changed.clear();
        Stmt exists = prepare("SELECT 1 FROM " + quoteName(k.table) + " WHERE rowid = ?1");
        Stmt order = prepare(k.orderSql);
        for (int64_t id : changed) {
            sqlite3_bind_int64(exists, 1, id);
            const int rc = sqlite3_step(exists);
            sqlite3_reset(exists);
            if (rc != SQLITE_ROW) {
                if (rc != SQLITE_DONE) fail(rc, k.table);
                continue;  // deleted, or its change was rolled back
            }
            size_t lo = 0, hi = k.ids.size();
            while (lo < hi) {
                const size_t mid = lo + (hi - lo) / 2;
                sqlite3_bind_int64(order, 1, id);
                sqlite3_bind_int64(order, 2, k.ids[mid]);
                const int step = sqlite3_step(order);
                const bool first = step == SQLITE_ROW && sqlite3_column_int64(order, 0) == id;
                sqlite3_reset(order);
                if (step != SQLITE_ROW) {
                    if (step != SQLITE_DONE) fail(step, k.orderSql);
                    return false;
                }
                if (first) hi = mid;
                else lo = mid + 1;
            }
            k.ids.insert(k.ids.begin() + static_cast<std::ptrdiff_t>(lo), id);
        }
    }
    // Rows can go without a word to rowChanged (a table emptied at once): what is kept must still
    // be every row of the table.
    Stmt count = prepare("SELECT count(*) FROM " + quoteName(k.table));
    return sqlite3_step(count) == SQLITE_ROW && static_cast<size_t>(sqlite3_column_int64(count, 0)) == k.ids.size();
}

std::vector<int64_t> Connection::keyset(const std::string& keySql, const std::string& table, const std::string& orderSql,
                                        const std::string& sortSql, const std::vector<bool>& descending) {
    if (orderSql.empty()) return readKeyset(keySql);
    const uint64_t version = dataVersion();
    if (auto it = m_keysets.find(keySql); it != m_keysets.end()) {
        KeptKeyset& k = it->second;
        bool current = false;
        try {
            current = k.version == version && !k.tooMany && bringUpToDate(k);
        } catch (...) {
            m_keysets.erase(it);  // half brought up to date
            throw;
        }
        if (current) {
            k.used = ++m_keysetUses;
            return k.ids;
        }
        m_keysets.erase(it);
    }
    std::vector<int64_t> ids = sortSql.empty() ? readKeyset(keySql) : readSorted(sortSql, descending);
    if (ids.size() >= kKeepKeysetRows) {
        if (m_keysets.size() >= kKeptKeysets)
            m_keysets.erase(std::min_element(m_keysets.begin(), m_keysets.end(),
                                             [](const auto& a, const auto& b) { return a.second.used < b.second.used; }));
        KeptKeyset& k = m_keysets[keySql];
        k.table = table;
        k.orderSql = orderSql;
        k.ids = ids;
        k.version = version;
        k.used = ++m_keysetUses;
    }
    return ids;
}

uint64_t Connection::changeToken() { return (dataVersion() << 40) ^ m_writes; }

uint64_t Connection::recentChangeToken() {
    // Well below what a person could notice; Jet let other users' changes wait for seconds.
    constexpr auto kRecentCheck = std::chrono::milliseconds(2);
    if (std::chrono::steady_clock::now() - m_dataVersionSeen > kRecentCheck) dataVersion();
    return (m_dataVersion << 40) ^ m_writes;
}

void Connection::begin() {
    // Opening a transaction writes nothing: whether the file still stands under its name is asked
    // once, when it commits (not for every row written inside it).
    requireOpen();
    refuseEndedTransaction();
    prepareWrite();
    if (m_depth == 0) execEnding("BEGIN IMMEDIATE");
    else execEnding("SAVEPOINT zuv_trans" + std::to_string(m_depth));
    ++m_depth;
}

void Connection::commit() {
    if (m_depth == 0) raise(vb::err::CommitWithoutBeginTrans);
    // A commit that fails (the file locked by another program) leaves the transaction open, so
    // that the caller can roll it back.
    refuseEndedTransaction();  // nothing is left to commit
    if (m_depth == 1) {
        // Written only into the file under its name: otherwise the caller rolls back.
        if (!m_readOnly) requireInPlace(true);
        execEnding("COMMIT");
    } else {
        execEnding("RELEASE zuv_trans" + std::to_string(m_depth - 1));
    }
    --m_depth;
}

void Connection::rollback() {
    if (m_depth == 0) raise(vb::err::CommitWithoutBeginTrans);
    --m_depth;
    // A full disk or an I/O error makes SQLite roll back the whole transaction by itself: then
    // nothing is left to undo, and the error that ended the transaction stays the one reported.
    if (m_db && !sqlite3_get_autocommit(m_db)) {
        if (m_depth == 0) execEnding("ROLLBACK");
        else
            execEnding("ROLLBACK TO zuv_trans" + std::to_string(m_depth) + "; RELEASE zuv_trans" +
                       std::to_string(m_depth));
    }
    if (m_depth == 0) m_ended.reset();
    schemaChanged();
    wrote();
}

Savepoint::Savepoint(Connection& c) : m_c(c) {
    m_outer = m_c.handle() && sqlite3_get_autocommit(m_c.handle());
    m_c.requireOpen();
    m_c.refuseEndedTransaction();
    m_c.prepareWrite();
    m_c.execEnding("SAVEPOINT zuv_step");  // asked at its release, as a transaction at its commit
}

Savepoint::~Savepoint() {
    if (m_done) return;
    sqlite3_exec(m_c.handle(), "ROLLBACK TO zuv_step; RELEASE zuv_step", nullptr, nullptr, nullptr);
}

void Savepoint::release() {
    m_c.refuseEndedTransaction();
    if (m_outer && !m_c.readOnly()) m_c.requireInPlace(true);
    m_c.execEnding("RELEASE zuv_step");
    m_done = true;
}

int64_t valueSignature(int storage, int64_t whole, double number, std::string_view bytes) {
    uint64_t h = 0xcbf29ce484222325ULL;
    auto mix = [&h](const void* data, size_t n) {
        const auto* b = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) {
            h ^= b[i];
            h *= 0x100000001b3ULL;
        }
    };
    const unsigned char type = static_cast<unsigned char>(storage);
    mix(&type, 1);
    switch (storage) {
    case SQLITE_INTEGER: mix(&whole, sizeof whole); break;
    case SQLITE_FLOAT: mix(&number, sizeof number); break;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const uint64_t n = bytes.size();
        mix(&n, sizeof n);
        mix(bytes.data(), bytes.size());
        break;
    }
    default: break;
    }
    return static_cast<int64_t>(h);
}

void bindVariant(sqlite3_stmt* s, int i, const vb::Variant& v) {
    using T = vb::Variant::Type;
    switch (v.type()) {
    case T::Empty:
    case T::Null: sqlite3_bind_null(s, i); break;
    case T::Integer:
    case T::Long: sqlite3_bind_int64(s, i, v.toLong()); break;
    case T::Boolean: sqlite3_bind_int(s, i, v.toBool() ? -1 : 0); break;
    case T::Single:
    case T::Double: sqlite3_bind_double(s, i, v.toDouble()); break;
    case T::Date: sqlite3_bind_double(s, i, v.toDate().serial); break;
    case T::String: {
        const std::string* p = v.stringPtr();
        sqlite3_bind_text(s, i, p->data(), static_cast<int>(p->size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

vb::Variant readValue(int storage, int64_t whole, double number, std::string_view text, FieldType type) {
    if (storage == SQLITE_NULL) return type == FieldType::Boolean ? vb::Variant(false) : vb::Variant::null();
    auto integer = [&]() -> vb::Variant {
        if (whole >= std::numeric_limits<int32_t>::min() && whole <= std::numeric_limits<int32_t>::max())
            return vb::Variant(static_cast<int32_t>(whole));
        return vb::Variant(static_cast<double>(whole));
    };
    const bool numeric = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (type) {
    case FieldType::Integer:
    case FieldType::Byte:
        if (storage == SQLITE_INTEGER) {
            if (whole >= -32768 && whole <= 32767) return vb::Variant(static_cast<int16_t>(whole));
            return integer();
        }
        break;
    case FieldType::Long:
    case FieldType::Counter:
        if (storage == SQLITE_INTEGER) return integer();
        break;
    case FieldType::Boolean:
        if (numeric) return vb::Variant(number != 0);
        break;
    case FieldType::Single:
        if (numeric) return vb::Variant(static_cast<float>(number));
        break;
    case FieldType::Double:
    case FieldType::Currency:
        if (numeric) return vb::Variant(number);
        break;
    case FieldType::Date:
        if (numeric) return vb::Variant(vb::Variant::DateValue{number});
        break;
    case FieldType::Text:
    case FieldType::Memo: return vb::Variant(std::string(text));
    case FieldType::Variant: break;
    }
    switch (storage) {
    case SQLITE_INTEGER: return integer();
    case SQLITE_FLOAT: return vb::Variant(number);
    default: return vb::Variant(std::string(text));
    }
}

bool readsAsText(int storage, FieldType type) {
    return storage == SQLITE_TEXT || storage == SQLITE_BLOB || type == FieldType::Text || type == FieldType::Memo;
}

vb::Variant readColumn(sqlite3_stmt* s, int col, FieldType type) {
    // The type first: a conversion to text changes what SQLite reports of the value.
    const int storage = sqlite3_column_type(s, col);
    if (storage == SQLITE_NULL) return readValue(storage, 0, 0, {}, type);
    const int64_t whole = storage == SQLITE_INTEGER ? sqlite3_column_int64(s, col) : 0;
    const double number = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT ? sqlite3_column_double(s, col) : 0;
    std::string_view text;
    if (readsAsText(storage, type)) {
        const unsigned char* p = sqlite3_column_text(s, col);
        text = std::string_view(p ? reinterpret_cast<const char*>(p) : "",
                                static_cast<size_t>(sqlite3_column_bytes(s, col)));
    }
    return readValue(storage, whole, number, text, type);
}

}  // namespace db::detail
