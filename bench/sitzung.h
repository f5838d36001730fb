#pragma once

// The sessions the benchmark programs run in.

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "desk/common/engine_setup.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/frame/startup.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "tests/support/scripted_host.h"
#include "tests/support/data_file.h"
#include "tests/support/personen.h"

namespace bench {

namespace fs = std::filesystem;

// A copy of the installation folder as the program folder, whose INI file names the copy as the
// data folder too, so that what a run writes (data files, exchange pictures) stays in the copy.
// Everything the programs set up is reset when it ends.
struct Installation {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;

    Installation() {
        const std::string ziel = dir.path().toStdString();
        fs::copy(ZUV_DIST_DIR, ziel, fs::copy_options::recursive);
        std::stringstream ini;
        ini << std::ifstream(pfad("Zuv50.ini")).rdbuf();
        std::string text = ini.str();
        for (size_t p; (p = text.find(ZUV_DIST_DIR)) != std::string::npos;)
            text.replace(p, std::string(ZUV_DIST_DIR).size(), ziel);
        std::ofstream(pfad("Zuv50.ini")) << text;
        files::setProgramFolder(ziel);
        form9::wartezeit() = 1;
    }
    ~Installation() {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        files::setProgramFolder("");
    }
    std::string pfad(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
};

// ZUVDESK started in an Installation up to its main window, the start's question for a data file
// answered with a new one, and in it Anna Berg, who answered every statement, chosen as the
// current person the way the person chooser chooses.
struct DeskMitPerson : Installation {
    DeskMitPerson() {
        host->input("Kartei");
        forms::Default<form9>().Zeit1_Timer();
        if (!gDateiOffen) throw std::runtime_error("no data file");
        support::Zeilenwerte w;
        w.antwort = [](int i) { return vb::Variant(int16_t(i % 5)); };
        w.typWert = [](size_t k) { return vb::Variant(int16_t((k * 7) % 5)); };
        gAktPersonID = support::personMitZeilen(*gDatenbank, gItemNummer, gTypNummer,
                                                {{"Vorname", vb::Variant("Anna")},
                                                 {"Nachname", vb::Variant("Berg")},
                                                 {"Testdatum", vb::Variant("01.02.2026")}},
                                                w);
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berg";
        gAktPerson[11] = "01.02.2026";
        EnableFileMenus();
    }
};

// The program's data without its windows, in a folder of its own: the workgroup, a copy of the
// settings database with the interface texts (loaded as the programs' start loads them) and the
// statement-to-type table loaded, and a new data file.
struct Daten {
    QTemporaryDir dir;
    forms::ScriptedHostGuard host;
    zuvtest::ItemTypTabelle tabelle;

    std::string pfad(const char* name) { return dir.filePath(name).toStdString(); }

    Daten() {
        gWorkspace = gWorkspace2 = support::startWorkgroup(pfad("Sys.mda"), kBenutzer, kKennwort, kWorkspaceName);
        fs::copy_file(std::string(ZUV_DIST_DIR) + "/zuv.sdb", pfad("zuv.sdb"));
        gAppPath = dir.path().toStdString();
        gProgrammDB = pfad("zuv.sdb");
        gDatenbankName = pfad("bench.ZDB");
        gDatenbank = gWorkspace->CreateDatabase(gDatenbankName);
        for (const char* sql : support::kDataFileStatements) gDatenbank->Execute(sql);
        StartTexteLaden();
        auto programm = gWorkspace->OpenDatabase(gProgrammDB);
        tabelle = zuvtest::ladeItemTypTabelle(*programm);
        programm->Close();
        gItemNummer = tabelle.itemNummer;
        gTypNummer = tabelle.typNummer;
    }

    // A person as the person window saves it.
    int32_t person(const std::string& vorname, const std::string& nachname) {
        return support::neuePerson(*gDatenbank, tabelle,
                                   {{"Vorname", vb::Variant(vorname)},
                                    {"Nachname", vb::Variant(nachname)},
                                    {"Testdatum", vb::Variant("01.02.2026")}});
    }
};

}  // namespace bench
