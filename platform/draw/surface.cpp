#include "platform/draw/surface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "platform/draw/fonts.h"
#include "platform/vb/c_number.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"

namespace draw {

namespace {
constexpr double kEpsilon = 1e-6;
constexpr int kZoneColumns = 14;

// Replaces the C decimal point and drops a lone leading zero, as the language prints numbers.
std::string languageNumber(std::string s) {
    for (char& c : s)
        if (c == '.') c = vb::decimalSeparator();
        else if (c == 'e') c = 'E';
    const char sep = vb::decimalSeparator();
    if (s.size() > 1 && s[0] == '0' && s[1] == sep) s.erase(0, 1);
    else if (s.size() > 2 && s[0] == '-' && s[1] == '0' && s[2] == sep) s.erase(1, 1);
    return s;
}

std::vector<QString> splitLines(const QString& text) {
    std::vector<QString> lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    return lines;
}
}  // namespace

// ---- Items ---------------------------------------------------------------------------------

std::string Num::text() const {
    std::string digits;
    bool negative = false;
    if (isInteger) {
        negative = integer < 0;
        digits = std::to_string(integer < 0 ? -static_cast<unsigned long long>(integer)
                                            : static_cast<unsigned long long>(integer));
    } else {
        negative = std::signbit(real) && real != 0;
        digits = languageNumber(vb::gText(std::fabs(real), single ? 7 : 15));
    }
    return (negative ? "-" : " ") + digits + " ";
}

Item::Item(const vb::Variant& v) {
    using T = vb::Variant::Type;
    switch (v.type()) {
    case T::Empty: break;
    case T::Null: m_text = "Null"; break;
    case T::Integer:
    case T::Long: m_text = Num(static_cast<long long>(v.toLong())).text(); break;
    case T::Single: m_text = Num(v.toSingle()).text(); break;
    case T::Double: m_text = Num(v.toDouble()).text(); break;
    case T::Boolean: m_text = v.toBool() ? "Wahr" : "Falsch"; break;
    default: m_text = v.toString(); break;
    }
}

// ---- Surface -------------------------------------------------------------------------------

Surface::Surface() = default;
Surface::~Surface() = default;

double Surface::dpiX() const { return metricsDevice().logicalDpiX(); }
double Surface::dpiY() const { return metricsDevice().logicalDpiY(); }

double Surface::pxPerUnit(bool across) const {
    if (m_scaleMode == 0) {
        const double user = across ? m_userWidth : m_userHeight;
        if (user == 0) return 1.0;
        const QSizeF page = pagePixels();
        return (across ? page.width() : page.height()) / user;
    }
    if (m_scaleMode == 3) return 1.0;
    const double dpi = across ? dpiX() : dpiY();
    switch (m_scaleMode) {
    case 2: return dpi / 72.0;
    case 5: return dpi;
    case 6: return dpi / 25.4;
    case 7: return dpi / 2.54;
    default: return dpi / 1440.0;
    }
}

void Surface::setScaleMode(int mode) {
    if (mode < 0 || mode > 7 || mode == 4) throw vb::Error(vb::err::InvalidPropertyValue);
    if (mode == 0) {
        // Keep the present scale as the scale of one's own.
        m_userWidth = ScaleWidth();
        m_userHeight = ScaleHeight();
    } else {
        m_scaleLeft = m_scaleTop = 0;
    }
    m_scaleMode = mode;
}

double Surface::ScaleWidth() const { return m_scaleMode == 0 ? m_userWidth : pagePixels().width() / pxPerUnitX(); }
double Surface::ScaleHeight() const { return m_scaleMode == 0 ? m_userHeight : pagePixels().height() / pxPerUnitY(); }

void Surface::setScaleWidth(double v) {
    if (v == 0) throw vb::Error(vb::err::InvalidPropertyValue);
    if (m_scaleMode != 0) m_userHeight = ScaleHeight();
    m_userWidth = v;
    m_scaleMode = 0;
}

void Surface::setScaleHeight(double v) {
    if (v == 0) throw vb::Error(vb::err::InvalidPropertyValue);
    if (m_scaleMode != 0) m_userWidth = ScaleWidth();
    m_userHeight = v;
    m_scaleMode = 0;
}

double Surface::CurrentX() const { return m_x / pxPerUnitX() + m_scaleLeft; }
void Surface::setCurrentX(double x) { m_x = toPxX(x); }
double Surface::CurrentY() const { return m_y / pxPerUnitY() + m_scaleTop; }
void Surface::setCurrentY(double y) { m_y = toPxY(y); }
void Surface::homePosition() {
    m_x = toPxX(0);
    m_y = toPxY(0);
}

// ---- Fonts ---------------------------------------------------------------------------------

const QFont& Surface::qfont() const {
    if (!m_qfont) m_qfont = makeFont(m_font.name, m_font.size, m_font.bold, m_font.italic, m_font.underline);
    return *m_qfont;
}

void Surface::setFont(const FontSpec& f) {
    if (!(f.size > 0)) throw vb::Error(vb::err::InvalidPropertyValue);
    m_font = f;
    m_qfont.reset();
}
void Surface::setFont(const std::string& name, double size, bool bold, bool italic) {
    FontSpec f = m_font;
    f.name = name;
    f.size = size;
    f.bold = bold;
    f.italic = italic;
    setFont(f);
}
void Surface::setFontName(const std::string& v) {
    m_font.name = v;
    m_qfont.reset();
}
void Surface::setFontSize(double v) {
    if (!(v > 0)) throw vb::Error(vb::err::InvalidPropertyValue);
    m_font.size = v;
    m_qfont.reset();
}
void Surface::setFontBold(bool v) {
    m_font.bold = v;
    m_qfont.reset();
}
void Surface::setFontItalic(bool v) {
    m_font.italic = v;
    m_qfont.reset();
}
void Surface::setFontUnderline(bool v) {
    m_font.underline = v;
    m_qfont.reset();
}

void Surface::setDrawWidth(int w) {
    if (w < 1) throw vb::Error(vb::err::InvalidPropertyValue);
    m_drawWidth = w;
}

// ---- Text measures -------------------------------------------------------------------------
//
// A picture of 96 dpi rounds a font to whole pixels, which makes a line of text some per cent
// wider or narrower than on paper. A preview therefore measures on the device it previews and
// converts to its own pixels; everything that places text goes through these measures.

void Surface::setPreviewOf(const Surface* page) { m_previewOf = page == this ? nullptr : page; }

QSizeF Surface::pagePixels() const {
    if (!m_previewOf) return pageSizePixels();
    return QSizeF(m_previewOf->Width() * dpiX() / 1440.0, m_previewOf->Height() * dpiY() / 1440.0);
}

const QPaintDevice& Surface::layoutDevice() const { return m_previewOf ? m_previewOf->metricsDevice() : metricsDevice(); }
double Surface::layoutScaleX() const { return m_previewOf ? dpiX() / layoutDevice().logicalDpiX() : 1.0; }
double Surface::layoutScaleY() const { return m_previewOf ? dpiY() / layoutDevice().logicalDpiY() : 1.0; }

double Surface::advancePx(const QFontMetricsF& fm, const QString& text) const {
    return fm.horizontalAdvance(text) * layoutScaleX();
}
double Surface::lineHeightPx() const { return QFontMetricsF(qfont(), &layoutDevice()).lineSpacing() * layoutScaleY(); }
double Surface::avgCharPx() const { return QFontMetricsF(qfont(), &layoutDevice()).averageCharWidth() * layoutScaleX(); }

double Surface::TextWidth(const std::string& text) const {
    const QFontMetricsF fm(qfont(), &layoutDevice());
    double widest = 0;
    for (const QString& line : splitLines(QString::fromStdString(text))) widest = std::max(widest, advancePx(fm, line));
    return toUnitsW(widest);
}

double Surface::TextHeight(const std::string& text) const {
    const auto lines = splitLines(QString::fromStdString(text));
    return toUnitsH(lineHeightPx() * static_cast<double>(lines.size()));
}

double Surface::averageCharWidth() const { return toUnitsW(avgCharPx()); }

double Surface::Width() const { return pagePixels().width() * 1440.0 / dpiX(); }
double Surface::Height() const { return pagePixels().height() * 1440.0 / dpiY(); }

QColor Surface::color(int32_t c) const {
    const auto u = static_cast<uint32_t>(c);
    if (u & 0x80000000u) {
        // System colours, in the classic light scheme.
        switch (u & 0xFF) {
        case 0x05: return QColor(255, 255, 255);  // window
        case 0x0F:
        case 0x16: return QColor(240, 240, 240);  // button face
        case 0x10: return QColor(160, 160, 160);  // button shadow
        case 0x11: return QColor(109, 109, 109);  // grey text
        case 0x0D: return QColor(0, 120, 215);    // highlight
        case 0x0E:
        case 0x14: return QColor(255, 255, 255);  // highlight text, 3-D light
        case 0x18: return QColor(255, 255, 225);  // info background
        default: return QColor(0, 0, 0);          // texts and frames
        }
    }
    return QColor(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
}

// ---- Print ---------------------------------------------------------------------------------

void Surface::Print(std::initializer_list<Item> items, LineEnd end) { Print(std::vector<Item>(items), end); }

void Surface::Print(const std::vector<Item>& items, LineEnd end) {
    for (const Item& item : items) {
        switch (item.kind()) {
        case Item::Kind::Tab: {
            const double target = (std::max(item.n(), 1) - 1) * avgCharPx();
            if (m_x > target + kEpsilon) endLine();
            m_x = target;
            break;
        }
        case Item::Kind::Zone: {
            const double zone = kZoneColumns * avgCharPx();
            if (zone > 0) m_x = (std::floor(m_x / zone + kEpsilon) + 1) * zone;
            break;
        }
        case Item::Kind::Spc:
            if (item.n() > 0) m_x += advancePx(QFontMetricsF(qfont(), &layoutDevice()), QStringLiteral(" ")) * item.n();
            break;
        case Item::Kind::Text: printText(item.text()); break;
        }
    }
    if (end == LineEnd::Newline) endLine();
}

void Surface::endLine() {
    m_x = 0;  // the left edge: ScaleLeft
    m_y += lineHeightPx();
}

void Surface::printText(const std::string& text) {
    const auto lines = splitLines(QString::fromStdString(text));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) endLine();
        if (!lines[i].isEmpty()) drawPiece(lines[i]);
    }
}

void Surface::drawPiece(const QString& piece) {
    const QFont& f = qfont();
    const QFontMetricsF fm(f, &layoutDevice());
    const double width = advancePx(fm, piece);
    QPainter& p = painter();
    p.save();
    p.setPen(color(m_foreColor));
    if (!m_previewOf) {
        p.setFont(f);
        drawRuns(p, fm, piece, QPointF(m_x, m_y));
    } else {
        // Drawn in the previewed device's pixels and scaled down: the font takes the size in
        // pixels it has there, so the glyphs fill the width the line was laid out with.
        QFont there = f;
        there.setPointSizeF(f.pointSizeF() * layoutDevice().logicalDpiY() / dpiY());
        p.translate(m_x, m_y);
        p.scale(layoutScaleX(), layoutScaleY());
        p.setFont(there);
        drawRuns(p, fm, piece, QPointF(0, 0));
    }
    p.restore();

    LogEntry e;
    e.doc = m_doc;
    e.page = m_page;
    e.x = m_x * 1440.0 / dpiX();
    e.y = m_y * 1440.0 / dpiY();
    e.width = width * 1440.0 / dpiX();
    e.text = piece.toStdString();
    e.fontName = m_font.name;
    e.fontSize = m_font.size;
    e.bold = m_font.bold;
    e.italic = m_font.italic;
    e.underline = m_font.underline;
    e.color = m_foreColor;
    m_log.push_back(std::move(e));

    m_x += width;
    drawn();
}

// Rules are printed as rows of macrons (U+00AF); the stand-in fonts leave a gap between two of
// them, so a row of them is drawn as one bar of the macron's height and the row's width.
void Surface::drawRuns(QPainter& p, const QFontMetricsF& fm, const QString& piece, QPointF origin) const {
    const QChar macron(0x00AF);
    const double baseline = origin.y() + fm.ascent();
    double x = origin.x();
    qsizetype i = 0;
    while (i < piece.size()) {
        qsizetype j = i;
        const bool rule = piece[i] == macron;
        while (j < piece.size() && (piece[j] == macron) == rule) ++j;
        const QString run = piece.mid(i, j - i);
        const double w = fm.horizontalAdvance(run);
        if (rule && run.size() > 1) {
            const QRectF glyph = fm.boundingRect(macron);
            p.fillRect(QRectF(x, baseline + glyph.top(), w, std::max(glyph.height(), 1.0)), p.pen().color());
        } else {
            p.drawText(QPointF(x, baseline), run);
        }
        x += w;
        i = j;
    }
}

std::vector<std::string> Surface::pageLines(int page, int doc) const {
    std::vector<const LogEntry*> entries;
    for (const LogEntry& e : m_log)
        if (e.page == page && e.doc == doc) entries.push_back(&e);
    std::stable_sort(entries.begin(), entries.end(), [](const LogEntry* a, const LogEntry* b) {
        const long ya = std::lround(a->y), yb = std::lround(b->y);
        return ya != yb ? ya < yb : a->x < b->x;
    });
    std::vector<std::string> lines;
    long lastY = 0;
    double lastEnd = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const LogEntry& e = *entries[i];
        const long y = std::lround(e.y);
        if (i == 0 || y != lastY) {
            lines.push_back(e.text);
        } else {
            if (e.x > lastEnd + 1.0) lines.back() += ' ';
            lines.back() += e.text;
        }
        lastY = y;
        lastEnd = e.x + e.width;
    }
    return lines;
}

// ---- Graphics ------------------------------------------------------------------------------

QPen Surface::linePen(int32_t c) const {
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    QPen pen(color(c == -1 ? m_foreColor : c));
    pen.setWidthF(m_drawWidth);
    // Patterned lines exist only one pixel wide, as on the original device.
    pen.setStyle(m_drawWidth > 1 && m_drawStyle >= 1 && m_drawStyle <= 4 ? Qt::SolidLine
                                                                         : styles[std::clamp(m_drawStyle, 0, 6)]);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush Surface::fillBrush() const {
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (m_fillStyle < 0 || m_fillStyle > 7) return Qt::NoBrush;
    return QBrush(color(m_fillColor), styles[m_fillStyle]);
}

void Surface::Line(double x1, double y1, double x2, double y2, int32_t c, bool box, bool filled) {
    QPainter& p = painter();
    p.save();
    const QPointF a(toPxX(x1), toPxY(y1)), b(toPxX(x2), toPxY(y2));
    if (box) {
        const QRectF r = QRectF(a, b).normalized();
        if (filled) {
            p.fillRect(r, color(c == -1 ? m_foreColor : c));
        } else {
            p.setBrush(fillBrush());
            p.setPen(linePen(c));
            p.drawRect(r);
        }
    } else {
        p.setPen(linePen(c));
        p.drawLine(a, b);
    }
    p.restore();
    m_x = b.x();
    m_y = b.y();
    drawn();
}

void Surface::Circle(double x, double y, double radius, int32_t c, std::optional<double> start, std::optional<double> end,
                     double aspect) {
    if (!(aspect > 0)) aspect = 1.0;
    const QPointF centre(toPxX(x), toPxY(y));
    // The radius is measured along the longer axis.
    double rx = radius * pxPerUnitX(), ry = radius * pxPerUnitX();
    if (aspect < 1) ry = rx * aspect;
    else rx = ry / aspect;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    const QRectF rect(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);

    QPainter& p = painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(linePen(c));
    if (!start && !end) {
        p.setBrush(fillBrush());
        p.drawEllipse(rect);
    } else {
        const double s = start.value_or(0), e = end.value_or(2 * M_PI);
        const double sa = std::fabs(s), ea = std::fabs(e);
        double span = ea - sa;
        if (span <= 0) span += 2 * M_PI;
        const int qs = static_cast<int>(std::lround(sa * 180.0 / M_PI * 16));
        const int qspan = static_cast<int>(std::lround(span * 180.0 / M_PI * 16));
        if (s < 0 && e < 0) {
            p.setBrush(fillBrush());
            p.drawPie(rect, qs, qspan);
        } else {
            p.drawArc(rect, qs, qspan);
            auto rim = [&](double a) { return QPointF(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a)); };
            if (s < 0) p.drawLine(centre, rim(sa));
            if (e < 0) p.drawLine(centre, rim(ea));
        }
    }
    p.restore();
    m_x = centre.x();
    m_y = centre.y();
    drawn();
}

void Surface::PaintPicture(const Picture& picture, double x, double y, std::optional<double> w, std::optional<double> h) {
    if (picture.isNull())
        throw vb::Error(vb::err::InvalidPicture, vb::errorDescription(vb::err::InvalidPicture) + ": kein Bild geladen");
    const double wPx = w ? *w * pxPerUnitX() : picture.widthTwips() * dpiX() / 1440.0;
    const double hPx = h ? *h * pxPerUnitY() : picture.heightTwips() * dpiY() / 1440.0;
    QRectF target(toPxX(x), toPxY(y), wPx, hPx);
    QPainter& p = painter();
    p.save();
    // A negative width or height mirrors the picture.
    if (wPx < 0 || hPx < 0) {
        p.translate(target.center());
        p.scale(wPx < 0 ? -1 : 1, hPx < 0 ? -1 : 1);
        target = QRectF(-std::fabs(wPx) / 2, -std::fabs(hPx) / 2, std::fabs(wPx), std::fabs(hPx));
    }
    picture.draw(p, target);
    p.restore();
    drawn();
}

// ---- Pages ---------------------------------------------------------------------------------

void Surface::Cls() {
    QPainter& p = painter();
    p.fillRect(QRectF(QPointF(0, 0), pagePixels()), color(m_backColor));
    m_log.clear();
    homePosition();
    drawn();
}

void Surface::NewPage() {
    throw vb::Error(vb::err::NoSuchPropertyOrMethod, "Objekt unterstützt diese Eigenschaft oder Methode nicht");
}
void Surface::EndDoc() {
    throw vb::Error(vb::err::NoSuchPropertyOrMethod, "Objekt unterstützt diese Eigenschaft oder Methode nicht");
}
void Surface::KillDoc() {
    throw vb::Error(vb::err::NoSuchPropertyOrMethod, "Objekt unterstützt diese Eigenschaft oder Methode nicht");
}

}  // namespace draw
