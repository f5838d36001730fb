#include "platform/db/database.h"

#include <filesystem>
#include <map>
#include <set>

#include "platform/db/connection.h"
#include "platform/db/errors.h"
#include "platform/db/jet_sql.h"
#include "platform/db/recordset.h"
#include "platform/db/text.h"

namespace db {

using detail::quoteName;

Database::Database(std::shared_ptr<detail::Connection> conn, DBEngine::Login login)
    : m_conn(std::move(conn)), m_login(std::move(login)) {
    m_name = m_conn->path();
}

Database::~Database() {
    try {
        Close();
    } catch (...) {
    }
}

bool Database::isOpen() const { return m_conn && m_conn->isOpen(); }

std::shared_ptr<detail::Connection> Database::connection() const {
    if (!m_conn || !m_conn->isOpen()) raise(vb::err::ObjectInvalid);
    return m_conn;
}

bool Database::readOnly() const { return m_conn ? m_conn->readOnly() : false; }

void Database::Close() {
    if (!m_conn) return;
    while (m_ownTrans > 0) {  // an open transaction is given up, as when the engine closes it
        --m_ownTrans;
        try {
            m_conn->rollback();
        } catch (...) {
        }
    }
    m_conn->checkpointAsLettingGo();
    m_conn.reset();
}

namespace {

// SELECT … INTO target FROM … [IN '<file>']: the new table keeps the source columns' types.
long selectInto(detail::Connection& target, const detail::Statement& st, const DBEngine::Login&) {
    std::shared_ptr<detail::Connection> sourceHold;
    detail::Connection* source = &target;
    if (!st.inPath.empty()) {
        std::string path = detail::resolvePath(st.inPath);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) && st.inPath.find("''") != std::string::npos) {
            std::string unq = st.inPath;
            for (size_t at; (at = unq.find("''")) != std::string::npos;) unq.erase(at, 1);
            path = detail::resolvePath(unq);
        }
        sourceHold = detail::Connection::open(path, true, false, DBEngine::instance().defaultLogin());
        source = sourceHold.get();
    }
    if (target.table(st.intoTable)) raise(vb::err::ObjectExists, st.intoTable);
    detail::Stmt read = source->prepare(st.sql);
    const int n = sqlite3_column_count(read);
    std::string create = "CREATE TABLE " + quoteName(st.intoTable) + " (";
    std::string insert = "INSERT INTO " + quoteName(st.intoTable) + " VALUES (";
    for (int i = 0; i < n; ++i) {
        const char* decl = sqlite3_column_decltype(read, i);
        int size = 0;
        FieldType type = detail::typeFromDecl(decl ? decl : "", size);
        create += (i ? ", " : "") + detail::columnSql(sqlite3_column_name(read, i), type, size);
        insert += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    create += ")";
    insert += ")";
    detail::Savepoint sp(target);
    target.exec(create);
    target.schemaChanged();
    long rows = 0;
    {
        detail::Stmt write = target.prepare(insert);
        int rc;
        while ((rc = sqlite3_step(read)) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
            target.run(write);
            sqlite3_reset(write);
            ++rows;
        }
        if (rc != SQLITE_DONE) source->fail(rc, st.sql);
    }
    sp.release();
    target.wrote();
    return rows;
}

// A stored query names its columns as the old files' engine did: a column whose name occurs more
// than once in the query takes its table's name ("thementitel.titel" and "Literatur.Titel"), so that
// each stays reachable by name and can be searched and sorted on.
std::string namedView(detail::Connection& c, const detail::Statement& st) {
    std::vector<std::string> names;
    {
        detail::Stmt s = c.prepare(st.viewSelect);
        const int n = sqlite3_column_count(s);
        std::vector<std::string> tables, origins;
        for (int i = 0; i < n; ++i) {
            const char* name = sqlite3_column_name(s, i);
            const char* table = sqlite3_column_table_name(s, i);
            const char* origin = sqlite3_column_origin_name(s, i);
            names.push_back(name ? name : "");
            tables.push_back(table ? table : "");
            origins.push_back(origin ? origin : "");
        }
        std::map<std::string, int> uses;
        for (const auto& name : names) ++uses[detail::foldName(name)];
        std::vector<std::string> jet = names;
        for (size_t i = 0; i < names.size(); ++i)
            if (uses[detail::foldName(names[i])] > 1 && !tables[i].empty() && detail::sameName(names[i], origins[i]))
                jet[i] = tables[i] + "." + names[i];
        std::set<std::string> distinct;
        for (const auto& name : jet) distinct.insert(detail::foldName(name));
        if (distinct.size() != jet.size()) return st.sql;  // SQLite names what stays ambiguous
        names = std::move(jet);
    }
    std::string sql = "CREATE VIEW " + quoteName(st.viewName) + " (";
    for (size_t i = 0; i < names.size(); ++i) sql += (i ? ", " : "") + quoteName(names[i]);
    return sql + ") AS " + st.viewSelect;
}

}  // namespace

void Database::Execute(const std::string& sql, int) {
    auto conn = connection();
    const auto st = detail::translateStatement(sql, conn->dottedColumnsOf(sql));
    m_recordsAffected = 0;
    switch (st.kind) {
    case detail::Statement::Select: raise(vb::err::CannotExecuteSelectQuery, sql);
    case detail::Statement::SelectInto: m_recordsAffected = selectInto(*conn, st, m_login); return;
    case detail::Statement::Insert:
    case detail::Statement::Update:
    case detail::Statement::Delete: {
        detail::Stmt s = conn->prepare(st.sql);
        m_recordsAffected = conn->run(s);
        conn->wrote();
        return;
    }
    case detail::Statement::Drop: {
        const std::string dropped = detail::dropTableName(sql);
        if (!dropped.empty()) {
            // A table that other tables' rows depend on stays: dropping it would delete them.
            detail::Stmt q = conn->prepare("SELECT 1 FROM zuvsys_relations WHERE tbl = ?1 COLLATE NOCASE");
            sqlite3_bind_text(q, 1, dropped.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(q) == SQLITE_ROW) raise(vb::err::TableInRelationship, dropped);
        }
        detail::Savepoint sp(*conn);
        conn->exec(st.sql);
        if (!dropped.empty()) {
            detail::Stmt d = conn->prepare("DELETE FROM zuvsys_relations WHERE ftbl = ?1 COLLATE NOCASE");
            sqlite3_bind_text(d, 1, dropped.c_str(), -1, SQLITE_TRANSIENT);
            conn->run(d);
        }
        sp.release();
        conn->schemaChanged();
        conn->wrote();
        return;
    }
    case detail::Statement::CreateView:
        conn->exec(st.viewName.empty() ? st.sql : namedView(*conn, st));
        conn->schemaChanged();
        conn->wrote();
        return;
    default:
        conn->exec(st.sql);
        conn->schemaChanged();
        conn->wrote();
    }
}

std::shared_ptr<Recordset> Database::OpenRecordset(const std::string& source, RecordsetType type) {
    auto rs = std::make_shared<Recordset>(connection(), source, type);
    return rs;
}

std::vector<std::string> Database::TableDefs() const { return connection()->tableNames(); }

bool Database::hasTable(std::string_view name) const {
    const auto* t = connection()->table(name);
    return t && !t->isView;
}

std::vector<std::string> Database::Relations() const {
    auto conn = connection();
    std::vector<std::string> out;
    detail::Stmt s = conn->prepare("SELECT name FROM zuvsys_relations ORDER BY rowid");
    while (sqlite3_step(s) == SQLITE_ROW) out.push_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    return out;
}

void Database::CreateRelation(const std::string& name, const std::string& table, const std::string& foreignTable,
                              int attributes, const std::string& field, const std::string& foreignField) {
    auto conn = connection();
    if (conn->readOnly()) raise(vb::err::ReadOnlyDatabase, conn->path());
    const detail::TableInfo* parent = conn->table(table);
    const detail::TableInfo* child = conn->table(foreignTable);
    if (!parent || parent->isView) raise(vb::err::TableNotFound, table);
    if (!child || child->isView) raise(vb::err::TableNotFound, foreignTable);
    const detail::ColumnInfo* pcol = parent->column(field);
    const detail::ColumnInfo* ccol = child->column(foreignField);
    if (!pcol) raise(vb::err::ItemNotFound, field);
    if (!ccol) raise(vb::err::ItemNotFound, foreignField);
    const std::string parentName = parent->name, childName = child->name;
    const std::string pField = pcol->name, cField = ccol->name;
    {
        detail::Stmt s = conn->prepare("SELECT 1 FROM zuvsys_relations WHERE name = ?1");
        sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(s) == SQLITE_ROW) raise(vb::err::NamedObjectExists, name);
    }
    // The parent field must be unique: the primary key or a unique index on it alone.
    bool unique = pcol->primaryKey &&
                  parent->columns.end() == std::find_if(parent->columns.begin(), parent->columns.end(),
                                                        [&](const auto& c) { return c.primaryKey && &c != pcol; });
    if (!unique) {
        detail::Stmt il = conn->prepare(
            "SELECT il.name FROM pragma_index_list(?1) il WHERE il.\"unique\" = 1 AND "
            "(SELECT count(*) FROM pragma_index_info(il.name)) = 1 AND "
            "(SELECT name FROM pragma_index_info(il.name)) = ?2 COLLATE NOCASE");
        sqlite3_bind_text(il, 1, parentName.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(il, 2, pField.c_str(), -1, SQLITE_TRANSIENT);
        unique = sqlite3_step(il) == SQLITE_ROW;
    }
    if (!unique) raise(vb::err::NoUniqueIndexOnPrimaryField, table + "." + field);

    detail::Savepoint sp(*conn);
    if (!(attributes & dbRelationDontEnforce)) {
        std::string createSql;
        std::vector<std::string> indexSql;
        {
            detail::Stmt s = conn->prepare("SELECT type, sql FROM sqlite_schema WHERE tbl_name = ?1 AND sql IS NOT NULL");
            sqlite3_bind_text(s, 1, childName.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW) {
                const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
                const std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
                if (type == "table") createSql = sql;
                else indexSql.push_back(sql);
            }
        }
        const size_t open = createSql.find('('), close = createSql.rfind(')');
        if (open == std::string::npos || close == std::string::npos) raise(vb::err::NotADatabase, childName);
        const std::string tmp = "zuv_rebuild_" + childName;
        std::string newSql = "CREATE TABLE " + quoteName(tmp) + " " + createSql.substr(open, close - open) +
                             ", CONSTRAINT " + quoteName(name) + " FOREIGN KEY (" + quoteName(cField) + ") REFERENCES " +
                             quoteName(parentName) + " (" + quoteName(pField) + ")";
        if (attributes & dbRelationUpdateCascade) newSql += " ON UPDATE CASCADE";
        if (attributes & dbRelationDeleteCascade) newSql += " ON DELETE CASCADE";
        newSql += ")";
        std::string cols;
        for (size_t i = 0; i < child->columns.size(); ++i) cols += (i ? ", " : "") + quoteName(child->columns[i].name);
        conn->exec(newSql);
        conn->exec("INSERT INTO " + quoteName(tmp) + " (rowid, " + cols + ") SELECT rowid, " + cols + " FROM " +
                   quoteName(childName));
        conn->exec("PRAGMA legacy_alter_table=ON");
        conn->exec("DROP TABLE " + quoteName(childName));
        conn->exec("ALTER TABLE " + quoteName(tmp) + " RENAME TO " + quoteName(childName));
        conn->exec("PRAGMA legacy_alter_table=OFF");
        for (const auto& s : indexSql) conn->exec(s);
    }
    {
        detail::Stmt s = conn->prepare("INSERT INTO zuvsys_relations VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, parentName.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, childName.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 4, pField.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 5, cField.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 6, attributes);
        conn->run(s);
    }
    sp.release();
    conn->schemaChanged();
    conn->wrote();
}

Document::Document(std::shared_ptr<detail::Connection> conn, std::string container, std::string name)
    : m_conn(std::move(conn)), m_container(std::move(container)), m_name(std::move(name)) {}

long Document::Permissions() const {
    detail::Stmt s = m_conn->prepare(
        "SELECT permissions FROM zuvsys_permissions WHERE container = ?1 AND document = ?2 AND username = ?3 "
        "COLLATE NOCASE");
    sqlite3_bind_text(s, 1, m_container.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 2, m_name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 3, m_userName.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s) == SQLITE_ROW) return static_cast<long>(sqlite3_column_int64(s, 0));
    return -1;  // all rights until someone restricts them
}

void Document::setPermissions(long permissions) {
    if (m_userName.empty()) raise(vb::err::ItemNotFound, "UserName");
    if (m_conn->readOnly()) raise(vb::err::ReadOnlyDatabase, m_conn->path());
    detail::Stmt s = m_conn->prepare("INSERT OR REPLACE INTO zuvsys_permissions VALUES (?1, ?2, ?3, ?4)");
    sqlite3_bind_text(s, 1, m_container.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 2, m_name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 3, m_userName.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 4, permissions);
    m_conn->run(s);
    m_conn->wrote();
}

Container::Container(std::shared_ptr<detail::Connection> conn, std::string name, std::vector<std::string> docs)
    : m_name(std::move(name)) {
    for (auto& d : docs) m_documents.push_back(Document(conn, m_name, d));
}

Document& Container::Documents(int index) {
    if (index < 0 || index >= DocumentCount()) raise(vb::err::ItemNotFound, m_name + "(" + std::to_string(index) + ")");
    return m_documents[static_cast<size_t>(index)];
}

Container Database::Containers(const std::string& name) {
    auto conn = connection();
    if (detail::sameName(name, "Databases")) return Container(conn, "Databases", {"MSysDb"});
    if (detail::sameName(name, "Tables")) return Container(conn, "Tables", conn->tableNames());
    raise(vb::err::ItemNotFound, name);
}

void Database::BeginTrans() {
    connection()->begin();
    ++m_ownTrans;
}

void Database::CommitTrans() {
    if (m_ownTrans == 0) raise(vb::err::CommitWithoutBeginTrans);
    connection()->commit();
    --m_ownTrans;
}

void Database::Rollback() {
    if (m_ownTrans == 0) raise(vb::err::CommitWithoutBeginTrans);
    // A file let go meanwhile took its open transaction with it: nothing is left to undo.
    if (m_conn && m_conn->isOpen()) m_conn->rollback();
    --m_ownTrans;
}

}  // namespace db
