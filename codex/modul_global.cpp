#include "codex/modul_global.h"

#include "desk/common/engine_setup.h"

#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/common/programm.h"
#include "platform/db/recordset.h"
#include "platform/draw/surface.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/vb/strings.h"

namespace codex {

int16_t gSeitennummer = 0;
bool gSeiteVoll = false;
std::string gThemaTitel;
std::string gThemaInhalt;
std::string gLiteraturzeile;

void resetLeserZustand() {
    gSeitennummer = 0;
    gSeiteVoll = false;
    gThemaTitel.clear();
    gThemaInhalt.clear();
    gLiteraturzeile.clear();
}

std::string Inhaltsdatenbank() { return Installationsdatei(kInhaltDB); }

void HilfeZeigen(const std::string& thema) {
    // The file looked for is the file the help viewer opens.
    if (!files::FileExists(Hilfedateipfad())) {
        gAntwort = forms::MsgBox(DialogTxt(7), forms::vbExclamation, DialogTxt(3));
        return;
    }
    ShowHelp(thema);
}

void ShutdownProgram() {
    if (hauptfenster()) hauptfenster()->setEditAndWindowMenusVisible(false);
}

namespace {
// A settings row without a font name or size keeps the surface's own.
void schrift(draw::Surface& s, const std::string& name, int16_t groesse, bool kursiv, bool fett) {
    if (!name.empty()) s.setFontName(name);
    if (groesse > 0) s.setFontSize(groesse);
    s.setFontItalic(kursiv);
    s.setFontBold(fett);
}
}  // namespace

void ApplyExtraFontSettings(draw::Surface& s) {
    schrift(s, gExtraschriftart, gExtraschriftGroesse, gExtraschriftKursiv, gExtraschriftFett);
}

void ApplyFontSettings(draw::Surface& s) {
    schrift(s, gStandardschriftart, gStandardschriftGroesse, gStandardschriftKursiv, gStandardschriftFett);
}

int32_t Farbwert(const vb::Variant& farbe) {
    if (farbe.isEmpty() || farbe.isNull()) return 0;
    try {
        return vb::CLng(farbe);
    } catch (const vb::Error&) {
        return 0;
    }
}

double MaxValue(double a, double b) { return a > b ? a : b; }

std::string Literaturzeile(db::Recordset& rs) {
    std::string zeile = Feldtext(rs, "Autor");
    auto anhaengen = [&](const char* feld, const char* vor, const std::string& nach = {}) {
        const std::string wert = Feldtext(rs, feld);
        if (!wert.empty()) zeile += vor + wert + nach;
    };
    anhaengen("Literatur.Titel", ": ");
    anhaengen("Reihe", "; ");
    anhaengen("Herausgeber", "; ", " " + LabelTxt(13));
    anhaengen("Auflage", "; ");
    anhaengen("Verlag", "; ");
    anhaengen("Ort", "; ");
    anhaengen("Jahr", "; ");
    return zeile;
}

}  // namespace codex
