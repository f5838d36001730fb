// The data file on a computer of several accounts: a group folder two colleagues share, and a file
// that this account can only read.

#include <sys/stat.h>

#include "db_fixture.h"
#include "platform/files/paths.h"
#include "support/konten.h"

namespace fs = std::filesystem;

namespace {

class Accounts : public dbtest::DbTest {
protected:
    long persons(db::Database& d) {
        auto rs = d.OpenRecordset("select count(*) from persdat", db::RecordsetType::Snapshot);
        return rs->Fields(0).Value().toLong();
    }
    static bool beside(const std::string& file) {
        return fs::exists(file + "-wal") || fs::exists(file + "-shm") || fs::exists(file + "-journal");
    }
};

TEST_F(Accounts, InAGroupFolderTheDataFileAndItsLogAreTheGroupsToWriteToo) {
    support::Konto k;
    if (const std::string warum = support::zweitesKonto(k); !warum.empty()) GTEST_SKIP() << warum;
    const fs::path gruppe = support::makeTempDir("zuv-gruppe");
    ASSERT_EQ(::chown(gruppe.c_str(), 0, k.gid), 0);
    ASSERT_EQ(::chmod(gruppe.c_str(), 02775), 0);
    const std::string datei = (gruppe / "Praxis.ZDB").string();
    {
        support::Umask u(002);
        auto d = dbtest::makeDataFile(*ws, datei);
        dbtest::addPerson(*d, "Erika", "Muster");
        struct stat st;
        ASSERT_EQ(::stat(datei.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0664u);
        EXPECT_EQ(st.st_gid, k.gid);  // the folder's group, as the setgid folder gives it
        ASSERT_TRUE(fs::exists(datei + "-wal"));
        EXPECT_EQ(support::rechte(datei + "-wal"), 0664u);
        EXPECT_EQ(support::rechte(datei + "-shm"), 0664u);
        d->Close();
    }
    db::DBEngine::instance().releaseAll();
    // The colleague, a member of the folder's group, adds a person of her own.
    const int ergebnis = support::alsKonto(k, 002, [&] {
        try {
            auto d = ws->OpenDatabase(datei);
            dbtest::addPerson(*d, "Max", "Kollege");
            d->Close();
            return 0;
        } catch (const vb::Error& e) {
            std::fprintf(stderr, "%d %s\n", e.number(), e.description().c_str());
            return e.number() == vb::err::FileLocked ? 51 : 1;
        }
    });
    EXPECT_EQ(ergebnis, 0) << "51: the colleague was refused the file (3051)";
    {
        auto d = ws->OpenDatabase(datei, false, true);
        EXPECT_EQ(persons(*d), 2);
        d->Close();
    }
    std::error_code ec;
    fs::remove_all(gruppe, ec);
}

TEST_F(Accounts, CompactedAndWrittenBackFilesTakeTheUmasksPermissionsAndAReplacedOneKeepsItsOwn) {
    support::Umask u(002);
    const std::string datei = path("Praxis.ZDB");
    {
        auto d = dbtest::makeDataFile(*ws, datei);
        dbtest::addPerson(*d, "Erika", "Muster");
        // Written back under another name while it is open (as after the file was lost).
        db::DBEngine::instance().saveHeldFileAs(datei, path("Gerettet.ZDB"), false);
        d->Close();
    }
    db::DBEngine::instance().releaseAll();
    EXPECT_EQ(support::rechte(path("Gerettet.ZDB")), 0664u);
    db::DBEngine::instance().CompactDatabase(datei, path("Kompakt.ZDB"), "", db::dbEncrypt);
    EXPECT_EQ(support::rechte(path("Kompakt.ZDB")), 0664u);
    // Compacted over an older copy of restricted permissions: those stay.
    ASSERT_EQ(::chmod(path("Gerettet.ZDB").c_str(), 0600), 0);
    const std::string zwischen = files::tempNameBeside(path("Gerettet.ZDB"));
    db::DBEngine::instance().CompactDatabase(datei, zwischen, "", db::dbEncrypt);
    files::moveIntoPlace(zwischen, path("Gerettet.ZDB"), true);
    EXPECT_EQ(support::rechte(path("Gerettet.ZDB")), 0600u);
}

TEST_F(Accounts, AFileThatCanOnlyBeReadOpensForReadingLeavesNothingBesideItAndRefusesWrites) {
    const std::string datei = path("Nur.ZDB");
    {
        auto d = dbtest::makeDataFile(*ws, datei);
        dbtest::addPerson(*d, "Erika", "Muster");
        d->Close();
    }
    db::DBEngine::instance().releaseAll();
    ASSERT_FALSE(beside(datei));
    ASSERT_EQ(::chmod(datei.c_str(), 0444), 0);
    const std::string vorher = support::readFile(datei);
    {
        auto d = ws->OpenDatabase(datei, false, true);
        EXPECT_EQ(persons(*d), 1);
        // No log and no shared memory beside it: made with the file's permissions, they would
        // keep its owner from writing the file once it is writable again.
        EXPECT_FALSE(beside(datei));
        auto rs = d->OpenRecordset("persdat");
        EXPECT_EQ(errorOf([&] { rs->AddNew(); }), vb::err::ReadOnlyDatabase);
        EXPECT_EQ(errorOf([&] { d->Execute("DELETE * FROM persdat"); }), vb::err::ReadOnlyDatabase);
        try {
            d->Execute("DELETE * FROM persdat");
        } catch (const vb::Error& e) {
            EXPECT_NE(e.description().find("schreibgeschützt"), std::string::npos) << e.description();
            EXPECT_NE(e.description().find(datei), std::string::npos) << e.description();
        }
        rs->Close();
        d->Close();
    }
    EXPECT_EQ(errorOf([&] { (void)ws->OpenDatabase(datei); }),
              vb::err::FileLocked);  // a normal open is refused, as before
    db::DBEngine::instance().releaseAll();
    EXPECT_FALSE(beside(datei));
    EXPECT_EQ(support::readFile(datei), vorher);

    // On a read-only mount the file is read as well; nothing can be made beside it there.
    ASSERT_EQ(::chmod(datei.c_str(), 0644), 0);
    support::NurLesbareAnsicht ansicht(fs::path(datei).parent_path());
    if (!ansicht.fehler().empty()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht.fehler();
    const std::string gesehen = (ansicht.pfad() / "Nur.ZDB").string();
    {
        auto d = ws->OpenDatabase(gesehen, false, true);
        EXPECT_EQ(persons(*d), 1);
        auto rs = d->OpenRecordset("select * from persdat", db::RecordsetType::Snapshot);
        EXPECT_EQ(rs->Fields("Nachname").Value().toString(), "Muster");
        rs->Close();
        d->Close();
    }
    EXPECT_EQ(errorOf([&] { (void)ws->OpenDatabase(gesehen); }), vb::err::FileLocked);
    db::DBEngine::instance().releaseAll();
}

}  // namespace
