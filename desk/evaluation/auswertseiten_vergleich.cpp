// Evaluation pages 9 and 10: the deviation of each type's total from the mean, and the ranking by
// the total set beside the ranking by the ratings 3 and 4 with its conclusion.

#include <cmath>

#include "desk/evaluation/auswertform.h"
#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/format.h"

using namespace auswertseiten;

void ShowResultDeviation() {
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);
    if (auswertform* f = zeichnendesFenster()) f->Frame1.setCaption(LabelTxt(223));

    gTypsummenMittel = typrang::typsummenMittel();
    const float mittel = gTypsummenMittel;
    const float niveau = mittel / 14.0f;

    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(299)});
    s.setFontBold(vorher.fett);
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(300) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({vb::Format(vb::Variant(mittel), "00.00")});
    standardStil(s);
    s.Print({draw::Tab(2), LabelTxt(301) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({vb::Format(vb::Variant(niveau), "00.00")}, draw::LineEnd::Open);
    standardStil(s);
    s.Print({" " + LabelTxt(302)});
    s.setFontItalic(true);
    s.Print();
    const int stufe = typrang::niveauUrteil(niveau);
    s.Print({draw::Tab(2), LabelTxt(303) + " ", LabelTxt(stufe)});
    vorher.zurueck(s);
    s.Print();
    s.Print();

    s.Print({draw::Tab(20), LabelTxt(259), draw::Tab(45), LabelTxt(307), draw::Tab(75), LabelTxt(308)});
    s.Print({draw::Tab(75), LabelTxt(309)});
    linie(s);
    for (int t = 1; t <= 9; ++t) {
        const float gesamt = gTypgesamtsummeJeTyp[t];
        const float abweichung = gesamt - mittel;
        const float quotient = mittel != 0.0f ? gesamt / mittel : 0.0f;
        standardStil(s);
        s.Print({draw::Tab(2), gTypbezeichnung[t], draw::Tab(30), vb::Format(vb::Variant(abweichung), "000.00"),
                 draw::Tab(55), vb::Format(vb::Variant(quotient), "00.00"), draw::Tab(75)},
                draw::LineEnd::Open);
        const int klasse = typrang::abweichungsKlasse(gesamt, mittel);
        if (klasse == 0) continue;  // no mean: the row stays without a class
        if (klasse == 311) standardStil(s);
        else extraStil(s);
        s.Print({LabelTxt(klasse)});
    }
    standardStil(s);
    s.Print();
    linie(s);
}

namespace {

// The conclusion of page 10, one row of its decision table.
struct Regel {
    bool kleinesK;  // K < 5 (else K >= 5)
    enum Bedingung { ABC, DE, AB_nC, A_nB_C, A_nB_nC, nA_B_nC, D_nE } bedingung;
    bool mitS;      // the first line names the leader of the 3-and-4 ranking, else of the total
    int text;       // label text after the designation
    std::initializer_list<int> weitere;
};

bool trifft(Regel::Bedingung b, const Merkmale& m) {
    switch (b) {
    case Regel::ABC: return m.A && m.B && m.C;
    case Regel::DE: return m.D && m.E;
    case Regel::AB_nC: return m.A && m.B && !m.C;
    case Regel::A_nB_C: return m.A && !m.B && m.C;
    case Regel::A_nB_nC: return m.A && !m.B && !m.C;
    case Regel::nA_B_nC: return !m.A && m.B && !m.C;
    case Regel::D_nE: return m.D && !m.E;
    }
    return false;
}

const Regel kRegeln[] = {
    {true, Regel::ABC, false, 439, {440, 441, 442}},      // 1
    {true, Regel::DE, true, 443, {440, 441, 444}},        // 2
    {true, Regel::AB_nC, false, 445, {440, 441, 409}},    // 3
    {true, Regel::A_nB_C, false, 447, {440, 441, 411}},   // 4
    {true, Regel::A_nB_nC, false, 448, {440, 441, 411}},  // 5
    {true, Regel::nA_B_nC, false, 449, {440, 441, 411}},  // 6
    {false, Regel::ABC, false, 439, {440, 409}},          // 7
    {false, Regel::DE, true, 443, {440, 411}},            // 8
    {false, Regel::AB_nC, false, 439, {440, 411}},        // 9
    {false, Regel::D_nE, true, 446, {440, 411}},          // 10
    {false, Regel::A_nB_C, false, 447, {440, 417}},       // 11
    {false, Regel::A_nB_nC, false, 448, {440, 417}},      // 12
    {false, Regel::nA_B_nC, false, 449, {440, 417}},      // 13
};

// The row of the decision table that the rankings as page 10 left them choose, or nullptr.
const Regel* vergleichsRegel() {
    // Without a rating of 3 or 4 every type ties at 0 there: no type leads by them.
    if (gAnzahlRang1 != 1 || gSpitzenwertTypsumme34 == 0) return nullptr;
    const Merkmale m = merkmaleSumme34();
    const bool kleinesK = typrang::niedrigeAntworten(gVergleichTyp) < 5;
    for (const Regel& r : kRegeln)
        if (r.kleinesK == kleinesK && trifft(r.bedingung, m)) return &r;
    return nullptr;
}

}  // namespace

std::string HaupttypImVergleich() {
    const Regel* regel = vergleichsRegel();
    return regel ? (regel->mitS ? gRang1Typsumme34[9] : gRang1Typgesamtsumme[9]) : std::string();
}

void ShowResultCompare() {
    typrang::rangfolgenVergleichen();
    // The rankings by the ratings 4 and 3 that the flags compare with, as pages 2 and 3 make them.
    for (int seite : {2, 3}) gruppenDerSeite(seite);
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);
    TypnummernErsetzen();

    const auto liste = [&](const std::string& l) {
        extraStil(s);
        s.Print({draw::Tab(2), l});
        standardStil(s);
    };
    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(314)});
    s.setFontBold(vorher.fett);
    s.Print();
    if (gVergleichLauf == 9) {
        s.Print({draw::Tab(2), LabelTxt(315)});
        s.Print();
        linie(s);
        liste(verbunden(gRang1Typgesamtsumme));
        linie(s);
        s.Print();
        for (int t : {316, 317, 318}) s.Print({draw::Tab(2), LabelTxt(t)});
        s.Print();
        s.Print();
    } else {
        s.Print({draw::Tab(2), LabelTxt(319)});
        s.Print({draw::Tab(2), LabelTxt(320)});
        s.Print();
        linie(s);
        liste(verbunden(gVergleichTypen));
        linie(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(321)});
        s.Print();
        linie(s);
        liste(verbunden(gRang1Typgesamtsumme));
        linie(s);
    }
    s.Print();
    s.setFontBold(true);
    s.setFontItalic(true);

    if (const Regel* regel = vergleichsRegel()) {
        s.Print({draw::Tab(2), LabelTxt(438)}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({regel->mitS ? gRang1Typsumme34[9] : gRang1Typgesamtsumme[9]}, draw::LineEnd::Open);
        standardStil(s);
        if (!regel->kleinesK && regel->bedingung == Regel::A_nB_nC) {
            // Rule 12 goes on with a text of its own and leaves the line open.
            s.Print({LabelTxt(regel->text), "' wurde basierend auf den Antwortwerten '0 bis 4' und '3 bis 4' "},
                    draw::LineEnd::Open);
        } else {
            s.Print({LabelTxt(regel->text)});
        }
        for (int t : regel->weitere) s.Print({draw::Tab(2), LabelTxt(t)});
        s.Print();
    } else if (gSpitzenwertTypsumme34 != 0) {
        for (int t : {329, 330, 331, 332, 333}) s.Print({draw::Tab(2), LabelTxt(t)});
        s.Print();
        vorher.zurueck(s);
        linie(s);
        liste(verbunden(gRang1Typsumme34));
        s.Print();
        linie(s);
    } else {
        for (int t : {334, 335, 336}) s.Print({draw::Tab(2), LabelTxt(t)});
    }
    vorher.zurueck(s);
}
