#pragma once

// A fresh installation folder per test with a content database of its own, the scripted Host, and
// the reader started in it the way its splash does it (without the one-second wait). PDFs go into
// the folder instead of a printer.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "codex/form2.h"
#include "codex/form9.h"
#include "codex/frm_druck_man.h"
#include "codex/frm_mdi.h"
#include "codex/frm_print_preview.h"
#include "codex/modul_global.h"
#include "desk/common/form4.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "platform/db/engine.h"
#include "platform/draw/printer.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "support/files.h"
#include "support/inhalt_db.h"
#include "support/programm_test.h"

namespace codex_test {

namespace fs = std::filesystem;
using namespace codex;

class CodexTest : public support::ProgrammTest<form9, frmMDI> {
protected:
    CodexTest() : ProgrammTest("zuv-codex") {}

    void SetUp() override {
        ProgrammTest::SetUp();
        resetLeserZustand();
        setProgramm(kZuvcodex);
        // Each test chooses its contents; the installed ones wait beside for the tests that read them.
        std::error_code ec;
        fs::rename(dir / "zuv40typ.sdb", dir / "zuv40typ.installiert", ec);
        draw::printer().setOutputFileName(pfad("druck.pdf"));
    }
    void TearDown() override {
        forms::resetAllWindows();
        if (draw::printer().busy()) draw::printer().KillDoc();
        draw::printer().setOutputFileName("");
        resetLeserZustand();
        ProgrammTest::TearDown();
        setProgramm(kZuvdesk);
    }

    void inhalt(const support::Inhalt& i = {}) { support::inhaltsdatenbankAnlegen(dir.string(), i); }
    // The content database of the installation.
    void installierterInhalt() { fs::rename(dir / "zuv40typ.installiert", dir / "zuv40typ.sdb"); }

    // The open description windows in the order they were opened.
    std::vector<Form2*> fenster() {
        std::vector<Form2*> f;
        for (forms::Form* c : mdi().children())
            if (auto* d = dynamic_cast<Form2*>(c)) f.push_back(d);
        return f;
    }
    Form2& erstes() { return *fenster().at(0); }

    // Lets the event loop run (window activation, deferred deletion).
    static void warte(int ms = 20) {
        QTimer t;
        t.setSingleShot(true);
        QEventLoop l;
        QObject::connect(&t, &QTimer::timeout, &l, &QEventLoop::quit);
        t.start(ms);
        l.exec();
    }

    // The print manager as the menu item of mode `modus` (Option1's index) opens it.
    frmDruckMan& manager(int modus) {
        forms::MenuItem* m[4] = {&mdi().mnuDruckTypKurz, &mdi().mnuDruckTypLang, &mdi().mnuDruckThema,
                                 &mdi().mnuDruckAlleThemen};
        m[modus]->choose();
        return forms::Instance<frmDruckMan>();
    }
};

}  // namespace codex_test
