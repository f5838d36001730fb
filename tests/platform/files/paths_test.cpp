#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/files.h"
#include "support/vb_error.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace fs = std::filesystem;

namespace {

using support::readFile;
using support::writeFile;

class Paths : public support::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(m_dir / "Daten" / "Zuv");
        writeFile(m_dir / "Daten" / "Zuv" / "zuv.sdb", "settings");
        writeFile(m_dir / "Daten" / "Zuv" / "ZUVDESK.chm", "help");
    }
    void TearDown() override {
        fs::permissions(m_dir, fs::perms::owner_all);
        TempFolderTest::TearDown();
        files::setProgramFolder("");
    }
    std::string dir() const { return m_dir.string(); }
};

}  // namespace

TEST_F(Paths, UpperCasedBackslashPathsFindTheFilesOnDisk) {
    // The data folder comes upper-cased from the INI file and is joined with "\".
    const std::string appPath = dir() + "\\DATEN\\ZUV";
    EXPECT_EQ(files::resolve(appPath + "\\zuv.sdb"), dir() + "/Daten/Zuv/zuv.sdb");
    EXPECT_EQ(files::resolve(appPath + "\\zuvdesk.chm"), dir() + "/Daten/Zuv/ZUVDESK.chm");
    EXPECT_EQ(files::resolve(appPath + "/" + "ZUV.SDB"), dir() + "/Daten/Zuv/zuv.sdb");
    // A name that does not exist yet keeps its own spelling behind the real folders.
    EXPECT_EQ(files::resolve(appPath + "\\NEU\\Person.ZDB"), dir() + "/Daten/Zuv/NEU/Person.ZDB");
    EXPECT_EQ(files::resolve(appPath + "\\\\Zuv50.ini"), dir() + "/Daten/Zuv/Zuv50.ini");
    EXPECT_TRUE(files::FileExists(appPath + "\\ZUVDESK.CHM"));
    EXPECT_FALSE(files::FileExists(appPath));  // a folder is no file
    EXPECT_TRUE(files::FolderExists(appPath));
    EXPECT_EQ(files::Dir(appPath + "\\ZuvDesk.Chm"), "ZUVDESK.chm");
    EXPECT_EQ(files::Dir(appPath + "\\fehlt.bmp"), "");
    EXPECT_EQ(files::Dir(""), "");
}

TEST_F(Paths, AnExactNameWinsOverItsCaseVariants) {
    writeFile(m_dir / "a.zdb", "lower");
    writeFile(m_dir / "A.ZDB", "upper");
    EXPECT_EQ(files::resolve(dir() + "/A.ZDB"), dir() + "/A.ZDB");
    EXPECT_EQ(files::resolve(dir() + "/a.zdb"), dir() + "/a.zdb");
    EXPECT_EQ(files::resolve(dir() + "/A.zdb"), dir() + "/A.ZDB");  // first in byte order
    EXPECT_FALSE(files::samePath(dir() + "/a.zdb", dir() + "/A.ZDB"));
    EXPECT_TRUE(files::samePath(dir() + "\\DATEN\\zuv\\ZUV.SDB", dir() + "/Daten/Zuv/zuv.sdb"));
    EXPECT_TRUE(files::samePath(dir() + "/neu.zdb", dir() + "/NEU.ZDB"));
}

TEST(PathText, JoinAndFolderOfTheProgram) {
    EXPECT_EQ(files::joinPath("/opt/zuv", "zuv.sdb"), "/opt/zuv/zuv.sdb");
    EXPECT_EQ(files::joinPath("/OPT/ZUV\\", "\\zuv.sdb"), "/OPT/ZUV/zuv.sdb");
    EXPECT_EQ(files::joinPath("/", "x"), "/x");
    EXPECT_EQ(files::joinPath("", "x"), "x");
    EXPECT_EQ(files::fileName("C:\\a\\b.txt"), "b.txt");
    EXPECT_TRUE(fs::exists(fs::path(files::programFolder()) / "test_platform_files"));
    files::setProgramFolder("/opt/zuv/");
    EXPECT_EQ(files::programFolder(), "/opt/zuv");
    files::setProgramFolder("");
}

TEST_F(Paths, KillDeletesOnlyFilesAndReportsMissingOnes) {
    writeFile(m_dir / "Alt.ZDB", "x");
    fs::permissions(m_dir / "Alt.ZDB", fs::perms::owner_read);  // read-only files go too
    files::Kill(dir() + "\\ALT.zdb");
    EXPECT_FALSE(fs::exists(m_dir / "Alt.ZDB"));
    EXPECT_EQ(errorOf([&] { files::Kill(dir() + "/Alt.ZDB"); }), vb::err::FileNotFound);
    EXPECT_EQ(errorOf([&] { files::Kill(dir() + "/Daten"); }), vb::err::FileNotFound);
    EXPECT_TRUE(fs::exists(m_dir / "Daten"));
}

TEST_F(Paths, FileCopyReplacesTheTargetAndNeverHarmsTheSource) {
    const fs::path src = m_dir / "Daten" / "Zuv" / "zuv.sdb";
    writeFile(m_dir / "Sicherung.ZDB", "old backup");
    files::FileCopy(dir() + "\\DATEN\\ZUV\\ZUV.SDB", dir() + "\\sicherung.zdb");
    EXPECT_EQ(readFile(m_dir / "Sicherung.ZDB"), "settings");
    EXPECT_FALSE(fs::exists(m_dir / "sicherung.zdb"));

    // Copying a file onto itself must not empty it.
    EXPECT_EQ(errorOf([&] { files::FileCopy(src.string(), dir() + "/DATEN/ZUV/ZUV.SDB"); }), vb::err::PermissionDenied);
    EXPECT_EQ(readFile(src), "settings");

    EXPECT_EQ(errorOf([&] { files::FileCopy(dir() + "/fehlt.zdb", dir() + "/x.zdb"); }), vb::err::FileNotFound);
    EXPECT_EQ(errorOf([&] { files::FileCopy(src.string(), dir() + "/kein/ordner/x.zdb"); }), vb::err::FolderNotFound);

    // A binary file of some size arrives byte for byte.
    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    writeFile(m_dir / "gross.bin", big);
    files::FileCopy(dir() + "/gross.bin", dir() + "/kopie.bin");
    EXPECT_EQ(readFile(m_dir / "kopie.bin"), big);
}
