#pragma once

// Direct printing of the blank questionnaire and of the introduction text on an output surface
// (the printer, or a PDF file through it). Positions are twips; texts are printed at print
// column 10 and wrapped at the first blank after the line passes the page width minus 4000 twips.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/draw/surface.h"

namespace db {
class Database;
}

namespace zuvtest {

struct FragebogenInhalt {
    std::string seite1, seite2;                         // fb_seite1, fb_seite2
    std::vector<std::pair<int, std::string>> aussagen;  // itemnummer, itemtext, in stored order
};

// Reads table fragebogen (first row) and testitems of the settings database.
FragebogenInhalt ladeFragebogen(db::Database& programmDb);

// The report window's print switches as they apply to the questionnaire.
struct DruckSchalter {
    bool kopfSeitenzahl = true;  // Check1(9)
    bool kopfDatum = true;       // Check1(10)
    bool kopfSymbol = true;      // Check1(12)
    bool fussSeitenzahl = true;  // Check4(0)
    bool fussDatum = true;       // Check4(1)
    bool fussLinie = true;       // Check4(2)
};

struct DruckSchrift {
    draw::FontSpec font;
    int32_t farbe = 0;
};

// The standard font of the settings (gStandardschriftart …) for printing.
DruckSchrift standardSchrift();

inline constexpr const char* kFragebogenFusszeile = "Z.U.V.-Fragebogen – vertraulich";
inline constexpr const char* kSkala = "0---1---2---3---4";

// Prints the whole questionnaire and ends the document. `seite` is the page number printed in
// header and footer (gSeite); it holds the last page's number afterwards. `symbol` is the
// header picture's path ("" for none).
void druckeFragebogen(draw::Surface& s, const FragebogenInhalt& inhalt, const DruckSchalter& schalter,
                      const DruckSchrift& schrift, const std::string& symbol, const std::string& datum, int16_t& seite);

// Prints the introduction text with a title on every page and a footer with date and page number,
// and ends the document. Returns the number of pages.
int druckeEinfuehrung(draw::Surface& s, const std::string& text, const std::string& titel, const std::string& seitenwort,
                      const DruckSchrift& schrift, const std::string& datum);

// Reads the introduction file: DOS code page 850 as installed; a copy saved by another editor in
// UTF-8 or in the Windows code page is recognised and read in its own code page. Every line ends
// with CR LF. 53 when it is missing.
std::string leseEinfuehrungstext(const std::string& pfad);

}  // namespace zuvtest
