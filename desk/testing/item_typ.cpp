#include "desk/testing/item_typ.h"

#include <array>

#include "desk/common/globals.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace zuvtest {

namespace {

struct Umkehrung {
    int aussage;
    std::array<int, 2> direkt;  // 0 = unused
    int umgekehrt;
};

// Agreeing with these statements speaks against one of their types.
constexpr std::array<Umkehrung, 9> kUmkehrungen{{
    {5, {8, 0}, 9},
    {28, {5, 0}, 2},
    {29, {7, 0}, 5},
    {30, {9, 0}, 3},
    {32, {7, 8}, 1},
    {47, {6, 0}, 7},
    {63, {6, 0}, 4},
    {64, {9, 0}, 8},
    {81, {3, 0}, 6},
}};

vb::Variant vierMinus(const vb::Variant& wert) {
    if (wert.isNull() || wert.isEmpty()) return vb::Variant::null();
    return vb::Variant(static_cast<int16_t>(4 - wert.toInt()));
}

std::string personSatz(const char* tabelle, int32_t personId) {
    return std::string("select * from ") + tabelle + " where personid = " + vb::Str(static_cast<long>(personId));
}

}  // namespace

ItemTypTabelle ladeItemTypTabelle(db::Database& programmDb) {
    ItemTypTabelle t;
    auto rs = programmDb.OpenRecordset(std::string("SELECT DISTINCTROW * ") + "FROM TestItemTyp;",
                                       db::RecordsetType::Snapshot);
    if (rs->RecordCount() != 0) {
        rs->MoveLast();
        const long n = rs->RecordCount();
        t.itemNummer.reserve(n);
        t.typNummer.reserve(n);
        rs->MoveFirst();
        for (long k = 0; k < n; ++k) {
            t.itemNummer.push_back(rs->Fields("ItemNummer").Value().toInt());
            t.typNummer.push_back(rs->Fields("TypNummer").Value().toInt());
            if (!rs->Eof()) rs->MoveNext();
        }
    }
    rs->Close();
    return t;
}

bool typRealWert(int aussage, int typ, const vb::Variant& wert, vb::Variant& ergebnis) {
    const vb::Variant wertOderNull = (wert.isEmpty() ? vb::Variant::null() : wert);
    for (const auto& u : kUmkehrungen) {
        if (u.aussage != aussage) continue;
        if (typ != 0 && (typ == u.direkt[0] || typ == u.direkt[1])) {
            ergebnis = wertOderNull;
            return true;
        }
        if (typ == u.umgekehrt) {
            ergebnis = vierMinus(wert);
            return true;
        }
        return false;
    }
    ergebnis = wertOderNull;
    return true;
}

std::string aussageKriterium(int aussage) { return "itemnummer like " + vb::Str(aussage); }

int typWertSpeichern(db::Recordset& zeilen, int aussage, const vb::Variant& wert) {
    const std::string kriterium = aussageKriterium(aussage);
    int gefunden = 0;
    zeilen.FindFirst(kriterium);
    while (!zeilen.NoMatch()) {
        ++gefunden;
        vb::Variant neu;
        const vb::Variant typ = zeilen.Fields("typnummer").Value();
        if (typRealWert(aussage, typ.isNull() ? 0 : typ.toInt(), wert, neu)) {
            zeilen.Edit();
            zeilen.Fields("typrealwert") = neu;
            zeilen.Update();
        }
        zeilen.FindNext(kriterium);
    }
    return gefunden;
}

void bewertungSpeichern(db::Database& datei, db::Recordset& antworten, db::Recordset& zeilen, int aussage,
                        const vb::Variant& wert) {
    db::inTransaction(datei, [&] {
        antworten.Edit();
        antworten.Fields("ItemWert") = wert;
        antworten.Update();
        typWertSpeichern(zeilen, aussage, antworten.Fields("ItemWert").Value());
    });
}

void legeTestdatensaetzeAn(db::Database& datei, int32_t personId, const ItemTypTabelle& tabelle) {
    // A person with only part of the item-type rows could never complete the test.
    if (tabelle.itemNummer.size() < static_cast<size_t>(kItemTypZeilen) ||
        tabelle.typNummer.size() < static_cast<size_t>(kItemTypZeilen))
        throw vb::Error(vb::err::SubscriptOutOfRange, DialogTxt(136) + std::to_string(tabelle.itemNummer.size()) +
                                                          DialogTxt(137) + std::to_string(kItemTypZeilen) +
                                                          DialogTxt(138));

    auto antworten = datei.OpenRecordset(personSatz("persontestergebnis", personId));
    for (int i = 1; i <= kAussagen; ++i) {
        antworten->AddNew();
        antworten->Fields("personid") = personId;
        antworten->Fields("itemnummer") = static_cast<int16_t>(i);
        antworten->Fields("itemwert") = vb::Variant::null();
        antworten->Update();
    }
    antworten->Close();

    auto typen = datei.OpenRecordset(personSatz("typwertzuweisung", personId));
    for (int i = 0; i < kItemTypZeilen; ++i) {
        typen->AddNew();
        typen->Fields("personid") = personId;
        typen->Fields("itemnummer") = tabelle.itemNummer[i];
        typen->Fields("typnummer") = tabelle.typNummer[i];
        typen->Fields("typrealwert") = vb::Variant::null();
        typen->Update();
    }
    typen->Close();

    auto ergebnis = datei.OpenRecordset(personSatz("ergebnis", personId));
    for (int t = 1; t <= kTypen; ++t) {
        ergebnis->AddNew();
        ergebnis->Fields("personid") = personId;
        ergebnis->Fields("typnummer") = static_cast<int16_t>(t);
        ergebnis->Update();
    }
    ergebnis->Close();
}

bool hatTestdatensaetze(db::Database& datei, int32_t personId) {
    auto rs = datei.OpenRecordset(personSatz("persontestergebnis", personId), db::RecordsetType::Snapshot);
    const bool ja = rs->RecordCount() > 0;
    rs->Close();
    return ja;
}

}  // namespace zuvtest
