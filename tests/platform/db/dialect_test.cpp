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
    c->Execute(
        "CREATE VIEW themenalleinfos AS SELECT thementitel.titel AS [thementitel.titel], thema.thementitelid AS "
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
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), vb::err::ReadOnlyDatabase);
}

TEST_F(Views, AStoredQueryNamesRepeatedColumnsAfterTheirTables) {
    auto c = ws->CreateDatabase(path("v.sdb"), "", db::dbInstallation);
    c->Execute("CREATE TABLE a (id LONG, titel TEXT(20), nur_a SHORT)");
    c->Execute("CREATE TABLE b (id LONG, Titel TEXT(20))");
    c->Execute("INSERT INTO a VALUES (1, 'A1', 7)");
    c->Execute("INSERT INTO b VALUES (1, 'B1')");
    c->Execute("CREATE VIEW alles AS SELECT * FROM a INNER JOIN b ON a.id = b.id");
    auto rs = c->OpenRecordset("select * from alles where b.titel = 'B1' order by a.id");
    ASSERT_EQ(rs->RecordCount(), 1);
    std::string names;
    for (int i = 0; i < rs->FieldCount(); ++i) names += rs->Fields(i).Name() + " ";
    EXPECT_EQ(names, "a.id a.titel nur_a b.id b.Titel ");
    EXPECT_EQ(rs->Fields("A.TITEL").Value().toString(), "A1");
    EXPECT_EQ(rs->Fields("nur_a").Value().toInt(), 7);
    // The tables themselves keep their table.column names.
    EXPECT_EQ(c->OpenRecordset("select a.titel from a where a.id = 1")->Fields("titel").Value().toString(), "A1");
    EXPECT_EQ(errorOf([&] { c->Execute("CREATE VIEW alles AS SELECT * FROM a"); }), vb::err::ObjectExists);
}

TEST_F(Views, TableDefinitionsKeepJetTypesAndKeys) {
    auto d = ws->CreateDatabase(path("ddl.sdb"), "", db::dbInstallation);
    d->Execute(
        "CREATE TABLE [A] ([ID] COUNTER CONSTRAINT PK PRIMARY KEY, [Name] TEXT NOT NULL, [Anteil] SINGLE, "
        "[Wert] DOUBLE, [Klein] BYTE, [Notiz] MEMO, [Ja] YESNO)");
    d->Execute("CREATE TABLE B (Nr COUNTER, Code LONG, CONSTRAINT pk PRIMARY KEY (Code))");
    auto a = d->OpenRecordset("A");
    EXPECT_EQ(a->Fields("ID").Type(), db::FieldType::Counter);
    EXPECT_EQ(a->Fields("Name").Type(), db::FieldType::Text);
    EXPECT_EQ(a->Fields("Name").Size(), 255);
    EXPECT_EQ(a->Fields("Anteil").Type(), db::FieldType::Single);
    EXPECT_EQ(a->Fields("Klein").Type(), db::FieldType::Byte);
    EXPECT_EQ(a->Fields("Notiz").Type(), db::FieldType::Memo);
    a->AddNew();
    EXPECT_EQ(errorOf([&] { a->Update(); }), vb::err::FieldRequired);  // Name is required
    a->Fields("Name") = "x";
    a->Fields("Anteil") = 0.85;
    EXPECT_EQ(errorOf([&] { a->Fields("Klein") = 256; }), vb::err::NumericOverflow);
    a->Update();
    auto back = d->OpenRecordset("A");
    EXPECT_EQ(back->Fields("Anteil").Value(), vb::Variant(0.85f));  // Single stays Single
    EXPECT_EQ(back->Fields("Ja").Value(), vb::Variant(false));
    auto b = d->OpenRecordset("B");
    for (int i = 0; i < 2; ++i) {
        b->AddNew();
        b->Fields("Code") = 7;
        if (i == 0) b->Update();
    }
    EXPECT_EQ(errorOf([&] { b->Update(); }), vb::err::DuplicateKey);
    d->Close();
    EXPECT_EQ(integrity(path("ddl.sdb")), "ok");
}

TEST_F(Views, AmpersandJoinsTextsWithNullAsEmpty) {
    auto d = ws->CreateDatabase(path("amp.sdb"), "", db::dbInstallation);
    d->Execute("CREATE TABLE p (vorname TEXT(20), nachname TEXT(20), nr SHORT)");
    d->Execute("INSERT INTO p (nachname, nr) VALUES ('Berg', 7)");
    auto r = d->OpenRecordset(
        "SELECT vorname & ' ' & nachname AS voll, 'Nr. ' & (nr + 1) & '!' AS t FROM p "
        "WHERE nachname & 'x' = 'Bergx'");
    ASSERT_EQ(r->RecordCount(), 1);
    EXPECT_EQ(r->Fields("voll").Value().toString(), " Berg");
    EXPECT_EQ(r->Fields("t").Value().toString(), "Nr. 8!");
    r->FindFirst("voll & t = ' BergNr. 8!'");
    EXPECT_FALSE(r->NoMatch());
}
