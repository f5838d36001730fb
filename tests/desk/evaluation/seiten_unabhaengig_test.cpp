// Every page is a function of its person's results alone: the evaluation pages and the report's
// print table of each golden person read the same drawn fresh, after each other result window of
// the same person and after the report, whatever the order the windows and the pages come in.

#include "auswert_fixture.h"
#include "desk/reports/frm_report.h"
#include "golden_personen.h"

using namespace auswert_test;

namespace {

using Seiten = std::vector<std::vector<std::string>>;

class Unabhaengig : public AuswertTest {
protected:
    // Every page of the window as a reader sees it, walked forwards or backwards; page 1 first.
    static Seiten seiten(auswertform& f, bool rueckwaerts) {
        Seiten out;
        if (!rueckwaerts) {
            while (f.Seite() > 1) f.SSCommand1_Click();
            for (;;) {
                out.push_back(zeilen(f));
                if (f.Seite() == f.Seitenanzahl()) break;
                f.SSCommand2_Click();
            }
        } else {
            while (f.Seite() < f.Seitenanzahl()) f.SSCommand2_Click();
            for (;;) {
                out.insert(out.begin(), zeilen(f));
                if (f.Seite() == 1) break;
                f.SSCommand1_Click();
            }
        }
        return out;
    }

    // The report's print table of the current person, "page|line|text" a row.
    std::vector<std::string> bericht() {
        mdi().activateSelf();
        mdi().mnuPrintReport.Click();
        std::vector<std::string> z;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            z.push_back(rs->Fields("Druckseite").Value().toString() + "|" + rs->Fields("ZeilenNr").Value().toString() +
                        "|" + vb::textOrEmpty(rs->Fields("Zeilentext").Value()));
        forms::Unload(forms::Instance<frmReport>());
        return z;
    }

    // Another result window of the same person, opened through the menu and left open while the
    // evaluation window comes back to the front; closed afterwards.
    struct Fenster {
        const char* name;
        forms::MenuItem* menu;
    };
    std::vector<Fenster> andere() {
        return {{"Enneagramm", &mdi().mnuEnneagramm},
                {"Statistik", &mdi().mnuStatistik},
                {"Tabelle", &mdi().mnuTabelle},
                {"Grafik", &mdi().mnuGrafikauswertung},
                {"Bericht", nullptr}};
    }
};

}  // namespace

TEST_F(Unabhaengig, EachPageReadsTheSameFreshAndAfterEveryOtherWindowInAnyOrder) {
    std::vector<const Person*> alle;
    for (const Person& p : kBesonderePersonen) alle.push_back(&p);
    for (const Person& p : kRegelPersonen) alle.push_back(&p);
    for (size_t i = 0; i < alle.size(); ++i) {
        const Person& p = *alle[i];
        SCOPED_TRACE(p.name);
        waehle(person("Vorname", p.name, p.anzahlen));
        const std::vector<std::string> druck = bericht();
        ASSERT_FALSE(druck.empty());
        auswertform* a = auswertung();
        ASSERT_NE(a, nullptr);
        const Seiten frisch = seiten(*a, false);

        // Each person takes the windows in another order and walks the pages the other way.
        std::vector<Fenster> folge = andere();
        std::rotate(folge.begin(), folge.begin() + static_cast<long>(i % folge.size()), folge.end());
        if (i % 2) std::reverse(folge.begin(), folge.end());
        bool rueckwaerts = i % 2 == 0;
        for (const Fenster& w : folge) {
            SCOPED_TRACE(w.name);
            if (w.menu) {
                const int vorher = gFensterAnzahl;
                w.menu->choose();
                ASSERT_EQ(gFensterAnzahl, vorher + 1);
                forms::Form* offen = mdi().ActiveForm();
                a->Show();
                ASSERT_EQ(mdi().ActiveForm(), a);
                EXPECT_EQ(seiten(*a, rueckwaerts), frisch);
                if (offen && offen != a) forms::Unload(*offen);
            } else {
                EXPECT_EQ(bericht(), druck);
                a->Show();
                EXPECT_EQ(seiten(*a, rueckwaerts), frisch);
            }
            rueckwaerts = !rueckwaerts;
        }
        // A page drawn again where it stands, after the statistics of the same person ranked anew.
        mdi().mnuStatistik.choose();
        forms::Form* statistik = mdi().ActiveForm();
        a->Show();
        a->Bild1_GotFocus();
        EXPECT_EQ(zeilen(*a), frisch[static_cast<size_t>(a->Seite() - 1)]);
        if (statistik && statistik != a) forms::Unload(*statistik);
        EXPECT_EQ(bericht(), druck);
        a->Befehl3_Click();
    }
}
