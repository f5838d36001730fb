// A data file deleted, renamed, replaced or write-protected while the program holds it: no write
// goes into a file that does not stand writable under its name, the error says what happened, and
// what the program holds can be written back through its open connection.

#include <dirent.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>

#include "db_fixture.h"
#include "support/fork.h"

using namespace dbtest;
namespace fs = std::filesystem;

namespace {

class MovedFileTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        file = path("Kartei.ZDB");
        d = makeDataFile(*ws, file);
        addPerson(*d, "Anna", "Vorher");  // committed, still in the log beside the name
        struct stat st;
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        held = st;
    }
    // Descriptors of this process on the held file, found by device and inode (its name may be gone).
    int descriptorsOnHeldFile() const {
        int n = 0;
        DIR* dir = ::opendir("/proc/self/fd");
        while (const dirent* e = dir ? ::readdir(dir) : nullptr) {
            struct stat st;
            if (e->d_name[0] != '.' && ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && st.st_dev == held.st_dev &&
                st.st_ino == held.st_ino)
                ++n;
        }
        if (dir) ::closedir(dir);
        return n;
    }
    long persons(db::Database& db) {
        auto rs = db.OpenRecordset("SELECT COUNT(*) FROM PersDat", db::RecordsetType::Snapshot);
        return rs->Fields(0).Value().toLong();
    }
    // Every way the program writes: a statement, a row of a recordset, a transaction, a counter.
    // A transaction is refused at its commit, and what it wrote is rolled back.
    void everyWriteRefused(int number) {
        EXPECT_EQ(errorOf([&] { d->Execute("UPDATE PersDat SET Nachname = 'X'"); }), number);
        EXPECT_EQ(errorOf([&] { addPerson(*d, "Bert", "Nachher"); }), number);
        d->BeginTrans();
        d->Execute("UPDATE PersDat SET Nachname = 'X'");
        addPerson(*d, "Bert", "Nachher");
        EXPECT_EQ(errorOf([&] { d->CommitTrans(); }), number);
        d->Rollback();
        EXPECT_EQ(persons(*d), 1);
        auto rs = d->OpenRecordset("PersDat");
        EXPECT_EQ(errorOf([&] {
                      rs->Edit();
                      rs->Fields("Nachname") = "Y";
                      rs->Update();
                  }),
                  number);
    }

    std::string file;
    std::shared_ptr<db::Database> d;
    struct stat held {};
};

TEST_F(MovedFileTest, ADeletedFileTakesNoWriteAndItsContentIsWrittenBackUnderItsName) {
    const int descriptors = descriptorsOnHeldFile();
    ASSERT_GT(descriptors, 0);
    fs::remove(file);
    everyWriteRefused(vb::err::FileDeletedWhileOpen);
    EXPECT_NE(messageOf([&] { d->Execute("DELETE FROM PersDat"); }).find("gelöscht"), std::string::npos);
    EXPECT_EQ(db::DBEngine::instance().heldFileFate(file).fate, db::HeldFile::Fate::Deleted);
    EXPECT_FALSE(fs::exists(file));  // nothing was made under the name by the refused writes
    EXPECT_EQ(persons(*d), 1);       // reading goes on

    db::DBEngine::instance().saveHeldFileAs(file, file, false);
    // Asked after, written back through SQLite's own descriptor: the held file was never opened again.
    EXPECT_EQ(descriptorsOnHeldFile(), descriptors);
    EXPECT_EQ(outside(file, "SELECT Nachname FROM PersDat"), "Vorher");
    EXPECT_EQ(integrity(file), "ok");
    // The old connection writes nowhere now, and the next opening takes the new file.
    EXPECT_EQ(errorOf([&] { d->Execute("DELETE FROM PersDat"); }), vb::err::FileDeletedWhileOpen);
    d->Close();
    db::DBEngine::instance().releaseFile(file);
    auto neu = ws->OpenDatabase(file);
    addPerson(*neu, "Bert", "Nachher");
    neu->Close();
    EXPECT_EQ(outside(file, "SELECT COUNT(*) FROM PersDat"), "2");
    EXPECT_EQ(integrity(file), "ok");
}

TEST_F(MovedFileTest, ARenamedFileTakesNoWriteAndSaysWhereItIsNow) {
    const std::string anders = path("Umbenannt.ZDB");
    fs::rename(file, anders);
    everyWriteRefused(vb::err::FileMovedWhileOpen);
    EXPECT_NE(messageOf([&] { d->Execute("DELETE FROM PersDat"); }).find(anders), std::string::npos);
    const db::HeldFile f = db::DBEngine::instance().heldFileFate(file);
    EXPECT_EQ(f.fate, db::HeldFile::Fate::Moved);
    EXPECT_EQ(f.now, anders);
    EXPECT_FALSE(f.nameTaken);
    // A window binding the file by its old name hears the same, not "file not found".
    db::DataControl c;
    EXPECT_EQ(errorOf([&] { showPersons(c, file); }), vb::err::FileMovedWhileOpen);
    // Closed, the renamed file holds everything committed before, and nothing of the refused writes.
    d->Close();
    db::DBEngine::instance().releaseFile(file);
    EXPECT_EQ(outside(anders, "SELECT Nachname FROM PersDat"), "Vorher");
    EXPECT_EQ(integrity(anders), "ok");
    EXPECT_FALSE(fs::exists(file + "-wal"));
    EXPECT_FALSE(fs::exists(file + "-shm"));
}

TEST_F(MovedFileTest, AFileReplacedUnderItsNameIsNeitherWrittenNorHandedOutForTheOther) {
    const std::string andere = path("Andere.ZDB");
    makeDataFile(*ws, andere)->Close();
    db::DBEngine::instance().releaseFile(andere);
    fs::rename(andere, file);  // the held file loses its name to another one
    EXPECT_EQ(errorOf([&] { d->Execute("DELETE FROM PersDat"); }), vb::err::FileDeletedWhileOpen);
    EXPECT_NE(messageOf([&] { d->Execute("DELETE FROM PersDat"); }).find("ersetzt"), std::string::npos);
    EXPECT_TRUE(db::DBEngine::instance().heldFileFate(file).nameTaken);
    EXPECT_EQ(outside(file, "SELECT COUNT(*) FROM PersDat"), "0");
    // Written back only where the user names a free place.
    EXPECT_EQ(errorOf([&] { db::DBEngine::instance().saveHeldFileAs(file, file, false); }), vb::err::DatabaseExists);
    db::DBEngine::instance().saveHeldFileAs(file, path("Gerettet.ZDB"), false);
    EXPECT_EQ(outside(path("Gerettet.ZDB"), "SELECT Nachname FROM PersDat"), "Vorher");
    EXPECT_EQ(outside(file, "SELECT COUNT(*) FROM PersDat"), "0");
}

TEST_F(MovedFileTest, AWriteProtectedFileTakesNoWriteUntilItIsWritableAgain) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    everyWriteRefused(vb::err::FileNoLongerWritable);
    db::DataControl lesend;
    showPersons(lesend, file, true);  // reading is no write
    EXPECT_EQ(lesend.Recordset()->RecordCount(), 1);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    addPerson(*d, "Bert", "Nachher");
    EXPECT_EQ(outside(file, "SELECT COUNT(*) FROM PersDat"), "2");
}

// A folder made read-only takes no log and no new file, so the file in it takes no write either.
// Asked in a child without root's capabilities, since root writes into any folder (and may, as the
// file is opened for writing there too).
TEST_F(MovedFileTest, AFileInAFolderMadeReadOnlyTakesNoWriteAndIsLeftAsItWas) {
    const fs::path ordner = fs::path(path("nur_lesen"));
    fs::create_directory(ordner);
    const std::string drin = (ordner / "Kartei.ZDB").string();
    auto e = makeDataFile(*ws, drin);
    addPerson(*e, "Anna", "Vorher");
    fs::permissions(ordner, fs::perms::owner_read | fs::perms::owner_exec);
    const pid_t child = support::forkChild();
    ASSERT_GE(child, 0);
    if (child == 0) {
        __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        ::syscall(SYS_capget, &head, caps);
        for (auto& c : caps) c.effective = c.permitted = c.inheritable = 0;
        ::syscall(SYS_capset, &head, caps);
        // Statements that write at once: the child reads nothing through the connection it shares.
        const bool refused = errorOf([&] { e->Execute("DELETE FROM PersDat"); }) == vb::err::FileNoLongerWritable &&
                             errorOf([&] { e->Execute("UPDATE PersDat SET Nachname = 'X'"); }) ==
                                 vb::err::FileNoLongerWritable;
        ::_exit(refused ? 0 : 1);
    }
    const int status = support::childEnds(child);
    fs::permissions(ordner, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write went into the file in the read-only folder";
    addPerson(*e, "Bert", "Nachher");  // writable again: written again
    e->Close();
    db::DBEngine::instance().releaseFile(drin);
    EXPECT_EQ(outside(drin, "SELECT Nachname FROM PersDat ORDER BY PersonID"), "Vorher\nNachher");
    EXPECT_EQ(integrity(drin), "ok");
}

TEST_F(MovedFileTest, ATransactionWhoseFileGoesMeanwhileIsNotCommitted) {
    d->BeginTrans();
    addPerson(*d, "Bert", "Nachher");
    fs::rename(file, path("Umbenannt.ZDB"));
    EXPECT_EQ(errorOf([&] { d->CommitTrans(); }), vb::err::FileMovedWhileOpen);
    d->Rollback();
    EXPECT_EQ(persons(*d), 1);
    d->Close();
    db::DBEngine::instance().releaseFile(file);
    EXPECT_EQ(outside(path("Umbenannt.ZDB"), "SELECT COUNT(*) FROM PersDat"), "1");
}

}  // namespace
