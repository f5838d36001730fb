#include "frame_fixture.h"

#include "desk/reports/frm_report.h"
#include "platform/draw/printer.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

using namespace frame_test;

namespace {

// ZUVDESK started on a fresh installation with a data file and a person chosen; the print items
// open the report window.
class ReportMenuTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        h().input("Kartei");
        ASSERT_TRUE(starte());
        personenAnlegen(*gDatenbank, 1);
        gAktPersonID = 1;
        h().clearRecords();
    }
    void TearDown() override {
        draw::printer().setOutputFileName("");
        FrameTest::TearDown();
    }
    frmReport& bericht() { return forms::Instance<frmReport>(); }
    std::vector<int> teile() {
        std::vector<int> t;
        for (int i = 0; i <= 8; ++i) t.push_back(bericht().Check1[i].Value());
        return t;
    }
};

}  // namespace

TEST_F(ReportMenuTest, EachPrintItemChoosesExactlyItsPartsAndShowsTheBuiltReport) {
    mdi().mnuPrintReport.Click();
    EXPECT_EQ(teile(), std::vector<int>(9, 1));
    EXPECT_TRUE(bericht().isVisible());
    EXPECT_NE(bericht().CrystalReport1.document(), nullptr);
    EXPECT_FALSE(bericht().Option1[0].Value() || bericht().Option1[1].Value());

    const std::pair<forms::MenuItem*, std::vector<int>> items[] = {
        {&mdi().mnuDruckDeckblatt, {0}},    {&mdi().mnuDruckErläuterungen, {1}}, {&mdi().mnuDruckEnneagramm, {2}},
        {&mdi().mnuDruckGrafik, {3, 4, 5}}, {&mdi().mnuDruckAuswertung, {6}},    {&mdi().mnuDruckStatistik, {7}},
        {&mdi().mnuDruckTabelle, {8}},
    };
    for (const auto& [item, an] : items) {
        bericht().Option1[0].setValue(true);  // left over from the evaluation window
        mdi().activateSelf();
        item->Click();
        std::vector<int> erwartet(9, 0);
        for (int i : an) erwartet[i] = 1;
        EXPECT_EQ(teile(), erwartet);
        EXPECT_FALSE(bericht().Option1[0].Value());
        EXPECT_EQ(bericht().CrystalReport1.ReportSource()->Name(), "ZUVReport1");
    }

    gSeite = 5;
    mdi().activateSelf();
    mdi().mnuDruckDateivergleich.Click();
    EXPECT_EQ(teile(), std::vector<int>(9, 0));
    EXPECT_TRUE(bericht().Option1[1].Value());
    EXPECT_EQ(gSeite, 1);
    EXPECT_EQ(bericht().CrystalReport1.ReportSource()->Name(), "ZUVReport3");
    // No bitmaps in a fresh data folder: the reports say so rather than failing.
    EXPECT_TRUE(h().messages().empty()) << h().messages().front();
}

TEST_F(ReportMenuTest, TheQuestionnaireFollowsTheReportWindowsHeaderAndFooterSwitches) {
    // Stored: the date in the header. Unticked in the open window (not stored): it goes.
    const std::string heute = vb::Format(vb::Date(), "dd.mm.yyyy");
    forms::PrinterChoice datei;
    datei.outputFile = pfad("Fragebogen.pdf");
    h().choosePrinter(datei);
    mdi().mnuDruckereinrichtung.choose();

    h().answer(forms::vbYes);
    mdi().mnuDruckFragebogen.Click();
    EXPECT_NE(pdfText(pfad("Fragebogen.pdf")).find(heute), std::string::npos);
    EXPECT_FALSE(bericht().isVisible());  // read, not shown

    bericht().Check1[10].setValue(0);
    bericht().Check4[1].setValue(0);
    h().answer(forms::vbYes);
    h().chooseFile(pfad("Fragebogen ohne Datum.pdf"));
    mdi().mnuDruckFragebogen.Click();
    EXPECT_EQ(h().lastFileRequest().fileName, "Fragebogen.pdf");
    const std::string zweiter = pdfText(pfad("Fragebogen ohne Datum.pdf"));
    EXPECT_NE(zweiter.find("109)"), std::string::npos);
    EXPECT_EQ(zweiter.find(heute), std::string::npos);
}

// The chosen person deleted by another program: each result window and the report say so, open
// nothing and write nothing.
TEST_F(ReportMenuTest, APersonDeletedByAnotherProgramIsNamedSoAndNothingIsWritten) {
    const std::string datei = gDatenbankName;
    auto r = support::run("sqlite3 -cmd '.timeout 5000' " + support::shellQuote(datei) +
                          " 'delete from persontestergebnis; delete from typwertzuweisung; delete from ergebnis; "
                          "delete from persdat'");
    ASSERT_EQ(r.status, 0) << r.output;
    for (forms::MenuItem* item : {&mdi().mnuAuswertung, &mdi().mnuStatistik, &mdi().mnuTabelle, &mdi().mnuEnneagramm,
                                  &mdi().mnuGrafikauswertung, &mdi().mnuPrintReport}) {
        h().clearRecords();
        item->Click();
        ASSERT_EQ(h().messages().size(), 1u) << item->Caption();
        EXPECT_NE(h().messages()[0].find(DialogTxt(82)), std::string::npos) << h().messages()[0];
        EXPECT_EQ(gFensterAnzahl, 0);
    }
    EXPECT_EQ(support::run("sqlite3 " + support::shellQuote(datei) +
                           " 'select count(*) from persontestergebnis; select count(*) from ergebnis'")
                  .output,
              "0\n0\n");
}
