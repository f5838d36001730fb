#include "platform/draw/fonts.h"

#include <QFontDatabase>
#include <QString>

#include <map>
#include <mutex>

namespace draw {

namespace {
enum class Kind { Sans, Serif, Mono };

const std::map<QString, Kind>& windowsNames() {
    static const std::map<QString, Kind> names = {
        {"arial", Kind::Sans},
        {"ms sans serif", Kind::Sans},
        {"microsoft sans serif", Kind::Sans},
        {"ms shell dlg", Kind::Sans},
        {"ms shell dlg 2", Kind::Sans},
        {"tahoma", Kind::Sans},
        {"verdana", Kind::Sans},
        {"helvetica", Kind::Sans},
        {"segoe ui", Kind::Sans},
        {"calibri", Kind::Sans},
        {"system", Kind::Sans},
        {"small fonts", Kind::Sans},
        {"times new roman", Kind::Serif},
        {"times", Kind::Serif},
        {"ms serif", Kind::Serif},
        {"georgia", Kind::Serif},
        {"garamond", Kind::Serif},
        {"book antiqua", Kind::Serif},
        {"courier new", Kind::Mono},
        {"courier", Kind::Mono},
        {"lucida console", Kind::Mono},
        {"fixedsys", Kind::Mono},
        {"fixed sys", Kind::Mono},
        {"terminal", Kind::Mono},
        {"consolas", Kind::Mono},
        {"modern", Kind::Sans},
        {"roman", Kind::Serif},
    };
    return names;
}

bool installed(const QString& family);

// The Windows fonts the texts and pages were laid out in are stood in for by fonts of the same
// widths (URW's Nimbus faces), so that columns measured in average character widths hold; DejaVu
// where those are missing.
QString familyOf(Kind k) {
    switch (k) {
    case Kind::Serif: return installed("Nimbus Roman") ? QStringLiteral("Nimbus Roman") : QStringLiteral("DejaVu Serif");
    case Kind::Mono:
        return installed("Nimbus Mono PS") ? QStringLiteral("Nimbus Mono PS") : QStringLiteral("DejaVu Sans Mono");
    default: return installed("Nimbus Sans") ? QStringLiteral("Nimbus Sans") : QStringLiteral("DejaVu Sans");
    }
}

bool installed(const QString& family) {
    static std::mutex mutex;
    static std::map<QString, bool> known;
    std::lock_guard lock(mutex);
    auto it = known.find(family);
    if (it == known.end()) it = known.emplace(family, QFontDatabase::hasFamily(family)).first;
    return it->second;
}
}  // namespace

std::string familyFor(const std::string& name) {
    const QString n = QString::fromStdString(name).trimmed();
    auto it = windowsNames().find(n.toLower());
    if (it != windowsNames().end()) return familyOf(it->second).toStdString();
    if (!n.isEmpty() && installed(n)) return n.toStdString();
    return familyOf(Kind::Sans).toStdString();
}

void installFontSubstitutes() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const auto& [name, kind] : windowsNames())
            if (!installed(name)) QFont::insertSubstitution(name, familyOf(kind));
    });
}

QFont makeFont(const std::string& name, double pointSize, bool bold, bool italic, bool underline) {
    QFont f(QString::fromStdString(familyFor(name)));
    f.setPointSizeF(pointSize > 0 ? pointSize : 8.25);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setKerning(false);  // widths of a text are then the sum of its characters, as the print model counts
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

}  // namespace draw
