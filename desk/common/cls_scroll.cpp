#include "desk/common/cls_scroll.h"

#include "desk/common/globals.h"
#include "platform/forms/form.h"
#include "platform/forms/screen.h"

forms::Form& clsScroll::fenster() const {
    if (!m_fenster) m_fenster = qobject_cast<forms::Form*>(gScrollForm.data());
    if (!m_fenster) throw vb::Error(vb::err::ObjectNotSet);
    return *m_fenster;
}

forms::Form* clsScroll::ParentForm() const {
    return m_fenster ? m_fenster.data() : qobject_cast<forms::Form*>(gScrollForm.data());
}

int32_t clsScroll::GetScrollPosition(int32_t bar) const {
    forms::ScrollInfo info;
    info.cbSize = 28;
    info.fMask = forms::SIF_POS;
    fenster().GetScrollInfo(bar, info);
    return info.nPos;
}

int32_t clsScroll::GetScrollTrackPosition(int32_t bar) const {
    forms::ScrollInfo info;
    info.cbSize = 28;
    info.fMask = forms::SIF_TRACKPOS;
    fenster().GetScrollInfo(bar, info);
    return info.nTrackPos;
}

void clsScroll::setHorizontalBarVisible(bool shown) {
    fenster().ShowScrollBar(forms::SB_HORZ, shown);
    m_hVisible = shown;
}

void clsScroll::setVerticalBarVisible(bool shown) {
    fenster().ShowScrollBar(forms::SB_VERT, shown);
    m_vVisible = shown;
}

void clsScroll::UpdateScrollBars() {
    forms::Form& f = fenster();
    const QRect r = f.GetClientRect();
    const int32_t w = r.right() + 1, h = r.bottom() + 1;
    auto balken = [&](int bar, int32_t client, int32_t virtuell, bool sichtbar, void (clsScroll::*zeigen)(bool)) {
        if (client >= virtuell) {
            (this->*zeigen)(false);
            return;
        }
        gScrollInfo = {};
        gScrollInfo.cbSize = 28;
        gScrollInfo.fMask = forms::SIF_RANGE;
        if (!sichtbar) {
            // A bar that appears starts at 0; one already shown keeps its position.
            gScrollInfo.nPos = 0;
            gScrollInfo.fMask = forms::SIF_RANGE | forms::SIF_POS;
        }
        gScrollInfo.nMin = 0;
        gScrollInfo.nMax = virtuell - client;
        (this->*zeigen)(true);
        forms::ScrollInfo info;
        info.cbSize = gScrollInfo.cbSize;
        info.fMask = gScrollInfo.fMask;
        info.nMin = gScrollInfo.nMin;
        info.nMax = gScrollInfo.nMax;
        info.nPos = gScrollInfo.nPos;
        f.SetScrollInfo(bar, info, true);
    };
    balken(forms::SB_HORZ, w, m_virtualWidth, m_hVisible, &clsScroll::setHorizontalBarVisible);
    balken(forms::SB_VERT, h, m_virtualHeight, m_vVisible, &clsScroll::setVerticalBarVisible);
    ScrollContents();
}

void clsScroll::ScrollContents() {
    // Each step on its own: a window without a picture, or without bars, skips it. With the window
    // gone (closed while a scroll message was on its way) there is nothing to move; any other fault
    // is the caller's.
    forms::Form* f = ParentForm();
    if (!f) return;
    QWidget* bild = f->findChild<QWidget*>("Picture1");
    const int32_t hpos = m_hVisible ? GetScrollPosition(0) : 0;
    if (bild) bild->move(gScrollPosX - hpos, bild->y());
    const int32_t vpos = m_vVisible ? GetScrollPosition(1) : 0;
    if (bild) bild->move(bild->x(), gScrollPosY - vpos);
}

void RollNachricht(forms::Form& fenster, clsScroll& rollen, int msg, std::intptr_t wParam) {
    if (msg != forms::WM_HSCROLL && msg != forms::WM_VSCROLL) return;
    int schritt = 0;
    bool mitSchritt = true;
    switch (forms::LoWord(wParam)) {
    case forms::SB_LINEUP: schritt = -rollen.SmallChange(); break;
    case forms::SB_LINEDOWN: schritt = rollen.SmallChange(); break;
    case forms::SB_PAGEUP: schritt = -rollen.LargeChange(); break;
    case forms::SB_PAGEDOWN: schritt = rollen.LargeChange(); break;
    case forms::SB_ENDSCROLL: return;
    default: mitSchritt = false;
    }
    gScrollInfo.cbSize = 28;
    gScrollInfo.fMask = forms::SIF_POS;
    const int balken = msg == forms::WM_HSCROLL ? forms::SB_HORZ : forms::SB_VERT;
    gScrollInfo.nPos = mitSchritt ? rollen.GetScrollPosition(balken) + schritt : rollen.GetScrollTrackPosition(balken);
    forms::ScrollInfo info;
    info.cbSize = gScrollInfo.cbSize;
    info.fMask = gScrollInfo.fMask;
    info.nPos = gScrollInfo.nPos;
    fenster.SetScrollInfo(balken, info, true);
    rollen.ScrollContents();
}
