#include "platform/report/viewer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/form.h"
#include "platform/forms/screen.h"
#include "platform/vb/error.h"

namespace report {

namespace {
constexpr double kScreenTwipsPerPixel = 15.0;
constexpr int kZooms[] = {25, 50, 75, 100, 150, 200, 400};
const QColor kDesk(0x80, 0x80, 0x80);

// The hourglass while a print or an export runs, the normal pointer again however it ends.
struct Hourglass {
    Hourglass() { forms::Screen::setMousePointer(forms::vbHourglass); }
    ~Hourglass() { forms::Screen::setMousePointer(forms::vbDefault); }
};
}  // namespace

// The sheet on view, painted at the zoom on a grey desk.
class PageView : public QWidget {
public:
    PageView() { setAttribute(Qt::WA_OpaquePaintEvent); }

    void update(const Document* doc, int page, int zoom) {
        m_doc = doc;
        m_pageIndex = page;
        m_zoom = zoom;
        const double k = pixelsPerTwip();
        if (m_doc && m_pageIndex >= 0)
            resize(static_cast<int>(std::ceil(m_doc->pageWidth() * k)) + 2 * kMargin,
                   static_cast<int>(std::ceil(m_doc->pageHeight() * k)) + 2 * kMargin);
        else resize(200, 200);
        QWidget::update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kDesk);
        if (!m_doc || m_pageIndex < 0 || m_pageIndex >= m_doc->pageCount()) return;
        const double k = pixelsPerTwip();
        const QRectF sheet(kMargin, kMargin, m_doc->pageWidth() * k, m_doc->pageHeight() * k);
        p.fillRect(sheet.translated(3, 3), QColor(0x50, 0x50, 0x50));
        p.fillRect(sheet, Qt::white);
        p.translate(kMargin, kMargin);
        p.setClipRect(QRectF(0, 0, sheet.width(), sheet.height()));
        m_doc->paint(p, m_pageIndex, k);
    }

private:
    static constexpr int kMargin = 12;
    double pixelsPerTwip() const { return m_zoom / 100.0 / kScreenTwipsPerPixel; }
    const Document* m_doc = nullptr;
    int m_pageIndex = -1;
    int m_zoom = 100;
};

Viewer::Viewer(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_toolbar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_toolbar);
    bar->setContentsMargins(4, 2, 4, 2);
    auto button = [this, bar](const QString& text, const QString& tip) {
        auto* b = new QToolButton(m_toolbar);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    m_first = button(QStringLiteral("|◀"), QStringLiteral("Erste Seite"));
    m_previous = button(QStringLiteral("◀"), QStringLiteral("Vorige Seite"));
    m_pageLabel = new QLabel(m_toolbar);
    m_pageLabel->setMinimumWidth(110);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    m_next = button(QStringLiteral("▶"), QStringLiteral("Nächste Seite"));
    m_last = button(QStringLiteral("▶|"), QStringLiteral("Letzte Seite"));
    bar->addSpacing(12);
    m_zoomBox = new QComboBox(m_toolbar);
    for (int z : kZooms) m_zoomBox->addItem(QStringLiteral("%1 %").arg(z), z);
    m_zoomBox->setToolTip(QStringLiteral("Vergrößerung"));
    bar->addWidget(m_zoomBox);
    bar->addStretch(1);
    m_print = button(QStringLiteral("Drucken …"), QStringLiteral("Bericht drucken"));
    m_export = button(QStringLiteral("Als PDF speichern …"), QStringLiteral("Bericht als PDF-Datei speichern"));
    m_print->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_export->setToolButtonStyle(Qt::ToolButtonTextOnly);
    outer->addWidget(m_toolbar);

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette desk = m_scroll->viewport()->palette();
    desk.setColor(QPalette::Window, kDesk);
    m_scroll->viewport()->setPalette(desk);
    m_scroll->viewport()->setAutoFillBackground(true);
    m_view = new PageView;
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    outer->addWidget(m_scroll, 1);
    setFocusPolicy(Qt::StrongFocus);

    connect(m_first, &QToolButton::clicked, this, [this] { ShowFirstPage(); });
    connect(m_previous, &QToolButton::clicked, this, [this] { ShowPreviousPage(); });
    connect(m_next, &QToolButton::clicked, this, [this] { ShowNextPage(); });
    connect(m_last, &QToolButton::clicked, this, [this] { ShowLastPage(); });
    connect(m_print, &QToolButton::clicked, this, [this] { PrintReport(); });
    connect(m_export, &QToolButton::clicked, this, [this] { ExportReport(); });
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { setZoom(m_zoomBox->itemData(i).toInt()); });
    setZoom(100);
}

Viewer::~Viewer() = default;

void Viewer::setReportSource(std::shared_ptr<Report> report) { m_report = std::move(report); }

void Viewer::ViewReport() {
    m_document.reset();
    m_page = -1;
    if (m_report) {
        try {
            m_document = Document::layout(*m_report, m_context);
            m_page = 0;
        } catch (...) {
            refresh();
            throw;
        }
    }
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

void Viewer::clear() {
    m_report.reset();
    m_document.reset();
    m_page = -1;
    refresh();
}

void Viewer::setZoom(int percent) {
    m_zoom = std::clamp(percent, 25, 400);
    const int i = m_zoomBox->findData(m_zoom);
    if (i >= 0) m_zoomBox->setCurrentIndex(i);
    refresh();
}

void Viewer::ShowPage(int number) {
    if (!m_document) return;
    const int n = std::clamp(number, 1, std::max(1, pageCount()));
    if (n - 1 == m_page) return;
    m_page = n - 1;
    refresh();
    m_scroll->verticalScrollBar()->setValue(0);
}

QString Viewer::pageLabelText() const {
    if (!m_document) return QStringLiteral("Kein Bericht");
    return QStringLiteral("Seite %1 von %2").arg(m_page + 1).arg(pageCount());
}

void Viewer::refresh() {
    m_toolbar->setVisible(m_displayToolbar);
    const bool any = m_document && pageCount() > 0;
    m_first->setEnabled(any && m_page > 0);
    m_previous->setEnabled(any && m_page > 0);
    m_next->setEnabled(any && m_page + 1 < pageCount());
    m_last->setEnabled(any && m_page + 1 < pageCount());
    m_print->setVisible(m_enablePrint);
    m_export->setVisible(m_enableExport);
    m_print->setEnabled(any);
    m_export->setEnabled(any);
    m_pageLabel->setText(pageLabelText());
    m_view->update(m_document ? &*m_document : nullptr, any ? m_page : -1, m_zoom);
}

void Viewer::setDisplayToolbar(bool on) {
    m_displayToolbar = on;
    refresh();
}

void Viewer::setEnablePrintButton(bool on) {
    m_enablePrint = on;
    refresh();
}

void Viewer::setEnableExportButton(bool on) {
    m_enableExport = on;
    refresh();
}

forms::CommonDialog& Viewer::dialog() {
    if (m_dialog) return m_dialog();
    if (!m_ownDialog) m_ownDialog = std::make_unique<forms::CommonDialog>();
    return *m_ownDialog;
}

void Viewer::fail(const std::exception& e) {
    if (onError) return onError(e);
    if (auto* v = dynamic_cast<const vb::Error*>(&e)) return forms::showUntrappedError(*v);
    forms::showUntrappedError(vb::Error(vb::err::InternalError, e.what()));
}

void Viewer::PrintReport() {
    if (!m_document) return;
    try {
        forms::CommonDialog& d = dialog();
        d.setCancelError(true);
        d.setFlags(0);
        // The printer dialog offers a file under the document's name, and the job carries it.
        draw::printer().setDocName(documentName());
        try {
            d.ShowPrinter();
        } catch (const vb::Error& e) {
            if (e.number() == vb::err::CancelError) {
                draw::printer().setDocName("");
                return;
            }
            throw;
        }
        // Without a printer the printer asks for a file first; the hourglass comes after that.
        draw::printer().ensureTarget();
        const Hourglass hourglass;
        print(*m_document, draw::printer());
    } catch (const std::exception& e) {
        fail(e);
    }
}

std::string Viewer::documentName() const {
    std::string name = m_exportName;
    if (name.size() > 4 &&
        (name.compare(name.size() - 4, 4, ".pdf") == 0 || name.compare(name.size() - 4, 4, ".PDF") == 0))
        name.resize(name.size() - 4);
    return name;
}

void Viewer::ExportReport() {
    if (!m_document) return;
    try {
        forms::CommonDialog& d = dialog();
        d.setCancelError(true);
        d.setDialogTitle("Bericht als PDF-Datei speichern");
        d.setFilter("PDF-Dokument (*.pdf)|*.pdf");
        d.setFilterIndex(1);
        d.setDefaultExt("pdf");
        d.setFileName(m_exportName);
        d.setFlags(forms::cdlOFNOverwritePrompt | forms::cdlOFNPathMustExist | forms::cdlOFNHideReadOnly);
        try {
            d.ShowSave();
        } catch (const vb::Error& e) {
            if (e.number() == vb::err::CancelError) return;
            throw;
        }
        if (d.FileName().empty()) return;
        const Hourglass hourglass;
        exportPdf(d.FileName());
    } catch (const std::exception& e) {
        fail(e);
    }
}

void Viewer::exportPdf(const std::string& path) {
    if (!m_document) return;
    draw::Printer pdf;
    pdf.setOutputFileName(path);
    pdf.setDocName(documentName());
    print(*m_document, pdf);
}

void Viewer::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_PageDown: ShowNextPage(); break;
    case Qt::Key_PageUp: ShowPreviousPage(); break;
    case Qt::Key_Home:
        if (e->modifiers() & Qt::ControlModifier) ShowFirstPage();
        else QWidget::keyPressEvent(e);
        break;
    case Qt::Key_End:
        if (e->modifiers() & Qt::ControlModifier) ShowLastPage();
        else QWidget::keyPressEvent(e);
        break;
    default: QWidget::keyPressEvent(e);
    }
}

}  // namespace report
