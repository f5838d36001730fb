#include "platform/draw/picture_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QMouseEvent>
#include <QResizeEvent>

#include "platform/host/handler_errors.h"
#include "platform/vb/error.h"

#include <cmath>

namespace draw {

namespace {
constexpr int kDotsPerMeter96 = 3780;  // 96 dpi: 15 twips per pixel
constexpr double kTwipsPerPixel = 15.0;

QImage blankImage(QSize size, const QColor& ground) {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    img.fill(ground);
    return img;
}
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setFont(FontSpec{"MS Sans Serif", 8.25, false, false, false});
    setForeColor(static_cast<int32_t>(0x80000012u));           // button text
    Surface::setBackColor(static_cast<int32_t>(0x8000000Fu));  // button face
    m_image = blankImage(QWidget::size(), color(BackColor()));
}

PictureBox::~PictureBox() {
    if (m_painter) m_painter->end();
}

QSize PictureBox::sizeHint() const { return m_image.size(); }

void PictureBox::setSizeTwips(double width, double height) {
    resize(std::max(0, static_cast<int>(std::lround(width / kTwipsPerPixel))),
           std::max(0, static_cast<int>(std::lround(height / kTwipsPerPixel))));
    ensureImageCovers(QWidget::size());
}

namespace {
int toPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
}  // namespace

double PictureBox::Left() const { return x() * kTwipsPerPixel; }
double PictureBox::Top() const { return y() * kTwipsPerPixel; }
void PictureBox::setLeft(double twips) { move(toPixels(twips), y()); }
void PictureBox::setTop(double twips) { move(x(), toPixels(twips)); }

void PictureBox::Move(double left, double top, std::optional<double> width, std::optional<double> height) {
    move(toPixels(left), toPixels(top));
    if (width || height) setSizeTwips(width.value_or(Width()), height.value_or(Height()));
}

void PictureBox::SetFocus() {
    if (!isVisible() || !isEnabled()) throw vb::Error(vb::err::InvalidProcedureCall);
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (GotFocus) forms::runHandler(GotFocus);
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (LostFocus) forms::runHandler(LostFocus);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    // Also for clicks the program sends itself: the page is drawn when the box gets the focus.
    if (event->button() == Qt::LeftButton && (focusPolicy() & Qt::ClickFocus) && !hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && Click)
        forms::runHandler(Click);
}

QPainter& PictureBox::painter() {
    ensureImageCovers(QWidget::size());
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    }
    return *m_painter;
}

void PictureBox::drawn() { update(); }

void PictureBox::ensureImageCovers(const QSize& wanted) {
    if (m_image.width() >= wanted.width() && m_image.height() >= wanted.height()) return;
    QImage bigger = blankImage(m_image.size().expandedTo(wanted), color(BackColor()));
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    QPainter p(&bigger);
    p.drawImage(0, 0, m_image);
    p.end();
    m_image = std::move(bigger);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    ensureImageCovers(event->size());
    QWidget::resizeEvent(event);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (m_painter) {
        // Finish pending drawing so that the widget shows all of it; the next drawing starts anew.
        m_painter->end();
        m_painter.reset();
    }
    QPainter p(this);
    p.drawImage(event->rect(), m_image, event->rect());
}

void PictureBox::paintBackground() {
    QPainter& p = painter();
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(m_image.size())), color(BackColor()));
    if (!m_picture.isNull())
        m_picture.draw(p,
                       QRectF(0, 0, m_picture.widthTwips() / kTwipsPerPixel, m_picture.heightTwips() / kTwipsPerPixel));
}

void PictureBox::setBackColor(int32_t c) {
    // As with the original control, a new back colour clears the picture box.
    Surface::setBackColor(c);
    Cls();
}

void PictureBox::Cls() {
    paintBackground();
    clearLog();
    homePosition();
    drawn();
}

void PictureBox::setPicture(const draw::Picture& picture) {
    m_picture = picture;
    if (m_autoSize && !picture.isNull()) setSizeTwips(picture.widthTwips(), picture.heightTwips());
    paintBackground();
    drawn();
}

void PictureBox::setAutoSize(bool on) {
    m_autoSize = on;
    if (on && !m_picture.isNull()) setSizeTwips(m_picture.widthTwips(), m_picture.heightTwips());
}

draw::Picture PictureBox::Image() const {
    const QSize s = QWidget::size().boundedTo(m_image.size()).expandedTo(QSize(1, 1));
    // A painter on an image draws straight into its pixels: the copy holds everything drawn.
    return draw::Picture::fromImage(m_image.copy(QRect(QPoint(0, 0), s)));
}

void PictureBox::RenderControl(QWidget& control) {
    if (!control.testAttribute(Qt::WA_WState_Polished)) control.ensurePolished();
    QPainter& p = painter();
    control.render(&p, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    drawn();
}

void PictureBox::SavePicture(const std::string& path) const { draw::SavePicture(Image(), path); }

void PictureBox::LoadPicture(const std::string& path) { setPicture(draw::LoadPicture(path)); }

}  // namespace draw
