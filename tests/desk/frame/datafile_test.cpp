#include "frame_fixture.h"

#include <sqlite3.h>

#include "platform/ini/ini_file.h"

using namespace frame_test;

namespace {

class DataFileTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());  // no recent file, no name given: no file open
        h().clearRecords();
    }
};

TEST_F(DataFileTest, NewFileHasTheWholeSchemaAndCascadesDeletes) {
    const std::string p = neueDatei("Neu");  // typed without extension
    EXPECT_TRUE(files::samePath(p, pfad("Neu.ZDB")));
    ASSERT_TRUE(gDateiOffen);
    db::Database& d = *gDatenbank;
    for (const char* t : {"Info", "PersDat", "PersonTestErgebnis", "TypWertZuweisung", "Ergebnis", "Drucktabelle"})
        EXPECT_TRUE(TableExists(d, t)) << t;
    EXPECT_EQ(d.Relations().size(), 3u);
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM Info WHERE Version = '32-Bit'"), 1);
    personenAnlegen(d, 2);
    d.Execute("DELETE FROM PersDat WHERE PersonID = 1");
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersonTestErgebnis"), 109);
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM TypWertZuweisung"), 126);
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM Ergebnis"), 9);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + p);
    EXPECT_EQ(mdi().recentPath(1), p);

    // Only the program's own account opens it.
    db::DBEngine::instance().reset();
    db::createWorkgroupFile(pfad("fremd.mda"), "eine andere Arbeitsgruppe", {{"Jemand", "x"}}, {});
    db::DBEngine::instance().setSystemDB(pfad("fremd.mda"));
    auto fremd = db::DBEngine::instance().CreateWorkspace("w", "Jemand", "x");
    try {
        fremd->OpenDatabase(pfad("Neu.ZDB"));
        ADD_FAILURE() << "a foreign account opened the file";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::NoPermission);
    }
}

TEST_F(DataFileTest, NewOverAnExistingFileStartsItEmptyAndKeepsANameWithADot) {
    const std::string b = neueDatei("B.ZDB");
    personenAnlegen(*gDatenbank, 1);
    h().answer(forms::vbYes);
    EXPECT_EQ(neueDatei("B.ZDB"), b);
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 0);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM Info"), 1);

    h().answer(forms::vbYes);
    EXPECT_EQ(neueDatei("Kartei.2026"), pfad("Kartei.2026"));
    EXPECT_TRUE(fs::exists(dir / "Kartei.2026"));
    EXPECT_FALSE(fs::exists(dir / "Kartei.2026.ZDB"));
}

TEST_F(DataFileTest, NewAnsweredNoOrCancelledLeavesEverythingAsItWas) {
    const std::string a = neueDatei("A");
    h().answer(forms::vbNo);
    mdi().mnuNew_Click();
    EXPECT_TRUE(gDateiOffen);
    EXPECT_EQ(gDatenbankName, a);
    h().answer(forms::vbYes).cancelFile();
    mdi().mnuNew_Click();
    EXPECT_FALSE(gDateiOffen);  // the old file was closed after Yes
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
}

TEST_F(DataFileTest, FailedCreateLeavesNoFileAndListUntouched) {
    neueDatei("A");
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    h().answer(forms::vbYes).chooseFile(pfad("fehlt/B.ZDB"));
    mdi().mnuNew_Click();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_EQ(h().messages().size(), 2u);  // the question, then the error box
    EXPECT_NE(h().messages().back().find("Nummer:"), std::string::npos);
    EXPECT_FALSE(mdi().mnuClose.Enabled());
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);
    EXPECT_FALSE(fs::exists(dir / "fehlt"));
}

TEST_F(DataFileTest, OpenReadOnlyThenAgainFromListReadWrite) {
    const std::string a = neueDatei("A");
    mdi().mnuClose_Click();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
    EXPECT_FALSE(mdi().mnuPersonendaten.Visible());

    h().chooseFile(a, true);
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);
    EXPECT_TRUE(gNurLesen);
    EXPECT_TRUE(gDatenbank->readOnly());
    EXPECT_THROW(gDatenbank->Execute("DELETE FROM Info"), vb::Error);
    EXPECT_EQ(h().lastFileRequest().kind, forms::FileDialogKind::Open);
    EXPECT_TRUE(h().lastFileRequest().showReadOnlyBox);

    h().answer(forms::vbYes);
    mdi().mnuFileArray_Click(1);
    ASSERT_TRUE(gDateiOffen);
    EXPECT_FALSE(gNurLesen);
    EXPECT_FALSE(gDatenbank->readOnly());
}

TEST_F(DataFileTest, OpeningFilesThatAreNoDataFilesLeavesNoFileOpen) {
    neueDatei("A");
    mdi().mnuClose_Click();
    const std::string ini = support::readFile(dir / "Zuv50.ini");

    // Not a database at all.
    std::ofstream(dir / "Text.ZDB") << "Dies ist keine Datenbank.";
    h().chooseFile(pfad("Text.ZDB"));
    mdi().mnuOpen_Click();
    EXPECT_FALSE(gDateiOffen);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("3343"), std::string::npos);

    // A database of ours without the Info table.
    {
        auto d = gWorkspace->CreateDatabase(pfad("Ohne.ZDB"));
        d->Execute("CREATE TABLE [PersDat] ([PersonID] Counter)");
        d->Close();
    }
    h().clearRecords();
    h().chooseFile(pfad("Ohne.ZDB"));
    mdi().mnuOpen_Click();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(gDatenbank);
    EXPECT_EQ(gDatenbankName, "");  // no path of a refused file stays behind
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(4));
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");

    // A write-protected file opened for writing.
    const std::string a = pfad("A.ZDB");
    fs::permissions(a, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (::geteuid() != 0) {
        h().clearRecords();
        mdi().mnuFileArray_Click(1);
        EXPECT_FALSE(gDateiOffen);
        EXPECT_EQ(h().messages().size(), 1u);
    }
}

TEST_F(DataFileTest, OlderFileGetsThePrintTableButNotWhenReadOnly) {
    const std::string a = neueDatei("A");
    gDatenbank->Execute("DROP TABLE Drucktabelle");
    mdi().mnuClose_Click();
    h().chooseFile(a, true);
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);  // opened although the table is missing
    EXPECT_FALSE(TableExists(*gDatenbank, "Drucktabelle"));
    h().answer(forms::vbYes).chooseFile(a, false);
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);
    EXPECT_TRUE(TableExists(*gDatenbank, "Drucktabelle"));
}

TEST_F(DataFileTest, OlderFileLockedByAnotherProgramOpensWithoutThePrintTable) {
    const std::string a = neueDatei("A");
    gDatenbank->Execute("DROP TABLE Drucktabelle");
    mdi().mnuClose_Click();

    // Another program holds the file in a write transaction: the print table cannot be added now.
    sqlite3* fremd = nullptr;
    ASSERT_EQ(sqlite3_open(a.c_str(), &fremd), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(fremd, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    db::DBEngine::instance().setBusyTimeout(50);
    h().clearRecords();
    h().chooseFile(a, false);
    mdi().mnuOpen_Click();
    EXPECT_TRUE(h().messages().empty()) << h().messages()[0];
    ASSERT_TRUE(gDateiOffen);
    EXPECT_FALSE(TableExists(*gDatenbank, "Drucktabelle"));
    sqlite3_exec(fremd, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(fremd);

    // Free again: the next opening adds it.
    h().answer(forms::vbYes).chooseFile(a, false);
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);
    EXPECT_TRUE(TableExists(*gDatenbank, "Drucktabelle"));
}

TEST_F(DataFileTest, RecentListGrowsToFourNewestFirstWithoutDuplicates) {
    for (const char* n : {"A", "B", "C", "D", "E"}) {
        if (gDateiOffen) h().answer(forms::vbYes);
        neueDatei(n);
    }
    ASSERT_EQ(mdi().mnuFileArray.UBound(), 4);
    EXPECT_TRUE(files::samePath(mdi().recentPath(1), pfad("E.ZDB")));
    EXPECT_TRUE(files::samePath(mdi().recentPath(4), pfad("B.ZDB")));

    // Entry 3 opened again moves to the top and is not listed twice.
    h().answer(forms::vbYes);
    mdi().mnuFileArray_Click(3);
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(mdi().mnuFileArray.UBound(), 4);
    EXPECT_TRUE(files::samePath(mdi().recentPath(1), pfad("C.ZDB")));
    EXPECT_TRUE(files::samePath(mdi().recentPath(2), pfad("E.ZDB")));
    EXPECT_TRUE(files::samePath(mdi().recentPath(3), pfad("D.ZDB")));
    EXPECT_TRUE(files::samePath(mdi().recentPath(4), pfad("B.ZDB")));

    // Entry 1 again: list and INI file stay as they are.
    const auto stand = fs::last_write_time(dir / "Zuv50.ini");
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    h().answer(forms::vbYes);
    mdi().mnuFileArray_Click(1);
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);
    EXPECT_EQ(fs::last_write_time(dir / "Zuv50.ini"), stand);

    // A file that vanished: the error box, no file open, the list unchanged.
    fs::remove(dir / "D.ZDB");
    h().clearRecords();
    h().answer(forms::vbYes);
    mdi().mnuFileArray_Click(3);
    EXPECT_FALSE(gDateiOffen);
    EXPECT_EQ(h().messages().size(), 2u);
    EXPECT_EQ(mdi().mnuFileArray.UBound(), 4);
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);
}

TEST_F(DataFileTest, IniGapsAreReadAndWrittenBackWithoutHoles) {
    mdi().mnuClose_Click();
    std::ofstream(dir / "Zuv50.ini") << "[ZUV]\r\nAppPath=" << dir.string() << "\r\n[File1]\r\n1=" << pfad("a.zdb")
                                     << "\r\n[File3]\r\n3=" << pfad("c.zdb") << "\r\n";
    gIniDatei = pfad("Zuv50.ini");
    for (int i = mdi().mnuFileArray.UBound(); i >= 1; --i)
        if (mdi().mnuFileArray.exists(i)) mdi().mnuFileArray.Unload(i);
    mdi().GenerateFileMenu();
    EXPECT_TRUE(mdi().mnuFileArray.exists(1));
    EXPECT_FALSE(mdi().mnuFileArray.exists(2));
    EXPECT_TRUE(mdi().mnuFileArray.exists(3));
    EXPECT_EQ(mdi().recentPath(1), pfad("a.zdb"));
    neueDatei("N");
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    EXPECT_NE(ini.find("[File3]\r\n3=" + pfad("c.zdb") + "\r\n"), std::string::npos);
    EXPECT_EQ(ini.find("[File4]"), std::string::npos);
    EXPECT_NE(ini.find("AppPath=" + dir.string() + "\r\n"), std::string::npos);
}

}  // namespace

namespace {

// A practitioner's data files outlive the installation that made them: a new installation (or one
// on another computer) writes its workgroup file anew and still opens them.
TEST_F(DataFileTest, AFileMadeInOneInstallationOpensInANewOne) {
    neueDatei("Wandert.ZDB");
    ASSERT_TRUE(gDateiOffen);
    personenAnlegen(*gDatenbank, 1);
    mdi().mnuClose_Click();
    const fs::path datei = dir / "Wandert.ZDB";
    const fs::path neu = support::installationAnlegen("zuv-frame");
    fs::copy_file(datei, neu / "Wandert.ZDB");

    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    files::setProgramFolder(neu.string());
    ASSERT_TRUE(starte());
    h().clearRecords();
    h().chooseFile((neu / "Wandert.ZDB").string());
    mdi().mnuOpen_Click();
    EXPECT_TRUE(gDateiOffen) << (h().messages().empty() ? "" : h().messages().back());
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 1);
    mdi().mnuClose_Click();
    forms::resetAllWindows();
    db::DBEngine::instance().reset();
    std::error_code ec;
    fs::remove_all(neu, ec);
}

}  // namespace
