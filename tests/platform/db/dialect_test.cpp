#include "db_fixture.h"
#include "platform/db/text.h"

using namespace dbtest;
using db::detail::compareGerman;
using db::detail::jetLike;

TEST(Dialect, GermanOrderAndJetWildcards) {
    EXPECT_GT(compareGerman("Müller", "Mueller"), 0);
    EXPECT_LT(compareGerman("Ärger", "Bach"), 0);
    EXPECT_LT(compareGerman("bach", "Bach"), 0);
    EXPECT_EQ(compareGerman("Straße", "Straße"), 0);
    EXPECT_LT(compareGerman("Strasse", "Straße"), 0);
    EXPECT_TRUE(jetLike("17", "17"));
    EXPECT_FALSE(jetLike("170", "17"));
    EXPECT_TRUE(jetLike("Müller", "m?ller"));
    EXPECT_TRUE(jetLike("Berg", "B*"));
    EXPECT_TRUE(jetLike("a5", "a#"));
    EXPECT_FALSE(jetLike("ab", "a#"));
    EXPECT_TRUE(jetLike("Kern", "[J-L]ern"));
    EXPECT_FALSE(jetLike("Kern", "[!K]ern"));
}

class Views : public DbTest {};

TEST_F(Views, ColumnsNamedWithADotAreFoundInQueriesAndCriteria) {
    auto c = ws->CreateDatabase(path("zuv40typ.sdb"), "", db::dbInstallation);
    c->Execute("CREATE TABLE thementitel (thementitelid LONG, titel TEXT(100))");
    c->Execute("CREATE TABLE thema (enneatypid SHORT, thementitelid LONG, inhalt LONGTEXT)");
    c->Execute("INSERT INTO thementitel VALUES (1, 'Kindheit'), (2, 'Beruf')");
    c->Execute("INSERT INTO thema VALUES (3, 2, \"Text B\"), (3, 1, 'Text A'), (4, 1, 'anderer Typ')");
    c->Execute("CREATE VIEW themenalleinfos AS SELECT thementitel.titel AS [thementitel.titel], thema.thementitelid AS "
               "[thema.thementitelid], thema.enneatypid, thema.inhalt FROM thema, thementitel WHERE "
               "thema.thementitelid = thementitel.thementitelid");
    auto rs = c->OpenRecordset("select * from themenalleinfos where enneatypid =  3 order by thema.thementitelid");
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("Thementitel.Titel").Value().toString(), "Kindheit");
    EXPECT_EQ(rs->Fields("Inhalt").Value().toString(), "Text A");
    auto one = c->OpenRecordset("select * from themenalleinfos where thementitel.titel = 'Beruf' and enneatypid = 3");
    EXPECT_EQ(one->RecordCount(), 1);
    rs->FindFirst("thementitel.titel = 'Beruf'");
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("inhalt").Value().toString(), "Text B");
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), 3027);
}
