// The main road through the whole program: a new data file, a person entered in the person
// window, the test taken with the buttons, the evaluation scoring it through the main window.

#include "desk/frame/frame_fixture.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/data_control.h"

using namespace frame_test;

namespace {

class Hauptweg : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
};

}  // namespace

TEST_F(Hauptweg, NewPersonTakesTheTestByButtonsAndIsScored) {
    neueDatei("Haupt.ZDB");
    ASSERT_TRUE(gDateiOffen);
    ASSERT_EQ(gItemNummer.size(), 126u);

    PersonendatenAnzeigen();
    auto& p = forms::Instance<frmpers>();
    ASSERT_TRUE(p.isLoaded());
    p.Befehl4.click();
    p.Text1[0].setText("Greta");
    p.Text1[1].setText("Hahn");
    h().answer(forms::vbYes);
    p.Befehl5.click();
    EXPECT_FALSE(p.isLoaded());
    const int32_t id = gAktPersonID;
    EXPECT_EQ(zahl(*gDatenbank, "select count(*) from typwertzuweisung where personid = " + std::to_string(id)), 126);
    EXPECT_NE(mdi().Caption().find("Greta Hahn"), std::string::npos);

    auto& t = forms::Instance<frmTest>();
    ASSERT_TRUE(t.isLoaded());
    for (int n = 1; n <= 109; ++n) {
        ASSERT_EQ(gAktAussage, n);
        t.Befehl[n % 3 == 0 ? 4 : 2].click();
        t.Befehl6.click();
    }
    EXPECT_FALSE(t.isLoaded());
    EXPECT_EQ(zahl(*gDatenbank, "select count(*) from typwertzuweisung where typrealwert is null"), 0);

    h().clearRecords();
    mdi().mnuAuswertung_Click();
    EXPECT_TRUE(h().messages().empty());  // complete: no warning
    EXPECT_EQ(gAWGesamtJeTyp[10], 126);
    EXPECT_EQ(gAktPerson[1], "Greta");
    int summe = 0;
    for (int typ = 1; typ <= 9; ++typ) summe += gTypgesamtsummeJeTyp[typ];
    EXPECT_EQ(summe,
              zahl(*gDatenbank, "select sum(typgesamtsumme) from ergebnis where personid = " + std::to_string(id)));
    // The evaluation window shows page 1, which ranks the rows by the total anew.
    EXPECT_NE(mdi().Data2.RecordSource().find("order by typgesamtsumme desc"), std::string::npos);
    EXPECT_FALSE(gRang1Typgesamtsumme[9].empty());
}
