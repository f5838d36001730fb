#pragma once

// File lists name each file by its name alone. Qt's own icon provider tells a file's type by
// opening it and reading its first bytes whenever the name says nothing (a data file, its
// journal files, the settings database). Closing that descriptor drops every POSIX lock the
// process holds on the file, while the database engine believes it still holds them: an outside
// reader then takes the live journal for a stale one and deletes it. So no file list of ours may
// read a file it only shows.

#include <QAbstractFileIconProvider>
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace forms {

// Icon and type of a file from its name (the extension's MIME type, the theme's icon for it),
// of a folder or drive from what it is; never from the file's content.
class NameOnlyIconProvider final : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QFileIconProvider m_standard;  // its icons by kind read nothing
    QMimeDatabase m_mime;
};

// The one provider all file lists share; it lives to the end of the process.
NameOnlyIconProvider& nameOnlyIcons();

// Puts every file list of the process on the name-only provider before it names a file: the
// file dialogs of the Host, and any other list Qt makes (the print dialog's own file dialog and
// the completion of its file name box) the moment it first receives its folder's entries.
// Needs the QApplication; a second call does nothing.
void keepFileListsFromReadingFiles();

}  // namespace forms
