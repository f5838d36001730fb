#include "platform/forms/form.h"

#include "platform/draw/fonts.h"

#include <QWindow>

#include "platform/forms/controls.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/forms/mdi_form.h"
#include "platform/forms/screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace forms {

namespace {
std::vector<Form*>& formsList() {
    static std::vector<Form*> list;
    return list;
}

std::vector<std::function<void()>>& defaultDestroyers() {
    static std::vector<std::function<void()>> list;
    return list;
}

QPointer<Form> g_activeTop;

// The window whose keys these are. A window of its own inside a form (the open list of a combo
// box, a message box, a file dialog) takes its keys itself: they are none of the form's.
Form* formOf(QWidget* w) {
    // A focused MDI frame stands for the child window inside it.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
        if (auto* f = qobject_cast<Form*>(sub->widget())) return f;
    for (; w; w = w->parentWidget()) {
        if (auto* f = qobject_cast<Form*>(w)) return f;
        if (w->isWindow()) return nullptr;
    }
    return nullptr;
}

// Key preview: a window that asks for it sees every key typed in any of its controls first.
class KeyPreviewFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) return false;
        QWidget* focus = QApplication::focusWidget();
        // Only the first delivery counts, not the ones propagating to the parents.
        if (!(w == focus || (!focus && w->isWindow()))) return false;
        Form* f = formOf(w);
        // A key belongs to the window that its press reached. Esc pressed in an open list closes
        // the list, and Esc or Enter pressed in a message box closes the box; the release then
        // arrives at the control below, whose window must not take it for a key of its own.
        auto* k = static_cast<QKeyEvent*>(e);
        const int taste = k->nativeScanCode() ? -static_cast<int>(k->nativeScanCode()) : k->key();
        if (e->type() == QEvent::KeyPress) {
            m_pressed[taste] = f;
        } else {
            const auto it = m_pressed.find(taste);
            const bool eigene = it != m_pressed.end() && it->second == f && f;
            if (it != m_pressed.end()) m_pressed.erase(it);
            if (!eigene) return false;
        }
        const bool own = w == f || (qobject_cast<QMdiSubWindow*>(w) && static_cast<QMdiSubWindow*>(w)->widget() == f);
        if (!f || !f->isLoaded() || !(f->KeyPreview() || own)) return false;
        QPointer<Form> guard(f);
        KeyHooks hooks;
        hooks.down = [guard](int& code, int s) {
            if (guard) guard->Form_KeyDown(code, s);
        };
        hooks.press = [guard](int& a) {
            if (guard) guard->Form_KeyPress(a);
        };
        hooks.up = [guard](int& code, int s) {
            if (guard) guard->Form_KeyUp(code, s);
        };
        return handleKeyEvent(w, e, hooks, 1);
    }

private:
    // Keys held down, each with the window its press went to (null: none of ours).
    std::map<int, QPointer<Form>> m_pressed;
};

void installKeyPreview() {
    static KeyPreviewFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new KeyPreviewFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

int scrollBarExtent(const QWidget* w) { return w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w); }

Qt::CursorShape cursorFor(int pointer) {
    switch (pointer) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 15: return Qt::SizeAllCursor;
    case 99: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}
}  // namespace

Qt::CursorShape cursorShapeFor(int pointer) { return cursorFor(pointer); }

// ---------------------------------------------------------------- life cycle

Form::Form(std::string name, QWidget* parent) : QWidget(parent), m_name(std::move(name)) {
    setObjectName(QString::fromStdString(m_name));
    setMouseTracking(true);
    installKeyPreview();
    draw::installFontSubstitutes();
}

Form::~Form() {
    auto& list = formsList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (m_modalLoop) m_modalLoop->quit();
}

void Form::ensureInitialized() {
    if (m_initialized) return;
    m_initialized = true;
    Form_Initialize();
}

void Form::ensureLoaded() {
    if (m_state != State::Unloaded) return;
    ensureInitialized();
    m_state = State::Loading;
    formsList().push_back(this);
    if (m_mdiChild)
        if (MdiForm* main = MdiForm::main()) {
            main->ensureLoaded();
            main->attachChild(this);
        }
    struct Done {
        Form* f;
        ~Done() {
            if (f->m_state == State::Loading) f->m_state = State::Loaded;
        }
    } done{this};
    setupControls();
    Form_Load();
}

QWidget* Form::outerWindow() {
    if (m_mdiChild)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

namespace {
// Runs `then` once, from the event loop, after the watched window was shown: Qt tells of the
// showing before the window is mapped, and the work is for after that.
class AfterShow : public QObject {
public:
    AfterShow(QObject* parent, std::function<void()> then) : QObject(parent), m_then(std::move(then)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show) return false;
        o->removeEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                auto then = std::move(m_then);
                deleteLater();
                if (then) then();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> m_then;
};
}  // namespace

bool Form::waitForOwner() {
    // A window manager keeps a window above its owner only when the owner was on screen first:
    // a window shown before its owner comes up right after it.
    if (!m_owner || m_owner->isVisible()) return false;
    if (!m_ownerWatch) {
        QPointer<Form> self(this);
        m_ownerWatch = new AfterShow(this, [self] {
            if (self && self->Visible() && !self->isVisible()) self->showWindow();
        });
        m_owner->installEventFilter(m_ownerWatch);
    }
    return true;
}

void Form::showWindow() {
    if (m_owner) {
        winId();
        if (windowHandle() && m_owner->windowHandle()) windowHandle()->setTransientParent(m_owner->windowHandle());
    }
    show();
    raise();
    activateWindow();
}

void Form::Show(int modal, QWidget* owner) {
    ensureLoaded();
    if (!isLoaded()) return;  // the window unloaded itself while loading
    m_shownFlag = true;
    m_abgelegt = false;
    if (owner && owner != this) m_owner = owner->window();
    if (m_mdiChild) {
        MdiForm* main = MdiForm::main();
        if (main && !main->isVisible()) main->Show();
        show();
        outerWindow()->show();
        if (main)
            if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) main->mdiArea()->setActiveSubWindow(sub);
    } else {
        if (modal == vbModal) setWindowModality(Qt::ApplicationModal);
        if (modal == vbModal || !waitForOwner()) showWindow();
    }
    if (!isLoaded()) return;
    activateSelf();
    if (modal == vbModal && !m_modalLoop && isLoaded() && isVisible()) {
        QPointer<Form> self(this);
        QEventLoop loop;
        m_modalLoop = &loop;
        loop.exec();
        if (!self) return;  // a window made for one request may be gone once it unloaded
        m_modalLoop = nullptr;
        setWindowModality(Qt::NonModal);
    }
}

void Form::Hide() {
    ensureLoaded();
    m_shownFlag = false;
    outerWindow()->hide();
    if (g_activeTop == this) g_activeTop = nullptr;
    if (m_modalLoop) m_modalLoop->quit();
}

void Form::activateSelf() {
    if (!isLoaded()) return;
    if (m_mdiChild) {
        if (MdiForm* main = MdiForm::main()) main->childActivated(this);
        return;
    }
    if (g_activeTop == this) return;
    QPointer<Form> prev = g_activeTop;
    g_activeTop = this;
    if (prev && prev->isLoaded()) runHandler([&] { prev->Form_Deactivate(); });
    runHandler([this] { Form_Activate(); });
}

bool Form::unloadWith(int unloadMode) { return unloadImpl(unloadMode, true); }

bool Form::unloadImpl(int unloadMode, bool query) {
    if (m_state == State::Unloaded) return true;
    if (m_unloading) return false;
    m_unloading = true;
    struct Reset {
        Form* f;
        ~Reset() { f->m_unloading = false; }
    } reset{this};

    // A main window is asked first, then its children; the children unload before it.
    auto* mdi = qobject_cast<MdiForm*>(this);
    int cancel = 0;
    if (query) Form_QueryUnload(cancel, unloadMode);
    if (cancel) return false;
    if (mdi && !mdi->queryUnloadChildren()) return false;
    if (mdi && !mdi->unloadChildren()) return false;
    cancel = 0;
    Form_Unload(cancel);
    if (cancel) return false;
    // An unloaded window keeps no file open: its data controls let go of their recordsets and
    // files, and bind again when the window is loaded and uses them anew.
    for (Data* d : findChildren<Data*>()) d->close();

    m_state = State::Unloaded;
    m_abgelegt = false;
    auto& list = formsList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (g_activeTop == this) g_activeTop = nullptr;
    m_shownFlag = false;
    QWidget* outer = outerWindow();
    if (m_mdiChild)
        if (MdiForm* main = MdiForm::main()) main->childUnloaded(this);
    outer->hide();
    if (m_modalLoop) m_modalLoop->quit();
    if (m_mousePointer) setMousePointer(vbDefault);
    emit unloaded();
    if (!m_defaultInstance) outer->deleteLater();
    return true;
}

void Form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (m_modalLoop && !e->spontaneous()) m_modalLoop->quit();
}

void Form::closeEvent(QCloseEvent* e) {
    if (m_state == State::Unloaded || m_unloading) {
        e->accept();
        return;
    }
    bool ok = false;
    runHandler([&] { ok = unloadWith(vbFormControlMenu); });
    if (ok) e->accept();
    else e->ignore();
}

void Form::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !m_mdiChild && isActiveWindow() && isLoaded() && isVisible())
        activateSelf();
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    placeScrollBars();
    if (m_state == State::Unloaded || m_inResize) return;
    m_inResize = true;
    runHandler([this] { Form_Resize(); });
    const QRect client = GetClientRect();
    const int sizeType = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    runHandler([&] { Form_Message(WM_SIZE, sizeType, MakeLong(client.width(), client.height())); });
    m_inResize = false;
}

void Form::wheelEvent(QWheelEvent* e) {
    // The wheel scrolls a window that shows its own bars, by scroll messages the window handles
    // like a click on the bar's arrows: three lines a notch. Shift (or a sideways wheel) turns
    // the horizontal bar. A window that scrolls with scroll-bar controls instead has the first
    // visible one of the direction moved by three small changes a notch. A window with neither
    // leaves the wheel to what lies around it.
    const QPoint d = e->angleDelta();
    const bool quer = d.x() != 0 || (e->modifiers() & Qt::ShiftModifier);
    const int b = quer ? SB_HORZ : SB_VERT;
    ScrollBar* regler = nullptr;
    if (isLoaded() && !bar(b).shown) {
        const Qt::Orientation richtung = quer ? Qt::Horizontal : Qt::Vertical;
        for (QScrollBar* s : findChildren<QScrollBar*>()) {
            auto* c = dynamic_cast<ScrollBar*>(s);
            if (c && c->orientation() == richtung && c->isVisible() && c->isEnabled()) {
                regler = c;
                break;
            }
        }
    }
    if (!isLoaded() || (!bar(b).shown && !regler)) {
        e->ignore();
        return;
    }
    m_wheelRest += d.x() != 0 ? d.x() : d.y();
    const int notches = m_wheelRest / 120;
    m_wheelRest %= 120;
    e->accept();
    if (notches == 0) return;
    if (regler) {
        const int ziel = std::clamp(regler->Value() - 3 * notches * regler->SmallChange(), regler->Min(), regler->Max());
        if (ziel != regler->Value()) runHandler([&] { regler->setValue(ziel); });
        return;
    }
    for (int i = 0; i < 3 * std::abs(notches); ++i) sendScroll(b, notches < 0 ? SB_LINEDOWN : SB_LINEUP);
    sendScroll(b, SB_ENDSCROLL);
}

void Form::mouseMoveEvent(QMouseEvent* e) {
    QWidget::mouseMoveEvent(e);
    if (!isLoaded()) return;
    int button = 0;
    if (e->buttons() & Qt::LeftButton) button |= 1;
    if (e->buttons() & Qt::RightButton) button |= 2;
    if (e->buttons() & Qt::MiddleButton) button |= 4;
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    const float f = m_scaleMode == 3 ? 1.0f : static_cast<float>(Screen::TwipsPerPixelX());
    const QPointF p = e->position();
    runHandler([&] { Form_MouseMove(button, shift, static_cast<float>(p.x()) * f, static_cast<float>(p.y()) * f); });
}

// ---------------------------------------------------------------- properties

std::string Form::Caption() {
    ensureLoaded();
    return windowTitle().toStdString();
}

void Form::setCaption(const std::string& c) {
    ensureLoaded();
    setWindowTitle(QString::fromStdString(c));
}

int Form::WindowState() {
    ensureLoaded();
    QWidget* o = outerWindow();
    if (m_abgelegt) return vbMinimized;
    if (o->windowState() & Qt::WindowMinimized) return vbMinimized;
    if (o->windowState() & Qt::WindowMaximized) return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int s) {
    ensureLoaded();
    QWidget* o = outerWindow();
    const Qt::WindowStates st = s == vbMinimized   ? Qt::WindowMinimized
                                : s == vbMaximized ? Qt::WindowMaximized
                                                   : Qt::WindowNoState;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(o); sub && sub->isVisible()) {
        if (s == vbMinimized) sub->showMinimized();
        else if (s == vbMaximized) sub->showMaximized();
        else sub->showNormal();
        return;
    }
    if (m_owner && o->isWindow()) {
        if (s == vbMinimized) {
            m_abgelegt = true;
            o->hide();
            return;
        }
        if (m_abgelegt) {
            m_abgelegt = false;
            o->setWindowState(st);
            o->show();
            return;
        }
    }
    o->setWindowState(st);
}

int Form::Left() {
    ensureLoaded();
    return outerWindow()->pos().x() * Screen::TwipsPerPixelX();
}
int Form::Top() {
    ensureLoaded();
    return outerWindow()->pos().y() * Screen::TwipsPerPixelY();
}
int Form::Width() {
    ensureLoaded();
    QWidget* o = outerWindow();
    return (o->isWindow() ? o->frameGeometry().width() : o->width()) * Screen::TwipsPerPixelX();
}
int Form::Height() {
    ensureLoaded();
    QWidget* o = outerWindow();
    return (o->isWindow() ? o->frameGeometry().height() : o->height()) * Screen::TwipsPerPixelY();
}

void Form::Move(int left, int top, int width, int height) {
    ensureLoaded();
    QWidget* o = outerWindow();
    const int tx = Screen::TwipsPerPixelX(), ty = Screen::TwipsPerPixelY();
    o->move(left / tx, top / ty);
    if (width >= 0 || height >= 0) {
        int fw = 0, fh = 0;
        if (o->isWindow()) {
            fw = o->frameGeometry().width() - o->width();
            fh = o->frameGeometry().height() - o->height();
        }
        const int w = width >= 0 ? width / tx - fw : o->width();
        const int h = height >= 0 ? height / ty - fh : o->height();
        o->resize(std::max(w, 1), std::max(h, 1));
    }
}
void Form::setLeft(int twips) { Move(twips, Top()); }
void Form::setTop(int twips) { Move(Left(), twips); }
void Form::setWidth(int twips) { Move(Left(), Top(), twips, -1); }
void Form::setHeight(int twips) { Move(Left(), Top(), -1, twips); }

int Form::ScaleWidth() {
    ensureLoaded();
    const int px = GetClientRect().width();
    return m_scaleMode == 3 ? px : px * Screen::TwipsPerPixelX();
}
int Form::ScaleHeight() {
    ensureLoaded();
    const int px = GetClientRect().height();
    return m_scaleMode == 3 ? px : px * Screen::TwipsPerPixelY();
}

void Form::setMousePointer(int p) {
    m_mousePointer = p;
    if (p == vbDefault) unsetCursor();
    else setCursor(cursorFor(p));
}

void Form::setToolWindow(bool on) {
    const bool vis = isVisible();
    setWindowFlag(Qt::Tool, on);
    if (vis) show();
}

void Form::SetFocus() {
    ensureLoaded();
    if (!isVisible()) throw vb::Error(vb::err::InvalidProcedureCall);
    activateWindow();
    setFocus();
    activateSelf();
}

// ---------------------------------------------------------------- the window's scroll bars

bool Form::GetScrollInfo(int b, ScrollInfo& info) const {
    const Bar& s = bar(b);
    if (info.fMask & SIF_RANGE) {
        info.nMin = s.min;
        info.nMax = s.max;
    }
    if (info.fMask & SIF_PAGE) info.nPage = s.page;
    if (info.fMask & SIF_POS) info.nPos = s.pos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = s.track;
    return true;
}

int Form::SetScrollInfo(int b, const ScrollInfo& info, bool /*redraw*/) {
    Bar& s = bar(b);
    if (!s.widget) {
        s.widget = new QScrollBar(b == SB_VERT ? Qt::Vertical : Qt::Horizontal, this);
        s.widget->hide();
        s.widget->setTracking(false);
        s.widget->setSingleStep(1);
        connect(s.widget, &QScrollBar::actionTriggered, this, [this, b](int action) { barAction(b, action); });
        connect(s.widget, &QScrollBar::sliderReleased, this, [this, b] {
            Bar& now = bar(b);
            sendScroll(b, SB_THUMBPOSITION, now.track);
            sendScroll(b, SB_ENDSCROLL);
            if (now.widget->value() != now.pos) now.widget->setValue(now.pos);
        });
    }
    if (info.fMask & SIF_RANGE) {
        s.min = info.nMin;
        s.max = info.nMax;
    }
    if (info.fMask & SIF_PAGE) s.page = std::max(0, info.nPage);
    const int top = std::max(s.min, s.max - std::max(s.page - 1, 0));
    if (info.fMask & SIF_POS) s.pos = info.nPos;
    s.pos = std::clamp(s.pos, s.min, top);
    s.track = s.pos;
    QSignalBlocker block(s.widget);
    s.widget->setRange(s.min, top);
    if (s.page > 0) s.widget->setPageStep(s.page);
    s.widget->setValue(s.pos);
    return s.pos;
}

bool Form::ShowScrollBar(int b, bool show) {
    if (b == SB_BOTH) {
        ShowScrollBar(SB_HORZ, show);
        return ShowScrollBar(SB_VERT, show);
    }
    Bar& s = bar(b);
    if (!s.widget) SetScrollInfo(b, ScrollInfo{}, false);
    s.shown = show;
    s.widget->setVisible(show);
    placeScrollBars();
    return true;
}

bool Form::isScrollBarShown(int b) const { return bar(b).shown; }

QRect Form::GetClientRect() const {
    const int ext = scrollBarExtent(this);
    return QRect(0, 0, std::max(0, width() - (m_vbar.shown ? ext : 0)), std::max(0, height() - (m_hbar.shown ? ext : 0)));
}

void Form::placeScrollBars() {
    const int ext = scrollBarExtent(this);
    const QRect c = GetClientRect();
    if (m_hbar.widget && m_hbar.shown) {
        m_hbar.widget->setGeometry(0, c.height(), c.width(), ext);
        m_hbar.widget->raise();
    }
    if (m_vbar.widget && m_vbar.shown) {
        m_vbar.widget->setGeometry(c.width(), 0, ext, c.height());
        m_vbar.widget->raise();
    }
}

void Form::barAction(int b, int action) {
    Bar& s = bar(b);
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    if (code == SB_THUMBTRACK) {
        s.track = s.widget->sliderPosition();
        sendScroll(b, code, s.track);
        return;
    }
    // As on the original platform, the bar moves only when the window sets a new position.
    s.widget->setSliderPosition(s.pos);
    sendScroll(b, code, 0);
}

void Form::sendScroll(int b, int code, int pos) {
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) bar(b).track = pos;
    runHandler([&] { Form_Message(b == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeLong(code, pos), 0); });
}

void Form::SendMessage(int msg, std::intptr_t wParam, std::intptr_t lParam) {
    switch (msg) {
    case WM_SETREDRAW: setUpdatesEnabled(wParam != 0); break;
    case WM_PAINT: repaint(); break;
    case WM_HSCROLL:
    case WM_VSCROLL: sendScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LoWord(wParam), HiWord(wParam)); break;
    default: runHandler([&] { Form_Message(msg, wParam, lParam); });
    }
}

void Form::RedrawWindow() {
    setUpdatesEnabled(true);
    repaint();
}

// ---------------------------------------------------------------- the windows of the run

const std::vector<Form*>& Forms() { return formsList(); }

void Load(Form& f) { f.ensureLoaded(); }

bool Unload(Form& f) { return f.unloadWith(vbFormCode); }

namespace detail {
void registerDefault(std::function<void()> destroy) { defaultDestroyers().push_back(std::move(destroy)); }
}  // namespace detail

void resetAllWindows() {
    auto list = formsList();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        Form* f = *it;
        if (std::find(formsList().begin(), formsList().end(), f) == formsList().end()) continue;
        if (!f->unloadWith(vbFormCode)) {
            formsList().erase(std::remove(formsList().begin(), formsList().end(), f), formsList().end());
            if (!f->isDefaultInstance()) f->outerWindow()->deleteLater();
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto destroyers = std::move(defaultDestroyers());
    defaultDestroyers().clear();
    for (auto& d : destroyers) d();
    formsList().clear();
    g_activeTop = nullptr;
    MdiForm::setMain(nullptr);
    Screen::setMousePointer(vbDefault);
}

}  // namespace forms
