// How the print engine breaks a text into lines and pages: blanks, carriage returns and line feeds,
// over-long words, the line spacing and the page change.

#include "codex_fixture.h"

#include <cmath>
#include <map>

#include "platform/vb/strings.h"

using namespace codex_test;

namespace {

class Umbruch : public CodexTest {
protected:
    void SetUp() override {
        CodexTest::SetUp();
        inhalt();
        ASSERT_TRUE(starte());
        d = &forms::Default<frmDruckMan>();
        for (auto& c : d->Check1) c.setValue(0);
        for (auto& c : d->Check2) c.setValue(0);
        for (auto& c : d->Check4) c.setValue(0);
    }
    struct Zeile {
        double y;
        std::string text;
        double rechts;  // right end in twips
    };
    // The printer at the text start of page 1 in Arial of `groesse` points, as a run sets it up.
    draw::Printer& anfangen(int abstand, double groesse) {
        draw::Printer& p = draw::printer();
        // Each measured document into the file anew: a file set takes the one document it was set for.
        p.setOutputFileName(pfad("druck.pdf"));
        p.clearLog();
        gAusgabe = &p;
        gDruckZeilenabstand = static_cast<int16_t>(abstand);
        d->Vorschau = false;
        d->Messtext = "Texthoehe";
        d->Druckhoehe = 0;
        p.setFont("Arial", groesse, false, false);
        p.setCurrentY(4200);
        return p;
    }
    // Prints `text` at tab column 10 from the text start of page 1, as a topic's text is printed.
    std::vector<Zeile> umbrechen(const std::string& text, int abstand = 1) {
        draw::Printer& p = anfangen(abstand, 10);
        d->PrintString(text, 10);
        hoehe = d->Druckhoehe;
        p.Print({"Ende"});
        p.EndDoc();
        std::map<long, Zeile> nachY;
        for (const auto& e : p.log()) {
            if (e.page != 1) continue;
            auto& z = nachY[std::lround(e.y)];
            z.y = e.y;
            z.text += e.text;
            z.rechts = std::max(z.rechts, e.x + e.width);
        }
        std::vector<Zeile> z;
        for (auto& [y, zeile] : nachY) z.push_back(zeile);
        return z;
    }
    // The line height of the text umbrechen prints, measured in its font whatever the printer had.
    double zeilenhoehe() { return anfangen(1, 10).TextHeight("Texthoehe"); }
    frmDruckMan* d = nullptr;
    int hoehe = 0;
};

TEST_F(Umbruch, EmptyTextsAndLineEndsCountTheirLines) {
    const double L = zeilenhoehe();
    auto z = umbrechen("");
    EXPECT_NEAR(hoehe, L, 1);
    ASSERT_EQ(z.size(), 1u);  // only "Ende", one line below the start
    EXPECT_NEAR(z[0].y, 4200 + L, 1);

    z = umbrechen("Ein Satz.\r\n");
    EXPECT_NEAR(hoehe, 2 * L, 2);
    ASSERT_EQ(z.size(), 2u);
    EXPECT_EQ(z[0].text, "Ein Satz.");
    EXPECT_NEAR(z[1].y - z[0].y, 2 * L, 1);

    // An empty paragraph is an empty line.
    z = umbrechen("eins\r\n\r\nzwei");
    ASSERT_EQ(z.size(), 3u);
    EXPECT_EQ(z[1].text, "zwei");
    EXPECT_NEAR(z[1].y - z[0].y, 2 * L, 1);
}

TEST_F(Umbruch, NoCharacterIsLostAtALineEnd) {
    // A carriage return alone ends the line and keeps the next character; so does a line feed alone.
    auto z = umbrechen("eins\rXzwei\ndrei");
    ASSERT_EQ(z.size(), 4u);
    EXPECT_EQ(z[0].text, "eins");
    EXPECT_EQ(z[1].text, "Xzwei");
    EXPECT_EQ(z[2].text, "drei");
    EXPECT_NEAR(hoehe, 3 * zeilenhoehe(), 2);
}

TEST_F(Umbruch, LinesBreakAfterTheBlankThatPassesTheLimitAndStayOnThePaper) {
    draw::Printer& p = draw::printer();
    const double W = p.Width();
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "Wort" + std::to_string(i) + " ";
    auto z = umbrechen(text);
    ASSERT_GE(z.size(), 3u);
    std::string alles;
    for (size_t i = 0; i + 1 < z.size(); ++i) {
        alles += z[i].text + " ";
        EXPECT_LE(z[i].rechts, W - 1000) << z[i].text;
        if (i + 2 < z.size()) {
            // Each full line has run past the limit by its last word: without it, it would not.
            const double ohneLetztes = p.TextWidth(z[i].text.substr(0, z[i].text.rfind(' ')));
            EXPECT_GT(p.TextWidth(z[i].text + " "), W - 4000) << z[i].text;
            EXPECT_LE(ohneLetztes, W - 4000) << z[i].text;
        }
    }
    EXPECT_EQ(alles, text);

    // A word longer than a line is cut where the paper ends, and nothing of it is lost.
    const std::string lang(400, 'x');
    z = umbrechen("Vorher " + lang + " danach");
    std::string zusammen;
    for (size_t i = 0; i + 1 < z.size(); ++i) {
        EXPECT_LE(z[i].rechts, W - 1000 + 1) << i;
        zusammen += z[i].text;
    }
    EXPECT_EQ(vb::Replace(zusammen, " ", ""), "Vorher" + lang + "danach");
    EXPECT_GE(z.size(), 4u);
}

TEST_F(Umbruch, DoubleSpacingPutsAnEmptyLineAfterEveryLineButTheLast) {
    std::string text;
    for (int i = 1; i <= 40; ++i) text += "Wort" + std::to_string(i) + " ";
    text += "\r\nSchluss";
    const double L = zeilenhoehe();
    auto einfach = umbrechen(text, 1);
    const int hoeheEinfach = hoehe;
    auto doppelt = umbrechen(text, 2);
    ASSERT_EQ(doppelt.size(), einfach.size());
    const size_t n = doppelt.size() - 1;  // text lines without "Ende"
    for (size_t i = 0; i + 1 < n; ++i) EXPECT_NEAR(doppelt[i + 1].y - doppelt[i].y, 2 * L, 1) << i;
    EXPECT_NEAR(hoehe, hoeheEinfach + (n - 1) * L, n);
}

TEST_F(Umbruch, AFullPageGetsItsFooterAndTheTextGoesOnBelowTheNextLetterhead) {
    d->Check4[0].setValue(1);
    std::string text;
    for (int i = 1; i <= 1200; ++i) text += "Wort" + std::to_string(i) + " ";
    draw::Printer& p = anfangen(1, 9);
    gSeitennummer = 1;
    d->PrintString(text, 10);
    const int seiten = p.Page();
    p.EndDoc();
    ASSERT_GE(seiten, 3);
    EXPECT_EQ(gSeitennummer, seiten);
    for (int s = 2; s <= seiten; ++s) {
        double oben = 1e9;
        bool nummer = false;
        for (const auto& e : p.log()) {
            if (e.page != s) continue;
            if (e.text.rfind("Wort", 0) == 0) {
                oben = std::min(oben, e.y);
                EXPECT_EQ(e.fontSize, 9);  // the size the text had before the footer
                EXPECT_LT(e.y, p.Height() - 1500);
            }
            nummer |= e.text == " " + std::to_string(s) && e.y > p.Height() - 1500;
        }
        EXPECT_NEAR(oben, 4200, 1) << s;
        if (s < seiten) {
            EXPECT_TRUE(nummer) << s;  // the last page's footer belongs to the run
        }
    }
}

}  // namespace
