// Figures of the type-description reader: the start up to the main window with its first
// description window (without the splash's wait), showing a topic in a description window, and
// printing every topic of one type into a PDF.

#include <benchmark/benchmark.h>


#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "codex/form2.h"
#include "codex/form9.h"
#include "codex/frm_druck_man.h"
#include "codex/frm_mdi.h"
#include "codex/modul_global.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "platform/db/engine.h"
#include "platform/draw/printer.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "tests/support/inhalt_db.h"

namespace fs = std::filesystem;

namespace {

// A copy of the installation folder that names itself as the data folder, with a content database
// (the installed one, or one of 56 topics with texts of several paragraphs).
struct Sitzung : bench::Installation {
    Sitzung() {
        if (!fs::exists(pfad("zuv40typ.sdb"))) {
            support::Inhalt i;
            i.text = [](int t, int y) {
                std::string s;
                for (int k = 1; k <= 14; ++k) {
                    s += "Zum Thema " + std::to_string(t) + " zeigt der Typ " + std::to_string(y) +
                         " eine eigene Haltung, die sich im Alltag, im Beruf und in Beziehungen äußert. ";
                    if (k % 5 == 0) s += "\r\n\r\n";
                }
                return vb::Variant(s);
            };
            support::inhaltsdatenbankAnlegen(dir.path().toStdString(), i);
        }
        setProgramm(kZuvcodex);
        codex::form9::wartezeit() = 1;
    }
    ~Sitzung() {
        forms::resetAllWindows();
        codex::resetLeserZustand();
        draw::printer().setOutputFileName("");
        setProgramm(kZuvdesk);
    }
    static void neuStarten() {
        forms::resetAllWindows();
        resetGlobals();
        codex::resetLeserZustand();
        db::DBEngine::instance().reset();
        codex::form9& s = forms::Default<codex::form9>();
        if (s.abgebrochen()) throw std::runtime_error("start failed");
        s.Zeit1_Timer();
        codex::frmMDI& m = forms::Instance<codex::frmMDI>();
        if (!m.Visible() || m.children().size() != 1) throw std::runtime_error("no description window");
    }
};

void codex_startup(benchmark::State& state) {
    Sitzung s;
    for (auto _ : state) Sitzung::neuStarten();
}
BENCHMARK(codex_startup)->Unit(benchmark::kMillisecond)->Iterations(20);

void codex_topic(benchmark::State& state) {
    Sitzung s;
    Sitzung::neuStarten();
    auto* f = dynamic_cast<codex::Form2*>(forms::Instance<codex::frmMDI>().children().front());
    int n = 0;
    for (auto _ : state) {
        f->Combo1.setListIndex(++n % 56);
        if (codex::gThemaTitel != f->Combo1.Text()) throw std::runtime_error("topic not shown");
    }
}
BENCHMARK(codex_topic)->Unit(benchmark::kMillisecond)->Iterations(50);

void codex_print_all(benchmark::State& state) {
    Sitzung s;
    Sitzung::neuStarten();
    codex::frmMDI& m = forms::Instance<codex::frmMDI>();
    m.mnuDruckAlleThemen_Click();
    codex::frmDruckMan& d = forms::Instance<codex::frmDruckMan>();
    int n = 0;
    for (auto _ : state) {
        const std::string datei = s.pfad("alle" + std::to_string(++n) + ".pdf");
        draw::printer().setOutputFileName(datei);
        s.host->answer(forms::vbYes);
        d.Command1_Click();
        if (!fs::exists(datei) || s.host->messages().size() != static_cast<size_t>(n))  // the question only
            throw std::runtime_error("the printout failed");
    }
}
BENCHMARK(codex_print_all)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    forms::setUntrappedErrorHandler([](const vb::Error& e) { ShowErrorMessage(e); });
    return bench::runWithApplication(argc, argv);
}
