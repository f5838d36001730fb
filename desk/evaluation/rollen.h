#pragma once

// The scroll messages of the result windows that scroll their picture with clsScroll.

#include <cstdint>

class clsScroll;
namespace forms {
class Form;
}

// A WM_HSCROLL or WM_VSCROLL message of `fenster`: a line or page step by the scroll object's
// SmallChange or LargeChange, the end of scrolling nothing, any other code the position of the
// dragged thumb. The new position goes through gScrollInfo to the window's bar, and the picture
// follows. Other messages are left alone.
void RollNachricht(forms::Form& fenster, clsScroll& rollen, int msg, std::intptr_t wParam);
