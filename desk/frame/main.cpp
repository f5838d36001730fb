// ZUVDESK: the splash window starts the program; the run ends when the main window closes.

#include <QApplication>

#include "desk/frame/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/frame/startup.h"
#include "platform/chart/hyphenation.h"
#include "platform/forms/form.h"
#include "desk/common/programm.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ProgrammVorbereiten(kZuvdesk);
    // The chart labels' hyphenation patterns take a second to read: read while the splash shows.
    chart::Hyphenation::preloadGerman();
    app.setQuitOnLastWindowClosed(false);
    forms::setUntrappedErrorHandler([](const vb::Error& e) { ShowErrorMessage(e); });
    frmMDI& haupt = forms::Instance<frmMDI>();
    QObject::connect(&haupt, &forms::Form::unloaded, &app, [] { QApplication::quit(); });
    BeiEndesignalBeenden();
    form9& splash = forms::Default<form9>();
    splash.Show();
    if (splash.abgebrochen()) return 1;
    return app.exec();
}
