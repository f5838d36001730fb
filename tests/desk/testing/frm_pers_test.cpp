#include <sqlite3.h>

#include <functional>
#include <fstream>

#include <sys/stat.h>

#include "desk/testing/form3.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "support/test_hauptfenster.h"
#include "fenster_fixture.h"
#include "platform/db/recordset.h"
#include "platform/forms/keys.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

using namespace zuvtest_test;

namespace {

class PersonFenster : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        f = &forms::Instance<frmpers>();
    }
    void oeffnen() { f->Show(); }
    void neu(const std::string& vorname, const std::string& nachname) {
        f->Befehl4_Click();
        f->Text1[0].setText(vorname);
        f->Text1[1].setText(nachname);
    }
    long personen() { return datei->OpenRecordset("persdat", db::RecordsetType::Snapshot)->RecordCount(); }
    long zeilenAller(const std::string& t) { return datei->OpenRecordset(t, db::RecordsetType::Snapshot)->RecordCount(); }
    frmpers* f = nullptr;
};

}  // namespace

TEST_F(PersonFenster, SavingANewPersonWritesItsRowsOnceAndOffersTheTest) {
    oeffnen();
    EXPECT_FALSE(f->Befehl1.isEnabled());  // empty data file
    neu("Anna", "Berg");
    EXPECT_EQ(f->Text1[11].Text(), vb::Format(vb::Date(), "dd.mm.yyyy"));
    host->answer(forms::vbNo);
    f->Befehl5_Click();
    EXPECT_EQ(meldungen().back(), DialogTxt(19) + "Anna Berg/" + f->Text1[11].Text() + DialogTxt(20));
    const int32_t id = std::stoi(f->Text8.Text());
    EXPECT_EQ(gAktPersonID, id);
    EXPECT_EQ(gAktPerson[2], "Berg");
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(zaehle("persdat", id), 1);
    EXPECT_EQ(zaehle("persontestergebnis", id), 109);
    EXPECT_EQ(zaehle("typwertzuweisung", id), 126);
    EXPECT_EQ(zaehle("ergebnis", id), 9);

    // Yes starts the test at statement 1 for the new person.
    oeffnen();
    neu("Bernd", " ");  // a blank surname counts as filled
    host->answer(forms::vbYes);
    f->Befehl5_Click();
    EXPECT_NE(gAktPersonID, id);
    EXPECT_EQ(zaehle("typwertzuweisung", gAktPersonID), 126);
    auto& t = forms::Instance<frmTest>();
    EXPECT_TRUE(t.isLoaded());
    EXPECT_EQ(gAktAussage, 1);
    EXPECT_EQ(t.Label1.Caption(), "Person: Bernd  /" + vb::Format(vb::Date(), "dd.mm.yyyy"));
}

TEST_F(PersonFenster, EnterLeadsThroughTheBoxesToSaveAndTheNextEnterSaves) {
    oeffnen();
    neu("Anna", "Berg");
    forms::SendKey(f->Text1[11].editor(), forms::vbKeyReturn);
    EXPECT_EQ(personen(), 0);  // Enter in the last box only moves on
    host->answer(forms::vbNo);
    forms::SendKey(&f->Befehl5, forms::vbKeyReturn);
    EXPECT_EQ(personen(), 1);
    EXPECT_EQ(meldungen().back(), DialogTxt(19) + "Anna Berg/" + vb::Format(vb::Date(), "dd.mm.yyyy") + DialogTxt(20));
}

TEST_F(PersonFenster, MissingNameOrOverlongTextStoresNothing) {
    oeffnen();
    neu("Anna", "");
    f->Befehl5_Click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(18)});
    EXPECT_TRUE(f->Befehl5.isEnabled());  // still in the new state, nothing lost
    EXPECT_EQ(f->Text1[0].Text(), "Anna");

    f->Text1[1].setText("Berg");
    f->Text1[5].setText(std::string(151, 'x'));  // 151 characters for a field of 150
    f->Befehl5_Click();
    EXPECT_TRUE(gezeigt("3163"));
    EXPECT_TRUE(gezeigt("Feld \"" + LabelTxt(164) + "\" ist 151 Zeichen lang"));
    EXPECT_EQ(personen(), 0);
    EXPECT_EQ(zeilenAller("persontestergebnis"), 0);
    EXPECT_TRUE(f->Befehl5.isEnabled());
    EXPECT_EQ(shell("sqlite3 '" + path("test.ZDB") + "' 'pragma integrity_check'"), "ok\n");
}

TEST_F(PersonFenster, DatesAreTakenAsDayMonthYearOrRefusedWithWhatIsExpected) {
    const std::string fuerGeburtstag = DialogTxt(68) + LabelTxt(49) + DialogTxt(69) + DialogTxt(70);
    const std::string fuerTestdatum = DialogTxt(68) + LabelTxt(56) + DialogTxt(69);
    oeffnen();
    neu("Anna", "Berg");
    for (const char* falsch :
         {"abc", "29.02.2023", "31.04.2026", "0.1.2020", "1.0.2020", "32.1.2020", "1.13.2020", "1.2.20", "1.2.02020",
          "001.2.2020", "1.2.0000", "1-2-2020", "1.2.2020.", "..2020", " 1.2.2020", "١.٢.٢٠٢٠"}) {
        host->clearRecords();
        f->Text1[2].setText(falsch);
        f->Befehl5_Click();
        EXPECT_EQ(meldungen(), std::vector<std::string>{fuerGeburtstag}) << falsch;
        ASSERT_TRUE(f->Befehl5.isEnabled()) << falsch;  // still in the new state, the text kept
        EXPECT_EQ(f->Text1[2].Text(), falsch);
    }
    f->Text1[2].setText("");
    for (const char* falsch : {"morgen", " ", "29.2.2100"}) {
        host->clearRecords();
        f->Text1[11].setText(falsch);
        f->Befehl5_Click();
        EXPECT_EQ(meldungen(), std::vector<std::string>{fuerTestdatum}) << falsch;
        ASSERT_TRUE(f->Befehl5.isEnabled());
    }
    EXPECT_EQ(personen(), 0);
    EXPECT_EQ(zeilenAller("persontestergebnis"), 0);

    // A leap day of a leap year, one-digit day and month, an empty birthday.
    f->Text1[2].setText("29.02.2024");
    f->Text1[11].setText("1.2.2020");
    host->clearRecords();
    host->answer(forms::vbNo);
    f->Befehl5_Click();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_EQ(meldungen()[0], DialogTxt(19) + "Anna Berg/1.2.2020" + DialogTxt(20));
    oeffnen();
    neu("Carl", "Dorn");
    host->answer(forms::vbNo);
    f->Befehl5_Click();
    auto rs = datei->OpenRecordset("select * from persdat order by personid", db::RecordsetType::Snapshot);
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("Geburtstag").Value().toString(), "29.02.2024");
    EXPECT_EQ(rs->Fields("Testdatum").Value().toString(), "1.2.2020");
    rs->MoveNext();
    EXPECT_TRUE(rs->Fields("Geburtstag").Value().isNull());
    EXPECT_EQ(rs->Fields("Testdatum").Value().toString(), vb::Format(vb::Date(), "dd.mm.yyyy"));
}

TEST_F(PersonFenster, APersonOfAnOldFileWithTextsForDatesIsShownAndEditedAsItStands) {
    datei->Execute(
        "INSERT INTO persdat (vorname, nachname, geburtstag, testdatum) VALUES ('Olga', 'Alt', 'abc', 'morgen')");
    gAktPersonID = datei->OpenRecordset("persdat", db::RecordsetType::Snapshot)->Fields("PersonID").Value().toLong();
    oeffnen();
    EXPECT_EQ(f->Text1[2].Text(), "abc");
    EXPECT_EQ(f->Text1[11].Text(), "morgen");
    // Another box edited: the texts that were there stay, without a word.
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    f->Befehl5_Click();
    EXPECT_TRUE(meldungen().empty());
    auto rs = datei->OpenRecordset("persdat", db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "0301 1234");
    EXPECT_EQ(rs->Fields("Geburtstag").Value().toString(), "abc");
    EXPECT_EQ(rs->Fields("Testdatum").Value().toString(), "morgen");
    // A text typed anew must be a date.
    f->Befehl7_Click();
    f->Text1[2].setText("abcd");
    f->Text1[6].setText("0301 9999");
    f->Befehl5_Click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(68) + LabelTxt(49) + DialogTxt(69) + DialogTxt(70)});
    EXPECT_TRUE(f->Befehl5.isEnabled());
    rs = datei->OpenRecordset("persdat", db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields("Geburtstag").Value().toString(), "abc");
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "0301 1234");
    f->Befehl2_Click();

    // An XML file with such texts is imported as it stands, and the window shows them.
    std::string xml =
        "<ZUVRecord><Vorname>Xaver</Vorname><Nachname>Yilmaz</Nachname><Strasse/><PLZOrt/><Land/>"
        "<Geburtsdatum>um 1970</Geburtsdatum><Testdatum>gestern</Testdatum>";
    for (int n = 1; n <= 109; ++n) xml += "<Item" + std::to_string(n) + ">3</Item" + std::to_string(n) + ">";
    std::ofstream(path("person.xml")) << xml + "</ZUVRecord>";
    oeffnen();
    host->clearRecords();
    host->chooseFile(path("person.xml")).answer(forms::vbYes);
    f->Command2_Click();
    EXPECT_EQ(meldungen().back(), DialogTxt(75));
    rs = datei->OpenRecordset("select * from persdat where personid = " + std::to_string(gAktPersonID),
                              db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields("Geburtstag").Value().toString(), "um 1970");
    EXPECT_EQ(rs->Fields("Testdatum").Value().toString(), "gestern");
    f->Form_Activate();
    EXPECT_EQ(f->Text1[2].Text(), "um 1970");
    EXPECT_EQ(f->Text1[11].Text(), "gestern");
}

TEST_F(PersonFenster, CancelAfterNewKeepsEveryPersonAndTheCurrentOne) {
    const int32_t anna = neuePerson("Anna", "Berg");
    gAktPersonID = anna;
    oeffnen();
    neu("Carl", "Dorn");
    f->Befehl2_Click();
    EXPECT_EQ(gAktPersonID, anna);
    EXPECT_EQ(personen(), 1);
    EXPECT_EQ(zaehle("persontestergebnis", anna), 109);
}

TEST_F(PersonFenster, FindBySurnameIgnoresCaseButNotPartsAndSkipsPersonsWithoutSurname) {
    neuePerson("Anna", "Berg");
    datei->Execute("INSERT INTO persdat (vorname, testdatum) VALUES ('Ohne', '01.01.2026')");
    neuePerson("Hans", "MÜLLER");
    oeffnen();
    host->input("müller");
    f->Befehl3_Click();
    EXPECT_EQ(f->Text1[0].Text(), "Hans");
    EXPECT_TRUE(meldungen().empty());
    host->input("Müll");
    f->Befehl3_Click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(22)});
}

TEST_F(PersonFenster, EditingChangesTheShownPerson) {
    gAktPersonID = neuePerson("Anna", "Berg");
    oeffnen();
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    f->Befehl5_Click();
    auto rs = datei->OpenRecordset("persdat", db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "0301 1234");
    EXPECT_FALSE(f->Befehl5.isEnabled());
}

// A data file write-protected on disk and opened with "Schreibgeschützt öffnen": every window
// shows what it holds, and a save is refused with the message that the file can only be read.
TEST_F(PersonFenster, AFileThatCanOnlyBeReadShowsItsPersonsAndRefusesASaveSayingSo) {
    gAktPersonID = neuePerson("Anna", "Berg");
    datei->Close();
    db::DBEngine::instance().releaseAll();
    const std::string pfad = path("test.ZDB");
    ASSERT_EQ(::chmod(pfad.c_str(), 0444), 0);
    struct Zurueck {
        std::string pfad;
        ~Zurueck() { ::chmod(pfad.c_str(), 0644); }
    } zurueck{pfad};
    const std::string vorher = support::readFile(pfad);
    datei = ws->OpenDatabase(pfad, false, true);
    gDatenbank = datei;
    gNurLesen = true;

    oeffnen();
    EXPECT_EQ(meldungen(), std::vector<std::string>{});
    EXPECT_EQ(f->Bezeichnung15.Caption(), "1");
    EXPECT_EQ(f->Text1[1].Text(), "Berg");
    auto& liste = forms::Instance<Form3>();
    liste.Show();
    EXPECT_EQ(meldungen(), std::vector<std::string>{});
    ASSERT_EQ(liste.Grid1.Rows(), 2);
    EXPECT_EQ(liste.Grid1.TextMatrix(1, 1), "Berg");
    liste.Befehl2_Click();

    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    f->Befehl5_Click();
    ASSERT_FALSE(meldungen().empty());
    EXPECT_NE(meldungen().back().find("schreibgeschützt"), std::string::npos) << meldungen().back();
    EXPECT_NE(meldungen().back().find(pfad), std::string::npos) << meldungen().back();
    forms::resetAllWindows();
    gDatenbank.reset();
    datei->Close();
    db::DBEngine::instance().releaseAll();
    EXPECT_EQ(support::readFile(pfad), vorher);
    EXPECT_FALSE(std::filesystem::exists(pfad + "-wal"));
    EXPECT_FALSE(std::filesystem::exists(pfad + "-shm"));
}

// Another program (here the sqlite3 tool) changes the person while this window shows or edits it.
// Saving says so, keeps what was typed and stores none of it, and so does saving again; opened
// again, and at "Ändern", the window shows the person as stored and saves the change on that.
// Deleting a person changed since it was shown deletes nothing and shows the stored person; the
// next try deletes it.
TEST_F(PersonFenster, APersonChangedInAnotherProgramIsNeitherOverwrittenNorDeletedUnseen) {
    gAktPersonID = neuePerson("Anna", "Berg");
    auto anderesProgramm = [&](const std::string& sql) {
        const auto r = support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(path("test.ZDB")) + " " +
                                    support::shellQuote(sql));
        ASSERT_EQ(r.status, 0) << r.output;
    };
    auto gespeichert = [&] {
        return shell("sqlite3 " + support::shellQuote(path("test.ZDB")) +
                     " \"select vorname || '|' || ifnull(telefon, '') from persdat\"");
    };
    oeffnen();
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    anderesProgramm("update persdat set vorname = 'Annegret'");
    for (int versuch = 1; versuch <= 2; ++versuch) {
        f->Befehl5_Click();
        EXPECT_EQ(meldungen(), std::vector<std::string>(static_cast<size_t>(versuch), DialogTxt(156)));
        EXPECT_TRUE(f->Befehl5.isEnabled());
        EXPECT_TRUE(f->Text1[0].isEnabled());
        EXPECT_EQ(f->Text1[0].Text(), "Anna");
        EXPECT_EQ(f->Text1[6].Text(), "0301 1234");
        EXPECT_EQ(gespeichert(), "Annegret|\n");
    }
    f->Befehl2_Click();
    oeffnen();
    EXPECT_EQ(f->Text1[0].Text(), "Annegret");
    EXPECT_EQ(f->Text1[6].Text(), "");
    // Changed again while the window shows the person: "Ändern" edits the person as stored now.
    anderesProgramm("update persdat set vorname = 'Annette'");
    f->Befehl7_Click();
    EXPECT_EQ(f->Text1[0].Text(), "Annette");
    f->Text1[6].setText("0301 1234");
    f->Befehl5_Click();
    EXPECT_EQ(gespeichert(), "Annette|0301 1234\n");
    EXPECT_FALSE(f->Befehl5.isEnabled());

    host->clearRecords();
    anderesProgramm("update persdat set telefon = '030 5555'");
    host->answer(forms::vbYes);
    f->Befehl6_Click();
    EXPECT_EQ(meldungen().back(), DialogTxt(157));
    EXPECT_EQ(personen(), 1);
    EXPECT_EQ(zaehle("persontestergebnis", gAktPersonID), 109);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->Text1[6].Text(), "030 5555");
    host->answer(forms::vbYes);
    f->Befehl6_Click();
    EXPECT_EQ(meldungen().back(), DialogTxt(21));
    EXPECT_EQ(personen(), 0);
}

// Another program deletes the person this window shows. Saving what was typed for it stores
// nothing, says so in the window's own words and keeps the boxes, which "Speichern" then stores
// as a new person; "Ändern", "Person übernehmen" and "Löschen" say it is gone; each time the list
// no longer offers it and the program no longer points at it.
TEST_F(PersonFenster, APersonDeletedInAnotherProgramKeepsWhatWasTypedAndLeavesTheList) {
    const int32_t anna = neuePerson("Anna", "Berg");
    const int32_t bert = neuePerson("Bert", "Dorn");
    auto haupt = std::make_unique<support::TestHauptfenster>();
    auto loeschen = [&](int32_t id) {
        const auto r = support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(path("test.ZDB")) + " " +
                                    support::shellQuote("delete from persdat where personid = " + std::to_string(id)));
        ASSERT_EQ(r.status, 0) << r.output;
    };
    auto namen = [&] {
        return shell("sqlite3 " + support::shellQuote(path("test.ZDB")) +
                     " \"select vorname || '|' || ifnull(telefon, '') from persdat order by personid\"");
    };
    gAktPersonID = anna;
    gAktPerson[1] = "Anna";
    oeffnen();
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    loeschen(anna);
    f->Befehl5_Click();
    ASSERT_EQ(meldungen(), std::vector<std::string>{DialogTxt(158)});
    EXPECT_EQ(f->Text1[0].Text(), "Anna");
    EXPECT_EQ(f->Text1[6].Text(), "0301 1234");
    EXPECT_TRUE(f->Befehl5.isEnabled());
    EXPECT_FALSE(f->Data1Enabled());
    EXPECT_EQ(f->Bezeichnung15.Caption(), "1");
    EXPECT_EQ(gAktPersonID, 0);
    EXPECT_EQ(gAktPerson[1], "");
    EXPECT_EQ(namen(), "Bert|\n");
    // Saved again: a new person of its own, with blank rows for its test.
    host->clearRecords();
    host->answer(forms::vbNo);
    f->Befehl5_Click();
    EXPECT_EQ(namen(), "Bert|\nAnna|0301 1234\n");
    EXPECT_EQ(zaehle("persontestergebnis", gAktPersonID), 109);
    EXPECT_NE(gAktPersonID, anna);

    // Shown, then deleted elsewhere, then "Ändern", "Person übernehmen" or "Löschen".
    const std::vector<std::function<void()>> schritte{[&] { f->Befehl7_Click(); }, [&] { f->Befehl1_Click(); },
                                                      [&] {
                                                          host->answer(forms::vbYes);
                                                          f->Befehl6_Click();
                                                      }};
    for (const auto& schritt : schritte) {
        const int32_t carl = neuePerson("Carl", "Eck");
        gAktPersonID = carl;
        oeffnen();
        ASSERT_EQ(f->Text1[0].Text(), "Carl");
        loeschen(carl);
        host->clearRecords();
        schritt();
        ASSERT_FALSE(meldungen().empty());
        EXPECT_EQ(meldungen().back(), DialogTxt(159));
        EXPECT_EQ(gAktPersonID, 0);
        EXPECT_TRUE(f->isVisible());
        EXPECT_FALSE(f->Befehl5.isEnabled());
        EXPECT_EQ(f->Bezeichnung15.Caption(), "2");
        EXPECT_NE(f->Text1[0].Text(), "Carl");
        f->Befehl2_Click();
    }
    // The last person gone too: the list is empty, and so are the boxes.
    oeffnen();
    loeschen(bert);
    const std::string annaNeu = shell("sqlite3 " + support::shellQuote(path("test.ZDB")) +
                                      " 'select personid from persdat where vorname = \"Anna\"'");
    loeschen(std::stoi(annaNeu));
    host->clearRecords();
    f->Befehl7_Click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(159)});
    EXPECT_EQ(f->Bezeichnung15.Caption(), "0");
    EXPECT_EQ(f->Text1[0].Text(), "");
    EXPECT_FALSE(f->Befehl7.isEnabled());
    EXPECT_FALSE(f->Data1Enabled());
}

TEST_F(PersonFenster, DeletingTheCurrentPersonClearsItAndItsRows) {
    const int32_t anna = neuePerson("Anna", "Berg");
    gAktPersonID = anna;
    gAktPerson[2] = "Berg";
    auto haupt = std::make_unique<support::TestHauptfenster>();
    oeffnen();
    host->answer(forms::vbYes);
    f->Befehl6_Click();
    EXPECT_EQ(meldungen().back(), DialogTxt(21));
    EXPECT_EQ(gAktPersonID, 0);
    EXPECT_EQ(gAktPerson[2], "");
    EXPECT_GE(haupt->menueStatus, 1);
    EXPECT_EQ(personen(), 0);
    EXPECT_EQ(zeilenAller("typwertzuweisung"), 0);
    EXPECT_FALSE(f->Befehl1.isEnabled());
    EXPECT_FALSE(f->Befehl6.isEnabled());
    EXPECT_FALSE(f->Data1Enabled());

    // With other persons left the file is still open: the caption is made anew, as after opening.
    const int32_t bernd = neuePerson("Bernd", "Dorn");
    neuePerson("Carla", "Ernst");
    gAktPersonID = bernd;
    gDateiOffen = true;
    forms::Unload(*f);
    oeffnen();
    ASSERT_EQ(f->Text1[0].Text(), "Bernd");
    haupt->titel.clear();
    host->answer(forms::vbYes);
    f->Befehl6_Click();
    EXPECT_EQ(gAktPersonID, 0);
    EXPECT_EQ(personen(), 1);
    // The caption names the open file, as after opening it, not the bare program title.
    EXPECT_EQ(haupt->titel, std::vector<std::string>{std::string(kProgrammTitel) + ": " + gDatenbankName});
    EXPECT_TRUE(f->Befehl1.isEnabled());
}

TEST_F(PersonFenster, XmlImportThroughTheFileDialogMakesTheImportedPersonCurrent) {
    std::string xml =
        "<ZUVRecord><Vorname>Xaver</Vorname><Nachname>Yilmaz</Nachname><Strasse/><PLZOrt/><Land/>"
        "<Geburtsdatum/><Testdatum>02.02.2026</Testdatum>";
    for (int n = 1; n <= 109; ++n) xml += "<Item" + std::to_string(n) + ">3</Item" + std::to_string(n) + ">";
    std::ofstream(path("person.xml")) << xml + "</ZUVRecord>";
    std::ofstream(path("kaputt.xml")) << "<ZUVRecord><Vorname>";
    oeffnen();

    host->chooseFile(path("kaputt"));  // no dot: ".XML" appended, found without regard to case
    f->Command2_Click();
    EXPECT_EQ(host->lastFileRequest().title, LabelTxt(454));
    // The heading and the reason on one line, the line of the file under it.
    const std::string meldung = meldungen().back();
    const size_t umbruch = meldung.find("\r\n");
    EXPECT_EQ(meldung.rfind(LabelTxt(363) + " ", 0), 0u) << meldung;
    ASSERT_NE(umbruch, std::string::npos) << meldung;
    EXPECT_GT(umbruch, LabelTxt(363).size() + 1) << meldung;
    EXPECT_EQ(meldung.substr(umbruch), "\r\n" + LabelTxt(364) + " 1");
    EXPECT_EQ(personen(), 0);

    host->chooseFile(path("person.xml")).answer(forms::vbNo);
    f->Command2_Click();
    EXPECT_EQ(personen(), 0);
    EXPECT_EQ(gAktPersonID, 0);

    auto haupt = std::make_unique<support::TestHauptfenster>();
    host->chooseFile(path("person.xml")).answer(forms::vbYes);
    f->Command2_Click();
    EXPECT_EQ(haupt->unterfensterZu, 1);  // the previous person's result windows
    EXPECT_EQ(meldungen().back(), DialogTxt(75));
    EXPECT_NE(gAktPersonID, 0);
    EXPECT_EQ(gAktPerson[1], "Xaver");
    EXPECT_EQ(zaehle("typwertzuweisung", gAktPersonID), 126);
    EXPECT_EQ(f->Bezeichnung15.Caption(), "1");

    // An import while the shown person is being edited leaves the edit and its row alone.
    const int32_t xaver = gAktPersonID;
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    host->chooseFile(path("person.xml")).answer(forms::vbYes);
    f->Command2_Click();
    EXPECT_NE(gAktPersonID, xaver);
    EXPECT_EQ(f->Text1[6].Text(), "0301 1234");
    f->Befehl5_Click();
    auto telefon = [&](int32_t id) {
        auto rs = datei->OpenRecordset("select * from persdat where personid = " + std::to_string(id),
                                       db::RecordsetType::Snapshot);
        return vb::textOrEmpty(rs->Fields("Telefon").Value());
    };
    EXPECT_EQ(telefon(xaver), "0301 1234");
    EXPECT_EQ(telefon(gAktPersonID), "");
    EXPECT_EQ(personen(), 2);

    host->cancelFile();  // cancelled dialog: no message at all
    host->clearRecords();
    f->Command2_Click();
    EXPECT_TRUE(meldungen().empty());
}

// Person files built to overwhelm the reader: values nested past 64 levels, entities that grow a
// value into many megabytes. Each is refused with what is wrong with it, like any other bad file;
// 64 levels are still read.
TEST_F(PersonFenster, XmlFilesNestedTooDeepOrBlownUpByEntitiesAreRefusedSayingWhy) {
    auto person = [](const std::string& dtd, const std::string& vorname) {
        std::string xml = dtd + "<ZUVRecord><Vorname>" + vorname +
                          "</Vorname><Nachname>N</Nachname><Strasse/><PLZOrt/><Land/><Geburtsdatum/>"
                          "<Testdatum>02.02.2026</Testdatum>";
        for (int n = 1; n <= 109; ++n) xml += "<Item" + std::to_string(n) + ">2</Item" + std::to_string(n) + ">";
        return xml + "</ZUVRecord>";
    };
    auto verschachtelt = [](int ebenen) {
        std::string s;
        for (int i = 0; i < ebenen; ++i) s += "<b>";
        s += "V";
        for (int i = 0; i < ebenen; ++i) s += "</b>";
        return s;
    };
    // 200 references to 100 000 characters: small on disk, 20 MB as text.
    const std::string gross = "<!DOCTYPE ZUVRecord [<!ENTITY g \"" + std::string(100000, 'g') + "\">]>";
    std::string vervielfacht;
    for (int i = 0; i < 200; ++i) vervielfacht += "&g;";
    // Entities ten times over in nine levels: the parser stops these itself.
    std::string lacher = "<!DOCTYPE ZUVRecord [<!ENTITY a0 \"hahahahahahahahahaha\">";
    for (int i = 1; i <= 9; ++i) {
        lacher += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) lacher += "&a" + std::to_string(i - 1) + ";";
        lacher += "\">";
    }
    lacher += "]>";
    std::ofstream(path("tief.xml")) << person("", verschachtelt(65));
    std::ofstream(path("gerade.xml")) << person("", verschachtelt(64));
    std::ofstream(path("gross.xml")) << person(gross, vervielfacht);
    std::ofstream(path("lacher.xml")) << person(lacher, "&a9;");
    oeffnen();
    const struct {
        const char* datei;
        int text;
        const char* sagt;
    } faelle[] = {{"tief.xml", 72, "verschachtelt"}, {"gross.xml", 73, "16 MB"}};
    for (const auto& [xmlName, text, sagt] : faelle) {
        SCOPED_TRACE(xmlName);
        host->clearRecords();
        host->chooseFile(path(xmlName));
        f->Command2_Click();
        ASSERT_EQ(meldungen().size(), 1u);
        EXPECT_EQ(meldungen()[0], LabelTxt(363) + " " + DialogTxt(text) + "\r\n" + LabelTxt(364) + " 0");
        EXPECT_NE(meldungen()[0].find(sagt), std::string::npos) << meldungen()[0];
        EXPECT_EQ(host->records().back().style, forms::vbExclamation);
    }
    host->clearRecords();
    host->chooseFile(path("lacher.xml"));
    f->Command2_Click();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find("vervielfachen sich zu einem übermäßig langen Text"), std::string::npos)
        << meldungen()[0];
    host->clearRecords();
    host->chooseFile(path("gerade.xml")).answer(forms::vbNo);
    f->Command2_Click();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_EQ(meldungen()[0], DialogTxt(74));
    EXPECT_EQ(personen(), 0);
}

namespace {

class Auswahl : public FensterTest {
protected:
    Form3& zeigen() {
        auto& c = forms::Instance<Form3>();
        c.Show();
        return c;
    }
};

}  // namespace

TEST_F(Auswahl, ListIsSortedAndDoubleClickChoosesThatRow) {
    const int32_t bx = neuePerson("X", "B");
    neuePerson("Z", "A");
    const int32_t ay = neuePerson("Y", "A");
    auto& c = zeigen();
    ASSERT_EQ(c.Grid1.Rows(), 4);
    EXPECT_EQ(c.Grid1.TextMatrix(0, 2), LabelTxt(56));
    EXPECT_EQ(c.Grid1.TextMatrix(1, 0), "Y");
    EXPECT_EQ(c.Grid1.TextMatrix(2, 0), "Z");
    EXPECT_EQ(c.Grid1.TextMatrix(3, 1), "B");
    EXPECT_EQ(c.Bezeichnung2.Caption(), "3");
    EXPECT_EQ(gAuswahlAbgebrochen, 0);
    c.Grid1.setRow(3);
    c.Grid1_DblClick();
    EXPECT_EQ(gAktPersonID, bx);
    EXPECT_FALSE(c.isLoaded());

    // Without a click the first row counts; an empty test date is taken as empty.
    datei->Execute("UPDATE persdat SET testdatum = NULL WHERE personid = " + std::to_string(ay));
    gAktPerson[11] = "alt";
    auto& c2 = zeigen();
    c2.Befehl1_Click();
    EXPECT_EQ(gAktPersonID, ay);
    EXPECT_EQ(gAktPerson[11], "");
}

TEST_F(Auswahl, CancelAndClosingTheFrameChooseNobody) {
    gAktPersonID = neuePerson("Anna", "Berg");
    const int32_t vorher = gAktPersonID;
    neuePerson("Otto", "Zorn");
    auto& c = zeigen();
    c.Befehl2_Click();
    EXPECT_EQ(gAuswahlAbgebrochen, 1);
    EXPECT_EQ(gAktPersonID, vorher);
    auto& c2 = zeigen();
    EXPECT_EQ(gAuswahlAbgebrochen, 0);
    c2.close();  // the window's close box
    EXPECT_FALSE(c2.isLoaded());
    EXPECT_EQ(gAuswahlAbgebrochen, 1);
    EXPECT_EQ(gAktPersonID, vorher);
}

TEST_F(Auswahl, EmptyDataFileSaysSoAndCountsAsCancelled) {
    auto& c = zeigen();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(6)});
    EXPECT_EQ(gAuswahlAbgebrochen, 1);
    EXPECT_FALSE(c.isLoaded());
}

TEST_F(PersonFenster, PersonWithoutSurnameIsNotDeletedAndTheMessageSaysSo) {
    datei->Execute("INSERT INTO persdat (vorname, testdatum) VALUES ('Ohne', '01.01.2026')");
    oeffnen();
    host->answer(forms::vbYes);
    f->Befehl6_Click();
    EXPECT_EQ(personen(), 1);
    EXPECT_NE(meldungen().back(), DialogTxt(21));
    EXPECT_TRUE(gezeigt("nicht gelöscht"));
}

// Another program holds a write lock on the data file: the save is refused with a message that
// names the file and the cause, the typed values stay in the window, and saving again stores them.
TEST_F(PersonFenster, ASaveRefusedWhileAnotherProgramHoldsTheFileKeepsTheValuesForTheNextSave) {
    db::DBEngine::instance().setBusyTimeout(200);
    gAktPersonID = neuePerson("Anna", "Berg");
    gAktPerson[2] = "Berg";
    oeffnen();
    f->Befehl7_Click();
    f->Text1[6].setText("0301 1234");
    sqlite3* fremd = nullptr;
    ASSERT_EQ(sqlite3_open(path("test.ZDB").c_str(), &fremd), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(fremd, "BEGIN IMMEDIATE; UPDATE info SET version = version", nullptr, nullptr, nullptr),
              SQLITE_OK);
    host->clearRecords();
    f->Befehl5_Click();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find("anderes Programm"), std::string::npos) << meldungen()[0];
    EXPECT_NE(meldungen()[0].find("test.ZDB"), std::string::npos) << meldungen()[0];
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->Text1[6].Text(), "0301 1234");
    EXPECT_TRUE(f->Befehl5.isEnabled());
    ASSERT_EQ(sqlite3_exec(fremd, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(fremd);
    host->clearRecords();
    f->Befehl5_Click();
    EXPECT_EQ(
        datei->OpenRecordset("select telefon from persdat", db::RecordsetType::Snapshot)->Fields(0).Value().toString(),
        "0301 1234");
}
