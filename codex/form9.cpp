#include "codex/form9.h"

#include <QApplication>
#include <QThread>

#include "codex/frm_mdi.h"
#include "codex/modul_global.h"
#include "desk/common/engine_setup.h"
#include "desk/common/form4.h"
#include "desk/common/globals.h"
#include "desk/common/titelfenster.h"
#include "platform/forms/host.h"

namespace codex {

void TitelzeilenSetzen(forms::Label& l1, forms::Label& l2, forms::Label& l3, forms::Label& l4) {
    l1.setCaption(LabelTxt(0) + " " + LabelTxt(1));
    l2.setCaption(kHinweis);
    l3.setCaption(kVersion);
    l4.setCaption(LabelTxt(39));
}

int& form9::wartezeit() {
    static int ms = 1000;
    return ms;
}

form9::form9() : forms::Form("form9") {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    TitelfensterAufbauen(*this, Shape1, nullptr, {&Label1, &Label3, &Label4, &Label2});
    Zeit1.Tick = [this] { Zeit1_Timer(); };
}

void form9::setupControls() {
    Zeit1.setEnabled(false);
    Zeit1.setInterval(wartezeit() > 0 ? wartezeit() : 1);
}

void form9::startFehler(const std::exception& e) {
    // Without its texts and settings the reader cannot work: the standard error box says why, and
    // the program ends instead of leaving the splash on the screen.
    const auto* v = dynamic_cast<const vb::Error*>(&e);
    if (gDialogTxt.size() <= 3) forms::setAppTitle(kHauptfensterTitel);
    ShowErrorMessage(vb::Error(v ? v->number() : 51, "Die Typenbeschreibungen können nicht gestartet werden. " +
                                                         (v ? v->description() : std::string(e.what()))));
    Zeit1.setEnabled(false);
    Hide();
    m_abgebrochen = true;
    // Inside the event loop the run ends here; before it, main() sees the flag and does not start it.
    if (QThread::currentThread()->loopLevel() > 0) QApplication::exit(1);
}

void form9::Form_Load() {
    m_gestartet = false;
    m_abgebrochen = false;
    try {
        CenterForm(*this);
        StartEngineEinrichten();
        StartTexteLaden("Typen");
        Shape1.setGeometry(0, 0, width(), height());
        TitelzeilenSetzen(Label1, Label2, Label3, Label4);
        forms::setAppTitle(DialogTxt(3));
        Zeit1.setEnabled(true);
    } catch (const std::exception& e) {
        startFehler(e);
    }
}

void form9::Zeit1_Timer() {
    try {
        forms::Load(forms::Instance<Form4>());
        Zeit1.setEnabled(false);
        forms::Default<frmMDI>().Show();
        Hide();
        m_gestartet = true;
    } catch (const std::exception& e) {
        Zeit1.setEnabled(false);
        startFehler(e);
    }
}

}  // namespace codex
