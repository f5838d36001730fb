#pragma once

// A content database for the reader's tests and benchmarks, made through the engine with the tables
// and the stored query the reader reads: typ, thementitel, thema, Literatur, themenalleinfos.

#include <functional>
#include <memory>
#include <string>

#include "desk/common/engine_setup.h"
#include "desk/common/globals.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/vb/variant.h"
#include "tests/support/inhalt_schema.h"

namespace support {

struct Inhalt {
    int themen = 56;
    // Title of topic t (from 1) and its text for type y; Null where the function gives nullopt.
    std::function<std::string(int t)> titel = [](int t) { return "Thema " + std::to_string(t); };
    std::function<vb::Variant(int t, int y)> text = [](int t, int y) {
        return vb::Variant("Text zu Thema " + std::to_string(t) + " für Typ " + std::to_string(y) +
                           ". Ein zweiter Satz gehört dazu.\r\nEin neuer Absatz schließt ihn ab.");
    };
    // Literature of topic t: 1 the full reference, 2 the author alone, 3 a row without author.
    std::function<int(int t)> literatur = [](int t) { return t % 2 == 0 ? 2 : 1; };
};

// Builds the file in a folder whose workgroup file the engine uses (the installation folder).
inline void inhaltsdatenbankAnlegen(const std::string& ordner, const Inhalt& inhalt = {}) {
    EngineEinstellen(ordner);
    auto ws = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
    auto c = ws->CreateDatabase(ordner + "/zuv40typ.sdb", "", db::dbInstallation);
    for (const char* sql : support::kInhaltsTabellen) c->Execute(sql);
    c->BeginTrans();
    {
        auto typ = c->OpenRecordset("typ");
        for (int y = 1; y <= 9; ++y) {
            typ->AddNew();
            typ->Fields("typnummer") = vb::Variant(int16_t(y));
            typ->Update();
        }
        auto titel = c->OpenRecordset("thementitel");
        for (int t = 1; t <= inhalt.themen; ++t) {
            titel->AddNew();
            titel->Fields("thementitelid") = vb::Variant(int32_t(t));
            titel->Fields("Titel") = vb::Variant(inhalt.titel(t));
            titel->Update();
        }
        c->Execute(
            "INSERT INTO Literatur (literaturid, Autor, Titel, Herausgeber, Verlag, Jahr) VALUES "
            "(1, 'Redaktion Z.U.V.', 'Die neun Typen', 'Arbeitsgruppe Typen', 'Eigenverlag', '2024')");
        c->Execute("INSERT INTO Literatur (literaturid, Autor) VALUES (2, 'Redaktion Z.U.V.')");
        c->Execute("INSERT INTO Literatur (literaturid, Reihe) VALUES (3, 'Arbeitshefte')");
        auto thema = c->OpenRecordset("thema");
        for (int y = 1; y <= 9; ++y)
            for (int t = 1; t <= inhalt.themen; ++t) {
                thema->AddNew();
                thema->Fields("thementitelid") = vb::Variant(int32_t(t));
                thema->Fields("enneatypid") = vb::Variant(int16_t(y));
                thema->Fields("Inhalt") = inhalt.text(t, y);
                thema->Fields("literaturid") = vb::Variant(int32_t(inhalt.literatur(t)));
                thema->Update();
            }
    }
    c->CommitTrans();
    c->Close();
    db::DBEngine::instance().reset();
}

}  // namespace support
