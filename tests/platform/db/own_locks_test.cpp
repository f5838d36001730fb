// The engine's locks do not lapse when some other part of the program opens and closes the data
// file, its log or its shared memory (as a file dialog does that looks into the files it lists):
// an outside reader then still leaves the live log alone, and nothing written later is lost when
// the program is killed. Connections of the program itself on one file still share it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db_fixture.h"
#include "support/fork.h"
#include "support/handshake.h"
#include "support/held_files.h"

using namespace dbtest;
namespace fs = std::filesystem;

namespace {

class OwnLocksTest : public DbTest {};

void touchAndClose(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    char buf[16];
    (void)!::read(fd, buf, sizeof buf);
    ::close(fd);
}

TEST_F(OwnLocksTest, WritesAfterAForeignDescriptorClosedAndAnOutsideReadSurviveAKill) {
    const std::string a = path("a.ZDB");
    {
        auto d = makeDataFile(*ws, a);
        d->Close();
    }
    support::Handshake h;
    ASSERT_TRUE(h.ok());
    const pid_t child = support::forkChild();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            auto d = ws->OpenDatabase(a);
            addPerson(*d, "Anna", "Vorher");
            for (const char* side : {"", "-wal", "-shm"}) touchAndClose(a + side);
            h.tellParent('1');
            if (h.childHears() == '?') ::_exit(4);
            addPerson(*d, "Bert", "Nachher");
            auto rs = d->OpenRecordset("PersDat");
            rs->MoveFirst();
            rs->Edit();
            rs->Fields("Nachname") = "Geaendert";
            rs->Update();
            h.tellParent('2');
            // Killed with the file open: leaving this scope would close it and take its log away.
            for (;;) ::pause();
        } catch (...) {
            h.tellParent('f');
        }
        ::pause();
        ::_exit(0);
    }
    ASSERT_EQ(h.parentHears(), '1');
    EXPECT_TRUE(support::holdsLock(child, a + "-shm"));
    EXPECT_EQ(outside(a, "SELECT count(*) FROM PersDat"), "1");
    EXPECT_TRUE(fs::exists(a + "-wal"));
    h.tellChild('w');
    EXPECT_EQ(h.parentHears(), '2');
    EXPECT_TRUE(fs::exists(a + "-wal"));
    EXPECT_TRUE(support::holdsLock(child, a + "-shm"));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat ORDER BY PersonID"), "Geaendert\nNachher");
    EXPECT_EQ(outside(a, "SELECT count(*) FROM PersonTestErgebnis"), "218");
    EXPECT_EQ(integrity(a), "ok");
}

// A reading and a writing connection of the program on one file, and data controls on both, work
// side by side as they did when the locks were the process's: no one waits for the other, the
// reader sees what the writer stored, and an outside writer is still kept out while the program
// writes.
TEST_F(OwnLocksTest, ConnectionsOfTheProgramOnOneFileShareItAndKeepOutsideWritersOut) {
    const std::string a = path("a.ZDB");
    auto rw = makeDataFile(*ws, a);
    const int id = addPerson(*rw, "Anna", "Berg");
    auto ro = ws->OpenDatabase(a, false, true);
    db::DataControl lesend;
    showPersons(lesend, a, true);
    db::DataControl schreibend;
    showPersons(schreibend, a);

    auto r = ro->OpenRecordset("PersDat", db::RecordsetType::Dynaset);
    r->MoveFirst();
    for (const char* name : {"Arens", "Bode", "Claus"}) {
        touchAndClose(a);
        touchAndClose(a + "-shm");
        auto rs = schreibend.Recordset();
        rs->Edit();
        rs->Fields("Nachname") = name;
        rs->Update();
        lesend.Refresh();
        EXPECT_EQ(lesend.Recordset()->Fields("Nachname").Value().toString(), name);
        r->Requery();
        EXPECT_EQ(r->Fields("Nachname").Value().toString(), name);
        EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), name);
    }
    rw->BeginTrans();
    rw->Execute("UPDATE PersDat SET Vorname = 'In Arbeit' WHERE PersonID = " + std::to_string(id));
    touchAndClose(a);
    touchAndClose(a + "-wal");
    const auto fremd = support::run("sqlite3 " + support::shellQuote(a) +
                                    " \".timeout 100\" \"UPDATE PersDat SET Vorname = 'Fremd'\" 2>&1");
    EXPECT_NE(fremd.output.find("locked"), std::string::npos) << fremd.output;
    rw->CommitTrans();
    EXPECT_EQ(outside(a, "SELECT Vorname FROM PersDat"), "In Arbeit");
    EXPECT_EQ(integrity(a), "ok");
}

}  // namespace

// Made when the program starts, before any file is opened, as the program's own data file is.
std::shared_ptr<db::Database> gProgrammweit;

// A database still held by a program-wide object is closed by the exit handlers, after the
// engine's own bookkeeping of its lock descriptions: the program still ends cleanly and the file
// keeps what was written.
TEST_F(OwnLocksTest, ADatabaseHeldUntilTheProgramEndsClosesCleanlyAtExit) {
    const std::string a = path("a.ZDB");
    {
        auto d = makeDataFile(*ws, a);
        d->Close();
    }
    const pid_t child = support::forkChild();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            gProgrammweit = ws->OpenDatabase(a);
            addPerson(*gProgrammweit, "Anna", "Zuletzt");
        } catch (...) {
            ::_exit(3);
        }
        std::exit(0);
    }
    const int status = support::childEnds(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(outside(a, "SELECT Nachname FROM PersDat"), "Zuletzt");
}
