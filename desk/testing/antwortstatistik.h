#pragma once

// The statistics of the current person's answer values that the evaluation window's statistics
// pages and the printed report both give: the most frequent value, the middle value and the
// information measure, per type and over all types. They read the answer counts of the scoring
// (gAntwortAnzahlJeTyp, gAntwortAnzahlGesamt) and measure against the fixed bases of a complete
// test: 14 statements per type, 126 statement-type pairs in all.

#include <array>
#include <cstdint>
#include <vector>

namespace antwortstatistik {

// How often each answer value 0..4 was given.
using Anzahlen = std::array<int16_t, 5>;
Anzahlen jeTyp(int typ);  // the counts of type 1..9
Anzahlen gesamt();        // the counts over all types

// The largest of the five counts (0 when nothing was answered), and the values that reach it, in
// ascending order: every value when nothing was answered.
int16_t hoechsteAnzahl(const Anzahlen& n);
std::vector<int> haeufigsteWerte(const Anzahlen& n, int16_t hoechste);

// The value of a type's eighth-lowest answer (half of 14 passed); `zwischen` when exactly seven
// answers lie below it, so the middle falls between it and the value below.
struct Mitte {
    int wert;
    bool zwischen;
};
Mitte mittlererWert(const Anzahlen& n);
// The middle value over all types from the average count per type, rounded at every step.
int mittlererWertGesamt(const Anzahlen& n);

// The binary entropy of a share, 0 for a share of 0 or 1 (or beyond: more answers than the base).
double entropie(double anteil);
// The cumulative shares of the values below 1, 2, 3, 4 among a type's 14 statements.
std::array<double, 5> kumulierteAnteile(const Anzahlen& n);  // element j for j = 1..4
// A type's information measure: the mean of the entropies of its four cumulative shares.
double informationsmass(const Anzahlen& n);
// Over all types: the mean of the entropies of the single values 0 to 3 among the 126 pairs.
double informationsmassGesamt(const Anzahlen& n);
// The class of an information measure as a label text: 373 below 0.3, 375 up to 0.7, 374 above.
int informationsKlasse(double mass);

}  // namespace antwortstatistik
