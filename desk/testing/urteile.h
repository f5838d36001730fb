#pragma once

// The verdicts of the evaluation pages and of their report pages, each decided once: a pure
// function from the person's results to the sentences it says (label texts and lists of types).
// The evaluation window and the report only lay the sentences out, each in its own way. The
// results are read from the person's result rows whenever a page is drawn, never from the
// program-wide lists that another window's ranking leaves behind.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "desk/common/globals.h"

namespace urteil {

// One ranking of the nine types: its top group, the group close behind and the top score; the
// lists hold the types' designations at positions 1 to 9 (the first-ranked at 9).
struct Rang {
    RangListe eins{}, zwei{};
    int16_t spitze = 0;
};

// The person's results as the verdicts read them.
struct Befund {
    Rang gesamt, summe4, summe3, summe34, summe2, summe1, summe0, summe01;
    int16_t anzahlSpitzeGesamt = 0;  // types that share the top total
    int16_t anzahlSpitze34 = 0;      // types that share the top score of the ratings 3 and 4
    int16_t vergleichTyp = 0;        // the type ranked first by the ratings 3 and 4
    RangListe vergleichTypen{};      // by type: the designation of each type near the top total
    int16_t vergleichLauf = 1;       // 1 plus the number of types not near the top total
    bool rang1Gleich = false;        // the top groups of total and of 3 and 4 agree (report page 16)
    // Per type 1..9, from its result row: the total, the score of the ratings 3 and 4, the number
    // of ratings 0 and 1, and how often each rating 0..4 was given.
    std::array<int16_t, 10> gesamtJeTyp{}, summe34JeTyp{}, niedrigJeTyp{};
    std::array<std::array<int16_t, 5>, 10> antwortenJeTyp{};
    int beantwortet = kAussagen;  // statements rated, of kAussagen
    static constexpr int kAussagen = 109;
    bool vollstaendig() const { return beantwortet >= kAussagen; }
};

// The current person's results, ranked anew from its result rows (through the main window's
// cursor Data2) and its scores. 3021 when the person has no result rows.
Befund befundDerPerson();
// The number of statements the current person rated (a statement counts once, however many types
// it counts for).
int beantworteteAussagen();

// A sentence of a verdict: a label text, a list of types, or a label text the list follows on.
struct Satz {
    enum Art { Text, Liste, TextUndListe, Leerzeile, Wortlaut } art;  // Wortlaut: `liste` is the sentence
    int label = 0;
    std::string liste;    // designations joined by one blank
    bool einzug = false;  // the report prints this list one blank in, as its case 2 of page 10 does
    bool operator==(const Satz&) const = default;
};
using Saetze = std::vector<Satz>;

// The list text of a ranking's list: its entries 1 to 9 joined by one blank.
std::string liste(const RangListe& l);

// The rankings of the pages, by the score they rank.
enum class Wertung { Gesamt, Summe4, Summe3, Summe34, Summe2, Summe1, Summe0, Summe01 };
const Rang& rang(const Befund& b, Wertung w);
// Whether nobody gave the ratings a ranking counts: its page shows label 406 in place of a top
// group. The total counts every rating, so its ranking always has a top group. The second form
// takes the top score of the ranking a page has just made of the same rows.
bool keinerMitWert(const Befund& b, Wertung w);
bool keinerMitWert(Wertung w, int spitze);
// Whether only one type lies near the top total (page 10's texts 315 to 318); otherwise the page
// lists the types near it (319 to 321).
bool nurEinerVorn(const Befund& b);

// How well the ratings support the main type, one verdict for every page that says it: settled
// where the leader by 3 and 4 leads alone by total, by 4 and by 3; probable where it leads alone
// by 4 and by 3, or where it leads by total and by 4; else to be checked. A settled assignment
// with other types near the top total, or with statements unrated, is said not to be settled.
// Where a top that decides it is shared there is no main type and no such verdict (0).
// `kraeftig`: the wording of page 10 for a leader with few ratings 0 and 1 (442, 444 in place of
// 409, 411), which says the same.
int zuordnung(const Befund& b, bool kraeftig = false);

// The conclusion of the ranking by the ratings 3 and 4 (evaluation page 4, report page 10).
Saetze schlussSumme34(const Befund& b);
// The conclusion of the ranking by the ratings 0 and 1 (evaluation page 8, report page 14).
Saetze schlussSumme01(const Befund& b);

// The comparison of the ranking by total with the ranking by the ratings 3 and 4 (evaluation page
// 10, report page 16). The report's table has one row more than the window's: for a leader by 3
// and 4 with few low answers that leads by the ratings 4 but not by 3, it asks also that the two
// top groups agree.
enum class Tafel { Fenster, Bericht };
struct Vergleich {
    enum Fall { Regel, KeineRegel, KeineHohen } fall = KeineHohen;
    std::string genannt;  // the type the rule names (Regel)
    int text = 0;         // the label text after the designation
    std::vector<int> weitere;
    bool regel12 = false;  // the window's rule 12, which goes on in a text of its own
};
Vergleich vergleich(const Befund& b, Tafel tafel);

// The main type the pages on the main type take: the types the first-ranked entry of the 3-and-4
// ranking names, else the type that holds the top score of the ratings 3 and 4 alone; empty when
// there is none.
std::vector<int> haupttypen(const Befund& b);
// Whether one type alone holds a top score of the ratings 3 and 4 above 0: only then do the
// pages on the main type exist.
bool haupttypEindeutig(const Befund& b);
// The main type of the pages on the main type (the last of haupttypen), 0 where these pages do
// not exist; and the number of evaluation pages, 12 with them and 10 without.
int haupttyp(const Befund& b);
int seitenanzahl(const Befund& b);

// The wings of the main type (evaluation page 11, report page 17): the lower and the upper
// neighbour, how far the main type's total outweighs each (label texts), and the wing whose
// total outweighs the other's, 0 where neither does.
struct Fluegel {
    int unten = 0, oben = 0;
    int abstandUnten = 0, abstandOben = 0;
    int staerker = 0;
};
Fluegel fluegel(const Befund& b, int haupt);

// A connected type of the main type (evaluation page 12, report page 18): how far the main
// type's total outweighs it, and the label texts of the note on it. Each note says what the
// figures of its own block give: the remark on the ratings 0 and 1 for either type, for the
// second also how strong it is beside the main type; kKeinHinweis alone where nothing applies.
struct Verbindungstyp {
    int typ = 0;
    int abstand = 0;
    std::vector<int> hinweis;
};
std::array<Verbindungstyp, 2> verbindungstypen(const Befund& b, int haupt);

// The deviation of the totals from their mean (evaluation page 9, report page 15): the mean, the
// mean per statement and its level text, the class of each type (label text, 0 none), and whether
// the ratio total / mean is the ratio the column is named for: over a mean of 0 or below it is not.
struct Abweichung {
    float mittel = 0, jeAussage = 0;
    int niveau = 0;
    std::array<int, 10> klasse{};
    bool verhaeltnisWahr = false;
};
Abweichung abweichung(const Befund& b);

// What the pages on the main type say first when the comparison names another type or none:
// nothing (fall Keine), label 325 (no main type), or label 381 with the type named.
struct Grundlage {
    enum Fall { Keine, KeinHaupttyp, AndererTyp } fall = Keine;
    std::string genannt;
};
Grundlage grundlage(const Befund& b, Tafel tafel);

// The sentence that says how many statements were answered while the test is unfinished: empty
// for a finished test. Every verdict page says it; no verdict calls an assignment settled then.
Saetze unvollstaendig(const Befund& b);
std::string unvollstaendigText(int beantwortet);

}  // namespace urteil
