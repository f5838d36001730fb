// A log left beside a data file by a program that ended without closing it: the file's own log is
// taken into it, one that does not belong to the file (a backup copied over it, another file put
// under its name) is named, and nothing is written into the file, the log or its index before
// the file is accepted.

#include <sqlite3.h>

#include "db_fixture.h"
#include "support/leftover_log.h"
#include "support/vb_error.h"

using namespace dbtest;
namespace fs = std::filesystem;

namespace {

// The bytes of the file and of its side files ("" where one is missing).
std::vector<std::string> bytesOf(const std::string& file) {
    std::vector<std::string> out;
    for (const char* side : {"", "-wal", "-shm"})
        out.push_back(fs::exists(file + side) ? support::readFile(file + side) : std::string("(none)"));
    return out;
}

}  // namespace

class LeftoverLog : public DbTest {
protected:
    std::string dataFile(const std::string& name, int persons) {
        auto d = makeDataFile(*ws, path(name));
        for (int i = 0; i < persons; ++i) addPerson(*d, "Vor" + std::to_string(i), "Nach" + std::to_string(i));
        d->Close();
        return path(name);
    }
    long persons(const std::string& file) {
        auto d = ws->OpenDatabase(file);
        const long n = d->OpenRecordset("select * from persdat", db::RecordsetType::Snapshot)->RecordCount();
        d->Close();
        return n;
    }
    // What an outside client finds in a copy of the file read together with its log.
    bool damagedWithItsLog(const std::string& file) {
        const std::string copy = path("kopie/" + fs::path(file).filename().string());
        fs::create_directories(path("kopie"));
        for (const char* side : {"", "-wal", "-shm"})
            if (fs::exists(file + side)) fs::copy_file(file + side, copy + side, fs::copy_options::overwrite_existing);
        const bool damaged = integrity(copy) != "ok";
        fs::remove_all(path("kopie"));
        return damaged;
    }
    // Opening is refused as a foreign log, naming the log; the file and its side files stay byte for byte.
    void refusedAsForeignLog(const std::string& file) {
        const auto before = bytesOf(file);
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                ws->OpenDatabase(file);
                ADD_FAILURE() << "opened";
            } catch (const vb::Error& e) {
                EXPECT_EQ(e.number(), vb::err::ForeignLog) << e.description();
                EXPECT_NE(e.description().find(fs::path(file).filename().string() + "-wal"), std::string::npos)
                    << e.description();
                EXPECT_NE(e.description().find("nicht zu ihr"), std::string::npos) << e.description();
            }
            EXPECT_TRUE(bytesOf(file) == before) << "a byte of the file, its log or its index changed";
        }
        // The read-only way in refuses it the same way.
        EXPECT_EQ(errorOf([&] { ws->OpenDatabase(file, false, true); }), vb::err::ForeignLog);
        EXPECT_TRUE(bytesOf(file) == before);
    }
};

// Before: 3343, and closing the refused connection merged the stale log into the restored backup,
// which grew and was damaged for good.
TEST_F(LeftoverLog, ABackupRestoredOverAFileWithAStaleLogStaysAsItWas) {
    const std::string file = dataFile("R7.ZDB", 3);
    fs::copy_file(file, path("Sicherung.ZDB"));
    {
        auto d = ws->OpenDatabase(file);
        for (int i = 0; i < 12; ++i) addPerson(*d, "Nach", "Sicherung" + std::to_string(i));
        d->Close();
    }
    support::leaveSessionLog(file, 20);
    fs::rename(path("Sicherung.ZDB"), file);
    refusedAsForeignLog(file);
    EXPECT_TRUE(damagedWithItsLog(file)) << "the case needs a log that damages the file";

    // On the user's word the log is set aside under a name of its own, and the backup opens as it is.
    const std::string log = db::DBEngine::instance().setLogAside(file);
    EXPECT_TRUE(fs::exists(log));
    EXPECT_NE(log.find("R7.ZDB-wal"), std::string::npos);
    EXPECT_FALSE(fs::exists(file + "-wal"));
    EXPECT_FALSE(fs::exists(file + "-shm"));
    EXPECT_EQ(persons(file), 3);
    EXPECT_EQ(integrity(file), "ok");
}

TEST_F(LeftoverLog, AnotherFilesLogIsNamedWithOrWithoutItsIndex) {
    const std::string file = dataFile("P.ZDB", 2);
    const std::string other = dataFile("Andere.ZDB", 15);
    support::leaveSessionLog(other, 30);
    for (const char* side : {"-wal", "-shm"}) fs::rename(other + side, file + side);
    refusedAsForeignLog(file);
    EXPECT_TRUE(damagedWithItsLog(file));
    // The same log without its index: none is made beside the file.
    fs::remove(file + "-shm");
    refusedAsForeignLog(file);
    EXPECT_FALSE(fs::exists(file + "-shm"));
    // The file the log came from, without it, still holds what was written into it before.
    EXPECT_EQ(persons(other), 15);
}

// A file's own log, left by a session that ended without closing it, is taken into the file as
// before; a file that is damaged by itself is refused as damaged, its log untouched.
TEST_F(LeftoverLog, AFilesOwnLogIsTakenAndADamagedFileStaysDamaged) {
    const std::string file = dataFile("eigen.ZDB", 2);
    support::leaveSessionLog(file, 5);
    EXPECT_EQ(persons(file), 7);
    EXPECT_FALSE(fs::exists(file + "-wal"));
    EXPECT_EQ(outside(file, "select nachname from persdat where personid = 1"), "Geaendert");

    const std::string damaged = dataFile("kaputt.ZDB", 40);
    support::leaveSessionLog(damaged, 3);
    {
        // A page of the file itself spoilt, among the ratings, far from the pages the log holds.
        const auto middle = static_cast<std::streamoff>(fs::file_size(damaged) / 2 / 4096 * 4096);
        std::fstream f(damaged, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(middle + 100);
        f << std::string(2000, '\x5A');
    }
    const auto before = bytesOf(damaged);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(damaged); }), vb::err::NotADatabase);
    EXPECT_TRUE(bytesOf(damaged) == before);
}
