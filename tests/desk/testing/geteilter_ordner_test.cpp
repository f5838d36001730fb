// Two computers, one shared folder: one folder mounted twice through sshfs, each mount one
// computer's view of the file server. Persons and ratings saved on both at once are all stored
// whole under numbers of their own, a row changed on the other computer since it was read is not
// written over, and a lock left by a killed program or another computer keeps nobody out for ever.

#include <fcntl.h>
#include <sys/inotify.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "desk/common/engine_setup.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "fenster_fixture.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/ini/ini_file.h"
#include "support/anderes_programm.h"
#include "support/sshfs.h"

using namespace zuvtest_test;

namespace {

class GeteilterOrdner : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        if (ordner.missing()) GTEST_SKIP() << "No shared folder on this machine: " << ordner.notPossible();
        ASSERT_EQ(ordner.notPossible(), "");
        // The other computer writes a person's rows in one transaction; over the network, on a
        // machine as busy as the test machine, that takes its time.
        db::DBEngine::instance().setBusyTimeout(30000);
        SperrenFragen();
        anna = neuePerson("Anna", "Berg");
        loslassen();
        std::filesystem::copy_file(path("test.ZDB"), ordner.server() + "/test.ZDB");
    }
    void TearDown() override {
        anderer.toeten();
        forms::resetAllWindows();
        gDatenbank.reset();
        if (datei) datei->Close();
        datei.reset();
        db::DBEngine::instance().releaseAll();
        SperrenFragen();  // the program's own question again, whatever a test put in its place
        FensterTest::TearDown();
    }

    std::string auf(const std::string& mount) const { return mount + "/test.ZDB"; }
    std::string sperre() const { return ordner.server() + "/test.ZDB.lock"; }
    bool gesperrt() const {
        struct stat st;
        return ::stat(sperre().c_str(), &st) == 0;
    }
    // The program keeps the lock for a moment after an action, for the next statement of it.
    bool freigegeben() const {
        for (int i = 0; i < 500 && gesperrt(); ++i) ::usleep(10000);
        return !gesperrt();
    }

    // The lock of another computer, "praxis-2", made `alter` seconds ago, once this program let go.
    void fremdeSperre(long alter) {
        ASSERT_TRUE(freigegeben());
        std::filesystem::create_directory(sperre());
        support::writeFile(sperre() + "/owner", "computer=praxis-2\nuser=anna\nprocess=4711\nboot=x\ntime=" +
                                                    std::to_string(::time(nullptr) - alter) + "\n");
    }

    // The data file opened through one computer's mount, as after choosing it in the main window.
    void sitzung(const std::string& mount) {
        gDatenbankName = auf(mount);
        datei = ws->OpenDatabase(gDatenbankName);
        gDatenbank = datei;
    }

    // The other computer: a forked child on the second mount that says 'r' when the file is
    // open, does its work and says 'k' when it ended without a message other than `erwartet`,
    // 'e' otherwise; it waits for 'q' before it closes the file and ends.
    void andererRechner(const std::function<void()>& arbeit, const std::string& erwartet = "\x01") {
        ASSERT_TRUE(anderer.starten([&] {
            sitzung(ordner.second());
            anderer.sagen('r');
            arbeit();
            bool nurErwartete = true;
            for (const auto& m : meldungen()) nurErwartete &= m.find(erwartet) == 0;
            anderer.sagen(nurErwartete ? 'k' : 'e');
            anderer.warten();
            forms::resetAllWindows();
            gDatenbank.reset();
            datei->Close();
            return 0;
        }));
    }
    char hoeren() { return anderer.hoeren(); }
    int beenden() { return anderer.beenden(); }
    void personenSpeichern(const std::string& name, int anzahl) { support::personenSpeichern(*host, name, anzahl); }
    static void speichern(const std::string& vorname, const std::string& nachname,
                          const std::function<void()>& vorher = {}) {
        support::personSpeichern(vorname, nachname, vorher);
    }
    // Rates statements 1 to 5 of a person in the test window: statement n gets n % 5.
    static void bewerten(int32_t person) {
        forms::resetAllWindows();
        gAktPersonID = person;
        gAktPerson = {};
        gAktAussage = 1;
        auto& f = forms::Instance<frmTest>();
        f.Show();
        for (int n = 1; n <= 5; ++n) {
            gAktAussage = static_cast<int16_t>(n);
            f.Text2_GotFocus();
            f.Text1.setText(std::to_string(n % 5));
            f.Befehl6_Click();
        }
    }
    int32_t nummerVon(const std::string& vorname, const std::string& nachname) {
        auto rs = datei->OpenRecordset("select personid from persdat where vorname = '" + vorname + "' and nachname = '" +
                                       nachname + "'");
        return rs->Eof() ? 0 : rs->Fields("personid").Value().toLong();
    }

    // What the file server's own sqlite3 finds in the file once both computers let go of it.
    std::string draussen(const std::string& sql) {
        std::string out = shell("sqlite3 " + support::shellQuote(ordner.server() + "/test.ZDB") + " " +
                                support::shellQuote(sql));
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    // Persons that are not whole (1 + 109 + 126 + 9 rows).
    std::string unvollstaendig() {
        return draussen(
            "select count(*) from persdat p where (select count(*) from persontestergebnis a where a.personid = "
            "p.personid) <> 109 or (select count(*) from typwertzuweisung t where t.personid = p.personid) <> 126 or "
            "(select count(*) from ergebnis e where e.personid = p.personid) <> 9");
    }

    // One computer's part of a long run until `ende`: a new person saved, three of its statements
    // rated in the test window, the windows closed, again and again. What was confirmed (the
    // person's save, each rating that came back without a message) goes into `protokoll` as
    // "Vorname|Nachname|Aussage|Wert" lines ("Vorname|Nachname" for the person); every other
    // message ends the run and stands in the protokoll as "!" and its text.
    void imWechsel(const std::string& vorname, std::chrono::steady_clock::time_point ende, const std::string& protokoll) {
        std::ofstream out(protokoll);
        auto fremd = [&](size_t seit) {
            bool gab = false;
            for (size_t m = seit; m < meldungen().size(); ++m)
                if (meldungen()[m].find(DialogTxt(19)) != 0) {
                    std::string text = meldungen()[m];
                    std::replace(text.begin(), text.end(), '\n', ' ');
                    std::replace(text.begin(), text.end(), '\r', ' ');
                    out << "!" << text << std::endl;
                    gab = true;
                }
            return gab;
        };
        for (int i = 1; std::chrono::steady_clock::now() < ende; ++i) {
            const std::string nachname = std::to_string(i);
            size_t vorher = meldungen().size();
            host->answer(forms::vbNo);
            speichern(vorname, nachname);
            if (fremd(vorher)) return;
            if (meldungen().size() != vorher + 1) {
                out << "!no confirmation for " << vorname << " " << nachname << "\n";
                return;
            }
            out << vorname << "|" << nachname << std::endl;
            forms::resetAllWindows();
            gAktPersonID = nummerVon(vorname, nachname);
            gAktPerson = {};
            gAktAussage = 1;
            auto& f = forms::Instance<frmTest>();
            f.Show();
            for (int n = 1; n <= 3; ++n) {
                const int wert = (i + n) % 5;
                gAktAussage = static_cast<int16_t>(n);
                f.Text2_GotFocus();
                f.Text1.setText(std::to_string(wert));
                vorher = meldungen().size();
                f.Befehl6_Click();
                if (fremd(vorher)) return;
                out << vorname << "|" << nachname << "|" << n << "|" << wert << std::endl;
            }
            forms::Unload(f);
            forms::resetAllWindows();
            // As a window that closes writes a file of the program's own (its picture, the
            // settings): that looks at the data file's side files while the other one may save.
            ini::writeIniFile(protokoll + ".ini", {{"Lauf", {{"Person", nachname}}}});
        }
    }

    support::SharedFolder ordner;
    int32_t anna = 0;
    support::AnderesProgramm anderer;
};

}  // namespace

// Both computers save persons through their person windows and then rate one of them, at the
// same time: every person of both is stored whole under a number of its own, every rating is
// stored, and neither program shows a message other than its confirmations.
TEST_F(GeteilterOrdner, PersonsAndRatingsSavedOnTwoComputersAtOnceAreAllStoredWhole) {
    constexpr int kJe = 8;
    andererRechner(
        [&] {
            personenSpeichern("Zwei", kJe);
            bewerten(nummerVon("Zwei", "1"));
        },
        DialogTxt(19));
    ASSERT_EQ(hoeren(), 'r');
    sitzung(ordner.first());
    personenSpeichern("Eins", kJe);
    bewerten(nummerVon("Eins", "1"));
    EXPECT_EQ(meldungen().size(), static_cast<size_t>(kJe));
    for (const auto& m : meldungen()) EXPECT_EQ(m.find(DialogTxt(19)), 0u) << m;
    EXPECT_EQ(hoeren(), 'k');
    forms::resetAllWindows();
    gDatenbank.reset();
    datei->Close();
    datei.reset();
    EXPECT_EQ(beenden(), 0);
    // Let go by both: a connection kept for a moment lets go of the lock when its releaser gets to
    // it, which on a busy machine may take a while.
    EXPECT_TRUE(freigegeben());
    EXPECT_EQ(draussen("select count(*) || '|' || count(distinct personid) from persdat"),
              std::to_string(2 * kJe + 1) + "|" + std::to_string(2 * kJe + 1));
    EXPECT_EQ(draussen("select vorname, count(distinct nachname) from persdat group by vorname"),
              "Anna|1\nEins|" + std::to_string(kJe) + "\nZwei|" + std::to_string(kJe));
    EXPECT_EQ(unvollstaendig(), "0");
    EXPECT_EQ(draussen("select p.vorname, group_concat(a.itemwert, ',') from persdat p join (select * from "
                       "persontestergebnis where itemnummer <= 5 order by itemnummer) a on a.personid = p.personid "
                       "where p.nachname = '1' group by p.vorname order by p.vorname"),
              "Eins|1,2,3,4,0\nZwei|1,2,3,4,0");
    EXPECT_EQ(draussen("pragma integrity_check"), "ok");
    // The file came with a write-ahead log from a local disk; on the shared folder it keeps a
    // rollback journal, and nothing is left beside it.
    EXPECT_EQ(draussen("pragma journal_mode"), "delete");
    for (const char* side : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(std::filesystem::exists(ordner.server() + "/test.ZDB" + side)) << side;
}

// Saves on a shared folder take the folder's lock and drop what this computer keeps of the file,
// through SQLite's own descriptor of it: the engine opens no second descriptor of a file it holds.
TEST_F(GeteilterOrdner, SavesOpenTheHeldFileThroughNoSecondDescriptor) {
    sitzung(ordner.first());
    personenSpeichern("Erst", 1);
    ASSERT_TRUE(freigegeben());
    const int beobachter = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(beobachter, 0);
    ASSERT_GE(::inotify_add_watch(beobachter, auf(ordner.first()).c_str(), IN_OPEN), 0);
    personenSpeichern("Dann", 3);
    ASSERT_TRUE(freigegeben());
    int geoeffnet = 0;
    alignas(inotify_event) char puffer[4096];
    for (ssize_t n; (n = ::read(beobachter, puffer, sizeof puffer)) > 0;)
        for (char* p = puffer; p < puffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            if (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) ++geoeffnet;
    ::close(beobachter);
    EXPECT_EQ(geoeffnet, 0);
    EXPECT_EQ(meldungen().size(), 4u);  // the confirmations
    EXPECT_EQ(draussen("select count(*) from persdat where vorname = 'Dann'"), "3");
}

// Both computers edit the same person; the first one saves, then the second: the second is
// refused (vb::err::ChangedByOther) and the first one's change stays, as on one computer.
TEST_F(GeteilterOrdner, APersonChangedOnTheOtherComputerSinceItWasReadIsNotWrittenOver) {
    auto eins = ws->OpenDatabase(auf(ordner.first()));
    auto zwei = ws->OpenDatabase(auf(ordner.second()));
    const std::string sql = "select * from persdat where personid = " + std::to_string(anna);
    auto a = eins->OpenRecordset(sql, db::RecordsetType::Dynaset);
    auto b = zwei->OpenRecordset(sql, db::RecordsetType::Dynaset);
    a->Edit();
    b->Edit();
    a->Fields("Nachname") = "Eins";
    a->Update();
    b->Fields("Nachname") = "Zwei";
    EXPECT_EQ(errorOf([&] { b->Update(); }), vb::err::ChangedByOther);
    b->CancelUpdate();
    // The second computer reads what the first one wrote.
    b->Requery();
    EXPECT_EQ(b->Fields("Nachname").Value().toString(), "Eins");
    a.reset();
    b.reset();
    eins->Close();
    zwei->Close();
    EXPECT_EQ(draussen("select nachname from persdat"), "Eins");
    EXPECT_EQ(draussen("pragma integrity_check"), "ok");
}

// The other computer's program is killed while it writes: the lock it leaves names a program of
// this machine that is gone, so the next program removes it without asking, rolls back the
// half-done write and saves.
TEST_F(GeteilterOrdner, AProgramKilledWhileItWritesKeepsNobodyOut) {
    andererRechner([&] {
        datei->BeginTrans();
        datei->Execute("update persdat set nachname = 'Halb'");
        anderer.sagen('s');
        for (;;) ::pause();
    });
    ASSERT_EQ(hoeren(), 'r');
    ASSERT_EQ(hoeren(), 's');
    EXPECT_TRUE(gesperrt());
    anderer.toeten();
    EXPECT_TRUE(gesperrt());
    sitzung(ordner.first());
    // The journal of the killed program goes once the next program opened the file, not only
    // with that program's first save.
    EXPECT_FALSE(std::filesystem::exists(ordner.server() + "/test.ZDB-journal"));
    personenSpeichern("Nach", 1);
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_EQ(meldungen()[0].find(DialogTxt(19)), 0u) << meldungen()[0];
    EXPECT_TRUE(freigegeben());
    forms::resetAllWindows();
    gDatenbank.reset();
    datei->Close();
    datei.reset();
    EXPECT_EQ(draussen("select group_concat(nachname, ',') from (select nachname from persdat order by personid)"),
              "Berg,1");
    EXPECT_EQ(draussen("pragma integrity_check"), "ok");
}

// A lock of another computer (one that went down while it wrote) is named with its computer,
// user and age; it is taken over only when the user says so.
TEST_F(GeteilterOrdner, AnotherComputersLockIsNamedAndTakenOverOnlyAfterTheUserConfirms) {
    sitzung(ordner.first());
    db::DBEngine::instance().setBusyTimeout(300);
    // The other computer went down while it held the file.
    auto sperren = [&] { fremdeSperre(25 * 60); };
    host->answer(forms::vbNo);
    speichern("Neu", "1", sperren);
    // One answer ends the save: the question once, then what the refusal says.
    ASSERT_EQ(meldungen().size(), 2u);
    EXPECT_NE(meldungen()[0].find("„anna“ auf dem Computer „praxis-2“"), std::string::npos) << meldungen()[0];
    EXPECT_NE(meldungen()[0].find("seit 25 Minuten"), std::string::npos) << meldungen()[0];
    EXPECT_NE(meldungen()[0].find("Sperre aufheben?"), std::string::npos) << meldungen()[0];
    // Not taken over: the save fails with a message that says who holds the file.
    EXPECT_NE(meldungen()[1].find("praxis-2"), std::string::npos) << meldungen()[1];
    EXPECT_EQ(meldungen()[1].find("Sperre aufheben?"), std::string::npos) << meldungen()[1];
    EXPECT_NE(meldungen()[1].find(std::to_string(vb::err::RecordLocked)), std::string::npos) << meldungen()[1];
    EXPECT_TRUE(gesperrt());

    // The user's next try, after the program took its events again. Someone on this computer reads
    // the lock's record just then (a file manager, or the program's own read a moment before): the
    // mount keeps the record it is told to remove under a hidden name until the reader lets go.
    QCoreApplication::processEvents();
    const int leser = ::open((ordner.first() + "/test.ZDB.lock/owner").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(leser, 0);
    std::thread loslassen([&] {
        // Until the program took the lock over and removed the record.
        const auto bis = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::filesystem::exists(sperre() + "/owner") && std::chrono::steady_clock::now() < bis) ::usleep(5000);
        ::usleep(50000);
        ::close(leser);
    });
    host->clearRecords();
    host->answer(forms::vbYes).answer(forms::vbNo);
    speichern("Neu", "1");
    loslassen.join();
    ASSERT_EQ(meldungen().size(), 2u);
    EXPECT_NE(meldungen()[0].find("praxis-2"), std::string::npos) << meldungen()[0];
    EXPECT_EQ(meldungen()[1].find(DialogTxt(19)), 0u) << meldungen()[1];
    EXPECT_TRUE(freigegeben());
    // Stored once: the refused save left nothing.
    auto rs = datei->OpenRecordset("select count(*) as n from persdat where vorname = 'Neu'");
    EXPECT_EQ(rs->Fields("n").Value().toLong(), 1);
    rs.reset();
    forms::resetAllWindows();
    gDatenbank.reset();
    datei->Close();
    datei.reset();
    // The lock taken over is gone, not kept beside the file under another name.
    for (const auto& e : std::filesystem::directory_iterator(ordner.server()))
        EXPECT_TRUE(e.path().filename() == "test.ZDB") << "left beside the file: " << e.path().filename();
}

// With the lock of another computer that stands for less than a minute, the person window waits
// the busy timeout and says who holds the file; it does not open over a file it could not read
// (empty, "0" persons, as if the file held nobody). With an older lock, one "Nein" to the question
// ends the opening.
TEST_F(GeteilterOrdner, ThePersonWindowOpensNotAtAllWhereItCouldNotReadThePersons) {
    sitzung(ordner.first());
    // The program's own busy timeout.
    db::DBEngine::instance().setBusyTimeout(3000);
    for (const int alter : {6, 90}) {
        SCOPED_TRACE(alter);
        // Free, the window opens with the persons of the file.
        QCoreApplication::processEvents();
        host->clearRecords();
        PersonendatenAnzeigen();
        EXPECT_EQ(meldungen(), std::vector<std::string>{});
        auto& f = forms::Instance<frmpers>();
        EXPECT_TRUE(f.isLoaded() && f.Visible());
        EXPECT_EQ(f.Bezeichnung15.Caption(), "1");
        EXPECT_EQ(f.Text1[1].Text(), "Berg");
        forms::resetAllWindows();

        fremdeSperre(alter);
        host->clearRecords();
        host->answer(forms::vbNo).answer(forms::vbNo);
        const auto beginn = std::chrono::steady_clock::now();
        PersonendatenAnzeigen();
        const auto gewartet = std::chrono::steady_clock::now() - beginn;
        const size_t fragen = alter < 60 ? 0 : 1;
        ASSERT_EQ(meldungen().size(), fragen + 1);
        if (fragen) {
            EXPECT_NE(meldungen()[0].find("Sperre aufheben?"), std::string::npos) << meldungen()[0];
        }
        EXPECT_NE(meldungen().back().find("praxis-2"), std::string::npos) << meldungen().back();
        EXPECT_NE(meldungen().back().find(std::to_string(vb::err::RecordLocked)), std::string::npos)
            << meldungen().back();
        // The wait is the busy timeout, once: not again for a second read of the same opening.
        EXPECT_GE(gewartet, std::chrono::milliseconds(3000));
        EXPECT_LT(gewartet, std::chrono::milliseconds(5000));
        EXPECT_FALSE(forms::Instance<frmpers>().isLoaded());
        std::filesystem::remove_all(sperre());
        forms::resetAllWindows();
    }
}

// The test window under another computer's lock: opened, it says why and closes instead of
// showing a statement without its rating; moved on to the next statement, it stays on the one it
// shows, text, number and rating, and the rating confirmed next is stored for that statement.
TEST_F(GeteilterOrdner, TheTestWindowShowsNoStatementWhoseRatingItCouldNotRead) {
    sitzung(ordner.first());
    db::DBEngine::instance().setBusyTimeout(300);
    auto locked = [&] {
        return meldungen().size() == 1 && meldungen()[0].find(std::to_string(vb::err::RecordLocked)) != std::string::npos;
    };
    gAktPersonID = anna;
    gAktPerson = {};
    gAktAussage = 1;
    fremdeSperre(6);
    host->clearRecords();
    TestZeigen();
    EXPECT_TRUE(locked()) << ::testing::PrintToString(meldungen());
    EXPECT_FALSE(forms::Instance<frmTest>().isLoaded());
    std::filesystem::remove_all(sperre());
    forms::resetAllWindows();

    host->clearRecords();
    TestZeigen();
    auto& f = forms::Instance<frmTest>();
    ASSERT_TRUE(f.isLoaded());
    ASSERT_EQ(f.Bild3.Caption(), "1");
    f.BefehlZiffer_Click(3);
    f.Befehl6_Click();
    ASSERT_EQ(meldungen(), std::vector<std::string>{});
    ASSERT_EQ(f.Bild3.Caption(), "2");
    const std::string zweite = f.Text2.Text();
    ASSERT_FALSE(zweite.empty());
    fremdeSperre(6);
    f.SSCommand2_Click();
    EXPECT_TRUE(locked()) << ::testing::PrintToString(meldungen());
    EXPECT_EQ(gAktAussage, 2);
    EXPECT_EQ(f.Bild3.Caption(), "2");
    EXPECT_EQ(f.Text2.Text(), zweite);
    EXPECT_EQ(f.Text1.Text(), "");
    std::filesystem::remove_all(sperre());
    host->clearRecords();
    f.BefehlZiffer_Click(4);
    f.Befehl6_Click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{});
    EXPECT_EQ(f.Bild3.Caption(), "3");
    // Another person taken over meanwhile, and the window comes to the front under the lock: it
    // cannot show that person's statement, and closes instead of showing Anna's for hers.
    host->answer(forms::vbNo);
    speichern("Neu", "1");
    gAktPersonID = nummerVon("Neu", "1");
    ASSERT_NE(gAktPersonID, 0);
    fremdeSperre(6);
    host->clearRecords();
    f.Form_Activate();
    EXPECT_TRUE(locked()) << ::testing::PrintToString(meldungen());
    EXPECT_FALSE(f.isLoaded());
    std::filesystem::remove_all(sperre());
    forms::resetAllWindows();
    ASSERT_TRUE(freigegeben());
    EXPECT_EQ(draussen("select itemnummer || '=' || ifnull(itemwert, '-') from persontestergebnis where personid = " +
                       std::to_string(anna) + " and itemnummer <= 3 order by itemnummer"),
              "1=3\n2=4\n3=-");
}

// The long run of two computers: for two minutes both save persons, rate them in the test window and
// close their windows, at the same time. Neither shows a message other than its confirmations,
// every person and rating either confirmed is in the file, the file is whole, and nothing of the
// locks or journals is left beside it.
class Dauerlauf : public GeteilterOrdner {};

TEST_F(Dauerlauf, TwoComputersSavingRatingAndClosingForTwoMinutesLoseNothingAndShowNoError) {
    using Clock = std::chrono::steady_clock;
    // The busy timeout the program has: a wait beyond it is a message, and fails the run.
    db::DBEngine::instance().setBusyTimeout(3000);
    const std::string zwei = path("zwei.txt"), eins = path("eins.txt");
    const auto ende = Clock::now() + std::chrono::seconds(120);
    andererRechner([&] { imWechsel("Zwei", ende, zwei); }, DialogTxt(19));
    ASSERT_EQ(hoeren(), 'r');
    sitzung(ordner.first());
    imWechsel("Eins", ende, eins);
    forms::resetAllWindows();
    gDatenbank.reset();
    datei->Close();
    datei.reset();
    EXPECT_EQ(hoeren(), 'k');
    EXPECT_EQ(beenden(), 0);
    std::set<std::string> bestaetigt;
    std::map<std::string, int> personen;
    for (const std::string& protokoll : {eins, zwei}) {
        std::istringstream in(support::readFile(protokoll));
        for (std::string zeile; std::getline(in, zeile);) {
            EXPECT_NE(zeile[0], '!') << protokoll << ": " << zeile.substr(1);
            if (std::count(zeile.begin(), zeile.end(), '|') == 1) ++personen[zeile.substr(0, zeile.find('|'))];
            else bestaetigt.insert(zeile);
        }
    }
    // Both went on for the whole time.
    EXPECT_GE(personen["Eins"], 5);
    EXPECT_GE(personen["Zwei"], 5);
    std::istringstream gespeichert(
        draussen("select p.vorname || '|' || p.nachname || '|' || a.itemnummer || '|' || a.itemwert from persdat p "
                 "join persontestergebnis a on a.personid = p.personid where a.itemwert is not null"));
    std::set<std::string> inDerDatei;
    for (std::string zeile; std::getline(gespeichert, zeile);) inDerDatei.insert(zeile);
    for (const std::string& b : bestaetigt) EXPECT_TRUE(inDerDatei.count(b)) << "not stored: " << b;
    EXPECT_EQ(draussen("select vorname || '|' || count(*) || '|' || count(distinct nachname) from persdat where "
                       "vorname <> 'Anna' group by vorname order by vorname"),
              "Eins|" + std::to_string(personen["Eins"]) + "|" + std::to_string(personen["Eins"]) + "\nZwei|" +
                  std::to_string(personen["Zwei"]) + "|" + std::to_string(personen["Zwei"]));
    EXPECT_EQ(unvollstaendig(), "0");
    EXPECT_EQ(draussen("pragma integrity_check"), "ok");
    EXPECT_TRUE(freigegeben());
    for (const auto& e : std::filesystem::directory_iterator(ordner.server()))
        EXPECT_TRUE(e.path().filename() == "test.ZDB") << "left beside the file: " << e.path().filename();
}

// The question about another computer's lock fails itself (no window can be shown, say): that
// failure is what the user reads, once, and the lock stays; it is not taken for a "Nein".
TEST_F(GeteilterOrdner, AFailureOfTheTakeoverQuestionReachesTheUser) {
    sitzung(ordner.first());
    db::DBEngine::instance().setBusyTimeout(300);
    db::DBEngine::instance().setTakeOverQuestion([](const std::string&, const db::LockHolder&) -> bool {
        throw vb::Error(vb::err::OutOfMemory, "Die Frage nach der Sperre konnte nicht gezeigt werden.");
    });
    speichern("Neu", "1", [&] { fremdeSperre(25 * 60); });
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find("Die Frage nach der Sperre konnte nicht gezeigt werden."), std::string::npos)
        << meldungen()[0];
    EXPECT_NE(meldungen()[0].find(std::to_string(vb::err::OutOfMemory)), std::string::npos) << meldungen()[0];
    EXPECT_TRUE(gesperrt());
    std::filesystem::remove_all(sperre());
    auto rs = datei->OpenRecordset("select count(*) as n from persdat where vorname = 'Neu'");
    EXPECT_EQ(rs->Fields("n").Value().toLong(), 0);
}
