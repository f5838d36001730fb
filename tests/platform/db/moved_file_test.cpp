// A data file deleted, renamed, replaced or write-protected while the program holds it: no write
// goes into a file that does not stand writable under its name, the error says what happened, and
// what the program holds can be written back through its open connection.

#include <sys/stat.h>

#include "db_fixture.h"

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
    }
    long persons(db::Database& db) {
        auto rs = db.OpenRecordset("SELECT COUNT(*) FROM PersDat", db::RecordsetType::Snapshot);
        return rs->Fields(0).Value().toLong();
    }
    // Every way the program writes: a statement, a row of a recordset, a transaction, a counter.
    void everyWriteRefused(int number) {
        EXPECT_EQ(errorOf([&] { d->Execute("UPDATE PersDat SET Nachname = 'X'"); }), number);
        EXPECT_EQ(errorOf([&] { addPerson(*d, "Bert", "Nachher"); }), number);
        EXPECT_EQ(errorOf([&] { d->BeginTrans(); }), number);
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
};

TEST_F(MovedFileTest, ADeletedFileTakesNoWriteAndItsContentIsWrittenBackUnderItsName) {
    fs::remove(file);
    everyWriteRefused(vb::err::FileDeletedWhileOpen);
    EXPECT_NE(messageOf([&] { d->Execute("DELETE FROM PersDat"); }).find("gelöscht"), std::string::npos);
    EXPECT_EQ(db::DBEngine::instance().heldFileFate(file).fate, db::HeldFile::Fate::Deleted);
    EXPECT_FALSE(fs::exists(file));  // nothing was made under the name by the refused writes
    EXPECT_EQ(persons(*d), 1);       // reading goes on

    db::DBEngine::instance().saveHeldFileAs(file, file, false);
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
    EXPECT_EQ(errorOf([&] { db::DBEngine::instance().saveHeldFileAs(file, file, false); }), 3204);
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
