#pragma once

// The statement-to-type table and how a rating reaches the item-type rows of its statement.
// These procedures work on recordsets and databases handed to them, so that the windows, the
// XML import and the tests share one implementation of the rules.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/vb/variant.h"

namespace db {
class Database;
class Recordset;
}  // namespace db

namespace zuvtest {

// A new person gets exactly this many item-type rows, whatever the table holds beyond them.
inline constexpr int kItemTypZeilen = 126;
inline constexpr int kAussagen = 109;
inline constexpr int kTypen = 9;

struct ItemTypTabelle {
    std::vector<int16_t> itemNummer;  // parallel, in the table's stored order
    std::vector<int16_t> typNummer;
};

// Reads "SELECT DISTINCTROW * FROM TestItemTyp;" from the settings database, in stored order.
ItemTypTabelle ladeItemTypTabelle(db::Database& programmDb);

// How a rating counts for one type of its statement. For the nine statements whose rating counts
// reversed for one type, that type gets 4 minus the rating, the listed direct types the rating
// itself, and any other type is left alone (returns false). Every other statement: the rating.
// An empty rating stays empty either way.
bool typRealWert(int aussage, int typ, const vb::Variant& wert, vb::Variant& ergebnis);

// The search criterion that finds the rows of one statement: "itemnummer like " and the number
// with a blank in place of the sign.
std::string aussageKriterium(int aussage);

// Copies a rating into every row of `itemTypZeilen` (the person's TypWertZuweisung rows) that
// belongs to the statement, mapped by typRealWert. Returns the number of rows found.
int typWertSpeichern(db::Recordset& itemTypZeilen, int aussage, const vb::Variant& wert);

// Stores one rating (0 to 4, or Null to clear it) as one transaction on `datei`: the answer row
// on which `antworten` stands and, through typWertSpeichern, every row of the statement in
// `itemTypZeilen`. Both recordsets belong to `datei`'s file (the test form's two data controls
// do). After a failure, or a crash at any moment, the answer and its item-type rows agree: both
// have the new rating or neither has.
void bewertungSpeichern(db::Database& datei, db::Recordset& antworten, db::Recordset& itemTypZeilen, int aussage,
                        const vb::Variant& wert);

// Adds the blank rows of a new person through recordsets of its own: 109 answer rows, the first
// 126 item-type pairs, 9 result rows. Fewer than 126 pairs is refused (error 9) before anything
// is written. The caller holds the transaction that makes the person whole or absent.
void legeTestdatensaetzeAn(db::Database& datei, int32_t personId, const ItemTypTabelle& tabelle);

// Whether the data file already holds answer rows for the person.
bool hatTestdatensaetze(db::Database& datei, int32_t personId);

}  // namespace zuvtest
