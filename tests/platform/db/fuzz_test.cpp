// Mutated SQL texts and search criteria against a data file: the engine answers each with a result
// or with one of its errors and a short message, and never crashes, hangs or changes the file
// outside the transaction it was given.

#include <iostream>

#include "db_fixture.h"
#include "platform/vb/ascii.h"
#include "support/fuzz.h"

using namespace dbtest;

namespace {

const std::vector<std::string> kWords = {
    "(",
    ")",
    "&",
    " & ",
    "'",
    "\"",
    "[",
    "]",
    "#",
    ",",
    ";",
    "*",
    "?",
    "=",
    "<>",
    "<=",
    " AND ",
    " OR ",
    " NOT ",
    " LIKE ",
    " Is Null",
    " Is Not Null",
    " True",
    " False",
    " BETWEEN 1 AND 3",
    " IN (1, 2)",
    " Mod ",
    "SELECT ",
    " DISTINCTROW ",
    " INTO ",
    " IN '",
    " FROM ",
    " WHERE ",
    " ORDER BY ",
    " GROUP BY ",
    " DESC",
    " AS ",
    " INNER JOIN ",
    " ON ",
    "COUNTER",
    "TEXT(",
    "TEXT( 50)",
    "short",
    "Long",
    "BIT",
    "LONGTEXT",
    " WITH PRIMARY",
    "PersDat",
    "[PersonID]",
    "Ergebnis.TypNummer",
    "typrealwert",
    "itemnummer like  17",
    "#1/1/2020#",
    "Left(",
    "count(*)",
    "sum(",
    "'[A-C]?n#*'",
    "[Name with ] bracket",
    "''",
    "\"\"",
    " ",
    "\t",
    "\n",
    "1e999",
    "-",
    "9223372036854775808",
    ".5",
    "0x10",
    "CREATE TABLE ",
    "CREATE INDEX ",
    "DROP TABLE ",
    "ALTER TABLE ",
    "UPDATE ",
    " SET ",
    "DELETE * ",
    "INSERT INTO ",
    " VALUES (",
    "ä",
    "ß",
};

}  // namespace

class Fuzz : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        d = makeDataFile(*ws, path("fuzz.ZDB"));
        addPerson(*d, "Anna", "Berg");
        addPerson(*d, "Bernd", "Müller");
        d->Execute("UPDATE typwertzuweisung SET typrealwert = itemnummer MOD 5 WHERE personid = 1");
        makeDataFile(*ws, path("quelle.ZDB"))->Close();
    }
    // What the engine may say: one of its numbers and a message of a few lines at most.
    void allowed(const vb::Error& e, const std::string& input) {
        EXPECT_FALSE(e.description().empty()) << input.substr(0, 200);
        EXPECT_LT(e.description().size(), 700u) << e.number() << ": " << e.description().substr(0, 300);
        EXPECT_TRUE(e.number() >= 3000 && e.number() < 3500) << e.number() << " " << e.description();
    }
    std::shared_ptr<db::Database> d;
};

TEST_F(Fuzz, SqlTextsGetAResultOrTheEnginesError) {
    const std::string quelle = path("quelle.ZDB");
    support::Mutator m(
        {
            "select * from persdat order by nachname, vorname",
            "SELECT DISTINCTROW * FROM Ergebnis WHERE PersonID = 1 ORDER BY TypGesamtSumme DESC, TypNummer;",
            "select * from persontestergebnis where personid like 1",
            "select * from typwertzuweisung where personid = 1 and itemnummer = 5",
            "SELECT vorname & ' ' & nachname AS voll, 'Nr. ' & (personid + 1) & '!' AS t FROM persdat WHERE "
            "nachname & 'x' = 'Bergx'",
            "SELECT * INTO persdattemp FROM persdat IN '" + quelle + "'",
            "SELECT persdat.* INTO kopie FROM persdat WHERE personid = 2",
            "INSERT INTO persdat (vorname, nachname) SELECT vorname, nachname FROM persdat WHERE personid = 1",
            "UPDATE ergebnis SET typgesamtsumme = 3, aw0 = aw1 WHERE personid = 1 AND typnummer Mod 2 = 0",
            "DELETE * FROM drucktabelle WHERE druckseite > 2",
            "CREATE TABLE [T] ([ID] COUNTER, [Name] TEXT(50), [Ja] BIT, [Zahl] short, [Notiz] LONGTEXT)",
            "CREATE UNIQUE INDEX [PrimaryKey] ON [Drucktabelle] ([Druckseite],[ZeilenNr]) WITH PRIMARY",
            "SELECT count(*) AS n FROM persdat WHERE geburtstag Is Null AND metasatz = False",
            "SELECT p.nachname, e.typnummer FROM persdat p INNER JOIN ergebnis e ON p.personid = e.personid",
            "SELECT * FROM persdat WHERE nachname LIKE 'B*' OR vorname LIKE '[A-C]?n#'",
            "ALTER TABLE persdat ADD COLUMN neu TEXT(20)",
            "DROP TABLE drucktabelle",
            "SELECT typnummer, sum(typrealwert) AS s FROM typwertzuweisung GROUP BY typnummer",
        },
        kWords, support::fuzzSeed());
    const long ran = support::fuzz(m, support::fuzzRuns(4000), [&](const std::string& sql) {
        const std::string head = vb::ascii::upper(sql.substr(0, 12));
        try {
            if (head.rfind("SELECT", 0) == 0 && sql.find(" INTO ") == std::string::npos) {
                auto rs = d->OpenRecordset(sql, db::RecordsetType::Snapshot);
                if (rs->RecordCount() > 0) rs->MoveLast();
            } else {
                d->BeginTrans();
                try {
                    d->Execute(sql);
                } catch (...) {
                    d->Rollback();
                    throw;
                }
                d->Rollback();
            }
        } catch (const vb::Error& e) {
            allowed(e, sql);
        }
    });
    std::cout << "fuzz: " << ran << " SQL texts\n";
    // Whatever ran, the file holds what it held, and is sound.
    EXPECT_EQ(d->OpenRecordset("persdat", db::RecordsetType::Snapshot)->RecordCount(), 2);
    EXPECT_EQ(d->TableDefs().size(), 6u);
    d->Close();
    EXPECT_EQ(integrity(path("fuzz.ZDB")), "ok");
}

TEST_F(Fuzz, SearchCriteriaFindARowOrGiveTheEnginesError) {
    auto rows = d->OpenRecordset("select * from typwertzuweisung where personid = 1");
    auto persons = d->OpenRecordset("persdat");
    support::Mutator m(
        {
            "itemnummer like  17",
            "typrealwert is Null",
            "PersonID =5",
            "itemnummer like 17 and typnummer = 9",
            "nachname like 'M*' or vorname = \"Anna\"",
            "(typrealwert & '') = '3'",
            "personid like '1*' or not (typnummer between 2 and 4)",
            "typrealwert in (1, 2, 3) and itemnummer Mod 2 = True",
            "[ItemNummer] > 100 AND [TypRealWert] Is Not Null",
        },
        kWords, support::fuzzSeed() + 1);
    long found = 0;
    const long ran = support::fuzz(m, support::fuzzRuns(4000), [&](const std::string& criteria) {
        auto& rs = criteria.size() % 3 ? *persons : *rows;
        try {
            rs.FindFirst(criteria);
            if (!rs.NoMatch()) ++found;
        } catch (const vb::Error& e) {
            allowed(e, criteria);
        }
    });
    std::cout << "fuzz: " << ran << " criteria, " << found << " of them found a row\n";
    EXPECT_GT(found, 0);
}
