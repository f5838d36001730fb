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

namespace codex_test {

namespace fs = std::filesystem;
using namespace codex;

inline fs::path installiere() {
    fs::path dir = support::makeTempDir("zuv-codex");
    const std::string cmd = std::string(ZUV_BINARY_DIR) + "/install/zuv_install_tool '" + ZUV_SOURCE_DIR +
                            "/install' '" + dir.string() + "' > /dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "installation tool failed";
    return dir;
}

class CodexTest : public ::testing::Test {
protected:
    void SetUp() override {
        forms::resetAllWindows();
        resetGlobals();
        resetLeserZustand();
        setProgramm(kZuvcodex);
        db::DBEngine::instance().reset();
        dir = installiere();
        // Each test chooses its contents; the installed ones wait beside for the tests that read them.
        std::error_code ec;
        fs::rename(dir / "zuv40typ.sdb", dir / "zuv40typ.installiert", ec);
        files::setProgramFolder(dir.string());
        form9::wartezeit() = 1;
        host = std::make_unique<forms::ScriptedHostGuard>();
        draw::printer().setOutputFileName(pfad("druck.pdf"));
    }
    void TearDown() override {
        forms::resetAllWindows();
        if (draw::printer().busy()) draw::printer().KillDoc();
        draw::printer().setOutputFileName("");
        resetGlobals();
        resetLeserZustand();
        host.reset();
        db::DBEngine::instance().reset();
        files::setProgramFolder("");
        setProgramm(kZuvdesk);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void inhalt(const support::Inhalt& i = {}) { support::inhaltsdatenbankAnlegen(dir.string(), i); }
    // The content database of the installation.
    void installierterInhalt() { fs::rename(dir / "zuv40typ.installiert", dir / "zuv40typ.sdb"); }

    // The start as the splash runs it; the first tick of its timer is called directly.
    bool starte() {
        form9& s = forms::Default<form9>();
        if (!s.Zeit1.Enabled()) return false;
        s.Zeit1_Timer();
        return s.gestartet();
    }
    frmMDI& mdi() { return forms::Instance<frmMDI>(); }
    forms::ScriptedHost& h() { return **host; }
    std::string pfad(const std::string& name) const { return (dir / name).string(); }

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

    // Runs `schritt` once the window is showing modally (what a person does in it).
    template <class T>
    static void imModal(std::function<void(T&)> schritt) {
        auto* t = new QTimer;
        t->setInterval(5);
        QObject::connect(t, &QTimer::timeout, [t, schritt] {
            if (!forms::IsLoaded<T>() || !forms::Instance<T>().isModalShown()) return;
            t->stop();
            t->deleteLater();
            schritt(forms::Instance<T>());
        });
        t->start();
    }

    fs::path dir;
    std::unique_ptr<forms::ScriptedHostGuard> host;
};

}  // namespace codex_test
