// Evaluation pages 4 and 8: rankings by the ratings 3 and 4 and by the ratings 0 and 1, each
// with a conclusion chosen by a decision table from the group-1 lists of the other rankings.

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"

using namespace auswertseiten;

namespace {

// Lines of a conclusion: a label text at column 2 in the standard style, a list on a line of its
// own in the extra style, or a label text directly followed by a list in the extra style. After
// each list the standard style returns.
struct Schluss {
    draw::Surface& s;
    void text(int label) { s.Print({draw::Tab(2), LabelTxt(label)}); }
    void liste(const std::string& l) {
        extraStil(s);
        s.Print({draw::Tab(2), l});
        standardStil(s);
    }
    void textUndListe(int label, const std::string& l) {
        s.Print({draw::Tab(2), LabelTxt(label)}, draw::LineEnd::Open);
        extraStil(s);
        s.Print({l});
        standardStil(s);
    }
};

}  // namespace

void ShowResultBySum34() {
    gRang2Typsumme34.fill("");
    gRang1Typsumme34.fill("");
    draw::Surface& s = ausgabe();
    rangfolgeBilden({"TypSumme34", " order by typsumme34 desc", false, true}, gRang1Typsumme34,
                    gRang2Typsumme34, gSpitzenwertTypsumme34);
    // The rankings the conclusion compares with, as pages 1 to 3 make them.
    for (int seite : {1, 2, 3}) gruppenDerSeite(seite);
    gAnzahlRang1 = typrang::anzahlSpitzeGesamt();
    TypnummernErsetzen();
    const Merkmale m = merkmaleSumme34();

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
    s.Print({draw::Tab(2), alleNeun(gRang1Typsumme34, true)});
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
    Schluss z{s};
    const std::string rang34 = verbunden(gRang1Typsumme34);
    const int n = gAnzahlRang1;
    if (gSpitzenwertTypsumme34 == 0) {
        // Nobody rated 3 or 4: every type ties at 0, and none leads by these ratings.
        z.text(334);
        z.text(335);
        z.text(336);
    } else if (m.A && m.B && m.C && n == 1) {
        z.text(407);
        z.textUndListe(408, rang34);
        z.text(409);
    } else if (m.D && m.E && n == 1) {
        z.text(410);
        z.textUndListe(408, rang34);
        z.text(411);
        z.text(412);
        z.liste(verbunden(gRang1Typgesamtsumme));
    } else if (m.A && m.B && !m.C && n == 1) {
        z.text(413);
        z.textUndListe(414, rang34);
        z.text(411);
        z.text(415);
        z.liste(verbunden(gRang1Typsumme3));
    } else if (m.D && !m.E && n == 1) {
        z.text(416);
        z.textUndListe(408, rang34);
        z.text(417);
        z.text(418);
        z.liste(vereinigt(gRang1Typgesamtsumme, gRang1Typsumme3));
    } else if (m.A && !m.B && m.C && n == 1) {
        z.text(419);
        z.textUndListe(408, rang34);
        z.text(417);
        z.text(420);
        z.liste(verbunden(gRang1Typsumme4));
    } else if (m.A && !m.B && !m.C && n == 1) {
        z.text(421);
        z.textUndListe(408, rang34);
        z.text(417);
        z.text(422);
        z.textUndListe(452, vereinigt(gRang1Typsumme3, gRang1Typsumme4));
        s.Print();
    } else if (!m.A && m.B && !m.C && n == 1) {
        z.text(423);
        z.text(424);
        z.text(417);
        z.text(425);
        z.textUndListe(452, vereinigt(gRang1Typsumme3, gRang1Typsumme34));
    } else if (n <= 1) {
        z.text(396);
        z.text(397);
        z.text(398);
        z.text(399);
        s.Print();
    } else {
        z.text(392);
        z.text(393);
        z.liste(rang34);
        z.text(394);
        z.text(395);
    }
    s.setFontItalic(false);
    s.setFontBold(false);
}

void ShowResultBySum01() {
    gRang2Typsumme01.fill("");
    gRang1Typsumme01.fill("");
    draw::Surface& s = ausgabe();
    rangfolgeBilden({"TypSumme01", " order by typsumme01", true, false}, gRang1Typsumme01,
                    gRang2Typsumme01, gSpitzenwertTypsumme01);
    for (int seite : {6, 7}) gruppenDerSeite(seite);
    TypnummernErsetzen();
    const std::string& fuehrend = gRang1Typsumme01[9];
    const bool f0 = inGruppe1(fuehrend, gRang1Typsumme0);
    const bool f1 = inGruppe1(fuehrend, gRang1Typsumme1);
    const bool f2 = inGruppe1(gRang1Typsumme1[9], gRang1Typsumme0) || inGruppe1(gRang1Typsumme0[9], gRang1Typsumme1);

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
    s.Print({draw::Tab(2), verbunden(gRang1Typsumme01)});
    standardStil(s);
    linie(s);
    s.Print();

    s.setFontBold(true);
    s.setFontItalic(true);
    Schluss z{s};
    if (f0 && f1 && f2 && gSpitzenwertTypsumme01 == 0) {
        // Nothing rated 0 or 1: the nine types tie at 0 and none is rejected.
        z.text(426);
        z.text(327);
    } else if (f0 && f1 && f2) {
        // Several types tied at the top are rejected alike, which is no clear rejection.
        const bool mehrere = typrang::anzahlEintraege(gRang1Typsumme01) > 1;
        z.text(426);
        z.text(mehrere ? 328 : 427);
        z.liste(verbunden(gRang1Typsumme01));
        z.text(428);
        z.text(mehrere ? 379 : 429);
    } else if (f0 && !f1) {
        z.text(426);
        z.text(430);
        z.liste(vereinigt(gRang1Typsumme01, gRang1Typsumme0));
        z.text(428);
        z.text(431);
        z.text(432);
        z.liste(verbunden(gRang1Typsumme1));
        z.text(433);
    } else if (!f0 && f1) {
        z.text(426);
        z.text(434);
        z.liste(vereinigt(gRang1Typsumme01, gRang1Typsumme1));
        z.text(428);
        z.text(435);
        z.text(436);
        z.liste(verbunden(gRang1Typsumme0));
        z.text(433);
    } else {
        z.text(290);
        z.text(291);
    }
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
