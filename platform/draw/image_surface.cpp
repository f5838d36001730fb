#include "platform/draw/image_surface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace draw {

ImageSurface::ImageSurface(double widthTwips, double heightTwips, int pixelsPerInch) {
    const auto pixel = [pixelsPerInch](double twips) {
        return std::max(1, static_cast<int>(std::ceil(twips * pixelsPerInch / 1440.0)));
    };
    m_image = QImage(pixel(widthTwips), pixel(heightTwips), QImage::Format_RGB32);
    const int perMetre = static_cast<int>(std::lround(pixelsPerInch / 0.0254));
    m_image.setDotsPerMeterX(perMetre);
    m_image.setDotsPerMeterY(perMetre);
    m_image.fill(color(BackColor()));
}

ImageSurface::~ImageSurface() {
    if (m_painter) m_painter->end();
}

QPainter& ImageSurface::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, true);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    return *m_painter;
}

QImage ImageSurface::image() {
    // Everything drawn is in the pixels once the painter lets go of them.
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    return m_image;
}

}  // namespace draw
