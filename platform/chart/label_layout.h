#pragma once

// Inside the chart control: where the category labels and the legend's entries go. A label that
// is too wide for its place is broken between words or at a hyphenation point of its word, set in
// a smaller font, or slanted, in that order of preference; no two labels ever overlap. Every
// placement is kept (text, lines, outline, font) for the chart's layout log.

#include <QFont>
#include <QFontMetricsF>
#include <QPolygonF>
#include <QStringList>
#include <QTransform>

#include <optional>
#include <vector>

#include "platform/chart/hyphenation.h"

class QPaintDevice;
class QPainter;

namespace chart::detail {

// `text` in lines no wider than `width`, at most `maxLines` of them: broken between words, after a
// hyphen or slash of a word, or at one hyphenation point of a word (with a hyphen added). Nothing
// when it cannot be done so. Without a hyphenation given, the German one is used, its patterns
// read only once a word needs them.
std::optional<QStringList> breakText(const QString& text, const QFontMetricsF& fm, double width, int maxLines,
                                     const Hyphenation* hyphenation = nullptr);

struct LabelPlacement {
    QString text;
    QStringList lines;
    QFont font;
    double angle = 0;      // degrees; the text rises to the right and ends at its anchor
    QTransform transform;  // local to device: the text block lies at `local`
    QRectF local;
    QPolygonF outline() const { return transform.map(QPolygonF(local)); }
};

struct LabelLayout {
    std::vector<LabelPlacement> labels;  // one per text, in order; a label left out has no lines
    double height = 0;                   // how far the labels reach below their anchors
};

// Category labels, one per anchor (the top centre of the label's place, in device units; the
// anchors run from left to right). `bounds` limits them sideways, `maxHeight` downwards; two labels
// keep at least 4 pixels of 96 dpi (times `unit`) apart. Font sizes down to 70 % of the chart's
// font, but not below 7 pt, are tried.
LabelLayout layoutCategoryLabels(const std::vector<QString>& texts, const std::vector<QPointF>& anchors,
                                 const QFont& base, const QPaintDevice* device, double unit, const QRectF& bounds,
                                 double maxHeight, const Hyphenation* hyphenation = nullptr);
// The same layout moved down by `dy`.
void shiftLayout(LabelLayout& layout, double dy);
void drawLabels(QPainter& p, const LabelLayout& layout);

}  // namespace chart::detail
