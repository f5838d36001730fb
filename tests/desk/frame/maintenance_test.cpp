#include "frame_fixture.h"

#include "desk/frame/frm_import.h"

using namespace frame_test;

namespace {

class MaintenanceTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
};

TEST_F(MaintenanceTest, CompactionWritesACopyAndClosesTheOpenFile) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 3);
    gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID = 2");
    const std::string ini = support::readFile(dir / "Zuv50.ini");

    // Answered No: nothing changes.
    h().answer(forms::vbNo);
    mdi().CompactDB();
    EXPECT_TRUE(gDateiOffen);

    h().clearRecords();
    h().answer(forms::vbYes).chooseFile(a).chooseFile(pfad("Kompakt"));
    mdi().CompactDB();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
    ASSERT_TRUE(fs::exists(dir / "Kompakt.ZDB"));
    const auto msgs = h().messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[1], DialogTxt(11) + " " + a + " " + DialogTxt(10) + " " + pfad("Kompakt.ZDB") + "!");
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);  // the list is not changed

    // The copy opens and holds the two persons with their rows.
    h().chooseFile(pfad("Kompakt.ZDB"));
    mdi().mnuOpen_Click();
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 2);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM TypWertZuweisung"), 252);
}

TEST_F(MaintenanceTest, CompactionOntoTheSourceEndsWithErrorAndKeepsTheFile) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 1);
    mdi().mnuClose_Click();
    const auto groesse = fs::file_size(a);
    h().chooseFile(a).chooseFile(a);
    mdi().CompactDB();
    ASSERT_FALSE(h().messages().empty());
    EXPECT_NE(h().messages().back().find("Nummer: 3204"), std::string::npos);
    ASSERT_TRUE(fs::exists(a));
    EXPECT_EQ(fs::file_size(a), groesse);
    h().chooseFile(a);
    mdi().mnuOpen_Click();
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 1);
}

TEST_F(MaintenanceTest, FailedCompactionKeepsAnExistingTarget) {
    neueDatei("A");
    mdi().mnuClose_Click();
    std::ofstream(dir / "Ziel.ZDB") << "alter Inhalt";
    std::ofstream(dir / "Kaputt.ZDB") << "keine Datenbank";
    h().chooseFile(pfad("Kaputt.ZDB")).chooseFile(pfad("Ziel.ZDB"));
    mdi().CompactDB();
    ASSERT_FALSE(h().messages().empty());
    EXPECT_NE(h().messages().back().find("Nummer: 3343"), std::string::npos);
    EXPECT_EQ(support::readFile(dir / "Ziel.ZDB"), "alter Inhalt");

    // A good source replaces the target; a file that happens to lie beside it stays untouched.
    std::ofstream(dir / "Ziel.ZDB.neu") << "fremd";
    h().clearRecords();
    h().chooseFile(pfad("A.ZDB")).chooseFile(pfad("Ziel.ZDB"));
    mdi().CompactDB();
    EXPECT_EQ(h().messages().back(),
              DialogTxt(11) + " " + pfad("A.ZDB") + " " + DialogTxt(10) + " " + pfad("Ziel.ZDB") + "!");
    EXPECT_NE(support::readFile(dir / "Ziel.ZDB"), "alter Inhalt");
    EXPECT_EQ(support::readFile(dir / "Ziel.ZDB.neu"), "fremd");
    EXPECT_FALSE(fs::exists(dir / "Ziel.ZDB.neu1"));
}

TEST_F(MaintenanceTest, BackupCopiesTheClosedFile) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 2);
    h().answer(forms::vbYes).chooseFile(pfad("Sicher"));
    mdi().BackUpDB();
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(mdi().mnuBackup.Enabled());
    ASSERT_TRUE(fs::exists(dir / "Sicher.ZDB"));
    EXPECT_EQ(support::readFile(dir / "Sicher.ZDB"), support::readFile(a));
    EXPECT_EQ(h().messages().back(), DialogTxt(11) + " " + a + " " + DialogTxt(16) + " " + pfad("Sicher.ZDB") + "!");
    EXPECT_EQ(mdi().recentPath(1), a);

    // Onto itself: refused, the file stays whole.
    h().chooseFile(a);
    mdi().mnuFileArray_Click(1);
    h().clearRecords();
    h().answer(forms::vbYes).chooseFile(a);
    mdi().BackUpDB();
    EXPECT_NE(h().messages().back().find("Datendatei selbst"), std::string::npos);
    h().chooseFile(a);
    mdi().mnuFileArray_Click(1);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 2);
}

TEST_F(MaintenanceTest, ImportAllAndSelectedRemapsPersonNumbers) {
    // Source with three persons, numbers 1..3 but the first deleted: 2 and 3 stay.
    const std::string quelle = neueDatei("Quelle");
    personenAnlegen(*gDatenbank, 3);
    gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID = 1");
    h().answer(forms::vbYes);
    const std::string ziel = neueDatei("Ziel");
    personenAnlegen(*gDatenbank, 4, 10);                            // target numbers 1..4
    gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID = 4");  // counter moved on to 5

    gImportQuelle = quelle;
    EXPECT_EQ(frmImport::importiere(quelle, nullptr), 2);
    db::Database& d = *gDatenbank;
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersDat"), 5);
    for (int id : {5, 6}) {
        const std::string w = " WHERE PersonID = " + std::to_string(id);
        EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersDat" + w), 1);
        EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersonTestErgebnis" + w), 109);
        EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM TypWertZuweisung" + w), 126);
        EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM Ergebnis" + w), 9);
    }
    // The old number 2 became 5: its result rows carry its own values.
    EXPECT_EQ(zahl(d, "SELECT TypGesamtSumme FROM Ergebnis WHERE PersonID = 5 AND TypNummer = 1"), 21);
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersDat WHERE PersonID = 6 AND Vorname = 'Vorname3'"), 1);

    // The window: lists, import of the selected persons, then it closes.
    imModal<frmImport>([&](frmImport& f) {
        EXPECT_EQ(f.List1.ListCount(), 2);
        EXPECT_EQ(f.List1.List(0), "Vorname2 Nachname2, 01.02.2026");
        EXPECT_EQ(f.List2.List(1), "3");
        f.List1.setSelected(1, true);
        f.Command3_Click();
    });
    h().chooseFile(quelle);
    mdi().mnuImportZUV40_Click();
    EXPECT_FALSE(forms::IsLoaded<frmImport>());
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM PersDat WHERE Vorname = 'Vorname3'"), 2);
    EXPECT_EQ(zahl(d, "SELECT COUNT(*) FROM TypWertZuweisung WHERE PersonID = 7"), 126);
    EXPECT_EQ(h().messages().back(),
              DialogTxt(37) + " " + quelle + " " + DialogTxt(38) + " " + ziel + " " + DialogTxt(39));
}

TEST_F(MaintenanceTest, ImportRefusesItsOwnFileAndEmptyNamesDoNotStopTheList) {
    const std::string quelle = neueDatei("Quelle");
    personenAnlegen(*gDatenbank, 2);
    gDatenbank->Execute("UPDATE PersDat SET Vorname = Null, Testdatum = Null WHERE PersonID = 1");
    h().answer(forms::vbYes);
    const std::string ziel = neueDatei("Ziel");

    // The open file as its own source: a clear message, nothing written.
    try {
        frmImport::importiere(ziel, nullptr);
        ADD_FAILURE();
    } catch (const vb::Error& e) {
        EXPECT_NE(e.description().find("geöffnete Datendatei selbst"), std::string::npos);
    }
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 0);

    // Nothing selected: dialog text 40, nothing written, the window closes.
    imModal<frmImport>([&](frmImport& f) {
        EXPECT_EQ(f.List1.ListCount(), 2);
        EXPECT_EQ(f.List1.List(0), " Nachname1, ");
        f.Command3_Click();
    });
    h().chooseFile(quelle);
    mdi().mnuImportZUV40_Click();
    EXPECT_EQ(h().messages().back(), DialogTxt(40));
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 0);
}

TEST_F(MaintenanceTest, ARefusedSourceOpensNoImportWindowAndTheWindowListsTheFileChosenLast) {
    const std::string a = neueDatei("A");
    personenAnlegen(*gDatenbank, 2);
    h().answer(forms::vbYes);
    const std::string b = neueDatei("B");
    personenAnlegen(*gDatenbank, 3);
    h().answer(forms::vbYes);
    const std::string ziel = neueDatei("Ziel");
    const std::string kaputt = pfad("Kaputt.ZDB");
    support::writeFile(kaputt, "keine Datendatei");
    h().clearRecords();

    // No data file: its cause, and no window.
    h().chooseFile(kaputt);
    mdi().mnuImportZUV40.choose();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("3343"), std::string::npos) << h().messages()[0];
    EXPECT_FALSE(forms::IsLoaded<frmImport>());

    // The open file itself: why, in words, and no window.
    h().clearRecords();
    h().chooseFile(ziel);
    mdi().mnuImportZUV40.choose();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(107)});
    EXPECT_EQ(h().records().back().title, DialogTxt(3));
    EXPECT_FALSE(forms::IsLoaded<frmImport>());

    // With the window open on A: a refused file leaves it on A; B chosen then is listed and imported.
    imModal<frmImport>([&](frmImport& f) {
        EXPECT_EQ(f.List1.ListCount(), 2);
        h().clearRecords();
        h().chooseFile(kaputt);
        mdi().mnuImportZUV40.choose();
        EXPECT_EQ(h().messages().size(), 1u);
        EXPECT_EQ(f.List1.ListCount(), 2);
        EXPECT_EQ(f.quelle(), a);
        h().chooseFile(b);
        mdi().mnuImportZUV40.choose();
        EXPECT_EQ(f.List1.ListCount(), 3);
        EXPECT_EQ(f.quelle(), b);
        f.Command2_Click();
        EXPECT_EQ(h().messages().back(),
                  DialogTxt(37) + " " + b + " " + DialogTxt(38) + " " + ziel + " " + DialogTxt(39));
        f.Command1_Click();
    });
    h().chooseFile(a);
    mdi().mnuImportZUV40.choose();
    EXPECT_FALSE(forms::IsLoaded<frmImport>());
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 3);
}

TEST_F(MaintenanceTest, FailedImportLeavesTheTargetUnchanged) {
    const std::string quelle = neueDatei("Quelle");
    personenAnlegen(*gDatenbank, 2);
    // A damaged source: the last of the tables the import reads is missing.
    gDatenbank->Execute("DROP TABLE TypWertZuweisung");
    h().answer(forms::vbYes);
    neueDatei("Ziel");
    personenAnlegen(*gDatenbank, 1);
    EXPECT_THROW(frmImport::importiere(quelle, nullptr), vb::Error);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 1);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersonTestErgebnis"), 109);
    EXPECT_FALSE(TableExists(*gDatenbank, "persdattemp"));
    // The counter did not move: the next person gets number 2.
    personenAnlegen(*gDatenbank, 1);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT MAX(PersonID) FROM PersDat"), 2);
}

}  // namespace

namespace {

TEST_F(MaintenanceTest, SourcePathWithQuotesIsTakenAsAFileName) {
    const std::string quelle = neueDatei("O'Brien; drop table PersDat");
    personenAnlegen(*gDatenbank, 2);
    h().answer(forms::vbYes);
    neueDatei("Ziel");
    EXPECT_EQ(frmImport::importiere(quelle, nullptr), 2);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat"), 2);
    EXPECT_EQ(zahl(*gDatenbank, "SELECT COUNT(*) FROM TypWertZuweisung"), 252);
    auto q = gWorkspace->OpenDatabase(quelle, false, true);
    EXPECT_EQ(zahl(*q, "SELECT COUNT(*) FROM PersDat"), 2);
}

}  // namespace
