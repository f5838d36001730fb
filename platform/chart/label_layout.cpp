#include "platform/chart/label_layout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/chart/hyphenation.h"

namespace chart::detail {

namespace {

// Where a word may be broken: after a hyphen or slash it has (nothing added), or at a
// hyphenation point (a hyphen added).
struct Bruch {
    int at;
    bool hyphen;
};

std::vector<Bruch> bruchstellen(const QString& word, const Hyphenation* hyphenation) {
    std::vector<Bruch> out;
    for (int i = 1; i < word.size(); ++i)
        if (word[i - 1] == '-' || word[i - 1] == '/') out.push_back({i, false});
    for (int p : (hyphenation ? *hyphenation : Hyphenation::german()).points(word))
        if (word[p - 1] != '-' && word[p - 1] != '/' && word[p] != '-' && word[p] != '/') out.push_back({p, true});
    std::sort(out.begin(), out.end(), [](const Bruch& a, const Bruch& b) { return a.at < b.at; });
    return out;
}

// The font sizes tried, largest first: the chart's own, down to 70 % of it but not below 7 pt
// (a chart font already smaller stays as it is).
std::vector<double> groessen(double basePt) {
    const double minPt = basePt > 7 ? std::max(7.0, basePt * 0.7) : basePt;
    std::vector<double> out;
    for (double pt = basePt; pt > minPt - 1e-9; pt -= 0.5) out.push_back(pt);
    if (out.empty() || out.back() > minPt + 1e-9) out.push_back(minPt);
    return out;
}

bool ueberschneiden(const LabelPlacement& a, const LabelPlacement& b, double gap) {
    if (a.lines.isEmpty() || b.lines.isEmpty()) return false;
    const QPolygonF pa = a.transform.map(QPolygonF(a.local.adjusted(-gap / 2, -gap / 2, gap / 2, gap / 2)));
    const QPolygonF pb = b.transform.map(QPolygonF(b.local.adjusted(-gap / 2, -gap / 2, gap / 2, gap / 2)));
    return pa.intersects(pb);
}

// The layout is kept when it stays inside its bounds sideways and no two labels come closer than
// the gap; its height is how far it reaches below the anchors.
bool pruefen(LabelLayout& l, const std::vector<QPointF>& anchors, const QRectF& bounds, double maxHeight, double gap) {
    l.height = 0;
    for (std::size_t i = 0; i < l.labels.size(); ++i) {
        const LabelPlacement& p = l.labels[i];
        if (p.lines.isEmpty()) continue;
        const QRectF r = p.outline().boundingRect();
        if (r.left() < bounds.left() - 0.5 || r.right() > bounds.right() + 0.5) return false;
        l.height = std::max(l.height, r.bottom() - anchors[i].y());
    }
    if (l.height > maxHeight) return false;
    for (std::size_t i = 0; i < l.labels.size(); ++i)
        for (std::size_t j = i + 1; j < l.labels.size(); ++j)
            if (ueberschneiden(l.labels[i], l.labels[j], gap)) return false;
    return true;
}

}  // namespace

std::optional<QStringList> breakText(const QString& text, const QFontMetricsF& fm, double width, int maxLines,
                                     const Hyphenation* hyphenation) {
    auto passt = [&](const QString& s) { return fm.horizontalAdvance(s) <= width + 1e-6; };
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + ' ' + word;
        if (passt(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        line.clear();
        if (passt(word)) {
            line = word;
            continue;
        }
        // Once inside the word, where both parts fit and are most even: "Lebens-frohe", not
        // "Lebensfro-he".
        std::optional<Bruch> best;
        double bestW = 0;
        for (const Bruch& b : bruchstellen(word, hyphenation)) {
            const QString head = word.left(b.at) + (b.hyphen ? "-" : ""), tail = word.mid(b.at);
            if (!passt(head) || !passt(tail)) continue;
            const double w = std::max(fm.horizontalAdvance(head), fm.horizontalAdvance(tail));
            if (!best || w < bestW) {
                best = b;
                bestW = w;
            }
        }
        if (!best) return std::nullopt;
        lines << word.left(best->at) + (best->hyphen ? "-" : "");
        line = word.mid(best->at);
    }
    if (!line.isEmpty()) lines << line;
    if (lines.size() > maxLines) return std::nullopt;
    return lines;
}

LabelLayout layoutCategoryLabels(const std::vector<QString>& texts, const std::vector<QPointF>& anchors,
                                 const QFont& base, const QPaintDevice* device, double unit, const QRectF& bounds,
                                 double maxHeight, const Hyphenation* hyphenation) {
    const std::size_t n = std::min(texts.size(), anchors.size());
    const double gap = 4 * unit;
    // Each label's room: up to the next anchor on either side, less the gap.
    std::vector<double> room(n, bounds.width());
    for (std::size_t i = 0; i < n; ++i) {
        double d = std::numeric_limits<double>::infinity();
        if (i > 0) d = std::min(d, std::abs(anchors[i].x() - anchors[i - 1].x()));
        if (i + 1 < n) d = std::min(d, std::abs(anchors[i + 1].x() - anchors[i].x()));
        if (std::isfinite(d)) room[i] = std::max(0.0, d - gap);
    }
    const double basePt = base.pointSizeF() > 0 ? base.pointSizeF() : 9;

    auto waagrecht = [&](double pt) -> std::optional<LabelLayout> {
        QFont f = base;
        f.setPointSizeF(pt);
        const QFontMetricsF fm(f, device);
        LabelLayout l;
        for (std::size_t i = 0; i < n; ++i) {
            LabelPlacement p;
            p.text = texts[i];
            p.font = f;
            if (!texts[i].trimmed().isEmpty()) {
                const auto lines = breakText(texts[i], fm, room[i], 3, hyphenation);
                if (!lines) return std::nullopt;
                p.lines = *lines;
                double w = 0;
                for (const QString& s : p.lines) w = std::max(w, fm.horizontalAdvance(s));
                p.local = QRectF(-w / 2, 0, w, fm.height() * p.lines.size());
                p.transform = QTransform::fromTranslate(anchors[i].x(), anchors[i].y());
            }
            l.labels.push_back(p);
        }
        if (!pruefen(l, anchors, bounds, maxHeight, gap)) return std::nullopt;
        return l;
    };

    // Slanted: one line rising to the right, its end at the top right below the anchor.
    auto schraeg = [&](double pt, double angle, bool kuerzen) -> LabelLayout {
        QFont f = base;
        f.setPointSizeF(pt);
        const QFontMetricsF fm(f, device);
        LabelLayout l;
        const double s = std::sin(angle * std::numbers::pi / 180.0);
        for (std::size_t i = 0; i < n; ++i) {
            LabelPlacement p;
            p.text = texts[i];
            p.font = f;
            p.angle = angle;
            QString text = texts[i].simplified();
            if (kuerzen && s > 0) text = fm.elidedText(text, Qt::ElideRight, std::max(0.0, maxHeight / s - fm.height()));
            if (!text.isEmpty()) {
                p.lines = QStringList{text};
                const double w = fm.horizontalAdvance(text), h = fm.height();
                p.local = QRectF(-w, -h / 2, w, h);
                QTransform t;
                t.translate(anchors[i].x(), anchors[i].y());
                t.rotate(-angle);
                const double oben = t.map(QPolygonF(p.local)).boundingRect().top();
                p.transform = t * QTransform::fromTranslate(0, anchors[i].y() - oben);
            }
            l.labels.push_back(p);
        }
        return l;
    };

    const std::vector<double> pts = groessen(basePt);
    for (double pt : pts)
        if (auto l = waagrecht(pt)) return *l;
    for (double pt : pts)
        for (double angle : {30.0, 45.0, 60.0, 90.0}) {
            LabelLayout l = schraeg(pt, angle, false);
            if (pruefen(l, anchors, bounds, maxHeight, gap)) return l;
        }
    // Nothing fits whole: upright in the smallest size, each shortened to the height there is,
    // and a label that would still touch one placed before it is left out.
    LabelLayout l = schraeg(pts.back(), 90.0, true);
    for (std::size_t i = 0; i < l.labels.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (ueberschneiden(l.labels[i], l.labels[j], gap)) {
                l.labels[i].lines.clear();
                break;
            }
    for (LabelPlacement& p : l.labels) {
        if (p.lines.isEmpty()) continue;
        const QRectF r = p.outline().boundingRect();
        if (r.left() < bounds.left() - 0.5 || r.right() > bounds.right() + 0.5) p.lines.clear();
    }
    l.height = 0;
    for (std::size_t i = 0; i < l.labels.size(); ++i)
        if (!l.labels[i].lines.isEmpty())
            l.height = std::max(l.height, l.labels[i].outline().boundingRect().bottom() - anchors[i].y());
    return l;
}

void shiftLayout(LabelLayout& layout, double dy) {
    for (LabelPlacement& p : layout.labels) p.transform = p.transform * QTransform::fromTranslate(0, dy);
}

void drawLabels(QPainter& p, const LabelLayout& layout) {
    for (const LabelPlacement& l : layout.labels) {
        if (l.lines.isEmpty()) continue;
        p.save();
        p.setFont(l.font);
        p.setTransform(l.transform, true);
        const QFontMetricsF fm(l.font, p.device());
        if (l.angle == 0) {
            double y = l.local.top();
            for (const QString& s : l.lines) {
                p.drawText(QRectF(l.local.left(), y, l.local.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, s);
                y += fm.height();
            }
        } else {
            p.drawText(l.local, Qt::AlignRight | Qt::AlignVCenter, l.lines.front());
        }
        p.restore();
    }
}

}  // namespace chart::detail
