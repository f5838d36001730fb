#pragma once

// Scoring and ranking of one person: the sums per type and rating class, the answer counts, and
// the two rankings with their groups; whether there is a main type, and so how many evaluation
// pages, the verdicts decide (desk/testing/urteile.h). The procedures bind the data
// controls they are given (the main window's shared cursors in the program) and return what
// they computed; TestAuswerten and TypRangfolgeBestimmen (testverwaltung.h) copy it into the
// program-wide state.

#include <array>
#include <cstdint>
#include <string>

namespace db {
class DataControl;
class Recordset;
}  // namespace db

namespace zuvtest {

using TypWerte = std::array<int16_t, 10>;  // per type 1..9, element 0 stays 0

struct Punkte {
    TypWerte gesamt{}, summe0{}, summe1{}, summe01{}, summe2{}, summe3{}, summe4{}, summe34{};
    // Type t by row r (r = rating + 1), kept flat as t + 10 * r like the evaluation pages read it.
    std::array<int16_t, 60> antwortAnzahl{};
    std::array<int16_t, 11> awGesamt{};            // element 10: all rated rows
    std::array<int16_t, 6> antwortAnzahlGesamt{};  // element v + 1 counts rating v
    int16_t anzahl(int t, int r) const { return antwortAnzahl[t + 10 * r]; }
};

struct Auswertung {
    Punkte punkte;
    std::string vorname, nachname, testdatum;
};

// The first statement whose item-type row is still empty, in stored order; 0 when every row
// holds a value. 3021 when the recordset has no row at all.
int16_t ersteUnbeantworteteAussage(db::Recordset& itemTypZeilen);

struct AuswertCursor {
    db::DataControl& itemTyp;   // the person's TypWertZuweisung rows
    db::DataControl& ergebnis;  // the person's Ergebnis rows
    db::DataControl& person;    // the person's PersDat row
};

// Binds the three cursors to the person's rows. Returns the first unanswered statement (0: none).
int16_t auswertCursorBinden(const AuswertCursor& c, const std::string& datenbankName, int32_t personId);

// Scores the bound rows and writes the fourteen score fields of each result row. An empty name
// or test date is read as empty text. 3021 when the person has no rows.
Auswertung punkteBerechnen(const AuswertCursor& c);

using RangListe = std::array<std::string, 10>;  // " 5" per element, filled from element 9 down

struct Rangfolge {
    RangListe rang1Gesamt, rang2Gesamt, rang1Summe34, rang2Summe34;
    int16_t spitzeGesamt = 0;
    int16_t spitzeSumme34 = 0;
    int16_t anzahlRang1 = 0;
    int16_t haupttyp = 0;  // a count: the non-empty elements 1..9 of rang1Gesamt
    int16_t rang1Gleich = 1;
    int16_t rang1GleichWert = 9;
};

// Ranks the person's result rows through `cursor` (left bound to the second walk's query).
// The threshold stays single precision and is widened for the comparison, as it is stored.
// On an error the partial result is in `teilweise` when given.
Rangfolge typRangfolgeBestimmen(db::DataControl& cursor, const std::string& datenbankName, int32_t personId,
                                float sensitivity1, Rangfolge* teilweise = nullptr);

}  // namespace zuvtest
