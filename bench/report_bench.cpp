// Figures of the printed report for a person with a finished test and every exchange bitmap in
// the data folder: the print table of all 24 pages written, and the whole full report (print
// table, assembly, layout) rendered with its pictures into a PDF file.

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>

#include <string>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/reports/frm_report.h"
#include "platform/db/database.h"
#include "platform/draw/picture.h"
#include "platform/forms/form.h"

namespace {

// The person's exchange bitmaps beside the data file, at the sizes the windows save them.
struct Sitzung : bench::DeskMitPerson {
    Sitzung() {
        const std::pair<const char*, QSize> bilder[] = {{"ZUVEnneagramm.bmp", {620, 620}},
                                                        {"ZUVGrafik1.bmp", {900, 560}},
                                                        {"ZUVGrafik2.bmp", {900, 560}},
                                                        {"ZUVGrafik3.bmp", {900, 560}},
                                                        {"ZUVTabelle.bmp", {760, 420}}};
        for (const auto& [name, size] : bilder) {
            QImage img(size, QImage::Format_RGB888);
            img.fill(QColor(60, 110, 170));
            draw::SavePicture(draw::Picture::fromImage(img), gAppPath + "/" + name);
        }
    }
};

Sitzung& sitzung() {
    static Sitzung s;
    return s;
}

void report_table(benchmark::State& state) {
    sitzung();
    for (auto _ : state) {
        gDatenbank->BeginTrans();
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(true, true, true, true);
        gDatenbank->CommitTrans();
    }
}
BENCHMARK(report_table)->Unit(benchmark::kMillisecond);

void report_24_pdf(benchmark::State& state) {
    Sitzung& s = sitzung();
    frmReport& r = forms::Default<frmReport>();
    for (auto& c : r.Check1) c.setValue(1);
    const std::string pdf = (s.dir.path() + "/Bericht.pdf").toStdString();
    for (auto _ : state) {
        r.Command1_Click();
        if (!r.CrystalReport1.document()) {
            state.SkipWithError("no report");
            break;
        }
        r.CrystalReport1.exportPdf(pdf);
    }
    state.counters["sheets"] = r.CrystalReport1.pageCount();
}
BENCHMARK(report_24_pdf)->Unit(benchmark::kMillisecond);

// One build of a report of the five figures alone: the figures made anew for the person (as after
// any change of what they are drawn from), or placed again as they are.
void report_figures(benchmark::State& state, bool anew) {
    sitzung();
    frmReport& r = forms::Default<frmReport>();
    for (auto& c : r.Check1) c.setValue(0);
    for (int i : {2, 3, 4, 5, 8}) r.Check1[i].setValue(1);
    r.Command1_Click();
    for (auto _ : state) {
        if (anew)
            for (const char* n :
                 {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp", "ZUVGrafik2.bmp", "ZUVGrafik3.bmp", "ZUVTabelle.bmp"})
                DruckbildVergessen(n);
        r.Command1_Click();
        if (!r.CrystalReport1.document()) {
            state.SkipWithError("no report");
            break;
        }
    }
    for (auto& c : r.Check1) c.setValue(1);
}
void report_figures_anew(benchmark::State& state) { report_figures(state, true); }
void report_figures_placed(benchmark::State& state) { report_figures(state, false); }
BENCHMARK(report_figures_anew)->Unit(benchmark::kMillisecond);
BENCHMARK(report_figures_placed)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
