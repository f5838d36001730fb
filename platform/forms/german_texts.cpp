#include "platform/forms/german_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace forms {

bool installGermanTexts() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return installed;
    auto* tr = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds every text of the widgets and print dialogs; qt_ is the catalogue over it.
    if (!tr->load(QStringLiteral("qtbase_de"), folder) && !tr->load(QStringLiteral("qt_de"), folder)) {
        delete tr;
        return false;
    }
    QCoreApplication::installTranslator(tr);
    installed = true;
    return true;
}

}  // namespace forms
