#pragma once

// What the page routines share: the two print styles, the rule, the joined group lists, and the
// rankings of the person's result rows through the main window's cursor Data2.

#include <cstdint>
#include <string>

#include "desk/common/globals.h"
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

// The joined list: for positions 1 to 9 each non-empty entry preceded by one blank, so the
// first-ranked type (position 9) comes last.
std::string verbunden(const RangListe& liste);
// All nine entries of positions 1 to 9 with one blank between neighbours, empty ones included;
// `rechtsKuerzen` removes trailing blanks from each entry first.
std::string alleNeun(const RangListe& liste, bool rechtsKuerzen = false);
// The joined list of x, then each entry of y that is not already one of the types named, each
// preceded by one blank. Whole entries are compared, so a designation that happens to be part of
// another one is still named.
std::string vereinigt(const RangListe& x, const RangListe& y);
// A designation is in group 1 of a list when it equals one of positions 1 to 9; an empty text
// is in no list.
bool inGruppe1(const std::string& bezeichnung, const RangListe& liste);
bool alleLeer(const RangListe& liste);

// How one ranking walks the person's result rows.
struct Rangfolge {
    const char* feld;          // score column read from each row
    const char* ordnung;       // the end of the record source (" order by ...")
    bool betrag;               // compare magnitudes (the ascending pages of the low ratings)
    bool gleichZaehlt;         // group 2 takes a quotient equal to the threshold (>=)
    bool quotientNichtEins;    // group 2 leaves out a quotient of exactly 1
};

// Ranks the current person's result rows as the Part's walk does: the first row gives the top
// score, group 1 the rows equal to it (position 10 - k for the k-th row), group 2 the following
// rows whose quotient passes gSensitivity1; the walk ends at the first row that is in neither.
// A top score of 0 forms no quotient: a row that differs from it ends the walk. Returns the
// TypNummer of the first row. 3021 when the person has no result rows.
int16_t rangfolgeBilden(const Rangfolge& art, RangListe& rang1, RangListe& rang2, int16_t& spitzenwert);

// The record source of a page: "select * from ergebnis  where personid = " & Str(id) & ordnung.
std::string ergebnisAbfrage(const char* ordnung);

// The flags of pages 4 and 10 on the designations of the rankings.
struct Merkmale {
    bool A, B, C, D, E;
};
Merkmale merkmaleSumme34();

// The sum of two 16-bit values as the language adds them: error 6 beyond the 16-bit range.
int16_t summe16(int a, int b);

}  // namespace auswertseiten
