#include "bericht_fixture.h"

#include <QPrinterInfo>

#include "pdf_druck.h"
#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"

using namespace bericht_test;

namespace {

// Printing from the report window's viewer: through the print dialog onto the printer stand-in,
// whose choice of a PDF file works on a machine without a printer.
class Drucken : public BerichtTest {
protected:
    void TearDown() override {
        pdf_druck::druckerZuruecksetzen();
        BerichtTest::TearDown();
    }
    void alleSchalter(int wert) {
        frmReport& r = bericht();
        for (auto& c : r.Check2) c.setValue(wert);
        for (auto& c : r.Check3) c.setValue(wert);
        for (int i = 9; i <= 12; ++i) r.Check1[i].setValue(wert);
        for (auto& c : r.Check4) c.setValue(wert);
    }
    void druckenNach(const std::string& pdf) { pdf_druck::drucken(*host, bericht().CrystalReport1, pdf); }
    int bilderImPdf(const std::string& pdf) {
        return static_cast<int>(
                   support::lines(support::run("pdfimages -list " + support::shellQuote(pdf)).output).size()) -
               2;
    }
};

}  // namespace

TEST_F(Drucken, TheFullReportGoesIntoThePdfWithEveryPictureHeaderAndFooter) {
    alleBilder();
    programmDb->Execute("UPDATE Konfiguration SET Vorname = 'Hanna', Nachname = 'Beraterin', firma = 'Praxis am Park'");
    alleSchalter(1);
    oeffnen({0, 1, 2, 3, 4, 5, 6, 7, 8});
    const report::Document* d = dokument();
    ASSERT_NE(d, nullptr);
    report_test::allesImDruckbereich(*d);

    const std::string pdf = path("Bericht.pdf");
    druckenNach(pdf);
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    const int seiten = report_test::pdfSeiten(pdf);
    EXPECT_EQ(seiten, d->pageCount());
    const std::string heute = vb::Format(vb::Date(), "dd.mm.yyyy");
    for (int s = 1; s <= seiten; ++s) {
        const std::string t = report_test::pdfText(pdf, s);
        EXPECT_EQ(report_test::vorkommen(t, "Seite " + std::to_string(s) + " von " + std::to_string(seiten)), 1) << t;
        EXPECT_EQ(report_test::vorkommen(t, "Hanna Beraterin"), 1) << s;
        EXPECT_EQ(report_test::vorkommen(t, "Praxis am Park"), 1) << s;
        // The cover page names the person once more below the header.
        const int anzahl = s == 1 ? 2 : 1;
        EXPECT_EQ(report_test::vorkommen(t, "Erika Muster"), anzahl) << s;
        EXPECT_EQ(report_test::vorkommen(t, "Testdatum: 08.03.2026"), anzahl) << s;
        EXPECT_EQ(report_test::vorkommen(t, heute), 2) << s;  // in the header and in the footer
    }
    // The five exchange bitmaps, and the symbol of the letterhead on every sheet.
    EXPECT_EQ(bilderImPdf(pdf), 5 + seiten);

    // Header and footer switched off: only the pictures and the fixed footer text remain.
    forms::Unload(bericht());
    alleSchalter(0);
    oeffnen({2, 3, 4, 5, 8});
    druckenNach(path("Ohne.pdf"));
    EXPECT_EQ(bilderImPdf(path("Ohne.pdf")), 5);
    const std::string alles = report_test::pdfText(path("Ohne.pdf"));
    for (const char* weg : {"Hanna", "Erika", "Seite", "Testdatum"}) EXPECT_EQ(alles.find(weg), std::string::npos) << weg;
    EXPECT_EQ(alles.find(heute), std::string::npos);
}

TEST_F(Drucken, EachReportIsOfferedAndTitledUnderItsOwnClientsName) {
    oeffnen({0});
    druckenNach(path("bericht_juergen.pdf"));
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(draw::printer().qprinter().docName().toStdString(), "Bericht Muster Erika");
    EXPECT_NE(
        support::run("pdfinfo " + support::shellQuote(path("bericht_juergen.pdf"))).output.find("Bericht Muster Erika"),
        std::string::npos);
    forms::Unload(bericht());

    // The next client: the print dialog offers a file of that client's name, beside the last one.
    const int32_t zweite = neuePerson("Jürgen", "Weiß-Özdemir", "09.03.2026");
    bewerten(zweite);
    gAktPersonID = zweite;
    oeffnen({0});
    host->clearRecords();
    host->choosePrinter(forms::PrinterChoice{});  // the dialog's answer: no file this time
    bericht().CrystalReport1.PrintReport();
    const auto dialoge = host->records(forms::HostRecord::Kind::Printer);
    ASSERT_EQ(dialoge.size(), 1u);
    EXPECT_EQ(dialoge[0].defaultText, path("Bericht Weiß-Özdemir Jürgen.pdf"));
    EXPECT_EQ(bericht().CrystalReport1.documentName(), "Bericht Weiß-Özdemir Jürgen");
}

TEST_F(Drucken, ACancelledDialogPrintsNothingAndSaysNothing) {
    oeffnen({0});
    draw::printer().setOutputFileName(path("nie.pdf"));
    host->cancelDialog();
    bericht().CrystalReport1.PrintReport();
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_FALSE(support::fs::exists(path("nie.pdf")));
    EXPECT_FALSE(draw::printer().busy());
}

TEST_F(Drucken, SavingAsPdfAsksForTheFileAndAnUnwritableTargetIsReportedInGerman) {
    alleBilder();
    oeffnen({2});
    host->chooseFile(path("Gespeichert.pdf"));
    bericht().CrystalReport1.ExportReport();
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(report_test::pdfSeiten(path("Gespeichert.pdf")), dokument()->pageCount());
    // The dialog proposed a name after the person.
    ASSERT_EQ(host->records(forms::HostRecord::Kind::FileSave).size(), 1u);
    EXPECT_EQ(host->records(forms::HostRecord::Kind::FileSave)[0].text, "Bericht Muster Erika.pdf");

    // A folder that is not there, and a target that cannot be a file.
    host->chooseFile(path("fehlt/Bericht.pdf"));
    bericht().CrystalReport1.ExportReport();
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find("Pfad existiert nicht"), std::string::npos) << meldungen()[0];
    EXPECT_FALSE(support::fs::exists(path("fehlt")));
    support::fs::create_directory(path("Ordner.pdf"));
    host->chooseFile(path("Ordner.pdf"));
    host->answer(forms::vbYes);  // replace it?
    bericht().CrystalReport1.ExportReport();
    ASSERT_GE(meldungen().size(), 2u);
    EXPECT_NE(meldungen().back().find("Druckdatei kann nicht geschrieben werden"), std::string::npos)
        << meldungen().back();
    EXPECT_EQ(bericht().MousePointer(), forms::vbDefault);
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
}

TEST_F(Drucken, WithoutAPrinterThePrintOffersAPdfFile) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    oeffnen({0});
    host->choosePrinter(forms::PrinterChoice{});
    host->chooseFile(path("Angeboten.pdf"));
    bericht().CrystalReport1.PrintReport();
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(report_test::pdfSeiten(path("Angeboten.pdf")), 1);
}
