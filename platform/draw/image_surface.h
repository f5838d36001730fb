#pragma once

#include <QImage>

#include <memory>

#include "platform/draw/surface.h"

class QPainter;

namespace draw {

// A page drawn off screen into a bitmap of any resolution: the surface the programs print on when
// a page is drawn for paper rather than for the screen. Positions, fonts and text measures are
// those of the resolution given (a font of 10 points is 10 points high at that resolution), so a
// page drawn here looks as on paper and as sharp as its resolution. Sizes are in twips; the page
// starts in the back colour (white), and Cls fills it so again.
class ImageSurface : public Surface {
public:
    ImageSurface(double widthTwips, double heightTwips, int pixelsPerInch);
    ~ImageSurface() override;

    // The page as drawn so far, its resolution noted in it.
    QImage image();

protected:
    const QPaintDevice& metricsDevice() const override { return m_image; }
    QSizeF pageSizePixels() const override { return QSizeF(m_image.size()); }
    QPainter& painter() override;

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

}  // namespace draw
