// Report pages 19 to 24: how the person distributed the answer values 0 to 4 over the nine types,
// as counts, shares and percentages, and per type the most frequent value, the middle value and
// the information measure. Shares are taken of the 14 statements of a type and of the 126
// statement-type pairs of the whole test.

#include "desk/common/main_window_port.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckseiten_text.h"
#include "desk/testing/antwortstatistik.h"
#include "desk/testing/rangfolge.h"
#include "platform/db/data_control.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"

using druckseiten::blanks;
using druckseiten::format;
using druckseiten::links;
using druckseiten::rechts;
using druckseiten::Seite;

namespace {

// The cells of one of the three tables: a type's count of one value, the count over all types,
// a type's number of answers and the number over all types.
struct Zellen {
    int16_t seite;
    int titel;
    std::string (*typ)(const vb::Variant& anzahl);
    std::string (*gesamt)(int anzahl);
    std::string summenAnfang;
    std::string (*typSumme)(int anzahl);
    std::string (*alleSumme)(int anzahl);
};

double anteil(const vb::Variant& anzahl, double basis) { return vb::CDbl(anzahl) / basis; }

void verteilung(const Zellen& z) {
    db::Recordset& rs = DatenBinden(HauptDaten(2), gDatenbankName, typrang::ergebnisAbfrage(" order by typnummer"));

    const Seite s(z.seite);
    s.label(1, z.titel, kFormatUeberschrift);
    s.leer(2, kFormatTabelle);
    std::string kopf = "Typ" + blanks(3);
    static const char* const kKoepfe[] = {"EINS", "ZWEI", "DREI", "VIER", "FÜNF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
    for (int t = 0; t < 9; ++t) kopf += (t ? " " : "") + rechts(kKoepfe[t], 12);
    s.zeile(3, kopf + blanks(7) + LabelTxt(252), kFormatTabelle);
    s.trennlinie(4);
    s.label(5, 365, kFormatTabelle);
    s.label(6, 366, kFormatTabelle);

    std::string zeile[5];
    for (int k = 0; k <= 4; ++k) zeile[k] = std::to_string(k) + vb::vbTab;
    rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext())
        for (int k = 0; k <= 4; ++k) zeile[k] += z.typ(rs.Fields("AW" + std::to_string(k)).Value());
    for (int k = 0; k <= 4; ++k) {
        zeile[k] += z.gesamt(gAntwortAnzahlGesamt[k + 1]);
        s.zeile(7 + k, zeile[k], kFormatTabelle2);
    }
    s.leer(12, kFormatTabelle);
    s.trennlinie(13);
    s.leer(14, kFormatTabelle);
    std::string summe = z.summenAnfang;
    for (int t = 1; t <= 9; ++t) summe += z.typSumme(gAWGesamtJeTyp[t]);
    s.zeile(15, summe + z.alleSumme(gAWGesamtJeTyp[10]), kFormatTabelle2);
}

}  // namespace

void DruckSeiteTabelle() {
    verteilung({19, 263, [](const vb::Variant& n) { return blanks(13) + format(n, "00"); },
                [](int n) { return blanks(10) + format(vb::Variant(n), "00"); }, LabelTxt(367) + " ",
                [](int n) { return blanks(13) + format(vb::Variant(n), "00"); },
                [](int n) { return blanks(10) + format(vb::Variant(n), "000"); }});
}

void DruckSeiteAntwortwerteAnzahl() {
    verteilung({20, 264, [](const vb::Variant& n) { return blanks(7) + format(vb::Variant(anteil(n, 14)), " 0.000"); },
                [](int n) { return blanks(6) + format(vb::Variant(n / 126.0), " 0.000"); }, LabelTxt(367) + " ",
                [](int n) { return blanks(7) + format(vb::Variant(n / 14.0), " 0.000"); },
                [](int n) { return blanks(6) + format(vb::Variant(n / 126.0), " 0.000"); }});
}

void DruckSeiteAntwortwerteProzent() {
    verteilung({21, 265,
                [](const vb::Variant& n) { return blanks(5) + format(vb::Variant(anteil(n, 14) * 100), "00.00") + "%"; },
                [](int n) { return blanks(5) + format(vb::Variant(n / 126.0 * 100), "00.00") + "%"; }, LabelTxt(367),
                [](int n) { return blanks(5) + format(vb::Variant(n / 14.0 * 100), "000.0") + "%"; },
                [](int n) { return blanks(4) + format(vb::Variant(n / 126.0 * 100), "000.0") + "%"; }});
}

namespace {

// The frame of pages 22 to 24 in fixed pitch: the title, the column heads, and between two rules
// a line per type (lines 6 to 14) and one for all types (line 17), each beginning with the
// designation.
void typenSeite(const Seite& s, int titel, const std::string& koepfe, const std::string (&jeTyp)[10],
                const std::string& alle) {
    s.label(1, titel, kFormatUeberschrift);
    s.leer(2);
    s.zeile(3, koepfe, kFormatFest);
    s.leer(4);
    s.trennlinie(5);
    for (int t = 1; t <= 9; ++t) s.zeile(t + 5, jeTyp[t], kFormatFest);
    s.leer(16);
    s.zeile(17, alle, kFormatFest);
    s.leer(19);
    s.trennlinie(20);
}

// Pages 22 and 23: each line a designation in 35 characters and the value text after label text
// 157. The value column is headed by the heading of its explanation on page 3: the most frequent
// value (266), the middle value (267).
void werteSeite(int16_t seite, int titel, int spalte, const std::string (&werte)[10], const std::string& alle) {
    std::string zeilen[10];
    for (int t = 1; t <= 9; ++t) zeilen[t] = links(gTypbezeichnung[t], 35) + links(LabelTxt(157) + " " + werte[t], 30);
    typenSeite(Seite(seite), titel, LabelTxt(369) + blanks(32) + LabelTxt(spalte), zeilen,
               links(LabelTxt(252), 35) + links(LabelTxt(157) + " " + alle, 20));
}

// The values with the largest count, each followed by three blanks; gMaxWert holds the count.
std::string haeufigste(const antwortstatistik::Anzahlen& n) {
    gMaxWert = antwortstatistik::hoechsteAnzahl(n);
    std::string text;
    for (int v : antwortstatistik::haeufigsteWerte(n, gMaxWert)) text += std::to_string(v) + blanks(3);
    return text;
}

}  // namespace

void DruckSeiteHaeufigsteAntwortwerte() {
    std::string jeTyp[10];
    for (int t = 1; t <= 9; ++t) {
        jeTyp[t] = haeufigste(antwortstatistik::jeTyp(t));
        gMaxWert = 0;
    }
    werteSeite(22, 368, 266, jeTyp, haeufigste(antwortstatistik::gesamt()));
}

void DruckSeiteMittlereAntwortwerte() {
    std::string jeTyp[10];
    for (int t = 1; t <= 9; ++t) {
        const antwortstatistik::Mitte m = antwortstatistik::mittlererWert(antwortstatistik::jeTyp(t));
        jeTyp[t] = m.zwischen ? vb::Str(m.wert - 1) + " " + LabelTxt(371) + " " + vb::Str(m.wert) : vb::Str(m.wert);
    }
    werteSeite(23, 370, 267, jeTyp, vb::Str(antwortstatistik::mittlererWertGesamt(antwortstatistik::gesamt())));
}

void DruckSeiteInformationsmass() {
    const auto zeile = [](const std::string& name, double x) {
        return links(name, 35) + format(vb::Variant(x), "0.0000") + blanks(10) +
               LabelTxt(antwortstatistik::informationsKlasse(x));
    };

    std::string zeilen[10];
    for (int t = 1; t <= 9; ++t)
        zeilen[t] = zeile(gTypbezeichnung[t], antwortstatistik::informationsmass(antwortstatistik::jeTyp(t)));
    const Seite s(24);
    // The measure's head stands at the column of the measures, after the designations' 35 characters.
    typenSeite(s, 268, links(LabelTxt(369), 35) + LabelTxt(372), zeilen,
               zeile(LabelTxt(252), antwortstatistik::informationsmassGesamt(antwortstatistik::gesamt())));
    s.leer(21);
    s.zeile(22, LabelTxt(376) + blanks(10) + LabelTxt(377), kFormatText);
    s.zeile(23, blanks(72) + LabelTxt(378), kFormatText);
}
