// Report pages 7 to 14: the rankings of the nine types by one score column each, with the
// conclusions of pages 10 (ratings 3 and 4) and 14 (ratings 0 and 1) that the person's rankings
// decide, as the evaluation window's pages 4 and 8 say them.

#include "desk/reports/druckseiten.h"
#include "desk/reports/druckseiten_text.h"
#include "desk/testing/rangfolge.h"

using druckseiten::liste;
using druckseiten::Seite;

namespace {

// The lists of a page besides the plain one: the full join of all nine places, and the merged list
// of two rankings, each without its leading blank.
std::string alleNeun(const RangListe& l, bool rechtsKuerzen = false) {
    return vb::LTrim(typrang::alleNeun(l, rechtsKuerzen));
}

// A page's ranking into its two lists, emptied first; afterwards they hold designations.
void rangfolge(const typrang::Rangfolge& art, RangListe& rang1, RangListe& rang2, int16_t& spitzenwert) {
    rang2.fill("");
    rang1.fill("");
    typrang::rangfolgeBilden(art, rang1, rang2, spitzenwert);
    TypnummernErsetzen();
}

// Lines 1 to 7 of a ranking page: its title and two texts, the top score and the note under it.
void kopf(const Seite& s, int titel, int text1, int text2, int16_t spitzenwert) {
    s.label(1, titel, kFormatUeberschrift);
    s.leer(2);
    s.label(3, text1);
    s.label(4, text2);
    s.zeile(5, vb::Str(static_cast<int>(spitzenwert)), kFormatH1);
    s.label(6, 277);
    s.leer(7);
}

// The close group from line `nr` on: a blank line, then its list between two rules (the line of the
// list left out for an empty group unless `auchLeer`) and label text 204 for an empty group.
void naheGruppe(const Seite& s, int nr, const std::string& text, bool leer, bool auchLeer) {
    s.leer(nr);
    s.trennlinie(nr + 1);
    if (auchLeer || !leer) s.zeile(nr + 2, text, kFormatH1);
    if (leer) s.label(nr + 3, 204, kFormatH1);
    s.trennlinie(nr + 4);
}

// One of the six plain ranking pages: its walk, its texts and where its lines stand.
struct Rangseite {
    int16_t seite;
    typrang::Rangfolge art;
    RangListe* rang1;
    RangListe* rang2;
    int16_t* spitzenwert;
    bool zeileNull;     // a blank line 0 ahead of the title
    bool vollerJoin;    // the lists show all nine places
    bool gruppe2Immer;  // the close-group line stands even when the group is empty
    int titel, text1, text2;
    int trennlinie;           // the first separator; the top group follows 1 (page 9: 3) lines later
    int leerBis;              // the blank lines after the top group end here
    int vorGruppe2, label2;   // the text before the close group
    bool mit283;              // and the threshold note after it
    int leerZeile;            // the blank line before the close group's separator
    int schluss;              // after the close group: 0 nothing, 1 a blank line, 2 and label text 293
    urteil::Wertung wertung;  // the score the page ranks by
};

void rangseite(const Rangseite& p) {
    rangfolge(p.art, *p.rang1, *p.rang2, *p.spitzenwert);

    const Seite s(p.seite);
    if (p.zeileNull) s.leer(0);
    kopf(s, p.titel, p.text1, p.text2, *p.spitzenwert);
    const int listeZeile = p.trennlinie == 8 ? 9 : 13;
    s.trennlinie(p.trennlinie);
    // A top group always holds its first-ranked type; page 9 writes its line only then.
    // Nobody gave the value of a page but the first: the nine types tie at 0 and none stands first.
    if (urteil::keinerMitWert(p.wertung, *p.spitzenwert)) s.label(listeZeile, typrang::kKeinerMitDiesemWert, kFormatH1);
    else if (p.seite != 9 || !typrang::alleLeer(*p.rang1))
        s.zeile(listeZeile, p.vollerJoin ? alleNeun(*p.rang1) : liste(*p.rang1), kFormatH1);
    s.trennlinie(listeZeile + 1);
    for (int nr = listeZeile + 2; nr <= p.leerBis; ++nr) s.leer(nr);
    s.label(p.vorGruppe2, p.label2);
    if (p.mit283) s.label(p.vorGruppe2 + 1, 283);
    const int nr = p.leerZeile;
    naheGruppe(s, nr, p.vollerJoin ? alleNeun(*p.rang2) : liste(*p.rang2), typrang::alleLeer(*p.rang2), p.gruppe2Immer);
    if (p.schluss >= 1) s.leer(nr + 5);
    if (p.schluss == 2) s.label(nr + 6, 293);
}

}  // namespace

void DruckSeiteRangfolgeTypgesamtsumme() {
    rangseite({7,
               {"TypGesamtSumme", " order by typgesamtsumme desc", false, false},
               &gRang1Typgesamtsumme,
               &gRang2Typgesamtsumme,
               &gSpitzenwertTypgesamtsumme,
               true,
               false,
               false,
               274,
               275,
               276,
               8,
               12,
               13,
               278,
               false,
               14,
               0,
               urteil::Wertung::Gesamt});
}

void DruckSeiteRangfolgeTypsumme4() {
    rangseite({8,
               {"TypSumme4", " order by typsumme4 desc", false, true},
               &gRang1Typsumme4,
               &gRang2Typsumme4,
               &gSpitzenwertTypsumme4,
               true,
               false,
               false,
               279,
               280,
               281,
               8,
               12,
               13,
               282,
               true,
               15,
               0,
               urteil::Wertung::Summe4});
}

void DruckSeiteRangfolgeTypsumme3() {
    rangseite({9,
               {"TypSumme3", " order by typsumme3 desc", false, true},
               &gRang1Typsumme3,
               &gRang2Typsumme3,
               &gSpitzenwertTypsumme3,
               true,
               false,
               false,
               115,
               284,
               285,
               10,
               16,
               17,
               286,
               true,
               19,
               1,
               urteil::Wertung::Summe3});
}

void DruckSeiteRangfolgeTypsumme2() {
    rangseite({11,
               {"TypSumme2", " order by typsumme2 desc", false, false},
               &gRang1Typsumme2,
               &gRang2Typsumme2,
               &gSpitzenwertTypsumme2,
               false,
               true,
               true,
               400,
               401,
               285,
               8,
               12,
               13,
               402,
               true,
               15,
               0,
               urteil::Wertung::Summe2});
}

void DruckSeiteRangfolgeTypsumme1() {
    rangseite({12,
               {"TypSumme1", " order by typsumme1", true, false},
               &gRang1Typsumme1,
               &gRang2Typsumme1,
               &gSpitzenwertTypsumme1,
               false,
               true,
               true,
               116,
               294,
               295,
               8,
               12,
               13,
               296,
               false,
               15,
               2,
               urteil::Wertung::Summe1});
}

void DruckSeiteRangfolgeTypsumme0() {
    rangseite({13,
               {"TypSumme0", " order by typsumme0", true, false},
               &gRang1Typsumme0,
               &gRang2Typsumme0,
               &gSpitzenwertTypsumme0,
               false,
               false,
               true,
               287,
               288,
               289,
               8,
               13,
               14,
               292,
               false,
               15,
               2,
               urteil::Wertung::Summe0});
}

void DruckSeiteRangfolgeTypsumme34() {
    const urteil::Befund b = urteil::befundDerPerson();
    rangfolge({"TypSumme34", " order by typsumme34 desc", false, true}, gRang1Typsumme34, gRang2Typsumme34,
              gSpitzenwertTypsumme34);

    const Seite s(10);
    kopf(s, 385, 386, 281, gSpitzenwertTypsumme34);
    // Nobody gave a 3 or a 4: the nine types tie at 0 and none stands first by them.
    s.eingerahmt(8, urteil::keinerMitWert(b, urteil::Wertung::Summe34) ? LabelTxt(typrang::kKeinerMitDiesemWert)
                                                                       : alleNeun(gRang1Typsumme34, true));
    s.leer(11);
    // An unfinished test says so between the top group and the close group.
    if (b.vollstaendig()) s.leer(12);
    else s.zeile(12, urteil::unvollstaendigText(b.beantwortet), kFormatH2);
    s.label(13, 387);
    s.label(14, 283);
    naheGruppe(s, 15, alleNeun(gRang2Typsumme34), typrang::alleLeer(gRang2Typsumme34), true);
    s.leer(20);

    // The conclusion: label texts as second-level headings, lists of types as third-level ones,
    // one after the other from line 21.
    druckseiten::saetzeSchreiben(s, 21, urteil::schlussSumme34(b));
}

void DruckSeiteRangfolgeTypsumme01() {
    const urteil::Befund b = urteil::befundDerPerson();
    rangfolge({"TypSumme01", " order by typsumme01", true, false}, gRang1Typsumme01, gRang2Typsumme01,
              gSpitzenwertTypsumme01);

    const Seite s(14);
    kopf(s, 297, 298, 289, gSpitzenwertTypsumme01);
    // Nobody gave a 0 or a 1: the nine types tie at 0 and none stands first by them.
    s.eingerahmt(8, urteil::keinerMitWert(b, urteil::Wertung::Summe01) ? LabelTxt(typrang::kKeinerMitDiesemWert)
                                                                       : liste(gRang1Typsumme01));
    s.leer(11);
    if (!b.vollstaendig()) s.zeile(12, urteil::unvollstaendigText(b.beantwortet), kFormatH2);
    druckseiten::saetzeSchreiben(s, 13, urteil::schlussSumme01(b));

    s.leer(21);
    s.label(23, 313);
    naheGruppe(s, 24, liste(gRang2Typsumme01), typrang::alleLeer(gRang2Typsumme01), true);
    s.label(30, 293);
}
