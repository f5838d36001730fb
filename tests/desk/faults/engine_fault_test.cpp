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
        EXPECT_NE(warum.find(fehler == ENOSPC ? "Nicht genügend Speicherplatz" : "Datenträger- oder Netzwerkfehler"),
                  std::string::npos)
            << warum;
        EXPECT_NE(warum.find(datei()), std::string::npos) << warum;
        EXPECT_EQ(errorOf([&] { d->Rollback(); }), 0);
        EXPECT_EQ(errorOf([&] { d->Rollback(); }), vb::err::CommitWithoutBeginTrans);  // it is over
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
    EXPECT_EQ(errorOf([&] { dbtest::addPerson(*d, "Olga", "Ost"); }), vb::err::DiskOrNetworkError);
    DiskFaults::off();
    ASSERT_TRUE(sqlite3_get_autocommit(d->connection()->handle())) << "SQLite kept the transaction";
    // Each of these would otherwise be committed on its own, outside the transaction.
    EXPECT_EQ(errorOf([&] { dbtest::addPerson(*d, "Paul", "Pohl"); }), vb::err::DiskOrNetworkError);
    EXPECT_EQ(errorOf([&] { d->Execute("DELETE FROM PersDat"); }), vb::err::DiskOrNetworkError);
    EXPECT_EQ(errorOf([&] { d->CommitTrans(); }), vb::err::DiskOrNetworkError);
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
            EXPECT_EQ(nummer, fehler == ENOSPC ? vb::err::DiskSpaceExhausted : vb::err::DiskOrNetworkError);
            for (const char* seite : {"", "-wal", "-shm", "-journal"})
                EXPECT_FALSE(std::filesystem::exists(neu + seite)) << seite;
        }
    }
}

}  // namespace

namespace {

// A file in the rollback-journal mode (made so by another program, or one that could not go over
// to the log because another program was reading it) fails on a full disk as one with the log
// does: with the disk's own error.
TEST_F(Festplatte, AFileWithARollbackJournalNamesTheDisksOwnError) {
    d->Close();
    d.reset();
    db::DBEngine::instance().releaseFile(datei());
    ASSERT_EQ(outside(datei(), "PRAGMA journal_mode=DELETE"), "delete");
    auto gelesen = [&](const char* anweisung) {
        sqlite3* c = nullptr;
        std::string out;
        sqlite3_open_v2(datei().c_str(), &c, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(
            c, anweisung,
            [](void* o, int, char** werte, char**) {
                *static_cast<std::string*>(o) += werte[0] ? werte[0] : "NULL";
                return 0;
            },
            &out, nullptr);
        sqlite3_close_v2(c);
        return out;
    };
    // A reader of another connection while the transaction begins keeps the file from going over
    // to the log; it is done before anything is written. The switch does not wait for it.
    db::DBEngine::instance().setBusyTimeout(0);
    auto schreiben = [&](long n, int fehler) {
        sqlite3* leser = nullptr;
        sqlite3_open_v2(datei().c_str(), &leser, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(leser, "BEGIN; SELECT count(*) FROM PersDat", nullptr, nullptr, nullptr);
        auto f = ws->OpenDatabase(datei(), false, false);
        f->BeginTrans();
        sqlite3_exec(leser, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close_v2(leser);
        if (n) DiskFaults::failAt(n, fehler);
        else DiskFaults::count();
        const int nummer = errorOf([&] {
            dbtest::addPerson(*f, "Nina", "Neu");
            f->Execute("UPDATE PersDat SET Bemerkung = '" + std::string(3000, 'x') + "'");
            f->CommitTrans();
        });
        DiskFaults::off();
        if (nummer) {
            EXPECT_EQ(errorOf([&] { f->Rollback(); }), 0);
        }
        f->Close();
        db::DBEngine::instance().releaseFile(datei());
        // Back to the one person.
        if (!nummer) gelesen("DELETE FROM PersDat WHERE Nachname = 'Neu'; UPDATE PersDat SET Bemerkung = NULL");
        return nummer;
    };
    for (const int fehler : {ENOSPC, EIO}) {
        SCOPED_TRACE(fehler == ENOSPC ? "ENOSPC" : "EIO");
        ASSERT_EQ(schreiben(0, fehler), 0);
        const long anzahl = DiskFaults::counted();
        ASSERT_GT(anzahl, 0);
        int fehlgeschlagen = 0;
        for (long n = 1; n <= anzahl; ++n) {
            SCOPED_TRACE(n);
            const int nummer = schreiben(n, fehler);
            if (nummer) {
                ++fehlgeschlagen;
                EXPECT_EQ(nummer, fehler == ENOSPC ? vb::err::DiskSpaceExhausted : vb::err::DiskOrNetworkError);
            }
            // As a connection of its own reads it (an outside program for every n would be slow).
            EXPECT_EQ(gelesen("PRAGMA integrity_check") + gelesen("SELECT group_concat(Nachname) FROM PersDat"),
                      "okBerg");
            if (HasFailure()) return;
        }
        EXPECT_GT(fehlgeschlagen, 0);
    }
    EXPECT_EQ(integrity(datei()), "ok");
    EXPECT_EQ(personen(), "Berg");
    EXPECT_EQ(outside(datei(), "PRAGMA journal_mode"), "delete");
}

}  // namespace

namespace {

// A disk that fails a read while a file is opened: the disk's own error (3043) names the file,
// never a damaged file or one of another kind (3343), which would send the user to repair or
// replace a sound file. Nothing is written into it.
TEST_F(Festplatte, AReadFaultWhileOpeningIsTheDisksErrorAndTheFileStaysAsItWas) {
    d->Close();
    d.reset();
    db::DBEngine::instance().releaseFile(datei());
    const std::string vorher = support::readFile(datei());
    for (const bool nurLesen : {false, true}) {
        SCOPED_TRACE(nurLesen ? "read-only" : "read-write");
        auto oeffnen = [&](long n) {
            std::shared_ptr<db::Database> f;
            if (n) DiskFaults::failReadAt(n);
            else DiskFaults::countReads();
            std::string warum;
            int nummer = 0;
            try {
                f = ws->OpenDatabase(datei(), false, nurLesen);
            } catch (const vb::Error& e) {
                nummer = e.number();
                warum = e.description();
            }
            DiskFaults::off();
            if (f) f->Close();
            db::DBEngine::instance().releaseFile(datei());
            return std::make_pair(nummer, warum);
        };
        ASSERT_EQ(oeffnen(0).first, 0);
        const long anzahl = DiskFaults::readsCounted();
        ASSERT_GT(anzahl, 0);
        int fehlgeschlagen = 0;
        for (long n = 1; n <= anzahl; ++n) {
            SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(anzahl));
            const auto [nummer, warum] = oeffnen(n);
            if (nummer) {
                ++fehlgeschlagen;
                EXPECT_EQ(nummer, vb::err::DiskOrNetworkError) << warum;
                EXPECT_NE(warum.find("Datenträger- oder Netzwerkfehler"), std::string::npos) << warum;
                EXPECT_NE(warum.find(datei()), std::string::npos) << warum;
            }
            EXPECT_TRUE(support::readFile(datei()) == vorher) << "the file was changed";
            if (HasFailure()) return;
        }
        EXPECT_GT(fehlgeschlagen, 0);
    }
    // Opened again without a fault, it is whole.
    EXPECT_EQ(integrity(datei()), "ok");
    EXPECT_EQ(personen(), "Berg");
}

// A file that is truly damaged or no database at all is still named so, where every read succeeds:
// one cut short inside its header (SQLite reads the missing part as zeros), one of other bytes,
// and one whose table pages were overwritten.
TEST_F(Festplatte, ATrulyDamagedFileIsStillNamedSoWhenTheReadsSucceed) {
    d->Close();
    d.reset();
    db::DBEngine::instance().releaseFile(datei());
    const std::string ganz = support::readFile(datei());
    ASSERT_GT(ganz.size(), 3 * 4096u);
    std::string ueberschrieben = ganz;
    for (size_t i = 4096; i < ueberschrieben.size(); ++i) ueberschrieben[i] = static_cast<char>(0x5A ^ (i * 7));
    const std::vector<std::pair<std::string, std::string>> faelle = {
        {"kurz.ZDB", ganz.substr(0, 60)},
        {"fremd.ZDB", std::string(8192, 'x')},
        {"beschaedigt.ZDB", ueberschrieben},
    };
    for (const auto& [name, inhalt] : faelle) {
        SCOPED_TRACE(name);
        support::writeFile(path(name), inhalt);
        DiskFaults::countReads();
        const int nummer = errorOf([&] { ws->OpenDatabase(path(name), false, false)->Close(); });
        DiskFaults::off();
        EXPECT_EQ(nummer, vb::err::NotADatabase);
        EXPECT_TRUE(support::readFile(path(name)) == inhalt) << "the file was changed";
    }
}

}  // namespace
