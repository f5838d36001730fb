// The enneagram window opened through the main window: its bars in the eight score views and the
// series colours, the symbol picture, the exchange bitmap and the copy command, and a window that
// keeps its own person.

#include <QClipboard>
#include <QGuiApplication>

#include <cmath>

#include "desk/common/druckbild.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/form4.h"
#include "desk/evaluation/austauschbild.h"
#include "form2_form15_fixture.h"
#include "platform/draw/picture.h"
#include "platform/vb/color.h"
#include "support/vb_error.h"

using namespace ergebnis_test;

namespace {

// The scores of one type, the rest zero.
EnneagrammWerte werteVon(int typ, int s34, int s2, int s01, int s1, int s0, int aw3, int aw4) {
    EnneagrammWerte w;
    w.summe34[typ] = int16_t(s34);
    w.summe2[typ] = int16_t(s2);
    w.summe01[typ] = int16_t(s01);
    w.summe1[typ] = int16_t(s1);
    w.summe0[typ] = int16_t(s0);
    w.antworten(typ, 4) = int16_t(aw3);
    w.antworten(typ, 5) = int16_t(aw4);
    return w;
}

bool farbeNahe(QRgb p, int r, int g, int b) {
    return std::abs(qRed(p) - r) < 30 && std::abs(qGreen(p) - g) < 30 && std::abs(qBlue(p) - b) < 30;
}

int pixelMit(const QImage& bild, int r, int g, int b) {
    int n = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) n += farbeNahe(bild.pixel(x, y), r, g, b);
    return n;
}

class Enneagramm : public ErgebnisFensterTest {
protected:
    void SetUp() override {
        ErgebnisFensterTest::SetUp();
        anna = person("Anna", "Berg", reihum);
        waehle(anna);
    }
    Form2& oeffne() {
        mdi().mnuEnneagramm.choose();
        Form2* f = enneagramm();
        EXPECT_NE(f, nullptr);
        return *f;
    }
    // Every bar as the view of `w` sets it.
    void balkenWie(Form2& f, int ansicht, const EnneagrammWerte& w) {
        for (int k = 0; k < 9; ++k) {
            const Balkenpaar b = balkenFuer(ansicht, w, k + 1);
            if (b.oben.reihe) {
                EXPECT_EQ(f.SSPanel1[k].FloodColor(), balkenfarbe(b.oben.reihe)) << ansicht << " " << k;
                EXPECT_TRUE(f.SSPanel1[k].FloodShowPct());
            }
            EXPECT_EQ(f.SSPanel1[k].FloodPercent(), std::lround(b.oben.wert)) << ansicht << " " << k;
            if (b.unten.reihe) {
                EXPECT_EQ(f.SSPanel2[k].FloodColor(), balkenfarbe(b.unten.reihe));
            }
            EXPECT_EQ(f.SSPanel2[k].FloodPercent(), std::lround(b.unten.wert)) << ansicht << " " << k;
        }
    }
    int32_t anna = 0;
};

}  // namespace

TEST(EnneagrammAnsichten, EachViewSetsItsBarsFromItsScoreOrEmptiesThem) {
    const EnneagrammWerte w = werteVon(3, 26, 14, -13, -7, -6, 5, 6);
    auto paar = [&](int ansicht) { return balkenFuer(ansicht, w, 3); };
    EXPECT_EQ(paar(0).oben.reihe, 1);
    EXPECT_DOUBLE_EQ(paar(0).oben.wert, 40 / 0.52);
    EXPECT_EQ(paar(0).unten.reihe, 4);
    EXPECT_DOUBLE_EQ(paar(0).unten.wert, 13 / 0.26);  // a negative sum shows as a positive fill
    EXPECT_EQ(paar(1).oben.reihe, 2);
    EXPECT_DOUBLE_EQ(paar(1).oben.wert, 26 / 0.52);
    EXPECT_EQ(paar(1).unten.reihe, 0);
    EXPECT_EQ(paar(2).oben.reihe, 3);
    EXPECT_DOUBLE_EQ(paar(2).oben.wert, 14 / 0.28);
    EXPECT_EQ(paar(3).oben.reihe, 0);
    EXPECT_EQ(paar(3).unten.reihe, 4);
    EXPECT_EQ(paar(4).oben.reihe, 1);
    EXPECT_DOUBLE_EQ(paar(4).oben.wert, 24 / 0.52);
    EXPECT_EQ(paar(5).oben.reihe, 2);
    EXPECT_DOUBLE_EQ(paar(5).oben.wert, 15 / 0.39);
    EXPECT_EQ(paar(6).oben.reihe, 0);
    EXPECT_EQ(paar(6).unten.reihe, 3);
    EXPECT_DOUBLE_EQ(paar(6).unten.wert, 7 / 0.14);
    EXPECT_EQ(paar(7).unten.reihe, 5);
    EXPECT_DOUBLE_EQ(paar(7).unten.wert, 6 / 0.26);
    // A type without answers: empty bars in every view.
    for (int a = 0; a < kAnzahlAnsichten; ++a) {
        EXPECT_EQ(balkenFuer(a, w, 5).oben.wert, 0.0);
        EXPECT_EQ(balkenFuer(a, w, 5).unten.wert, 0.0);
    }
    // Sums and products are 16-bit integers.
    EXPECT_EQ(errorOf([] { balkenFuer(0, werteVon(1, 30000, 3000, 0, 0, 0, 0, 0), 1); }), vb::err::Overflow);
    EXPECT_EQ(errorOf([] { balkenFuer(4, werteVon(1, 0, 0, 0, 0, 0, 0, 9000), 1); }), vb::err::Overflow);
}

TEST(EnneagrammAnsichten, SeriesColoursComeFromTheChartSettingsAsTheyStandNow) {
    gReihe4Rot = int16_t(12);
    gReihe4Gruen = int16_t(34);
    gReihe4Blau = 56;
    EXPECT_EQ(balkenfarbe(4), vb::RGB(12, 34, 56));
    gReihe4Rot = vb::Variant::null();
    EXPECT_EQ(errorOf([] { balkenfarbe(4); }), vb::err::InvalidUseOfNull);
    gReihe4Rot = vb::Variant();
    EXPECT_EQ(balkenfarbe(4), vb::RGB(0, 34, 56));
}

TEST_F(Enneagramm, OpensWithNamesPersonAndTheCombinedViewInTheStoredSeriesColours) {
    Form2& f = oeffne();
    ASSERT_TRUE(f.isLoaded());
    EXPECT_EQ(aktiv(), &f);
    EXPECT_EQ(gFensterAnzahl, 1);
    EXPECT_EQ(f.Caption(), LabelTxt(154));
    EXPECT_EQ(f.Label2.Caption(), LabelTxt(251) + ": Anna Berg/01.02.2026");
    EXPECT_EQ(f.SSCommand1.ToolTipText(), LabelTxt(42));
    ASSERT_EQ(f.Combo1.ListCount(), 8);
    const int texte[8] = {255, 111, 112, 113, 114, 115, 116, 117};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(f.Combo1.List(i), LabelTxt(texte[i]));
    EXPECT_EQ(f.Combo1.ListIndex(), 0);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(f.Label1[k].Caption(), gTypbezeichnung[k + 1]);
        EXPECT_EQ(f.Label1[k].FontSize(), 10);
        // Every name is shown whole and stays inside the figure.
        EXPECT_GE(f.Label1[k].width(), f.Label1[k].sizeHint().width());
        EXPECT_TRUE(f.Picture1.rect().contains(f.Label1[k].geometry())) << k;
    }
    EXPECT_EQ(f.SSPanel1[0].FloodColor(), vb::RGB(0, 0, 255));
    EXPECT_EQ(f.SSPanel2[0].FloodColor(), vb::RGB(255, 165, 0));
    balkenWie(f, 0, EnneagrammWerte::aktuelle());
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Enneagramm, ViewsEmptyTheBarsTheyDoNotUseAndKeepTheirColours) {
    Form2& f = oeffne();
    const EnneagrammWerte w = f.Werte();
    f.Combo1.setListIndex(3);  // values 0 and 1: lower bars only
    balkenWie(f, 3, w);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(f.SSPanel1[k].FloodPercent(), 0);
        EXPECT_EQ(f.SSPanel1[k].FloodColor(), vb::RGB(0, 0, 255));  // left from the combined view
    }
    f.Combo1.setListIndex(5);  // value 3: upper bars only
    balkenWie(f, 5, w);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(f.SSPanel2[k].FloodPercent(), 0);
        EXPECT_EQ(f.SSPanel2[k].FloodColor(), vb::RGB(255, 165, 0));
    }
    for (int a : {1, 2, 4, 6, 7}) {
        f.Combo1.setListIndex(a);
        balkenWie(f, a, w);
    }
    // A colour changed in the chart options shows at the next redraw of the bars.
    f.Combo1.setListIndex(1);
    gReihe2Rot = int16_t(10);
    f.SSPanel1[4].Click();
    EXPECT_EQ(f.SSPanel1[0].FloodColor(), vb::RGB(10, 0, 0));
}

TEST_F(Enneagramm, TheWindowKeepsItsPersonWhenAnotherIsScored) {
    Form2& f = oeffne();
    const EnneagrammWerte annas = f.Werte();
    const int32_t bernd = person("Bernd", "Thal",
                                 [](int typ, int n) { return std::optional<int>((typ * 3 + n * 2) % 5); });
    waehle(bernd);
    mdi().mnuTabelle.choose();  // scores Bernd
    ASSERT_NE(gTypsumme34JeTyp, annas.summe34);
    aktiviere(f);
    f.Combo1.setListIndex(1);
    f.Combo1.setListIndex(0);
    balkenWie(f, 0, annas);
    EXPECT_EQ(f.Label2.Caption(), LabelTxt(251) + ": Anna Berg/01.02.2026");
}

TEST_F(Enneagramm, TheSymbolFollowsTheColourSettingOnlyOnAnExactMatch) {
    // Yellow appears in the yellow symbol file and nowhere in the built-in picture.
    auto gelbAnteil = [](Form2& f) { return pixelMit(zeichneAbseits(f.Image1), 230, 190, 0); };
    auto gruenAnteil = [](Form2& f) { return pixelMit(zeichneAbseits(f.Image1), 0, 128, 0); };

    forms::Default<Form4>().Combo3.setText(LabelTxt(213));
    Form2& gelb = oeffne();
    EXPECT_GT(gelbAnteil(gelb), 50);
    EXPECT_EQ(gruenAnteil(gelb), 0);

    for (const std::string& anders : {std::string("Gelb"), LabelTxt(213) + " "}) {
        forms::Default<Form4>().Combo3.setText(anders);
        Form2& eingebaut = oeffne();
        EXPECT_EQ(gelbAnteil(eingebaut), 0) << anders;
        EXPECT_GT(gruenAnteil(eingebaut), 50) << anders;
    }
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Enneagramm, EachColourNamePicksItsOwnInstalledSymbolFile) {
    const char* const dateien[9] = {"blau", "gelb", "bunt", "orange", "violett", "braun", "rot", "hellgrün", "grün"};
    for (int i = 0; i < 9; ++i) {
        forms::Default<Form4>().Combo3.setText(LabelTxt(212 + i));
        Form2& f = oeffne();
        const QImage datei = draw::LoadPicture(gAppPath + "\\zuv_symb_" + dateien[i] + ".wmf").image();
        EXPECT_EQ(f.Image1.Picture(), datei) << dateien[i];
        ASSERT_TRUE(forms::Unload(f));
    }
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Enneagramm, AMissingSymbolFileIsReportedAndTheBuiltInFigureStays) {
    forms::Default<Form4>().Combo3.setText(LabelTxt(218));
    files::Kill(gAppPath + "\\zuv_symb_rot.wmf");
    Form2& f = oeffne();
    ASSERT_TRUE(f.isLoaded());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("zuv_symb_rot.wmf"), std::string::npos);
    EXPECT_GT(pixelMit(zeichneAbseits(f.Image1), 0, 128, 0), 50);
    balkenWie(f, 0, f.Werte());
}

TEST_F(Enneagramm, ActivationWritesTheFigureBitmapButOnlyCopyTouchesTheClipboard) {
    QGuiApplication::clipboard()->setText("Notiz");
    const std::string bild = AustauschbildPfad("ZUVEnneagramm.bmp");
    Form2& f = oeffne();
    EXPECT_EQ(forms::Clipboard::GetText(), "Notiz");
    ASSERT_TRUE(files::FileExists(bild));
    // The figure as the window lays it out, drawn for the sheet's printable width at print resolution.
    const QImage gelesen(QString::fromStdString(files::resolve(bild)));
    EXPECT_EQ(gelesen.width(), kDruckbildBreite * kDruckbildPpi / 1440 + 1);
    EXPECT_NEAR(gelesen.height(), f.Picture1.height() * gelesen.width() / double(f.Picture1.width()), 1.0);
    if (!ausgabe("command -v identify").empty()) {
        const std::string info = ausgabe("identify '" + files::resolve(bild) + "'");
        EXPECT_NE(info.find("BMP"), std::string::npos) << info;
    }
    // The bars of the view are in the picture, even where the window does not show them.
    f.resize(200, 150);
    f.Combo1.setListIndex(1);
    Form2& zweite = oeffne();
    (void)zweite;
    files::Kill(bild);
    aktiviere(f);
    const QImage neu(QString::fromStdString(files::resolve(bild)));
    EXPECT_GT(pixelMit(neu, 255, 0, 0), 100);  // series 2 of view 1
    EXPECT_EQ(forms::Clipboard::GetText(), "Notiz");

    mdi().mnuKopieren.choose();
    const QImage kopie = forms::Clipboard::GetData();
    EXPECT_EQ(kopie.size(), f.Picture1.size());
    EXPECT_EQ(kopie.convertToFormat(QImage::Format_RGB32), f.Abbild().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Enneagramm, OneOrMoreWindowsTileOrCascadeAndClosingCountsDown) {
    mdi().SSCommand1[3]->click();  // the toolbar's enneagram button
    ASSERT_NE(enneagramm(), nullptr);
    Form2& f = *enneagramm();
    QMdiArea* flaeche = mdi().mdiArea();
    auto* sub = qobject_cast<QMdiSubWindow*>(f.parentWidget());
    EXPECT_EQ(sub->geometry(), flaeche->viewport()->rect());  // one window: the whole area
    Form2& zweite = oeffne();
    auto* sub2 = qobject_cast<QMdiSubWindow*>(zweite.parentWidget());
    EXPECT_NE(sub->geometry().topLeft(), sub2->geometry().topLeft());  // cascaded
    EXPECT_EQ(gFensterAnzahl, 2);
    ASSERT_TRUE(forms::Unload(zweite));
    ASSERT_TRUE(forms::Unload(f));
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(Enneagramm, HelpOpensTheFiguresTopic) {
    Form2& f = oeffne();
    f.SSCommand1.click();
    const auto* hilfe = h().last(forms::HostRecord::Kind::Help);
    ASSERT_NE(hilfe, nullptr);
    EXPECT_EQ(hilfe->title, "html/zuvw33xp.htm");
}

TEST_F(Enneagramm, NullColourPartsAreReportedAndTheWindowStaysOpen) {
    gReihe1Rot = vb::Variant::null();
    Form2& f = oeffne();
    ASSERT_TRUE(f.isLoaded());
    EXPECT_FALSE(h().messages().empty());
    f.Combo1.setListIndex(2);  // series 3 is whole
    balkenWie(f, 2, f.Werte());
}

TEST_F(Enneagramm, ThePrintItemStaysWhileAWindowOrTheFigureCanBePrinted) {
    auto& druck = mdi().mnuDruckEnneagramm;
    mdi().mnuDruckEnneagramm.setEnabled(false);
    Form2& erste = oeffne();
    EXPECT_TRUE(druck.Enabled());
    Form2& zweite = oeffne();
    ASSERT_TRUE(forms::Unload(zweite));  // the first one, active again, writes its bitmap anew
    files::Kill(AustauschbildPfad("ZUVEnneagramm.bmp"));
    EXPECT_TRUE(druck.Enabled());  // the first window is still open
    ASSERT_TRUE(forms::Unload(erste));
    EXPECT_FALSE(druck.Enabled());  // nothing left to print
    Form2& dritte = oeffne();
    ASSERT_TRUE(forms::Unload(dritte));
    EXPECT_TRUE(druck.Enabled());  // its bitmap is still there for the report
}

TEST_F(Enneagramm, TheAssistantMarksTheEvaluationStepOnlyWhenTheWindowOpens) {
    gAssistentanzeige = -1;
    frmAssist& a = forms::Default<frmAssist>();
    a.Label1[4].setForeColor(kSchwarz);
    gFensterAnzahl = 10;
    mdi().mnuEnneagramm.choose();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(a.Label1[4].ForeColor(), kSchwarz);
    gFensterAnzahl = 0;
    oeffne();
    EXPECT_EQ(a.Label1[4].ForeColor(), kGruen);
    EXPECT_EQ(a.Label2[3].ForeColor(), kGruen);
    EXPECT_EQ(a.Label1[0].ForeColor(), kSchwarz);
}

TEST_F(Enneagramm, WindowsClosingForANewPersonLeaveNoPictureOfTheOldOne) {
    oeffne();
    mdi().mnuTabelle.choose();
    oeffne();
    ASSERT_EQ(gFensterAnzahl, 3);
    // A new person taken as the person window takes one: the pictures go, then the windows.
    const int32_t bernd = person("Bernd", "Thal", reihum);
    gAktPersonID = bernd;
    for (const char* n : {"ZUVEnneagramm.bmp", "ZUVTabelle.bmp"}) files::Kill(AustauschbildPfad(n));
    SchliesseUnterfenster();
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_FALSE(AustauschbildVorhanden("ZUVEnneagramm.bmp"));
    EXPECT_FALSE(AustauschbildVorhanden("ZUVTabelle.bmp"));
}

TEST_F(Enneagramm, BarsTakeTheSeriesColoursStoredInTheChartSettings) {
    gProgrammDatenbank->Execute("UPDATE chartkonfiguration SET Reihe1Rot = 10, Reihe1Grün = 20, Reihe1Blau = 30");
    forms::Unload<frmChartOpt>();
    Form2& f = oeffne();
    EXPECT_EQ(f.SSPanel1[0].FloodColor(), vb::RGB(10, 20, 30));
    EXPECT_EQ(f.SSPanel2[0].FloodColor(), vb::RGB(255, 165, 0));
}
