#pragma once

// The page routines of the evaluation window: twelve evaluation pages and six statistics pages.
// Each prints one whole page onto gAusgabe from its current print position, after the window has
// cleared the surface, written its head and set the print start. Each ranks the person's result
// rows anew through the main window's shared cursor Data2 and takes its verdict from the person's
// results as the report does (desk/testing/urteile.h), never from lists another window left; they
// trap no errors: an error ends the page and reaches the window's trap.

#include <cstdint>
#include <string>

// ---- evaluation pages 1 to 12
void ShowResultByTotal();         // 1 ranking by the total score
void ShowResultBySum4();          // 2 ranking by the ratings 4
void ShowResultBySum3();          // 3 ranking by the ratings 3
void ShowResultBySum34();         // 4 ranking by the ratings 3 and 4, with a conclusion
void ShowResultBySum2();          // 5 ranking by the ratings 2
void ShowResultBySum1();          // 6 ranking by the ratings 1
void ShowResultBySum0();          // 7 ranking by the ratings 0
void ShowResultBySum01();         // 8 ranking by the ratings 0 and 1, with a conclusion
void ShowResultDeviation();       // 9 deviation of each type from the mean
void ShowResultCompare();         // 10 the two rankings set side by side
void ShowResultMainType();        // 11 main type and its neighbours
void ShowResultConnectedTypes();  // 12 the two connected types of the main type

// Pages 9, 11 and 12 on results given, as the ones above draw them on the person's results.
namespace urteil {
struct Befund;
}
void ShowResultDeviation(const urteil::Befund& befund);
void ShowResultMainType(const urteil::Befund& befund);
void ShowResultConnectedTypes(const urteil::Befund& befund);

// ---- statistics pages 1 to 6
void ShowStatistics1();  // counts per type and rating value
void ShowStatistics2();  // the same as shares
void ShowStatistics3();  // the same as percentages
void ShowStatistics4();  // most frequent rating value per type
void ShowStatistics5();  // median rating value per type
void ShowStatistics6();  // information measure of each type's ratings

// Heading cells of the statistics pages: the text one word per line at print column `spalte`,
// starting 1000 twips below gAusgabeStartY. DruckeTextUmbrochen also cuts words longer than ten
// characters. Both show an error in the standard box and return.
void PrintWrapped(const std::string& text, int16_t spalte);
void DruckeTextUmbrochen(const std::string& text, int16_t spalte);

// Page 11's choice of the main type from the person's ranking by the ratings 3 and 4; sets
// gHaupttyp and returns it, or returns 0 and leaves gHaupttyp as it is when no type leads.
int16_t HaupttypAusRangliste();

// The window whose page is being drawn, for the length of one page (none: nullptr); page 9 gives
// its threshold frame the page's caption.
class auswertform;
auswertform* zeichnendesFenster();
