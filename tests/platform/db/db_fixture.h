#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/vb/error.h"
#include "support/files.h"
#include "support/vb_error.h"

namespace dbtest {

inline const char* kUser = "KestrelAdmin";
inline const char* kPassword = "MossGlade";

// The eleven statements that make a data file, in their order.
inline const char* kDataFileStatements[] = {
    "CREATE TABLE [Info] ([ID] COUNTER,[Version] TEXT( 50))",
    "CREATE TABLE [PersDat] ([PersonID] Counter,[Vorname] TEXT(150),[Nachname] TEXT(150),[Geburtstag] TEXT(10),"
    "[Strasse] TEXT(255), [PLZOrt] TEXT(150), [Land] TEXT(150), [Telefon] TEXT(150), [EMail] TEXT(150), "
    "[Testdatum] TEXT(10), [Bereich] TEXT(255), [Abteilung] TEXT(255), [Bemerkung] LONGTEXT, [Metasatz] BIT )",
    "CREATE TABLE [PersonTestErgebnis] ([PersonID] Long,[ItemNummer] short,[ItemWert] short)",
    "CREATE TABLE [TypWertZuweisung] ([PersonID] Long,[ItemNummer] short,[TypNummer] short,[TypRealWert] short)",
    "CREATE TABLE [Ergebnis] ([PersonID] Long,[TypNummer] short,[TypGesamtSumme] short,[TypSumme0] short,"
    "[TypSumme1] short,[TypSumme01] short,[TypSumme2] short,[TypSumme3] short,[TypSumme4] short,[TypSumme34] short,"
    "[AW0] short,[AW1] short,[AW2] short,[AW3] short,[AW4] short,[AWGesamt] short)",
    "CREATE TABLE [Drucktabelle] ([Druckseite] short,[ZeilenNr] long,[Zeilentext] TEXT(255),[Formatierung] TEXT(2))",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [PersDat] ([PersonID]) WITH PRIMARY",
    "CREATE INDEX [PersonID] ON [PersonTestErgebnis] ([PersonID])",
    "CREATE INDEX [PersonID] ON [Ergebnis] ([PersonID])",
    "CREATE INDEX [PersonID] ON [TypWertZuweisung] ([PersonID])",
    "CREATE UNIQUE INDEX [PrimaryKey] ON [Drucktabelle] ([Druckseite],[ZeilenNr]) WITH PRIMARY",
};

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

// Adds one person with the blank rows a new person gets; returns its number.
inline int addPerson(db::Database& d, const std::string& first, const std::string& last) {
    auto p = d.OpenRecordset("persdat");
    p->AddNew();
    const int id = p->Fields("PersonID").Value().toLong();
    p->Fields("Vorname") = first;
    p->Fields("Nachname") = last;
    p->Fields("Testdatum") = "01.02.2026";
    p->Update();
    auto a = d.OpenRecordset("persontestergebnis");
    for (int i = 1; i <= 109; ++i) {
        a->AddNew();
        a->Fields("personid") = id;
        a->Fields("itemnummer") = i;
        a->Fields("itemwert") = vb::Variant::null();
        a->Update();
    }
    auto t = d.OpenRecordset("typwertzuweisung");
    for (int i = 0; i < 126; ++i) {
        t->AddNew();
        t->Fields("personid") = id;
        t->Fields("itemnummer") = std::to_string(i < 109 ? i + 1 : i - 108);  // texts, as the program keeps them
        t->Fields("typnummer") = std::to_string(i % 9 + 1);
        t->Fields("typrealwert") = vb::Variant::null();
        t->Update();
    }
    auto e = d.OpenRecordset("ergebnis");
    for (int i = 1; i <= 9; ++i) {
        e->AddNew();
        e->Fields("personid") = id;
        e->Fields("typnummer") = i;
        e->Update();
    }
    return id;
}

// Callers elsewhere name it through this namespace.
using ::errorOf;

class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        db::DBEngine::instance().reset();
        db::DBEngine::instance().setBusyTimeout(200);
        db::createWorkgroupFile(path("Sys.mda"), {{kUser, kPassword}}, {});
        auto& e = db::DBEngine::instance();
        e.setSystemDB(path("Sys.mda"));
        e.setDefaultUser(kUser);
        e.setDefaultPassword(kPassword);
        ws = e.CreateWorkspace("Kestrel", kUser, kPassword);
    }
    void TearDown() override { db::DBEngine::instance().reset(); }

    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }

    // What an outside client says about the file.
    std::string integrity(const std::string& file) const {
        std::string out = support::run("sqlite3 " + support::shellQuote(file) + " 'PRAGMA integrity_check'").output;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
        return out;
    }

    QTemporaryDir m_dir;
    std::shared_ptr<db::Workspace> ws;
};

}  // namespace dbtest
