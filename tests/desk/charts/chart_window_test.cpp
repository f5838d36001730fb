#include "desk/common/druckbild.h"
#include "chart_fixture.h"

#include <QImage>
#include <QMdiArea>

#include <algorithm>
#include <array>
#include <filesystem>

#include "desk/charts/chart_farben.h"
#include "platform/vb/color.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/recordset.h"

using namespace chart_test;
using namespace chart;

namespace {

TEST_F(ChartTest, ThePersonChartShowsTheScoresByTypeAndLeavesItsPictureForTheReport) {
    bilderLoeschen();
    mdi().mnuGrafikauswertung.Click();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Caption(), LabelTxt(153));
    // Alone, it fills the main window.
    EXPECT_EQ(f->outerWindow()->geometry(), mdi().mdiArea()->viewport()->rect());
    EXPECT_EQ(gFensterAnzahl, 1);
    EXPECT_EQ(gChartFenster.data(), f);
    const Chart& c = f->MSChart1;
    EXPECT_EQ(c.ChartType, VtChChartType2dBar);
    ASSERT_EQ(c.DataGrid.RowCount(), 9);
    ASSERT_EQ(c.Plot.SeriesCount(), 1);
    // Rescored first: the chart holds the fresh total of each type, in the order of the types.
    for (int t = 1; t <= 9; ++t) {
        EXPECT_EQ(c.DataGrid.Data(t, 1), gTypgesamtsummeJeTyp[t]) << "type " << t;
        EXPECT_EQ(c.DataGrid.RowLabel(t, 1), gTypbezeichnung[t]);
    }
    EXPECT_TRUE(c.ShowLegend);
    EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, LabelTxt(109) + "  ");
    EXPECT_EQ(c.TitleText(), "Vorname1 Nachname1 / 01.02.2026");
    EXPECT_EQ(forms::Instance<frmChartOpt>().Text1.Text(), c.TitleText());
    EXPECT_EQ(c.Plot.Axis(VtChAxisIdX).AxisTitle.Text, LabelTxt(126));
    // Installed colours: series 1 blue on white.
    EXPECT_EQ(c.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Blue, 255);
    EXPECT_EQ(c.Backdrop.Fill.Brush.FillColor.Red, 255);

    ASSERT_TRUE(bildDa("ZUVGrafik1.bmp"));
    EXPECT_FALSE(bildDa("ZUVGrafik2.bmp"));
    EXPECT_FALSE(bildDa("ZUVGrafik3.bmp"));
    const std::string id = identify("ZUVGrafik1.bmp");
    EXPECT_NE(id.find("BMP"), std::string::npos) << id;
    const QImage bild(QString::fromStdString(pfad("ZUVGrafik1.bmp")));
    // Drawn for the report's sheet whatever the window's size: its printable width at print resolution.
    EXPECT_EQ(bild.size(), QSize(kDruckbildBreite * kDruckbildPpi / 1440 + 1, 1206));
    // The bars stand in the picture in the series colour.
    bool blau = false;
    for (int y = 0; y < bild.height() && !blau; y += 3)
        for (int x = 0; x < bild.width() && !blau; x += 3) blau = bild.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_TRUE(blau);

    // Closing counts the window down and gives the place back.
    forms::Unload(*f);
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(ChartTest, TheSeriesChoiceShapesTheDataAndPicksTheReportPicture) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    // Grouped: three series, values 0 and 1, value 2, values 3 and 4.
    o.Option3[1].setValue(true);
    bilderLoeschen();
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->MSChart1.Plot.SeriesCount(), 3);
    for (int t = 1; t <= 9; ++t) {
        EXPECT_EQ(f->MSChart1.DataGrid.Data(t, 1), gTypsumme01JeTyp[t]);
        EXPECT_EQ(f->MSChart1.DataGrid.Data(t, 2), gTypsumme2JeTyp[t]);
        EXPECT_EQ(f->MSChart1.DataGrid.Data(t, 3), gTypsumme34JeTyp[t]);
    }
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(3).LegendText, LabelTxt(111) + "  ");
    EXPECT_TRUE(bildDa("ZUVGrafik2.bmp"));

    // Grouped 0 to 4: five series in the order of the answer values.
    o.Option3[9].setValue(true);
    o.Check3.setValue(1);
    GrafikauswertungAnzeigen();
    f = aktivesChart();
    ASSERT_EQ(f->MSChart1.Plot.SeriesCount(), 5);
    const int texte[5] = {117, 116, 112, 115, 114};
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(s).LegendText, LabelTxt(texte[s - 1]) + "  ");
        EXPECT_TRUE(f->MSChart1.Plot.SeriesCollection(s).SeriesMarker.Show);
    }
    EXPECT_EQ(reihe(f->MSChart1, 1)[4], gTypsumme0JeTyp[5]);
    EXPECT_EQ(reihe(f->MSChart1, 5)[8], gTypsumme4JeTyp[9]);

    // A single value: the third picture. The file follows the chart's own choice, not what the
    // dialog shows when the window is activated again.
    o.Option3[5].setValue(true);
    o.Check3.setValue(0);
    bilderLoeschen();
    GrafikauswertungAnzeigen();
    frmChart* einzel = aktivesChart();
    EXPECT_EQ(reihe(einzel->MSChart1, 1)[2], gTypsumme4JeTyp[3]);
    EXPECT_FALSE(einzel->MSChart1.Plot.SeriesCollection(1).SeriesMarker.Show);
    EXPECT_TRUE(bildDa("ZUVGrafik3.bmp"));
    o.Option3[0].setValue(true);
    bilderLoeschen();
    forms::Instance<frmMDI>().childActivated(charts().front());
    forms::Instance<frmMDI>().childActivated(einzel);
    EXPECT_TRUE(bildDa("ZUVGrafik3.bmp"));
    EXPECT_TRUE(bildDa("ZUVGrafik2.bmp"));  // the first window was the grouped one
    EXPECT_FALSE(bildDa("ZUVGrafik1.bmp"));
}

TEST_F(ChartTest, ThePieSharesTheTotalScoresOutAmongTheNineTypes) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Option1[4].setValue(true);
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    const Chart& c = f->MSChart1;
    EXPECT_EQ(c.ChartType, VtChChartType2dPie);
    ASSERT_EQ(c.DataGrid.RowCount(), 1);
    ASSERT_EQ(c.Plot.SeriesCount(), 9);
    for (int t = 1; t <= 9; ++t) {
        EXPECT_EQ(c.DataGrid.Data(1, t), gTypgesamtsummeJeTyp[t]);
        EXPECT_EQ(c.Plot.SeriesCollection(t).LegendText, gTypbezeichnung[t]);
        // Slice t has the colour of type t.
        EXPECT_EQ(vb::RGB(c.Plot.SeriesCollection(t).DataPoints(-1).Brush.FillColor.Red,
                          c.Plot.SeriesCollection(t).DataPoints(-1).Brush.FillColor.Green,
                          c.Plot.SeriesCollection(t).DataPoints(-1).Brush.FillColor.Blue),
                  ReihenFarbe(t));
    }
    EXPECT_EQ(c.RowLabel(), LabelTxt(109));
    EXPECT_EQ(c.Plot.Axis(VtChAxisIdX).AxisTitle.Text, LabelTxt(126));

    // A grouped choice cannot be a pie: the rules keep it from being chosen; a stored row that
    // has both draws the totals rather than an empty pie.
    EXPECT_FALSE(o.Option3[1].Enabled());
    EXPECT_FALSE(o.Option3[9].Enabled());
    o.Option3[1].setValue(true);
    GrafikauswertungAnzeigen();
    EXPECT_EQ(aktivesChart()->MSChart1.DataGrid.Data(1, 4), gTypgesamtsummeJeTyp[4]);
    EXPECT_TRUE(bildDa("ZUVGrafik1.bmp"));
}

TEST_F(ChartTest, APieLeavesNegativeTotalsOutAndNamesThemAndSharesRejectionsOutByTheirSize) {
    // Totals 50, -28, 0, then 20 for the other types.
    support::Anzahlen a = support::jederTyp({2, 2, 6, 2, 2});
    a[1] = {0, 0, 2, 2, 10};
    a[2] = {14, 0, 0, 0, 0};
    a[3] = {7, 0, 7, 0, 0};
    gAktPersonID = support::personSchreiben(*gDatenbank, gItemNummer, gTypNummer, "Nina", "Negativ", a);
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Option1[4].setValue(true);
    o.Check1[4].setValue(0);
    GrafikauswertungAnzeigen();
    const chart::Chart* c = &aktivesChart()->MSChart1;
    ASSERT_EQ(c->ChartType, VtChChartType2dPie);
    EXPECT_EQ(c->DataGrid.Data(1, 2), -28);
    EXPECT_EQ(c->FootnoteText(), LabelTxt(380) + " " + gTypbezeichnung[2] + " -28");

    // Beside the user's own footnote the note stands on a line of its own.
    o.Check1[4].setValue(1);
    o.Text2.setText("Eigene Fußnote");
    GrafikauswertungAnzeigen();
    c = &aktivesChart()->MSChart1;
    EXPECT_EQ(c->FootnoteText(), "Eigene Fußnote\n" + LabelTxt(380) + " " + gTypbezeichnung[2] + " -28");

    // The scores of the rating 0 are all rejections: the pie shares out their sizes, with no note.
    o.Option3[8].setValue(true);
    GrafikauswertungAnzeigen();
    c = &aktivesChart()->MSChart1;
    EXPECT_EQ(reihe(*c, 2), std::vector<double>{28});
    EXPECT_EQ(reihe(*c, 3), std::vector<double>{14});
    EXPECT_EQ(reihe(*c, 1), std::vector<double>{0});
    EXPECT_EQ(c->FootnoteText(), "Eigene Fußnote");
}

TEST_F(ChartTest, AnswerTableColumnsAndRowsAreChartedWithTheirOwnTitleAndNoReportPicture) {
    bilderLoeschen();
    frmChart* f = TabellenchartAnzeigen(10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "Antwortwert 3");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(reihe(f->MSChart1, 1), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(1).LegendText, "Antwortwert 3");
    EXPECT_EQ(f->MSChart1.DataGrid.RowLabel(9, 1), gTypbezeichnung[9]);
    EXPECT_EQ(f->MSChart1.Plot.Axis(VtChAxisIdX).AxisTitle.Text, LabelTxt(126));

    const std::array<int16_t, 10> zeile{0, 4, 3, 2, 1, 0, 0, 0, 0, 0};
    f = TabellenchartAnzeigen(11, zeile, gTypbezeichnung[2]);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(reihe(f->MSChart1, 1), (std::vector<double>{4, 3, 2, 1, 0}));
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(f->MSChart1.DataGrid.RowLabel(r, 1), std::to_string(r - 1));
    EXPECT_EQ(f->MSChart1.Plot.Axis(VtChAxisIdX).AxisTitle.Text, LabelTxt(157));
    for (const char* n : {"ZUVGrafik1.bmp", "ZUVGrafik2.bmp", "ZUVGrafik3.bmp"}) EXPECT_FALSE(bildDa(n)) << n;

    // As a pie: five counts and four empty slices, named by the answer values, the title below.
    forms::Default<frmChartOpt>().Option1[4].setValue(true);
    f = TabellenchartAnzeigen(11, zeile, gTypbezeichnung[2]);
    ASSERT_EQ(f->MSChart1.Plot.SeriesCount(), 9);
    EXPECT_EQ(f->MSChart1.DataGrid.Data(1, 1), 4);
    EXPECT_EQ(f->MSChart1.DataGrid.Data(1, 6), 0);
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(1).LegendText, LabelTxt(157) + " 0");
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(6).LegendText, "");
    EXPECT_EQ(f->MSChart1.RowLabel(), gTypbezeichnung[2]);
}

TEST_F(ChartTest, TwoPersonsAreComparedTypeByTypeAndTheLegendNamesBoth) {
    // The first person's rows stored in reverse order of the types: each value still goes to its type.
    const int32_t erster = personID(2), zweiter = personID(3);
    gDatenbank->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(erster));
    for (int t = 9; t >= 1; --t)
        gDatenbank->Execute("INSERT INTO Ergebnis (PersonID, TypNummer, TypGesamtSumme) VALUES (" +
                            std::to_string(erster) + ", " + std::to_string(t) + ", " + std::to_string(100 + t) + ")");
    // The second person lacks the row of type 9.
    gDatenbank->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(zweiter) + " AND TypNummer = 9");
    vergleichWaehlen(2, 3);
    forms::Default<frmChartOpt>().Option1[4].setValue(true);  // the pie is replaced by bars
    forms::Default<frmChartOpt>().Check3.setValue(1);
    bilderLoeschen();
    DateivergleichAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Caption(), LabelTxt(225));
    EXPECT_NE(f->WindowState(), forms::vbMaximized);
    EXPECT_EQ(gDateivergleich, 1);
    const Chart& c = f->MSChart1;
    EXPECT_EQ(c.ChartType, VtChChartType2dBar);
    ASSERT_EQ(c.Plot.SeriesCount(), 2);
    for (int t = 1; t <= 9; ++t) EXPECT_EQ(c.DataGrid.Data(t, 1), 100 + t) << t;
    for (int t = 1; t <= 8; ++t) EXPECT_EQ(c.DataGrid.Data(t, 2), 30 + t) << t;
    EXPECT_EQ(c.DataGrid.Data(9, 2), 0);
    // Markers switched on mark the first series only, as with any single choice.
    EXPECT_TRUE(c.Plot.SeriesCollection(1).SeriesMarker.Show);
    EXPECT_FALSE(c.Plot.SeriesCollection(2).SeriesMarker.Show);
    EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, "Vorname2 Nachname2: " + LabelTxt(109));
    EXPECT_EQ(c.Plot.SeriesCollection(2).LegendText, "Vorname3 Nachname3: " + LabelTxt(109));
    EXPECT_EQ(c.TitleText(), "Vorname2 Nachname2 / 01.02.2026 " + LabelTxt(371) + " Vorname3 Nachname3 / 01.02.2026");
    EXPECT_TRUE(bildDa("ZUVVergleich.bmp"));
    EXPECT_FALSE(bildDa("ZUVGrafik1.bmp"));
    // Drawn for the report's sheet as the other charts, not the screen's picture enlarged.
    const QImage vergleich(QString::fromStdString(pfad("ZUVVergleich.bmp")));
    EXPECT_GE(vergleich.width() * 1440.0 / 9638, 200);
    EXPECT_NEAR(vergleich.dotsPerMeterX() * 0.0254, 240, 1);

    // The options dialog in two-person mode: no grouped values, no pie, whatever the tabs do.
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Show();
    EXPECT_FALSE(o.Option3[1].Enabled());
    EXPECT_FALSE(o.Option3[9].Enabled());
    EXPECT_FALSE(o.Option1[4].Enabled());
    o.SSTab1.setTab(3);
    EXPECT_FALSE(o.Option1[4].Enabled());

    // A person without any result row: the chart is drawn with zeros and says why.
    gDatenbank->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(zweiter));
    h().clearRecords();
    DateivergleichAnzeigen();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Vorname3 Nachname3"), std::string::npos);
    EXPECT_EQ(reihe(aktivesChart()->MSChart1, 2), std::vector<double>(9, 0.0));
    // A person who took the test but was never evaluated has rows without scores: named too.
    gDatenbank->Execute("UPDATE Ergebnis SET TypGesamtSumme = NULL WHERE PersonID = " + std::to_string(erster));
    h().clearRecords();
    DateivergleichAnzeigen();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_NE(h().messages()[0].find("Vorname2 Nachname2 sind noch keine Ergebnisse berechnet"), std::string::npos)
        << h().messages()[0];
    EXPECT_EQ(reihe(aktivesChart()->MSChart1, 1), std::vector<double>(9, 0.0));
    // Their own chart cannot be scored: the message says why and no window opens.
    const auto vorher = charts().size();
    h().clearRecords();
    GrafikauswertungAnzeigen();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("fehlen Datensätze"), std::string::npos) << h().messages()[0];
    EXPECT_EQ(charts().size(), vorher);
}

TEST_F(ChartTest, BesideOtherWindowsTheChartIsCascadedAtASizeToBeRead) {
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    mdi().mnuTabelle.choose();
    forms::Instance<frmMDI>().childActivated(f);
    EXPECT_EQ(gFensterAnzahl, 2);
    EXPECT_GE(f->MSChart1.width(), 400) << mdi().mdiArea()->viewport()->width();
    EXPECT_GE(f->MSChart1.height(), 300) << mdi().mdiArea()->viewport()->height();
}

TEST_F(ChartTest, TheEleventhWindowIsRefusedBeforeAnythingIsDrawn) {
    for (int i = 0; i < 10; ++i) GrafikauswertungAnzeigen();
    EXPECT_EQ(gFensterAnzahl, 10);
    EXPECT_EQ(charts().size(), 10u);
    bilderLoeschen();
    h().clearRecords();
    GrafikauswertungAnzeigen();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(charts().size(), 10u);
    EXPECT_FALSE(bildDa("ZUVGrafik1.bmp"));
    EXPECT_EQ(gFensterAnzahl, 10);

    // A refused comparison offers nothing to print either.
    gVergleichPersonID = personID(2);
    gVergleichPerson[1] = "Vorname2";
    gVergleichPerson[2] = "Nachname2";
    DateivergleichAnzeigen();
    EXPECT_EQ(charts().size(), 10u);
    EXPECT_FALSE(bildDa("ZUVVergleich.bmp"));
    EXPECT_FALSE(mdi().mnuDruckDateivergleich.Enabled());
}

TEST_F(ChartTest, APictureThatCannotBeWrittenIsReportedOnceAndTheWindowStays) {
    bilderLoeschen();
    fs::create_directory(dir / "ZUVGrafik1.bmp");  // a folder where the picture should go
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Bericht"), std::string::npos);
    EXPECT_TRUE(f->isLoaded());
    // Activated again: no second box.
    GrafikauswertungAnzeigen();
    forms::Instance<frmMDI>().childActivated(f);
    EXPECT_EQ(h().messages().size(), 2u);  // one for each window, none for the repeat
    fs::remove(dir / "ZUVGrafik1.bmp");
}

TEST_F(ChartTest, TheStyleFollowsTheOptionsAndHiddenLinesAreLeftOut) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Check2[0].setValue(0);  // no Y grid
    o.Check2[1].setValue(1);  // X grid
    o.Check4[0].setValue(0);
    o.Check4[1].setValue(0);
    o.Combo1.setText("40");
    o.Combo3.setText("70");
    o.Combo5.setText("50");
    o.Combo6.setText("0");
    o.Check5.setValue(1);
    gAchsenlinienfarbeRot = int16_t(10);
    gAchsenlinienfarbeGruen = int16_t(20);
    gAchsenlinienfarbeBlau = 30;
    gDiagrammHintergrundfarbeRot = int16_t(250);
    gDiagrammHintergrundfarbeGruen = int16_t(250);
    gDiagrammHintergrundfarbeBlau = 200;
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    PlotSpec& p = f->MSChart1.Plot;
    const LinePen& yGrid = p.Axis(VtChAxisIdY).AxisGrid.MajorPen;
    EXPECT_EQ(yGrid.Style, VtPenStyleNull);
    EXPECT_EQ(yGrid.VtColor.Blue, 200);  // the plot's colour, as hidden lines always had
    EXPECT_EQ(p.Axis(VtChAxisIdX).AxisGrid.MajorPen.Style, VtPenStyleSolid);
    EXPECT_EQ(p.Axis(VtChAxisIdX).AxisGrid.MajorPen.VtColor.Green, 20);
    EXPECT_EQ(p.Axis(VtChAxisIdY2).AxisGrid.MajorPen.VtColor.Red, 10);
    EXPECT_EQ(p.Axis(VtChAxisIdY2).Pen.Style, VtPenStyleNull);
    EXPECT_TRUE(p.Axis(VtChAxisIdY2).Labels(1).Hide);
    EXPECT_EQ(p.Axis(VtChAxisIdY).Pen.VtColor.Blue, 30);
    EXPECT_FLOAT_EQ(p.View3d.Rotation, 40);
    EXPECT_FLOAT_EQ(p.Light.AmbientIntensity, 0.7f);
    EXPECT_FLOAT_EQ(p.xGap, 5.0f);
    EXPECT_TRUE(f->MSChart1.Stacking);
    for (int a : {0, 1, 2}) {
        EXPECT_EQ(p.Axis(a).Pen.Width, 0);
        EXPECT_EQ(p.Axis(a).AxisGrid.MajorPen.Width, 0);
    }

    // A new plot colour repaints what is hidden in it.
    h().chooseColor(vb::RGB(0, 100, 0));
    f->MSChart1_PlotActivated();
    EXPECT_EQ(p.Backdrop.Fill.Brush.FillColor.Green, 100);
    EXPECT_EQ(yGrid.VtColor.Green, 100);
    EXPECT_EQ(p.Axis(VtChAxisIdY2).Labels(1).VtFont.VtColor.Green, 100);

    // A rotation that is no number (a row written by another program) takes the installed value
    // and the steps after it are done all the same.
    o.Combo1.setText("");
    o.Combo6.setText("10");
    GrafikauswertungAnzeigen();
    EXPECT_FLOAT_EQ(aktivesChart()->MSChart1.Plot.View3d.Rotation, 30);
    EXPECT_EQ(aktivesChart()->MSChart1.Plot.Axis(VtChAxisIdY).Pen.Width, 10);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(ChartTest, DoubleClickedElementsTakeAColourOrFontAndCancelChangesNothing) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Option1[2].setValue(true);  // 2-D line
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    SeriesSpec& s = f->MSChart1.Plot.SeriesCollection(1);
    const Colour vorher = s.Pen.VtColor;
    h().cancelDialog();
    f->MSChart1_SeriesActivated(1);
    EXPECT_EQ(s.Pen.VtColor.Blue, vorher.Blue);
    EXPECT_EQ(s.Pen.VtColor.Red, vorher.Red);
    h().chooseColor(vb::RGB(200, 10, 20));
    f->MSChart1_SeriesActivated(1);
    EXPECT_EQ(s.Pen.VtColor.Red, 200);  // a line chart recolours its line
    EXPECT_EQ(h().lastColorPreset(), vb::RGB(vorher.Red, vorher.Green, vorher.Blue));

    h().cancelDialog();
    f->MSChart1_ChartActivated();
    EXPECT_EQ(f->MSChart1.Backdrop.Fill.Brush.FillColor.Red, 255);

    // Title: bold, then plain again.
    forms::FontChoice fett{"DejaVu Sans", 14.5, true, false};
    h().chooseFont(fett);
    f->MSChart1_TitleActivated();
    EXPECT_EQ(f->MSChart1.Title.VtFont.Style, VtFontStyleBold);
    EXPECT_FLOAT_EQ(f->MSChart1.Title.VtFont.Size, 14);  // halves go to the even neighbour
    forms::FontChoice normal{"DejaVu Sans", 11, false, false};
    h().chooseFont(normal);
    f->MSChart1_TitleActivated();
    EXPECT_EQ(f->MSChart1.Title.VtFont.Style, 0);
    h().cancelDialog();
    f->MSChart1_TitleActivated();
    EXPECT_EQ(f->MSChart1.Title.VtFont.Name, "DejaVu Sans");
    EXPECT_FLOAT_EQ(f->MSChart1.Title.VtFont.Size, 11);
    h().chooseFont({"DejaVu Serif", 9, false, true});
    f->MSChart1_AxisLabelActivated(VtChAxisIdY, 1, 3, 1);
    EXPECT_EQ(f->MSChart1.Plot.Axis(VtChAxisIdY).Labels(1).VtFont.Name, "DejaVu Serif");
    EXPECT_EQ(f->MSChart1.Plot.Axis(VtChAxisIdY).Labels(1).VtFont.Style, VtFontStyleItalic);
    EXPECT_TRUE(h().messages().empty());

    // A bar chart recolours its bars; nothing goes back into the settings.
    o.Option1[0].setValue(true);
    GrafikauswertungAnzeigen();
    f = aktivesChart();
    h().chooseColor(vb::RGB(1, 2, 3));
    f->MSChart1_SeriesActivated(1);
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Blue, 3);
    EXPECT_EQ(gReihe1Blau, 255);
}

TEST_F(ChartTest, OkInTheOptionsReplacesTheActiveChartByAChartOfTheCurrentPerson) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    vergleichWaehlen(2, 3);
    DateivergleichAnzeigen();
    GrafikauswertungAnzeigen();
    frmChart* person = aktivesChart();
    forms::Instance<frmMDI>().childActivated(charts().front());
    ASSERT_EQ(charts().size(), 2u);
    // OK while the comparison is active: it closes, the current (second) person's chart opens in
    // the new settings and the other chart keeps its look.
    o.Show();
    o.Option1[2].setValue(true);
    o.Command1_Click();
    EXPECT_FALSE(o.isLoaded());
    ASSERT_EQ(charts().size(), 2u);
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    EXPECT_NE(f, person);
    EXPECT_EQ(f->Caption(), LabelTxt(153));
    EXPECT_EQ(f->MSChart1.ChartType, VtChChartType2dLine);
    ASSERT_EQ(f->MSChart1.Plot.SeriesCount(), 1);
    for (int t = 1; t <= 9; ++t) EXPECT_EQ(f->MSChart1.DataGrid.Data(t, 1), gTypgesamtsummeJeTyp[t]);
    EXPECT_EQ(f->MSChart1.TitleText(), "Vorname3 Nachname3 / 01.02.2026");
    EXPECT_EQ(gDateivergleich, 0);
    EXPECT_EQ(person->MSChart1.ChartType, VtChChartType2dBar);
    for (frmChart* c : charts()) EXPECT_NE(c->Caption(), LabelTxt(225));

    // So does a chart of the answer table.
    for (frmChart* c : charts()) forms::Unload(*c);
    ASSERT_NE(TabellenchartAnzeigen(11, {0, 4, 3, 2, 1, 0, 0, 0, 0, 0}, gTypbezeichnung[2]), nullptr);
    forms::Default<frmChartOpt>().Option1[5].setValue(true);
    forms::Default<frmChartOpt>().Command1_Click();
    ASSERT_EQ(charts().size(), 1u);
    EXPECT_EQ(aktivesChart()->MSChart1.ChartType, VtChChartType2dArea);
    EXPECT_EQ(aktivesChart()->MSChart1.DataGrid.RowCount(), 9);
    EXPECT_EQ(aktivesChart()->MSChart1.Plot.SeriesCollection(1).LegendText, LabelTxt(109) + "  ");
    EXPECT_EQ(gDiagrammArt, 1);
}

}  // namespace

#include "desk/evaluation/form15.h"

namespace {

TEST_F(ChartTest, TheAnswerTableHandsAColumnOrATypeToANewChart) {
    mdi().mnuTabelle.choose();
    auto* t = dynamic_cast<Form15*>(mdi().ActiveForm());
    ASSERT_NE(t, nullptr);
    t->Grid1.clickCell(0, 3);  // answer value 2
    t->SSCommand1.click();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Caption(), LabelTxt(153));
    for (int typ = 1; typ <= 9; ++typ)
        EXPECT_EQ(std::to_string(static_cast<int>(f->MSChart1.DataGrid.Data(typ, 1))), t->Grid1.TextMatrix(typ, 3));
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(1).LegendText, gDiagrammTitel);
    t->Grid1.clickCell(4, 0);  // type 4's five counts
    t->SSCommand1.click();
    f = aktivesChart();
    ASSERT_EQ(f->MSChart1.DataGrid.RowCount(), 5);
    for (int v = 1; v <= 5; ++v)
        EXPECT_EQ(std::to_string(static_cast<int>(f->MSChart1.DataGrid.Data(v, 1))), t->Grid1.TextMatrix(4, v));
    EXPECT_EQ(f->MSChart1.Plot.SeriesCollection(1).LegendText, gTypbezeichnung[4]);
    EXPECT_EQ(gFensterAnzahl, 3);
}

}  // namespace

namespace {

TEST_F(ChartTest, ThePrintItemsFollowTheActiveChartAndThePicturesThereAre) {
    bilderLoeschen();
    gAssistentanzeige = -1;
    GrafikauswertungAnzeigen();
    frmChart* person = aktivesChart();
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_FALSE(mdi().mnuDruckDateivergleich.Enabled());
    // The assistant's chart step is done: the type descriptions are next.
    frmAssist& a = forms::Default<frmAssist>();
    EXPECT_EQ(a.Label1[4].ForeColor(), kDunkelblau);
    EXPECT_EQ(a.Label2[3].ForeColor(), kDunkelblau);
    EXPECT_EQ(a.Label1[1].ForeColor(), kSchwarz);

    gVergleichPersonID = personID(2);
    gVergleichPerson[1] = "Vorname2";
    gVergleichPerson[2] = "Nachname2";
    DateivergleichAnzeigen();
    frmChart* zwei = aktivesChart();
    EXPECT_FALSE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_TRUE(mdi().mnuDruckDateivergleich.Enabled());
    forms::Instance<frmMDI>().childActivated(person);
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_EQ(gDateivergleich, 0);

    // Closing a chart leaves the items of the pictures that can still be printed.
    forms::Unload(*zwei);
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_TRUE(mdi().mnuDruckDateivergleich.Enabled());
    bilderLoeschen();
    forms::Unload(*person);
    EXPECT_FALSE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_FALSE(mdi().mnuDruckDateivergleich.Enabled());
    EXPECT_EQ(gFensterAnzahl, 0);
}

}  // namespace

namespace {

TEST_F(ChartTest, CopyTakesTheActiveChartAsAPicture) {
    GrafikauswertungAnzeigen();
    frmChart* erster = aktivesChart();
    forms::Default<frmChartOpt>().Option1[4].setValue(true);
    GrafikauswertungAnzeigen();
    forms::Instance<frmMDI>().childActivated(erster);
    mdi().mnuKopieren.Click();
    const QImage kopie = forms::Clipboard::GetData();
    ASSERT_FALSE(kopie.isNull());
    EXPECT_EQ(kopie.convertToFormat(QImage::Format_RGB32), erster->bild().convertToFormat(QImage::Format_RGB32));
}

}  // namespace

namespace {

TEST_F(ChartTest, ChartsClosingForTheNextPersonLeaveNoPictureOfThePreviousOne) {
    GrafikauswertungAnzeigen();
    GrafikauswertungAnzeigen();
    ASSERT_EQ(charts().size(), 2u);
    // Taking the next person deletes the pictures and closes the result windows; the chart left
    // open is activated in between.
    bilderLoeschen();
    gAktPersonID = personID(2);
    SchliesseUnterfenster();
    EXPECT_TRUE(charts().empty());
    EXPECT_FALSE(bildDa("ZUVGrafik1.bmp"));
}

}  // namespace

namespace {

// Person charts, answer-table charts and comparisons opened one after another, in every order:
// each window shows what it was asked for, whatever was asked before it or after it.
TEST_F(ChartTest, EveryOrderOfPersonTableAndComparisonChartsDrawsEachAsAsked) {
    vergleichWaehlen(2, 3);
    // The first person's stored totals, as the comparison charts them.
    std::vector<double> erste;
    for (int t = 1; t <= 9; ++t) erste.push_back(20 + t);
    mdi().mnuTabelle.choose();
    auto* tabelle = dynamic_cast<Form15*>(mdi().ActiveForm());
    ASSERT_NE(tabelle, nullptr);
    const std::string vergleichTitel = "Vorname2 Nachname2 / 01.02.2026 " + LabelTxt(371) +
                                       " Vorname3 Nachname3 / 01.02.2026";

    enum Art { Person, Zeile, Spalte, Vergleich };
    std::array<Art, 4> folge{Person, Zeile, Spalte, Vergleich};
    int folgen = 0;
    do {
        ++folgen;
        std::string wo;
        for (Art a : folge) wo += "PZSV"[a];
        std::vector<std::pair<Art, frmChart*>> offen;
        for (Art a : folge) {
            if (a == Person) GrafikauswertungAnzeigen();
            if (a == Zeile || a == Spalte) {
                forms::Instance<frmMDI>().childActivated(tabelle);
                tabelle->Grid1.clickCell(a == Zeile ? 4 : 0, a == Zeile ? 0 : 3);
                tabelle->SSCommand1.click();
            }
            if (a == Vergleich) {
                fs::remove(dir / "ZUVVergleich.bmp");
                DateivergleichAnzeigen();
                EXPECT_TRUE(bildDa("ZUVVergleich.bmp")) << wo;
            }
            frmChart* f = aktivesChart();
            ASSERT_NE(f, nullptr) << wo;
            offen.emplace_back(a, f);
        }
        // Each window activated again, last to first: still its own chart, and the comparison's
        // picture is of the two persons.
        for (auto it = offen.rbegin(); it != offen.rend(); ++it) {
            const auto [a, f] = *it;
            forms::Instance<frmMDI>().childActivated(f);
            const Chart& c = f->MSChart1;
            const std::string was = wo + " " + "PZSV"[a];
            switch (a) {
            case Person:
                EXPECT_EQ(f->Caption(), LabelTxt(153)) << was;
                ASSERT_EQ(c.Plot.SeriesCount(), 1) << was;
                EXPECT_EQ(c.TitleText(), "Vorname3 Nachname3 / 01.02.2026") << was;
                for (int t = 1; t <= 9; ++t) EXPECT_EQ(c.DataGrid.Data(t, 1), gTypgesamtsummeJeTyp[t]) << was;
                break;
            case Zeile:
                ASSERT_EQ(c.DataGrid.RowCount(), 5) << was;
                EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, gTypbezeichnung[4]) << was;
                for (int v = 1; v <= 5; ++v)
                    EXPECT_EQ(std::to_string(int(c.DataGrid.Data(v, 1))), tabelle->Grid1.TextMatrix(4, v)) << was;
                break;
            case Spalte:
                ASSERT_EQ(c.DataGrid.RowCount(), 9) << was;
                EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, LabelTxt(157) + " 2") << was;
                for (int t = 1; t <= 9; ++t)
                    EXPECT_EQ(std::to_string(int(c.DataGrid.Data(t, 1))), tabelle->Grid1.TextMatrix(t, 3)) << was;
                break;
            case Vergleich: {
                EXPECT_EQ(f->Caption(), LabelTxt(225)) << was;
                EXPECT_EQ(gDateivergleich, 1) << was;
                ASSERT_EQ(c.DataGrid.RowCount(), 9) << was;
                ASSERT_EQ(c.Plot.SeriesCount(), 2) << was;
                EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, "Vorname2 Nachname2: " + LabelTxt(109)) << was;
                EXPECT_EQ(c.Plot.SeriesCollection(2).LegendText, "Vorname3 Nachname3: " + LabelTxt(109)) << was;
                EXPECT_EQ(reihe(c, 1), erste) << was;
                for (int t = 1; t <= 9; ++t) EXPECT_EQ(c.DataGrid.Data(t, 2), gTypgesamtsummeJeTyp[t]) << was;
                EXPECT_EQ(c.TitleText(), vergleichTitel) << was;
                // The picture for the report shows the bars of both persons.
                const QImage bild(QString::fromStdString(pfad("ZUVVergleich.bmp")));
                for (int n = 1; n <= 2; ++n) {
                    const int32_t farbe = ReihenFarbe(n);
                    const QColor soll(GetRed(farbe), GetGreen(farbe), GetBlue(farbe));
                    bool da = false;
                    for (int y = 0; y < bild.height() && !da; y += 2)
                        for (int x = 0; x < bild.width() && !da; x += 2) da = bild.pixelColor(x, y) == soll;
                    EXPECT_TRUE(da) << was << " series " << n;
                }
                break;
            }
            }
        }
        for (auto& [a, f] : offen) forms::Unload(*f);
    } while (std::next_permutation(folge.begin(), folge.end()));
    EXPECT_EQ(folgen, 24);
}

// The answer table's chart button switches the chart print item on only for a window that opened.
TEST_F(ChartTest, ARefusedAnswerTableChartSwitchesNoPrintItemOn) {
    bilderLoeschen();
    mdi().mnuTabelle.choose();
    auto* t = dynamic_cast<Form15*>(mdi().ActiveForm());
    ASSERT_NE(t, nullptr);
    DruckMenueNachBildern();
    ASSERT_FALSE(mdi().mnuDruckGrafik.Enabled());
    t->Grid1.clickCell(0, 2);
    gFensterAnzahl = 10;
    t->SSCommand1.click();
    EXPECT_EQ(charts().size(), 0u);
    EXPECT_FALSE(mdi().mnuDruckGrafik.Enabled());
    gFensterAnzahl = 1;
    t->SSCommand1.click();
    EXPECT_EQ(charts().size(), 1u);
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
}

}  // namespace

#include "desk/charts/chart_zeichnung.h"

namespace {

// The report draws the charts of the current person without a window, by the same steps.
TEST_F(ChartTest, AChartDrawnWithoutAWindowEqualsTheWindowsAndLeavesTheOptionsAlone) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Option1[1].setValue(true);  // 3-D bars
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    o.Text1.setText("Eigener Titel");
    // Whatever the answer table asked for last, the request for the person is a person chart.
    gDiagrammArt = 10;
    ChartAnfrage a = ChartAnfrageAusZustand(1, 0);
    EXPECT_EQ(a, f->anfrage());
    Chart c;
    ChartZeichnen(c, a);
    EXPECT_EQ(c.ChartType, VtChChartType3dBar);
    EXPECT_EQ(reihe(c, 1), reihe(f->MSChart1, 1));
    EXPECT_EQ(c.TitleText(), f->MSChart1.TitleText());
    EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, f->MSChart1.Plot.SeriesCollection(1).LegendText);
    EXPECT_EQ(c.toImage(QSize(640, 480)), f->MSChart1.toImage(QSize(640, 480)));
    EXPECT_EQ(o.Text1.Text(), "Eigener Titel");

    // Another choice of answer values than the dialog's: three series.
    a.wertewahl = 1;
    ChartZeichnen(c, a);
    EXPECT_EQ(c.Plot.SeriesCount(), 3);
    // A person without results cannot be drawn: said to the caller, no message box.
    gDatenbank->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(gAktPersonID));
    h().clearRecords();
    Chart leer;
    try {
        ChartZeichnen(leer, a);
        ADD_FAILURE() << "no error";
    } catch (const vb::Error& e) {
        EXPECT_NE(e.description().find("Vorname1 Nachname1"), std::string::npos) << e.description();
    }
    EXPECT_TRUE(h().messages().empty());
}

}  // namespace

// A chart left open while the person's answers change, in another program or in this one's test
// window: activated, and when a rating is stored, it charts the answers as stored now, and the
// result rows hold them.
TEST_F(ChartTest, AnOpenChartFollowsTheAnswersAsStoredNow) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Option3[0].setValue(true);  // all answer values: the totals
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    const std::string id = std::to_string(gAktPersonID);
    auto summe = [&](int typ) {
        auto rs = gDatenbank->OpenRecordset("SELECT TypGesamtSumme FROM Ergebnis WHERE PersonID = " + id +
                                                " AND TypNummer = " + std::to_string(typ),
                                            db::RecordsetType::Snapshot);
        return rs->Fields(0).Value().toInt();
    };
    const int vorher = f->MSChart1.DataGrid.Data(1, 1);

    // Every row of type 1 rated 4 by another program: 14 rows, 56 points.
    support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(gDatenbankName) +
                 " 'update typwertzuweisung set typrealwert = 4 where personid = " + id + " and typnummer = 1'");
    ASSERT_NE(vorher, 56);
    f->Form_Activate();
    EXPECT_EQ(f->MSChart1.DataGrid.Data(1, 1), 56);
    EXPECT_EQ(summe(1), 56);

    // A rating stored in this program's test window redraws the chart at once.
    support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(gDatenbankName) +
                 " 'update typwertzuweisung set typrealwert = 0 where personid = " + id + " and typnummer = 1'");
    BewertungenGespeichert(gAktPersonID);
    EXPECT_EQ(f->MSChart1.DataGrid.Data(1, 1), -28);
    EXPECT_EQ(summe(1), -28);
}

// A chart opened from the answer table ("Gesamt", then the chart button) follows the answers as
// stored now like every other result window: activated, copied or told of a rating, it charts its
// column (or its type's row) of the person's scores now, not the figures it was opened with.
TEST_F(ChartTest, AChartOfTheAnswerTableFollowsTheAnswersAsStoredNow) {
    mdi().mnuTabelle.choose();
    auto* t = dynamic_cast<Form15*>(mdi().ActiveForm());
    ASSERT_NE(t, nullptr);
    t->Grid1.clickCell(0, 6);  // the total
    t->SSCommand1.click();
    frmChart* gesamt = aktivesChart();
    ASSERT_NE(gesamt, nullptr);
    t->Grid1.clickCell(1, 0);  // type 1's five counts
    t->SSCommand1.click();
    frmChart* zeile = aktivesChart();
    ASSERT_NE(zeile, nullptr);
    ASSERT_NE(zeile, gesamt);
    const std::string id = std::to_string(gAktPersonID);
    auto aendern = [&](int wert) {
        support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(gDatenbankName) +
                     " 'update typwertzuweisung set typrealwert = " + std::to_string(wert) + " where personid = " + id +
                     " and typnummer = 1'");
    };
    // Every row of type 1 rated 4 by another program: 14 rows, 56 points, fourteen 4s.
    ASSERT_NE(static_cast<int>(gesamt->MSChart1.DataGrid.Data(1, 1)), 56);
    aendern(4);
    gesamt->Form_Activate();
    EXPECT_EQ(static_cast<int>(gesamt->MSChart1.DataGrid.Data(1, 1)), 56);
    (void)zeile->bild();  // as for the clipboard
    EXPECT_EQ(static_cast<int>(zeile->MSChart1.DataGrid.Data(5, 1)), 14);
    for (int v = 1; v <= 4; ++v) EXPECT_EQ(static_cast<int>(zeile->MSChart1.DataGrid.Data(v, 1)), 0) << v;
    // A rating stored in this program's test window redraws both at once.
    aendern(0);
    BewertungenGespeichert(gAktPersonID);
    EXPECT_EQ(static_cast<int>(gesamt->MSChart1.DataGrid.Data(1, 1)), -28);
    EXPECT_EQ(static_cast<int>(zeile->MSChart1.DataGrid.Data(1, 1)), 14);
    EXPECT_EQ(static_cast<int>(zeile->MSChart1.DataGrid.Data(5, 1)), 0);
    // What the table shows now, too.
    EXPECT_EQ(t->Grid1.TextMatrix(1, 6), "-28");
}
