#include "platform/db/engine.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QString>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <map>

#include "platform/db/connection.h"
#include "platform/db/shared_folder.h"
#include "platform/db/data_control.h"
#include "platform/db/errors.h"
#include "platform/db/jet_sql.h"
#include "platform/db/text.h"
#include "platform/db/workspace.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"

namespace db {

namespace fs = std::filesystem;

namespace {

std::string randomHex(int bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        const unsigned v = QRandomGenerator::system()->bounded(256u);
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

// An id that the same identification always gives again, as a workgroup written anew must.
std::string derivedId(const std::string& kind, const std::string& text) {
    const QByteArray h = QCryptographicHash::hash(QByteArray::fromStdString(kind + "\n" + text),
                                                  QCryptographicHash::Sha256);
    return h.left(16).toHex().toStdString();
}

std::string passwordHash(const std::string& salt, const std::string& password) {
    QByteArray h = QByteArray::fromStdString(salt + ":" + password);
    for (int i = 0; i < 2000; ++i)
        h = QCryptographicHash::hash(h + QByteArray::fromStdString(salt), QCryptographicHash::Sha256);
    return h.toHex().toStdString();
}

struct RawDb {
    sqlite3* db = nullptr;
    ~RawDb() {
        if (db) sqlite3_close_v2(db);
    }
};

// 3028 for a workgroup file SQLite could not read: it is none of ours, or damaged. A read the disk
// failed is the disk's error (3043), which a file put in its place would not mend.
[[noreturn]] void raiseUnreadable(sqlite3* db, int rc, const std::string& shownPath) {
    if (detail::diskFault(db, rc)) raise(vb::err::DiskOrNetworkError, shownPath);
    raise(vb::err::NoWorkgroupFile, shownPath);
}

// Opens a workgroup file for reading; 3028 when it is no regular file or none of ours. The header
// is read through SQLite, never through a descriptor of our own.
void openWorkgroupFile(const std::string& path, RawDb& r, const std::string& shownPath) {
    if (path.empty() || !detail::isRegularFile(path)) raise(vb::err::NoWorkgroupFile, shownPath);
    if (const int rc = sqlite3_open_v2(path.c_str(), &r.db, SQLITE_OPEN_READONLY, nullptr); rc != SQLITE_OK)
        raiseUnreadable(r.db, rc, shownPath);
    sqlite3_busy_timeout(r.db, DBEngine::instance().busyTimeout());
    int32_t appId = 0;
    if (const int rc = detail::applicationId(r.db, appId); rc != SQLITE_OK) raiseUnreadable(r.db, rc, shownPath);
    if (appId != detail::kWorkgroupAppId) raise(vb::err::NoWorkgroupFile, shownPath);
}

// Checks name and password against a workgroup file. 3028 when the file is unusable.
bool lookupAccount(const std::string& path, const std::string& user, const std::string& password,
                   DBEngine::Login& login) {
    RawDb r;
    openWorkgroupFile(path, r, path);
    sqlite3_stmt* s = nullptr;
    if (const int rc = sqlite3_prepare_v2(r.db,
                                          "SELECT a.salt, a.hash, a.id, a.name, (SELECT id FROM workgroup) FROM "
                                          "accounts a WHERE a.name = ?1 COLLATE NOCASE",
                                          -1, &s, nullptr);
        rc != SQLITE_OK) {
        sqlite3_finalize(s);
        raiseUnreadable(r.db, rc, path);
    }
    sqlite3_bind_text(s, 1, user.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(s);
    bool ok = false;
    if (rc == SQLITE_ROW) {
        auto col = [&](int i) {
            const unsigned char* p = sqlite3_column_text(s, i);
            return std::string(p ? reinterpret_cast<const char*>(p) : "");
        };
        if (passwordHash(col(0), password) == col(1)) {
            login.accountId = col(2);
            login.userName = col(3);
            login.workgroupId = col(4);
            ok = true;
        }
    } else if (rc != SQLITE_DONE) {
        sqlite3_finalize(s);
        raiseUnreadable(r.db, rc, path);
    }
    sqlite3_finalize(s);
    return ok;
}

std::map<std::string, DBEngine::Login>& loginCache() {
    static std::map<std::string, DBEngine::Login> c;
    return c;
}

}  // namespace

DBEngine& DBEngine::instance() {
    static DBEngine e;
    return e;
}

void DBEngine::reset() {
    m_systemDB.clear();
    m_defaultUser = "admin";
    m_defaultPassword.clear();
    m_boundPath.clear();
    m_busyTimeoutMs = 3000;
    m_takeOver = nullptr;
    loginCache().clear();
}

DBEngine::Login DBEngine::loginAgainstBound(const std::string& user, const std::string& password) {
    const std::string key = m_boundPath + '\0' + user + '\0' + password;
    auto it = loginCache().find(key);
    if (it != loginCache().end()) return it->second;
    Login login;
    if (!lookupAccount(m_boundPath, user, password, login)) raise(vb::err::BadLogin, user);
    loginCache()[key] = login;
    return login;
}

std::shared_ptr<Workspace> DBEngine::CreateWorkspace(const std::string& name, const std::string& user,
                                                     const std::string& password) {
    if (m_boundPath.empty()) {
        const std::string path = detail::resolvePath(m_systemDB);
        {
            RawDb r;
            openWorkgroupFile(path, r, m_systemDB);
        }
        m_boundPath = path;
    }
    return std::make_shared<Workspace>(name, loginAgainstBound(user, password));
}

DBEngine::Login DBEngine::defaultLogin() {
    if (m_boundPath.empty()) {
        if (m_systemDB.empty()) return Login{};
        CreateWorkspace("", m_defaultUser, m_defaultPassword);  // binds the workgroup file
    }
    return loginAgainstBound(m_defaultUser, m_defaultPassword);
}

namespace {

// A copy under construction: its temporary file and SQLite's side files go when it fails.
struct TempCopy {
    explicit TempCopy(const std::string& target) : path(files::tempNameBeside(target)) {}
    ~TempCopy() {
        if (kept) return;
        std::error_code ec;
        for (const char* side : {"", "-journal", "-wal", "-shm"}) fs::remove(path + side, ec);
    }
    std::string path;
    bool kept = false;
};

// Puts the finished copy under the target's name: only now does a file of that name appear, and
// it is whole (a program killed before this leaves just the temporary file, which the next start
// or compaction removes).
void finishCopy(TempCopy& copy, const std::string& target, bool replace, const std::string& shownTarget) {
    try {
        files::syncFile(copy.path);
        files::moveIntoPlace(copy.path, target, replace);
        copy.kept = true;
    } catch (const vb::Error& e) {
        if (e.number() == vb::err::FileAlreadyExists) raise(vb::err::DatabaseExists, shownTarget);
        raise(e.number() == vb::err::DiskFull ? vb::err::DiskSpaceExhausted : vb::err::DiskOrNetworkError, shownTarget);
    }
}

void checkTarget(const std::string& src, const std::string& dst, const std::string& shownTarget, bool mayExist) {
    std::error_code ec;
    const fs::path d(dst);
    const fs::path parent = d.has_parent_path() ? d.parent_path() : fs::path(".");
    if (d.filename().empty() || !fs::is_directory(parent, ec)) raise(vb::err::PathNotFound, shownTarget);
    if (files::samePath(src, dst)) raise(vb::err::DatabaseExists, shownTarget);
    if (fs::exists(d, ec) && (!mayExist || fs::is_directory(d, ec))) raise(vb::err::DatabaseExists, shownTarget);
}

// What earlier copies killed half-way left beside their source or target goes before a new one;
// a folder holding both is looked through once.
void clearLeftovers(const std::string& src, const std::string& dst) {
    auto folder = [](const std::string& file) {
        const fs::path p(file);
        return p.has_parent_path() ? p.parent_path().string() : std::string(".");
    };
    const std::string from = folder(src), to = folder(dst);
    files::removeStaleTempFiles(from);
    if (!files::samePath(from, to)) files::removeStaleTempFiles(to);
}

}  // namespace

void DBEngine::releaseFile(const std::string& path) {
    detail::Connection::releaseFile(detail::resolvePath(path));
    DataControl::closeReleased();
}

bool DBEngine::followHeldFile(const std::string& path, const std::string& target) {
    const std::string from = detail::resolvePath(path);
    const std::string to = detail::resolvePath(target);
    bool all = false;
    std::exception_ptr refused;
    try {
        all = detail::Connection::follow(from, to);
    } catch (...) {
        refused = std::current_exception();
    }
    DataControl::followFile(from, to);
    DataControl::closeReleased();
    if (refused) std::rethrow_exception(refused);
    return all;
}

void DBEngine::releaseAll() {
    detail::Connection::releaseAll();
    DataControl::closeReleased();
}

bool DBEngine::holdsFile(const std::string& path) const { return files::isHeldByDatabase(path); }

void DBEngine::removeDatabaseFile(const std::string& pathIn) {
    const std::string path = detail::resolvePath(pathIn);
    releaseFile(path);
    std::error_code ec;
    // Looked at before anything goes: a file another program works with stays whole, its journal too.
    for (const char* side : {"", "-wal", "-shm", "-journal"})
        if (fs::exists(path + side, ec) && detail::lockedElsewhere(path + side)) raise(vb::err::FileInUse, pathIn);
    if (fs::exists(path, ec)) files::Kill(path);
    for (const char* side : {"-wal", "-shm", "-journal"}) {
        if (!fs::exists(path + side, ec)) continue;
        if (!fs::remove(path + side, ec) && ec)
            raise(ec == std::errc::permission_denied ? vb::err::PermissionDenied : vb::err::PathFileAccessError,
                  pathIn + side);
    }
}

std::string DBEngine::setLogAside(const std::string& pathIn) {
    const std::string path = detail::resolvePath(pathIn);
    std::error_code ec;
    if (detail::Connection::heldInProcess(path)) raise(vb::err::FileInUse, pathIn);
    for (const char* side : {"", "-wal", "-shm"})
        if (fs::exists(path + side, ec) && detail::lockedElsewhere(path + side)) raise(vb::err::FileInUse, pathIn);
    // The time in the name tells the logs set aside on several days apart; a name already taken
    // gets a number.
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    ::localtime_r(&now, &t);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                  t.tm_min, t.tm_sec);
    std::string suffix = std::string(".beiseite-") + stamp;
    for (int n = 2; fs::exists(path + "-wal" + suffix, ec) || fs::exists(path + "-shm" + suffix, ec); ++n)
        suffix = std::string(".beiseite-") + stamp + "-" + std::to_string(n);
    const std::string log = path + "-wal" + suffix;
    if (fs::exists(path + "-wal", ec)) {
        fs::rename(path + "-wal", log, ec);
        if (ec)
            raise(ec == std::errc::permission_denied ? vb::err::PermissionDenied : vb::err::PathFileAccessError,
                  pathIn + "-wal");
    }
    if (fs::exists(path + "-shm", ec)) {
        fs::rename(path + "-shm", path + "-shm" + suffix, ec);
        if (ec)
            raise(ec == std::errc::permission_denied ? vb::err::PermissionDenied : vb::err::PathFileAccessError,
                  pathIn + "-shm");
    }
    return log;
}

void DBEngine::CompactDatabase(const std::string& srcIn, const std::string& dstIn, const std::string&, int) {
    const std::string src = detail::resolvePath(srcIn);
    const std::string dst = detail::resolvePath(dstIn);
    auto source = detail::Connection::open(src, true, false, defaultLogin());
    checkTarget(src, dst, dstIn, false);
    clearLeftovers(src, dst);
    TempCopy copy(dst);
    // Made empty first, the copy takes the permissions the umask gives, not SQLite's own.
    if (const int fd = ::open(copy.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); fd >= 0) ::close(fd);
    {
        detail::Stmt s = source->prepare("VACUUM INTO ?1");
        sqlite3_bind_text(s, 1, copy.path.c_str(), -1, SQLITE_TRANSIENT);
        try {
            source->run(s);
        } catch (const vb::Error& e) {
            // What is written is the copy: a full or failing disk is the target's.
            if (e.number() == vb::err::DiskSpaceExhausted || e.number() == vb::err::DiskOrNetworkError)
                raise(e.number(), dstIn);
            throw;
        }
    }
    // The copy's counters go on after the highest number in use; like every file we write, it
    // keeps its journal in a write-ahead log. Until then it needs no journal file: a copy that
    // fails is thrown away whole.
    {
        RawDb r;
        int rc = sqlite3_open_v2(copy.path.c_str(), &r.db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_exec(r.db, "PRAGMA journal_mode=MEMORY", nullptr, nullptr, nullptr);
        std::vector<std::string> names;
        if (rc == SQLITE_OK) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(r.db, "SELECT name FROM sqlite_sequence", -1, &s, nullptr) == SQLITE_OK)
                while (sqlite3_step(s) == SQLITE_ROW)
                    names.push_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
            sqlite3_finalize(s);
            rc = sqlite3_exec(r.db, "BEGIN", nullptr, nullptr, nullptr);
        }
        for (const auto& n : names) {
            if (rc != SQLITE_OK) break;
            sqlite3_stmt* u = nullptr;
            const std::string sql = "UPDATE sqlite_sequence SET seq = (SELECT coalesce(max(rowid), 0) FROM " +
                                    detail::quoteName(n) + ") WHERE name = ?1";
            rc = sqlite3_prepare_v2(r.db, sql.c_str(), -1, &u, nullptr);
            if (rc == SQLITE_OK) {
                sqlite3_bind_text(u, 1, n.c_str(), -1, SQLITE_TRANSIENT);
                rc = sqlite3_step(u);
                if (rc == SQLITE_DONE) rc = SQLITE_OK;
            }
            sqlite3_finalize(u);
        }
        if (rc == SQLITE_OK) rc = sqlite3_exec(r.db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_exec(r.db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) raise(diskErrorNumber(rc, detail::lastSystemError(r.db)), dstIn);
    }
    finishCopy(copy, dst, false, dstIn);
}

namespace {

// A byte-for-byte copy of a file no connection of this program holds, made while a connection of
// its own keeps the file still: the write-ahead log goes into the file first, then a read
// transaction that reads the file alone stops writers from committing (rollback journal) or any
// checkpoint from changing the file (write-ahead log) until the copy is written. The copy's own
// descriptor on the source is closed only after that connection, so no lock is dropped early.
// False when that cannot be had (another program keeps frames in the log): the caller copies
// through SQLite instead.
bool byteCopy(const std::string& src, const std::string& target, const std::string& shownTarget) {
    RawDb r;
    // On a shared folder the read holds the lock every computer sees.
    if (sqlite3_open_v2(src.c_str(), &r.db, SQLITE_OPEN_READWRITE,
                        detail::onSharedFolder(src) ? detail::sharedFolderVfs() : nullptr) != SQLITE_OK)
        return false;
    // Another program that reads keeps frames in the log however long this waits for it.
    sqlite3_busy_timeout(r.db, 0);
    int logFrames = -1;
    if (sqlite3_wal_checkpoint_v2(r.db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &logFrames, nullptr) != SQLITE_OK ||
        logFrames > 0)
        return false;
    sqlite3_busy_timeout(r.db, DBEngine::instance().busyTimeout());
    if (sqlite3_exec(r.db, "BEGIN; SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    std::error_code ec;
    if (fs::exists(src + "-wal", ec) && fs::file_size(src + "-wal", ec) > 0) return false;

    const int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int failure = out < 0 ? errno : files::copyAll(in, out);
    struct stat st;
    if (!failure && ::fstat(in, &st) == 0) ::fchmod(out, st.st_mode & 07777);
    if (out >= 0 && ::close(out) != 0 && !failure) failure = errno;
    sqlite3_exec(r.db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close_v2(r.db);
    r.db = nullptr;
    ::close(in);
    if (failure) raise(diskErrorNumber(0, failure), shownTarget);
    return true;
}

// Copies the database of an open connection into a new file through SQLite's backup: it reads
// a consistent state, including what the connection's log holds, and never opens the source by
// its name (which may lead to another file, or nowhere, by now).
void backupInto(sqlite3* source, const std::string& copyPath, const std::string& shownSource,
                const std::string& shownTarget) {
    RawDb r;
    if (sqlite3_open_v2(copyPath.c_str(), &r.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        raise(vb::err::DiskOrNetworkError, shownTarget);
    // A half-made copy is thrown away whole, so it needs no journal of its own.
    sqlite3_exec(r.db, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    sqlite3_backup* b = sqlite3_backup_init(r.db, "main", source, "main");
    if (!b) raise(vb::err::DiskOrNetworkError, shownTarget);
    // The source's busy timeout lets a writer of another program finish first.
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        const int base = rc & 0xFF;
        if (base == SQLITE_BUSY || base == SQLITE_LOCKED) raise(vb::err::RecordLocked, shownSource);
        if (base == SQLITE_CORRUPT || base == SQLITE_NOTADB) raise(vb::err::NotADatabase, shownSource);
        raise(diskErrorNumber(rc, detail::lastSystemError(r.db)), shownTarget);
    }
    sqlite3_close_v2(r.db);
    r.db = nullptr;
}

}  // namespace

void copyDatabaseFile(const std::string& srcIn, const std::string& dstIn) {
    const std::string src = detail::resolvePath(srcIn);
    const std::string dst = detail::resolvePath(dstIn);
    const DBEngine::Login login = DBEngine::instance().defaultLogin();
    detail::Connection::open(src, true, false, login);  // the checks only: let go before the byte copy
    checkTarget(src, dst, dstIn, true);
    clearLeftovers(src, dst);
    TempCopy copy(dst);
    if (!detail::Connection::heldInProcess(src) && byteCopy(src, copy.path, dstIn)) {
        finishCopy(copy, dst, true, dstIn);
        return;
    }
    std::error_code ec;
    fs::remove(copy.path, ec);
    // Held by this program or written by another one: SQLite's own copy reads a consistent state.
    auto source = detail::Connection::open(src, true, false, login);
    backupInto(source->handle(), copy.path, srcIn, dstIn);
    finishCopy(copy, dst, true, dstIn);
}

HeldFile DBEngine::heldFileFate(const std::string& path) const {
    const detail::Connection* c = detail::Connection::heldUnder(detail::resolvePath(path), true);
    return c ? c->fate() : HeldFile{};
}

void DBEngine::saveHeldFileAs(const std::string& pathIn, const std::string& targetIn, bool replace) {
    const std::string path = detail::resolvePath(pathIn);
    const std::string target = detail::resolvePath(targetIn);
    detail::Connection* held = detail::Connection::heldUnder(path, true);
    if (!held) raise(vb::err::ObjectInvalid, pathIn);
    std::error_code ec;
    const fs::path t(target);
    const fs::path folder = t.has_parent_path() ? t.parent_path() : fs::path(".");
    if (t.filename().empty() || !fs::is_directory(folder, ec)) raise(vb::err::PathNotFound, targetIn);
    if (fs::exists(t, ec) && (!replace || fs::is_directory(t, ec) || files::isHeldByDatabase(target)))
        raise(vb::err::DatabaseExists, targetIn);
    files::removeStaleTempFiles(folder.string());
    TempCopy copy(target);
    // Made empty first, a new file takes the permissions the umask gives, not SQLite's own.
    if (const int fd = ::open(copy.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); fd >= 0) ::close(fd);
    backupInto(held->handle(), copy.path, pathIn, targetIn);
    held->checkpoint();
    finishCopy(copy, target, replace, targetIn);
}

void createWorkgroupFile(const std::string& pathIn, const std::string& kennung,
                         const std::vector<std::pair<std::string, std::string>>& accounts,
                         const std::vector<std::string>& groups) {
    const std::string path = detail::resolvePath(pathIn);
    std::error_code ec;
    const fs::path p(path);
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) raise(vb::err::PathNotFound, pathIn);
    fs::remove(p, ec);
    fs::remove(path + "-journal", ec);
    RawDb r;
    if (sqlite3_open_v2(path.c_str(), &r.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        raise(vb::err::FileLocked, pathIn);
    auto exec = [&](const std::string& sql) {
        if (sqlite3_exec(r.db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            raise(vb::err::DiskOrNetworkError, pathIn + ": " + sqlite3_errmsg(r.db));
    };
    using detail::quoteLiteral;
    exec("PRAGMA application_id=" + std::to_string(detail::kWorkgroupAppId));
    exec("BEGIN");
    exec("CREATE TABLE workgroup (id TEXT NOT NULL)");
    exec(
        "CREATE TABLE accounts (name TEXT PRIMARY KEY COLLATE NOCASE, salt TEXT NOT NULL, hash TEXT NOT NULL, "
        "id TEXT NOT NULL UNIQUE)");
    exec("CREATE TABLE groups (name TEXT PRIMARY KEY COLLATE NOCASE)");
    exec("CREATE TABLE members (account TEXT COLLATE NOCASE, grp TEXT COLLATE NOCASE, PRIMARY KEY (account, grp))");
    exec("INSERT INTO workgroup VALUES (" + quoteLiteral(derivedId("workgroup", kennung)) + ")");
    std::vector<std::string> allGroups = {"Admins", "Users"};
    for (const auto& g : groups)
        if (!detail::sameName(g, "Admins") && !detail::sameName(g, "Users")) allGroups.push_back(g);
    for (const auto& g : allGroups) exec("INSERT INTO groups VALUES (" + quoteLiteral(g) + ")");
    bool first = true;
    for (const auto& [name, password] : accounts) {
        const std::string salt = randomHex(16);
        exec("INSERT INTO accounts VALUES (" + quoteLiteral(name) + ", " + quoteLiteral(salt) + ", " +
             quoteLiteral(passwordHash(salt, password)) + ", " +
             quoteLiteral(derivedId("account", kennung + "\n" + QString::fromStdString(name).toLower().toStdString())) +
             ")");
        exec("INSERT INTO members VALUES (" + quoteLiteral(name) + ", 'Users')");
        if (first) exec("INSERT INTO members VALUES (" + quoteLiteral(name) + ", 'Admins')");
        first = false;
    }
    exec("COMMIT");
}

}  // namespace db
