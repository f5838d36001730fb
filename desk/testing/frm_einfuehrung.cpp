#include "desk/testing/frm_einfuehrung.h"

#include "desk/common/engine_setup.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "desk/common/globals.h"
#include "desk/testing/druck.h"
#include "desk/common/main_window_port.h"
#include "platform/draw/printer.h"
#include "platform/forms/keys.h"
#include "platform/forms/screen.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

namespace {

// A multi-line box takes its mouse clicks in its inner viewport; this reports them.
class KlickMelder : public QObject {
public:
    KlickMelder(QObject* parent, std::function<void()> klick) : QObject(parent), m_klick(std::move(klick)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && m_klick) m_klick();
        return false;
    }

private:
    std::function<void()> m_klick;
};

}  // namespace

frmeinfuehrung::frmeinfuehrung() : Form("frmeinfuehrung"), mnuTextBearbeiten(&Menue), mnuTextkopieren(mnuTextBearbeiten) {
    auto* haupt = new QVBoxLayout(this);
    haupt->setMenuBar(&Menue);
    auto* leiste = new QHBoxLayout(&Picture1);
    for (QWidget* w : std::initializer_list<QWidget*>{&Command1, &Command2, &SSCommand2, &SSCommand1, &SSCommand3})
        leiste->addWidget(w);
    leiste->addStretch();
    haupt->addWidget(&Picture1);
    haupt->addWidget(&Text1, 1);
    Text1.setLocked(true);
    Text1.setMinimumSize(560, 380);
    mnuTextBearbeiten.setCaption("&Bearbeiten");
    mnuTextkopieren.setCaption("&Kopieren");
    Command1.setCaption("&Drucken");
    Command2.setCaption("&Abbrechen");
    SSCommand1.setCaption("▼");
    SSCommand2.setCaption("▲");
    SSCommand3.setCaption("?");

    Command1.Click = [this] { druckeinfuehrungstext(); };
    Command2.Click = [this] { forms::Unload(*this); };
    Command2.KeyUp = [this](int& k, int) {
        if (k == forms::vbKeyEscape) forms::Unload(*this);
        else if (k == forms::vbKeyPageUp) SSCommand2.Click();
        else if (k == forms::vbKeyPageDown) SSCommand1.Click();
    };
    SSCommand1.Click = [this] {
        Text1.SetFocus();
        forms::SendKey(Text1.editor(), forms::vbKeyPageDown);
    };
    SSCommand2.Click = [this] {
        Text1.SetFocus();
        forms::SendKey(Text1.editor(), forms::vbKeyPageUp);
    };
    SSCommand3.Click = [] { mitFehlerfalle([] { ShowHelp("html/zuvw06t0.htm"); }); };
    mnuTextkopieren.Click = [this] { mnuTextkopieren_Click(); };
    Text1.GotFocus = [this] {
        text_schriftartsetzen();
        if (Text1.Text() != gEinfuehrungstext) Text1.setText(gEinfuehrungstext);
    };
    Text1.KeyPress = [](int& k) { k = 0; };
    Text1.KeyUp = [this](int& k, int) {
        if (k == forms::vbKeyEscape) {
            forms::Unload(*this);
        } else if (k == forms::vbKeyPageUp || k == forms::vbKeyPageDown) {
            Command2.setFocus();
        } else {
            Command2.setFocus();
            k = 0;
        }
    };
    // A click that leaves a selection offers copying it.
    if (auto* flaeche = qobject_cast<QAbstractScrollArea*>(Text1.editor()))
        flaeche->viewport()->installEventFilter(new KlickMelder(this, [this] { Text1_Click(); }));
}

void frmeinfuehrung::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(41));
        SSCommand1.setToolTipText(LabelTxt(178));
        SSCommand2.setToolTipText(LabelTxt(179));
        SSCommand3.setToolTipText(LabelTxt(42));
        mnuTextBearbeiten.setCaption(MenuTxt(12));
        mnuTextkopieren.setCaption(MenuTxt(13));
        Command1.setCaption(LabelTxt(180));
        Command2.setCaption(LabelTxt(69));
    });
}

void frmeinfuehrung::Form_Activate() {
    text_schriftartsetzen();
    Text1.setText(gEinfuehrungstext);
    if (Command2.isVisible()) Command2.setFocus();
}

void frmeinfuehrung::Form_Unload(int&) {
    if (gAssistentanzeige != 0) AssistentNachVorn();
}

void frmeinfuehrung::text_schriftartsetzen() {
    const auto s = zuvtest::standardSchrift();
    Text1.setFontName(s.font.name);
    Text1.setFontSize(s.font.size);
    Text1.setFontBold(s.font.bold);
    QFont schrift = Text1.font();
    schrift.setItalic(s.font.italic);
    Text1.setFont(schrift);
    Text1.setForeColor(s.farbe);
}

void frmeinfuehrung::Text1_Click() { mnuTextBearbeiten.setEnabled(!Text1.SelText().empty()); }

void frmeinfuehrung::mnuTextkopieren_Click() {
    const std::string auswahl = Text1.SelText();
    if (!auswahl.empty()) forms::Clipboard::SetText(auswahl);
}

void frmeinfuehrung::druckeinfuehrungstext() {
    setMousePointer(forms::vbHourglass);
    mitFehlerfalle([] {
        auto& drucker = draw::printer();
        // The job's title, and the name a PDF file of it is offered under.
        drucker.setDocName("Einführung");
        try {
            zuvtest::druckeEinfuehrung(drucker, gEinfuehrungstext, LabelTxt(41), LabelTxt(185),
                                       zuvtest::standardSchrift(), vb::Format(vb::Date(), "dd.mm.yyyy"));
        } catch (...) {
            // Nothing half-printed stays queued for the next document.
            if (drucker.busy()) drucker.KillDoc();
            throw;
        }
    });
    setMousePointer(forms::vbDefault);
}

void EinfuehrungstextAnzeigen() {
    mitFehlerfalle([] {
        gEinfuehrungstext.clear();
        const std::string pfad = Installationsdatei("zuvinfo.txt");
        try {
            gEinfuehrungstext = zuvtest::leseEinfuehrungstext(pfad);
        } catch (const vb::Error& e) {
            if (e.number() != vb::err::FileNotFound) throw;
            throw vb::Error(e.number(), DialogTxt(123) + vb::excerpt(pfad) + DialogTxt(124));
        }
        auto* f = new frmeinfuehrung();
        gEinfuehrungFenster = f;
        f->ensureLoaded();
        f->setLeft((forms::Screen::Width() - f->Width()) / 2);
        f->setTop((forms::Screen::Height() - f->Height()) / 2);
        f->Show();
        if (gAssistentanzeige != 0) AssistentSchritt({{2, 0}, {1, 3}}, kDunkelblau);
    });
}
