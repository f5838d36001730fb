#pragma once

// What every control shares: the properties with the names the programs use (position in
// twips, Visible, Enabled, ToolTipText, Tag), focus and mouse events, and the key events
// KeyDown/KeyPress/KeyUp, where a handler that sets the key to 0 swallows it.
//
// Controls held as members of a window: declare a frame or tab control before the controls
// placed in it, so that the contents go first when the window is destroyed.

#include "platform/forms/form.h"
#include "platform/forms/keys.h"
#include "platform/forms/screen.h"

#include <QEvent>
#include <QMouseEvent>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <string>
#include <utility>

namespace forms {

// Calls an event handler of a control; an error in it is shown, never thrown into Qt.
template <class F, class... A>
void fire(const F& handler, A&&... args) {
    if (!handler) return;
    runHandler([&] { handler(std::forward<A>(args)...); });
}

// Puts the controls of a window that have a TabIndex into the Tab key's order, lowest first.
void applyTabOrder(QWidget* anyInWindow);

template <class W>
class Control : public W {
public:
    template <class... A>
    explicit Control(A&&... args) : W(std::forward<A>(args)...) {
        watch(this);
    }

    // Events.
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int button, int shift, float x, float y)> MouseMove;
    std::function<void(int& keyCode, int shift)> KeyDown;
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int& keyCode, int shift)> KeyUp;

    bool Visible() const { return !this->isHidden(); }
    bool Enabled() const { return this->isEnabled(); }
    std::string ToolTipText() const { return this->toolTip().toStdString(); }
    void setToolTipText(const std::string& t) { this->setToolTip(QString::fromStdString(t)); }
    std::string Tag() const { return m_tag; }
    void setTag(std::string t) { m_tag = std::move(t); }

    int Left() const { return this->x() * Screen::TwipsPerPixelX(); }
    int Top() const { return this->y() * Screen::TwipsPerPixelY(); }
    int Width() const { return this->width() * Screen::TwipsPerPixelX(); }
    int Height() const { return this->height() * Screen::TwipsPerPixelY(); }
    void setLeft(int t) { this->move(t / Screen::TwipsPerPixelX(), this->y()); }
    void setTop(int t) { this->move(this->x(), t / Screen::TwipsPerPixelY()); }
    void setWidth(int t) { this->resize(t / Screen::TwipsPerPixelX(), this->height()); }
    void setHeight(int t) { this->resize(this->width(), t / Screen::TwipsPerPixelY()); }
    void Move(int left, int top, int width = -1, int height = -1) {
        const int tx = Screen::TwipsPerPixelX(), ty = Screen::TwipsPerPixelY();
        this->setGeometry(left / tx, top / ty, width >= 0 ? width / tx : this->width(),
                          height >= 0 ? height / ty : this->height());
    }
    void SetFocus() {
        if (!this->isVisible() || !this->isEnabled()) throw vb::Error(vb::err::InvalidProcedureCall);
        this->activateWindow();
        this->setFocus(Qt::OtherFocusReason);
    }
    void Refresh() { this->repaint(); }
    // Place in the Tab key's order among the controls of the window (-1: never set).
    int TabIndex() const {
        const QVariant v = this->property("vbTabIndex");
        return v.isValid() ? v.toInt() : -1;
    }
    void setTabIndex(int i) {
        if (i < 0) throw vb::Error(vb::err::InvalidPropertyValue);
        this->setProperty("vbTabIndex", i);
        applyTabOrder(this);
    }

    int FontSize() const { return this->font().pointSize(); }
    void setFontSize(double pt) {
        QFont f = this->font();
        f.setPointSizeF(pt);
        this->setFont(f);
    }
    bool FontBold() const { return this->font().bold(); }
    void setFontBold(bool b) {
        QFont f = this->font();
        f.setBold(b);
        this->setFont(f);
    }
    std::string FontName() const { return this->font().family().toStdString(); }
    void setFontName(const std::string& n) {
        QFont f = this->font();
        f.setFamily(QString::fromStdString(n));
        this->setFont(f);
    }

protected:
    // Key, focus and mouse events are taken from this widget (an inner editor for composites).
    // `keys`: the widget that receives the keys (keys propagating to parents are not seen again).
    void watch(QWidget* w, bool keys = true) {
        w->installEventFilter(this);
        w->setMouseTracking(true);
        if (keys) m_keySource = w;
    }

    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (o == m_keySource && (KeyDown || KeyPress || KeyUp)) {
                KeyHooks h{KeyDown, KeyPress, KeyUp};
                if (handleKeyEvent(o, e, h, 2)) return true;
            }
            break;
        case QEvent::ShortcutOverride:
            // Menu shortcuts come before a control's own editing keys (Ctrl+C in the text box runs
            // the window's copy command): the control does not claim the key, so a shortcut of
            // the window gets it, and when there is none the key arrives as usual.
            if (o == m_keySource) return true;
            break;
        case QEvent::FocusIn: fire(GotFocus); break;
        case QEvent::FocusOut: fire(LostFocus); break;
        case QEvent::MouseMove:
            if (MouseMove) {
                auto* m = static_cast<QMouseEvent*>(e);
                int button = 0;
                if (m->buttons() & Qt::LeftButton) button |= 1;
                if (m->buttons() & Qt::RightButton) button |= 2;
                int shift = 0;
                if (m->modifiers() & Qt::ShiftModifier) shift |= 1;
                if (m->modifiers() & Qt::ControlModifier) shift |= 2;
                if (m->modifiers() & Qt::AltModifier) shift |= 4;
                const QPointF p = m->position();
                fire(MouseMove, button, shift, static_cast<float>(p.x() * Screen::TwipsPerPixelX()),
                     static_cast<float>(p.y() * Screen::TwipsPerPixelY()));
            }
            break;
        default: break;
        }
        return W::eventFilter(o, e);
    }

private:
    std::string m_tag;
    QObject* m_keySource = this;
};

}  // namespace forms
