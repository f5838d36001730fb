// ZUVDESK's memory with a data file open and a person's test on screen: the program started, the
// file opened, a person chosen in the person chooser, the test window shown and five ratings given.
// Each figure is the peak resident size (VmHWM) of a process of its own that did just that, on the
// files of 10, 20,000 and 100,000 persons; reported in MB.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/grosse_datei.h"
#include "bench/sitzung.h"
#include "desk/common/globals.h"
#include "desk/frame/frm_mdi.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace {

constexpr const char* kSitzung = "--zuv-sitzung=";

long spitzeKb() {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmHWM:", 0) == 0) return std::stol(zeile.substr(6));
    return -1;
}

// The session of the child process; prints its peak resident size in kB.
int sitzung(int argc, char** argv, int personen) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    bench::Installation inst;
    inst.host->input("Kartei");
    forms::Default<form9>().Zeit1_Timer();
    if (!gDateiOffen) throw std::runtime_error("the program did not start");
    const std::string quelle = bench::grosseDatei(personen);
    const std::string datei = inst.pfad("Personen.ZDB");
    std::filesystem::copy_file(quelle, datei);
    bool abbruch = false;
    forms::Instance<frmMDI>().OpenLocalDB(datei, abbruch);
    if (abbruch) throw std::runtime_error("cannot open " + datei);
    Form3& wahl = forms::Default<Form3>();
    wahl.Form_Activate();
    wahl.Grid1.clickCell(wahl.Grid1.Rows() / 2, 1);
    wahl.Befehl1_Click();
    if (gAktPersonID == 0) throw std::runtime_error("nobody chosen");
    TestDurchfuehren();
    auto& test = forms::Instance<frmTest>();
    for (int i = 0; i < 5; ++i) {
        int taste = '0' + i;
        test.Text1_KeyPress(taste);
        taste = forms::vbKeyReturn;
        test.Text1_KeyPress(taste);
    }
    if (gAktAussage != 6) throw std::runtime_error("the ratings were not taken");
    std::printf("%ld\n", spitzeKb());
    std::fflush(stdout);
    forms::resetAllWindows();
    return 0;
}

void speicher(benchmark::State& state, const std::string& programm, int personen) {
    for (auto _ : state) {
        const std::string befehl = programm + " " + kSitzung + std::to_string(personen);
        FILE* kind = ::popen(befehl.c_str(), "r");
        long kb = -1;
        if (!kind || std::fscanf(kind, "%ld", &kb) != 1) kb = -1;
        const int rc = kind ? ::pclose(kind) : -1;
        if (kb <= 0 || rc != 0) {
            state.SkipWithError("the session failed");
            break;
        }
        state.SetIterationTime(1e-3);
        state.counters["MB"] = static_cast<double>(kb) / 1024.0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kSitzung, std::strlen(kSitzung)) == 0) {
            try {
                return sitzung(argc, argv, std::atoi(argv[i] + std::strlen(kSitzung)));
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                return 1;
            }
        }
    const std::string selbst = std::filesystem::read_symlink("/proc/self/exe").string();
    for (const auto& [name, personen] : {std::pair<const char*, int>{"memory_test_window", 10},
                                         std::pair<const char*, int>{"memory_test_window_20k", 20000},
                                         std::pair<const char*, int>{"memory_test_window_100k", 100000}}) {
        benchmark::RegisterBenchmark(name, [selbst,
                                            personen = personen](benchmark::State& s) { speicher(s, selbst, personen); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
