// The six statistics pages: how the person distributed the ratings 0 to 4 over the nine types.
// The shares take 14 ratings per type and 126 over all types, the item-type pairs of a complete
// test, as the printed report does.

#include <QString>

#include <algorithm>
#include <vector>

#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "desk/testing/antwortstatistik.h"
#include "platform/chart/hyphenation.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"
#include "platform/vb/utf8.h"

using namespace auswertseiten;

namespace {

constexpr int kRegel = 110;
constexpr int kSpalte[10] = {2, 10, 25, 37, 49, 61, 73, 85, 97, 109};
constexpr int kSummenspalte = 121;

std::string format(double wert, const char* muster) { return vb::Format(vb::Variant(wert), muster); }

// The characters of a text, one UTF-8 sequence each.
std::vector<std::string> zeichen(const std::string& text) {
    std::vector<std::string> z;
    for (size_t i = 0; i < text.size();) {
        const size_t anfang = i;
        vb::utf8::next(text, i);
        z.push_back(text.substr(anfang, i - anfang));
    }
    return z;
}

// Where the word that character `von` belongs to (0-based) may be hyphenated: the positions, counted
// in characters from `von`, at which the word may be broken.
std::vector<int> trennstellen(const std::vector<std::string>& z, int wortAnfang, int von) {
    int ende = wortAnfang;
    while (ende < static_cast<int>(z.size()) && z[ende] != " " && z[ende] != "\r") ++ende;
    QString wort;
    std::vector<int> zeichenBis;  // QChars up to the end of each character
    for (int k = wortAnfang; k < ende; ++k) {
        wort += QString::fromStdString(z[k]);
        zeichenBis.push_back(static_cast<int>(wort.size()));
    }
    std::vector<int> stellen;
    for (int p : chart::Hyphenation::german().points(wort))
        for (int k = 0; k < static_cast<int>(zeichenBis.size()); ++k)
            if (zeichenBis[k] == p && wortAnfang + k + 1 > von) stellen.push_back(wortAnfang + k + 1 - von);
    return stellen;
}

void umbrechen(const std::string& text, int16_t spalte, bool schneiden) {
    mitFehlerfalle([&] {
        draw::Surface& s = ausgabe();
        s.setCurrentY(gAusgabeStartY + 1000);
        const std::vector<std::string> z = zeichen(text);
        const int n = static_cast<int>(z.size());
        int zaehler = 1;
        std::string stueck;
        int stueckAnfang = 0, wortAnfang = 0;  // 0-based: where the piece and its word begin
        for (int i = 1; i <= n; ++i) {
            stueck += z[i - 1];
            if (z[i - 1] == " ") {
                s.Print({draw::Tab(spalte), vb::Trim(stueck)});
                stueck.clear();
                zaehler = 1;
                stueckAnfang = wortAnfang = i;
            }
            if (z[i - 1] == "\r") {
                ++i;  // the line feed of a CR LF pair is skipped
                s.Print({draw::Tab(spalte), vb::Trim(stueck)}, draw::LineEnd::Open);
                stueck.clear();
                zaehler = 1;
                stueckAnfang = wortAnfang = i;
            }
            // A long word is cut, but never so that fewer than two characters would remain: at its
            // last hyphenation point within the piece, else where the piece is full.
            if (schneiden && zaehler > 9 && i + 1 < n && z[i] != " ") {
                const int voll = i - stueckAnfang;
                int laenge = 0;
                for (int p : trennstellen(z, wortAnfang, stueckAnfang))
                    if (p <= voll) laenge = std::max(laenge, p);
                if (laenge == 0) laenge = voll;
                std::string kopf, rest;
                for (int k = stueckAnfang; k < stueckAnfang + laenge; ++k) kopf += z[k];
                for (int k = stueckAnfang + laenge; k < i; ++k) rest += z[k];
                s.Print({draw::Tab(spalte), vb::Trim(kopf)}, draw::LineEnd::Open);
                s.Print({"-"});
                stueck = rest;
                stueckAnfang += laenge;
                zaehler = static_cast<int>(i - stueckAnfang) + 1;
            }
            ++zaehler;
        }
        s.Print({draw::Tab(spalte), vb::Trim(stueck)}, draw::LineEnd::Open);
    });
}

// Pages 1 to 3: one table of the nine types against the rating values, with the totals.
void verteilung(int seite) {
    draw::Surface& s = ausgabe();
    standardStil(s);
    const bool fett = s.FontBold();
    s.Print({draw::Tab(2), LabelTxt(262 + seite)});
    s.Print();
    if (seite == 2) PrintWrapped(LabelTxt(369), 2);
    else DruckeTextUmbrochen("Typ", 2);
    for (int t = 1; t <= 9; ++t) DruckeTextUmbrochen(gTypbezeichnung[t], static_cast<int16_t>(kSpalte[t]));
    s.Print({draw::Tab(kSummenspalte), LabelTxt(252)});
    s.Print();
    s.Print();
    linie(s, kRegel);
    s.Print({draw::Tab(2), LabelTxt(365)});
    s.Print({draw::Tab(2), LabelTxt(366)});

    const auto hervorheben = [&] {
        s.setForeColor(farbe(gExtraschriftfarbe));
        if (seite == 1) {
            s.setFontBold(false);
            s.setFont(extraFont());
        } else {
            s.setFont(extraFont());
            if (seite == 2) s.setFontBold(false);
        }
    };
    const auto zurueck = [&] {
        standardStil(s);
        if (seite != 3) s.setFontBold(fett);
    };
    for (int zeile = 1; zeile <= 5; ++zeile) {
        s.Print({draw::Tab(2), draw::Num(zeile - 1)}, draw::LineEnd::Open);
        for (int t = 1; t <= 9; ++t) {
            s.Print({draw::Tab(kSpalte[t])}, draw::LineEnd::Open);
            const int c = gAntwortAnzahlJeTyp[t + 10 * zeile];
            if (c >= 7) hervorheben();
            if (seite == 1) s.Print({draw::Num(c)}, draw::LineEnd::Open);
            else if (seite == 2) s.Print({format(c / 14.0, " 0.000 ")}, draw::LineEnd::Open);
            else s.Print({format(c / 14.0, "Percent")}, draw::LineEnd::Open);
            zurueck();
        }
        s.Print({draw::Tab(kSummenspalte)}, draw::LineEnd::Open);
        extraStil(s);
        const int gesamt = gAntwortAnzahlGesamt[zeile];
        if (seite == 1) s.Print({draw::Num(gesamt)});
        else if (seite == 2) s.Print({format(gesamt / 126.0, " 0.000 ")});
        else s.Print({format(gesamt / 126.0, "Percent")});
        standardStil(s);
    }

    s.Print();
    linie(s, kRegel);
    s.Print();
    s.Print({draw::Tab(2), (seite == 1 ? "  " : "") + LabelTxt(367)}, draw::LineEnd::Open);
    for (int t = 1; t <= 9; ++t) {
        const int aw = gAWGesamtJeTyp[t];
        draw::Item wert = seite == 1   ? draw::Item(draw::Num(aw))
                          : seite == 2 ? draw::Item(format(aw / 14.0, " 0.000 "))
                                       : draw::Item(format(aw / 0.14, "000.00"));
        s.Print({draw::Tab(kSpalte[t]), wert}, draw::LineEnd::Open);
    }
    s.Print({draw::Tab(kSummenspalte)}, draw::LineEnd::Open);
    extraStil(s);
    const int alle = gAWGesamtJeTyp[10];
    if (seite == 1) s.Print({draw::Num(alle)});
    else if (seite == 2) s.Print({format(alle / 126.0, "  0.000")});
    else s.Print({format(alle / 1.26, "000.00")});
    standardStil(s);
    s.Print();
    s.Print();
    s.Print();
}

// The rating values whose count is the largest, each followed by four blanks; gMaxWert holds
// that count.
void werteMitHoechstzahl(draw::Surface& s, const antwortstatistik::Anzahlen& anzahlen) {
    gMaxWert = antwortstatistik::hoechsteAnzahl(anzahlen);
    // Each value as a number with its sign place, so that it stands apart from the word before it.
    for (int v : antwortstatistik::haeufigsteWerte(anzahlen, gMaxWert))
        s.Print({draw::Num(v), "   "}, draw::LineEnd::Open);
}

// The class of an information measure; the middle one stands in the standard style.
void massUrteil(draw::Surface& s, double wert) {
    const int klasse = antwortstatistik::informationsKlasse(wert);
    if (klasse == 375) standardStil(s);
    else extraStil(s);
    s.Print({LabelTxt(klasse) + std::string(10, ' ')});
    standardStil(s);
}

}  // namespace

void PrintWrapped(const std::string& text, int16_t spalte) { umbrechen(text, spalte, false); }
void DruckeTextUmbrochen(const std::string& text, int16_t spalte) { umbrechen(text, spalte, true); }

void ShowStatistics1() { verteilung(1); }
void ShowStatistics2() { verteilung(2); }
void ShowStatistics3() { verteilung(3); }

void ShowStatistics4() {
    draw::Surface& s = ausgabe();
    s.Print({draw::Tab(2), LabelTxt(368)});
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(369)}, draw::LineEnd::Open);
    s.Print({draw::Tab(25), LabelTxt(266)});
    s.Print();
    linie(s, kRegel);
    for (int t = 1; t <= 9; ++t) {
        s.Print({draw::Tab(2), gTypbezeichnung[t]}, draw::LineEnd::Open);
        s.Print({draw::Tab(25), " " + LabelTxt(157)}, draw::LineEnd::Open);
        werteMitHoechstzahl(s, antwortstatistik::jeTyp(t));
        s.Print();
        gMaxWert = 0;
    }
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(252)}, draw::LineEnd::Open);
    s.Print({draw::Tab(25), " " + LabelTxt(157)}, draw::LineEnd::Open);
    werteMitHoechstzahl(s, antwortstatistik::gesamt());
    s.Print();
    s.Print();
    linie(s, kRegel);
}

void ShowStatistics5() {
    draw::Surface& s = ausgabe();
    s.Print({draw::Tab(2), LabelTxt(370)});
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(369)}, draw::LineEnd::Open);
    s.Print({draw::Tab(25), LabelTxt(267)});
    s.Print();
    linie(s, kRegel);
    for (int t = 1; t <= 9; ++t) {
        const antwortstatistik::Mitte m = antwortstatistik::mittlererWert(antwortstatistik::jeTyp(t));
        s.Print({draw::Tab(2), gTypbezeichnung[t], draw::Tab(25)}, draw::LineEnd::Open);
        if (m.zwischen)
            s.Print({" " + LabelTxt(157), draw::Num(m.wert - 1), " " + LabelTxt(371) + " ", draw::Num(m.wert)});
        else s.Print({" " + LabelTxt(157), draw::Num(m.wert)});
    }
    s.Print();
    s.Print({draw::Tab(2), LabelTxt(252)}, draw::LineEnd::Open);
    s.Print({draw::Tab(25), " " + LabelTxt(157)}, draw::LineEnd::Open);
    s.Print({draw::Num(antwortstatistik::mittlererWertGesamt(antwortstatistik::gesamt()))});
    s.Print();
    linie(s, kRegel);
}

void ShowStatistics6() {
    draw::Surface& s = ausgabe();
    standardStil(s);
    s.Print({draw::Tab(2), LabelTxt(268)});
    s.Print();
    s.Print({draw::Tab(2), "Typ", draw::Tab(25), LabelTxt(372)});
    s.Print();
    linie(s, kRegel);

    for (int t = 1; t <= 9; ++t) {
        const double mass = antwortstatistik::informationsmass(antwortstatistik::jeTyp(t));
        s.Print({draw::Tab(2), gTypbezeichnung[t], draw::Tab(25)}, draw::LineEnd::Open);
        s.Print({format(mass, "0.0000")}, draw::LineEnd::Open);
        massUrteil(s, mass);
    }
    standardStil(s);
    s.Print();
    const double alle = antwortstatistik::informationsmassGesamt(antwortstatistik::gesamt());
    s.Print({draw::Tab(2), LabelTxt(252)}, draw::LineEnd::Open);
    s.Print({draw::Tab(25), format(alle, "0.0000")}, draw::LineEnd::Open);
    massUrteil(s, alle);
    gInformationsmass = 0;
    standardStil(s);
    s.Print();
    linie(s, kRegel);
    s.Print({draw::Tab(2), LabelTxt(376)}, draw::LineEnd::Open);
    s.Print({draw::Tab(55), LabelTxt(377)});
    s.Print({draw::Tab(55), LabelTxt(378)});
}
