// Figures of the chart evaluation:
//   chart_render  the nine chart types, each painted at 800 x 600 into an image with five series,
//                 legend, title, footnote, axis title and markers; the figure is the slowest type.
//   chart_window  the chart command from the menu to the shown chart window with its exchange
//                 bitmap written (scoring and ranking included), then closed.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/app_main.h"
#include "desk/charts/frm_chart.h"
#include "desk/common/globals.h"
#include "desk/frame/frm_mdi.h"
#include "desk/frame/startup.h"
#include "platform/chart/chart.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace fs = std::filesystem;

namespace {

chart::Chart personenchart(int typ) {
    chart::Chart c;
    c.ChartType = typ;
    if (typ == chart::VtChChartType2dPie) {
        c.setChartData(std::vector<int16_t>{12, 30, 8, 22, 15, 5, 18, 25, 10});
    } else {
        std::vector<std::vector<int16_t>> d;
        for (int r = 0; r < 9; ++r)
            d.push_back({int16_t(-(r % 3) - 2), int16_t(-r), int16_t(20 - r), int16_t(5 + r), int16_t(12 + r % 4)});
        c.setChartData(d);
    }
    const char* namen[9] = {"Perfektionist", "Helfer", "Macher",   "Individualist", "Beobachter",
                            "Loyaler",       "Genießer", "Boss", "Vermittler"};
    for (int r = 1; r <= c.DataGrid.RowCount(); ++r) c.DataGrid.setRowLabel(r, 1, namen[r - 1]);
    for (int s = 1; s <= c.Plot.SeriesCount(); ++s) {
        c.Plot.SeriesCollection(s).LegendText = typ == chart::VtChChartType2dPie ? namen[s - 1] : "Antwortwert " + std::to_string(s - 1);
        c.Plot.SeriesCollection(s).SeriesMarker.Show = true;
    }
    c.ShowLegend = true;
    c.setTitleText("Anna Berg / 01.02.2026");
    c.setFootnoteText("Z.U.V. – Persönlichkeitsinventar");
    c.Plot.Axis(chart::VtChAxisIdX).AxisTitle.Text = "Typen des Enneagramms";
    return c;
}

void chart_render(benchmark::State& state) {
    const int typen[9] = {0, 1, 2, 3, 4, 5, 6, 7, 14};
    std::vector<chart::Chart> charts;
    for (int t : typen) charts.push_back(personenchart(t));
    QImage bild(800, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        double langsamste = 0;
        for (const chart::Chart& c : charts) {
            QElapsedTimer uhr;
            uhr.start();
            QPainter p(&bild);
            c.paint(p, QRectF(0, 0, 800, 600));
            p.end();
            langsamste = std::max(langsamste, uhr.nsecsElapsed() / 1e9);
        }
        state.SetIterationTime(langsamste);
    }
}
BENCHMARK(chart_render)->UseManualTime()->Unit(benchmark::kMillisecond);

// The program started in a copy of the installation folder, with a data file holding one person
// who answered every statement, chosen as the current person.
struct Sitzung {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;

    Sitzung() {
        const std::string ordner = dir.path().toStdString();
        fs::copy(ZUV_DIST_DIR, ordner, fs::copy_options::recursive);
        // The copy is its own data folder, so the pictures go into it and not into the build.
        std::ofstream(ordner + "/Zuv50.ini") << "[ZUV]\nAppPath=" << ordner << "\n[Options]\nSystemDB=" << ordner
                                             << "/Sys.mda\n";
        files::setProgramFolder(ordner);
        form9::wartezeit() = 1;
        host->input("Kartei");
        forms::Default<form9>().Zeit1_Timer();
        if (!gDateiOffen) throw std::runtime_error("no data file");
        db::Database& d = *gDatenbank;
        d.BeginTrans();
        auto p = d.OpenRecordset("SELECT * FROM PersDat WHERE PersonID = -1");
        p->AddNew();
        const int32_t id = p->Fields("PersonID").Value().toLong();
        p->Fields("Vorname") = "Anna";
        p->Fields("Nachname") = "Berg";
        p->Fields("Testdatum") = "01.02.2026";
        p->Update();
        auto a = d.OpenRecordset("SELECT * FROM PersonTestErgebnis WHERE PersonID = -1");
        for (int i = 1; i <= 109; ++i) {
            a->AddNew();
            a->Fields("PersonID") = vb::Variant(id);
            a->Fields("ItemNummer") = vb::Variant(int16_t(i));
            a->Fields("ItemWert") = vb::Variant(int16_t(i % 5));
            a->Update();
        }
        auto t = d.OpenRecordset("SELECT * FROM TypWertZuweisung WHERE PersonID = -1");
        for (size_t k = 0; k < gItemNummer.size(); ++k) {
            t->AddNew();
            t->Fields("PersonID") = vb::Variant(id);
            t->Fields("ItemNummer") = vb::Variant(gItemNummer[k]);
            t->Fields("TypNummer") = vb::Variant(gTypNummer[k]);
            t->Fields("TypRealWert") = vb::Variant(int16_t((k * 7) % 5));
            t->Update();
        }
        auto e = d.OpenRecordset("SELECT * FROM Ergebnis WHERE PersonID = -1");
        for (int typ = 1; typ <= 9; ++typ) {
            e->AddNew();
            e->Fields("PersonID") = vb::Variant(id);
            e->Fields("TypNummer") = vb::Variant(int16_t(typ));
            e->Update();
        }
        d.CommitTrans();
        gAktPersonID = id;
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berg";
        gAktPerson[11] = "01.02.2026";
        EnableFileMenus();
    }
    ~Sitzung() {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        files::setProgramFolder("");
    }
};

void chart_window(benchmark::State& state) {
    Sitzung s;
    frmMDI& mdi = forms::Instance<frmMDI>();
    const fs::path bild = fs::path(s.dir.path().toStdString()) / "ZUVGrafik1.bmp";
    for (auto _ : state) {
        mdi.mnuGrafikauswertung.choose();
        auto* f = dynamic_cast<frmChart*>(gChartFenster.data());
        state.PauseTiming();
        if (!f || !f->isLoaded() || !fs::exists(bild)) {
            state.SkipWithError("the chart window did not open with its picture");
            break;
        }
        forms::Unload(*f);
        fs::remove(bild);
        state.ResumeTiming();
    }
}
BENCHMARK(chart_window)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
