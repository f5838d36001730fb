// Figures of the evaluation window: one evaluation page drawn (the median of the twelve pages of a
// person with one main type), and all twelve evaluation and six statistics pages of that person.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "bench/app_main.h"
#include "desk/common/globals.h"
#include "desk/evaluation/auswertform.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/forms/host.h"
#include "tests/support/data_file.h"

namespace {

// One session: workgroup, data file with a scored person, settings database, texts and fonts.
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
        auto t = programm->OpenRecordset("select * from Typ order by typnummer", db::RecordsetType::Snapshot);
        for (int typ = 1; !t->Eof() && typ <= 9; t->MoveNext(), ++typ)
            gTypbezeichnung[typ] = t->Fields("typbezeichnungZUVStandard").Value().toString();
        const auto tabelle = zuvtest::ladeItemTypTabelle(*programm);
        programm->Close();
        gItemNummer = tabelle.itemNummer;
        gTypNummer = tabelle.typNummer;
        gStandardschriftart = gExtraschriftart = "Arial";
        gStandardschriftGroesse = gExtraschriftGroesse = 10;
        gExtraschriftFett = true;
        gExtraschriftfarbe = vb::Variant(int32_t(8388608));

        gDatenbank->BeginTrans();
        auto p = gDatenbank->OpenRecordset("select * from persdat where personid = 0");
        p->AddNew();
        gAktPersonID = p->Fields("PersonID").Value().toLong();
        p->Fields("Vorname") = "Anna";
        p->Fields("Nachname") = "Berg";
        p->Fields("Testdatum") = "01.02.2026";
        p->Update();
        zuvtest::legeTestdatensaetzeAn(*gDatenbank, gAktPersonID, tabelle);
        gDatenbank->CommitTrans();
        // Type 3 rated highest: one main type, twelve pages.
        gDatenbank->Execute("UPDATE typwertzuweisung SET typrealwert = CASE WHEN typnummer = 3 THEN 4 "
                            "ELSE itemnummer % 4 END WHERE personid = " + std::to_string(gAktPersonID));
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

}  // namespace

int main(int argc, char** argv) { return bench::runWithApplication(argc, argv); }
