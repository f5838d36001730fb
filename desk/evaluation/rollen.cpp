#include "desk/evaluation/rollen.h"

#include "desk/common/cls_scroll.h"
#include "desk/common/globals.h"
#include "platform/forms/form.h"

void RollNachricht(forms::Form& fenster, clsScroll& rollen, int msg, std::intptr_t wParam) {
    if (msg != forms::WM_HSCROLL && msg != forms::WM_VSCROLL) return;
    int schritt = 0;
    switch (forms::LoWord(wParam)) {
    case forms::SB_LINEUP: schritt = -rollen.SmallChange(); break;
    case forms::SB_LINEDOWN: schritt = rollen.SmallChange(); break;
    case forms::SB_PAGEUP: schritt = -rollen.LargeChange(); break;
    case forms::SB_PAGEDOWN: schritt = rollen.LargeChange(); break;
    case forms::SB_ENDSCROLL: return;
    default: break;
    }
    gScrollInfo.cbSize = 28;
    gScrollInfo.fMask = forms::SIF_POS;
    const int balken = msg == forms::WM_HSCROLL ? forms::SB_HORZ : forms::SB_VERT;
    gScrollInfo.nPos = schritt != 0 ? rollen.GetScrollPosition(balken) + schritt : rollen.GetScrollTrackPosition(balken);
    forms::ScrollInfo info;
    info.cbSize = gScrollInfo.cbSize;
    info.fMask = gScrollInfo.fMask;
    info.nPos = gScrollInfo.nPos;
    fenster.SetScrollInfo(balken, info, true);
    rollen.ScrollContents();
}
