#include "platform/forms/flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace forms {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), m_spacing(spacing) {}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { m_items.append(item); }

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

QSize FlowLayout::minimumSize() const {
    // As narrow as the widest single item: everything else can go into further rows.
    QSize s;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty()) s = s.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return s + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
    // One row, as wide as all items side by side.
    int w = 0, h = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty()) continue;
        const QSize s = item->sizeHint();
        w += (w > 0 ? m_spacing : 0) + s.width();
        h = std::max(h, s.height());
    }
    const QMargins m = contentsMargins();
    return {w + m.left() + m.right(), h + m.top() + m.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    anordnen(rect, true);
}

int FlowLayout::anordnen(const QRect& rect, bool setzen) const {
    const QMargins m = contentsMargins();
    const QRect innen = rect.adjusted(m.left(), m.top(), -m.right(), -m.bottom());
    int x = innen.x(), y = innen.y(), zeilenhoehe = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty()) continue;
        const QSize s = item->sizeHint();
        if (x > innen.x() && x + s.width() > innen.right() + 1) {
            x = innen.x();
            y += zeilenhoehe + m_spacing;
            zeilenhoehe = 0;
        }
        if (setzen) item->setGeometry(QRect(QPoint(x, y), s));
        x += s.width() + m_spacing;
        zeilenhoehe = std::max(zeilenhoehe, s.height());
    }
    return y + zeilenhoehe - rect.y() + m.bottom();
}

}  // namespace forms
