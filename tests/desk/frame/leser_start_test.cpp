// ZUVDESK's commands that start the type-description reader: the menu item, the toolbar button and
// the assistant's step find the installed program and start it without arguments.

#include "frame_fixture.h"

#include <sys/stat.h>

using namespace frame_test;
using Kind = forms::HostRecord::Kind;

namespace {

class LeserStart : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        h().input("Kartei");
        ASSERT_TRUE(starte());
        h().clearRecords();
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berger";
    }
    static void programm(const fs::path& pfad) {
        std::ofstream(pfad) << "#!/bin/sh\n";
        ::chmod(pfad.c_str(), 0755);
    }
    std::vector<std::string> gestartet() {
        std::vector<std::string> s;
        for (const auto& r : h().records(Kind::Shell)) s.push_back(r.text);
        return s;
    }
};

TEST_F(LeserStart, EveryCommandStartsTheInstalledReader) {
    programm(dir / "zuvcodex");
    mdi().mnuTypenbeschreibungen_Click();
    mdi().SSCommand1_Click(12);
    forms::Default<frmAssist>().SSCommand1_Click(1);
    EXPECT_EQ(gestartet(), std::vector<std::string>(3, (dir / "zuvcodex").string()));
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(LeserStart, AMissingReaderIsNamedWithThePerson) {
    mdi().mnuTypenbeschreibungen_Click();
    EXPECT_TRUE(gestartet().empty());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(54) + "Anna Berger/");
    EXPECT_EQ(h().last(Kind::MsgBox)->style, forms::vbOKOnly | forms::vbExclamation);
}

TEST_F(LeserStart, TheReaderBesideTheProgramIsFoundWhenTheDataFolderIsAnother) {
    const fs::path daten = dir / "Daten";
    fs::create_directory(daten);
    programm(dir / "zuvcodex");
    gAppPath = daten.string();
    EXPECT_EQ(GeschwisterProgramm("zuvcodex.exe"), (dir / "zuvcodex").string());
    programm(daten / "zuvcodex");
    EXPECT_EQ(GeschwisterProgramm("zuvcodex.exe"), (daten / "zuvcodex").string());
    EXPECT_EQ(GeschwisterProgramm("zuvscope.exe"), "");
}

}  // namespace
