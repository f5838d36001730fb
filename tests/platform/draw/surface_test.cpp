#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>

#include <cmath>

#include "support/vb_error.h"
#include "platform/draw/fonts.h"
#include "platform/draw/picture_box.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"

using draw::LineEnd;
using draw::Num;
using draw::PictureBox;
using draw::Spc;
using draw::Tab;
using draw::Zone;

namespace {
// A white evaluation-sized box in twips with a fixed font.
struct Page {
    PictureBox box;
    Page() {
        box.setSizeTwips(15000, 10000);
        box.setBackColor(0xFFFFFF);
        box.setFont("Arial", 10, false, false);
    }
};
}  // namespace

TEST(PrintModel, ItemsLandAtTheirColumnsAndLinesAdvanceByTheTextHeight) {
    Page pg;
    auto& s = pg.box;
    const double col = s.averageCharWidth();
    const double line = s.TextHeight("Texthoehe");
    ASSERT_GT(col, 0);
    ASSERT_GT(line, 0);

    s.setCurrentY(100);
    s.Print({Tab(2), "Rangfolge"});
    s.Print();  // an empty line
    s.Print({Tab(2), "Spitzenwert:", Num(12), "Punkte"});
    s.Print({Tab(20), "Typ", Tab(45), "Wert"}, LineEnd::Open);
    s.Print({Tab(60), Num(-7)});
    s.Print({Tab(10), "lang genug um Spalte 5 zu ueberschreiten"}, LineEnd::Open);
    s.Print({Tab(5), "neue Zeile"});

    const auto& log = s.log();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0].text, "Rangfolge");
    EXPECT_NEAR(log[0].x, col, 0.01);
    EXPECT_NEAR(log[0].y, 100, 0.01);
    // Items of one Print follow each other without space; the number has its sign place and trailing blank.
    EXPECT_NEAR(log[1].y, 100 + 2 * line, 0.01);
    EXPECT_EQ(log[2].text, " 12 ");
    EXPECT_NEAR(log[2].x, log[1].x + s.TextWidth("Spitzenwert:"), 0.01);
    EXPECT_NEAR(log[3].x, log[2].x + s.TextWidth(" 12 "), 0.01);
    // A line left open goes on with the next Print.
    EXPECT_NEAR(log[4].x, 19 * col, 0.01);
    EXPECT_NEAR(log[5].x, 44 * col, 0.01);
    EXPECT_EQ(log[6].text, "-7 ");
    EXPECT_NEAR(log[6].x, 59 * col, 0.01);
    EXPECT_NEAR(log[6].y, log[4].y, 0.01);
    // A column the position is already past: the item goes to the next line.
    EXPECT_NEAR(log[8].x, 4 * col, 0.01);
    EXPECT_NEAR(log[8].y, log[7].y + line, 0.01);
    EXPECT_NEAR(s.CurrentY(), log[8].y + line, 0.01);
    EXPECT_NEAR(s.CurrentX(), 0, 0.01);

    const auto lines = s.pageLines(1);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "Spitzenwert: 12 Punkte");
    EXPECT_EQ(lines[2], "Typ Wert -7 ");
}

TEST(PrintModel, ZonesSpacesLineBreaksAndNumbers) {
    Page pg;
    auto& s = pg.box;
    const double col = s.averageCharWidth();
    const double line = s.TextHeight("X");
    s.Print({"a", Zone(), "b", Zone(), "c"});
    s.Print({Zone(), "z"});
    s.Print({"x", Spc(3), "y"});
    s.Print({Tab(3), "erste\r\nzweite\rdritte"}, LineEnd::Open);
    const double afterOpen = s.CurrentX();
    const auto& log = s.log();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_NEAR(log[1].x, 14 * col, 0.01);
    EXPECT_NEAR(log[2].x, 28 * col, 0.01);
    EXPECT_NEAR(log[3].x, 14 * col, 0.01);  // a leading "," skips the first zone
    EXPECT_NEAR(log[5].x, log[4].width + 3 * s.TextWidth(" "), 0.01);
    // A line break inside a text ends the line there; the text after it starts at the left edge.
    EXPECT_NEAR(log[6].x, 2 * col, 0.01);
    EXPECT_EQ(log[7].text, "zweite");
    EXPECT_NEAR(log[7].x, 0, 0.01);
    EXPECT_NEAR(log[7].y, log[6].y + line, 0.01);
    EXPECT_NEAR(log[8].y, log[6].y + 2 * line, 0.01);
    EXPECT_NEAR(afterOpen, s.TextWidth("dritte"), 0.01);
    EXPECT_NEAR(s.TextHeight("a\r\nb"), 2 * line, 0.01);
    EXPECT_NEAR(s.TextWidth("kurz\r\nviel laenger"), s.TextWidth("viel laenger"), 0.01);

    EXPECT_EQ(Num(0).text(), " 0 ");
    EXPECT_EQ(Num(-32768).text(), "-32768 ");
    vb::setDecimalSeparator(',');
    EXPECT_EQ(Num(2.5).text(), " 2,5 ");
    EXPECT_EQ(Num(-0.25).text(), "-,25 ");
    EXPECT_EQ(Num(0.1f).text(), " ,1 ");
    EXPECT_EQ(draw::Item(vb::Variant(int16_t(3))).text(), " 3 ");
    EXPECT_EQ(draw::Item(vb::Variant::null()).text(), "Null");
    EXPECT_EQ(draw::Item(vb::Variant("Text")).text(), "Text");
}

TEST(PrintModel, ScaleLeftMovesTheOriginAndTheLogKeepsPagePositions) {
    Page pg;
    auto& s = pg.box;
    s.setScaleLeft(-100);
    s.setCurrentX(0);
    s.setCurrentY(100);
    s.Print({"am Ursprung"});
    s.Print({Tab(1), "Spalte 1"});
    // Output at x = 0 lands 100 twips right of the edge; column 1 is the edge itself,
    // and the line end brings CurrentX back to ScaleLeft.
    EXPECT_NEAR(s.log()[0].x, 100, 0.01);
    EXPECT_NEAR(s.log()[1].x, 0, 0.01);
    EXPECT_NEAR(s.CurrentX(), -100, 0.01);

    // Pixels: 15 twips each on a picture box; a new standard mode puts the origin back.
    s.setScaleMode(3);
    EXPECT_DOUBLE_EQ(s.ScaleLeft(), 0);
    EXPECT_NEAR(s.ScaleWidth(), 1000, 0.01);
    s.setCurrentX(20);
    const double columnInPixels = s.averageCharWidth();
    s.setScaleMode(1);
    EXPECT_NEAR(columnInPixels * 15, s.averageCharWidth(), 0.01);
    EXPECT_NEAR(s.CurrentX(), 300, 0.01);
    // A scale of one's own.
    s.setScaleWidth(100);
    s.setScaleHeight(100);
    EXPECT_EQ(s.ScaleMode(), 0);
    s.setCurrentY(50);
    s.Print({"Mitte"});
    EXPECT_NEAR(s.log().back().y, s.Height() / 2, 0.01);
    EXPECT_DOUBLE_EQ(s.Width(), 15000);
    EXPECT_EQ(errorOf([&] { s.setScaleMode(9); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { s.setScaleWidth(0); }), vb::err::InvalidPropertyValue);
}

TEST(PrintModel, FontsAreSwitchedBetweenItemsAndLogged) {
    Page pg;
    auto& s = pg.box;
    s.setFont(draw::FontSpec{"Times New Roman", 12, true, true, false});
    s.Print({"Kopf"}, LineEnd::Open);
    s.setFontBold(false);
    s.setFontItalic(false);
    s.setForeColor(0x0000FF);
    s.Print({" normal"});
    s.setFont("Courier New", 8, false, false);  // replaces all four at once
    s.Print({"fest"});
    const auto& log = s.log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].fontName, "Times New Roman");
    EXPECT_TRUE(log[0].bold && log[0].italic);
    EXPECT_FALSE(log[1].bold || log[1].italic);
    EXPECT_EQ(log[1].color, 0x0000FF);
    EXPECT_DOUBLE_EQ(log[1].y, log[0].y);
    EXPECT_EQ(log[2].fontName, "Courier New");
    EXPECT_DOUBLE_EQ(log[2].fontSize, 8);
    // A fixed-pitch stand-in: every character one column wide.
    EXPECT_NEAR(s.TextWidth("iiii"), s.TextWidth("MMMM"), 0.01);
    EXPECT_GT(s.FontSize(), 0);
    EXPECT_EQ(errorOf([&] { s.setFontSize(0); }), vb::err::InvalidPropertyValue);

    // Windows fonts are stood in for by installed faces of the same widths.
    EXPECT_EQ(draw::familyFor("Arial"), "Nimbus Sans");
    EXPECT_EQ(draw::familyFor("MS Sans Serif"), "Nimbus Sans");
    EXPECT_EQ(draw::familyFor("times new roman"), "Nimbus Roman");
    EXPECT_EQ(draw::familyFor("Courier New"), "Nimbus Mono PS");
    EXPECT_EQ(draw::familyFor("Schrift, die es nicht gibt"), "Nimbus Sans");
    // Arial's widths: "Summe" at 10 pt is 3445 thousandths of the size (S 667, u 556, m 833, e 556).
    const QFont arial = draw::makeFont("Arial", 10, false, false, false);
    EXPECT_NEAR(QFontMetricsF(arial).horizontalAdvance("Summe") * 72.0 / QFontMetricsF(arial).fontDpi(), 34.45, 1.0);
    // Windows show those names in the same faces as the pages print them.
    draw::installFontSubstitutes();
    EXPECT_TRUE(QFontInfo(QFont("Arial")).family().startsWith("Nimbus Sans"));
    EXPECT_TRUE(QFontInfo(QFont("Times New Roman")).family().startsWith("Nimbus Roman"));
}

TEST(PrintModel, RulesOfMacronsAreLoggedAsTextAndDrawnAsOneBar) {
    Page pg;
    auto& s = pg.box;
    std::string rule;
    for (int i = 0; i < 80; ++i) rule += "\u00AF";
    s.Print({Tab(2), rule});
    ASSERT_EQ(s.log().size(), 1u);
    EXPECT_EQ(s.log()[0].text, rule);
    const QImage img = s.Image().image();
    const int x0 = static_cast<int>(s.log()[0].x / 15) + 2;
    const int x1 = static_cast<int>((s.log()[0].x + s.log()[0].width) / 15) - 2;
    int row = -1;
    for (int y = 0; y < 40 && row < 0; ++y)
        if (img.pixelColor(x0, y).lightness() < 128) row = y;
    ASSERT_GE(row, 0);
    for (int x = x0; x <= x1; ++x) ASSERT_LT(img.pixelColor(x, row).lightness(), 128) << "gap at " << x;
}

TEST(PrintModel, ClsClearsPictureLogAndPosition) {
    Page pg;
    auto& s = pg.box;
    s.Print({"weg"});
    s.Line(0, 0, 3000, 3000, 0x000000, true, true);
    s.Cls();
    EXPECT_TRUE(s.log().empty());
    EXPECT_DOUBLE_EQ(s.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 0);
    const QImage img = s.Image().image();
    EXPECT_EQ(img.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_EQ(errorOf([&] { s.NewPage(); }), vb::err::NoSuchPropertyOrMethod);
    EXPECT_EQ(errorOf([&] { s.EndDoc(); }), vb::err::NoSuchPropertyOrMethod);
}
