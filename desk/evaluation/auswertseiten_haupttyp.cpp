// Evaluation pages 11 and 12: the main type with its two neighbours, and its two connected types.

#include <cstdlib>
#include <vector>

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/strings.h"

using namespace auswertseiten;

namespace {

using typrang::abstandUrteil;
using typrang::obererNachbar;
using typrang::untererNachbar;
using typrang::verhaeltnis;

// Index into the per-type arrays: 9 outside 0..9, as the arrays answer.
int typIndex(int typ) {
    if (typ < 0 || typ > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return typ;
}

// Where the comparison of the rankings (page 10) found no main type, or named another one, the
// pages on the main type first say so, and which type they take and why, so that a reader does not
// take it for an established result nor for page 10's.
void grundlageNennen(draw::Surface& s, const urteil::Befund& b, int haupttyp, const Schnitt& vorher) {
    const urteil::Grundlage g = urteil::grundlage(b, urteil::Tafel::Fenster);
    if (g.fall == urteil::Grundlage::Keine) return;
    s.setFontItalic(true);
    if (g.fall == urteil::Grundlage::KeinHaupttyp) {
        s.Print({draw::Tab(2), LabelTxt(325)});
    } else {
        s.Print({draw::Tab(2), LabelTxt(381) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({g.genannt});
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
    const std::vector<int> treffer = urteil::haupttypen(urteil::befundDerPerson());
    if (treffer.empty()) return 0;
    gHaupttyp = static_cast<int16_t>(treffer.back());
    return gHaupttyp;
}

void ShowResultMainType() { ShowResultMainType(urteil::befundDerPerson()); }
void ShowResultConnectedTypes() { ShowResultConnectedTypes(urteil::befundDerPerson()); }

void ShowResultMainType(const urteil::Befund& b) {
    draw::Surface& s = ausgabe();
    // The page ends in the standard colour; only bold and italic go back.
    const Schnitt vorher = Schnitt::von(s);
    if (!urteil::haupttypEindeutig(b)) return;

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(260)});
    s.setFontBold(vorher.fett);
    s.Print();
    saetzeDrucken(s, urteil::unvollstaendig(b));
    const std::vector<int> typen = urteil::haupttypen(b);
    if (!typen.empty()) grundlageNennen(s, b, typen.back(), vorher);
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

void ShowResultConnectedTypes(const urteil::Befund& b) {
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
    saetzeDrucken(s, urteil::unvollstaendig(b));
    if (haupttyp >= 1) grundlageNennen(s, b, haupttyp, vorher);

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
