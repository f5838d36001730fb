// The program killed with SIGKILL at many moments while it rates, saves persons and imports XML
// person files: after every kill each person is whole or absent, and every statement's answer row
// agrees with the item-type rows it maps to.

#include <fstream>

#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/xml_import.h"
#include "fenster_fixture.h"
#include "platform/db/recordset.h"
#include "support/kill_test.h"

using namespace zuvtest_test;
using namespace std::chrono_literals;

namespace {

class Abgebrochen : public FensterTest {
protected:
    void oeffnen() { datei = ws->OpenDatabase(path("test.ZDB")); }
    // The child's session: the data file open, as after choosing it in the main window.
    void sitzung() {
        oeffnen();
        gDatenbank = datei;
    }

    // Statements whose answer row and item-type rows disagree, as "statement s type t: answer a,
    // item-type row r".
    std::vector<std::string> widersprueche() {
        std::vector<std::string> out;
        auto a = datei->OpenRecordset("select * from persontestergebnis order by personid, itemnummer",
                                      db::RecordsetType::Snapshot);
        std::map<std::pair<int32_t, int>, vb::Variant> antwort;
        for (; !a->Eof(); a->MoveNext())
            antwort[{a->Fields("personid").Value().toLong(), a->Fields("itemnummer").Value().toInt()}] =
                a->Fields("itemwert").Value();
        auto t = datei->OpenRecordset("typwertzuweisung", db::RecordsetType::Snapshot);
        for (; !t->Eof(); t->MoveNext()) {
            const int32_t id = t->Fields("personid").Value().toLong();
            const int aussage = t->Fields("itemnummer").Value().toInt();
            const int typ = t->Fields("typnummer").Value().toInt();
            const vb::Variant ist = t->Fields("typrealwert").Value();
            vb::Variant soll;
            if (!zuvtest::typRealWert(aussage, typ, antwort[{id, aussage}], soll)) continue;
            auto text = [](const vb::Variant& v) { return v.isNull() ? std::string("Null") : v.toString(); };
            if (text(ist) != text(soll))
                out.push_back("Aussage " + std::to_string(aussage) + " Typ " + std::to_string(typ) + ": Antwort " +
                              text(antwort[{id, aussage}]) + ", Typzeile " + text(ist));
        }
        return out;
    }
    // Persons that are not whole (1 + 109 + 126 + 9 rows) and rows without their person.
    long unvollstaendig() {
        return dbtest::DbTest::integrity(path("test.ZDB")) != "ok"
                   ? -1
                   : std::stol(shell("sqlite3 '" + path("test.ZDB") +
                                     "' \"select (select count(*) from persdat p where (select count(*) from "
                                     "persontestergebnis a where a.personid = p.personid) <> 109 or (select count(*) "
                                     "from typwertzuweisung t where t.personid = p.personid) <> 126 or (select "
                                     "count(*) from ergebnis e where e.personid = p.personid) <> 9) + (select "
                                     "count(*) from typwertzuweisung where personid not in (select personid from "
                                     "persdat))\""));
    }
    long zahl(const std::string& sql) {
        auto rs = datei->OpenRecordset(sql, db::RecordsetType::Snapshot);
        return rs->Fields(0).Value().toLong();
    }
};

}  // namespace

// The test form rates statement after statement, each with a new value, and is killed at 40
// moments: the answer and its item-type rows always hold the same rating.
TEST_F(Abgebrochen, KilledWhileRatingLeavesEveryAnswerAgreeingWithItsItemTypeRows) {
    gAktPersonID = neuePerson("Anna", "Berg");
    loslassen();
    int runde = 0;
    support::killAtManyMoments(
        40, 40ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            sitzung();
            gAktPerson = {};
            gAktAussage = 1;
            auto& f = forms::Instance<frmTest>();
            f.Show();
            bereit();
            for (long n = runde * 7;; ++n) {
                // Statements 1 … 108, every round with other ratings; 109 would end the test.
                gAktAussage = static_cast<int16_t>(n % 108 + 1);
                f.Text2_GotFocus();
                f.Text1.setText(std::to_string((n / 108 + n) % 5));
                f.Befehl6_Click();
                if (n - runde * 7 == 50) soWeit();  // 51 statements rated
            }
        },
        [&](const support::KillRound& r) {
            ++runde;
            EXPECT_TRUE(r.killed) << "round " << r.index << " ended with " << r.exitCode;
            EXPECT_EQ(unvollstaendig(), 0) << "round " << r.index;
            oeffnen();
            const auto falsch = widersprueche();
            EXPECT_TRUE(falsch.empty()) << "round " << r.index << ": " << falsch.size() << ", e.g. " << falsch.front();
            loslassen();
        });
    oeffnen();
    EXPECT_GT(zahl("select count(*) from persontestergebnis where itemwert is not null"), 50);
}

// The person window saves new persons without end and is killed at 30 moments.
TEST_F(Abgebrochen, KilledWhileSavingPersonsLeavesEachWholeOrAbsent) {
    loslassen();
    support::killAtManyMoments(
        30, 60ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            sitzung();
            // The window's first showing costs more than the whole window of kill moments on a busy
            // machine: the moments count from when saving begins.
            forms::Instance<frmpers>().Show();
            bereit();
            for (int i = 0;; ++i) {
                auto& f = forms::Instance<frmpers>();
                f.Show();
                f.Befehl4_Click();
                f.Text1[0].setText("Vorname" + std::to_string(i));
                f.Text1[1].setText("Nachname" + std::to_string(i));
                host->answer(forms::vbNo);
                f.Befehl5_Click();
                if (i == 10) soWeit();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << "round " << r.index << " ended with " << r.exitCode;
            EXPECT_EQ(unvollstaendig(), 0) << "round " << r.index;
        });
    oeffnen();
    EXPECT_GT(zahl("select count(*) from persdat"), 10);
}

// XML person files are imported without end and the import is killed at 25 moments: every
// imported person is whole, with its ratings mapped into its item-type rows.
TEST_F(Abgebrochen, KilledWhileImportingXmlPersonsLeavesEachWholeOrAbsent) {
    std::string xml =
        "<ZUVRecord><Vorname>Iris</Vorname><Nachname>Import</Nachname><Strasse/><PLZOrt/><Land/>"
        "<Geburtsdatum/><Testdatum>01.03.2026</Testdatum>";
    for (int n = 1; n <= 109; ++n)
        xml += "<Item" + std::to_string(n) + ">" + std::to_string(n % 5) + "</Item" + std::to_string(n) + ">";
    std::ofstream(path("person.xml")) << xml << "</ZUVRecord>";
    loslassen();
    support::killAtManyMoments(
        25, 25ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            sitzung();
            const auto person = zuvtest::leseXmlPerson(path("person.xml"));
            bereit();
            for (int i = 0;; ++i) {
                zuvtest::schreibeXmlPerson(*datei, person, tabelle);
                if (i == 10) soWeit();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << "round " << r.index << " ended with " << r.exitCode;
            EXPECT_EQ(unvollstaendig(), 0) << "round " << r.index;
            oeffnen();
            EXPECT_TRUE(widersprueche().empty()) << "round " << r.index;
            loslassen();
        });
    oeffnen();
    EXPECT_GT(zahl("select count(*) from persdat"), 10);
}
