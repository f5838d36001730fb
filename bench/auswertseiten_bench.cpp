// Figures of the evaluation window: one evaluation page drawn (the median of the twelve pages of a
// person with one main type), and all twelve evaluation and six statistics pages of that person.

#include <benchmark/benchmark.h>


#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/common/globals.h"
#include "desk/evaluation/auswertform.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

namespace {

// One session: workgroup, data file with a scored person, settings database, texts and fonts.
struct Sitzung : bench::Daten {
    Sitzung() {
        auto programm = gWorkspace->OpenDatabase(gProgrammDB);
        auto t = programm->OpenRecordset("select * from Typ order by typnummer", db::RecordsetType::Snapshot);
        for (int typ = 1; !t->Eof() && typ <= 9; t->MoveNext(), ++typ)
            gTypbezeichnung[typ] = t->Fields("typbezeichnungZUVStandard").Value().toString();
        programm->Close();
        gStandardschriftart = gExtraschriftart = "Arial";
        gStandardschriftGroesse = gExtraschriftGroesse = 10;
        gExtraschriftFett = true;
        gExtraschriftfarbe = vb::Variant(int32_t(8388608));

        gAktPersonID = person("Anna", "Berg");
        // Type 3 rated highest: one main type, twelve pages.
        gDatenbank->Execute(
            "UPDATE typwertzuweisung SET typrealwert = CASE WHEN typnummer = 3 THEN 4 "
            "ELSE itemnummer % 4 END WHERE personid = " +
            std::to_string(gAktPersonID));
        TestAuswerten();
        TypRangfolgeBestimmen();
    }
};

Sitzung& sitzung() {
    static Sitzung s;
    return s;
}

// A window of the mode, loaded and showing page 1.
auswertform* fenster(int art) {
    gAuswertungsart = static_cast<int16_t>(art);
    gSeite = 1;
    auto* f = new auswertform();
    f->setCaption(LabelTxt(art == 1 ? 158 : 210));
    f->Form_Activate();
    return f;
}

using Uhr = std::chrono::steady_clock;

void eval_page(benchmark::State& state) {
    sitzung();
    auswertform* f = fenster(1);
    if (f->Seitenanzahl() != 12) state.SkipWithError("the person has no single main type");
    std::vector<double> zeiten(12);
    for (auto _ : state) {
        for (int seite = 1; seite <= 12; ++seite) {
            const auto start = Uhr::now();
            if (seite == 1) f->Form_Activate();
            else f->SSCommand2_Click();
            zeiten[seite - 1] = std::chrono::duration<double>(Uhr::now() - start).count();
        }
        for (int i = 0; i < 11; ++i) f->SSCommand1_Click();
        std::nth_element(zeiten.begin(), zeiten.begin() + 6, zeiten.end());
        state.SetIterationTime(zeiten[6]);
    }
    forms::Unload(*f);
}
BENCHMARK(eval_page)->UseManualTime()->Unit(benchmark::kMillisecond);

void all_pages(benchmark::State& state) {
    sitzung();
    auswertform* a = fenster(1);
    auswertform* s = fenster(2);
    for (auto _ : state) {
        a->Form_Activate();
        for (int i = 1; i < 12; ++i) a->SSCommand2_Click();
        s->Form_Activate();
        for (int i = 1; i < 6; ++i) s->SSCommand2_Click();
        state.PauseTiming();
        for (int i = 1; i < 12; ++i) a->SSCommand1_Click();
        for (int i = 1; i < 6; ++i) s->SSCommand1_Click();
        state.ResumeTiming();
    }
    forms::Unload(*a);
    forms::Unload(*s);
}
BENCHMARK(all_pages)->Unit(benchmark::kMillisecond);

// "Seite drucken": the page on view drawn anew for paper at print resolution (statistics page 1,
// the widest page, and evaluation page 1).
void page_for_paper(benchmark::State& state, int seite) {
    sitzung();
    auswertform* f = fenster(seite);
    for (auto _ : state) benchmark::DoNotOptimize(f->SeiteFuerPapier());
    forms::Unload(*f);
}
void page_for_paper_statistics(benchmark::State& state) { page_for_paper(state, 1); }
void page_for_paper_evaluation(benchmark::State& state) { page_for_paper(state, 2); }
BENCHMARK(page_for_paper_statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(page_for_paper_evaluation)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
