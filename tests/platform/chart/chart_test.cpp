#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <numbers>

#include "platform/chart/chart.h"
#include "platform/chart/chart_control.h"
#include "platform/chart/chart_render.h"
#include "support/scripted_host.h"
#include "support/vb_error.h"

using namespace chart;

namespace {

const QSize kSize(800, 600);

// Nine types, one series, labelled rows: a person's total scores.
Chart personChart(int type = VtChChartType2dBar) {
    Chart c;
    c.ChartType = type;
    c.setChartData(std::vector<std::vector<int16_t>>{{7}, {14}, {21}, {28}, {12}, {19}, {26}, {10}, {17}});
    for (int r = 1; r <= 9; ++r) c.DataGrid.setRowLabel(r, 1, "Typ " + std::to_string(r));
    return c;
}

// The regions of a chart painted at 800 x 600, as the mouse sees them.
std::vector<detail::Region> regionsOf(const Chart& c) {
    QImage img(kSize, QImage::Format_RGB32);
    QPainter p(&img);
    detail::Renderer r(c, p, QRectF(0, 0, kSize.width(), kSize.height()));
    r.run();
    return r.regions();
}

std::vector<QRectF> seriesRects(const Chart& c, int series) {
    std::vector<QRectF> out;
    for (const auto& reg : regionsOf(c))
        if (reg.hit.element == Hit::Series && reg.hit.series == series) out.push_back(reg.path.boundingRect());
    return out;
}

QRectF regionOf(const Chart& c, Hit::Element e, int axis = 0) {
    for (const auto& reg : regionsOf(c))
        if (reg.hit.element == e && reg.hit.axisId == axis) return reg.path.boundingRect();
    return {};
}

int countColour(const QImage& img, QColor c, const QRectF& within) {
    int n = 0;
    const QRect r = within.toAlignedRect().intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

std::string pdfText(const Chart& c) {
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        QPainter p(&pdf);
        c.paint(p, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    }
    QProcess t;
    t.start("pdftotext", {"-layout", path, "-"});
    t.waitForFinished(20000);
    return t.readAllStandardOutput().toStdString();
}

}  // namespace

TEST(ChartModel, ElementsAnswerByTheNamesAndIndexesTheWindowsUse) {
    Chart c = personChart();
    EXPECT_EQ(c.DataGrid.RowCount(), 9);
    EXPECT_EQ(c.DataGrid.ColumnCount(), 1);
    EXPECT_EQ(c.Plot.SeriesCount(), 1);
    EXPECT_EQ(c.DataGrid.Data(4, 1), 28);
    c.Plot.SeriesCollection(1).LegendText = "Alle Antwortwerte  ";
    c.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Set(10, 20, 30);
    c.Plot.Axis(VtChAxisIdY2).Labels(1).VtFont.Size = 14;
    EXPECT_EQ(errorOf([&] { c.Plot.SeriesCollection(2); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Plot.Axis(3); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Plot.Axis(VtChAxisIdX).Labels(2); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Plot.SeriesCollection(1).DataPoints(3); }), vb::err::SubscriptOutOfRange);

    // New data with more series: the first keeps its look, the new ones get their own colours.
    c.setChartData(std::vector<std::vector<int16_t>>(9, std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(c.Plot.SeriesCount(), 3);
    EXPECT_EQ(c.Plot.SeriesCollection(1).LegendText, "Alle Antwortwerte  ");
    EXPECT_EQ(c.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Red, 10);
    EXPECT_EQ(c.Plot.SeriesCollection(2).DataPoints(-1).Brush.FillColor.Red, Chart::defaultSeriesColour(2).Red);
    EXPECT_EQ(c.DataGrid.RowLabel(3, 1), "Typ 3");

    // Rows that do not exist: labels read empty and are not written, without an error.
    c.setChartData(std::vector<std::vector<int16_t>>(5, std::vector<int16_t>{1}));
    c.DataGrid.setRowLabel(9, 1, "x");
    EXPECT_EQ(c.DataGrid.RowLabel(9, 1), "");
    EXPECT_EQ(c.DataGrid.RowCount(), 5);

    // A one-dimensional array is one row: a pie with a slice per value.
    c.setChartData(std::vector<int16_t>{1, 2, 3, 4, 5, 0, 0, 0, 0});
    EXPECT_EQ(c.DataGrid.RowCount(), 1);
    EXPECT_EQ(c.Plot.SeriesCount(), 9);
    c.setRowLabel("Alle Antwortwerte");
    EXPECT_EQ(c.DataGrid.RowLabel(1, 1), "Alle Antwortwerte");

    // Colour parts outside 0..255 are clamped.
    c.Backdrop.Fill.Brush.FillColor.Set(300, -5, 128);
    EXPECT_EQ(c.Backdrop.Fill.Brush.FillColor.Red, 255);
    EXPECT_EQ(c.Backdrop.Fill.Brush.FillColor.Green, 0);
    EXPECT_EQ(c.Backdrop.Fill.Brush.FillColor.Blue, 128);
}

TEST(ChartPainting, BackdropsAndSeriesColoursLieWhereTheElementsAre) {
    Chart c = personChart();
    c.Backdrop.Fill.Brush.FillColor.Set(250, 240, 200);
    c.Plot.Backdrop.Fill.Brush.FillColor.Set(200, 230, 250);
    c.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Set(0, 128, 0);
    c.Plot.Axis(VtChAxisIdY).AxisGrid.MajorPen.Style = VtPenStyleNull;
    const QImage img = c.toImage(kSize);
    EXPECT_EQ(img.pixelColor(3, 3), QColor(250, 240, 200));
    const QRectF plot = regionOf(c, Hit::Plot);
    ASSERT_FALSE(plot.isEmpty());
    // Above the lowest bar (type 1, 7 points of 30) lies the plot area's own colour.
    const auto bars = seriesRects(c, 1);
    ASSERT_EQ(bars.size(), 9u);
    EXPECT_EQ(img.pixelColor(bars[0].center().x(), plot.top() + 5), QColor(200, 230, 250));
    for (const QRectF& b : bars) EXPECT_EQ(img.pixelColor(b.center().toPoint()), QColor(0, 128, 0));
    // Bars grow with their values, in the order of the rows.
    EXPECT_LT(bars[0].height(), bars[1].height());
    EXPECT_GT(bars[3].height(), bars[2].height());
    EXPECT_LT(bars[0].left(), bars[8].left());
}

TEST(ChartPainting, AHiddenGridLeavesNoLineAndAShownOneDoes) {
    Chart c = personChart(VtChChartType2dLine);
    const QColor grid(255, 0, 255);
    for (int a : {VtChAxisIdX, VtChAxisIdY}) {
        c.Plot.Axis(a).AxisGrid.MajorPen.VtColor.Set(255, 0, 255);
        c.Plot.Axis(a).AxisGrid.MajorPen.Width = 30;
    }
    const QRectF plot = regionOf(c, Hit::Plot);
    EXPECT_GT(countColour(c.toImage(kSize), grid, plot), 200);
    c.Plot.Axis(VtChAxisIdY).AxisGrid.MajorPen.Style = VtPenStyleNull;
    const int xOnly = countColour(c.toImage(kSize), grid, plot);
    EXPECT_GT(xOnly, 100);
    c.Plot.Axis(VtChAxisIdX).AxisGrid.MajorPen.Style = VtPenStyleNull;
    EXPECT_EQ(countColour(c.toImage(kSize), grid, plot), 0);
    // The same in 3-D, on the walls.
    c.ChartType = VtChChartType3dBar;
    EXPECT_EQ(countColour(c.toImage(kSize), grid, QRectF(QPointF(0, 0), QSizeF(kSize))), 0);
    c.Plot.Axis(VtChAxisIdY).AxisGrid.MajorPen.Style = VtPenStyleSolid;
    EXPECT_GT(countColour(c.toImage(kSize), grid, QRectF(QPointF(0, 0), QSizeF(kSize))), 100);
}

TEST(ChartPainting, ThePieHasASliceForEachValueWithItsShareOfTheCircle) {
    Chart c;
    c.ChartType = VtChChartType2dPie;
    const std::vector<int16_t> v{12, 30, 8, 22, 15, 5, 18, 25, -10};  // a negative value is no share
    c.setChartData(v);
    for (int s = 1; s <= 9; ++s) {
        const Colour col = Chart::defaultSeriesColour(s);
        c.Plot.SeriesCollection(s).DataPoints(-1).Brush.FillColor.Set(col.Red, col.Green, col.Blue);
    }
    const QImage img = c.toImage(kSize);
    QRectF pie;
    for (const auto& r : regionsOf(c))
        if (r.hit.element == Hit::Series) pie = pie.united(r.path.boundingRect());
    ASSERT_GT(pie.width(), 200);
    const QPointF m = pie.center();
    const double radius = pie.width() / 2 * 0.6;
    // Walk the circle clockwise from twelve o'clock in tenths of a degree and measure each colour.
    std::map<int, double> degrees;
    for (int i = 0; i < 3600; ++i) {
        const double a = (90.0 - i / 10.0) * std::numbers::pi / 180.0;
        const QColor px = img.pixelColor(QPointF(m.x() + radius * std::cos(a), m.y() - radius * std::sin(a)).toPoint());
        for (int s = 1; s <= 9; ++s)
            if (px == Chart::defaultSeriesColour(s).toQColor()) degrees[s] += 0.1;
    }
    const double total = 135;
    double start = 0;
    for (int s = 1; s <= 8; ++s) {
        EXPECT_NEAR(degrees[s], v[s - 1] / total * 360.0, 1.5) << "slice " << s;
        // The slice starts where the one before it ended.
        const double mid = (start + v[s - 1] / total * 180.0) * std::numbers::pi / 180.0;
        const QPointF p(m.x() + radius * std::sin(mid), m.y() - radius * std::cos(mid));
        EXPECT_EQ(img.pixelColor(p.toPoint()), Chart::defaultSeriesColour(s).toQColor()) << "slice " << s;
        start += v[s - 1] / total * 360.0;
    }
    EXPECT_EQ(degrees[9], 0.0);
}

TEST(ChartPainting, ThreeDimensionalFacesAreLitEachByItsAngle) {
    Chart c;
    c.ChartType = VtChChartType3dBar;
    c.setChartData(std::vector<std::vector<int16_t>>{{20}});
    c.Plot.SeriesCollection(1).DataPoints(-1).Brush.FillColor.Set(0, 0, 200);
    c.Plot.View3d.Rotation = 30;
    c.Plot.View3d.Elevation = 30;
    c.Plot.Light.EdgeVisible = false;
    const QImage img = c.toImage(kSize);
    std::vector<QColor> faces;
    for (const auto& r : regionsOf(c))
        if (r.hit.element == Hit::Series) {
            const QColor px = img.pixelColor(r.path.boundingRect().center().toPoint());
            faces.push_back(px);
        }
    ASSERT_EQ(faces.size(), 3u);  // front, side and top are seen
    for (const QColor& f : faces) {
        EXPECT_EQ(f.red(), 0);
        EXPECT_EQ(f.green(), 0);
        EXPECT_GT(f.blue(), 60);
    }
    EXPECT_NE(faces[0], faces[1]);
    EXPECT_NE(faces[1], faces[2]);
    EXPECT_NE(faces[0], faces[2]);
    // Full ambient light gives every face the series' own colour.
    c.Plot.Light.AmbientIntensity = 1;
    const QImage flat = c.toImage(kSize);
    for (const auto& r : regionsOf(c)) {
        if (r.hit.element == Hit::Series) {
            EXPECT_EQ(flat.pixelColor(r.path.boundingRect().center().toPoint()), QColor(0, 0, 200));
        }
    }
}

// The 3-D bars read as the numbers do, in every view: nine equal totals stand equally high, and a
// bar above zero at the far end stands above one that reaches down from zero at the near end.
TEST(ChartPainting, ThreeDimensionalBarsOfEqualValuesStandEquallyHighAndAPositiveOneAboveZero) {
    // The top of each bar, in painting order: a bar's three faces (front, side, top) follow each other.
    auto spitzen = [](const Chart& c) {
        const auto faces = seriesRects(c, 1);
        std::vector<double> out;
        for (std::size_t i = 0; i + 2 < faces.size(); i += 3)
            out.push_back(std::min({faces[i].top(), faces[i + 1].top(), faces[i + 2].top()}));
        return out;
    };
    for (const auto& [rotation, elevation] : std::vector<std::pair<int, int>>{{30, 20}, {45, 30}, {60, 15}, {20, 45}}) {
        SCOPED_TRACE(std::to_string(rotation) + "/" + std::to_string(elevation));
        Chart c;
        c.ChartType = VtChChartType3dBar;
        c.Plot.View3d.Rotation = static_cast<float>(rotation);
        c.Plot.View3d.Elevation = static_cast<float>(elevation);
        c.setChartData(std::vector<std::vector<int16_t>>(9, std::vector<int16_t>{28}));
        ASSERT_EQ(seriesRects(c, 1).size(), 27u);
        const auto gleich = spitzen(c);
        ASSERT_EQ(gleich.size(), 9u);
        for (double y : gleich) EXPECT_NEAR(y, gleich.front(), 0.5);

        c.setChartData(std::vector<std::vector<int16_t>>{{-20}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {11}});
        ASSERT_EQ(seriesRects(c, 1).size(), 27u);
        const auto faces = seriesRects(c, 1);
        // The negative bar reaches down from zero: its top is the zero line at its place.
        double nullLinie = 1e9, positiv = 1e9;
        for (const QRectF& f : faces) {
            if (f.center().x() < kSize.width() / 3.0) nullLinie = std::min(nullLinie, f.top());
            if (f.center().x() > kSize.width() * 2 / 3.0) positiv = std::min(positiv, f.top());
        }
        EXPECT_LT(positiv, nullLinie - 10);
    }
}

TEST(ChartPainting, StackedSeriesStandOnEachOtherAndNegativeValuesGoBelowZero) {
    Chart c;
    c.setChartData(std::vector<std::vector<int16_t>>{{10, 5}, {-6, 4}});
    auto first = seriesRects(c, 1), second = seriesRects(c, 2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_LT(first[0].right(), second[0].left() + 1);  // side by side
    const double zeroLine = first[0].bottom();
    EXPECT_GT(first[1].bottom(), zeroLine + 20);  // the negative bar hangs below 0
    EXPECT_NEAR(first[1].top(), zeroLine, 2);
    c.Stacking = true;
    first = seriesRects(c, 1);
    second = seriesRects(c, 2);
    EXPECT_NEAR(first[0].left(), second[0].left(), 0.5);  // one above the other
    EXPECT_NEAR(second[0].bottom(), first[0].top(), 3);
}

TEST(ChartPainting, EveryChartTypeDrawsItsSeriesAndHandlesAwkwardData) {
    for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 14, 99}) {
        for (const auto& data : std::vector<std::vector<std::vector<int16_t>>>{
                 {{0}, {0}, {0}}, {{-5}, {-3}, {-8}}, {{3, -2, 0, 4, 1}}, {}}) {
            Chart c;
            c.ChartType = type;
            c.setChartData(data);
            c.ShowLegend = true;
            c.Title.VtFont.Size = 500;
            c.Legend.VtFont.Size = 0;
            c.Plot.Axis(VtChAxisIdX).Labels(1).VtFont.Name = "";
            c.setTitleText("Titel");
            for (int scale : {VtChScaleTypeLinear, VtChScaleTypeLogarithmic, VtChScaleTypePercent}) {
                c.Plot.Axis(VtChAxisIdY).AxisScale.Type = scale;
                const QImage img = c.toImage(QSize(400, 300));
                EXPECT_FALSE(img.isNull());
            }
        }
        Chart c = personChart(type);
        int seriesRegions = 0;
        for (const auto& r : regionsOf(c)) seriesRegions += r.hit.element == Hit::Series;
        EXPECT_GE(seriesRegions, 1) << "type " << type;
    }
}

TEST(ChartPainting, ScalesLabelTheValueAxis) {
    Chart c = personChart();
    c.Plot.Axis(VtChAxisIdY).AxisScale.Type = VtChScaleTypePercent;
    EXPECT_NE(pdfText(c).find("100 %"), std::string::npos);
    // The scores reach 28: a linear axis ends at 30, a logarithmic one at the next power of ten.
    c.Plot.Axis(VtChAxisIdY).AxisScale.Type = VtChScaleTypeLinear;
    EXPECT_NE(pdfText(c).find("30"), std::string::npos);
    c.Plot.Axis(VtChAxisIdY).AxisScale.Type = VtChScaleTypeLogarithmic;
    const std::string log = pdfText(c);
    EXPECT_NE(log.find("100"), std::string::npos);
    EXPECT_EQ(log.find("30"), std::string::npos);
}

TEST(ChartPainting, TextsReachAPdfPage) {
    Chart c = personChart();
    c.setTitleText("Anna Berg / 03.05.2004");
    c.setFootnoteText("Fußnote des Diagramms");
    c.ShowLegend = true;
    c.Plot.SeriesCollection(1).LegendText = "Alle Antwortwerte";
    c.Plot.Axis(VtChAxisIdX).AxisTitle.Text = "Typen des Enneagramms";
    const std::string text = pdfText(c);
    for (const char* s : {"Anna Berg / 03.05.2004", "Fußnote des Diagramms", "Alle Antwortwerte", "Typen des Enneagramms",
                          "Typ 1", "Typ 9"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
    Chart empty;
    empty.ChartType = VtChChartType2dPie;
    empty.setChartData(std::vector<int16_t>(9, 0));
    EXPECT_NE(pdfText(empty).find("Alle Werte sind 0"), std::string::npos);
    // Values below 0 alone leave the pie empty too, but they are no zeros; each line of a footnote
    // stands on its own.
    empty.setChartData(std::vector<int16_t>(9, -3));
    empty.setFootnoteText("Erste Zeile\nZweite Zeile");
    const std::string leer = pdfText(empty);
    EXPECT_EQ(leer.find("Alle Werte sind 0"), std::string::npos) << leer;
    EXPECT_NE(leer.find("Erste Zeile\nZweite Zeile"), std::string::npos) << leer;
    // A footnote longer than the chart is wide wraps between its words, to its last word.
    std::string lang = "Nicht im Kreis:";
    for (int t = 1; t <= 30; ++t) lang += " Typbezeichnung" + std::to_string(t) + " -28,";
    lang += " Ende";
    empty.setFootnoteText(lang);
    const QString gelesen = QString::fromStdString(pdfText(empty)).simplified();
    EXPECT_TRUE(gelesen.contains(QString::fromStdString(lang))) << gelesen.toStdString();
    EXPECT_FALSE(gelesen.contains(QChar(0x2026))) << gelesen.toStdString();
}

// A person's long name makes the title wrap between words: the test date after it stays whole, on
// the screen as on a small sheet.
TEST(ChartPainting, ATitleWiderThanTheChartWrapsAndKeepsTheDateWhole) {
    Chart c = personChart(VtChChartType3dBar);
    const std::string name = "Maximilian-Alexander Freiherr von und zu Oberschleißheim-Lüdenscheidt";
    c.setTitleText(name + " / 12.03.2026");
    QTemporaryDir dir;
    const QString path = dir.filePath("klein.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QSizeF(90, 70), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&pdf);
        c.paint(p, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    }
    QProcess t;
    t.start("pdftotext", {path, "-"});
    ASSERT_TRUE(t.waitForFinished(20000));
    const std::string text = t.readAllStandardOutput().toStdString();
    EXPECT_NE(text.find("12.03.2026"), std::string::npos) << text;
    EXPECT_NE(text.find("Oberschleißheim-Lüdenscheidt"), std::string::npos) << text;
    EXPECT_EQ(text.find("…"), std::string::npos) << text;

    // On the screen the title stays within the chart.
    EXPECT_LE(regionOf(c, Hit::Title).width(), kSize.width());
}

TEST(ChartControl, ADoubleClickRaisesTheEventOfTheElementUnderThePointer) {
    ChartControl w;
    w.resize(kSize);
    static_cast<Chart&>(w) = personChart();
    w.setTitleText("Titel");
    w.setFootnoteText("Fußnote");
    w.ShowLegend = true;
    w.Plot.SeriesCollection(1).LegendText = "Reihe";
    w.Plot.Axis(VtChAxisIdX).AxisTitle.Text = "Typen";
    std::vector<std::string> seen;
    w.ChartActivated = [&] { seen.push_back("chart"); };
    w.TitleActivated = [&] { seen.push_back("title"); };
    w.FootnoteActivated = [&] { seen.push_back("footnote"); };
    w.LegendActivated = [&] { seen.push_back("legend"); };
    w.PlotActivated = [&] { seen.push_back("plot"); };
    w.AxisLabelActivated = [&](int axis, int, int, int) { seen.push_back("label" + std::to_string(axis)); };
    w.AxisTitleActivated = [&](int axis, int) { seen.push_back("axistitle" + std::to_string(axis)); };
    w.SeriesActivated = [&](int s) { seen.push_back("series" + std::to_string(s)); };

    const Chart& c = w;
    const QRectF bar = seriesRects(c, 1)[3];
    w.activate(QPointF(3, 3));
    w.activate(regionOf(c, Hit::Title).center());
    w.activate(regionOf(c, Hit::Footnote).center());
    w.activate(regionOf(c, Hit::Legend).center());
    w.activate(QPointF(bar.center().x(), regionOf(c, Hit::Plot).top() + 3));
    w.activate(regionOf(c, Hit::AxisLabel, VtChAxisIdY).center());
    w.activate(regionOf(c, Hit::AxisLabel, VtChAxisIdX).center());
    w.activate(regionOf(c, Hit::AxisTitle, VtChAxisIdX).center());
    w.activate(bar.center());
    EXPECT_EQ(seen, (std::vector<std::string>{"chart", "title", "footnote", "legend", "plot", "label1", "label0",
                                              "axistitle0", "series1"}));

    // A pie slice is a series.
    seen.clear();
    w.ChartType = VtChChartType2dPie;
    w.setChartData(std::vector<int16_t>{1, 1, 1, 1});
    QRectF slice3;
    for (const auto& r : regionsOf(w))
        if (r.hit.element == Hit::Series && r.hit.series == 3) slice3 = r.path.boundingRect();
    // Slice 3 fills the lower left quarter.
    w.activate(QPointF(slice3.left() + slice3.width() * 0.7, slice3.top() + slice3.height() * 0.3));
    EXPECT_EQ(seen, (std::vector<std::string>{"series3"}));

    // A handler's error does not escape into the event loop: it is shown.
    forms::ScriptedHostGuard host;
    w.SeriesActivated = [](int) { throw vb::Error(vb::err::InvalidProcedureCall); };
    EXPECT_NO_THROW(w.activate(QPointF(slice3.left() + slice3.width() * 0.7, slice3.top() + slice3.height() * 0.3)));
    EXPECT_EQ(host->records(forms::HostRecord::Kind::MsgBox).size(), 1u);
}
