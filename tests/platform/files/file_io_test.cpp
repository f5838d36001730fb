#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/files.h"
#include "support/vb_error.h"
#include "platform/files/file_io.h"
#include "platform/vb/codepage.h"
#include "platform/vb/error.h"

namespace fs = std::filesystem;

namespace {

class NumberedFiles : public support::TempFolderTest {
protected:
    void TearDown() override {
        files::CloseAll();
        TempFolderTest::TearDown();
    }
};

}  // namespace

TEST_F(NumberedFiles, PrintWritesCrLfLinesAndLineInputReadsEveryLineEnd) {
    files::Open(path("out.txt"), files::OpenMode::Output, 1);
    files::Print(1, "[ZUV]");
    files::Print(1, "Wert=", false);
    files::Print(1, "42");
    files::Print(1);
    files::Close(1);
    EXPECT_EQ(files::readFile(path("OUT.TXT")), "[ZUV]\r\nWert=42\r\n\r\n");

    std::ofstream(m_dir / "zuvinfo.txt", std::ios::binary) << "eins\r\nzwei\nK\x84se\rvier";
    files::Open(path("ZUVINFO.TXT"), files::OpenMode::Input, 2);
    std::string lines;
    while (!files::Eof(2)) lines += vb::dosUmlautsToUtf8(files::LineInput(2)) + "|";
    EXPECT_EQ(lines, "eins|zwei|Käse|vier|");
    EXPECT_EQ(errorOf([] { (void)files::LineInput(2); }), vb::err::InputPastEndOfFile);
    files::Close(2);
}

TEST_F(NumberedFiles, NumbersAreCheckedAndClosingFreesThem) {
    EXPECT_EQ(files::FreeFile(), 1);
    files::Open(path("a.txt"), files::OpenMode::Output, 1);
    EXPECT_EQ(files::FreeFile(), 2);
    EXPECT_EQ(errorOf([&] { files::Open(path("b.txt"), files::OpenMode::Output, 1); }), vb::err::FileAlreadyOpen);
    EXPECT_EQ(errorOf([&] { files::Open(path("fehlt.txt"), files::OpenMode::Input, 3); }), vb::err::FileNotFound);
    EXPECT_EQ(errorOf([&] { files::Open(path("kein/x.txt"), files::OpenMode::Output, 4); }), vb::err::FolderNotFound);
    EXPECT_EQ(errorOf([] { files::Print(9, "x"); }), vb::err::BadFileNameOrNumber);
    EXPECT_EQ(errorOf([&] { files::Open(path("a.txt"), files::OpenMode::Output, 0); }), vb::err::BadFileNameOrNumber);
    files::Close(1);
    files::Close(1);  // a second close is harmless, as the error box's "Close #1" relies on
    EXPECT_EQ(files::FreeFile(), 1);

    files::Open(path("a.txt"), files::OpenMode::Append, 1);
    files::Print(1, "more");
    files::CloseAll();
    EXPECT_EQ(files::readFile(path("a.txt")), "more\r\n");
}

TEST_F(NumberedFiles, ReplaceFileWritesWholeFilesAndKeepsNoTemporaryFile) {
    files::replaceFile(path("x.ini"), "eins");
    files::replaceFile(path("X.INI"), "zwei");  // the existing file, whatever the case
    EXPECT_EQ(files::readFile(path("x.ini")), "zwei");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    EXPECT_EQ(errorOf([&] { (void)files::readFile(path("fehlt")); }), vb::err::FileNotFound);
}
