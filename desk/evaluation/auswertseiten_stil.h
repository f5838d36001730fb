#pragma once

// What the page routines share: the two print styles and the rule; the rankings of the person's
// result rows and their list texts come from the test administration's ranking routines.

#include <cstdint>
#include <string>

#include "desk/common/globals.h"
#include "desk/testing/rangfolge.h"
#include "desk/testing/urteile.h"
#include "platform/draw/surface.h"

namespace auswertseiten {

// The surface the pages print on; 91 when no window has pointed gAusgabe at its picture.
draw::Surface& ausgabe();

// Font objects built from the settings, as each page builds its own two.
draw::FontSpec extraFont();
draw::FontSpec standardFont();
int32_t farbe(const vb::Variant& wert);

// Extra style: the extra font with gExtraschriftfarbe; standard style: the standard font with
// gStandardschriftfarbe. Setting a font replaces name, size, bold and italic together.
void extraStil(draw::Surface& s);
void standardStil(draw::Surface& s);

// A line of `laenge` rule characters (code 175) at print column 2, ending the line.
void linie(draw::Surface& s, int laenge = 80);

// The sentences of a verdict from column 2: label texts in the style the page set, lists of types
// in the extra style, after which the standard style returns.
void saetzeDrucken(draw::Surface& s, const urteil::Saetze& saetze);

// Bold and italic of the surface as they were at a point of the page, to be put back later.
struct Schnitt {
    bool fett = false;
    bool kursiv = false;
    static Schnitt von(const draw::Surface& s) { return {s.FontBold(), s.FontItalic()}; }
    void zurueck(draw::Surface& s) const {
        s.setFontBold(fett);
        s.setFontItalic(kursiv);
    }
};

// The rankings, list texts and decisions the printed report makes too.
using typrang::alleLeer;
using typrang::alleNeun;
using typrang::inGruppe1;
using typrang::Rangfolge;
using typrang::rangfolgeBilden;
using typrang::verbunden;
using typrang::vereinigt;

}  // namespace auswertseiten
