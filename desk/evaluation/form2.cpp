#include "desk/evaluation/form2.h"

#include <QHBoxLayout>

#include <algorithm>

#include "desk/charts/chart_fenster.h"
#include "desk/common/form4.h"
#include "desk/common/cls_scroll.h"
#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/evaluation/austauschbild.h"
#include "desk/evaluation/enneagramm_figur.h"
#include "desk/testing/testverwaltung.h"
#include "platform/forms/host.h"

namespace {

constexpr const char* kBildName = "ZUVEnneagramm.bmp";

}  // namespace

Form2::Form2() : Form("Form2") {
    setMdiChild(true);
    resize(720, 560);

    Picture2.setParent(this);
    auto* leiste = new QHBoxLayout(&Picture2);
    leiste->setContentsMargins(6, 4, 6, 4);
    SSCommand1.setCaption("?");
    leiste->addWidget(&Combo1);
    leiste->addWidget(&SSCommand1);
    leiste->addSpacing(12);
    leiste->addWidget(&Label2, 1);

    Ansicht.setParent(this);
    Picture1.setParent(&Ansicht);
    Picture1.setObjectName("Picture1");
    for (int k = 0; k < 9; ++k) SSPanel1[k].Click = [this, k] { SSPanel1_Click(k); };

    Combo1.Click = [this] { Combo1_Click(); };
    SSCommand1.Click = [this] { SSCommand1_Click(); };
}

Form2::~Form2() { BewertungsbeobachterAustragen(this); }

void Form2::Form_Load() {
    // The scores of the person the window opens for; the bars are drawn from them from now on.
    m_personID = gAktPersonID;
    m_antwortstand = ErgebnisfensterAntwortstand(m_personID);
    m_werte = EnneagrammWerte::aktuelle();
    BewertungsbeobachterEintragen(this, [this](int32_t id) {
        if (id == m_personID && isLoaded()) mitFehlerfalle([this] { nachfuehren(); });
    });
    // The bars take the series colours of the chart options, which read the stored ones when they load.
    mitFehlerfalle([] { frmChartOptLaden(); });
    mitFehlerfalle([this] {
        SSCommand1.setToolTipText(LabelTxt(42));
        setCaption(LabelTxt(154));
        m_scroll.setSmallChange(10);
        m_scroll.setLargeChange(30);
        m_scroll.setVirtualHeight(800);
        m_scroll.setVirtualWidth(1000);
        gScrollForm = this;
        for (int n : {255, 111, 112, 113, 114, 115, 116, 117}) Combo1.AddItem(LabelTxt(n));
        Combo1.setListIndex(0);
        Picture1.namenSetzen();
        Label2.setCaption(LabelTxt(251) + ": " + gAktPerson[1] + " " + gAktPerson[2] + "/" + gAktPerson[11]);
        Picture1.symbolWaehlen(forms::Default<Form4>().Combo3.Text());
        SSPanel1_Click(0);
    });
    // What the figure was drawn from: once that changes, the report draws the figure anew.
    m_stand = DruckbildStand();
}

void Form2::nachfuehren() {
    if (Antwortstand(m_personID) == m_antwortstand) return;
    if (gAktPersonID == m_personID) {
        m_antwortstand = AuswertungNachfuehren();
        m_werte = EnneagrammWerte::aktuelle();
    } else {
        // Another person is the current one now: this one is scored on its own.
        const EigeneAuswertung e = PersonFuerSichAuswerten(m_personID);
        m_antwortstand = e.antwortstand;
        m_werte = EnneagrammWerte::aus(e.auswertung.punkte);
    }
    Picture1.balkenSetzen(Combo1.ListIndex(), m_werte, m_zaehler);
    m_stand = DruckbildStand();
}

QSize Form2::sizeHint() const {
    const QSize leiste = Picture2.sizeHint();
    return QSize(std::max(leiste.width(), Picture1.width()), leiste.height() + Picture1.height());
}

void Form2::Combo1_Click() { SSPanel1_Click(m_zaehler); }

void Form2::SSPanel1_Click(int) {
    mitFehlerfalle([this] { Picture1.balkenSetzen(Combo1.ListIndex(), m_werte, m_zaehler); });
}

void Form2::SSCommand1_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw33xp.htm"); });
}

void Form2::Form_Resize() {
    if (m_inResize) return;
    m_inResize = true;
    struct Ende {
        Form2* f;
        ~Ende() { f->m_inResize = false; }
    } ende{this};
    mitFehlerfalle([this] {
        SendMessage(forms::WM_SETREDRAW, 0);
        struct Neuzeichnen {
            Form2* f;
            ~Neuzeichnen() { f->RedrawWindow(); }
        } neu{this};
        const int leiste = Picture2.sizeHint().height();
        m_scroll.setVirtualWidth(std::max(1000, Picture1.width()));
        m_scroll.setVirtualHeight(std::max(800, Picture1.height() + leiste));
        for (int durchgang = 0; durchgang < 2; ++durchgang) {
            const QRect innen = GetClientRect();
            Picture2.setGeometry(0, 0, innen.width(), leiste);
            Ansicht.setGeometry(0, leiste, innen.width(), std::max(0, innen.height() - leiste));
            gScrollPosX = 0;
            gScrollPosY = 0;
            gScrollForm = this;
            m_scroll.UpdateScrollBars();
            if (GetClientRect() == innen) break;
        }
    });
}

void Form2::Form_Activate() {
    // Trapped as every other handler. The clipboard stays as it is: the Edit menu copies the figure.
    mitFehlerfalle([this] {
        Form_Resize();
        setWindowState(forms::vbMaximized);
        nachfuehren();
        AustauschbildNachfuehren(Picture1, kBildName, m_personID, m_stand, m_bildFehlerGemeldet, DialogTxt(91));
        if (hauptfenster()) hauptfenster()->arrangeChildren(gFensterAnzahl == 1 ? 2 : 0);
    });
}

QImage Form2::Abbild() {
    mitFehlerfalle([this] { nachfuehren(); });
    return zeichneAbseits(Picture1);
}

void Form2::Form_Message(int msg, std::intptr_t wParam, std::intptr_t) {
    mitFehlerfalle([&] { RollNachricht(*this, m_scroll, msg, wParam); });
}

void Form2::Form_Unload(int&) {
    // The print item stays while another enneagram window or the figure's bitmap can be printed.
    mitFehlerfalle([this] {
        DruckMenueAn(DruckMenue::Enneagramm, anderesFensterOffen("Form2", this) || AustauschbildVorhanden(kBildName));
    });
    ChildWindowClosed();
    mitFehlerfalle([] { AssistentNachVorn(); });
}
