// Evaluation pages 11 and 12: the main type with its two neighbours, and its two connected types.

#include <array>
#include <utility>
#include <vector>

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/strings.h"

using namespace auswertseiten;

namespace {

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
    const int haupttyp = urteil::haupttyp(b);
    if (!haupttyp) return;

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(260)});
    s.setFontBold(vorher.fett);
    s.Print();
    saetzeDrucken(s, urteil::unvollstaendig(b));
    grundlageNennen(s, b, haupttyp, vorher);
    gHaupttyp = static_cast<int16_t>(haupttyp);
    const urteil::Fluegel f = urteil::fluegel(b, haupttyp);
    s.Print({draw::Tab(2), LabelTxt(337) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({gTypbezeichnung[f.unten], " ", LabelTxt(371), " ", gTypbezeichnung[f.oben]}, draw::LineEnd::Open);
    standardStil(s);
    s.Print();
    gZaehler = static_cast<int16_t>(f.unten);
    gVerbindungstyp2 = static_cast<int16_t>(f.oben);
    s.Print();
    linie(s);
    s.Print();

    for (const auto& [n, abstand] : {std::pair{f.unten, f.abstandUnten}, std::pair{f.oben, f.abstandOben}}) {
        s.Print({draw::Tab(2), LabelTxt(338) + " ", gTypbezeichnung[n], " " + LabelTxt(339) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({draw::Num(static_cast<int>(b.gesamtJeTyp[n]))});
        standardStil(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(340) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({LabelTxt(abstand)});
        standardStil(s);
        s.Print();
        linie(s);
        s.Print();
    }

    s.setFontItalic(true);
    if (f.staerker == f.unten) {
        s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
        s.Print({gTypbezeichnung[haupttyp]});
        s.Print({draw::Tab(2), LabelTxt(344) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({gTypbezeichnung[f.unten]});
    } else if (f.staerker == f.oben) {
        s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({gTypbezeichnung[haupttyp]});
        standardStil(s);
        s.Print({draw::Tab(2), LabelTxt(344) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({gTypbezeichnung[f.oben]});
    } else {
        s.Print({draw::Tab(2), LabelTxt(343) + " "}, draw::LineEnd::Open);
        s.Print({gTypbezeichnung[haupttyp]});
        s.Print({draw::Tab(2), LabelTxt(345)});
    }
    standardStil(s);
    vorher.zurueck(s);
}

void ShowResultConnectedTypes(const urteil::Befund& b) {
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);
    // The page exists only beside page 11: for the main type the person's results give.
    const int haupttyp = urteil::haupttyp(b);
    if (!haupttyp) return;
    gHaupttyp = static_cast<int16_t>(haupttyp);
    const std::array<urteil::Verbindungstyp, 2> c = urteil::verbindungstypen(b, haupttyp);
    gVerbindungstyp1 = static_cast<int16_t>(c[0].typ);
    gVerbindungstyp2 = static_cast<int16_t>(c[1].typ);

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(346)});
    s.setFontBold(vorher.fett);
    s.Print();
    saetzeDrucken(s, urteil::unvollstaendig(b));
    grundlageNennen(s, b, haupttyp, vorher);

    // The lines of one connected type, its note in bold italic under the heading `hinweis`.
    const auto block = [&](const urteil::Verbindungstyp& v, int name, int gesamt, int abstand, int hinweis) {
        s.Print({draw::Tab(2), LabelTxt(name) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({gTypbezeichnung[v.typ]});
        standardStil(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(gesamt) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({draw::Num(static_cast<int>(b.gesamtJeTyp[v.typ]))});
        standardStil(s);
        s.Print({draw::Tab(2), LabelTxt(abstand) + " "}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({LabelTxt(v.abstand)});
        standardStil(s);
        s.Print();
        s.Print(
            {draw::Tab(2), LabelTxt(350) + " ", draw::Num(static_cast<int>(b.niedrigJeTyp[v.typ])), " " + LabelTxt(351)});
        s.Print({draw::Tab(2), LabelTxt(hinweis)});
        s.Print();
        s.setFontBold(true);
        s.setFontItalic(true);
        for (int z : v.hinweis) s.Print({draw::Tab(2), LabelTxt(z)});
        vorher.zurueck(s);
    };
    block(c[0], 347, 348, 349, 352);
    s.Print();
    block(c[1], 357, 358, 359, 360);
}
