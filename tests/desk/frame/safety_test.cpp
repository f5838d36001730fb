// The program and its data files under outside readers, kills and files that are not what they
// claim: a running program keeps its locks, a kill loses nothing saved, a refused file stays as it
// was, and a killed compaction, backup or import leaves no half-written file under a user's name.

#include <sys/stat.h>
#include <sys/wait.h>

#include <sstream>

#include "desk/frame/frm_import.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/testverwaltung.h"
#include "frame_fixture.h"
#include "support/data_file.h"
#include "support/files.h"
#include "support/fork.h"
#include "support/handshake.h"
#include "support/held_files.h"
#include "support/kill_test.h"

using namespace frame_test;
using namespace std::chrono_literals;

namespace {

std::string sqlite(const std::string& file, const std::string& statement) {
    return support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(statement)).output;
}

// Whether process `pid` holds a lock on the file (of the process or of one of its descriptions).
bool haeltSperre(pid_t pid, const std::string& file) { return support::holdsLock(pid, file); }

class Datensicherheit : public FrameTest {
protected:
    long personen(const std::string& datei) {
        const std::string n = sqlite(datei, "select count(*) from persdat");
        return n.empty() ? -1 : std::stol(n);
    }
    // Persons that are not whole (1 + 109 + 126 + 9 rows) and rows without their person.
    long unvollstaendig(const std::string& datei) {
        return std::stol(sqlite(datei,
                                "select (select count(*) from persdat p where (select count(*) from persontestergebnis "
                                "a where a.personid = p.personid) <> 109 or (select count(*) from typwertzuweisung t "
                                "where t.personid = p.personid) <> 126 or (select count(*) from ergebnis e where "
                                "e.personid = p.personid) <> 9) + (select count(*) from typwertzuweisung where "
                                "personid not in (select personid from persdat))"));
    }
    std::vector<std::string> versteckte() {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string()[0] == '.') out.push_back(e.path().filename().string());
        return out;
    }
};

}  // namespace

// The way it failed: the program opens its data file and the person window, sqlite3 reads the
// file, the program saves a person and is killed. The person is in the file, because the program
// held its locks the whole time.
TEST_F(Datensicherheit, APersonSavedAfterAnOutsideReadSurvivesAKill) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    support::Handshake kanal;
    ASSERT_TRUE(kanal.ok());
    const pid_t kind = support::forkChild();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        if (!starte() || !gDateiOffen) kanal.tellParent('f');
        PersonendatenAnzeigen();
        auto& f = forms::Instance<frmpers>();
        kanal.tellParent(f.isVisible() ? 'p' : 'f');
        kanal.childHears();
        f.Befehl4_Click();
        f.Text1[0].setText("Nach");
        f.Text1[1].setText("Leser");
        h().answer(forms::vbNo);
        f.Befehl5_Click();
        kanal.tellParent('s');
        ::pause();
        ::_exit(0);
    }
    ASSERT_EQ(kanal.parentHears(), 'p');  // data file and person window open
    EXPECT_TRUE(haeltSperre(kind, datei));
    EXPECT_EQ(sqlite(datei, "select count(*) from persdat"), "2\n");
    EXPECT_TRUE(haeltSperre(kind, datei));
    kanal.tellChild('s');
    EXPECT_EQ(kanal.parentHears(), 's');
    EXPECT_TRUE(haeltSperre(kind, datei));
    ::kill(kind, SIGKILL);
    int status = 0;
    ::waitpid(kind, &status, 0);
    EXPECT_EQ(sqlite(datei, "select nachname from persdat where vorname = 'Nach'"), "Leser\n");
    EXPECT_EQ(unvollstaendig(datei), 0);
    EXPECT_EQ(sqlite(datei, "pragma integrity_check"), "ok\n");
}

// Files the program refuses as data files stay exactly as they were (bytes, journal mode,
// tables), and the person learns why; a pipe named in the recent list is refused at once.
TEST_F(Datensicherheit, RefusedFilesStayAsTheyWereAndSayWhy) {
    ASSERT_TRUE(starte());
    const std::string eigene = neueDatei("Eigen");
    personenAnlegen(*gDatenbank, 1);
    mdi().mnuClose_Click();
    // The settings database copied under a data file's name.
    fs::copy_file(dir / "zuv.sdb", dir / "Einstellungen.ZDB");
    // One of ours without Info and print table, kept in rollback-journal mode.
    fs::copy_file(eigene, dir / "Ohne.ZDB");
    sqlite(pfad("Ohne.ZDB"), "pragma journal_mode=delete; drop table Info; drop table Drucktabelle;");
    // One of another workgroup, and one whose owner record was emptied.
    fs::copy_file(eigene, dir / "Fremd.ZDB");
    sqlite(pfad("Fremd.ZDB"), "update zuvsys_owner set value = 'anders' where key = 'workgroup'");
    fs::copy_file(eigene, dir / "Leer.ZDB");
    sqlite(pfad("Leer.ZDB"), "delete from zuvsys_owner");
    // One whose pages were overwritten.
    fs::copy_file(eigene, dir / "Kaputt.ZDB");
    {
        std::fstream f(dir / "Kaputt.ZDB", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(2 * 4096);
        const std::string muell(3 * 4096, '\x5a');
        f.write(muell.data(), static_cast<std::streamsize>(muell.size()));
    }
    const struct {
        const char* name;
        const char* grund;
    } faelle[] = {
        {"Einstellungen.ZDB", nullptr}, {"Ohne.ZDB", nullptr},        {"Fremd.ZDB", "3033"},
        {"Leer.ZDB", "3033"},           {"Kaputt.ZDB", "beschädigt"},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        const std::string datei = pfad(fall.name);
        const std::string vorher = support::readFile(datei);
        const std::string modus = sqlite(datei, "pragma journal_mode");
        h().clearRecords();
        h().chooseFile(datei);
        mdi().mnuOpen_Click();
        EXPECT_FALSE(gDateiOffen);
        ASSERT_EQ(h().messages().size(), 1u);
        if (fall.grund) EXPECT_NE(h().messages()[0].find(fall.grund), std::string::npos) << h().messages()[0];
        else EXPECT_EQ(h().messages()[0], DialogTxt(4));
        EXPECT_TRUE(support::readFile(datei) == vorher) << "the bytes changed";
        EXPECT_EQ(sqlite(datei, "pragma journal_mode"), modus);
        EXPECT_FALSE(fs::exists(datei + "-wal"));
    }
    EXPECT_EQ(sqlite(pfad("Ohne.ZDB"), "select count(*) from sqlite_schema where name = 'Drucktabelle'"), "0\n");
}

// A named pipe standing first in the recent list: the start refuses it at once with its reason
// instead of waiting for ever on it.
TEST_F(Datensicherheit, APipeInTheRecentListIsRefusedAtOnce) {
    const std::string pipe = pfad("Pipe.ZDB");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    zuletztGeoeffnet(pipe);
    ASSERT_TRUE(starte());
    EXPECT_FALSE(gDateiOffen);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("keine gewöhnliche Datei"), std::string::npos) << h().messages()[0];
}

// Compaction onto an existing file, killed at many moments: the target is always the old file or
// the whole copy, never a part; what the killed compactions left behind is recognisably theirs and
// goes at the next start.
TEST_F(Datensicherheit, KilledCompactionLeavesTheTargetWholeAndItsLeftoversGoAtTheNextStart) {
    const std::string quelle = datenDatei("Quelle.ZDB", 12);
    const std::string ziel = datenDatei("Ziel.ZDB", 3);
    support::killAtManyMoments(
        20, 120ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            if (!starte()) return;
            h().cancelInput();
            bereit();
            for (;;) {
                h().clearRecords();
                h().chooseFile(quelle).chooseFile(ziel);
                mdi().CompactDB();
                soWeit();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << r.exitCode;
            const long n = personen(ziel);
            EXPECT_TRUE(n == 3 || n == 12) << "round " << r.index << ": " << n;
            EXPECT_EQ(sqlite(ziel, "pragma integrity_check"), "ok\n");
            for (const auto& name : versteckte()) EXPECT_TRUE(files::isTempName(name)) << name;
            for (const auto& e : fs::directory_iterator(dir))
                EXPECT_EQ(e.path().filename().string().find(".neu"), std::string::npos);
        });
    EXPECT_EQ(personen(ziel), 12);  // at least one compaction went through
    ASSERT_TRUE(starte());
    EXPECT_TRUE(versteckte().empty()) << versteckte().front();
}

// Backups onto an existing file and imports of all persons, killed at many moments: the backup is
// the old file or the whole copy, and every imported person is whole or absent.
TEST_F(Datensicherheit, KilledBackupAndImportLeaveWholeFiles) {
    const std::string quelle = datenDatei("Quelle.ZDB", 12);
    const std::string sicherung = datenDatei("Sicherung.ZDB", 3);
    const std::string ziel = datenDatei("Ziel.ZDB", 1);
    zuletztGeoeffnet(quelle);
    support::killAtManyMoments(
        15, 120ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            if (!starte() || !gDateiOffen) return;
            bereit();
            for (;;) {
                h().clearRecords();
                h().answer(forms::vbYes).chooseFile(sicherung);
                mdi().BackUpDB();
                soWeit();
                h().chooseFile(quelle);
                mdi().mnuOpen_Click();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << r.exitCode;
            const long n = personen(sicherung);
            EXPECT_TRUE(n == 3 || n == 12) << "round " << r.index << ": " << n;
            EXPECT_EQ(sqlite(sicherung, "pragma integrity_check"), "ok\n");
            for (const auto& name : versteckte()) EXPECT_TRUE(files::isTempName(name)) << name;
        });
    EXPECT_EQ(personen(sicherung), 12);

    support::killAtManyMoments(
        15, 120ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            if (!starte() || !gDateiOffen) return;
            h().chooseFile(ziel);
            h().answer(forms::vbYes);
            mdi().mnuOpen_Click();
            bereit();
            for (;;) {
                frmImport::importiere(quelle, nullptr);
                soWeit();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << r.exitCode;
            EXPECT_EQ(sqlite(ziel, "pragma integrity_check"), "ok\n");
            EXPECT_EQ(unvollstaendig(ziel), 0) << "round " << r.index;
            EXPECT_EQ((personen(ziel) - 1) % 12, 0) << "round " << r.index;
        });
    EXPECT_GT(personen(ziel), 1);
}
