#pragma once

// A fresh installation folder per test, made by the installation tool, the scripted Host, and a
// program started in it the way its splash does it (without the one-second wait).

#include <gtest/gtest.h>

#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/sobald.h"

#include <typeinfo>
#include "desk/common/globals.h"
#include "platform/db/engine.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "support/scripted_host.h"
#include "support/files.h"

namespace support {

// A new folder `stem`-XXXXXX in the temporary folder with a whole installation in it. Without
// one there is nothing to test: it throws, so that a fixture's SetUp stops before the test runs.
inline fs::path installationAnlegen(const std::string& stem) {
    const fs::path dir = makeTempDir(stem);
    const std::string cmd = std::string(ZUV_BINARY_DIR) + "/install/zuv_install_tool '" + ZUV_SOURCE_DIR + "/install' '" +
                            dir.string() + "'";
    const RunResult r = run(cmd);
    if (r.status != 0)
        throw std::runtime_error("installation tool failed (" + std::to_string(r.status) + "): " + r.output);
    return dir;
}

// `Splash` is the program's splash window; `Hauptfenster` its main window.
template <class Splash, class Hauptfenster>
class ProgrammTest : public ::testing::Test {
protected:
    explicit ProgrammTest(std::string stem) : m_stem(std::move(stem)) {}

    void SetUp() override {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        dir = installationAnlegen(m_stem);
        files::setProgramFolder(dir.string());
        Splash::wartezeit() = 1;
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
        Splash& s = forms::Default<Splash>();
        if (!s.Zeit1.Enabled()) return false;
        s.Zeit1_Timer();
        return s.gestartet();
    }
    Hauptfenster& mdi() { return forms::Instance<Hauptfenster>(); }
    forms::ScriptedHost& h() { return **host; }
    std::string pfad(const std::string& name) const { return (dir / name).string(); }

    // Runs `schritt` once the window is showing modally (what a person does in the window).
    template <class T, class F>
    static void imModal(F schritt) {
        support::sobald(std::string("the modal window ") + typeid(T).name(), [schritt] {
            if (!forms::IsLoaded<T>() || !forms::Instance<T>().isModalShown()) return false;
            schritt(forms::Instance<T>());
            return true;
        });
    }

    fs::path dir;
    std::unique_ptr<forms::ScriptedHostGuard> host;

private:
    std::string m_stem;
};

}  // namespace support
