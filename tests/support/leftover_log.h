#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace support {

// Persons saved by a session that then ends without closing the file (killed, or its computer
// switched off): what it wrote stays in the log beside the file, with the log's index.
inline void leaveSessionLog(const std::string& file, int persons) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    std::string sql = "PRAGMA wal_autocheckpoint=0; BEGIN;";
    for (int i = 0; i < persons; ++i) {
        sql += "INSERT INTO persdat (Vorname, Nachname) VALUES ('Spaet', 'Person" + std::to_string(i) + "');";
        sql +=
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 109) "
            "INSERT INTO persontestergebnis (personid, itemnummer, itemwert) SELECT last_insert_rowid(), i, i % 5 FROM "
            "n;";
    }
    sql += "UPDATE persdat SET Nachname = 'Geaendert' WHERE PersonID = 1; COMMIT;";
    char* msg = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
    ASSERT_GT(std::filesystem::file_size(file + "-wal"), 32u);
}

}  // namespace support
