#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/field.h"
#include "platform/db/types.h"
#include "platform/vb/variant.h"

struct sqlite3_stmt;

namespace db {

namespace detail {
class Connection;
struct Query;
}  // namespace detail

// The rows of a table or query, chosen when opened and at Requery. A dynaset or table-type
// recordset of one table keeps its rows' ids and reads a row's values when it comes to the row
// (again if the file changed since), so it sees what other cursors wrote and Edit/Update/Delete
// change exactly that row; a row deleted meanwhile raises 3167. A snapshot, and a query over
// several tables, is a copy read whole and cannot be changed (3027). Edit and AddNew are
// buffered: nothing is locked until Update writes only the fields that were set. Locking is
// optimistic: Update of a field that anyone (another program, another cursor) changed since Edit
// read it, and Delete of a row changed in any field since it was last read, fail with 3197 and
// write nothing.
// AddNew takes the counter value at once. Rows that tie under ORDER BY keep their stored order.
class Recordset {
public:
    Recordset(std::shared_ptr<detail::Connection> conn, const std::string& source, RecordsetType type);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    RecordsetType Type() const { return m_type; }
    const std::string& Source() const { return m_source; }
    bool Updatable() const;

    // Moving cancels a pending Edit or AddNew. 3021 when there is no row to move to.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    bool Eof() const;
    bool Bof() const;
    long RecordCount() const;
    long AbsolutePosition() const;  // -1 without a current row

    // Identifies the current row for setBookmark (3021 without a current row).
    std::string Bookmark() const;
    void setBookmark(const std::string& bookmark);  // 3159 for an unknown bookmark

    Field& Fields(std::string_view name);  // without regard to case; 3265 for an unknown name
    Field& Fields(int index);              // 3265 outside 0..FieldCount()-1
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    vb::Variant operator[](std::string_view name) { return Fields(name).Value(); }

    // Criteria in the Jet dialect on this recordset's fields ("itemnummer like  17",
    // "typrealwert is Null", "PersonID =5"). A failed search leaves the position unchanged.
    void FindFirst(const std::string& criteria);
    void FindNext(const std::string& criteria);
    void FindLast(const std::string& criteria);
    void FindPrevious(const std::string& criteria);
    bool NoMatch() const { return m_noMatch; }

    enum class EditMode { None = 0, InProgress = 1, Add = 2 };
    EditMode editMode() const { return m_mode; }
    void AddNew();
    void Edit();
    void Update();        // 3020 without AddNew or Edit; 3197 / 3167 for a field changed / row deleted since Edit
    void CancelUpdate();  // 3020 without AddNew or Edit
    void Delete();        // 3021 without a current row; 3197 / 3167 as Update, since the row was read
    void Requery();       // reads the rows again and stands on the first
    void Close();

    // Called after every change of the current row or of its content (moves, finds, Update,
    // AddNew, CancelUpdate, Delete, Requery). One listener; the data control uses it.
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    void moveToEnd(bool last);  // first or last row; 3021 when there is none
    friend class Field;
    struct Column {
        std::string name;
        FieldType type = FieldType::Variant;
        int size = 0;
        std::string baseColumn;  // "" = computed, not updatable
        bool counter = false;
        vb::Variant defaultValue;
        int stored = -1;  // the base column's place among the signed stored columns
    };
    // A row's values in one block of memory: as SQLite gave them (each read as its column's type
    // when asked for, and signed as it was read), or as the recordset stored them. A table of many
    // thousand rows then costs one allocation a row instead of one for many of its values.
    class Values {
    public:
        size_t size() const { return m_data ? header().count : 0; }
        void clear() { m_data.reset(); }  // and gives the memory back
        void nulls(size_t n);
        // Values stored through the recordset, and the signatures of the row's stored fields as
        // the file holds them now.
        void assign(const std::vector<vb::Variant>& values, const std::vector<int64_t>& signatures = {});
        // The columns first, first + 1, … of the statement's row, read as `types` says.
        void read(sqlite3_stmt* s, int first, const std::vector<FieldType>& types);
        vb::Variant get(size_t index, FieldType type) const;
        bool asRead() const { return m_data && header().asRead; }
        // Of values read: the signature of the value as SQLite gave it (kColumnSignature).
        int64_t signature(size_t index) const;
        // Of values assigned: the signatures given.
        std::vector<int64_t> signatures() const;

    private:
        struct Header {
            uint32_t count;
            uint32_t signatures;
            uint32_t size;  // of the values
            bool asRead;
        };
        const Header& header() const { return *reinterpret_cast<const Header*>(m_data.get()); }
        const char* bytes() const { return m_data.get() + sizeof(Header); }
        size_t offset(size_t index) const;
        void take(const std::string& bytes, uint32_t count, const std::vector<int64_t>& signatures, bool asRead);
        std::unique_ptr<char[]> m_data;
    };
    struct Row {
        int64_t rowid = 0;
        int64_t serial = 0;
        // The recordset's columns, then the stored fields it does not show (for their signatures).
        Values values;
        uint64_t token = 0;    // the file's change token when the values were read
        uint64_t read = 0;     // which read of the recordset's brought them
        bool fetched = false;  // values read (always for a snapshot)
        bool gone = false;     // deleted since the recordset was opened
    };

    void load();
    void checkOpen() const;
    void requireUpdatable() const;
    const Row& currentRow() const;  // 3021 / 3167
    // A dynaset reads a row's values when it arrives there, and again when the file changed since.
    // A cursor walking from row to row (MoveNext, MovePrevious) arrives when something of the row
    // is read, and takes what it read with the rows before as still current when no other program
    // changed the file a moment before (Connection::recentChangeToken).
    enum class Arrival { Direct, Walking };
    void arrive(long index, Arrival how = Arrival::Direct) const;
    void arrive(long index, uint64_t token) const;
    bool hasCurrent() const;
    void dropPending();
    void notify();
    void find(const std::string& criteria, bool forward, long start);
    // The rest of a search from `start`, the file's indexes finding the rows the criterion matches;
    // false when the criterion is not one that can be searched for so (see criteriaRowsQuery).
    bool findByRows(const std::string& criteria, const std::vector<std::string>& names, bool forward, long start);
    // The rows from `index` on that are not current, read in one pass over the table in its own order.
    void readWhole(long index, uint64_t token) const;
    // The signatures of the row's stored fields as it was read.
    std::vector<int64_t> signaturesOf(const Row& r) const;
    vb::Variant fieldValue(int index) const;
    void setFieldValue(int index, const vb::Variant& v);
    vb::Variant coerce(const Column& c, const vb::Variant& v) const;
    // A write found the row other than it was read: 3197 when it was changed, 3167 when deleted.
    [[noreturn]] void staleRow(Row& r);

    std::shared_ptr<detail::Connection> m_conn;
    std::string m_source;
    RecordsetType m_type;
    std::unique_ptr<detail::Query> m_query;
    std::vector<Column> m_columns;
    std::vector<Field> m_fields;
    mutable std::vector<Row> m_rows;
    mutable std::deque<std::pair<size_t, uint64_t>> m_readOrder;  // rows and their reads, in order
    mutable uint64_t m_reads = 0;
    mutable long m_walkedTo = -1;        // the row after the last ones read
    mutable bool m_arrivalDue = false;   // the walk came to the current row, not yet read
    mutable size_t m_walkedRows = 0;     // rows the walk read one batch after the other
    mutable long m_wholeFrom = -1;       // the walk read the rest of the rows whole from here
    mutable uint64_t m_wholeRead = 0;    // as that read
    std::vector<FieldType> m_readTypes;  // of the values a row holds
    std::vector<size_t> m_storedAt;      // where each stored field's value is among them
    bool m_keyset = false;               // rows hold their ids and read their values when visited
    long m_pos = -1;                     // -1 = before the first row, size() = after the last
    bool m_currentDeleted = false;       // the current row was deleted and nothing moved since
    bool m_noMatch = false;
    bool m_closed = false;
    EditMode m_mode = EditMode::None;
    std::vector<vb::Variant> m_buffer;
    std::vector<bool> m_dirty;
    std::vector<int64_t> m_editSignatures;  // of the row's stored fields as Edit read them
    int64_t m_addCounter = 0;
    int64_t m_nextSerial = 1;
    std::function<void()> m_listener;
};

}  // namespace db
