// What keeps the cost of working on one person independent of the number of persons in the file:
// a number compared by LIKE is found through the index and matches what it matched before, text
// sorts by a key that orders as the German collation does, a whole table's sorted rows are kept
// and brought up to date instead of being sorted anew, FindFirst over many rows lets the file's
// index find the row, and a walk through many rows keeps only the rows around it.

#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <set>

#include "db_fixture.h"
#include "platform/db/connection.h"
#include "platform/db/text.h"

using namespace dbtest;
using vb::Variant;

namespace {

class LargeFile : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        d = makeDataFile(*ws, path("gross.ZDB"));
    }

    // Persons numbered from the next free number, with surnames from a small list (many alike).
    void persons(int n, int seed = 1) {
        static const char* names[] = {"Müller", "Mueller", "Muller", "Schäfer", "Schafer", "Weiß",   "Weiss",  "weiss",
                                      "Öztürk", "Ozturk",  "Abel",   "abel",    "Zeh",     "Straße", "Strasse"};
        std::mt19937 z(static_cast<unsigned>(seed));
        d->BeginTrans();
        for (int i = 0; i < n; ++i)
            d->Execute(std::string("INSERT INTO PersDat (Vorname, Nachname, Testdatum) VALUES ('V") +
                       std::to_string(z() % 50) + "', '" + names[z() % std::size(names)] + "', '01.02.2026')");
        d->CommitTrans();
    }

    // The person numbers of a query in its order, read whole (a snapshot is never kept).
    std::vector<long> ids(const std::string& sql) {
        std::vector<long> out;
        auto rs = d->OpenRecordset(sql, db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext()) out.push_back(rs->Fields("PersonID").Value().toLong());
        return out;
    }
    std::vector<long> walk(db::Recordset& rs) {
        std::vector<long> out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields("PersonID").Value().toLong());
        return out;
    }

    std::shared_ptr<db::Database> d;
};

}  // namespace

TEST_F(LargeFile, ANumberComparedByLikeMatchesAsBeforeAndIsFoundThroughTheIndex) {
    // Values of every kind in a numeric, a text and an untyped column.
    sqlite3* h = d->connection()->handle();
    ASSERT_EQ(sqlite3_exec(h,
                           "CREATE TABLE werte (n LONG, t TEXT(20), u);"
                           "CREATE INDEX werte_n ON werte (n);"
                           "INSERT INTO werte VALUES (5, '5', 5), (15, '05', '5'), (50, 'x5', 5.0), (NULL, NULL, X'35'),"
                           "(7, '7', '05'), (5, 'A', NULL), (0, '0', 0), (-5, '-5', ' 5')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    d->connection()->schemaChanged();
    for (const char* feld : {"n", "t", "u"})
        for (const char* muster : {"5", "'5'", "\"5\"", "05", "'05'", "0", "12345678901234567890", "'0'"}) {
            // The function call is not rewritten: it is LIKE as the engine evaluated it before.
            const std::string vorher = std::string("select rowid from werte where like(") + muster + ", " + feld + ")";
            const std::string jetzt = std::string("select rowid from werte where ") + feld + " like " + muster;
            std::vector<long> a, b;
            for (auto rs = d->OpenRecordset(vorher, db::RecordsetType::Snapshot); !rs->Eof(); rs->MoveNext())
                a.push_back(rs->Fields(0).Value().toLong());
            for (auto rs = d->OpenRecordset(jetzt, db::RecordsetType::Snapshot); !rs->Eof(); rs->MoveNext())
                b.push_back(rs->Fields(0).Value().toLong());
            EXPECT_EQ(a, b) << jetzt;
        }
    // A criterion of FindFirst matches the same rows as well.
    auto rs = d->OpenRecordset("select * from werte where n like 5 or n like 7");
    rs->FindFirst("n like 7");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("t").Value().toString(), "7");
    auto alle = d->OpenRecordset("select * from werte");
    alle->FindFirst("t like  05");  // Str$ writes two blanks; the number's text is "5", not "05"
    EXPECT_EQ(alle->Fields("t").Value().toString(), "5");
    alle->FindFirst("t like '05'");
    EXPECT_EQ(alle->Fields("t").Value().toString(), "05");
    // Wildcards and other operands stay LIKE alone; the digits of a number are found by the index.
    auto plan = [&](const std::string& where) {
        const auto st = db::detail::translateStatement("select * from werte where " + where, nullptr);
        sqlite3_stmt* s = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(h, ("EXPLAIN QUERY PLAN " + st.sql).c_str(), -1, &s, nullptr) == SQLITE_OK)
            while (sqlite3_step(s) == SQLITE_ROW) out += reinterpret_cast<const char*>(sqlite3_column_text(s, 3));
        sqlite3_finalize(s);
        return out;
    };
    EXPECT_NE(plan("n like 5").find("SEARCH werte USING INDEX"), std::string::npos) << plan("n like 5");
    EXPECT_NE(plan("[n] like  5 and t is null").find("SEARCH werte USING INDEX"), std::string::npos);
    EXPECT_EQ(plan("n like '5*'").find("SEARCH"), std::string::npos);
    EXPECT_EQ(plan("n + 1 like 6").find("SEARCH"), std::string::npos);
    EXPECT_EQ(plan("n not like 5").find("SEARCH"), std::string::npos);
    EXPECT_EQ(plan("n between 1 and n like 5").find("SEARCH"), std::string::npos);
}

TEST_F(LargeFile, TheGermanSortKeyOrdersAsTheCollation) {
    const char* teile[] = {"a",    "A", "b", "s", "S", "z", "ä", "Ä", "ö", "Ü", "ß", "é", "É",    "ø",   "÷",
                           "\xC3", "€", "ÿ", "ẞ", " ", "-", "1", "ç", "æ", "ð", "Ą", "ą", "\xFF", "\x01"};
    std::mt19937 z(20261209);
    for (int i = 0; i < 20000; ++i) {
        std::string a, b;
        for (int k = static_cast<int>(z() % 6); k > 0; --k) a += teile[z() % std::size(teile)];
        b = a;
        for (int k = static_cast<int>(z() % 3); k > 0; --k)
            b.insert(b.empty() ? 0 : z() % b.size(), teile[z() % std::size(teile)]);
        if (z() % 2) std::swap(a, b);
        const int soll = db::detail::compareGerman(a, b);
        const std::string ka = db::detail::germanSortKey(a), kb = db::detail::germanSortKey(b);
        const int ist = ka < kb ? -1 : ka > kb ? 1 : 0;
        ASSERT_EQ((soll > 0) - (soll < 0), ist) << "[" << a << "] [" << b << "]";
    }
}

TEST_F(LargeFile, AKeptSortedTableIsTheOrderAFreshSortGives) {
    persons(2500);
    const std::string sql = "select * from persdat order by nachname, vorname";
    auto erst = d->OpenRecordset(sql);
    EXPECT_EQ(walk(*erst), ids(sql));
    // Changes through the program: added, renamed, deleted persons, and a change rolled back.
    persons(30, 2);
    d->Execute("UPDATE PersDat SET Nachname = 'Aaron' WHERE PersonID = 17");
    d->Execute("UPDATE PersDat SET Vorname = 'Zora' WHERE PersonID = 1200");
    d->Execute("DELETE FROM PersDat WHERE PersonID IN (3, 2000)");
    d->BeginTrans();
    d->Execute("UPDATE PersDat SET Nachname = 'Zzz' WHERE PersonID = 40");
    d->Execute("INSERT INTO PersDat (Vorname, Nachname) VALUES ('Ohne', 'Bestand')");
    d->Rollback();
    {
        auto p = d->OpenRecordset(sql);
        p->FindFirst("PersonID = 600");
        p->Edit();
        p->Fields("Nachname") = "Mitte";
        p->Update();
        p->AddNew();
        p->Fields("Nachname") = "Öl";
        p->Update();
    }
    EXPECT_EQ(walk(*d->OpenRecordset(sql)), ids(sql));
    // Another program's change, and rows gone without a word (a table emptied at once).
    EXPECT_EQ(outside(path("gross.ZDB"), "UPDATE PersDat SET Nachname = 'Aal' WHERE PersonID = 5"), "");
    EXPECT_EQ(walk(*d->OpenRecordset(sql)), ids(sql));
    d->Execute("DELETE FROM PersDat WHERE PersonID > 100");
    persons(2100, 3);
    EXPECT_EQ(walk(*d->OpenRecordset(sql)), ids(sql));
    // A table emptied at once and filled with a few rows: no row of it is kept.
    d->BeginTrans();
    for (int i = 0; i < 2100; ++i)
        d->Execute("INSERT INTO PersonTestErgebnis (PersonID, ItemNummer) VALUES (" + std::to_string(i % 50 + 51) + ", " +
                   std::to_string(i % 109 + 1) + ")");
    d->CommitTrans();
    const std::string antworten = "select * from persontestergebnis order by itemnummer desc";
    auto zeilen = [&](const std::string& q) {
        std::vector<long> out;
        auto rs = d->OpenRecordset(q);
        for (; !rs->Eof(); rs->MoveNext()) out.push_back(rs->Fields("ItemNummer").Value().toLong());
        return out;
    };
    EXPECT_EQ(zeilen(antworten).size(), 2100u);
    d->Execute("DELETE FROM PersonTestErgebnis");
    d->Execute("INSERT INTO PersonTestErgebnis (PersonID, ItemNummer) VALUES (60, 7)");
    EXPECT_EQ(zeilen(antworten), std::vector<long>{7});
    // The recordset opened first keeps its rows, as a dynaset does until it is read anew.
    EXPECT_EQ(erst->RecordCount(), 2500);
    erst->Requery();
    EXPECT_EQ(walk(*erst), ids(sql));
}

TEST_F(LargeFile, FindingInAWholeTableGivesWhatARowByRowSearchGives) {
    persons(3000);
    d->Execute("UPDATE PersDat SET Metasatz = -1 WHERE PersonID % 7 = 0");
    const std::string sql = "select * from persdat order by nachname, vorname";
    auto dyn = d->OpenRecordset(sql);
    auto snap = d->OpenRecordset(sql, db::RecordsetType::Snapshot);  // searched row by row
    auto gleich = [&](const std::string& was) {
        EXPECT_EQ(dyn->NoMatch(), snap->NoMatch()) << was;
        if (!dyn->NoMatch() && !snap->NoMatch()) {
            EXPECT_EQ(dyn->Fields("PersonID").Value().toLong(), snap->Fields("PersonID").Value().toLong()) << was;
        }
    };
    for (const std::string& k : {std::string("PersonID =2999"), std::string("personid like 1234"),
                                 std::string("PersonID > 2990 and PersonID < 2995"), std::string("PersonID = -4"),
                                 std::string("Nachname = 'Zeh'"), std::string("Metasatz = True")}) {
        dyn->FindFirst(k);
        snap->FindFirst(k);
        gleich("FindFirst " + k);
        for (int i = 0; i < 3; ++i) {
            dyn->FindNext(k);
            snap->FindNext(k);
            gleich("FindNext " + k);
        }
        dyn->FindLast(k);
        snap->FindLast(k);
        gleich("FindLast " + k);
        dyn->FindPrevious(k);
        snap->FindPrevious(k);
        gleich("FindPrevious " + k);
    }
    // A person deleted meanwhile is not found; a failed search leaves the position as it was.
    dyn->FindFirst("PersonID = 100");
    const long stand = dyn->AbsolutePosition();
    d->Execute("DELETE FROM PersDat WHERE PersonID = 2500");
    dyn->FindFirst("PersonID = 2500");
    EXPECT_TRUE(dyn->NoMatch());
    EXPECT_EQ(dyn->AbsolutePosition(), stand);
    EXPECT_EQ(errorOf([&] { dyn->FindFirst("PersonID = "); }), vb::err::CriteriaSyntaxError);
}

TEST_F(LargeFile, AWalkThroughManyRowsReadsEveryRowAndEditsTheOneItStandsOn) {
    persons(9000);
    auto rs = d->OpenRecordset("select * from persdat order by nachname, vorname");
    std::set<long> gesehen;
    long n = 0;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext(), ++n) {
        gesehen.insert(rs->Fields("PersonID").Value().toLong());
        EXPECT_FALSE(rs->Fields("Nachname").Value().isNull());
    }
    EXPECT_EQ(n, 9000);
    EXPECT_EQ(gesehen.size(), 9000u);
    // Back at a row read long ago: its values are read again, and Edit changes that row.
    rs->MoveFirst();
    const long erste = rs->Fields("PersonID").Value().toLong();
    d->Execute("UPDATE PersDat SET Vorname = 'Anders' WHERE PersonID = " + std::to_string(erste));
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("Vorname").Value().toString(), "Anders");
    rs->Edit();
    rs->Fields("Vorname") = "Geändert";
    rs->Update();
    EXPECT_EQ(outside(path("gross.ZDB"), "SELECT Vorname FROM PersDat WHERE PersonID = " + std::to_string(erste)),
              "Geändert");
    // Stepping over rows reads nothing: a row deleted on the way is only missed when it is read.
    d->Execute("DELETE FROM PersDat WHERE PersonID = " + std::to_string(erste));
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(errorOf([&] { (void)rs->Fields("Vorname").Value(); }), vb::err::RowDeleted);
}

// A whole table's rows are sorted by their keys in memory: values of every kind (Null, whole and
// real numbers that compare across their kinds, text of many alike, blobs), terms running down
// and up, and ties, come in the order SQLite's own sort gives the same statement.
TEST_F(LargeFile, RowsSortedInMemoryComeInTheOrderOfSQLitesSort) {
    d->Execute("CREATE TABLE [Gemischt] ([Nr] COUNTER, [Wert] DATETIME, [Name] TEXT(20))");
    std::string werte;
    const char* beispiele[] = {"NULL",
                               "3",
                               "-2",
                               "2.5",
                               "3.0",
                               "-2.75",
                               "9007199254740993",
                               "9007199254740992.0",
                               "'Müller'",
                               "'Mueller'",
                               "'müller'",
                               "'Abel'",
                               "''",
                               "x'00ff'",
                               "x''",
                               "1e300"};
    std::mt19937 z(7);
    for (int i = 0; i < 600; ++i)
        werte += std::string(i ? ", (" : "(") + beispiele[z() % std::size(beispiele)] + ", " +
                 (z() % 4 ? "'" + std::string(1, static_cast<char>('a' + z() % 3)) + "'" : std::string("NULL")) + ")";
    ASSERT_EQ(outside(path("gross.ZDB"), "INSERT INTO Gemischt (Wert, Name) VALUES " + werte), "");
    auto nummern = [&](const std::string& sql, db::RecordsetType type) {
        std::vector<long> out;
        auto rs = d->OpenRecordset(sql, type);
        for (; !rs->Eof(); rs->MoveNext()) out.push_back(rs->Fields("Nr").Value().toLong());
        return out;
    };
    for (const std::string sql :
         {"select * from gemischt order by wert", "select * from gemischt order by wert desc",
          "select * from gemischt order by name desc, wert", "select * from gemischt order by wert desc, name desc",
          "select * from gemischt g order by g.name, g.wert"}) {
        const auto erwartet = nummern(sql, db::RecordsetType::Snapshot);
        ASSERT_EQ(erwartet.size(), 600u) << sql;
        EXPECT_EQ(nummern(sql, db::RecordsetType::Dynaset), erwartet) << sql;
    }
}

// The values a walk read are signed as SQLite gave them: a blob in a memo, a real in a Yes/No
// field and a field the statement does not show count as unchanged while no one changed them,
// and a change of a field the statement does not show keeps the row from being deleted.
TEST_F(LargeFile, RowsReadOnAWalkAreSignedAsTheyWereRead) {
    persons(6000);
    ASSERT_EQ(outside(path("gross.ZDB"),
                      "UPDATE PersDat SET Bemerkung = x'4142', Metasatz = 1.5 WHERE PersonID % 10 = 0"),
              "");
    auto rs = d->OpenRecordset("select PersonID, Nachname, Bemerkung from persdat order by nachname, vorname");
    std::vector<long> reihe;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        reihe.push_back(rs->Fields("PersonID").Value().toLong());
        if (reihe.back() % 10 == 0) {
            EXPECT_EQ(rs->Fields("Bemerkung").Value().toString(), "AB");
        }
    }
    ASSERT_EQ(reihe.size(), 6000u);
    // Rows far on in the walk, read with the rest of the table.
    auto hin = [&](long person) {
        rs->MoveFirst();
        for (long i = 0; reihe[static_cast<size_t>(i)] != person; ++i) rs->MoveNext();
    };
    rs->MoveLast();
    for (long i = 0; i < 5; ++i) rs->MovePrevious();
    long person = rs->Fields("PersonID").Value().toLong();
    ASSERT_EQ(person % 10 == 0 ? 1 : 0, 0);
    rs->Edit();
    rs->Fields("Nachname") = "Neu";
    rs->Update();
    EXPECT_EQ(outside(path("gross.ZDB"), "SELECT Nachname FROM PersDat WHERE PersonID = " + std::to_string(person)),
              "Neu");

    const long mitBlob = *std::find_if(reihe.rbegin(), reihe.rend(), [](long p) { return p % 10 == 0; });
    hin(mitBlob);
    EXPECT_EQ(rs->Fields("Bemerkung").Value().toString(), "AB");
    rs->Delete();
    EXPECT_EQ(outside(path("gross.ZDB"), "SELECT count(*) FROM PersDat WHERE PersonID = " + std::to_string(mitBlob)),
              "0");

    person = reihe[reihe.size() - 20];
    hin(person);
    ASSERT_EQ(rs->Fields("PersonID").Value().toLong(), person);
    ASSERT_EQ(outside(path("gross.ZDB"),
                      "UPDATE PersDat SET Vorname = 'Anders' WHERE PersonID = " + std::to_string(person)),
              "");
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), vb::err::ChangedByOther);
    EXPECT_EQ(outside(path("gross.ZDB"), "SELECT Vorname FROM PersDat WHERE PersonID = " + std::to_string(person)),
              "Anders");
}
