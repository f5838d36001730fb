#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPageSize>
#include <QPrinter>

#include "platform/draw/surface.h"

namespace draw {

// The printer as a surface: output goes to the chosen printer (through the system's print
// service) or, after setOutputFileName, into a PDF file. Positions are twips from the top
// left corner of the sheet, Width and Height the sheet's size.
//
// A document starts with the first output; NewPage starts the next sheet; EndDoc finishes the
// document and hands it over. Output after EndDoc starts a new document: on a printer that is a
// new job; into PDF files the file chosen serves that one document, and each document after it
// asks for its own file through the Host, offered under its own name in the folder of the last
// one, so that no file named after one client holds another document (writtenFiles() lists the
// files written). KillDoc throws the document away. Every failure of the printer raises
// vb::Error 482 with a German text.
//
// Each document names itself (setDocName) before its first output: the print job carries the
// name as its title, so that a shared queue tells the jobs apart, and a PDF file of it is offered
// as "<name>.pdf". The name lasts for that one document.
//
// A PDF file is made in memory and written at EndDoc through the program's own writes, beside the
// chosen name and then put in its place: a full disk or an I/O error raises 61 or 57 naming the
// file, and leaves no truncated file under its name (a file that stood there stays as it was).
//
// What the person chose in the printer dialog is applied here (forms::applyToPrinter): a
// printer by setDeviceName, printing into a file by setOutputFileName. On a machine with no
// printer and no file chosen, each document asks for a PDF file through the Host as it
// starts; declining raises 32755, which the programs' error boxes pass over.
class Printer : public Surface {
public:
    Printer();
    ~Printer() override;

    // Orientation: 1 portrait, 2 landscape. PaperSize: 9 A4 (without a printer the default), 8 A3, 11 A5,
    // 1 Letter, 5 Legal. Both take effect for the next document.
    int Orientation() const;
    void setOrientation(int orientation);  // 380 for other values
    int PaperSize() const;
    void setPaperSize(int size);  // 380 for unknown sizes
    int Copies() const;
    void setCopies(int copies);  // 380 below 1
    std::string DeviceName() const;
    void setDeviceName(const std::string& name);  // 482 when no such printer exists

    // Printing into a PDF file; "" goes back to the printer. Both this and setDeviceName raise
    // 482 while a document is open.
    void setOutputFileName(const std::string& path);
    // Whether output can go somewhere without asking: a file is set or a printer is there.
    bool hasTarget() const;
    // Makes sure the next document has somewhere to go, asking for a PDF file when there is
    // neither a printer nor a file (32755 when the person declines). Output through this
    // surface does it by itself; call it before opening a painter of your own on qprinter().
    void ensureTarget();
    std::string outputFileName() const { return m_outputFile; }
    // The name of the next document (see above); "" when it gave none.
    void setDocName(const std::string& name);
    std::string docName() const { return m_docName; }
    // The file name a PDF file of the document is offered under: its name with the signs a file
    // name cannot hold replaced, and ".pdf"; "Ausdruck.pdf" for a document without a name.
    static std::string pdfFileName(const std::string& docName);
    const std::vector<std::string>& writtenFiles() const { return m_written; }

    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    void Cls() override;  // the printer has no Cls: 438

    bool busy() const { return m_painter != nullptr; }
    // The current sheet for a renderer that paints on its own (the report engine): device pixels
    // from the sheet's top left corner. The document starts with it as with any other output.
    QPainter& sheetPainter() { return painter(); }
    // The underlying printer, for the printer dialog.
    QPrinter& qprinter() { return m_printer; }

protected:
    const QPaintDevice& metricsDevice() const override { return m_printer; }
    QSizeF pageSizePixels() const override;
    QPainter& painter() override;

private:
    void beginDocument();
    void offerFile();
    // The save dialog for a PDF file, prefilled with the document's file name in `folder`: the
    // file chosen (asked again for a database's file, confirmed for an existing one), or 32755.
    std::string askFile(const std::string& title, const std::string& folder);
    // The document in memory goes into its file (true), or is thrown away (false).
    void finishFile(bool keep);
    // The last document's file is not there after all.
    void forgetLastFile();
    [[noreturn]] void fail(const std::string& why);

    QPrinter m_printer;
    std::unique_ptr<QPainter> m_painter;
    std::string m_outputFile;
    std::string m_docName;
    std::vector<std::string> m_written;
    int m_documentsInFile = 0;
    // A file asked for because there is no printer: it serves the one next document.
    bool m_offerActive = false;
    bool m_offerPending = false;
    std::string m_lastOfferFolder;
    int m_memory = -1;     // the document being made into a file, while it is made
    std::string m_target;  // and the file it goes into
};

// The printer's paper codes (9 A4, 8 A3, 11 A5, 1 Letter, 5 Legal) and the sheets they name: the
// code of a sheet, 0 for a sheet without one; the sheet of a code, false for an unknown code.
int paperCode(QPageSize::PageSizeId sheet);
bool paperSheet(int code, QPageSize::PageSizeId& sheet);

// The program-wide printer (the language's Printer object). Tests and the preview redirect it
// with setOutputFileName.
Printer& printer();

}  // namespace draw
