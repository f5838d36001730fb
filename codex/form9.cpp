#include "codex/form9.h"

#include "codex/frm_mdi.h"
#include "codex/modul_global.h"
#include "desk/common/engine_setup.h"
#include "desk/common/form4.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "desk/common/titelfenster.h"
#include "platform/forms/host.h"

namespace codex {

void TitelzeilenSetzen(forms::Label& l1, forms::Label& l2, forms::Label& l3, forms::Label& l4) {
    l1.setCaption(LabelTxt(0) + " " + LabelTxt(1));
    l2.setCaption(kHinweis);
    l3.setCaption(programm().titel);
    l4.setCaption(LabelTxt(39));
}

form9::form9() : Startfenster("form9") {
    TitelfensterAufbauen(*this, Shape1, nullptr, {&Label1, &Label3, &Label4, &Label2});
}

void form9::startFehlerZeigen(const std::exception& e) {
    // Without its texts and settings the reader cannot work: the standard error box says why.
    const auto* v = dynamic_cast<const vb::Error*>(&e);
    if (gDialogTxt.size() <= 3) forms::setAppTitle(kHauptfensterTitel);
    ShowErrorMessage(
        vb::Error(v ? v->number() : vb::err::InternalError, "Die Typenbeschreibungen können nicht gestartet werden. " +
                                                                (v ? v->description() : std::string(e.what()))));
}

void BeiEndesignalBeenden() {
    EndesignaleAbfangen([] {
        if (forms::IsLoaded<frmMDI>()) forms::Instance<frmMDI>().beenden();
    });
}

void form9::Form_Load() {
    starten([this] {
        CenterForm(*this);
        StartEngineEinrichten();
        StartTexteLaden("Typen");
        TitelzeilenSetzen(Label1, Label2, Label3, Label4);
        forms::setAppTitle(DialogTxt(3));
    });
}

void form9::fensterLaden() { forms::Load(forms::Instance<Form4>()); }

forms::Form& form9::hauptfenster() { return forms::Default<frmMDI>(); }

}  // namespace codex
