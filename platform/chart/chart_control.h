#pragma once

// The chart control as a window shows it: a Chart that fills the control and repaints with it,
// and the element events a double-click raises (the element under the pointer decides which).
// A handler's error is shown, never thrown into the event loop.

#include <QWidget>

#include <functional>
#include <vector>

#include "platform/chart/chart.h"
#include "platform/chart/chart_render.h"

namespace chart {

class ChartControl : public QWidget, public Chart {
    Q_OBJECT
public:
    explicit ChartControl(QWidget* parent = nullptr);

    // Paints the control again after its chart was changed.
    void Refresh();
    // The element at a point of the control as it is painted now.
    Hit elementAt(const QPointF& point) const;
    // What a double-click at that point does: the element's event, with its arguments.
    void activate(const QPointF& point);

    std::function<void()> ChartActivated;
    std::function<void()> TitleActivated;
    std::function<void()> FootnoteActivated;
    std::function<void()> LegendActivated;
    std::function<void()> PlotActivated;
    std::function<void(int axisId, int axisIndex, int labelSetIndex, int labelIndex)> AxisLabelActivated;
    std::function<void(int axisId, int axisIndex)> AxisTitleActivated;
    std::function<void(int series)> SeriesActivated;

    QSize sizeHint() const override { return {640, 480}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    std::vector<detail::Region> m_regions;
    QSize m_regionsFor;
};

}  // namespace chart
