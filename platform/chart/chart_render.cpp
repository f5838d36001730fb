#include "platform/chart/chart_render.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace chart::detail {

namespace {

constexpr double kMinFontPt = 4;
constexpr double kMaxFontPt = 72;

// 1, 2 or 5 times a power of ten, at least `raw`.
double niceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * mag >= raw * 0.999) return f * mag;
    return 10 * mag;
}

}  // namespace

Hit hitAt(const std::vector<Region>& regions, const QPointF& point) {
    for (auto it = regions.rbegin(); it != regions.rend(); ++it)
        if (it->path.contains(point)) return it->hit;
    return Hit{};
}

// ==================================================================== value scale

double ValueScale::shown(double v) const {
    if (type == VtChScaleTypePercent) return percentBasis > 0 ? v / percentBasis * 100.0 : 0.0;
    return v;
}

double ValueScale::place(double s) const {
    double t;
    if (type == VtChScaleTypeLogarithmic) {
        if (!(s > 0)) return 0;
        const double lb = std::log(logBase);
        t = (std::log(s) / lb - std::log(min) / lb) / (std::log(max) / lb - std::log(min) / lb);
    } else {
        t = (s - min) / (max - min);
    }
    if (!std::isfinite(t)) return 0;
    return std::clamp(t, 0.0, 1.0);
}

double ValueScale::baseline() const {
    if (type == VtChScaleTypeLogarithmic) return min;
    return std::clamp(0.0, min, max);
}

std::string ValueScale::label(double tick) const {
    static const QLocale de(QLocale::German, QLocale::Germany);
    int decimals = 0;
    if (type != VtChScaleTypeLogarithmic && step < 1)
        decimals = std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    if (type == VtChScaleTypeLogarithmic && tick < 1)
        decimals = std::min(6, static_cast<int>(std::ceil(-std::log10(tick) - 1e-9)));
    if (std::abs(tick) < 1e-12) tick = 0;
    QString s = de.toString(tick, 'f', decimals);
    s.remove(de.groupSeparator());
    if (type == VtChScaleTypePercent) s += " %";
    return s.toStdString();
}

// ==================================================================== renderer

Renderer::Renderer(const Chart& chart, QPainter& painter, const QRectF& target)
    : m_chart(chart), m_p(painter), m_target(target) {
    const QPaintDevice* dev = painter.device();
    m_unit = dev ? dev->logicalDpiX() / 96.0 : 1.0;
    if (!(m_unit > 0)) m_unit = 1;
    m_type = chart.ChartType;
    const bool known = m_type == VtChChartType2dPie || (m_type >= 0 && m_type <= 7);
    if (!known) m_type = VtChChartType2dBar;  // an unknown type is drawn as plain bars
    m_rows = chart.DataGrid.RowCount();
    m_series = chart.DataGrid.ColumnCount();
}

QFont Renderer::font(const Font& f) const {
    QFont q(qs(f.Name.empty() ? std::string("Arial") : f.Name));
    double size = f.Size;
    if (!(size > 0) || !std::isfinite(size)) size = 9;
    q.setPointSizeF(std::clamp(size, kMinFontPt, kMaxFontPt));
    q.setBold((f.Style & VtFontStyleBold) != 0);
    q.setItalic((f.Style & VtFontStyleItalic) != 0);
    return q;
}

QColor Renderer::seriesColour(int s) const {
    const SeriesSpec& reihe = m_chart.Plot.SeriesCollection(s);
    if (isLine(m_type)) return reihe.Pen.VtColor.toQColor();
    return reihe.DataPoints(-1).Brush.FillColor.toQColor();
}

QPen Renderer::pen(const LinePen& p) const {
    if (p.Style == VtPenStyleNull) return QPen(Qt::NoPen);
    const double w = std::max(1.0, static_cast<double>(p.Width) / 15.0);
    QPen q(p.VtColor.toQColor(), px(w));
    q.setCapStyle(Qt::FlatCap);
    return q;
}

void Renderer::region(const QPainterPath& path, Hit hit) { m_regions.push_back({path, hit}); }

void Renderer::region(const QRectF& r, Hit hit) {
    QPainterPath p;
    p.addRect(r);
    region(p, hit);
}

void Renderer::region(const QPolygonF& shape, Hit hit) {
    QPainterPath p;
    p.addPolygon(shape);
    p.closeSubpath();
    region(p, hit);
}

void Renderer::run() {
    m_p.save();
    m_p.setRenderHint(QPainter::Antialiasing, true);
    m_p.setRenderHint(QPainter::TextAntialiasing, true);
    m_p.setClipRect(m_target);

    const BackdropSpec& bd = m_chart.Backdrop;
    const QColor back = bd.Fill.Style == VtFillStyleNull || bd.Fill.Brush.Style == VtBrushStyleNull
                            ? QColor(Qt::white)
                            : bd.Fill.Brush.FillColor.toQColor();
    m_p.fillRect(m_target, back);
    region(m_target, Hit{Hit::Chart});

    const double m = px(8);
    m_area = m_target.adjusted(m, m, -m, -m);
    drawTextBlock(m_chart.Title, true);
    drawTextBlock(m_chart.Footnote, false);
    if (m_chart.ShowLegend && m_series > 0) drawLegend();
    if (m_area.width() < px(20)) m_area.setWidth(px(20));
    if (m_area.height() < px(20)) m_area.setHeight(px(20));

    if (m_type == VtChChartType2dPie) drawPies();
    else if (is3d(m_type)) drawCartesian3d();
    else drawCartesian2d();
    m_p.restore();
}

void Renderer::drawTextBlock(const TextBlock& t, bool top) {
    if (t.Text.empty()) return;
    const QFont f = font(t.VtFont);
    const QFontMetricsF fm(f, m_p.device());
    // A line break in the text starts a new line. A text wider than the chart wraps between words
    // and only a word wider than the chart is cut: a title that names a person with a long name
    // keeps the test date after it whole, a footnote every value a pie leaves out.
    QStringList zeilen;
    for (const QString& absatz : qs(t.Text).split('\n')) {
        if (fm.horizontalAdvance(absatz) <= m_area.width()) {
            zeilen.push_back(absatz);
            continue;
        }
        QString zeile;
        for (const QString& wort : absatz.split(' ')) {
            const QString laenger = zeile.isEmpty() ? wort : zeile + ' ' + wort;
            if (!zeile.isEmpty() && fm.horizontalAdvance(laenger) > m_area.width()) {
                zeilen.push_back(zeile);
                zeile = wort;
            } else {
                zeile = laenger;
            }
        }
        zeilen.push_back(zeile);
    }
    const double h = fm.height();
    const double hoehe = h * zeilen.size();
    const double oben = top ? m_area.top() : m_area.bottom() - hoehe;
    m_p.setFont(f);
    m_p.setPen(t.VtFont.VtColor.toQColor());
    QRectF alles;
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString text = fm.elidedText(zeilen[i], Qt::ElideRight, m_area.width());
        const double w = fm.horizontalAdvance(text);
        const double x = top ? m_area.center().x() - w / 2 : m_area.left();
        const QRectF r(x, oben + i * h, w, h);
        m_p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
        alles = alles.isNull() ? r : alles.united(r);
    }
    region(alles.adjusted(-px(3), -px(2), px(3), px(2)), Hit{top ? Hit::Title : Hit::Footnote});
    if (top) m_area.setTop(m_area.top() + hoehe + px(8));
    else m_area.setBottom(m_area.bottom() - hoehe - px(6));
}

void Renderer::drawLegend() {
    // A series without a legend text has no entry (the empty slices of a short pie).
    std::vector<int> eintraege;
    for (int s = 1; s <= m_series; ++s)
        if (!m_chart.Plot.SeriesCollection(s).LegendText.empty()) eintraege.push_back(s);
    if (eintraege.empty()) return;
    auto text = [this](int s) { return qs(m_chart.Plot.SeriesCollection(s).LegendText).trimmed(); };
    const QFont basis = font(m_chart.Legend.VtFont);
    const double pad = px(5);
    // Narrow, for the plot needs the rest: an entry too long wraps, in a smaller font when it would
    // not fit in four lines or the height there is.
    double wort = 0;
    {
        const QFontMetricsF fm(basis, m_p.device());
        for (int s : eintraege)
            for (const QString& w : text(s).split(' ', Qt::SkipEmptyParts))
                wort = std::max(wort, fm.horizontalAdvance(w));
        wort += pad * 3 + fm.height() * (isLine(m_type) ? 1.6 : 0.8);
    }
    // A quarter of the width, or up to a third where that keeps every word whole.
    const double maxW = std::max({px(60), m_area.width() * 0.25, std::min(wort, m_area.width() / 3)});
    QFont f = basis;
    std::vector<QStringList> zeilen;
    double textW = 0;
    bool passt = false;
    const double basePt = basis.pointSizeF();
    const double minPt = basePt > 7 ? std::max(7.0, basePt * 0.7) : basePt;
    for (double pt = basePt; !passt && pt > minPt - 0.25; pt -= 0.5) {
        f.setPointSizeF(std::max(pt, minPt));
        const QFontMetricsF fm(f, m_p.device());
        const double sw = fm.height() * (isLine(m_type) ? 1.6 : 0.8);
        const double raum = maxW - pad * 3 - sw;
        zeilen.clear();
        textW = 0;
        double h = pad * 2;
        passt = true;
        for (int s : eintraege) {
            const QString t = text(s);
            auto z = fm.horizontalAdvance(t) <= raum ? std::optional<QStringList>(QStringList{t})
                                                     : breakText(t, fm, raum, 4);
            if (!z) {
                passt = false;
                break;
            }
            for (const QString& l : *z) textW = std::max(textW, fm.horizontalAdvance(l));
            h += fm.height() * (z->size() + 0.25);
            zeilen.push_back(*z);
        }
        if (passt && h > m_area.height()) passt = false;
    }
    const QFontMetricsF fm(f, m_p.device());
    const double sw = fm.height() * (isLine(m_type) ? 1.6 : 0.8);
    if (!passt) {
        // No room even so: one line each, shortened.
        zeilen.clear();
        textW = 0;
        for (int s : eintraege) {
            zeilen.push_back(QStringList{fm.elidedText(text(s), Qt::ElideRight, maxW - pad * 3 - sw)});
            textW = std::max(textW, fm.horizontalAdvance(zeilen.back().front()));
        }
    }
    double h = pad * 2;
    for (const QStringList& z : zeilen) h += fm.height() * (z.size() + 0.25);
    const double w = pad * 3 + sw + textW;
    h = std::min(h, m_area.height());
    const QRectF box(m_area.right() - w, m_area.center().y() - h / 2, w, h);
    m_p.setFont(f);
    double y = box.top() + pad;
    for (std::size_t i = 0; i < eintraege.size(); ++i) {
        const int s = eintraege[i];
        const QStringList& z = zeilen[i];
        const double eintragH = fm.height() * (z.size() + 0.25);
        if (y + eintragH > box.bottom() + 0.5) break;
        const QColor c = seriesColour(s);
        const double cy = y + fm.height() * 0.625;
        if (isLine(m_type)) {
            m_p.setPen(QPen(c, px(2)));
            m_p.drawLine(QPointF(box.left() + pad, cy), QPointF(box.left() + pad + sw, cy));
            if (m_chart.Plot.SeriesCollection(s).SeriesMarker.Show) drawMarker(QPointF(box.left() + pad + sw / 2, cy), s);
        } else {
            const QRectF sq(box.left() + pad, cy - sw / 2, sw, sw);
            m_p.fillRect(sq, c);
            m_p.setPen(QPen(c.darker(160), 0));
            m_p.drawRect(sq);
        }
        m_p.setPen(m_chart.Legend.VtFont.VtColor.toQColor());
        const double tx = box.left() + pad * 2 + sw;
        double zw = 0;
        for (int k = 0; k < z.size(); ++k) {
            const QRectF r(tx, y + fm.height() * (0.125 + k), box.right() - tx, fm.height());
            m_p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, z[k]);
            zw = std::max(zw, fm.horizontalAdvance(z[k]));
        }
        PlacedText t;
        t.kind = PlacedText::LegendEntry;
        t.index = s;
        t.text = m_chart.Plot.SeriesCollection(s).LegendText;
        for (const QString& l : z) t.lines.push_back(l.toStdString());
        t.outline = QPolygonF(QRectF(tx, y + fm.height() * 0.125, zw, fm.height() * z.size()));
        t.fontSize = f.pointSizeF();
        m_placed.push_back(t);
        y += eintragH;
    }
    region(box, Hit{Hit::Legend});
    m_area.setRight(box.left() - px(10));
}

void Renderer::drawMarker(const QPointF& at, int series) {
    const double r = px(4);
    const QColor c = seriesColour(series);
    m_p.save();
    m_p.setPen(QPen(Qt::black, px(1)));
    m_p.setBrush(c);
    QPainterPath path;
    switch ((series - 1) % 5) {
    case 0: path.addRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r)); break;
    case 1: path.addEllipse(at, r, r); break;
    case 2:
        path.addPolygon(QPolygonF({at + QPointF(0, -r * 1.2), at + QPointF(r * 1.1, r), at + QPointF(-r * 1.1, r)}));
        break;
    case 3:
        path.addPolygon(QPolygonF(
            {at + QPointF(0, -r * 1.3), at + QPointF(r * 1.3, 0), at + QPointF(0, r * 1.3), at + QPointF(-r * 1.3, 0)}));
        break;
    default:
        path.addPolygon(QPolygonF({at + QPointF(0, r * 1.2), at + QPointF(r * 1.1, -r), at + QPointF(-r * 1.1, -r)}));
        break;
    }
    path.closeSubpath();
    m_p.drawPath(path);
    m_p.restore();
}

void Renderer::drawAxisTitle(double centreX) {
    const AxisTitleSpec& t = m_chart.Plot.Axis(VtChAxisIdX).AxisTitle;
    if (t.Text.empty()) return;
    const QFont f = font(t.VtFont);
    const QFontMetricsF fm(f, m_p.device());
    m_p.setFont(f);
    m_p.setPen(t.VtFont.VtColor.toQColor());
    const QString text = fm.elidedText(qs(t.Text), Qt::ElideRight, m_area.width());
    const double w = fm.horizontalAdvance(text);
    const QRectF r(centreX - w / 2, m_area.bottom() - fm.height(), w, fm.height());
    m_p.drawText(r, Qt::AlignCenter, text);
    region(r.adjusted(-px(3), -px(2), px(3), px(2)), Hit{Hit::AxisTitle, VtChAxisIdX});
}

// ==================================================================== value scale from the data

void Renderer::buildScale(double plotHeight, double labelHeight) {
    ValueScale& sc = m_scale;
    const ScaleSpec& skala = m_chart.Plot.Axis(VtChAxisIdY).AxisScale;
    sc.type = skala.Type == VtChScaleTypeLogarithmic || skala.Type == VtChScaleTypePercent ? skala.Type
                                                                                           : VtChScaleTypeLinear;
    sc.logBase = skala.LogBase > 1 ? skala.LogBase : 10;
    const bool stack = m_chart.Stacking;

    // Raw stretches first; the percent basis is the largest value the chart reaches.
    m_stretch.assign(m_rows, std::vector<Stretch>(m_series));
    double largest = 0;
    for (int r = 0; r < m_rows; ++r) {
        double pos = 0, neg = 0;
        for (int s = 0; s < m_series; ++s) {
            double v = m_chart.DataGrid.Data(r + 1, s + 1);
            if (!std::isfinite(v)) v = 0;
            Stretch& st = m_stretch[r][s];
            if (stack) {
                if (v >= 0 || sc.type == VtChScaleTypeLogarithmic) {
                    const double add = std::max(v, 0.0);
                    st = {pos, pos + add};
                    pos += add;
                } else {
                    st = {neg, neg + v};
                    neg += v;
                }
            } else {
                st = {0, v};
            }
            largest = std::max({largest, std::abs(st.lo), std::abs(st.hi)});
        }
    }
    sc.percentBasis = largest;
    double lo = 0, hi = 0, minPositive = 0;
    bool any = false;
    for (auto& row : m_stretch)
        for (Stretch& st : row) {
            st.lo = sc.shown(st.lo);
            st.hi = sc.shown(st.hi);
            for (double v : {st.lo, st.hi}) {
                if (!any) lo = hi = v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                any = true;
                if (v > 0 && (minPositive == 0 || v < minPositive)) minPositive = v;
            }
        }

    sc.ticks.clear();
    if (sc.type == VtChScaleTypeLogarithmic) {
        const double b = sc.logBase;
        if (!(hi > 0)) {
            minPositive = 1;
            hi = b;
        }
        if (!(minPositive > 0)) minPositive = hi;
        int kmin = static_cast<int>(std::floor(std::log(minPositive) / std::log(b) + 1e-9));
        int kmax = static_cast<int>(std::ceil(std::log(hi) / std::log(b) - 1e-9));
        if (kmax <= kmin) kmax = kmin + 1;
        kmin = std::max(kmin, kmax - 12);
        sc.min = std::pow(b, kmin);
        sc.max = std::pow(b, kmax);
        for (int k = kmin; k <= kmax; ++k) sc.ticks.push_back(std::pow(b, k));
        sc.step = 1;
        return;
    }
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
    if (hi - lo < 1e-9) hi = lo + (sc.type == VtChScaleTypePercent ? 100 : 10);
    const int maxTicks = std::clamp(static_cast<int>(plotHeight / std::max(1.0, labelHeight * 2.2)), 2, 10);
    sc.step = niceStep((hi - lo) / maxTicks);
    sc.min = std::floor(lo / sc.step + 1e-9) * sc.step;
    sc.max = std::ceil(hi / sc.step - 1e-9) * sc.step;
    if (sc.max - sc.min < sc.step * 0.5) sc.max = sc.min + sc.step;
    for (double t = sc.min; t <= sc.max + sc.step * 0.001; t += sc.step) sc.ticks.push_back(t);
}

double Renderer::labelWidth(const LabelSet& set) const {
    if (set.Hide) return 0;
    const QFontMetricsF fm(font(set.VtFont), m_p.device());
    double w = 0;
    for (double t : m_scale.ticks) w = std::max(w, fm.horizontalAdvance(qs(m_scale.label(t))));
    return w;
}

void Renderer::drawPlotBackdrop(const QRectF& r) {
    const FillSpec& fill = m_chart.Plot.Backdrop.Fill;
    if (fill.Style != VtFillStyleNull) m_p.fillRect(r, fill.Brush.FillColor.toQColor());
    region(r, Hit{Hit::Plot});
}

LabelLayout Renderer::categoryLabels(const std::vector<QPointF>& anchors, const QFont& f) const {
    std::vector<QString> texts;
    bool any = false;
    for (int r = 1; r <= static_cast<int>(anchors.size()); ++r) {
        texts.push_back(qs(m_chart.DataGrid.RowLabel(r, 1)));
        any = any || !texts.back().trimmed().isEmpty();
    }
    if (!any) return {};
    return layoutCategoryLabels(texts, anchors, f, m_p.device(), m_unit, m_target.adjusted(px(2), 0, -px(2), 0),
                                std::max(px(12), m_area.height() / 3));
}

void Renderer::drawCategoryLabels(const LabelLayout& l) {
    const LabelSet& set = m_chart.Plot.Axis(VtChAxisIdX).Labels(1);
    m_p.setPen(set.VtFont.VtColor.toQColor());
    drawLabels(m_p, l);
    QRectF band;
    for (std::size_t i = 0; i < l.labels.size(); ++i) {
        const LabelPlacement& p = l.labels[i];
        if (p.lines.isEmpty()) continue;
        PlacedText t;
        t.kind = PlacedText::CategoryLabel;
        t.index = static_cast<int>(i) + 1;
        t.text = m_chart.DataGrid.RowLabel(t.index, 1);
        for (const QString& line : p.lines) t.lines.push_back(line.toStdString());
        t.outline = p.outline();
        t.angle = p.angle;
        t.fontSize = p.font.pointSizeF();
        m_placed.push_back(t);
        band = band.isNull() ? t.outline.boundingRect() : band.united(t.outline.boundingRect());
    }
    if (!band.isNull()) region(band, Hit{Hit::AxisLabel, VtChAxisIdX});
}

// ==================================================================== pie

void Renderer::drawPies() {
    drawPlotBackdrop(m_area);
    const int pies = std::max(1, m_rows);
    const QFont lf = font(m_chart.Plot.Axis(VtChAxisIdX).Labels(1).VtFont);
    const QFontMetricsF fm(lf, m_p.device());
    const int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(pies))));
    const int lines = (pies + cols - 1) / cols;
    const double cw = m_area.width() / cols, ch = m_area.height() / lines;
    for (int r = 0; r < pies; ++r) {
        const QRectF cell(m_area.left() + (r % cols) * cw, m_area.top() + (r / cols) * ch, cw, ch);
        const std::string caption = m_chart.DataGrid.RowLabel(r + 1, 1);
        const double capH = caption.empty() ? 0 : fm.height() * 1.4;
        const double d = std::max(px(10), std::min(cell.width(), cell.height() - capH) * 0.88);
        const QRectF circle(cell.center().x() - d / 2, cell.top() + (cell.height() - capH - d) / 2, d, d);
        // A slice is a share of a whole: a negative value has none and is left out.
        double total = 0;
        bool nurNull = true;
        for (int s = 1; s <= m_series; ++s) {
            const double v = m_chart.DataGrid.Data(r + 1, s);
            if (v > 0) total += v;
            nurNull = nurNull && v == 0;
        }
        m_p.setPen(QPen(QColor(64, 64, 64), px(1)));
        if (total <= 0) {
            // Nothing to share out: an empty circle, which says so where every value is 0.
            m_p.setBrush(Qt::NoBrush);
            m_p.drawEllipse(circle);
            m_p.setFont(lf);
            m_p.setPen(m_chart.Plot.Axis(VtChAxisIdX).Labels(1).VtFont.VtColor.toQColor());
            if (nurNull) m_p.drawText(circle, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Alle Werte sind 0"));
        } else {
            // Clockwise from twelve o'clock; a slice's angle is its share of the positive values.
            double start = 90.0;
            for (int s = 1; s <= m_series; ++s) {
                const double v = m_chart.DataGrid.Data(r + 1, s);
                if (v <= 0) continue;
                const double span = -v / total * 360.0;
                QPainterPath slice;
                slice.moveTo(circle.center());
                slice.arcTo(circle, start, span);
                slice.closeSubpath();
                const QColor c = seriesColour(s);
                m_p.setBrush(c);
                m_p.setPen(QPen(c.darker(150), px(1)));
                m_p.drawPath(slice);
                region(slice, Hit{Hit::Series, 0, s});
                start += span;
            }
        }
        if (!caption.empty()) {
            m_p.setFont(lf);
            m_p.setPen(m_chart.Plot.Axis(VtChAxisIdX).Labels(1).VtFont.VtColor.toQColor());
            const QRectF cap(cell.left(), circle.bottom() + fm.height() * 0.2, cell.width(), fm.height() * 1.2);
            m_p.drawText(cap, Qt::AlignHCenter | Qt::AlignTop, fm.elidedText(qs(caption), Qt::ElideRight, cell.width()));
            region(cap, Hit{Hit::AxisLabel, VtChAxisIdX});
        }
    }
}

// ==================================================================== 2-D bars, lines, areas, steps

void Renderer::drawCartesian2d() {
    const PlotSpec& plot = m_chart.Plot;
    const AxisSpec& ax = plot.Axis(VtChAxisIdX);
    const AxisSpec& ay = plot.Axis(VtChAxisIdY);
    const AxisSpec& ay2 = plot.Axis(VtChAxisIdY2);
    const QFont fy = font(ay.Labels(1).VtFont), fy2 = font(ay2.Labels(1).VtFont), fx = font(ax.Labels(1).VtFont);
    const QFont ft = font(ax.AxisTitle.VtFont);
    const QFontMetricsF mfy(fy, m_p.device()), mfx(fx, m_p.device()), mft(ft, m_p.device());
    const int rows = std::max(1, m_rows);

    // Sizes of what stands around the data area, then the area itself.
    const double gap = px(6);
    const double titleH = ax.AxisTitle.Text.empty() ? 0 : mft.height() + gap;
    const double guessH = std::max(px(20), m_area.height() - titleH - mfx.height() * 2);
    buildScale(guessH, mfy.height());
    const double yw = labelWidth(ay.Labels(1));
    const bool y2Labels = !ay2.Labels(1).Hide;
    const double y2w = labelWidth(ay2.Labels(1));
    double left = m_area.left() + yw + gap * 1.5;
    double right = m_area.right() - (y2Labels ? y2w + gap * 1.5 : gap);
    if (right - left < px(20)) {
        left = m_area.left();
        right = m_area.right();
    }
    const double slot = (right - left) / rows;
    std::vector<QPointF> anchors;
    for (int r = 0; r < m_rows; ++r) anchors.emplace_back(left + slot * (r + 0.5), 0.0);
    LabelLayout labels = categoryLabels(anchors, fx);
    const double xh = labels.height;
    double top = m_area.top() + mfy.height() / 2;
    double bottom = m_area.bottom() - titleH - (xh > 0 ? xh + gap : gap);
    if (bottom - top < px(20)) {
        top = m_area.top();
        bottom = m_area.bottom();
    }
    const QRectF data(QPointF(left, top), QPointF(right, bottom));
    auto yAt = [&](double shown) { return data.bottom() - m_scale.place(shown) * data.height(); };

    // Plot backdrop, grids.
    drawPlotBackdrop(data);
    m_p.setRenderHint(QPainter::Antialiasing, false);
    for (const AxisSpec* a : {&ay, &ay2}) {
        if (a->AxisGrid.MajorPen.Style == VtPenStyleNull) continue;
        m_p.setPen(pen(a->AxisGrid.MajorPen));
        for (double t : m_scale.ticks) m_p.drawLine(QPointF(data.left(), yAt(t)), QPointF(data.right(), yAt(t)));
    }
    if (ax.AxisGrid.MajorPen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ax.AxisGrid.MajorPen));
        for (int r = 1; r < rows; ++r)
            m_p.drawLine(QPointF(left + slot * r, data.top()), QPointF(left + slot * r, data.bottom()));
    }
    m_p.setRenderHint(QPainter::Antialiasing, true);

    // The series.
    const double base = yAt(m_scale.baseline());
    const double xGap = std::clamp(static_cast<double>(plot.xGap), 0.0, 10.0);
    std::vector<std::pair<QPointF, int>> markers;
    auto centre = [&](int r) { return left + slot * (r + 0.5); };
    if (m_type == VtChChartType2dBar) {
        const int k = m_chart.Stacking ? 1 : std::max(1, m_series);
        const double bw = slot / (k + xGap);
        for (int r = 0; r < m_rows; ++r)
            for (int s = 0; s < m_series; ++s) {
                const Stretch& st = m_stretch[r][s];
                const double x = left + slot * r + xGap * bw / 2 + (m_chart.Stacking ? 0 : s * bw);
                const double y0 = m_chart.Stacking ? yAt(st.lo) : base, y1 = yAt(st.hi);
                const QRectF bar(QPointF(x, std::min(y0, y1)), QPointF(x + bw, std::max(y0, y1)));
                const QColor c = seriesColour(s + 1);
                m_p.fillRect(bar, c);
                m_p.setPen(QPen(c.darker(160), 0));
                if (bar.height() >= 1) m_p.drawRect(bar);
                region(bar.adjusted(0, -px(1), 0, px(1)), Hit{Hit::Series, 0, s + 1});
                markers.push_back({QPointF(x + bw / 2, y1), s + 1});
            }
    } else if (m_type == VtChChartType2dLine) {
        for (int s = 0; s < m_series; ++s) {
            QPainterPath path;
            for (int r = 0; r < m_rows; ++r) {
                const QPointF p(centre(r), yAt(m_stretch[r][s].hi));
                r == 0 ? path.moveTo(p) : path.lineTo(p);
                markers.push_back({p, s + 1});
            }
            const SeriesSpec& reihe = plot.SeriesCollection(s + 1);
            QPen lp = pen(reihe.Pen);
            lp.setCapStyle(Qt::RoundCap);
            lp.setJoinStyle(Qt::RoundJoin);
            m_p.setPen(lp);
            m_p.setBrush(Qt::NoBrush);
            m_p.drawPath(path);
            QPainterPathStroker stroker;
            stroker.setWidth(std::max(px(8), lp.widthF() + px(4)));
            QPainterPath hit = stroker.createStroke(path);
            if (m_rows == 1) hit.addEllipse(path.pointAtPercent(0), px(5), px(5));
            region(hit, Hit{Hit::Series, 0, s + 1});
        }
    } else {
        // Areas and steps: a filled shape per series down to the baseline (or the series below).
        const bool step = m_type == VtChChartType2dStep;
        for (int s = m_series - 1; s >= 0; --s) {
            QPolygonF upper, lower;
            for (int r = 0; r < m_rows; ++r) {
                const Stretch& st = m_stretch[r][s];
                const double yHi = yAt(st.hi);
                const double yLo = m_chart.Stacking ? yAt(st.lo) : base;
                if (step || m_rows == 1) {
                    const double x0 = left + slot * r, x1 = x0 + slot;
                    upper << QPointF(x0, yHi) << QPointF(x1, yHi);
                    lower << QPointF(x0, yLo) << QPointF(x1, yLo);
                } else {
                    upper << QPointF(centre(r), yHi);
                    lower << QPointF(centre(r), yLo);
                }
                markers.push_back({QPointF(centre(r), yHi), s + 1});
            }
            QPolygonF shape = upper;
            for (auto it = lower.rbegin(); it != lower.rend(); ++it) shape << *it;
            const QColor c = seriesColour(s + 1);
            m_p.setBrush(c);
            m_p.setPen(QPen(c.darker(160), px(1)));
            m_p.drawPolygon(shape);
            region(shape, Hit{Hit::Series, 0, s + 1});
        }
    }
    for (const auto& [at, s] : markers)
        if (plot.SeriesCollection(s).SeriesMarker.Show) drawMarker(at, s);

    // Axis lines: the value axes at the sides, the category axis along the bottom and, where the
    // values go below 0, along the zero line too.
    m_p.setRenderHint(QPainter::Antialiasing, false);
    if (ay.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ay.Pen));
        m_p.drawLine(data.topLeft(), data.bottomLeft());
    }
    if (ay2.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ay2.Pen));
        m_p.drawLine(data.topRight(), data.bottomRight());
    }
    if (ax.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ax.Pen));
        m_p.drawLine(data.bottomLeft(), data.bottomRight());
        if (m_scale.type != VtChScaleTypeLogarithmic && m_scale.min < 0 && m_scale.max > 0)
            m_p.drawLine(QPointF(data.left(), base), QPointF(data.right(), base));
    }
    m_p.setRenderHint(QPainter::Antialiasing, true);

    // Labels and the axis title.
    if (!ay.Labels(1).Hide) {
        m_p.setFont(fy);
        m_p.setPen(ay.Labels(1).VtFont.VtColor.toQColor());
        for (double t : m_scale.ticks) {
            const QRectF r(m_area.left(), yAt(t) - mfy.height() / 2, data.left() - gap - m_area.left(), mfy.height());
            m_p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, qs(m_scale.label(t)));
        }
        region(QRectF(QPointF(m_area.left(), data.top() - mfy.height() / 2),
                      QPointF(data.left() - px(2), data.bottom() + mfy.height() / 2)),
               Hit{Hit::AxisLabel, VtChAxisIdY});
    }
    if (y2Labels) {
        const QFontMetricsF m2(fy2, m_p.device());
        m_p.setFont(fy2);
        m_p.setPen(ay2.Labels(1).VtFont.VtColor.toQColor());
        for (double t : m_scale.ticks) {
            const QRectF r(data.right() + gap, yAt(t) - m2.height() / 2,
                           std::max(0.0, m_area.right() - data.right() - gap), m2.height());
            m_p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, qs(m_scale.label(t)));
        }
        region(QRectF(QPointF(data.right() + px(2), data.top() - m2.height() / 2),
                      QPointF(m_area.right(), data.bottom() + m2.height() / 2)),
               Hit{Hit::AxisLabel, VtChAxisIdY2});
    }
    if (xh > 0) {
        shiftLayout(labels, data.bottom() + gap / 2);
        drawCategoryLabels(labels);
    }
    drawAxisTitle(data.center().x());
}

}  // namespace chart::detail
