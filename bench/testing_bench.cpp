// Figures of the test administration: a whole test stored through the test form, scoring and
// ranking of one person, and the blank questionnaire printed into a PDF file.

#include <benchmark/benchmark.h>


#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/common/globals.h"
#include "desk/testing/druck.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/draw/printer.h"
#include "platform/forms/host.h"

namespace {

// One session: workgroup, data file with 50 persons, settings database, texts.
struct Sitzung : bench::Daten {
    Sitzung() {
        for (int i = 0; i < 50; ++i) gAktPersonID = person("Person " + std::to_string(i), "Person " + std::to_string(i));
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berg";
        gAktPerson[11] = "01.02.2026";
        gSensitivity1 = 0.85f;
    }
};

Sitzung& sitzung() {
    static Sitzung s;
    return s;
}

void take_test(benchmark::State& state) {
    sitzung();
    auto& f = forms::Instance<frmTest>();
    for (auto _ : state) {
        gAktAussage = 1;
        f.Show();
        for (int n = 1; n <= 109; ++n) {
            f.Text1.setText(std::to_string(n % 5));
            f.Befehl6_Click();
        }
        if (f.isLoaded()) state.SkipWithError("the test form did not close after the last statement");
    }
}
BENCHMARK(take_test)->Unit(benchmark::kMillisecond);

void score_and_rank(benchmark::State& state) {
    sitzung();
    gDatenbank->Execute("UPDATE typwertzuweisung SET typrealwert = itemnummer % 5 WHERE personid = " +
                        std::to_string(gAktPersonID));
    for (auto _ : state) {
        TestAuswerten();
        TypRangfolgeBestimmen();
    }
}
BENCHMARK(score_and_rank)->Unit(benchmark::kMillisecond);

void questionnaire_pdf(benchmark::State& state) {
    auto& s = sitzung();
    auto programm = gWorkspace->OpenDatabase(gProgrammDB);
    const auto inhalt = zuvtest::ladeFragebogen(*programm);
    programm->Close();
    int n = 0;
    for (auto _ : state) {
        draw::Printer pr;
        pr.setOutputFileName(s.pfad(("fragebogen" + std::to_string(++n) + ".pdf").c_str()));
        int16_t seite = 0;
        zuvtest::druckeFragebogen(pr, inhalt, {}, zuvtest::standardSchrift(),
                                  std::string(ZUV_DIST_DIR) + "/zuv_symb_druckkopf.bmp", "08.03.2026", seite);
    }
}
BENCHMARK(questionnaire_pdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
