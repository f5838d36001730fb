// Names of tables and fields and the words of the SQL dialect without regard to case, and the
// numbers the engine reads from criteria and writes to fields: the same in every locale, also in a
// Turkish one, where the C library's tolower makes no 'i' of an 'I'.

#include "db_fixture.h"
#include "platform/db/text.h"
#include "support/gebietsschema.h"

using namespace dbtest;

namespace {

class Gebietsschema : public DbTest {};

}  // namespace

TEST_F(Gebietsschema, NamesWordsAndNumbersOfTheDialectInEveryLocale) {
    int n = 0;
    for (const std::string& name : support::gebietsschemata()) {
        SCOPED_TRACE(name);
        support::Gebietsschema g(name);
        EXPECT_TRUE(db::detail::sameName("DialogTxt", "DIALOGTXT"));
        EXPECT_TRUE(db::detail::sameName("ItemNummer", "itemnummer"));
        EXPECT_TRUE(db::detail::sameName("Übersicht", "ÜBERSICHT"));
        EXPECT_FALSE(db::detail::sameName("DialogTxt", "DıalogTxt"));
        EXPECT_TRUE(db::detail::jetLike("Einstellung", "EINST*"));

        auto d = ws->CreateDatabase(path("einstellungen" + std::to_string(++n) + ".sdb"), "", db::dbInstallation);
        d->Execute("create table DialogTxt (Position short, Inhalt text(50), Wert double)");
        d->Execute("insert into dialogtxt (position, inhalt, wert) values (1, 'Beginn', 0.85)");
        d->Execute("INSERT INTO DIALOGTXT (POSITION, INHALT, WERT) VALUES (2, 'Ende', 1500.25)");
        auto rs = d->OpenRecordset(
            "select distinct * from DIALOGTXT where inhalt like 'b*' or position in (2) "
            "order by position",
            db::RecordsetType::Snapshot);
        ASSERT_EQ(rs->RecordCount(), 2);
        EXPECT_EQ(rs->Fields("INHALT").Value().toString(), "Beginn");
        EXPECT_EQ(rs->Fields("wert").Value().toDouble(), 0.85);
        rs->FindFirst("WERT > 1.2 AND Position = 2");
        ASSERT_FALSE(rs->NoMatch());
        EXPECT_EQ(rs->Fields("Wert").Value().toDouble(), 1500.25);
        auto t = d->OpenRecordset("dialogtxt", db::RecordsetType::Table);
        EXPECT_EQ(t->RecordCount(), 2);
        d->Close();
    }
}
