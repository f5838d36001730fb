#pragma once

// ZUVDESK started on a fresh installation with a new data file, persons of fixed ratings written
// straight into it, and the print table that the report window writes for them, read back row by
// row. The decimal separator is a German desktop's.

#include <array>
#include <string>
#include <vector>

#include "desk/common/main_window_port.h"
#include "desk/frame/frame_fixture.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/reports/frm_report.h"
#include "platform/vb/locale.h"
#include "support/personen.h"

namespace druckseiten_test {

using support::Anzahlen;
using support::jederTyp;

// A type's answer counts of the values 0 to 4 that lead nowhere: total 20, ratings 3 and 4: 14.
constexpr std::array<int, 5> kMitte = {2, 2, 6, 2, 2};

// One row of the print table.
struct Zeile {
    int seite, nr;
    std::string code, text;
};

class DruckseitenTest : public frame_test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        h().input("Bericht");
        ASSERT_TRUE(starte());
        ASSERT_TRUE(gDateiOffen);
        vb::setDecimalSeparator(',');
        h().clearRecords();
    }
    void TearDown() override {
        FrameTest::TearDown();
        vb::setDecimalSeparator(0);  // the regional settings again
    }

    int32_t person(const std::string& nachname, const Anzahlen& a,
                   const support::Personendaten& daten = {{"Testdatum", vb::Variant("12.03.2026")}}) {
        return support::personSchreiben(*gDatenbank, gItemNummer, gTypNummer, "Vorname", nachname, a, true, daten);
    }

    // The full report of the person through the main window's print item, as the user asks for it.
    void berichtDrucken(int32_t id) {
        gAktPersonID = id;
        mdi().activateSelf();
        mdi().mnuPrintReport.Click();
    }

    // The pages of the chosen parts written as the report window writes them, without the layout.
    void seitenSchreiben(int32_t id, bool deckblatt, bool erlaeuterungen, bool auswertung, bool statistik) {
        gAktPersonID = id;
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(deckblatt, erlaeuterungen, auswertung, statistik);
    }

    std::vector<Zeile> drucktabelle() {
        std::vector<Zeile> z;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            z.push_back(
                {rs->Fields("Druckseite").Value().toInt(), static_cast<int>(rs->Fields("ZeilenNr").Value().toLong()),
                 vb::textOrEmpty(rs->Fields("Formatierung").Value()), vb::textOrEmpty(rs->Fields("Zeilentext").Value())});
        return z;
    }
    std::vector<Zeile> seite(int nummer) {
        std::vector<Zeile> z;
        for (const Zeile& r : drucktabelle())
            if (r.seite == nummer) z.push_back(r);
        return z;
    }
    // The text of a line of a page; "-" when the page has no such line.
    std::string text(int seiteNr, int nr) {
        for (const Zeile& r : seite(seiteNr))
            if (r.nr == nr) return r.text;
        return "-";
    }
    std::vector<int> nummern(int seiteNr) {
        std::vector<int> n;
        for (const Zeile& r : seite(seiteNr)) n.push_back(r.nr);
        return n;
    }

    // A page as the golden files hold it: "page|line|code|text|" a row.
    static std::string alsText(const std::vector<Zeile>& zeilen) {
        std::string out;
        for (const Zeile& z : zeilen)
            out += std::to_string(z.seite) + "|" + std::to_string(z.nr) + "|" + z.code + "|" + z.text + "|\n";
        return out;
    }
};

}  // namespace druckseiten_test
