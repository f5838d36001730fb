#pragma once

#include <memory>
#include <string>

#include "desk/frame/datendatei_schema.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"

// A data file as the main window makes it, for the engine's tests and the benchmarks: both take
// their figures and findings on the same tables.
namespace support {

// Starts the engine afresh on a new workgroup file that holds one account, logs in as that
// account by default, and opens a workspace for it.
inline std::shared_ptr<db::Workspace> startWorkgroup(const std::string& systemDb, const std::string& user,
                                                     const std::string& password,
                                                     const std::string& workspace = "Kestrel") {
    auto& e = db::DBEngine::instance();
    e.reset();
    db::createWorkgroupFile(systemDb, systemDb, {{user, password}}, {});
    e.setSystemDB(systemDb);
    e.setDefaultUser(user);
    e.setDefaultPassword(password);
    return e.CreateWorkspace(workspace, user, password);
}

// The statements that make a data file: the program's own.
inline constexpr const auto& kDataFileStatements = kDatendateiAnweisungen;

// Creates a data file the way the main window does: tables, relations, permissions, Info row.
inline std::shared_ptr<db::Database> makeDataFile(db::Workspace& ws, const std::string& path) {
    auto d = ws.CreateDatabase(path, ";LANGID=0x0409;CP=1252;COUNTRY=0", db::dbEncrypt);
    for (const char* sql : kDataFileStatements) d->Execute(sql);
    d->CreateRelation("PersDat_PersonTestErgebnis", "PersDat", "PersonTestErgebnis", 4352, "PersonID", "PersonID");
    d->CreateRelation("PersDat_Ergebnis", "PersDat", "Ergebnis", 4352, "PersonID", "PersonID");
    d->CreateRelation("PersDat_TypWertzuweisung", "PersDat", "TypWertzuweisung", 4352, "PersonID", "PersonID");
    for (const char* group : {"Admins", "Users"}) {
        auto doc = d->Containers("Databases").Documents(0);
        doc.setUserName(group);
        doc.setPermissions(0);
    }
    auto tables = d->Containers("Tables");
    for (int i = 0; i < tables.DocumentCount(); ++i)
        for (const char* group : {"Admins", "Users"}) {
            auto& doc = tables.Documents(i);
            doc.setUserName(group);
            doc.setPermissions(0);
        }
    auto info = d->OpenRecordset("Info", db::RecordsetType::Table);
    info->AddNew();
    info->Fields("Version") = "32-Bit";
    info->Update();
    info->Close();
    return d;
}

}  // namespace support
