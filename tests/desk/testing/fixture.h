#pragma once

// A fresh workgroup, data file and copy of the installed settings database in a temporary folder.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>

#include "desk/common/globals.h"
#include "desk/testing/item_typ.h"
#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/db/db_fixture.h"
#include "platform/vb/error.h"
#include "support/files.h"
#include "support/personen.h"

namespace zuvtest_test {

inline std::string shell(const std::string& command) { return support::run(command).output; }

class DatenTest : public dbtest::DbTest {
protected:
    void SetUp() override {
        dbtest::DbTest::SetUp();
        std::filesystem::copy_file(std::string(ZUV_DIST_DIR) + "/zuv.sdb", path("zuv.sdb"));
        datei = dbtest::makeDataFile(*ws, path("test.ZDB"));
        programmDb = ws->OpenDatabase(path("zuv.sdb"));
        tabelle = zuvtest::ladeItemTypTabelle(*programmDb);
        // The messages of the routines come from the installed dialog texts.
        gDialogTxt.clear();
        auto d = programmDb->OpenRecordset("select * from DialogTxt order by ID", db::RecordsetType::Snapshot);
        for (; !d->Eof(); d->MoveNext())
            gDialogTxt.push_back({d->Fields("ID").Value().toInt(), d->Fields("BeschriftungDtsch").Value().toString()});
    }
    void TearDown() override {
        gDialogTxt.clear();
        if (programmDb) programmDb->Close();
        if (datei) datei->Close();
        dbtest::DbTest::TearDown();
    }

    // A person as the person window saves it: the PersDat row and the blank rows, in one go.
    int32_t neuePerson(const std::string& vorname, const std::string& nachname, const std::string& datum = "01.02.2026") {
        return support::neuePerson(*datei, tabelle,
                                   {{"Vorname", vb::Variant(vorname)},
                                    {"Nachname", vb::Variant(nachname)},
                                    {"Testdatum", vb::Variant(datum)}});
    }

    long zaehle(const std::string& tabelleName, int32_t id) {
        auto rs = datei->OpenRecordset("select * from " + tabelleName + " where personid = " + std::to_string(id),
                                       db::RecordsetType::Snapshot);
        return rs->RecordCount();
    }

    // The person's item-type values of one statement, by type ("" for empty).
    std::map<int, std::string> typWerte(int32_t id, int aussage) {
        std::map<int, std::string> m;
        auto rs = datei->OpenRecordset("select * from typwertzuweisung where personid = " + std::to_string(id) +
                                           " and itemnummer = " + std::to_string(aussage),
                                       db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            const vb::Variant v = rs->Fields("typrealwert").Value();
            m[rs->Fields("typnummer").Value().toInt()] = v.isNull() ? "" : v.toString();
        }
        return m;
    }

    std::shared_ptr<db::Database> datei;
    std::shared_ptr<db::Database> programmDb;
    zuvtest::ItemTypTabelle tabelle;
};

}  // namespace zuvtest_test
