#pragma once

// A session with an open data file, the installed settings database and report layouts in the
// data folder, a main window standing behind the port, and the scripted Host: the report window
// is driven as a person drives it.

#include "desk/charts/chart_druckbilder.h"
#include "desk/evaluation/druckbilder.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/fenster_fixture.h"
#include "platform/report/document.h"
#include "platform/report/report_fixture.h"
#include "support/files.h"
#include "support/test_hauptfenster.h"

namespace bericht_test {

using report_test::enthaelt;

inline const char* kLayouts[] = {"ZUVReport1.rpt",
                                 "ZUVReport2.rpt",
                                 "ZUVReport3.rpt",
                                 "ZUVHeader1.rpt",
                                 "ZUVHeader2.rpt",
                                 "AuswertungSeite1bis3.rpt",
                                 "AuswertungAbSeite4.rpt",
                                 "Enneagramm.rpt",
                                 "Grafik1.rpt",
                                 "Grafik2.rpt",
                                 "Grafik3.rpt",
                                 "Tabelle.rpt",
                                 "AktuelleSeite.rpt",
                                 "ZUVVergleich.rpt",
                                 "zuv_symb_druckkopf.bmp"};

inline const char* kBilder[] = {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp",       "ZUVGrafik2.bmp",  "ZUVGrafik3.bmp",
                                "ZUVTabelle.bmp",    "ZUVAktuelleSeite.bmp", "ZUVVergleich.bmp"};

class BerichtTest : public zuvtest_test::FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        for (const char* n : kLayouts)
            std::filesystem::copy_file(std::string(ZUV_DIST_DIR) + "/" + n, path(n),
                                       std::filesystem::copy_options::overwrite_existing);
        // The report makes a missing figure with the figures' own code, as the main window enters it.
        AuswertungsDruckbilderEintragen();
        ChartDruckbilderEintragen();
        gDateiOffen = true;
        person = neuePerson("Erika", "Muster", "08.03.2026");
        bewerten(person);
        gAktPersonID = person;
    }
    void TearDown() override {
        forms::resetAllWindows();
        FensterTest::TearDown();
    }

    // Every statement rated, type by type a little differently.
    void bewerten(int32_t id) {
        datei->Execute("UPDATE TypWertZuweisung SET TypRealWert = (ItemNummer + TypNummer) % 5 WHERE PersonID = " +
                       std::to_string(id));
        datei->Execute("UPDATE PersonTestErgebnis SET ItemWert = ItemNummer % 5 WHERE PersonID = " + std::to_string(id));
    }

    // An exchange bitmap as the evaluation and chart windows leave it in the data folder.
    void bild(const std::string& name, int w = 900, int h = 600) { report_test::bitmap(path(name), w, h); }
    void alleBilder() {
        for (const char* n : kBilder) bild(n);
    }

    frmReport& bericht() { return forms::Default<frmReport>(); }
    // What an opener does: the parts (1) and the kind, then the window shows and builds.
    void oeffnen(std::initializer_list<int> teile, bool aktuelleSeite = false, bool zweiPersonen = false) {
        frmReport& r = bericht();
        for (int i = 0; i <= 8; ++i) r.Check1[i].setValue(0);
        for (int i : teile) r.Check1[i].setValue(1);
        r.Option1[0].setValue(aktuelleSeite);
        r.Option1[1].setValue(zweiPersonen);
        r.Show();
    }
    const report::Document* dokument() { return bericht().CrystalReport1.document(); }
    std::shared_ptr<report::Report> layout() { return bericht().CrystalReport1.ReportSource(); }

    long zeilen(const std::string& sql) {
        auto rs = datei->OpenRecordset(sql, db::RecordsetType::Snapshot);
        rs->MoveFirst();
        return rs->Fields(0).Value().toLong();
    }
    // The print table as an outside client reads it.
    std::string drucktabelle() {
        return support::run("sqlite3 " + support::shellQuote(path("test.ZDB")) +
                            " 'select Druckseite, ZeilenNr, Zeilentext, Formatierung from Drucktabelle order by 1, 2'")
            .output;
    }
    // Text of every sheet of the report on view.
    std::vector<std::string> alleZeilen() {
        std::vector<std::string> out;
        if (const report::Document* d = dokument())
            for (int p = 0; p < d->pageCount(); ++p)
                for (auto& z : d->pageLines(p)) out.push_back(z);
        return out;
    }

    support::TestHauptfenster haupt;
    int32_t person = 0;
};

}  // namespace bericht_test
