#pragma once

// The chart control: an object model with the element names the chart windows use (ChartType,
// Plot.SeriesCollection(i), Plot.Axis(id), Backdrop, Title, Legend, Footnote, DataGrid …) and a
// QPainter renderer for 2-D and 3-D bar, line, area and step charts and the pie. A chart paints
// into any device (a window, an image, a printer, a PDF file) and tells which of its elements lies
// under a point, so that a double-click reaches the element's handler.
//
// Units: font sizes in points; pen widths in twips (15 twips = one pixel at 96 dpi, 0 = the
// thinnest line the device draws); colour parts 0 to 255 (values outside are clamped).

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QPainter;

namespace chart {

// ---------------------------------------------------------------- constants

inline constexpr int VtChChartType3dBar = 0;
inline constexpr int VtChChartType2dBar = 1;
inline constexpr int VtChChartType3dLine = 2;
inline constexpr int VtChChartType2dLine = 3;
inline constexpr int VtChChartType3dArea = 4;
inline constexpr int VtChChartType2dArea = 5;
inline constexpr int VtChChartType3dStep = 6;
inline constexpr int VtChChartType2dStep = 7;
inline constexpr int VtChChartType2dPie = 14;

inline constexpr int VtChAxisIdX = 0;
inline constexpr int VtChAxisIdY = 1;
inline constexpr int VtChAxisIdY2 = 2;

inline constexpr int VtPenStyleNull = 0;
inline constexpr int VtPenStyleSolid = 1;

inline constexpr int VtFontStyleBold = 1;
inline constexpr int VtFontStyleItalic = 2;

inline constexpr int VtFillStyleNull = 0;
inline constexpr int VtFillStyleBrush = 1;
inline constexpr int VtBrushStyleNull = 0;
inline constexpr int VtBrushStyleSolid = 1;

inline constexpr int VtChScaleTypeLinear = 0;
inline constexpr int VtChScaleTypeLogarithmic = 1;
inline constexpr int VtChScaleTypePercent = 2;
inline constexpr int VtChPercentAxisBasisMaxChart = 0;

// True for the types drawn in three dimensions.
bool is3d(int chartType);
// True for the two line types, whose series are coloured by their pen.
bool isLine(int chartType);

// ---------------------------------------------------------------- elements

struct Colour {
    int Red = 0, Green = 0, Blue = 0;
    void Set(int red, int green, int blue);
    QColor toQColor() const { return QColor(Red, Green, Blue); }
};

// Style: 0 regular, VtFontStyleBold and/or VtFontStyleItalic.
struct Font {
    std::string Name = "Arial";
    float Size = 9;
    int Style = 0;
    Colour VtColor;
};

// Style VtPenStyleNull draws nothing.
struct LinePen {
    int Style = VtPenStyleSolid;
    float Width = 0;
    Colour VtColor;
};

struct BrushSpec {
    int Style = VtBrushStyleSolid;
    Colour FillColor;
};

struct FillSpec {
    int Style = VtFillStyleBrush;
    BrushSpec Brush;
};

struct BackdropSpec {
    FillSpec Fill;
};

// Title, footnote and an axis' title.
struct TextBlock {
    std::string Text;
    Font VtFont;
};

struct LegendSpec {
    Font VtFont;
};

struct ScaleSpec {
    int Type = VtChScaleTypeLinear;
    double LogBase = 10;
    int PercentBasis = VtChPercentAxisBasisMaxChart;
};

using AxisTitleSpec = TextBlock;

// The labels of an axis. Hide leaves them out (their place stays free).
struct LabelSet {
    Font VtFont;
    bool Hide = false;
};

struct GridSpec {
    LinePen MajorPen;
};

class AxisSpec {
public:
    ScaleSpec AxisScale;
    AxisTitleSpec AxisTitle;
    LinePen Pen;
    GridSpec AxisGrid;
    // The one label set of the axis (index 1); error 9 for any other index.
    LabelSet& Labels(int index);
    const LabelSet& Labels(int index) const;

private:
    LabelSet m_labels;
};

struct PointSpec {
    BrushSpec Brush;
};

struct MarkerSpec {
    bool Show = false;
};

class SeriesSpec {
public:
    std::string LegendText;  // a series without one has no legend entry
    LinePen Pen;
    MarkerSpec SeriesMarker;
    // DataPoints(-1): the look of all points of the series (the only index the windows use;
    // error 9 for any other).
    PointSpec& DataPoints(int index);
    const PointSpec& DataPoints(int index) const;

private:
    PointSpec m_allPoints;
};

struct View3dSpec {
    float Rotation = 30;   // degrees about the vertical axis
    float Elevation = 20;  // degrees above the floor, 0 to 90
};

struct LightSpec {
    float AmbientIntensity = 0.7f;  // 0 to 1
    float EdgeIntensity = 0.5f;     // brightness of the edges against their faces, 0 to 1
    bool EdgeVisible = true;
};

class PlotSpec {
public:
    PlotSpec();
    BackdropSpec Backdrop;
    View3dSpec View3d;
    LightSpec Light;
    // Gap between bar clusters in bar widths (0 to 10).
    float xGap = 1;

    // VtChAxisIdX, VtChAxisIdY or VtChAxisIdY2, index 1; error 9 otherwise.
    AxisSpec& Axis(int axisId, int index = 1);
    const AxisSpec& Axis(int axisId, int index = 1) const;
    // Series 1 .. SeriesCount(); error 9 otherwise.
    SeriesSpec& SeriesCollection(int index);
    const SeriesSpec& SeriesCollection(int index) const;
    int SeriesCount() const { return static_cast<int>(m_series.size()); }

private:
    friend class Chart;
    void resizeSeries(int count);
    std::array<AxisSpec, 3> m_axes;
    std::vector<SeriesSpec> m_series;
};

// The values: rows are the categories (or the pies), columns the series (or the slices).
class DataGridSpec {
public:
    int RowCount() const { return static_cast<int>(m_values.size()); }
    int ColumnCount() const { return m_columns; }
    // Label level 1 of a row; rows outside the grid read "" and are not written.
    std::string RowLabel(int row, int labelIndex) const;
    void setRowLabel(int row, int labelIndex, const std::string& text);
    // Rows and columns from 1; 0 outside the grid.
    double Data(int row, int column) const;

private:
    friend class Chart;
    std::vector<std::vector<double>> m_values;
    std::vector<std::string> m_labels;
    int m_columns = 0;
};

// Which element lies at a point.
struct Hit {
    enum Element { Chart, Title, Footnote, Legend, Plot, AxisLabel, AxisTitle, Series };
    Element element = Chart;
    int axisId = 0;  // AxisLabel, AxisTitle
    int series = 0;  // Series: 1-based
    bool operator==(const Hit&) const = default;
};

// A text the chart placed when it was last painted: the category labels and the legend's entries,
// so that their layout can be checked without reading pixels.
struct PlacedText {
    enum Kind { CategoryLabel, LegendEntry };
    Kind kind = CategoryLabel;
    int index = 0;                   // the row or the series, from 1
    std::string text;                // as the chart holds it
    std::vector<std::string> lines;  // as placed; a line ending in "-" was hyphenated there
    QPolygonF outline;               // the area the text covers, in the painter's units
    double angle = 0;                // degrees the text rises to the right; 0 is level
    double fontSize = 0;             // points
};

class Chart {
public:
    Chart();

    int ChartType = VtChChartType2dBar;
    bool ShowLegend = false;
    bool Stacking = false;
    // The current row, whose label RowLabel reads and writes.
    int Row = 1;
    BackdropSpec Backdrop;
    TextBlock Title;
    TextBlock Footnote;
    LegendSpec Legend;
    PlotSpec Plot;
    DataGridSpec DataGrid;

    // ChartData: rows × series. The series count follows the array; series that stay keep
    // their look, new ones get the default colours. Row labels of rows that stay are kept.
    void setChartData(const std::vector<std::vector<int16_t>>& rowsBySeries);
    // A one-dimensional array: one row whose values are the series (a pie with one slice each).
    void setChartData(const std::vector<int16_t>& values);
    void setChartData(const std::vector<std::vector<double>>& rowsBySeries);

    std::string TitleText() const { return Title.Text; }
    void setTitleText(const std::string& t) { Title.Text = t; }
    std::string FootnoteText() const { return Footnote.Text; }
    void setFootnoteText(const std::string& t) { Footnote.Text = t; }
    std::string RowLabel() const { return DataGrid.RowLabel(Row, 1); }
    void setRowLabel(const std::string& t) { DataGrid.setRowLabel(Row, 1, t); }

    // Paints the whole chart into `target` (device units of the painter).
    void paint(QPainter& painter, const QRectF& target) const;
    // The labels and legend entries of the last painting (paint, toImage, a window's repaint);
    // a label left out for want of room is not listed.
    const std::vector<PlacedText>& layoutLog() const { return m_layoutLog; }
    // The chart drawn alone into an image of that size (96 dpi).
    QImage toImage(const QSize& size) const;
    // The element under `point` when the chart is painted at `size` (96 dpi).
    Hit hitTest(const QPointF& point, const QSize& size) const;

    // The colour series n (1-based) gets when it is made.
    static Colour defaultSeriesColour(int n);

private:
    mutable std::vector<PlacedText> m_layoutLog;
};

}  // namespace chart
