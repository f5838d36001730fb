// Two programs on one data file, each a process of its own: persons added in both at the same
// time are all stored whole, and rating in one goes on while the other compacts the file and
// backs it up, each copy a whole state of the file.

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "fenster_fixture.h"
#include "platform/db/recordset.h"
#include "support/anderes_programm.h"

using namespace zuvtest_test;

namespace {

class ZweiProgramme : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        // As long as the program waits for the other one's lock: the other one writes a person's
        // rows in one transaction, a machine as busy as the test machine takes its time for it.
        db::DBEngine::instance().setBusyTimeout(30000);
        loslassen();
    }
    void TearDown() override {
        anderer.toeten();
        FensterTest::TearDown();
    }

    void sitzung() {
        datei = ws->OpenDatabase(path("test.ZDB"));
        gDatenbank = datei;
    }

    // The other program: a forked child that opens the data file as after choosing it in the main
    // window, says 'r', does its work and says 'k' when it ended without a message box, 'e'
    // otherwise. It waits for 'q' before it closes the file and ends.
    void anderesProgramm(const std::function<void()>& arbeit) {
        ASSERT_TRUE(anderer.starten([&] {
            sitzung();
            anderer.sagen('r');
            arbeit();
            anderer.sagen(meldungen().empty() ? 'k' : 'e');
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

    // Outside the program: what the sqlite3 tool answers on a file.
    std::string draussen(const std::string& file, const std::string& sql) {
        // Waiting, as the program does, while the other program holds the file for a moment.
        std::string out = shell("sqlite3 -cmd '.timeout 30000' " + support::shellQuote(file) + " " +
                                support::shellQuote(sql));
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    // Persons of a file that are not whole (1 + 109 + 126 + 9 rows) and answers that disagree
    // with the item-type rows of their statement (a rating written half).
    std::string fehler(const std::string& file) {
        return draussen(file,
                        "select (select count(*) from persdat p where (select count(*) from persontestergebnis a where "
                        "a.personid = p.personid) <> 109 or (select count(*) from typwertzuweisung t where t.personid = "
                        "p.personid) <> 126 or (select count(*) from ergebnis e where e.personid = p.personid) <> 9) "
                        "|| '|' || (select count(*) from persontestergebnis a join typwertzuweisung t on t.personid = "
                        "a.personid and cast(t.itemnummer as integer) = a.itemnummer where a.itemnummer in (1, 2) and "
                        "cast(t.typrealwert as integer) is not cast(a.itemwert as integer))");
    }

    support::AnderesProgramm anderer;
};

}  // namespace

// Both programs save persons through their person windows at the same time: every person of both
// is stored with all its rows under a number of its own, and neither program shows a message
// other than its confirmations.
TEST_F(ZweiProgramme, PersonsSavedInBothProgramsAtOnceAreAllStoredWhole) {
    constexpr int kJe = 12;
    anderesProgramm([&] {
        personenSpeichern("Kind", kJe);
        // Only the confirmations of the saves.
        for (const auto& m : meldungen())
            if (m.find(DialogTxt(19)) != 0) return;
        host->clearRecords();
    });
    ASSERT_EQ(hoeren(), 'r');
    sitzung();
    personenSpeichern("Eltern", kJe);
    ASSERT_EQ(meldungen().size(), static_cast<size_t>(kJe));
    for (const auto& m : meldungen()) EXPECT_EQ(m.find(DialogTxt(19)), 0u) << m;
    EXPECT_EQ(hoeren(), 'k');
    loslassen();
    EXPECT_EQ(beenden(), 0);
    const std::string file = path("test.ZDB");
    EXPECT_EQ(draussen(file, "select count(*) || '|' || count(distinct personid) from persdat"),
              std::to_string(2 * kJe) + "|" + std::to_string(2 * kJe));
    EXPECT_EQ(draussen(file, "select vorname, count(distinct nachname) from persdat group by vorname"),
              "Eltern|" + std::to_string(kJe) + "\nKind|" + std::to_string(kJe));
    EXPECT_EQ(fehler(file), "0|0");
    EXPECT_EQ(draussen(file, "pragma integrity_check"), "ok");
}

// One program rates statements 1 and 2 again and again in the test window while the other one
// compacts the file and backs it up, three times each, each time after a rating stored since the
// copy before: every rating is stored without a message, and every copy opens whole with every
// rating complete.
TEST_F(ZweiProgramme, RatingGoesOnWhileTheOtherProgramCompactsAndBacksUpTheFile) {
    {
        sitzung();
        gAktPersonID = neuePerson("Anna", "Berg");
        loslassen();
    }
    const std::string halt = path("halt");
    anderesProgramm([&] {
        auto& f = forms::Instance<frmTest>();
        gAktPerson = {};
        gAktAussage = 1;
        f.Show();
        for (long n = 0; !std::filesystem::exists(halt) && meldungen().empty(); ++n) {
            gAktAussage = static_cast<int16_t>(n % 2 + 1);
            f.Text2_GotFocus();
            f.Text1.setText(std::to_string(n / 2 % 5));
            f.Befehl6_Click();
        }
    });
    ASSERT_EQ(hoeren(), 'r');
    const std::string file = path("test.ZDB");
    auto bewertet = [&](const std::string& f) {
        return draussen(f,
                        "select group_concat(ifnull(itemwert, '-'), ',') from (select itemwert from "
                        "persontestergebnis where itemnummer in (1, 2) order by itemnummer)");
    };
    std::vector<std::string> kopien;
    for (int i = 1; i <= 3; ++i) {
        // The copies are made while the other program rates: a rating stored since the one before.
        const std::string vorher = bewertet(file);
        std::string jetzt = vorher;
        for (int warten = 0; jetzt == vorher && warten < 5000; ++warten) {
            ::usleep(2000);
            jetzt = bewertet(file);
        }
        ASSERT_NE(jetzt, vorher);
        const std::string kompakt = path("Kompakt" + std::to_string(i) + ".ZDB");
        const std::string sicher = path("Sicher" + std::to_string(i) + ".ZDB");
        EXPECT_EQ(errorOf([&] { db::DBEngine::instance().CompactDatabase(file, kompakt, "", db::dbEncrypt); }), 0);
        EXPECT_EQ(errorOf([&] { db::copyDatabaseFile(file, sicher); }), 0);
        kopien.push_back(kompakt);
        kopien.push_back(sicher);
    }
    std::ofstream(halt) << "";
    EXPECT_EQ(hoeren(), 'k');
    EXPECT_EQ(beenden(), 0);
    for (const auto& k : kopien) {
        SCOPED_TRACE(k);
        EXPECT_EQ(draussen(k, "pragma integrity_check"), "ok");
        EXPECT_EQ(fehler(k), "0|0");
    }
    EXPECT_EQ(fehler(file), "0|0");
    EXPECT_EQ(draussen(file, "pragma integrity_check"), "ok");
}
