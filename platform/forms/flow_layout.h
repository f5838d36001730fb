#pragma once

// A row of widgets that goes on in a further row where the width runs out, as a toolbar of many
// buttons must on a narrow screen or with a large font: the window never grows past the screen.

#include <QLayout>
#include <QList>

namespace forms {

class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 2);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return anordnen(QRect(0, 0, width, 0), false); }
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rows within `rect` (only measures when `setzen` is false); returns the
    // height used.
    int anordnen(const QRect& rect, bool setzen) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
};

}  // namespace forms
