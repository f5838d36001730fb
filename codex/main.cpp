// ZUVCODEX, the type-description reader: the splash window starts the program; the run ends when
// the main window closes.

#include <QApplication>

#include "codex/form9.h"
#include "codex/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "platform/forms/form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ProgrammVorbereiten(kZuvcodex);
    app.setQuitOnLastWindowClosed(false);
    forms::setUntrappedErrorHandler([](const vb::Error& e) { ShowErrorMessage(e); });
    codex::frmMDI& haupt = forms::Instance<codex::frmMDI>();
    QObject::connect(&haupt, &forms::Form::unloaded, &app, [] { QApplication::quit(); });
    codex::BeiEndesignalBeenden();
    codex::form9& splash = forms::Default<codex::form9>();
    splash.Show();
    if (splash.abgebrochen()) return 1;
    return app.exec();
}
