#include "codex/frm_print_preview.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "codex/modul_global.h"
#include "desk/common/globals.h"
#include "platform/draw/printer.h"
#include "platform/forms/screen.h"

namespace codex {

namespace {
int tw() { return forms::Screen::TwipsPerPixelX(); }
int th() { return forms::Screen::TwipsPerPixelY(); }
}  // namespace

frmPrintPreview::frmPrintPreview() : forms::Form("frmPrintPreview") {
    Picture2.setParent(this);
    Picture2.setObjectName("Picture2");
    Picture1.setParent(&Picture2);
    Picture3.setParent(&Picture2);
    HScroll1.setParent(this);
    VScroll1.setParent(this);
    for (forms::CommandButton* b : {&Command3, &Command2, &Command1}) b->setParent(this);
    Command2.setCaption("Zoom +");
    Command3.setCaption("Zoom -");
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    HScroll1.Change = [this] { HScroll1_Change(); };
    VScroll1.Change = [this] { VScroll1_Change(); };
    HScroll1.resize(HScroll1.sizeHint());
    VScroll1.resize(VScroll1.sizeHint());
    for (forms::CommandButton* b : {&Command3, &Command2, &Command1})
        b->resize(std::max(110, b->sizeHint().width()), b->sizeHint().height());
    const QRect frei = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1280, 800);
    resize(std::min(900, frei.width() - 40), std::min(720, frei.height() - 60));
}

void frmPrintPreview::setupControls() {
    // A new load starts from a blank page at the start size.
    Picture1.setBackColor(0xFFFFFF);
    Picture3.setBackColor(0xFFFFFF);
    Picture1.setFont(draw::FontSpec{});
    Picture1.setForeColor(0);
    Picture1.setScaleMode(1);
    HScroll1.setValue(0);
    VScroll1.setValue(0);
    m_zoom = 2.0f;
}

void frmPrintPreview::Form_Load() {
    mitFehlerfalle([this] {
        setCaption(DialogTxt(3) + " " + LabelTxt(187));
        Command1.setCaption(LabelTxt(69));
        const draw::Printer& p = draw::printer();
        // The page picture lays its text out as the printer does: the preview breaks lines and
        // ends its page where the paper will.
        Picture1.setPreviewOf(&p);
        Picture1.setScaleMode(p.ScaleMode());
        Picture1.setSizeTwips(p.Width(), p.Height());
        Picture1.Cls();
        Picture3.setSizeTwips(Picture1.Width() / 2, Picture1.Height() / 2);
        Picture3.Cls();
        Picture1.setVisible(false);
        Picture3.setAutoRedraw(true);
        m_zoom = 2.0f;
        for (forms::ScrollBar* s :
             {static_cast<forms::ScrollBar*>(&HScroll1), static_cast<forms::ScrollBar*>(&VScroll1)}) {
            s->setMin(0);
            s->setMax(100);
            s->setLargeChange(10);
            s->setSmallChange(1);
        }
    });
}

void frmPrintPreview::seiteMalen() {
    Picture3.PaintPicture(Picture1.Image(), 0, 0, Picture1.Width() / m_zoom, Picture1.Height() / m_zoom);
}

void frmPrintPreview::zentrieren() {
    Picture3.move(static_cast<int>((Width() - Picture3.Width()) / 2 / tw()), 100 / th());
}

void frmPrintPreview::Form_Activate() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        Refresh();
        // At the factor the page is shown at, so that a zoomed page looks the same after the
        // window was covered and activated again.
        seiteMalen();
        zentrieren();
    });
}

void frmPrintPreview::Command2_Click() {
    if (m_zoom > 1.0f) zoomen(-0.35f);
}

void frmPrintPreview::Command3_Click() {
    if (m_zoom < 3.0f) zoomen(0.35f);
}

void frmPrintPreview::zoomen(float schritt) {
    m_zoom = m_zoom + schritt;
    Picture3.setSizeTwips(Picture1.Width() / m_zoom, Picture1.Height() / m_zoom);
    seiteMalen();
    zentrieren();
}

void frmPrintPreview::Command1_Click() { forms::Unload(*this); }

void frmPrintPreview::HScroll1_Change() {
    const double anteil = HScroll1.Value() / 100.0;
    Picture1.setLeft(-anteil * Picture1.Width());
    Picture3.setLeft(-anteil * Picture3.Width());
}

void frmPrintPreview::VScroll1_Change() {
    const double anteil = VScroll1.Value() / 100.0;
    Picture1.setTop(-anteil * Picture1.Height());
    Picture3.setTop(-anteil * Picture3.Height());
}

void frmPrintPreview::Form_Resize() {
    mitFehlerfalle([this] {
        const int innenBreite = ScaleWidth(), innenHoehe = ScaleHeight();
        const int breite = static_cast<int>(MaxValue(0, innenBreite - VScroll1.Width()));
        const int hoehe = static_cast<int>(MaxValue(0, Height() - 1600));
        Picture2.setGeometry(0, 0, breite / tw(), hoehe / th());
        HScroll1.Move(0, hoehe, breite, HScroll1.Height());
        VScroll1.Move(breite, 0, VScroll1.Width(), hoehe);
        const int oben = innenHoehe - (Command1.Height() + 100);
        Command1.Move(innenBreite - (Command1.Width() + 100), oben);
        Command2.Move(innenBreite - (Command1.Width() + Command2.Width() + 200), oben);
        Command3.Move(innenBreite - (Command1.Width() + Command2.Width() + Command3.Width() + 300), oben);
        zentrieren();
    });
}

}  // namespace codex
