#include <sqlite3.h>

#include <QCoreApplication>

#include "desk/common/engine_setup.h"
#include "desk/testing/frm_test.h"
#include "fenster_fixture.h"
#include "platform/db/recordset.h"
#include "platform/forms/keys.h"
#include "platform/forms/screen.h"

using namespace zuvtest_test;

namespace {

class TestForm : public FensterTest {
protected:
    void SetUp() override {
        FensterTest::SetUp();
        gAktPersonID = neuePerson("Anna", "Berg");
        gAktPerson[1] = "Anna";
        gAktPerson[2] = "Berg";
        gAktPerson[11] = "01.02.2026";
        gAktAussage = 1;
        f = &forms::Instance<frmTest>();
        f->Show();
    }

    // The stored rating of a statement ("" when empty).
    std::string bewertung(int aussage) {
        auto rs = datei->OpenRecordset("select * from persontestergebnis where personid = " +
                                           std::to_string(gAktPersonID) + " and itemnummer = " + std::to_string(aussage),
                                       db::RecordsetType::Snapshot);
        const vb::Variant v = rs->Fields("itemwert").Value();
        return v.isNull() ? "" : v.toString();
    }
    long leereTypZeilen() {
        return datei
            ->OpenRecordset("select * from typwertzuweisung where typrealwert is null", db::RecordsetType::Snapshot)
            ->RecordCount();
    }
    void taste(int k) { forms::SendKey(f->Text1.editor(), k); }

    frmTest* f = nullptr;
};

}  // namespace

TEST_F(TestForm, WholeTestByDigitKeysStoresEveryRatingAndClosesWhenComplete) {
    ASSERT_TRUE(f->isLoaded());
    EXPECT_EQ(f->Label1.Caption(), "Person: Anna Berg/01.02.2026");
    EXPECT_EQ(f->Bild3.Caption(), "1");
    EXPECT_FALSE(f->Text2.Text().empty());
    for (int n = 1; n <= 109; ++n) {
        ASSERT_EQ(gAktAussage, n);
        taste('0' + n % 5);
        taste(forms::vbKeyReturn);
    }
    EXPECT_FALSE(f->isLoaded());
    EXPECT_TRUE(gezeigt(DialogTxt(27)));
    EXPECT_EQ(bewertung(5), "0");
    EXPECT_EQ(bewertung(109), "4");
    EXPECT_EQ(leereTypZeilen(), 0);
    EXPECT_EQ(typWerte(gAktPersonID, 5), (std::map<int, std::string>{{8, "0"}, {9, "4"}}));
}

TEST_F(TestForm, ButtonsRateAgainAndWrongKeysAreRefused) {
    f->Befehl[3].click();
    EXPECT_EQ(f->Text1.Text(), "3");
    f->Befehl6.click();
    EXPECT_EQ(bewertung(1), "3");
    EXPECT_EQ(gAktAussage, 2);
    EXPECT_EQ(f->SSPanel1.FloodPercent(), 1);  // 0.926 rounded

    // Back to statement 1 and rate it again: the box shows the stored rating first.
    f->SSCommand1_Click();
    EXPECT_EQ(f->Text1.Text(), "3");
    f->Befehl[1].click();
    f->Befehl6.click();
    EXPECT_EQ(bewertung(1), "1");

    for (int k : {'5', 'a', '-'}) {
        host->clearRecords();
        taste('2');
        if (k == '5') {
            taste(k);
        } else {
            int ascii = k;  // typed characters without a key of their own
            f->Text1_KeyPress(ascii);
            EXPECT_EQ(ascii, 0);
        }
        EXPECT_EQ(f->Text1.Text(), "");
        EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(28)});
    }
    host->clearRecords();
    f->Befehl6.click();  // empty box: nothing stored
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(25)});
    EXPECT_EQ(bewertung(2), "");

    // A value pasted into the box passes no key: it is refused like a wrong key.
    host->clearRecords();
    f->Text1.setText("7");
    f->Befehl6.click();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(28)});
    EXPECT_EQ(f->Text1.Text(), "");
    EXPECT_EQ(bewertung(2), "");
    EXPECT_EQ(gAktAussage, 2);
}

TEST_F(TestForm, PagingStopsAtBothEndsAndShowsProgress) {
    int k = forms::vbKeyPageUp;
    f->Form_KeyUp(k, 0);
    EXPECT_EQ(gAktAussage, 1);
    EXPECT_TRUE(gezeigt(DialogTxt(30)));
    gAktAussage = 55;
    f->Text2_GotFocus();
    EXPECT_EQ(f->SSPanel1.FloodPercent(), 50);
    gAktAussage = 109;
    k = forms::vbKeyPageDown;
    f->Form_KeyUp(k, 0);
    EXPECT_EQ(gAktAussage, 109);
    EXPECT_TRUE(gezeigt(DialogTxt(29)));
    EXPECT_EQ(f->SSPanel1.FloodPercent(), 100);
}

TEST_F(TestForm, FinishAndCancelLeadToTheFirstGapAndKeepWhatWasRated) {
    datei->Execute("UPDATE typwertzuweisung SET typrealwert = 2 WHERE itemnummer <> 12");
    gAktAussage = 109;
    f->Text2_GotFocus();
    taste('4');
    taste(forms::vbKeyReturn);
    EXPECT_TRUE(gezeigt(DialogTxt(26)));
    EXPECT_EQ(gAktAussage, 12);
    EXPECT_TRUE(f->isLoaded());

    host->answer(forms::vbYes);
    f->Befehl10_Click();
    EXPECT_EQ(gAktAussage, 12);
    EXPECT_TRUE(f->isLoaded());
    host->answer(forms::vbNo);
    f->Befehl10_Click();
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(bewertung(109), "4");

    // Closed mid-test with Esc: the ratings given so far stay.
    f->Show();
    gAktAussage = 12;
    f->Text2_GotFocus();
    taste('1');
    taste(forms::vbKeyReturn);
    host->clearRecords();
    int esc = forms::vbKeyEscape;
    f->Text1_KeyPress(esc);
    f->Form_KeyUp(esc, 0);
    EXPECT_TRUE(meldungen().empty());
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(bewertung(12), "1");
    EXPECT_EQ(leereTypZeilen(), 0);
    f->Show();
    host->clearRecords();
    f->Befehl10_Click();  // complete: closes without a question
    EXPECT_FALSE(f->isLoaded());
    EXPECT_TRUE(meldungen().empty());
}

TEST_F(TestForm, RatingIsNeverWrittenIntoAnotherStatementsRow) {
    datei->Execute("DELETE FROM persontestergebnis WHERE itemnummer = 7");
    gAktAussage = 6;
    f->Text2_GotFocus();
    taste('3');
    taste(forms::vbKeyReturn);  // 6 stored, now on 7 without an answer row
    ASSERT_EQ(gAktAussage, 7);
    host->clearRecords();
    taste('4');
    taste(forms::vbKeyReturn);
    EXPECT_EQ(gAktAussage, 7);
    EXPECT_EQ(bewertung(6), "3");
    EXPECT_EQ(bewertung(8), "");
    EXPECT_TRUE(gezeigt("fehlt die Antwortzeile"));
    for (auto& [typ, wert] : typWerte(gAktPersonID, 7)) EXPECT_EQ(wert, "") << typ;
}

TEST_F(TestForm, PersonDeletedMeanwhileGetsNoRatingAndTheFormSaysSo) {
    taste('2');
    taste(forms::vbKeyReturn);
    datei->Execute("DELETE FROM persdat WHERE personid = " + std::to_string(gAktPersonID));
    host->clearRecords();
    taste('3');
    taste(forms::vbKeyReturn);
    EXPECT_TRUE(gezeigt("nicht mehr in der Datendatei"));
    EXPECT_EQ(gAktAussage, 2);
    EXPECT_EQ(datei->OpenRecordset("persontestergebnis", db::RecordsetType::Snapshot)->RecordCount(), 0);
    EXPECT_TRUE(f->isLoaded());
}

// Another program holds a write lock on the data file. Before: the rating was lost when the
// window came to the front again, the message did not say why, and no hourglass showed.
TEST_F(TestForm, ARatingRefusedWhileAnotherProgramHoldsTheFileStaysToBeStoredAgain) {
    SanduhrBeimWarten();
    struct Ohne {
        ~Ohne() { db::DBEngine::instance().setLockWaitHook({}); }
    } ohne;
    db::DBEngine::instance().setBusyTimeout(200);
    sqlite3* fremd = nullptr;
    ASSERT_EQ(sqlite3_open(path("test.ZDB").c_str(), &fremd), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(fremd, "BEGIN IMMEDIATE; UPDATE info SET version = version", nullptr, nullptr, nullptr),
              SQLITE_OK);
    host->clearRecords();
    f->Befehl[3].click();
    f->Befehl6.click();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find("anderes Programm"), std::string::npos) << meldungen()[0];
    EXPECT_NE(meldungen()[0].find("test.ZDB"), std::string::npos) << meldungen()[0];
    // The hourglass showed from the wait on, until the program takes its events again.
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbHourglass);
    QCoreApplication::processEvents();
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
    EXPECT_EQ(bewertung(1), "");
    EXPECT_EQ(gAktAussage, 1);
    // Brought to the front again, the window still shows what was typed; "Speichern" stores it.
    f->Form_Activate();
    EXPECT_EQ(f->Text1.Text(), "3");
    ASSERT_EQ(sqlite3_exec(fremd, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(fremd);
    f->Befehl6.click();
    EXPECT_EQ(meldungen().size(), 1u);
    EXPECT_EQ(bewertung(1), "3");
    EXPECT_EQ(gAktAussage, 2);
    // A statement left and shown again shows what is stored.
    f->SSCommand1_Click();
    EXPECT_EQ(f->Text1.Text(), "3");
}
