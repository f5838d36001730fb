#pragma once

// Inside the engine: the pieces a report is laid out in before they are put on sheets.

#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <vector>

#include "platform/report/document.h"

namespace report::detail {

// A piece of a sheet's content that stays whole: a line of text, a table row, a section's fixed
// objects. Its items' y count from the block's top.
struct Block {
    double height = 0;
    std::vector<Item> items;
    bool breakBefore = false;  // starts a new sheet (unless the sheet is still empty)
    bool keepNext = false;     // goes to the next sheet with the block after it
};

// The measures of a font. A text's width is the sum of its characters' advances: reports measure
// thousands of pieces, and shaping each one costs far more than it changes.
class Measure {
public:
    explicit Measure(const QFont& font) : m_fm(font) {}
    double width(const QString& text) const;
    double lineSpacing() const { return m_fm.lineSpacing(); }
    double ascent() const { return m_fm.ascent(); }
    QString elided(const QString& text, double width) const { return m_fm.elidedText(text, Qt::ElideRight, width); }

private:
    QFontMetricsF m_fm;
    mutable QHash<char16_t, double> m_advance;
};

// The measures of a font, kept for the run.
const Measure& metrics(const TextFont& font);

// Breaks a text into lines no wider than `width`: at line ends, else at blanks (which vanish at
// the break; runs of blanks inside a line stay); a word wider than the line is cut.
std::vector<QString> wrap(const QString& text, const Measure& metrics, double width);

// A text line item at (x, y) in a font.
Item textItem(const QString& text, const TextFont& font, double x, double y, int32_t color);

// The blocks of the print lines object `object` of `report`, for an area `width` wide whose left
// edge is at `left` on the sheet.
std::vector<Block> printLineBlocks(const ReportObject& object, const Report& report, double left, double width);

}  // namespace report::detail
