// Report pages 15 to 18: the deviation of the type totals from their mean, the ranking by total
// set beside the ranking by the ratings 3 and 4 with its conclusion, the main type with its wings,
// and its two connected types.

#include <array>
#include <tuple>
#include <vector>

#include "desk/reports/druckseiten.h"
#include "desk/reports/druckseiten_text.h"
#include "desk/testing/rangfolge.h"
#include "platform/vb/strings.h"

using druckseiten::blanks;
using druckseiten::format;
using druckseiten::liste;
using druckseiten::Seite;

void DruckSeiteMittelwertAbweichung() { DruckSeiteMittelwertAbweichung(urteil::befundDerPerson()); }

void DruckSeiteMittelwertAbweichung(const urteil::Befund& b) {
    const urteil::Abweichung a = urteil::abweichung(b);
    gTypsummenMittel = a.mittel;
    const float mittel = a.mittel;
    const float jeAussage = a.jeAussage;
    const int urteil = a.niveau;

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

    for (int t = 1; t <= 9; ++t) {
        const float x = b.gesamtJeTyp[t];
        // Over a mean of 0 or below it the quotient is no ratio to the mean: the field stays
        // empty, as wide as a ratio below 10 would make it. Without a mean no row gets a class.
        std::string verhaeltnis, breite = format(vb::Variant(format(vb::Variant(0), "00.00")), "000.00");
        if (a.verhaeltnisWahr) {
            verhaeltnis = format(vb::Variant(x / mittel), "00.00");
            // The ratio's field is measured by the ratio written once more with three integer digits.
            breite = format(vb::Variant(verhaeltnis), "000.00");
        } else {
            verhaeltnis = blanks(vb::Len(format(vb::Variant(0), "00.00")));
        }
        const std::string klasse = a.klasse[t] ? LabelTxt(a.klasse[t]) : std::string();
        const std::string& name = gTypbezeichnung[t];
        const std::string differenz = format(vb::Variant(x - mittel), "000.00");
        s.zeile(15 + t,
                name + blanks(20 - vb::Len(name)) + differenz + blanks(20 - vb::Len(differenz)) + verhaeltnis +
                    blanks(20 - vb::Len(breite)) + klasse,
                kFormatFest);
    }
    s.leer(25);
    s.trennlinie(26);
}

namespace {

// Line 2 of pages 17 and 18 under their title: empty, or where page 16's conclusion names no main
// type, or another one than the leader by the ratings 3 and 4 that these pages take, that, and what
// their main type rests on, so that a reader does not take it for an established result nor for
// page 16's.
void grundlageNennen(const Seite& s, const urteil::Befund& b, int haupttyp) {
    const urteil::Grundlage g = urteil::grundlage(b, urteil::Tafel::Bericht);
    if (g.fall == urteil::Grundlage::Keine) s.leer(2);
    else if (g.fall == urteil::Grundlage::KeinHaupttyp)
        s.zeile(2, LabelTxt(325) + " " + LabelTxt(326) + " " + gTypbezeichnung[haupttyp], kFormatH2);
    else s.zeile(2, LabelTxt(381) + " " + g.genannt + ". " + LabelTxt(326) + " " + gTypbezeichnung[haupttyp], kFormatH2);
}

}  // namespace

void DruckSeiteRangfolgeVergleich() {
    typrang::rangfolgenVergleichen();
    TypnummernErsetzen();
    const urteil::Befund b = urteil::befundDerPerson();
    const urteil::Vergleich v = urteil::vergleich(b, urteil::Tafel::Bericht);
    gRang1Gleich = gRang1GleichWert = b.rang1Gleich ? 1 : 0;
    if (b.rang1Gleich) gRang1GleichWert = 9;

    const Seite s(16);
    s.label(1, 314, kFormatUeberschrift);
    if (b.vollstaendig()) s.leer(2);
    else s.zeile(2, urteil::unvollstaendigText(b.beantwortet), kFormatH2);
    if (urteil::nurEinerVorn(b)) {
        s.label(3, 315);
        s.leer(4);
        s.eingerahmt(5, liste(b.gesamt.eins));
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
        s.eingerahmt(6, liste(b.vergleichTypen));
        s.leer(9);
        s.label(10, 321);
        s.leer(11);
        s.eingerahmt(12, liste(b.gesamt.eins));
    }
    s.leer(15);

    if (v.fall == urteil::Vergleich::Regel) {
        s.label(16, 438);
        s.zeile(17, v.genannt, kFormatH1);
        s.label(18, v.text);
        int nr = 19;
        for (int t : v.weitere) s.label(nr++, t);
        s.leer(22);
    } else if (v.fall == urteil::Vergleich::KeineRegel) {
        s.label(16, 329);
        s.label(18, 330);
        s.label(19, 331);
        s.label(20, 332);
        s.label(21, 333);
        s.leer(22);
        s.trennlinie(23);
        s.zeile(24, liste(b.summe34.eins), kFormatH1);
        s.leer(25);
        s.trennlinie(26);
    } else {
        s.label(16, 334);
        s.label(18, 335);
        s.label(19, 336);
    }
}

void DruckSeiteHaupttyp() {
    const urteil::Befund b = urteil::befundDerPerson();
    const int haupt = urteil::haupttyp(b);
    if (!haupt) {
        // No main type: no wings of a main type that was not found, and nothing for page 18 to
        // connect.
        if (urteil::haupttypEindeutig(b)) gHaupttyp = 0;
        return;
    }
    gHaupttyp = static_cast<int16_t>(haupt);
    const urteil::Fluegel f = urteil::fluegel(b, haupt);
    gZaehler = static_cast<int16_t>(f.unten);
    gVerbindungstyp2 = static_cast<int16_t>(f.oben);

    const Seite s(17);
    s.label(1, 260, kFormatUeberschrift);
    grundlageNennen(s, b, haupt);
    s.label(3, 337);
    if (!b.vollstaendig()) s.zeile(30, urteil::unvollstaendigText(b.beantwortet), kFormatH2);
    s.zeile(4, gTypbezeichnung[f.unten] + " " + LabelTxt(371) + " " + gTypbezeichnung[f.oben], kFormatH1);
    s.leer(5);
    s.leer(6);
    s.trennlinie(7);
    s.leer(8);
    for (const auto& [fluegel, ab, abstand] :
         {std::tuple{f.unten, 9, f.abstandUnten}, std::tuple{f.oben, 17, f.abstandOben}}) {
        s.zeile(ab, LabelTxt(338) + " " + gTypbezeichnung[fluegel] + " " + LabelTxt(339), kFormatText);
        s.zeile(ab + 1, vb::Str(static_cast<int>(b.gesamtJeTyp[fluegel])), kFormatH1);
        s.leer(ab + 2);
        s.label(ab + 3, 340);
        s.label(ab + 4, abstand, kFormatH1);
        s.leer(ab + 5);
        s.trennlinie(ab + 6);
        s.leer(ab + 7);
    }

    s.label(25, 343);
    s.zeile(26, gTypbezeichnung[haupt], kFormatH1);
    if (f.staerker == 0) {
        s.label(27, 345);
    } else {
        s.label(27, 344);
        s.zeile(28, gTypbezeichnung[f.staerker], kFormatH1);
    }
}

void DruckSeiteVerbindungstypen() {
    // Only a main type that page 17 found has connected types: without one the page stays out,
    // as page 17 does.
    const urteil::Befund b = urteil::befundDerPerson();
    const int haupt = urteil::haupttyp(b);
    if (!haupt) return;
    gHaupttyp = static_cast<int16_t>(haupt);
    const std::array<urteil::Verbindungstyp, 2> c = urteil::verbindungstypen(b, haupt);
    gVerbindungstyp1 = static_cast<int16_t>(c[0].typ);
    gVerbindungstyp2 = static_cast<int16_t>(c[1].typ);

    const Seite s(18);
    // Each of the two types from line `nr` on: its name, its total score, how far it lies from the
    // main type, how many low answers it has; the label texts `text`, `text` + 1 and + 2 head them;
    // then under the heading `text` + 3 (352 for the first) its note from line `nr` + 12.
    const auto typBlock = [&](int nr, const urteil::Verbindungstyp& v, int text, int kopf) {
        s.label(nr, text);
        s.zeile(nr + 1, gTypbezeichnung[v.typ], kFormatH1);
        s.leer(nr + 2, kFormatTabelle);
        s.label(nr + 3, text + 1);
        s.zeile(nr + 4, vb::Str(static_cast<int>(b.gesamtJeTyp[v.typ])), kFormatH1);
        s.label(nr + 5, text + 2);
        s.label(nr + 6, v.abstand, kFormatH1);
        s.leer(nr + 7, kFormatTabelle);
        s.zeile(nr + 8, LabelTxt(350) + " " + vb::Str(static_cast<int>(b.niedrigJeTyp[v.typ])) + " " + LabelTxt(351),
                kFormatText);
        s.label(nr + 10, kopf);
        s.leer(nr + 11, kFormatTabelle);
        int z = nr + 12;
        for (int h : v.hinweis) s.label(z++, h, h == typrang::kKeinHinweis ? kFormatText : kFormatH2);
    };
    s.label(1, 346, kFormatUeberschrift);
    grundlageNennen(s, b, haupt);
    if (!b.vollstaendig()) s.zeile(33, urteil::unvollstaendigText(b.beantwortet), kFormatH2);
    typBlock(3, c[0], 347, 352);
    s.leer(17, kFormatTabelle);
    typBlock(18, c[1], 357, 360);
}
