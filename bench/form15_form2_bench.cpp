// Figures of the answer table and the enneagram window: each opened through its menu command for a
// person with a finished test (scoring, ranking, the window filled and shown, its exchange bitmap
// written), then closed.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/app_main.h"
#include "desk/common/globals.h"
#include "desk/evaluation/form15.h"
#include "desk/evaluation/form2.h"
#include "desk/frame/frm_mdi.h"
#include "desk/frame/startup.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace fs = std::filesystem;

namespace {

// The program started in a copy of the installation folder, with a data file holding one person
// who answered every statement, chosen as the current person.
struct Sitzung {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;

    Sitzung() {
        fs::copy(ZUV_DIST_DIR, dir.path().toStdString(), fs::copy_options::recursive);
        files::setProgramFolder(dir.path().toStdString());
        form9::wartezeit() = 1;
        host->input("Kartei");
        form9& s = forms::Default<form9>();
        s.Zeit1_Timer();
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
        EnableFileMenus();
    }
    ~Sitzung() {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        files::setProgramFolder("");
    }
};

frmMDI& mdi() { return forms::Instance<frmMDI>(); }

template <class Fenster>
void oeffnenUndSchliessen(benchmark::State& state, forms::MenuItem& befehl, QPointer<QWidget>& zuletzt) {
    for (auto _ : state) {
        befehl.choose();
        auto* f = dynamic_cast<Fenster*>(zuletzt.data());
        if (!f || !f->isLoaded()) {
            state.SkipWithError("the window did not open");
            break;
        }
        state.PauseTiming();
        forms::Unload(*f);
        state.ResumeTiming();
    }
}

void answer_table(benchmark::State& state) {
    Sitzung s;
    oeffnenUndSchliessen<Form15>(state, mdi().mnuTabelle, gTabellenFenster);
}
BENCHMARK(answer_table)->Unit(benchmark::kMillisecond);

void enneagram(benchmark::State& state) {
    Sitzung s;
    oeffnenUndSchliessen<Form2>(state, mdi().mnuEnneagramm, gEnneagrammFenster);
}
BENCHMARK(enneagram)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
