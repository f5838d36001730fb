#pragma once

// The report viewer: shows an opened report sheet by sheet at a zoom, pages through it, prints
// it through the print dialog and saves it as a PDF file.

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/report/document.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace forms {
class CommonDialog;
}

namespace report {

class PageView;

class Viewer : public QWidget {
    Q_OBJECT
public:
    explicit Viewer(QWidget* parent = nullptr);
    ~Viewer() override;

    // The report to show; ViewReport lays it out and shows its first sheet. Errors of the layout
    // (a picture that cannot be read) go to the caller and leave the viewer empty.
    void setReportSource(std::shared_ptr<Report> report);
    std::shared_ptr<Report> ReportSource() const { return m_report; }
    void setPrintContext(const PrintContext& context) { m_context = context; }
    void ViewReport();
    // Shows nothing (after a failed build nothing stale can be printed).
    void clear();
    const Document* document() const { return m_document ? &*m_document : nullptr; }

    // Zoom in percent of the sheet's real size (25 … 400).
    int Zoom() const { return m_zoom; }
    void setZoom(int percent);

    int pageCount() const { return m_document ? m_document->pageCount() : 0; }
    int currentPage() const { return m_page + 1; }  // from 1; 0 without a report
    void ShowPage(int number);                      // clamped to the report's sheets
    void ShowFirstPage() { ShowPage(1); }
    void ShowPreviousPage() { ShowPage(currentPage() - 1); }
    void ShowNextPage() { ShowPage(currentPage() + 1); }
    void ShowLastPage() { ShowPage(pageCount()); }

    // Printing: the print dialog (cancel ends quietly), then every sheet on the chosen printer
    // or into the PDF file chosen there. Saving: the save dialog, then the PDF file.
    void PrintReport();
    void ExportReport();
    // Writes the report into a PDF file without asking; errors as the printer raises them.
    void exportPdf(const std::string& path);
    // Where the dialog that asks for the printer and the file comes from (the program's shared
    // one, looked up at each use); without it the viewer keeps its own.
    void setDialog(std::function<forms::CommonDialog&()> dialog) { m_dialog = std::move(dialog); }
    // The name the save dialog proposes.
    void setExportFileName(const std::string& name) { m_exportName = name; }
    // The document's name, for the print job's title and the PDF file offered: the export file
    // name without its ".pdf".
    std::string documentName() const;

    // Display options.
    bool DisplayToolbar() const { return m_displayToolbar; }
    void setDisplayToolbar(bool on);
    bool EnablePrintButton() const { return m_enablePrint; }
    void setEnablePrintButton(bool on);
    bool EnableExportButton() const { return m_enableExport; }
    void setEnableExportButton(bool on);

    // Errors of the viewer's own buttons; without a handler the standard error box.
    std::function<void(const std::exception&)> onError;

    // The page caption as shown ("Seite 2 von 12").
    QString pageLabelText() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void refresh();
    void fail(const std::exception& e);
    forms::CommonDialog& dialog();

    std::shared_ptr<Report> m_report;
    std::optional<Document> m_document;
    PrintContext m_context;
    int m_page = -1;
    int m_zoom = 100;
    bool m_displayToolbar = true, m_enablePrint = true, m_enableExport = true;
    std::function<forms::CommonDialog&()> m_dialog;
    std::unique_ptr<forms::CommonDialog> m_ownDialog;
    std::string m_exportName = "Bericht.pdf";

    QWidget* m_toolbar;
    QToolButton *m_first, *m_previous, *m_next, *m_last, *m_print, *m_export;
    QLabel* m_pageLabel;
    QComboBox* m_zoomBox;
    QScrollArea* m_scroll;
    PageView* m_view;
};

}  // namespace report
