#include "platform/db/recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "platform/db/connection.h"
#include "platform/db/errors.h"
#include "platform/db/jet_sql.h"
#include "platform/db/text.h"
#include "platform/vb/ascii.h"

namespace db {

namespace detail {
struct Query {
    std::string sql;
    bool withRowid = false;  // rows carry their row id (also the last sort key)
    bool updatable = false;
    std::string table;                // the one table rows are written to ("" = read only)
    std::string keySql;               // a dynaset's row ids in order
    std::string fetchSql;             // a dynaset's rows by id, kFetch at a time, then the stored fields no column shows
    std::string fetchWalkingSql;      // and kFetchWalking at a time
    std::string rowsSql;              // every row of a dynaset of a whole table, with its id ("" for others)
    std::string orderSql;             // a dynaset of a whole table: which of two rows comes first
    std::string wholeSql;             // and its rows as fetched, in the table's own order
    std::string sortSql;              // and its rows' ids and sort keys, when it sorts by them only
    std::vector<std::string> stored;  // the table's stored columns, signed as a fetch reads them
    SelectParts parts;
};
constexpr int kFetch = 32;
constexpr int kFetchWalking = 256;  // a cursor walking its rows reads this many at a time
constexpr size_t kKeptRows = 4096;  // rows whose values a cursor keeps
// A walk that read this many rows one batch after the other reads the rest of a large table in
// one pass in the table's own order: far cheaper than finding each row by its id.
constexpr size_t kWalkBeforeWhole = 4 * kFetchWalking;

// The signature of a stored field, as SQL (see columnSignature in connection.cpp).
std::string signatureOf(const std::string& qualifier, const std::string& column) {
    return std::string(kColumnSignature) + "(" + (qualifier.empty() ? "" : qualifier + ".") + quoteName(column) + ")";
}
}  // namespace detail

using detail::quoteName;

namespace {

bool looksLikeName(const std::string& s) {
    std::string t = s;
    while (!t.empty() && vb::ascii::isSpace(t.back())) t.pop_back();
    size_t b = 0;
    while (b < t.size() && vb::ascii::isSpace(t[b])) ++b;
    t = t.substr(b);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') return true;
    for (char c : t)
        if (vb::ascii::isSpace(c)) return false;
    return !t.empty();
}

std::string stripBrackets(std::string s) {
    while (!s.empty() && vb::ascii::isSpace(s.back())) s.pop_back();
    size_t b = 0;
    while (b < s.size() && vb::ascii::isSpace(s[b])) ++b;
    s = s.substr(b);
    if (s.size() >= 2 && s.front() == '[' && s.back() == ']') s = s.substr(1, s.size() - 2);
    return s;
}

double roundHalfEven(double d) {
    const double r = std::nearbyint(d);  // the default rounding mode rounds halves to even
    return r;
}

}  // namespace

namespace {

// What an entry of Recordset::Values holds: a value as SQLite gave it (a number of a column of
// text also as the text SQLite writes for it), or one stored through the recordset.
enum Tag : uint8_t {
    RawNull,
    RawInteger,
    RawReal,
    RawText,
    RawBlob,
    RawIntegerText,
    RawRealText,
    Empty,
    Null,
    Int16,
    Int32,
    Single,
    Double,
    Bool,
    Text,
    Date
};

template <typename T>
void put(std::string& b, T v) {
    b.append(reinterpret_cast<const char*>(&v), sizeof v);
}
template <typename T>
T fromBytes(const char* b, size_t at) {
    T v;
    std::memcpy(&v, b + at, sizeof v);
    return v;
}
void putText(std::string& b, std::string_view t) {
    put(b, static_cast<uint32_t>(t.size()));
    b.append(t.data(), t.size());
}
std::string_view loadText(const char* b, size_t at) { return std::string_view(b + at + 4, fromBytes<uint32_t>(b, at)); }

// The size of an entry after its tag.
size_t payload(const char* b, size_t at, Tag tag) {
    switch (tag) {
    case RawInteger:
    case RawReal:
    case Double:
    case Date: return 8;
    case Int16: return 2;
    case Int32:
    case Single: return 4;
    case Bool: return 1;
    case RawText:
    case RawBlob:
    case Text: return 4 + fromBytes<uint32_t>(b, at);
    case RawIntegerText:
    case RawRealText: return 8 + 4 + fromBytes<uint32_t>(b, at + 8);
    default: return 0;
    }
}

}  // namespace

void Recordset::Values::take(const std::string& b, uint32_t count, const std::vector<int64_t>& signatures, bool asRead) {
    const Header h{count, static_cast<uint32_t>(signatures.size()), static_cast<uint32_t>(b.size()), asRead};
    m_data.reset(new char[sizeof h + b.size() + signatures.size() * sizeof(int64_t)]);
    std::memcpy(m_data.get(), &h, sizeof h);
    std::memcpy(m_data.get() + sizeof h, b.data(), b.size());
    if (!signatures.empty())
        std::memcpy(m_data.get() + sizeof h + b.size(), signatures.data(), signatures.size() * sizeof(int64_t));
}

size_t Recordset::Values::offset(size_t index) const {
    const char* b = bytes();
    size_t at = 0;
    for (size_t i = 0; i < index; ++i) {
        const Tag tag = static_cast<Tag>(b[at++]);
        at += payload(b, at, tag);
    }
    return at;
}

void Recordset::Values::nulls(size_t n) {
    take(std::string(n, static_cast<char>(Null)), static_cast<uint32_t>(n), {}, false);
}

void Recordset::Values::assign(const std::vector<vb::Variant>& values, const std::vector<int64_t>& signatures) {
    std::string b;
    using T = vb::Variant::Type;
    for (const vb::Variant& v : values) {
        switch (v.type()) {
        case T::Empty: b += static_cast<char>(Empty); break;
        case T::Null: b += static_cast<char>(Null); break;
        case T::Integer:
            b += static_cast<char>(Int16);
            put(b, v.toInt());
            break;
        case T::Long:
            b += static_cast<char>(Int32);
            put(b, v.toLong());
            break;
        case T::Single:
            b += static_cast<char>(Single);
            put(b, v.toSingle());
            break;
        case T::Double:
            b += static_cast<char>(Double);
            put(b, v.toDouble());
            break;
        case T::Boolean:
            b += static_cast<char>(Bool);
            put(b, static_cast<uint8_t>(v.toBool() ? 1 : 0));
            break;
        case T::String:
            b += static_cast<char>(Text);
            putText(b, *v.stringPtr());
            break;
        case T::Date:
            b += static_cast<char>(Date);
            put(b, v.toDate().serial);
            break;
        }
    }
    take(b, static_cast<uint32_t>(values.size()), signatures, false);
}

void Recordset::Values::read(sqlite3_stmt* s, int first, const std::vector<FieldType>& types) {
    thread_local std::string b;
    b.clear();
    for (size_t c = 0; c < types.size(); ++c) {
        const int col = first + static_cast<int>(c);
        // The storage class first: a conversion to text changes what SQLite reports of the value.
        const int storage = sqlite3_column_type(s, col);
        switch (storage) {
        case SQLITE_NULL: b += static_cast<char>(RawNull); continue;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const bool whole = storage == SQLITE_INTEGER;
            const bool text = detail::readsAsText(storage, types[c]);
            b += static_cast<char>(whole ? (text ? RawIntegerText : RawInteger) : (text ? RawRealText : RawReal));
            if (whole) put(b, static_cast<int64_t>(sqlite3_column_int64(s, col)));
            else put(b, sqlite3_column_double(s, col));
            if (!text) continue;
            break;
        }
        default: b += static_cast<char>(storage == SQLITE_BLOB ? RawBlob : RawText); break;
        }
        const unsigned char* p = storage == SQLITE_BLOB ? static_cast<const unsigned char*>(sqlite3_column_blob(s, col))
                                                        : sqlite3_column_text(s, col);
        putText(b, std::string_view(p ? reinterpret_cast<const char*>(p) : "",
                                    static_cast<size_t>(sqlite3_column_bytes(s, col))));
    }
    take(b, static_cast<uint32_t>(types.size()), {}, true);
}

vb::Variant Recordset::Values::get(size_t index, FieldType type) const {
    const char* b = bytes();
    size_t at = offset(index);
    const Tag tag = static_cast<Tag>(b[at++]);
    switch (tag) {
    case RawNull: return detail::readValue(SQLITE_NULL, 0, 0, {}, type);
    case RawInteger:
    case RawIntegerText: {
        const int64_t v = fromBytes<int64_t>(b, at);
        return detail::readValue(SQLITE_INTEGER, v, static_cast<double>(v),
                                 tag == RawIntegerText ? loadText(b, at + 8) : std::string_view(), type);
    }
    case RawReal:
    case RawRealText:
        return detail::readValue(SQLITE_FLOAT, 0, fromBytes<double>(b, at),
                                 tag == RawRealText ? loadText(b, at + 8) : std::string_view(), type);
    case RawText:
    case RawBlob: return detail::readValue(tag == RawBlob ? SQLITE_BLOB : SQLITE_TEXT, 0, 0, loadText(b, at), type);
    case Empty: return vb::Variant();
    case Null: return vb::Variant::null();
    case Int16: return vb::Variant(fromBytes<int16_t>(b, at));
    case Int32: return vb::Variant(fromBytes<int32_t>(b, at));
    case Single: return vb::Variant(fromBytes<float>(b, at));
    case Double: return vb::Variant(fromBytes<double>(b, at));
    case Bool: return vb::Variant(fromBytes<uint8_t>(b, at) != 0);
    case Text: return vb::Variant(std::string(loadText(b, at)));
    case Date: return vb::Variant(vb::Variant::DateValue{fromBytes<double>(b, at)});
    }
    return vb::Variant::null();
}

int64_t Recordset::Values::signature(size_t index) const {
    const char* b = bytes();
    size_t at = offset(index);
    const Tag tag = static_cast<Tag>(b[at++]);
    switch (tag) {
    case RawInteger:
    case RawIntegerText: return detail::valueSignature(SQLITE_INTEGER, fromBytes<int64_t>(b, at), 0, {});
    case RawReal:
    case RawRealText: return detail::valueSignature(SQLITE_FLOAT, 0, fromBytes<double>(b, at), {});
    case RawText: return detail::valueSignature(SQLITE_TEXT, 0, 0, loadText(b, at));
    case RawBlob: return detail::valueSignature(SQLITE_BLOB, 0, 0, loadText(b, at));
    default: return detail::valueSignature(SQLITE_NULL, 0, 0, {});
    }
}

std::vector<int64_t> Recordset::Values::signatures() const {
    if (!m_data) return {};
    std::vector<int64_t> out(header().signatures);
    if (!out.empty()) std::memcpy(out.data(), bytes() + header().size, out.size() * sizeof(int64_t));
    return out;
}

Recordset::Recordset(std::shared_ptr<detail::Connection> conn, const std::string& source, RecordsetType type)
    : m_conn(std::move(conn)), m_source(source), m_type(type), m_query(std::make_unique<detail::Query>()) {
    detail::SelectParts parts;
    if (looksLikeName(source)) {
        const std::string name = stripBrackets(source);
        const detail::TableInfo* t = m_conn->table(name);
        if (!t) raise(vb::err::ObjectNotFound, name);  // a table opened by name: "object not found", as callers test for
        parts.selectList = "*";
        parts.fromPart = "FROM " + quoteName(t->name);
        parts.table = t->name;
        parts.qualifier = quoteName(t->name);
        parts.tableFrom = parts.fromPart;
        parts.wholeTable = true;
    } else {
        parts = detail::parseSelect(source, m_conn->dottedColumnsOf(source));
    }
    const detail::TableInfo* base = parts.table.empty() ? nullptr : m_conn->table(parts.table);
    m_query->withRowid = base && !base->isView;
    m_query->updatable = m_query->withRowid && type != RecordsetType::Snapshot;
    if (m_query->withRowid) m_query->table = base->name;
    m_query->sql = detail::buildSelect(parts, m_query->withRowid);
    m_keyset = m_query->updatable;
    if (m_keyset) {
        m_query->keySql = detail::buildKeySelect(parts);
        // Every stored field is signed, also those the recordset does not show: a Delete takes them all.
        for (const auto& c : base->columns) m_query->stored.push_back(c.name);
        m_query->parts = parts;
        if (parts.wholeTable) {
            m_query->rowsSql = "SELECT " + parts.qualifier + ".rowid AS " + detail::kRowidColumn + ", " +
                               parts.selectList + " " + parts.tableFrom;
            m_query->orderSql = detail::buildOrderOfTwo(parts);
            m_query->sortSql = detail::buildSortKeySelect(parts);
        }
    }
    load();
    if (!m_rows.empty()) {
        m_pos = 0;
        arrive(0);
    }
}

Recordset::~Recordset() = default;

void Recordset::load() {
    detail::Stmt s = m_conn->prepare(m_query->sql);
    const int offset = m_query->withRowid ? 1 : 0;
    const int n = sqlite3_column_count(s) - offset;
    const detail::TableInfo* base = m_query->table.empty() ? nullptr : m_conn->table(m_query->table);
    std::vector<Column> columns;
    for (int i = 0; i < n; ++i) {
        Column c;
        const int col = i + offset;
        c.name = sqlite3_column_name(s, col) ? sqlite3_column_name(s, col) : "";
        const char* originTable = sqlite3_column_table_name(s, col);
        const char* origin = sqlite3_column_origin_name(s, col);
        const detail::ColumnInfo* info = nullptr;
        if (base && originTable && origin && detail::sameName(originTable, base->name)) info = base->column(origin);
        if (info) {
            c.type = info->type;
            c.size = info->size;
            c.counter = info->counter;
            c.baseColumn = info->name;
            c.defaultValue = info->defaultValue;
            for (size_t k = 0; k < m_query->stored.size(); ++k)
                if (detail::sameName(m_query->stored[k], info->name)) c.stored = static_cast<int>(k);
        } else {
            const char* decl = sqlite3_column_decltype(s, col);
            c.type = detail::typeFromDecl(decl ? decl : "", c.size);
            c.defaultValue = vb::Variant::null();
        }
        if (c.type == FieldType::Boolean && c.defaultValue.isNull()) c.defaultValue = vb::Variant(false);
        columns.push_back(std::move(c));
    }
    if (m_keyset) {
        // A row holds the values of the columns, then those of the stored fields no column shows as
        // it is stored, so that each stored field is signed as it was read.
        m_readTypes.clear();
        for (const auto& c : columns) m_readTypes.push_back(c.type);
        m_storedAt.assign(m_query->stored.size(), 0);
        std::vector<bool> shown(m_query->stored.size(), false);
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i].stored >= 0 && !shown[static_cast<size_t>(columns[i].stored)]) {
                shown[static_cast<size_t>(columns[i].stored)] = true;
                m_storedAt[static_cast<size_t>(columns[i].stored)] = i;
            }
        std::string extra;
        for (size_t k = 0; k < m_query->stored.size(); ++k) {
            if (shown[k]) continue;
            extra += (extra.empty() ? "" : ", ") + m_query->parts.qualifier + "." + quoteName(m_query->stored[k]);
            m_storedAt[k] = m_readTypes.size();
            m_readTypes.push_back(FieldType::Variant);
        }
        const detail::SelectParts& parts = m_query->parts;
        m_query->fetchSql = detail::buildRowFetch(parts, detail::kFetch, extra);
        m_query->fetchWalkingSql = detail::buildRowFetch(parts, detail::kFetchWalking, extra);
        if (parts.wholeTable)
            m_query->wholeSql = "SELECT " + parts.qualifier + ".rowid AS " + detail::kRowidColumn + ", " +
                                parts.selectList + (extra.empty() ? "" : ", " + extra) + " " + parts.tableFrom +
                                " ORDER BY " + parts.qualifier + ".rowid";
    }
    std::vector<Row> rows;
    if (m_keyset) {
        // Only the ids now; values when a row is visited. A sort on a name of the select list
        // needs the whole statement, whose first column is the id as well.
        // A statement SQLite does not take falls back to the whole one; a file held by another
        // program or a disk that fails refuses that one as well, and is said at once.
        auto refused = [](const vb::Error& e) {
            return e.number() == vb::err::RecordLocked || e.number() == vb::err::FileInUse ||
                   e.number() == vb::err::DiskOrNetworkError || e.number() == vb::err::DiskSpaceExhausted;
        };
        try {
            m_conn->prepare(m_query->keySql);
        } catch (const vb::Error& e) {
            if (refused(e)) throw;
            m_query->keySql = m_query->sql;
            m_query->sortSql.clear();
        }
        if (!m_query->sortSql.empty()) {
            try {
                m_conn->prepare(m_query->sortSql);
            } catch (const vb::Error& e) {
                if (refused(e)) throw;
                m_query->sortSql.clear();
            }
        }
        const std::vector<int64_t> ids = m_conn->keyset(m_query->keySql, m_query->table, m_query->orderSql,
                                                        m_query->sortSql, m_query->parts.descending);
        rows.resize(ids.size());
        for (size_t i = 0; i < ids.size(); ++i) {
            rows[i].rowid = ids[i];
            rows[i].serial = m_nextSerial++;
        }
    } else {
        std::vector<FieldType> types;
        for (const auto& c : columns) types.push_back(c.type);
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            Row r;
            r.rowid = offset ? sqlite3_column_int64(s, 0) : 0;
            r.serial = m_nextSerial++;
            r.fetched = true;
            r.values.read(s, offset, types);
            rows.push_back(std::move(r));
        }
        if (rc != SQLITE_DONE) m_conn->fail(rc, m_query->sql);
    }
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_readOrder.clear();
    m_walkedTo = -1;
    m_walkedRows = 0;
    m_wholeFrom = -1;
    if (m_fields.size() != m_columns.size()) {
        m_fields.clear();
        for (int i = 0; i < n; ++i) m_fields.push_back(Field(this, i));
    }
    m_pos = -1;
    m_currentDeleted = false;
}

bool Recordset::Updatable() const { return !m_closed && m_query->updatable && !m_conn->readOnly(); }

void Recordset::checkOpen() const {
    if (m_closed) raise(vb::err::ObjectInvalid);
}

void Recordset::requireUpdatable() const {
    checkOpen();
    if (!m_query->updatable) raise(vb::err::ReadOnlyDatabase);
}

bool Recordset::hasCurrent() const { return !m_currentDeleted && m_pos >= 0 && m_pos < static_cast<long>(m_rows.size()); }

const Recordset::Row& Recordset::currentRow() const {
    checkOpen();
    if (m_currentDeleted) raise(vb::err::RowDeleted);
    if (!hasCurrent()) raise(vb::err::NoCurrentRecord);
    if (m_arrivalDue) {
        m_arrivalDue = false;
        arrive(m_pos, m_conn->recentChangeToken());
    }
    if (!m_rows[static_cast<size_t>(m_pos)].fetched) arrive(m_pos);
    const Row& r = m_rows[static_cast<size_t>(m_pos)];
    if (r.gone) raise(vb::err::RowDeleted);
    return r;
}

void Recordset::arrive(long index, Arrival how) const {
    m_arrivalDue = false;
    if (!m_keyset || index < 0 || index >= static_cast<long>(m_rows.size())) return;
    // A walk reads a row when something of it is read: stepping over rows costs nothing.
    if (how == Arrival::Walking) {
        m_arrivalDue = true;
        return;
    }
    arrive(index, m_conn->changeToken());
}

void Recordset::arrive(long index, uint64_t token) const {
    const Row& at = m_rows[static_cast<size_t>(index)];
    if (at.fetched && at.token == token) {
        // A walk through rows read whole lets go of those it left far behind.
        if (index == m_walkedTo) {
            m_walkedTo = index + 1;
            if (m_wholeFrom >= 0 && index - static_cast<long>(detail::kKeptRows) >= m_wholeFrom) {
                Row& behind = m_rows[static_cast<size_t>(index) - detail::kKeptRows];
                if (behind.fetched && behind.read == m_wholeRead &&
                    index - static_cast<long>(detail::kKeptRows) != m_pos) {
                    behind.values.clear();
                    behind.fetched = false;
                }
            }
        }
        return;
    }
    // This row and the stale ones after it, in one read; a cursor that walks on from the last read
    // takes many rows at once.
    const bool walking = index == m_walkedTo;
    if (walking && m_walkedRows >= detail::kWalkBeforeWhole && m_wholeFrom < 0 && !m_query->wholeSql.empty() &&
        m_rows.size() - static_cast<size_t>(index) > detail::kKeptRows) {
        readWhole(index, token);
        return;
    }
    const size_t most = static_cast<size_t>(walking ? detail::kFetchWalking : detail::kFetch);
    std::vector<size_t> batch;
    for (size_t i = static_cast<size_t>(index); i < m_rows.size() && batch.size() < most; ++i)
        if (!m_rows[i].fetched || m_rows[i].token != token) batch.push_back(i);
    const std::string& sql = walking ? m_query->fetchWalkingSql : m_query->fetchSql;
    detail::Stmt s = m_conn->prepare(sql);
    std::unordered_map<int64_t, size_t> place;
    for (size_t b = 0; b < most; ++b) {
        if (b < batch.size()) {
            sqlite3_bind_int64(s, static_cast<int>(b + 1), m_rows[batch[b]].rowid);
            place[m_rows[batch[b]].rowid] = batch[b];
        } else {
            sqlite3_bind_null(s, static_cast<int>(b + 1));
        }
    }
    for (size_t i : batch) m_rows[i].gone = true;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        const auto found = place.find(sqlite3_column_int64(s, 0));
        if (found == place.end()) continue;
        Row& r = m_rows[found->second];
        r.values.read(s, 1, m_readTypes);
        r.gone = false;
    }
    if (rc != SQLITE_DONE) m_conn->fail(rc, sql);
    for (size_t i : batch) {
        Row& r = m_rows[i];
        r.fetched = true;
        r.token = token;
        r.read = ++m_reads;
        if (r.gone) r.values.nulls(m_columns.size());
        m_readOrder.push_back({i, r.read});
    }
    m_walkedTo = batch.empty() ? -1 : static_cast<long>(batch.back()) + 1;
    m_walkedRows = walking ? m_walkedRows + batch.size() : batch.size();
    // The values of rows read long ago go again (they are read anew when visited), so that a walk
    // through a large table keeps only the rows around it. A row read again since keeps them.
    while (m_readOrder.size() > detail::kKeptRows) {
        const auto [i, read] = m_readOrder.front();
        m_readOrder.pop_front();
        if (i >= m_rows.size() || static_cast<long>(i) == m_pos) continue;
        Row& r = m_rows[i];
        if (!r.fetched || r.read != read) continue;
        r.values.clear();
        r.fetched = false;
    }
}

void Recordset::readWhole(long index, uint64_t token) const {
    // The rows still to come, by their ids; the table read once in the order of its ids.
    std::vector<std::pair<int64_t, size_t>> byId;
    byId.reserve(m_rows.size() - static_cast<size_t>(index));
    for (size_t i = static_cast<size_t>(index); i < m_rows.size(); ++i)
        if (!m_rows[i].fetched || m_rows[i].token != token) byId.push_back({m_rows[i].rowid, i});
    std::sort(byId.begin(), byId.end());
    const uint64_t read = ++m_reads;
    auto done = [&](size_t i, bool there) {
        Row& r = m_rows[i];
        if (!there) r.values.nulls(m_columns.size());
        r.gone = !there;
        r.fetched = true;
        r.token = token;
        r.read = read;
    };
    size_t next = 0;
    detail::Stmt s = m_conn->prepare(m_query->wholeSql);
    int rc = SQLITE_DONE;
    while (next < byId.size() && (rc = sqlite3_step(s)) == SQLITE_ROW) {
        const int64_t rowid = sqlite3_column_int64(s, 0);
        for (; next < byId.size() && byId[next].first < rowid; ++next) done(byId[next].second, false);
        if (next == byId.size() || byId[next].first != rowid) continue;  // not among the rows still to come
        m_rows[byId[next].second].values.read(s, 1, m_readTypes);
        done(byId[next++].second, true);
    }
    if (next < byId.size() && rc != SQLITE_DONE) m_conn->fail(rc, m_query->wholeSql);
    for (; next < byId.size(); ++next) done(byId[next].second, false);
    m_wholeFrom = index;
    m_wholeRead = read;
    m_walkedTo = index + 1;
    m_walkedRows = 0;
}

void Recordset::dropPending() {
    m_mode = EditMode::None;
    m_buffer.clear();
    m_dirty.clear();
}

void Recordset::notify() {
    if (m_listener) m_listener();
}

void Recordset::moveToEnd(bool last) {
    checkOpen();
    dropPending();
    if (m_rows.empty()) raise(vb::err::NoCurrentRecord);
    m_pos = last ? static_cast<long>(m_rows.size()) - 1 : 0;
    m_currentDeleted = false;
    arrive(m_pos);
    notify();
}

void Recordset::MoveFirst() { moveToEnd(false); }
void Recordset::MoveLast() { moveToEnd(true); }

void Recordset::MoveNext() {
    checkOpen();
    dropPending();
    if (m_currentDeleted) {
        m_currentDeleted = false;  // the rows after the deleted one moved up by one
    } else {
        if (m_rows.empty() || m_pos >= static_cast<long>(m_rows.size())) raise(vb::err::NoCurrentRecord);
        ++m_pos;
    }
    arrive(m_pos, Arrival::Walking);
    notify();
}

void Recordset::MovePrevious() {
    checkOpen();
    dropPending();
    if (m_rows.empty() || m_pos < 0) raise(vb::err::NoCurrentRecord);
    m_currentDeleted = false;
    --m_pos;
    arrive(m_pos, Arrival::Walking);
    notify();
}

bool Recordset::Eof() const { return m_rows.empty() || m_pos >= static_cast<long>(m_rows.size()); }
bool Recordset::Bof() const { return m_rows.empty() || m_pos < 0; }
long Recordset::RecordCount() const { return static_cast<long>(m_rows.size()); }
long Recordset::AbsolutePosition() const { return hasCurrent() ? m_pos : -1; }

std::string Recordset::Bookmark() const {
    if (m_mode == EditMode::Add) raise(vb::err::NoCurrentRecord);
    return std::to_string(currentRow().serial);
}

void Recordset::setBookmark(const std::string& bookmark) {
    checkOpen();
    char* end = nullptr;
    const long long serial = std::strtoll(bookmark.c_str(), &end, 10);
    if (bookmark.empty() || *end) raise(vb::err::InvalidBookmark);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].serial == serial) {
            dropPending();
            m_pos = static_cast<long>(i);
            m_currentDeleted = false;
            arrive(m_pos);
            notify();
            return;
        }
    }
    raise(vb::err::InvalidBookmark);
}

Field& Recordset::Fields(std::string_view name) {
    checkOpen();
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (detail::sameName(m_columns[i].name, name)) return m_fields[i];
    raise(vb::err::ItemNotFound, std::string(name));
}

Field& Recordset::Fields(int index) {
    checkOpen();
    if (index < 0 || index >= FieldCount()) raise(vb::err::ItemNotFound, std::to_string(index));
    return m_fields[static_cast<size_t>(index)];
}

void Recordset::find(const std::string& criteria, bool forward, long start) {
    checkOpen();
    dropPending();
    m_arrivalDue = false;
    std::vector<std::string> names;
    for (const auto& c : m_columns) names.push_back(c.name);
    detail::Stmt s = m_conn->prepare(detail::criteriaQuery(criteria, names), vb::err::CriteriaSyntaxError);
    const long n = static_cast<long>(m_rows.size());
    const long step = forward ? 1 : -1;
    m_noMatch = true;
    const uint64_t token = m_keyset ? m_conn->changeToken() : 0;
    long k = start;
    for (long looked = 0; k >= 0 && k < n; k += step, ++looked) {
        // Past the first rows of a whole table the file's indexes find the row instead.
        if (looked == detail::kFetch && !m_query->rowsSql.empty()) {
            if (findByRows(criteria, names, forward, k)) return;
        }
        if (m_keyset) arrive(k, token);
        const Row& r = m_rows[static_cast<size_t>(k)];
        if (r.gone) continue;
        for (size_t i = 0; i < m_columns.size(); ++i)
            detail::bindVariant(s, static_cast<int>(i + 1), r.values.get(i, m_columns[i].type));
        const int rc = sqlite3_step(s);
        sqlite3_reset(s);
        if (rc == SQLITE_ROW) {
            m_noMatch = false;
            m_pos = k;
            m_currentDeleted = false;
            notify();
            return;
        }
        if (rc != SQLITE_DONE) m_conn->fail(rc, criteria);
    }
}

bool Recordset::findByRows(const std::string& criteria, const std::vector<std::string>& names, bool forward, long start) {
    const std::string sql = detail::criteriaRowsQuery(criteria, names, m_query->rowsSql, [this](const std::string& f) {
        for (const auto& c : m_columns)
            if (detail::sameName(c.name, f))
                return !c.baseColumn.empty() && (c.type == FieldType::Integer || c.type == FieldType::Byte ||
                                                 c.type == FieldType::Long || c.type == FieldType::Counter);
        return false;
    });
    if (sql.empty()) return false;
    std::unordered_set<int64_t> matching;
    {
        detail::Stmt q = m_conn->prepare(sql, vb::err::CriteriaSyntaxError);
        int rc;
        while ((rc = sqlite3_step(q)) == SQLITE_ROW) matching.insert(sqlite3_column_int64(q, 0));
        if (rc != SQLITE_DONE) m_conn->fail(rc, criteria);
    }
    const long n = static_cast<long>(m_rows.size());
    for (long k = start; k >= 0 && k < n && !matching.empty(); k += forward ? 1 : -1) {
        if (!matching.count(m_rows[static_cast<size_t>(k)].rowid)) continue;
        m_noMatch = false;
        m_pos = k;
        m_currentDeleted = false;
        arrive(k);
        notify();
        return true;
    }
    return true;  // the rest of the rows holds no match
}

void Recordset::FindFirst(const std::string& criteria) { find(criteria, true, 0); }
void Recordset::FindLast(const std::string& criteria) { find(criteria, false, static_cast<long>(m_rows.size()) - 1); }
void Recordset::FindNext(const std::string& criteria) {
    // After a deleted row the next row already sits at its place.
    find(criteria, true, m_currentDeleted ? m_pos : std::max(m_pos + 1, 0L));
}
void Recordset::FindPrevious(const std::string& criteria) {
    find(criteria, false, std::min(m_pos - 1, static_cast<long>(m_rows.size()) - 1));
}

void Recordset::AddNew() {
    requireUpdatable();
    if (m_conn->readOnly()) raise(vb::err::ReadOnlyDatabase, m_conn->path());
    dropPending();
    m_buffer.clear();
    for (const auto& c : m_columns) m_buffer.push_back(c.defaultValue);
    m_dirty.assign(m_columns.size(), false);
    m_addCounter = 0;
    const detail::TableInfo* t = m_conn->table(m_query->table);
    if (!t) raise(vb::err::TableNotFound, m_query->table);
    if (t->counterIndex >= 0) {
        m_addCounter = m_conn->reserveCounter(*t);
        for (size_t i = 0; i < m_columns.size(); ++i)
            if (m_columns[i].counter) m_buffer[i] = vb::Variant(static_cast<int32_t>(m_addCounter));
    }
    m_mode = EditMode::Add;
    notify();
}

void Recordset::Edit() {
    requireUpdatable();
    if (m_conn->readOnly()) raise(vb::err::ReadOnlyDatabase, m_conn->path());
    if (hasCurrent()) arrive(m_pos);  // edit what the file holds now
    const Row& r = currentRow();
    m_buffer.clear();
    for (size_t i = 0; i < m_columns.size(); ++i) m_buffer.push_back(r.values.get(i, m_columns[i].type));
    m_dirty.assign(m_columns.size(), false);
    m_editSignatures = signaturesOf(r);
    m_mode = EditMode::InProgress;
}

void Recordset::CancelUpdate() {
    checkOpen();
    if (m_mode == EditMode::None) raise(vb::err::UpdateWithoutEdit);
    dropPending();
    notify();
}

void Recordset::Update() {
    checkOpen();
    if (m_mode == EditMode::None) raise(vb::err::UpdateWithoutEdit);
    const std::string table = quoteName(m_query->table);
    if (m_mode == EditMode::Add) {
        const detail::TableInfo* t = m_conn->table(m_query->table);
        if (!t) raise(vb::err::TableNotFound, m_query->table);
        std::string cols, params;
        std::vector<const vb::Variant*> values;
        vb::Variant counterValue;
        if (t->counterIndex >= 0) {
            counterValue = vb::Variant(static_cast<int32_t>(m_addCounter));
            cols = quoteName(t->columns[static_cast<size_t>(t->counterIndex)].name);
            params = "?1";
            values.push_back(&counterValue);
        }
        for (size_t i = 0; i < m_columns.size(); ++i) {
            if (!m_dirty[i] || m_columns[i].counter) continue;
            cols += (cols.empty() ? "" : ", ") + quoteName(m_columns[i].baseColumn);
            values.push_back(&m_buffer[i]);
            params += (params.empty() ? "?" : ", ?") + std::to_string(values.size());
        }
        const std::string sql = cols.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                             : "INSERT INTO " + table + " (" + cols + ") VALUES (" + params + ")";
        detail::Stmt s = m_conn->prepare(sql);
        for (size_t i = 0; i < values.size(); ++i) detail::bindVariant(s, static_cast<int>(i + 1), *values[i]);
        m_conn->run(s);
        m_conn->wrote();
        Row r;
        r.rowid = sqlite3_last_insert_rowid(m_conn->handle());
        r.serial = m_nextSerial++;
        r.values.assign(m_buffer);
        r.fetched = false;  // read again when visited: the file fills in its defaults
        m_rows.push_back(std::move(r));
    } else {
        Row& r = m_rows.at(static_cast<size_t>(m_pos));
        bool othersChanged = false;
        std::string sets;
        std::vector<size_t> changed;
        for (size_t i = 0; i < m_columns.size(); ++i) {
            if (!m_dirty[i]) continue;
            changed.push_back(i);
            sets += (sets.empty() ? "" : ", ") + quoteName(m_columns[i].baseColumn) + " = ?" +
                    std::to_string(changed.size());
        }
        if (!changed.empty()) {
            // Only while each field it writes still holds what Edit read: the test and the write are
            // one statement, so no other program comes between them. A field another cursor or
            // program changed meanwhile is never overwritten from the stale copy; the others'
            // changes of fields not written here stay. A refused Update stays pending as it was, and
            // every further Update of it is refused the same way.
            std::vector<int> tested;
            for (size_t i : changed) {
                const int k = m_columns[i].stored;
                if (k >= 0 && std::find(tested.begin(), tested.end(), k) == tested.end()) tested.push_back(k);
            }
            std::string sql = "UPDATE " + table + " SET " + sets + " WHERE rowid = ?" +
                              std::to_string(changed.size() + 1);
            for (size_t t = 0; t < tested.size(); ++t)
                sql += " AND " + detail::signatureOf("", m_query->stored[static_cast<size_t>(tested[t])]) + " = ?" +
                       std::to_string(changed.size() + 2 + t);
            sql += " RETURNING ";
            for (size_t k = 0; k < m_query->stored.size(); ++k)
                sql += (k ? ", " : "") + detail::signatureOf("", m_query->stored[k]);
            detail::Stmt s = m_conn->prepare(sql);
            for (size_t k = 0; k < changed.size(); ++k)
                detail::bindVariant(s, static_cast<int>(k + 1), m_buffer[changed[k]]);
            sqlite3_bind_int64(s, static_cast<int>(changed.size() + 1), r.rowid);
            for (size_t t = 0; t < tested.size(); ++t)
                sqlite3_bind_int64(s, static_cast<int>(changed.size() + 2 + t),
                                   m_editSignatures.at(static_cast<size_t>(tested[t])));
            std::vector<int64_t> now;
            if (m_conn->run(s, &now) == 0) staleRow(r);
            m_conn->wrote();
            // Fields changed elsewhere since Edit are in the row now: it is read again when next
            // looked at, instead of showing what Edit read.
            for (size_t k = 0; k < now.size(); ++k)
                if (k >= m_editSignatures.size() || now[k] != m_editSignatures[k])
                    if (std::find(tested.begin(), tested.end(), static_cast<int>(k)) == tested.end())
                        othersChanged = true;
            r.values.assign(m_buffer, now);
        }
        r.fetched = !othersChanged;
        r.token = 0;  // read again at the next visit
    }
    dropPending();
    notify();
}

void Recordset::Delete() {
    requireUpdatable();
    if (m_conn->readOnly()) raise(vb::err::ReadOnlyDatabase, m_conn->path());
    dropPending();
    (void)currentRow();
    Row& r = m_rows[static_cast<size_t>(m_pos)];
    // Only the row as it was read, every field: a row changed since is not deleted unseen.
    std::string sql = "DELETE FROM " + quoteName(m_query->table) + " WHERE rowid = ?1";
    for (size_t k = 0; k < m_query->stored.size(); ++k)
        sql += " AND " + detail::signatureOf("", m_query->stored[k]) + " = ?" + std::to_string(k + 2);
    detail::Stmt s = m_conn->prepare(sql);
    sqlite3_bind_int64(s, 1, r.rowid);
    const std::vector<int64_t> signatures = signaturesOf(r);
    for (size_t k = 0; k < m_query->stored.size(); ++k)
        sqlite3_bind_int64(s, static_cast<int>(k + 2), k < signatures.size() ? signatures[k] : 0);
    if (m_conn->run(s) == 0) staleRow(r);
    m_conn->wrote();
    m_rows.erase(m_rows.begin() + m_pos);
    m_currentDeleted = true;
    notify();
}

void Recordset::Requery() {
    checkOpen();
    dropPending();
    load();
    if (!m_rows.empty()) {
        m_pos = 0;
        arrive(0);
    }
    notify();
}

void Recordset::Close() {
    dropPending();
    m_closed = true;
    m_rows.clear();
}

void Recordset::staleRow(Row& r) {
    // Read again when next looked at; what the file holds now tells a deleted row from a changed one.
    r.fetched = false;
    detail::Stmt s = m_conn->prepare("SELECT 1 FROM " + quoteName(m_query->table) + " WHERE rowid = ?1");
    sqlite3_bind_int64(s, 1, r.rowid);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) m_conn->fail(rc, m_query->table);
    raise(rc == SQLITE_ROW ? vb::err::ChangedByOther : vb::err::RowDeleted);
}

vb::Variant Recordset::fieldValue(int index) const {
    checkOpen();
    if (m_mode != EditMode::None) return m_buffer[static_cast<size_t>(index)];
    return currentRow().values.get(static_cast<size_t>(index), m_columns[static_cast<size_t>(index)].type);
}

std::vector<int64_t> Recordset::signaturesOf(const Row& r) const {
    if (!r.values.asRead()) return r.values.signatures();
    std::vector<int64_t> out;
    out.reserve(m_storedAt.size());
    for (size_t at : m_storedAt) out.push_back(r.values.signature(at));
    return out;
}

void Recordset::setFieldValue(int index, const vb::Variant& v) {
    checkOpen();
    if (m_mode == EditMode::None) raise(vb::err::UpdateWithoutEdit);
    const Column& c = m_columns[static_cast<size_t>(index)];
    if (c.counter || c.baseColumn.empty()) raise(vb::err::FieldNotUpdatable, c.name);
    m_buffer[static_cast<size_t>(index)] = coerce(c, v);
    m_dirty[static_cast<size_t>(index)] = true;
}

vb::Variant Recordset::coerce(const Column& c, const vb::Variant& v) const {
    if (v.isNull() || v.isEmpty()) {
        if (c.type == FieldType::Boolean) return vb::Variant(false);  // Yes/No is never empty
        return vb::Variant::null();
    }
    auto number = [&]() -> double {
        try {
            return v.toDouble();
        } catch (const vb::Error& e) {
            raise(vb::err::TypeMismatch, c.name);
        }
    };
    auto whole = [&](double lo, double hi) -> double {
        const double r = roundHalfEven(number());
        if (r < lo || r > hi) raise(vb::err::NumericOverflow, c.name);
        return r;
    };
    switch (c.type) {
    case FieldType::Integer: return vb::Variant(static_cast<int16_t>(whole(-32768, 32767)));
    case FieldType::Byte: return vb::Variant(static_cast<int16_t>(whole(0, 255)));
    case FieldType::Long:
    case FieldType::Counter: return vb::Variant(static_cast<int32_t>(whole(-2147483648.0, 2147483647.0)));
    case FieldType::Boolean: return vb::Variant(number() != 0);
    case FieldType::Single: {
        const double d = number();
        if (std::fabs(d) > std::numeric_limits<float>::max()) raise(vb::err::NumericOverflow, c.name);
        return vb::Variant(static_cast<float>(d));
    }
    case FieldType::Double:
    case FieldType::Currency: return vb::Variant(number());
    case FieldType::Date: {
        if (v.type() == vb::Variant::Type::Date) return v;
        return vb::Variant(vb::Variant::DateValue{number()});
    }
    case FieldType::Text: {
        std::string s = v.type() == vb::Variant::Type::Boolean ? (v.toBool() ? "-1" : "0") : v.toString();
        if (detail::charCount(s) > static_cast<size_t>(c.size)) raise(vb::err::FieldTooSmall, c.name);
        return vb::Variant(std::move(s));
    }
    case FieldType::Memo:
        return vb::Variant(v.type() == vb::Variant::Type::Boolean ? std::string(v.toBool() ? "-1" : "0") : v.toString());
    case FieldType::Variant: return v;
    }
    return v;
}

std::string Field::Name() const { return m_rs->m_columns[static_cast<size_t>(m_index)].name; }
FieldType Field::Type() const { return m_rs->m_columns[static_cast<size_t>(m_index)].type; }
int Field::Size() const {
    const auto& c = m_rs->m_columns[static_cast<size_t>(m_index)];
    switch (c.type) {
    case FieldType::Text: return c.size;
    case FieldType::Boolean:
    case FieldType::Byte: return 1;
    case FieldType::Integer: return 2;
    case FieldType::Long:
    case FieldType::Counter:
    case FieldType::Single: return 4;
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::Date: return 8;
    default: return 0;
    }
}
vb::Variant Field::Value() const { return m_rs->fieldValue(m_index); }
void Field::setValue(const vb::Variant& value) { m_rs->setFieldValue(m_index, value); }

}  // namespace db
