#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/db/engine.h"
#include "platform/db/types.h"

namespace db {

class Recordset;
namespace detail {
class Connection;
}

// A document of a container ("Databases" document 0, "Tables" document i): the rights of one
// user or group on it. The owner account always keeps its rights.
class Document {
public:
    const std::string& Name() const { return m_name; }
    const std::string& UserName() const { return m_userName; }
    void setUserName(std::string name) { m_userName = std::move(name); }
    long Permissions() const;
    void setPermissions(long permissions);

private:
    friend class Container;
    Document(std::shared_ptr<detail::Connection> conn, std::string container, std::string name);
    std::shared_ptr<detail::Connection> m_conn;
    std::string m_container;
    std::string m_name;
    std::string m_userName;
};

class Container {
public:
    const std::string& Name() const { return m_name; }
    int DocumentCount() const { return static_cast<int>(m_documents.size()); }
    Document& Documents(int index);  // 3265 outside 0..DocumentCount()-1

private:
    friend class Database;
    Container(std::shared_ptr<detail::Connection> conn, std::string name, std::vector<std::string> docs);
    std::string m_name;
    std::vector<Document> m_documents;
};

class Database : public std::enable_shared_from_this<Database> {
public:
    Database(std::shared_ptr<detail::Connection> conn, DBEngine::Login login);
    ~Database();

    // The file's path as it was given.
    const std::string& Name() const { return m_name; }
    bool readOnly() const;

    // Runs one action or definition statement in the Jet dialect (CREATE TABLE/INDEX/VIEW,
    // DROP, INSERT, UPDATE, DELETE, SELECT ... INTO ... [IN '<file>']).
    void Execute(const std::string& sql, int options = 0);
    long RecordsAffected() const { return m_recordsAffected; }

    // source: a table name or a SELECT text.
    std::shared_ptr<Recordset> OpenRecordset(const std::string& source, RecordsetType type = RecordsetType::Dynaset);

    // Names of the tables (without internal ones), in alphabetical order.
    std::vector<std::string> TableDefs() const;
    bool hasTable(std::string_view name) const;  // without regard to case

    // A relation from table.field (unique) to foreignTable.foreignField. With enforcement a child
    // row needs its parent (3201); attributes add cascading update (256) and delete (4096).
    void CreateRelation(const std::string& name, const std::string& table, const std::string& foreignTable,
                        int attributes, const std::string& field, const std::string& foreignField);
    std::vector<std::string> Relations() const;

    Container Containers(const std::string& name);  // "Databases", "Tables"; 3265 otherwise

    void BeginTrans();
    void CommitTrans();  // 3034 without BeginTrans
    void Rollback();

    void Close();
    // False after Close, and once the engine let go of the file (DBEngine::releaseFile).
    bool isOpen() const;

    std::shared_ptr<detail::Connection> connection() const;  // 3420 when closed

    void setName(std::string name) { m_name = std::move(name); }

private:
    std::shared_ptr<detail::Connection> m_conn;
    DBEngine::Login m_login;
    std::string m_name;
    long m_recordsAffected = 0;
    int m_ownTrans = 0;
};

// Runs `steps` in one transaction of `d`: committed when they succeed, rolled back when they fail.
// The error that ended them is the one that leaves; a rollback that fails as well does not take
// its place.
template <class Steps>
auto inTransaction(Database& d, Steps&& steps) -> decltype(steps()) {
    d.BeginTrans();
    try {
        if constexpr (std::is_void_v<decltype(steps())>) {
            steps();
            d.CommitTrans();
        } else {
            auto result = steps();
            d.CommitTrans();
            return result;
        }
    } catch (...) {
        try {
            d.Rollback();
        } catch (...) {
        }
        throw;
    }
}

}  // namespace db
