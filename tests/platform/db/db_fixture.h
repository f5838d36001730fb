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
#include "support/data_file.h"
#include "support/files.h"
#include "support/vb_error.h"

namespace dbtest {

inline const char* kUser = "KestrelAdmin";
inline const char* kPassword = "MossGlade";

using support::kDataFileStatements;
using support::makeDataFile;

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
        ws = support::startWorkgroup(path("Sys.mda"), kUser, kPassword);
        db::DBEngine::instance().setBusyTimeout(200);
    }
    void TearDown() override { db::DBEngine::instance().reset(); }

    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }

    // What an outside client answers to the statement on the file, without the closing line breaks.
    std::string outside(const std::string& file, const std::string& sql) const {
        std::string out = support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(sql)).output;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
        return out;
    }
    std::string integrity(const std::string& file) const { return outside(file, "PRAGMA integrity_check"); }

    // A data control on the persons of the file, with its recordset open.
    static void showPersons(db::DataControl& c, const std::string& file, bool readOnly = false) {
        c.setDatabaseName(file);
        c.setReadOnly(readOnly);
        c.setRecordSource("PersDat");
        c.Refresh();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<db::Workspace> ws;
};

}  // namespace dbtest
