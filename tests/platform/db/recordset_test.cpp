#include "db_fixture.h"

using namespace dbtest;
using vb::Variant;

class Recordsets : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        d = makeDataFile(*ws, path("daten.ZDB"));
    }
    void TearDown() override {
        d->Close();
        EXPECT_EQ(integrity(path("daten.ZDB")), "ok");
        DbTest::TearDown();
    }
    std::shared_ptr<db::Database> d;
};

TEST_F(Recordsets, MovesEofBofAndEmptySets) {
    auto empty = d->OpenRecordset("select * from persdat where personid =  1");
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(errorOf([&] { empty->MoveFirst(); }), vb::err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { empty->MoveLast(); }), vb::err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { (void)empty->Fields("vorname").Value(); }), vb::err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { empty->Fields("gibtsnicht"); }), vb::err::ItemNotFound);

    addPerson(*d, "A", "Eins");
    addPerson(*d, "B", "Zwei");
    auto p = d->OpenRecordset("persdat");
    EXPECT_FALSE(p->Eof());
    EXPECT_EQ(p->Fields(1).Value().toString(), "A");
    EXPECT_EQ(p->FieldCount(), 14);
    EXPECT_EQ(p->Fields(13).Name(), "Metasatz");
    p->MoveNext();
    EXPECT_EQ(p->Fields("VORNAME").Value().toString(), "B");
    p->MoveNext();
    EXPECT_TRUE(p->Eof());
    EXPECT_EQ(errorOf([&] { p->MoveNext(); }), vb::err::NoCurrentRecord);
    p->MoveLast();
    EXPECT_EQ(p->RecordCount(), 2);
    p->MovePrevious();
    p->MovePrevious();
    EXPECT_TRUE(p->Bof());
    EXPECT_EQ(errorOf([&] { p->MovePrevious(); }), vb::err::NoCurrentRecord);
    p->MoveFirst();
    const std::string mark = p->Bookmark();
    p->MoveLast();
    p->setBookmark(mark);
    EXPECT_EQ(p->Fields("nachname").Value().toString(), "Eins");
    EXPECT_EQ(errorOf([&] { p->setBookmark("999"); }), vb::err::InvalidBookmark);
}

TEST_F(Recordsets, AddNewGivesTheCounterAtOnceAndNeverAgain) {
    auto p = d->OpenRecordset("select * from persdat order by nachname");
    p->AddNew();
    EXPECT_EQ(p->Fields("PersonID").Value().toLong(), 1);
    EXPECT_EQ(p->Fields("Metasatz").Value(), Variant(false));  // Yes/No starts as No
    EXPECT_TRUE(p->Fields("Vorname").Value().isNull());
    p->CancelUpdate();
    p->AddNew();
    EXPECT_EQ(p->Fields("PersonID").Value().toLong(), 2);
    EXPECT_EQ(errorOf([&] { p->Fields("PersonID") = 7; }), vb::err::FieldNotUpdatable);
    p->Fields("Nachname") = "Neu";
    p->Fields("Metasatz") = 1;  // a check box writes 1
    p->Update();
    EXPECT_EQ(errorOf([&] { p->Update(); }), vb::err::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { p->Fields("Nachname") = "x"; }), vb::err::UpdateWithoutEdit);
    auto again = d->OpenRecordset("persdat");
    ASSERT_EQ(again->RecordCount(), 1);
    EXPECT_EQ(again->Fields("personid").Value().toLong(), 2);
    EXPECT_EQ(again->Fields("metasatz").Value().toInt(), -1);
    // A reopened file goes on after the highest number given.
    d->Close();
    d = ws->OpenDatabase(path("daten.ZDB"));
    auto q = d->OpenRecordset("persdat");
    q->AddNew();
    EXPECT_EQ(q->Fields("PersonID").Value().toLong(), 3);
    q->CancelUpdate();
}

TEST_F(Recordsets, ValuesAreCheckedAgainstTheirColumns) {
    auto p = d->OpenRecordset("persdat");
    p->AddNew();
    EXPECT_EQ(errorOf([&] { p->Fields("Testdatum") = "01.02.20260"; }), vb::err::FieldTooSmall);  // 11 characters
    p->Fields("Testdatum") = "Ä1.02.2026";  // 10 characters, not bytes
    p->Fields("Vorname") = "";              // empty text is a value
    p->Update();
    auto a = d->OpenRecordset("persontestergebnis");
    a->AddNew();
    a->Fields("PersonID") = 1;
    EXPECT_EQ(errorOf([&] { a->Fields("ItemWert") = 32768; }), vb::err::NumericOverflow);
    EXPECT_EQ(errorOf([&] { a->Fields("ItemWert") = "vier"; }), vb::err::TypeMismatch);
    a->Fields("ItemNummer") = " 17";  // text of a number is stored as the number
    a->Fields("ItemWert") = 2.5;      // rounds to even
    a->Update();
    auto r = d->OpenRecordset("select * from persontestergebnis");
    EXPECT_EQ(r->Fields("itemnummer").Value(), Variant(int16_t(17)));
    EXPECT_EQ(r->Fields("itemwert").Value(), Variant(int16_t(2)));
    EXPECT_EQ(d->OpenRecordset("persdat")->Fields("Vorname").Value(), Variant(""));
    // A Null read as text is the caller's error 94.
    auto n = d->OpenRecordset("persdat");
    EXPECT_EQ(errorOf([&] { (void)n->Fields("nachname").Value().toString(); }), vb::err::InvalidUseOfNull);
    // The checks hold for SQL too.
    EXPECT_EQ(errorOf([&] { d->Execute("update persdat set testdatum = '12345678901'"); }), vb::err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { d->Execute("update persontestergebnis set itemwert = 40000"); }), vb::err::NumericOverflow);
    EXPECT_EQ(errorOf([&] { d->Execute("update persontestergebnis set itemwert = 'x'"); }), vb::err::NumericOverflow);
}

TEST_F(Recordsets, StoringARatingFindsTheStatementsItemTypeRows) {
    const int id = addPerson(*d, "Anna", "Berg");
    // The answer and item-type cursors of the test window, with a number compared by LIKE.
    auto answers = d->OpenRecordset("select * from persontestergebnis where personid like " + std::to_string(id));
    auto types = d->OpenRecordset("select * from typwertzuweisung where personid like " + std::to_string(id));
    EXPECT_EQ(answers->RecordCount(), 109);
    answers->FindFirst("itemnummer like 17");
    ASSERT_FALSE(answers->NoMatch());
    answers->Edit();
    answers->Fields("ItemWert") = 3;
    answers->Update();
    int rows = 0;
    types->FindFirst("itemnummer like  17");  // two blanks, as Str$ writes the number
    while (!types->NoMatch()) {
        types->Edit();
        types->Fields("typrealwert") = 4 - answers->Fields("itemwert").Value().toInt();
        types->Update();
        ++rows;
        types->FindNext("itemnummer like  17");
    }
    EXPECT_EQ(rows, 2);          // statement 17 has two item-type rows in the fixture
    EXPECT_FALSE(types->Eof());  // a failed search leaves the position where it was
    types->FindFirst("itemnummer like 1");
    EXPECT_EQ(types->Fields("itemnummer").Value().toInt(), 1);  // not 17 or 100-109
    types->FindLast("itemnummer like '1*'");
    EXPECT_EQ(types->Fields("itemnummer").Value().toInt(), 17);
    types->FindPrevious("itemnummer = 10");
    EXPECT_EQ(types->Fields("itemnummer").Value().toInt(), 10);
    types->MoveFirst();
    types->FindFirst("typrealwert is Null");
    EXPECT_EQ(types->Fields("itemnummer").Value().toInt(), 1);
    EXPECT_EQ(errorOf([&] { types->FindFirst("gibtsnicht = 1"); }), vb::err::UnknownFieldInCriteria);
    EXPECT_EQ(errorOf([&] { types->FindFirst("itemnummer = = 1"); }), vb::err::CriteriaSyntaxError);
    auto stored = d->OpenRecordset("select * from typwertzuweisung where itemnummer = 17 and typrealwert = 1");
    EXPECT_EQ(stored->RecordCount(), 2);
}

TEST_F(Recordsets, SortsTextInGermanOrderAndTiesInStoredOrder) {
    for (const char* name : {"Zander", "Ärger", "adler", "Bär", "Bach", "Öl", "Ober"}) {
        auto p = d->OpenRecordset("persdat");
        p->AddNew();
        p->Fields("Nachname") = name;
        p->Fields("Vorname") = std::string("v") + name;
        p->Update();
    }
    auto s = d->OpenRecordset("select * from persdat order by nachname, vorname");
    std::vector<std::string> names;
    for (; !s->Eof(); s->MoveNext()) names.push_back(s->Fields("Nachname").Value().toString());
    EXPECT_EQ(names, (std::vector<std::string>{"adler", "Ärger", "Bach", "Bär", "Ober", "Öl", "Zander"}));

    // Equal scores keep the order in which the rows were stored.
    auto e = d->OpenRecordset("ergebnis");
    const int id = addPerson(*d, "X", "Y");
    auto rows = d->OpenRecordset("select * from ergebnis where personid = " + std::to_string(id));
    for (; !rows->Eof(); rows->MoveNext()) {
        rows->Edit();
        const int t = rows->Fields("typnummer").Value().toInt();
        rows->Fields("typgesamtsumme") = (t == 2 || t == 5 || t == 8) ? 10 : t;
        rows->Update();
    }
    auto ranked = d->OpenRecordset("select * from ergebnis  where personid = " + std::string(" ") + std::to_string(id) +
                                   " order by typgesamtsumme desc");
    std::vector<int> order;
    for (; !ranked->Eof(); ranked->MoveNext()) order.push_back(ranked->Fields("TypNummer").Value().toInt());
    EXPECT_EQ(order, (std::vector<int>{2, 5, 8, 9, 7, 6, 4, 3, 1}));
}

TEST_F(Recordsets, DeleteLeavesNoCurrentRowUntilTheNextMove) {
    addPerson(*d, "A", "Eins");
    addPerson(*d, "B", "Zwei");
    addPerson(*d, "C", "Drei");
    auto p = d->OpenRecordset("select * from persdat order by nachname");  // Drei, Eins, Zwei
    p->FindFirst("PersonID =1");
    ASSERT_FALSE(p->NoMatch());
    p->Delete();
    EXPECT_EQ(errorOf([&] { (void)p->Fields("Vorname").Value(); }), vb::err::RowDeleted);
    p->MoveNext();
    EXPECT_EQ(p->Fields("Nachname").Value().toString(), "Zwei");
    EXPECT_EQ(p->RecordCount(), 2);
    p->FindFirst("PersonID =1");
    EXPECT_TRUE(p->NoMatch());
    EXPECT_EQ(p->Fields("Nachname").Value().toString(), "Zwei");
    p->Requery();
    EXPECT_EQ(p->Fields("Nachname").Value().toString(), "Drei");
}

TEST_F(Recordsets, SnapshotsAndReadOnlyFilesRefuseChanges) {
    addPerson(*d, "A", "Eins");
    auto snap = d->OpenRecordset("SELECT DISTINCTROW PersDat.Nachname FROM PersDat ORDER BY PersDat.PersonID;",
                                 db::RecordsetType::Snapshot);
    EXPECT_EQ(snap->Fields("nachname").Value().toString(), "Eins");
    EXPECT_EQ(errorOf([&] { snap->Edit(); }), vb::err::ReadOnlyDatabase);
    auto join = d->OpenRecordset(
        "select p.nachname, e.typnummer from persdat p, ergebnis e where p.personid = e.personid");
    EXPECT_EQ(join->RecordCount(), 9);
    EXPECT_EQ(errorOf([&] { join->AddNew(); }), vb::err::ReadOnlyDatabase);
    d->Close();
    const auto before = std::filesystem::file_size(path("daten.ZDB"));
    auto ro = ws->OpenDatabase(path("daten.ZDB"), false, true);
    EXPECT_TRUE(ro->readOnly());
    auto p = ro->OpenRecordset("persdat");
    EXPECT_EQ(errorOf([&] { p->Edit(); }), vb::err::ReadOnlyDatabase);
    EXPECT_EQ(errorOf([&] { ro->Execute("delete * from persdat"); }), vb::err::ReadOnlyDatabase);
    EXPECT_EQ(errorOf([&] { ro->Execute("CREATE TABLE [Neu] ([A] short)"); }), vb::err::ReadOnlyDatabase);
    EXPECT_EQ(ro->OpenRecordset("persdat")->RecordCount(), 1);
    ro->Close();
    EXPECT_EQ(std::filesystem::file_size(path("daten.ZDB")), before);
    d = ws->OpenDatabase(path("daten.ZDB"));
}

TEST_F(Recordsets, TransactionsWriteAPersonWhollyOrNotAtAll) {
    d->BeginTrans();
    addPerson(*d, "A", "Eins");
    d->Rollback();
    EXPECT_EQ(d->OpenRecordset("persontestergebnis")->RecordCount(), 0);
    EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 0);
    ws->BeginTrans();
    addPerson(*d, "B", "Zwei");
    ws->CommitTrans();
    EXPECT_EQ(d->OpenRecordset("typwertzuweisung")->RecordCount(), 126);
    EXPECT_EQ(errorOf([&] { d->CommitTrans(); }), vb::err::CommitWithoutBeginTrans);
}

TEST_F(Recordsets, DataControlFollowsItsRowAndRebinds) {
    addPerson(*d, "A", "Eins");
    addPerson(*d, "B", "Zwei");
    db::DataControl dc;
    int calls = 0;
    const int id = dc.addRowListener([&] { ++calls; });
    dc.setDatabaseName(path("daten.ZDB"));
    dc.setRecordSource("select * from persdat order by nachname, vorname");
    dc.Refresh();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dc.Recordset()->Fields("vorname").Value().toString(), "A");
    dc.Recordset()->MoveNext();
    EXPECT_EQ(calls, 2);
    dc.Recordset()->Edit();
    dc.Recordset()->Fields("Vorname") = "Berta";
    dc.Recordset()->Update();
    EXPECT_EQ(calls, 3);
    // Another cursor of the same file sees the change after its Refresh; no lock is left behind.
    db::DataControl other;
    other.setDatabaseName(path("DATEN.zdb"));  // case as the programs write it
    other.setRecordSource("PersDat");
    other.Refresh();
    other.Recordset()->MoveLast();
    EXPECT_EQ(other.Recordset()->Fields("Vorname").Value().toString(), "Berta");
    d->Execute("DELETE * FROM Drucktabelle;");
    dc.removeRowListener(id);
    dc.setRecordSource("Drucktabelle");
    dc.Refresh();
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(dc.Recordset()->Eof());
    dc.Recordset()->AddNew();
    dc.Recordset()->Fields("Druckseite") = 1;
    dc.Recordset()->Fields("ZeilenNr") = 1;
    dc.Recordset()->Fields("Zeilentext") = "Zeile";
    dc.Recordset()->Update();
    EXPECT_EQ(dc.Recordset()->RecordCount(), 1);
    dc.close();
    EXPECT_EQ(dc.Recordset(), nullptr);
}

TEST_F(Recordsets, ADynasetSeesChangesOfOtherCursorsWhenItComesToARow) {
    addPerson(*d, "A", "Eins");
    addPerson(*d, "B", "Zwei");
    addPerson(*d, "C", "Drei");
    auto browse = d->OpenRecordset("select * from persdat order by personid");
    db::DataControl other;
    other.setDatabaseName(path("daten.ZDB"));
    other.setRecordSource("persdat");
    other.Refresh();
    auto rs = other.Recordset();
    rs->MoveNext();
    rs->Edit();
    rs->Fields("Vorname") = "Berta";
    rs->Update();
    rs->MoveNext();
    rs->Delete();
    browse->MoveNext();
    EXPECT_EQ(browse->Fields("Vorname").Value().toString(), "Berta");
    browse->MoveNext();
    EXPECT_EQ(errorOf([&] { (void)browse->Fields("Vorname").Value(); }), vb::err::RowDeleted);
    EXPECT_EQ(errorOf([&] { browse->Edit(); }), vb::err::RowDeleted);
    browse->FindFirst("Vorname = 'C'");
    EXPECT_TRUE(browse->NoMatch());
    // Text compares without regard to case, as names are typed.
    EXPECT_EQ(d->OpenRecordset("select * from persdat where nachname = 'EINS'")->RecordCount(), 1);
    // A second statement is refused instead of being dropped or run.
    EXPECT_EQ(errorOf([&] { d->Execute("delete from persdat where personid = 1; drop table info"); }),
              vb::err::CharactersAfterStatementEnd);
    EXPECT_EQ(errorOf([&] { browse->FindFirst("personid = 1); delete from persdat; --"); }),
              vb::err::CriteriaSyntaxError);
    EXPECT_EQ(d->OpenRecordset("persdat")->RecordCount(), 2);
    EXPECT_TRUE(d->hasTable("Info"));
}

TEST_F(Recordsets, SortsOnANameOfTheSelectList) {
    addPerson(*d, "A", "Zett");
    addPerson(*d, "B", "Ahorn");
    auto r = d->OpenRecordset("select nachname as n, personid from persdat order by n");
    EXPECT_EQ(r->Fields("n").Value().toString(), "Ahorn");
    r->Edit();
    EXPECT_EQ(errorOf([&] { r->Fields("n") = "x"; }), 0);
    r->Update();
    r->Requery();
    EXPECT_EQ(r->Fields("n").Value().toString(), "x");
}
