// The commands of the test administration that the main window, its toolbar and the assistant run.

#include <QApplication>

#include "desk/common/engine_setup.h"

#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/druck.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/workspace.h"
#include "platform/draw/printer.h"
#include "platform/forms/host.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

namespace {
void zentriertZeigen(forms::Form& f) {
    f.ensureLoaded();
    // Unloaded while it loaded (its data file was closed meanwhile): not loaded again for it.
    if (!f.isLoaded()) return;
    FormZentrieren(f);
    f.Show();
}
}  // namespace

namespace zuvtest {

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

void PersonendatenAnzeigen() {
    mitFehlerfalle([] { zentriertZeigen(forms::Instance<frmpers>()); });
}

void PersonWaehlen() {
    forms::Form& f = forms::Instance<Form3>();
    f.ensureLoaded();
    if (!f.isLoaded()) return;
    FormZentrieren(f);
    f.Show(forms::vbModal);
}

void TestZeigen() { zentriertZeigen(forms::Instance<frmTest>()); }

void TestDurchfuehren() {
    mitFehlerfalle([] {
        gAktAussage = 1;
        TestZeigen();
        AssistentSchritt({{1, 1}, {2, 4}}, kDunkelblau);
    });
}

void FragebogenDrucken(const zuvtest::DruckSchalter& schalter) {
    gAntwort = forms::MsgBox(DialogTxt(51), forms::vbYesNo + forms::vbQuestion, DialogTxt(3));
    if (gAntwort == forms::vbNo) return;
    auto& drucker = draw::printer();
    gAusgabe = &drucker;
    // The job's title, and the name a PDF file of it is offered under.
    drucker.setDocName("Fragebogen");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mitFehlerfalle([&] {
        if (!gWorkspace2) throw vb::Error(vb::err::ObjectNotSet);
        auto programmDb = gWorkspace2->OpenDatabase(gProgrammDB);
        const auto inhalt = zuvtest::ladeFragebogen(*programmDb);
        programmDb->Close();
        try {
            zuvtest::druckeFragebogen(drucker, inhalt, schalter, zuvtest::standardSchrift(),
                                      Installationsdatei("zuv_symb_druckkopf.bmp"), vb::Format(vb::Date(), "dd.mm.yyyy"),
                                      gSeite);
        } catch (...) {
            // Nothing half-printed stays queued for the next document.
            if (drucker.busy()) drucker.KillDoc();
            throw;
        }
    });
    QApplication::restoreOverrideCursor();
}
