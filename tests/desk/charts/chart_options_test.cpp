#include "chart_fixture.h"

#include <QLineEdit>

#include "desk/charts/chart_farben.h"
#include "platform/forms/keys.h"
#include "platform/vb/color.h"
#include "support/tastatur.h"

using namespace chart_test;

namespace {

class ChartOptionsTest : public ChartTest {
protected:
    // Every Yes/No column False but the given ones.
    void nurDieseWahr(std::initializer_list<const char*> wahr) {
        static const char* alle[] = {"Balken 2D",
                                     "Balken 3D",
                                     "Linie 2D",
                                     "Linie 3D",
                                     "Kreis 2D",
                                     "Fläche 2D",
                                     "Fläche 3D",
                                     "Schritt 2D",
                                     "Schritt 3D",
                                     "SkalierungLog",
                                     "SkalierungProzent",
                                     "SkalierungLinear",
                                     "AlleAntwortwerte",
                                     "AntwortwerteGruppiert",
                                     "Antwortwerte3und4",
                                     "Antwortwerte2",
                                     "Antwortwerte0und1",
                                     "Antwortwerte4",
                                     "Antwortwerte3",
                                     "Antwortwerte1",
                                     "Antwortwerte0",
                                     "AntwortwerteGruppiert0bis4",
                                     "ShowLegend",
                                     "ShowTypeLabel",
                                     "ShowÜberschrift",
                                     "Achsenbeschriftung",
                                     "ShowFussnote",
                                     "AchsenrasterY",
                                     "AchsenrasterX",
                                     "ShowMarkierungen",
                                     "ZweiteYAchseLinie",
                                     "ZweiteYAchseSkala",
                                     "Datenreihenuebereinander"};
        std::string set;
        for (const char* s : alle) {
            bool an = false;
            for (const char* w : wahr) an |= std::string(w) == s;
            set += std::string(set.empty() ? "" : ", ") + "[" + s + "] = " + (an ? "-1" : "0");
        }
        einstellen(set);
    }
};

TEST_F(ChartOptionsTest, TheStoredRowLoadsIntoTheControlsAndIsWrittenBackUnchanged) {
    nurDieseWahr({"Balken 3D", "SkalierungProzent", "Antwortwerte4", "ShowLegend", "Datenreihenuebereinander"});
    frmChartOpt& o = optionenNeu();
    for (int i = 0; i < 9; ++i) EXPECT_EQ(o.Option1[i].Value(), i == 1) << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(o.Option2[i].Value(), i == 1) << i;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(o.Option3[i].Value(), i == 5) << i;
    EXPECT_EQ(o.Check1[0].Value(), 1);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(o.Check1[i].Value(), 0);
    EXPECT_EQ(o.Check5.Value(), 1);
    EXPECT_EQ(o.Check3.Value(), 0);
    EXPECT_EQ(o.Combo1.Text(), "30");
    EXPECT_EQ(o.Combo6.Text(), "5");
    // The title is built from the current person, whatever the row holds.
    EXPECT_EQ(o.Text1.Text(), "Vorname1 Nachname1 / 01.02.2026");
    EXPECT_EQ(o.Text2.Text(), frmChartOpt::standardFussnote());
    // The series colours every window uses, the enneagram's bars too.
    EXPECT_EQ(ReihenFarbe(1), vb::RGB(0, 0, 255));
    EXPECT_EQ(ReihenFarbe(4), vb::RGB(255, 165, 0));
    EXPECT_EQ(gReihe9Blau, 128);
    EXPECT_EQ(gDiagrammFontname, "Arial");
    EXPECT_EQ(gDiagrammFontsize, 10);

    o.Show();
    o.Command1_Click();
    EXPECT_FALSE(o.isLoaded());
    EXPECT_EQ(gespeichert("Balken 3D"), "-1");
    EXPECT_EQ(gespeichert("Balken 2D"), "0");
    EXPECT_EQ(gespeichert("SkalierungProzent"), "-1");
    EXPECT_EQ(gespeichert("Antwortwerte4"), "-1");
    EXPECT_EQ(gespeichert("ShowLegend"), "-1");
    EXPECT_EQ(gespeichert("Datenreihenuebereinander"), "-1");
    EXPECT_EQ(gespeichert("ShowTypeLabel"), "0");
    EXPECT_EQ(gespeichert("3DRotation"), "'30'");
    EXPECT_EQ(gespeichert("Reihe4Grün"), "165");
    // The person's name is shown but not kept in the settings everyone shares.
    EXPECT_EQ(gespeichert("DiagrammÜberschrift"), "''");
    EXPECT_EQ(gespeichert("DiagrammFussnote"), std::string("'") + frmChartOpt::standardFussnote() + "'");

    // Several chart types marked: the last one wins; none marked: none selected.
    einstellen("[Linie 2D] = -1, [Kreis 2D] = -1");
    EXPECT_TRUE(optionenNeu().Option1[4].Value());
    EXPECT_FALSE(forms::Instance<frmChartOpt>().Option1[2].Value());
    einstellen("[Linie 2D] = 0, [Kreis 2D] = 0, [Balken 3D] = 0");
    for (auto& b : optionenNeu().Option1) EXPECT_FALSE(b.Value());
}

TEST_F(ChartOptionsTest, NullFieldsAndAMissingNameNeverStopTheLoad) {
    gDatenbank->Execute("UPDATE PersDat SET Vorname = NULL WHERE PersonID = " + std::to_string(gAktPersonID));
    einstellen(
        "DiagrammFussnote = NULL, ShowLegend = NULL, Reihe2Rot = NULL, DiagrammFontname = NULL, "
        "Datenreihenuebereinander = -1");
    frmChartOpt& o = optionenNeu();
    EXPECT_TRUE(h().messages().empty()) << h().messages().front();
    EXPECT_TRUE(o.vollstaendigGeladen());
    EXPECT_EQ(o.Text1.Text(), " Nachname1 / 01.02.2026");
    EXPECT_EQ(o.Text2.Text(), frmChartOpt::standardFussnote());
    EXPECT_EQ(o.Check1[0].Value(), 0);
    EXPECT_EQ(o.Check5.Value(), 1);  // steps after the title were done
    EXPECT_EQ(gReihe2Rot.toInt(), 0);
    EXPECT_EQ(gDiagrammFontname, "");
    o.Command1_Click();
    EXPECT_EQ(gDiagrammFontname, "Arial");
    EXPECT_EQ(gespeichert("DiagrammFontname"), "'Arial'");
    EXPECT_EQ(gespeichert("Reihe2Rot"), "0");
    EXPECT_EQ(gespeichert("Datenreihenuebereinander"), "-1");
    // A footnote of one blank is a footnote.
    einstellen("DiagrammFussnote = ' '");
    EXPECT_EQ(optionenNeu().Text2.Text(), " ");
    // Without a data file the title stays empty and the rest loads.
    gDatenbankName = pfad("fehlt.ZDB");
    EXPECT_EQ(optionenNeu().Text1.Text(), "");
    EXPECT_TRUE(forms::Instance<frmChartOpt>().vollstaendigGeladen());
}

TEST_F(ChartOptionsTest, OutOfRangeValuesLoadAsTheNearestSensibleOnesAndAreStoredOnlyOnOk) {
    einstellen(
        "DiagrammFontsize = 500, Reihe3Rot = 300, Reihe3Grün = -5, Reihe3Blau = 9999, "
        "[3DBeleuchtung] = '75', [3DKantenBeleuchtung] = 'hell', Achsenlinienbreite = '200', "
        "[Balken 2D] = 0");
    frmChartOpt& o = optionenNeu();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(gDiagrammFontsize, 500);  // the chart draws it at a size it can show
    EXPECT_EQ(ReihenFarbe(3), vb::RGB(255, 0, 255));
    EXPECT_EQ(o.Combo3.Text(), "70");
    EXPECT_EQ(o.Combo4.Text(), "50");
    EXPECT_EQ(o.Combo6.Text(), "100");
    // The stored row keeps its values until OK.
    EXPECT_EQ(gespeichert("Reihe3Blau"), "9999");
    GrafikauswertungAnzeigen();
    frmChart* f = aktivesChart();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->MSChart1.ChartType, chart::VtChChartType2dBar);  // no type marked: the window's own
    EXPECT_FALSE(f->MSChart1.toImage(QSize(400, 300)).isNull());
    o.Show();
    o.Command1_Click();
    EXPECT_EQ(gespeichert("Reihe3Blau"), "255");
    EXPECT_EQ(gespeichert("3DBeleuchtung"), "'70'");
}

TEST_F(ChartOptionsTest, AnEmptyTableShowsTheErrorAndOkStoresNothing) {
    gProgrammDatenbank->Execute("DELETE FROM chartkonfiguration");
    frmChartOpt& o = optionenNeu();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_FALSE(o.vollstaendigGeladen());
    o.Show();
    o.Command1_Click();
    EXPECT_EQ(h().messages().size(), 2u);
    EXPECT_TRUE(o.isLoaded());  // what was chosen stays on the screen
    EXPECT_EQ(abfrage("SELECT count(*) FROM chartkonfiguration"), "0");
    // A chart is drawn all the same, in the window's own look.
    GrafikauswertungAnzeigen();
    EXPECT_NE(aktivesChart(), nullptr);
}

TEST_F(ChartOptionsTest, ColoursAndFontsChosenAndThenCancelledAreNotKept) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Show();
    // Cancel in the colour dialog: the colour stays.
    h().cancelDialog();
    o.Command4_Click(2);
    EXPECT_EQ(ReihenFarbe(3), vb::RGB(0, 160, 0));
    EXPECT_EQ(h().lastColorPreset(), vb::RGB(0, 160, 0));
    h().cancelDialog();
    o.Command5_Click();
    EXPECT_EQ(gDiagrammFontname, "Arial");
    EXPECT_TRUE(h().messages().empty());
    // A choice is in force at once (the enneagram's bars take it) …
    h().chooseColor(vb::RGB(1, 2, 3));
    o.Command4_Click(2);
    EXPECT_EQ(ReihenFarbe(3), vb::RGB(1, 2, 3));
    h().chooseFont({"DejaVu Serif", 12.5, true, true});
    o.Command5_Click();
    EXPECT_EQ(gDiagrammFontname, "DejaVu Serif");
    EXPECT_EQ(gDiagrammFontsize, 12);
    // … and Cancel of the dialog takes it back.
    o.Command2_Click();
    EXPECT_FALSE(o.isLoaded());
    EXPECT_EQ(ReihenFarbe(3), vb::RGB(0, 160, 0));
    EXPECT_EQ(gDiagrammFontname, "Arial");
    EXPECT_FALSE(gDiagrammFontBold);
    EXPECT_EQ(gespeichert("Reihe3Grün"), "160");

    // OK keeps and stores them.
    frmChartOpt& p = forms::Default<frmChartOpt>();
    p.Show();
    h().chooseColor(vb::RGB(9, 8, 7));
    p.Command3_Click();
    h().chooseColor(vb::RGB(200, 100, 50));
    p.Command7_Click();
    p.Command1_Click();
    EXPECT_TRUE(h().messages().empty()) << ::testing::PrintToString(h().messages());
    EXPECT_EQ(gespeichert("HintergrundfarbeRot"), "9");
    EXPECT_EQ(gespeichert("HintergrundfarbeBlau"), "7");
    EXPECT_EQ(gespeichert("Achsenlinienfarbegrün"), "100");
    EXPECT_EQ(farbwert(farbvariablen(kHintergrundfarbe)), vb::RGB(9, 8, 7));
}

TEST_F(ChartOptionsTest, RotationAndElevationTakeDigitsOnly) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Show();
    QLineEdit* feld = o.Combo1.lineEdit();
    feld->setFocus();
    o.Combo1.setText("");
    forms::SendKey(feld, '4');
    forms::SendKey(feld, '5');
    EXPECT_EQ(o.Combo1.Text(), "45");
    EXPECT_TRUE(h().messages().empty());
    forms::SendKey(feld, 'A');
    EXPECT_EQ(o.Combo1.Text(), "45");
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(31)});
    forms::SendKey(feld, 96 + 7);  // the keypad's 7
    EXPECT_EQ(o.Combo1.Text(), "457");
    forms::SendKey(feld, '1');  // a fourth digit
    EXPECT_EQ(o.Combo1.Text(), "457");
    EXPECT_EQ(h().messages().size(), 2u);
    forms::SendKey(feld, forms::vbKeyBack);  // a typo can be put right
    EXPECT_EQ(o.Combo1.Text(), "45");
    EXPECT_EQ(h().messages().size(), 2u);
    // A pasted text must be digits too.
    feld->selectAll();
    feld->insert("1x");
    EXPECT_EQ(o.Combo1.Text(), "45");

    QLineEdit* neigung = o.Combo2.lineEdit();
    o.Combo2.setText("");
    forms::SendKey(neigung, '8');
    forms::SendKey(neigung, '5');
    forms::SendKey(neigung, '5');
    EXPECT_EQ(o.Combo2.Text(), "85");
    EXPECT_EQ(h().messages().back(), DialogTxt(32));
    // A choice from the list raises no check.
    const auto vorher = h().messages().size();
    o.Combo2.setListIndex(3);
    EXPECT_EQ(o.Combo2.Text(), "30");
    EXPECT_EQ(h().messages().size(), vorher);
    // The lists.
    EXPECT_EQ(o.Combo1.ListCount(), 37);
    EXPECT_EQ(o.Combo2.ListCount(), 10);
    EXPECT_EQ(o.Combo3.ListCount(), 11);
    EXPECT_EQ(o.Combo4.ListCount(), 11);
    EXPECT_EQ(o.Combo5.ListCount(), 11);
    EXPECT_EQ(o.Combo6.ListCount(), 21);
    EXPECT_EQ(o.Combo6.List(0), "0");
    EXPECT_EQ(o.Combo1.List(36), "360");
}

TEST_F(ChartOptionsTest, ThePieAndTheGroupedValuesExcludeEachOtherAtOnce) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Show();
    o.Option3[1].setValue(true);
    EXPECT_FALSE(o.Option1[4].Enabled());  // at once, not only at the next change of tab
    o.Option3[2].setValue(true);
    EXPECT_TRUE(o.Option1[4].Enabled());
    o.Option1[4].setValue(true);
    EXPECT_FALSE(o.Option3[1].Enabled());
    EXPECT_FALSE(o.Option3[9].Enabled());
    o.Option1[0].setValue(true);
    EXPECT_TRUE(o.Option3[9].Enabled());
    o.SSTab1.setTab(1);
    EXPECT_TRUE(o.Option3[1].Enabled());
    // OK with no result window open: stored and closed, nothing drawn.
    o.Command1_Click();
    EXPECT_FALSE(o.isLoaded());
    EXPECT_TRUE(charts().empty());
    EXPECT_EQ(gespeichert("Antwortwerte3und4"), "-1");
}

TEST_F(ChartOptionsTest, ChoosingAPersonLoadsTheOptionsHiddenAndTheMenuShowsThem) {
    forms::Unload<frmChartOpt>();
    waehle(2);
    ASSERT_TRUE(forms::IsLoaded<frmChartOpt>());
    EXPECT_FALSE(forms::Instance<frmChartOpt>().Visible());
    EXPECT_EQ(forms::Instance<frmChartOpt>().Text1.Text(), "Vorname2 Nachname2 / 01.02.2026");
    mdi().mnuDiagrammOptions.Click();
    EXPECT_TRUE(forms::Instance<frmChartOpt>().Visible());
    EXPECT_EQ(forms::Instance<frmChartOpt>().Caption(), LabelTxt(83));
    forms::Instance<frmChartOpt>().Command8_Click();
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Help).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Help)[0].title, "html/zuvw4zms.htm");
}

}  // namespace

namespace {

TEST_F(ChartOptionsTest, TheTwoPersonChartReplacesWhatItCannotDrawAndOkStoresThat) {
    nurDieseWahr({"Kreis 2D", "SkalierungLinear", "AntwortwerteGruppiert0bis4", "ShowLegend"});
    frmChartOpt& o = optionenNeu();
    EXPECT_TRUE(o.Option1[4].Value());
    EXPECT_TRUE(o.Option3[9].Value());
    gVergleichPersonID = personID(2);
    gVergleichPerson[1] = "Vorname2";
    gVergleichPerson[2] = "Nachname2";
    gVergleichPerson[3] = "01.02.2026";
    DateivergleichAnzeigen();
    EXPECT_TRUE(o.Option1[0].Value());
    EXPECT_TRUE(o.Option3[0].Value());
    o.Show();
    for (int i : {1, 9}) EXPECT_FALSE(o.Option3[i].Enabled());
    o.Command1_Click();
    EXPECT_EQ(gespeichert("Kreis 2D"), "0");
    EXPECT_EQ(gespeichert("Balken 2D"), "-1");
    EXPECT_EQ(gespeichert("AntwortwerteGruppiert0bis4"), "0");
    EXPECT_EQ(gespeichert("AlleAntwortwerte"), "-1");
    EXPECT_EQ(gespeichert("ShowLegend"), "-1");
    // The comparison gives way to the chart of the current person in the new settings.
    ASSERT_EQ(charts().size(), 1u);
    EXPECT_EQ(aktivesChart()->Caption(), LabelTxt(153));
    EXPECT_EQ(aktivesChart()->MSChart1.Plot.SeriesCount(), 1);
    EXPECT_EQ(gDateivergleich, 0);
}

}  // namespace

TEST_F(ChartOptionsTest, EscapeInAnOpenListClosesOnlyTheList) {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    o.Show();
    QApplication::setActiveWindow(&o);
    for (forms::ComboBox* liste : {&o.Combo1, &o.Combo2, &o.Combo3, &o.Combo4, &o.Combo5, &o.Combo6}) {
        ASSERT_TRUE(support::listeOeffnen(*liste)) << liste->objectName().toStdString();
        support::tippe(Qt::Key_Escape);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        ASSERT_TRUE(o.isLoaded()) << liste->objectName().toStdString();
    }
    // A closed list: Escape cancels the dialog.
    o.Combo3.setFocus();
    QApplication::processEvents();
    support::tippe(Qt::Key_Escape);
    EXPECT_FALSE(o.isLoaded());
}
