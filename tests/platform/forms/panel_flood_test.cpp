#include <gtest/gtest.h>

#include "platform/forms/controls.h"
#include "support/vb_error.h"

using namespace forms;

// An upright bar (the enneagram's) fills from the bottom and writes a percentage that is wider
// than the bar upwards, so it stays readable.
TEST(PanelTest, UprightBarsFillFromTheirSideAndKeepTheirPercentageReadable) {
    Panel3D p;
    p.setFrameStyle(QFrame::NoFrame);
    p.setBackColor(0xFFFFFF);
    p.setForeColor(0xFFFFFF);  // the text in the ground colour: only the fill shows
    p.setFloodColor(0x0000FF);
    p.resize(20, 100);
    auto rot = [&](int x, int y) { return p.grab().toImage().pixelColor(x, y) == QColor(255, 0, 0); };

    p.setFloodType(4);
    p.setFloodPercent(30);
    EXPECT_TRUE(rot(10, 95));
    EXPECT_FALSE(rot(10, 60));
    p.setFloodType(3);
    EXPECT_TRUE(rot(10, 5));
    EXPECT_FALSE(rot(10, 40));
    p.setFloodType(2);
    p.resize(100, 20);
    EXPECT_TRUE(rot(95, 10));
    EXPECT_FALSE(rot(5, 10));
    EXPECT_EQ(errorOf([&] { p.setFloodType(5); }), 380);
    EXPECT_EQ(p.FloodType(), 2);

    // "100%" in dark on a narrow, tall bar: the text runs upwards, inside the bar.
    p.setForeColor(0);
    p.setFloodPercent(0);
    p.setFloodType(4);
    p.setFloodPercent(100);
    p.setFloodColor(0xFFFFFF);
    QFont f = p.font();
    f.setPointSize(9);
    p.setFont(f);
    p.resize(p.fontMetrics().height() + 4, p.fontMetrics().horizontalAdvance("100%") + 10);
    const QImage bild = p.grab().toImage();
    int zeilenMitText = 0;
    for (int y = 0; y < bild.height(); ++y) {
        bool dunkel = false;
        for (int x = 0; x < bild.width(); ++x) dunkel = dunkel || bild.pixelColor(x, y).lightness() < 128;
        zeilenMitText += dunkel;
    }
    // Written across, the text would cover one line's height; written upwards, about its length.
    EXPECT_GT(zeilenMitText, p.fontMetrics().height() + 4);
}
