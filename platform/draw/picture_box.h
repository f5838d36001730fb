#pragma once

#include <QImage>
#include <functional>
#include <optional>
#include <QWidget>

#include "platform/draw/picture.h"
#include "platform/draw/surface.h"

namespace draw {

// A picture box that keeps what is drawn on it (the persistent image): every drawing goes into
// a backing image and the widget only shows that image, so covering, hiding, scrolling or
// resizing the window never loses a line. The image can be saved whole, also the parts that
// are scrolled out of view. It works hidden as well (the preview's page picture).
//
// Sizes: 15 twips per pixel (96 dpi), the screen measure the programs count with. The backing
// image grows with the box and keeps its contents when the box shrinks again.
class PictureBox : public QWidget, public Surface {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    using Surface::setFont;  // the surface's font; the widget's own stays QWidget::setFont

    // Size of the box in twips.
    void setSizeTwips(double width, double height);
    // Place and size within the parent in twips (the box's Width and Height are the surface's).
    double Left() const;
    double Top() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips) { setSizeTwips(twips, Height()); }
    void setHeight(double twips) { setSizeTwips(Width(), twips); }
    void Move(double left, double top, std::optional<double> width = {}, std::optional<double> height = {});
    bool Visible() const { return !isHidden(); }

    // The background picture (Picture property): shown at the top left, under all drawing;
    // setting it clears the drawing, Cls brings it back. With AutoSize the box takes its size.
    draw::Picture Picture() const { return m_picture; }
    void setPicture(const draw::Picture& picture);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    // The programs switch AutoRedraw on before drawing and capturing. This box keeps every drawing
    // in its image whatever the setting, so switching it off loses nothing; the flag is only kept.
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool on) { m_autoRedraw = on; }

    // The persistent image at the box's present size (Image property).
    draw::Picture Image() const;

    // A control paints itself into the persistent image at the top left, whole and at its own
    // size, even where it is covered or off screen (the chart and the answer grid are saved so).
    void RenderControl(QWidget& control);

    // Writes the Image as a Windows bitmap (24 bits); errors as draw::SavePicture.
    void SavePicture(const std::string& path) const;
    // Loads a picture file into the Picture property; errors as draw::LoadPicture.
    void LoadPicture(const std::string& path);

    // Focus and the mouse, as the evaluation window draws its page when the box gets the focus:
    // a click on the box gives it the focus, as does the Tab key. SetFocus raises 5 when the box
    // is hidden or disabled. An error in a handler is shown, never thrown into the event loop.
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void()> Click;
    void SetFocus();

    void setBackColor(int32_t c) override;
    void Cls() override;

    QSize sizeHint() const override;

protected:
    const QPaintDevice& metricsDevice() const override { return m_image; }
    QSizeF pageSizePixels() const override { return QSizeF(size()); }
    QPainter& painter() override;
    void drawn() override;

    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensureImageCovers(const QSize& size);
    void paintBackground();

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    draw::Picture m_picture;
    bool m_autoSize = false;
    bool m_autoRedraw = false;
};

}  // namespace draw
