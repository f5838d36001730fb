#include "platform/forms/common_dialog.h"

#include <filesystem>

#include "platform/files/own_folders.h"
#include "platform/host/local_path.h"
#include "platform/vb/error.h"

#include "platform/draw/printer.h"

#include <QDir>
#include <QPrinterInfo>
#include <QFileInfo>

namespace forms {

namespace {
PrinterChoice& printerStore() {
    static PrinterChoice p;
    return p;
}
}  // namespace

const PrinterChoice& chosenPrinter() { return printerStore(); }

std::vector<std::pair<std::string, std::string>> CommonDialog::parseFilter(const std::string& filter) {
    std::vector<std::pair<std::string, std::string>> out;
    std::vector<std::string> parts;
    std::string cur;
    for (char ch : filter) {
        if (ch == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    if (!filter.empty()) parts.push_back(cur);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) out.emplace_back(parts[i], parts[i + 1]);
    // A text without its pattern is shown and matches everything.
    if (parts.size() % 2 == 1 && !parts.back().empty()) out.emplace_back(parts.back(), "*");
    return out;
}

void CommonDialog::cancelled() {
    if (m_cancelError) throw vb::Error(vb::err::CancelError);
}

void CommonDialog::showFile(FileDialogKind kind) {
    const bool save = kind == FileDialogKind::Save;
    FileDialogRequest req;
    req.kind = kind;
    req.title = m_title.empty() ? (save ? "Speichern unter" : "Öffnen") : m_title;
    req.filters = parseFilter(m_filter);
    req.filterIndex = m_filterIndex < 1 ? 1 : m_filterIndex;
    req.initDir = m_initDir.empty() ? std::string() : resolveLocalPath(m_initDir);
    // Without a folder of its own, a dialog for saving opens in the current folder; a program
    // started in its installation would offer a folder nobody may write, so then the user's home.
    if (save && req.initDir.empty() && !files::folderWritable(QDir::currentPath().toStdString()))
        req.initDir = QDir::homePath().toStdString();
    req.fileName = m_fileName;
    req.defaultExt = m_defaultExt;
    req.showReadOnlyBox = !save && !(m_flags & cdlOFNHideReadOnly);
    req.readOnlyChecked = (m_flags & cdlOFNReadOnly) != 0;

    for (;;) {
        FileDialogRequest r = req;
        if (!host().fileDialog(r)) {
            cancelled();
            return;
        }
        std::string path = r.fileName;
        QFileInfo info(QString::fromStdString(path));
        if (info.isRelative() && !req.initDir.empty())
            info = QFileInfo(QDir(QString::fromStdString(req.initDir)), QString::fromStdString(path));
        path = info.filePath().toStdString();
        // The default extension goes onto a name typed without one.
        if (!m_defaultExt.empty() && info.suffix().isEmpty() && !info.exists()) {
            path += "." + m_defaultExt;
            info = QFileInfo(QString::fromStdString(path));
        }
        const QString local = QString::fromStdString(resolveLocalPath(path));
        const bool exists = QFileInfo(local).isFile();
        if (exists) path = local.toStdString();

        if (!save && (m_flags & cdlOFNFileMustExist) && !exists) {
            MsgBox(
                path +
                    "\r\nDie Datei wurde nicht gefunden.\r\nÜberprüfen Sie den Dateinamen, und versuchen Sie es erneut.",
                vbExclamation, req.title);
            req.fileName = r.fileName;
            continue;
        }
        if ((m_flags & cdlOFNPathMustExist) && !QFileInfo(QFileInfo(local).absolutePath()).isDir()) {
            MsgBox(path + "\r\nDer Pfad existiert nicht.\r\nÜberprüfen Sie den Pfad, und versuchen Sie es erneut.",
                   vbExclamation, req.title);
            req.fileName = r.fileName;
            continue;
        }
        if (save && (m_flags & cdlOFNOverwritePrompt) && exists) {
            if (MsgBox(path + " ist bereits vorhanden.\r\nMöchten Sie sie ersetzen?", vbYesNo + vbExclamation,
                       req.title) != vbYes) {
                req.fileName = r.fileName;
                continue;
            }
        }
        m_fileName = path;
        m_fileTitle = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
        m_filterIndex = r.filterIndex;
        if (req.showReadOnlyBox) {
            if (r.readOnlyChecked) m_flags |= cdlOFNReadOnly;
            else m_flags &= ~cdlOFNReadOnly;
        }
        const QString ext = QFileInfo(QString::fromStdString(path)).suffix();
        if (!m_defaultExt.empty() && ext.compare(QString::fromStdString(m_defaultExt), Qt::CaseInsensitive) != 0)
            m_flags |= cdlOFNExtensionDifferent;
        else m_flags &= ~cdlOFNExtensionDifferent;
        return;
    }
}

void CommonDialog::ShowOpen() { showFile(FileDialogKind::Open); }
void CommonDialog::ShowSave() { showFile(FileDialogKind::Save); }

void CommonDialog::ShowFont() {
    FontChoice f = m_font;
    if (!host().fontDialog(f, m_flags)) {
        cancelled();
        return;
    }
    m_font = f;
}

void CommonDialog::ShowColor() {
    int32_t c = m_color;
    if (!host().colorDialog(c, m_flags)) {
        cancelled();
        return;
    }
    m_color = c;
}

void CommonDialog::ShowPrinter() {
    PrinterChoice p = m_printer;
    // There is one printer for the program: the dialog opens on the printer or file chosen
    // last, in whichever window.
    p.printerName = printerStore().printerName;
    p.outputFile = printerStore().outputFile;
    // A file is offered under the name of the document about to be printed, in the folder of the
    // last one: never under the name of the document (and client) printed before.
    if (!p.outputFile.empty())
        p.outputFile = (std::filesystem::path(p.outputFile).parent_path() /
                        draw::Printer::pdfFileName(draw::printer().docName()))
                           .string();
    if (!host().printerDialog(p, m_flags)) {
        cancelled();
        return;
    }
    m_printer = p;
    printerStore() = p;
    applyToPrinter(p);
}

void applyToPrinter(const PrinterChoice& choice) {
    draw::Printer& printer = draw::printer();
    // A document being printed keeps its printer and sheet; the choice stays in chosenPrinter().
    if (printer.busy()) return;
    if (!choice.outputFile.empty()) {
        printer.setOutputFileName(resolveLocalPath(choice.outputFile));
    } else {
        if (!printer.outputFileName().empty()) printer.setOutputFileName("");
        if (!choice.printerName.empty() && choice.printerName != printer.DeviceName() &&
            QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(choice.printerName)))
            printer.setDeviceName(choice.printerName);
    }
    if (choice.copies >= 1) printer.setCopies(choice.copies);
    if (choice.orientation == 1 || choice.orientation == 2) printer.setOrientation(choice.orientation);
    if (choice.paperSize != 0) {
        try {
            printer.setPaperSize(choice.paperSize);
        } catch (const vb::Error&) {
            // A paper of the printer's own that has no code keeps the sheet the printer has.
        }
    }
}

void CommonDialog::setAction(int action) {
    switch (action) {
    case 1: ShowOpen(); break;
    case 2: ShowSave(); break;
    case 3: ShowColor(); break;
    case 4: ShowFont(); break;
    case 5: ShowPrinter(); break;
    default: throw vb::Error(vb::err::InvalidPropertyValue);
    }
}

}  // namespace forms
