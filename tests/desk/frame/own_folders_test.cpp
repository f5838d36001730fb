// An installation made by an administrator: the program folder is closed to the user (seen here
// through a read-only mount, which holds for root too). What the program writes goes to the user's
// own folders; what it only reads comes from the installation.

#include <cstdlib>

#include "frame_fixture.h"
#include "platform/draw/picture.h"
#include "platform/ini/ini_file.h"
#include "support/konten.h"

using namespace frame_test;

namespace {

class AdminInstallation : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        eigen = support::makeTempDir("zuv-eigen");
        ::setenv("XDG_CONFIG_HOME", (eigen / "konfig").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (eigen / "daten").c_str(), 1);
    }
    void TearDown() override {
        FrameTest::TearDown();
        ansicht.reset();
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
        std::error_code ec;
        fs::remove_all(eigen, ec);
    }
    // The installation, closed to writing, as the program folder. False: the machine cannot mount.
    bool geschlossen() {
        ansicht = std::make_unique<support::NurLesbareAnsicht>(dir);
        if (!ansicht->fehler().empty()) return false;
        files::setProgramFolder(ansicht->pfad().string());
        return true;
    }
    fs::path konfig() const { return eigen / "konfig" / "zuv"; }
    fs::path daten() const { return eigen / "daten" / "zuv"; }
    // The messages that tell of a failure (questions and notes aside).
    std::vector<std::string> fehler() {
        std::vector<std::string> f;
        for (const std::string& m : h().messages())
            if (m.find("Nummer") != std::string::npos || m.find("Fehler") != std::string::npos) f.push_back(m);
        return f;
    }
    void neuStarten() {
        forms::resetAllWindows();
        resetGlobals();
        db::DBEngine::instance().reset();
        h().clearRecords();
    }

    fs::path eigen;
    std::unique_ptr<support::NurLesbareAnsicht> ansicht;
};

TEST_F(AdminInstallation, StartsAndKeepsItsIniSettingsAndFirstDataFileInTheUsersOwnFolders) {
    if (!geschlossen()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht->fehler();
    const std::string installiert = support::readFile(dir / "Zuv50.ini");
    h().input("Kartei");
    ASSERT_TRUE(starte()) << (h().messages().empty() ? "" : h().messages()[0]);
    EXPECT_EQ(h().messages(), std::vector<std::string>{});
    EXPECT_EQ(gIniDatei, (konfig() / "Zuv50.ini").string());
    EXPECT_EQ(gProgrammDB, (konfig() / "zuv.sdb").string());
    EXPECT_EQ(gAppPath, daten().string());
    EXPECT_EQ(support::rechte(konfig()), 0700u);
    ASSERT_TRUE(gDateiOffen);
    EXPECT_TRUE(files::samePath(gDatenbankName, (daten() / "Kartei.ZDB").string()));
    // What is only read stays the installation's: the symbol pictures, the report layouts.
    EXPECT_NO_THROW((void)draw::LoadPicture(Installationsdatei("zuv_symb_blau.wmf")));
    EXPECT_EQ(fs::path(files::resolve(Installationsdatei("ZUVReport1.rpt"))).parent_path(), ansicht->pfad());

    // The settings are the user's to change.
    {
        auto einstellungen = gWorkspace->OpenDatabase(gProgrammDB);
        einstellungen->Execute("UPDATE Konfiguration SET ZUVSymbolFarbe = 'gelb'");
        einstellungen->Close();
    }
    // The exit writes the list into the user's INI file, without a message.
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    EXPECT_EQ(fehler(), std::vector<std::string>{});
    EXPECT_EQ(h().messages().size(), 1u);  // the question only
    const std::string ini = support::readFile(konfig() / "Zuv50.ini");
    EXPECT_NE(ini.find("AppPath=" + daten().string() + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Kartei.ZDB"), std::string::npos) << ini;
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), installiert);

    // The next start finds the user's copies as they were left, and the file of last time.
    neuStarten();
    ASSERT_TRUE(starte());
    EXPECT_TRUE(h().records(forms::HostRecord::Kind::InputBox).empty());
    EXPECT_TRUE(gDateiOffen);
    EXPECT_TRUE(files::samePath(gDatenbankName, (daten() / "Kartei.ZDB").string()));
    auto einstellungen = gWorkspace->OpenDatabase(gProgrammDB, false, true);
    auto rs = einstellungen->OpenRecordset("Konfiguration", db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields("ZUVSymbolFarbe").Value().toString(), "gelb");
    rs->Close();
    einstellungen->Close();
}

// The same as an ordinary account, with the installation root's (folders 755, files 644).
TEST_F(AdminInstallation, AnOrdinaryAccountStartsFromAnInstallationOfRoot) {
    support::Konto k;
    if (const std::string warum = support::zweitesKonto(k); !warum.empty()) GTEST_SKIP() << warum;
    ::chmod(dir.c_str(), 0755);
    for (const auto& e : fs::recursive_directory_iterator(dir)) ::chmod(e.path().c_str(), e.is_directory() ? 0755 : 0644);
    ::chmod(eigen.c_str(), 0755);
    fs::create_directories(eigen / "heim");
    ::chown((eigen / "heim").c_str(), k.uid, k.gid);
    const fs::path heim = eigen / "heim";
    ::setenv("XDG_CONFIG_HOME", (heim / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (heim / ".local/share").c_str(), 1);
    h().input("Kartei");
    const int ergebnis = support::alsKonto(k, 022, [&] {
        if (!starte()) return 10;
        for (const std::string& m : h().messages()) std::fprintf(stderr, "%s\n", m.c_str());
        if (!h().messages().empty()) return 11;
        if (gIniDatei != (heim / ".config/zuv/Zuv50.ini").string()) return 12;
        if (!gDateiOffen || !fs::exists(heim / ".local/share/zuv/Kartei.ZDB")) return 13;
        h().answer(forms::vbYes);
        mdi().mnuBeenden_Click();
        if (h().messages().size() != 1) return 14;
        return support::readFile(heim / ".config/zuv/Zuv50.ini").find("Kartei.ZDB") == std::string::npos ? 15 : 0;
    });
    EXPECT_EQ(ergebnis, 0) << "10: no start, 11: a message, 12: the INI file elsewhere, 13: no data file, "
                              "14: a message at the exit, 15: the list not written";
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini").find("Kartei"), std::string::npos);
}

TEST_F(AdminInstallation, ADataFolderOfTheUsersChoiceTakesTheInstallationsPicturesAndWorkgroup) {
    // The INI file the user keeps names a folder of the user's that holds nothing of the installation.
    const fs::path kartei = eigen / "Klienten";
    fs::create_directories(konfig());
    fs::create_directory(kartei);
    support::writeFile(konfig() / "Zuv50.ini", "[ZUV]\r\nAppPath=" + kartei.string() + "\r\n");
    if (!geschlossen()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht->fehler();
    h().input("Kartei");
    ASSERT_TRUE(starte()) << (h().messages().empty() ? "" : h().messages()[0]);
    EXPECT_EQ(h().messages(), std::vector<std::string>{});
    EXPECT_EQ(gAppPath, kartei.string());
    EXPECT_EQ(gProgrammDB, (konfig() / "zuv.sdb").string());
    EXPECT_EQ(fs::path(files::resolve(Installationsdatei("zuv_symb_blau.wmf"))).parent_path(), ansicht->pfad());
    EXPECT_NO_THROW((void)draw::LoadPicture(Installationsdatei("zuv_symb_blau.wmf")));
    // The first data file goes where the program folder's would: into the user's own data folder.
    EXPECT_TRUE(fs::exists(daten() / "Kartei.ZDB"));
    h().answer(forms::vbYes);
    h().chooseFile((kartei / "Zweite.ZDB").string());
    mdi().mnuNew_Click();
    EXPECT_EQ(fehler(), std::vector<std::string>{});
    EXPECT_TRUE(fs::exists(kartei / "Zweite.ZDB"));
}

TEST_F(AdminInstallation, AnInstallationTheUserMayWriteKeepsEverythingInItsOwnFolder) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    EXPECT_EQ(gIniDatei, files::programFolder() + "\\Zuv50.ini");
    EXPECT_EQ(gAppPath, dir.string());
    EXPECT_TRUE(fs::exists(dir / "Kartei.ZDB"));
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    EXPECT_NE(support::readFile(dir / "Zuv50.ini").find("Kartei.ZDB"), std::string::npos);
    EXPECT_FALSE(fs::exists(eigen / "konfig"));
    EXPECT_FALSE(fs::exists(eigen / "daten"));
}

TEST_F(AdminInstallation, AnIniFileThatCannotBeWrittenIsNamedInTheMessage) {
    h().input("Kartei");
    ASSERT_TRUE(starte());
    // Closed to writing after the start (a mount gone read-only): the exit says which file.
    if (!geschlossen()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht->fehler();
    gIniDatei = (ansicht->pfad() / "Zuv50.ini").string();
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    ASSERT_EQ(fehler().size(), 1u);
    EXPECT_NE(fehler()[0].find(gIniDatei), std::string::npos) << fehler()[0];
}

// A ZUVDESK killed while it showed the report of a read-only file left its copy of the person's
// rows in the temporary folder: the next start of this account removes it, nothing else.
TEST_F(AdminInstallation, TheNextStartRemovesTheReportCopyAKilledProgramLeft) {
    const fs::path tmp = eigen / "tmp";
    fs::create_directory(tmp);
    ::setenv("TMPDIR", tmp.c_str(), 1);
    const pid_t tot = support::forkChild();
    if (tot == 0) ::_exit(0);
    int status = 0;
    ::waitpid(tot, &status, 0);
    const fs::path rest = tmp / ("zuv-bericht-" + std::to_string(tot) + "-Ab12Cd");
    fs::create_directory(rest);
    support::writeFile(rest / "Bericht.ZDB", "Klientendaten");
    support::writeFile(tmp / "andere.txt", "fremd");
    h().input("Kartei");
    const bool gestartet = starte();
    ::unsetenv("TMPDIR");
    ASSERT_TRUE(gestartet);
    EXPECT_FALSE(fs::exists(rest));
    EXPECT_TRUE(fs::exists(tmp / "andere.txt"));
}

}  // namespace

// Under a private umask the first start makes the user's copies of the installation's INI file and
// settings database, and the side files of both, as private as the data file: none of them is
// readable by the group or others however the installation's own files are set.
TEST_F(AdminInstallation, TheFirstStartMakesTheUsersCopiesAsPrivateAsTheUmaskSays) {
    if (!geschlossen()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht->fehler();
    support::Umask privat(077);
    h().input("Kartei");
    ASSERT_TRUE(starte()) << (h().messages().empty() ? "" : h().messages()[0]);
    EXPECT_EQ(fehler(), std::vector<std::string>{});
    std::vector<fs::path> neu;
    for (const fs::path& ordner : {konfig(), daten()})
        for (const auto& e : fs::directory_iterator(ordner)) {
            if (e.is_regular_file()) neu.push_back(e.path());
        }
    for (const char* name : {"Zuv50.ini", "zuv.sdb", "Kartei.ZDB"})
        EXPECT_TRUE(fs::exists(konfig() / name) || fs::exists(daten() / name)) << name;
    for (const fs::path& p : neu) EXPECT_EQ(support::rechte(p) & 077, 0u) << p << " " << std::oct << support::rechte(p);
    h().answer(forms::vbYes);
    mdi().mnuBeenden_Click();
    for (const fs::path& ordner : {konfig(), daten()})
        for (const auto& e : fs::directory_iterator(ordner)) {
            if (!e.is_regular_file()) continue;
            EXPECT_EQ(support::rechte(e.path()) & 077, 0u) << e.path() << " " << std::oct << support::rechte(e.path());
        }
}
