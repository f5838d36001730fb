#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/db/types.h"

namespace db {

class Recordset;
class Database;

// The database side of a data control: which file and which rows it shows. Refresh opens the
// file through the engine's default login and stands on the first row. The visible navigator and
// the bound controls live in the window system and follow the row through the listeners.
class DataControl {
public:
    DataControl();
    ~DataControl();
    DataControl(const DataControl&) = delete;
    DataControl& operator=(const DataControl&) = delete;

    const std::string& DatabaseName() const { return m_databaseName; }
    void setDatabaseName(std::string path) { m_databaseName = std::move(path); }
    const std::string& RecordSource() const { return m_recordSource; }
    void setRecordSource(std::string source) { m_recordSource = std::move(source); }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool Exclusive() const { return m_exclusive; }
    void setExclusive(bool on) { m_exclusive = on; }
    const std::string& Connect() const { return m_connect; }
    void setConnect(std::string connect) { m_connect = std::move(connect); }
    db::RecordsetType RecordsetType() const { return m_type; }
    void setRecordsetType(db::RecordsetType type) { m_type = type; }

    // Opens (again) and stands on the first row; the previous recordset is closed first. On an
    // error the control holds no recordset and the error goes to the caller.
    void Refresh();
    // The open recordset; nullptr before Refresh or after close().
    std::shared_ptr<db::Recordset> Recordset() const { return m_recordset; }
    // The database the recordset reads from and writes to (a transaction on it covers the
    // recordset's changes, and those of every control bound to the same file in the same mode);
    // nullptr before Refresh or after close().
    std::shared_ptr<db::Database> Database() const { return m_database; }
    // Lets go of the recordset and the file (the control stays configured).
    void close();

    // Closes every control whose file the engine let go of (DBEngine::releaseFile).
    static void closeReleased();
    // Every control bound to the file `from` is bound to `to` from now on, its database and
    // cursor kept (DBEngine::followHeldFile); one whose opening the lost file refused opens now.
    static void followFile(const std::string& from, const std::string& to);

    // Called whenever the current row or its content changes (Refresh, moves, finds, Update,
    // AddNew, CancelUpdate, Delete) and when the recordset goes away.
    int addRowListener(std::function<void()> listener);
    void removeRowListener(int id);

private:
    void fire();

    std::string m_databaseName;
    std::string m_recordSource;
    bool m_readOnly = false;
    bool m_exclusive = false;
    std::string m_connect;
    db::RecordsetType m_type = db::RecordsetType::Dynaset;
    std::shared_ptr<db::Database> m_database;
    bool m_openedExclusive = false;
    bool m_refusedLost = false;  // the last Refresh was refused: the file was lost while open
    std::shared_ptr<db::Recordset> m_recordset;
    std::map<int, std::function<void()>> m_listeners;
    int m_nextListener = 1;
};

}  // namespace db
