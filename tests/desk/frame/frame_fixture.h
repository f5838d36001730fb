#pragma once

// A fresh installation folder per test, the scripted Host, and ZUVDESK started in it the way the
// splash does it (without its one-second wait).

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desk/common/form4.h"
#include "desk/frame/frm_assist.h"
#include "desk/frame/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/common/engine_setup.h"
#include "desk/frame/startup.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "support/data_file.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"
#include "support/personen.h"
#include "support/programm_test.h"

namespace frame_test {

namespace fs = std::filesystem;

class FrameTest : public support::ProgrammTest<form9, frmMDI> {
protected:
    FrameTest() : ProgrammTest("zuv-frame") {}

    // A data file made through the program's own New command.
    std::string neueDatei(const std::string& name) {
        h().chooseFile(pfad(name));
        mdi().mnuNew_Click();
        return gDatenbankName;
    }

    // Persons with all their rows, written straight into a data file in one transaction (the
    // person window is not part of the frame). Names are "Vorname<k>"/"Nachname<k>".
    static void personenAnlegen(db::Database& d, int anzahl, int start = 1) {
        // 126 item-type pairs of their own: the frame's tests need no statement table.
        std::vector<int16_t> itemNummer, typNummer;
        for (int i = 1; i <= 126; ++i) {
            itemNummer.push_back(int16_t(1 + (i - 1) % 109));
            typNummer.push_back(int16_t(1 + i % 9));
        }
        d.BeginTrans();
        for (int k = start; k < start + anzahl; ++k) {
            support::Zeilenwerte w;
            w.antwort = [k](int i) { return vb::Variant(int16_t((i + k) % 5)); };
            w.typWert = [k](size_t) { return vb::Variant(int16_t(k % 5)); };
            w.gesamt = [k](int typ) { return vb::Variant(int16_t(k * 10 + typ)); };
            support::personMitZeilen(d, itemNummer, typNummer,
                                     {{"Vorname", vb::Variant("Vorname" + std::to_string(k))},
                                      {"Nachname", vb::Variant("Nachname" + std::to_string(k))},
                                      {"Testdatum", vb::Variant("01.02.2026")}},
                                     w);
        }
        d.CommitTrans();
    }

    // A data file of this installation's workgroup with `personen` whole persons, written through
    // the engine and closed again; the engine is reset, so that a program started afterwards (in
    // a child process too) begins from nothing.
    std::string datenDatei(const std::string& name, int personen) {
        EngineEinstellen(dir.string());
        auto ws = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
        auto d = support::makeDataFile(*ws, pfad(name));
        if (personen > 0) personenAnlegen(*d, personen);
        d->Close();
        db::DBEngine::instance().reset();
        return pfad(name);
    }
    // The file the next start reopens.
    void zuletztGeoeffnet(const std::string& datei) {
        std::ofstream(dir / "Zuv50.ini", std::ios::app) << "[File1]\r\n1=" << datei << "\r\n";
    }

    // The text of a PDF file as pdftotext reads it.
    static std::string pdfText(const std::string& pdf) {
        return support::run("pdftotext " + support::shellQuote(pdf) + " -").output;
    }

    static long zahl(db::Database& d, const std::string& sql) {
        auto rs = d.OpenRecordset(sql, db::RecordsetType::Snapshot);
        rs->MoveFirst();
        return rs->Fields(0).Value().toLong();
    }
};

}  // namespace frame_test
