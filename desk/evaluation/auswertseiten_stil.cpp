#include "desk/evaluation/auswertseiten_stil.h"

#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace auswertseiten {

draw::Surface& ausgabe() {
    if (!gAusgabe) throw vb::Error(vb::err::ObjectNotSet);
    return *gAusgabe;
}

draw::FontSpec extraFont() {
    draw::FontSpec f;
    f.name = gExtraschriftart;
    f.size = gExtraschriftGroesse;
    f.italic = gExtraschriftKursiv;
    f.bold = gExtraschriftFett;
    return f;
}

draw::FontSpec standardFont() {
    draw::FontSpec f;
    f.name = gStandardschriftart;
    f.size = gStandardschriftGroesse;
    f.italic = gStandardschriftKursiv;
    f.bold = gStandardschriftFett;
    return f;
}

int32_t farbe(const vb::Variant& wert) { return wert.isEmpty() ? 0 : wert.toLong(); }

void extraStil(draw::Surface& s) {
    s.setFont(extraFont());
    s.setForeColor(farbe(gExtraschriftfarbe));
}

void standardStil(draw::Surface& s) {
    s.setFont(standardFont());
    s.setForeColor(farbe(gStandardschriftfarbe));
}

void linie(draw::Surface& s, int laenge) { s.Print({draw::Tab(2), vb::String(laenge, vb::Chr(175))}); }

void saetzeDrucken(draw::Surface& s, const urteil::Saetze& saetze) {
    // A list keeps the blank ahead of each type that the window's lists always had.
    const auto typen = [](const std::string& l) { return l.empty() ? l : " " + l; };
    for (const urteil::Satz& z : saetze) {
        switch (z.art) {
        case urteil::Satz::Text: s.Print({draw::Tab(2), LabelTxt(z.label)}); break;
        case urteil::Satz::Liste:
            extraStil(s);
            s.Print({draw::Tab(2), typen(z.liste)});
            standardStil(s);
            break;
        case urteil::Satz::TextUndListe:
            s.Print({draw::Tab(2), LabelTxt(z.label)}, draw::LineEnd::Open);
            extraStil(s);
            s.Print({typen(z.liste)});
            standardStil(s);
            break;
        case urteil::Satz::Leerzeile: s.Print(); break;
        case urteil::Satz::Wortlaut: s.Print({draw::Tab(2), z.liste}); break;
        }
    }
}

}  // namespace auswertseiten
