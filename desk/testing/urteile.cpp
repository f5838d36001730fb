#include "desk/testing/urteile.h"

#include <set>

#include "desk/common/main_window_port.h"
#include "desk/testing/rangfolge.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace urteil {

namespace {

// Label texts of this module's own sentences.
constexpr int kBewertetErst = 382;         // "Bewertet sind erst"
constexpr int kVonAussagen = 383;          // "von 109 Aussagen; …"
constexpr int kNichtGesichert = 384;       // an assignment while statements are missing
constexpr int kAblehnungVorlaeufig = 388;  // a rejection while statements are missing
constexpr int kKeineEins = 389;            // nobody rated 1
constexpr int kKeineNull = 390;            // nobody rated 0
constexpr int kGleichauf = 391;            // a settled assignment with other types near the top

// The sentences on how well an assignment is supported, and the one that calls a rejection settled.
constexpr int kGesichert = 409, kEindeutig = 442, kWahrscheinlich = 411, kGutGestuetzt = 444, kPruefen = 417;
constexpr int kAblehnungEindeutig = 429;
constexpr int kSpitze34Geteilt = 437;  // several types share the top of the ratings 3 and 4
constexpr int kGleichAbgelehnt = 450;  // several types share the top of the ratings 0 and 1

void bezeichnen(RangListe& l) {
    for (int p = 1; p <= 9; ++p)
        for (int t = 1; t <= 9; ++t)
            if (l[p] == vb::Str(t)) l[p] = gTypbezeichnung[t];
}

int16_t rangieren(const typrang::Rangfolge& art, Rang& r) {
    return typrang::rangfolgeBilden(art, r.eins, r.zwei, r.spitze);
}

int anzahl(const RangListe& l) { return typrang::anzahlEintraege(l); }

std::string vereinigt(const RangListe& x, const RangListe& y) { return vb::LTrim(typrang::vereinigt(x, y)); }

Satz text(int label) { return {Satz::Text, label, {}}; }
Satz typen(const std::string& l) { return {Satz::Liste, 0, l}; }
Satz textUndListe(int label, const std::string& l) { return {Satz::TextUndListe, label, l}; }
Satz leer() { return {Satz::Leerzeile, 0, {}}; }

// A designation that alone holds the top of a ranking whose top is not 0: a type that shares the
// top with others leads by nothing on its own, and no sentence names it as the leader.
bool alleinVorn(const std::string& bezeichnung, const Rang& r) {
    return r.spitze != 0 && !bezeichnung.empty() && anzahl(r.eins) == 1 && r.eins[9] == bezeichnung;
}

struct Merkmale {
    bool A, B, C, D, E;
};
// The flags of the leaders by total (t) and by 3 and 4 (s), each naming a sole leader.
Merkmale merkmale(const Befund& b) {
    const std::string& t = b.gesamt.eins[9];
    const std::string& s = b.summe34.eins[9];
    return {s == t, alleinVorn(t, b.summe4), alleinVorn(t, b.summe3), alleinVorn(s, b.summe4), alleinVorn(s, b.summe3)};
}

// The two tops an assignment rests on, the total's and that of the ratings 3 and 4, each held by
// one type.
bool spitzenEinzeln(const Befund& b) { return b.anzahlSpitzeGesamt == 1 && haupttypEindeutig(b); }

enum class Stufe { Keine, Pruefen, Wahrscheinlich, Gesichert };
Stufe stufe(const Befund& b) {
    if (!spitzenEinzeln(b)) return Stufe::Keine;
    const Merkmale m = merkmale(b);
    if (m.A && m.B && m.C) return Stufe::Gesichert;
    if ((m.D && m.E) || (m.A && m.B)) return Stufe::Wahrscheinlich;
    return Stufe::Pruefen;
}

// A rejection said to be settled while statements are missing says it is provisional.
void ablehnungPruefen(Saetze& saetze, const Befund& b) {
    for (Satz& z : saetze)
        if (z.art == Satz::Text && z.label == kAblehnungEindeutig && !b.vollstaendig()) z.label = kAblehnungVorlaeufig;
}

// The same types, in whatever order the lists hold them.
bool gleicheTypen(const RangListe& x, const RangListe& y) {
    std::multiset<std::string> a, c;
    for (int i = 1; i <= 9; ++i) {
        if (!x[i].empty()) a.insert(x[i]);
        if (!y[i].empty()) c.insert(y[i]);
    }
    return a == c;
}

}  // namespace

std::string liste(const RangListe& l) { return vb::LTrim(typrang::verbunden(l)); }

int beantworteteAussagen() {
    if (!gDatenbank) return Befund::kAussagen;
    auto rs = gDatenbank->OpenRecordset("select itemnummer, typrealwert from typwertzuweisung where personid = " +
                                            vb::Str(static_cast<long>(gAktPersonID)),
                                        db::RecordsetType::Snapshot);
    std::set<long> bewertet;
    for (; !rs->Eof(); rs->MoveNext()) {
        const vb::Variant w = rs->Fields("typrealwert").Value();
        const vb::Variant n = rs->Fields("itemnummer").Value();
        if (w.isNull() || w.isEmpty() || n.isNull() || n.isEmpty()) continue;
        bewertet.insert(n.toLong());
    }
    return static_cast<int>(bewertet.size());
}

namespace {

// A figure of a result row; a Null field counts 0.
int16_t zahl(db::Recordset& rs, const char* feld) {
    const vb::Variant v = rs.Fields(feld).Value();
    return v.isNull() || v.isEmpty() ? int16_t(0) : static_cast<int16_t>(v.toInt());
}

// The figures of each type from the person's result rows, as the scoring wrote them there.
void zeilenLesen(Befund& b) {
    if (!gDatenbank) return;
    auto rs = gDatenbank->OpenRecordset(typrang::ergebnisAbfrage(" order by typnummer"), db::RecordsetType::Snapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        const int t = zahl(*rs, "typnummer");
        if (t < 1 || t > 9) continue;
        b.gesamtJeTyp[t] = zahl(*rs, "typgesamtsumme");
        b.summe34JeTyp[t] = zahl(*rs, "typsumme34");
        for (int v = 0; v <= 4; ++v) b.antwortenJeTyp[t][v] = zahl(*rs, ("aw" + std::to_string(v)).c_str());
        b.niedrigJeTyp[t] = typrang::summe16(b.antwortenJeTyp[t][0], b.antwortenJeTyp[t][1]);
    }
}

}  // namespace

Befund befundDerPerson() {
    Befund b;
    rangieren({"TypGesamtSumme", " order by typgesamtsumme desc", false, false}, b.gesamt);
    rangieren({"TypSumme4", " order by typsumme4 desc", false, true}, b.summe4);
    rangieren({"TypSumme3", " order by typsumme3 desc", false, true}, b.summe3);
    rangieren({"TypSumme2", " order by typsumme2 desc", false, false}, b.summe2);
    rangieren({"TypSumme1", " order by typsumme1", true, false}, b.summe1);
    rangieren({"TypSumme0", " order by typsumme0", true, false}, b.summe0);
    rangieren({"TypSumme01", " order by typsumme01", true, false}, b.summe01);
    b.vergleichTyp = rangieren({"TypSumme34", " order by typsumme34 desc", false, true}, b.summe34);
    zeilenLesen(b);

    for (int t = 1; t <= 9; ++t)
        if (b.gesamtJeTyp[t] == b.gesamt.spitze) ++b.anzahlSpitzeGesamt;
    b.anzahlSpitze34 = static_cast<int16_t>(anzahl(b.summe34.eins));

    // The types near the top total, as page 10 lists them; the measure is kept in single
    // precision: 17 of 20 is not above 0.85.
    b.vergleichLauf = 1;
    for (int t = 1; t <= 9; ++t) {
        if (static_cast<float>(typrang::naehe(b.gesamtJeTyp[t], b.gesamt.spitze)) > gSensitivity1)
            b.vergleichTypen[t] = gTypbezeichnung[t];
        else ++b.vergleichLauf;
    }

    // The two top groups agree element by element, and no type close behind by the ratings 3 and
    // 4 lies near the top total without standing at that place of the total's top group.
    b.rang1Gleich = true;
    for (int z = 1; z <= 9; ++z) {
        bool abweichend = b.gesamt.eins[z] != b.summe34.eins[z];
        const std::string& nah = b.summe34.zwei[z];
        if (!nah.empty() && b.gesamt.eins[z] != nah && b.summe34.eins[z] != nah) {
            const int typ = static_cast<int>(vb::Val(nah));
            abweichend = abweichend || (typ >= 1 && typ <= 9 && !b.vergleichTypen[typ].empty());
        }
        if (abweichend) b.rang1Gleich = false;
    }

    for (Rang* r : {&b.gesamt, &b.summe4, &b.summe3, &b.summe34, &b.summe2, &b.summe1, &b.summe0, &b.summe01}) {
        bezeichnen(r->eins);
        bezeichnen(r->zwei);
    }
    b.beantwortet = beantworteteAussagen();
    return b;
}

const Rang& rang(const Befund& b, Wertung w) {
    switch (w) {
    case Wertung::Gesamt: return b.gesamt;
    case Wertung::Summe4: return b.summe4;
    case Wertung::Summe3: return b.summe3;
    case Wertung::Summe34: return b.summe34;
    case Wertung::Summe2: return b.summe2;
    case Wertung::Summe1: return b.summe1;
    case Wertung::Summe0: return b.summe0;
    case Wertung::Summe01: return b.summe01;
    }
    return b.gesamt;
}

bool keinerMitWert(const Befund& b, Wertung w) { return keinerMitWert(w, rang(b, w).spitze); }

bool keinerMitWert(Wertung w, int spitze) { return w != Wertung::Gesamt && spitze == 0; }

bool nurEinerVorn(const Befund& b) { return b.vergleichLauf == 9; }

int zuordnung(const Befund& b, bool kraeftig) {
    switch (stufe(b)) {
    case Stufe::Keine: return 0;
    case Stufe::Pruefen: return kPruefen;
    case Stufe::Wahrscheinlich: return kraeftig ? kGutGestuetzt : kWahrscheinlich;
    case Stufe::Gesichert:
        if (!b.vollstaendig()) return kNichtGesichert;
        if (!nurEinerVorn(b)) return kGleichauf;
        return kraeftig ? kEindeutig : kGesichert;
    }
    return 0;
}

std::string unvollstaendigText(int beantwortet) {
    return LabelTxt(kBewertetErst) + " " + std::to_string(beantwortet) + " " + LabelTxt(kVonAussagen);
}

Saetze unvollstaendig(const Befund& b) {
    if (b.vollstaendig()) return {};
    return {{Satz::Wortlaut, 0, unvollstaendigText(b.beantwortet)}};
}

Saetze schlussSumme34(const Befund& b) {
    const Merkmale m = merkmale(b);
    const std::string rang34 = liste(b.summe34.eins);
    const bool einer = b.anzahlSpitzeGesamt == 1;
    const int stuetze = zuordnung(b);
    if (b.summe34.spitze == 0) {
        // Nobody rated 3 or 4: every type ties at 0, and none leads by these ratings.
        return {text(334), text(335), text(336)};
    }
    if (!einer) return {text(392), text(393), typen(rang34), text(394), text(395)};
    // Several types share the top of 3 and 4: they are named together, none of them as the leader.
    if (b.anzahlSpitze34 != 1) return {text(kSpitze34Geteilt), typen(rang34), text(394), text(395)};
    Saetze z;
    if (m.A && m.B && m.C) {
        z = {text(407), textUndListe(408, rang34), text(stuetze)};
    } else if (m.D && m.E) {
        z = {text(410), textUndListe(408, rang34), text(stuetze), text(412), typen(liste(b.gesamt.eins))};
        z[1].einzug = true;
    } else if (m.A && m.B && !m.C) {
        z = {text(413), textUndListe(414, rang34), text(stuetze), text(415), typen(liste(b.summe3.eins))};
    } else if (m.D && !m.E) {
        z = {text(416), textUndListe(408, rang34), text(stuetze), text(418),
             typen(vereinigt(b.gesamt.eins, b.summe3.eins))};
    } else if (m.A && !m.B && m.C) {
        z = {text(419), textUndListe(408, rang34), text(stuetze), text(420), typen(liste(b.summe4.eins))};
    } else if (m.A && !m.B && !m.C) {
        z = {text(421),
             textUndListe(408, rang34),
             text(stuetze),
             text(422),
             textUndListe(452, vereinigt(b.summe3.eins, b.summe4.eins)),
             leer()};
    } else if (!m.A && m.B && !m.C) {
        z = {text(423), text(424), text(stuetze), text(425), textUndListe(452, vereinigt(b.summe3.eins, b.summe34.eins))};
    } else {
        z = {text(396), text(397), text(398), text(399), leer()};
    }
    return z;
}

Saetze schlussSumme01(const Befund& b) {
    const std::string& fuehrend = b.summe01.eins[9];
    // A value nobody gave rejects no type: its ranking ties all nine at 0.
    const bool keineNull = b.summe0.spitze == 0, keineEins = b.summe1.spitze == 0;
    // Only a type that alone holds a top is said to be rejected most by it.
    const bool f0 = alleinVorn(fuehrend, b.summe0);
    const bool f1 = alleinVorn(fuehrend, b.summe1);
    const bool mehrere = anzahl(b.summe01.eins) > 1;
    Saetze z;
    if (b.summe01.spitze == 0) {
        // Nothing rated 0 or 1: the nine types tie at 0 and none is rejected.
        z = {text(426), text(327)};
    } else if (keineNull || keineEins) {
        // One of the two values was not given: the rejection rests on the other alone.
        z = {text(426),
             text(keineEins ? 430 : 434),
             typen(liste(b.summe01.eins)),
             text(428),
             text(keineEins ? kKeineEins : kKeineNull),
             text(mehrere ? 379 : kAblehnungEindeutig)};
    } else if (mehrere) {
        // Several types share the top of 0 and 1: all of them are named, none as the one rejected
        // most; that they tie by 0 and by 1 alone too is said only where they do.
        const bool einzeln = gleicheTypen(b.summe01.eins, b.summe0.eins) && gleicheTypen(b.summe01.eins, b.summe1.eins);
        z = {text(426), text(einzeln ? 328 : kGleichAbgelehnt), typen(liste(b.summe01.eins)), text(428), text(379)};
    } else if (f0 && f1) {
        z = {text(426), text(427), typen(liste(b.summe01.eins)), text(428), text(kAblehnungEindeutig)};
    } else if (f0) {
        z = {text(426),
             text(430),
             typen(vereinigt(b.summe01.eins, b.summe0.eins)),
             text(428),
             text(431),
             text(432),
             typen(liste(b.summe1.eins)),
             text(433)};
    } else if (f1) {
        z = {text(426),
             text(434),
             typen(vereinigt(b.summe01.eins, b.summe1.eins)),
             text(428),
             text(435),
             text(436),
             typen(liste(b.summe0.eins)),
             text(433)};
    } else {
        z = {text(290), text(291)};
    }
    ablehnungPruefen(z, b);
    return z;
}

namespace {

// A row of the comparison's decision table.
struct Regel {
    bool wenige;           // fewer than 5 ratings of 0 and 1 for the leader by 3 and 4
    int A, B, C, D, E, G;  // 1 required, 0 required false, -1 not tested
    bool nenntS;           // names the leader by 3 and 4, else the leader by total
    int text;
    std::initializer_list<int> weitere;
    bool nurBericht;
};

const Regel kRegeln[] = {
    {true, 1, 1, 1, -1, -1, -1, false, 439, {440, 441, 442}, false},
    {true, -1, -1, -1, 1, 1, -1, true, 443, {440, 441, 444}, false},
    {true, 1, 1, 0, -1, -1, -1, false, 445, {440, 441, 409}, false},
    {true, -1, -1, -1, 1, 0, 1, true, 446, {440, 441, 409}, true},
    {true, 1, 0, 1, -1, -1, -1, false, 447, {440, 441, 411}, false},
    {true, 1, 0, 0, -1, -1, -1, false, 448, {440, 441, 411}, false},
    {true, 0, 1, 0, -1, -1, -1, false, 449, {440, 441, 411}, false},
    {false, 1, 1, 1, -1, -1, -1, false, 439, {440, 409}, false},
    {false, -1, -1, -1, 1, 1, -1, true, 443, {440, 411}, false},
    {false, 1, 1, 0, -1, -1, -1, false, 439, {440, 411}, false},
    {false, -1, -1, -1, 1, 0, -1, true, 446, {440, 411}, false},
    {false, 1, 0, 1, -1, -1, -1, false, 447, {440, 417}, false},
    {false, 1, 0, 0, -1, -1, -1, false, 448, {440, 417}, false},
    {false, 0, 1, 0, -1, -1, -1, false, 449, {440, 417}, false},
};

bool passt(int gefordert, bool wert) { return gefordert < 0 || (gefordert == 1) == wert; }

const Regel* vergleichsRegel(const Befund& b, Tafel tafel) {
    // Without a rating of 3 or 4 every type ties at 0 there: no type leads by them. A shared top
    // names no leader either.
    if (!spitzenEinzeln(b)) return nullptr;
    const Merkmale m = merkmale(b);
    const int v = b.vergleichTyp >= 1 && b.vergleichTyp <= 9 ? b.vergleichTyp : 0;
    const bool wenige = b.niedrigJeTyp[v] < 5;
    for (const Regel& r : kRegeln) {
        if (r.nurBericht && tafel != Tafel::Bericht) continue;
        if (r.wenige == wenige && passt(r.A, m.A) && passt(r.B, m.B) && passt(r.C, m.C) && passt(r.D, m.D) &&
            passt(r.E, m.E) && passt(r.G, b.rang1Gleich))
            return &r;
    }
    return nullptr;
}

}  // namespace

Vergleich vergleich(const Befund& b, Tafel tafel) {
    Vergleich v;
    if (const Regel* r = vergleichsRegel(b, tafel)) {
        v.fall = Vergleich::Regel;
        v.genannt = r->nenntS ? b.summe34.eins[9] : b.gesamt.eins[9];
        v.text = r->text;
        v.weitere = r->weitere;
        v.regel12 = tafel == Tafel::Fenster && !r->wenige && r->text == 448;
        // The row's last text says how well the assignment is supported: the one verdict of all
        // pages, in the stronger wording for a leader with few ratings 0 and 1.
        v.weitere.back() = zuordnung(b, r->wenige);
    } else if (b.summe34.spitze != 0) {
        v.fall = Vergleich::KeineRegel;
    }
    return v;
}

std::vector<int> haupttypen(const Befund& b) {
    const std::string& e = b.summe34.eins[9];
    std::vector<int> treffer;
    if (e == gTypbezeichnung[1]) return {1};
    if (e == gTypbezeichnung[9]) return {9};
    for (int k = 2; k <= 8; ++k)
        if (vb::Trim(e) == gTypbezeichnung[k]) treffer.push_back(k);
    if (!treffer.empty()) return treffer;
    for (int k = 1; k <= 9 && !e.empty(); ++k)
        if (e == vb::Str(k)) return {k};
    // Designations that do not tell the types apart: the type that holds the top score alone.
    int spitze = 0, typ = 0, n = 0;
    for (int t = 1; t <= 9; ++t) {
        if (b.summe34JeTyp[t] > spitze) {
            spitze = b.summe34JeTyp[t];
            typ = t;
            n = 1;
        } else if (b.summe34JeTyp[t] == spitze) {
            ++n;
        }
    }
    if (spitze > 0 && n == 1) treffer.push_back(typ);
    return treffer;
}

bool haupttypEindeutig(const Befund& b) { return b.summe34.spitze != 0 && b.anzahlSpitze34 == 1; }

int haupttyp(const Befund& b) {
    if (!haupttypEindeutig(b)) return 0;
    const std::vector<int> typen = haupttypen(b);
    return typen.empty() ? 0 : typen.back();
}

int seitenanzahl(const Befund& b) { return haupttyp(b) ? 12 : 10; }

namespace {

int gesamtVon(const Befund& b, int typ) {
    if (typ < 1 || typ > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return b.gesamtJeTyp[typ];
}

int abstand(const Befund& b, int haupt, int anderer) {
    return typrang::abstandUrteil(gesamtVon(b, haupt), gesamtVon(b, anderer));
}

void niedrigNennen(std::vector<int>& hinweis, int anzahl) {
    const typrang::Hinweis h = typrang::niedrigHinweis(anzahl);
    if (h.erste) hinweis.insert(hinweis.end(), {h.erste, h.zweite});
}

}  // namespace

Fluegel fluegel(const Befund& b, int haupt) {
    Fluegel f;
    f.unten = typrang::untererNachbar(haupt);
    f.oben = typrang::obererNachbar(haupt);
    f.abstandUnten = abstand(b, haupt, f.unten);
    f.abstandOben = abstand(b, haupt, f.oben);
    // The ratio takes totals of 0 and of either sign, so the two wings are compared whatever
    // they hold: mirrored totals name the mirrored wing.
    f.staerker = typrang::staerkererFluegel(typrang::verhaeltnis(gesamtVon(b, f.unten), gesamtVon(b, f.oben)), f.unten,
                                            f.oben);
    return f;
}

std::array<Verbindungstyp, 2> verbindungstypen(const Befund& b, int haupt) {
    const typrang::Verbindung v = typrang::verbindungstypen(haupt);
    std::array<Verbindungstyp, 2> c;
    c[0].typ = v.erster;
    c[1].typ = v.zweiter;
    for (Verbindungstyp& t : c) t.abstand = abstand(b, haupt, t.typ);
    niedrigNennen(c[0].hinweis, b.niedrigJeTyp[c[0].typ]);
    const int staerke = typrang::zweiterVerbindungstypUrteil(
        typrang::verhaeltnis(gesamtVon(b, haupt), gesamtVon(b, c[1].typ)));
    if (staerke) c[1].hinweis.push_back(staerke);
    niedrigNennen(c[1].hinweis, b.niedrigJeTyp[c[1].typ]);
    // A heading with nothing under it would read as a note lost.
    for (Verbindungstyp& t : c)
        if (t.hinweis.empty()) t.hinweis.push_back(typrang::kKeinHinweis);
    return c;
}

Abweichung abweichung(const Befund& b) {
    Abweichung a;
    a.mittel = typrang::typsummenMittel(b.gesamtJeTyp);
    a.jeAussage = a.mittel / 14.0f;
    a.niveau = typrang::niveauUrteil(a.jeAussage);
    for (int t = 1; t <= 9; ++t) a.klasse[t] = typrang::abweichungsKlasse(b.gesamtJeTyp[t], a.mittel);
    a.verhaeltnisWahr = a.mittel > 0.0f;
    return a;
}

Grundlage grundlage(const Befund& b, Tafel tafel) {
    const Vergleich v = vergleich(b, tafel);
    if (v.fall == Vergleich::Regel && v.genannt == b.summe34.eins[9]) return {};
    if (v.fall != Vergleich::Regel || v.genannt.empty()) return {Grundlage::KeinHaupttyp, {}};
    return {Grundlage::AndererTyp, vb::Trim(v.genannt)};
}

}  // namespace urteil
