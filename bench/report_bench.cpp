// Figures of the printed report for a person with a finished test and every exchange bitmap in
// the data folder: the print table of all 24 pages written, and the whole full report (print
// table, assembly, layout) rendered with its pictures into a PDF file.

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/app_main.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/frame/frm_mdi.h"
#include "desk/frame/startup.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/reports/frm_report.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/draw/picture.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace fs = std::filesystem;

namespace {

struct Sitzung {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;

    Sitzung() {
        fs::copy(ZUV_DIST_DIR, dir.path().toStdString(), fs::copy_options::recursive);
        files::setProgramFolder(dir.path().toStdString());
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
        // The exchange bitmaps at the sizes the windows save them.
        const std::pair<const char*, QSize> bilder[] = {
            {"ZUVEnneagramm.bmp", {620, 620}}, {"ZUVGrafik1.bmp", {900, 560}}, {"ZUVGrafik2.bmp", {900, 560}},
            {"ZUVGrafik3.bmp", {900, 560}},    {"ZUVTabelle.bmp", {760, 420}}};
        for (const auto& [name, size] : bilder) {
            QImage img(size, QImage::Format_RGB888);
            img.fill(QColor(60, 110, 170));
            draw::SavePicture(draw::Picture::fromImage(img), gAppPath + "/" + name);
        }
    }
    ~Sitzung() { forms::resetAllWindows(); }
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

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
