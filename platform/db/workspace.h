#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/db/engine.h"

namespace db {

class Database;

// A login session: databases created or opened through it carry its account.
class Workspace : public std::enable_shared_from_this<Workspace> {
public:
    Workspace(std::string name, DBEngine::Login login);

    const std::string& Name() const { return m_name; }
    const std::string& UserName() const { return m_login.userName; }

    // Errors: 3024 missing file, 3044 missing folder, 3343 not one of our databases or damaged,
    // 3033 another account's file, 3051 a write-protected file opened for writing,
    // 3045 the file is locked by another program or opened exclusively.
    std::shared_ptr<Database> OpenDatabase(const std::string& path, bool exclusive = false, bool readOnly = false,
                                           const std::string& connect = "");
    // locale and the option dbEncrypt are accepted as given; dbInstallation makes an installation
    // database. Errors: 3204 the file exists, 3044 missing folder.
    std::shared_ptr<Database> CreateDatabase(const std::string& path, const std::string& locale = "", int options = 0);

    // A transaction over every database opened through this workspace that is still open.
    void BeginTrans();
    void CommitTrans();

    void Close();

    const DBEngine::Login& login() const { return m_login; }

private:
    void endTrans(void (Database::*end)());

    std::string m_name;
    DBEngine::Login m_login;
    std::vector<std::weak_ptr<Database>> m_databases;
    bool m_closed = false;
};

}  // namespace db
