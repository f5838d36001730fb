#include "desk/testing/subsystem2.h"

#include <QApplication>

#include "desk/common/globals.h"
#include "desk/testing/druck.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/rahmen.h"
#include "platform/db/database.h"
#include "platform/db/workspace.h"
#include "platform/draw/printer.h"
#include "platform/forms/host.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

forms::Form& Form3Fenster() { return forms::Instance<Form3>(); }
forms::Form& frmpersFenster() { return forms::Instance<frmpers>(); }
forms::Form& frmTestFenster() { return forms::Instance<frmTest>(); }

namespace zuvtest {

std::function<DruckSchalter()>& druckSchalterQuelle() {
    static std::function<DruckSchalter()> q;
    return q;
}

DruckSchrift standardSchrift() {
    DruckSchrift s;
    if (!gStandardschriftart.empty()) s.font.name = gStandardschriftart;
    if (gStandardschriftGroesse > 0) s.font.size = gStandardschriftGroesse;
    s.font.bold = gStandardschriftFett;
    s.font.italic = gStandardschriftKursiv;
    if (gStandardschriftfarbe.isNumeric()) s.farbe = gStandardschriftfarbe.toLong();
    return s;
}

}  // namespace zuvtest

void FragebogenDrucken() {
    gAntwort = forms::MsgBox(DialogTxt(51), forms::vbYesNo + forms::vbQuestion, DialogTxt(3));
    if (gAntwort == forms::vbNo) return;
    auto& drucker = draw::printer();
    gAusgabe = &drucker;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    zuvtest::mitFalle([&] {
        if (!gWorkspace2) throw vb::Error(vb::err::ObjectNotSet);
        auto programmDb = gWorkspace2->OpenDatabase(gProgrammDB);
        const auto inhalt = zuvtest::ladeFragebogen(*programmDb);
        programmDb->Close();
        const auto schalter = zuvtest::druckSchalterQuelle() ? zuvtest::druckSchalterQuelle()() : zuvtest::DruckSchalter{};
        try {
            zuvtest::druckeFragebogen(drucker, inhalt, schalter, zuvtest::standardSchrift(),
                                      gAppPath + "\\zuv_symb_druckkopf.bmp", vb::Format(vb::Date(), "dd.mm.yyyy"),
                                      gSeite);
        } catch (...) {
            // Nothing half-printed stays queued for the next document.
            if (drucker.busy()) drucker.KillDoc();
            throw;
        }
    });
    QApplication::restoreOverrideCursor();
}
