#include "platform/draw/printer.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/files/file_io.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/host/host.h"
#include "platform/vb/error.h"

namespace draw {

namespace {
struct PaperEntry {
    int code;
    QPageSize::PageSizeId id;
};
const PaperEntry kPapers[] = {
    {1, QPageSize::Letter}, {5, QPageSize::Legal}, {8, QPageSize::A3}, {9, QPageSize::A4}, {11, QPageSize::A5},
};
}  // namespace

Printer::Printer() : m_printer(QPrinter::HighResolution) {
    m_printer.setFullPage(true);  // positions count from the sheet's corner
    // The chosen printer brings its own paper; without one the sheet is A4.
    if (m_printer.printerName().isEmpty()) m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(QPageLayout::Portrait);
    setFont(FontSpec{"Arial", 10, false, false, false});
}

Printer::~Printer() {
    if (m_painter) m_painter->end();
    if (m_memory >= 0) ::close(m_memory);
}

[[noreturn]] void Printer::fail(const std::string& why) {
    throw vb::Error(vb::err::PrinterError, vb::errorDescription(vb::err::PrinterError) + ": " + why);
}

int Printer::Orientation() const { return m_printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1; }

void Printer::setOrientation(int orientation) {
    if (orientation != 1 && orientation != 2) throw vb::Error(vb::err::InvalidPropertyValue);
    m_printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int paperCode(QPageSize::PageSizeId sheet) {
    for (const PaperEntry& p : kPapers)
        if (p.id == sheet) return p.code;
    return 0;
}

bool paperSheet(int code, QPageSize::PageSizeId& sheet) {
    for (const PaperEntry& p : kPapers)
        if (p.code == code) {
            sheet = p.id;
            return true;
        }
    return false;
}

int Printer::PaperSize() const {
    const int code = paperCode(m_printer.pageLayout().pageSize().id());
    return code ? code : 256;  // 256: a size of its own
}

void Printer::setPaperSize(int size) {
    QPageSize::PageSizeId sheet;
    if (!paperSheet(size, sheet)) throw vb::Error(vb::err::InvalidPropertyValue);
    m_printer.setPageSize(QPageSize(sheet));
}

int Printer::Copies() const { return m_printer.copyCount(); }

void Printer::setCopies(int copies) {
    if (copies < 1) throw vb::Error(vb::err::InvalidPropertyValue);
    m_printer.setCopyCount(copies);
}

std::string Printer::DeviceName() const { return m_printer.printerName().toStdString(); }

void Printer::setDeviceName(const std::string& name) {
    if (m_painter) fail("Ein Druckauftrag läuft noch; er muss erst abgeschlossen werden.");
    const QString n = QString::fromStdString(name);
    if (!QPrinterInfo::availablePrinterNames().contains(n)) fail("Der Drucker \"" + name + "\" ist nicht eingerichtet.");
    m_printer.setPrinterName(n);
}

void Printer::setOutputFileName(const std::string& path) {
    if (m_painter) fail("Ein Druckauftrag läuft noch; er muss erst abgeschlossen werden.");
    m_outputFile = path.empty() ? std::string() : files::resolve(path);
    m_written.clear();
    m_documentsInFile = 0;
    m_offerActive = m_offerPending = false;
    if (m_outputFile.empty()) {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setOutputFileName(QString());
    } else {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(QString::fromStdString(m_outputFile));
    }
}

QSizeF Printer::pageSizePixels() const {
    // From the exact paper size: A4 is 11906 x 16838 twips, not the whole points Qt rounds to.
    const QSizeF mm = m_printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    return mm * (m_printer.resolution() / 25.4);
}

bool Printer::hasTarget() const {
    if (!m_outputFile.empty() || m_offerPending) return true;
    // Without any printer Qt reports the PDF format whatever was asked for.
    return m_printer.outputFormat() == QPrinter::NativeFormat && !m_printer.printerName().isEmpty();
}

void Printer::ensureTarget() {
    if (m_painter || m_offerPending || !m_outputFile.empty()) return;
    if (m_offerActive) {
        // The file asked for served the document before; the next one is asked for anew.
        m_offerActive = false;
        m_printer.setOutputFileName(QString());
        m_printer.setOutputFormat(QPrinter::NativeFormat);
    }
    if (!hasTarget()) offerFile();
}

void Printer::setDocName(const std::string& name) { m_docName = name; }

std::string Printer::pdfFileName(const std::string& docName) {
    std::string name;
    for (const char c : docName)
        name += (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
                 c == '|' || (c >= 0 && c < ' '))
                    ? '_'
                    : c;
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    while (!name.empty() && (name.front() == ' ' || name.front() == '.')) name.erase(0, 1);
    return (name.empty() ? std::string("Ausdruck") : name) + ".pdf";
}

std::string Printer::askFile(const std::string& title, const std::string& folder) {
    forms::FileDialogRequest req;
    req.kind = forms::FileDialogKind::Save;
    req.title = title;
    req.filters = {{"PDF-Dateien (*.pdf)", "*.pdf"}};
    req.defaultExt = "pdf";
    req.initDir = folder;
    req.fileName = pdfFileName(m_docName);
    // The hourglass of the print command gives way to the pointer while the person chooses.
    const bool busyCursor = QGuiApplication::overrideCursor() != nullptr;
    if (busyCursor) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    struct RestoreCursor {
        bool active;
        ~RestoreCursor() {
            if (active) QGuiApplication::restoreOverrideCursor();
        }
    } restoreCursor{busyCursor};
    for (;;) {
        forms::FileDialogRequest r = req;
        if (!forms::host().fileDialog(r) || r.fileName.empty()) throw vb::Error(vb::err::CancelError);
        std::string file = files::resolve(r.fileName);
        if (QFileInfo(QString::fromStdString(file)).suffix().isEmpty()) file += ".pdf";
        const QFileInfo info(QString::fromStdString(file));
        if (files::isHeldByDatabase(file)) {
            forms::MsgBox("Die Datei \"" + file +
                              "\" ist als Datenbank geöffnet und kann nicht als Druckdatei dienen.\n"
                              "Bitte wählen Sie einen anderen Namen.",
                          forms::vbOKOnly | forms::vbExclamation);
            continue;
        }
        if (info.exists()) {
            // The Host's file dialog leaves the question to its callers, as the common dialog does.
            const int answer = forms::MsgBox("Die Datei \"" + file + "\" gibt es schon.\nMöchten Sie sie ersetzen?",
                                             forms::vbYesNo | forms::vbExclamation | forms::vbDefaultButton2);
            if (answer != forms::vbYes) continue;
        }
        m_lastOfferFolder = info.absolutePath().toStdString();
        return file;
    }
}

void Printer::offerFile() {
    const std::string file = askFile("Kein Drucker eingerichtet: Ausdruck als PDF-Datei speichern",
                                     m_lastOfferFolder.empty() ? QDir::homePath().toStdString() : m_lastOfferFolder);
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(QString::fromStdString(file));
    m_offerActive = m_offerPending = true;
}

void Printer::beginDocument() {
    const bool numbered = !m_outputFile.empty();
    if (!numbered) {
        ensureTarget();
        m_offerPending = false;
    } else {
        if (m_documentsInFile > 0) {
            // The file chosen served the document it was chosen for: this one is offered under its
            // own name, beside it, and goes nowhere the person has not seen.
            m_outputFile = askFile("Ausdruck als PDF-Datei speichern",
                                   std::filesystem::path(m_outputFile).parent_path().string());
        }
        const std::string file = m_outputFile;
        const std::filesystem::path fp(file);
        std::error_code ec;
        if (fp.has_parent_path() && !std::filesystem::is_directory(fp.parent_path(), ec))
            fail("Der Ordner für die Druckdatei fehlt: " + fp.parent_path().string());
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(QString::fromStdString(file));
    }
    const bool toFile = !m_outputFile.empty() || m_offerActive;
    if (toFile && files::isHeldByDatabase(m_printer.outputFileName().toStdString()))
        fail("Die Druckdatei ist als Datenbank geöffnet und wird nicht überschrieben: " +
             m_printer.outputFileName().toStdString());
    std::string target;
    if (toFile) {
        // Qt writes the document into memory; the file is written whole at EndDoc.
        target = m_printer.outputFileName().toStdString();
        // What cannot become the file is told before the document is made.
        const std::filesystem::path tp(target);
        std::error_code ec;
        if (std::filesystem::is_directory(tp, ec) ||
            ::access((tp.has_parent_path() ? tp.parent_path() : std::filesystem::path(".")).c_str(), W_OK) != 0)
            fail("Die Druckdatei kann nicht geschrieben werden: " + target);
        m_memory = ::memfd_create("zuv-druck", MFD_CLOEXEC);
        if (m_memory < 0) fail("Die Druckdatei kann nicht angelegt werden: " + target);
        m_target = target;
        m_printer.setOutputFileName(QString::fromStdString("/proc/self/fd/" + std::to_string(m_memory)));
    }
    // The job's title in the print queue (and the PDF file's title).
    m_printer.setDocName(QString::fromStdString(m_docName.empty() ? std::string("Ausdruck") : m_docName));
    auto p = std::make_unique<QPainter>();
    if (!p->begin(&m_printer)) {
        finishFile(false);
        fail(toFile ? "Die Druckdatei kann nicht geschrieben werden: " + target
                    : "Der Drucker \"" + DeviceName() + "\" nimmt keinen Auftrag an.");
    }
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter = std::move(p);
    if (toFile) m_written.push_back(target);
    if (numbered) ++m_documentsInFile;
}

void Printer::finishFile(bool keep) {
    if (m_memory < 0) return;
    const int memory = m_memory;
    m_memory = -1;
    struct Release {
        int fd;
        ~Release() { ::close(fd); }
    } release{memory};
    m_printer.setOutputFileName(QString::fromStdString(m_target));
    if (!keep) return;
    files::FileReplacement file(m_target);
    char buf[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(memory, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("Das Dokument kann nicht in die Druckdatei übertragen werden: " + m_target);
        if (n == 0) break;
        file.write(buf, static_cast<size_t>(n));
        at += n;
    }
    file.commit();
}

QPainter& Printer::painter() {
    if (!m_painter) beginDocument();
    return *m_painter;
}

void Printer::NewPage() {
    if (!m_painter) beginDocument();  // the first sheet stays empty, as asked
    if (!m_printer.newPage()) fail("Die nächste Seite kann nicht begonnen werden.");
    setPage(Page() + 1);
    homePosition();
}

void Printer::EndDoc() {
    if (m_painter) {
        const bool ok = m_painter->end();
        m_painter.reset();
        m_docName.clear();
        setDoc(doc() + 1);
        setPage(1);
        homePosition();
        const bool toFile = m_memory >= 0;
        try {
            finishFile(ok);
        } catch (...) {
            forgetLastFile();
            throw;
        }
        if (!ok) {
            if (toFile) forgetLastFile();
            fail("Der Druckauftrag konnte nicht abgeschlossen werden.");
        }
        return;
    }
    setPage(1);
    homePosition();
}

void Printer::forgetLastFile() {
    if (m_written.empty()) return;
    m_written.pop_back();
    if (!m_outputFile.empty()) --m_documentsInFile;
}

void Printer::KillDoc() {
    if (m_painter) {
        m_printer.abort();
        m_painter->end();
        m_painter.reset();
        m_docName.clear();
        // Nothing of the document has reached its file.
        if (m_memory >= 0) {
            finishFile(false);
            forgetLastFile();
        }
        setDoc(doc() + 1);
    }
    setPage(1);
    homePosition();
}

void Printer::Cls() {
    throw vb::Error(vb::err::NoSuchPropertyOrMethod, "Objekt unterstützt diese Eigenschaft oder Methode nicht");
}

Printer& printer() {
    // Lives to the end of the program: the print service may still be needed while windows close.
    static Printer* instance = new Printer;
    return *instance;
}

}  // namespace draw
