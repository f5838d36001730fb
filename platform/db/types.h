#pragma once

#include <string>

namespace db {

// How a recordset sees its rows: a table opened directly, an updatable set of rows
// of a query, or a read-only copy.
enum class RecordsetType { Table = 1, Dynaset = 2, Snapshot = 4 };

// The column types of our data files, as their declarations name them.
enum class FieldType {
    Variant = 0,   // no declared type (an expression or a column of a foreign table)
    Boolean = 1,   // BIT: -1 / 0
    Byte = 2,      // BYTE: 0..255
    Integer = 3,   // SHORT: 16 bit
    Long = 4,      // LONG: 32 bit
    Currency = 5,  // CURRENCY
    Single = 6,    // SINGLE
    Double = 7,    // DOUBLE
    Date = 8,      // DATETIME: days since 30.12.1899
    Text = 10,     // TEXT(n)
    Memo = 12,     // LONGTEXT
    Counter = 104  // COUNTER: 32-bit number given by the file at AddNew
};

// Options of Workspace::CreateDatabase.
inline constexpr int dbEncrypt = 2;  // accepted; files are plain SQLite files (see engine.h)
// An installation database (settings, contents): every login may open it, not only its creator.
inline constexpr int dbInstallation = 0x10000;

// Attributes of Database::CreateRelation.
inline constexpr int dbRelationUnique = 1;
inline constexpr int dbRelationDontEnforce = 2;
inline constexpr int dbRelationUpdateCascade = 256;
inline constexpr int dbRelationDeleteCascade = 4096;

}  // namespace db
