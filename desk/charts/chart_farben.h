#pragma once

// The program-wide chart colours as the chart windows and the options dialog use them: the red and
// green parts are kept as database values (variants), the blue part as a 16-bit integer.

#include <cstdint>

#include "platform/vb/variant.h"

namespace forms {
class CommonDialog;
}

// The three parts of one colour setting.
struct Farbvariablen {
    vb::Variant* rot;
    vb::Variant* gruen;
    int16_t* blau;
};

// The colour settings by number: 0 axis lines, 1 chart backdrop, 2 plot backdrop, 3..11 series
// 1 to 9, the order of the stored row.
Farbvariablen farbvariablen(int n);
inline Farbvariablen reihenfarbe(int reihe) { return farbvariablen(2 + reihe); }
inline constexpr int kAchsenfarbe = 0;
inline constexpr int kHintergrundfarbe = 1;
inline constexpr int kDiagrammHintergrundfarbe = 2;

// A stored colour part as a number 0..255: Null, Empty and text that is no number count as 0,
// numbers beyond a byte are clamped.
int16_t farbteil(const vb::Variant& v);

// A colour setting as a colour value (red in the lowest byte).
int32_t farbwert(const Farbvariablen& f);
// Series n's colour as a colour value: what the enneagram window's bars take.
int32_t ReihenFarbe(int reihe);
// Sets a colour setting from a colour value (a colour dialog's answer).
void setzeFarbe(const Farbvariablen& f, int32_t farbe);
// The colour dialog opened on colour value `vorher`: the colour chosen. Cancel raises 32755, which
// the windows' error trap passes over, so the caller changes nothing.
int32_t farbeAusDialog(forms::CommonDialog& d, int32_t vorher);
