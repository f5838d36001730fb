// Figures of the chart evaluation:
//   chart_render  the nine chart types, each painted at 800 x 600 into an image with five series,
//                 legend, title, footnote, axis title and markers; the figure is the slowest type.
//   chart_window  the chart command from the menu to the shown chart window with its exchange
//                 bitmap written (scoring and ranking included), then closed.
//   chart_hyphenation  reading the installed German hyphenation patterns and finding the points of
//                 the nine type names: what the first chart of a run waits for unless the
//                 patterns were read in the background before.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/charts/frm_chart.h"
#include "desk/common/globals.h"
#include "desk/frame/frm_mdi.h"
#include "platform/chart/chart.h"
#include "platform/chart/hyphenation.h"
#include "platform/forms/form.h"

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
    const char* namen[9] = {"Perfektionist", "Helfer",   "Macher", "Individualist", "Beobachter",
                            "Loyaler",       "Genießer", "Boss",   "Vermittler"};
    for (int r = 1; r <= c.DataGrid.RowCount(); ++r) c.DataGrid.setRowLabel(r, 1, namen[r - 1]);
    for (int s = 1; s <= c.Plot.SeriesCount(); ++s) {
        c.Plot.SeriesCollection(s).LegendText = typ == chart::VtChChartType2dPie ? namen[s - 1]
                                                                                 : "Antwortwert " + std::to_string(s - 1);
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

void chart_window(benchmark::State& state) {
    bench::DeskMitPerson s;
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

void chart_hyphenation(benchmark::State& state) {
    const QString namen[9] = {"Perfektionist", "Helfer",   "Macher", "Individualist", "Beobachter",
                              "Loyaler",       "Genießer", "Boss",   "Vermittler"};
    for (auto _ : state) {
        const chart::Hyphenation de("/usr/share/hyphen/hyph_de_DE.dic");
        if (!de.available()) {
            state.SkipWithError("no German hyphenation patterns installed");
            break;
        }
        std::size_t punkte = 0;
        for (const QString& n : namen) punkte += de.points(n).size();
        benchmark::DoNotOptimize(punkte);
    }
}
BENCHMARK(chart_hyphenation)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
