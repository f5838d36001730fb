#include "platform/forms/controls.h"
#include "platform/forms/flow_layout.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/mdi_form.h"
#include "platform/forms/menu.h"

#include <gtest/gtest.h>

#include "support/gui_input.h"
#include "support/window_test.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace forms;

namespace {

class Frame : public MdiForm {
public:
    Frame() : MdiForm("frmMDI") { resize(900, 700); }
};

class ChildWindow : public Form {
public:
    explicit ChildWindow(std::string name) : Form(std::move(name)) {
        setMdiChild(true);
        setKeyPreview(true);
    }
    std::vector<int> keysUp;
    int resizes = 0;
    void Form_KeyUp(int& k, int) override { keysUp.push_back(k); }
    void Form_Resize() override { ++resizes; }
};

class Dialog : public Form {
public:
    Dialog() : Form("Form4") {}
};

class Splash : public Form {
public:
    Splash() : Form("form9") {}
};

class WindowExtras : public support::WindowTest {};

TEST_F(WindowExtras, AKeyOnTheFocusedFrameOfAChildReachesThatChild) {
    auto& main = Instance<Frame>();
    auto* child = new ChildWindow("auswertform");
    child->setCaption("Auswertung");
    child->Show();
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->setFocus();
    QApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    keyClick(focus, Qt::Key_PageDown);
    EXPECT_EQ(child->keysUp, std::vector<int>{vbKeyPageDown});
}

TEST_F(WindowExtras, ChildWindowStateAndTheWindowMenuList) {
    auto& main = Instance<Frame>();
    MenuItem window(main.menuBar(), "&Fenster");
    MenuItem cascade(window, "&Überlappend");
    window.setWindowList(&main);
    auto* a = new ChildWindow("Form2");
    a->setCaption("Enneagramm");
    a->Show();
    auto* b = new ChildWindow("Form15");
    b->setCaption("Tabelle");
    b->Show();
    const int before = b->resizes;
    b->setWindowState(vbMaximized);
    EXPECT_EQ(b->WindowState(), vbMaximized);
    EXPECT_GT(b->resizes, before);

    emit window.menu()->aboutToShow();
    QStringList texts;
    for (QAction* act : window.menu()->actions())
        if (!act->isSeparator()) texts << act->text();
    EXPECT_EQ(texts, (QStringList{"&Überlappend", "&1 Enneagramm", "&2 Tabelle"}));
    // Opening it again lists the windows once, not twice.
    Unload(*a);
    emit window.menu()->aboutToShow();
    texts.clear();
    for (QAction* act : window.menu()->actions())
        if (!act->isSeparator()) texts << act->text();
    EXPECT_EQ(texts, (QStringList{"&Überlappend", "&1 Tabelle"}));
}

// Cascaded windows keep a working size whatever they ask for themselves; each steps down and
// right of the one before, the active one in front.
TEST_F(WindowExtras, CascadedChildrenKeepAWorkingSizeAndTheActiveOneInFront) {
    auto& main = Instance<Frame>();
    main.Show();
    std::vector<ChildWindow*> kinder;
    for (const char* n : {"frmChart", "auswertform", "Form15"}) {
        kinder.push_back(new ChildWindow(n));
        kinder.back()->Show();
    }
    main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(kinder[1]->outerWindow()));
    main.Arrange(vbCascade);
    const QRect bereich = main.mdiArea()->viewport()->rect();
    for (ChildWindow* k : kinder) {
        const QRect r = k->outerWindow()->geometry();
        EXPECT_GE(r.height(), bereich.height() / 2) << k->Name();
        EXPECT_GE(r.width(), bereich.width() / 2) << k->Name();
        EXPECT_TRUE(bereich.contains(r)) << k->Name();
    }
    EXPECT_NE(kinder[0]->outerWindow()->pos(), kinder[2]->outerWindow()->pos());
    EXPECT_EQ(main.mdiArea()->activeSubWindow(), kinder[1]->outerWindow());
    EXPECT_GT(kinder[1]->outerWindow()->y(), kinder[2]->outerWindow()->y());  // stepped last: in front
}

// A toolbar of many buttons never makes its window wider than the widest button: the buttons go on
// in further rows instead.
TEST_F(WindowExtras, AFlowingToolbarWrapsInsteadOfWideningItsWindow) {
    QWidget leiste;
    auto* flow = new FlowLayout(&leiste, 2);
    int breitester = 0, summe = 0;
    for (int i = 0; i < 16; ++i) {
        auto* b = new Button3D(&leiste);
        b->setCaption("Schaltfläche " + std::to_string(i));
        flow->addWidget(b);
        breitester = std::max(breitester, b->sizeHint().width());
        summe += b->sizeHint().width();
    }
    EXPECT_LE(leiste.minimumSizeHint().width(), breitester + 30);  // the widest button and the margins
    const int zeile = flow->heightForWidth(summe + 100);
    EXPECT_GT(flow->heightForWidth(summe / 3), 2 * zeile);
    leiste.resize(summe / 3, flow->heightForWidth(summe / 3));
    leiste.show();
    QCoreApplication::processEvents();
    for (QObject* o : leiste.children()) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            EXPECT_TRUE(leiste.rect().contains(w->geometry()));
        }
    }
}

TEST_F(WindowExtras, WalkingTheFormsListBackwardsUnloadsEveryWindowButTheMainOne) {
    Default<Splash>();  // position 0: the start-up window, stays loaded hidden
    auto& main = Instance<Frame>();
    main.Show();
    Default<Dialog>();  // a hidden dialog
    auto* c1 = new ChildWindow("auswertform");
    c1->Show();
    auto* c2 = new ChildWindow("Form2");
    c2->Show();
    ASSERT_EQ(Forms().size(), 5u);
    for (int i = static_cast<int>(Forms().size()) - 1; i >= 1; --i)
        if (Forms()[i]->Name() != "frmMDI") Unload(*Forms()[i]);
    ASSERT_EQ(Forms().size(), 2u);
    EXPECT_EQ(Forms()[0]->Name(), "form9");
    EXPECT_EQ(Forms()[1]->Name(), "frmMDI");
    EXPECT_FALSE(IsLoaded<Dialog>());
    EXPECT_EQ(main.ActiveForm(), nullptr);
}

TEST_F(WindowExtras, GeometryInTwips) {
    Dialog d;
    d.Move(1500, 750, 6000, 4500);
    EXPECT_EQ(d.Left(), 1500);
    EXPECT_EQ(d.Top(), 750);
    EXPECT_EQ(d.Width(), 6000);
    EXPECT_EQ(d.Height(), 4500);
    EXPECT_EQ(d.ScaleWidth(), 6000);
    d.setScaleMode(3);
    EXPECT_EQ(d.ScaleWidth(), 400);
    // Centred from the screen metrics, as the windows place themselves.
    d.Move((Screen::Width() - d.Width()) / 2, (Screen::Height() - d.Height()) / 2);
    EXPECT_EQ(d.Left() * 2 + d.Width(), Screen::Width());
    Unload(d);
}

TEST_F(WindowExtras, TimerTicksUntilItsHandlerSwitchesItOff) {
    Timer t;
    int ticks = 0;
    QEventLoop loop;
    t.Tick = [&] {
        ++ticks;
        t.setEnabled(false);
        QTimer::singleShot(30, &loop, &QEventLoop::quit);
    };
    t.setInterval(5);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);  // safety net only
    loop.exec();
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(t.Enabled());
}

TEST_F(WindowExtras, TabClickGetsThePreviousTabAndSentKeysReachTheBox) {
    TabControl tabs(4);
    std::vector<int> previous;
    tabs.Click = [&](int p) { previous.push_back(p); };
    tabs.setTabCaption(2, "Briefkopf");
    tabs.setTab(2);
    tabs.setTab(0);
    EXPECT_EQ(previous, (std::vector<int>{0, 2}));
    EXPECT_EQ(tabs.TabCaption(2), "Briefkopf");

    TextBox text(true);
    std::vector<int> up;
    text.KeyUp = [&](int& k, int) { up.push_back(k); };
    SendKey(text.editor(), vbKeyPageDown);
    SendKey(text.editor(), vbKeyPageUp);
    EXPECT_EQ(up, (std::vector<int>{vbKeyPageDown, vbKeyPageUp}));
}

}  // namespace
