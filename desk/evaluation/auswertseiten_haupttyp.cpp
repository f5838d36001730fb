// Evaluation pages 11 and 12: the main type with its two neighbours, and its two connected types.

#include <cstdlib>
#include <vector>

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/strings.h"

using namespace auswertseiten;

namespace {

using typrang::abstandUrteil;
using typrang::haupttypTreffer;
using typrang::obererNachbar;
using typrang::untererNachbar;
using typrang::verhaeltnis;

// Index into the per-type arrays: 9 outside 0..9, as the arrays answer.
int typIndex(int typ) {
    if (typ < 0 || typ > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return typ;
}

// The types the first-ranked entry of the 3-and-4 ranking names. An entry in the names of a
// scheme chosen since it was written names none: then the type that holds the top score of the
// ratings 3 and 4 alone, so that the page never speaks of the count the ranking leaves in
// gHaupttyp as if it were a type.
std::vector<int> haupttypen() {
    std::vector<int> treffer = haupttypTreffer();
    if (!treffer.empty()) return treffer;
    int spitze = 0, typ = 0, anzahl = 0;
    for (int t = 1; t <= 9; ++t) {
        if (gTypsumme34JeTyp[t] > spitze) {
            spitze = gTypsumme34JeTyp[t];
            typ = t;
            anzahl = 1;
        } else if (gTypsumme34JeTyp[t] == spitze) {
            ++anzahl;
        }
    }
    if (spitze > 0 && anzahl == 1) treffer.push_back(typ);
    return treffer;
}

// Where the comparison of the rankings (page 10) found no main type, or named another one, the
// pages on the main type first say so, and which type they take and why, so that a reader does not
// take it for an established result nor for page 10's.
void grundlageNennen(draw::Surface& s, int haupttyp, const Schnitt& vorher) {
    const std::string genannt = HaupttypImVergleich();
    if (!genannt.empty() && genannt == gRang1Typsumme34[9]) return;
    s.setFontItalic(true);
    if (genannt.empty()) {
        s.Print({draw::Tab(2), LabelTxt(325)});
    } else {
        s.Print({draw::Tab(2), LabelTxt(381) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({vb::Trim(genannt)});
        standardStil(s);
        s.setFontItalic(true);
    }
    s.Print({draw::Tab(2), LabelTxt(326) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({gTypbezeichnung[haupttyp]});
    standardStil(s);
    vorher.zurueck(s);
    s.Print();
}

}  // namespace

int16_t HaupttypAusRangliste() {
    const std::vector<int> treffer = haupttypen();
    if (treffer.empty()) return 0;
    gHaupttyp = static_cast<int16_t>(treffer.back());
    return gHaupttyp;
}

void ShowResultMainType() {
    draw::Surface& s = ausgabe();
    // The page ends in the standard colour; only bold and italic go back.
    const Schnitt vorher = Schnitt::von(s);
    if (gHaupttypEindeutig == 0) return;

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(260)});
    s.setFontBold(vorher.fett);
    s.Print();
    const std::vector<int> typen = haupttypen();
    if (!typen.empty()) grundlageNennen(s, typen.back(), vorher);
    s.Print({draw::Tab(2), LabelTxt(337) + " "}, draw::LineEnd::Open);
    extraStil(s);
    for (int k : typen) {
        gHaupttyp = static_cast<int16_t>(k);
        s.Print({gTypbezeichnung[untererNachbar(k)], " ", LabelTxt(371), " ", gTypbezeichnung[obererNachbar(k)]},
                draw::LineEnd::Open);
    }
    standardStil(s);
    s.Print();
    const int haupttyp = gHaupttyp;
    gZaehler = static_cast<int16_t>(untererNachbar(haupttyp));
    gVerbindungstyp2 = static_cast<int16_t>(obererNachbar(haupttyp));
    const int unten = gZaehler, oben = gVerbindungstyp2;
    s.Print();
    linie(s);
    s.Print();

    for (int n : {unten, oben}) {
        s.Print({draw::Tab(2), LabelTxt(338) + " ", gTypbezeichnung[n], " " + LabelTxt(339) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({draw::Num(static_cast<int>(gTypgesamtsummeJeTyp[n]))});
        standardStil(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(340) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({LabelTxt(abstandUrteil(haupttyp, n))});
        standardStil(s);
        s.Print();
        linie(s);
        s.Print();
    }

    s.setFontItalic(true);
    if (gTypgesamtsummeJeTyp[oben] != 0) {
        const int staerker = typrang::staerkererFluegel(verhaeltnis(unten, oben), unten, oben);
        if (staerker == unten) {
            s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
            s.Print({gTypbezeichnung[haupttyp]});
            s.Print({draw::Tab(2), LabelTxt(344) + " "}, draw::LineEnd::Open);
            extraStil(s);
            s.Print({gTypbezeichnung[unten]});
        } else if (staerker == oben) {
            s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
            extraStil(s);
            s.Print({gTypbezeichnung[haupttyp]});
            standardStil(s);
            s.Print({draw::Tab(2), LabelTxt(344) + " "}, draw::LineEnd::Open);
            extraStil(s);
            s.Print({gTypbezeichnung[oben]});
        } else {
            s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
            s.Print({gTypbezeichnung[haupttyp]});
            s.Print({draw::Tab(2), LabelTxt(345)});
        }
    }
    standardStil(s);
    vorher.zurueck(s);
}

void ShowResultConnectedTypes() {
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);
    if (gHaupttyp >= 1 && gHaupttyp <= 9) {
        const typrang::Verbindung v = typrang::verbindungstypen(gHaupttyp);
        gVerbindungstyp1 = static_cast<int16_t>(v.erster);
        gVerbindungstyp2 = static_cast<int16_t>(v.zweiter);
    }
    const int haupttyp = typIndex(gHaupttyp);
    const int c1 = typIndex(gVerbindungstyp1), c2 = typIndex(gVerbindungstyp2);
    const auto niedrig = typrang::niedrigeAntworten;

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(346)});
    s.setFontBold(vorher.fett);
    s.Print();
    if (haupttyp >= 1) grundlageNennen(s, haupttyp, vorher);

    // The first three lines and the count line of one connected type.
    const auto block = [&](int c, int name, int gesamt, int abstand, int hinweis) {
        s.Print({draw::Tab(2), LabelTxt(name) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({gTypbezeichnung[c]});
        standardStil(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(gesamt) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({draw::Num(static_cast<int>(gTypgesamtsummeJeTyp[c]))});
        standardStil(s);
        s.Print({draw::Tab(2), LabelTxt(abstand) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({LabelTxt(abstandUrteil(haupttyp, c))});
        standardStil(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(350) + " ", draw::Num(static_cast<int>(niedrig(c))), " " + LabelTxt(351)});
        s.Print({draw::Tab(2), LabelTxt(hinweis)});
        s.Print();
        s.setFontBold(true);
        s.setFontItalic(true);
    };

    block(c1, 347, 348, 349, 352);
    const typrang::Hinweis hinweis = typrang::niedrigHinweis(niedrig(c1));
    if (hinweis.erste) {
        s.Print({draw::Tab(2), LabelTxt(hinweis.erste)});
        s.Print({draw::Tab(2), LabelTxt(hinweis.zweite)});
    } else {
        s.Print({draw::Tab(2), LabelTxt(typrang::kKeinHinweis)});
    }
    vorher.zurueck(s);
    s.Print();

    block(c2, 357, 358, 359, 360);
    // A heading with nothing under it would read as a note lost.
    const int urteil = typrang::zweiterVerbindungstypUrteil(verhaeltnis(haupttyp, c2));
    s.Print({draw::Tab(2), LabelTxt(urteil ? urteil : typrang::kKeinHinweis)});
    vorher.zurueck(s);
}
