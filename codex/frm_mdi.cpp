#include "codex/frm_mdi.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>

#include <algorithm>
#include <QPointer>

#include "codex/form2.h"
#include "codex/frm_druck_man.h"
#include "codex/frm_info.h"
#include "codex/modul_global.h"
#include "desk/common/form4.h"
#include "desk/common/globals.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"

namespace codex {

frmMDI::frmMDI()
    : forms::MdiForm("frmMDI"),
      mnuDatei(menuBar(), "&Datei"),
      mnuDrucken(mnuDatei, "&Drucken"),
      mnuDruckTypKurz(mnuDrucken, "Typ in &Kurzfassung …"),
      mnuDruckTypLang(mnuDrucken, "Typ &ausführlich …"),
      mnuDruckThema(mnuDrucken, "Aktuelles &Thema …"),
      mnuDruckAlleThemen(mnuDrucken, "&Alle Themen des Typs …"),
      mnuTrennLinie1(mnuDatei, "-"),
      mnuBeenden(mnuDatei, "&Beenden"),
      mnuBearbeiten(menuBar(), "&Bearbeiten"),
      mnuKopieren(mnuBearbeiten, "&Kopieren"),
      mnuTypeViewer(menuBar(), "&Neue Typenbeschreibung"),
      mnuKonfig(menuBar(), "&Konfiguration"),
      mnuSchrift(mnuKonfig, "&Einstellungen …"),
      mnuWindow(menuBar(), "&Fenster"),
      mnuUebereinander(mnuWindow, "Ü&berlappend"),
      mnuVertikal(mnuWindow, "&Nebeneinander"),
      mnuHorizontal(mnuWindow, "&Untereinander"),
      mnuHilfe(menuBar(), "&Hilfe"),
      mnuInhalt(mnuHilfe, "&Inhalt"),
      mnuUeber(mnuHilfe, "Ü&ber …") {
    setHauptfenster(this);
    const QRect frei = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1280, 800);
    resize(std::min(1100, frei.width() - 20), std::min(760, frei.height() - 60));

    Picture1 = new QWidget(this);
    auto* leiste = new QHBoxLayout(Picture1);
    leiste->setContentsMargins(4, 2, 4, 2);
    leiste->setSpacing(2);
    SSCommand1 = new forms::Button3D(Picture1);
    SSCommand2 = new forms::Button3D(Picture1);
    SSCommand3 = new forms::Button3D(Picture1);
    forms::Button3D* knoepfe[3] = {SSCommand1, SSCommand2, SSCommand3};
    for (int i = 0; i < 3; ++i) {
        knoepfe[i]->setObjectName(QString("SSCommand%1").arg(i + 1));
        knoepfe[i]->MouseMove = [this, i](int, int, float, float) { SSCommand_MouseMove(i); };
        leiste->addWidget(knoepfe[i]);
    }
    leiste->addStretch(1);
    addTopWidget(Picture1);

    picStatusBar = new QWidget(this);
    auto* status = new QHBoxLayout(picStatusBar);
    status->setContentsMargins(0, 0, 0, 0);
    txtStatusMsg = new forms::StatusLine(picStatusBar);
    status->addWidget(txtStatusMsg);
    addBottomWidget(picStatusBar);

    mnuKopieren.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuInhalt.setShortcut(QKeySequence(Qt::Key_F1));
    mnuWindow.setWindowList(this);

    auto trap = [](auto f) { return [f] { mitFehlerfalle(f); }; };
    mnuBeenden.Click = trap([this] { mnuBeenden_Click(); });
    mnuDruckTypKurz.Click = trap([this] { mnuDruckTypKurz_Click(); });
    mnuDruckTypLang.Click = trap([this] { mnuDruckTypLang_Click(); });
    mnuDruckThema.Click = trap([this] { mnuDruckThema_Click(); });
    mnuDruckAlleThemen.Click = trap([this] { mnuDruckAlleThemen_Click(); });
    mnuKopieren.Click = trap([this] { mnuKopieren_Click(); });
    mnuTypeViewer.Click = [this] { mnuTypeViewer_Click(); };
    mnuSchrift.Click = [this] { mnuSchrift_Click(); };
    mnuUebereinander.Click = [this] { mnuUebereinander_Click(); };
    mnuVertikal.Click = [this] { mnuVertikal_Click(); };
    mnuHorizontal.Click = [this] { mnuHorizontal_Click(); };
    mnuInhalt.Click = [this] { mnuInhalt_Click(); };
    mnuUeber.Click = trap([this] { mnuUeber_Click(); });
    SSCommand1->Click = [this] { mnuTypeViewer_Click(); };
    SSCommand2->Click = [this] { mnuSchrift_Click(); };
    SSCommand3->Click = [this] { mnuInhalt_Click(); };
}

frmMDI::~frmMDI() {
    if (hauptfenster() == this) setHauptfenster(nullptr);
}

void frmMDI::setupControls() {
    mnuBearbeiten.setVisible(false);
    mnuWindow.setVisible(false);
    mnuKopieren.setEnabled(false);
}

void frmMDI::setStatusCaption(const std::string& text) { txtStatusMsg->setCaption(text); }

void frmMDI::setEditAndWindowMenusVisible(bool visible) {
    mnuBearbeiten.setVisible(visible);
    mnuWindow.setVisible(visible);
}

void frmMDI::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        forms::Load(forms::Instance<Form4>());
        setCaption(kHauptfensterTitel);
        const std::pair<forms::MenuItem*, int> menue[] = {
            {&mnuDatei, 1},       {&mnuDrucken, 8},          {&mnuDruckTypKurz, 25}, {&mnuDruckTypLang, 26},
            {&mnuDruckThema, 27}, {&mnuDruckAlleThemen, 28}, {&mnuBeenden, 0},       {&mnuBearbeiten, 12},
            {&mnuKopieren, 13},   {&mnuTypeViewer, 5},       {&mnuKonfig, 6},        {&mnuSchrift, 7},
            {&mnuWindow, 22},     {&mnuUebereinander, 23},   {&mnuVertikal, 9},      {&mnuHorizontal, 10},
            {&mnuHilfe, 2},       {&mnuInhalt, 4},           {&mnuUeber, 3}};
        for (const auto& [item, n] : menue) item->setCaption(MenuTxt(n));
        // The buttons name what they do with the texts of their hints.
        SSCommand1->setCaption(LabelTxt(3));
        SSCommand2->setCaption(LabelTxt(4));
        SSCommand3->setCaption(LabelTxt(42));
        Picture1->setFixedHeight(SSCommand1->sizeHint().height() + 4);
        gFensterAnzahl = 0;
        mnuTypeViewer_Click();
        SetStatusText(LabelTxt(5), false);
    });
}

void frmMDI::Form_QueryUnload(int&, int) {
    // Closed any other way than through the exit command: no question, the program ends. The
    // description windows let go of the content database as they close.
}

void frmMDI::mnuBeenden_Click() {
    gAntwort = forms::MsgBox(DialogTxt(2), forms::vbYesNo | forms::vbExclamation, DialogTxt(3));
    if (gAntwort == forms::vbNo) return;
    beenden();
}

void frmMDI::beenden() {
    // The description windows let go of the content database as they unload with this window.
    ShutdownProgram();
    forms::Unload(*this);
}

void frmMDI::mnuKopieren_Click() {
    auto* fenster = dynamic_cast<Form2*>(ActiveForm());
    if (!fenster) return;
    const std::string text = fenster->RichTextBox1.SelText();
    if (text.empty()) return;
    forms::Clipboard::Clear();
    forms::Clipboard::SetText(text);
}

void frmMDI::mnuTypeViewer_Click() {
    mitFehlerfalle([] {
        QPointer<Form2> fenster = new Form2;
        if (!CanOpenChildWindow()) {
            delete fenster.data();
            return;
        }
        fenster->Show();
        ChildWindowOpened();
    });
}

void frmMDI::mnuSchrift_Click() {
    mitFehlerfalle([] { forms::Default<Form4>().Show(); });
}

void frmMDI::mnuInhalt_Click() {
    mitFehlerfalle([] { HilfeZeigen(""); });
}

void frmMDI::mnuUeber_Click() { forms::Instance<frmInfo>().Show(forms::vbModal); }

void frmMDI::SSCommand_MouseMove(int button) {
    const int hinweis[3] = {3, 4, 42};
    forms::Button3D* knoepfe[3] = {SSCommand1, SSCommand2, SSCommand3};
    knoepfe[button]->setToolTipText(LabelTxt(hinweis[button]));
}

void frmMDI::druckManagerZeigen(int modus) {
    frmDruckMan& d = forms::Default<frmDruckMan>();
    d.Option1[modus].setValue(true);
    d.Show();
}

}  // namespace codex
