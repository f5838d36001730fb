// Figures of the database engine for the data file traffic of the desk program.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "desk/testing/item_typ.h"
#include "tests/support/data_file.h"

namespace {

struct Setup {
    QTemporaryDir dir;
    std::shared_ptr<db::Workspace> ws;
    Setup() { ws = support::startWorkgroup(path("Sys.mda"), "KestrelAdmin", "MossGlade"); }
    std::string path(const std::string& n) const { return dir.filePath(QString::fromStdString(n)).toStdString(); }
};

// The person row and the blank rows through the main window's cursors, in one transaction.
int writePerson(db::Database& d, db::DataControl& pers, db::DataControl* blank[3]) {
    d.BeginTrans();
    auto p = pers.Recordset();
    p->AddNew();
    const int id = p->Fields("PersonID").Value().toLong();
    p->Fields("Vorname") = "Anna";
    p->Fields("Nachname") = "Berg";
    p->Fields("Testdatum") = "09.12.2026";
    p->Fields("Metasatz") = 0;
    p->Update();
    auto a = blank[0]->Recordset();
    for (int i = 1; i <= 109; ++i) {
        a->AddNew();
        a->Fields("personid") = id;
        a->Fields("itemnummer") = i;
        a->Fields("itemwert") = vb::Variant::null();
        a->Update();
    }
    auto t = blank[1]->Recordset();
    for (int i = 0; i < 126; ++i) {
        t->AddNew();
        t->Fields("personid") = id;
        t->Fields("itemnummer") = std::to_string(i < 109 ? i + 1 : (i - 109) * 5 + 5);
        t->Fields("typnummer") = std::to_string(i % 9 + 1);
        t->Fields("typrealwert") = vb::Variant::null();
        t->Update();
    }
    auto e = blank[2]->Recordset();
    for (int i = 1; i <= 9; ++i) {
        e->AddNew();
        e->Fields("personid") = id;
        e->Fields("typnummer") = i;
        e->Update();
    }
    d.CommitTrans();
    return id;
}

struct PersonFile : Setup {
    std::shared_ptr<db::Database> d;
    db::DataControl pers, answers, types, results;
    db::DataControl* blank[3] = {&answers, &types, &results};
    int id = 0;
    PersonFile() {
        d = support::makeDataFile(*ws, path("bench.ZDB"));
        bind(pers, "select * from persdat where personid = 0");
        bind(answers, "select * from persontestergebnis where personid = 0");
        bind(types, "select * from typwertzuweisung where personid = 0");
        bind(results, "select * from ergebnis where personid = 0");
        for (int k = 0; k < 50; ++k) id = writePerson(*d, pers, blank);  // a file in use holds persons
    }
    void bind(db::DataControl& dc, const std::string& source) {
        dc.setDatabaseName(path("bench.ZDB"));
        dc.setRecordSource(source);
        dc.Refresh();
    }
};

void new_data_file(benchmark::State& state) {
    Setup s;
    int n = 0;
    for (auto _ : state) {
        auto d = support::makeDataFile(*s.ws, s.path("neu" + std::to_string(n++) + ".ZDB"));
        d->Close();
    }
}
BENCHMARK(new_data_file)->Unit(benchmark::kMillisecond);

void new_person(benchmark::State& state) {
    PersonFile f;
    for (auto _ : state) benchmark::DoNotOptimize(writePerson(*f.d, f.pers, f.blank));
}
BENCHMARK(new_person)->Unit(benchmark::kMillisecond);

void store_rating(benchmark::State& state) {
    PersonFile f;
    const std::string id = std::to_string(f.id);
    f.bind(f.answers, "select * from persontestergebnis where personid like " + id);
    f.bind(f.types, "select * from typwertzuweisung where personid like " + id);
    int item = 0;
    for (auto _ : state) {
        // What the test form does: find the answer row, then store the rating with its item-type
        // rows in one transaction.
        item = item % 109 + 1;
        auto a = f.answers.Recordset();
        a->FindFirst("itemnummer like " + std::to_string(item));
        zuvtest::bewertungSpeichern(*f.answers.Database(), *a, *f.types.Recordset(), item,
                                    vb::Variant(static_cast<int16_t>(item % 5)));
    }
}
BENCHMARK(store_rating)->Unit(benchmark::kMillisecond);

void score_traffic(benchmark::State& state) {
    PersonFile f;
    const std::string id = " " + std::to_string(f.id);
    db::DataControl data1, data2;
    for (auto _ : state) {
        f.bind(data1, "select * from typwertzuweisung where personid = " + id);
        f.bind(data2, "select * from ergebnis where personid = " + id);
        auto t = data1.Recordset();
        t->MoveFirst();
        t->FindFirst("typrealwert is Null");
        int sums[10] = {};
        for (t->MoveFirst(); !t->Eof(); t->MoveNext()) {
            const int type = t->Fields("typnummer").Value().toInt();
            const vb::Variant v = t->Fields("typrealwert").Value();
            if (!v.isNull() && type >= 1 && type <= 9) sums[type] += v.toInt();
        }
        auto e = data2.Recordset();
        for (e->MoveFirst(); !e->Eof(); e->MoveNext()) {
            e->Edit();
            const int type = e->Fields("typnummer").Value().toInt();
            for (const char* name : {"typgesamtsumme", "typsumme0", "typsumme1", "typsumme01", "typsumme2", "typsumme3",
                                     "typsumme4", "typsumme34", "aw0", "aw1", "aw2", "aw3", "aw4", "awgesamt"})
                e->Fields(name) = sums[type];
            e->Update();
        }
    }
}
BENCHMARK(score_traffic)->Unit(benchmark::kMillisecond);

// A full report: the print table emptied, the main window's control bound to it, then 24 pages of
// lines appended one AddNew/Update at a time, as the line writer does (1,500 lines).
void report_lines(benchmark::State& state) {
    PersonFile f;
    db::DataControl data5;
    for (auto _ : state) {
        f.d->Execute("DELETE * FROM Drucktabelle;");
        f.bind(data5, "Drucktabelle");
        int written = 0;
        for (int16_t page = 1; page <= 24 && written < 1500; ++page) {
            for (int16_t line = 0; line < 63 && written < 1500; ++line, ++written) {
                auto rs = data5.Recordset();
                rs->AddNew();
                rs->Fields("Druckseite") = page;
                rs->Fields("ZeilenNr") = line;
                rs->Fields("ZeilenText") = line ? "Zeile " + std::to_string(line) + " der Seite " + std::to_string(page)
                                                : std::string();
                rs->Fields("Formatierung") = line == 1 ? "U1" : "DE";
                rs->Update();
            }
        }
        benchmark::DoNotOptimize(written);
    }
}
BENCHMARK(report_lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
