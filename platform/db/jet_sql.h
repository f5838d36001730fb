#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/types.h"

namespace db::detail {

// Translation of the Jet dialect into SQLite. Names in [brackets] become "quoted", DISTINCTROW
// goes, True/False become -1/0, & becomes ||, "text" becomes 'text', COUNTER/TEXT(n)/short/Long/
// BIT/LONGTEXT become our declared types with their checks, index names get their table's name
// (Jet index names are per table), WITH PRIMARY goes (the unique index stays), ORDER BY sorts
// text in German order. LIKE keeps its Jet wildcards: the connections define LIKE themselves; a
// field LIKE a pattern of digits alone gets the equality it amounts to beside it, which an index serves.

struct Token {
    enum Kind { Word, Bracket, DQuote, String, Number, Punct, Space, DateLit };
    Kind kind;
    std::string text;   // as written
    std::string value;  // the name or text without delimiters
};

// Brackets nested deeper than this are refused (3075) before anything else looks at the text; no
// text of the programs comes near it, and SQLite's own parser stops at about the same depth.
inline constexpr int kMaxNesting = 100;

// Errors are raised with errorNumber (3075 for statements, 3077 for criteria).
std::vector<Token> tokenize(std::string_view sql, int errorNumber);

// Names of view columns that contain a dot ("thementitel.titel"): written bare in a statement
// they are quoted as one name.
using DottedNames = std::function<bool(const std::string&)>;

std::string translateTokens(const std::vector<Token>& tokens, size_t from, size_t to, const DottedNames& dotted,
                            int errorNumber);

// The declaration of one column of our files.
std::string columnSql(const std::string& name, FieldType type, int size, bool primaryKey = false, bool notNull = false,
                      bool unique = false, const std::string& defaultSql = "");
// The type a declaration stands for; size gets the length of TEXT(n).
FieldType typeFromDecl(const std::string& decl, int& size);

struct Statement {
    enum Kind { Select, SelectInto, Insert, Update, Delete, CreateTable, CreateIndex, CreateView, Drop, Alter };
    Kind kind = Select;
    std::string sql;         // SQLite text; for SelectInto the SELECT that reads the rows
    std::string intoTable;   // SelectInto: the new table
    std::string inPath;      // SelectInto: the file of the IN clause ("" = this database)
    std::string viewName;    // CreateView without its own column list: the name of the stored query
    std::string viewSelect;  // and the SELECT it stores (translated)
};
Statement translateStatement(const std::string& jet, const DottedNames& dotted);

// A SELECT for a recordset, in parts so that the row id of a one-table source can be added.
struct SelectParts {
    std::string selectList;  // translated
    std::string fromPart;    // "FROM ..." up to ORDER BY, translated
    std::vector<std::string> orderTerms;
    // Where every term sorts by a value's sort key (kSortKey): those values, and which run downwards.
    std::vector<std::string> sortKeys;
    std::vector<bool> descending;
    std::string table;        // the one source table ("" when several, grouped, distinct …)
    std::string qualifier;    // its alias or name, as SQL
    std::string tableFrom;    // "FROM table [alias]" without conditions
    bool wholeTable = false;  // every row of that table, without conditions
};
SelectParts parseSelect(const std::string& jet, const DottedNames& dotted);
std::string buildSelect(const SelectParts& parts, bool withRowid);
// The row ids of a one-table SELECT in its order, and the statement that reads rows by their ids.
std::string buildKeySelect(const SelectParts& parts);
// The fetch may read more columns after the select list (the signatures of a row's fields).
std::string buildRowFetch(const SelectParts& parts, int count, const std::string& extraColumns = "");
// Of a whole table's SELECT: which of the rows ?1 and ?2 comes first in its order (one row, its id).
std::string buildOrderOfTwo(const SelectParts& parts);
// Of a whole table's SELECT whose terms all sort by sort keys: every row's id and its keys, in the
// order of the ids ("" for any other SELECT).
std::string buildSortKeySelect(const SelectParts& parts);

// The tables and stored queries a statement reads: the names after FROM and JOIN, and after the
// commas of a FROM list. A dotted name is one column only when such a stored query has it.
std::vector<std::string> sourceNames(const std::string& jet);

// The table of "DROP TABLE name" ("" for other statements).
std::string dropTableName(const std::string& jet);

// Quotes a name for SQLite.
std::string quoteName(std::string_view name);
// Quotes a text as an SQL string literal.
std::string quoteLiteral(std::string_view text);

// A criterion of FindFirst … over the given field names: "SELECT 1 FROM (SELECT ?1 AS f1, …) WHERE (…)".
std::string criteriaQuery(const std::string& criteria, const std::vector<std::string>& fieldNames);
// The same criterion as a query of the row ids of rowsSql (whose columns are the fields and the row
// id as kRowidColumn) that it matches: SQLite then finds them through the file's indexes. Given only
// for a criterion that compares fields of whole numbers (wholeNumber) with numbers, Null and each
// other, for which the file's values and the values a recordset reads from them compare alike;
// "" for any other.
std::string criteriaRowsQuery(const std::string& criteria, const std::vector<std::string>& fieldNames,
                              const std::string& rowsSql, const std::function<bool(const std::string&)>& wholeNumber);

inline constexpr const char* kRowidColumn = "zuv_rowid__";
inline constexpr const char* kCollation = "ZUVDE";
// The connections' function that gives a value's sort key: numbers and Null as they are, text as a
// blob that sorts as the collation sorts the text, a blob after every text.
inline constexpr const char* kSortKey = "zuv_sortkey";
// A function of every connection: a fingerprint of the stored value it is given (see Recordset).
inline constexpr const char* kColumnSignature = "zuv_colsig";

}  // namespace db::detail
