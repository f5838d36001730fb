#pragma once

// Where a window may stand: below the windows and the help viewer, which both size themselves by it.

#include <QSize>

namespace forms {

// A window's designed size, made smaller where needed so that the window with its title bar
// and border fits the free area of the primary screen (the screen less its panels).
QSize fitOnScreen(const QSize& designed);

}  // namespace forms
