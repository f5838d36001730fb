#include "druckseiten_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "pdf_druck.h"
#include "platform/report/report_fixture.h"
#include "support/files.h"

using namespace druckseiten_test;

namespace {

class Abbildungen : public DruckseitenTest {
protected:
    void TearDown() override {
        pdf_druck::druckerZuruecksetzen();
        DruckseitenTest::TearDown();
    }
    std::string drucken(int32_t id, const std::string& name) {
        berichtDrucken(id);
        const std::string pdf = pfad(name);
        pdf_druck::drucken(h(), forms::Instance<frmReport>().CrystalReport1, pdf);
        draw::printer().setOutputFileName("");
        if (const char* ordner = std::getenv("ZUV_ABBILDUNGEN_ORDNER"))
            std::filesystem::copy_file(pdf, std::string(ordner) + "/" + name,
                                       std::filesystem::copy_options::overwrite_existing);
        return pdf;
    }
};

}  // namespace

TEST_F(Abbildungen, EveryFigureSwitchedOnIsPrintedSharpAndLosslessWithOrWithoutItsWindow) {
    const int32_t id = person("Bild", {{{},
                                        {2, 2, 6, 2, 2},
                                        {1, 3, 6, 3, 1},
                                        {0, 0, 2, 2, 10},
                                        {2, 2, 6, 2, 2},
                                        {3, 2, 5, 2, 2},
                                        {2, 2, 6, 2, 2},
                                        {2, 3, 5, 2, 2},
                                        {2, 2, 6, 3, 1},
                                        {4, 4, 4, 4, 4}}});
    // Bitmaps of an earlier run in the data folder: of nobody this run knows.
    for (const char* n : {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp", "ZUVGrafik2.bmp", "ZUVTabelle.bmp"})
        report_test::bitmap(gAppPath + "/" + n, 300, 200);

    int seitenOhne = 0;
    for (const bool fenster : {false, true}) {
        SCOPED_TRACE(fenster ? "with the windows opened first" : "without a window");
        if (fenster) {
            gAktPersonID = id;
            mdi().mnuEnneagramm.Click();
            mdi().mnuTabelle.Click();
            mdi().mnuGrafikauswertung.Click();
        }
        const std::string pdf = drucken(id, fenster ? "MitFenstern.pdf" : "OhneFenster.pdf");
        ASSERT_TRUE(h().messages().empty()) << h().messages().front();
        const int seiten = report_test::pdfSeiten(pdf);
        if (!fenster) seitenOhne = seiten;
        EXPECT_EQ(seiten, seitenOhne);

        // Each figure under its title, once.
        std::string alles;
        for (int s = 1; s <= seiten; ++s) alles += report_test::pdfText(pdf, s);
        for (const char* titel : {"Enneagramm\n", "Grafische Auswertung 1", "Grafische Auswertung 2",
                                  "Grafische Auswertung 3", "Antworttabelle\n"})
            EXPECT_EQ(report_test::vorkommen(alles, titel), 1) << titel;

        // The five figures (the letterhead's symbol is the small one on every sheet): sharp and lossless.
        int figuren = 0;
        for (const report_test::PdfBild& b : report_test::pdfBilder(pdf)) {
            EXPECT_NE(b.kodierung, "jpeg") << "page " << b.seite;
            if (b.breite < 1000) continue;
            ++figuren;
            EXPECT_GE(b.ppiX, 200) << "page " << b.seite;
            EXPECT_GE(b.ppiY, 200) << "page " << b.seite;
        }
        EXPECT_EQ(figuren, 5);
        h().clearRecords();
    }
}
