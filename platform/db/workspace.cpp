#include "platform/db/workspace.h"

#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/errors.h"
#include "platform/db/text.h"

namespace db {

Workspace::Workspace(std::string name, DBEngine::Login login) : m_name(std::move(name)), m_login(std::move(login)) {}

std::shared_ptr<Database> Workspace::OpenDatabase(const std::string& path, bool exclusive, bool readOnly,
                                                  const std::string&) {
    if (m_closed) raise(vb::err::ObjectInvalid);
    auto conn = detail::Connection::open(detail::resolvePath(path), readOnly, exclusive, m_login);
    auto database = std::make_shared<Database>(conn, m_login);
    database->setName(path);
    std::erase_if(m_databases, [](const auto& w) { return w.expired(); });
    m_databases.push_back(database);
    return database;
}

std::shared_ptr<Database> Workspace::CreateDatabase(const std::string& path, const std::string&, int options) {
    if (m_closed) raise(vb::err::ObjectInvalid);
    auto conn = detail::Connection::create(detail::resolvePath(path), m_login, (options & dbInstallation) != 0);
    auto database = std::make_shared<Database>(conn, m_login);
    database->setName(path);
    std::erase_if(m_databases, [](const auto& w) { return w.expired(); });
    m_databases.push_back(database);
    return database;
}

void Workspace::BeginTrans() {
    for (auto& w : m_databases)
        if (auto d = w.lock(); d && d->isOpen()) d->BeginTrans();
}

// Commit and rollback need at least one open database to end a transaction in.
void Workspace::endTrans(void (Database::*end)()) {
    bool any = false;
    for (auto& w : m_databases)
        if (auto d = w.lock(); d && d->isOpen()) {
            (d.get()->*end)();
            any = true;
        }
    if (!any) raise(vb::err::CommitWithoutBeginTrans);
}

void Workspace::CommitTrans() { endTrans(&Database::CommitTrans); }

void Workspace::Close() {
    for (auto& w : m_databases)
        if (auto d = w.lock()) d->Close();
    m_databases.clear();
    m_closed = true;
}

}  // namespace db
