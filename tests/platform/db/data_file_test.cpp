#include "db_fixture.h"

using namespace dbtest;

class DataFile : public DbTest {};

TEST_F(DataFile, IsMadeFromItsElevenStatementsWithRelationsAndInfoRow) {
    auto d = makeDataFile(*ws, path("neu.ZDB"));
    EXPECT_EQ(d->TableDefs(), (std::vector<std::string>{"Drucktabelle", "Ergebnis", "Info", "PersDat",
                                                        "PersonTestErgebnis", "TypWertZuweisung"}));
    EXPECT_EQ(d->Relations().size(), 3u);
    EXPECT_TRUE(d->hasTable("drucktabelle"));
    auto info = d->OpenRecordset("Info", db::RecordsetType::Table);
    ASSERT_EQ(info->RecordCount(), 1);
    EXPECT_EQ(info->Fields("version").Value().toString(), "32-Bit");
    EXPECT_EQ(info->Fields("ID").Value().toLong(), 1);
    d->Close();
    EXPECT_EQ(integrity(path("neu.ZDB")), "ok");
}

TEST_F(DataFile, DeletingAPersonDeletesItsRowsAndOrphansAreRefused) {
    auto d = makeDataFile(*ws, path("p.ZDB"));
    const int a = addPerson(*d, "Anna", "Berg");
    const int b = addPerson(*d, "Bruno", "Czech");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    auto p = d->OpenRecordset("select * from persdat where personid = " + std::string(" ") + std::to_string(a));
    ASSERT_EQ(p->RecordCount(), 1);
    p->Delete();
    for (const char* t : {"persontestergebnis", "typwertzuweisung", "ergebnis"}) {
        EXPECT_EQ(d->OpenRecordset(std::string("select * from ") + t + " where personid = 1")->RecordCount(), 0) << t;
        EXPECT_GT(d->OpenRecordset(std::string("select * from ") + t + " where personid = 2")->RecordCount(), 0) << t;
    }
    auto e = d->OpenRecordset("ergebnis");
    e->AddNew();
    e->Fields("PersonID") = 99;
    e->Fields("TypNummer") = 1;
    EXPECT_EQ(errorOf([&] { e->Update(); }), vb::err::RelatedRecordRequired);
    EXPECT_EQ(errorOf([&] { d->Execute("insert into ergebnis (personid, typnummer) values (77, 1)"); }),
              vb::err::RelatedRecordRequired);
    // Changing a person's number carries over to its rows.
    d->Execute("update persdat set personid = 20 where personid = 2");
    EXPECT_EQ(d->OpenRecordset("select * from typwertzuweisung where personid =  20")->RecordCount(), 126);
    d->Close();
    EXPECT_EQ(integrity(path("p.ZDB")), "ok");
}

TEST_F(DataFile, AFailedStepOfSeveralStatementsLeavesTheFileAsItWas) {
    auto d = ws->CreateDatabase(path("teil.ZDB"));
    for (int i = 0; i < 6; ++i) d->Execute(kDataFileStatements[i]);
    d->Execute("insert into persdat (vorname) values ('A')");
    d->Execute("insert into ergebnis (personid, typnummer) values (1, 1)");
    d->Execute("insert into ergebnis (personid, typnummer) values (5, 2)");  // no person 5
    EXPECT_EQ(errorOf([&] { d->CreateRelation("R", "PersDat", "Ergebnis", 4352, "PersonID", "PersonID"); }),
              vb::err::RelatedRecordRequired);
    EXPECT_TRUE(d->Relations().empty());
    EXPECT_EQ(d->OpenRecordset("Ergebnis")->RecordCount(), 2);
    d->Execute("insert into ergebnis (personid, typnummer) values (9, 3)");  // still no relation
    EXPECT_EQ(errorOf([&] { d->CreateRelation("R", "Ergebnis", "PersonTestErgebnis", 4352, "TypNummer", "ItemNummer"); }),
              vb::err::NoUniqueIndexOnPrimaryField);  // the parent field is not unique
    EXPECT_EQ(errorOf([&] { d->Execute("SELECT * INTO neu FROM gibtsnicht"); }), vb::err::TableNotFound);
    EXPECT_FALSE(d->hasTable("neu"));
    EXPECT_EQ(errorOf([&] { d->Execute("SELECT * INTO neu FROM persdat IN '" + path("fehlt.ZDB") + "'"); }),
              vb::err::FileNotFoundDb);
    EXPECT_FALSE(d->hasTable("neu"));
    d->Close();
    EXPECT_EQ(integrity(path("teil.ZDB")), "ok");
}
