#include "platform/chart/chart_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/forms/control.h"

namespace chart {

ChartControl::ChartControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void ChartControl::Refresh() { update(); }

void ChartControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    detail::Renderer r(*this, p, QRectF(rect()));
    r.run();
    // Only the widget's own painting is kept for the mouse: a grab into another device (a
    // picture box, the clipboard) paints at the same size and would give the same regions.
    if (p.device() == this) {
        m_regions = r.regions();
        m_regionsFor = size();
    }
}

Hit ChartControl::elementAt(const QPointF& point) const {
    if (m_regionsFor == size() && !m_regions.empty()) return detail::hitAt(m_regions, point);
    return hitTest(point, size());
}

void ChartControl::activate(const QPointF& point) {
    const Hit h = elementAt(point);
    switch (h.element) {
    case Hit::Title: forms::fire(TitleActivated); break;
    case Hit::Footnote: forms::fire(FootnoteActivated); break;
    case Hit::Legend: forms::fire(LegendActivated); break;
    case Hit::Plot: forms::fire(PlotActivated); break;
    case Hit::AxisLabel: forms::fire(AxisLabelActivated, h.axisId, 1, 1, 1); break;
    case Hit::AxisTitle: forms::fire(AxisTitleActivated, h.axisId, 1); break;
    case Hit::Series: forms::fire(SeriesActivated, h.series); break;
    case Hit::Chart: forms::fire(ChartActivated); break;
    }
}

void ChartControl::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) activate(e->position());
    e->accept();
}

}  // namespace chart
