// Data files on a folder that other computers share: which file systems count as such (from
// mountinfo lines), and the lock beside the file that every computer sees, tried here on a local
// folder through the engine's VFS for shared folders.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <string>

#include "platform/db/shared_folder.h"
#include "support/files.h"
#include "support/sshfs.h"

using namespace db::detail;

namespace {

constexpr uint64_t kFuse = 0x65735546;

const char* kMountinfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "46 22 0:41 / /mnt/praxis rw,nosuid,nodev,relatime shared:30 - fuse.sshfs server:/daten rw,user_id=0,group_id=0\n"
    "47 22 0:42 / /media/usb rw,nosuid,nodev,relatime - fuseblk /dev/sdb1 rw,user_id=0,group_id=0,allow_other\n"
    "48 22 0:43 / /run/user/1000/gvfs rw,nosuid,nodev,relatime - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
    "49 22 0:44 / /mnt/win rw,relatime - fuse.ntfs-3g /dev/sdc1 rw,user_id=0\n"
    "50 22 0:45 / /mnt/wolke rw,relatime master:3 master:4 - fuse.rclone wolke: rw,user_id=1000\n";

bool sharedBy(unsigned minor) { return networkFileSystem(kFuse, mountTypeOf(kMountinfo, 0, minor)); }

}  // namespace

TEST(SharedFolderKind, NetworkFileSystemsAreToldFromLocalOnesByStatfsTypeAndFuseSubtype) {
    EXPECT_EQ(mountTypeOf(kMountinfo, 0, 41), "fuse.sshfs");
    EXPECT_EQ(mountTypeOf(kMountinfo, 0, 45), "fuse.rclone");  // after several optional fields
    EXPECT_EQ(mountTypeOf(kMountinfo, 8, 1), "ext4");
    EXPECT_EQ(mountTypeOf(kMountinfo, 0, 99), "");
    EXPECT_TRUE(sharedBy(41));   // sshfs
    EXPECT_TRUE(sharedBy(43));   // a desktop's SMB or WebDAV mount
    EXPECT_TRUE(sharedBy(45));   // rclone
    EXPECT_FALSE(sharedBy(42));  // a USB disk through ntfs-3g or exfat
    EXPECT_FALSE(sharedBy(44));
    // A FUSE file system nobody knows, or one not listed, is taken for a shared one.
    EXPECT_TRUE(networkFileSystem(kFuse, "fuse.unbekanntfs"));
    EXPECT_TRUE(networkFileSystem(kFuse, ""));
    // NFS, SMB, CIFS, SMB2; ext4, tmpfs, btrfs and xfs are local.
    for (uint64_t t : {0x6969ULL, 0x517BULL, 0xFF534D42ULL, 0xFE534D42ULL}) EXPECT_TRUE(networkFileSystem(t, "")) << t;
    for (uint64_t t : {0xEF53ULL, 0x01021994ULL, 0x9123683EULL, 0x58465342ULL})
        EXPECT_FALSE(networkFileSystem(t, "")) << t;
    // The test's own temporary folder is on this computer.
    QTemporaryDir dir;
    EXPECT_FALSE(onSharedFolder(dir.path().toStdString() + "/neu.ZDB"));
}

namespace {

class SharedLock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(sharedFolderVfs(), nullptr);
        file = dir.path().toStdString() + "/P.ZDB";
        sqlite3* db = open();
        ASSERT_EQ(exec(db, "CREATE TABLE t (x); INSERT INTO t VALUES (1)"), SQLITE_OK);
        sqlite3_close(db);
    }
    sqlite3* open() {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, sharedFolderVfs());
        return db;
    }
    static int exec(sqlite3* db, const std::string& sql) {
        return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    static std::string one(sqlite3* db, const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        std::string out = "?";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }
    bool locked() const {
        struct stat st;
        return ::stat((file + ".lock").c_str(), &st) == 0;
    }
    // The lock is kept for a moment after the last statement, for the next one of the same action.
    bool letGo() const {
        for (int i = 0; i < 500 && locked(); ++i) ::usleep(10000);
        return !locked();
    }
    // A lock as another program left it.
    void lockOf(const std::string& computer, long pid, int64_t age) {
        const std::string folder = file + ".lock";
        ::mkdir(folder.c_str(), 0777);
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        support::writeFile(folder + "/owner", "computer=" + (computer.empty() ? std::string(host) : computer) +
                                                  "\nuser=anna\nprocess=" + std::to_string(pid) + "\nboot=" +
                                                  support::readFile("/proc/sys/kernel/random/boot_id").substr(0, 36) +
                                                  "\ntime=" + std::to_string(::time(nullptr) - age) + "\n");
    }

    // The file "j.db" with an empty table in the shared folder, open on both computers, each
    // through its own mount and waiting for the other one's saves.
    void aufBeidenRechnern(const support::SharedFolder& ordner, sqlite3*& eins, sqlite3*& zwei) {
        file = ordner.first() + "/j.db";
        eins = open();
        ASSERT_EQ(exec(eins, "CREATE TABLE t (x)"), SQLITE_OK);
        sqlite3_busy_timeout(eins, 10000);
        ASSERT_EQ(sqlite3_open_v2((ordner.second() + "/j.db").c_str(), &zwei, SQLITE_OPEN_READWRITE, sharedFolderVfs()),
                  SQLITE_OK);
        sqlite3_busy_timeout(zwei, 10000);
    }

    QTemporaryDir dir;
    std::string file;
    // The second computer saves while the first one looks at the journal beside the file through its
    // own mount, which then remembers it standing there.
    static void speichertWaehrendDerAndereSchaut(sqlite3* zwei, const std::string& journal, int runde) {
        ASSERT_EQ(exec(zwei, "BEGIN IMMEDIATE; INSERT INTO t VALUES (" + std::to_string(runde) + ")"), SQLITE_OK);
        struct stat st;
        ASSERT_EQ(::stat(journal.c_str(), &st), 0) << "round " << runde;
        ASSERT_EQ(exec(zwei, "COMMIT"), SQLITE_OK);
    }
};

}  // namespace

// The lock stands while a transaction is open, names this program, and goes soon after the
// transaction; two connections of one program share it as SQLite's own locks are shared.
TEST_F(SharedLock, IsHeldForEachTransactionAndNamesItsProgram) {
    sqlite3* a = open();
    sqlite3* b = open();
    sqlite3_busy_timeout(b, 0);
    EXPECT_TRUE(letGo());
    ASSERT_EQ(exec(a, "BEGIN IMMEDIATE; INSERT INTO t VALUES (2)"), SQLITE_OK);
    ASSERT_TRUE(locked());
    db::LockHolder h;
    ASSERT_TRUE(sharedLockHolder(file, h));
    EXPECT_TRUE(h.thisComputer);
    EXPECT_EQ(h.process, static_cast<long>(::getpid()));
    EXPECT_LE(h.ageSeconds, 5);
    // The other connection reads what was committed, and cannot write meanwhile.
    EXPECT_EQ(one(b, "SELECT count(*) FROM t"), "1");
    EXPECT_EQ(exec(b, "INSERT INTO t VALUES (3)") & 0xFF, SQLITE_BUSY);
    ASSERT_EQ(exec(a, "COMMIT"), SQLITE_OK);
    EXPECT_TRUE(letGo());
    EXPECT_EQ(one(b, "SELECT count(*) FROM t"), "2");
    EXPECT_EQ(one(b, "PRAGMA journal_mode"), "delete");
    EXPECT_EQ(exec(b, "PRAGMA journal_mode=WAL; INSERT INTO t VALUES (3)"), SQLITE_OK);
    EXPECT_EQ(one(b, "PRAGMA journal_mode"), "delete");  // no shared memory, so no log
    sqlite3_close(a);
    sqlite3_close(b);
}

// A lock whose program on this computer has ended, or that this computer made before it last
// started, is removed by the next program; another computer's lock is only named, and goes only
// when it is taken over.
TEST_F(SharedLock, AnEndedProgramsLockIsRemovedAnotherComputersOnlyTakenOver) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    sqlite3* db = open();
    sqlite3_busy_timeout(db, 0);
    ASSERT_TRUE(letGo());
    lockOf("", child, 30);
    EXPECT_EQ(exec(db, "INSERT INTO t VALUES (2)"), SQLITE_OK);
    EXPECT_TRUE(letGo());

    ASSERT_TRUE(letGo());
    lockOf("praxis-2", 4711, 600);
    EXPECT_EQ(exec(db, "INSERT INTO t VALUES (3)") & 0xFF, SQLITE_BUSY);
    db::LockHolder h;
    ASSERT_TRUE(sharedLockHolder(file, h));
    EXPECT_FALSE(h.thisComputer);
    EXPECT_EQ(h.computer, "praxis-2");
    EXPECT_EQ(describeHolder(h), "von „anna“ auf dem Computer „praxis-2“ (Programm Nr. 4711) seit 10 Minuten");
    // A holder that came meanwhile is not taken over for the one asked about.
    db::LockHolder older = h;
    older.record += "x";
    EXPECT_FALSE(takeOverSharedLock(file, older));
    EXPECT_TRUE(locked());
    EXPECT_TRUE(takeOverSharedLock(file, h));
    EXPECT_FALSE(locked());
    EXPECT_EQ(exec(db, "INSERT INTO t VALUES (3)"), SQLITE_OK);
    EXPECT_EQ(one(db, "SELECT group_concat(x) FROM t"), "1,2,3");
    sqlite3_close(db);
}

// Two computers through two mounts of one folder: once one of them takes the lock, it sees the file
// as the other just left it, also where its mount still keeps the file's old size (SQLite would
// read the pages past it as zeros and take the file for damaged). Each round the second computer
// makes the file longer and the first takes the lock at once.
TEST_F(SharedLock, OnTwoComputersEachSeesTheFileAsTheOtherJustLeftIt) {
    support::SharedFolder ordner;
    if (ordner.missing()) GTEST_SKIP() << "No shared folder on this machine: " << ordner.notPossible();
    ASSERT_EQ(ordner.notPossible(), "");
    file = ordner.first() + "/d.db";
    sqlite3* eins = open();
    ASSERT_EQ(exec(eins, "CREATE TABLE t (x); INSERT INTO t VALUES (1)"), SQLITE_OK);
    sqlite3_file* f = nullptr;
    ASSERT_EQ(sqlite3_file_control(eins, "main", SQLITE_FCNTL_FILE_POINTER, &f), SQLITE_OK);
    const std::string beimServer = ordner.server() + "/d.db", beimZweiten = ordner.second() + "/d.db";
    const std::string seite(4096, 'z');
    for (int runde = 1; runde <= 30; ++runde) {
        ASSERT_TRUE(letGo());
        sqlite3_int64 groesse = 0;
        // This computer knows the file's size before the other one writes.
        ASSERT_EQ(f->pMethods->xLock(f, SQLITE_LOCK_SHARED), SQLITE_OK);
        ASSERT_EQ(f->pMethods->xFileSize(f, &groesse), SQLITE_OK);
        ASSERT_EQ(f->pMethods->xUnlock(f, SQLITE_LOCK_NONE), SQLITE_OK);
        ASSERT_TRUE(letGo());
        const int zweiter = ::open(beimZweiten.c_str(), O_WRONLY | O_APPEND);
        ASSERT_GE(zweiter, 0);
        ASSERT_EQ(::write(zweiter, seite.data(), seite.size()), static_cast<ssize_t>(seite.size()));
        ::fsync(zweiter);
        ::close(zweiter);
        struct stat st;
        ASSERT_EQ(::stat(beimServer.c_str(), &st), 0);
        ASSERT_EQ(f->pMethods->xLock(f, SQLITE_LOCK_SHARED), SQLITE_OK);
        ASSERT_EQ(f->pMethods->xFileSize(f, &groesse), SQLITE_OK);
        ASSERT_EQ(f->pMethods->xUnlock(f, SQLITE_LOCK_NONE), SQLITE_OK);
        EXPECT_EQ(groesse, st.st_size) << "round " << runde;
        if (HasFailure()) break;
    }
    sqlite3_close(eins);
}

// The first computer looks at the side files while the second one saves (the program does so
// whenever it writes a file of its own, a picture or its settings): its mount then remembers the
// journal standing there. Once the second one has saved and deleted it, the first one reads the
// file as it is, without taking a journal that is gone for hot (which SQLite reports as an I/O
// error, 3043 in the program).
TEST_F(SharedLock, AJournalSeenWhileTheOtherComputerSavedIsNotTakenForOneOnceItIsGone) {
    support::SharedFolder ordner;
    if (ordner.missing()) GTEST_SKIP() << "No shared folder on this machine: " << ordner.notPossible();
    ASSERT_EQ(ordner.notPossible(), "");
    sqlite3 *eins = nullptr, *zwei = nullptr;
    aufBeidenRechnern(ordner, eins, zwei);
    if (HasFatalFailure()) return;
    const std::string journal = ordner.first() + "/j.db-journal";
    for (int runde = 1; runde <= 10; ++runde) {
        speichertWaehrendDerAndereSchaut(zwei, journal, runde);
        if (HasFatalFailure()) break;
        EXPECT_EQ(one(eins, "SELECT count(*) FROM t"), std::to_string(runde)) << "round " << runde;
        if (HasFailure()) break;
    }
    sqlite3_close(zwei);
    sqlite3_close(eins);
}

// The same, with the first computer saving next: its mount still knows the journal by name, so
// making it new would open a file the server no longer has.
TEST_F(SharedLock, AJournalSeenWhileTheOtherComputerSavedDoesNotStopTheNextSave) {
    support::SharedFolder ordner;
    if (ordner.missing()) GTEST_SKIP() << "No shared folder on this machine: " << ordner.notPossible();
    ASSERT_EQ(ordner.notPossible(), "");
    sqlite3 *eins = nullptr, *zwei = nullptr;
    aufBeidenRechnern(ordner, eins, zwei);
    if (HasFatalFailure()) return;
    const std::string journal = ordner.first() + "/j.db-journal";
    for (int runde = 1; runde <= 5; ++runde) {
        speichertWaehrendDerAndereSchaut(zwei, journal, runde);
        if (HasFatalFailure()) break;
        EXPECT_EQ(exec(eins, "INSERT INTO t VALUES (-" + std::to_string(runde) + ")"), SQLITE_OK)
            << "round " << runde << ": " << sqlite3_extended_errcode(eins) << " " << sqlite3_errmsg(eins);
        EXPECT_EQ(one(zwei, "SELECT count(*) FROM t"), std::to_string(2 * runde)) << "round " << runde;
        if (HasFailure()) break;
    }
    // A journal that cannot be made still fails the save.
    ASSERT_EQ(::mkdir((ordner.second() + "/j.db-journal").c_str(), 0755), 0);
    const int rc = exec(eins, "INSERT INTO t VALUES (0)");
    EXPECT_TRUE(rc == SQLITE_CANTOPEN || (rc & 0xFF) == SQLITE_IOERR) << rc << " " << sqlite3_errmsg(eins);
    ::rmdir((ordner.second() + "/j.db-journal").c_str());
    sqlite3_close(zwei);
    sqlite3_close(eins);
}
