#include "platform/forms/file_list_icons.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>

namespace forms {

QIcon NameOnlyIconProvider::icon(IconType type) const { return m_standard.icon(type); }

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) return m_standard.icon(Drive);
    if (info.isDir()) return m_standard.icon(Folder);
    if (!info.isFile()) return m_standard.icon(File);
    const QMimeType mime = m_mime.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    if (!mime.isDefault()) {
        const QIcon themed = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
        if (!themed.isNull()) return themed;
    }
    return m_standard.icon(File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    // Folders, drives, pipes and devices Qt names by their kind, without reading them.
    if (!info.isFile()) return QAbstractFileIconProvider::type(info);
    const QMimeType mime = m_mime.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    if (!mime.isDefault()) return mime.comment().isEmpty() ? mime.name() : mime.comment();
    const QString file = QCoreApplication::translate("QAbstractFileIconProvider", "File");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? file : suffix.toUpper() + QLatin1Char('-') + file;
}

NameOnlyIconProvider& nameOnlyIcons() {
    // Never destroyed: a model may still refer to it while the last windows close.
    static auto* provider = new NameOnlyIconProvider;
    return *provider;
}

namespace {

void useNameOnlyIcons(QFileSystemModel* model) {
    if (model->iconProvider() == &nameOnlyIcons()) return;
    // A dialog also redraws its side bar with the new icons.
    if (auto* dialog = qobject_cast<QFileDialog*>(model->parent())) dialog->setIconProvider(&nameOnlyIcons());
    if (model->iconProvider() != &nameOnlyIcons()) model->setIconProvider(&nameOnlyIcons());
}

// A folder's entries reach a file list from Qt's gathering thread as a queued call, and the list
// asks its icon provider about each entry when it takes that call: the moment to step in, however
// and by whom the list was made.
class FileListWatch final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MetaCall)
            if (auto* model = qobject_cast<QFileSystemModel*>(watched)) useNameOnlyIcons(model);
        return false;
    }
};

}  // namespace

void keepFileListsFromReadingFiles() {
    static bool installed = false;
    auto* app = QCoreApplication::instance();
    if (installed || !app) return;
    app->installEventFilter(new FileListWatch(app));
    installed = true;
}

}  // namespace forms
