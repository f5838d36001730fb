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
    // The screen is taken once the main window stands there with its caption and has painted
    // (a screen with nothing on it is a few hundred bytes as PNG); a minute at most.
    const bool fenster = vorhanden("xwininfo");
    const std::string b = support::shellQuote(bild.string());
    support::writeFile(dir / "bildschirm.sh", "cd " + support::shellQuote(dir.string()) +
                                                  "\n./zuvdesk &\npid=$!\ni=0\n"
                                                  "while [ $i -lt 300 ]; do\n" +
                                                  (fenster ? "  if xwininfo -root -tree | grep -q 'Z.U.V. 5.0: '; then\n"
                                                           : "  if true; then\n") +
                                                  "    import -window root " + b + " && [ $(stat -c %s " + b +
                                                  ") -gt 10000 ] && break\n"
                                                  "  fi\n  i=$((i+1))\n  sleep 0.2\ndone\n" +
                                                  (fenster ? "xwininfo -root -tree\n" : "") + "kill $pid\nwait $pid\n");
    const std::string out = ausgabe("env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1280x1024x24' sh " +
                                    support::shellQuote((dir / "bildschirm.sh").string()));
    ASSERT_TRUE(fs::exists(bild)) << out;
    EXPECT_GT(fs::file_size(bild), 10000u);
    if (fenster) {
        EXPECT_NE(out.find("Z.U.V. 5.0: " + datei), std::string::npos) << out;
    }
    const char* behalten = std::getenv("ZUV_SCREENSHOT");
    if (behalten) fs::copy_file(bild, behalten, fs::copy_options::overwrite_existing);
}

}  // namespace
