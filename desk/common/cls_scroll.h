#pragma once

// Scrolls a picture larger than its window with the window's own scroll bars. The window is the
// program-wide gScrollForm (set by the scrolling window itself when it loads or is resized) at the
// instance's first use; from then on the instance keeps to that window, so that with several
// scrolling windows open each one scrolls its own picture. The picture is the window's child named
// "Picture1".

#include <QPointer>

#include <cstdint>

namespace forms {
class Form;
}

class clsScroll {
public:
    // The window the instance works on (gScrollForm until the instance is first used).
    forms::Form* ParentForm() const;
    int32_t VirtualHeight() const { return m_virtualHeight; }
    void setVirtualHeight(int32_t v) { m_virtualHeight = v; }
    int32_t VirtualWidth() const { return m_virtualWidth; }
    void setVirtualWidth(int32_t v) { m_virtualWidth = v; }
    int16_t SmallChange() const { return m_smallChange; }
    void setSmallChange(int16_t v) { m_smallChange = v; }
    int16_t LargeChange() const { return m_largeChange; }
    void setLargeChange(int16_t v) { m_largeChange = v; }

    // bar 0 horizontal, 1 vertical.
    int32_t GetScrollPosition(int32_t bar) const;
    int32_t GetScrollTrackPosition(int32_t bar) const;
    void UpdateScrollBars();
    void ScrollContents();
    bool HorizontalBarVisible() const { return m_hVisible; }
    void setHorizontalBarVisible(bool shown);
    bool VerticalBarVisible() const { return m_vVisible; }
    void setVerticalBarVisible(bool shown);

private:
    forms::Form& fenster() const;

    mutable QPointer<forms::Form> m_fenster;
    int32_t m_virtualHeight = 0;
    int32_t m_virtualWidth = 0;
    int16_t m_smallChange = 0;
    int16_t m_largeChange = 0;
    bool m_hVisible = false;
    bool m_vVisible = false;
};

// A WM_HSCROLL or WM_VSCROLL message of `fenster`, which scrolls with `rollen`: a line or page
// step by SmallChange or LargeChange, the end of scrolling nothing, any other code the position of
// the dragged thumb. The new position goes through gScrollInfo to the window's bar, and the
// picture follows. Other messages are left alone.
void RollNachricht(forms::Form& fenster, clsScroll& rollen, int msg, std::intptr_t wParam);
