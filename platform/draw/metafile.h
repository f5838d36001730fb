#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QRectF>

class QPainter;

namespace draw {

// Plays a Windows metafile (with or without the placeable header) into a rectangle of a
// QPainter. It knows the records that simple vector pictures use: window origin and extent,
// pens, brushes, fonts, object selection and deletion, move/line, polylines, polygons,
// ellipses, rectangles, background mode, text colour and text output. Other records are
// passed over, as a viewer of such files does.
//
// The file is checked whole when it is loaded, so drawing never meets a broken record.
class Metafile {
public:
    // vb::Error 53 when the file is missing, 481 when it is not a readable metafile.
    static Metafile load(const std::string& path);
    static Metafile fromBytes(const std::vector<uint8_t>& data);  // 481 when not readable

    // The picture's logical frame (from the placeable header, else from the window extent).
    QRectF frame() const { return m_frame; }
    // Natural size in twips: the placeable header's units per inch, else 1440 units per inch.
    double widthTwips() const;
    double heightTwips() const;

    // Draws the whole picture scaled into `target` (in the painter's coordinates).
    void draw(QPainter& painter, const QRectF& target) const;
    // The picture on a white (or given) ground, `size` pixels large.
    QImage toImage(QSize size, QColor ground = Qt::white) const;

private:
    struct Record {
        uint16_t function = 0;
        std::vector<int16_t> params;
    };
    std::vector<Record> m_records;
    QRectF m_frame;
    int m_unitsPerInch = 1440;
    int m_objectCount = 0;
};

}  // namespace draw
