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
    if (!vorhanden("Xvfb") || !vorhanden("import")) GTEST_SKIP() << "Xvfb or import missing";
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
    // The screen is one of this test's own: the X server takes the first display number no other
    // server holds, lock and sockets at once, and says which. (Choosing a number by the lock files
    // first, as xvfb-run -a does, lets two tests started at the same moment pick the same one, and
    // the program then reaches the other test's server.) The server does not reset when its last
    // client leaves: the looks at the screen below come and go while the program is still starting,
    // and a program that connects while the server resets finds no display. The screen is taken
    // once the main window stands there with its caption and has painted (a screen with nothing on
    // it is a few hundred bytes as PNG); a minute at most, and no longer once the program has ended.
    const bool fenster = vorhanden("xwininfo");
    const std::string b = support::shellQuote(bild.string());
    support::writeFile(dir / "bildschirm.sh",
                       "cd " + support::shellQuote(dir.string()) +
                           "\nXvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>anzeige 2>xvfb.log &\n"
                           "xvfb=$!\ntrap 'kill $xvfb 2>/dev/null; wait $xvfb' EXIT\ni=0\n"
                           "while [ ! -s anzeige ] && kill -0 $xvfb 2>/dev/null && [ $i -lt 600 ]; do\n"
                           "  i=$((i+1))\n  sleep 0.1\ndone\n"
                           "[ -s anzeige ] || { echo 'Xvfb did not start:'; cat xvfb.log; exit 1; }\n"
                           "DISPLAY=:$(cat anzeige)\nexport DISPLAY\n"
                           "./zuvdesk &\npid=$!\ni=0\n"
                           "while [ $i -lt 300 ] && kill -0 $pid 2>/dev/null; do\n" +
                           (fenster ? "  if xwininfo -root -tree | grep -q 'Z.U.V. 5.0: '; then\n"
                                    : "  if true; then\n") +
                           "    import -window root " + b + " && [ $(stat -c %s " + b +
                           ") -gt 10000 ] && break\n"
                           "  fi\n  i=$((i+1))\n  sleep 0.2\ndone\n" +
                           (fenster ? "xwininfo -root -tree\n" : "") + "kill $pid\nwait $pid\n");
    const std::string out = ausgabe("env -u QT_QPA_PLATFORM sh " + support::shellQuote((dir / "bildschirm.sh").string()));
    ASSERT_TRUE(fs::exists(bild)) << out;
    EXPECT_GT(fs::file_size(bild), 10000u);
    if (fenster) {
        EXPECT_NE(out.find("Z.U.V. 5.0: " + datei), std::string::npos) << out;
    }
    const char* behalten = std::getenv("ZUV_SCREENSHOT");
    if (behalten) fs::copy_file(bild, behalten, fs::copy_options::overwrite_existing);
}

}  // namespace
