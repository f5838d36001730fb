#pragma once

// ZUVDESK started on a fresh installation with a data file of three persons, the first one chosen,
// for the tests of the chart windows and the chart options.

#include "desk/frame/frame_fixture.h"

#include <QProcess>

#include "desk/charts/chart_fenster.h"
#include "desk/charts/frm_chart.h"
#include "desk/charts/frm_chart_opt.h"
#include "platform/forms/mdi_form.h"

namespace chart_test {

using namespace frame_test;

class ChartTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        h().input("Kartei");
        ASSERT_TRUE(starte());
        personenAnlegen(*gDatenbank, 3);
        waehle(1);
        h().clearRecords();
    }

    // Person k of the file becomes the current person, as the chooser makes it.
    void waehle(int k) {
        auto rs = gDatenbank->OpenRecordset("SELECT * FROM PersDat ORDER BY PersonID", db::RecordsetType::Snapshot);
        rs->MoveFirst();
        for (int i = 1; i < k; ++i) rs->MoveNext();
        gAktPersonID = rs->Fields("PersonID").Value().toLong();
        gAktPerson = {};
        gAktPerson[1] = vb::textOrEmpty(rs->Fields("Vorname").Value());
        gAktPerson[2] = vb::textOrEmpty(rs->Fields("Nachname").Value());
        gAktPerson[11] = vb::textOrEmpty(rs->Fields("Testdatum").Value());
        EnableFileMenus();
    }
    // Person `erster` chosen first of a comparison, as the comparison command keeps it, then
    // person `zweiter` the current one.
    void vergleichWaehlen(int erster, int zweiter) {
        waehle(erster);
        gVergleichPersonID = gAktPersonID;
        gVergleichPerson = {};
        gVergleichPerson[1] = gAktPerson[1];
        gVergleichPerson[2] = gAktPerson[2];
        gVergleichPerson[3] = gAktPerson[11];
        waehle(zweiter);
    }
    int32_t personID(int k) {
        auto rs = gDatenbank->OpenRecordset("SELECT PersonID FROM PersDat ORDER BY PersonID",
                                            db::RecordsetType::Snapshot);
        rs->MoveFirst();
        for (int i = 1; i < k; ++i) rs->MoveNext();
        return rs->Fields(0).Value().toLong();
    }

    // The stored chart settings, changed as another program would change them.
    void einstellen(const std::string& setzen) { gProgrammDatenbank->Execute("UPDATE chartkonfiguration SET " + setzen); }
    // What sqlite3 answers on the settings database while the program holds it.
    std::string abfrage(const std::string& sql) {
        QProcess p;
        p.start("sqlite3", {QString::fromStdString(pfad("zuv.sdb")), QString::fromStdString(sql)});
        p.waitForFinished(20000);
        return p.readAllStandardOutput().trimmed().toStdString();
    }
    // A value of the stored row as sqlite3 reads it (texts in quotes).
    std::string gespeichert(const std::string& spalte) {
        return abfrage("SELECT quote(\"" + spalte + "\") FROM chartkonfiguration");
    }
    // The options dialog loaded afresh from the stored row.
    frmChartOpt& optionenNeu() {
        forms::Unload<frmChartOpt>();
        return forms::Default<frmChartOpt>();
    }

    frmChart* aktivesChart() { return dynamic_cast<frmChart*>(mdi().ActiveForm()); }
    std::vector<frmChart*> charts() {
        std::vector<frmChart*> out;
        for (forms::Form* f : mdi().children())
            if (auto* c = dynamic_cast<frmChart*>(f)) out.push_back(c);
        return out;
    }
    bool bildDa(const std::string& name) const { return fs::exists(dir / name); }
    // What ImageMagick's identify says about a picture file.
    std::string identify(const std::string& name) const {
        QProcess p;
        p.start("identify", {QString::fromStdString((dir / name).string())});
        p.waitForFinished(20000);
        return p.readAllStandardOutput().toStdString();
    }
    void bilderLoeschen() {
        for (const char* n : {"ZUVGrafik1.bmp", "ZUVGrafik2.bmp", "ZUVGrafik3.bmp", "ZUVVergleich.bmp"})
            fs::remove(dir / n);
    }
    // The values of series s of a chart, row by row.
    static std::vector<double> reihe(const chart::Chart& c, int s) {
        std::vector<double> out;
        for (int r = 1; r <= c.DataGrid.RowCount(); ++r) out.push_back(c.DataGrid.Data(r, s));
        return out;
    }
};

}  // namespace chart_test
