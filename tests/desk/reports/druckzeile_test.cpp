#include "bericht_fixture.h"

#include "desk/common/main_window_port.h"
#include "desk/reports/druckzeile.h"
#include "platform/vb/strings.h"
#include "support/vb_error.h"

using namespace bericht_test;

namespace {

class Druckzeile : public BerichtTest {
protected:
    void SetUp() override {
        BerichtTest::SetUp();
        DrucktabelleBinden();
    }
};

}  // namespace

TEST_F(Druckzeile, RowsComeBackInPageAndLineOrderWhateverTheOrderOfWriting) {
    SchreibeDruckzeile(8, 1, "Titel acht", "U1");
    SchreibeDruckzeile(7, 1, "Titel sieben", "U1");
    SchreibeDruckzeile(7, 0, "", "DE");
    SchreibeDruckzeile(1, 3, "Deckblatt", "U2");
    EXPECT_EQ(drucktabelle(), "1|3|Deckblatt|U2\n7|0||DE\n7|1|Titel sieben|U1\n8|1|Titel acht|U1\n");
    EXPECT_EQ(Trennlinie().size(), 160u);  // 80 macrons, two bytes each
    EXPECT_EQ(vb::Len(Trennlinie()), 80);
}

TEST_F(Druckzeile, ASecondRowOfTheSamePageAndLineFailsAndTheFirstStays) {
    SchreibeDruckzeile(2, 5, "erste", "DE");
    EXPECT_EQ(errorOf([] { SchreibeDruckzeile(2, 5, "zweite", "DE"); }), vb::err::DuplicateKey);
    // The failed row is not left pending: the next line is written as usual.
    SchreibeDruckzeile(2, 6, "dritte", "DE");
    EXPECT_EQ(drucktabelle(), "2|5|erste|DE\n2|6|dritte|DE\n");
}

TEST_F(Druckzeile, ATextLongerThanTheFieldIsCutInsteadOfEndingTheReport) {
    std::string lang;
    for (int i = 0; i < 300; ++i) lang += "ä";
    SchreibeDruckzeile(1, 9, lang, "U2");
    const std::string gespeichert = vb::CStr(datei->OpenRecordset("Drucktabelle")->Fields("Zeilentext").Value());
    EXPECT_EQ(vb::Len(gespeichert), 255);
    EXPECT_EQ(gespeichert, vb::Left(lang, 255));
}

TEST_F(Druckzeile, WithoutABoundTableNothingIsWritten) {
    HauptDaten(5).close();
    EXPECT_EQ(errorOf([] { SchreibeDruckzeile(1, 1, "x", "DE"); }), vb::err::ObjectNotSet);
    EXPECT_EQ(zeilen("select count(*) from Drucktabelle"), 0);
}
