#pragma once

// The rankings and comparisons of the current person that the evaluation pages and the printed
// report both make: the walk of one score column through the person's result rows (main window's
// cursor Data2) into a top group and a close group, the list texts of the groups, the main type
// with its wings and connected types, and the deviation
// of the type totals from their mean. One routine each, so screen and paper never disagree.

#include <cstdint>
#include <string>
#include <vector>

#include "desk/common/globals.h"

namespace typrang {

// How one ranking walks the person's result rows.
struct Rangfolge {
    const char* feld;     // score column read from each row
    const char* ordnung;  // the end of the record source (" order by ...")
    bool betrag;          // compare magnitudes (the ascending rankings of the low ratings)
    bool gleichZaehlt;    // group 2 takes a quotient equal to the threshold (>=)
};

// How close a score lies to the top score of its ranking, the figure compared with gSensitivity1:
// 1 minus the score's distance below the top measured in the top's size. For a positive top that
// is the quotient score / top itself, formed as always (17 of 20 is 0.85); for a negative top the
// quotient would turn round (-30 of -6 is 5), so the distance is measured against the top's
// magnitude: -7 behind -6 is 0.83, -30 behind -6 is -3. A top of 0 has no size: only a score
// equal to it is close (1), every other one lies infinitely far behind.
double naehe(int wert, int spitze);
// Whether a score lies close to the top: naehe above the threshold, or at it where `gleichZaehlt`.
bool nahe(int wert, int spitze, double schwelle, bool gleichZaehlt);

// Ranks the current person's result rows: the first row gives the top score, group 1 the rows
// equal to it (position 10 - k for the k-th row), group 2 the following rows close to it by
// naehe and gSensitivity1; the walk ends at the first row that is in neither. Returns the
// TypNummer of the first row. 3021 when the person has no result rows.
int16_t rangfolgeBilden(const Rangfolge& art, RangListe& rang1, RangListe& rang2, int16_t& spitzenwert);

// The record source of a ranking: "select * from ergebnis  where personid = " & Str(id) & ordnung.
std::string ergebnisAbfrage(const char* ordnung);

// The joined list: for positions 1 to 9 each non-empty entry preceded by one blank, so the
// first-ranked type (position 9) comes last.
std::string verbunden(const RangListe& liste);
// All nine entries of positions 1 to 9 with one blank between neighbours, empty ones included;
// `rechtsKuerzen` removes trailing blanks from each entry first.
std::string alleNeun(const RangListe& liste, bool rechtsKuerzen = false);
// The joined list of x, then each entry of y that is not already one of the types named, each
// preceded by one blank. Whole entries are compared, so a designation that happens to be part of
// another one is still named.
std::string vereinigt(const RangListe& x, const RangListe& y);
// A designation is in group 1 of a list when it equals one of positions 1 to 9; an empty text
// is in no list.
bool inGruppe1(const std::string& bezeichnung, const RangListe& liste);
bool alleLeer(const RangListe& liste);
// The number of non-empty entries at positions 1 to 9.
int anzahlEintraege(const RangListe& liste);

// The sum of two 16-bit values as the language adds them: error 6 beyond the 16-bit range.
int16_t summe16(int a, int b);

// The number of types whose total equals gSpitzenwertTypgesamtsumme.
int16_t anzahlSpitzeGesamt();

// The ranking by total and the ranking by the ratings 3 and 4 set side by side: both pairs of
// group lists and gVergleichTypen emptied, the walk by total (close: quotient above the
// threshold), gAnzahlRang1, the walk by 3 and 4 (close: at or above) with its first type in
// gVergleichTyp; then gVergleichTypen(t) holds the designation of each type whose total lies close
// to the top total (naehe above gSensitivity1, taken in single precision), and gVergleichLauf is 1
// plus the number of the others. The lists still hold type numbers.
void rangfolgenVergleichen();

// The label text a ranking page by one rating value shows in place of its top group when nobody
// gave that value.
inline constexpr int kKeinerMitDiesemWert = 406;

// ---------------------------------------------------------------- main type

// The types the first-ranked entry of the 3-and-4 ranking (gRang1Typsumme34(9)) names, in the
// order they are looked for: type 1, else type 9, else every type 2 to 8 whose designation equals
// the trimmed entry. An entry still in the number form the ranking writes (" 3") names its type
// too. Empty when the entry names no type.
std::vector<int> haupttypTreffer();

// The wings: the neighbours on the circle of nine (9 and 1 are neighbours). 9 outside 1..9.
int untererNachbar(int typ);
int obererNachbar(int typ);

// The two types the enneagram's lines join to a main type 1..9: first and second connected type.
struct Verbindung {
    int erster, zweiter;
};
Verbindung verbindungstypen(int haupttyp);

// How far the main type's total outweighs another type's total, as a label text: 341 more than
// twice (or the other total is 0), 311 from 1.4 to 2 times, 342 less; kLiegtDarueber wherever the
// other type's total is higher than the main type's. The arguments are the two totals.
int abstandUrteil(int haupt, int anderer);
inline constexpr int kLiegtDarueber = 322;
// How many times the total a outweighs the total b, in double precision. Two positive
// totals: a / b. Two negative ones: |b| / |a|, for the type rejected less is the stronger one.
// Totals of opposite sign, or a total of 0: infinity for the larger, 0 for the smaller, 1 for two
// totals of 0. A rejection is never a strength, so no negative total outweighs a positive one.
double verhaeltnis(double a, double b);
// The wing that outweighs the other, from verhaeltnis(lower wing, upper wing): `unterer` from 1.3
// on, `oberer` below 0.8, 0 (both weigh alike) between.
int staerkererFluegel(double verhaeltnis, int unterer, int oberer);
// The ratings 0 and 1 among a type's statements.
int16_t niedrigeAntworten(int typ);
// The two label texts of the remark on a connected type's low answers (ratings 0 and 1): 355 and
// 356 from 12 on, 354 and 291 from 10, 353 and 291 from 5; none (0, 0) below 5. A type has 14
// statements, so a step that began at 15 could never be reached; 12 of 14 is all but two of them.
struct Hinweis {
    int erste, zweite;
};
Hinweis niedrigHinweis(int anzahl);
// The remark on the second connected type from verhaeltnis(main type, second connected type):
// label text 323 below 1 (it is the stronger), 324 at 1, 362 up to below 1.2, 361 from 1.2 to
// below 1.4, none (0) from 1.4 on.
int zweiterVerbindungstypUrteil(double verhaeltnis);
// The label text under a connected type's note heading when neither remark applies.
inline constexpr int kKeinHinweis = 460;

// ---------------------------------------------------------------- deviation from the mean

// The mean of the nine totals (elements 1 to 9), summed as 16-bit values, in single precision.
float typsummenMittel(const std::array<int16_t, 10>& gesamt);
float typsummenMittel();  // of gTypgesamtsummeJeTyp
// The level of the mean per statement (the mean / 14) as a label text: 304 below 1.9, 306 up to
// 2.3, 305 above.
int niveauUrteil(float jeAussage);
// The class of a type's total against the mean of the nine: 310 at or above gSensitivity2, 312 at
// or below gSensitivity1, 311 between; a deviation on a bound belongs to the outer class. 0 (no
// class) when the mean is 0, since no deviation relative to it exists. The deviation is the
// total's distance from the mean measured in the mean's size, taken in double precision and
// rounded to single once: total / mean - 1 for a positive mean, (total - mean) / |mean| for a
// negative one, so that a total above a negative mean lies above it too.
int abweichungsKlasse(float gesamt, float mittel);

}  // namespace typrang
