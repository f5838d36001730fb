#include "desk/testing/urteile.h"

#include <set>

#include "desk/common/main_window_port.h"
#include "desk/testing/rangfolge.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
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
constexpr int kGleichauf = 391;            // an assignment whose list holds a tie

// The sentences that call an assignment or a rejection settled.
constexpr int kGesichert = 409, kEindeutig = 442, kAblehnungEindeutig = 429;

void bezeichnen(RangListe& l) {
    for (int p = 1; p <= 9; ++p)
        for (int t = 1; t <= 9; ++t)
            if (l[p] == vb::Str(t)) l[p] = gTypbezeichnung[t];
}

int16_t rangieren(const typrang::Rangfolge& art, Rang& r) {
    return typrang::rangfolgeBilden(art, r.eins, r.zwei, r.spitze);
}

int anzahl(const RangListe& l) { return typrang::anzahlEintraege(l); }

// A designation in group 1 of a ranking; a ranking whose top is 0 ranks nothing first.
bool vorn(const std::string& bezeichnung, const Rang& r) {
    return r.spitze != 0 && typrang::inGruppe1(bezeichnung, r.eins);
}

std::string vereinigt(const RangListe& x, const RangListe& y) { return vb::LTrim(typrang::vereinigt(x, y)); }

Satz text(int label) { return {Satz::Text, label, {}}; }
Satz typen(const std::string& l) { return {Satz::Liste, 0, l}; }
Satz textUndListe(int label, const std::string& l) { return {Satz::TextUndListe, label, l}; }
Satz leer() { return {Satz::Leerzeile, 0, {}}; }

struct Merkmale {
    bool A, B, C, D, E;
};
Merkmale merkmale(const Befund& b) {
    const std::string& t = b.gesamt.eins[9];
    const std::string& s = b.summe34.eins[9];
    return {s == t, typrang::inGruppe1(t, b.summe4.eins), typrang::inGruppe1(t, b.summe3.eins),
            typrang::inGruppe1(s, b.summe4.eins), typrang::inGruppe1(s, b.summe3.eins)};
}

// A settled assignment says so only where the lists it rests on name one type each and every
// statement is rated; otherwise the sentence says why it is not settled.
void zuordnungPruefen(Saetze& saetze, const Befund& b, bool gleichauf) {
    for (Satz& z : saetze) {
        if (z.art != Satz::Text) continue;
        if (z.label == kGesichert || z.label == kEindeutig) {
            if (gleichauf) z.label = kGleichauf;
            else if (!b.vollstaendig()) z.label = kNichtGesichert;
        } else if (z.label == kAblehnungEindeutig && !b.vollstaendig()) {
            z.label = kAblehnungVorlaeufig;
        }
    }
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

Befund befundDerPerson() {
    Befund b;
    rangieren({"TypGesamtSumme", " order by typgesamtsumme desc", false, false}, b.gesamt);
    rangieren({"TypSumme4", " order by typsumme4 desc", false, true}, b.summe4);
    rangieren({"TypSumme3", " order by typsumme3 desc", false, true}, b.summe3);
    rangieren({"TypSumme1", " order by typsumme1", true, false}, b.summe1);
    rangieren({"TypSumme0", " order by typsumme0", true, false}, b.summe0);
    rangieren({"TypSumme01", " order by typsumme01", true, false}, b.summe01);
    b.vergleichTyp = rangieren({"TypSumme34", " order by typsumme34 desc", false, true}, b.summe34);

    for (int t = 1; t <= 9; ++t) {
        b.gesamtJeTyp[t] = gTypgesamtsummeJeTyp[t];
        b.summe34JeTyp[t] = gTypsumme34JeTyp[t];
        b.niedrigJeTyp[t] = typrang::niedrigeAntworten(t);
        if (b.gesamtJeTyp[t] == b.gesamt.spitze) ++b.anzahlSpitzeGesamt;
    }
    b.anzahlSpitze34 = static_cast<int16_t>(anzahl(b.summe34.eins));

    // The types near the top total, as page 10 lists them; the quotient is kept in single
    // precision: 17 of 20 is not above 0.85.
    b.vergleichLauf = 1;
    for (int t = 1; t <= 9; ++t) {
        bool nahe = b.gesamt.spitze == 0;
        if (!nahe) nahe = static_cast<float>(static_cast<double>(b.gesamtJeTyp[t]) / b.gesamt.spitze) > gSensitivity1;
        if (nahe) b.vergleichTypen[t] = gTypbezeichnung[t];
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

    for (Rang* r : {&b.gesamt, &b.summe4, &b.summe3, &b.summe34, &b.summe1, &b.summe0, &b.summe01}) {
        bezeichnen(r->eins);
        bezeichnen(r->zwei);
    }
    b.beantwortet = beantworteteAussagen();
    return b;
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
    Saetze z;
    if (b.summe34.spitze == 0) {
        // Nobody rated 3 or 4: every type ties at 0, and none leads by these ratings.
        z = {text(334), text(335), text(336)};
    } else if (m.A && m.B && m.C && einer) {
        z = {text(407), textUndListe(408, rang34), text(409)};
    } else if (m.D && m.E && einer) {
        z = {text(410), textUndListe(408, rang34), text(411), text(412), typen(liste(b.gesamt.eins))};
        z[1].einzug = true;
    } else if (m.A && m.B && !m.C && einer) {
        z = {text(413), textUndListe(414, rang34), text(411), text(415), typen(liste(b.summe3.eins))};
    } else if (m.D && !m.E && einer) {
        z = {text(416), textUndListe(408, rang34), text(417), text(418), typen(vereinigt(b.gesamt.eins, b.summe3.eins))};
    } else if (m.A && !m.B && m.C && einer) {
        z = {text(419), textUndListe(408, rang34), text(417), text(420), typen(liste(b.summe4.eins))};
    } else if (m.A && !m.B && !m.C && einer) {
        z = {text(421),
             textUndListe(408, rang34),
             text(417),
             text(422),
             textUndListe(452, vereinigt(b.summe3.eins, b.summe4.eins)),
             leer()};
    } else if (!m.A && m.B && !m.C && einer) {
        z = {text(423), text(424), text(417), text(425), textUndListe(452, vereinigt(b.summe3.eins, b.summe34.eins))};
    } else if (b.anzahlSpitzeGesamt <= 1) {
        z = {text(396), text(397), text(398), text(399), leer()};
    } else {
        z = {text(392), text(393), typen(rang34), text(394), text(395)};
    }
    zuordnungPruefen(z, b, b.anzahlSpitze34 != 1);
    return z;
}

Saetze schlussSumme01(const Befund& b) {
    const std::string& fuehrend = b.summe01.eins[9];
    // A value nobody gave rejects no type: its ranking ties all nine at 0.
    const bool keineNull = b.summe0.spitze == 0, keineEins = b.summe1.spitze == 0;
    const bool f0 = vorn(fuehrend, b.summe0);
    const bool f1 = vorn(fuehrend, b.summe1);
    const bool f2 = vorn(b.summe1.eins[9], b.summe0) || vorn(b.summe0.eins[9], b.summe1);
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
    } else if (f0 && f1 && f2) {
        // Several types tied at the top are rejected alike, which is no clear rejection.
        z = {text(426), text(mehrere ? 328 : 427), typen(liste(b.summe01.eins)), text(428),
             text(mehrere ? 379 : kAblehnungEindeutig)};
    } else if (f0 && !f1) {
        z = {text(426),
             text(430),
             typen(vereinigt(b.summe01.eins, b.summe0.eins)),
             text(428),
             text(431),
             text(432),
             typen(liste(b.summe1.eins)),
             text(433)};
    } else if (!f0 && f1) {
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
    zuordnungPruefen(z, b, false);
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
    // Without a rating of 3 or 4 every type ties at 0 there: no type leads by them.
    if (b.anzahlSpitzeGesamt != 1 || b.summe34.spitze == 0) return nullptr;
    const Merkmale m = merkmale(b);
    const bool wenige = typrang::niedrigeAntworten(b.vergleichTyp) < 5;
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
        // Settled only where one type alone is near the top total and alone leads by 3 and 4.
        Saetze z;
        for (int t : v.weitere) z.push_back(text(t));
        zuordnungPruefen(z, b, b.vergleichLauf != 9 || b.anzahlSpitze34 != 1);
        v.weitere.clear();
        for (const Satz& s : z) v.weitere.push_back(s.label);
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

Grundlage grundlage(const Befund& b, Tafel tafel) {
    const Vergleich v = vergleich(b, tafel);
    if (v.fall == Vergleich::Regel && v.genannt == b.summe34.eins[9]) return {};
    if (v.fall != Vergleich::Regel || v.genannt.empty()) return {Grundlage::KeinHaupttyp, {}};
    return {Grundlage::AndererTyp, vb::Trim(v.genannt)};
}

}  // namespace urteil
