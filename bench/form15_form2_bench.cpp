// Figures of the answer table and the enneagram window: each opened through its menu command for a
// person with a finished test (scoring, ranking, the window filled and shown, its exchange bitmap
// written), then closed.

#include <benchmark/benchmark.h>


#include <string>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/common/globals.h"
#include "desk/evaluation/form15.h"
#include "desk/evaluation/form2.h"
#include "desk/frame/frm_mdi.h"
#include "platform/forms/form.h"

namespace fs = std::filesystem;

namespace {

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
    bench::DeskMitPerson s;
    oeffnenUndSchliessen<Form15>(state, mdi().mnuTabelle, gTabellenFenster);
}
BENCHMARK(answer_table)->Unit(benchmark::kMillisecond);

void enneagram(benchmark::State& state) {
    bench::DeskMitPerson s;
    oeffnenUndSchliessen<Form2>(state, mdi().mnuEnneagramm, gEnneagrammFenster);
}
BENCHMARK(enneagram)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
