#pragma once

// Inside the engine: the pieces a report is laid out in before they are put on sheets.

#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <functional>
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
    double width(QStringView text) const;
    double width(const QString& text) const { return width(QStringView(text)); }
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

// The same rule on a text whose characters need not share one font: `widthOf(from, to)` is the
// width of the characters from `from` up to `to`. A line is the ranges of the text it shows, in
// order (an indented paragraph's wrapped lines begin with its indentation again).
struct Span {
    int from, to;
};
std::vector<std::vector<Span>> wrapSpans(const QString& text, const std::function<double(int, int)>& widthOf,
                                         double width);

// A paragraph made of pieces that follow one another directly, each in its own font and colour,
// wrapped as one text: a word may be made of several pieces and is never broken between them.
// A line is its pieces, each with the index of the run it comes from.
struct Run {
    QString text;
    TextFont font;
    int32_t color = 0;
};
struct RunPiece {
    QString text;
    std::size_t run;
};
std::vector<std::vector<RunPiece>> wrapRuns(const std::vector<Run>& runs, double width);

// A text line item at (x, y) in a font.
Item textItem(const QString& text, const TextFont& font, double x, double y, int32_t color);

// The blocks of the print lines object `object` of `report`, for an area `width` wide whose left
// edge is at `left` on the sheet.
std::vector<Block> printLineBlocks(const ReportObject& object, const Report& report, double left, double width);

}  // namespace report::detail
