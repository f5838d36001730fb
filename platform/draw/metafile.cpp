#include "platform/draw/metafile.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <optional>

#include "platform/draw/fonts.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace draw {

namespace {

enum : uint16_t {
    kEof = 0x0000,
    kSaveDC = 0x001E,
    kSetBkColor = 0x0201,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDeleteObject = 0x01F0,
    kCreatePen = 0x02FA,
    kCreateFont = 0x02FB,
    kCreateBrush = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
    kPolyPolygon = 0x0538,
    kExtTextOut = 0x0A32,
};

[[noreturn]] void invalid(const std::string& why) {
    throw vb::Error(vb::err::InvalidPicture, vb::errorDescription(vb::err::InvalidPicture) + " (" + why + ")");
}

uint16_t word(const std::vector<uint8_t>& d, size_t at) { return static_cast<uint16_t>(d[at] | (d[at + 1] << 8)); }
uint32_t dword(const std::vector<uint8_t>& d, size_t at) {
    return word(d, at) | (static_cast<uint32_t>(word(d, at + 2)) << 16);
}

QColor colorOf(int16_t low, int16_t high) {
    const uint32_t c = static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Bytes stored in 16-bit parameters, low byte first.
QString textOf(const std::vector<int16_t>& p, size_t first, size_t count) {
    QString s;
    for (size_t i = 0; i < count; ++i) {
        const uint16_t v = static_cast<uint16_t>(p[first + i / 2]);
        const unsigned char ch = static_cast<unsigned char>((i % 2) ? (v >> 8) : (v & 0xFF));
        s += QChar(ch);  // the symbol pictures carry Latin text only
    }
    return s;
}

// Minimal parameter count a record needs before it can be played.
std::optional<size_t> minimalParams(uint16_t f) {
    switch (f) {
    case kSetBkMode:
    case kSetMapMode:
    case kSetPolyFillMode:
    case kSelectObject:
    case kDeleteObject:
    case kSetTextAlign:
    case kRestoreDC: return 1;
    case kSetBkColor:
    case kSetTextColor:
    case kSetWindowOrg:
    case kSetWindowExt:
    case kLineTo:
    case kMoveTo: return 2;
    case kCreatePen: return 5;
    case kCreateBrush: return 4;
    case kCreateFont: return 9;
    case kPolygon:
    case kPolyline:
    case kTextOut:
    case kPolyPolygon: return 1;
    case kEllipse:
    case kRectangle: return 4;
    case kExtTextOut: return 4;
    default: return std::nullopt;
    }
}

bool paramsFit(uint16_t f, const std::vector<int16_t>& p) {
    const auto need = minimalParams(f);
    if (!need) return true;
    if (p.size() < *need) return false;
    switch (f) {
    case kPolygon:
    case kPolyline: return p[0] >= 0 && p.size() >= 1 + 2 * static_cast<size_t>(p[0]);
    case kTextOut: return p[0] >= 0 && p.size() >= 1 + (static_cast<size_t>(p[0]) + 1) / 2 + 2;
    case kExtTextOut: {
        if (p[2] < 0) return false;
        const size_t rect = (p[3] & 0x0006) ? 4 : 0;
        return p.size() >= 4 + rect + (static_cast<size_t>(p[2]) + 1) / 2;
    }
    case kPolyPolygon: {
        if (p[0] < 0 || p.size() < 1 + static_cast<size_t>(p[0])) return false;
        size_t points = 0;
        for (int i = 0; i < p[0]; ++i) {
            if (p[1 + i] < 0) return false;
            points += static_cast<size_t>(p[1 + i]);
        }
        return p.size() >= 1 + static_cast<size_t>(p[0]) + 2 * points;
    }
    default: return true;
    }
}

struct GdiObject {
    enum Kind { None, Pen, Brush, Font } kind = None;
    QPen pen;
    QBrush brush;
    QFont font;
    bool nullPen = false;
};

struct State {
    QPen pen{Qt::black, 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
    QBrush brush{Qt::white};
    QFont font;
    QColor textColor{Qt::black};
    QColor bkColor{Qt::white};
    bool transparent = false;
    Qt::FillRule fill = Qt::OddEvenFill;
    int textAlign = 0;
    QPointF org;
    QSizeF ext;
    QPointF pos;
};

}  // namespace

Metafile Metafile::load(const std::string& path) {
    const std::string p = files::resolve(path);
    QFile file(QString::fromStdString(p));
    if (!QFileInfo::exists(file.fileName()) || QFileInfo(file.fileName()).isDir())
        throw vb::Error(vb::err::FileNotFound, vb::errorDescription(vb::err::FileNotFound) + ": " + p);
    files::refuseHeldFile(p);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(vb::err::InvalidPicture, vb::errorDescription(vb::err::InvalidPicture) + ": " + p);
    const QByteArray bytes = file.readAll();
    return fromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

Metafile Metafile::fromBytes(const std::vector<uint8_t>& d) {
    Metafile m;
    size_t at = 0;
    std::optional<QRectF> placeable;
    if (d.size() >= 22 && dword(d, 0) == 0x9AC6CDD7u) {
        const auto l = static_cast<int16_t>(word(d, 6)), t = static_cast<int16_t>(word(d, 8));
        const auto r = static_cast<int16_t>(word(d, 10)), b = static_cast<int16_t>(word(d, 12));
        placeable = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
        const uint16_t inch = word(d, 14);
        m.m_unitsPerInch = inch ? inch : 1440;
        at = 22;
    }
    if (d.size() < at + 18) invalid("zu kurz");
    const uint16_t type = word(d, at), headerWords = word(d, at + 2);
    if ((type != 1 && type != 2) || headerWords != 9) invalid("kein Metafile");
    m.m_objectCount = word(d, at + 12);
    at += 18;

    std::optional<QPointF> org;
    std::optional<QSizeF> ext;
    bool ended = false;
    while (at + 6 <= d.size()) {
        const uint32_t words = dword(d, at);
        const uint16_t function = word(d, at + 4);
        if (words < 3 || words > (d.size() - at) / 2) invalid("Datensatz beschädigt");
        if (function == kEof) {
            ended = true;
            break;
        }
        Record rec;
        rec.function = function;
        for (uint32_t i = 3; i < words; ++i) rec.params.push_back(static_cast<int16_t>(word(d, at + 2 * i)));
        if (!paramsFit(function, rec.params)) invalid("Datensatz beschädigt");
        if (function == kSetWindowOrg && !org) org = QPointF(rec.params[1], rec.params[0]);
        if (function == kSetWindowExt && !ext) ext = QSizeF(rec.params[1], rec.params[0]);
        m.m_records.push_back(std::move(rec));
        at += 2 * static_cast<size_t>(words);
    }
    if (!ended && at != d.size()) invalid("Dateiende fehlt");

    if (placeable) {
        m.m_frame = *placeable;
    } else if (ext) {
        const QPointF o = org.value_or(QPointF());
        m.m_frame = QRectF(o, *ext).normalized();
    }
    if (m.m_frame.width() <= 0 || m.m_frame.height() <= 0) invalid("ohne Größe");
    return m;
}

double Metafile::widthTwips() const { return m_frame.width() * 1440.0 / m_unitsPerInch; }
double Metafile::heightTwips() const { return m_frame.height() * 1440.0 / m_unitsPerInch; }

void Metafile::draw(QPainter& painter, const QRectF& target) const {
    if (target.isEmpty()) return;
    painter.save();
    const QTransform base = painter.transform();
    painter.setRenderHint(QPainter::Antialiasing, true);

    State s;
    s.org = m_frame.topLeft();
    s.ext = m_frame.size();
    std::vector<State> saved;
    std::vector<GdiObject> objects(static_cast<size_t>(std::max(m_objectCount, 0)));

    auto applyTransform = [&] {
        if (s.ext.width() == 0 || s.ext.height() == 0) return;
        QTransform t;
        t.translate(target.x(), target.y());
        t.scale(target.width() / s.ext.width(), target.height() / s.ext.height());
        t.translate(-s.org.x(), -s.org.y());
        painter.setTransform(t * base);
    };
    auto applyTools = [&] {
        painter.setPen(s.pen);
        painter.setBrush(s.brush);
        painter.setBackgroundMode(s.transparent ? Qt::TransparentMode : Qt::OpaqueMode);
        painter.setBackground(s.bkColor);
    };
    auto store = [&](GdiObject obj) {
        for (GdiObject& slot : objects)
            if (slot.kind == GdiObject::None) {
                slot = std::move(obj);
                return;
            }
        objects.push_back(std::move(obj));
    };
    auto points = [](const std::vector<int16_t>& p, size_t first, int count) {
        QPolygonF poly;
        for (int i = 0; i < count; ++i) poly << QPointF(p[first + 2 * i], p[first + 2 * i + 1]);
        return poly;
    };
    auto drawText = [&](double x, double y, const QString& text) {
        painter.save();
        painter.setFont(s.font);
        painter.setPen(s.textColor);
        const QFontMetricsF fm(s.font);
        const double width = fm.horizontalAdvance(text);
        if ((s.textAlign & 6) == 6) x -= width / 2;
        else if (s.textAlign & 2) x -= width;
        if ((s.textAlign & 24) == 24) { /* baseline */
        } else if (s.textAlign & 8) y -= fm.descent();
        else y += fm.ascent();
        if (!s.transparent) painter.fillRect(QRectF(x, y - fm.ascent(), width, fm.height()), s.bkColor);
        painter.drawText(QPointF(x, y), text);
        painter.restore();
    };

    applyTransform();
    applyTools();
    for (const Record& r : m_records) {
        const std::vector<int16_t>& p = r.params;
        switch (r.function) {
        case kSaveDC: saved.push_back(s); break;
        case kRestoreDC:
            if (!saved.empty()) {
                s = saved.back();
                saved.pop_back();
                applyTransform();
                applyTools();
            }
            break;
        case kSetWindowOrg:
            s.org = QPointF(p[1], p[0]);
            applyTransform();
            break;
        case kSetWindowExt:
            s.ext = QSizeF(p[1], p[0]);
            applyTransform();
            break;
        case kSetBkMode:
            s.transparent = p[0] == 1;
            applyTools();
            break;
        case kSetBkColor:
            s.bkColor = colorOf(p[0], p[1]);
            applyTools();
            break;
        case kSetTextColor: s.textColor = colorOf(p[0], p[1]); break;
        case kSetPolyFillMode: s.fill = p[0] == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case kSetTextAlign: s.textAlign = p[0]; break;
        case kCreatePen: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            const int style = p[0] & 0x0F;
            static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                                  Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
            o.pen = QPen(colorOf(p[3], p[4]), std::max<int>(p[1], 0), style <= 6 ? styles[style] : Qt::SolidLine,
                         Qt::RoundCap, Qt::RoundJoin);
            if (p[1] <= 0) o.pen.setCosmetic(true);
            store(o);
            break;
        }
        case kCreateBrush: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            const QColor c = colorOf(p[1], p[2]);
            if (p[0] == 1) {
                o.brush = Qt::NoBrush;
            } else if (p[0] == 2) {
                static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                         Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
                o.brush = QBrush(c, (p[3] >= 0 && p[3] <= 5) ? hatches[p[3]] : Qt::SolidPattern);
            } else {
                o.brush = QBrush(c);
            }
            store(o);
            break;
        }
        case kCreateFont: {
            GdiObject o;
            o.kind = GdiObject::Font;
            const QString face = textOf(p, 9, 2 * (p.size() - 9)).section(QChar(0), 0, 0);
            o.font = QFont(QString::fromStdString(familyFor(face.toStdString())));
            o.font.setPixelSize(std::max(1, std::abs(static_cast<int>(p[0]))));
            o.font.setWeight(p[4] >= 600 ? QFont::Bold : QFont::Normal);
            o.font.setItalic((p[5] & 0xFF) != 0);
            o.font.setUnderline(((p[5] >> 8) & 0xFF) != 0);
            store(o);
            break;
        }
        case kSelectObject: {
            const int i = p[0];
            if (i < 0 || i >= static_cast<int>(objects.size())) break;
            const GdiObject& o = objects[static_cast<size_t>(i)];
            if (o.kind == GdiObject::Pen) s.pen = o.pen;
            else if (o.kind == GdiObject::Brush) s.brush = o.brush;
            else if (o.kind == GdiObject::Font) s.font = o.font;
            applyTools();
            break;
        }
        case kDeleteObject: {
            const int i = p[0];
            if (i >= 0 && i < static_cast<int>(objects.size())) objects[static_cast<size_t>(i)] = GdiObject{};
            break;
        }
        case kMoveTo: s.pos = QPointF(p[1], p[0]); break;
        case kLineTo: {
            const QPointF to(p[1], p[0]);
            painter.drawLine(s.pos, to);
            s.pos = to;
            break;
        }
        case kPolyline: painter.drawPolyline(points(p, 1, p[0])); break;
        case kPolygon: painter.drawPolygon(points(p, 1, p[0]), s.fill); break;
        case kPolyPolygon: {
            QPainterPath path;
            path.setFillRule(s.fill);
            size_t at = 1 + static_cast<size_t>(p[0]);
            for (int i = 0; i < p[0]; ++i) {
                const QPolygonF poly = points(p, at, p[1 + i]);
                path.addPolygon(poly);
                path.closeSubpath();
                at += 2 * static_cast<size_t>(p[1 + i]);
            }
            painter.drawPath(path);
            break;
        }
        case kEllipse: painter.drawEllipse(QRectF(QPointF(p[3], p[2]), QPointF(p[1], p[0])).normalized()); break;
        case kRectangle: painter.drawRect(QRectF(QPointF(p[3], p[2]), QPointF(p[1], p[0])).normalized()); break;
        case kTextOut: {
            const size_t n = static_cast<size_t>(p[0]);
            const size_t after = 1 + (n + 1) / 2;
            drawText(p[after + 1], p[after], textOf(p, 1, n));
            break;
        }
        case kExtTextOut: {
            const size_t first = 4 + ((p[3] & 0x0006) ? 4 : 0);
            drawText(p[1], p[0], textOf(p, first, static_cast<size_t>(p[2])));
            break;
        }
        default: break;  // mapping mode and records that do not draw
        }
    }
    painter.restore();
}

QImage Metafile::toImage(QSize size, QColor ground) const {
    QImage img(size, QImage::Format_RGB32);
    img.fill(ground);
    QPainter p(&img);
    draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    p.end();
    return img;
}

}  // namespace draw
