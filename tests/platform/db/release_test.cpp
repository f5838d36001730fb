// Letting go of a data file: every connection of the engine to it goes, whoever holds it and
// however the file was named; a connection is never handed out again for a file deleted or
// replaced under its name; and nothing of the program reads a file the engine holds through a
// descriptor of its own (which would drop the locks that keep an outside reader off the log).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "db_fixture.h"
#include "platform/files/file_io.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "support/held_files.h"

using namespace dbtest;
namespace fs = std::filesystem;

namespace {

class ReleaseTest : public DbTest {
protected:
    static void rename(db::DataControl& c, const std::string& name) {
        auto rs = c.Recordset();
        rs->Edit();
        rs->Fields("Nachname") = name;
        rs->Update();
    }
    // An outside sqlite3 in the middle of a read of the file's one person. Once it has printed what
    // it read, the reader is inside its read and holds its locks until it is sent COMMIT; before
    // that it may hold a lock only for a moment while it opens the file.
    std::FILE* leserImLesen(const std::string& datei) {
        const std::string gelesen = path("gelesen.txt");
        std::FILE* leser =
            ::popen(("sqlite3 " + support::shellQuote(datei) + " > " + support::shellQuote(gelesen)).c_str(), "w");
        if (!leser) return nullptr;
        std::fputs("BEGIN;\nSELECT count(*) FROM PersDat;\n", leser);
        std::fflush(leser);
        for (int i = 0; i < 3000 && support::readFile(gelesen) != "1\n"; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(support::readFile(gelesen), "1\n");
        return leser;
    }
};

TEST_F(ReleaseTest, ReleasingAFileClosesEveryConnectionWhoeverHoldsItAndHoweverItWasNamed) {
    const std::string a = path("a.ZDB");
    {
        auto d = makeDataFile(*ws, a);
        addPerson(*d, "Anna", "Berg");
    }
    fs::create_symlink(a, path("verweis.ZDB"));
    fs::create_hard_link(a, path("zweiter.ZDB"));

    db::DataControl ueberVerweis;
    showPersons(ueberVerweis, path("verweis.ZDB"));
    rename(ueberVerweis, "Arens");
    auto nurLesen = ws->OpenDatabase(path("zweiter.ZDB"), false, true);
    auto lesend = nurLesen->OpenRecordset("PersDat", db::RecordsetType::Dynaset);
    auto schreibend = ws->OpenDatabase(a);
    auto cursor = schreibend->OpenRecordset("PersonTestErgebnis");
    EXPECT_GT(support::descriptorsOn(a), 0);
    for (const std::string& name : {a, path("verweis.ZDB"), path("zweiter.ZDB"), a + "-wal"})
        EXPECT_TRUE(db::DBEngine::instance().holdsFile(name)) << name;

    db::DBEngine::instance().releaseFile(path("./a.ZDB"));
    EXPECT_EQ(support::descriptorsOn(a), 0);
    EXPECT_FALSE(db::DBEngine::instance().holdsFile(a));
    EXPECT_EQ(ueberVerweis.Recordset(), nullptr);
    EXPECT_FALSE(nurLesen->isOpen());
    EXPECT_FALSE(schreibend->isOpen());
    EXPECT_EQ(errorOf([&] { lesend->MoveFirst(); }), vb::err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { cursor->MoveLast(); }), vb::err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { schreibend->Execute("DELETE FROM PersDat"); }), vb::err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { nurLesen->OpenRecordset("PersDat"); }), vb::err::ObjectInvalid);

    // The change is in the file itself, and the file opens anew with its locks.
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Arens");
    EXPECT_FALSE(fs::exists(a + "-wal") && fs::file_size(a + "-wal") > 0);
    ueberVerweis.Refresh();
    rename(ueberVerweis, "Bode");
    EXPECT_TRUE(support::holdsLock(::getpid(), a + "-shm"));
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Bode");
    EXPECT_EQ(integrity(a), "ok");
}

TEST_F(ReleaseTest, AFileDeletedOrReplacedUnderItsNameIsOpenedAnewNotThroughTheOldConnection) {
    const std::string a = path("a.ZDB");
    {
        auto d = makeDataFile(*ws, a);
        addPerson(*d, "Anna", "Alt");
    }
    // A window that was closed without letting go keeps the old file open.
    db::DataControl liegengeblieben;
    showPersons(liegengeblieben, a);

    for (const char* side : {"", "-wal", "-shm"}) fs::remove(a + side);
    {
        auto neu = makeDataFile(*ws, a);
        addPerson(*neu, "Nina", "Neu");
    }
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Neu");
    db::DataControl c;
    showPersons(c, a);
    EXPECT_EQ(c.Recordset()->Fields("Nachname").Value().toString(), "Neu");

    // Another file renamed into its place is that other file's content.
    {
        auto b = makeDataFile(*ws, path("b.ZDB"));
        addPerson(*b, "Bert", "Ersatz");
    }
    c.close();
    fs::rename(path("b.ZDB"), a);
    c.Refresh();
    EXPECT_EQ(c.Recordset()->Fields("Nachname").Value().toString(), "Ersatz");
    rename(c, "Ersatz2");
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Ersatz2");
    EXPECT_EQ(integrity(a), "ok");
}

TEST_F(ReleaseTest, RemovingADataFileTakesItsJournalsButNotAFileAnotherProgramReads) {
    const std::string a = path("a.ZDB");
    auto d = makeDataFile(*ws, a);
    addPerson(*d, "Anna", "Berg");
    db::DataControl c;
    showPersons(c, a);
    ASSERT_TRUE(fs::exists(a + "-wal"));

    db::DBEngine::instance().removeDatabaseFile(a);
    for (const char* side : {"", "-wal", "-shm", "-journal"}) EXPECT_FALSE(fs::exists(a + side)) << side;
    EXPECT_EQ(c.Recordset(), nullptr);
    EXPECT_FALSE(d->isOpen());
    d = makeDataFile(*ws, a);
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("PersDat")->MoveFirst(); }), vb::err::NoCurrentRecord);
    addPerson(*d, "Nina", "Neu");

    // An outside reader in the middle of a read: the file, its log and its persons stay.
    std::FILE* leser = leserImLesen(a);
    ASSERT_NE(leser, nullptr);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(support::holdsLock(0, a + "-shm"));
    EXPECT_EQ(errorOf([&] { db::DBEngine::instance().removeDatabaseFile(a); }), vb::err::FileInUse);
    std::fputs("COMMIT;\n.quit\n", leser);
    ::pclose(leser);
    EXPECT_TRUE(fs::exists(a));
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Neu");
}

// An outside program that stays inside a read holds on to part of the log. Closing the file and
// copying it go on without waiting for that program, and nothing committed is missing from the
// file or from its copy.
TEST_F(ReleaseTest, ClosingAndCopyingAFileWaitForNoOutsideReaderAndLoseNothing) {
    // A wait for the reader would last until the test is stopped: the reader ends only afterwards.
    const int vorher = db::DBEngine::instance().busyTimeout();
    db::DBEngine::instance().setBusyTimeout(24 * 60 * 60 * 1000);
    struct Zurueck {
        int ms;
        ~Zurueck() { db::DBEngine::instance().setBusyTimeout(ms); }
    } zurueck{vorher};

    const std::string a = path("a.ZDB");
    auto d = makeDataFile(*ws, a);
    addPerson(*d, "Anna", "Berg");
    std::FILE* leser = leserImLesen(a);
    ASSERT_NE(leser, nullptr);
    ASSERT_FALSE(HasFailure());

    addPerson(*d, "Bert", "Cramer");
    d->Close();
    d.reset();
    db::copyDatabaseFile(a, path("kopie.ZDB"));
    EXPECT_EQ(outside(path("kopie.ZDB"), "SELECT group_concat(Nachname) FROM PersDat"), "Berg,Cramer");

    std::fputs("COMMIT;\n.quit\n", leser);
    ::pclose(leser);
    EXPECT_EQ(outside(a, "SELECT group_concat(Nachname) FROM PersDat"), "Berg,Cramer");
    EXPECT_EQ(integrity(a), "ok");
}

TEST_F(ReleaseTest, AHeldFileIsNeitherReadNorWrittenThroughADescriptorOfOurOwn) {
    const std::string a = path("a.ZDB");
    auto d = makeDataFile(*ws, a);
    const int id = addPerson(*d, "Anna", "Berg");
    fs::create_symlink(a, path("verweis.xml"));
    fs::create_hard_link(a, path("zweiter.xml"));
    fs::create_symlink(a + "-wal", path("log.xml"));
    support::writeFile(path("fremd.txt"), "fremd");
    ASSERT_TRUE(support::holdsLock(::getpid(), a + "-shm"));

    for (const std::string& name :
         {a, path("verweis.xml"), path("zweiter.xml"), path("log.xml"), a + "-shm", path("./a.ZDB")}) {
        EXPECT_EQ(errorOf([&] { files::readFile(name); }), vb::err::PermissionDenied) << name;
        EXPECT_EQ(errorOf([&] { files::Open(name, files::OpenMode::Input, 1); }), vb::err::PermissionDenied) << name;
        EXPECT_EQ(errorOf([&] { files::FileCopy(name, path("kopie")); }), vb::err::PermissionDenied) << name;
        EXPECT_EQ(errorOf([&] { files::FileCopy(path("fremd.txt"), name); }), vb::err::PermissionDenied) << name;
        EXPECT_EQ(errorOf([&] { files::replaceFile(name, "x"); }), vb::err::PermissionDenied) << name;
    }
    EXPECT_EQ(files::readFile(path("fremd.txt")), "fremd");
    files::CloseAll();

    // The locks stayed: an outside reader leaves the log alone, and what is written afterwards
    // reaches the file.
    EXPECT_TRUE(support::holdsLock(::getpid(), a + "-shm"));
    auto rs = d->OpenRecordset("PersDat");
    rs->Edit();
    rs->Fields("Nachname") = "Arens";
    rs->Update();
    EXPECT_EQ(outside(a, "SELECT count(*) FROM PersDat"), "1");
    EXPECT_TRUE(fs::exists(a + "-wal"));
    rs->Edit();
    rs->Fields("Nachname") = "Bode";
    rs->Update();
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat WHERE PersonID = " + std::to_string(id)), "Bode");

    // Let go of, the file is an ordinary file again.
    d->Close();
    rs.reset();
    EXPECT_FALSE(files::isHeldByDatabase(a));
    EXPECT_NO_THROW(files::readFile(path("verweis.xml")));
}

}  // namespace
