#include "install/tool/pictures.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "platform/draw/metafile_writer.h"

namespace install {

namespace {

// The enneagram drawn as a list of strokes and dots in a square of `size` units, so that the
// metafiles and the bitmaps show the same figure.
struct Stroke {
    std::vector<std::pair<double, double>> points;
    uint32_t colour;  // 0x00BBGGRR
    int width;
};
struct Dot {
    double x, y, r;
    uint32_t colour;
};
struct Figure {
    std::vector<Stroke> strokes;
    std::vector<Dot> dots;
    double circleCx, circleCy, circleR;
    uint32_t circleColour;
};

constexpr uint32_t bgr(int r, int g, int b) { return static_cast<uint32_t>(r | (g << 8) | (b << 16)); }

struct Scheme {
    const char* name;
    uint32_t circle, triangle, hexad, points, digits;
};

// "bunt" gives every part of the figure its own colour; the others draw in shades of one colour.
const Scheme kSchemes[] = {
    {"blau", bgr(0, 0, 160), bgr(0, 70, 200), bgr(40, 110, 230), bgr(0, 0, 120), bgr(0, 0, 120)},
    {"gelb", bgr(200, 160, 0), bgr(230, 190, 0), bgr(250, 210, 40), bgr(160, 120, 0), bgr(140, 100, 0)},
    {"bunt", bgr(0, 0, 160), bgr(200, 0, 0), bgr(0, 150, 0), bgr(230, 130, 0), bgr(90, 0, 120)},
    {"orange", bgr(220, 110, 0), bgr(255, 140, 0), bgr(255, 165, 60), bgr(180, 80, 0), bgr(160, 70, 0)},
    {"violett", bgr(110, 0, 140), bgr(140, 40, 180), bgr(170, 90, 210), bgr(90, 0, 110), bgr(80, 0, 100)},
    {"braun", bgr(120, 70, 20), bgr(150, 90, 40), bgr(180, 120, 70), bgr(100, 55, 15), bgr(90, 50, 10)},
    {"rot", bgr(180, 0, 0), bgr(220, 30, 30), bgr(240, 80, 80), bgr(150, 0, 0), bgr(130, 0, 0)},
    {"hellgrün", bgr(90, 200, 60), bgr(120, 220, 90), bgr(150, 235, 120), bgr(60, 170, 40), bgr(50, 150, 30)},
    {"grün", bgr(0, 110, 0), bgr(0, 140, 30), bgr(40, 170, 60), bgr(0, 90, 0), bgr(0, 80, 0)},
};

// Digits as strokes of a seven-segment figure (no font needed, so the metafile stays within
// the records every reader knows). Segments: a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle.
const char* kSegments[10] = {"", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"};

void addDigit(Figure& f, int digit, double cx, double cy, double h, uint32_t colour, int width) {
    double w = h * 0.55, x0 = cx - w / 2, x1 = cx + w / 2, y0 = cy - h / 2, ym = cy, y1 = cy + h / 2;
    for (const char* s = kSegments[digit]; *s; ++s) {
        std::pair<double, double> p, q;
        switch (*s) {
        case 'a': p = {x0, y0}, q = {x1, y0}; break;
        case 'b': p = {x1, y0}, q = {x1, ym}; break;
        case 'c': p = {x1, ym}, q = {x1, y1}; break;
        case 'd': p = {x0, y1}, q = {x1, y1}; break;
        case 'e': p = {x0, ym}, q = {x0, y1}; break;
        case 'f': p = {x0, y0}, q = {x0, ym}; break;
        default: p = {x0, ym}, q = {x1, ym}; break;
        }
        f.strokes.push_back({{p, q}, colour, width});
    }
}

// With `digits` each point carries its number just outside the circle. The enneagram window's
// symbol goes without them: the window writes the type names beside the points itself, and its
// bars stand just where the digits would.
Figure enneagram(const Scheme& s, double size, bool digits) {
    Figure f;
    double c = size / 2, r = size * 0.37, lw = size / 170;
    f.circleCx = c, f.circleCy = c, f.circleR = r, f.circleColour = s.circle;
    // Point 9 at the top, the others clockwise at 40 degrees each.
    auto point = [&](int k, double radius) {
        double a = (-90.0 + 40.0 * (k % 9)) * M_PI / 180.0;
        return std::pair<double, double>{c + radius * std::cos(a), c + radius * std::sin(a)};
    };
    f.strokes.push_back({{point(3, r), point(6, r), point(9, r), point(3, r)}, s.triangle, int(lw * 1.4)});
    f.strokes.push_back(
        {{point(1, r), point(4, r), point(2, r), point(8, r), point(5, r), point(7, r), point(1, r)}, s.hexad, int(lw)});
    for (int k = 1; k <= 9; ++k) {
        auto [x, y] = point(k, r);
        f.dots.push_back({x, y, size / 45, s.points});
        if (!digits) continue;
        auto [dx, dy] = point(k, r + size * 0.065);
        addDigit(f, k, dx, dy, size * 0.05, s.digits, std::max(1, int(lw)));
    }
    return f;
}

void toMetafile(const Figure& f, int16_t size, uint16_t unitsPerInch, const std::string& path) {
    draw::MetafileWriter w(size, size, unitsPerInch);
    auto i16 = [](double v) { return static_cast<int16_t>(std::lround(v)); };
    int hollow = w.createBrush(draw::MetafileWriter::BrushNull, 0);
    w.selectObject(hollow);
    int pen = w.createPen(draw::MetafileWriter::PenSolid, std::max(1, size / 120), f.circleColour);
    w.selectObject(pen);
    w.ellipse(i16(f.circleCx - f.circleR), i16(f.circleCy - f.circleR), i16(f.circleCx + f.circleR),
              i16(f.circleCy + f.circleR));
    w.deleteObject(pen);
    for (auto& s : f.strokes) {
        pen = w.createPen(draw::MetafileWriter::PenSolid, s.width, s.colour);
        w.selectObject(pen);
        // Single lines rather than one polyline: some readers fill an open polyline.
        w.moveTo(i16(s.points[0].first), i16(s.points[0].second));
        for (std::size_t i = 1; i < s.points.size(); ++i) w.lineTo(i16(s.points[i].first), i16(s.points[i].second));
        w.deleteObject(pen);
    }
    for (auto& d : f.dots) {
        pen = w.createPen(draw::MetafileWriter::PenSolid, 1, d.colour);
        int brush = w.createBrush(draw::MetafileWriter::BrushSolid, d.colour);
        w.selectObject(pen);
        w.selectObject(brush);
        w.ellipse(i16(d.x - d.r), i16(d.y - d.r), i16(d.x + d.r), i16(d.y + d.r));
        w.selectObject(hollow);
        w.deleteObject(brush);
        w.deleteObject(pen);
    }
    w.save(path);
}

QColor qcolour(uint32_t bgrValue) { return QColor(bgrValue & 0xFF, (bgrValue >> 8) & 0xFF, (bgrValue >> 16) & 0xFF); }

void paint(QPainter& p, const Figure& f, double dx, double dy) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(qcolour(f.circleColour), std::max(1.0, f.circleR / 60)));
    p.drawEllipse(QPointF(f.circleCx + dx, f.circleCy + dy), f.circleR, f.circleR);
    for (auto& s : f.strokes) {
        p.setPen(QPen(qcolour(s.colour), std::max(1, s.width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t i = 1; i < s.points.size(); ++i)
            p.drawLine(QPointF(s.points[i - 1].first + dx, s.points[i - 1].second + dy),
                       QPointF(s.points[i].first + dx, s.points[i].second + dy));
    }
    for (auto& d : f.dots) {
        p.setPen(Qt::NoPen);
        p.setBrush(qcolour(d.colour));
        p.drawEllipse(QPointF(d.x + dx, d.y + dy), d.r, d.r);
    }
}

void saveBmp(QImage image, const std::string& path) {
    image.setDotsPerMeterX(3780);  // 96 dpi, whatever screen the build runs on
    image.setDotsPerMeterY(3780);
    if (!image.save(QString::fromStdString(path), "BMP")) throw std::runtime_error(path + ": cannot be written");
}

}  // namespace

void writeSymbolMetafiles(const std::string& folder) {
    // 1000 units on 292 units per inch make the 4932-twip square the enneagram window shows.
    for (auto& s : kSchemes) toMetafile(enneagram(s, 1000, false), 1000, 292, folder + "/zuv_symb_" + s.name + ".wmf");
}

void writeBitmaps(const std::string& folder) {
    const Scheme& blue = kSchemes[0];
    QImage header(240, 240, QImage::Format_RGB32);
    header.fill(Qt::white);
    {
        QPainter p(&header);
        paint(p, enneagram(blue, 240, true), 0, 0);
    }
    saveBmp(header, folder + "/zuv_symb_druckkopf.bmp");

    // The splash shows the multicoloured symbol on a light ground; its texts are labels of the window.
    QImage splash(480, 300, QImage::Format_RGB32);
    splash.fill(QColor(245, 242, 232));
    {
        QPainter p(&splash);
        p.fillRect(0, 0, 480, 12, QColor(0, 0, 120));
        p.fillRect(0, 288, 480, 12, QColor(0, 0, 120));
        paint(p, enneagram(kSchemes[2], 270, true), 105, 15);
    }
    saveBmp(splash, folder + "/zuv_splash.bmp");
}

}  // namespace install
