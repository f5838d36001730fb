// The six ranking pages 1, 2, 3, 5, 6 and 7: one routine in six variants that differ in the score
// column, the sort direction, the threshold test, the heading texts and a few layout details.

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "platform/vb/error.h"

using namespace auswertseiten;

namespace {

struct Rangseite {
    Rangfolge rangfolge;
    RangListe* rang1;
    RangListe* rang2;
    int16_t* spitzenwert;
    int titel, zweiteZeile, spitzenZeile;  // label texts
    int gruppe2Kopf;                       // label text over group 2
    bool gruppe2Zusatz;                    // a second heading line, labelTxt(283)
    bool standardVorTitel;                 // the standard style is set before the title
    bool alleNeunForm;                     // the group lists show all nine positions
    int leerzeilen;                        // empty lines between the group-1 rule and the group-2 heading
    int schluss;                           // after the last rule: 0 nothing, 1 an empty line, 2 and labelTxt(293)
    urteil::Wertung wertung;               // the score the page ranks by
};

void gruppenBilden(const Rangseite& p) {
    p.rang2->fill("");
    p.rang1->fill("");
    rangfolgeBilden(p.rangfolge, *p.rang1, *p.rang2, *p.spitzenwert);
}

void rangseiteDrucken(const Rangseite& p) {
    draw::Surface& s = ausgabe();
    gruppenBilden(p);
    TypnummernErsetzen();

    if (p.standardVorTitel) standardStil(s);
    const bool fett = s.FontBold();
    s.setFontBold(true);
    s.Print({draw::Tab(2), LabelTxt(p.titel)});
    s.setFontBold(fett);
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(p.zweiteZeile)});
    s.Print({draw::Tab(2), LabelTxt(p.spitzenZeile) + " "}, draw::LineEnd::Open);
    extraStil(s);
    s.Print({draw::Num(static_cast<int>(*p.spitzenwert))}, draw::LineEnd::Open);
    standardStil(s);
    s.Print({" " + LabelTxt(277)});
    s.Print();
    linie(s);

    // The all-nine form leaves its line open: what follows starts at column 2 of the next line.
    const auto gruppe = [&](const RangListe& l) {
        extraStil(s);
        if (p.alleNeunForm) s.Print({draw::Tab(2), alleNeun(l)}, draw::LineEnd::Open);
        else s.Print({draw::Tab(2), verbunden(l)});
    };
    if (urteil::keinerMitWert(p.wertung, *p.spitzenwert)) {
        // Nobody gave this value: the nine types tie at 0 and none stands first by it.
        extraStil(s);
        s.Print({draw::Tab(2), LabelTxt(typrang::kKeinerMitDiesemWert)},
                p.alleNeunForm ? draw::LineEnd::Open : draw::LineEnd::Newline);
    } else {
        gruppe(*p.rang1);
    }
    standardStil(s);
    linie(s);
    for (int i = 0; i < p.leerzeilen; ++i) s.Print();
    s.Print({draw::Tab(2), LabelTxt(p.gruppe2Kopf)});
    if (p.gruppe2Zusatz) s.Print({draw::Tab(2), LabelTxt(283)});
    s.Print();
    linie(s);
    gruppe(*p.rang2);
    if (alleLeer(*p.rang2)) s.Print({draw::Tab(2), LabelTxt(204)});
    standardStil(s);
    linie(s);
    if (p.schluss >= 1) s.Print();
    if (p.schluss == 2) s.Print({draw::Tab(2), LabelTxt(293)});
}

const Rangseite& rangseite(int seite) {
    static const Rangseite kGesamt{{"TypGesamtSumme", " order by typgesamtsumme desc", false, false},
                                   &gRang1Typgesamtsumme,
                                   &gRang2Typgesamtsumme,
                                   &gSpitzenwertTypgesamtsumme,
                                   274,
                                   275,
                                   276,
                                   278,
                                   false,
                                   true,
                                   false,
                                   2,
                                   0,
                                   urteil::Wertung::Gesamt};
    static const Rangseite kSumme4{{"TypSumme4", " order by typsumme4 desc", false, true},
                                   &gRang1Typsumme4,
                                   &gRang2Typsumme4,
                                   &gSpitzenwertTypsumme4,
                                   279,
                                   280,
                                   281,
                                   282,
                                   true,
                                   true,
                                   false,
                                   2,
                                   1,
                                   urteil::Wertung::Summe4};
    static const Rangseite kSumme3{{"TypSumme3", " order by typsumme3 desc", false, true},
                                   &gRang1Typsumme3,
                                   &gRang2Typsumme3,
                                   &gSpitzenwertTypsumme3,
                                   115,
                                   284,
                                   285,
                                   286,
                                   true,
                                   true,
                                   false,
                                   2,
                                   1,
                                   urteil::Wertung::Summe3};
    static const Rangseite kSumme2{{"TypSumme2", " order by typsumme2 desc", false, false},
                                   &gRang1Typsumme2,
                                   &gRang2Typsumme2,
                                   &gSpitzenwertTypsumme2,
                                   400,
                                   401,
                                   285,
                                   402,
                                   true,
                                   false,
                                   true,
                                   2,
                                   0,
                                   urteil::Wertung::Summe2};
    static const Rangseite kSumme1{{"TypSumme1", " order by typsumme1", true, false},
                                   &gRang1Typsumme1,
                                   &gRang2Typsumme1,
                                   &gSpitzenwertTypsumme1,
                                   116,
                                   294,
                                   295,
                                   296,
                                   false,
                                   false,
                                   true,
                                   3,
                                   2,
                                   urteil::Wertung::Summe1};
    static const Rangseite kSumme0{{"TypSumme0", " order by typsumme0", true, false},
                                   &gRang1Typsumme0,
                                   &gRang2Typsumme0,
                                   &gSpitzenwertTypsumme0,
                                   287,
                                   288,
                                   289,
                                   292,
                                   false,
                                   false,
                                   false,
                                   3,
                                   2,
                                   urteil::Wertung::Summe0};
    switch (seite) {
    case 1: return kGesamt;
    case 2: return kSumme4;
    case 3: return kSumme3;
    case 5: return kSumme2;
    case 6: return kSumme1;
    case 7: return kSumme0;
    }
    throw vb::Error(vb::err::SubscriptOutOfRange);
}

}  // namespace

void ShowResultByTotal() { rangseiteDrucken(rangseite(1)); }
void ShowResultBySum4() { rangseiteDrucken(rangseite(2)); }
void ShowResultBySum3() { rangseiteDrucken(rangseite(3)); }
void ShowResultBySum2() { rangseiteDrucken(rangseite(5)); }
void ShowResultBySum1() { rangseiteDrucken(rangseite(6)); }
void ShowResultBySum0() { rangseiteDrucken(rangseite(7)); }
