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
#include "desk/frame/startup.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"
#include "support/personen.h"

namespace frame_test {

namespace fs = std::filesystem;

inline fs::path installiere() {
    std::string templ = (fs::temp_directory_path() / "zuv-frame-XXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    fs::path dir = mkdtemp(buf.data());
    const std::string cmd = std::string(ZUV_BINARY_DIR) + "/install/zuv_install_tool '" + ZUV_SOURCE_DIR +
                            "/install' '" + dir.string() + "' > /dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "installation tool failed";
    return dir;
}

inline std::string lies(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        dir = installiere();
        files::setProgramFolder(dir.string());
        form9::wartezeit() = 1;
        host = std::make_unique<forms::ScriptedHostGuard>();
    }
    void TearDown() override {
        forms::resetAllWindows();
        resetGlobals();
        host.reset();
        db::DBEngine::instance().reset();
        files::setProgramFolder("");
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

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

    // Runs `schritt` once the window is showing modally (what a person does in the window).
    template <class T, class F>
    static void imModal(F schritt) {
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

    static long zahl(db::Database& d, const std::string& sql) {
        auto rs = d.OpenRecordset(sql, db::RecordsetType::Snapshot);
        rs->MoveFirst();
        return rs->Fields(0).Value().toLong();
    }

    fs::path dir;
    std::unique_ptr<forms::ScriptedHostGuard> host;
};

}  // namespace frame_test
