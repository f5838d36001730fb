#include "platform/chart/chart.h"

#include <QPainter>

#include <algorithm>

#include "platform/chart/chart_render.h"
#include "platform/vb/error.h"

namespace chart {

bool is3d(int t) {
    return t == VtChChartType3dBar || t == VtChChartType3dLine || t == VtChChartType3dArea || t == VtChChartType3dStep;
}

bool isLine(int t) { return t == VtChChartType2dLine || t == VtChChartType3dLine; }

void Colour::Set(int red, int green, int blue) {
    Red = std::clamp(red, 0, 255);
    Green = std::clamp(green, 0, 255);
    Blue = std::clamp(blue, 0, 255);
}

LabelSet& AxisSpec::Labels(int index) {
    if (index != 1) throw vb::Error(vb::err::SubscriptOutOfRange);
    return m_labels;
}

const LabelSet& AxisSpec::Labels(int index) const { return const_cast<AxisSpec*>(this)->Labels(index); }

PointSpec& SeriesSpec::DataPoints(int index) {
    if (index != -1) throw vb::Error(vb::err::SubscriptOutOfRange);
    return m_allPoints;
}

const PointSpec& SeriesSpec::DataPoints(int index) const { return const_cast<SeriesSpec*>(this)->DataPoints(index); }

PlotSpec::PlotSpec() {
    Backdrop.Fill.Brush.FillColor.Set(255, 255, 255);
    for (auto& a : m_axes) {
        a.Pen.VtColor.Set(0, 0, 0);
        a.AxisGrid.MajorPen.VtColor.Set(192, 192, 192);
    }
    // A fresh control shows no grid on the second value axis: it would only repeat the value
    // axis' lines. Its line and labels are there until the settings take them away.
    m_axes[VtChAxisIdY2].AxisGrid.MajorPen.Style = VtPenStyleNull;
}

AxisSpec& PlotSpec::Axis(int axisId, int index) {
    if (axisId < 0 || axisId > 2 || index != 1) throw vb::Error(vb::err::SubscriptOutOfRange);
    return m_axes[axisId];
}

const AxisSpec& PlotSpec::Axis(int axisId, int index) const { return const_cast<PlotSpec*>(this)->Axis(axisId, index); }

SeriesSpec& PlotSpec::SeriesCollection(int index) {
    if (index < 1 || index > SeriesCount()) throw vb::Error(vb::err::SubscriptOutOfRange);
    return m_series[index - 1];
}

const SeriesSpec& PlotSpec::SeriesCollection(int index) const {
    return const_cast<PlotSpec*>(this)->SeriesCollection(index);
}

void PlotSpec::resizeSeries(int count) {
    const int before = SeriesCount();
    m_series.resize(std::max(0, count));
    for (int n = before + 1; n <= count; ++n) {
        SeriesSpec& s = m_series[n - 1];
        const Colour c = Chart::defaultSeriesColour(n);
        s.Pen.VtColor = c;
        s.Pen.Width = 30;
        s.DataPoints(-1).Brush.FillColor = c;
    }
}

std::string DataGridSpec::RowLabel(int row, int labelIndex) const {
    if (labelIndex != 1 || row < 1 || row > RowCount()) return {};
    return m_labels[row - 1];
}

void DataGridSpec::setRowLabel(int row, int labelIndex, const std::string& text) {
    if (labelIndex != 1 || row < 1 || row > RowCount()) return;
    m_labels[row - 1] = text;
}

double DataGridSpec::Data(int row, int column) const {
    if (row < 1 || row > RowCount() || column < 1 || column > m_columns) return 0;
    const auto& r = m_values[row - 1];
    return column <= static_cast<int>(r.size()) ? r[column - 1] : 0;
}

Chart::Chart() {
    Backdrop.Fill.Brush.FillColor.Set(255, 255, 255);
    Title.VtFont.Size = 12;
    setChartData(std::vector<std::vector<double>>{});
}

Colour Chart::defaultSeriesColour(int n) {
    static const int palette[][3] = {{0, 0, 255},     {255, 0, 0},   {0, 160, 0},   {255, 165, 0},
                                     {128, 0, 128},   {0, 128, 128}, {128, 64, 0},  {255, 0, 255},
                                     {128, 128, 128}, {0, 128, 255}, {160, 160, 0}, {96, 96, 160}};
    const auto& p = palette[(std::max(n, 1) - 1) % 12];
    Colour c;
    c.Set(p[0], p[1], p[2]);
    return c;
}

void Chart::setChartData(const std::vector<std::vector<double>>& rows) {
    int columns = 0;
    for (const auto& r : rows) columns = std::max(columns, static_cast<int>(r.size()));
    DataGrid.m_values = rows;
    for (auto& r : DataGrid.m_values) r.resize(columns, 0.0);
    DataGrid.m_columns = columns;
    DataGrid.m_labels.resize(rows.size());
    Plot.resizeSeries(columns);
    if (Row < 1 || Row > std::max(1, DataGrid.RowCount())) Row = 1;
}

void Chart::setChartData(const std::vector<std::vector<int16_t>>& rows) {
    std::vector<std::vector<double>> d;
    d.reserve(rows.size());
    for (const auto& r : rows) d.emplace_back(r.begin(), r.end());
    setChartData(d);
}

void Chart::setChartData(const std::vector<int16_t>& values) {
    setChartData(std::vector<std::vector<double>>{std::vector<double>(values.begin(), values.end())});
}

void Chart::paint(QPainter& painter, const QRectF& target) const {
    detail::Renderer r(*this, painter, target);
    r.run();
    m_layoutLog = r.placed();
}

QImage Chart::toImage(const QSize& size) const {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paint(p, QRectF(QPointF(0, 0), QSizeF(img.size())));
    p.end();
    return img;
}

Hit Chart::hitTest(const QPointF& point, const QSize& size) const {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&img);
    detail::Renderer r(*this, p, QRectF(QPointF(0, 0), QSizeF(img.size())));
    r.run();
    p.end();
    return detail::hitAt(r.regions(), point);
}

}  // namespace chart
