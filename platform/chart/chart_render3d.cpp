// The 3-D charts: the categories run along x, the series stand one behind the other along z (all
// in one row when stacked), values go up along y. The box is drawn in an oblique projection whose
// depth the view's rotation and elevation turn, and painted back to front; each face is lit by its
// angle, in the box turned and tilted by them, to a light from the upper left front.

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/chart/chart_render.h"

namespace chart::detail {

namespace {

struct V3 {
    double x = 0, y = 0, z = 0;
};

V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 normalised(V3 a) {
    const double l = std::sqrt(dot(a, a));
    return l > 0 ? V3{a.x / l, a.y / l, a.z / l} : a;
}

// World to view: x right, y up, d away from the viewer. The projection is oblique: a category
// runs level and a value stands upright whatever the view, so that equal values stand equally
// high and a bar above zero stands above the zero line; the rotation and the elevation turn the
// depth sideways and up (as far as a box turned and tilted by them would show it).
struct View {
    double a = 0, b = 0;                    // the shift on the screen of one unit of depth: right, up
    double ct = 1, st = 0, ce = 1, se = 0;  // the turn and tilt themselves, for the light
    V3 centre;
    double scale = 1;
    QPointF offset;

    V3 turn(V3 p) const { return {p.x + a * p.z, p.y + b * p.z, p.z - a * p.x - b * p.y}; }
    // A direction (a face's normal) turned and tilted, for its angle to the light.
    V3 rotate(V3 p) const {
        const double x1 = p.x * ct + p.z * st;
        const double z1 = -p.x * st + p.z * ct;
        return {x1, p.y * ce + z1 * se, z1 * ce - p.y * se};
    }
    V3 toView(V3 p) const { return turn(p - centre); }
    QPointF map(V3 p) const {
        const V3 v = toView(p);
        return {offset.x() + scale * v.x, offset.y() - scale * v.y};
    }
    double depth(V3 p) const { return toView(p).z; }
};

struct Face {
    QPolygonF poly;
    double depth = 0;
    QColor colour;
    QColor edge;
    bool edges = true;
    Hit hit;
};

// A solid (a bar, a ribbon, an area slab): painted as a whole, its faces back to front.
struct Solid {
    std::vector<Face> faces;
    double depth = 0;
};

}  // namespace

void Renderer::drawCartesian3d() {
    const PlotSpec& plot = m_chart.Plot;
    const AxisSpec& ax = plot.Axis(VtChAxisIdX);
    const AxisSpec& ay = plot.Axis(VtChAxisIdY);
    const AxisSpec& ay2 = plot.Axis(VtChAxisIdY2);
    const QFont fy = font(ay.Labels(1).VtFont), fx = font(ax.Labels(1).VtFont), ft = font(ax.AxisTitle.VtFont);
    const QFontMetricsF mfy(fy, m_p.device()), mfx(fx, m_p.device()), mft(ft, m_p.device());
    const int rows = std::max(1, m_rows);
    const bool stacked = m_chart.Stacking;
    const int planes = stacked ? 1 : std::max(1, m_series);

    drawPlotBackdrop(m_area);

    // Box of the world: x 0..1, y 0..H, z 0..D.
    const double H = 0.62;
    const double D = std::clamp(0.14 * planes, 0.14, 0.6);
    const double gap = px(6);
    const double titleH = ax.AxisTitle.Text.empty() ? 0 : mft.height() + gap;
    buildScale(std::max(px(40), m_area.height() * 0.6), mfy.height());
    const double yw = labelWidth(ay.Labels(1));
    const bool y2Labels = !ay2.Labels(1).Hide;
    const double y2w = labelWidth(ay2.Labels(1));

    View v;
    const double rot = std::fmod(static_cast<double>(plot.View3d.Rotation), 360.0) * std::numbers::pi / 180.0;
    const double ele = std::clamp(static_cast<double>(plot.View3d.Elevation), 0.0, 90.0) * std::numbers::pi / 180.0;
    v.ct = std::cos(rot);
    v.st = std::sin(rot);
    v.ce = std::cos(ele);
    v.se = std::sin(ele);
    v.a = v.st;
    v.b = v.ct * v.se;
    v.centre = {0.5, H / 2, D / 2};

    // Fit the turned box into what the labels leave free.
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (double x : {0.0, 1.0})
        for (double y : {0.0, H})
            for (double z : {0.0, D}) {
                const V3 t = v.toView({x, y, z});
                minX = std::min(minX, t.x);
                maxX = std::max(maxX, t.x);
                minY = std::min(minY, t.y);
                maxY = std::max(maxY, t.y);
            }
    // The labels hang below the front edge of the floor, so their place depends on the fit and
    // the fit on their height: fitted again until the labels fit the room left for them.
    const double slot = 1.0 / rows;
    const bool backIsFarAtFit = v.turn({0, 0, -1}).z < 0;
    const double zFrontAtFit = backIsFarAtFit ? 0 : D;
    auto fit = [&](double xh) {
        QRectF free = m_area.adjusted(yw + gap * 2, mfy.height() / 2, -(y2Labels ? y2w + gap * 2 : gap),
                                      -(titleH + (xh > 0 ? xh + gap * 1.5 : gap)));
        if (free.width() < px(20) || free.height() < px(20)) free = m_area;
        v.scale = std::min(free.width() / std::max(1e-6, maxX - minX), free.height() / std::max(1e-6, maxY - minY));
        v.offset = QPointF(free.center().x() - v.scale * (minX + maxX) / 2,
                           free.center().y() + v.scale * (minY + maxY) / 2);
    };
    auto anchors = [&] {
        std::vector<QPointF> out;
        for (int r = 0; r < m_rows; ++r) out.push_back(v.map({slot * (r + 0.5), 0, zFrontAtFit}) + QPointF(0, gap));
        return out;
    };
    double xh = mfx.height();
    LabelLayout labels;
    for (int runde = 0; runde < 4; ++runde) {
        fit(xh);
        labels = categoryLabels(anchors(), fx);
        if (labels.height <= xh + 0.5) break;
        xh = labels.height;
    }
    if (labels.labels.empty()) {
        xh = 0;
        fit(0);
    }

    // Lighting: ambient plus the share of light a face turns towards the lamp.
    const V3 lamp = normalised({-0.45, 0.65, -0.6});
    const double ambient = std::clamp(static_cast<double>(plot.Light.AmbientIntensity), 0.0, 1.0);
    const double edgeLight = std::clamp(static_cast<double>(plot.Light.EdgeIntensity), 0.0, 1.0);
    const bool edgesOn = plot.Light.EdgeVisible;
    auto dimmed = [](const QColor& c, double k) { return QColor::fromRgbF(c.redF() * k, c.greenF() * k, c.blueF() * k); };
    auto lit = [&](const QColor& c, V3 normal) {
        const V3 n = v.rotate(normal);
        return dimmed(c, std::clamp(ambient + (1 - ambient) * std::max(0.0, dot(n, lamp)), 0.0, 1.0));
    };
    auto edgeOf = [&](const QColor& c) { return dimmed(c, edgeLight); };
    auto facing = [&](V3 normal) { return v.turn(normal).z < 0; };
    auto poly = [&](std::initializer_list<V3> pts) {
        QPolygonF q;
        for (const V3& p : pts) q << v.map(p);
        return q;
    };
    auto avgDepth = [&](std::initializer_list<V3> pts) {
        double d = 0;
        for (const V3& p : pts) d += v.depth(p);
        return d / static_cast<double>(pts.size());
    };

    // Walls: the floor and the two walls whose inner sides face the viewer.
    const bool backIsFar = facing({0, 0, -1});
    const double zBack = backIsFar ? D : 0, zFront = backIsFar ? 0 : D;
    const bool sideAtLeft = facing({1, 0, 0});
    const double xSide = sideAtLeft ? 0 : 1, xOther = sideAtLeft ? 1 : 0;
    const QColor wall = plot.Backdrop.Fill.Brush.FillColor.toQColor();
    auto yOf = [&](double shown) { return H * m_scale.place(shown); };
    const double base = yOf(m_scale.baseline());
    {
        std::vector<Face> walls;
        walls.push_back({poly({{0, 0, zBack}, {1, 0, zBack}, {1, H, zBack}, {0, H, zBack}}), 0,
                         lit(wall, {0, 0, backIsFar ? -1.0 : 1.0}), wall.darker(130), true, Hit{Hit::Plot}});
        walls.push_back({poly({{xSide, 0, 0}, {xSide, 0, D}, {xSide, H, D}, {xSide, H, 0}}), 0,
                         lit(wall, {sideAtLeft ? 1.0 : -1.0, 0, 0}), wall.darker(130), true, Hit{Hit::Plot}});
        if (facing({0, 1, 0}))
            walls.push_back({poly({{0, 0, 0}, {1, 0, 0}, {1, 0, D}, {0, 0, D}}), 0, lit(wall, {0, 1, 0}),
                             wall.darker(130), true, Hit{Hit::Plot}});
        for (const Face& f : walls) {
            m_p.setBrush(f.colour);
            m_p.setPen(QPen(f.edge, px(1)));
            m_p.drawPolygon(f.poly);
        }
        // Grid lines on the walls.
        m_p.setBrush(Qt::NoBrush);
        if (ay.AxisGrid.MajorPen.Style != VtPenStyleNull) {
            m_p.setPen(pen(ay.AxisGrid.MajorPen));
            for (double t : m_scale.ticks) {
                const double y = yOf(t);
                m_p.drawLine(v.map({0, y, zBack}), v.map({1, y, zBack}));
                m_p.drawLine(v.map({xSide, y, 0}), v.map({xSide, y, D}));
            }
        }
        if (ax.AxisGrid.MajorPen.Style != VtPenStyleNull) {
            m_p.setPen(pen(ax.AxisGrid.MajorPen));
            for (int r = 1; r < rows; ++r) {
                const double x = static_cast<double>(r) / rows;
                m_p.drawLine(v.map({x, 0, zBack}), v.map({x, H, zBack}));
                m_p.drawLine(v.map({x, 0, 0}), v.map({x, 0, D}));
            }
        }
        // A scale that reaches below zero: the zero line on the walls, which the bars stand on
        // and hang from.
        if (base > 1e-9 && ay.Pen.Style != VtPenStyleNull) {
            m_p.setPen(pen(ay.Pen));
            m_p.drawLine(v.map({0, base, zBack}), v.map({1, base, zBack}));
            m_p.drawLine(v.map({xSide, base, 0}), v.map({xSide, base, D}));
        }
    }

    // The solids of the series.
    std::vector<Solid> solids;
    std::vector<std::pair<V3, int>> markers;
    const double xGap = std::clamp(static_cast<double>(plot.xGap), 0.0, 10.0);
    auto planeOf = [&](int s) {
        const int k = stacked ? 0 : s;
        const double dz = D / planes;
        return std::pair<double, double>{k * dz + dz * 0.2, k * dz + dz * 0.8};
    };
    auto addBox = [&](double x0, double x1, double y0, double y1, double z0, double z1, const QColor& c, int s) {
        if (y1 < y0) std::swap(y0, y1);
        Solid solid;
        const Hit hit{Hit::Series, 0, s};
        auto face = [&](std::initializer_list<V3> pts, V3 normal) {
            if (!facing(normal)) return;
            solid.faces.push_back({poly(pts), avgDepth(pts), lit(c, normal), edgeOf(c), edgesOn, hit});
        };
        face({{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}, {0, 0, -1});
        face({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, {0, 0, 1});
        face({{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}}, {-1, 0, 0});
        face({{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}}, {1, 0, 0});
        face({{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, {0, 1, 0});
        face({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, {0, -1, 0});
        solid.depth = v.depth({(x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2});
        solids.push_back(std::move(solid));
    };

    if (m_type == VtChChartType3dBar || m_type == VtChChartType3dStep) {
        const bool step = m_type == VtChChartType3dStep;
        const double bw = step ? slot : slot / (1 + xGap);
        for (int r = 0; r < m_rows; ++r)
            for (int s = 0; s < m_series; ++s) {
                const Stretch& st = m_stretch[r][s];
                const double x0 = slot * r + (slot - bw) / 2;
                const auto [z0, z1] = planeOf(s);
                const double y0 = stacked ? yOf(st.lo) : base, y1 = yOf(st.hi);
                addBox(x0, x0 + bw, y0, y1, z0, z1, seriesColour(s + 1), s + 1);
                markers.push_back({{x0 + bw / 2, y1, z0}, s + 1});
            }
    } else {
        // Lines as ribbons, areas as slabs, one per series.
        const bool area = m_type == VtChChartType3dArea;
        for (int s = 0; s < m_series; ++s) {
            const auto [z0, z1] = planeOf(s);
            const QColor c = seriesColour(s + 1);
            const Hit hit{Hit::Series, 0, s + 1};
            std::vector<double> xs, hi, lo;
            for (int r = 0; r < m_rows; ++r) {
                xs.push_back(m_rows == 1 ? 0.0 : slot * (r + 0.5));
                hi.push_back(yOf(m_stretch[r][s].hi));
                lo.push_back(stacked ? yOf(m_stretch[r][s].lo) : base);
                markers.push_back({{xs.back(), hi.back(), z0}, s + 1});
            }
            if (m_rows == 1) {
                xs = {0.0, 1.0};
                hi = {hi[0], hi[0]};
                lo = {lo[0], lo[0]};
            }
            Solid solid;
            for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
                const V3 a{xs[i], hi[i], z0}, b{xs[i + 1], hi[i + 1], z0}, b1{xs[i + 1], hi[i + 1], z1},
                    a1{xs[i], hi[i], z1};
                V3 n = normalised({-(hi[i + 1] - hi[i]), xs[i + 1] - xs[i], 0});
                if (!area && !facing(n)) n = {-n.x, -n.y, -n.z};  // a ribbon shows both sides
                if (area && !facing(n)) continue;
                solid.faces.push_back(
                    {poly({a, b, b1, a1}), avgDepth({a, b, b1, a1}), lit(c, n), edgeOf(c), edgesOn, hit});
            }
            if (area) {
                for (double z : {z0, z1}) {
                    const V3 n{0, 0, z == z0 ? -1.0 : 1.0};
                    if (!facing(n)) continue;
                    QPolygonF q;
                    for (std::size_t i = 0; i < xs.size(); ++i) q << v.map({xs[i], hi[i], z});
                    for (std::size_t i = xs.size(); i-- > 0;) q << v.map({xs[i], lo[i], z});
                    solid.faces.push_back({q, v.depth({0.5, H / 2, z}), lit(c, n), edgeOf(c), edgesOn, hit});
                }
                for (std::size_t end : {std::size_t(0), xs.size() - 1}) {
                    const V3 n{end == 0 ? -1.0 : 1.0, 0, 0};
                    if (!facing(n)) continue;
                    const double x = xs[end];
                    const auto pts = {V3{x, lo[end], z0}, V3{x, hi[end], z0}, V3{x, hi[end], z1}, V3{x, lo[end], z1}};
                    solid.faces.push_back({poly(pts), avgDepth(pts), lit(c, n), edgeOf(c), edgesOn, hit});
                }
            }
            solid.depth = v.depth({0.5, H / 2, (z0 + z1) / 2});
            solids.push_back(std::move(solid));
        }
    }
    std::stable_sort(solids.begin(), solids.end(), [](const Solid& a, const Solid& b) { return a.depth > b.depth; });
    for (Solid& solid : solids) {
        std::stable_sort(solid.faces.begin(), solid.faces.end(),
                         [](const Face& a, const Face& b) { return a.depth > b.depth; });
        for (const Face& f : solid.faces) {
            m_p.setBrush(f.colour);
            m_p.setPen(f.edges ? QPen(f.edge, px(1)) : QPen(f.colour, px(0.5)));
            m_p.drawPolygon(f.poly);
            region(f.poly, f.hit);
        }
    }
    for (const auto& [at, s] : markers)
        if (plot.SeriesCollection(s).SeriesMarker.Show) drawMarker(v.map(at), s);

    // Axes: the category axis along the front edge of the floor, the value axis up the front edge
    // of the side wall, the second value axis up the opposite front edge.
    m_p.setBrush(Qt::NoBrush);
    if (ax.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ax.Pen));
        m_p.drawLine(v.map({0, 0, zFront}), v.map({1, 0, zFront}));
    }
    if (ay.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ay.Pen));
        m_p.drawLine(v.map({xSide, 0, zFront}), v.map({xSide, H, zFront}));
    }
    if (ay2.Pen.Style != VtPenStyleNull) {
        m_p.setPen(pen(ay2.Pen));
        m_p.drawLine(v.map({xOther, 0, zBack}), v.map({xOther, H, zBack}));
    }

    // Labels beside the value axes, under the category axis.
    const QPointF mid = v.map({0.5, H / 2, D / 2});
    auto sideLabels = [&](const LabelSet& set, double x, double z, int axisId) {
        if (set.Hide) return;
        const QFont f = font(set.VtFont);
        const QFontMetricsF fm(f, m_p.device());
        m_p.setFont(f);
        m_p.setPen(set.VtFont.VtColor.toQColor());
        QRectF band;
        for (double t : m_scale.ticks) {
            const QPointF at = v.map({x, yOf(t), z});
            const QString text = qs(m_scale.label(t));
            const double w = fm.horizontalAdvance(text);
            const bool leftSide = at.x() <= mid.x();
            const QRectF r(leftSide ? at.x() - gap - w : at.x() + gap, at.y() - fm.height() / 2, w, fm.height());
            m_p.drawText(r, Qt::AlignCenter, text);
            band = band.isNull() ? r : band.united(r);
        }
        if (!band.isNull()) region(band, Hit{Hit::AxisLabel, axisId});
    };
    sideLabels(ay.Labels(1), xSide, zFront, VtChAxisIdY);
    sideLabels(ay2.Labels(1), xOther, zBack, VtChAxisIdY2);
    if (!labels.labels.empty()) drawCategoryLabels(labels);
    drawAxisTitle(m_area.center().x());
}

}  // namespace chart::detail
