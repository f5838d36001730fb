// Figures of the test administration: a whole test stored through the test form, scoring and
// ranking of one person, and the blank questionnaire printed into a PDF file.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <filesystem>

#include "bench/app_main.h"
#include "desk/common/globals.h"
#include "desk/testing/druck.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/draw/printer.h"
#include "platform/forms/host.h"
#include "tests/support/data_file.h"

namespace {

// One session: workgroup, data file with 50 persons, settings database, texts.
struct Sitzung {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;

    std::string pfad(const char* name) { return dir.filePath(name).toStdString(); }

    Sitzung() {
        gWorkspace = gWorkspace2 = support::startWorkgroup(pfad("Sys.mda"), kBenutzer, kKennwort, kWorkspaceName);
        std::filesystem::copy_file(std::string(ZUV_DIST_DIR) + "/zuv.sdb", pfad("zuv.sdb"));
        gAppPath = dir.path().toStdString();
        gProgrammDB = pfad("zuv.sdb");
        gDatenbankName = pfad("bench.ZDB");
        gDatenbank = gWorkspace->CreateDatabase(gDatenbankName);
        for (const char* sql : support::kDataFileStatements) gDatenbank->Execute(sql);
        auto programm = gWorkspace->OpenDatabase(gProgrammDB);
        auto l = programm->OpenRecordset("select * from labelTxt order by ID", db::RecordsetType::Snapshot);
        for (; !l->Eof(); l->MoveNext()) gLabelTxt.push_back(l->Fields("BeschriftungDtsch").Value().toString());
        auto d = programm->OpenRecordset("select * from DialogTxt order by ID", db::RecordsetType::Snapshot);
        for (; !d->Eof(); d->MoveNext())
            gDialogTxt.push_back({d->Fields("ID").Value().toInt(), d->Fields("BeschriftungDtsch").Value().toString()});
        tabelle = zuvtest::ladeItemTypTabelle(*programm);
        programm->Close();
        gItemNummer = tabelle.itemNummer;
        gTypNummer = tabelle.typNummer;
        for (int i = 0; i < 50; ++i) gAktPersonID = person("Person " + std::to_string(i));
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berg";
        gAktPerson[11] = "01.02.2026";
        gSensitivity1 = 0.85f;
    }

    int32_t person(const std::string& name) {
        gDatenbank->BeginTrans();
        auto p = gDatenbank->OpenRecordset("select * from persdat where personid = 0");
        p->AddNew();
        const int32_t id = p->Fields("PersonID").Value().toLong();
        p->Fields("Vorname") = name;
        p->Fields("Nachname") = name;
        p->Fields("Testdatum") = "01.02.2026";
        p->Update();
        zuvtest::legeTestdatensaetzeAn(*gDatenbank, id, tabelle);
        gDatenbank->CommitTrans();
        return id;
    }

    zuvtest::ItemTypTabelle tabelle;
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
