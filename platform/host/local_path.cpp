#include "platform/host/local_path.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace forms {

std::string resolveLocalPath(const std::string& path) {
    QString p = QString::fromStdString(path);
    p.replace('\\', '/');
    if (p.isEmpty() || QFileInfo::exists(p)) return p.toStdString();
    const bool absolute = p.startsWith('/');
    const QStringList parts = p.split('/', Qt::SkipEmptyParts);
    QString done = absolute ? QStringLiteral("/") : QString();
    bool matching = true;
    for (const QString& part : parts) {
        QString next = part;
        if (matching && part != "." && part != "..") {
            QDir dir(done.isEmpty() ? QStringLiteral(".") : done);
            if (!QFileInfo::exists(dir.filePath(part))) {
                next.clear();
                const auto entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
                for (const QString& e : entries)
                    if (e.compare(part, Qt::CaseInsensitive) == 0) {
                        next = e;
                        break;
                    }
                if (next.isEmpty()) {
                    next = part;
                    matching = false;
                }
            }
        }
        if (!done.isEmpty() && !done.endsWith('/')) done += '/';
        done += next;
    }
    return done.toStdString();
}

}  // namespace forms
