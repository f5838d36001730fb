#pragma once

// The reader's own program-wide state and the procedures of its shared module that differ from
// ZUVDESK's. Everything else (texts, settings, paths, error box, status line, window counter) is
// the shared state of desk/common.

#include <cstdint>
#include <string>

#include "platform/vb/variant.h"

namespace db {
class Recordset;
}
namespace draw {
class Surface;
}

namespace codex {

inline constexpr const char* kHauptfensterTitel = "Z.U.V. 4.0 Typenbeschreibungen";
inline constexpr const char* kInhaltDB = "zuv40typ.sdb";
inline constexpr const char* kHinweis = "Nur für den fachkundigen Gebrauch. Alle Rechte vorbehalten.";

// Page state of a print run.
extern int16_t gSeitennummer;
extern bool gSeiteVoll;
// Title, text and literature line of the topic a description window showed last.
extern std::string gThemaTitel;
extern std::string gThemaInhalt;
extern std::string gLiteraturzeile;

// Back to the start-of-run values (tests run several sessions in one process).
void resetLeserZustand();

// The content database as the data controls name it.
std::string Inhaltsdatenbank();

// The help viewer at `thema` ("" the contents); where the help file is missing, a message says so.
void HilfeZeigen(const std::string& thema);

// Hides the Edit and Window menus before the program ends.
void ShutdownProgram();

// The configured extra font on a drawing surface (name, size, italic, bold in this order); the
// standard font likewise.
void ApplyExtraFontSettings(draw::Surface& s);
void ApplyFontSettings(draw::Surface& s);
// The colour settings as colour values (an unset colour is black).
int32_t Farbwert(const vb::Variant& farbe);

// The larger of two values (the second when they are equal).
double MaxValue(double a, double b);

// The literature line of the current row of a query on themenalleinfos: the author, then the title,
// series, editor (followed by label text 13), edition, publisher, place and year where given.
std::string Literaturzeile(db::Recordset& rs);

}  // namespace codex
