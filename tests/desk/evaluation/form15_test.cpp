// The answer table opened through the main window: its cells, the choice of a column or a type for
// a chart, the copy command, the exchange bitmap and what happens with bad input.

#include <QClipboard>
#include <QGuiApplication>

#include "desk/common/druckbild.h"
#include "desk/charts/frm_chart.h"
#include "desk/evaluation/austauschbild.h"
#include "form2_form15_fixture.h"
#include "platform/forms/screen.h"

using namespace ergebnis_test;

namespace {

class Antworttabelle : public ErgebnisFensterTest {
protected:
    void SetUp() override {
        ErgebnisFensterTest::SetUp();
        anna = person("Anna", "Berg", reihum, "01.02.2026", &erwartet);
        waehle(anna);
    }
    Form15& oeffne() {
        mdi().mnuTabelle.choose();
        Form15* t = tabelle();
        EXPECT_NE(t, nullptr);
        return *t;
    }
    int32_t anna = 0;
    Erwartung erwartet;
};

}  // namespace

TEST_F(Antworttabelle, ShowsCountsPerRatingAndTotalOfEachTypeUnderStyledHeadings) {
    Form15& t = oeffne();
    ASSERT_TRUE(t.isLoaded());
    EXPECT_TRUE(t.Visible());
    EXPECT_EQ(aktiv(), &t);
    EXPECT_EQ(gFensterAnzahl, 1);
    EXPECT_EQ(t.Caption(), LabelTxt(254));
    EXPECT_EQ(t.Label1.Caption(), LabelTxt(251) + ": Anna Berg/01.02.2026");
    EXPECT_EQ(t.SSCommand1.ToolTipText(), LabelTxt(253));
    EXPECT_EQ(t.SSCommand2.ToolTipText(), LabelTxt(42));
    EXPECT_FALSE(t.SSCommand1.isEnabled());
    EXPECT_EQ(gStatustext, LabelTxt(155) + " " + LabelTxt(156));

    forms::Grid& g = t.Grid1;
    ASSERT_EQ(g.Rows(), 10);
    ASSERT_EQ(g.Cols(), 7);
    EXPECT_EQ(g.TextMatrix(0, 0), LabelTxt(157));
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(g.TextMatrix(0, c), std::to_string(c - 1));
    EXPECT_EQ(g.TextMatrix(0, 6), LabelTxt(252));
    for (int typ = 1; typ <= 9; ++typ) {
        EXPECT_EQ(g.TextMatrix(typ, 0), gTypbezeichnung[typ]);
        for (int v = 0; v <= 4; ++v) EXPECT_EQ(g.TextMatrix(typ, v + 1), std::to_string(erwartet.anzahl[typ][v])) << typ;
        EXPECT_EQ(g.TextMatrix(typ, 6), std::to_string(erwartet.gesamt[typ])) << typ;
        // The scoring stored the same totals in the person's result rows.
        EXPECT_EQ(zahl(*gDatenbank, "select typgesamtsumme from ergebnis where personid = " + std::to_string(anna) +
                                        " and typnummer = " + std::to_string(typ)),
                  erwartet.gesamt[typ]);
    }
    // Headings bold on grey, type names bold on yellow, numbers plain and centred.
    auto stil = [&](int r, int c) {
        g.setRow(r);
        g.setCol(c);
        return std::make_pair(g.CellFontBold(), g.CellBackColor());
    };
    EXPECT_EQ(stil(0, 0), std::make_pair(true, forms::QBColor(8)));
    EXPECT_EQ(stil(0, 6), std::make_pair(true, forms::QBColor(8)));
    EXPECT_EQ(stil(4, 0), std::make_pair(true, forms::RGB(255, 246, 128)));
    EXPECT_FALSE(stil(4, 3).first);
    EXPECT_EQ(g.ColAlignment(3), 4);
    EXPECT_EQ(g.ColAlignment(0), 9);
}

TEST_F(Antworttabelle, ColumnsAndTypesAreHandedToTheChartAndOtherCellsDisableIt) {
    Form15& t = oeffne();
    forms::Grid& g = t.Grid1;
    gDiagrammWerte.fill(77);

    g.clickCell(0, 0);  // the corner
    EXPECT_FALSE(t.SSCommand1.isEnabled());
    EXPECT_EQ(t.Auswahlart(), 0);

    g.clickCell(0, 3);  // rating value 2
    EXPECT_TRUE(t.SSCommand1.isEnabled());
    EXPECT_EQ(t.Auswahlart(), 1);
    for (int typ = 1; typ <= 9; ++typ) EXPECT_EQ(gDiagrammWerte[typ], erwartet.anzahl[typ][2]);
    EXPECT_EQ(gDiagrammTitel, LabelTxt(157) + " 2");
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()), std::make_tuple(0, 3, 9, 3));

    g.clickCell(3, 0);  // type 3: its five counts, the total not among them
    EXPECT_EQ(t.Auswahlart(), 2);
    for (int v = 0; v <= 4; ++v) EXPECT_EQ(gDiagrammWerte[v + 1], erwartet.anzahl[3][v]);
    for (int k = 6; k <= 9; ++k) EXPECT_EQ(gDiagrammWerte[k], erwartet.anzahl[k][2]);  // as the column left them
    EXPECT_EQ(gDiagrammTitel, gTypbezeichnung[3]);
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()), std::make_tuple(3, 0, 3, 5));
    t.SSCommand1.click();
    EXPECT_EQ(gDiagrammArt, 11);
    EXPECT_EQ(gDateivergleich, 0);
    EXPECT_EQ(t.MousePointer(), forms::vbDefault);

    g.clickCell(5, 2);  // a count: the choice stays, the button goes off
    EXPECT_FALSE(t.SSCommand1.isEnabled());
    EXPECT_EQ(t.Auswahlart(), 2);
    EXPECT_EQ(gDiagrammTitel, gTypbezeichnung[3]);

    g.clickCell(0, 6);  // the totals
    EXPECT_EQ(gDiagrammTitel, LabelTxt(108) + " 0-4");
    for (int typ = 1; typ <= 9; ++typ) EXPECT_EQ(gDiagrammWerte[typ], erwartet.gesamt[typ]);
    t.SSCommand1.click();
    EXPECT_EQ(gDiagrammArt, 10);
}

TEST_F(Antworttabelle, NegativeTotalsReachTheChartAsNegativeNumbers) {
    const int32_t nullen = person("Null", "Wert", [](int, int) { return std::optional<int>(0); });
    waehle(nullen);
    Form15& t = oeffne();
    t.Grid1.clickCell(0, 6);
    for (int typ = 1; typ <= 9; ++typ) {
        EXPECT_LT(gDiagrammWerte[typ], 0);
        EXPECT_EQ(t.Grid1.TextMatrix(typ, 6), std::to_string(gDiagrammWerte[typ]));
    }
}

TEST_F(Antworttabelle, CopyPutsTenTabSeparatedLinesOnTheClipboardAndActivationLeavesItAlone) {
    QGuiApplication::clipboard()->setText("Notiz");
    Form15& t = oeffne();
    EXPECT_EQ(forms::Clipboard::GetText(), "Notiz");  // opening and activating copy nothing

    t.Grid1.clickCell(0, 2);
    mdi().mnuKopieren.choose();
    const std::string text = forms::Clipboard::GetText();
    std::vector<std::string> zeilen;
    for (size_t a = 0, e; (e = text.find("\r\n", a)) != std::string::npos; a = e + 2)
        zeilen.push_back(text.substr(a, e - a));
    ASSERT_EQ(zeilen.size(), 10u);
    EXPECT_EQ(text.size(), text.rfind("\r\n") + 2);  // nothing after the last line end
    for (int r = 0; r < 10; ++r) {
        std::string soll;
        for (int c = 0; c < 7; ++c) soll += (c ? "\t" : "") + t.Grid1.TextMatrix(r, c);
        EXPECT_EQ(zeilen[r], soll);
    }
    EXPECT_EQ(t.Grid1.Col(), 0);
    EXPECT_EQ(t.Grid1.ColSel(), 0);
}

TEST_F(Antworttabelle, EveryActivationRewritesTheTableBitmapThatOutsideProgramsRead) {
    const std::string bild = AustauschbildPfad("ZUVTabelle.bmp");
    Form15& t = oeffne();
    ASSERT_TRUE(files::FileExists(bild));
    // Drawn for the sheet, whatever size the window has: the printable width at print resolution.
    const QImage gelesen(QString::fromStdString(files::resolve(bild)));
    EXPECT_EQ(gelesen.width(), kDruckbildBreite * kDruckbildPpi / 1440 + 1);
    EXPECT_LT(gelesen.height(), gelesen.width());
    if (!ausgabe("command -v identify").empty()) {
        const std::string info = ausgabe("identify '" + files::resolve(bild) + "'");
        EXPECT_NE(info.find("BMP"), std::string::npos) << info;
        EXPECT_NE(info.find(std::to_string(gelesen.width()) + "x" + std::to_string(gelesen.height())), std::string::npos)
            << info;
    }

    // Another result window, then back to the table: the bitmap is there again.
    files::Kill(bild);
    Form15& zweite = oeffne();
    EXPECT_EQ(aktiv(), &zweite);
    files::Kill(bild);
    aktiviere(t);
    EXPECT_EQ(aktiv(), &t);
    EXPECT_TRUE(files::FileExists(bild));
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Antworttabelle, AnUnwritableDataFolderIsSaidOnceAndTheTableStays) {
    // A folder in the way of the bitmap: no file of that name can be written.
    fs::create_directory(files::resolve(AustauschbildPfad("ZUVTabelle.bmp")));
    Form15& t = oeffne();
    ASSERT_TRUE(t.isLoaded());
    ASSERT_EQ(h().messages().size(), 1u);
    // The standard error box, with what becomes of the table.
    EXPECT_EQ(h().messages()[0].rfind(LabelTxt(363), 0), 0u) << h().messages()[0];
    EXPECT_NE(h().messages()[0].find(DialogTxt(90)), std::string::npos);
    EXPECT_NE(h().messages()[0].find(gAppPath), std::string::npos);
    EXPECT_NE(h().messages()[0].find("ZUVTabelle.bmp"), std::string::npos);

    Form15& zweite = oeffne();
    aktiviere(t);
    aktiviere(zweite);
    EXPECT_EQ(h().messages().size(), 2u);  // one for each window, not one for each activation
    EXPECT_TRUE(t.isLoaded());
    EXPECT_EQ(t.Grid1.TextMatrix(1, 6), std::to_string(erwartet.gesamt[1]));
}

TEST_F(Antworttabelle, ClosingGivesBackTheStatusLineAndTheWindowCount) {
    Form15& t = oeffne();
    QPointer<Form15> weg(&t);
    ASSERT_TRUE(forms::Unload(t));
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));
    EXPECT_FALSE(mdi().mnuBearbeiten.Visible());
}

TEST_F(Antworttabelle, TheEleventhWindowIsRefusedWithTheLimitMessage) {
    gFensterAnzahl = 10;
    QPointer<QWidget> vorher = gTabellenFenster;
    mdi().mnuTabelle.choose();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(gFensterAnzahl, 10);
    EXPECT_TRUE(mdi().children().empty());
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
}

TEST_F(Antworttabelle, UnansweredAndNamelessPersonsShowZerosAndAnEmptyNameLine) {
    const int32_t leer = person(
        "", "", [](int, int) { return std::nullopt; }, "");
    waehle(leer);
    h().answer(forms::vbOK);
    Form15& t = oeffne();
    ASSERT_TRUE(t.isLoaded());
    EXPECT_EQ(t.Label1.Caption(), LabelTxt(251) + ":  /");
    for (int typ = 1; typ <= 9; ++typ)
        for (int c = 1; c <= 6; ++c) EXPECT_EQ(t.Grid1.TextMatrix(typ, c), "0");
}

TEST_F(Antworttabelle, APersonWithoutRowsOpensNothingAndSaysWhy) {
    gDatenbank->Execute("DELETE FROM TypWertZuweisung WHERE PersonID = " + std::to_string(anna));
    gDatenbank->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(anna));
    mdi().mnuTabelle.choose();
    EXPECT_TRUE(mdi().children().empty());
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_FALSE(h().messages().empty());
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
}

TEST_F(Antworttabelle, AViewWritesNothingAndOutlivesItsPersonsDeletion) {
    Form15& t = oeffne();
    const std::string vorher = dateiInhalt();
    t.Grid1.clickCell(0, 1);
    t.SSCommand1.click();
    t.Grid1.clickCell(2, 0);
    mdi().mnuKopieren.choose();
    t.resize(300, 200);
    t.sendScroll(forms::SB_VERT, forms::SB_PAGEDOWN);
    EXPECT_EQ(dateiInhalt(), vorher);

    gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID = " + std::to_string(anna));
    mdi().mnuTabelle.choose();               // scores nobody, opens nothing
    EXPECT_EQ(mdi().children().size(), 2u);  // the table and the chart its button opened
    aktiviere(t);
    t.Grid1.clickCell(0, 6);
    mdi().mnuKopieren.choose();
    EXPECT_EQ(t.Grid1.TextMatrix(1, 6), std::to_string(erwartet.gesamt[1]));
    EXPECT_NE(forms::Clipboard::GetText().find(LabelTxt(252)), std::string::npos);
}

TEST_F(Antworttabelle, ASmallWindowScrollsTheTableWithItsBars) {
    Form15& t = oeffne();
    auto* sub = qobject_cast<QMdiSubWindow*>(t.parentWidget());
    sub->showNormal();
    sub->resize(320, 220);
    QApplication::processEvents();
    ASSERT_TRUE(t.isScrollBarShown(forms::SB_VERT));
    ASSERT_TRUE(t.isScrollBarShown(forms::SB_HORZ));
    const int oben = t.Picture1.y();
    t.sendScroll(forms::SB_VERT, forms::SB_PAGEDOWN);
    EXPECT_EQ(t.Picture1.y(), oben - 30);
    t.sendScroll(forms::SB_VERT, forms::SB_LINEUP);
    EXPECT_EQ(t.Picture1.y(), oben - 20);
    t.sendScroll(forms::SB_HORZ, forms::SB_THUMBTRACK, 75);
    EXPECT_EQ(t.Picture1.x(), -75);
    t.sendScroll(forms::SB_HORZ, forms::SB_ENDSCROLL);
    EXPECT_EQ(t.Picture1.x(), -75);
    // Every text fits its cell at any window size.
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r < 10; ++r) {
            QFont f = t.Grid1.font();
            f.setBold(true);
            EXPECT_LE(QFontMetrics(f).horizontalAdvance(QString::fromStdString(t.Grid1.TextMatrix(r, c))),
                      t.Grid1.columnWidth(c));
        }
}

TEST_F(Antworttabelle, TheToolbarOpensTheTableAndItsHelpButtonTheTablesTopic) {
    mdi().SSCommand1[4]->click();
    ASSERT_NE(tabelle(), nullptr);
    Form15& t = *tabelle();
    t.SSCommand2.click();
    const auto* hilfe = h().last(forms::HostRecord::Kind::Help);
    ASSERT_NE(hilfe, nullptr);
    EXPECT_EQ(hilfe->title, "html/zuvw4hr9.htm");
}

TEST_F(Antworttabelle, ThePrintItemsFollowTheOpenTablesAndTheirBitmap) {
    mdi().mnuDruckTabelle.setEnabled(false);
    mdi().mnuDruckGrafik.setEnabled(false);
    Form15& erste = oeffne();
    EXPECT_TRUE(mdi().mnuDruckTabelle.Enabled());
    erste.Grid1.clickCell(0, 1);
    erste.SSCommand1.click();
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_TRUE(mdi().mnuDruckTabelle.Enabled());  // the table is still there to print

    Form15& zweite = oeffne();
    ASSERT_TRUE(forms::Unload(zweite));  // the first one, active again, writes its bitmap anew
    files::Kill(AustauschbildPfad("ZUVTabelle.bmp"));
    EXPECT_TRUE(mdi().mnuDruckTabelle.Enabled());
    ASSERT_TRUE(forms::Unload(erste));
    EXPECT_FALSE(mdi().mnuDruckTabelle.Enabled());
    Form15& dritte = oeffne();
    ASSERT_TRUE(forms::Unload(dritte));
    EXPECT_TRUE(mdi().mnuDruckTabelle.Enabled());
}

TEST_F(Antworttabelle, EachTableChartsItsOwnChoiceWhateverAnotherTableChoseSince) {
    Form15& erste = oeffne();
    erste.Grid1.clickCell(0, 5);  // rating value 4 of every type
    Form15& zweite = oeffne();
    zweite.Grid1.clickCell(2, 0);  // the five counts of type 2
    ASSERT_EQ(gDiagrammTitel, gTypbezeichnung[2]);

    aktiviere(erste);
    erste.SSCommand1.click();
    auto* chart = dynamic_cast<frmChart*>(gChartFenster.data());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->anfrage().diagrammArt, 10);
    EXPECT_EQ(chart->anfrage().titel, LabelTxt(157) + " 4");
    for (int typ = 1; typ <= 9; ++typ) EXPECT_EQ(chart->anfrage().werte[typ], erwartet.anzahl[typ][4]) << typ;

    aktiviere(zweite);
    zweite.SSCommand1.click();
    chart = dynamic_cast<frmChart*>(gChartFenster.data());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->anfrage().diagrammArt, 11);
    EXPECT_EQ(chart->anfrage().titel, gTypbezeichnung[2]);
    for (int v = 0; v <= 4; ++v) EXPECT_EQ(chart->anfrage().werte[v + 1], erwartet.anzahl[2][v]) << v;
}

TEST_F(Antworttabelle, TheChartButtonOpensAChartOfTheChoiceUntilTheWindowLimit) {
    Form15& t = oeffne();
    t.Grid1.clickCell(2, 0);
    t.SSCommand1.click();
    auto* chart = dynamic_cast<frmChart*>(gChartFenster.data());
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isLoaded());
    EXPECT_EQ(chart->Caption(), LabelTxt(153));
    EXPECT_EQ(chart->anfrage().diagrammArt, 11);
    EXPECT_EQ(chart->anfrage().titel, gTypbezeichnung[2]);
    EXPECT_EQ(gFensterAnzahl, 2);

    gFensterAnzahl = 10;
    h().clearRecords();
    t.Grid1.clickCell(0, 4);
    t.SSCommand1.click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(mdi().children().size(), 2u);  // the table and the first chart: nothing new shown
    EXPECT_EQ(t.MousePointer(), forms::vbDefault);
    EXPECT_EQ(t.Auswahlart(), 1);
    EXPECT_TRUE(t.SSCommand1.isEnabled());
    EXPECT_EQ(gDiagrammTitel, LabelTxt(157) + " 3");
    gFensterAnzahl = 2;
}
