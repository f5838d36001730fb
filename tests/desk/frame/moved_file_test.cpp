// The open data file deleted, renamed or made unwritable behind the program's back: a save is
// either in the file under its name and confirmed, or refused with one message that says what
// became of which file; what the program still holds is kept where the user says, and afterwards
// the program works on a file again (or has none open, with the menus to match).

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>

#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "frame_fixture.h"
#include "support/fork.h"

using namespace frame_test;

namespace {

class VerloreneDatei : public FrameTest {
protected:
    // The program started on a data file of two persons.
    void SetUp() override {
        FrameTest::SetUp();
        datei = datenDatei("Klienten.ZDB", 2);
        zuletztGeoeffnet(datei);
        ASSERT_TRUE(starte());
        ASSERT_TRUE(gDateiOffen);
        h().clearRecords();
    }
    // A new person typed into the person window and saved; the answers go to the questions that follow.
    void neuePerson(const std::string& vorname, const std::string& nachname) {
        PersonendatenAnzeigen();
        auto& f = forms::Instance<frmpers>();
        f.Befehl4_Click();
        f.Text1[0].setText(vorname);
        f.Text1[1].setText(nachname);
        f.Befehl5_Click();
    }
    std::string sqlite(const std::string& file, const std::string& sql) {
        return support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(sql)).output;
    }
    static bool gespeichertGemeldet(const std::string& m) { return m.find(DialogTxt(20)) != std::string::npos; }

    std::string datei;
};

// Before: every save after the deletion was confirmed, and at closing all of it was gone.
TEST_F(VerloreneDatei, GeloeschtUnterAltemNamenWiederGeschriebenUndWeiterGearbeitet) {
    h().answer(forms::vbNo);
    neuePerson("Anna", "Vorher");  // in the file's log when it is deleted
    fs::remove(datei);
    h().clearRecords();
    h().answer(forms::vbYes);  // under its old name
    neuePerson("Bert", "Abgelehnt");
    auto m = h().messages();
    ASSERT_EQ(m.size(), 2u);  // the question, then the confirmation of what the user chose
    EXPECT_NE(m[0].find(datei + DialogTxt(139)), std::string::npos);
    EXPECT_NE(m[0].find(DialogTxt(144)), std::string::npos);
    EXPECT_FALSE(gespeichertGemeldet(m[0]));
    EXPECT_EQ(m[1], DialogTxt(152) + datei + DialogTxt(160));

    // The file is back, without the refused person, and the program works on it.
    EXPECT_EQ(sqlite(datei, "select nachname from persdat order by personid"), "Nachname1\nNachname2\nVorher\n");
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(gDatenbankName, datei);
    EXPECT_EQ(gAktPerson[2], "Vorher");  // still the chosen person
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + datei + " - " + DialogTxt(34) + " Anna Vorher/" + gAktPerson[11]);
    h().clearRecords();
    h().answer(forms::vbNo);
    neuePerson("Bert", "Nachher");
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_TRUE(gespeichertGemeldet(h().messages()[0]));
    mdi().mnuClose_Click();
    EXPECT_EQ(sqlite(datei,
                     "select count(*) from persdat; select count(*) from persontestergebnis; pragma integrity_check"),
              "4\n436\nok\n");
}

TEST_F(VerloreneDatei, GeloeschtUnterNeuemNamenOderGeschlossen) {
    PersonendatenAnzeigen();
    fs::remove(datei);
    // Another name: the save dialog, cancelled first (the question comes again), then a name.
    const std::string neu = pfad("Gerettet.ZDB");
    h().answer(forms::vbNo).cancelFile().answer(forms::vbNo).chooseFile(neu);
    neuePerson("Bert", "Abgelehnt");
    ASSERT_EQ(h().messages().size(), 3u);
    EXPECT_EQ(h().messages()[2], DialogTxt(152) + neu + DialogTxt(160));
    EXPECT_EQ(sqlite(neu, "select count(*) from persdat"), "2\n");
    EXPECT_FALSE(fs::exists(datei));
    EXPECT_EQ(gDatenbankName, neu);
    EXPECT_EQ(mdi().recentPath(1), neu);

    // Deleted again, and this time closed: nothing written, no file open, the menus say so.
    PersonendatenAnzeigen();
    fs::remove(neu);
    h().clearRecords();
    h().answer(forms::vbCancel);
    neuePerson("Carl", "Abgelehnt");
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find(DialogTxt(146)), std::string::npos);
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(mdi().mnuClose.Enabled());
    EXPECT_FALSE(mdi().mnuPersonendaten.Visible());
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
    EXPECT_FALSE(fs::exists(neu));
    EXPECT_FALSE(fs::exists(neu + "-wal"));
}

// Before: the file written back, the windows were closed and what was typed in them was gone.
// Now each window keeps the change that was refused, the message says it is not in the file, and
// saving it again stores it there: a person's data, a rating, a deletion.
TEST_F(VerloreneDatei, WasAbgelehntWurdeBleibtImFensterUndWirdDannGespeichert) {
    PersonendatenAnzeigen();
    auto& f = forms::Instance<frmpers>();
    f.Befehl7_Click();
    f.Text1[6].setText("030 1234");
    fs::remove(datei);
    h().answer(forms::vbYes);  // under its old name
    f.Befehl5_Click();
    auto m = h().messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1], DialogTxt(152) + datei + DialogTxt(160));
    EXPECT_EQ(sqlite(datei, "select count(*) from persdat where telefon is not null"), "0\n");
    ASSERT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Befehl5.isEnabled());
    EXPECT_EQ(f.Text1[6].Text(), "030 1234");
    h().clearRecords();
    f.Befehl5_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(sqlite(datei, "select telefon from persdat where telefon is not null"), "030 1234\n");

    // A rating, the file written under another name.
    gAktPersonID = 1;
    TestDurchfuehren();
    auto& t = forms::Instance<frmTest>();
    ASSERT_TRUE(t.isVisible());
    const std::string neu = pfad("Gerettet.ZDB");
    fs::remove(datei);
    h().clearRecords();
    h().answer(forms::vbNo).chooseFile(neu);
    t.Text1.setText("4");
    t.Befehl6_Click();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_EQ(h().messages()[1], DialogTxt(152) + neu + DialogTxt(160));
    EXPECT_EQ(gDatenbankName, neu);
    EXPECT_EQ(mdi().recentPath(1), neu);
    ASSERT_TRUE(t.isVisible());
    EXPECT_EQ(gAktAussage, 1);
    EXPECT_EQ(t.Text1.Text(), "4");
    const std::string bewertung = "select itemwert from persontestergebnis where personid = 1 and itemnummer = 1";
    EXPECT_NE(sqlite(neu, bewertung), "4\n");
    h().clearRecords();
    t.Befehl6_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(sqlite(neu, bewertung), "4\n");
    EXPECT_EQ(gAktAussage, 2);
    forms::Unload(t);

    // A deletion, the file written back under its name.
    PersonendatenAnzeigen();
    ASSERT_TRUE(f.isVisible());
    fs::remove(neu);
    h().clearRecords();
    h().answer(forms::vbYes).answer(forms::vbYes);
    f.Befehl6_Click();
    ASSERT_EQ(h().messages().size(), 3u);
    EXPECT_EQ(h().messages()[2], DialogTxt(152) + neu + DialogTxt(160));
    ASSERT_TRUE(f.isVisible());
    EXPECT_EQ(sqlite(neu, "select count(*) from persdat"), "2\n");
    h().clearRecords();
    h().answer(forms::vbYes);
    f.Befehl6_Click();
    EXPECT_EQ(h().messages().back(), DialogTxt(21));
    EXPECT_EQ(sqlite(neu, "select count(*) from persdat; pragma integrity_check"), "1\nok\n");
}

// Before: the save reported "file not found" twice, yet the person was stored in the renamed file.
TEST_F(VerloreneDatei, UmbenanntWirdUnterNeuemNamenWeitergefuehrt) {
    const std::string neu = pfad("Umbenannt.ZDB");
    fs::rename(datei, neu);
    PersonendatenAnzeigen();  // the window binding the file by its old name hears it first
    auto m = h().messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0], DialogTxt(123) + datei + DialogTxt(141) + gCrLf + gCrLf + DialogTxt(150) + neu + DialogTxt(151));
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(gDatenbankName, neu);
    EXPECT_EQ(mdi().recentPath(1), neu);

    h().clearRecords();
    h().answer(forms::vbNo);
    neuePerson("Bert", "Nachher");
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_TRUE(gespeichertGemeldet(h().messages()[0]));
    mdi().mnuClose_Click();
    EXPECT_EQ(sqlite(neu, "select count(*) from persdat; pragma integrity_check"), "3\nok\n");
    EXPECT_FALSE(fs::exists(datei));
    EXPECT_FALSE(fs::exists(datei + "-wal"));
}

TEST_F(VerloreneDatei, UmbenanntBeimSpeichernEineMeldungUndNichtsGespeichert) {
    PersonendatenAnzeigen();
    const std::string neu = pfad("Umbenannt.ZDB");
    fs::rename(datei, neu);
    neuePerson("Bert", "Abgelehnt");
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find(DialogTxt(141)), std::string::npos);
    EXPECT_EQ(gDatenbankName, neu);
    EXPECT_EQ(sqlite(neu, "select count(*) from persdat where nachname = 'Abgelehnt'"), "0\n");
}

TEST_F(VerloreneDatei, SchreibgeschuetztEineMeldungUndDieDateiBleibtWieSieWar) {
    PersonendatenAnzeigen();
    fs::permissions(datei, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    h().answer(forms::vbNo);  // close it
    neuePerson("Bert", "Abgelehnt");
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find(DialogTxt(142)), std::string::npos);
    EXPECT_NE(h().messages()[0].find(DialogTxt(147)), std::string::npos);
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(mdi().mnuClose.Enabled());
    EXPECT_EQ(sqlite(datei, "select count(*) from persdat; pragma integrity_check"), "2\nok\n");
}

// A window opened on the lost file hears it first; closing the file there ends the opening
// without a second message about the file that is no longer open.
TEST_F(VerloreneDatei, BeimOeffnenEinesFenstersGeschlossenEineMeldung) {
    fs::permissions(datei, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    h().answer(forms::vbNo);  // close it
    PersonendatenAnzeigen();
    ASSERT_EQ(h().messages().size(), 1u) << h().messages().back();
    EXPECT_NE(h().messages()[0].find(DialogTxt(142)), std::string::npos);
    EXPECT_FALSE(gDateiOffen);
    EXPECT_FALSE(forms::Instance<frmpers>().isVisible());
    fs::permissions(datei, fs::perms::owner_read | fs::perms::owner_write);

    bool abbruch = false;
    mdi().OpenLocalDB(datei, abbruch);
    ASSERT_TRUE(gDateiOffen);
    fs::remove(datei);
    h().clearRecords();
    h().answer(forms::vbCancel);  // close it, its content lost
    PersonendatenAnzeigen();
    ASSERT_EQ(h().messages().size(), 1u) << h().messages().back();
    EXPECT_NE(h().messages()[0].find(DialogTxt(139)), std::string::npos);
    EXPECT_FALSE(gDateiOffen);
}

// Written back while a window was being opened on it: the window shows the file's persons.
TEST_F(VerloreneDatei, BeimOeffnenEinesFenstersWiederGeschriebenZeigtEsDieDatei) {
    fs::remove(datei);
    h().answer(forms::vbYes);
    PersonendatenAnzeigen();
    ASSERT_EQ(h().messages().size(), 2u);
    auto& f = forms::Instance<frmpers>();
    ASSERT_TRUE(f.isVisible());
    ASSERT_NE(f.Data1.Recordset(), nullptr);
    EXPECT_EQ(f.Bezeichnung15.Caption(), "2");
    EXPECT_TRUE(f.Befehl7.isEnabled());
    EXPECT_EQ(sqlite(datei, "select count(*) from persdat"), "2\n");
}

// Before: a folder made read-only reported 3051 at the window and again at the save, and the
// person was stored all the same. Run in a child without the right to write anywhere (root's
// capabilities dropped), since root writes into any folder.
TEST_F(VerloreneDatei, OrdnerSchreibgeschuetztEineMeldungUndNichtsGespeichert) {
    const fs::path ordner = dir / "nur_lesen";
    fs::create_directory(ordner);
    const std::string kopie = (ordner / "Kartei.ZDB").string();
    const std::string neu = pfad("Kopie.ZDB");
    h().answer(forms::vbYes).chooseFile(kopie);  // a data file of its own in that folder
    mdi().mnuNew_Click();
    ASSERT_EQ(gDatenbankName, kopie);
    const pid_t kind = support::forkChild();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        __user_cap_header_struct kopf{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct rechte[2]{};
        ::syscall(SYS_capget, &kopf, rechte);
        for (auto& r : rechte) r.effective = r.permitted = r.inheritable = 0;
        ::syscall(SYS_capset, &kopf, rechte);
        PersonendatenAnzeigen();
        fs::permissions(ordner, fs::perms::owner_read | fs::perms::owner_exec);
        h().clearRecords();
        h().answer(forms::vbYes).chooseFile(neu);  // kept under another name, and worked on there
        neuePerson("Bert", "Abgelehnt");
        const auto m = h().messages();
        const bool eineFrage = m.size() == 2 && m[0].find(DialogTxt(142)) != std::string::npos &&
                               m[1] == DialogTxt(152) + neu + DialogTxt(160);
        h().clearRecords();
        h().answer(forms::vbNo);
        neuePerson("Carl", "Nachher");
        const bool weiter = gDatenbankName == neu && h().messages().size() == 1 && gespeichertGemeldet(h().messages()[0]);
        mdi().mnuClose_Click();
        ::_exit((eineFrage ? 0 : 1) | (weiter ? 0 : 2));
    }
    const int status = support::childEnds(kind);
    fs::permissions(ordner, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status) & 1, 0) << "not one question and one confirmation";
    EXPECT_EQ(WEXITSTATUS(status) & 2, 0) << "the next save did not work";
    EXPECT_EQ(sqlite(kopie, "select count(*) from persdat"), "0\n");
    EXPECT_EQ(sqlite(neu, "select nachname from persdat"), "Nachher\n");
}

}  // namespace

namespace {

// The settings database is looked for under its name at the next start: deleted while the program
// runs, a change of the settings is refused with one question, and what the program holds goes
// back under the name, where the next change is stored.
TEST_F(VerloreneDatei, EinstellungenGeloeschtWiederUnterIhremNamen) {
    const std::string einstellungen = files::resolve(gProgrammDB);
    auto speichern = [] {
        Form4& f = forms::Default<Form4>();
        f.Show();
        f.Option3.setValue(true);
        f.Command1_Click();
    };
    fs::remove(einstellungen);
    h().answer(forms::vbYes);
    speichern();
    auto m = h().messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NE(m[0].find(einstellungen + DialogTxt(139)), std::string::npos);
    EXPECT_NE(m[0].find(DialogTxt(155)), std::string::npos);
    EXPECT_EQ(m[1], DialogTxt(152) + einstellungen + DialogTxt(153));
    EXPECT_EQ(sqlite(einstellungen, "select typbenennungzifferausgeschrieben from konfiguration"), "0\n");

    h().clearRecords();
    speichern();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(sqlite(einstellungen, "select typbenennungzifferausgeschrieben from konfiguration"), "-1\n");
    EXPECT_TRUE(gDateiOffen);  // the data file was not touched
    EXPECT_EQ(sqlite(einstellungen, "pragma integrity_check"), "ok\n");
}

}  // namespace
