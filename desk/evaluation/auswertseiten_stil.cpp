#include "desk/evaluation/auswertseiten_stil.h"

#include <cstdlib>
#include <memory>

#include "desk/common/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/db/recordset.h"
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

std::string verbunden(const RangListe& liste) {
    std::string text;
    for (int i = 1; i <= 9; ++i)
        if (!liste[i].empty()) text += " " + liste[i];
    return text;
}

std::string alleNeun(const RangListe& liste, bool rechtsKuerzen) {
    std::string text;
    for (int i = 1; i <= 9; ++i) {
        if (i > 1) text += " ";
        text += rechtsKuerzen ? vb::RTrim(liste[i]) : liste[i];
    }
    return text;
}

std::string vereinigt(const RangListe& x, const RangListe& y) {
    std::string text = verbunden(x);
    std::vector<std::string> genannt;
    for (int i = 1; i <= 9; ++i)
        if (!x[i].empty()) genannt.push_back(x[i]);
    for (int i = 1; i <= 9; ++i) {
        if (y[i].empty()) continue;
        bool schon = false;
        for (const std::string& g : genannt) schon = schon || g == y[i];
        if (schon) continue;
        genannt.push_back(y[i]);
        text += " " + y[i];
    }
    return text;
}

bool inGruppe1(const std::string& bezeichnung, const RangListe& liste) {
    if (bezeichnung.empty()) return false;
    for (int i = 1; i <= 9; ++i)
        if (liste[i] == bezeichnung) return true;
    return false;
}

bool alleLeer(const RangListe& liste) {
    for (int i = 1; i <= 9; ++i)
        if (!liste[i].empty()) return false;
    return true;
}

std::string ergebnisAbfrage(const char* ordnung) {
    return "select * from ergebnis  where personid = " + vb::Str(static_cast<long>(gAktPersonID)) + ordnung;
}

int16_t rangfolgeBilden(const Rangfolge& art, RangListe& rang1, RangListe& rang2, int16_t& spitzenwert) {
    db::DataControl& data2 = HauptDaten(2);
    data2.setDatabaseName(gDatenbankName);
    data2.setRecordSource(ergebnisAbfrage(art.ordnung));
    data2.Refresh();
    db::Recordset& rs = DatenSatz(data2);
    rs.MoveFirst();
    spitzenwert = rs.Fields(art.feld).Value().toInt();
    const int16_t ersterTyp = rs.Fields("TypNummer").Value().toInt();
    const double schwelle = gSensitivity1;  // single precision, widened: 0.85 acts as 0.8500000238
    const int spitze = art.betrag ? std::abs(spitzenwert) : spitzenwert;
    // One row per type: the lists hold positions 1 to 9, so a tenth row would have no place.
    for (gZaehler = 1; !rs.Eof() && gZaehler <= 9; ++gZaehler) {
        const int16_t roh = rs.Fields(art.feld).Value().toInt();
        const int wert = art.betrag ? std::abs(roh) : roh;
        const std::string typ = vb::Str(static_cast<int>(rs.Fields("TypNummer").Value().toInt()));
        if (wert == spitze) {
            rang1[10 - gZaehler] = typ;
        } else {
            // A top score of 0 has no quotient; a row that differs from it is not close behind.
            if (spitze == 0) break;
            const double q = static_cast<double>(wert) / spitze;
            const bool passt = art.gleichZaehlt ? q >= schwelle : q > schwelle;
            if (!passt || (art.quotientNichtEins && q == 1.0)) break;
            rang2[10 - gZaehler] = typ;
        }
        rs.MoveNext();
    }
    return ersterTyp;
}

Merkmale merkmaleSumme34() {
    Merkmale m{};
    const std::string& t = gRang1Typgesamtsumme[9];
    const std::string& s = gRang1Typsumme34[9];
    m.A = s == t;
    m.B = inGruppe1(t, gRang1Typsumme4);
    m.C = inGruppe1(t, gRang1Typsumme3);
    m.D = inGruppe1(s, gRang1Typsumme4);
    m.E = inGruppe1(s, gRang1Typsumme3);
    return m;
}

int16_t summe16(int a, int b) {
    const int s = a + b;
    if (s < -32768 || s > 32767) throw vb::Error(vb::err::Overflow);
    return static_cast<int16_t>(s);
}

}  // namespace auswertseiten
