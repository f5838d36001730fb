#pragma once

// The eight score views of the enneagram window: for each type an upper and a lower bar, each
// either set from one of the scores in a chart series colour or emptied.

#include <cstdint>

#include "desk/common/globals.h"
#include "desk/testing/auswertung.h"

// The scores one enneagram window shows: those of its own person, taken when it opened.
struct EnneagrammWerte {
    TypArray summe34{}, summe2{}, summe01{}, summe1{}, summe0{};
    AntwortAnzahl antworten;

    // The scores of the current evaluation (the program-wide arrays).
    static EnneagrammWerte aktuelle();
    // The scores of a person scored on its own (not the current one).
    static EnneagrammWerte aus(const zuvtest::Punkte& p);
};

struct Balken {
    int reihe = 0;      // chart series 1..9 whose colour the bar takes; 0: the bar is emptied
    double wert = 0.0;  // fill percentage (may exceed 100)
};

struct Balkenpaar {
    Balken oben;   // SSPanel1
    Balken unten;  // SSPanel2
};

inline constexpr int kAnzahlAnsichten = 8;

// View 0..7 of Combo1 for type 1..9. Sums and products are formed as 16-bit integers (error 6
// beyond); the lower bars show the magnitude of the quotient.
Balkenpaar balkenFuer(int ansicht, const EnneagrammWerte& w, int typ);

// The colour of chart series 1..9 from gReihe<n>Rot/Gruen/Blau as it stands now: error 9 outside
// 1..9, 94 for a Null part.
int32_t balkenfarbe(int reihe);
