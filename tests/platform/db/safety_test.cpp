// The engine and the files it holds: locks that stay while a file is open, files it refuses that
// stay as they were, owner records, damaged files, and copies that appear under their name only
// when complete.

#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "db_fixture.h"
#include "support/fork.h"
#include "support/handshake.h"
#include "support/held_files.h"
#include "platform/files/paths.h"
#include "support/kill_test.h"
#include "support/vb_error.h"

using namespace dbtest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// Whether this process holds a lock on the file (of the process or of one of its descriptions).
bool holdsLock(const std::string& file) { return support::holdsLock(::getpid(), file); }

std::string sql(const std::string& file, const std::string& statement) {
    return support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(statement)).output;
}

void execRaw(const std::string& file, const std::string& statements) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, statements.c_str(), nullptr, nullptr, &msg);
    EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "") << " in " << statements;
    sqlite3_free(msg);
    sqlite3_close(db);
}

// Names of the files in a folder, sorted.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

class Safety : public DbTest {
protected:
    std::string dataFile(const std::string& name, int persons = 1) {
        auto d = makeDataFile(*ws, path(name));
        for (int i = 0; i < persons; ++i) addPerson(*d, "Vor" + std::to_string(i), "Nach" + std::to_string(i));
        d->Close();
        return path(name);
    }
};

// However a file is reached (database object, data control, a second and a read-only connection
// opened and closed again), the process keeps its lock on the open file; an outside reader
// therefore never takes the live journal for a stale one.
TEST_F(Safety, AnOpenFileStaysLockedWhateverElseOpensIt) {
    const std::string file = dataFile("offen.ZDB");
    auto d = ws->OpenDatabase(file);
    d->OpenRecordset("persdat")->MoveFirst();
    ASSERT_TRUE(holdsLock(file));
    db::DataControl c;
    c.setDatabaseName(file);
    c.setRecordSource("select * from persdat");
    c.Refresh();
    EXPECT_TRUE(holdsLock(file));
    ws->OpenDatabase(file, false, true)->OpenRecordset("Info")->MoveFirst();  // read-only, closed at once
    EXPECT_TRUE(holdsLock(file));
    ws->OpenDatabase(file)->Close();
    EXPECT_TRUE(holdsLock(file));
    db::DBEngine::instance().CompactDatabase(file, path("kopie.ZDB"));
    db::copyDatabaseFile(file, path("sicher.ZDB"));
    EXPECT_TRUE(holdsLock(file));

    // An outside reader comes and goes; what is written afterwards survives in the file.
    EXPECT_EQ(sql(file, "select count(*) from persdat"), "1\n");
    addPerson(*d, "Nach", "Leser");
    EXPECT_TRUE(fs::exists(file + "-wal"));
    EXPECT_EQ(sql(file, "select count(*) from persdat"), "2\n");
    c.close();
    d->Close();
}

// A program that keeps the file open and writes, killed after an outside reader came and went:
// every person it saved is in the file. An outside writer meanwhile meets the lock and is refused,
// and the engine of a second program reports the lock as its error 3218.
TEST_F(Safety, SavesAfterAnOutsideReadSurviveAKill) {
    const std::string file = dataFile("leser.ZDB", 0);
    support::Handshake h;
    ASSERT_TRUE(h.ok());
    const pid_t pid = support::forkChild();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        auto d = ws->OpenDatabase(file);
        db::DataControl c;
        c.setDatabaseName(file);
        c.setRecordSource("persdat");
        c.Refresh();
        auto step = [&](char say) {
            h.tellParent(say);
            return h.childHears();
        };
        char cmd = step('r');
        for (int i = 0; cmd == 's' || cmd == 't'; ++i) {
            if (cmd == 't') {
                d->BeginTrans();
                addPerson(*d, "In", "Transaktion");
                cmd = step('t');
                d->CommitTrans();
                cmd = step('c');
                continue;
            }
            addPerson(*d, "Nach", "Person" + std::to_string(i));
            cmd = step('s');
        }
        ::pause();
        ::_exit(0);
    }
    auto say = [&](char cmd) {
        if (cmd) h.tellChild(cmd);
        return h.parentHears();
    };
    ASSERT_EQ(say(0), 'r');
    EXPECT_EQ(sql(file, "select count(*) from persdat"), "0\n");
    EXPECT_EQ(say('s'), 's');
    EXPECT_EQ(sql(file, "select count(*) from persdat"), "1\n");
    EXPECT_EQ(say('s'), 's');
    // While the child holds a write transaction, writers of other programs are refused.
    EXPECT_EQ(say('t'), 't');
    const auto outside = support::run("sqlite3 -cmd '.timeout 100' " + support::shellQuote(file) +
                                      " \"insert into info (version) values ('fremd')\"");
    EXPECT_NE(outside.status, 0);
    EXPECT_NE(outside.output.find("locked"), std::string::npos) << outside.output;
    {
        auto mine = ws->OpenDatabase(file);
        EXPECT_EQ(errorOf([&] { mine->Execute("insert into info (version) values ('zweites Programm')"); }),
                  vb::err::RecordLocked);
        mine->Close();
    }
    EXPECT_EQ(say('x'), 'c');
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(sql(file, "select count(*) from persdat"), "3\n");
    EXPECT_EQ(sql(file, "select count(*) from info"), "1\n");
    EXPECT_EQ(sql(file, "pragma integrity_check"), "ok\n");
}

// A file the engine or the program refuses is left as it was: its bytes, its journal mode and its
// tables. The settings database and a data file without its Info and print tables pass the engine
// (the program refuses them); the others the engine refuses itself.
TEST_F(Safety, RefusedFilesStayByteForByte) {
    // Another workgroup's file, kept in rollback-journal mode as an outside tool may leave it.
    const std::string foreign = dataFile("fremd.ZDB");
    execRaw(foreign, "PRAGMA journal_mode=DELETE; UPDATE zuvsys_owner SET value = 'anders' WHERE key = 'workgroup'");
    // One of ours without Info and Drucktabelle, in rollback-journal mode too.
    const std::string bare = dataFile("ohne.ZDB");
    execRaw(bare, "PRAGMA journal_mode=DELETE; DROP TABLE Info; DROP TABLE Drucktabelle");
    // An installation database chosen as a data file.
    auto s = ws->CreateDatabase(path("zuv.sdb"), "", db::dbInstallation);
    s->Execute("CREATE TABLE labelTxt (ID LONG, BeschriftungDtsch TEXT(255))");
    s->Close();
    execRaw(path("zuv.sdb"), "PRAGMA journal_mode=DELETE");

    for (const std::string& file : {foreign, bare, path("zuv.sdb")}) {
        SCOPED_TRACE(file);
        const std::string before = support::readFile(file);
        try {
            auto d = ws->OpenDatabase(file);
            // What the program does before it refuses: it looks for its tables.
            EXPECT_FALSE(d->hasTable("Info") && d->hasTable("Drucktabelle"));
            d->Close();
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.number(), vb::err::NoPermission);
        }
        EXPECT_TRUE(support::readFile(file) == before) << "the bytes changed";
        EXPECT_FALSE(fs::exists(file + "-wal"));
        EXPECT_EQ(sql(file, "pragma journal_mode"), "delete\n");
    }
    // A file of ours in rollback-journal mode goes over to the write-ahead log at its first write.
    execRaw(dataFile("alt.ZDB"), "PRAGMA journal_mode=DELETE");
    auto alt = ws->OpenDatabase(path("alt.ZDB"));
    EXPECT_EQ(alt->OpenRecordset("persdat")->RecordCount(), 1);
    EXPECT_EQ(sql(path("alt.ZDB"), "pragma journal_mode"), "delete\n");
    addPerson(*alt, "Neu", "Zeile");
    EXPECT_EQ(sql(path("alt.ZDB"), "pragma journal_mode"), "wal\n");
    alt->Close();
}

// A data file whose owner record is missing, empty, renamed or names another account or workgroup
// is refused like another workgroup's file; every file the engine wrote itself opens.
TEST_F(Safety, OnlyAValidOwnerRecordOfThisWorkgroupOpensAFile) {
    const std::string master = dataFile("eigen.ZDB");
    const struct {
        const char* what;
        const char* statement;
    } spoilt[] = {
        {"deleted", "DELETE FROM zuvsys_owner"},
        {"account deleted", "DELETE FROM zuvsys_owner WHERE key = 'account'"},
        {"account Null", "UPDATE zuvsys_owner SET value = NULL WHERE key = 'account'"},
        {"account empty", "UPDATE zuvsys_owner SET value = '' WHERE key = 'account'"},
        {"account renamed", "UPDATE zuvsys_owner SET key = 'konto' WHERE key = 'account'"},
        {"workgroup Null", "UPDATE zuvsys_owner SET value = NULL WHERE key = 'workgroup'"},
        {"workgroup empty", "UPDATE zuvsys_owner SET value = '' WHERE key = 'workgroup'"},
        {"workgroup replaced",
         "UPDATE zuvsys_owner SET value = 'ffffffffffffffffffffffffffffffff' WHERE key = 'workgroup'"},
        {"account replaced", "UPDATE zuvsys_owner SET value = 'ffffffffffffffffffffffffffffffff' WHERE key = 'account'"},
        {"account as number", "UPDATE zuvsys_owner SET value = 7 WHERE key = 'account'"},
        {"table renamed", "ALTER TABLE zuvsys_owner RENAME TO owner_alt"},
        {"table dropped", "DROP TABLE zuvsys_owner"},
    };
    for (const auto& c : spoilt) {
        SCOPED_TRACE(c.what);
        const std::string file = path(std::string("v-") + std::to_string(&c - spoilt) + ".ZDB");
        fs::copy_file(master, file);
        execRaw(file, c.statement);
        const std::string before = support::readFile(file);
        EXPECT_EQ(errorOf([&] { ws->OpenDatabase(file); }), vb::err::NoPermission);
        EXPECT_EQ(errorOf([&] { ws->OpenDatabase(file, false, true); }), vb::err::NoPermission);
        db::DataControl data;
        data.setDatabaseName(file);
        data.setRecordSource("persdat");
        EXPECT_EQ(errorOf([&] { data.Refresh(); }), vb::err::NoPermission);
        EXPECT_EQ(errorOf([&] { db::DBEngine::instance().CompactDatabase(file, file + ".kompakt"); }),
                  vb::err::NoPermission);
        EXPECT_TRUE(support::readFile(file) == before) << "the bytes changed";
    }
    // Files the engine wrote: the data file, its compacted copy, its backup copy.
    db::DBEngine::instance().CompactDatabase(master, path("kompakt.ZDB"));
    db::copyDatabaseFile(master, path("kopie.ZDB"));
    for (const std::string& file : {master, path("kompakt.ZDB"), path("kopie.ZDB")}) {
        SCOPED_TRACE(file);
        auto d = ws->OpenDatabase(file);
        EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 1);
        d->Close();
    }
    // Installation databases open through any login, and through none.
    auto inst = ws->CreateDatabase(path("inst.sdb"), "", db::dbInstallation);
    inst->Close();
    db::DBEngine::instance().reset();
    db::DataControl none;
    none.setDatabaseName(path("inst.sdb"));
    EXPECT_NO_THROW(none.Refresh());
    none.setDatabaseName(master);
    EXPECT_EQ(errorOf([&] { none.Refresh(); }), vb::err::NoPermission);
}

// Damaged files are refused at the door with the engine's message for them, and stay as they were;
// so are pipes and devices, at once.
TEST_F(Safety, DamagedAndNonRegularFilesAreRefusedWithTheirReason) {
    const std::string master = dataFile("heil.ZDB", 20);
    const auto size = static_cast<long>(fs::file_size(master));
    ASSERT_GT(size, 8 * 4096);
    auto damage = [&](const std::string& name, long at, const std::string& bytes) {
        const std::string file = path(name);
        fs::copy_file(master, file);
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(at);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    };
    std::vector<std::string> damaged = {
        damage("seitenkopf.ZDB", 5 * 4096, std::string(8, '\x0d')),       // a page's header
        damage("zeiger.ZDB", 6 * 4096 + 12, std::string(16, '\xff')),     // cell pointers out of range
        damage("seite.ZDB", 3 * 4096, std::string(4096, '\0')),           // a b-tree page gone
        damage("freiliste.ZDB", 36, std::string("\x00\x00\x30\x39", 4)),  // freelist count
        damage("schema.ZDB", 100, std::string(200, 'x')),                 // the schema page's cells
    };
    {
        const std::string cut = path("halb.ZDB");
        fs::copy_file(master, cut);
        fs::resize_file(cut, static_cast<uintmax_t>(size / 2));
        damaged.push_back(cut);
    }
    for (const auto& file : damaged) {
        SCOPED_TRACE(file);
        const std::string before = support::readFile(file);
        const std::string why = messageOf([&] {
            auto d = ws->OpenDatabase(file);
            for (const auto& t : d->TableDefs()) d->OpenRecordset(t)->MoveLast();
        });
        EXPECT_NE(why.find("beschädigt"), std::string::npos) << why;
        EXPECT_EQ(errorOf([&] { ws->OpenDatabase(file); }), vb::err::NotADatabase);
        EXPECT_TRUE(support::readFile(file) == before) << "the bytes changed";
    }

    const std::string fifo = path("pipe.ZDB");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(fifo); }), vb::err::NotADatabase);
    EXPECT_NE(messageOf([&] { ws->OpenDatabase(fifo); }).find("keine gewöhnliche Datei"), std::string::npos);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase("/dev/zero"); }), vb::err::NotADatabase);
    EXPECT_EQ(errorOf([&] { db::DBEngine::instance().CompactDatabase(fifo, path("aus-pipe.ZDB")); }),
              vb::err::NotADatabase);
    EXPECT_FALSE(fs::exists(path("aus-pipe.ZDB")));
}

// A large file is checked at the door in its schema and smaller tables; damage in its bulk tables
// is found when their rows are read, with the same message, never passed over in silence.
TEST_F(Safety, DamageInALargeFileIsFoundAtTheDoorOrWhenItsRowsAreRead) {
    const std::string master = dataFile("gross.ZDB", 0);
    execRaw(master,
            "BEGIN;"
            "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < 2500) "
            "INSERT INTO PersDat (PersonID, Vorname, Nachname) SELECT i, 'V' || i, 'N' || i FROM p;"
            "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < 2500), "
            "s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 109) "
            "INSERT INTO PersonTestErgebnis (PersonID, ItemNummer, ItemWert) SELECT i, j, (i + j) % 5 FROM p, s;"
            "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < 2500), "
            "s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 126) "
            "INSERT INTO TypWertZuweisung (PersonID, ItemNummer, TypNummer, TypRealWert) "
            "SELECT i, 1 + (j - 1) % 109, 1 + j % 9, (i + j) % 5 FROM p, s;"
            "COMMIT; PRAGMA wal_checkpoint(TRUNCATE);");
    ASSERT_GT(std::stol(sql(master, "pragma page_count")), 2048);
    auto page = [&](const std::string& query) { return std::stol(sql(master, query)); };
    const long persons = page("select rootpage from sqlite_schema where name = 'PersDat'");
    const long answers = page(
        "select pageno from dbstat where name = 'PersonTestErgebnis' and pagetype = 'leaf' limit 1 offset 200");
    auto damage = [&](const std::string& name, long pageNo) {
        const std::string file = path(name);
        fs::copy_file(master, file);
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp((pageNo - 1) * 4096);
        const std::string junk(64, '\x07');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
        return file;
    };
    const std::string atTheDoor = damage("personen.ZDB", persons);
    EXPECT_NE(messageOf([&] { ws->OpenDatabase(atTheDoor); }).find("beschädigt"), std::string::npos);
    const std::string inTheRows = damage("antworten.ZDB", answers);
    auto d = ws->OpenDatabase(inTheRows);
    EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 2500);
    const std::string why = messageOf(
        [&] { auto rs = d->OpenRecordset("select * from persontestergebnis", db::RecordsetType::Snapshot); });
    EXPECT_NE(why.find("beschädigt"), std::string::npos) << why;
    d->Close();
}

// Killed at many moments while it compacts or copies, the engine leaves the target absent or whole
// and nothing but temporary files that say whose they are; the next compaction clears them away.
TEST_F(Safety, KilledCopiesLeaveNoPartialTargetAndTheirLeftoversAreCleared) {
    const std::string source = dataFile("quelle.ZDB", 20);
    const std::string before = support::readFile(source);
    for (const bool compaction : {true, false}) {
        SCOPED_TRACE(compaction ? "compaction" : "backup copy");
        int complete = 0;
        support::killAtManyMoments(
            20, 100ms,
            [&](const std::function<void()>& ready, const std::function<void()>& done) {
                ready();
                for (int i = 0;; ++i) {
                    const std::string target = path("ziel" + std::to_string(i) + ".ZDB");
                    if (compaction) db::DBEngine::instance().CompactDatabase(source, target);
                    else db::copyDatabaseFile(source, target);
                    done();
                }
            },
            [&](const support::KillRound& r) {
                EXPECT_TRUE(r.killed);
                for (const auto& name : filesIn(m_dir.path().toStdString())) {
                    if (name.rfind("ziel", 0) == 0) {
                        EXPECT_EQ(sql(path(name), "pragma integrity_check"), "ok\n") << name;
                        EXPECT_EQ(sql(path(name), "select count(*) from persdat"), "20\n") << name;
                        fs::remove(path(name));
                        ++complete;
                    } else if (name[0] == '.') {
                        EXPECT_TRUE(files::isTempName(name)) << name;
                    }
                }
            });
        EXPECT_GT(complete, 0);
        // The killed processes' leftovers go with the next compaction into this folder.
        db::DBEngine::instance().CompactDatabase(source, path("danach.ZDB"));
        for (const auto& name : filesIn(m_dir.path().toStdString())) EXPECT_NE(name[0], '.') << name;
        fs::remove(path("danach.ZDB"));
    }
    EXPECT_TRUE(support::readFile(source) == before) << "the bytes changed";
}
