#pragma once

// The print table Drucktabelle and its one writer. Every page builder writes its lines through
// SchreibeDruckzeile into the table that the main window's cursor Data5 is bound to; the report
// window binds it before the first builder runs, and empties the table at the start of each run.

#include <cstdint>
#include <string>

// The format codes of the print lines.
inline constexpr const char* kFormatUeberschrift = "U1";  // title line of a page
inline constexpr const char* kFormatPerson = "U2";        // a line of the person's data on page 1
inline constexpr const char* kFormatH1 = "H1";
inline constexpr const char* kFormatH2 = "H2";
inline constexpr const char* kFormatH3 = "H3";
inline constexpr const char* kFormatText = "DE";      // ordinary line; empty: a blank line
inline constexpr const char* kFormatTabelle = "TA";   // main table of a page
inline constexpr const char* kFormatTabelle2 = "T2";  // second table of a page
inline constexpr const char* kFormatFest = "C1";      // fixed pitch

// The longest text a print line holds.
inline constexpr int kZeilentextLaenge = 255;

// The separator line of the report pages: 80 macrons (code 175 of the Windows code page).
const std::string& Trennlinie();

// Appends one row (page, line, text, code) to the table behind HauptDaten(5). A text longer than
// the field is cut to its 255 characters rather than ending the report. A page and line number
// that exist already fail with the database's key violation (3022), as does a missing binding (91).
void SchreibeDruckzeile(int16_t Druckseite, int16_t ZeilenNr, const std::string& Zeilentext,
                        const std::string& Formatierung);

// Binds HauptDaten(5) to the table Drucktabelle of the data file the report is written into
// (gDatenbankName) and refreshes it: what the builders of pages 1 to 3 do first.
void DrucktabelleBinden();
