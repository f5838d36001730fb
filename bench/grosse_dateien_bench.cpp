// Figures of the actions on one person, and of the actions on a whole data file, on a data file of
// 10 persons and on files of 20,000 and 100,000 persons side by side ("<name>", "<name>_20k",
// "<name>_100k"), so that a reader sees how each cost grows with the file. The program runs in a
// copy of the installation folder with the copy of a generated file open (see grosse_datei.h);
// the person worked on stands in the middle of the file.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QColor>
#include <QImage>

#include <chrono>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/app_main.h"
#include "bench/grosse_datei.h"
#include "bench/sitzung.h"
#include "desk/common/globals.h"
#include "desk/frame/frm_import.h"
#include "desk/frame/frm_mdi.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/draw/picture.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace fs = std::filesystem;

namespace {

using Uhr = std::chrono::steady_clock;

double sekunden(Uhr::time_point start) { return std::chrono::duration<double>(Uhr::now() - start).count(); }

// The program, started once in a copy of the installation folder.
struct Programm : bench::Installation {
    Programm() {
        host->input("Kartei");
        forms::Default<form9>().Zeit1_Timer();
        if (!gDateiOffen) throw std::runtime_error("the program did not start");
    }
    std::map<int, std::string> kopien;

    // The copy of the generated file of that many persons in the data folder (made once).
    const std::string& kopie(int personen) {
        auto it = kopien.find(personen);
        if (it != kopien.end()) return it->second;
        const std::string quelle = bench::grosseDatei(personen);
        const std::string ziel = pfad("Personen" + std::to_string(personen) + ".ZDB");
        fs::copy_file(quelle, ziel, fs::copy_options::overwrite_existing);
        return kopien[personen] = ziel;
    }

    // A file of 10 persons of its own, to import from or into.
    const std::string& klein(const std::string& name) {
        auto it = kleine.find(name);
        if (it != kleine.end()) return it->second;
        const std::string ziel = pfad(name + ".ZDB");
        fs::copy_file(bench::grosseDatei(10), ziel, fs::copy_options::overwrite_existing);
        return kleine[name] = ziel;
    }
    std::map<std::string, std::string> kleine;

    void oeffnenDatei(const std::string& datei) {
        if (!gDateiOffen || gDatenbankName != datei) {
            forms::Unload<frmTest>();
            forms::Unload<frmpers>();
            if (gDateiOffen) CloseDataFile();
            bool abbruch = false;
            forms::Instance<frmMDI>().OpenLocalDB(datei, abbruch);
            if (abbruch || !gDateiOffen) throw std::runtime_error("cannot open " + datei);
        }
    }

    // The file of that many persons open, and its middle person the current person.
    int32_t oeffnen(int personen) {
        oeffnenDatei(kopie(personen));
        const int32_t id = personen / 2;
        auto p = gDatenbank->OpenRecordset("select * from persdat where personid = " + std::to_string(id),
                                           db::RecordsetType::Snapshot);
        if (p->Eof()) throw std::runtime_error("no person " + std::to_string(id));
        PersonUebernehmen(id, p->Fields("Vorname").Value().toString(), p->Fields("Nachname").Value().toString(),
                          p->Fields("Testdatum").Value().toString());
        return id;
    }
};

Programm& programm() {
    static Programm p;
    return p;
}

// Every benchmark below times what the person waits for: from the click to the window shown, or
// to the action done.

void open_file(benchmark::State& state, int personen) {
    auto& p = programm();
    p.oeffnen(personen);
    const std::string datei = gDatenbankName;
    for (auto _ : state) {
        CloseDataFile();
        const auto start = Uhr::now();
        bool abbruch = false;
        forms::Instance<frmMDI>().OpenLocalDB(datei, abbruch);
        state.SetIterationTime(sekunden(start));
        if (abbruch) state.SkipWithError("the file did not open");
    }
}

// The first opening after the file was opened, and (person_window) every further one.
void person_window_first(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    const std::string datei = gDatenbankName;
    for (auto _ : state) {
        CloseDataFile();
        bool abbruch = false;
        forms::Instance<frmMDI>().OpenLocalDB(datei, abbruch);
        programm().oeffnen(personen);
        const auto start = Uhr::now();
        PersonendatenAnzeigen();
        state.SetIterationTime(sekunden(start));
        forms::Unload<frmpers>();
    }
}

void person_window(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    PersonendatenAnzeigen();
    forms::Unload<frmpers>();
    for (auto _ : state) {
        const auto start = Uhr::now();
        PersonendatenAnzeigen();
        state.SetIterationTime(sekunden(start));
        auto& f = forms::Instance<frmpers>();
        if (!f.isLoaded() || f.Text1[1].Text() != gAktPerson[2]) state.SkipWithError("the person is not shown");
        forms::Unload(f);
    }
}

void save_person(benchmark::State& state, int personen) {
    auto& p = programm();
    p.oeffnen(personen);
    PersonendatenAnzeigen();
    forms::Unload<frmpers>();
    int n = 0;
    for (auto _ : state) {
        PersonendatenAnzeigen();
        auto& f = forms::Instance<frmpers>();
        f.Befehl4_Click();
        f.Text1[0].setText("Neu");
        f.Text1[1].setText("Person " + std::to_string(++n));
        p.host->answer(forms::vbNo);  // no test now
        const auto start = Uhr::now();
        f.Befehl5_Click();
        state.SetIterationTime(sekunden(start));
        if (gAktPerson[2] != "Person " + std::to_string(n)) state.SkipWithError("the new person was not taken");
    }
    p.oeffnen(personen);
}

void chooser(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    for (auto _ : state) {
        Form3& f = forms::Default<Form3>();
        const auto start = Uhr::now();
        f.Form_Activate();
        state.SetIterationTime(sekunden(start));
        if (f.Grid1.Rows() < personen + 1) state.SkipWithError("not every person is listed");
        forms::Unload(f);
    }
}

// The choice of the person in the middle of the list.
void chooser_choice(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    for (auto _ : state) {
        Form3& f = forms::Default<Form3>();
        f.Form_Activate();
        f.Grid1.clickCell(personen / 2, 1);
        const auto start = Uhr::now();
        f.Befehl1_Click();
        state.SetIterationTime(sekunden(start));
        if (f.isLoaded() || gAktPersonID == 0) state.SkipWithError("nobody was chosen");
    }
}

void test_window(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    for (auto _ : state) {
        const auto start = Uhr::now();
        TestDurchfuehren();
        state.SetIterationTime(sekunden(start));
        auto& f = forms::Instance<frmTest>();
        if (!f.isLoaded() || f.Text2.Text().empty()) state.SkipWithError("the first statement is not shown");
        forms::Unload(f);
    }
}

// One rating typed and confirmed: stored with its item-type rows, then the next statement shown.
void rating(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    TestDurchfuehren();
    auto& f = forms::Instance<frmTest>();
    for (auto _ : state) {
        if (gAktAussage >= 109) {
            gAktAussage = 1;
            f.Form_Activate();
        }
        const int vorher = gAktAussage;
        int taste = '0' + vorher % 5;
        const auto start = Uhr::now();
        f.Text1_KeyPress(taste);
        taste = forms::vbKeyReturn;
        f.Text1_KeyPress(taste);
        state.SetIterationTime(sekunden(start));
        if (gAktAussage != vorher + 1) state.SkipWithError("the rating was not taken");
    }
    forms::Unload(f);
}

void evaluation(benchmark::State& state, int personen) {
    programm().oeffnen(personen);
    for (auto _ : state) {
        const auto start = Uhr::now();
        forms::Instance<frmMDI>().mnuAuswertung_Click();
        state.SetIterationTime(sekunden(start));
        if (!gAuswertFenster) state.SkipWithError("no evaluation window");
        UnloadChildForms();
    }
}

void report_pdf(benchmark::State& state, int personen) {
    auto& p = programm();
    p.oeffnen(personen);
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
    frmReport& r = forms::Default<frmReport>();
    for (auto& c : r.Check1) c.setValue(1);
    const std::string pdf = p.pfad("Bericht.pdf");
    r.Command1_Click();  // fonts and layouts loaded once, as in a running program
    for (auto _ : state) {
        const auto start = Uhr::now();
        r.Command1_Click();
        if (!r.CrystalReport1.document()) {
            state.SkipWithError("no report");
            break;
        }
        r.CrystalReport1.exportPdf(pdf);
        state.SetIterationTime(sekunden(start));
    }
    forms::Unload(r);
}

// Imports into the open file from a file of 10 persons: one person, or all of them.
void import_into(benchmark::State& state, int personen, bool alle) {
    auto& p = programm();
    const std::string quelle = p.klein("Quelle");
    p.oeffnen(personen);
    const std::vector<int32_t> eine = {3};
    for (auto _ : state) {
        const auto start = Uhr::now();
        const int n = frmImport::importiere(quelle, alle ? nullptr : &eine);
        state.SetIterationTime(sekunden(start));
        if (n != (alle ? 10 : 1)) state.SkipWithError("not imported");
    }
}

// One person of the file of that many persons imported into a file of 10 persons.
void import_one_from(benchmark::State& state, int personen) {
    auto& p = programm();
    const std::string quelle = p.kopie(personen);
    p.oeffnenDatei(p.klein("Ziel"));
    const std::vector<int32_t> eine = {personen / 2};
    for (auto _ : state) {
        const auto start = Uhr::now();
        const int n = frmImport::importiere(quelle, &eine);
        state.SetIterationTime(sekunden(start));
        if (n != 1) state.SkipWithError("not imported");
    }
}

// The menu's compaction and backup of the file, which is closed for them; and for comparison a
// plain VACUUM INTO of the same file by SQLite alone.
void compact(benchmark::State& state, int personen) {
    auto& p = programm();
    const std::string datei = p.kopie(personen);
    if (gDateiOffen) CloseDataFile();
    int n = 0;
    for (auto _ : state) {
        const std::string ziel = p.pfad("Kompakt" + std::to_string(++n) + ".ZDB");
        p.host->chooseFile(datei).chooseFile(ziel).answer(forms::vbOK);
        const auto start = Uhr::now();
        forms::Instance<frmMDI>().CompactDB();
        state.SetIterationTime(sekunden(start));
        if (!fs::exists(ziel)) state.SkipWithError("no compacted file");
        fs::remove(ziel);
    }
}

void backup(benchmark::State& state, int personen) {
    auto& p = programm();
    const std::string datei = p.kopie(personen);
    int n = 0;
    for (auto _ : state) {
        p.oeffnen(personen);
        const std::string ziel = p.pfad("Sicherung" + std::to_string(++n) + ".ZDB");
        p.host->answer(forms::vbYes).chooseFile(ziel).answer(forms::vbOK);
        const auto start = Uhr::now();
        forms::Instance<frmMDI>().BackUpDB();
        state.SetIterationTime(sekunden(start));
        if (!fs::exists(ziel)) state.SkipWithError("no backup");
        fs::remove(ziel);
    }
}

void vacuum_raw(benchmark::State& state, int personen) {
    auto& p = programm();
    const std::string datei = p.kopie(personen);
    if (gDateiOffen) CloseDataFile();
    int n = 0;
    for (auto _ : state) {
        const std::string ziel = p.pfad("Roh" + std::to_string(++n) + ".ZDB");
        const auto start = Uhr::now();
        sqlite3* db = nullptr;
        sqlite3_open_v2(datei.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        const int rc = sqlite3_exec(db, ("VACUUM INTO '" + ziel + "'").c_str(), nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
        state.SetIterationTime(sekunden(start));
        if (rc != SQLITE_OK) state.SkipWithError("VACUUM INTO failed");
        fs::remove(ziel);
    }
}

struct Groesse {
    int personen;
    const char* endung;
};
constexpr Groesse kGroessen[] = {{10, ""}, {20000, "_20k"}, {100000, "_100k"}};

template <typename F>
void anmelden(const char* name, F f, int wiederholungen = 0, int iterationen = 0) {
    for (const Groesse& g : kGroessen) {
        auto* b = benchmark::RegisterBenchmark((std::string(name) + g.endung).c_str(),
                                               [f, g](benchmark::State& s) { f(s, g.personen); });
        b->UseManualTime()->Unit(benchmark::kMillisecond);
        if (wiederholungen) b->Repetitions(wiederholungen);
        if (iterationen) b->Iterations(iterationen);
    }
}

}  // namespace

int main(int argc, char** argv) {
    forms::setUntrappedErrorHandler([](const vb::Error& e) { ShowErrorMessage(e); });
    anmelden("rating", rating);
    anmelden("test_window", test_window, 0, 20);
    anmelden("save_person", save_person, 0, 10);
    anmelden("person_window", person_window, 0, 10);
    anmelden("person_window_first", person_window_first, 3, 1);
    anmelden("chooser", chooser, 3, 2);
    anmelden("chooser_choice", chooser_choice, 3, 2);
    anmelden("open_file", open_file, 3, 3);
    anmelden("evaluation", evaluation, 0, 10);
    anmelden("report_pdf", report_pdf, 3, 3);
    anmelden(
        "import_one", [](benchmark::State& s, int n) { import_into(s, n, false); }, 3, 3);
    anmelden(
        "import_all", [](benchmark::State& s, int n) { import_into(s, n, true); }, 3, 3);
    anmelden("import_one_from", import_one_from, 3, 1);
    anmelden("compact", compact, 3, 1);
    anmelden("vacuum_raw", vacuum_raw, 3, 1);
    anmelden("backup", backup, 3, 1);
    return bench::runWithApplication(argc, argv);
}
