#pragma once

// Keys as the programs see them: key codes of the Windows virtual keys (27 Esc, 33 PgUp,
// 112 F1 …), the shift state 1 Shift / 2 Ctrl / 4 Alt, and KeyAscii for typed characters.

#include <functional>

class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

namespace forms {

inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyPageUp = 33;
inline constexpr int vbKeyPageDown = 34;
inline constexpr int vbKeyEnd = 35;
inline constexpr int vbKeyHome = 36;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbKeyF1 = 112;

int vbKeyCode(const QKeyEvent* e);
int vbShift(const QKeyEvent* e);
int vbKeyAscii(const QKeyEvent* e);  // 0 when the key types no character

// Sends a key (press and release) to a widget as if typed, e.g. PgDn into a text box.
void SendKey(QWidget* target, int keyCode, int shift = 0);

// The key events of one window or control.
struct KeyHooks {
    std::function<void(int& keyCode, int shift)> down;
    std::function<void(int& keyAscii)> press;
    std::function<void(int& keyCode, int shift)> up;
};

// Runs the hooks for a key event delivered to `receiver`. A hook that sets the key to 0
// swallows it; a changed KeyAscii is delivered in place of the typed one. True when the event
// was consumed. `level` 1 = the window's preview, 2 = the control itself.
bool handleKeyEvent(QObject* receiver, QEvent* e, const KeyHooks& hooks, int level);

}  // namespace forms
