#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

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
    EXPECT_EQ(errorOf([&] { p.setFloodType(5); }), vb::err::InvalidPropertyValue);
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

// The enneagram's bars printed side by side: every percentage runs the same way, whether it shows
// 7 % or more than 100 %, and stands out dark on its light rim from a mid-grey fill and ground alike.
TEST(PanelTest, EveryBarOfOneSizeWritesItsPercentageAlikeAndLegibleOverAnyFill) {
    // The size and font of the enneagram's bars.
    auto balken = [](int prozent) {
        auto p = std::make_unique<Panel3D>();
        QFont f = p->font();
        f.setPointSize(7);
        p->setFont(f);
        p->resize(25, 46);
        p->setBackColor(0x808080);
        p->setFloodColor(0x707070);
        p->setFloodType(4);
        p->setFloodPercent(prozent);
        return p;
    };
    // The box of the text's dark pixels inside the frame.
    auto textbox = [](const Panel3D& p, const QImage& b) {
        QRect box;
        const QRect innen = p.contentsRect().adjusted(2, 2, -2, -2);
        for (int y = innen.top(); y <= innen.bottom(); ++y)
            for (int x = innen.left(); x <= innen.right(); ++x)
                if (b.pixelColor(x, y).lightness() < 90) box |= QRect(x, y, 1, 1);
        return box;
    };
    std::vector<bool> aufwaerts;
    for (int prozent : {7, 48, 100, 130}) {
        SCOPED_TRACE(prozent);
        const auto p = balken(prozent);
        const QImage b = p->grab().toImage();
        const QRect box = textbox(*p, b);
        ASSERT_FALSE(box.isEmpty());
        aufwaerts.push_back(box.height() > box.width());
        // Dark text and a light rim around it, over the grey fill and the grey ground alike.
        int hell = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) hell += b.pixelColor(x, y).lightness() > 220;
        EXPECT_GT(hell, 10);
    }
    EXPECT_EQ(std::count(aufwaerts.begin(), aufwaerts.end(), aufwaerts.front()), 4);
}
