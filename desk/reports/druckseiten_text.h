#pragma once

// What the page builders share: one page's line writer and the text fields of the pages.

#include <cstdint>
#include <string>

#include "desk/common/globals.h"
#include "desk/reports/druckzeile.h"
#include "desk/testing/rangfolge.h"
#include "desk/testing/urteile.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

namespace druckseiten {

// The lines of one report page, each written at its fixed number.
class Seite {
public:
    explicit Seite(int16_t nummer) : m_nummer(nummer) {}
    void zeile(int nr, const std::string& text, const char* code) const {
        SchreibeDruckzeile(m_nummer, static_cast<int16_t>(nr), text, code);
    }
    void label(int nr, int label, const char* code = kFormatText) const { zeile(nr, LabelTxt(label), code); }
    void leer(int nr, const char* code = kFormatText) const { zeile(nr, "", code); }
    void trennlinie(int nr) const { zeile(nr, Trennlinie(), kFormatText); }
    // A line of types in the heading format between two rules, from line `nr` on.
    void eingerahmt(int nr, const std::string& typen) const {
        trennlinie(nr);
        zeile(nr + 1, typen, kFormatH1);
        trennlinie(nr + 2);
    }

private:
    int16_t m_nummer;
};

// A text left-aligned in a field of `breite` characters; a longer text is kept whole rather than
// ending the page.
inline std::string links(const std::string& text, int breite) {
    const int n = vb::Len(text);
    return n >= breite ? text : text + vb::Space(breite - n);
}

// A text right-aligned in a field of `breite` characters.
inline std::string rechts(const std::string& text, int breite) {
    const int n = vb::Len(text);
    return n >= breite ? text : vb::Space(breite - n) + text;
}

// `n` blanks, none for a count below 1.
inline std::string blanks(int n) { return vb::Space(n > 0 ? n : 0); }

inline std::string format(const vb::Variant& wert, const char* muster) { return vb::Format(wert, muster); }

// A list of types as the pages print it: the non-empty entries joined, without the leading blank.
inline std::string liste(const RangListe& l) { return vb::LTrim(typrang::verbunden(l)); }

// The sentences of a verdict from line `nr` on, one line each: label texts as second-level
// headings, lists of types as third-level ones. Returns the line after the last.
inline int saetzeSchreiben(const Seite& s, int nr, const urteil::Saetze& saetze) {
    for (const urteil::Satz& z : saetze) {
        switch (z.art) {
        case urteil::Satz::Text: s.label(nr++, z.label, kFormatH2); break;
        case urteil::Satz::Liste: s.zeile(nr++, z.liste, kFormatH3); break;
        case urteil::Satz::TextUndListe:
            s.label(nr++, z.label, kFormatH2);
            s.zeile(nr++, z.einzug ? " " + z.liste : z.liste, kFormatH3);
            break;
        case urteil::Satz::Leerzeile: break;
        case urteil::Satz::Wortlaut: s.zeile(nr++, z.liste, kFormatH2); break;
        }
    }
    return nr;
}

}  // namespace druckseiten
