#include "platform/forms/keys.h"

#include "platform/forms/form.h"

#include <QApplication>
#include <QKeyEvent>

namespace forms {

namespace {
struct KeyPair {
    int qt;
    int vb;
};
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // The keys of the main block that type punctuation and umlauts (German layout), with the
    // code of the physical key, shifted symbols included, as the programs' key checks see them.
    {Qt::Key_Udiaeresis, 186},
    {Qt::Key_Plus, 187},
    {Qt::Key_Asterisk, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Semicolon, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Colon, 190},
    {Qt::Key_NumberSign, 191},
    {Qt::Key_Apostrophe, 191},
    {Qt::Key_Odiaeresis, 192},
    {Qt::Key_ssharp, 219},
    {Qt::Key_Question, 219},
    {Qt::Key_Backslash, 219},
    {Qt::Key_AsciiCircum, 220},
    {Qt::Key_degree, 220},
    {Qt::Key_acute, 221},
    {Qt::Key_QuoteLeft, 221},
    {Qt::Key_Adiaeresis, 222},
    {Qt::Key_Less, 226},
    {Qt::Key_Greater, 226},
    {Qt::Key_Bar, 226},
    // Shifted digits of the main block.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_QuoteDbl, '2'},
    {Qt::Key_section, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_Ampersand, '6'},
    {Qt::Key_Slash, '7'},
    {Qt::Key_ParenLeft, '8'},
    {Qt::Key_ParenRight, '9'},
    {Qt::Key_Equal, '0'},
};

// The number block: digits 96..105, then * + separator - , / (106..111).
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

// A redispatched event carries the level that sent it, so that no hook sees it twice.
const QEvent* g_redispatched = nullptr;
int g_redispatchLevel = 0;
}  // namespace

int vbKeyCode(const QKeyEvent* e) {
    const int k = e->key();
    if (e->modifiers() & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
        for (const auto& p : kKeypad)
            if (p.qt == k) return p.vb;
    }
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    for (const auto& p : kKeys)
        if (p.qt == k) return p.vb;
    return 0;
}

int vbShift(const QKeyEvent* e) {
    int s = 0;
    if (e->modifiers() & Qt::ShiftModifier) s |= 1;
    if (e->modifiers() & Qt::ControlModifier) s |= 2;
    if (e->modifiers() & Qt::AltModifier) s |= 4;
    return s;
}

int vbKeyAscii(const QKeyEvent* e) {
    const QString t = e->text();
    if (t.isEmpty()) return 0;
    return t.at(0).unicode();
}

namespace {
int qtKeyFor(int vb) {
    if ((vb >= 'A' && vb <= 'Z') || (vb >= '0' && vb <= '9')) return vb;
    if (vb >= 96 && vb <= 105) return Qt::Key_0 + (vb - 96);
    for (const auto& p : kKeypad)
        if (p.vb == vb) return p.qt;
    if (vb >= 112 && vb <= 135) return Qt::Key_F1 + (vb - 112);
    for (const auto& p : kKeys)
        if (p.vb == vb) return p.qt;
    return 0;
}

QString textFor(int vb) {
    if (vb == 13) return QStringLiteral("\r");
    if (vb == 27) return QString(QChar(27));
    if (vb == 8) return QStringLiteral("\b");
    if (vb == 9) return QStringLiteral("\t");
    if (vb == 32) return QStringLiteral(" ");
    if (vb >= '0' && vb <= '9') return QString(QChar(vb));
    if (vb >= 'A' && vb <= 'Z') return QString(QChar(vb)).toLower();
    if (vb >= 96 && vb <= 105) return QString(QChar('0' + vb - 96));
    const int k = qtKeyFor(vb);
    if (vb >= 106 && k >= 0x20 && k < 0x7F) return QString(QChar(k));  // punctuation keys
    if (k == Qt::Key_Udiaeresis || k == Qt::Key_Odiaeresis || k == Qt::Key_Adiaeresis || k == Qt::Key_ssharp)
        return QString(QChar(k)).toLower();
    return {};
}

Qt::KeyboardModifiers qtModifiers(int shift) {
    Qt::KeyboardModifiers m;
    if (shift & 1) m |= Qt::ShiftModifier;
    if (shift & 2) m |= Qt::ControlModifier;
    if (shift & 4) m |= Qt::AltModifier;
    return m;
}
}  // namespace

void SendKey(QWidget* target, int keyCode, int shift) {
    if (!target) return;
    const int k = qtKeyFor(keyCode);
    Qt::KeyboardModifiers mods = qtModifiers(shift);
    if (keyCode >= 96 && keyCode <= 111) mods |= Qt::KeypadModifier;
    QKeyEvent press(QEvent::KeyPress, k, mods, textFor(keyCode));
    QKeyEvent release(QEvent::KeyRelease, k, mods, textFor(keyCode));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

bool handleKeyEvent(QObject* receiver, QEvent* e, const KeyHooks& hooks, int level) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
    if (e == g_redispatched && g_redispatchLevel >= level) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const int shift = vbShift(k);
    if (e->type() == QEvent::KeyRelease) {
        int code = vbKeyCode(k);
        if (hooks.up && code) {
            runHandler([&] { hooks.up(code, shift); });
            if (code == 0) return true;
        }
        return false;
    }
    int code = vbKeyCode(k);
    if (hooks.down && code) {
        runHandler([&] { hooks.down(code, shift); });
        if (code == 0) return true;
    }
    const int typed = vbKeyAscii(k);
    int ascii = typed;
    if (hooks.press && typed) {
        runHandler([&] { hooks.press(ascii); });
        if (ascii == 0) return true;
        if (ascii != typed) {
            const QString text(QChar(static_cast<char16_t>(ascii)));
            int key = ascii == 13 ? static_cast<int>(Qt::Key_Return)
                                  : QChar(static_cast<char16_t>(ascii)).toUpper().unicode();
            QKeyEvent changed(QEvent::KeyPress, key, k->modifiers(), text);
            const QEvent* prev = g_redispatched;
            const int prevLevel = g_redispatchLevel;
            g_redispatched = &changed;
            g_redispatchLevel = level;
            QApplication::sendEvent(receiver, &changed);
            g_redispatched = prev;
            g_redispatchLevel = prevLevel;
            return true;
        }
    }
    return false;
}

}  // namespace forms
