// A test broken off after 40 of the 109 statements: the report's first page and every verdict
// page, in the report and in the evaluation window, say how many statements were answered, and
// none calls an assignment or a rejection settled; the finished test says nothing of the kind.

#include "auswert_fixture.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/testing/urteile.h"
#include "golden_personen.h"

using namespace auswert_test;

namespace {

const int kGesichert[] = {409, 442, 429};

class Unvollstaendig : public AuswertTest {
protected:
    std::map<int, std::vector<std::string>> bericht() {
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(true, true, true, true);
        std::map<int, std::vector<std::string>> seiten;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            seiten[rs->Fields("Druckseite").Value().toInt()].push_back(vb::textOrEmpty(rs->Fields("Zeilentext").Value()));
        return seiten;
    }
    static bool hat(const std::vector<std::string>& zeilen, const std::string& text) {
        return std::find(zeilen.begin(), zeilen.end(), text) != zeilen.end();
    }
    // The person's statements after the first `bis` left unrated, as a test broken off there.
    void abbrechen(int32_t id, int bis) {
        const std::string p = std::to_string(id), n = std::to_string(bis);
        gDatenbank->Execute("UPDATE TypWertZuweisung SET TypRealWert = Null WHERE PersonID = " + p +
                            " AND ItemNummer > " + n);
        gDatenbank->Execute("UPDATE PersonTestErgebnis SET ItemWert = Null WHERE PersonID = " + p + " AND ItemNummer > " +
                            n);
    }
};

}  // namespace

TEST_F(Unvollstaendig, AReportOfFortyOfTheStatementsSaysSoOnItsFirstAndEveryVerdictPage) {
    const std::string satz = "Bewertet sind erst 40 von 109 Aussagen; das Ergebnis ist vorläufig.";
    ASSERT_EQ(urteil::unvollstaendigText(40), satz);
    // Persons whose finished test leads to settled verdicts: one clear type, and the rules whose
    // texts call the assignment settled.
    for (const Person& p : kRegelPersonen) {
        if (std::string(p.name) != "regel_16" && std::string(p.name) != "regel_17") continue;
        SCOPED_TRACE(p.name);
        const int32_t id = person("Vorname", p.name, p.anzahlen);
        waehle(id);
        const auto ganz = bericht();
        for (const auto& [seite, zeilen] : ganz)
            for (const std::string& z : zeilen) EXPECT_EQ(z.find("Bewertet sind erst"), std::string::npos) << seite;
        bool gesichert = false;
        for (const auto& [seite, zeilen] : ganz)
            for (int l : kGesichert) gesichert = gesichert || hat(zeilen, LabelTxt(l));
        EXPECT_TRUE(gesichert) << "the finished test should reach a settled verdict";

        abbrechen(id, 40);
        const auto teil = bericht();
        EXPECT_TRUE(hat(teil.at(1), satz));
        // Every verdict page the report prints, and nothing settled on any page.
        for (int seite : {10, 14, 16, 17, 18})
            if (teil.count(seite)) {
                EXPECT_TRUE(hat(teil.at(seite), satz)) << "report page " << seite;
            }
        for (const auto& [seite, zeilen] : teil)
            for (int l : kGesichert) EXPECT_FALSE(hat(zeilen, LabelTxt(l))) << "report page " << seite << ": " << l;

        // The evaluation window says the same on its verdict pages.
        h().clearRecords();
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        for (;;) {
            const auto zeilen = f->Bild1.pageLines(1);
            if (f->Seite() == 4 || f->Seite() == 8 || f->Seite() >= 10) {
                EXPECT_TRUE(hat(zeilen, satz)) << "page " << f->Seite() << "\n" << text(*f);
            }
            for (int l : kGesichert) EXPECT_FALSE(hat(zeilen, LabelTxt(l))) << "page " << f->Seite() << ": " << l;
            if (f->Seite() == f->Seitenanzahl()) break;
            f->SSCommand2_Click();
        }
        f->Befehl3_Click();
    }
}
