#include "codex/frm_info.h"

#include "codex/form9.h"
#include "desk/common/globals.h"
#include "desk/common/titelfenster.h"

namespace codex {

frmInfo::frmInfo() : forms::Form("frmInfo") {
    TitelfensterAufbauen(*this, Shape1, nullptr, {&Label1, &Label3, &Label4, &Label2});
    setKeyPreview(true);
}

void frmInfo::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        Shape1.setGeometry(0, 0, width(), height());
        TitelzeilenSetzen(Label1, Label2, Label3, Label4);
    });
}

void frmInfo::Form_KeyDown(int&, int) { forms::Unload(*this); }

}  // namespace codex
