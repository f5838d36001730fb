// Pictures of every evaluation and statistics page on a real screen, for looking at them: runs only
// when ZUV_BILDSCHIRM names a folder (and DISPLAY a screen), e.g.
//   Xvfb :57 -screen 0 1366x768x24 & DISPLAY=:57 openbox &
//   DISPLAY=:57 QT_QPA_PLATFORM=xcb ZUV_BILDSCHIRM=/tmp/bilder build/tests/test_desk_evaluation --gtest_filter='Bildschirm*'
// ZUV_SCHRIFTGROESSE sets the size of both page fonts (a large font setting).

#include <QApplication>
#include <QThread>

#include <cstdlib>
#include <filesystem>

#include "auswert_fixture.h"

using namespace auswert_test;

namespace {

class Bildschirm : public AuswertTest {
protected:
    void aufnehmen(const std::string& datei) {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        const std::string cmd = "import -window root '" + datei + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
};

}  // namespace

TEST_F(Bildschirm, EveryPageOnScreen) {
    const char* ordner = std::getenv("ZUV_BILDSCHIRM");
    if (!ordner) GTEST_SKIP() << "ZUV_BILDSCHIRM not set";
    std::filesystem::create_directories(ordner);
    if (const char* g = std::getenv("ZUV_SCHRIFTGROESSE")) {
        gStandardschriftGroesse = static_cast<int16_t>(std::atoi(g));
        gExtraschriftGroesse = static_cast<int16_t>(std::atoi(g));
    }
    mdi().Show();
    mdi().showMaximized();
    forms::Instance<frmAssist>().Hide();
    waehle(person("Greta", "Hahn",
                  {{{},
                    {2, 2, 6, 2, 2},
                    {2, 2, 6, 2, 2},
                    {0, 0, 2, 2, 10},
                    {1, 3, 6, 3, 1},
                    {2, 2, 6, 2, 2},
                    {3, 2, 5, 2, 2},
                    {2, 2, 6, 2, 2},
                    {2, 3, 5, 2, 2},
                    {2, 2, 6, 3, 1}}}));
    for (const char* art : {"auswertung", "statistik"}) {
        auswertform* f = std::string(art) == "auswertung" ? auswertung() : statistik();
        ASSERT_NE(f, nullptr);
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        mdi().arrangeChildren(2);
        for (int seite = 1;; ++seite) {
            aufnehmen(std::string(ordner) + "/" + art + "_" + std::to_string(seite) + ".png");
            if (seite >= f->Seitenanzahl()) break;
            f->SSCommand2_Click();
        }
        f->Befehl3_Click();
    }
}
