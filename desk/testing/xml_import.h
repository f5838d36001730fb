#pragma once

// One person, personal data and all 109 ratings, from an XML file (root ZUVRecord, one element
// per value). The file is only read; a person is written whole or not at all.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "desk/testing/item_typ.h"

namespace db {
class Database;
}

namespace zuvtest {

// Index 0..11 like the person window's twelve boxes: 0 Vorname, 1 Nachname, 2 Geburtstag,
// 3 Strasse, 4 PLZOrt, 5 Land, 6..10 not in the file, 11 Testdatum.
struct XmlPerson {
    std::array<std::string, 12> texte;
    std::array<int16_t, kAussagen> bewertungen{};
};

// Why a file cannot be taken: the German reason, and the line in the file (0 when the reason is
// not about a place in the text).
class XmlImportFehler : public std::runtime_error {
public:
    XmlImportFehler(std::string grund, int zeile)
        : std::runtime_error(grund), m_grund(std::move(grund)), m_zeile(zeile) {}
    const std::string& grund() const { return m_grund; }
    int zeile() const { return m_zeile; }

private:
    std::string m_grund;
    int m_zeile;
};

// A name without any dot gets ".XML" appended, as the open dialog's filter suggests.
std::string xmlDateiname(const std::string& gewaehlt);

// Reads and checks the whole file before anything is written: every element present (the first
// of a name counts), ratings whole numbers from 0 to 4, texts no longer than their fields.
XmlPerson leseXmlPerson(const std::string& pfad);

// Writes the person's 1 + 109 + 126 + 9 rows in one transaction, the item-type rows already
// mapped from the ratings. Returns the new PersonID. On any error nothing stays written.
int32_t schreibeXmlPerson(db::Database& datei, const XmlPerson& person, const ItemTypTabelle& tabelle);

}  // namespace zuvtest
