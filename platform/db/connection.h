#pragma once

#include <sqlite3.h>

#include <chrono>
#include <exception>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/db/engine.h"
#include "platform/db/jet_sql.h"
#include "platform/db/types.h"
#include "platform/vb/error.h"
#include "platform/vb/variant.h"

namespace db::detail {

inline constexpr int32_t kDataAppId = 0x5A555644;       // "ZUVD": databases we make
inline constexpr int32_t kWorkgroupAppId = 0x5A555657;  // "ZUVW": workgroup files
// The size a log is cut back to when it starts over: SQLite's automatic checkpoint at 1,000
// pages keeps a log this small, so regular work never cuts and grows it again.
inline constexpr int64_t kLogSizeLimit = 4 * 1024 * 1024 + 64 * 1024;

struct ColumnInfo {
    std::string name;
    FieldType type = FieldType::Variant;
    int size = 0;
    bool counter = false;
    bool primaryKey = false;
    vb::Variant defaultValue;  // Null when none
};

struct TableInfo {
    std::string name;  // as created
    bool isView = false;
    std::vector<ColumnInfo> columns;
    int counterIndex = -1;
    const ColumnInfo* column(std::string_view name) const;
};

// A prepared statement from the connection's cache; reset and unbound when it goes out of scope.
class Connection;
class Stmt {
public:
    Stmt(Connection* c, sqlite3_stmt* s, bool owned) : m_c(c), m_s(s), m_owned(owned) {}
    Stmt(Stmt&& o) noexcept : m_c(o.m_c), m_s(o.m_s), m_owned(o.m_owned) { o.m_s = nullptr; }
    Stmt(const Stmt&) = delete;
    ~Stmt();
    sqlite3_stmt* get() const { return m_s; }
    operator sqlite3_stmt*() const { return m_s; }

private:
    Connection* m_c;
    sqlite3_stmt* m_s;
    bool m_owned;
};

// One SQLite connection to one file in one mode, shared by every Database, Recordset and data
// control on that file (see open()). It closes, after a checkpoint, when its last user lets go.
class Connection {
public:
    // Checks the file (3024, 3044, 3343, 3051, 3045) and returns the shared connection for it,
    // when the login may open it (3033 otherwise: see checkOwner).
    static std::shared_ptr<Connection> open(const std::string& resolvedPath, bool readOnly, bool exclusive,
                                            const DBEngine::Login& login);
    // Whether a connection of this process holds the file now.
    static bool heldInProcess(const std::string& resolvedPath);
    // Closes every connection of this process to the file (any spelling of its path, or the file
    // that was under that name when it was opened): statements are finalized, the log is written
    // into the file and the file is let go. Whoever still holds such a connection finds it closed
    // (3420); the next open reads the file anew.
    static void releaseFile(const std::string& resolvedPath);
    // Every connection of this process to the file `resolvedPath` goes on in `target`: a whole
    // copy of the file written since (DBEngine::saveHeldFileAs) or the file itself under its new
    // name. Each is opened there anew, while every database, cursor and edit buffer on it stays:
    // the copy keeps every row under its id. False when one of them could not follow (a
    // transaction open, a statement lent out, the target gone); that one is let go as by
    // releaseFile. The target opened but refused (damaged, locked, a disk error): every one is
    // handled so, and the first refusal's error is raised afterwards.
    static bool follow(const std::string& resolvedPath, const std::string& target);
    // The writable connection of this process opened under that name (its spelling too when
    // `anySpelling`); nullptr when there is none.
    static Connection* heldUnder(const std::string& resolvedPath, bool anySpelling);
    // Closes every connection of this process in the same way, whatever file it holds.
    static void releaseAll();
    // A new database file owned by the login's account (none for an installation database).
    static std::shared_ptr<Connection> create(const std::string& resolvedPath, const DBEngine::Login& owner,
                                              bool installation);
    ~Connection();

    sqlite3* handle() const { return m_db; }
    // False once the file was let go (releaseFile).
    bool isOpen() const { return m_db != nullptr; }
    const std::string& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }

    Stmt prepare(const std::string& sql, int errorNumber = vb::err::SyntaxError);
    void exec(const std::string& sql);
    // Steps a statement that changes rows; returns the number of changed rows. A statement that
    // also returns a row (RETURNING) leaves the last one's whole numbers in `returned`.
    long run(sqlite3_stmt* s, std::vector<int64_t>* returned = nullptr);
    // Raises the engine's error for a SQLite result code (the first error of a failed action).
    [[noreturn]] void fail(int rc, const std::string& context = "");

    const TableInfo* table(std::string_view name);
    std::vector<std::string> tableNames();  // user tables in creation order
    // The dotted names ("thementitel.titel") that are columns of the stored queries a statement
    // reads; elsewhere such a name stays table.column. Empty when the statement reads none.
    DottedNames dottedColumnsOf(const std::string& jet);
    void schemaChanged();

    // The next counter value of a table, taken at once and never given again.
    int64_t reserveCounter(const TableInfo& t);

    void begin();
    void commit();
    void rollback();

    // The row ids of keySql, in its order (its first column). For a query of every row of one table
    // (orderSql set, see below) a result of many rows is kept; the next time, while no other
    // connection wrote to the file, only the rows this connection changed since can have moved, so
    // the kept ids are brought up to date instead of the table being read and sorted anew: each
    // changed row that still exists is put where orderSql (the query's own ordering of the two rows
    // ?1 and ?2, giving the first of them) places it among the others.
    // A query whose terms all sort by sort keys (sortSql: each row's id and keys, see
    // buildSortKeySelect) is read in the table's own order and sorted here, as SQLite would sort it.
    std::vector<int64_t> keyset(const std::string& keySql, const std::string& table, const std::string& orderSql,
                                const std::string& sortSql = "", const std::vector<bool>& descending = {});

    // Every change through this connection counts, so cursors can tell stale rows.
    void wrote() { ++m_writes; }
    // Changes when this connection or another one (also of another program) changed the file.
    uint64_t changeToken();
    // The same, but another program's change is looked for only when the last look is more than a
    // moment (kRecentCheck) old: a cursor walking through many rows then asks SQLite now and again
    // instead of at every row, each look costing the file's locks.
    uint64_t recentChangeToken();

    // The log written into the file (nothing while a transaction is open). Not checked like a
    // write: it moves only what was committed into the file this connection holds, wherever that
    // stands now, and empties the log beside its old name.
    void checkpoint();
    // The same as the file is let go. For a file still under its name it does not wait for another
    // program that reads: that program's snapshot keeps the rest of the log, which stays whole
    // beside the file and goes into it when the last program lets go of the file, so waiting would
    // only hold the user up. A file moved or deleted meanwhile waits as checkpoint() does.
    void checkpointAsLettingGo();

    // What became of the file since it was opened.
    HeldFile fate() const;
    // Before a write: 3900, 3901 or 3902 when the file no longer stands under its name, or (when
    // `writing`) no longer takes writes there.
    void requireInPlace(bool writing);

private:
    friend class Stmt;
    friend class Savepoint;
    Connection() = default;
    void configure(bool exclusive);
    // A file on a shared folder: waits for another computer's lock, tells the Host, and asks
    // whether a lock that stays too long may be taken over (DBEngine::setTakeOverQuestion).
    static int waitOnSharedFolder(void* self, int count);
    // The error for a file locked by someone else; on a shared folder it names who holds it.
    [[noreturn]] void raiseLocked(int number);
    // A file on a shared folder that came in write-ahead-log mode goes over to a rollback journal.
    void leaveWal();
    // Statements wait out the engine's busy timeout for another program's lock (or fail at once).
    void waitForLocks(bool wait);
    // 3033 unless the login may open this file: the file names this login's account and workgroup,
    // or it is an installation database, which any login opens.
    void checkOwner(const DBEngine::Login& login);
    [[noreturn]] void raiseFor(int rc, const std::string& context);
    // Raises the error with which SQLite ended the open transaction, while the caller has not
    // rolled it back yet.
    void refuseEndedTransaction() const;
    void checkIntegrity();
    // The schema, the application id and the integrity check: 3343 or 3045.
    void checkReadable();
    // The file is taken: from now on closing it writes its log into it.
    void accept();
    // 3051 naming a log, index or journal beside the file that this account may not use, with
    // its owner and what to do.
    static void checkSideFiles(const std::string& path, bool readOnly);
    // A log beside the file that no program holds (see checkLeftoverLog).
    static bool leftoverLog(const std::string& path);
    // Checks a file with a leftover log beside it without writing to either: 3343 when the file
    // is damaged, ForeignLog when the file alone is whole and the log makes it look damaged.
    static void checkLeftoverLog(const std::string& path, bool readOnly);
    [[noreturn]] void raiseDamaged();
    // Called before anything that may write: a file still in rollback-journal mode goes over to
    // the write-ahead log now, so that opening a file changes nothing in it.
    void prepareWrite();
    // requireInPlace before a statement that writes and starts a transaction of its own.
    void beforeWrite();
    // exec without the check: for ending a transaction, which must never be refused.
    void execEnding(const std::string& sql);
    void loadSchema();
    // 3420 once the connection was closed by releaseFile.
    void requireOpen() const;
    // Closes the SQLite handle and leaves the engine's lists; safe to call twice.
    void shutdown();
    // Closes the SQLite handle (and the log beside a lost file's old name that is this
    // connection's alone); the connection stays listed.
    void closeHandle();
    // False where the connection cannot go over (see follow); the error where the target refused.
    bool reopenAt(const std::string& target);

    struct KeptKeyset {
        std::string table;
        std::string orderSql;
        std::vector<int64_t> ids;
        uint64_t version = 0;                 // the file's data version when they were read or brought up to date
        std::unordered_set<int64_t> changed;  // rows of the table this connection changed since
        bool tooMany = false;                 // more changed rows than are worth placing one by one
        uint64_t used = 0;
    };
    static void rowChanged(void* self, int op, const char* database, const char* table, sqlite3_int64 rowid);
    uint64_t dataVersion();
    std::vector<int64_t> readKeyset(const std::string& keySql);
    std::vector<int64_t> readSorted(const std::string& sortSql, const std::vector<bool>& descending);
    bool bringUpToDate(KeptKeyset& k);

    sqlite3* m_db = nullptr;
    bool m_listed = false;  // counted in the engine's lists of open files
    int m_heldEntry = 0;
    std::string m_path;
    std::string m_sqlitePath;  // the name SQLite opened (its log lies beside it)
    std::string m_key;
    uint64_t m_device = 0;  // the file as it was opened
    uint64_t m_inode = 0;
    std::string m_folder;
    bool m_readOnly = false;
    bool m_exclusive = false;
    bool m_ready = false;  // configured; a connection that failed to open writes nothing back
    bool m_walPending = false;
    bool m_shared = false;    // on a folder other computers may share (shared_folder.h)
    bool m_leaveWal = false;  // on one, but in write-ahead-log mode until accepted
    bool m_asking = false;    // the user is being asked about another computer's lock
    // What the question about another computer's lock threw (SQLite stands between the question and
    // the statement that waited): raised in place of the lock error once the statement fails.
    std::exception_ptr m_questionFailed;
    std::chrono::steady_clock::time_point m_waitStarted{};  // of the present wait for a lock
    std::unordered_map<std::string, sqlite3_stmt*> m_cache;
    std::set<sqlite3_stmt*> m_lent;  // cached statements handed out right now
    bool m_schemaLoaded = false;
    std::vector<TableInfo> m_tables;
    std::set<std::string> m_dotted;
    int m_depth = 0;
    std::optional<vb::Error> m_ended;  // the error with which SQLite ended the open transaction
    uint64_t m_writes = 0;
    std::map<std::string, KeptKeyset> m_keysets;  // by their key query
    uint64_t m_dataVersion = 0;                   // at the last look
    std::chrono::steady_clock::time_point m_dataVersionSeen{};
    uint64_t m_keysetUses = 0;
    bool m_ownerRead = false;
    bool m_installation = false;
    std::string m_ownerAccount;
    std::string m_ownerWorkgroup;
};

// A savepoint around a step of several statements: all or nothing, inside or outside a transaction.
class Savepoint {
public:
    explicit Savepoint(Connection& c);
    ~Savepoint();
    void release();

private:
    Connection& m_c;
    bool m_outer = false;  // began a transaction: its release commits it
    bool m_done = false;
};

void bindVariant(sqlite3_stmt* s, int index, const vb::Variant& v);
vb::Variant readColumn(sqlite3_stmt* s, int col, FieldType type);
// The value a column of the given type reads as, from what SQLite holds: its storage class, its
// number, and its text where readsAsText (as SQLite writes a number in a column of text).
vb::Variant readValue(int storage, int64_t whole, double number, std::string_view text, FieldType type);
bool readsAsText(int storage, FieldType type);
// A fingerprint of a stored value: its storage class, length and bytes, so that any change by
// anyone (a case-only change of a text, a Single written back as Double) gives another value.
// The same as the SQL function kColumnSignature gives: compared in the statement that writes, it
// tells a field changed since it was read without keeping a copy of the field in SQL.
int64_t valueSignature(int storage, int64_t whole, double number, std::string_view bytes);

// The system's error number (errno) behind the last I/O error of a SQLite connection; 0 when none
// is known.
int lastSystemError(sqlite3* db);
// The system's error number behind a read of a SQLite connection's file or log that the disk
// failed (EIO and its kind); 0 when none is known. SQLite reports such a read as a damaged file
// (SQLITE_CORRUPT), so that only the error kept with the file tells the two apart.
int readFault(sqlite3* db);
// The 32-bit application id of an open SQLite file: SQLITE_OK, or SQLite's error when it cannot be
// read (SQLITE_NOTADB for a file that is no SQLite file).
int applicationId(sqlite3* db, int32_t& id);
// Whether SQLite's error `rc` on `db` came of the disk failing a read or write (SQLITE_IOERR, or a
// damaged file that readFault puts down to a failed read).
bool diskFault(sqlite3* db, int rc);
// Another program holds a lock on the file (or this program's engine holds it). The file is
// looked at through a descriptor of its own only when the engine does not hold it.
bool lockedElsewhere(const std::string& path);
// Whether SQLite's locks in this process belong to the engine's own open file descriptions (see
// description_locks.cpp), so that no other descriptor's close drops them.
bool descriptionLocksInstalled();
// A descriptor SQLite holds of the file at `path`, -1 where it holds none: what the engine does to
// a file it holds goes through that one, never through a second descriptor of its own.
int descriptorOf(const std::string& path);
// A regular file, not a folder, pipe or device (stat only: no descriptor is opened).
bool isRegularFile(const std::string& path);

}  // namespace db::detail
