// Report pages 15 to 18: the deviation of the type totals from their mean, the ranking by total
// set beside the ranking by the ratings 3 and 4 with its conclusion, the main type with its wings,
// and its two connected types.

#include <vector>

#include "desk/reports/druckseiten.h"
#include "desk/reports/druckseiten_text.h"
#include "desk/testing/rangfolge.h"
#include "platform/vb/strings.h"

using druckseiten::blanks;
using druckseiten::format;
using druckseiten::liste;
using druckseiten::Seite;

void DruckSeiteMittelwertAbweichung() {
    gTypsummenMittel = typrang::typsummenMittel();
    const float mittel = gTypsummenMittel;
    const float jeAussage = mittel / 14.0f;
    const int urteil = typrang::niveauUrteil(jeAussage);

    const Seite s(15);
    s.label(1, 299, kFormatUeberschrift);
    s.leer(2);
    s.label(3, 300);
    s.zeile(4, format(vb::Variant(mittel), "00.00"), kFormatH1);
    s.label(5, 301);
    s.zeile(6, format(vb::Variant(jeAussage), "00.00"), kFormatH1);
    s.label(7, 302);
    s.leer(8);
    s.label(9, 303, kFormatH2);
    s.label(10, urteil, kFormatH2);
    s.leer(11);
    s.leer(12);
    s.zeile(13, blanks(25) + LabelTxt(259) + blanks(10) + LabelTxt(307) + blanks(15) + LabelTxt(308), kFormatText);
    s.zeile(14, blanks(125) + LabelTxt(309), kFormatText);
    s.trennlinie(15);

    // The class stays from one row to the next; without a mean no row gets one.
    std::string klasse;
    for (int t = 1; t <= 9; ++t) {
        const float x = gTypgesamtsummeJeTyp[t];
        std::string verhaeltnis;
        if (mittel == 0.0f) {
            verhaeltnis = format(vb::Variant(0), "00.00");
        } else {
            verhaeltnis = format(vb::Variant(x / mittel), "00.00");
            klasse = LabelTxt(typrang::abweichungsKlasse(x, mittel));
        }
        const std::string& name = gTypbezeichnung[t];
        const std::string differenz = format(vb::Variant(x - mittel), "000.00");
        // The ratio's field is measured by the ratio written once more with three integer digits.
        const std::string breite = format(vb::Variant(verhaeltnis), "000.00");
        s.zeile(15 + t,
                name + blanks(20 - vb::Len(name)) + differenz + blanks(20 - vb::Len(differenz)) + verhaeltnis +
                    blanks(20 - vb::Len(breite)) + klasse,
                kFormatFest);
    }
    s.leer(25);
    s.trennlinie(26);
}

namespace {

// Whether the two top groups still agree: element by element, and no type close behind by the
// ratings 3 and 4 lies near the top total without standing at that place of the total's top group.
// Runs while the lists hold type numbers; gVergleichTypen is indexed by type.
void gleichheitPruefen() {
    gRang1GleichWert = 9;
    gRang1Gleich = 1;
    for (int z = 1; z <= 9; ++z) {
        bool abweichend = gRang1Typgesamtsumme[z] != gRang1Typsumme34[z];
        const std::string& nah = gRang2Typsumme34[z];
        if (!nah.empty() && gRang1Typgesamtsumme[z] != nah && gRang1Typsumme34[z] != nah) {
            const int typ = static_cast<int>(vb::Val(nah));
            abweichend = abweichend || (typ >= 1 && typ <= 9 && !gVergleichTypen[typ].empty());
        }
        if (abweichend) {
            gRang1GleichWert = 0;
            gRang1Gleich = 0;
        }
    }
}

// A row of page 16's conclusion table: what it requires of the flags of typrang::Merkmale and
// of the agreement of the two top groups.
struct Schluss {
    bool wenige;  // fewer than 5 ratings of 0 and 1 for the leader by 3 and 4
    int A, B, C, D, E, G;  // 1 required, 0 required false, -1 not tested
    bool nenntK;  // line 17 names the leader by 3 and 4, else the leader by total
    int zeile18, zeile20, zeile21;  // label texts; 0: no line
};

constexpr Schluss kSchluss[] = {
    {true, 1, 1, 1, -1, -1, -1, false, 439, 441, 442},    {true, -1, -1, -1, 1, 1, -1, true, 443, 441, 444},
    {true, 1, 1, 0, -1, -1, -1, false, 445, 441, 409},    {true, -1, -1, -1, 1, 0, 1, true, 446, 441, 409},
    {true, 1, 0, 1, -1, -1, -1, false, 447, 441, 411},    {true, 1, 0, 0, -1, -1, -1, false, 448, 441, 411},
    {true, 0, 1, 0, -1, -1, -1, false, 449, 441, 411},    {false, 1, 1, 1, -1, -1, -1, false, 439, 409, 0},
    {false, -1, -1, -1, 1, 1, -1, true, 443, 411, 0},     {false, 1, 1, 0, -1, -1, -1, false, 439, 411, 0},
    {false, -1, -1, -1, 1, 0, -1, true, 446, 411, 0},     {false, 1, 0, 1, -1, -1, -1, false, 447, 417, 0},
    {false, 1, 0, 0, -1, -1, -1, false, 448, 417, 0},     {false, 0, 1, 0, -1, -1, -1, false, 449, 417, 0},
};

bool passt(int gefordert, bool wert) { return gefordert < 0 || (gefordert == 1) == wert; }

// The row of the conclusion table that the rankings as page 16 left them choose, or nullptr.
const Schluss* schlussRegel() {
    // Without a rating of 3 or 4 every type ties at 0 there: no type leads by them.
    if (gAnzahlRang1 != 1 || gSpitzenwertTypsumme34 == 0) return nullptr;
    const typrang::Merkmale m = typrang::merkmaleSumme34();
    const bool G = gRang1Gleich == 1;
    const int N = typrang::niedrigeAntworten(gVergleichTyp);
    for (const Schluss& r : kSchluss)
        if (r.wenige == (N < 5) && passt(r.A, m.A) && passt(r.B, m.B) && passt(r.C, m.C) && passt(r.D, m.D) &&
            passt(r.E, m.E) && passt(r.G, G))
            return &r;
    return nullptr;
}

// Line 2 of pages 17 and 18 under their title: empty, or where page 16's conclusion names no main
// type, or another one than the leader by the ratings 3 and 4 that these pages take, that, and what
// their main type rests on, so that a reader does not take it for an established result nor for
// page 16's.
void grundlageNennen(const Seite& s, int haupttyp) {
    const Schluss* regel = schlussRegel();
    const std::string genannt = regel ? (regel->nenntK ? gRang1Typsumme34[9] : gRang1Typgesamtsumme[9]) : "";
    if (!genannt.empty() && genannt == gRang1Typsumme34[9])
        s.leer(2);
    else if (genannt.empty())
        s.zeile(2, LabelTxt(325) + " " + LabelTxt(326) + " " + gTypbezeichnung[haupttyp], kFormatH2);
    else
        s.zeile(2, LabelTxt(381) + " " + vb::Trim(genannt) + ". " + LabelTxt(326) + " " + gTypbezeichnung[haupttyp],
                kFormatH2);
}

}  // namespace

void DruckSeiteRangfolgeVergleich() {
    typrang::rangfolgenVergleichen();
    gleichheitPruefen();
    TypnummernErsetzen();

    const Seite s(16);
    s.label(1, 314, kFormatUeberschrift);
    s.leer(2);
    if (gVergleichLauf == 9) {
        s.label(3, 315);
        s.leer(4);
        s.eingerahmt(5, liste(gRang1Typgesamtsumme));
        s.leer(8);
        s.label(9, 316);
        s.label(10, 317);
        s.label(11, 318);
        s.leer(12);
        s.leer(13);
    } else {
        s.label(3, 319);
        s.label(4, 320);
        s.leer(5);
        s.eingerahmt(6, liste(gVergleichTypen));
        s.leer(9);
        s.label(10, 321);
        s.leer(11);
        s.eingerahmt(12, liste(gRang1Typgesamtsumme));
    }
    s.leer(15);

    if (const Schluss* regel = schlussRegel()) {
        s.label(16, 438);
        s.zeile(17, regel->nenntK ? gRang1Typsumme34[9] : gRang1Typgesamtsumme[9], kFormatH1);
        s.label(18, regel->zeile18);
        s.label(19, 440);
        s.label(20, regel->zeile20);
        if (regel->zeile21) s.label(21, regel->zeile21);
        s.leer(22);
    } else if (gSpitzenwertTypsumme34 != 0) {
        s.label(16, 329);
        s.label(18, 330);
        s.label(19, 331);
        s.label(20, 332);
        s.label(21, 333);
        s.leer(22);
        s.trennlinie(23);
        s.zeile(24, liste(gRang1Typsumme34), kFormatH1);
        s.leer(25);
        s.trennlinie(26);
    } else {
        s.label(16, 334);
        s.label(18, 335);
        s.label(19, 336);
    }
}

void DruckSeiteHaupttyp() {
    if (gHaupttypEindeutig == 0) return;
    const std::vector<int> treffer = typrang::haupttypTreffer();
    if (treffer.empty()) {
        // No type carries the leader's designation: no wings of a main type that was not found, and
        // nothing for page 18 to connect.
        gHaupttyp = 0;
        return;
    }
    gHaupttyp = static_cast<int16_t>(treffer.back());
    const int haupt = gHaupttyp;
    const int links = typrang::untererNachbar(haupt), rechts = typrang::obererNachbar(haupt);
    gZaehler = static_cast<int16_t>(links);
    gVerbindungstyp2 = static_cast<int16_t>(rechts);

    const Seite s(17);
    s.label(1, 260, kFormatUeberschrift);
    grundlageNennen(s, haupt);
    s.label(3, 337);
    s.zeile(4, gTypbezeichnung[links] + " " + LabelTxt(371) + " " + gTypbezeichnung[rechts], kFormatH1);
    s.leer(5);
    s.leer(6);
    s.trennlinie(7);
    s.leer(8);
    for (const auto& [fluegel, ab] : {std::pair{links, 9}, std::pair{rechts, 17}}) {
        s.zeile(ab, LabelTxt(338) + " " + gTypbezeichnung[fluegel] + " " + LabelTxt(339), kFormatText);
        s.zeile(ab + 1, vb::Str(static_cast<int>(gTypgesamtsummeJeTyp[fluegel])), kFormatH1);
        s.leer(ab + 2);
        s.label(ab + 3, 340);
        s.label(ab + 4, typrang::abstandUrteil(haupt, fluegel), kFormatH1);
        s.leer(ab + 5);
        s.trennlinie(ab + 6);
        s.leer(ab + 7);
    }

    if (gTypgesamtsummeJeTyp[rechts] == 0) return;
    const int staerker = typrang::staerkererFluegel(typrang::verhaeltnis(links, rechts), links, rechts);
    s.label(25, 343);
    s.zeile(26, gTypbezeichnung[haupt], kFormatH1);
    if (staerker == 0) {
        s.label(27, 345);
    } else {
        s.label(27, 344);
        s.zeile(28, gTypbezeichnung[staerker], kFormatH1);
    }
}

void DruckSeiteVerbindungstypen() {
    // Only a main type that page 17 found has connected types: without one the page stays out,
    // as page 17 does, rather than reading the ranking's count as a type.
    if (gHaupttypEindeutig == 0 || gHaupttyp < 1 || gHaupttyp > 9) return;
    const int haupt = gHaupttyp;
    const typrang::Verbindung v = typrang::verbindungstypen(haupt);
    gVerbindungstyp1 = static_cast<int16_t>(v.erster);
    gVerbindungstyp2 = static_cast<int16_t>(v.zweiter);
    const int c1 = v.erster, c2 = v.zweiter;

    const Seite s(18);
    // Each of the two types from line `nr` on: its name, its total score, how far it lies from the
    // main type, how many low answers it has; the label texts `text`, `text` + 1 and + 2 head them.
    const auto typBlock = [&](int nr, int typ, int text) {
        s.label(nr, text);
        s.zeile(nr + 1, gTypbezeichnung[typ], kFormatH1);
        s.leer(nr + 2, kFormatTabelle);
        s.label(nr + 3, text + 1);
        s.zeile(nr + 4, vb::Str(static_cast<int>(gTypgesamtsummeJeTyp[typ])), kFormatH1);
        s.label(nr + 5, text + 2);
        s.label(nr + 6, typrang::abstandUrteil(haupt, typ), kFormatH1);
        s.leer(nr + 7, kFormatTabelle);
        s.zeile(nr + 8, LabelTxt(350) + " " + vb::Str(static_cast<int>(typrang::niedrigeAntworten(typ))) + " " +
                            LabelTxt(351),
                kFormatText);
    };
    s.label(1, 346, kFormatUeberschrift);
    grundlageNennen(s, haupt);
    typBlock(3, c1, 347);
    s.label(13, 352);
    s.leer(14, kFormatTabelle);
    const typrang::Hinweis wenig = typrang::niedrigHinweis(typrang::niedrigeAntworten(c1));
    if (wenig.erste) {
        s.label(15, wenig.erste, kFormatH2);
        s.label(16, wenig.zweite, kFormatH2);
    } else {
        s.label(15, typrang::kKeinHinweis);
    }
    s.leer(17, kFormatTabelle);
    typBlock(18, c2, 357);
    s.label(28, 360);
    s.leer(29, kFormatTabelle);
    // A heading with nothing under it would read as a note lost.
    const int urteil = typrang::zweiterVerbindungstypUrteil(typrang::verhaeltnis(haupt, c2));
    if (urteil) s.label(30, urteil, kFormatH2);
    else s.label(gTypgesamtsummeJeTyp[c2] == 0 ? 31 : 30, typrang::kKeinHinweis);
}
