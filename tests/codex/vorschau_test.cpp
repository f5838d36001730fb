// The print preview: the first page drawn on the hidden page picture, shown modally, zoomed in seven
// steps and scrolled.

#include "codex_fixture.h"

#include <cmath>
#include <sstream>

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

// Shows the preview of the dialog's choice; `schritt` runs each time the window is showing, then the
// window is closed as the person closes it. Gives the number of times it was shown.
int vorschauZeigen(frmDruckMan& d, const std::function<void(frmPrintPreview&)>& schritt) {
    int gezeigt = 0;
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&] {
        if (!forms::IsLoaded<frmPrintPreview>()) return;
        frmPrintPreview& p = forms::Instance<frmPrintPreview>();
        if (!p.isModalShown()) return;
        ++gezeigt;
        schritt(p);
        p.Command1_Click();
    });
    t.start();
    d.Command3_Click();
    return gezeigt;
}

class Vorschau : public CodexTest {
protected:
    void SetUp() override {
        CodexTest::SetUp();
        support::Inhalt i;
        i.text = [](int t, int y) {
            std::string s;
            const int saetze = t == 2 ? 120 : 3;
            for (int k = 1; k <= saetze; ++k)
                s += "Satz " + std::to_string(k) + " zu Thema " + std::to_string(t) + " und Typ " + std::to_string(y) +
                     ". ";
            return vb::Variant(s);
        };
        inhalt(i);
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
    int vorschau(frmDruckMan& d, const std::function<void(frmPrintPreview&)>& schritt) {
        return vorschauZeigen(d, schritt);
    }
};

TEST_F(Vorschau, ThePageIsDrawnOnTheHiddenPictureAndShownAtHalfSize) {
    frmDruckMan& d = manager(0);
    std::vector<std::string> zeilen;
    double breite = 0, hoehe = 0;
    float faktor = 0;
    std::string titel;
    const int gezeigt = vorschau(d, [&](frmPrintPreview& p) {
        zeilen = p.Picture1.pageLines(1);
        breite = p.Picture3.Width();
        hoehe = p.Picture3.Height();
        faktor = p.zoom();
        titel = p.Caption();
        EXPECT_FALSE(p.Picture1.isVisible());
        EXPECT_EQ(p.Command1.Caption(), LabelTxt(69));
    });
    EXPECT_EQ(gezeigt, 1);
    EXPECT_TRUE(h().records(Kind::MsgBox).empty());  // a preview asks nothing
    EXPECT_EQ(titel, DialogTxt(3) + " " + LabelTxt(187));
    EXPECT_FLOAT_EQ(faktor, 2.0f);
    const draw::Printer& drucker = draw::printer();
    EXPECT_NEAR(breite, drucker.Width() / 2, 30);
    EXPECT_NEAR(hoehe, drucker.Height() / 2, 30);
    ASSERT_FALSE(zeilen.empty());
    bool thema1 = false, thema2 = false;
    for (const auto& z : zeilen) {
        thema1 |= z.find("Thema 1") != std::string::npos;
        thema2 |= z.find("Satz 1 zu Thema 2 und Typ 1.") != std::string::npos;
    }
    EXPECT_TRUE(thema1);
    EXPECT_TRUE(thema2);
    // The dialog stays open for the next print or preview, nothing went to the printer.
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(d.Vorschau);
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);
    EXPECT_FALSE(forms::IsLoaded<frmPrintPreview>());
    EXPECT_FALSE(fs::exists(pfad("druck.pdf")));
}

TEST_F(Vorschau, AFullPageIsShownOnceAndNothingIsDrawnBelowItsFooter) {
    frmDruckMan& d = manager(3);
    d.Check4[0].setValue(1);
    d.Check4[1].setValue(0);
    d.Check4[2].setValue(0);
    std::vector<draw::LogEntry> log;
    double hoehe = 0;
    const int gezeigt = vorschau(d, [&](frmPrintPreview& p) {
        log = p.Picture1.log();
        hoehe = p.Picture1.Height();
    });
    EXPECT_EQ(gezeigt, 1);
    int fuss = 0;
    for (const auto& e : log) {
        if (e.y >= hoehe - 1500 && !e.text.empty()) {
            ++fuss;
            EXPECT_EQ(e.text, " 1");
        }
        EXPECT_LT(e.y, hoehe - 1000) << e.text;
    }
    EXPECT_EQ(fuss, 1);  // the page number, once

    // By topic, a text longer than the page: shown once as well.
    erstes().Combo1.setListIndex(1);
    manager(2);
    EXPECT_EQ(vorschau(d, [](frmPrintPreview&) {}), 1);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Vorschau, ZoomGoesThreeStepsEachWayAndReactivationKeepsTheFactor) {
    frmDruckMan& d = manager(0);
    vorschau(d, [&](frmPrintPreview& p) {
        const double seiteBreite = p.Picture1.Width();
        std::vector<float> stufen;
        for (int i = 0; i < 4; ++i) {
            p.Command2_Click();
            stufen.push_back(p.zoom());
        }
        EXPECT_NEAR(stufen[0], 1.65f, 1e-5);
        EXPECT_NEAR(stufen[2], 0.95f, 1e-5);
        EXPECT_EQ(stufen[3], stufen[2]);
        EXPECT_NEAR(p.Picture3.Width(), seiteBreite / 0.95, 30);
        for (int i = 0; i < 7; ++i) p.Command3_Click();
        EXPECT_NEAR(p.zoom(), 3.05f, 1e-5);
        p.Command2_Click();
        p.Command2_Click();
        p.Command3_Click();
        EXPECT_NEAR(p.zoom(), 2.7f, 1e-5);

        // Re-centred with its top at 100 twips; the bars keep their values.
        p.HScroll1.setValue(0);
        p.Command2_Click();
        EXPECT_NEAR(p.Picture3.Left(), (p.Width() - p.Picture3.Width()) / 2, 16);
        EXPECT_NEAR(p.Picture3.Top(), 100, 15);

        // Covered and activated again: the page looks as it did, at its size and factor.
        const QImage vorher = p.Picture3.Image().image();
        const float faktor = p.zoom();
        p.Form_Activate();
        EXPECT_EQ(p.zoom(), faktor);
        EXPECT_EQ(p.Picture3.Image().image(), vorher);

        // Scrolling moves the page by its share of the size.
        p.VScroll1.setValue(50);
        EXPECT_NEAR(p.Picture3.Top(), -0.5 * p.Picture3.Height(), 16);
        p.HScroll1.setValue(100);
        EXPECT_NEAR(p.Picture3.Left(), -p.Picture3.Width(), 16);
    });
}

TEST_F(Vorschau, ASmallWindowGetsAViewportOfNoHeight) {
    frmDruckMan& d = manager(0);
    vorschau(d, [&](frmPrintPreview& p) {
        p.resize(300, 90);
        p.Form_Resize();
        EXPECT_EQ(p.Picture2.height(), 0);
        EXPECT_GE(p.Picture2.width(), 0);
        p.resize(900, 700);
        p.Form_Resize();
        EXPECT_GT(p.Picture2.height(), 0);
        EXPECT_EQ(p.HScroll1.y(), p.Picture2.height());
        EXPECT_EQ(p.VScroll1.x(), p.Picture2.width());
    });
    EXPECT_TRUE(h().messages().empty());
}

// The words of each line of a page, blanks between them made single: the preview's page as its
// log reads and the paper's as pdftotext reads it come out alike when the lines break alike.
std::vector<std::string> woerterJeZeile(const std::vector<std::string>& zeilen) {
    std::vector<std::string> w;
    for (const std::string& z : zeilen) {
        std::istringstream in(z);
        std::string wort, zeile;
        while (in >> wort) zeile += (zeile.empty() ? "" : " ") + wort;
        if (!zeile.empty()) w.push_back(zeile);
    }
    return w;
}

std::vector<std::string> pdfSeite(const std::string& pdf, int seite) {
    const auto r = support::run("pdftotext -layout -f " + std::to_string(seite) + " -l " + std::to_string(seite) + " " +
                                support::shellQuote(pdf) + " -");
    EXPECT_EQ(r.status, 0) << r.output;
    std::vector<std::string> zeilen;
    std::istringstream in(r.output);
    for (std::string z; std::getline(in, z);) zeilen.push_back(z);
    return woerterJeZeile(zeilen);
}

// A long portrait of the installed contents: the preview's page breaks its lines and ends where
// the paper does, for every type, in the modes that fill more than a page.
TEST_F(CodexTest, ThePreviewPageIsThePrintedPageLineByLine) {
    installierterInhalt();
    ASSERT_TRUE(starte());
    for (int typ : {1, 4, 9}) {
        erstes().Command6[typ - 1].Click();
        for (int modus : {0, 3}) {
            frmDruckMan& d = manager(modus);
            const std::string pdf = pfad("portrait-" + std::to_string(typ) + "-" + std::to_string(modus) + ".pdf");
            draw::printer().setOutputFileName(pdf);
            h().answer(forms::vbYes);
            d.Command1_Click();
            const std::vector<std::string> papier = pdfSeite(pdf, 1);
            ASSERT_GT(papier.size(), 20u);

            std::vector<std::string> vorschau;
            vorschauZeigen(d, [&](frmPrintPreview& p) {
                if (vorschau.empty()) vorschau = woerterJeZeile(p.Picture1.pageLines(1));
            });
            // The first line that differs says where the preview left the paper.
            size_t i = 0;
            while (i < vorschau.size() && i < papier.size() && vorschau[i] == papier[i]) ++i;
            EXPECT_TRUE(i == vorschau.size() && i == papier.size())
                << "type " << typ << ", mode " << modus << ", line " << i + 1 << " of " << papier.size()
                << "\n preview: " << (i < vorschau.size() ? vorschau[i] : "(end)")
                << "\n paper:   " << (i < papier.size() ? papier[i] : "(end)");
        }
    }
    EXPECT_EQ(h().messages().size(), 6u) << h().messages().back();  // the six questions before printing
}

}  // namespace
