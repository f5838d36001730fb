#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "platform/chart/chart.h"
#include "platform/chart/hyphenation.h"
#include "platform/chart/label_layout.h"

using namespace chart;

namespace {

// The word with a hyphen at each of its hyphenation points.
QString marked(const Hyphenation& h, const QString& word) {
    QString out = word;
    const std::vector<int> p = h.points(word);
    for (auto it = p.rbegin(); it != p.rend(); ++it) out.insert(*it, '-');
    return out;
}

// The installation's type designations: one list of nine per naming scheme.
std::vector<std::vector<std::string>> namingSchemes() {
    QFile f(QStringLiteral(ZUV_SOURCE_DIR "/install/settings/Typ.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<std::vector<std::string>> schemes;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n')) {
        if (line.startsWith('#') || line.trimmed().isEmpty()) continue;
        const QStringList cols = line.split('\t');
        if (schemes.empty()) schemes.resize(cols.size() - 2);
        for (int c = 2; c < cols.size(); ++c) schemes[c - 2].push_back(cols[c].trimmed().toStdString());
    }
    return schemes;
}

// Where `lines` break `text`, as an error text ("" when every break is between words, after a
// hyphen or slash of the word, or at a hyphenation point) and the text itself is whole.
std::string checkBreaks(const QString& text, const std::vector<std::string>& lines, const Hyphenation& h) {
    const QString whole = text.simplified();
    qsizetype pos = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QString line = QString::fromStdString(lines[i]);
        const bool last = i + 1 == lines.size();
        bool hyphenated = false;
        if (!last && line.endsWith('-') && whole.mid(pos, line.size()) != line) {
            line.chop(1);
            hyphenated = true;
        }
        if (whole.mid(pos, line.size()) != line) return "line '" + lines[i] + "' is not the text there";
        pos += line.size();
        if (last) break;
        if (pos < whole.size() && whole[pos] == ' ') {
            if (hyphenated) return "hyphen before a blank after '" + lines[i] + "'";
            ++pos;
            continue;
        }
        const QChar before = whole[pos - 1];
        if (!hyphenated && before != '-' && before != '/') return "word cut after '" + lines[i] + "'";
        if (hyphenated) {
            qsizetype start = pos;
            while (start > 0 && whole[start - 1] != ' ') --start;
            qsizetype end = pos;
            while (end < whole.size() && whole[end] != ' ') ++end;
            const QString word = whole.mid(start, end - start);
            const std::vector<int> p = h.points(word);
            if (std::find(p.begin(), p.end(), static_cast<int>(pos - start)) == p.end())
                return "'" + marked(h, word).toStdString() + "' broken after '" + lines[i] + "'";
        }
    }
    if (pos != whole.size()) return "text not whole: " + whole.mid(pos).toStdString() + " missing";
    return {};
}

// Two outlines closer than one pixel (touching counts).
bool touch(const QPolygonF& a, const QPolygonF& b) {
    QPainterPath pa, pb;
    pa.addPolygon(a);
    pa.closeSubpath();
    pb.addPolygon(b);
    pb.closeSubpath();
    QPainterPathStroker s;
    s.setWidth(1.0);
    return pa.united(s.createStroke(pa)).intersects(pb);
}

Chart typeChart(int type, const std::vector<std::string>& names, bool twoPersons) {
    Chart c;
    c.ChartType = type;
    std::vector<std::vector<int16_t>> rows;
    for (int r = 0; r < 9; ++r)
        rows.push_back(twoPersons ? std::vector<int16_t>{int16_t(10 + r * 3), int16_t(30 - r * 2)}
                                  : std::vector<int16_t>{int16_t(10 + (r * 7) % 25)});
    c.setChartData(rows);
    for (int r = 1; r <= 9; ++r) c.DataGrid.setRowLabel(r, 1, names[r - 1]);
    c.ShowLegend = true;
    if (twoPersons) {
        c.Plot.SeriesCollection(1).LegendText = "Vorname2 Nachname2: Alle Antwortwerte";
        c.Plot.SeriesCollection(2).LegendText = "Vorname3 Nachname3: Alle Antwortwerte";
        c.setTitleText("Vorname2 Nachname2 / 01.02.2026 und Vorname3 Nachname3 / 01.02.2026");
    } else {
        c.Plot.SeriesCollection(1).LegendText = "Alle Antwortwerte  ";
        c.setTitleText("Vorname1 Nachname1 / 01.02.2026");
    }
    c.Plot.Axis(VtChAxisIdX).AxisTitle.Text = "Typen des Enneagramms";
    c.setFootnoteText("Fußnote");
    for (Font* f : {&c.Plot.Axis(VtChAxisIdX).AxisTitle.VtFont, &c.Plot.Axis(VtChAxisIdY).Labels(1).VtFont,
                    &c.Plot.Axis(VtChAxisIdY2).Labels(1).VtFont, &c.Plot.Axis(VtChAxisIdX).Labels(1).VtFont,
                    &c.Title.VtFont, &c.Legend.VtFont, &c.Footnote.VtFont}) {
        f->Name = "Arial";
        f->Size = 10;
    }
    return c;
}

}  // namespace

TEST(Hyphenation, GermanWordsHaveTheHyphenationPointsOfTheInstalledPatterns) {
    const Hyphenation& de = Hyphenation::german();
    ASSERT_TRUE(de.available());
    EXPECT_EQ(marked(de, "Perfektionist"), "Per-fek-ti-o-nist");
    EXPECT_EQ(marked(de, "Individualist"), "In-di-vi-du-a-list");
    EXPECT_EQ(marked(de, "Beobachter"), "Be-ob-ach-ter");
    EXPECT_EQ(marked(de, "Genießer"), "Ge-nie-ßer");
    EXPECT_EQ(marked(de, "Vermittler"), "Ver-mitt-ler");
    EXPECT_EQ(marked(de, "Ästhet"), "Äs-thet");
    EXPECT_EQ(marked(de, "Boss"), "Boss");
    // Runs of letters only, two letters at least on either side.
    EXPECT_EQ(marked(de, "Nachname2:"), "Nach-na-me2:");
    EXPECT_EQ(marked(de, "Ober-Schwester"), "Ober-Schwes-ter");
    EXPECT_TRUE(de.points("Łódźwarschau").empty());  // letters the patterns cannot spell
    EXPECT_TRUE(de.points("").empty());

    // Without a dictionary, or with a file that is none, no word has a point.
    const QTemporaryDir dir;
    QFile kaputt(dir.filePath("kaputt.dic"));
    ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
    kaputt.write("KEIN-ZEICHENSATZ\n\x01\x02\x03");
    kaputt.close();
    for (const std::string& pfad : {dir.filePath("fehlt.dic").toStdString(), kaputt.fileName().toStdString()}) {
        const Hyphenation ohne(pfad);
        EXPECT_FALSE(ohne.available()) << pfad;
        EXPECT_TRUE(ohne.points("Perfektionist").empty()) << pfad;
    }
}

TEST(LabelBreaking, WordsBreakBetweenWordsOrAtOneHyphenationPoint) {
    const Hyphenation& de = Hyphenation::german();
    const QFontMetricsF fm(QFont(QStringLiteral("DejaVu Sans"), 10));
    auto brich = [&](const QString& text, double width, int maxLines, const Hyphenation& h) {
        const auto lines = detail::breakText(text, fm, width, maxLines, &h);
        std::vector<std::string> out;
        if (!lines) return out;
        for (const QString& l : *lines) {
            EXPECT_LE(fm.horizontalAdvance(l), width + 1e-6) << l.toStdString();
            out.push_back(l.toStdString());
        }
        return out;
    };
    // The most even of the breaks that fit, never at a place of the word's own choosing.
    const double perfekt = fm.horizontalAdvance(QStringLiteral("Perfektio-"));
    EXPECT_EQ(brich("Perfektionist", perfekt, 3, de), (std::vector<std::string>{"Perfek-", "tionist"}));
    EXPECT_EQ(brich("Lebensfrohe", fm.horizontalAdvance(QStringLiteral("Lebensfro-")), 3, de),
              (std::vector<std::string>{"Lebens-", "frohe"}));
    EXPECT_EQ(brich("Alle Antwortwerte", fm.horizontalAdvance(QStringLiteral("Antwortwerte")), 3, de),
              (std::vector<std::string>{"Alle", "Antwortwerte"}));
    EXPECT_EQ(brich("Typ 1", perfekt * 3, 3, de), std::vector<std::string>{"Typ 1"});
    // Once inside a word at most, and no more lines than allowed: else nothing.
    EXPECT_TRUE(brich("Perfektionist", fm.horizontalAdvance(QStringLiteral("Perf-")), 3, de).empty());
    EXPECT_TRUE(brich("Vorname2 Nachname2: Alle Antwortwerte", perfekt, 2, de).empty());
    EXPECT_TRUE(brich("Boss", 1, 3, de).empty());
    // A hyphen of the text itself is a place to break, with nothing added.
    EXPECT_EQ(brich("Ober-Schwester", fm.horizontalAdvance(QStringLiteral("Schwester")), 3, de),
              (std::vector<std::string>{"Ober-", "Schwester"}));
    // Without a dictionary: between words only.
    const Hyphenation ohne("/nonexistent/hyph_de_DE.dic");
    EXPECT_TRUE(brich("Perfektionist", perfekt, 3, ohne).empty());
    EXPECT_EQ(brich("Alle Antwortwerte", fm.horizontalAdvance(QStringLiteral("Antwortwerte")), 3, ohne),
              (std::vector<std::string>{"Alle", "Antwortwerte"}));
}

// The nine type names of every naming scheme, in 2-D and 3-D bar and line charts of one and of two
// persons, at two window sizes: each label is whole, broken only where German allows, in a font
// of 7 pt at least, inside the chart, and no two labels or legend entries touch.
TEST(ChartLabels, TypeNamesOfEverySchemeNeverTouchAndBreakOnlyAtHyphenationPoints) {
    const Hyphenation& de = Hyphenation::german();
    const auto schemes = namingSchemes();
    ASSERT_GE(schemes.size(), 5u);
    const int types[] = {VtChChartType2dBar, VtChChartType3dBar, VtChChartType2dLine, VtChChartType3dLine};
    for (std::size_t k = 0; k < schemes.size(); ++k) {
        ASSERT_EQ(schemes[k].size(), 9u);
        for (int type : types)
            for (QSize size : {QSize(480, 360), QSize(800, 600)})
                for (bool two : {false, true}) {
                    const std::string wo = "scheme " + std::to_string(k) + " type " + std::to_string(type) + " " +
                                           std::to_string(size.width()) + (two ? " two" : "");
                    const Chart c = typeChart(type, schemes[k], two);
                    c.toImage(size);
                    const auto& log = c.layoutLog();
                    int labels = 0, entries = 0;
                    for (const PlacedText& t : log) {
                        (t.kind == PlacedText::CategoryLabel ? labels : entries)++;
                        const std::string fehler = checkBreaks(QString::fromStdString(t.text), t.lines, de);
                        EXPECT_EQ(fehler, "") << wo << ": " << t.text;
                        EXPECT_GE(t.fontSize, 7.0) << wo << ": " << t.text;
                        const QRectF r = t.outline.boundingRect();
                        EXPECT_TRUE(QRectF(0, 0, size.width(), size.height()).contains(r)) << wo << ": " << t.text;
                    }
                    EXPECT_EQ(labels, 9) << wo;
                    EXPECT_EQ(entries, two ? 2 : 1) << wo;
                    for (std::size_t i = 0; i < log.size(); ++i)
                        for (std::size_t j = i + 1; j < log.size(); ++j)
                            EXPECT_FALSE(touch(log[i].outline, log[j].outline))
                                << wo << ": " << log[i].text << " / " << log[j].text;
                }
    }
}

TEST(ChartLabels, TheLegendWrapsItsEntriesAndLeavesThePlotItsRoom) {
    const Chart c = typeChart(VtChChartType2dBar, namingSchemes()[0], true);
    for (QSize size : {QSize(480, 360), QSize(800, 600)}) {
        c.toImage(size);
        QRectF legend;
        for (const PlacedText& t : c.layoutLog())
            if (t.kind == PlacedText::LegendEntry) {
                legend = legend.united(t.outline.boundingRect());
                if (size.width() == 480) {
                    EXPECT_GE(t.lines.size(), 2u) << t.text;
                }
            }
        EXPECT_LE(legend.width(), size.width() / 3.0) << size.width();
    }
}

TEST(ChartLabels, WithoutADictionaryLabelsShrinkOrSlantInsteadOfBreakingWords) {
    const Hyphenation ohne("/nonexistent/hyph_de_DE.dic");
    const QFont font(QStringLiteral("DejaVu Sans"), 10);
    QImage img(480, 360, QImage::Format_RGB32);
    const auto schemes = namingSchemes();
    for (const auto& names : schemes) {
        std::vector<QString> texts;
        std::vector<QPointF> anchors;
        for (int r = 0; r < 9; ++r) {
            texts.push_back(QString::fromStdString(names[r]));
            anchors.emplace_back(60 + r * 40.0, 280);
        }
        const detail::LabelLayout l = detail::layoutCategoryLabels(texts, anchors, font, &img, 1.0,
                                                                   QRectF(0, 0, 480, 360), 120, &ohne);
        ASSERT_EQ(l.labels.size(), 9u);
        for (std::size_t i = 0; i < 9; ++i) {
            ASSERT_EQ(l.labels[i].lines.size(), 1u) << names[i];  // whole, shrunk or slanted
            EXPECT_EQ(l.labels[i].lines[0], texts[i]);
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(touch(l.labels[i].outline(), l.labels[j].outline())) << names[i] << " / " << names[j];
        }
    }
    // Nine labels in a place far too small: what does not fit is left out rather than overlapping.
    std::vector<QString> texts(9, QStringLiteral("Herausforderer"));
    std::vector<QPointF> anchors;
    for (int r = 0; r < 9; ++r) anchors.emplace_back(10 + r * 6.0, 50);
    const detail::LabelLayout eng = detail::layoutCategoryLabels(texts, anchors, font, &img, 1.0, QRectF(0, 0, 70, 80),
                                                                 20, &ohne);
    for (std::size_t i = 0; i < 9; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (!eng.labels[i].lines.isEmpty() && !eng.labels[j].lines.isEmpty()) {
                EXPECT_FALSE(touch(eng.labels[i].outline(), eng.labels[j].outline()));
            }
}
