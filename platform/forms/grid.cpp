#include "platform/forms/grid.h"

#include "platform/vb/error.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace forms {

// What the view shows of the grid's cells: their texts, the header colour and fixed alignment of the
// fixed part, and the formats set on single cells.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(Grid* g) : QAbstractTableModel(g), m_g(g) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_g->m_shownRows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_g->m_cols; }

    QVariant data(const QModelIndex& index, int role) const override {
        const int r = index.row(), c = index.column();
        switch (role) {
        case Qt::DisplayRole: {
            const QString* t = m_g->textAt(r, c);
            return t ? QVariant(*t) : QVariant();
        }
        case Qt::TextAlignmentRole: {
            const std::vector<int>& align = r < m_g->m_fixedRows ? m_g->m_fixedAlign : m_g->m_colAlign;
            if (c < static_cast<int>(align.size()) && align[c] >= 0)
                return QVariant(static_cast<int>(m_g->alignmentFor(align[c])));
            return {};
        }
        case Qt::BackgroundRole: {
            const Grid::Format* f = const_cast<Grid*>(m_g)->formatAt(r, c, false);
            if (f && f->backColor) return QBrush(toQColor(*f->backColor));
            if (m_g->isFixed(r, c)) return m_g->palette().button();
            return {};
        }
        case Qt::FontRole: {
            const Grid::Format* f = const_cast<Grid*>(m_g)->formatAt(r, c, false);
            if (!f || !f->bold) return {};
            QFont font;
            font.setBold(*f->bold);
            return font;
        }
        default: return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | (m_g->isFixed(index.row(), index.column()) ? Qt::NoItemFlags : Qt::ItemIsSelectable);
    }

    void changed(int row, int col) {
        if (row < m_g->m_shownRows) emit dataChanged(index(row, col), index(row, col));
    }
    void changedAll() {
        if (m_g->m_shownRows > 0 && m_g->m_cols > 0)
            emit dataChanged(index(0, 0), index(m_g->m_shownRows - 1, m_g->m_cols - 1));
    }

private:
    friend class Grid;
    Grid* m_g;
};

Grid::Grid(QWidget* parent) : Control<QTableView>(parent) {
    m_rows.resize(2);
    m_model = new GridModel(this);
    setModel(m_model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QTableView::setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    viewport()->setMouseTracking(true);
    watch(viewport(), false);
    showSelection();
}

Grid::~Grid() {
    // The view lets go of the model before the cells it reads from go.
    setModel(nullptr);
}

const QString* Grid::textAt(int row, int col) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return nullptr;
    const std::vector<QString>& t = m_rows[static_cast<size_t>(row)].text;
    return col >= 0 && col < static_cast<int>(t.size()) ? &t[static_cast<size_t>(col)] : nullptr;
}

Grid::Format* Grid::formatAt(int row, int col, bool make) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || col < 0 || col >= m_cols) return nullptr;
    std::vector<Format>& f = m_rows[static_cast<size_t>(row)].formats;
    if (col >= static_cast<int>(f.size())) {
        if (!make) return nullptr;
        f.resize(static_cast<size_t>(m_cols));
    }
    return &f[static_cast<size_t>(col)];
}

int Grid::Rows() const { return static_cast<int>(m_rows.size()); }
int Grid::Cols() const { return m_cols; }

void Grid::showAppended() const {
    const int n = static_cast<int>(m_rows.size());
    if (m_shownRows >= n) return;
    m_model->beginInsertRows({}, m_shownRows, n - 1);
    m_shownRows = n;
    m_model->endInsertRows();
}

bool Grid::event(QEvent* e) {
    showAppended();
    return Control<QTableView>::event(e);
}

bool Grid::eventFilter(QObject* o, QEvent* e) {
    if (o == viewport()) showAppended();
    return Control<QTableView>::eventFilter(o, e);
}

void Grid::checkRow(int r) const {
    showAppended();
    if (r < 0 || r >= Rows()) throw vb::Error(vb::err::InvalidRowValue, "Ungültiger Zeilenwert");
}

void Grid::checkCol(int c) const {
    if (c < 0 || c >= m_cols) throw vb::Error(vb::err::InvalidColumnValue, "Ungültiger Spaltenwert");
}

void Grid::refixed(int oldRows, int oldCols) {
    // A cell of the fixed part shows the header colour, and a cell that leaves it shows none.
    const int rows = std::max(oldRows, m_fixedRows), cols = std::max(oldCols, m_fixedCols);
    for (int r = 0; r < Rows(); ++r) {
        std::vector<Format>& f = m_rows[static_cast<size_t>(r)].formats;
        for (int c = 0, n = std::min<int>(r < rows ? m_cols : cols, static_cast<int>(f.size())); c < n; ++c)
            f[static_cast<size_t>(c)].backColor.reset();
    }
    m_model->changedAll();
}

void Grid::setRows(int n) {
    if (n < 0) throw vb::Error(vb::err::InvalidPropertyValue);
    showAppended();
    const int now = Rows();
    if (n > now) {
        m_model->beginInsertRows({}, now, n - 1);
        m_rows.resize(static_cast<size_t>(n));
        m_shownRows = n;
        m_model->endInsertRows();
    } else if (n < now) {
        m_model->beginRemoveRows({}, n, now - 1);
        m_rows.resize(static_cast<size_t>(n));
        m_shownRows = n;
        m_model->endRemoveRows();
    }
    const int oldFixed = m_fixedRows;
    m_fixedRows = std::min(m_fixedRows, std::max(0, n - 1));
    m_row = std::clamp(m_row, 0, std::max(0, n - 1));
    m_rowSel = std::clamp(m_rowSel, 0, std::max(0, n - 1));
    refixed(oldFixed, m_fixedCols);
    showSelection();
}

void Grid::setCols(int n) {
    if (n < 0) throw vb::Error(vb::err::InvalidPropertyValue);
    showAppended();
    if (n > m_cols) {
        m_model->beginInsertColumns({}, m_cols, n - 1);
        m_cols = n;
        m_model->endInsertColumns();
    } else if (n < m_cols) {
        m_model->beginRemoveColumns({}, n, m_cols - 1);
        m_cols = n;
        // The cells of the columns that go are gone: a column added later is empty.
        for (RowCells& r : m_rows) {
            if (r.text.size() > static_cast<size_t>(n)) r.text.resize(static_cast<size_t>(n));
            if (r.formats.size() > static_cast<size_t>(n)) r.formats.resize(static_cast<size_t>(n));
        }
        m_model->endRemoveColumns();
    }
    const int oldFixed = m_fixedCols;
    m_fixedCols = std::min(m_fixedCols, std::max(0, n - 1));
    m_col = std::clamp(m_col, 0, std::max(0, n - 1));
    m_colSel = std::clamp(m_colSel, 0, std::max(0, n - 1));
    refixed(m_fixedRows, oldFixed);
    showSelection();
}

void Grid::setFixedRows(int n) {
    showAppended();
    if (n < 0 || (n > 0 && n >= Rows())) throw vb::Error(vb::err::InvalidRowValue, "Ungültiger Zeilenwert");
    const int old = m_fixedRows;
    m_fixedRows = n;
    if (m_row < n) m_row = m_rowSel = n;
    refixed(old, m_fixedCols);
    showSelection();
}

void Grid::setFixedCols(int n) {
    showAppended();
    if (n < 0 || (n > 0 && n >= m_cols)) throw vb::Error(vb::err::InvalidColumnValue, "Ungültiger Spaltenwert");
    const int old = m_fixedCols;
    m_fixedCols = n;
    if (m_col < n) m_col = m_colSel = n;
    refixed(m_fixedRows, old);
    showSelection();
}

std::string Grid::TextMatrix(int row, int col) const {
    checkRow(row);
    checkCol(col);
    const QString* t = textAt(row, col);
    return t ? t->toStdString() : std::string();
}

void Grid::setTextMatrix(int row, int col, const std::string& text) {
    checkRow(row);
    checkCol(col);
    std::vector<QString>& t = m_rows[static_cast<size_t>(row)].text;
    if (col >= static_cast<int>(t.size())) t.resize(static_cast<size_t>(col) + 1);
    t[static_cast<size_t>(col)] = QString::fromStdString(text);
    m_model->changed(row, col);
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
    showAppended();
    if (Rows() == 0 || m_cols == 0) return {};
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
    showAppended();
    clearSelection();
    if (Rows() == 0 || m_cols == 0) return;
    const int r0 = std::min(m_row, m_rowSel), r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel), c1 = std::max(m_col, m_colSel);
    if (r0 < 0 || c0 < 0 || r1 >= Rows() || c1 >= m_cols) return;
    // The current cell alone is shown by the focus frame, a range as highlighted cells.
    if (r0 != r1 || c0 != c1)
        selectionModel()->select(QItemSelection(m_model->index(r0, c0), m_model->index(r1, c1)),
                                 QItemSelectionModel::Select);
    selectionModel()->setCurrentIndex(m_model->index(m_row, m_col), QItemSelectionModel::NoUpdate);
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
    QTableView::setRowHeight(row, std::max(0, twips / Screen::TwipsPerPixelY()));
}

Qt::Alignment Grid::alignmentFor(int a) const {
    if (a == 9) return Qt::AlignLeft | Qt::AlignVCenter;  // general
    Qt::Alignment h = a <= 2 ? Qt::AlignLeft : a <= 5 ? Qt::AlignHCenter : Qt::AlignRight;
    Qt::Alignment v = (a % 3 == 0) ? Qt::AlignTop : (a % 3 == 1) ? Qt::AlignVCenter : Qt::AlignBottom;
    return h | v;
}

void Grid::setColAlignment(int col, int alignment) {
    checkCol(col);
    if (alignment < 0 || alignment > 9) throw vb::Error(vb::err::InvalidPropertyValue);
    if (static_cast<int>(m_colAlign.size()) <= col) m_colAlign.resize(col + 1, -1);
    m_colAlign[col] = alignment;
    m_model->changedAll();
}

void Grid::setFixedAlignment(int col, int alignment) {
    checkCol(col);
    if (alignment < 0 || alignment > 9) throw vb::Error(vb::err::InvalidPropertyValue);
    if (static_cast<int>(m_fixedAlign.size()) <= col) m_fixedAlign.resize(col + 1, -1);
    m_fixedAlign[col] = alignment;
    m_model->changedAll();
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
    const Format* f = const_cast<Grid*>(this)->formatAt(m_row, m_col, false);
    return f && f->bold && *f->bold;
}

void Grid::setCellFontBold(bool on) {
    checkRow(m_row);
    checkCol(m_col);
    formatAt(m_row, m_col, true)->bold = on;
    m_model->changed(m_row, m_col);
}

int32_t Grid::CellBackColor() const {
    checkRow(m_row);
    checkCol(m_col);
    const Format* f = const_cast<Grid*>(this)->formatAt(m_row, m_col, false);
    if (f && f->backColor) return *f->backColor;
    if (isFixed(m_row, m_col)) return fromQColor(palette().button().color());
    return fromQColor(palette().base().color());
}

void Grid::setCellBackColor(int32_t bgr) {
    checkRow(m_row);
    checkCol(m_col);
    formatAt(m_row, m_col, true)->backColor = bgr;
    m_model->changed(m_row, m_col);
}

void Grid::AddItem(const std::string& text, int index) {
    const int rows = Rows();
    if (index < 0 || index > rows) index = rows;
    RowCells row;
    const QStringList parts = QString::fromStdString(text).split('\t');
    for (int c = 0; c < m_cols && c < parts.size(); ++c) row.text.push_back(parts[c]);
    if (index == rows && index >= m_fixedRows) {
        // Appended rows wait until the view next looks (showAppended).
        m_rows.push_back(std::move(row));
        return;
    }
    showAppended();
    m_model->beginInsertRows({}, index, index);
    m_rows.insert(m_rows.begin() + index, std::move(row));
    m_shownRows = Rows();
    m_model->endInsertRows();
    if (index < m_fixedRows) refixed(m_fixedRows, m_fixedCols);
    showSelection();
}

void Grid::RemoveItem(int index) {
    checkRow(index);
    // The last row of the non-fixed part cannot go (as with the original control).
    if (Rows() - 1 < m_fixedRows + 1 && index >= m_fixedRows)
        throw vb::Error(vb::err::CannotRemoveLastRow, "Die letzte nicht fixierte Zeile kann nicht entfernt werden");
    m_model->beginRemoveRows({}, index, index);
    m_rows.erase(m_rows.begin() + index);
    m_shownRows = Rows();
    m_model->endRemoveRows();
    m_row = std::min(m_row, Rows() - 1);
    m_rowSel = std::min(m_rowSel, Rows() - 1);
    showSelection();
}

void Grid::Clear() {
    showAppended();
    for (RowCells& r : m_rows)
        for (QString& t : r.text) t.clear();
    m_model->changedAll();
}

void Grid::pickCell(int row, int col) {
    showAppended();
    if (row < m_fixedRows || col < m_fixedCols || row >= Rows() || col >= m_cols) return;
    switch (m_selectionMode) {
    case flexSelectionByRow:
        m_row = m_rowSel = row;
        m_col = m_fixedCols;
        m_colSel = m_cols - 1;
        break;
    case flexSelectionByColumn:
        m_col = m_colSel = col;
        m_row = m_fixedRows;
        m_rowSel = Rows() - 1;
        break;
    default: m_row = m_rowSel = row; m_col = m_colSel = col;
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
    m_pressedOnCell = idx.isValid() && e->button() == Qt::LeftButton && idx.row() >= m_fixedRows &&
                      idx.column() >= m_fixedCols;
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
    showAppended();
    int r = m_row, c = m_col;
    switch (e->key()) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Home: c = m_fixedCols; break;
    case Qt::Key_End: c = m_cols - 1; break;
    default: QAbstractItemView::keyPressEvent(e); return;
    }
    pickCell(std::clamp(r, m_fixedRows, Rows() - 1), std::clamp(c, m_fixedCols, m_cols - 1));
    scrollTo(m_model->index(m_row, m_col));
}

}  // namespace forms
