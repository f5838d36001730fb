#include "platform/draw/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace draw {

std::string nativePath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

std::string existingPath(const std::string& path) {
    const QString p = QString::fromStdString(nativePath(path));
    if (p.isEmpty() || QFileInfo::exists(p)) return p.toStdString();
    // Walk the path part by part, matching each without regard to case.
    const bool absolute = p.startsWith('/');
    const QStringList parts = p.split('/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    QString built = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        QDir dir(current);
        QString match;
        if (QFileInfo::exists(dir.filePath(part))) {
            match = part;
        } else {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries)
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    match = e;
                    break;
                }
        }
        if (match.isEmpty()) return p.toStdString();
        current = dir.filePath(match);
        built = (built.isEmpty() || built.endsWith('/')) ? built + match : built + '/' + match;
    }
    return built.toStdString();
}

}  // namespace draw
