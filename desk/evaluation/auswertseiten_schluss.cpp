// Evaluation pages 4 and 8: rankings by the ratings 3 and 4 and by the ratings 0 and 1, each
// with the conclusion that the person's other rankings decide.

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"

using namespace auswertseiten;


void ShowResultBySum34() {
    // The results first: the page's own ranking leaves the shared cursor on its record source.
    const urteil::Befund b = urteil::befundDerPerson();
    gRang2Typsumme34.fill("");
    gRang1Typsumme34.fill("");
    draw::Surface& s = ausgabe();
    rangfolgeBilden({"TypSumme34", " order by typsumme34 desc", false, true}, gRang1Typsumme34, gRang2Typsumme34,
                    gSpitzenwertTypsumme34);
    TypnummernErsetzen();

    standardStil(s);
    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(385)});
    s.setFontBold(false);
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(386)});
    s.Print({draw::Tab(2), LabelTxt(281) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({draw::Num(static_cast<int>(gSpitzenwertTypsumme34))}, draw::LineEnd::Open);
    standardStil(s);
    s.Print({" " + LabelTxt(277)});
    s.Print();
    linie(s);
    extraStil(s);
    // Nobody gave a 3 or a 4: the nine types tie at 0 and none stands first by them.
    if (urteil::keinerMitWert(b, urteil::Wertung::Summe34))
        s.Print({draw::Tab(2), LabelTxt(typrang::kKeinerMitDiesemWert)});
    else s.Print({draw::Tab(2), alleNeun(gRang1Typsumme34, true)});
    standardStil(s);
    linie(s);
    s.Print();
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(387)});
    s.Print({draw::Tab(2), LabelTxt(283)});
    s.Print();
    linie(s);
    extraStil(s);
    s.Print({draw::Tab(2), alleNeun(gRang2Typsumme34)});
    if (alleLeer(gRang2Typsumme34)) s.Print({draw::Tab(2), LabelTxt(204)});
    standardStil(s);
    linie(s);
    s.Print();

    s.setFontItalic(true);
    s.setFontBold(true);
    saetzeDrucken(s, urteil::schlussSumme34(b));
    saetzeDrucken(s, urteil::unvollstaendig(b));
    s.setFontItalic(false);
    s.setFontBold(false);
}

void ShowResultBySum01() {
    const urteil::Befund b = urteil::befundDerPerson();
    gRang2Typsumme01.fill("");
    gRang1Typsumme01.fill("");
    draw::Surface& s = ausgabe();
    rangfolgeBilden({"TypSumme01", " order by typsumme01", true, false}, gRang1Typsumme01, gRang2Typsumme01,
                    gSpitzenwertTypsumme01);
    TypnummernErsetzen();

    const Schnitt vorher = Schnitt::von(s);
    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(297)});
    s.setFontBold(vorher.fett);
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(298)});
    s.Print({draw::Tab(2), LabelTxt(289) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({draw::Num(static_cast<int>(gSpitzenwertTypsumme01))}, draw::LineEnd::Open);
    standardStil(s);
    s.Print({" " + LabelTxt(277)});
    s.Print();
    linie(s);
    extraStil(s);
    // Nobody gave a 0 or a 1: the nine types tie at 0 and none stands first by them.
    if (urteil::keinerMitWert(b, urteil::Wertung::Summe01))
        s.Print({draw::Tab(2), LabelTxt(typrang::kKeinerMitDiesemWert)});
    else s.Print({draw::Tab(2), verbunden(gRang1Typsumme01)});
    standardStil(s);
    linie(s);
    s.Print();

    s.setFontBold(true);
    s.setFontItalic(true);
    saetzeDrucken(s, urteil::schlussSumme01(b));
    saetzeDrucken(s, urteil::unvollstaendig(b));
    vorher.zurueck(s);

    s.Print();
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(313)});
    s.Print();
    linie(s);
    extraStil(s);
    s.Print({draw::Tab(2), verbunden(gRang2Typsumme01)});
    if (alleLeer(gRang2Typsumme01)) s.Print({draw::Tab(2), LabelTxt(204)});
    standardStil(s);
    linie(s);
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(293)});
}
