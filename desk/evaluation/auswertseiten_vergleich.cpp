// Evaluation pages 9 and 10: the deviation of each type's total from the mean, and the ranking by
// the total set beside the ranking by the ratings 3 and 4 with its conclusion.

#include <cmath>
#include <vector>

#include "desk/evaluation/auswertform.h"
#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/format.h"

using namespace auswertseiten;

void ShowResultDeviation() { ShowResultDeviation(urteil::befundDerPerson()); }

void ShowResultDeviation(const urteil::Befund& b) {
    draw::Surface& s = ausgabe();
    const Schnitt vorher = Schnitt::von(s);
    if (auswertform* f = zeichnendesFenster()) f->Frame1.setCaption(LabelTxt(223));

    const urteil::Abweichung a = urteil::abweichung(b);
    gTypsummenMittel = a.mittel;
    const float mittel = a.mittel;
    const float niveau = a.jeAussage;

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
    s.Print({draw::Tab(2), LabelTxt(303) + " ", LabelTxt(a.niveau)});
    vorher.zurueck(s);
    s.Print();
    s.Print();

    s.Print({draw::Tab(20), LabelTxt(259), draw::Tab(45), LabelTxt(307), draw::Tab(75), LabelTxt(308)});
    s.Print({draw::Tab(75), LabelTxt(309)});
    linie(s);
    for (int t = 1; t <= 9; ++t) {
        const float gesamt = b.gesamtJeTyp[t];
        const float abweichung = gesamt - mittel;
        standardStil(s);
        std::vector<draw::Item> zeile{draw::Tab(2), gTypbezeichnung[t], draw::Tab(30),
                                      vb::Format(vb::Variant(abweichung), "000.00")};
        // Over a mean of 0 or below it the quotient is no ratio to the mean: the column stays empty.
        if (a.verhaeltnisWahr)
            zeile.insert(zeile.end(), {draw::Tab(55), vb::Format(vb::Variant(gesamt / mittel), "00.00")});
        zeile.push_back(draw::Tab(75));
        s.Print(zeile, draw::LineEnd::Open);
        const int klasse = a.klasse[t];
        if (klasse == 0) continue;  // no mean: the row stays without a class
        if (klasse == 311) standardStil(s);
        else extraStil(s);
        s.Print({LabelTxt(klasse)});
    }
    standardStil(s);
    s.Print();
    linie(s);
}

void ShowResultCompare() {
    typrang::rangfolgenVergleichen();
    const urteil::Befund b = urteil::befundDerPerson();
    const urteil::Vergleich v = urteil::vergleich(b, urteil::Tafel::Fenster);
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
    if (urteil::nurEinerVorn(b)) {
        s.Print({draw::Tab(2), LabelTxt(315)});
        s.Print();
        linie(s);
        liste(verbunden(b.gesamt.eins));
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
        liste(verbunden(b.vergleichTypen));
        linie(s);
        s.Print();
        s.Print({draw::Tab(2), LabelTxt(321)});
        s.Print();
        linie(s);
        liste(verbunden(b.gesamt.eins));
        linie(s);
    }
    s.Print();
    s.setFontBold(true);
    s.setFontItalic(true);

    if (v.fall == urteil::Vergleich::Regel) {
        s.Print({draw::Tab(2), LabelTxt(438)}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({v.genannt}, draw::LineEnd::Open);
        standardStil(s);
        if (v.regel12) {
            // Rule 12 goes on with a text of its own and leaves the line open.
            s.Print({LabelTxt(v.text), "' wurde basierend auf den Antwortwerten '0 bis 4' und '3 bis 4' "},
                    draw::LineEnd::Open);
        } else {
            s.Print({LabelTxt(v.text)});
        }
        for (int t : v.weitere) s.Print({draw::Tab(2), LabelTxt(t)});
        s.Print();
    } else if (v.fall == urteil::Vergleich::KeineRegel) {
        for (int t : {329, 330, 331, 332, 333}) s.Print({draw::Tab(2), LabelTxt(t)});
        s.Print();
        vorher.zurueck(s);
        linie(s);
        liste(verbunden(b.summe34.eins));
        s.Print();
        linie(s);
    } else {
        for (int t : {334, 335, 336}) s.Print({draw::Tab(2), LabelTxt(t)});
    }
    saetzeDrucken(s, urteil::unvollstaendig(b));
    vorher.zurueck(s);
}
