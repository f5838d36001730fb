#include "frame_fixture.h"

#include <QPrinterInfo>

#include <filesystem>

#include "desk/testing/frm_einfuehrung.h"
#include "platform/draw/printer.h"

using namespace frame_test;

namespace {

// A session on a machine without a printer: the questionnaire and the introduction print into
// what the printer dialog chose, or, with nothing chosen, into a PDF file the program offers.
class PrintingTest : public FrameTest {
protected:
    void SetUp() override {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
        FrameTest::SetUp();
        h().input("Kartei");
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
    void TearDown() override {
        draw::printer().setOutputFileName("");
        forms::applyToPrinter(forms::PrinterChoice{});
        FrameTest::TearDown();
    }

    void fragebogen() {
        h().answer(forms::vbYes);
        mdi().mnuDruckFragebogen.Click();
    }
    void einfuehrung() {
        mdi().mnuEinführung.Click();
        auto* f = dynamic_cast<frmeinfuehrung*>(gEinfuehrungFenster.data());
        ASSERT_NE(f, nullptr);
        f->Command1.Click();
        forms::Unload(*f);
    }
    std::vector<std::string> fehler() {
        std::vector<std::string> out;
        for (const auto& m : h().messages())
            if (m.find("Fehler") != std::string::npos) out.push_back(m);
        return out;
    }
};

TEST_F(PrintingTest, QuestionnaireAndIntroductionGoIntoThePdfChosenInThePrinterDialog) {
    forms::PrinterChoice datei;
    datei.outputFile = pfad("Ausdrucke.pdf");
    h().choosePrinter(datei);
    mdi().mnuDruckereinrichtung.choose();
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Printer).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Printer)[0].style, forms::cdlPDPrintSetup);

    fragebogen();
    // The file chosen there takes the next document; the one after it is offered under its own
    // name beside it, never written into a file named after another document unseen.
    EXPECT_TRUE(h().records(forms::HostRecord::Kind::FileSave).empty());
    h().chooseFile(pfad("Einführung.pdf"));
    einfuehrung();
    EXPECT_TRUE(fehler().empty()) << ::testing::PrintToString(h().messages());
    ASSERT_EQ(h().records(forms::HostRecord::Kind::FileSave).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::FileSave)[0].text, "Einführung.pdf");
    EXPECT_EQ(h().lastFileRequest().initDir, std::filesystem::path(pfad("Ausdrucke.pdf")).parent_path().string());
    const std::string frage = pdfText(pfad("Ausdrucke.pdf"));
    EXPECT_NE(frage.find("Vertraulich"), std::string::npos);
    EXPECT_NE(frage.find("109)"), std::string::npos);
    const std::string info = pdfText(pfad("Einführung.pdf"));
    EXPECT_NE(info.find(LabelTxt(41)), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pfad("Ausdrucke-2.pdf")));

    // The same dialog of the settings window turns back to the printer: with none on this
    // machine, the next document offers a file.
    h().choosePrinter(forms::PrinterChoice{});
    forms::Default<Form4>().Command3_Click();
    h().clearRecords();
    h().chooseFile(pfad("Fragebogen neu.pdf"));
    fragebogen();
    ASSERT_EQ(h().records(forms::HostRecord::Kind::FileSave).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::FileSave)[0].text, "Fragebogen.pdf");
    EXPECT_NE(pdfText(pfad("Fragebogen neu.pdf")).find("109)"), std::string::npos);
    EXPECT_TRUE(fehler().empty()) << ::testing::PrintToString(h().messages());
}

TEST_F(PrintingTest, WithNothingChosenEachPrintOffersAPdfFileAndCancelPrintsNothingQuietly) {
    h().cancelFile();
    fragebogen();
    EXPECT_TRUE(fehler().empty()) << ::testing::PrintToString(h().messages());
    EXPECT_FALSE(draw::printer().busy());

    h().chooseFile(pfad("Einführung.pdf"));
    einfuehrung();
    h().chooseFile(pfad("Fragebogen.pdf"));
    fragebogen();
    EXPECT_EQ(h().records(forms::HostRecord::Kind::FileSave).size(), 3u);
    EXPECT_NE(pdfText(pfad("Einführung.pdf")).find(LabelTxt(41)), std::string::npos);
    EXPECT_NE(pdfText(pfad("Fragebogen.pdf")).find("109)"), std::string::npos);
    EXPECT_TRUE(fehler().empty()) << ::testing::PrintToString(h().messages());
}

}  // namespace
