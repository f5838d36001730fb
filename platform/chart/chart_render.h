#pragma once

// Inside the chart control: the painter that lays a chart out and draws it, keeping for each
// element the area it covers, so that a point can be traced back to its element.

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>
#include <QPainterPath>

#include <string>
#include <vector>

#include "platform/chart/chart.h"
#include "platform/chart/label_layout.h"

namespace chart::detail {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }


struct Region {
    QPainterPath path;
    Hit hit;
};

// The element under a point: the one painted last wins.
Hit hitAt(const std::vector<Region>& regions, const QPointF& point);

// The value axis: range, ticks and the mapping of a value onto 0 (bottom) .. 1 (top).
struct ValueScale {
    int type = VtChScaleTypeLinear;
    double min = 0, max = 1, step = 1;
    double logBase = 10;
    double percentBasis = 1;  // values are shown as value / basis * 100
    std::vector<double> ticks;

    // The shown value of a stored one (percent of the basis on a percent scale).
    double shown(double v) const;
    // Place of a shown value, 0 .. 1, clamped.
    double place(double shownValue) const;
    // Where bars and areas start from: 0, or the bottom on a logarithmic scale.
    double baseline() const;
    std::string label(double tick) const;
};

// For each row and series the stretch a bar or area covers (shown values), stacked or not.
struct Stretch {
    double lo = 0, hi = 0;
};

class Renderer {
public:
    Renderer(const Chart& chart, QPainter& painter, const QRectF& target);
    void run();
    const std::vector<Region>& regions() const { return m_regions; }
    const std::vector<PlacedText>& placed() const { return m_placed; }

private:
    // ---- common
    double px(double v) const { return v * m_unit; }
    QFont font(const Font& f) const;
    QColor seriesColour(int series) const;  // 1-based, pen for lines, fill otherwise
    QPen pen(const LinePen& p) const;
    void region(const QPainterPath& path, Hit hit);
    void region(const QRectF& r, Hit hit);
    void region(const QPolygonF& shape, Hit hit);
    void drawTextBlock(const TextBlock& t, bool top);
    void drawLegend();
    void buildScale(double plotHeight, double labelHeight);
    // The widest tick label of a value axis' label set; 0 when the set is hidden.
    double labelWidth(const LabelSet& set) const;
    // The plot's backdrop over `r`, which is the plot's place for the mouse.
    void drawPlotBackdrop(const QRectF& r);
    // The category labels hung from their anchors (one per row), within the chart sideways and
    // at most a third of the plot's place deep.
    LabelLayout categoryLabels(const std::vector<QPointF>& anchors, const QFont& f) const;
    // Draws them, logs them and makes them the category axis' labels for the mouse.
    void drawCategoryLabels(const LabelLayout& l);
    void drawMarker(const QPointF& at, int series);
    // The category axis' title, centred on `centreX` at the bottom of the plot's place.
    void drawAxisTitle(double centreX);

    // ---- the kinds of chart
    void drawPies();
    void drawCartesian2d();
    void drawCartesian3d();

    const Chart& m_chart;
    QPainter& m_p;
    QRectF m_target;
    QRectF m_area;  // what is left for the plot once title, footnote and legend are placed
    double m_unit = 1;
    int m_type = VtChChartType2dBar;
    int m_rows = 0, m_series = 0;
    ValueScale m_scale;
    std::vector<std::vector<Stretch>> m_stretch;  // [row][series]
    std::vector<Region> m_regions;
    std::vector<PlacedText> m_placed;
};

}  // namespace chart::detail
