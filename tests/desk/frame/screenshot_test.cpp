#include "frame_fixture.h"

#include <array>
#include <cstdio>
#include "support/files.h"

using namespace frame_test;

namespace {

std::string ausgabe(const std::string& cmd) { return support::run(cmd).output; }

bool vorhanden(const char* programm) { return !ausgabe(std::string("command -v ") + programm).empty(); }

// The installed program, started the way `make run` starts it, on a virtual screen: after the
// splash the main window stands there with the recent data file open.
TEST_F(FrameTest, InstalledProgramShowsTheMainWindowOnAScreen) {
    if (!vorhanden("xvfb-run") || !vorhanden("import")) GTEST_SKIP() << "xvfb-run or import missing";
    const fs::path programm = fs::path(ZUV_DIST_DIR) / "zuvdesk";
    ASSERT_TRUE(fs::exists(programm));

    // A recent data file in the fresh installation, made through the program's own commands.
    h().input("Kartei");
    ASSERT_TRUE(starte());
    ASSERT_TRUE(gDateiOffen);
    const std::string datei = gDatenbankName;
    forms::resetAllWindows();
    resetGlobals();
    fs::copy_file(programm, dir / "zuvdesk");

    const fs::path bild = dir / "bildschirm.png";
    const std::string skript = "cd '" + dir.string() + "' && (./zuvdesk & pid=$!; sleep 4; import -window root '" +
                               bild.string() + "'; " + (vorhanden("xwininfo") ? "xwininfo -root -tree; " : "") +
                               "kill $pid)";
    const std::string out =
        ausgabe("env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1280x1024x24' sh -c \"" + skript + "\"");
    ASSERT_TRUE(fs::exists(bild)) << out;
    EXPECT_GT(fs::file_size(bild), 10000u);
    if (vorhanden("xwininfo")) {
        EXPECT_NE(out.find("Z.U.V. 5.0: " + datei), std::string::npos) << out;
    }
    const char* behalten = std::getenv("ZUV_SCREENSHOT");
    if (behalten) fs::copy_file(bild, behalten, fs::copy_options::overwrite_existing);
}

}  // namespace
