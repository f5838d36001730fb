#include "db_fixture.h"

using namespace dbtest;

class Login : public DbTest {};

TEST_F(Login, WorkgroupFileIsBoundAtFirstWorkspaceAndChecksAccounts) {
    auto& e = db::DBEngine::instance();
    EXPECT_EQ(errorOf([&] { e.CreateWorkspace("Kestrel", kUser, "mossglade"); }), vb::err::BadLogin);
    EXPECT_EQ(errorOf([&] { e.CreateWorkspace("Kestrel", "Fremd", kPassword); }), vb::err::BadLogin);
    EXPECT_NO_THROW(e.CreateWorkspace("Kestrel", "kestreladmin", kPassword));  // names without regard to case
    // Once bound, a later SystemDB does not change the workgroup in use.
    e.setSystemDB(path("fehlt/Sys.mda"));
    EXPECT_NO_THROW(e.CreateWorkspace("Kestrel", kUser, kPassword));
}

TEST_F(Login, MissingWorkgroupFileStopsTheFirstWorkspace) {
    auto& e = db::DBEngine::instance();
    e.reset();
    std::filesystem::create_directory(path("daten"));
    db::createWorkgroupFile(path("daten/Sys.mda"), path("daten/Sys.mda"), {{kUser, kPassword}}, {});
    e.setSystemDB(path("programm") + "\\Sys.mda");
    EXPECT_EQ(errorOf([&] { e.CreateWorkspace("Kestrel", kUser, kPassword); }), vb::err::NoWorkgroupFile);
    e.setSystemDB(path("Kaputt.mda"));
    { std::ofstream(path("Kaputt.mda")) << "kein Arbeitsgruppenfile"; }
    EXPECT_EQ(errorOf([&] { e.CreateWorkspace("Kestrel", kUser, kPassword); }), vb::err::NoWorkgroupFile);
    e.setSystemDB(path("DATEN\\sys.mda"));  // written as the programs write it
    EXPECT_NO_THROW(e.CreateWorkspace("Kestrel", kUser, kPassword));
}

TEST_F(Login, DataFileOpensOnlyThroughItsCreatingAccount) {
    makeDataFile(*ws, path("eigen.ZDB"))->Close();
    EXPECT_NO_THROW(ws->OpenDatabase(path("eigen.ZDB")));

    // The same account name in another workgroup file is another account.
    auto& e = db::DBEngine::instance();
    e.reset();
    db::createWorkgroupFile(path("Other.mda"), "eine andere Arbeitsgruppe", {{kUser, kPassword}, {"Gast", "g"}}, {});
    e.setSystemDB(path("Other.mda"));
    e.setDefaultUser(kUser);
    e.setDefaultPassword(kPassword);
    auto other = e.CreateWorkspace("Kestrel", kUser, kPassword);
    EXPECT_EQ(errorOf([&] { other->OpenDatabase(path("eigen.ZDB")); }), vb::err::NoPermission);
    auto guest = e.CreateWorkspace("Kestrel", "Gast", "g");
    EXPECT_EQ(errorOf([&] { guest->OpenDatabase(path("eigen.ZDB")); }), vb::err::NoPermission);
    db::DataControl dc;
    dc.setDatabaseName(path("eigen.ZDB"));
    dc.setRecordSource("persdat");
    EXPECT_EQ(errorOf([&] { dc.Refresh(); }), vb::err::NoPermission);
    EXPECT_EQ(dc.Recordset(), nullptr);
    EXPECT_EQ(errorOf([&] { e.CompactDatabase(path("eigen.ZDB"), path("kopie.ZDB")); }), vb::err::NoPermission);
    EXPECT_FALSE(std::filesystem::exists(path("kopie.ZDB")));

    // An installation database opens through every login.
    auto inst = guest->CreateDatabase(path("zuv.sdb"), "", db::dbInstallation);
    inst->Execute("CREATE TABLE Typ (typnummer short, typbezeichnung TEXT(50))");
    inst->Close();
    EXPECT_NO_THROW(other->OpenDatabase(path("zuv.sdb")));
}
