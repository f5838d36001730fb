// Nothing printed is cut: the full report of persons of every kind, printed into a PDF and read
// back by pdftotext, holds no ellipsis its print table did not hold, every number of the percent
// table whole, and no word outside the sheet.

#include <QRegularExpression>

#include <filesystem>

#include "../evaluation/golden_personen.h"
#include "druckseiten_fixture.h"
#include "pdf_druck.h"
#include "platform/report/report_fixture.h"
#include "support/files.h"

using namespace druckseiten_test;

namespace {

namespace fs = std::filesystem;

class Ungekuerzt : public DruckseitenTest {
protected:
    // The words of the PDF with their boxes, and the sheets' sizes, as pdftotext -bbox gives them.
    struct Wort {
        int seite;
        double x0, y0, x1, y1;
        std::string text;
    };
    static std::vector<Wort> worte(const std::string& pdf, std::vector<std::pair<double, double>>& blaetter) {
        const std::string html = support::run("pdftotext -bbox " + support::shellQuote(pdf) + " -").output;
        std::vector<Wort> out;
        static const QRegularExpression seite(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
        static const QRegularExpression wort(
            R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
        const QString text = QString::fromStdString(html);
        int nr = 0;
        qsizetype pos = 0;
        for (;;) {
            const auto s = seite.match(text, pos);
            const auto w = wort.match(text, pos);
            if (!s.hasMatch() && !w.hasMatch()) break;
            if (s.hasMatch() && (!w.hasMatch() || s.capturedStart() < w.capturedStart())) {
                ++nr;
                blaetter.emplace_back(s.captured(1).toDouble(), s.captured(2).toDouble());
                pos = s.capturedEnd();
            } else {
                out.push_back({nr, w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3).toDouble(),
                               w.captured(4).toDouble(), w.captured(5).toStdString()});
                pos = w.capturedEnd();
            }
        }
        return out;
    }

    // `bis`: the statements after it left unrated, as a test broken off there.
    void pruefe(const std::string& name, const Anzahlen& a, int bis = 109) {
        SCOPED_TRACE(name);
        const int32_t id = person(name, a);
        const std::string p = std::to_string(id), n = std::to_string(bis);
        gDatenbank->Execute("UPDATE TypWertZuweisung SET TypRealWert = Null WHERE PersonID = " + p +
                            " AND ItemNummer > " + n);
        gDatenbank->Execute("UPDATE PersonTestErgebnis SET ItemWert = Null WHERE PersonID = " + p + " AND ItemNummer > " +
                            n);
        berichtDrucken(id);
        frmReport& bericht = forms::Instance<frmReport>();
        const report::Document* d = bericht.CrystalReport1.document();
        ASSERT_NE(d, nullptr);
        report_test::allesImDruckbereich(*d);
        const std::string pdf = pfad(name + ".pdf");
        h().clearRecords();
        pdf_druck::drucken(h(), bericht.CrystalReport1, pdf);
        pdf_druck::druckerZuruecksetzen();
        ASSERT_TRUE(h().messages().empty()) << h().messages().front();
        if (const char* ordner = std::getenv("ZUV_BERICHT_PDF_ORDNER"))
            fs::copy_file(pdf, fs::path(ordner) / (name + ".pdf"), fs::copy_options::overwrite_existing);

        // An ellipsis only where the print table has one.
        int auslassungen = 0;
        for (const Zeile& z : drucktabelle())
            for (size_t at = z.text.find("…"); at != std::string::npos; at = z.text.find("…", at + 1)) ++auslassungen;
        std::vector<std::pair<double, double>> blaetter;
        const std::vector<Wort> alle = worte(pdf, blaetter);
        int imPdf = 0;
        std::string text;
        for (const Wort& w : alle) {
            for (size_t at = w.text.find("…"); at != std::string::npos; at = w.text.find("…", at + 1)) ++imPdf;
            text += w.text + " ";
            ASSERT_GE(w.seite, 1);
            const auto [breite, hoehe] = blaetter.at(static_cast<size_t>(w.seite - 1));
            EXPECT_TRUE(w.x0 >= 0 && w.y0 >= 0 && w.x1 <= breite && w.y1 <= hoehe)
                << "sheet " << w.seite << ": '" << w.text << "' at " << w.x0 << "," << w.y0 << "-" << w.x1 << "," << w.y1;
        }
        EXPECT_EQ(imPdf, auslassungen);
        // Every cell of the percent table, whole.
        for (const Zeile& z : seite(21))
            for (const std::string& zelle : {std::string("Summe"), std::string("Gesamt")})
                if (z.text.find(zelle) != std::string::npos) {
                    EXPECT_NE(text.find(zelle), std::string::npos) << z.text;
                }
        static const QRegularExpression zahl(R"([0-9]+,[0-9])");
        for (const Zeile& z : seite(21)) {
            auto it = zahl.globalMatch(QString::fromStdString(z.text));
            while (it.hasNext()) {
                const std::string wert = it.next().captured(0).toStdString();
                EXPECT_NE(text.find(wert), std::string::npos) << wert << " of: " << z.text;
            }
        }
        forms::Unload(bericht);
    }
};

}  // namespace

TEST_F(Ungekuerzt, TheFullReportOfEveryKindOfPersonPrintsEveryCellWholeInsideTheSheet) {
    const std::pair<const char*, QSize> bilder[] = {{"ZUVEnneagramm.bmp", {620, 620}},
                                                    {"ZUVGrafik1.bmp", {900, 560}},
                                                    {"ZUVGrafik2.bmp", {900, 560}},
                                                    {"ZUVGrafik3.bmp", {900, 560}},
                                                    {"ZUVTabelle.bmp", {760, 420}}};
    for (const auto& [name, groesse] : bilder)
        report_test::bitmap(gAppPath + "/" + name, groesse.width(), groesse.height());
    for (const auto& p : auswert_test::kBesonderePersonen) pruefe(p.name, p.anzahlen);
    pruefe("vierzig", auswert_test::kBesonderePersonen[0].anzahlen, 40);
    for (const auto& p : auswert_test::erzeugtePersonen(9, 77)) pruefe(p.name, p.anzahlen);
}
