#include "desk/evaluation/auswertform.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/evaluation/austauschbild.h"
#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/testverwaltung.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace {

// Size of the drawing surface in twips; a page printed in a large font makes it grow.
constexpr double kBreite = 15000;
constexpr double kHoehe = 10000;
// The page's margin at the left edge of the surface.
constexpr double kRand = 100;

auswertform* g_zeichnend = nullptr;

struct Zeichnend {
    auswertform* vorher;
    explicit Zeichnend(auswertform* f) : vorher(g_zeichnend) { g_zeichnend = f; }
    ~Zeichnend() { g_zeichnend = vorher; }
};

QImage symbol(QStyle::StandardPixmap welches) {
    return QApplication::style()->standardIcon(welches).pixmap(24, 24).toImage();
}

}  // namespace

auswertform* zeichnendesFenster() { return g_zeichnend; }

auswertform::auswertform() : Form("auswertform"), Picture2(this), Sicht(this), Picture1(&Sicht), Bild1(&Picture1) {
    setMdiChild(true);
    setKeyPreview(true);
    Picture1.setObjectName("Picture1");
    Bild1.setObjectName("Bild1");
    Picture2.setObjectName("Picture2");

    auto* strip = new QVBoxLayout(&Picture2);
    strip->setContentsMargins(6, 4, 6, 2);
    strip->setSpacing(2);
    auto* knoepfe = new QHBoxLayout;
    strip->addLayout(knoepfe);
    for (forms::Button3D* b : {&SSCommand1, &SSCommand2, &SSCommand3}) {
        b->setIconSize(QSize(24, 24));
        b->setFocusPolicy(Qt::TabFocus);
    }
    SSCommand1.setPicture(symbol(QStyle::SP_ArrowBack));
    SSCommand2.setPicture(symbol(QStyle::SP_ArrowForward));
    SSCommand3.setPicture(symbol(QStyle::SP_MessageBoxQuestion));
    knoepfe->addWidget(&SSCommand1);
    knoepfe->addWidget(&SSCommand2);
    knoepfe->addSpacing(12);
    knoepfe->addWidget(&SSCommand3);
    knoepfe->addSpacing(12);
    auto* schwelle = new QHBoxLayout(&Frame1);
    schwelle->setContentsMargins(6, 2, 6, 4);
    schwelle->addWidget(&Combo1);
    schwelle->addWidget(&Combo2);
    schwelle->addWidget(&Command1);
    Combo1.setMinimumContentsLength(6);
    Combo2.setMinimumContentsLength(6);
    Command1.setCaption("&OK");
    knoepfe->addWidget(&Frame1);
    knoepfe->addSpacing(12);
    knoepfe->addWidget(&Befehl6);
    knoepfe->addWidget(&Befehl3);
    knoepfe->addStretch(1);
    auto* kopf = new QHBoxLayout;
    strip->addLayout(kopf);
    kopf->addWidget(&Label1, 3);
    kopf->addWidget(&Label2, 1);
    Label1.setTextFormat(Qt::PlainText);
    Label2.setTextFormat(Qt::PlainText);

    Picture1.setAutoFillBackground(true);
    Bild1.setBackColor(0xFFFFFF);
    Bild1.setFocusPolicy(Qt::ClickFocus);
    bildGroesse(kBreite, kHoehe);

    SSCommand1.Click = [this] { SSCommand1_Click(); };
    SSCommand2.Click = [this] { SSCommand2_Click(); };
    SSCommand3.Click = [this] { SSCommand3_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Befehl6.Click = [this] { Befehl6_Click(); };
    Befehl3.Click = [this] { Befehl3_Click(); };
    Bild1.GotFocus = [this] { Bild1_GotFocus(); };
    resize(820, 560);
}

auswertform::~auswertform() {
    BewertungsbeobachterAustragen(this);
    // The output surface must not point at a picture that no longer exists.
    if (gAusgabe == &Bild1) gAusgabe = nullptr;
    if (g_zeichnend == this) g_zeichnend = nullptr;
}

// ==================================================================== life cycle

void auswertform::Form_Load() {
    mitFehlerfalle([this] {
        Befehl6.setCaption(LabelTxt(248));
        Befehl3.setCaption(LabelTxt(69));
        SSCommand1.setToolTip(QString::fromStdString(LabelTxt(249)));
        SSCommand2.setToolTip(QString::fromStdString(LabelTxt(250)));
        SSCommand3.setToolTip(QString::fromStdString(LabelTxt(42)));

        m_scroll.setSmallChange(10);
        m_scroll.setLargeChange(30);
        setScaleMode(1);
        gScrollForm = this;
        m_scrollBereit = true;

        // The window's person and page, kept for as long as it is open.
        m_personId = gAktPersonID;
        m_person = {gAktPerson[1], gAktPerson[2], gAktPerson[11]};
        m_art = gAuswertungsart == 2 ? 2 : 1;
        m_seite = gSeite >= 1 ? gSeite : 1;
        m_seitenanzahl = m_art == 2 ? 6 : (gSeitenanzahl == 12 ? 12 : 10);
        // What the opener has just scored the person from.
        m_antwortstand = ErgebnisfensterAntwortstand(m_personId);
        BewertungsbeobachterEintragen(this, [this](int32_t id) { bewertungGespeichert(id); });

        bildGroesse(kBreite, kHoehe);
        bild_schriftartsetzen();
        ShowSensitivity();
        Frame1.setCaption(LabelTxt(224));
    });
}

void auswertform::Form_Activate() {
    mitFehlerfalle([this] {
        if (WindowState() != forms::vbMinimized) {
            const std::string art = vb::Left(Caption(), 10);
            if (art == LabelTxt(245)) {
                m_art = 1;
            } else if (art == LabelTxt(246)) {
                m_art = 2;
                m_seitenanzahl = 6;
            }
            zustandHerstellen();
            ZeigeKopfzeile();
            seiteZeigen();
        }
    });
    Form_Resize();
}

void auswertform::Form_Resize() {
    mitFehlerfalle([this] {
        if (!m_scrollBereit) return;
        const auto anordnen = [this] {
            const QRect c = GetClientRect();
            const int leiste = std::max(Picture2.sizeHint().height(), Picture2.minimumSizeHint().height());
            Picture2.setGeometry(0, 0, c.width(), leiste);
            Sicht.setGeometry(0, leiste, c.width(), std::max(0, c.height() - leiste));
            // The whole picture can be scrolled into view, below the strip.
            m_scroll.setVirtualWidth(Picture1.width());
            m_scroll.setVirtualHeight(leiste + Picture1.height());
        };
        anordnen();
        gScrollPosX = 0;
        gScrollPosY = 0;
        gScrollForm = this;
        // Twice: the client area the second time takes in the bars the first time showed.
        m_scroll.UpdateScrollBars();
        anordnen();
        m_scroll.UpdateScrollBars();
        anordnen();
        SendMessage(forms::WM_SETREDRAW, 1);
        RedrawWindow();
    });
}

void auswertform::Form_Unload(int& cancel) {
    (void)cancel;
    mitFehlerfalle([] {
        SetStatusText("", true);
        ChildWindowClosed();
        AssistentNachVorn();
    });
}

void auswertform::Form_KeyUp(int& keyCode, int shift) {
    (void)shift;
    if (keyCode == forms::vbKeyEscape) {
        mitFehlerfalle([this] { forms::Unload(*this); });
    } else if (keyCode == forms::vbKeyPageUp) {
        SSCommand1_Click();
    } else if (keyCode == forms::vbKeyPageDown) {
        SSCommand2_Click();
    }
}

void auswertform::Form_Message(int msg, std::intptr_t wParam, std::intptr_t) {
    mitFehlerfalle([&] { RollNachricht(*this, m_scroll, msg, wParam); });
}

void auswertform::Befehl3_Click() {
    mitFehlerfalle([this] { forms::Unload(*this); });
}

// ==================================================================== drawing

void auswertform::bild_schriftartsetzen() { auswertseiten::standardStil(Bild1); }

void auswertform::ZeigeKopfzeile() {
    Label1.setVisible(true);
    Label2.setVisible(true);
    Label1.setCaption("Auswertung von: " + m_person[0] + " " + m_person[1] + "/" + m_person[2]);
    Label2.setCaption("Seite " + vb::Str(static_cast<int>(m_seite)) + " von " +
                      vb::Str(static_cast<int>(m_seitenanzahl)));
}

void auswertform::zustandHerstellen() {
    gAuswertungsart = m_art;
    gSeite = m_seite;
    gSeitenanzahl = m_seitenanzahl;
}

bool auswertform::personGiltNoch() const { return gAktPersonID == m_personId; }

void auswertform::antwortenNachfuehren() {
    if (Antwortstand(m_personId) == m_antwortstand) return;
    m_antwortstand = AuswertungNachfuehren();
    // A test finished since may have given the person a main type, or taken it.
    if (m_art == 1) {
        m_seitenanzahl = gSeitenanzahl == 12 ? 12 : 10;
        if (m_seite > m_seitenanzahl) m_seite = m_seitenanzahl;
    }
    zustandHerstellen();
    ZeigeKopfzeile();
    ShowSensitivity();
}

void auswertform::bewertungGespeichert(int32_t personId) {
    if (personId != m_personId || !personGiltNoch() || !isLoaded() || m_zeichnet) return;
    m_zeichnet = true;
    struct Ende {
        bool& flag;
        ~Ende() { flag = false; }
    } ende{m_zeichnet};
    // Drawn where it stands: the focus stays in the window the rating was typed in.
    mitFehlerfalle([this] {
        if (Antwortstand(m_personId) != m_antwortstand) seiteZeichnen();
    });
}

void auswertform::Bild1_GotFocus() {
    if (m_zeichnet) return;
    m_zeichnet = true;
    struct Ende {
        bool& flag;
        ~Ende() { flag = false; }
    } ende{m_zeichnet};
    if (m_art != 1 && m_art != 2) return;
    mitFehlerfalle([this] {
        // Away from the picture, so that the next click on it draws the page again.
        Befehl3.setFocus();
        seiteZeichnen();
    });
}

void auswertform::seiteZeigen() { Bild1_GotFocus(); }

void auswertform::seiteZeichnen() {
    for (int versuch = 0; versuch < 2; ++versuch) {
        if (!seiteAuf(Bild1)) return;
        if (groesseAnpassen()) return;
    }
}

bool auswertform::seiteAuf(draw::Surface& s) {
    // The statistics pages start lower and wrap their headings from there.
    const bool statistik = m_art == 2;
    zustandHerstellen();
    // Some pages print in the style the surface has: the page for paper starts in the style the
    // page on view started in.
    if (&s == &Bild1) {
        m_anfangsschrift = Bild1.Font();
        m_anfangsfarbe = Bild1.ForeColor();
    } else {
        s.setFont(m_anfangsschrift);
        s.setForeColor(m_anfangsfarbe);
    }
    s.Cls();
    ZeigeKopfzeile();
    s.setScaleLeft(-kRand);
    s.setScaleTop(0);
    s.setCurrentX(0);
    s.setCurrentY(statistik ? 300 : 100);
    gAusgabe = &s;
    if (statistik) gAusgabeStartY = vb::Variant(s.CurrentY()).toInt();
    ShowSensitivity();
    if (m_seite < 1 || m_seite > (statistik ? 6 : 12)) return false;
    seiteAufrufen();
    return true;
}

void auswertform::seiteAufrufen() {
    if (!personGiltNoch()) {
        hinweisSeite(DialogTxt(76), DialogTxt(77));
        return;
    }
    Zeichnend zeichnend(this);
    try {
        antwortenNachfuehren();
        if (m_art == 2) {
            switch (m_seite) {
            case 1: ShowStatistics1(); break;
            case 2: ShowStatistics2(); break;
            case 3: ShowStatistics3(); break;
            case 4: ShowStatistics4(); break;
            case 5: ShowStatistics5(); break;
            case 6: ShowStatistics6(); break;
            }
            return;
        }
        switch (m_seite) {
        case 1: ShowResultByTotal(); break;
        case 2: ShowResultBySum4(); break;
        case 3: ShowResultBySum3(); break;
        case 4: ShowResultBySum34(); break;
        case 5: ShowResultBySum2(); break;
        case 6: ShowResultBySum1(); break;
        case 7: ShowResultBySum0(); break;
        case 8: ShowResultBySum01(); break;
        case 9: ShowResultDeviation(); break;
        case 10: ShowResultCompare(); break;
        case 11: ShowResultMainType(); break;
        case 12:
            // The main type of this window's person, whatever another window's ranking left behind.
            HaupttypAusRangliste();
            ShowResultConnectedTypes();
            break;
        }
    } catch (const vb::Error& e) {
        if (e.number() != vb::err::NoCurrentRecord) throw;
        hinweisSeite(DialogTxt(78), DialogTxt(79));
    }
}

void auswertform::hinweisSeite(const std::string& zeile1, const std::string& zeile2) {
    const bool fett = Bild1.FontBold();
    Bild1.setFontBold(true);
    Bild1.Print({draw::Tab(2), zeile1});
    Bild1.setFontBold(fett);
    Bild1.Print({draw::Tab(2), zeile2});
}

void auswertform::bildGroesse(double breite, double hoehe) {
    const int tx = forms::Screen::TwipsPerPixelX(), ty = forms::Screen::TwipsPerPixelY();
    Picture1.resize(static_cast<int>(breite / tx), static_cast<int>(hoehe / ty));
    Bild1.move(0, 0);
    Bild1.setSizeTwips(breite, hoehe);
}

bool auswertform::groesseAnpassen() {
    double rechts = 0, unten = 0;
    for (const draw::LogEntry& e : Bild1.log()) {
        rechts = std::max(rechts, e.x + e.width);
        unten = std::max(unten, e.y + e.fontSize * 20 * 1.5);
    }
    const double breite = std::max(kBreite, std::ceil((rechts + 300) / 1000) * 1000);
    const double hoehe = std::max(kHoehe, std::ceil((unten + 300) / 1000) * 1000);
    if (breite == Bild1.Width() && hoehe == Bild1.Height()) return true;
    const bool gewachsen = breite > Bild1.Width() || hoehe > Bild1.Height();
    bildGroesse(breite, hoehe);
    Form_Resize();
    return !gewachsen;
}

QImage auswertform::Seitenbild() const { return Bild1.Image().image(); }

// ==================================================================== thresholds

void auswertform::fuellen(forms::ComboBox& liste, std::initializer_list<double> werte) {
    for (double w : werte) liste.AddItem(vb::CStr(vb::Variant(w)));
}

void auswertform::ShowSensitivity() {
    // The statistics pages use no threshold.
    if (m_art == 2 || m_seite > 10) {
        Frame1.setVisible(false);
        return;
    }
    Frame1.setVisible(true);
    Combo1.setVisible(true);
    Combo1.Clear();
    Combo2.Clear();
    if (m_seite == 9) {
        Combo2.setVisible(true);
        fuellen(Combo1, {-0.2, -1, -0.9, -0.8, -0.75, -0.6, -0.5, -0.4, -0.3, -0.25, -0.15, -0.1, -0.01, -0.05});
        fuellen(Combo2, {0.4, 0.01, 0.05, 0.1, 0.2, 0.3, 0.5, 0.6, 0.75, 0.8, 0.9});
        if (!gSensitivityGewaehlt) {
            Combo1.setListIndex(0);
            Combo2.setListIndex(0);
        } else {
            Combo1.setListIndex(gSensitivity1Index);
            Combo2.setListIndex(gSensitivity2Index);
            if (Combo2.Text().empty()) Combo2.setListIndex(0);
        }
        gSensitivity1 = vb::CSng(vb::Variant(Combo1.Text()));
        if (!Combo2.Text().empty()) gSensitivity2 = vb::CSng(vb::Variant(Combo2.Text()));
    } else {
        Combo2.setVisible(false);
        Frame1.setCaption(LabelTxt(224));
        fuellen(Combo1, {0.85, 0.95, 0.9, 0.8, 0.75, 0.7, 0.65, 0.6, 0.5, 0.25, 0.2, 0.1, 0.05, 0.01});
        Combo1.setListIndex(gSensitivityGewaehlt ? gSensitivity1Index : 0);
        gSensitivity1 = vb::CSng(vb::Variant(Combo1.Text()));
    }
}

void auswertform::Command1_Click() {
    mitFehlerfalle([this] {
        gSensitivityGewaehlt = true;
        gSensitivity1 = vb::CSng(vb::Variant(Combo1.Text()));
        if (!Combo2.Text().empty()) gSensitivity2 = vb::CSng(vb::Variant(Combo2.Text()));
        gSensitivity1Index = static_cast<int16_t>(Combo1.ListIndex());
        gSensitivity2Index = static_cast<int16_t>(Combo2.ListIndex());
        if (m_zeichnet) return;
        m_zeichnet = true;
        struct Ende {
            bool& flag;
            ~Ende() { flag = false; }
        } ende{m_zeichnet};
        if (m_art == 1) seiteZeichnen();
    });
}

// ==================================================================== paging, print, help

void auswertform::paging(int schritt) {
    mitFehlerfalle([&] {
        m_seite = static_cast<int16_t>(m_seite + schritt);
        gSeite = m_seite;
        if (m_seite < 1) {
            forms::MsgBox(DialogTxt(m_art == 1 ? 45 : 46), forms::vbExclamation | forms::vbOKOnly, DialogTxt(3));
            m_seite = 1;
        } else if (m_seite > m_seitenanzahl) {
            forms::MsgBox(DialogTxt(m_art == 1 ? 42 : 43), forms::vbExclamation | forms::vbOKOnly, DialogTxt(3));
            m_seite = m_seitenanzahl;
        }
        gSeite = m_seite;
    });
    seiteZeigen();
}

void auswertform::SSCommand1_Click() { paging(-1); }
void auswertform::SSCommand2_Click() { paging(+1); }

QImage auswertform::SeiteFuerPapier() {
    struct Zurueck {
        auswertform* f;
        ~Zurueck() { gAusgabe = &f->Bild1; }
    } zurueck{this};
    // The page on view drawn once more, for paper: texts at their size on the sheet, sharp.
    return SeiteFuerDruck(Bild1.Width(), Bild1.Height(), kRand, [this](draw::Surface& s) { seiteAuf(s); });
}

void auswertform::Befehl6_Click() {
    mitFehlerfalle([this] {
        gDateivergleich = 0;
        // Answers stored since the page was drawn: the page on view is scored and drawn anew first,
        // so that paper and window show the same.
        if (personGiltNoch() && Antwortstand(m_personId) != m_antwortstand) seiteZeichnen();
        AustauschbildSchreiben(SeiteFuerPapier(), "ZUVAktuelleSeite.bmp");
        // The report window builds the report of the page on view from the bitmap when it is
        // activated; from its viewer the page is printed or saved as a PDF file.
        frmReport& bericht = forms::Default<frmReport>();
        bericht.Option1[0].setValue(true);
        bericht.Show();
    });
}

void auswertform::SSCommand3_Click() {
    mitFehlerfalle([this] {
        const std::string art = vb::Left(Caption(), 10);
        if (art == LabelTxt(245)) ShowHelp("html/zuvw0sqc.htm");
        else if (art == LabelTxt(246)) ShowHelp("html/zuvw1agb.htm");
    });
}
