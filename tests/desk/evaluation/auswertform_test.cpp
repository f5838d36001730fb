// The evaluation window as a practitioner uses it: opened by the commands, paged by buttons and
// keys, thresholds chosen and applied, the page printed for the report and copied, help, scrolling,
// several windows side by side, and the bad cases (a deleted person, no result rows, a data folder
// that cannot be written, the window limit).

#include <QImage>
#include <QPointer>

#include <filesystem>
#include <stdexcept>

#include "auswert_fixture.h"
#include "golden_personen.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "desk/reports/frm_report.h"
#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/screen.h"
#include "platform/report/report_fixture.h"
#include "support/gebietsschema.h"
#include "support/gui_input.h"
#include "support/tastatur.h"

using namespace auswert_test;

namespace {

// The counts of one of the golden persons.
const Anzahlen& besondere(const std::string& name) {
    for (const auto& p : kBesonderePersonen)
        if (name == p.name) return p.anzahlen;
    throw std::invalid_argument("no golden person " + name);
}
// Type 3 alone at the top of every ranking.
const Anzahlen kKlar = besondere("klar");
// Types 4 and 8 share the top of the 3-and-4 ranking: no main type.
const Anzahlen kGleich34 = besondere("gleichstand_34");
// Totals 40 (type 1) and 34 (type 2): their quotient is the threshold 0.85 itself.
const Anzahlen kSchwelle{{{},
                          {0, 0, 0, 0, 10},
                          {0, 0, 0, 2, 7},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0},
                          {0, 0, 5, 0, 0}}};

class Auswertfenster : public AuswertTest {
protected:
    // The last message box asked, its text, style and title.
    const forms::HostRecord* meldung() { return h().last(forms::HostRecord::Kind::MsgBox); }

    static bool zeigt(const auswertform& f, const std::string& text) {
        for (const std::string& z : f.Bild1.pageLines(1))
            if (z.find(text) != std::string::npos) return true;
        return false;
    }

    // Every row of the data file's tables, for telling whether anything was written.
    std::string inhalt() {
        std::string t;
        for (const char* tabelle : {"PersDat", "PersonTestErgebnis", "TypWertZuweisung", "Ergebnis", "Drucktabelle"}) {
            auto rs = gDatenbank->OpenRecordset(std::string("select * from ") + tabelle, db::RecordsetType::Snapshot);
            for (; !rs->Eof(); rs->MoveNext())
                for (int i = 0; i < rs->FieldCount(); ++i) t += vb::textOrEmpty(rs->Fields(i).Value()) + ";";
            t += "\n";
        }
        return t;
    }

    void taste(auswertform& f, int code) {
        int k = code;
        f.Form_KeyUp(k, 0);
    }
};

}  // namespace

TEST_F(Auswertfenster, PageCountFollowsTheRankingAndTheHeadNamesThePerson) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Caption(), LabelTxt(158));
    EXPECT_EQ(a->Label1.Caption(), "Auswertung von: Greta Hahn/12.03.2026");
    EXPECT_EQ(a->Label2.Caption(), "Seite  1 von  12");
    EXPECT_TRUE(zeigt(*a, LabelTxt(274)));  // page 1 drawn on the first activation
    EXPECT_EQ(gFensterAnzahl, 1);

    waehle(person("Otto", "Lang", kGleich34));
    auswertform* b = auswertung();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Label2.Caption(), "Seite  1 von  10");
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Caption(), LabelTxt(210));
    EXPECT_EQ(s->Label2.Caption(), "Seite  1 von  6");
    EXPECT_TRUE(zeigt(*s, LabelTxt(263)));
    EXPECT_EQ(gFensterAnzahl, 3);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Auswertfenster, PagingStopsAtBothEndsWithTheMessageOfTheMode) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->SSCommand1_Click();
    ASSERT_NE(meldung(), nullptr);
    EXPECT_EQ(meldung()->text, DialogTxt(45));
    EXPECT_EQ(meldung()->style, forms::vbExclamation);
    EXPECT_EQ(meldung()->title, DialogTxt(3));
    EXPECT_EQ(a->Seite(), 1);
    EXPECT_TRUE(zeigt(*a, LabelTxt(274)));  // drawn again after the message

    for (int i = 0; i < 11; ++i) taste(*a, forms::vbKeyPageDown);
    EXPECT_EQ(a->Seite(), 12);
    EXPECT_EQ(a->Label2.Caption(), "Seite  12 von  12");
    EXPECT_TRUE(zeigt(*a, LabelTxt(346)));
    h().clearRecords();
    a->SSCommand2_Click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(42)});
    EXPECT_EQ(a->Seite(), 12);
    taste(*a, forms::vbKeyPageUp);
    EXPECT_EQ(a->Seite(), 11);
    EXPECT_TRUE(zeigt(*a, LabelTxt(260)));

    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    h().clearRecords();
    taste(*s, forms::vbKeyPageUp);
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(46)});
    for (int i = 0; i < 5; ++i) s->SSCommand2_Click();
    h().clearRecords();
    s->SSCommand2_Click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(43)});
    EXPECT_EQ(s->Seite(), 6);

    // Escape closes the window and counts it down.
    taste(*s, forms::vbKeyEscape);
    EXPECT_FALSE(s->isLoaded());
    EXPECT_EQ(gFensterAnzahl, 1);
    a->Befehl3_Click();
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));
}

TEST_F(Auswertfenster, ThresholdListsFollowThePage) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->Frame1.isVisible());
    EXPECT_TRUE(a->Combo1.isVisible());
    EXPECT_FALSE(a->Combo2.isVisible());
    EXPECT_EQ(a->Combo1.ListCount(), 14);
    EXPECT_EQ(a->Combo1.Text(), "0,85");
    EXPECT_EQ(a->Combo2.ListCount(), 0);
    EXPECT_EQ(gSensitivity1, 0.85f);
    EXPECT_EQ(a->Frame1.Caption(), LabelTxt(224));

    for (int i = 0; i < 8; ++i) a->SSCommand2_Click();
    ASSERT_EQ(a->Seite(), 9);
    EXPECT_TRUE(a->Combo2.isVisible());
    EXPECT_EQ(a->Combo1.Text(), "-0,2");
    EXPECT_EQ(a->Combo2.Text(), "0,4");
    EXPECT_EQ(a->Combo2.ListCount(), 11);
    EXPECT_EQ(gSensitivity1, -0.2f);
    EXPECT_EQ(gSensitivity2, 0.4f);
    EXPECT_EQ(a->Frame1.Caption(), LabelTxt(223));

    a->SSCommand2_Click();
    EXPECT_FALSE(a->Combo2.isVisible());
    EXPECT_EQ(a->Combo1.Text(), "0,85");
    EXPECT_EQ(a->Frame1.Caption(), LabelTxt(224));
    a->SSCommand2_Click();
    EXPECT_FALSE(a->Frame1.isVisible());
    a->SSCommand2_Click();
    EXPECT_FALSE(a->Frame1.isVisible());
    a->SSCommand1_Click();
    a->SSCommand1_Click();
    EXPECT_TRUE(a->Frame1.isVisible());

    // The statistics pages use no threshold.
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->Frame1.isVisible());
}

// The lists hold the thresholds as the language writes them ("0,85"); whatever locale Qt gave
// the C library, reading them back gives the same Single, without a type mismatch (13).
TEST_F(Auswertfenster, InEveryLocaleTheThresholdIsReadAsTheListShowsIt) {
    waehle(person("Greta", "Hahn", kKlar));
    for (const std::string& name : support::gebietsschemata()) {
        SCOPED_TRACE(name);
        support::Gebietsschema g(name);
        gSensitivityGewaehlt = false;
        h().clearRecords();
        auswertform* a = auswertung();
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(h().messages().empty()) << h().messages().front();
        EXPECT_EQ(a->Combo1.Text(), "0,85");
        EXPECT_EQ(gSensitivity1, 0.85f);
        EXPECT_TRUE(zeigt(*a, LabelTxt(274)));  // page 1 is drawn
        a->Combo1.setListIndex(3);
        a->Command1_Click();
        EXPECT_TRUE(h().messages().empty()) << h().messages().front();
        EXPECT_EQ(gSensitivity1, 0.8f);
        EXPECT_TRUE(zeigt(*a, LabelTxt(274)));
        a->Befehl3_Click();
    }
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(Auswertfenster, AppliedThresholdHoldsByPositionAndAPickWithoutOkIsDiscarded) {
    waehle(person("Greta", "Hahn", kSchwelle));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    // 34 / 40 is the threshold 0.85 itself, which acts as 0.8500000238: not close behind.
    EXPECT_TRUE(zeigt(*a, LabelTxt(204)));

    a->Combo1.setListIndex(5);  // 0,7, never applied
    a->SSCommand2_Click();
    a->SSCommand1_Click();
    EXPECT_EQ(a->Combo1.Text(), "0,85");
    EXPECT_FALSE(gSensitivityGewaehlt);

    a->Combo1.setListIndex(3);
    EXPECT_EQ(a->Combo1.Text(), "0,8");
    a->Command1_Click();
    EXPECT_TRUE(gSensitivityGewaehlt);
    EXPECT_EQ(gSensitivity1, 0.8f);
    EXPECT_EQ(gSensitivity1Index, 3);
    EXPECT_EQ(gSensitivity2Index, -1);
    EXPECT_EQ(a->Seite(), 1);
    EXPECT_FALSE(zeigt(*a, LabelTxt(204)));  // the page was drawn again: the second type is close behind
    EXPECT_TRUE(zeigt(*a, " " + gTypbezeichnung[2]));

    // The kept position selects in whichever list the page has.
    for (int i = 0; i < 8; ++i) a->SSCommand2_Click();
    EXPECT_EQ(a->Combo1.Text(), "-0,8");
    EXPECT_EQ(a->Combo2.Text(), "0,4");
    EXPECT_EQ(gSensitivity1, -0.8f);

    // A new evaluation starts from the first entries again.
    a->Befehl3_Click();
    a = auswertung();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Combo1.Text(), "0,85");
    EXPECT_FALSE(gSensitivityGewaehlt);
}

TEST_F(Auswertfenster, PrintWritesTheWholePageForTheReportAndAFolderThatCannotBeWrittenIsSaid) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->outerWindow()->resize(400, 300);  // most of the page is out of view
    gDateivergleich = 1;
    a->Befehl6_Click();
    EXPECT_EQ(gDateivergleich, 0);
    const std::filesystem::path bild = dir / "ZUVAktuelleSeite.bmp";  // the data folder
    ASSERT_TRUE(std::filesystem::exists(bild));
    EXPECT_EQ(befehl("identify -format '%m' '" + bild.string() + "'"), "BMP3");
    QImage gelesen(QString::fromStdString(bild.string()));
    const QImage papier = a->SeiteFuerPapier();
    EXPECT_EQ(gelesen.convertToFormat(QImage::Format_RGB32), papier.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(h().messages().empty());

    // The report window shows the report of the page on view; printed without a printer, the page
    // goes into a PDF file as the picture it was handed.
    frmReport& bericht = forms::Instance<frmReport>();
    ASSERT_TRUE(bericht.Visible());
    EXPECT_TRUE(bericht.Option1[0].Value());
    forms::PrinterChoice wahl;
    wahl.outputFile = (dir / "Seite.pdf").string();
    h().choosePrinter(wahl);
    bericht.CrystalReport1.PrintReport();
    EXPECT_TRUE(h().messages().empty());
    const auto bilder = report_test::pdfBilder(wahl.outputFile);
    int seiten = 0;
    for (const auto& b : bilder)
        if (b.breite == papier.width() && b.hoehe == papier.height()) ++seiten;
    EXPECT_EQ(seiten, 1);
    EXPECT_NE(befehl("pdftotext '" + wahl.outputFile + "' -").find("Greta Hahn"), std::string::npos);
    draw::printer().setOutputFileName("");
    forms::applyToPrinter(forms::PrinterChoice{});
    forms::Unload(bericht);
    h().clearRecords();

    const std::string vorher = gAppPath;
    gAppPath = (dir / "gibt es nicht").string();
    a->Befehl6_Click();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("ZUVAktuelleSeite.bmp"), std::string::npos);
    EXPECT_NE(h().messages()[0].find("kann nicht im Datenordner"), std::string::npos);
    EXPECT_FALSE(forms::IsLoaded<frmReport>());  // no report of a page that was not handed over
    gAppPath = vorher;
    EXPECT_TRUE(a->isLoaded());
}

TEST_F(Auswertfenster, APrintedPageIsSharpAndItsTextAtLeastEightPointsHighOnPaper) {
    waehle(person("Greta", "Hahn", kKlar));
    const std::filesystem::path programmOrdner = gAppPath;
    // The widest pages: the deviation table, and the statistics tables of counts and percentages.
    auto drucken = [&](auswertform* f, int seite, const std::string& name, bool quer) {
        SCOPED_TRACE(name);
        while (f->Seite() < seite) f->SSCommand2_Click();
        f->Befehl6_Click();
        frmReport& bericht = forms::Instance<frmReport>();
        forms::PrinterChoice wahl;
        wahl.outputFile = (programmOrdner / name).string();
        h().choosePrinter(wahl);
        bericht.CrystalReport1.PrintReport();
        draw::printer().setOutputFileName("");
        forms::applyToPrinter(forms::PrinterChoice{});
        forms::Unload(bericht);
        EXPECT_TRUE(h().messages().empty()) << h().messages().front();
        if (const char* ordner = std::getenv("ZUV_ABBILDUNGEN_ORDNER"))
            std::filesystem::copy_file(wahl.outputFile, std::string(ordner) + "/" + name,
                                       std::filesystem::copy_options::overwrite_existing);
        // The page is the one large picture of the sheet (the letterhead's symbol is small). Drawn
        // at 240 pixels per inch, a page printed at 240 ppi keeps its texts at their size; 300 ppi
        // and less keeps a text of 10 points at 8 points or more.
        int seitenbilder = 0;
        for (const report_test::PdfBild& b : report_test::pdfBilder(wahl.outputFile)) {
            if (b.breite < 1000) continue;
            ++seitenbilder;
            EXPECT_NE(b.kodierung, "jpeg");
            EXPECT_GE(b.ppiX, 240);
            EXPECT_LE(b.ppiX, 300);
        }
        EXPECT_EQ(seitenbilder, 1);
        // A page too wide for an upright sheet is printed across a turned one.
        EXPECT_NE(befehl("pdfinfo '" + wahl.outputFile + "'").find(quer ? "842 x 595" : "595 x 842"), std::string::npos);
    };
    ASSERT_EQ(gStandardschriftGroesse, 10);
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    drucken(a, 1, "Auswertung1.pdf", false);
    drucken(a, 9, "Auswertung9.pdf", false);
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    drucken(s, 1, "Statistik1.pdf", true);
    drucken(s, 3, "Statistik3.pdf", true);
}

TEST_F(Auswertfenster, HelpOpensTheTopicOfTheMode) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->SSCommand3_Click();
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    s->SSCommand3_Click();
    const auto hilfe = h().records(forms::HostRecord::Kind::Help);
    ASSERT_EQ(hilfe.size(), 2u);
    EXPECT_EQ(hilfe[0].title, "html/zuvw0sqc.htm");
    EXPECT_EQ(hilfe[1].title, "html/zuvw1agb.htm");
}

TEST_F(Auswertfenster, ScrollBarsMoveThePageByTheWindowsStepsAndReachItsEnds) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->outerWindow()->resize(500, 400);
    QApplication::processEvents();
    ASSERT_TRUE(a->isScrollBarShown(forms::SB_VERT));
    ASSERT_TRUE(a->isScrollBarShown(forms::SB_HORZ));
    auto position = [&](int bar) {
        forms::ScrollInfo i;
        i.fMask = forms::SIF_POS;
        a->GetScrollInfo(bar, i);
        return i.nPos;
    };
    a->sendScroll(forms::SB_VERT, forms::SB_LINEDOWN);
    EXPECT_EQ(position(forms::SB_VERT), 10);
    a->sendScroll(forms::SB_VERT, forms::SB_PAGEDOWN);
    EXPECT_EQ(position(forms::SB_VERT), 40);
    a->sendScroll(forms::SB_VERT, forms::SB_LINEUP);
    EXPECT_EQ(position(forms::SB_VERT), 30);
    a->sendScroll(forms::SB_VERT, forms::SB_ENDSCROLL);
    EXPECT_EQ(position(forms::SB_VERT), 30);
    EXPECT_EQ(a->Picture1.y(), -30);
    a->sendScroll(forms::SB_HORZ, forms::SB_THUMBTRACK, 55);
    EXPECT_EQ(position(forms::SB_HORZ), 55);
    EXPECT_EQ(a->Picture1.x(), -55);

    // Dragged to the end, the page's last pixels come into view.
    a->sendScroll(forms::SB_VERT, forms::SB_THUMBTRACK, 100000);
    a->sendScroll(forms::SB_HORZ, forms::SB_THUMBTRACK, 100000);
    EXPECT_EQ(a->Picture1.y() + a->Picture1.height(), a->Sicht.height());
    EXPECT_LE(a->Picture1.x() + a->Picture1.width(), a->Sicht.width());
    EXPECT_GE(a->Picture1.x() + a->Picture1.width(), a->Sicht.width() - 1);
}

TEST_F(Auswertfenster, EachWindowKeepsItsOwnPageAndFrame) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->SSCommand2_Click();
    a->SSCommand2_Click();
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    s->SSCommand2_Click();
    EXPECT_EQ(gSeitenanzahl, 6);

    // Back to the evaluation window: its own page 3 of 12, not the statistics page 2 of 6.
    a->Show();
    EXPECT_EQ(mdi().ActiveForm(), a);
    EXPECT_EQ(a->Seite(), 3);
    EXPECT_EQ(a->Label2.Caption(), "Seite  3 von  12");
    EXPECT_EQ(gSeitenanzahl, 12);
    EXPECT_EQ(gAuswertungsart, 1);
    EXPECT_TRUE(zeigt(*a, LabelTxt(115)));
    for (int i = 0; i < 9; ++i) a->SSCommand2_Click();
    EXPECT_EQ(a->Seite(), 12);  // pages 11 and 12 stay reachable
    s->Show();
    EXPECT_EQ(s->Seite(), 2);
    EXPECT_TRUE(zeigt(*s, LabelTxt(264)));

    // Page 9 names its thresholds in the frame of the window that draws it, not of the last one made.
    auswertform* b = auswertung();
    ASSERT_NE(b, nullptr);
    a->Show();
    for (int i = 0; i < 3; ++i) a->SSCommand1_Click();
    ASSERT_EQ(a->Seite(), 9);
    EXPECT_EQ(a->Frame1.Caption(), LabelTxt(223));
    EXPECT_EQ(b->Frame1.Caption(), LabelTxt(224));

    // Page 12 of a window names the connected types of its own main type, also after another
    // command ranked the person anew.
    a->SSCommand2_Click();
    a->SSCommand2_Click();
    a->SSCommand2_Click();
    ASSERT_EQ(a->Seite(), 12);
    mdi().mnuAuswertung_Click();
    a->Show();
    EXPECT_TRUE(zeigt(*a, LabelTxt(347) + " " + gTypbezeichnung[6]));  // type 3: 6 and 9
    EXPECT_TRUE(zeigt(*a, LabelTxt(357) + " " + gTypbezeichnung[9]));
}

TEST_F(Auswertfenster, APageDrawnAgainDrawsTheSameConclusionAfterAnotherRankingOrNewNames) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    const auto zuSeite = [](auswertform& f, int seite) {
        while (f.Seite() < seite) f.SSCommand2_Click();
    };

    // The table and the figure rank the person anew when they open, which empties the rankings by
    // the ratings 4 and 3; coming back to the evaluation draws its page again.
    zuSeite(*a, 4);
    const auto seite4 = zeilen(*a);
    ASSERT_TRUE(zeigt(*a, LabelTxt(413))) << text(*a);
    mdi().mnuTabelle_Click();
    a->Show();
    ASSERT_EQ(mdi().ActiveForm(), a);
    EXPECT_EQ(zeilen(*a), seite4) << text(*a);
    zuSeite(*a, 10);
    const auto seite10 = zeilen(*a);
    mdi().mnuEnneagramm_Click();
    a->Show();
    EXPECT_EQ(zeilen(*a), seite10) << text(*a);

    // The naming scheme changes in the settings while a page is on view: the pages after it speak
    // of the same types in the new names, as a window opened afterwards does.
    const auto vergleiche = [&](auswertform& f, int seite) {
        auswertform* frisch = auswertung();
        ASSERT_NE(frisch, nullptr);
        zuSeite(*frisch, seite);
        EXPECT_EQ(zeilen(f), zeilen(*frisch)) << "page " << seite << "\n" << text(f) << "\n" << text(*frisch);
        frisch->Befehl3_Click();
    };
    for (int t = 1; t <= 9; ++t) gTypbezeichnung[t] = "Typ " + std::to_string(t) + " neu";
    a->SSCommand2_Click();  // page 11 after page 10 in the old names
    EXPECT_EQ(gHaupttyp, 3);
    vergleiche(*a, 11);
    a->SSCommand2_Click();
    vergleiche(*a, 12);
    a->Befehl3_Click();

    waehle(person("Otto", "Lang",
                  {{{},
                    {0, 1, 5, 2, 6},
                    {1, 4, 1, 3, 5},
                    {2, 3, 3, 5, 1},
                    {5, 5, 2, 1, 1},
                    {2, 4, 5, 0, 3},
                    {0, 3, 10, 0, 1},
                    {1, 2, 6, 1, 4},
                    {4, 2, 4, 3, 1},
                    {3, 4, 3, 4, 0}}}));
    auswertform* b = auswertung();
    ASSERT_NE(b, nullptr);
    zuSeite(*b, 7);
    for (int t = 1; t <= 9; ++t) gTypbezeichnung[t] = "Typ " + std::to_string(t) + " anders";
    b->Bild1_GotFocus();  // page 7 drawn again in the new names, page 6 was drawn in the old ones
    b->SSCommand2_Click();
    ASSERT_TRUE(zeigt(*b, LabelTxt(427))) << text(*b);  // the same type alone leads all three rankings
    vergleiche(*b, 8);
    b->SSCommand2_Click();
    b->SSCommand2_Click();
    vergleiche(*b, 10);
}

TEST_F(Auswertfenster, CopyTakesThePageOnViewAndOnlyTheCopyChangesTheClipboard) {
    waehle(person("Greta", "Hahn", kKlar));
    forms::Clipboard::SetText("vorher");
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->SSCommand2_Click();
    auswertform* b = auswertung();
    ASSERT_NE(b, nullptr);
    a->Show();
    b->Show();
    a->Show();
    a->Befehl6_Click();
    EXPECT_EQ(forms::Clipboard::GetText(), "vorher");

    mdi().mnuKopieren.choose();
    const QImage kopie = forms::Clipboard::GetData();
    ASSERT_FALSE(kopie.isNull());
    EXPECT_EQ(kopie.size(), QSize(1000, 667));
    EXPECT_EQ(kopie.convertToFormat(QImage::Format_RGB32), a->Seitenbild().convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(kopie.convertToFormat(QImage::Format_RGB32), b->Seitenbild().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Auswertfenster, PagesWriteNothingIntoTheDataFile) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    const std::string vorher = inhalt();
    for (int i = 0; i < 11; ++i) a->SSCommand2_Click();
    a->Command1_Click();
    auswertform* s = statistik();  // scores again: the same figures
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < 5; ++i) s->SSCommand2_Click();
    EXPECT_EQ(inhalt(), vorher);
}

TEST_F(Auswertfenster, DeletedPersonGivesAPageThatSaysSoAndNoErrorBox) {
    const int32_t id = person("Greta", "Hahn", kKlar);
    waehle(id);
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    auswertform* s = statistik();
    ASSERT_NE(s, nullptr);
    // The person window deletes the current person: its rows go, no person is current.
    gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID = " + std::to_string(id));
    gAktPersonID = 0;
    gAktPerson = {};
    h().clearRecords();
    a->Show();
    a->SSCommand2_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(a->Label1.Caption(), "Auswertung von: Greta Hahn/12.03.2026");
    EXPECT_TRUE(zeigt(*a, "nicht mehr verfügbar"));
    EXPECT_FALSE(zeigt(*a, LabelTxt(279)));
    s->Show();
    EXPECT_TRUE(zeigt(*s, "nicht mehr verfügbar"));
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Auswertfenster, PersonWithoutResultRowsOpensNoBrokenPage) {
    waehle(person("Greta", "Hahn", kKlar, false));
    auswertform* a = auswertung();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find(LabelTxt(363)), std::string::npos);
    EXPECT_NE(h().messages()[0].find("Für diese Person fehlen Datensätze"), std::string::npos);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(Auswertfenster, PersonWithoutNameOrTestDateAndWithoutRatings) {
    const int32_t id = person("", "Hahn", jederTyp({0, 0, 0, 0, 0}));
    gDatenbank->Execute("UPDATE PersDat SET Vorname = NULL, Testdatum = NULL WHERE PersonID = " + std::to_string(id));
    waehle(id);
    h().answer(forms::vbOK);  // the warning about the first unanswered statement
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Label1.Caption(), "Auswertung von:  Hahn/");
    EXPECT_EQ(a->Label2.Caption(), "Seite  1 von  10");
    h().clearRecords();
    for (int i = 0; i < 10; ++i) a->SSCommand2_Click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(42)});
    EXPECT_TRUE(zeigt(*a, LabelTxt(334)));
}

TEST_F(Auswertfenster, TheEleventhWindowIsRefusedWithTheLimitMessage) {
    waehle(person("Greta", "Hahn", kKlar));
    for (int i = 1; i <= 10; ++i) ASSERT_NE(i % 2 ? auswertung() : statistik(), nullptr);
    h().clearRecords();
    EXPECT_EQ(statistik(), nullptr);
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(gFensterAnzahl, 10);
    EXPECT_EQ(mdi().children().size(), 10u);
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
}

TEST_F(Auswertfenster, AClosedWindowLeavesNoSurfaceBehind) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(gAusgabe, &a->Bild1);
    a->Befehl3_Click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(gAusgabe, nullptr);
}

TEST_F(Auswertfenster, ReadOnlyDataFileIsEvaluatedWithoutAWrite) {
    const int32_t id = person("Greta", "Hahn", kKlar);
    waehle(id);
    ASSERT_NE(auswertung(), nullptr);  // scored once while the file could be written
    const std::string datei = gDatenbankName;
    mdi().mnuClose_Click();
    h().chooseFile(datei, true);
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);
    waehle(id);
    const std::string vorher = inhalt();
    h().clearRecords();
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    for (int i = 0; i < 11; ++i) a->SSCommand2_Click();
    EXPECT_TRUE(zeigt(*a, LabelTxt(346)));
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(inhalt(), vorher);
}

TEST_F(Auswertfenster, AQuotientEqualToTheThresholdCountsWhereThePageSaysSo) {
    // Totals 40 and 30, ratings 4: 16 and 12, ratings 3: 24 and 18, ratings 3 and 4: 40 and 30 —
    // every quotient of the second type is 0.75, which single precision holds exactly.
    waehle(person("Greta", "Hahn",
                  {{{},
                    {0, 0, 0, 8, 4},
                    {0, 0, 0, 6, 3},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0}}}));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    a->Combo1.setListIndex(4);
    ASSERT_EQ(a->Combo1.Text(), "0,75");
    a->Command1_Click();
    EXPECT_TRUE(zeigt(*a, LabelTxt(204)));  // page 1: above the threshold, not on it
    for (int seite = 2; seite <= 4; ++seite) {
        a->SSCommand2_Click();
        EXPECT_TRUE(zeigt(*a, gTypbezeichnung[2])) << "page " << seite;  // the others: on it is enough
        EXPECT_FALSE(zeigt(*a, LabelTxt(204))) << "page " << seite;
    }
    for (int i = 0; i < 6; ++i) a->SSCommand2_Click();
    ASSERT_EQ(a->Seite(), 10);
    EXPECT_EQ(gVergleichTypen[2], "");  // the quotient equal to the threshold does not pass
    EXPECT_EQ(gVergleichLauf, 9);
    EXPECT_TRUE(zeigt(*a, LabelTxt(315)));
    a->Befehl3_Click();

    // 17 / 20 on page 4 with 0.85: the threshold acts as 0.8500000238, so the second type is out.
    waehle(person("Otto", "Lang",
                  {{{},
                    {0, 0, 0, 0, 5},
                    {0, 0, 0, 3, 2},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0},
                    {0, 0, 5, 0, 0}}}));
    a = auswertung();
    ASSERT_NE(a, nullptr);
    for (int i = 0; i < 3; ++i) a->SSCommand2_Click();
    ASSERT_EQ(a->Seite(), 4);
    EXPECT_EQ(gSpitzenwertTypsumme34, 20);
    EXPECT_TRUE(zeigt(*a, LabelTxt(204)));
    EXPECT_TRUE(auswertseiten::alleLeer(gRang2Typsumme34));
}

TEST_F(Auswertfenster, KeysOfTheWindowAndAClickOnThePageAsAPersonGivesThem) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    mdi().Show();
    QApplication::setActiveWindow(&mdi());
    const auto fokus = [](QWidget& w) {
        w.setFocus();
        QApplication::processEvents();
        return QApplication::focusWidget() == &w;
    };
    // Keys reach the window before its controls, whichever control has the focus.
    ASSERT_TRUE(fokus(a->Combo1));
    keyClick(&a->Combo1, Qt::Key_PageDown);
    EXPECT_EQ(a->Seite(), 2);
    ASSERT_TRUE(fokus(a->Befehl6));
    keyClick(&a->Befehl6, Qt::Key_PageUp);
    EXPECT_EQ(a->Seite(), 1);

    // A click on the page draws it again (here after its picture was wiped).
    a->Bild1.Cls();
    ASSERT_TRUE(a->Bild1.log().empty());
    mouseClick(&a->Bild1, QPoint(50, 50));
    EXPECT_TRUE(zeigt(*a, LabelTxt(274)));
    EXPECT_EQ(QApplication::focusWidget(), &a->Befehl3);  // so that the next click draws again

    ASSERT_TRUE(fokus(a->Befehl3));
    keyClick(&a->Befehl3, Qt::Key_Escape);
    EXPECT_FALSE(a->isLoaded());
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(Auswertfenster, EscapeInAnOpenThresholdListClosesOnlyTheList) {
    waehle(person("Greta", "Hahn", kKlar));
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    mdi().Show();
    QApplication::setActiveWindow(&mdi());
    ASSERT_TRUE(support::listeOeffnen(a->Combo1));
    support::tippe(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    ASSERT_TRUE(a->isLoaded());
    EXPECT_EQ(gFensterAnzahl, 1);

    // Paging keys in an open list move in the list; the page stays.
    ASSERT_TRUE(support::listeOeffnen(a->Combo1));
    support::tippe(Qt::Key_PageDown);
    EXPECT_EQ(a->Seite(), 1);
    support::tippe(Qt::Key_Escape);
    ASSERT_TRUE(a->isLoaded());

    // Both lists of page 9.
    while (a->Seite() < 9) a->SSCommand2_Click();
    ASSERT_TRUE(a->Combo2.isVisible());
    for (forms::ComboBox* liste : {&a->Combo1, &a->Combo2}) {
        ASSERT_TRUE(support::listeOeffnen(*liste));
        support::tippe(Qt::Key_Escape);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        ASSERT_TRUE(a->isLoaded());
    }

    // With the list closed, Escape closes the window as before.
    a->Combo2.setFocus();
    // The list's popup is gone and the keyboard back in the list's window before the key is typed:
    // on a busy machine the window system hands the focus back some events later.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !QApplication::activePopupWidget() && !a->Combo2.view()->isVisible() && a->Combo2.hasFocus() &&
                   QGuiApplication::focusWindow() == a->Combo2.window()->windowHandle();
        },
        10000));
    // The window may be gone once the key is typed: the key's events end with the deferred deletes.
    const QPointer<auswertform> fenster(a);
    support::tippe(Qt::Key_Escape);
    EXPECT_TRUE(!fenster || !fenster->isLoaded());
    EXPECT_EQ(gFensterAnzahl, 0);
}
