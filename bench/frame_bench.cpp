// Figures of the application frame: the start up to the main window, opening a data file of
// 10,000 persons with the person chooser filled, importing 1,000 persons from another data file,
// and compacting a data file of 10,000 persons.

#include <benchmark/benchmark.h>
#include <sqlite3.h>


#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/app_main.h"
#include "bench/sitzung.h"
#include "desk/frame/frm_import.h"
#include "desk/frame/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/frame/startup.h"
#include "desk/testing/form3.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/workspace.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace fs = std::filesystem;

namespace {

// The program started in a copy of the installation folder (without the splash's wait).
struct Sitzung : bench::Installation {
    static void neuStarten() {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        form9& s = forms::Default<form9>();
        if (s.abgebrochen()) throw std::runtime_error("start failed");
        s.Zeit1_Timer();
        if (!forms::Instance<frmMDI>().Visible()) throw std::runtime_error("main window not shown");
    }
    // A new, empty data file made by the program's own New command.
    void neueDatei(const std::string& name) {
        if (gDateiOffen) host->answer(forms::vbYes);
        host->chooseFile(pfad(name));
        forms::Instance<frmMDI>().mnuNew_Click();
        if (!gDateiOffen) throw std::runtime_error("no data file");
    }
};

// Persons with all their rows, written in bulk through SQLite into a closed data file.
void fuellen(const std::string& datei, int personen) {
    sqlite3* db = nullptr;
    if (sqlite3_open(datei.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
    const std::string n = std::to_string(personen);
    const std::string sql =
        "BEGIN;"
        "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < " +
        n +
        ") "
        "INSERT INTO PersDat (PersonID, Vorname, Nachname, Testdatum) "
        "SELECT i, 'Vorname' || i, 'Nachname' || (i % 997), '01.02.2026' FROM p;"
        "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < " +
        n +
        "), "
        "s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 109) "
        "INSERT INTO PersonTestErgebnis (PersonID, ItemNummer, ItemWert) SELECT i, j, (i + j) % 5 FROM p, s;"
        "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < " +
        n +
        "), "
        "s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 126) "
        "INSERT INTO TypWertZuweisung (PersonID, ItemNummer, TypNummer, TypRealWert) "
        "SELECT i, 1 + (j - 1) % 109, 1 + j % 9, (i + j) % 5 FROM p, s;"
        "WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < " +
        n +
        "), "
        "s(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM s WHERE j < 9) "
        "INSERT INTO Ergebnis (PersonID, TypNummer, TypGesamtSumme) SELECT i, j, i % 50 FROM p, s;"
        "COMMIT;";
    char* fehler = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &fehler);
    const std::string text = fehler ? fehler : "";
    sqlite3_free(fehler);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("fill: " + text);
}

void startup(benchmark::State& state) {
    Sitzung s;
    s.host->input("Kartei");
    Sitzung::neuStarten();  // the first start creates the data file that later starts reopen
    for (auto _ : state) Sitzung::neuStarten();
}
BENCHMARK(startup)->Unit(benchmark::kMillisecond)->Iterations(20);

void open_10k(benchmark::State& state) {
    Sitzung s;
    Sitzung::neuStarten();
    s.neueDatei("Gross");
    forms::Instance<frmMDI>().mnuClose_Click();
    fuellen(s.pfad("Gross.ZDB"), 10000);
    for (auto _ : state) {
        bool abbruch = false;
        forms::Instance<frmMDI>().OpenLocalDB(s.pfad("Gross.ZDB"), abbruch);
        if (abbruch) throw std::runtime_error("open failed");
        Form3& f = forms::Default<Form3>();
        f.Form_Activate();
        benchmark::DoNotOptimize(f.Grid1.Rows());
        state.PauseTiming();
        forms::Unload(f);
        forms::Instance<frmMDI>().mnuClose_Click();
        state.ResumeTiming();
    }
}
BENCHMARK(open_10k)->Unit(benchmark::kMillisecond)->Iterations(5);

void import_all_1k(benchmark::State& state) {
    Sitzung s;
    Sitzung::neuStarten();
    s.neueDatei("Quelle");
    forms::Instance<frmMDI>().mnuClose_Click();
    fuellen(s.pfad("Quelle.ZDB"), 1000);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.neueDatei("Ziel" + std::to_string(++n));
        state.ResumeTiming();
        if (frmImport::importiere(s.pfad("Quelle.ZDB"), nullptr) != 1000) throw std::runtime_error("import");
    }
}
BENCHMARK(import_all_1k)->Unit(benchmark::kMillisecond)->Iterations(3);

void compact_10k(benchmark::State& state) {
    Sitzung s;
    Sitzung::neuStarten();
    s.neueDatei("Gross");
    forms::Instance<frmMDI>().mnuClose_Click();
    fuellen(s.pfad("Gross.ZDB"), 10000);
    int n = 0;
    for (auto _ : state) {
        const std::string ziel = s.pfad("Kompakt" + std::to_string(++n) + ".ZDB");
        db::DBEngine::instance().CompactDatabase(s.pfad("Gross.ZDB"), ziel, "", db::dbEncrypt);
    }
}
BENCHMARK(compact_10k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    forms::setUntrappedErrorHandler([](const vb::Error& e) { ShowErrorMessage(e); });
    return bench::runWithApplication(argc, argv);
}
