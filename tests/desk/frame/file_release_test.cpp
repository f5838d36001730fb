// Closing a data file lets go of it completely, whichever windows were bound to it: after
// closing, a backup, a compaction, an import and a new file over an old one the program keeps no
// descriptor of the file, so the next opening takes its locks anew. The XML person import refuses
// the open data file, and its locks stay.

#include <unistd.h>

#include "desk/frame/frm_import.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/testverwaltung.h"
#include "frame_fixture.h"
#include "support/files.h"
#include "support/held_files.h"

using namespace frame_test;

namespace {

std::string sqlite(const std::string& file, const std::string& statement) {
    std::string out = support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(statement)).output;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

class Freigabe : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        h().clearRecords();
    }

    // Opens the file from the recent list and uses it as a practitioner does: a person chosen
    // (the chart options bind to it), the person window opened and closed.
    void oeffnenUndBinden(const std::string& datei) {
        mdi().mnuFileArray_Click(1);
        ASSERT_TRUE(gDateiOffen);
        ASSERT_EQ(gDatenbankName, datei);
        PersonUebernehmen(1, "Vorname1", "Nachname1", "01.02.2026");
        forms::Default<frmpers>();
        forms::Unload<frmpers>();
        ASSERT_GT(support::descriptorsOn(datei), 0);
    }
};

TEST_F(Freigabe, NoWindowKeepsTheFileAfterClosingBackupCompactionImportAndNew) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 2);
    const std::string leer = pfad("Leer.ZDB");
    h().answer(forms::vbYes);
    neueDatei("Leer");
    mdi().mnuClose_Click();
    h().chooseFile(a);
    mdi().mnuOpen_Click();

    oeffnenUndBinden(a);
    mdi().mnuClose_Click();
    EXPECT_EQ(support::descriptorsOn(a), 0) << "closed";

    oeffnenUndBinden(a);
    h().answer(forms::vbYes).chooseFile(pfad("Sicher"));
    mdi().BackUpDB();
    EXPECT_EQ(support::descriptorsOn(a), 0) << "backup";
    EXPECT_EQ(support::descriptorsOn(pfad("Sicher.ZDB")), 0);

    oeffnenUndBinden(a);
    h().answer(forms::vbYes).chooseFile(a).chooseFile(pfad("Kompakt"));
    mdi().CompactDB();
    EXPECT_EQ(support::descriptorsOn(a), 0) << "compaction";
    EXPECT_EQ(support::descriptorsOn(pfad("Kompakt.ZDB")), 0);

    // An import from a source without persons, cancelled, while the file is open; then the file
    // is closed.
    oeffnenUndBinden(a);
    bool gelistet = false;
    imModal<frmImport>([&](frmImport& f) {
        gelistet = f.quelle() == leer && f.List1.ListCount() == 0;
        f.Command1_Click();
    });
    h().chooseFile(leer);
    mdi().mnuImportZUV40_Click();
    EXPECT_TRUE(gelistet);
    EXPECT_EQ(support::descriptorsOn(leer), 0) << "import source";
    mdi().mnuClose_Click();
    EXPECT_EQ(support::descriptorsOn(a), 0) << "import";

    // "Neu" over the file itself: the old file goes with its log, the new one is whole and the
    // program writes into it, not into the old one.
    oeffnenUndBinden(a);
    h().clearRecords();
    h().answer(forms::vbYes).chooseFile(a);
    mdi().mnuNew_Click();
    for (const auto& m : h().messages()) EXPECT_EQ(m.find("Nummer:"), std::string::npos) << m;
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(gDatenbankName, a);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 0);
    personenAnlegen(*gDatenbank, 1, 7);
    EXPECT_EQ(sqlite(a, "SELECT Vorname FROM PersDat"), "Vorname7");
    mdi().mnuClose_Click();
    EXPECT_EQ(support::descriptorsOn(a), 0) << "new";
    EXPECT_EQ(sqlite(a, "PRAGMA integrity_check"), "ok");
}

// The open data file, named as it is or through a link, offered as XML person file: a clear
// message, nothing read, and the file keeps its locks, so an outside reader leaves its log alone
// and what is saved afterwards is in the file.
TEST_F(Freigabe, TheOpenDataFileOfferedAsXmlPersonFileIsRefusedAndKeepsItsLocks) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 1);
    fs::create_symlink(a, dir / "Person.xml");
    fs::create_hard_link(a, dir / "Zweite.xml");
    fs::create_symlink(a + "-wal", dir / "Log.xml");
    PersonendatenAnzeigen();
    auto& f = forms::Instance<frmpers>();
    ASSERT_TRUE(support::holdsLock(::getpid(), a + "-shm"));
    for (const std::string& name : {a, pfad("Person.xml"), pfad("Zweite.xml"), pfad("Log.xml")}) {
        h().clearRecords();
        h().chooseFile(name);
        f.Command2_Click();
        ASSERT_FALSE(h().messages().empty()) << name;
        EXPECT_NE(h().messages().back().find(DialogTxt(71)), std::string::npos) << h().messages().back();
        EXPECT_TRUE(support::holdsLock(::getpid(), a + "-shm")) << name;
    }
    EXPECT_EQ(sqlite(a, "SELECT count(*) FROM PersDat"), "1");
    EXPECT_TRUE(fs::exists(a + "-wal"));
    personenAnlegen(*gDatenbank, 1, 5);
    EXPECT_EQ(sqlite(a, "SELECT count(*) FROM PersDat"), "2");
    EXPECT_TRUE(support::holdsLock(::getpid(), a + "-shm"));
}

}  // namespace
