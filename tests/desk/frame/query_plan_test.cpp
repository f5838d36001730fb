// Every statement the program runs on the data file while a person is worked on — in the person
// window, the person chooser, the test window, the scoring and ranking, the evaluation and
// statistics pages, the answer table, the enneagram, the charts and the report — is looked at with
// SQLite's EXPLAIN QUERY PLAN on a file of a few thousand persons: none of them reads a whole table
// of persons' rows where an index on the person serves.

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "desk/charts/chart_fenster.h"
#include "desk/evaluation/auswertform.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "frame_fixture.h"
#include "platform/db/connection.h"
#include "platform/vb/ascii.h"

using namespace frame_test;

namespace {

constexpr int kPersonen = 3000;

std::string klein(const std::string& s) { return vb::ascii::lower(s); }

class QueryPlanTest : public FrameTest {
protected:
    // Persons written straight into the closed file, in the program's own tables, with the
    // statement table the program loaded: every person has all of its rows.
    void fuellen(const std::string& datei) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(datei.c_str(), &db), SQLITE_OK);
        std::string paare;
        for (size_t k = 0; k < gItemNummer.size(); ++k)
            paare += std::string(k ? ", " : "") + "(" + std::to_string(k) + ", " + std::to_string(gItemNummer[k]) + ", " +
                     std::to_string(gTypNummer[k]) + ")";
        const std::string n = std::to_string(kPersonen);
        const std::string personen = "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < " + n +
                                     ") ";
        const std::string sql =
            "BEGIN;" + personen +
            "INSERT INTO PersDat (PersonID, Vorname, Nachname, Testdatum, Metasatz) "
            "SELECT i, 'Vorname' || i, 'Nachname' || (i % 211), '01.02.2026', 0 FROM p;" +
            personen +
            ", s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 109) "
            "INSERT INTO PersonTestErgebnis (PersonID, ItemNummer, ItemWert) SELECT i, j, (i + j) % 5 FROM p, s;" +
            personen + ", paar(k, item, typ) AS (VALUES " + paare +
            ") "
            "INSERT INTO TypWertZuweisung (PersonID, ItemNummer, TypNummer, TypRealWert) "
            "SELECT i, item, typ, (i + item) % 5 FROM p, paar ORDER BY i, k;" +
            personen +
            ", s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 9) "
            "INSERT INTO Ergebnis (PersonID, TypNummer, TypGesamtSumme, TypSumme0, TypSumme1, TypSumme01, TypSumme2, "
            "TypSumme3, TypSumme4, TypSumme34, AW0, AW1, AW2, AW3, AW4, AWGesamt) "
            "SELECT i, j, (i + j) % 20, 0, 0, 0, 2, 3, 4, 7, 1, 1, 1, 1, 1, 5 FROM p, s;"
            "COMMIT;";
        char* fehler = nullptr;
        const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &fehler);
        const std::string text = fehler ? fehler : "";
        sqlite3_free(fehler);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << text;
    }

    // Every statement SQLite runs on the data file from now on.
    void mitschreiben() {
        sqlite3_trace_v2(
            gDatenbank->connection()->handle(), SQLITE_TRACE_STMT,
            [](unsigned, void* ctx, void* p, void*) {
                const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(p));
                if (sql) static_cast<std::set<std::string>*>(ctx)->insert(sql);
                return 0;
            },
            &m_statements);
    }

    // The statements whose plan reads every row of a table of persons' rows although the
    // statement asks for one person (or a few rows by their id): "statement: plan".
    std::vector<std::string> ganzeTabellen() {
        sqlite3* db = gDatenbank->connection()->handle();
        sqlite3_trace_v2(db, 0, nullptr, nullptr);
        static const std::set<std::string> kinder = {"persontestergebnis", "typwertzuweisung", "ergebnis"};
        std::vector<std::string> out;
        for (const std::string& sql : m_statements) {
            const std::string k = klein(sql);
            if (k.rfind("select", 0) != 0 && k.rfind("update", 0) != 0 && k.rfind("delete", 0) != 0 &&
                k.rfind("insert", 0) != 0)
                continue;
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &s, nullptr) != SQLITE_OK) {
                out.push_back(sql + ": " + sqlite3_errmsg(db));
                continue;
            }
            while (sqlite3_step(s) == SQLITE_ROW) {
                const std::string plan = klein(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
                if (plan.rfind("scan ", 0) != 0) continue;
                std::string tabelle = plan.substr(5, plan.find(' ', 5) - 5);
                // A person's rows are asked for by their person or their id; the list of every
                // person, which the person window and the chooser show, is no such question.
                const bool gefragt = k.find("where") != std::string::npos &&
                                     (k.find("personid") != std::string::npos || k.find("rowid") != std::string::npos);
                if (kinder.count(tabelle) || (tabelle == "persdat" && gefragt)) out.push_back(sql + ": " + plan);
            }
            sqlite3_finalize(s);
        }
        return out;
    }

    std::set<std::string> m_statements;
};

}  // namespace

TEST_F(QueryPlanTest, NoStatementForOnePersonReadsAWholeTableOfPersonsRows) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    const std::string datei = gDatenbankName;
    mdi().mnuClose_Click();
    fuellen(datei);
    bool abbruch = false;
    mdi().OpenLocalDB(datei, abbruch);
    ASSERT_FALSE(abbruch);
    mitschreiben();

    // The person window: opened on the current person, browsed, and a new person saved.
    gAktPersonID = kPersonen / 2;
    PersonendatenAnzeigen();
    auto& p = forms::Instance<frmpers>();
    ASSERT_TRUE(p.isLoaded());
    p.DataVor.click();
    p.Befehl4.click();
    p.Text1[0].setText("Greta");
    p.Text1[1].setText("Hahn");
    h().answer(forms::vbNo);
    p.Befehl5.click();
    const int32_t neu = gAktPersonID;
    ASSERT_GT(neu, kPersonen);

    // The chooser: the list and the choice of a person in its middle.
    Form3& wahl = forms::Default<Form3>();
    wahl.Form_Activate();
    ASSERT_EQ(wahl.Grid1.Rows(), kPersonen + 2);
    wahl.Grid1.clickCell(kPersonen / 2, 1);
    wahl.Befehl1_Click();
    ASSERT_NE(gAktPersonID, 0);

    // The test window on the new person: ratings, paging, and the search for the first gap.
    gAktPersonID = neu;
    TestDurchfuehren();
    auto& t = forms::Instance<frmTest>();
    ASSERT_TRUE(t.isLoaded());
    for (int n = 0; n < 5; ++n) {
        int taste = '0' + n;
        t.Text1_KeyPress(taste);
        taste = forms::vbKeyReturn;
        t.Text1_KeyPress(taste);
    }
    ASSERT_EQ(gAktAussage, 6);
    t.SSCommand1_Click();
    t.SSCommand2_Click();
    h().answer(forms::vbNo);
    t.Befehl10_Click();

    // Scoring, ranking and every window that shows them, for a person of the file.
    h().clearRecords();
    gAktPersonID = kPersonen / 3;
    gVergleichPersonID = kPersonen / 4;
    gVergleichPerson[1] = "Vorname" + std::to_string(gVergleichPersonID);
    gVergleichPerson[2] = "Nachname" + std::to_string(gVergleichPersonID % 211);
    mdi().mnuAuswertung_Click();
    auto* a = dynamic_cast<auswertform*>(gAuswertFenster.data());
    ASSERT_NE(a, nullptr);
    for (int s = 1; s < a->Seitenanzahl(); ++s) a->SSCommand2_Click();
    mdi().mnuStatistik_Click();
    a = dynamic_cast<auswertform*>(gAuswertFenster.data());
    ASSERT_NE(a, nullptr);
    for (int s = 1; s < a->Seitenanzahl(); ++s) a->SSCommand2_Click();
    mdi().mnuTabelle_Click();
    mdi().mnuEnneagramm_Click();
    GrafikauswertungAnzeigen();
    DateivergleichAnzeigen();
    mdi().mnuPrintReport.Click();
    EXPECT_NE(forms::Instance<frmReport>().CrystalReport1.document(), nullptr);
    EXPECT_TRUE(h().messages().empty()) << h().messages().front();

    ASSERT_GT(m_statements.size(), 20u);
    const auto falsch = ganzeTabellen();
    EXPECT_TRUE(falsch.empty()) << falsch.size() << " statements, e.g. " << falsch.front();
}
