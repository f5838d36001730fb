#include "frame_fixture.h"

#include "platform/ini/ini_file.h"
#include <sqlite3.h>

using namespace frame_test;

namespace {

TEST_F(FrameTest, StartShowsSplashTextsThenMainWindowWithDialogsLoadedHidden) {
    ASSERT_TRUE(starte());
    form9& s = forms::Instance<form9>();
    EXPECT_EQ(s.Label1.Caption(), LabelTxt(0) + " " + LabelTxt(1));
    EXPECT_EQ(s.Label3.Caption(), "Z.U.V. 5.0");
    EXPECT_EQ(s.Label4.Caption(), LabelTxt(159));
    EXPECT_FALSE(s.Zeit1.Enabled());  // the timer fires once
    EXPECT_TRUE(s.isLoaded());
    EXPECT_FALSE(s.Visible());

    // Assistant and settings are loaded before the main window, none of them shown.
    const auto& f = forms::Forms();
    auto pos = [&](const std::string& n) {
        for (size_t i = 0; i < f.size(); ++i)
            if (f[i]->Name() == n) return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(pos("form9"), pos("frmAssist"));
    EXPECT_LT(pos("frmAssist"), pos("Form4"));
    EXPECT_LT(pos("Form4"), pos("frmMDI"));
    EXPECT_FALSE(forms::Instance<frmAssist>().Visible());
    EXPECT_FALSE(forms::Instance<Form4>().Visible());
    EXPECT_TRUE(mdi().Visible());

    // The settings database is open shared and writable; the texts are loaded by position.
    ASSERT_TRUE(gProgrammDatenbank);
    EXPECT_FALSE(gProgrammDatenbank->readOnly());
    EXPECT_EQ(DialogTxt(3), "Z.U.V.");
    EXPECT_EQ(mdi().mnuFile.Caption(), MenuTxt(0));
    EXPECT_EQ(mdi().mnuDiagrammOptions.Caption(), LabelTxt(152));
    EXPECT_EQ(mdi().mnuDruckGrafik.Caption(), MenuTxt(14));
    EXPECT_EQ(mdi().mnuGrafikauswertung.Caption(), MenuTxt(14));

    // No recent file: the name of a new file was asked; no answer leaves no file open.
    ASSERT_EQ(h().records(forms::HostRecord::Kind::InputBox).size(), 1u);
    EXPECT_NE(h().records(forms::HostRecord::Kind::InputBox)[0].text.find("Datenbank-Namen"), std::string::npos);
    EXPECT_FALSE(gDateiOffen);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
    EXPECT_FALSE(mdi().mnuClose.Enabled());
    EXPECT_FALSE(mdi().mnuPersonendaten.Visible());
    EXPECT_FALSE(mdi().mnuExtras.Visible());
    // Settings came from the stored row.
    EXPECT_FALSE(gStandardschriftart.empty());
    EXPECT_TRUE(gDruckZeilenabstand == 1 || gDruckZeilenabstand == 2);
}

TEST_F(FrameTest, FirstStartCreatesNamedFileInProgramFolderAndRefusesUnsafeNames) {
    // A file of the given name that is already there is neither replaced nor taken.
    { std::ofstream(dir / "Alt.ZDB") << "Personen"; }
    h().input("../weg").input("Alt").input("Kartei");
    ASSERT_TRUE(starte());
    EXPECT_EQ(h().records(forms::HostRecord::Kind::InputBox).size(), 3u);
    ASSERT_EQ(h().messages().size(), 2u);  // the refused names
    EXPECT_FALSE(fs::exists(dir.parent_path() / "weg.ZDB"));
    EXPECT_EQ(support::readFile(dir / "Alt.ZDB"), "Personen");
    ASSERT_TRUE(gDateiOffen);
    EXPECT_TRUE(fs::exists(dir / "Kartei.ZDB"));
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + gDatenbankName);
    EXPECT_TRUE(mdi().mnuPersonendaten.Visible());
    EXPECT_FALSE(mdi().mnuTest.Visible());
    EXPECT_TRUE(mdi().mnuClose.Enabled());
    // The new file is entry 1 of the list and of the INI file.
    EXPECT_EQ(mdi().mnuFileArray(1).Caption(), "&1 " + gDatenbankName);
    EXPECT_TRUE(ini::present(ini::ReadIniString("File1", " 1", gIniDatei)));

    // The next start reopens it without asking.
    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    h().clearRecords();
    ASSERT_TRUE(starte());
    EXPECT_TRUE(h().records(forms::HostRecord::Kind::InputBox).empty());
    EXPECT_TRUE(gDateiOffen);
    EXPECT_TRUE(files::samePath(gDatenbankName, (dir / "Kartei.ZDB").string()));
}

TEST_F(FrameTest, BrokenInstallationStopsTheStartWithAClearMessage) {
    fs::remove(dir / "Sys.mda");
    EXPECT_FALSE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("kann nicht gestartet werden"), std::string::npos);
    EXPECT_FALSE(forms::IsLoaded<frmMDI>());
}

TEST_F(FrameTest, MissingTextTableIsNamedInTheMessage) {
    {
        db::DBEngine::instance().setSystemDB(pfad("Sys.mda"));
        auto ws = db::DBEngine::instance().CreateWorkspace("Kestrel", kBenutzer, kKennwort);
        auto d = ws->OpenDatabase(pfad("zuv.sdb"));
        d->Execute("DROP TABLE labelTxt");
        d->Close();
        db::DBEngine::instance().reset();
    }
    EXPECT_FALSE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Texttabelle labelTxt "), std::string::npos);
    EXPECT_FALSE(gMenuTxt.empty());  // what could be loaded stays loaded
}

// A text table that fails part of the way through its loading (here its last row's number is out
// of range) stops the start with that error: the texts cut short would pass for loaded and fail
// later, as a missing text, in whatever window needs one of the texts after it.
TEST_F(FrameTest, ATextTableThatFailsPartOfTheWayStopsTheStartWithItsOwnError) {
    {
        sqlite3* roh = nullptr;
        ASSERT_EQ(sqlite3_open(pfad("zuv.sdb").c_str(), &roh), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(roh,
                               "PRAGMA ignore_check_constraints=ON;"
                               "UPDATE DialogTxt SET ID = 40000 WHERE ID = (SELECT max(ID) FROM DialogTxt);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(roh);
    }
    EXPECT_FALSE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Fehlernummer: 6"), std::string::npos) << h().messages()[0];  // overflow
    EXPECT_EQ(h().messages()[0].find("Texttabelle"), std::string::npos) << h().messages()[0];
    EXPECT_FALSE(forms::IsLoaded<frmMDI>());
}

TEST_F(FrameTest, EmptyTextRowDoesNotCutOffTheTextsAfterIt) {
    {
        db::DBEngine::instance().setSystemDB(pfad("Sys.mda"));
        auto ws = db::DBEngine::instance().CreateWorkspace("Kestrel", kBenutzer, kKennwort);
        auto d = ws->OpenDatabase(pfad("zuv.sdb"));
        d->Execute("UPDATE labelTxt SET BeschriftungDtsch = Null WHERE ID = 2");
        d->Execute("UPDATE DialogTxt SET BeschriftungDtsch = Null WHERE ID = 0");
        d->Close();
        db::DBEngine::instance().reset();
    }
    ASSERT_TRUE(starte());
    EXPECT_EQ(LabelTxt(2), "");
    EXPECT_EQ(DialogTxt(0), "");
    EXPECT_EQ(forms::Instance<form9>().Label4.Caption(), LabelTxt(159));
    EXPECT_FALSE(LabelTxt(159).empty());
    EXPECT_EQ(DialogTxt(3), "Z.U.V.");
}

// Paths are shown and stored in the case they have on disk, even when the INI file holds them
// in another (as earlier versions wrote them, upper-cased); they are still found without regard
// to case.
TEST_F(FrameTest, PathsKeepTheirCaseOnDiskInCaptionMenuAndIniFile) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    const std::string datei = pfad("Kartei.ZDB");
    ASSERT_EQ(gDatenbankName, datei);
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    std::ofstream(dir / "Zuv50.ini") << "[ZUV]\r\nAppPath=" << vb::UCase(dir.string())
                                     << "\r\n[Options]\r\nSystemDB=" << vb::UCase(pfad("Sys.mda"))
                                     << "\r\n[File1]\r\n1=" << vb::UCase(datei) << "\r\n";

    ASSERT_TRUE(starte());
    EXPECT_EQ(gAppPath, dir.string());
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(mdi().mnuFileArray(1).Caption(), "&1 " + datei);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + datei);
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    EXPECT_NE(ini.find("[File1]\r\n1=" + datei + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("SystemDB=" + pfad("Sys.mda") + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("AppPath=" + dir.string() + "\r\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("KARTEI"), std::string::npos) << ini;
}

TEST_F(FrameTest, IniWithoutKeysOrWithGarbageTakesProgramFolder) {
    std::ofstream(dir / "Zuv50.ini") << "\x01\x02 garbage without sections\r\n[ZUV]\r\nNichts=1\r\n";
    ASSERT_TRUE(starte());
    EXPECT_TRUE(files::samePath(files::resolve(gAppPath), dir.string()));
    ASSERT_EQ(h().messages().size(), 1u);  // says which folder is used instead
    EXPECT_NE(h().messages()[0].find(dir.string()), std::string::npos);
    // The exit writes the data folder, so the next start finds it.
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    EXPECT_NE(support::readFile(dir / "Zuv50.ini").find("AppPath=" + dir.string() + "\r\n"), std::string::npos);
}

// The data folder the INI file names holds, unless it is no folder or the folder of another
// installation: an installation copied or moved elsewhere brings the original's INI file, and is
// to work on its own files, also once the original is gone. The exit writes the folder in use.
TEST_F(FrameTest, TheProgramFolderHoldsWhereTheIniNamesNoFolderOrAnotherInstallation) {
    const fs::path daten = dir / "Daten";
    fs::create_directory(daten);
    fs::copy_file(dir / "zuv.sdb", daten / "zuv.sdb");
    const fs::path andere = support::installationAnlegen("zuv-andere");
    const fs::path nurProgramm = support::makeTempDir("zuv-programm");
    support::writeFile(nurProgramm / "zuvdesk", "");
    fs::create_directory_symlink(dir, dir.string() + "-verweis");
    const std::vector<std::pair<std::string, fs::path>> faelle = {
        {daten.string(), daten},
        {"Daten", daten},  // beside the INI file, wherever the program was started from
        {vb::UCase(dir.string() + "-verweis"), dir.string() + "-verweis"},
        {andere.string(), dir},
        {nurProgramm.string(), dir},
        {"/gibt/es/nicht", dir},
        {"C:\\ZUV", dir},
    };
    for (const auto& [wert, ordner] : faelle) {
        SCOPED_TRACE(wert);
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        std::ofstream(dir / "Zuv50.ini", std::ios::trunc) << "[ZUV]\r\nAppPath=" << wert << "\r\n";
        h().clearRecords();
        ASSERT_TRUE(starte());
        EXPECT_EQ(gAppPath, ordner.string());
        EXPECT_EQ(gProgrammDB, ordner.string() + "\\zuv.sdb");
        EXPECT_EQ(h().messages(), std::vector<std::string>{});
        h().answer(forms::vbYes);
        mdi().mnuBeenden_Click();
        const std::string ini = support::readFile(dir / "Zuv50.ini");
        EXPECT_EQ(ini.rfind("[ZUV]\r\nAppPath=" + ordner.string() + "\r\n", 0), 0u) << ini;
    }
    EXPECT_EQ(support::readFile(andere / "Zuv50.ini").find(dir.string()), std::string::npos);
    fs::remove(dir.string() + "-verweis");
    fs::remove_all(andere);
    fs::remove_all(nurProgramm);
}

TEST_F(FrameTest, ClosingByTheFrameClosesTheFileAndWritesTheList) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    fs::remove(dir / "Zuv50.ini");
    mdi().close();  // the title-bar button
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(mdi().isLoaded());
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    EXPECT_NE(ini.find("[File1]\r\n1="), std::string::npos);
    EXPECT_TRUE(h().messages().empty());  // no question

    // The menu exit asks; No changes nothing.
}

TEST_F(FrameTest, ExitAsksAndOnYesClosesAndWritesIni) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    h().answer(forms::vbNo);
    mdi().mnuBeenden_Click();
    EXPECT_TRUE(gDateiOffen);
    EXPECT_TRUE(mdi().isLoaded());
    fs::remove(dir / "Zuv50.ini");
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(mdi().isLoaded());
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    EXPECT_EQ(ini.rfind("[ZUV]\r\nAppPath=", 0), 0u);
    EXPECT_NE(ini.find("[Options]\r\nSystemDB="), std::string::npos);
}

}  // namespace

namespace {

TEST_F(FrameTest, MissingSettingsDatabaseStopsTheStartWithAMessage) {
    fs::remove(dir / "zuv.sdb");
    EXPECT_FALSE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("kann nicht gestartet werden"), std::string::npos);
    EXPECT_NE(h().messages()[0].find("3024"), std::string::npos);
}

TEST_F(FrameTest, DataFileOfAnotherWorkgroupIsRefused) {
    {
        db::createWorkgroupFile(pfad("anders.mda"), "eine andere Arbeitsgruppe", {{kBenutzer, kKennwort}}, {});
        db::DBEngine::instance().setSystemDB(pfad("anders.mda"));
        auto ws = db::DBEngine::instance().CreateWorkspace("Kestrel", kBenutzer, kKennwort);
        auto d = ws->CreateDatabase(pfad("Fremd.ZDB"));
        d->Execute("CREATE TABLE [Info] ([ID] COUNTER,[Version] TEXT( 50))");
        d->Close();
        db::DBEngine::instance().reset();
    }
    ASSERT_TRUE(starte());
    h().clearRecords();
    h().chooseFile(pfad("Fremd.ZDB"));
    mdi().mnuOpen_Click();
    EXPECT_FALSE(gDateiOffen);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("3033"), std::string::npos);
    EXPECT_FALSE(mdi().mnuFileArray.exists(1));
}

}  // namespace
