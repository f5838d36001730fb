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

    int16_t summe = 0;
    for (gZaehler = 1; gZaehler <= 9; ++gZaehler) summe = summe16(summe, gTypgesamtsummeJeTyp[gZaehler]);
    gTypsummenMittel = static_cast<float>(summe) / 9.0f;
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
    const int stufe = niveau < 1.9f ? 304 : niveau <= 2.3f ? 306 : 305;
    s.Print({draw::Tab(2), LabelTxt(303) + " ", LabelTxt(stufe)});
    vorher.zurueck(s);
    s.Print();
    s.Print();

    s.Print({draw::Tab(20), LabelTxt(259), draw::Tab(45), LabelTxt(307), draw::Tab(75), LabelTxt(308)});
    s.Print({draw::Tab(75), LabelTxt(309)});
    linie(s);
    for (gZaehler = 1; gZaehler <= 9; ++gZaehler) {
        const float gesamt = gTypgesamtsummeJeTyp[gZaehler];
        const float abweichung = gesamt - mittel;
        const float quotient = mittel != 0.0f ? gesamt / mittel : 0.0f;
        const float relativ = quotient - 1.0f;
        standardStil(s);
        s.Print({draw::Tab(2), gTypbezeichnung[gZaehler], draw::Tab(30), vb::Format(vb::Variant(abweichung), "000.00"),
                 draw::Tab(55), vb::Format(vb::Variant(quotient), "00.00"), draw::Tab(75)},
                draw::LineEnd::Open);
        if (mittel == 0.0f) continue;  // no quotient: the row stays without a class
        if (relativ >= gSensitivity2) {
            extraStil(s);
            s.Print({LabelTxt(310)});
        } else if (relativ <= gSensitivity1) {
            extraStil(s);
            s.Print({LabelTxt(312)});
        } else {
            standardStil(s);
            s.Print({LabelTxt(311)});
        }
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

}  // namespace

void ShowResultCompare() {
    gRang2Typgesamtsumme.fill("");
    gRang1Typgesamtsumme.fill("");
    gRang2Typsumme34.fill("");
    gRang1Typsumme34.fill("");
    gVergleichTypen.fill("");
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);

    rangfolgeBilden({"TypGesamtSumme", " order by typgesamtsumme desc", false, false, true}, gRang1Typgesamtsumme,
                    gRang2Typgesamtsumme, gSpitzenwertTypgesamtsumme);
    gAnzahlRang1 = 0;
    for (int t = 1; t <= 9; ++t)
        if (gTypgesamtsummeJeTyp[t] == gSpitzenwertTypgesamtsumme) ++gAnzahlRang1;
    gVergleichTyp = rangfolgeBilden({"TypSumme34", " order by typsumme34 desc", false, true, true}, gRang1Typsumme34,
                                    gRang2Typsumme34, gSpitzenwertTypsumme34);
    gVergleichLauf = 1;
    for (gZaehler = 1; gZaehler <= 9; ++gZaehler) {
        bool besteht = gSpitzenwertTypgesamtsumme == 0;
        if (!besteht) {
            const double q = static_cast<double>(gTypgesamtsummeJeTyp[gZaehler]) / gSpitzenwertTypgesamtsumme;
            besteht = static_cast<float>(q) > gSensitivity1;
        }
        if (besteht) gVergleichTypen[gZaehler] = gTypbezeichnung[gZaehler];
        else ++gVergleichLauf;
    }
    TypnummernErsetzen();
    const Merkmale m = merkmaleSumme34();
    const int16_t k = summe16(gAntwortAnzahlJeTyp[gVergleichTyp + 10], gAntwortAnzahlJeTyp[gVergleichTyp + 20]);

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

    const Regel* regel = nullptr;
    if (gAnzahlRang1 == 1)
        for (const Regel& r : kRegeln)
            if (r.kleinesK == (k < 5) && trifft(r.bedingung, m)) {
                regel = &r;
                break;
            }
    if (regel) {
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
