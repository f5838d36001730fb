#include "desk/testing/auswertung.h"

#include "desk/common/main_window_port.h"

#include "platform/db/data_control.h"
#include "platform/db/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

#include <string>
#include <utility>
#include <vector>

namespace zuvtest {

namespace {

// A missing type number counts for no type.
int typVon(const vb::Variant& v) { return (v.isNull() || v.isEmpty()) ? 0 : v.toInt(); }

void eintragen(RangListe& liste, int n, int typ) {
    if (n < 1 || n > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    liste[10 - n] = vb::Str(typ);
}

}  // namespace

int16_t ersteUnbeantworteteAussage(db::Recordset& rs) {
    rs.MoveFirst();
    rs.FindFirst("typrealwert is Null");
    if (rs.NoMatch()) return 0;
    return rs.Fields("itemnummer").Value().toInt();
}

int16_t auswertCursorBinden(const AuswertCursor& c, const std::string& datei, int32_t personId) {
    const std::string id = vb::Str(static_cast<long>(personId));
    db::Recordset& zeilen = DatenBinden(c.itemTyp, datei, "select * from typwertzuweisung where personid = " + id);
    DatenBinden(c.ergebnis, datei, "select * from ergebnis where personid = " + id);
    DatenBinden(c.person, datei, "select * from persdat where personid = " + id);
    return ersteUnbeantworteteAussage(zeilen);
}

Auswertung punkteBerechnen(const AuswertCursor& c) {
    Auswertung a;
    Punkte& p = a.punkte;
    auto& zeilen = DatenSatz(c.itemTyp);
    auto& ergebnis = DatenSatz(c.ergebnis);
    auto& person = DatenSatz(c.person);
    zeilen.MoveFirst();
    ergebnis.MoveFirst();
    person.MoveFirst();

    a.vorname = vb::textOrEmpty(person.Fields("vorname").Value());
    a.nachname = vb::textOrEmpty(person.Fields("nachname").Value());
    a.testdatum = vb::textOrEmpty(person.Fields("testdatum").Value());

    for (; !zeilen.Eof(); zeilen.MoveNext()) {
        const int t = typVon(zeilen.Fields("typnummer").Value());
        if (t < 1 || t > 9) continue;
        const vb::Variant w = zeilen.Fields("typrealwert").Value();
        if (w.isNull() || w.isEmpty()) continue;
        const double v = w.toDouble();
        if (v == 0) {
            p.summe01[t] -= 2;
            p.summe0[t] -= 2;
            p.antwortAnzahl[t + 10 * 1]++;
        } else if (v == 1) {
            p.summe1[t] -= 1;
            p.summe01[t] -= 1;
            p.antwortAnzahl[t + 10 * 2]++;
        } else if (v == 2) {
            p.summe2[t] += 2;
            p.antwortAnzahl[t + 10 * 3]++;
        } else if (v == 3) {
            p.summe34[t] += 3;
            p.summe3[t] += 3;
            p.antwortAnzahl[t + 10 * 4]++;
        } else if (v == 4) {
            p.summe4[t] += 4;
            p.summe34[t] += 4;
            p.antwortAnzahl[t + 10 * 5]++;
        }
    }
    for (int t = 1; t <= 9; ++t) {
        p.gesamt[t] = static_cast<int16_t>(p.summe0[t] + p.summe1[t] + p.summe2[t] + p.summe3[t] + p.summe4[t]);
        int summe = 0;
        for (int r = 1; r <= 5; ++r) summe += p.anzahl(t, r);
        p.awGesamt[t] = static_cast<int16_t>(summe);
    }

    for (; !ergebnis.Eof(); ergebnis.MoveNext()) {
        const int t = typVon(ergebnis.Fields("typnummer").Value());
        if (t < 1 || t > 9) continue;
        std::vector<std::pair<std::string, int16_t>> werte{{"typgesamtsumme", p.gesamt[t]}, {"typsumme0", p.summe0[t]},
                                                           {"typsumme1", p.summe1[t]},      {"typsumme01", p.summe01[t]},
                                                           {"typsumme2", p.summe2[t]},      {"typsumme3", p.summe3[t]},
                                                           {"typsumme4", p.summe4[t]},      {"typsumme34", p.summe34[t]}};
        for (int r = 1; r <= 5; ++r) werte.push_back({"aw" + std::to_string(r - 1), p.anzahl(t, r)});
        werte.push_back({"awgesamt", p.awGesamt[t]});
        // A file opened read-only is not written: where it holds these results already, nothing
        // needs to be; where it holds others, the write is refused as one into a read-only file.
        if (!ergebnis.Updatable()) {
            bool gleich = true;
            for (const auto& [feld, wert] : werte) {
                const vb::Variant v = ergebnis.Fields(feld).Value();
                gleich = gleich && !v.isNull() && !v.isEmpty() && v.toLong() == wert;
            }
            if (gleich) continue;
        }
        ergebnis.Edit();
        for (const auto& [feld, wert] : werte) ergebnis.Fields(feld) = wert;
        ergebnis.Update();
    }

    int alle = 0;
    for (int r = 1; r <= 5; ++r) {
        int summe = 0;
        for (int t = 1; t <= 9; ++t) summe += p.anzahl(t, r);
        p.antwortAnzahlGesamt[r] = static_cast<int16_t>(summe);
        alle += summe;
    }
    p.awGesamt[10] = static_cast<int16_t>(alle);
    return a;
}

Rangfolge typRangfolgeBestimmen(db::DataControl& cursor, const std::string& datei, int32_t personId, float sensitivity1,
                                Rangfolge* teilweise) {
    Rangfolge r;
    const double schwelle = static_cast<double>(sensitivity1);
    const std::string kopf = "select * from ergebnis  where personid = " + vb::Str(static_cast<long>(personId));
    try {
        // Walk 1, by total score: each row is measured against the row before it.
        auto& rs1 = DatenBinden(cursor, datei, kopf + " order by typgesamtsumme desc");
        rs1.MoveFirst();
        r.spitzeGesamt = rs1.Fields("typgesamtsumme").Value().toInt();
        int n = 1;
        double c = 0;
        for (; !rs1.Eof(); rs1.MoveNext()) {
            const double v = rs1.Fields("typgesamtsumme").Value().toInt();
            const int typ = rs1.Fields("typnummer").Value().toInt();
            if (c == 0) c = v;
            if (c <= v) {
                eintragen(r.rang1Gesamt, n, typ);
            } else if (v / c > schwelle && v / c != 1) {
                eintragen(r.rang2Gesamt, n, typ);
            } else {
                break;
            }
            c = v;
            ++n;
        }

        // Walk 2, by the ratings 3 and 4: every row is measured against the top.
        auto& rs2 = DatenBinden(cursor, datei, kopf + " order by typsumme34 desc");
        rs2.MoveFirst();
        r.spitzeSumme34 = rs2.Fields("typsumme34").Value().toInt();
        const double spitze = r.spitzeSumme34;
        n = 1;
        for (; !rs2.Eof(); rs2.MoveNext()) {
            const double v = rs2.Fields("typsumme34").Value().toInt();
            const int typ = rs2.Fields("typnummer").Value().toInt();
            if (v == spitze) {
                eintragen(r.rang1Summe34, n, typ);
                ++r.anzahlRang1;
            } else if (spitze != 0 && v / spitze >= schwelle && v / spitze != 1) {
                eintragen(r.rang2Summe34, n, typ);
            } else {
                break;
            }
            ++n;
        }
    } catch (...) {
        if (teilweise) *teilweise = r;
        throw;
    }

    for (int i = 1; i <= 9; ++i)
        if (!r.rang1Gesamt[i].empty()) ++r.haupttyp;
    r.rang1Gleich = 1;
    r.rang1GleichWert = 9;
    return r;
}

}  // namespace zuvtest
