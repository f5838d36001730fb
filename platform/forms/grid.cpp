#include "platform/forms/grid.h"

#include "platform/vb/error.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace forms {

Grid::Grid(QWidget* parent) : Control<QTableWidget>(2, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QTableWidget::setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    viewport()->setMouseTracking(true);
    watch(viewport(), false);
    styleFixed();
    showSelection();
}

void Grid::checkRow(int r) const {
    if (r < 0 || r >= rowCount()) throw vb::Error(30009, "Ungültiger Zeilenwert");
}

void Grid::checkCol(int c) const {
    if (c < 0 || c >= columnCount()) throw vb::Error(30010, "Ungültiger Spaltenwert");
}

QTableWidgetItem* Grid::cell(int row, int col) const {
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(Qt::ItemIsEnabled | (row >= m_fixedRows && col >= m_fixedCols ? Qt::ItemIsSelectable : Qt::NoItemFlags));
        const std::vector<int>& align = row < m_fixedRows ? m_fixedAlign : m_colAlign;
        if (col < static_cast<int>(align.size()) && align[col] >= 0) it->setTextAlignment(alignmentFor(align[col]));
        if (row < m_fixedRows || col < m_fixedCols) it->setBackground(palette().button());
        const_cast<Grid*>(this)->setItem(row, col, it);
    }
    return it;
}

void Grid::styleFixed() {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* it = item(r, c);
            const bool fixed = r < m_fixedRows || c < m_fixedCols;
            if (!it && !fixed) continue;
            it = cell(r, c);
            it->setFlags(Qt::ItemIsEnabled | (fixed ? Qt::NoItemFlags : Qt::ItemIsSelectable));
            if (fixed) it->setBackground(palette().button());
        }
}

void Grid::setRows(int n) {
    if (n < 0) throw vb::Error(380);
    setRowCount(n);
    m_fixedRows = std::min(m_fixedRows, std::max(0, n - 1));
    m_row = std::clamp(m_row, 0, std::max(0, n - 1));
    m_rowSel = std::clamp(m_rowSel, 0, std::max(0, n - 1));
    styleFixed();
    showSelection();
}

void Grid::setCols(int n) {
    if (n < 0) throw vb::Error(380);
    setColumnCount(n);
    m_fixedCols = std::min(m_fixedCols, std::max(0, n - 1));
    m_col = std::clamp(m_col, 0, std::max(0, n - 1));
    m_colSel = std::clamp(m_colSel, 0, std::max(0, n - 1));
    styleFixed();
    showSelection();
}

void Grid::setFixedRows(int n) {
    if (n < 0 || (n > 0 && n >= rowCount())) throw vb::Error(30009, "Ungültiger Zeilenwert");
    // Cells that stop being fixed lose the header colour.
    for (int r = n; r < m_fixedRows; ++r)
        for (int c = m_fixedCols; c < columnCount(); ++c)
            if (QTableWidgetItem* it = item(r, c)) it->setBackground(QBrush());
    m_fixedRows = n;
    if (m_row < n) m_row = m_rowSel = n;
    styleFixed();
    showSelection();
}

void Grid::setFixedCols(int n) {
    if (n < 0 || (n > 0 && n >= columnCount())) throw vb::Error(30010, "Ungültiger Spaltenwert");
    for (int c = n; c < m_fixedCols; ++c)
        for (int r = m_fixedRows; r < rowCount(); ++r)
            if (QTableWidgetItem* it = item(r, c)) it->setBackground(QBrush());
    m_fixedCols = n;
    if (m_col < n) m_col = m_colSel = n;
    styleFixed();
    showSelection();
}

std::string Grid::TextMatrix(int row, int col) const {
    checkRow(row);
    checkCol(col);
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text().toStdString() : std::string();
}

void Grid::setTextMatrix(int row, int col, const std::string& text) {
    checkRow(row);
    checkCol(col);
    cell(row, col)->setText(QString::fromStdString(text));
}

void Grid::setRow(int r) {
    checkRow(r);
    m_row = m_rowSel = r;
    m_colSel = m_col;
    showSelection();
}

void Grid::setCol(int c) {
    checkCol(c);
    m_col = m_colSel = c;
    m_rowSel = m_row;
    showSelection();
}

void Grid::setRowSel(int r) {
    checkRow(r);
    m_rowSel = r;
    showSelection();
}

void Grid::setColSel(int c) {
    checkCol(c);
    m_colSel = c;
    showSelection();
}

std::string Grid::Clip() const {
    if (rowCount() == 0 || columnCount() == 0) return {};
    const int r0 = std::min(m_row, m_rowSel), r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel), c1 = std::max(m_col, m_colSel);
    std::string out;
    for (int r = r0; r <= r1; ++r) {
        if (r > r0) out += '\r';
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) out += '\t';
            out += TextMatrix(r, c);
        }
    }
    return out;
}

void Grid::showSelection() {
    if (!selectionModel()) return;
    clearSelection();
    if (rowCount() == 0 || columnCount() == 0) return;
    const int r0 = std::min(m_row, m_rowSel), r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel), c1 = std::max(m_col, m_colSel);
    if (r0 < 0 || c0 < 0 || r1 >= rowCount() || c1 >= columnCount()) return;
    // The current cell alone is shown by the focus frame, a range as highlighted cells.
    if (r0 != r1 || c0 != c1)
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                cell(r, c);
                selectionModel()->select(model()->index(r, c), QItemSelectionModel::Select);
            }
    selectionModel()->setCurrentIndex(model()->index(m_row, m_col), QItemSelectionModel::NoUpdate);
}

int Grid::ColWidth(int col) const {
    checkCol(col);
    return columnWidth(col) * Screen::TwipsPerPixelX();
}

void Grid::setColWidth(int col, int twips) {
    checkCol(col);
    setColumnWidth(col, std::max(0, twips / Screen::TwipsPerPixelX()));
}

int Grid::RowHeight(int row) const {
    checkRow(row);
    return rowHeight(row) * Screen::TwipsPerPixelY();
}

void Grid::setRowHeight(int row, int twips) {
    checkRow(row);
    QTableWidget::setRowHeight(row, std::max(0, twips / Screen::TwipsPerPixelY()));
}

Qt::Alignment Grid::alignmentFor(int a) const {
    if (a == 9) return Qt::AlignLeft | Qt::AlignVCenter;  // general
    Qt::Alignment h = a <= 2 ? Qt::AlignLeft : a <= 5 ? Qt::AlignHCenter : Qt::AlignRight;
    Qt::Alignment v = (a % 3 == 0) ? Qt::AlignTop : (a % 3 == 1) ? Qt::AlignVCenter : Qt::AlignBottom;
    return h | v;
}

void Grid::setColAlignment(int col, int alignment) {
    checkCol(col);
    if (alignment < 0 || alignment > 9) throw vb::Error(380);
    if (static_cast<int>(m_colAlign.size()) <= col) m_colAlign.resize(col + 1, -1);
    m_colAlign[col] = alignment;
    for (int r = m_fixedRows; r < rowCount(); ++r) cell(r, col)->setTextAlignment(alignmentFor(alignment));
}

void Grid::setFixedAlignment(int col, int alignment) {
    checkCol(col);
    if (alignment < 0 || alignment > 9) throw vb::Error(380);
    if (static_cast<int>(m_fixedAlign.size()) <= col) m_fixedAlign.resize(col + 1, -1);
    m_fixedAlign[col] = alignment;
    for (int r = 0; r < m_fixedRows; ++r) cell(r, col)->setTextAlignment(alignmentFor(alignment));
}

int Grid::ColAlignment(int col) const {
    checkCol(col);
    return col < static_cast<int>(m_colAlign.size()) && m_colAlign[col] >= 0 ? m_colAlign[col] : 9;
}

int Grid::FixedAlignment(int col) const {
    checkCol(col);
    return col < static_cast<int>(m_fixedAlign.size()) && m_fixedAlign[col] >= 0 ? m_fixedAlign[col] : 9;
}

bool Grid::CellFontBold() const {
    checkRow(m_row);
    checkCol(m_col);
    const QTableWidgetItem* it = item(m_row, m_col);
    return it && it->font().bold();
}

void Grid::setCellFontBold(bool on) {
    checkRow(m_row);
    checkCol(m_col);
    QTableWidgetItem* it = cell(m_row, m_col);
    QFont f = it->font();
    f.setBold(on);
    it->setFont(f);
}

int32_t Grid::CellBackColor() const {
    checkRow(m_row);
    checkCol(m_col);
    const QTableWidgetItem* it = item(m_row, m_col);
    if (!it || it->background().style() == Qt::NoBrush) return fromQColor(palette().base().color());
    return fromQColor(it->background().color());
}

void Grid::setCellBackColor(int32_t bgr) {
    checkRow(m_row);
    checkCol(m_col);
    cell(m_row, m_col)->setBackground(toQColor(bgr));
}

void Grid::AddItem(const std::string& text, int index) {
    if (index < 0 || index > rowCount()) index = rowCount();
    insertRow(index);
    const QStringList parts = QString::fromStdString(text).split('\t');
    for (int c = 0; c < columnCount() && c < parts.size(); ++c) cell(index, c)->setText(parts[c]);
    if (index < m_fixedRows) styleFixed();
    else
        for (int c = 0; c < m_fixedCols; ++c) cell(index, c);
    showSelection();
}

void Grid::RemoveItem(int index) {
    checkRow(index);
    // The last row of the non-fixed part cannot go (as with the original control).
    if (rowCount() - 1 < m_fixedRows + 1 && index >= m_fixedRows)
        throw vb::Error(30015, "Die letzte nicht fixierte Zeile kann nicht entfernt werden");
    removeRow(index);
    m_row = std::min(m_row, rowCount() - 1);
    m_rowSel = std::min(m_rowSel, rowCount() - 1);
    showSelection();
}

void Grid::Clear() {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem* it = item(r, c)) it->setText(QString());
}

void Grid::pickCell(int row, int col) {
    if (row < m_fixedRows || col < m_fixedCols || row >= rowCount() || col >= columnCount()) return;
    switch (m_selectionMode) {
    case flexSelectionByRow:
        m_row = m_rowSel = row;
        m_col = m_fixedCols;
        m_colSel = columnCount() - 1;
        break;
    case flexSelectionByColumn:
        m_col = m_colSel = col;
        m_row = m_fixedRows;
        m_rowSel = rowCount() - 1;
        break;
    default:
        m_row = m_rowSel = row;
        m_col = m_colSel = col;
    }
    showSelection();
}

void Grid::clickCell(int row, int col) {
    checkRow(row);
    checkCol(col);
    pickCell(row, col);
    fire(Click);
}

void Grid::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    const QModelIndex idx = indexAt(e->position().toPoint());
    // Header cells choose nothing.
    m_pressedOnCell = idx.isValid() && e->button() == Qt::LeftButton && idx.row() >= m_fixedRows && idx.column() >= m_fixedCols;
    if (m_pressedOnCell) pickCell(idx.row(), idx.column());
}

void Grid::mouseReleaseEvent(QMouseEvent* e) {
    if (m_pressedOnCell && e->button() == Qt::LeftButton) {
        m_pressedOnCell = false;
        fire(Click);
    }
}

void Grid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (idx.isValid() && e->button() == Qt::LeftButton && idx.row() >= m_fixedRows && idx.column() >= m_fixedCols)
        fire(DblClick);
}

void Grid::mouseMoveEvent(QMouseEvent* e) {
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (idx.isValid()) {
        m_mouseRow = idx.row();
        m_mouseCol = idx.column();
    }
}

void Grid::keyPressEvent(QKeyEvent* e) {
    int r = m_row, c = m_col;
    switch (e->key()) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Home: c = m_fixedCols; break;
    case Qt::Key_End: c = columnCount() - 1; break;
    default: QAbstractItemView::keyPressEvent(e); return;
    }
    pickCell(std::clamp(r, m_fixedRows, rowCount() - 1), std::clamp(c, m_fixedCols, columnCount() - 1));
    scrollTo(model()->index(m_row, m_col));
}

}  // namespace forms
