#include "db_fixture.h"

using namespace dbtest;
using vb::Variant;

// The engine as the programs use it: text tables of the settings database, the item-type table,
// the XML import's dynasets, scoring.
class Traffic : public DbTest {};

TEST_F(Traffic, SettingsTablesLoadThroughSnapshots) {
    auto s = ws->CreateDatabase(path("zuv.sdb"), "", db::dbInstallation);
    s->Execute("CREATE TABLE [DialogTxt] ([ID] SHORT, [BeschriftungDtsch] TEXT(255))");
    s->Execute("CREATE TABLE [TestItemTyp] ([ItemNummer] SHORT, [TypNummer] SHORT)");
    s->Execute(
        "CREATE TABLE [Konfiguration] ([Assistentanzeige] YESNO, [Standardschriftfarbe] LONG, [Vorname] TEXT(50))");
    s->BeginTrans();
    auto t = s->OpenRecordset("DialogTxt", db::RecordsetType::Table);
    for (int id : {2, 0, 1}) {
        t->AddNew();
        t->Fields("ID") = static_cast<int16_t>(id);
        t->Fields("BeschriftungDtsch") = "Text " + std::to_string(id);
        t->Update();
    }
    auto pairs = s->OpenRecordset("TestItemTyp");
    for (auto [item, type] : {std::pair{5, 8}, {5, 9}, {1, 3}, {2, 1}}) {
        pairs->AddNew();
        pairs->Fields("ItemNummer") = item;
        pairs->Fields("TypNummer") = type;
        pairs->Update();
    }
    auto k = s->OpenRecordset("Konfiguration");
    k->AddNew();
    k->Fields("Assistentanzeige") = true;
    k->Fields("Standardschriftfarbe") = 255;
    k->Update();
    s->CommitTrans();
    s->Close();

    // Every login opens the settings database; the start-up opens it shared and read-write.
    auto db = ws->OpenDatabase(path("ZUV.SDB"), false, false);
    auto texts = db->OpenRecordset(
        "SELECT DISTINCTROW DialogTxt.ID, DialogTxt.BeschriftungDtsch FROM DialogTxt ORDER BY DialogTxt.ID;",
        db::RecordsetType::Snapshot);
    texts->MoveLast();
    ASSERT_EQ(texts->RecordCount(), 3);
    texts->MoveFirst();
    std::vector<std::string> read;
    for (; !texts->Eof(); texts->MoveNext())
        read.push_back(std::to_string(texts->Fields("id").Value().toInt()) + "=" +
                       texts->Fields("BeschriftungDtsch").Value().toString());
    EXPECT_EQ(read, (std::vector<std::string>{"0=Text 0", "1=Text 1", "2=Text 2"}));
    texts->MoveLast();
    EXPECT_EQ(texts->Fields(0).Value(), Variant(int16_t(2)));

    auto items = db->OpenRecordset("SELECT DISTINCTROW * FROM TestItemTyp;", db::RecordsetType::Snapshot);
    std::string order;
    for (; !items->Eof(); items->MoveNext())
        order += items->Fields("ItemNummer").Value().toString() + "/" + items->Fields("TypNummer").Value().toString() +
                 " ";
    EXPECT_EQ(order, "5/8 5/9 1/3 2/1 ");  // stored order

    // The settings row kept in edit mode by one window does not block another window's save.
    db::DataControl form4, report;
    for (auto* dc : {&form4, &report}) {
        dc->setDatabaseName(path("zuv.sdb"));
        dc->setRecordSource("Konfiguration");
        dc->Refresh();
    }
    form4.Recordset()->Edit();
    form4.Recordset()->Fields("Vorname") = "Form4";
    report.Recordset()->Edit();
    report.Recordset()->Fields("Standardschriftfarbe") = 0;
    report.Recordset()->Update();
    form4.Recordset()->Update();
    auto row = db->OpenRecordset("select * from konfiguration");
    EXPECT_EQ(row->Fields("Vorname").Value().toString(), "Form4");
    EXPECT_EQ(row->Fields("Standardschriftfarbe").Value().toLong(), 0);
    EXPECT_EQ(row->Fields("Assistentanzeige").Value().toInt(), -1);
    db->Close();
    EXPECT_EQ(integrity(path("zuv.sdb")), "ok");
}

TEST_F(Traffic, XmlImportWritesAPersonThroughDynasetsAndStopsAtTooLongText) {
    auto d = makeDataFile(*ws, path("x.ZDB"));
    auto pers = d->OpenRecordset("persdat");
    pers->AddNew();
    const int id = pers->Fields("personid").Value().toLong();
    pers->Fields("Vorname") = "Ida";
    EXPECT_EQ(errorOf([&] { pers->Fields("Testdatum") = "31.12.20261"; }), vb::err::FieldTooSmall);
    pers->CancelUpdate();
    EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 0);  // the file is unchanged

    d->BeginTrans();
    pers->AddNew();
    const int id2 = pers->Fields("personid").Value().toLong();
    EXPECT_EQ(id2, id + 1);  // the abandoned number is not given again
    pers->Fields("Vorname") = "Ida";
    pers->Fields("Testdatum") = "31.12.2026";
    pers->Fields("Metasatz") = 0;
    pers->Update();
    auto answers = d->OpenRecordset("Select * from PersonTestErgebnis;", db::RecordsetType::Dynaset);
    for (int n = 1; n <= 109; ++n) {
        answers->AddNew();
        answers->Fields("PersonID") = id2;
        answers->Fields("ItemNummer") = n;
        answers->Fields("ItemWert") = n % 5;
        answers->Update();
    }
    auto types = d->OpenRecordset("Select * from TypWertZuweisung;", db::RecordsetType::Dynaset);
    for (int n = 1; n <= 126; ++n) {
        types->AddNew();
        types->Fields("personid") = id2;
        types->Fields("itemnummer") = n <= 109 ? n : n - 100;
        types->Fields("typnummer") = n % 9 + 1;
        types->Fields("typrealwert") = Variant();
        types->Update();
    }
    d->CommitTrans();
    auto own = d->OpenRecordset("Select * from TypWertZuweisung where PersonID = " + std::string(" ") +
                                std::to_string(id2));
    auto ans = d->OpenRecordset("Select * from PersonTestErgebnis where PersonID = " + std::string(" ") +
                                std::to_string(id2));
    int written = 0;
    for (int n = 1; n <= 109; ++n) {
        const std::string crit = "itemnummer like " + std::string(" ") + std::to_string(n);
        ans->FindFirst(crit);
        ASSERT_FALSE(ans->NoMatch());
        own->FindFirst(crit);
        do {
            own->Edit();
            own->Fields("typrealwert") = ans->Fields("itemwert").Value();
            own->Update();
            ++written;
            own->FindNext(crit);
        } while (!own->NoMatch());
    }
    EXPECT_EQ(written, 126);
    own->MoveFirst();
    own->FindFirst("typrealwert is Null");
    EXPECT_TRUE(own->NoMatch());
    d->Close();
    EXPECT_EQ(integrity(path("x.ZDB")), "ok");
}

TEST_F(Traffic, ImportInsideATransactionIsUndoneWhole) {
    {
        auto s = makeDataFile(*ws, path("q.ZDB"));
        addPerson(*s, "Q", "Quelle");
    }
    auto d = makeDataFile(*ws, path("z.ZDB"));
    d->BeginTrans();
    d->Execute(" SELECT * INTO persdattemp FROM persdat  in '" + path("q.ZDB") + "'; ");
    d->Execute("insert into persdat (vorname, nachname) select vorname, nachname from persdattemp");
    d->Rollback();
    EXPECT_FALSE(d->hasTable("persdattemp"));
    EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 0);
    // A file of another workgroup is refused as an import source.
    d->Close();
    auto fremd = support::startWorkgroup(path("Fremd.mda"), kUser, kPassword);
    auto own = makeDataFile(*fremd, path("eigen.ZDB"));
    EXPECT_EQ(errorOf([&] { own->Execute("SELECT * INTO t FROM persdat IN '" + path("q.ZDB") + "'"); }),
              vb::err::NoPermission);
    EXPECT_FALSE(own->hasTable("t"));
}
