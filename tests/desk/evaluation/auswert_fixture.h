#pragma once

// Whole-command tests of the evaluation window: ZUVDESK started in a fresh installation folder with
// a new data file, persons whose ratings are written straight into their item-type rows, and the
// evaluation opened through the main window's commands.

#include <array>
#include <cstdio>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "desk/evaluation/auswertform.h"
#include "desk/frame/frame_fixture.h"
#include "platform/vb/locale.h"
#include "support/personen.h"
#include "support/files.h"

namespace auswert_test {

// What an outside program prints.
inline std::string befehl(const std::string& cmd) { return support::run(cmd).output; }

// Per type 1..9 how many of its 14 item-type rows carry the rating 0, 1, 2, 3, 4; rows beyond
// the sum stay unanswered.
using support::Anzahlen;
using support::jederTyp;

class AuswertTest : public frame_test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        neueDatei("Auswertung.ZDB");
        ASSERT_TRUE(gDateiOffen);
        vb::setDecimalSeparator(',');  // a German desktop
        h().clearRecords();
    }
    void TearDown() override {
        FrameTest::TearDown();
        vb::setDecimalSeparator(0);  // the regional settings again
    }

    // A person with all the rows the person window makes, the ratings as given.
    int32_t person(const std::string& vorname, const std::string& nachname, const Anzahlen& a, bool mitErgebnis = true) {
        return support::personSchreiben(*gDatenbank, gItemNummer, gTypNummer, vorname, nachname, a, mitErgebnis);
    }

    // The person becomes the current one, as the person chooser makes it.
    void waehle(int32_t id) { gAktPersonID = id; }

    auswertform* aktiv() { return dynamic_cast<auswertform*>(mdi().ActiveForm()); }

    // The commands as the menu runs them; the window made, or nullptr when none opened.
    auswertform* auswertung() {
        const int vorher = gFensterAnzahl;
        mdi().mnuAuswertung.choose();
        return gFensterAnzahl > vorher ? aktiv() : nullptr;
    }
    auswertform* statistik() {
        const int vorher = gFensterAnzahl;
        mdi().mnuStatistik.choose();
        return gFensterAnzahl > vorher ? aktiv() : nullptr;
    }

    // The lines of the page on view, as a reader sees them, with the print styles marked:
    // «extra colour», *bold*, /italic/; " | " where a gap lies between two pieces of a line.
    static std::vector<std::string> zeilen(const auswertform& f) {
        const int32_t extra = gExtraschriftfarbe.isEmpty() ? 0 : gExtraschriftfarbe.toLong();
        std::map<long, std::vector<const draw::LogEntry*>> jeZeile;
        for (const draw::LogEntry& e : f.Bild1.log()) jeZeile[std::lround(e.y)].push_back(&e);
        std::vector<std::string> out;
        for (auto& [y, stuecke] : jeZeile) {
            std::sort(stuecke.begin(), stuecke.end(), [](auto* a, auto* b) { return a->x < b->x; });
            std::string z;
            double ende = -1e9;
            for (const draw::LogEntry* e : stuecke) {
                if (!z.empty() && e->x > ende + 1) z += " | ";
                std::string t = e->text;
                if (e->italic) t = "/" + t + "/";
                if (e->bold) t = "*" + t + "*";
                if (e->color == extra && extra != 0) t = "«" + t + "»";
                z += t;
                ende = e->x + e->width;
            }
            out.push_back(z);
        }
        return out;
    }

    // The plain text of the page on view, one string.
    static std::string text(const auswertform& f) {
        std::string t;
        for (const std::string& z : f.Bild1.pageLines(1)) t += z + "\n";
        return t;
    }
};

}  // namespace auswert_test
