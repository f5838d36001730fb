// The engine under a full or failing disk: the first error of a failed transaction is the one the
// caller gets, a rollback after SQLite ended the transaction itself raises nothing new, and nothing
// of the transaction is stored, not even what the caller writes after the error.

#include <cerrno>

#include "platform/db/connection.h"
#include "platform/db/db_fixture.h"
#include "support/disk_faults.h"

namespace {

using support::DiskFaults;

class Festplatte : public dbtest::DbTest {
  protected:
    void SetUp() override {
        DiskFaults::install();
        dbtest::DbTest::SetUp();
        d = dbtest::makeDataFile(*ws, datei());
        dbtest::addPerson(*d, "Anna", "Berg");
    }
    void TearDown() override {
        DiskFaults::off();
        if (d) d->Close();
        dbtest::DbTest::TearDown();
    }
    std::string datei() const { return path("a.ZDB"); }
    std::string personen() const { return outside(datei(), "select group_concat(nachname) from persdat"); }

    std::shared_ptr<db::Database> d;
};

TEST_F(Festplatte, AFailedCommitIsReportedAsTheDiskFaultAndTheRollbackAddsNoErrorOfItsOwn) {
    for (const int fehler : {ENOSPC, EIO}) {
        SCOPED_TRACE(fehler == ENOSPC ? "ENOSPC" : "EIO");
        d->BeginTrans();
        dbtest::addPerson(*d, "Nina", "Neu");
        DiskFaults::failAt(1, fehler);
        const std::string warum = messageOf([&] { d->CommitTrans(); });
        DiskFaults::off();
        EXPECT_NE(warum.find(fehler == ENOSPC ? "Nicht genügend Speicherplatz"
                                              : "Datenträger- oder Netzwerkfehler"),
                  std::string::npos)
            << warum;
        EXPECT_NE(warum.find(datei()), std::string::npos) << warum;
        EXPECT_EQ(errorOf([&] { d->Rollback(); }), 0);
        EXPECT_EQ(errorOf([&] { d->Rollback(); }), 3034);  // it is over
        EXPECT_EQ(integrity(datei()), "ok");
        EXPECT_EQ(personen(), "Berg");
    }
    // The next transaction goes through on the same connection.
    d->BeginTrans();
    dbtest::addPerson(*d, "Nina", "Neu");
    d->CommitTrans();
    EXPECT_EQ(personen(), "Berg,Neu");
}

TEST_F(Festplatte, WhatIsWrittenAfterSQLiteEndedTheTransactionIsRefusedWithTheFirstError) {
    // A small page cache makes SQLite write pages of the open transaction into the log early, so
    // that the I/O error hits a statement in the middle of it and ends the whole transaction.
    sqlite3_exec(d->connection()->handle(), "PRAGMA cache_size=2", nullptr, nullptr, nullptr);
    d->BeginTrans();
    dbtest::addPerson(*d, "Nina", "Neu");
    DiskFaults::failAt(1, EIO);
    EXPECT_EQ(errorOf([&] { dbtest::addPerson(*d, "Olga", "Ost"); }), 3043);
    DiskFaults::off();
    ASSERT_TRUE(sqlite3_get_autocommit(d->connection()->handle())) << "SQLite kept the transaction";
    // Each of these would otherwise be committed on its own, outside the transaction.
    EXPECT_EQ(errorOf([&] { dbtest::addPerson(*d, "Paul", "Pohl"); }), 3043);
    EXPECT_EQ(errorOf([&] { d->Execute("DELETE FROM PersDat"); }), 3043);
    EXPECT_EQ(errorOf([&] { d->CommitTrans(); }), 3043);
    EXPECT_EQ(errorOf([&] { d->Rollback(); }), 0);
    EXPECT_EQ(integrity(datei()), "ok");
    EXPECT_EQ(personen(), "Berg");
    dbtest::addPerson(*d, "Paul", "Pohl");
    EXPECT_EQ(personen(), "Berg,Pohl");
}

TEST_F(Festplatte, ANewFileThatCannotBeMadeWholeLeavesNothingBehind) {
    for (const int fehler : {ENOSPC, EIO}) {
        DiskFaults::count();
        ws->CreateDatabase(path("zaehlen" + std::to_string(fehler) + ".ZDB"), "", 0)->Close();
        const long anzahl = DiskFaults::counted();
        DiskFaults::off();
        ASSERT_GT(anzahl, 0);
        for (long n = 1; n <= anzahl; ++n) {
            SCOPED_TRACE(std::to_string(n) + (fehler == ENOSPC ? " ENOSPC" : " EIO"));
            const std::string neu = path("neu" + std::to_string(fehler) + "-" + std::to_string(n) + ".ZDB");
            DiskFaults::failAt(n, fehler);
            const int nummer = errorOf([&] { ws->CreateDatabase(neu, "", 0)->Close(); });
            DiskFaults::off();
            if (nummer == 0) {
                EXPECT_EQ(integrity(neu), "ok");  // SQLite got over it (a sync of a log written again)
                continue;
            }
            EXPECT_EQ(nummer, fehler == ENOSPC ? 3026 : 3043);
            for (const char* seite : {"", "-wal", "-shm", "-journal"})
                EXPECT_FALSE(std::filesystem::exists(neu + seite)) << seite;
        }
    }
}

}  // namespace
