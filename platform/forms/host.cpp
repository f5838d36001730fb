#include "platform/forms/host.h"

#include "platform/draw/printer.h"
#include "platform/forms/file_list_icons.h"
#include "platform/forms/german_texts.h"
#include "platform/help/help_viewer.h"
#include "platform/vb/error.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

#include <utility>

namespace forms {

// ---------------------------------------------------------------- the host in use

namespace {
Host*& currentHost() {
    static Host* h = nullptr;
    return h;
}
}  // namespace

Host& host() {
    if (!currentHost()) {
        static QtHost real;
        return real;
    }
    return *currentHost();
}

Host* setHost(Host* h) { return std::exchange(currentHost(), h); }

// ---------------------------------------------------------------- the real host

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

QString buttonText(int code) {
    switch (code) {
    case vbOK: return QStringLiteral("OK");
    case vbCancel: return QStringLiteral("Abbrechen");
    case vbAbort: return QStringLiteral("Abbrechen");
    case vbRetry: return QStringLiteral("&Wiederholen");
    case vbIgnore: return QStringLiteral("&Ignorieren");
    case vbYes: return QStringLiteral("&Ja");
    case vbNo: return QStringLiteral("&Nein");
    }
    return {};
}

// VB patterns "*.ZDB;*.ZDX" as a Qt filter; Linux names differ by case, so both cases match.
QString qtFilter(const std::string& text, const std::string& patterns) {
    QStringList pats;
    for (const QString& p : qs(patterns).split(';', Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        pats << t;
        if (t.toLower() != t) pats << t.toLower();
        if (t.toUpper() != t) pats << t.toUpper();
    }
    // Qt reads the patterns from the last brackets, so the text's own "(*.ZDB)" gives way to ours.
    QString label = qs(text).trimmed();
    if (label.endsWith(')') && label.lastIndexOf('(') > 0) label = label.left(label.lastIndexOf('(')).trimmed();
    return label + " (" + pats.join(' ') + ")";
}
}  // namespace

QtHost::QtHost() {
    installGermanTexts();
    keepFileListsFromReadingFiles();
}

int QtHost::msgBox(const std::string& prompt, int style, const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(qs(title));
    box.setTextFormat(Qt::PlainText);  // the programs' texts are never markup
    box.setText(qs(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const auto codes = msgBoxButtons(style);
    std::vector<QPushButton*> buttons;
    for (int code : codes) {
        auto role = (code == vbYes || code == vbOK || code == vbRetry) ? QMessageBox::AcceptRole
                    : (code == vbCancel)                               ? QMessageBox::RejectRole
                    : (code == vbNo)                                   ? QMessageBox::NoRole
                                                                       : QMessageBox::ActionRole;
        buttons.push_back(box.addButton(buttonText(code), role));
    }
    const int def = msgBoxDefaultAnswer(style);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == def) box.setDefaultButton(buttons[i]);
        if (codes[i] == vbCancel || codes.size() == 1) box.setEscapeButton(buttons[i]);
    }
    box.exec();
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (box.clickedButton() == buttons[i]) return codes[i];
    // Closed without a button: the answer that changes nothing (Cancel, else No), never Yes.
    for (int wanted : {vbCancel, vbNo})
        for (int code : codes)
            if (code == wanted) return code;
    return codes.back();
}

std::optional<std::string> QtHost::inputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(qs(title));
    dlg.setLabelText(qs(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Long prompts (the first start asks for a database name in three sentences) wrap.
    if (auto* label = dlg.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
    }
    dlg.setMinimumWidth(420);
    dlg.setTextValue(qs(defaultText));
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue().toStdString();
}

bool QtHost::fileDialog(FileDialogRequest& req) {
    QFileDialog dlg(QApplication::activeWindow(), qs(req.title));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // Before the dialog is shown a folder or a file: it must never open what it lists.
    dlg.setIconProvider(&nameOnlyIcons());
    // The overwrite and must-exist questions are the common dialog's own.
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(req.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const auto& [text, pats] : req.filters) filters << qtFilter(text, pats);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        int i = req.filterIndex - 1;
        if (i >= 0 && i < filters.size()) dlg.selectNameFilter(filters[i]);
    }
    if (!req.initDir.empty()) dlg.setDirectory(qs(req.initDir));
    if (!req.defaultExt.empty()) dlg.setDefaultSuffix(qs(req.defaultExt));
    // A proposed name that is a pattern ("*.ZDB") is not a file name to preset.
    if (!req.fileName.empty() && req.fileName.find_first_of("*?") == std::string::npos) dlg.selectFile(qs(req.fileName));
    QCheckBox* readOnly = nullptr;
    if (req.showReadOnlyBox) {
        readOnly = new QCheckBox(QStringLiteral("Schreibgeschützt öffnen"), &dlg);
        readOnly->setChecked(req.readOnlyChecked);
        if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout()))
            grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    req.fileName = dlg.selectedFiles().front().toStdString();
    req.filterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
    if (req.filterIndex < 1) req.filterIndex = 1;
    if (readOnly) req.readOnlyChecked = readOnly->isChecked();
    return true;
}

bool QtHost::fontDialog(FontChoice& font, int /*flags*/) {
    QFont initial(qs(font.name));
    if (font.size > 0) initial.setPointSizeF(font.size);
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    initial.setUnderline(font.underline);
    initial.setStrikeOut(font.strikethru);
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow(), QStringLiteral("Schriftart"));
    if (!ok) return false;
    font.name = f.family().toStdString();
    font.size = f.pointSizeF();
    font.bold = f.bold();
    font.italic = f.italic();
    font.underline = f.underline();
    font.strikethru = f.strikeOut();
    return true;
}

bool QtHost::colorDialog(int32_t& bgr, int /*flags*/) {
    QColor initial(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    QColor c = QColorDialog::getColor(initial, QApplication::activeWindow(), QStringLiteral("Farbe"));
    if (!c.isValid()) return false;
    bgr = c.red() | (c.green() << 8) | (c.blue() << 16);
    return true;
}

bool QtHost::printerDialog(PrinterChoice& printer, int /*flags*/) {
    QPrinter p;
    if (!printer.outputFile.empty()) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(qs(printer.outputFile));
    } else if (!printer.printerName.empty()) {
        p.setPrinterName(qs(printer.printerName));
    }
    p.setCopyCount(printer.copies);
    p.setPageOrientation(printer.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (QPageSize::PageSizeId sheet; draw::paperSheet(printer.paperSize, sheet)) p.setPageSize(QPageSize(sheet));
    QPrintDialog dlg(&p, QApplication::activeWindow());
    dlg.setWindowTitle(QStringLiteral("Druckereinrichtung"));
    for (auto* files : dlg.findChildren<QFileSystemModel*>()) files->setIconProvider(&nameOnlyIcons());
    // The dialog's button for choosing the PDF file opens our file dialog, not one of Qt's own.
    auto* fileName = dlg.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (auto* browse = dlg.findChild<QAbstractButton*>(QStringLiteral("fileBrowser")); browse && fileName) {
        QObject::disconnect(browse, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(browse, &QAbstractButton::clicked, &dlg, [this, &dlg, fileName] {
            const QFileInfo current(fileName->text());
            FileDialogRequest r;
            r.kind = FileDialogKind::Save;
            r.title = QCoreApplication::translate("QPrintDialog", "Print To File ...").toStdString();
            if (!fileName->text().isEmpty()) {
                r.initDir = current.absolutePath().toStdString();
                r.fileName = current.fileName().toStdString();
            }
            if (!fileDialog(r) || r.fileName.empty()) return;
            fileName->setText(qs(r.fileName));
            // Choosing a file chooses printing into it (the last entry of the list).
            if (auto* printers = dlg.findChild<QComboBox*>(QStringLiteral("printers")))
                printers->setCurrentIndex(printers->count() - 1);
        });
    }
    if (dlg.exec() != QDialog::Accepted) return false;
    // Printing into a file is a choice like a printer; without any printer it is the only one.
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) {
        printer.outputFile = p.outputFileName().toStdString();
        printer.printerName.clear();
    } else {
        printer.outputFile.clear();
        printer.printerName = p.printerName().toStdString();
    }
    printer.copies = p.copyCount();
    printer.orientation = p.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    printer.paperSize = draw::paperCode(p.pageLayout().pageSize().id());
    return true;
}

int64_t QtHost::shell(const std::string& path) {
    qint64 pid = 0;
    if (!QProcess::startDetached(qs(path), {}, QFileInfo(qs(path)).absolutePath(), &pid))
        throw vb::Error(vb::err::FileNotFound);
    return pid;
}

bool QtHost::openUrl(const std::string& url) { return QDesktopServices::openUrl(QUrl(qs(url))); }

void QtHost::showHelp(const std::string& helpFile, const std::string& topic) { help::openViewer(helpFile, topic); }

}  // namespace forms
