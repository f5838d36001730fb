#include <sqlite3.h>
#include <sys/stat.h>

#include "db_fixture.h"

using namespace dbtest;

using support::readFile;

class Files : public DbTest {};

TEST_F(Files, ImportCopiesPersonsFromAFileWhosePathHoldsAnApostrophe) {
    std::filesystem::create_directory(path("O'Brien"));
    const std::string source = path("O'Brien/quelle.ZDB");
    {
        auto s = makeDataFile(*ws, source);
        addPerson(*s, "Anna", "Quelle");
        addPerson(*s, "Bruno", "Quelle");
    }
    auto target = makeDataFile(*ws, path("ziel.ZDB"));
    addPerson(*target, "Carla", "Ziel");

    target->Execute(" SELECT * INTO persdattemp FROM persdat  in '" + source + "'; ");
    EXPECT_EQ(target->RecordsAffected(), 2);
    target->Execute(
        "insert into persdat (vorname,nachname, geburtstag,strasse, plzort, land,telefon,email,testdatum,"
        "bereich,abteilung,bemerkung, metasatz)  select  vorname,nachname, geburtstag,strasse, plzort, land,"
        "telefon,email,testdatum,bereich,abteilung,bemerkung, metasatz  from  persdattemp");
    // The temporary copy keeps the column types, so the renumbering cursor checks them.
    db::DataControl data2;
    data2.setDatabaseName(path("ziel.ZDB"));
    data2.setConnect("Access 2000;");
    target->Execute(" SELECT * INTO ergebnistemp FROM ergebnis  in '" + source + "'; ");
    EXPECT_EQ(errorOf([&] { target->Execute(" SELECT * INTO ergebnistemp FROM ergebnis  in '" + source + "'; "); }),
              vb::err::ObjectExists);
    data2.setRecordSource("ergebnistemp");
    data2.Refresh();
    auto rs = data2.Recordset();
    int number = 2, count = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        rs->Edit();
        rs->Fields("personid") = number;
        rs->Update();
        if (++count % 9 == 0) ++number;
    }
    EXPECT_EQ(errorOf([&] {
                  rs->MoveFirst();
                  rs->Edit();
                  rs->Fields("typsumme0") = 99999;
              }),
              vb::err::NumericOverflow);
    target->Execute(
        "insert into ergebnis (personid, typnummer, typgesamtsumme,typsumme0,typsumme1,typsumme01,typsumme2,"
        "typsumme3,typsumme4,typsumme34,aw0,aw1,aw2,aw3,aw4,awgesamt)  select  personid, typnummer, "
        "typgesamtsumme,typsumme0,typsumme1,typsumme01,typsumme2,typsumme3,typsumme4,typsumme34,aw0,aw1,"
        "aw2,aw3,aw4,awgesamt  from  ergebnistemp");
    data2.close();
    target->Execute("drop table [persdattemp];");
    target->Execute("drop table [ergebnistemp];");
    EXPECT_EQ(target->OpenRecordset("select * from ergebnis where personid =  3")->RecordCount(), 9);
    auto names = target->OpenRecordset("select * from persdat order by personid");
    names->MoveLast();
    EXPECT_EQ(names->Fields("vorname").Value().toString(), "Bruno");
    EXPECT_EQ(names->Fields("personid").Value().toLong(), 3);
    // Rows renumbered onto a person that does not exist are refused.
    target->Execute(" SELECT * INTO ergebnistemp FROM ergebnis  in '" + source + "'; ");
    target->Execute("update ergebnistemp set personid = 50");
    EXPECT_EQ(errorOf([&] { target->Execute("insert into ergebnis select * from ergebnistemp"); }),
              vb::err::RelatedRecordRequired);
    EXPECT_EQ(target->OpenRecordset("ergebnis")->RecordCount(), 27);
    // The temporary tables are not protected by relations.
    target->Execute("drop table ergebnistemp");
    EXPECT_EQ(errorOf([&] { target->Execute("drop table persdat"); }), vb::err::TableInRelationship);
    // The quoted file name of a caller that doubles the apostrophe works as well.
    target->Execute("SELECT * INTO x FROM info IN '" + path("O''Brien/quelle.ZDB") + "'");
    target->Close();
    EXPECT_EQ(integrity(path("ziel.ZDB")), "ok");
    EXPECT_EQ(integrity(source), "ok");
}

TEST_F(Files, BadFilesRaiseTheirErrorsAndStayAsTheyWere) {
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("fehlt.ZDB")); }), vb::err::FileNotFoundDb);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("kein/Ordner.ZDB")); }), vb::err::PathNotFound);
    EXPECT_EQ(errorOf([&] { ws->CreateDatabase(path("kein/Ordner.ZDB")); }), vb::err::PathNotFound);
    { std::ofstream(path("text.ZDB")) << "Dies ist keine Datenbank, sondern ein Brief.\n"; }
    const std::string text = readFile(path("text.ZDB"));
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("text.ZDB")); }), vb::err::NotADatabase);
    EXPECT_EQ(errorOf([&] { ws->CreateDatabase(path("text.ZDB")); }), vb::err::DatabaseExists);
    EXPECT_EQ(readFile(path("text.ZDB")), text);
    { std::ofstream(path("leer.ZDB")); }
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("leer.ZDB")); }), vb::err::NotADatabase);

    // A SQLite file of another program is not one of ours.
    sqlite3* raw = nullptr;
    sqlite3_open(path("fremd.db").c_str(), &raw);
    sqlite3_exec(raw, "CREATE TABLE t (a); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("fremd.db")); }), vb::err::NotADatabase);

    // A damaged data file.
    {
        auto d = makeDataFile(*ws, path("kaputt.ZDB"));
        addPerson(*d, "A", "B");
    }
    {
        std::fstream f(path("kaputt.ZDB"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096 + 10);
        const std::string junk(4096 * 3, '\x5a');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    const std::string damaged = readFile(path("kaputt.ZDB"));
    const int err = errorOf([&] {
        auto d = ws->OpenDatabase(path("kaputt.ZDB"));
        for (const auto& t : d->TableDefs()) d->OpenRecordset(t);
    });
    EXPECT_EQ(err, vb::err::NotADatabase);
    EXPECT_EQ(readFile(path("kaputt.ZDB")), damaged);

    // A write-protected file opens read-only only.
    makeDataFile(*ws, path("schutz.ZDB"))->Close();
    ::chmod(path("schutz.ZDB").c_str(), 0444);
    const std::string protectedBytes = readFile(path("schutz.ZDB"));
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("schutz.ZDB")); }), vb::err::FileLocked);
    EXPECT_NO_THROW(ws->OpenDatabase(path("schutz.ZDB"), false, true)->OpenRecordset("Info"));
    EXPECT_EQ(readFile(path("schutz.ZDB")), protectedBytes);

    // SQL texts the engine cannot translate.
    auto d = makeDataFile(*ws, path("sql.ZDB"));
    EXPECT_EQ(errorOf([&] { d->Execute("TRANSFORM Sum(x) SELECT a FROM b PIVOT c"); }), vb::err::InvalidSqlStatement);
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("select * from persdat where geburtstag = #1/1/2020#"); }),
              vb::err::SyntaxError);
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("select * from gibtsnicht"); }), vb::err::TableNotFound);
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("gibtsnicht"); }), vb::err::ObjectNotFound);  // as for a file without Info
    EXPECT_EQ(errorOf([&] { d->Execute("select * from persdat"); }), vb::err::CannotExecuteSelectQuery);
    EXPECT_EQ(errorOf([&] { d->Execute("CREATE TABLE [T] ([A] HYPERLINK)"); }), vb::err::FieldDefinitionSyntaxError);
    EXPECT_EQ(errorOf([&] { d->Execute("update persdat set vorname = 'x"); }), vb::err::SyntaxError);
    d->Close();
    EXPECT_EQ(integrity(path("sql.ZDB")), "ok");
}

TEST_F(Files, LockedAndExclusiveFilesAreRefused) {
    makeDataFile(*ws, path("excl.ZDB"))->Close();
    {
        auto own = ws->OpenDatabase(path("excl.ZDB"), true);
        EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("excl.ZDB")); }), vb::err::FileInUse);
        db::DataControl dc;
        dc.setDatabaseName(path("excl.ZDB"));
        dc.setRecordSource("Info");
        EXPECT_EQ(errorOf([&] { dc.Refresh(); }), vb::err::FileInUse);
    }
    EXPECT_NO_THROW(ws->OpenDatabase(path("excl.ZDB")));

    // Another program holds the file locked.
    sqlite3* other = nullptr;
    sqlite3_open(path("excl.ZDB").c_str(), &other);
    sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM Info;", nullptr, nullptr, nullptr);
    EXPECT_EQ(errorOf([&] { ws->OpenDatabase(path("excl.ZDB")); }), vb::err::FileInUse);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(ws->OpenDatabase(path("excl.ZDB"))->OpenRecordset("Info")->RecordCount(), 1);
}

TEST_F(Files, CompactionWritesANewFileAndLeavesTheSource) {
    {
        auto d = makeDataFile(*ws, path("A.ZDB"));
        addPerson(*d, "A", "Eins");
        addPerson(*d, "B", "Zwei");
        d->Execute("delete from persdat where personid = 2");
    }
    const std::string source = readFile(path("A.ZDB"));
    auto& e = db::DBEngine::instance();
    e.CompactDatabase(path("A.ZDB"), path("B.ZDB"), "", db::dbEncrypt);
    EXPECT_EQ(readFile(path("A.ZDB")), source);
    EXPECT_EQ(integrity(path("B.ZDB")), "ok");
    auto b = ws->OpenDatabase(path("B.ZDB"));
    EXPECT_EQ(b->OpenRecordset("typwertzuweisung")->RecordCount(), 126);
    EXPECT_EQ(b->Relations().size(), 3u);
    auto p = b->OpenRecordset("persdat");
    p->AddNew();
    EXPECT_EQ(p->Fields("personid").Value().toLong(), 2);  // the counter restarts after the highest number
    p->CancelUpdate();
    b->Close();
    EXPECT_EQ(errorOf([&] { e.CompactDatabase(path("A.ZDB"), path("B.ZDB")); }), vb::err::DatabaseExists);
    EXPECT_EQ(errorOf([&] { e.CompactDatabase(path("A.ZDB"), path("a.zdb")); }), vb::err::DatabaseExists);
    EXPECT_EQ(errorOf([&] { e.CompactDatabase(path("fehlt.ZDB"), path("C.ZDB")); }), vb::err::FileNotFoundDb);
    EXPECT_EQ(errorOf([&] { e.CompactDatabase(path("A.ZDB"), path("fehlt/C.ZDB")); }), vb::err::PathNotFound);
    EXPECT_FALSE(std::filesystem::exists(path("C.ZDB")));
    EXPECT_EQ(readFile(path("A.ZDB")), source);
}
