#include "platform/db/data_control.h"

#include <set>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/database.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"
#include "platform/db/text.h"

namespace db {

namespace {
// Never destroyed: a program-wide data control may close after the exit handlers began.
std::set<DataControl*>& controls() {
    static auto* c = new std::set<DataControl*>;
    return *c;
}
}  // namespace

DataControl::DataControl() { controls().insert(this); }

DataControl::~DataControl() {
    controls().erase(this);
    if (m_recordset) m_recordset->setChangeListener(nullptr);
}

void DataControl::closeReleased() {
    std::vector<DataControl*> released;
    for (DataControl* c : controls())
        if (c->m_database && !c->m_database->isOpen()) released.push_back(c);
    for (DataControl* c : released)
        if (controls().count(c)) c->close();  // a listener may have destroyed a later one
}

void DataControl::followFile(const std::string& from, const std::string& to) {
    std::vector<DataControl*> refused;
    for (DataControl* c : controls()) {
        if (c->m_databaseName.empty() || detail::resolvePath(c->m_databaseName) != from) continue;
        c->m_databaseName = to;
        if (c->m_database) c->m_database->setName(to);
        if (c->m_refusedLost && !c->m_recordset) refused.push_back(c);
    }
    for (DataControl* c : refused) {
        if (!controls().count(c)) continue;  // a listener may have destroyed it
        try {
            c->Refresh();
        } catch (...) {
            // Said when the control is used next.
        }
    }
}

void DataControl::close() {
    m_refusedLost = false;
    if (m_recordset) m_recordset->setChangeListener(nullptr);
    m_recordset.reset();
    if (m_database) m_database->Close();
    m_database.reset();
    fire();
}

void DataControl::Refresh() {
    if (m_recordset) m_recordset->setChangeListener(nullptr);
    m_recordset.reset();
    try {
        if (m_databaseName.empty()) raise(vb::err::FileNotFoundDb, "DatabaseName");
        const std::string path = detail::resolvePath(m_databaseName);
        const bool reuse = m_database && m_database->isOpen() && m_database->connection()->path() == path &&
                           m_database->readOnly() == m_readOnly && m_openedExclusive == m_exclusive;
        if (!reuse) {
            if (m_database) m_database->Close();
            m_database.reset();
            const DBEngine::Login login = DBEngine::instance().defaultLogin();
            auto conn = detail::Connection::open(path, m_readOnly, m_exclusive, login);
            m_database = std::make_shared<db::Database>(conn, login);
            m_database->setName(m_databaseName);
            m_openedExclusive = m_exclusive;
        }
        if (!m_recordSource.empty()) {
            auto rs = m_database->OpenRecordset(m_recordSource, m_type);
            rs->setChangeListener([this] { fire(); });
            m_recordset = rs;
        }
    } catch (const vb::Error& e) {
        m_refusedLost = vb::err::fileLostWhileOpen(e.number());
        fire();
        throw;
    } catch (...) {
        m_refusedLost = false;
        fire();
        throw;
    }
    m_refusedLost = false;
    fire();
}

int DataControl::addRowListener(std::function<void()> listener) {
    const int id = m_nextListener++;
    m_listeners[id] = std::move(listener);
    return id;
}

void DataControl::removeRowListener(int id) { m_listeners.erase(id); }

void DataControl::fire() {
    // A listener may remove itself: walk a copy.
    auto copy = m_listeners;
    for (auto& [id, f] : copy)
        if (f) f();
}

}  // namespace db
