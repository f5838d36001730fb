#pragma once

// Persons written straight into a data file with every row the person window makes: the test
// fixtures and the benchmarks of the evaluation, the charts and the printed report pin their
// figures and pages on such persons.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "desk/testing/item_typ.h"
#include "platform/db/database.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"

namespace support {

// The person data: column and value; an Empty value leaves the column Null.
using Personendaten = std::map<std::string, vb::Variant>;

// The values of a person's rows, each asked for row by row; without one, the rows stay Null.
struct Zeilenwerte {
    std::function<vb::Variant(int aussage)> antwort;  // ItemWert of the answer row of statement 1..109
    std::function<vb::Variant(size_t k)> typWert;     // TypRealWert of the k-th item-type pair (0-based)
    std::function<vb::Variant(int typ)> gesamt;       // TypGesamtSumme of the result row of type 1..9
    bool mitErgebnis = true;                          // whether the nine result rows are written
};

// The PersDat row with the given fields (the others stay Null); returns its new PersonID.
inline int32_t persDatZeile(db::Database& d, const Personendaten& daten) {
    auto p = d.OpenRecordset("SELECT * FROM PersDat WHERE PersonID = -1");
    p->AddNew();
    const int32_t id = p->Fields("PersonID").Value().toLong();
    for (const auto& [feld, v] : daten)
        if (!v.isEmpty()) p->Fields(feld) = v;
    p->Update();
    return id;
}

// A person in one transaction: the PersDat row, the 109 answer rows, one item-type row for each
// pair of itemNummer/typNummer (in that order) and the nine result rows. Returns the PersonID.
inline int32_t personMitZeilen(db::Database& d, const std::vector<int16_t>& itemNummer,
                               const std::vector<int16_t>& typNummer, const Personendaten& daten, const Zeilenwerte& w) {
    const auto wert = [](const auto& f, auto arg) { return f ? f(arg) : vb::Variant::null(); };
    d.BeginTrans();
    const int32_t id = persDatZeile(d, daten);
    auto a = d.OpenRecordset("SELECT * FROM PersonTestErgebnis WHERE PersonID = -1");
    for (int i = 1; i <= 109; ++i) {
        a->AddNew();
        a->Fields("PersonID") = vb::Variant(id);
        a->Fields("ItemNummer") = vb::Variant(int16_t(i));
        a->Fields("ItemWert") = wert(w.antwort, i);
        a->Update();
    }
    auto t = d.OpenRecordset("SELECT * FROM TypWertZuweisung WHERE PersonID = -1");
    for (size_t k = 0; k < itemNummer.size(); ++k) {
        t->AddNew();
        t->Fields("PersonID") = vb::Variant(id);
        t->Fields("ItemNummer") = vb::Variant(itemNummer[k]);
        t->Fields("TypNummer") = vb::Variant(typNummer[k]);
        t->Fields("TypRealWert") = wert(w.typWert, k);
        t->Update();
    }
    if (w.mitErgebnis) {
        auto e = d.OpenRecordset("SELECT * FROM Ergebnis WHERE PersonID = -1");
        for (int typ = 1; typ <= 9; ++typ) {
            e->AddNew();
            e->Fields("PersonID") = vb::Variant(id);
            e->Fields("TypNummer") = vb::Variant(int16_t(typ));
            e->Fields("TypGesamtSumme") = wert(w.gesamt, typ);
            e->Update();
        }
    }
    d.CommitTrans();
    return id;
}

// A person as the person window saves it: the PersDat row and the blank rows of the statement
// table, in one transaction. Returns the PersonID.
inline int32_t neuePerson(db::Database& d, const zuvtest::ItemTypTabelle& tabelle, const Personendaten& daten) {
    d.BeginTrans();
    const int32_t id = persDatZeile(d, daten);
    zuvtest::legeTestdatensaetzeAn(d, id, tabelle);
    d.CommitTrans();
    return id;
}

// A rating as a row value: -1 for none (Null).
inline vb::Variant bewertung(int v) { return v < 0 ? vb::Variant::null() : vb::Variant(int16_t(v)); }

// Per type 1..9 how many of its item-type rows carry the rating 0, 1, 2, 3, 4; rows beyond the
// sum stay unanswered.
using Anzahlen = std::array<std::array<int, 5>, 10>;

inline Anzahlen jederTyp(std::array<int, 5> a) {
    Anzahlen z{};
    for (int t = 1; t <= 9; ++t) z[t] = a;
    return z;
}

// The ratings of the item-type rows by their type: `wert(typ, n)` for the n-th row (0-based, in
// stored order) of each type, -1 for a row left unanswered.
inline std::vector<int> jeTypBewerten(const std::vector<int16_t>& typNummer,
                                      const std::function<int(int typ, int n)>& wert) {
    std::vector<int> werte;
    std::array<int, 10> n{};
    for (int16_t typ : typNummer) werte.push_back(wert(typ, n[typ]++));
    return werte;
}

// A person with the ratings counted as given; the answer row of a statement takes the first rating
// written for it. Returns the PersonID.
inline int32_t personSchreiben(db::Database& d, const std::vector<int16_t>& itemNummer,
                               const std::vector<int16_t>& typNummer, const std::string& vorname,
                               const std::string& nachname, const Anzahlen& a, bool mitErgebnis = true,
                               const Personendaten& daten = {{"Testdatum", vb::Variant("12.03.2026")}}) {
    const std::vector<int> werte = jeTypBewerten(typNummer, [&a](int typ, int n) {
        for (int v = 0; v <= 4; n -= a[typ][v++])
            if (n < a[typ][v]) return v;
        return -1;
    });
    std::map<int, int> jeAussage;
    for (size_t k = 0; k < itemNummer.size(); ++k) jeAussage.emplace(itemNummer[k], werte[k]);
    // The names unless `daten` gives them a value of their own (Null too).
    Personendaten alle = daten;
    if (alle["Vorname"].isEmpty()) alle["Vorname"] = vb::Variant(vorname);
    if (alle["Nachname"].isEmpty()) alle["Nachname"] = vb::Variant(nachname);
    Zeilenwerte w;
    w.antwort = [&jeAussage](int i) { return jeAussage.count(i) ? bewertung(jeAussage[i]) : vb::Variant::null(); };
    w.typWert = [&werte](size_t k) { return bewertung(werte[k]); };
    w.mitErgebnis = mitErgebnis;
    return personMitZeilen(d, itemNummer, typNummer, alle, w);
}

}  // namespace support
