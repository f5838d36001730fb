#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/mdi_form.h"

#include <gtest/gtest.h>

#include "support/gui_input.h"
#include "support/tastatur.h"
#include "support/window_test.h"

#include <QApplication>
#include <QScrollBar>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

using namespace forms;

namespace {

std::vector<std::string>& events() {
    static std::vector<std::string> e;
    return e;
}

// A window that writes its events into one log shared by all test windows.
class LogForm : public Form {
public:
    explicit LogForm(std::string name = "LogForm") : Form(std::move(name)) { Text1.setParent(this); }
    TextBox Text1;
    int cancelQuery = 0;
    int cancelUnload = 0;
    int lastUnloadMode = -1;
    std::string loadCaption = "Geladen";
    std::function<void()> onActivate;

    void Form_Initialize() override { log("Initialize"); }
    void setupControls() override { Text1.setText("Entwurf"); }
    void Form_Load() override {
        log("Load");
        setCaption(loadCaption);
    }
    void Form_Activate() override {
        log("Activate");
        if (onActivate) onActivate();
    }
    void Form_Deactivate() override { log("Deactivate"); }
    void Form_Resize() override { log("Resize"); }
    void Form_QueryUnload(int& cancel, int mode) override {
        lastUnloadMode = mode;
        log("QueryUnload" + std::to_string(mode));
        cancel = cancelQuery;
    }
    void Form_Unload(int& cancel) override {
        log("Unload");
        cancel = cancelUnload;
    }
    void log(const std::string& what) { events().push_back(Name() + "." + what); }
};

class Form4 : public LogForm {
public:
    Form4() : LogForm("Form4") {}
};
class FormA : public LogForm {
public:
    FormA() : LogForm("FormA") {}
};
class FormB : public LogForm {
public:
    FormB() : LogForm("FormB") {}
};

int countOf(const std::string& e) { return static_cast<int>(std::count(events().begin(), events().end(), e)); }

class FormTest : public support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        events().clear();
    }
};

TEST_F(FormTest, TouchingADefaultWindowLoadsItHiddenOnceAndReloadStartsFromDesignState) {
    EXPECT_FALSE(IsLoaded<Form4>());
    Default<Form4>().Text1.setText("geändert");
    EXPECT_TRUE(IsLoaded<Form4>());
    EXPECT_FALSE(Default<Form4>().isVisible());
    EXPECT_EQ(events(), (std::vector<std::string>{"Form4.Initialize", "Form4.Load"}));
    EXPECT_EQ(Default<Form4>().Text1.Text(), "geändert");

    ASSERT_TRUE(Unload<Form4>());
    EXPECT_FALSE(IsLoaded<Form4>());
    // Touching it again loads it again: Load runs again, Initialize does not, controls are fresh.
    EXPECT_EQ(Default<Form4>().Text1.Text(), "Entwurf");
    EXPECT_EQ(countOf("Form4.Initialize"), 1);
    EXPECT_EQ(countOf("Form4.Load"), 2);
    EXPECT_EQ(&Default<Form4>(), &Instance<Form4>());
}

TEST_F(FormTest, ShowRunsLoadResizeActivateInOrderAndActivateOnlyOnSwitch) {
    Instance<FormA>().Show();
    Default<FormB>();  // loaded, hidden: no activation
    const std::vector<std::string> first(events().begin(), events().end());
    auto pos = [&](const std::string& e) { return std::find(first.begin(), first.end(), e) - first.begin(); };
    EXPECT_LT(pos("FormA.Initialize"), pos("FormA.Load"));
    EXPECT_LT(pos("FormA.Load"), pos("FormA.Activate"));
    EXPECT_EQ(countOf("FormA.Activate"), 1);
    EXPECT_EQ(countOf("FormB.Activate"), 0);

    Instance<FormA>().Show();  // already active: no second Activate
    EXPECT_EQ(countOf("FormA.Activate"), 1);
    Instance<FormB>().Show();
    EXPECT_EQ(countOf("FormA.Deactivate"), 1);
    EXPECT_EQ(countOf("FormB.Activate"), 1);
    Instance<FormA>().Show();
    EXPECT_EQ(countOf("FormA.Activate"), 2);
}

TEST_F(FormTest, QueryUnloadAndUnloadCanCancelAndCloseBoxGivesModeZero) {
    auto& f = Default<FormA>();
    f.cancelQuery = 1;
    EXPECT_FALSE(Unload(f));
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(f.lastUnloadMode, vbFormCode);
    EXPECT_EQ(countOf("FormA.Unload"), 0);

    f.cancelQuery = 0;
    f.cancelUnload = 1;
    EXPECT_FALSE(Unload(f));
    EXPECT_TRUE(f.isLoaded());

    f.cancelUnload = 0;
    f.Show();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(f.lastUnloadMode, vbFormControlMenu);
    EXPECT_FALSE(f.isLoaded());
    EXPECT_FALSE(f.isVisible());
}

// A window shown with an owner stays above it: the window system learns the owner, and a window
// shown before its owner is on screen comes up right after the owner, not before it.
TEST_F(FormTest, AnOwnedWindowComesUpWithItsOwnerAndKeepsIt) {
    FormA& owner = Default<FormA>();
    FormB& owned = Default<FormB>();
    owned.Show(vbModeless, &owner);
    EXPECT_TRUE(owned.Visible());
    EXPECT_FALSE(owned.isVisible());
    owner.Show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(owned.isVisible());
    ASSERT_NE(owned.windowHandle(), nullptr);
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_EQ(owned.owner(), &owner);

    // Hidden in between, it is not brought back by the owner's next showing; shown again, it
    // keeps its owner.
    owned.Hide();
    owner.Hide();
    owner.Show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(owned.isVisible());
    owned.Show();
    EXPECT_TRUE(owned.isVisible());
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());

    // Minimised, it is put aside on its own: window managers would iconify its owner with it.
    owned.setWindowState(vbMinimized);
    QCoreApplication::processEvents();
    EXPECT_EQ(owned.WindowState(), vbMinimized);
    EXPECT_FALSE(owned.isVisible());
    EXPECT_TRUE(owner.isVisible());
    EXPECT_EQ(owner.WindowState(), vbNormal);
    owned.setWindowState(vbNormal);
    EXPECT_TRUE(owned.isVisible());
    EXPECT_EQ(owned.WindowState(), vbNormal);
    owned.setWindowState(vbMinimized);
    owned.Show();
    EXPECT_TRUE(owned.isVisible());
    EXPECT_EQ(owned.WindowState(), vbNormal);
}

TEST_F(FormTest, FormsListKeepsLoadOrder) {
    Default<FormA>();
    Default<Form4>();
    Default<FormB>();
    auto names = [] {
        std::vector<std::string> n;
        for (Form* f : Forms()) n.push_back(f->Name());
        return n;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"FormA", "Form4", "FormB"}));
    Unload<Form4>();
    EXPECT_EQ(names(), (std::vector<std::string>{"FormA", "FormB"}));
    Default<Form4>();
    EXPECT_EQ(names(), (std::vector<std::string>{"FormA", "FormB", "Form4"}));
}

TEST_F(FormTest, NewInstanceLoadsOnFirstPropertyAndIsDeletedAfterUnloadInItsOwnHandler) {
    QPointer<LogForm> f = new LogForm("auswertform");
    EXPECT_FALSE(f->isLoaded());
    f->setCaption("Auswertung");  // touching the caption loads it first
    EXPECT_TRUE(f->isLoaded());
    EXPECT_EQ(f->Caption(), "Auswertung");
    EXPECT_EQ(countOf("auswertform.Load"), 1);

    f->onActivate = [g = f.data()] { Unload(*g); };
    f->Show();
    EXPECT_FALSE(f.isNull());  // still alive while its handler runs
    EXPECT_FALSE(f->isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.isNull());
    EXPECT_TRUE(Forms().empty());
}

TEST_F(FormTest, ModalShowReturnsWhenTheWindowUnloadsItself) {
    auto& f = Instance<FormA>();
    f.onActivate = [&f] { QTimer::singleShot(0, &f, [&f] { Unload(f); }); };
    f.Show(vbModal);
    EXPECT_FALSE(f.isLoaded());
    EXPECT_FALSE(f.isModalShown());
    EXPECT_EQ(countOf("FormA.Unload"), 1);
}

TEST_F(FormTest, ErrorInAHandlerGoesToTheErrorBoxNotIntoTheEventLoop) {
    auto& f = Instance<FormA>();
    f.onActivate = [] { throw vb::Error(vb::err::NoCurrentRecord); };
    f.Show();
    ASSERT_EQ(host->messages().size(), 1u);
    EXPECT_NE(host->messages()[0].find("3021"), std::string::npos);

    std::string seen;
    runHandler([] { throw std::runtime_error("kaputt"); },
               [&](const vb::Error& e) { seen = std::to_string(e.number()); });
    EXPECT_EQ(seen, "51");
}

// ---------------------------------------------------------------- keys

class KeyForm : public Form {
public:
    KeyForm() : Form("frmTest") {
        Text1.setParent(this);
        Text1.resize(100, 20);
        resize(200, 100);
    }
    TextBox Text1;
    std::vector<std::string> log;
    bool swallowDigits = false;
    void Form_KeyDown(int& k, int) override {
        log.push_back("FormDown" + std::to_string(k));
        if (k == vbKeyF1) k = 0;  // the assistant's help key: handled by the window alone
    }
    void Form_KeyPress(int& a) override {
        log.push_back("FormPress" + std::to_string(a));
        if (swallowDigits && a >= '0' && a <= '9') a = 0;
    }
    void Form_KeyUp(int& k, int) override { log.push_back("FormUp" + std::to_string(k)); }
};

void focus(QWidget& window, QWidget& w) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    w.setFocus();
    QApplication::processEvents();
}

TEST_F(FormTest, KeyPreviewShowsTheWindowEveryKeyBeforeTheControl) {
    auto* f = new KeyForm;
    f->setKeyPreview(true);
    f->Show();
    f->Text1.KeyPress = [f](int& a) {
        f->log.push_back("TextPress" + std::to_string(a));
        if (a == 'a') a = 'b';  // a changed character is typed instead
    };
    focus(*f, f->Text1);
    ASSERT_EQ(QApplication::focusWidget(), f->Text1.editor());

    keyClick(f->Text1.editor(), Qt::Key_A, "a");
    keyClick(f->Text1.editor(), Qt::Key_Escape, QString(QChar(27)));
    EXPECT_EQ(f->Text1.Text(), "b");
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormDown65", "FormPress97", "TextPress97", "FormUp65", "FormDown27",
                                                "FormPress27", "TextPress27", "FormUp27"}));

    // KeyAscii set to 0 by the window: the control never sees the key.
    f->log.clear();
    f->swallowDigits = true;
    keyClick(f->Text1.editor(), Qt::Key_5, "5");
    EXPECT_EQ(f->Text1.Text(), "b");
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormDown53", "FormPress53", "FormUp53"}));

    // A function key the window takes (KeyCode 0) never reaches the control; other ones do.
    f->log.clear();
    f->Text1.KeyDown = [f](int& k, int) { f->log.push_back("TextDown" + std::to_string(k)); };
    keyClick(f->Text1.editor(), Qt::Key_F1, {});
    keyClick(f->Text1.editor(), Qt::Key_F5, {});
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormDown112", "FormUp112", "FormDown116", "TextDown116", "FormUp116"}));
    f->Text1.KeyDown = nullptr;

    // Without key preview the window hears nothing of its controls' keys.
    f->log.clear();
    f->setKeyPreview(false);
    keyClick(f->Text1.editor(), Qt::Key_C, "c");
    EXPECT_EQ(f->log, (std::vector<std::string>{"TextPress99"}));
    EXPECT_EQ(f->Text1.Text(), "bc");
    Unload(*f);
}

TEST_F(FormTest, KeysTypedIntoAListOrABoxOfTheWindowAreNotTheWindowsKeys) {
    auto* f = new KeyForm;
    f->setKeyPreview(true);
    ComboBox liste(2, f);
    liste.AddItem("eins");
    liste.AddItem("zwei");
    liste.move(0, 40);
    f->Show();
    QApplication::setActiveWindow(f);

    // Esc closes the open list; its release, reaching the list's box after that, is no key of the window.
    ASSERT_TRUE(support::listeOeffnen(liste));
    support::tippe(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(f->log, std::vector<std::string>{});

    // A message box over the window takes Esc itself, press and release.
    QMessageBox box(QMessageBox::Warning, "Z.U.V.", "Hinweis", QMessageBox::Ok, f);
    box.open();
    box.button(QMessageBox::Ok)->setFocus();
    QApplication::processEvents();
    support::tippe(Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(f->log, std::vector<std::string>{});

    // Back in the window, a key is the window's again.
    QApplication::setActiveWindow(f);
    liste.setFocus();
    QApplication::processEvents();
    support::tippe(Qt::Key_Escape);
    EXPECT_EQ(f->log, (std::vector<std::string>{"FormDown27", "FormPress27", "FormUp27"}));
    Unload(*f);
}

// ---------------------------------------------------------------- MDI

class Main : public MdiForm {
public:
    Main() : MdiForm("frmMDI") { resize(800, 600); }
    std::vector<std::string> log;
    void Form_Activate() override { log.push_back("Activate"); }
    void Form_QueryUnload(int&, int mode) override { log.push_back("QueryUnload" + std::to_string(mode)); }
};

class Child : public LogForm {
public:
    explicit Child(std::string n) : LogForm(std::move(n)) { setMdiChild(true); }
};

TEST_F(FormTest, MdiChildrenOpenInsideTheMainWindowAndCloseWithIt) {
    auto& main = Instance<Main>();
    QPointer<Child> a = new Child("auswertform");
    QPointer<Child> b = new Child("Form15");
    a->Show();
    EXPECT_TRUE(main.isLoaded());  // showing a child loads and shows the main window
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.ActiveForm(), a.data());
    b->Show();
    EXPECT_EQ(main.ActiveForm(), b.data());
    EXPECT_EQ(countOf("auswertform.Deactivate"), 1);
    EXPECT_EQ(main.children().size(), 2u);

    main.Arrange(vbTileVertical);
    const QRect ra = a->outerWindow()->geometry(), rb = b->outerWindow()->geometry();
    EXPECT_EQ(ra.top(), rb.top());
    EXPECT_LT(ra.right(), rb.left());
    main.Arrange(vbTileHorizontal);
    EXPECT_LT(a->outerWindow()->geometry().bottom(), b->outerWindow()->geometry().top());

    // Closing the child that is active makes the other one active.
    Unload(*b);
    EXPECT_EQ(main.ActiveForm(), a.data());

    // A child refusing the close keeps the main window open; the main window is asked first.
    a->cancelQuery = 1;
    events().clear();
    main.log.clear();
    EXPECT_FALSE(Unload(main));
    EXPECT_TRUE(main.isLoaded());
    EXPECT_EQ(a->lastUnloadMode, vbFormMDIForm);
    EXPECT_EQ(main.log, std::vector<std::string>{"QueryUnload1"});
    EXPECT_EQ(events(), std::vector<std::string>{"auswertform.QueryUnload4"});
    a->cancelQuery = 0;
    EXPECT_TRUE(Unload(main));
    EXPECT_FALSE(main.isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());
    EXPECT_EQ(countOf("auswertform.Unload"), 1);  // each child unloaded once
}

// ---------------------------------------------------------------- scroll bars and messages

class ScrollForm : public Form {
public:
    ScrollForm() : Form("Form2") { resize(300, 200); }
    std::vector<std::tuple<int, int, int>> messages;
    bool follow = true;
    void Form_Message(int msg, std::intptr_t w, std::intptr_t) override {
        if (msg != WM_HSCROLL && msg != WM_VSCROLL) return;
        messages.emplace_back(msg, LoWord(w), HiWord(w));
        if (!follow) return;
        const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
        ScrollInfo si;
        si.fMask = SIF_POS;
        GetScrollInfo(bar, si);
        int pos = si.nPos;
        switch (LoWord(w)) {
        case SB_LINEDOWN: pos += 10; break;
        case SB_LINEUP: pos -= 10; break;
        case SB_PAGEDOWN: pos += 30; break;
        case SB_THUMBTRACK: pos = HiWord(w); break;
        default: return;
        }
        si.fMask = SIF_POS;
        si.nPos = pos;
        SetScrollInfo(bar, si);
    }
};

TEST_F(FormTest, WindowScrollBarsDeliverScrollCodesAndMoveOnlyWhenTheWindowSetsThePosition) {
    ScrollForm f;
    f.Show();
    const QRect full = f.GetClientRect();
    ScrollInfo si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 250;
    si.nPos = 0;
    f.SetScrollInfo(SB_VERT, si);
    f.ShowScrollBar(SB_VERT, true);
    EXPECT_LT(f.GetClientRect().width(), full.width());  // the bar takes room from the inner area
    EXPECT_EQ(f.GetClientRect().height(), full.height());

    auto* bar = f.findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ScrollInfo got;
    got.fMask = SIF_POS | SIF_RANGE;
    f.GetScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.nPos, 40);
    EXPECT_EQ(got.nMax, 250);
    EXPECT_EQ(bar->value(), 40);
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[0], std::make_tuple(WM_VSCROLL, SB_LINEDOWN, 0));
    EXPECT_EQ(f.messages[1], std::make_tuple(WM_VSCROLL, SB_PAGEDOWN, 0));

    // A window that ignores the message leaves the bar where it was.
    f.follow = false;
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    f.GetScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.nPos, 40);
    EXPECT_EQ(bar->value(), 40);

    // Positions stay inside the range.
    f.follow = true;
    f.sendScroll(SB_VERT, SB_THUMBTRACK, 240);
    f.sendScroll(SB_VERT, SB_PAGEDOWN);
    f.GetScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.nPos, 250);

    f.ShowScrollBar(SB_VERT, false);
    EXPECT_EQ(f.GetClientRect(), full);
    Unload(f);
}

TEST_F(FormTest, TheWheelOverAWindowWithBarsScrollsByLineMessagesAndOtherwiseGoesOn) {
    ScrollForm f;
    f.Show();
    auto drehen = [&](QPoint winkel, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QWheelEvent e(QPointF(10, 10), f.mapToGlobal(QPointF(10, 10)), QPoint(), winkel, Qt::NoButton, mod,
                      Qt::NoScrollPhase, false);
        e.setAccepted(false);
        QApplication::sendEvent(&f, &e);
        return e.isAccepted();
    };
    EXPECT_FALSE(drehen(QPoint(0, -120)));  // no bar shown: the window takes nothing
    EXPECT_TRUE(f.messages.empty());

    ScrollInfo si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMax = 250;
    f.SetScrollInfo(SB_VERT, si);
    f.ShowScrollBar(SB_VERT, true);
    EXPECT_TRUE(drehen(QPoint(0, -120)));
    ScrollInfo got;
    got.fMask = SIF_POS;
    f.GetScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.nPos, 30);  // three lines of 10
    ASSERT_EQ(f.messages.size(), 4u);
    EXPECT_EQ(f.messages[0], std::make_tuple(WM_VSCROLL, SB_LINEDOWN, 0));
    EXPECT_EQ(f.messages[3], std::make_tuple(WM_VSCROLL, SB_ENDSCROLL, 0));

    // A fine wheel's small turns add up to a notch; turning back scrolls up.
    f.messages.clear();
    drehen(QPoint(0, 60));
    EXPECT_TRUE(f.messages.empty());
    drehen(QPoint(0, 60));
    f.GetScrollInfo(SB_VERT, got);
    EXPECT_EQ(got.nPos, 0);
    EXPECT_EQ(std::get<1>(f.messages[0]), SB_LINEUP);

    // Shift turns the horizontal bar, which this window does not show.
    f.messages.clear();
    EXPECT_FALSE(drehen(QPoint(0, -120), Qt::ShiftModifier));
    EXPECT_TRUE(f.messages.empty());

    // A window that scrolls with a scroll-bar control of its own: the wheel moves the control by
    // three small changes a notch, within its range, and its Change event follows.
    f.ShowScrollBar(SB_VERT, false);
    VScrollBar regler(&f);
    regler.setGeometry(250, 0, 16, 150);
    regler.setMax(100);
    regler.setSmallChange(5);
    regler.show();
    int aenderungen = 0;
    regler.Change = [&] { ++aenderungen; };
    EXPECT_TRUE(drehen(QPoint(0, -120)));
    EXPECT_EQ(regler.Value(), 15);
    EXPECT_EQ(aenderungen, 1);
    drehen(QPoint(0, 240));
    EXPECT_EQ(regler.Value(), 0);
    for (int i = 0; i < 10; ++i) drehen(QPoint(0, -120));
    EXPECT_EQ(regler.Value(), 100);
    EXPECT_TRUE(f.messages.empty());
    Unload(f);
}

}  // namespace
