#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ini/ini_file.h"
#include "platform/vb/error.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

class Ini : public support::TempFolderTest {
protected:
    std::string write(const std::string& text, const std::string& name = "Zuv50.ini") {
        support::writeFile(m_dir / name, text);
        return path(name);
    }
    std::string read(const std::string& name = "Zuv50.ini") { return support::readFile(m_dir / name); }
};

}  // namespace

TEST_F(Ini, NamesMatchWithoutCaseOrBlanksAndTheValueFollowsTheFirstEquals) {
    const std::string file = write(
        "[ZUV]\r\nAppPath=/opt/zuv\r\n"
        "[Options]\r\nSystemDB=/opt/zuv\\SYS.MDA\r\n"
        "[File1]\r\n1=/home/Anna/Mixed Case.ZDB\r\n"
        "  [ file2 ]  \r\n  2 =  a=b=c  \r\n"
        "; 3=comment\r\n[File3]\n3=\"quoted\"\n"
        "[File4]\r\n4=x\r\n");
    EXPECT_EQ(ini::GetPrivateProfileString("File1", " 1", "", file), "/home/Anna/Mixed Case.ZDB");
    EXPECT_EQ(ini::GetPrivateProfileString("zuv", "APPPATH", "", file), "/opt/zuv");
    EXPECT_EQ(ini::GetPrivateProfileString("FILE2", " 2", "", file), "a=b=c");
    EXPECT_EQ(ini::GetPrivateProfileString("File3", "3", "", file), "quoted");
    EXPECT_EQ(ini::GetPrivateProfileString("File4", " 4", "", file), "x");         // one character as it is
    EXPECT_EQ(ini::GetPrivateProfileString("File1", " 2", "dflt", file), "dflt");  // key of another section
    EXPECT_EQ(ini::GetPrivateProfileString("File9", " 9", "dflt", file), "dflt");
}

TEST_F(Ini, FirstSectionAndFirstKeyWin) {
    const std::string file = write("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini::GetPrivateProfileString("A", "k", "", file), "1");
    EXPECT_EQ(ini::GetPrivateProfileString("A", "j", "none", file), "none");
}

TEST_F(Ini, MissingOrEmptyValuesReadAsTheNulTextThatCountsAsMissing) {
    const std::string file = write("[File1]\r\n1=\r\n[File2]\r\n2= \r\n");
    const std::string nul(128, '\0');
    EXPECT_EQ(ini::ReadIniString("File1", " 1", file), nul);
    EXPECT_EQ(ini::ReadIniString("File2", " 2", file), nul);
    EXPECT_EQ(ini::ReadIniString("File3", " 3", file), nul);
    EXPECT_EQ(ini::ReadIniString("File1", " 1", (m_dir / "fehlt.ini").string()), nul);
    EXPECT_FALSE(ini::present(nul));
    EXPECT_FALSE(ini::present(""));
    EXPECT_FALSE(ini::present(" "));
    EXPECT_TRUE(ini::present("x"));
}

TEST_F(Ini, LongValuesComeBackWhole) {
    const std::string longPath = "/home/praxis/" + std::string(300, 'a') + ".ZDB";
    const std::string file = write("[File1]\r\n1=" + longPath + "\r\n");
    EXPECT_EQ(ini::ReadIniString("File1", " 1", file), longPath);
}

TEST_F(Ini, FileNameCaseAndOldWindowsText) {
    write("[ZUV]\r\nAppPath=C:\\M\xfcller\r\n", "ZUV50.INI");  // written in Windows-1252
    EXPECT_EQ(ini::GetPrivateProfileString("ZUV", "AppPath", "", (m_dir / "Zuv50.ini").string()), "C:\\Müller");
    write("\xEF\xBB\xBF[ZUV]\nAppPath=/daten/müller\n", "bom.ini");
    EXPECT_EQ(ini::GetPrivateProfileString("ZUV", "AppPath", "", (m_dir / "bom.ini").string()), "/daten/müller");
}

TEST_F(Ini, WriterReplacesTheWholeFileWithCrLfLines) {
    write("[Old]\r\nstale=1\r\n");
    const std::string file = (m_dir / "Zuv50.ini").string();
    ini::writeIniFile(file, {{"ZUV", {{"AppPath", "/opt/zuv"}}},
                             {"Options", {{"SystemDB", "/opt/zuv\\SYS.MDA"}}},
                             {"File1", {{"1", "/daten/Müller.ZDB"}}}});
    EXPECT_EQ(
        read(),
        "[ZUV]\r\nAppPath=/opt/zuv\r\n[Options]\r\nSystemDB=/opt/zuv\\SYS.MDA\r\n[File1]\r\n1=/daten/Müller.ZDB\r\n");
    EXPECT_EQ(ini::ReadIniString("File1", " 1", file), "/daten/Müller.ZDB");
    EXPECT_EQ(ini::GetPrivateProfileString("Old", "stale", "gone", file), "gone");
    // Only the file itself remains in the folder: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    // A file name with a line break must not smuggle a line of its own into the file.
    try {
        ini::writeIniFile(file, {{"File1", {{"1", "/tmp/x\r\n[ZUV]\r\nAppPath=/anderswo"}}}});
        FAIL() << "a value with a line break must be refused";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::InvalidProcedureCall);
    }
    EXPECT_EQ(ini::ReadIniString("File1", " 1", file), "/daten/Müller.ZDB");

    try {
        ini::writeIniFile((m_dir / "kein" / "Zuv50.ini").string(), {});
        FAIL() << "a missing folder must be reported";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::FolderNotFound);
    }
}
