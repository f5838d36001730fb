#include "desk/testing/xml_import.h"

#include "desk/common/globals.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"
#include "platform/xml/dom.h"

namespace zuvtest {

namespace {

// A person file is a few kilobytes; anything far larger is no person file and is not read.
constexpr size_t kGroesstePersonendatei = 1000 * 1000;

struct TextFeld {
    const char* element;
    int index;
    const char* feld;
    int breite;
};

// In the order the file is read; Geburtsdatum goes to the field Geburtstag.
constexpr std::array<TextFeld, 7> kTextFelder{{
    {"Vorname", 0, "Vorname", 150},
    {"Nachname", 1, "Nachname", 150},
    {"Strasse", 3, "Strasse", 255},
    {"PLZOrt", 4, "PLZOrt", 150},
    {"Land", 5, "Land", 150},
    {"Geburtsdatum", 2, "Geburtstag", 10},
    {"Testdatum", 11, "Testdatum", 10},
}};

// The first element of that name in document order counts.
std::string einElement(const xml::Document& doc, const std::string& name) {
    const auto knoten = doc.select("/ZUVRecord/" + name);
    if (knoten.empty()) throw XmlImportFehler(DialogTxt(126) + name + DialogTxt(127), 0);
    return knoten.front().text();
}

int16_t bewertung(const std::string& name, const std::string& text) {
    int16_t wert = 0;
    try {
        if (vb::Trim(text).empty()) throw vb::Error(vb::err::TypeMismatch);
        wert = vb::Variant(text).toInt();
    } catch (const vb::Error&) {
        throw XmlImportFehler(DialogTxt(126) + name + DialogTxt(128) + vb::excerpt(text) + DialogTxt(129), 0);
    }
    if (wert < 0 || wert > 4)
        throw XmlImportFehler(DialogTxt(126) + name + DialogTxt(130) + std::to_string(wert) + DialogTxt(131), 0);
    return wert;
}

// The person's values, every one checked.
XmlPerson personAus(const xml::Document& doc) {
    XmlPerson p;
    for (const auto& f : kTextFelder) {
        std::string text = einElement(doc, f.element);
        if (vb::Len(text) > f.breite)
            throw XmlImportFehler(DialogTxt(133) + f.element + DialogTxt(134) + std::to_string(vb::Len(text)) +
                                      DialogTxt(115) + std::to_string(f.breite) + DialogTxt(116),
                                  0);
        p.texte[f.index] = std::move(text);
    }
    for (int n = 1; n <= kAussagen; ++n) {
        const std::string name = "Item" + std::to_string(n);
        p.bewertungen[n - 1] = bewertung(name, einElement(doc, name));
    }
    return p;
}

}  // namespace

std::string xmlDateiname(const std::string& gewaehlt) {
    if (gewaehlt.empty() || gewaehlt.find('.') != std::string::npos) return gewaehlt;
    return gewaehlt + ".XML";
}

XmlPerson leseXmlPerson(const std::string& pfad) {
    xml::Document doc = [&] {
        try {
            return xml::Document::load(pfad, kGroesstePersonendatei);
        } catch (const xml::ParseError& e) {
            throw XmlImportFehler(e.reason(), e.line());
        }
    }();
    if (!doc.root().valid() || doc.root().name() != "ZUVRecord") throw XmlImportFehler(DialogTxt(132), 0);
    try {
        return personAus(doc);
    } catch (const xml::LimitError& e) {
        // Only a hostile or broken file nests its values or blows them up through entities.
        throw XmlImportFehler(DialogTxt(e.limit() == xml::LimitError::Limit::Depth ? 72 : 73), 0);
    } catch (const xml::ParseError& e) {
        throw XmlImportFehler(e.reason(), e.line());
    }
}

int32_t schreibeXmlPerson(db::Database& datei, const XmlPerson& p, const ItemTypTabelle& tabelle) {
    if (tabelle.itemNummer.size() < static_cast<size_t>(kItemTypZeilen) ||
        tabelle.typNummer.size() < static_cast<size_t>(kItemTypZeilen))
        throw vb::Error(vb::err::SubscriptOutOfRange, DialogTxt(135));
    return db::inTransaction(datei, [&] {
        auto person = datei.OpenRecordset("select * from persdat where personid = 0");
        person->AddNew();
        const int32_t id = person->Fields("personid").Value().toLong();
        for (const auto& f : kTextFelder) person->Fields(f.feld) = p.texte[f.index];
        person->Fields("Metasatz") = false;
        person->Update();
        person->Close();

        const std::string wo = " where PersonID = " + vb::Str(static_cast<long>(id));
        auto antworten = datei.OpenRecordset("Select * from PersonTestErgebnis" + wo);
        for (int n = 1; n <= kAussagen; ++n) {
            antworten->AddNew();
            antworten->Fields("PersonID") = id;
            antworten->Fields("ItemNummer") = static_cast<int16_t>(n);
            antworten->Fields("ItemWert") = p.bewertungen[n - 1];
            antworten->Update();
        }
        antworten->Close();

        auto typen = datei.OpenRecordset("Select * from TypWertZuweisung" + wo);
        for (int k = 0; k < kItemTypZeilen; ++k) {
            const int aussage = tabelle.itemNummer[k];
            const int typ = tabelle.typNummer[k];
            vb::Variant wert = vb::Variant::null();
            if (aussage >= 1 && aussage <= kAussagen) {
                vb::Variant gemappt;
                if (typRealWert(aussage, typ, vb::Variant(p.bewertungen[aussage - 1]), gemappt)) wert = gemappt;
            }
            typen->AddNew();
            typen->Fields("personid") = id;
            typen->Fields("itemnummer") = static_cast<int16_t>(aussage);
            typen->Fields("typnummer") = static_cast<int16_t>(typ);
            typen->Fields("typrealwert") = wert;
            typen->Update();
        }
        typen->Close();

        auto ergebnis = datei.OpenRecordset("Select * from Ergebnis" + wo);
        for (int t = 1; t <= kTypen; ++t) {
            ergebnis->AddNew();
            ergebnis->Fields("personid") = id;
            ergebnis->Fields("typnummer") = static_cast<int16_t>(t);
            ergebnis->Update();
        }
        ergebnis->Close();
        return id;
    });
}

}  // namespace zuvtest
