#include "desk/evaluation/form15.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "desk/charts/chart_fenster.h"
#include "desk/common/cls_scroll.h"
#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/evaluation/antworttabelle.h"
#include "desk/evaluation/austauschbild.h"
#include "desk/testing/testverwaltung.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/variant.h"

namespace {

constexpr int kZeilen = 10;
constexpr int kSpalten = 7;
constexpr const char* kBildName = "ZUVTabelle.bmp";

int twipsX(int px) { return px * forms::Screen::TwipsPerPixelX(); }
int twipsY(int px) { return px * forms::Screen::TwipsPerPixelY(); }

// CInt: to the nearest whole number, halves to the even one.
int cint(double v) { return static_cast<int>(std::nearbyint(v)); }

QImage diagrammSymbol() {
    QImage bild(22, 22, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setPen(Qt::black);
    p.drawLine(2, 20, 20, 20);
    p.drawLine(2, 2, 2, 20);
    p.fillRect(5, 11, 3, 8, QColor(0, 0, 255));
    p.fillRect(10, 5, 3, 14, QColor(255, 0, 0));
    p.fillRect(15, 9, 3, 10, QColor(0, 160, 0));
    return bild;
}

}  // namespace

Form15::Form15() : Form("Form15") {
    setMdiChild(true);
    resize(760, 420);

    Picture2.setParent(this);
    auto* leiste = new QHBoxLayout(&Picture2);
    leiste->setContentsMargins(6, 4, 6, 4);
    SSCommand1.setPicture(diagrammSymbol());
    SSCommand1.setCaption("");
    SSCommand2.setCaption("?");
    SSCommand2.setMinimumWidth(SSCommand1.sizeHint().width());
    leiste->addWidget(&SSCommand1);
    leiste->addWidget(&SSCommand2);
    leiste->addSpacing(12);
    leiste->addWidget(&Label1, 1);

    Ansicht.setParent(this);
    Picture1.setParent(&Ansicht);
    Picture1.setObjectName("Picture1");
    Picture1.setAutoFillBackground(true);
    Grid1.setParent(&Picture1);
    Grid1.setObjectName("Grid1");
    // The cells are sized to fill the grid, so it needs neither a frame nor bars of its own.
    Grid1.setFrameShape(QFrame::NoFrame);
    Grid1.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1.verticalHeader()->setMinimumSectionSize(1);
    Grid1.horizontalHeader()->setMinimumSectionSize(1);

    Grid1.Click = [this] { Grid1_Click(); };
    SSCommand1.Click = [this] { SSCommand1_Click(); };
    SSCommand2.Click = [this] { SSCommand2_Click(); };
}

Form15::~Form15() { BewertungsbeobachterAustragen(this); }

void Form15::Form_Load() {
    m_personID = gAktPersonID;
    m_antwortstand = ErgebnisfensterAntwortstand(m_personID);
    BewertungsbeobachterEintragen(this, [this](int32_t id) {
        if (id == m_personID && isLoaded()) mitFehlerfalle([this] { nachfuehren(); });
    });
    mitFehlerfalle([this] {
        DruckMenueAn(DruckMenue::Tabelle, true);
        setCaption(LabelTxt(254));
        SSCommand1.setToolTipText(LabelTxt(253));
        SSCommand2.setToolTipText(LabelTxt(42));
        m_scroll.setSmallChange(10);
        m_scroll.setLargeChange(30);
        m_scroll.setVirtualHeight(550);
        m_scroll.setVirtualWidth(1000);
        gScrollForm = this;
        Label1.setCaption(LabelTxt(251) + ": " + gAktPerson[1] + " " + gAktPerson[2] + "/" + gAktPerson[11]);

        m_tabelle = Antwortzellen::aktuelle();
        m_tabelle.fuellen(Grid1);
        // What the table was made from: once that changes, the report makes the table anew.
        m_stand = DruckbildStand();

        SetStatusText(LabelTxt(155) + " " + LabelTxt(156), false);
        SSCommand1.setEnabled(false);
        Form_Resize();
    });
}

void Form15::nachfuehren() {
    if (Antwortstand(m_personID) == m_antwortstand) return;
    if (gAktPersonID == m_personID) {
        m_antwortstand = AuswertungNachfuehren();
        m_tabelle = Antwortzellen::aktuelle();
    } else {
        // Another person is the current one now: this one is scored on its own.
        const EigeneAuswertung e = PersonFuerSichAuswerten(m_personID);
        m_antwortstand = e.antwortstand;
        m_tabelle = Antwortzellen::aus(e.auswertung.punkte);
    }
    m_tabelle.fuellen(Grid1);
    m_stand = DruckbildStand();
    // A choice made in the old table no longer names these numbers.
    m_auswahl = 0;
    SSCommand1.setEnabled(false);
    Form_Resize();
}

int Form15::mindestSpalte() const { return TabellenMindestspalte(Grid1); }

int Form15::mindestZeile() const { return TabellenMindestzeile(Grid1); }

QSize Form15::sizeHint() const {
    const QSize leiste = Picture2.sizeHint();
    return QSize(std::max(leiste.width(), kSpalten * mindestSpalte()), 2 * leiste.height() + kZeilen * mindestZeile());
}

// The table fills the window below the strip, never smaller than its texts need; what does not
// fit the window is reached with the window's scroll bars.
void Form15::groessen() {
    const int leiste = Picture2.sizeHint().height();
    for (int durchgang = 0; durchgang < 2; ++durchgang) {
        const QRect innen = GetClientRect();
        Picture2.setGeometry(0, 0, innen.width(), leiste);
        Ansicht.setGeometry(0, leiste, innen.width(), std::max(0, innen.height() - leiste));

        int bildB = innen.width();
        int bildH = innen.height() >= leiste ? innen.height() - leiste : Picture1.height();
        const int gitterB = bildB, gitterH = bildH - leiste;
        const int spalte = std::max(cint(twipsX(gitterB) / 7.0), twipsX(mindestSpalte()));
        const int zeile = std::max(cint(twipsY(gitterH) / 10.2), twipsY(mindestZeile()));
        int summeB = 0, summeH = 0;
        for (int c = 0; c < kSpalten; ++c) {
            Grid1.setColWidth(c, spalte);
            if (c >= 1) {
                Grid1.setColAlignment(c, 4);
                Grid1.setFixedAlignment(c, 4);
            }
            summeB += Grid1.columnWidth(c);
        }
        for (int r = 0; r < kZeilen; ++r) {
            Grid1.setRowHeight(r, zeile);
            summeH += Grid1.rowHeight(r);
        }
        Grid1.setGeometry(0, 0, summeB, summeH);
        bildB = std::max(bildB, summeB);
        bildH = std::max(bildH, summeH);
        Picture1.resize(bildB, bildH);

        m_scroll.setVirtualWidth(std::max(1000, bildB));
        m_scroll.setVirtualHeight(std::max(550, bildH + leiste));
        gScrollPosX = 0;
        gScrollPosY = 0;
        gScrollForm = this;
        m_scroll.UpdateScrollBars();
        // Bars that came or went change the inner area: once more with the new one.
        if (GetClientRect() == innen) break;
    }
}

void Form15::Form_Resize() {
    if (m_inResize) return;
    m_inResize = true;
    struct Ende {
        Form15* f;
        ~Ende() { f->m_inResize = false; }
    } ende{this};
    mitFehlerfalle([this] {
        SendMessage(forms::WM_SETREDRAW, 0);
        struct Neuzeichnen {
            Form15* f;
            ~Neuzeichnen() { f->RedrawWindow(); }
        } neu{this};
        groessen();
    });
}

void Form15::Form_Activate() {
    // Trapped as every other handler: a bitmap that cannot be written must not end the program.
    mitFehlerfalle([this] {
        Form_Resize();
        setWindowState(forms::vbMaximized);
        nachfuehren();
        AustauschbildNachfuehren([this] { return AntworttabelleFuerDruck(m_tabelle); }, kBildName, m_personID, m_stand,
                                 m_bildFehlerGemeldet, DialogTxt(90));
        if (hauptfenster()) hauptfenster()->arrangeChildren(gFensterAnzahl == 1 ? 2 : 0);
    });
}

std::string Form15::Tabellentext() {
    mitFehlerfalle([this] { nachfuehren(); });
    std::string text;
    for (int r = 0; r < kZeilen; ++r) {
        Grid1.setRow(r);
        Grid1.setCol(0);
        Grid1.setColSel(kSpalten - 1);
        text += Grid1.Clip() + "\r\n";
    }
    Grid1.setCol(0);
    Grid1.setColSel(0);
    return text;
}

void Form15::Grid1_Click() {
    mitFehlerfalle([this] {
        const int r = Grid1.Row(), c = Grid1.Col();
        if (r == 0 && c >= 1 && c <= 6) {
            SSCommand1.setEnabled(true);
            m_auswahl = 1;
            m_stelle = static_cast<int16_t>(c);
            for (int z = 1; z <= 9; ++z) m_werte[z] = gDiagrammWerte[z] = vb::Variant(Grid1.TextMatrix(z, c)).toInt();
            Grid1.setRow(0);
            Grid1.setCol(c);
            Grid1.setColSel(c);
            Grid1.setRowSel(9);
            static const char* const kWert[] = {"", " 0", " 1", " 2", " 3", " 4"};
            m_titel = gDiagrammTitel = c <= 5 ? LabelTxt(157) + kWert[c] : LabelTxt(108) + " 0-4";
            SSCommand1.SetFocus();
        } else if (c == 0 && r >= 1 && r <= 9) {
            m_auswahl = 2;
            m_stelle = static_cast<int16_t>(r);
            for (int k = 1; k <= 5; ++k) m_werte[k] = gDiagrammWerte[k] = vb::Variant(Grid1.TextMatrix(r, k)).toInt();
            SSCommand1.setEnabled(true);
            Grid1.setCol(0);
            Grid1.setRow(r);
            Grid1.setRowSel(r);
            Grid1.setColSel(5);  // the total is no part of a type's row
            m_titel = gDiagrammTitel = gTypbezeichnung[r];
            SSCommand1.SetFocus();
        } else {
            SSCommand1.setEnabled(false);
        }
    });
}

void Form15::SSCommand1_Click() {
    setMousePointer(forms::vbHourglass);
    struct Zeiger {
        Form15* f;
        ~Zeiger() { f->setMousePointer(forms::vbDefault); }
    } zeiger{this};
    mitFehlerfalle([this] {
        // The values and title of this window's choice, whatever another table window chose since.
        // The table stays open, so its print item stays as it is.
        if (m_auswahl == 1 || m_auswahl == 2) TabellenchartAnzeigen(m_auswahl == 1 ? 10 : 11, m_werte, m_titel, m_stelle);
    });
}

void Form15::SSCommand2_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw4hr9.htm"); });
}

void Form15::Form_Message(int msg, std::intptr_t wParam, std::intptr_t) {
    mitFehlerfalle([&] {
        if (msg == forms::WM_SIZE) {
            if (WindowState() == forms::vbNormal) m_scroll.UpdateScrollBars();
            return;
        }
        RollNachricht(*this, m_scroll, msg, wParam);
    });
}

void Form15::Form_Unload(int&) {
    // The print item stays while another table window or the table's bitmap can still be printed.
    mitFehlerfalle([this] {
        DruckMenueAn(DruckMenue::Tabelle, anderesFensterOffen("Form15", this) || AustauschbildVorhanden(kBildName));
    });
    mitFehlerfalle([] { SetStatusText("", true); });
    ChildWindowClosed();
    mitFehlerfalle([] { AssistentNachVorn(); });
}
