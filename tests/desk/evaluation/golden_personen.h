#pragma once

// The fixed persons whose evaluation pages and report pages the golden files hold: one person per
// rule of the three decision tables, and persons for the other branches of the pages.

#include <random>
#include <string>
#include <vector>

#include "support/personen.h"

namespace auswert_test {

using support::Anzahlen;
using support::jederTyp;

struct Person {
    const char* name;
    Anzahlen anzahlen;
    int regel4;           // conclusion rule of page 4; 0: no rating 3 or 4, 10: rule 1 on a tie
    int regel8;           // of page 8; 5: no rating 0 or 1, 6: rule 1 for several types, 7 and 8:
                          // no rating 1, one type or several
    const char* regel10;  // of page 10: the rule's number ("g": beside a tie or near types), or
                          // "spitze"/"null" when none applies
};

// Rule -> person: every rule of the three decision tables fires for at least one of these. The
// counts per type give how many of the type's 14 rows were rated 0, 1, 2, 3, 4.
inline const Person kRegelPersonen[] = {
    {"regel_01",
     {{{},
       {3, 2, 5, 0, 4},
       {4, 0, 9, 0, 1},
       {1, 4, 0, 6, 3},
       {0, 5, 1, 3, 5},
       {4, 2, 4, 0, 4},
       {2, 3, 3, 0, 6},
       {5, 0, 8, 1, 0},
       {5, 2, 5, 0, 2},
       {2, 0, 6, 6, 0}}},
     9,
     2,
     "spitze"},
    {"regel_02",
     {{{},
       {3, 2, 5, 2, 2},
       {3, 1, 2, 3, 5},
       {1, 4, 7, 1, 1},
       {0, 5, 1, 2, 6},
       {1, 0, 8, 3, 2},
       {0, 6, 0, 2, 6},
       {4, 0, 6, 1, 3},
       {0, 5, 6, 3, 0},
       {2, 0, 10, 1, 1}}},
     4,
     4,
     "10"},
    {"regel_03",
     {{{},
       {0, 1, 5, 2, 6},
       {1, 5, 1, 3, 4},
       {2, 3, 3, 5, 1},
       {5, 5, 2, 1, 1},
       {2, 4, 5, 0, 3},
       {0, 3, 10, 0, 1},
       {1, 2, 6, 1, 4},
       {4, 2, 4, 3, 1},
       {3, 4, 3, 4, 0}}},
     3,
     1,
     "3"},
    {"regel_04",
     {{{},
       {2, 4, 6, 0, 2},
       {1, 3, 4, 4, 2},
       {2, 6, 4, 1, 1},
       {5, 0, 5, 2, 2},
       {3, 0, 11, 0, 0},
       {1, 4, 3, 0, 6},
       {0, 5, 4, 4, 1},
       {1, 2, 3, 3, 5},
       {2, 4, 3, 3, 2}}},
     6,
     3,
     "5"},
    {"regel_05",
     {{{},
       {2, 5, 0, 2, 5},
       {1, 6, 1, 0, 6},
       {0, 2, 10, 1, 1},
       {2, 1, 6, 1, 4},
       {3, 1, 6, 3, 1},
       {0, 3, 7, 1, 3},
       {0, 1, 1, 6, 6},
       {2, 6, 0, 5, 1},
       {0, 6, 3, 2, 3}}},
     1,
     3,
     "1"},
    {"regel_06",
     {{{},
       {4, 0, 10, 0, 0},
       {6, 2, 6, 0, 0},
       {1, 2, 4, 1, 6},
       {1, 6, 4, 3, 0},
       {4, 0, 2, 4, 4},
       {1, 6, 2, 1, 4},
       {0, 5, 5, 2, 2},
       {0, 6, 6, 2, 0},
       {4, 3, 6, 1, 0}}},
     7,
     2,
     "6"},
    {"regel_07",
     {{{},
       {4, 2, 6, 0, 2},
       {3, 1, 6, 2, 2},
       {5, 3, 4, 0, 2},
       {1, 5, 1, 3, 4},
       {0, 4, 3, 3, 4},
       {3, 3, 7, 0, 1},
       {2, 4, 7, 1, 0},
       {3, 2, 5, 1, 3},
       {1, 6, 5, 1, 1}}},
     2,
     2,
     "8"},
    {"regel_08",
     {{{},
       {6, 0, 7, 0, 1},
       {2, 1, 8, 3, 0},
       {3, 1, 1, 5, 4},
       {1, 0, 3, 6, 4},
       {0, 3, 7, 0, 4},
       {0, 1, 11, 2, 0},
       {2, 4, 2, 5, 1},
       {5, 0, 7, 0, 2},
       {2, 2, 3, 1, 6}}},
     5,
     2,
     "4"},
    {"regel_09",
     {{{},
       {0, 4, 3, 3, 4},
       {2, 6, 6, 0, 0},
       {2, 1, 7, 4, 0},
       {5, 2, 5, 1, 1},
       {0, 2, 5, 3, 4},
       {6, 2, 3, 2, 1},
       {3, 5, 5, 1, 0},
       {2, 6, 4, 0, 2},
       {4, 1, 3, 0, 6}}},
     8,
     2,
     "spitze"},
    {"regel_10",
     {{{},
       {3, 2, 3, 3, 3},
       {2, 2, 10, 0, 0},
       {2, 2, 4, 4, 2},
       {3, 3, 4, 2, 2},
       {0, 5, 1, 4, 4},
       {3, 4, 5, 0, 2},
       {4, 2, 3, 3, 2},
       {3, 0, 6, 4, 1},
       {2, 1, 5, 5, 1}}},
     3,
     4,
     "9"},
    {"regel_11",
     {{{},
       {0, 2, 11, 0, 1},
       {0, 1, 4, 6, 3},
       {4, 5, 2, 3, 0},
       {1, 2, 8, 1, 2},
       {0, 2, 2, 6, 4},
       {4, 5, 2, 1, 2},
       {2, 1, 4, 4, 3},
       {0, 5, 7, 0, 2},
       {0, 5, 4, 3, 2}}},
     2,
     6,
     "2"},
    {"regel_12",
     {{{},
       {1, 4, 7, 0, 2},
       {0, 6, 0, 4, 4},
       {1, 1, 11, 0, 1},
       {2, 1, 5, 0, 6},
       {4, 1, 4, 1, 4},
       {4, 2, 1, 3, 4},
       {5, 0, 7, 2, 0},
       {4, 4, 4, 2, 0},
       {4, 3, 5, 0, 2}}},
     7,
     4,
     "13"},
    {"regel_13",
     {{{},
       {4, 5, 2, 1, 2},
       {5, 2, 2, 4, 1},
       {4, 4, 2, 4, 0},
       {2, 4, 7, 0, 1},
       {2, 3, 1, 6, 2},
       {6, 5, 1, 0, 2},
       {3, 4, 4, 1, 2},
       {6, 2, 1, 0, 5},
       {5, 2, 4, 3, 0}}},
     5,
     1,
     "11"},
    {"regel_14",
     {{{},
       {4, 3, 4, 2, 1},
       {2, 4, 5, 1, 2},
       {2, 3, 5, 0, 4},
       {5, 3, 6, 0, 0},
       {4, 0, 6, 3, 1},
       {1, 3, 6, 3, 1},
       {6, 1, 7, 0, 0},
       {6, 2, 5, 0, 1},
       {1, 5, 0, 3, 5}}},
     1,
     2,
     "7g"},
    {"regel_15",
     {{{},
       {1, 2, 7, 3, 1},
       {2, 6, 0, 6, 0},
       {1, 5, 4, 3, 1},
       {4, 1, 7, 1, 1},
       {3, 4, 2, 4, 1},
       {4, 1, 6, 3, 0},
       {0, 5, 2, 3, 4},
       {1, 4, 3, 2, 4},
       {5, 0, 3, 0, 6}}},
     6,
     3,
     "12"},
};

// Persons that reach the other branches of the pages.
inline const Person kBesonderePersonen[] = {
    // One clear main type (type 3).
    {"klar",
     {{{},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {0, 0, 2, 2, 10},
       {1, 3, 6, 3, 1},
       {2, 2, 6, 2, 2},
       {3, 2, 5, 2, 2},
       {2, 2, 6, 2, 2},
       {2, 3, 5, 2, 2},
       {2, 2, 6, 3, 1}}},
     3,
     2,
     "3"},
    // Types 2 and 7 tie at the top of the total.
    {"gleichstand_gesamt",
     {{{},
       {2, 2, 6, 2, 2},
       {0, 1, 5, 2, 6},
       {2, 2, 6, 2, 2},
       {1, 3, 6, 3, 1},
       {2, 2, 6, 2, 2},
       {3, 2, 5, 2, 2},
       {0, 1, 5, 2, 6},
       {2, 3, 5, 2, 2},
       {2, 2, 6, 3, 1}}},
     9,
     2,
     "spitze"},
    // Types 4 and 8 tie at the top of the 3-and-4 ranking: no main type, ten pages.
    {"gleichstand_34",
     {{{},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {0, 0, 6, 4, 4},
       {2, 2, 6, 2, 2},
       {3, 2, 5, 2, 2},
       {2, 2, 6, 2, 2},
       {2, 2, 2, 4, 4},
       {2, 2, 6, 3, 1}}},
     10,
     1,
     "1g"},
    // Every total below zero.
    {"negativ",
     {{{},
       {6, 5, 2, 1, 0},
       {8, 4, 1, 1, 0},
       {5, 6, 2, 1, 0},
       {7, 5, 1, 0, 1},
       {9, 3, 2, 0, 0},
       {6, 6, 1, 1, 0},
       {5, 5, 3, 1, 0},
       {10, 2, 1, 1, 0},
       {6, 4, 3, 1, 0}}},
     4,
     2,
     "10"},
    // Half of the test answered.
    {"halb",
     {{{},
       {1, 1, 3, 1, 1},
       {0, 2, 2, 2, 1},
       {1, 0, 2, 1, 3},
       {2, 1, 2, 1, 1},
       {1, 1, 3, 2, 0},
       {0, 1, 3, 2, 1},
       {1, 2, 2, 1, 1},
       {2, 2, 1, 1, 1},
       {1, 1, 2, 2, 1}}},
     3,
     4,
     "3g"},
    // Every rating 2, every rating 0, nothing answered.
    {"gleich", jederTyp({0, 0, 14, 0, 0}), 0, 5, "null"},
    {"alle_null", jederTyp({14, 0, 0, 0, 0}), 0, 8, "null"},
    {"ohne_bewertung", jederTyp({0, 0, 0, 0, 0}), 0, 5, "null"},
    // The top total is 0 and every other total lies below it.
    {"null_spitze",
     {{{},
       {0, 0, 0, 0, 0},
       {3, 1, 0, 0, 0},
       {2, 2, 0, 0, 0},
       {4, 0, 0, 0, 0},
       {1, 3, 0, 0, 0},
       {2, 0, 0, 0, 0},
       {0, 2, 0, 0, 0},
       {1, 1, 0, 0, 0},
       {3, 0, 0, 0, 0}}},
     0,
     2,
     "null"},
    // Mostly 2s: eight types share the top total, type 6 alone has a rating of 3.
    {"flach",
     {{{},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0},
       {1, 0, 12, 1, 0},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0},
       {0, 0, 14, 0, 0}}},
     9,
     7,
     "spitze"},
    // Main type 1 between two rejected wings (totals -3 and -1); its second connected type 4 has
    // the higher total (50 against 46).
    {"eins",
     {{{},
       {1, 0, 1, 2, 10},
       {5, 3, 6, 0, 0},
       {2, 2, 6, 2, 2},
       {0, 0, 3, 0, 11},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {2, 2, 6, 2, 2},
       {7, 1, 6, 0, 0}}},
     7,
     2,
     "6"},
};

// Generated persons of every kind the pages decide between: random ratings, a flat profile, all
// types alike, one peak, ties at the top of each ranking, mostly rejections (negative totals),
// mixed signs and unfinished tests. The same seed gives the same persons.
struct Erzeugt {
    std::string name;
    Anzahlen anzahlen;
};
inline std::vector<Erzeugt> erzeugtePersonen(int anzahl, unsigned seed) {
    std::mt19937 zufall(seed);
    const auto wuerfel = [&](int bis) { return static_cast<int>(zufall() % static_cast<unsigned>(bis + 1)); };
    // 14 rows of a type spread over the values 0..4 with these weights; `offen` rows left out.
    const auto verteilt = [&](std::array<int, 5> gewicht, int offen) {
        std::array<int, 5> a{};
        int summe = 0;
        for (int g : gewicht) summe += g;
        for (int n = 0; n < 14 - offen; ++n) {
            int r = wuerfel(summe - 1), v = 0;
            while (r >= gewicht[v]) r -= gewicht[v++];
            ++a[v];
        }
        return a;
    };
    std::vector<Erzeugt> out;
    for (int i = 0; i < anzahl; ++i) {
        Anzahlen a{};
        const int art = i % 9;
        const int kopie = 1 + wuerfel(8), spitze = 1 + wuerfel(8);
        for (int t = 1; t <= 9; ++t) {
            switch (art) {
            case 0: a[t] = verteilt({1, 1, 1, 1, 1}, 0); break;                  // random
            case 1: a[t] = {0, 0, 14, 0, 0}; break;                              // flat
            case 2: a[t] = t == 1 ? verteilt({1, 1, 2, 1, 1}, 0) : a[1]; break;  // all alike
            case 3: a[t] = t == spitze ? std::array<int, 5>{0, 0, 13, 0, 1} : std::array<int, 5>{0, 0, 14, 0, 0}; break;
            case 4:
                a[t] = t == kopie || t == spitze ? std::array<int, 5>{1, 1, 4, 4, 4} : verteilt({2, 2, 4, 1, 1}, 0);
                break;
            case 5: a[t] = verteilt({6, 4, 2, 1, 1}, 0); break;                                         // rejections
            case 6: a[t] = t % 2 ? verteilt({5, 3, 2, 2, 2}, 0) : verteilt({1, 1, 2, 4, 6}, 0); break;  // mixed
            case 7: a[t] = verteilt({1, 1, 1, 1, 1}, wuerfel(14)); break;                               // unfinished
            case 8:
                a[t] = t == 2 || t == 7 ? std::array<int, 5>{0, 0, 10, 2, 2} : verteilt({1, 1, 3, 1, 1}, 0);
                break;  // ties
            }
        }
        out.push_back({"erzeugt_" + std::to_string(i), a});
    }
    return out;
}

}  // namespace auswert_test
