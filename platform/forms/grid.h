#pragma once

// The grid of the person chooser and the answer table: Rows × Cols cells of text, fixed
// (header) rows and columns, a current cell (Row, Col) and a selection up to (RowSel, ColSel).

#include "platform/forms/control.h"

#include <QTableView>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace forms {

inline constexpr int flexSelectionFree = 0;
inline constexpr int flexSelectionByRow = 1;
inline constexpr int flexSelectionByColumn = 2;

class GridModel;

// The cells are texts kept by the grid itself, shown through a model of its own: a list of a
// hundred thousand persons costs a text a cell, not an object of the window system.
class Grid : public Control<QTableView> {
public:
    explicit Grid(QWidget* parent = nullptr);  // 2 rows, 2 columns, one fixed row and column
    ~Grid() override;

    int Rows() const;
    void setRows(int n);
    int Cols() const;
    void setCols(int n);
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int n);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int n);

    std::string TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const std::string& text);
    // The current cell's text.
    std::string Text() const { return TextMatrix(m_row, m_col); }
    void setText(const std::string& t) { setTextMatrix(m_row, m_col, t); }

    // Setting Row or Col makes the current cell the whole selection; RowSel/ColSel extend it.
    int Row() const { return m_row; }
    void setRow(int r);
    int Col() const { return m_col; }
    void setCol(int c);
    int RowSel() const { return m_rowSel; }
    void setRowSel(int r);
    int ColSel() const { return m_colSel; }
    void setColSel(int c);
    int SelectionMode() const { return m_selectionMode; }
    void setSelectionMode(int m) { m_selectionMode = m; }
    // The selected cells: tab between cells, CR between rows.
    std::string Clip() const;

    // Width in twips.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // 0 left-top … 4 centre-centre … 7 right-centre (the programs use 4 and the default).
    void setColAlignment(int col, int alignment);
    void setFixedAlignment(int col, int alignment);
    int ColAlignment(int col) const;  // 9 (general) until set
    int FixedAlignment(int col) const;

    // Formats of the current cell.
    bool CellFontBold() const;
    void setCellFontBold(bool on);
    int32_t CellBackColor() const;
    void setCellBackColor(int32_t bgr);

    // Appends a row (or inserts it at `index`); tabs divide the text into the cells from column 0.
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    // Empties every cell and keeps the shape.
    void Clear();

    // The cell under the mouse at the last mouse event.
    int MouseRow() const { return m_mouseRow; }
    int MouseCol() const { return m_mouseCol; }

    std::function<void()> Click;
    std::function<void()> DblClick;

    // As a click of the person on a cell would do (tests, keyboard selection).
    void clickCell(int row, int col);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class GridModel;
    // The formats of a cell that differ from its place's.
    struct Format {
        std::optional<bool> bold;          // a font of the cell's own, bold or not
        std::optional<int32_t> backColor;  // BGR
    };
    void checkRow(int r) const;
    void checkCol(int c) const;
    // Rows appended by AddItem are told to the view in one step before anything looks at it.
    void showAppended() const;
    // The cells that leave or join the fixed part lose their own background colour.
    void refixed(int oldRows, int oldCols);
    bool isFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }
    void showSelection();
    void pickCell(int row, int col);
    Qt::Alignment alignmentFor(int a) const;

    struct RowCells {
        std::vector<QString> text;    // may hold fewer cells than there are columns
        std::vector<Format> formats;  // empty until a cell of the row gets a format
    };
    const QString* textAt(int row, int col) const;
    Format* formatAt(int row, int col, bool make);

    GridModel* m_model = nullptr;
    std::vector<RowCells> m_rows;
    int m_cols = 2;
    mutable int m_shownRows = 2;  // the rows the view knows of
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = 1, m_col = 1, m_rowSel = 1, m_colSel = 1;
    int m_selectionMode = flexSelectionFree;
    int m_mouseRow = 0, m_mouseCol = 0;
    bool m_pressedOnCell = false;
    std::vector<int> m_colAlign;
    std::vector<int> m_fixedAlign;
};

}  // namespace forms
