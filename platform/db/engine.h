#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/types.h"

namespace db {

class Workspace;

// What became of a file this program holds open for writing since it was opened, judged by device
// and inode (the file is not opened again for it).
struct HeldFile {
    enum class Fate {
        InPlace,      // still under its name and writable (or not held at all)
        Deleted,      // no name leads to it any more; the program still holds its content
        Moved,        // renamed or moved: `now` names it where that can be known
        NotWritable,  // under its name, but it or its folder no longer takes writes
    };
    Fate fate = Fate::InPlace;
    std::string now;
    bool nameTaken = false;  // Deleted or Moved: another file stands under the name now
};

// The holder of the lock of a data file on a folder other computers share (see shared_folder.h).
struct LockHolder {
    std::string computer;  // empty: a lock without a record (another program's, or half made)
    std::string user;
    long process = 0;
    int64_t ageSeconds = 0;  // by this computer's clock
    bool thisComputer = false;
    std::string record;  // the record as read: a later holder's is another one
    // "von „anna“ auf dem Computer „praxis2“ seit 3 Minuten": for messages.
    std::string described() const;
};

// The process-wide engine object. Set SystemDB, DefaultUser and DefaultPassword before the first
// workspace: the workgroup file named by SystemDB when the first workspace is created stays the
// one in use for the whole run (later changes of SystemDB do not rebind it).
//
// Security model: the workgroup file lists accounts with a salted password hash and an id drawn
// from the workgroup's identification and the account's name, as the installer gives them. A data
// file records the id of the account that created it and opens only through that account of a
// workgroup of the same identification (error 3033 otherwise): a workgroup file written anew (a new
// installation, another computer) keeps opening the files made before. Files are not
// encrypted: name and password are the same in every installation, so encryption would protect
// nothing, and a plain SQLite file stays readable by outside tools. Databases created with the
// option dbInstallation open through any login.
//
// Data controls and the "IN '<file>'" clause use the default login (DefaultUser/DefaultPassword
// against the bound workgroup file); if no workgroup file is bound and SystemDB is empty they use
// no account at all and can open only installation databases.
class DBEngine {
public:
    static DBEngine& instance();

    const std::string& SystemDB() const { return m_systemDB; }
    void setSystemDB(std::string path) { m_systemDB = std::move(path); }
    const std::string& DefaultUser() const { return m_defaultUser; }
    void setDefaultUser(std::string user) { m_defaultUser = std::move(user); }
    const std::string& DefaultPassword() const { return m_defaultPassword; }
    void setDefaultPassword(std::string password) { m_defaultPassword = std::move(password); }

    // 3028 without a readable workgroup file, 3029 for a wrong account or password.
    std::shared_ptr<Workspace> CreateWorkspace(const std::string& name, const std::string& user,
                                               const std::string& password);

    // Writes a compacted copy of a closed data file to a new file; the source stays unchanged. The
    // copy is made under a temporary name beside the target and takes the target's name only when
    // it is complete.
    // Counters restart after the highest number in use. Errors: 3024/3044 missing source or
    // folder, 3204 target exists or equals the source, 3343 no database, 3033 foreign owner,
    // 3045 the source is in use exclusively.
    void CompactDatabase(const std::string& src, const std::string& dst, const std::string& locale = "", int options = 0);

    // Lets go of every connection of this program to the file, whatever spelling of its path or
    // link it was opened through: data controls bound to it are closed, Database and Recordset
    // objects on it close (using them raises 3420), and the log is written into the file. The
    // next open reads the file anew.
    void releaseFile(const std::string& path);
    // Lets go of every file the program holds, as releaseFile does for one: what the program
    // does when it is ended from outside, so that no file is left with its log beside it.
    void releaseAll();
    // Whether a connection of this program holds the file (or it is the log or shared-memory file
    // of one); judged by device and inode, without opening it.
    bool holdsFile(const std::string& path) const;
    // Deletes a database file together with its journal files, after letting go of it. 3045 when
    // another program holds it (nothing is deleted); 70/75 when it cannot be deleted. A missing
    // file is no error.
    void removeDatabaseFile(const std::string& path);

    // Puts the log beside a data file that does not belong to it (ForeignLog) aside under a name
    // of its own, its shared-memory index too, so that the file opens as it stands; nothing is
    // deleted. Returns the log's new name. 3045 while a program holds the file or its log.
    std::string setLogAside(const std::string& path);

    // What became of the file this program holds open for writing under that name.
    HeldFile heldFileFate(const std::string& path) const;
    // Writes what this program holds of that file (also of one deleted meanwhile: through its open
    // connection, never by opening the name again) into `target`. The copy is made under a hidden
    // name beside the target and takes the target's name when it is whole; an existing target is
    // replaced only when `replace` (3204 otherwise). The file's log is written into the held file
    // first, so that no log is left beside its old name for whatever file stands there next.
    // Errors: 3420 not held, 3044 no such folder, 3204, 3026 disk full, 3043.
    void saveHeldFileAs(const std::string& path, const std::string& target, bool replace);
    // The program goes on in `target` (a copy written by saveHeldFileAs, or the file itself under
    // its new name) with everything it holds open on `path`: databases, data controls, cursors
    // and their edit buffers stay as they are and work on `target`. False when that could not be
    // done for all of them; those are let go as by releaseFile. Where `target` was opened but
    // refused, its error is raised once all of them are let go.
    bool followHeldFile(const std::string& path, const std::string& target);

    // How long a statement waits for a lock held by another program before it fails.
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }
    int busyTimeout() const { return m_busyTimeoutMs; }
    // Called when a statement begins to wait for such a lock, another computer's on a shared folder
    // too (the window layer shows the hourglass).
    void setLockWaitHook(std::function<void()> hook) { m_lockWaitHook = std::move(hook); }
    void waitingForLock() const {
        if (m_lockWaitHook) m_lockWaitHook();
    }

    // Asked when a data file on a shared folder stays locked, longer than the busy timeout, by a
    // program of another computer (or one that left no record of itself) whose lock has stood for
    // more than a minute: true removes that lock,
    // and the statement goes on. Without an answer the statement fails with 3218 naming the holder.
    // A lock of a program of this computer that has ended is removed without asking.
    using TakeOverQuestion = std::function<bool(const std::string& path, const LockHolder& holder)>;
    void setTakeOverQuestion(TakeOverQuestion q) { m_takeOver = std::move(q); }
    const TakeOverQuestion& takeOverQuestion() const { return m_takeOver; }

    // Tests only: forget the bound workgroup file and the settings.
    void reset();

    struct Login {
        std::string workgroupId;  // "" = no workgroup
        std::string accountId;    // "" = no account
        std::string userName;
    };
    // The login of data controls, IN clauses and compaction.
    Login defaultLogin();

private:
    DBEngine() = default;
    Login loginAgainstBound(const std::string& user, const std::string& password);

    std::string m_systemDB;
    std::string m_defaultUser = "admin";
    std::string m_defaultPassword;
    std::string m_boundPath;
    int m_busyTimeoutMs = 3000;
    TakeOverQuestion m_takeOver;
    std::function<void()> m_lockWaitHook;
};

// A copy of a data file, made through the engine so that it is consistent even while a connection
// (of this program or another) holds the file, and written beside the target so that the target is
// replaced only by a complete copy. The source must be a database this login may open (3024,
// 3343, 3033); a target equal to the source: 3204; the source locked by a writer: 3218.
void copyDatabaseFile(const std::string& source, const std::string& target);

// Writes a workgroup file (for the installation tool). `kennung` identifies the workgroup: files
// written with the same identification and account names hold the same ids. Accounts are (name,
// password); every account is also a member of the group "Users", the first one of "Admins" too.
// An existing file is replaced.
void createWorkgroupFile(const std::string& path, const std::string& kennung,
                         const std::vector<std::pair<std::string, std::string>>& accounts,
                         const std::vector<std::string>& groups);

}  // namespace db
