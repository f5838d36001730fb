#include "desk/common/programm.h"

#include <QApplication>
#include <QIcon>

#include "platform/db/engine.h"
#include "platform/files/paths.h"
#include "platform/forms/end_signals.h"
#include "platform/forms/form.h"
#include "platform/forms/file_list_icons.h"
#include "platform/forms/german_texts.h"

const Programm kZuvdesk{"Z.U.V. 5.0", "ZUVDESK.chm", false, false, "Konfiguration", 12, "html/zuvw33qm.htm"};
const Programm kZuvcodex{"Z.U.V. 4.0", "ZUVTYP.chm", true, true, "KonfigurationTypen", 10, "html/zuvt33qm.htm"};

namespace {
Programm& laufendes() {
    static Programm p = kZuvdesk;
    return p;
}
}  // namespace

const Programm& programm() { return laufendes(); }
void setProgramm(const Programm& p) { laufendes() = p; }

std::string Hilfedateipfad() { return files::resolve(files::programFolder() + "\\" + programm().hilfedatei); }

void ProgrammVorbereiten(const Programm& p) {
    setProgramm(p);
    forms::installGermanTexts();
    // From the start, before any window could show a list of files.
    forms::keepFileListsFromReadingFiles();
    const std::string symbol = files::resolve(files::programFolder() + "\\zuv_symb_druckkopf.bmp");
    const QIcon icon(QString::fromStdString(symbol));
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
}

void EndesignaleAbfangen(std::function<void()> beenden) {
    forms::endOnSignals([beenden = std::move(beenden)] {
        forms::runHandler(beenden);
        db::DBEngine::instance().releaseAll();
    });
}
