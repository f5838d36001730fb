#pragma once

// Persons of fixed ratings, written straight into a data file with every row the person window
// makes: the evaluation pages and the printed report are both pinned on such persons.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"

namespace support {

// Per type 1..9 how many of its item-type rows carry the rating 0, 1, 2, 3, 4; rows beyond the
// sum stay unanswered.
using Anzahlen = std::array<std::array<int, 5>, 10>;

inline Anzahlen jederTyp(std::array<int, 5> a) {
    Anzahlen z{};
    for (int t = 1; t <= 9; ++t) z[t] = a;
    return z;
}

// The person data beyond the name; an Empty value leaves the column Null.
using Personendaten = std::map<std::string, vb::Variant>;

// A person with the PersDat row, the 109 answer rows, the item-type rows of the statement table
// (itemNummer/typNummer) carrying the ratings as given, and (unless left out) the nine result rows.
// The answer row of a statement takes the first rating written for it. Returns the PersonID.
inline int32_t personSchreiben(db::Database& d, const std::vector<int16_t>& itemNummer,
                               const std::vector<int16_t>& typNummer, const std::string& vorname,
                               const std::string& nachname, const Anzahlen& a, bool mitErgebnis = true,
                               const Personendaten& daten = {{"Testdatum", vb::Variant("12.03.2026")}}) {
    d.BeginTrans();
    auto p = d.OpenRecordset("SELECT * FROM PersDat WHERE PersonID = -1");
    p->AddNew();
    const int32_t id = p->Fields("PersonID").Value().toLong();
    p->Fields("Vorname") = vb::Variant(vorname);
    p->Fields("Nachname") = vb::Variant(nachname);
    for (const auto& [feld, wert] : daten)
        if (!wert.isEmpty()) p->Fields(feld) = wert;
    p->Update();
    std::array<std::vector<int>, 10> werte;
    for (int t = 1; t <= 9; ++t)
        for (int v = 0; v <= 4; ++v)
            for (int k = 0; k < a[t][v]; ++k) werte[t].push_back(v);
    std::array<size_t, 10> naechster{};
    std::map<int, vb::Variant> jeAussage;
    auto tw = d.OpenRecordset("SELECT * FROM TypWertZuweisung WHERE PersonID = -1");
    for (size_t i = 0; i < itemNummer.size(); ++i) {
        const int t = typNummer[i];
        vb::Variant wert = vb::Variant::null();
        if (naechster[t] < werte[t].size()) wert = vb::Variant(int16_t(werte[t][naechster[t]++]));
        tw->AddNew();
        tw->Fields("PersonID") = vb::Variant(id);
        tw->Fields("ItemNummer") = vb::Variant(itemNummer[i]);
        tw->Fields("TypNummer") = vb::Variant(int16_t(t));
        tw->Fields("TypRealWert") = wert;
        tw->Update();
        if (!jeAussage.count(itemNummer[i])) jeAussage[itemNummer[i]] = wert;
    }
    auto aw = d.OpenRecordset("SELECT * FROM PersonTestErgebnis WHERE PersonID = -1");
    for (int i = 1; i <= 109; ++i) {
        aw->AddNew();
        aw->Fields("PersonID") = vb::Variant(id);
        aw->Fields("ItemNummer") = vb::Variant(int16_t(i));
        aw->Fields("ItemWert") = jeAussage.count(i) ? jeAussage[i] : vb::Variant::null();
        aw->Update();
    }
    if (mitErgebnis) {
        auto e = d.OpenRecordset("SELECT * FROM Ergebnis WHERE PersonID = -1");
        for (int t = 1; t <= 9; ++t) {
            e->AddNew();
            e->Fields("PersonID") = vb::Variant(id);
            e->Fields("TypNummer") = vb::Variant(int16_t(t));
            e->Update();
        }
    }
    d.CommitTrans();
    return id;
}

}  // namespace support
