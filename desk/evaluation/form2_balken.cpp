#include "desk/evaluation/form2_balken.h"

#include <cmath>

#include "desk/charts/chart_farben.h"
#include "platform/vb/color.h"
#include "platform/vb/math.h"

EnneagrammWerte EnneagrammWerte::aktuelle() {
    EnneagrammWerte w;
    w.summe34 = gTypsumme34JeTyp;
    w.summe2 = gTypsumme2JeTyp;
    w.summe01 = gTypsumme01JeTyp;
    w.summe1 = gTypsumme1JeTyp;
    w.summe0 = gTypsumme0JeTyp;
    w.antworten = gAntwortAnzahlJeTyp;
    return w;
}

EnneagrammWerte EnneagrammWerte::aus(const zuvtest::Punkte& p) {
    EnneagrammWerte w;
    w.summe34 = p.summe34;
    w.summe2 = p.summe2;
    w.summe01 = p.summe01;
    w.summe1 = p.summe1;
    w.summe0 = p.summe0;
    w.antworten.flat = p.antwortAnzahl;
    return w;
}

Balkenpaar balkenFuer(int ansicht, const EnneagrammWerte& w, int t) {
    // Answers of rating v for type t: element t + 10 * (v + 1).
    auto anzahl = [&](int v) { return static_cast<long long>(w.antworten.flat.at(t + 10 * (v + 1))); };
    auto betrag = [](double q) { return std::abs(q); };
    Balkenpaar b;
    switch (ansicht) {
    case 0:
        b.oben = {1, vb::toInteger(static_cast<long long>(w.summe34[t]) + w.summe2[t]) / 0.52};
        b.unten = {4, betrag(w.summe01[t] / 0.26)};
        break;
    case 1: b.oben = {2, w.summe34[t] / 0.52}; break;
    case 2: b.oben = {3, w.summe2[t] / 0.28}; break;
    case 3: b.unten = {4, betrag(w.summe01[t] / 0.26)}; break;
    case 4: b.oben = {1, vb::toInteger(4 * anzahl(4)) / 0.52}; break;
    case 5: b.oben = {2, vb::toInteger(3 * anzahl(3)) / 0.39}; break;
    case 6: b.unten = {3, betrag(w.summe1[t] / 0.14)}; break;
    case 7: b.unten = {5, betrag(w.summe0[t] / 0.26)}; break;
    default: break;
    }
    return b;
}

int32_t balkenfarbe(int reihe) {
    if (reihe < 1 || reihe > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    const Farbvariablen f = reihenfarbe(reihe);
    // A Null part is error 94, as RGB of Null is.
    return vb::RGB(f.rot->toInt(), f.gruen->toInt(), *f.blau);
}
