#include <gtest/gtest.h>

#include <QLabel>

#include "desk/common/cls_scroll.h"
#include "desk/common/globals.h"
#include "platform/forms/form.h"

namespace {

class Bildfenster : public forms::Form {
public:
    Bildfenster() : forms::Form("Form2") {
        bild = new QLabel(this);
        bild->setObjectName("Picture1");
        bild->resize(1200, 550);
        resize(400, 300);
    }
    QLabel* bild;
};

TEST(Scroll, BarsFollowTheClientAreaAndMoveThePicture) {
    resetGlobals();
    Bildfenster* f = new Bildfenster();
    forms::Load(*f);
    f->Show();
    clsScroll s;
    s.setSmallChange(10);
    s.setLargeChange(30);
    s.setVirtualWidth(1200);
    s.setVirtualHeight(550);
    gScrollForm = f;
    s.UpdateScrollBars();
    EXPECT_TRUE(s.HorizontalBarVisible());
    EXPECT_TRUE(s.VerticalBarVisible());
    EXPECT_EQ(s.ParentForm(), f);

    // Scrolled: the picture moves against the bar positions.
    forms::ScrollInfo info;
    info.fMask = forms::SIF_POS;
    info.nPos = 100;
    f->SetScrollInfo(forms::SB_HORZ, info);
    info.nPos = 40;
    f->SetScrollInfo(forms::SB_VERT, info);
    s.ScrollContents();
    EXPECT_EQ(f->bild->x(), -100);
    EXPECT_EQ(f->bild->y(), -40);

    // Resized while the bars stay: positions are kept, only the range changes.
    f->resize(420, 310);
    s.UpdateScrollBars();
    EXPECT_EQ(s.GetScrollPosition(0), 100);

    // Larger than the picture: both bars go and the picture sits at the origin.
    f->resize(1400, 800);
    gScrollPosX = gScrollPosY = 0;
    s.UpdateScrollBars();
    EXPECT_FALSE(s.HorizontalBarVisible());
    EXPECT_FALSE(s.VerticalBarVisible());
    EXPECT_EQ(f->bild->pos(), QPoint(0, 0));

    // Smaller again: a bar that reappears starts at 0.
    f->resize(400, 300);
    s.UpdateScrollBars();
    EXPECT_EQ(s.GetScrollPosition(0), 0);
    forms::Unload(*f);
    resetGlobals();
}

TEST(Scroll, EachInstanceScrollsItsOwnWindow) {
    resetGlobals();
    Bildfenster* a = new Bildfenster();
    Bildfenster* b = new Bildfenster();
    clsScroll sa, sb;
    for (auto [f, s] : {std::pair{a, &sa}, std::pair{b, &sb}}) {
        forms::Load(*f);
        f->Show();
        s->setVirtualWidth(1200);
        s->setVirtualHeight(550);
        gScrollForm = f;  // what each window does when it loads
        s->UpdateScrollBars();
    }
    // The first window scrolls after the second one was loaded.
    forms::ScrollInfo info;
    info.fMask = forms::SIF_POS;
    info.nPos = 70;
    a->SetScrollInfo(forms::SB_HORZ, info);
    sa.ScrollContents();
    EXPECT_EQ(sa.ParentForm(), a);
    EXPECT_EQ(a->bild->x(), -70);
    EXPECT_EQ(b->bild->x(), 0);
    EXPECT_EQ(sa.GetScrollPosition(0), 70);
    EXPECT_EQ(sb.GetScrollPosition(0), 0);
    forms::Unload(*a);
    forms::Unload(*b);
    resetGlobals();
}

}  // namespace
