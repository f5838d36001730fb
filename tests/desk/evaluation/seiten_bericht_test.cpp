// What an evaluation page says and what its report page says are the same sentences, lists and
// numbers, for the golden persons and for generated ones: only the layout differs (the window
// joins on one line what the report gives a line each, the rules have their own length).

#include "auswert_fixture.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/testing/urteile.h"
#include "golden_personen.h"

using namespace auswert_test;

namespace {

// Evaluation page -> report page.
constexpr std::pair<int, int> kSeiten[] = {{1, 7},  {2, 8},  {3, 9},   {4, 10},  {5, 11}, {6, 12},
                                           {7, 13}, {8, 14}, {10, 16}, {11, 17}, {12, 18}};

// The words of a text without the layout: blanks, rules and full stops left out.
std::string worte(const std::string& text) {
    std::string t = vb::Replace(text, vb::String(1, vb::Chr(175)), "");
    std::string out;
    for (char c : t)
        if (c != ' ' && c != '\n' && c != '.') out += c;
    return out;
}

class SeiteUndBericht : public AuswertTest {
protected:
    // The report page's lines as the report writes them.
    std::map<int, std::string> bericht() {
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(false, false, true, false);
        std::map<int, std::string> seiten;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            seiten[rs->Fields("Druckseite").Value().toInt()] += vb::textOrEmpty(rs->Fields("Zeilentext").Value()) + "\n";
        return seiten;
    }

    void vergleiche(const std::string& name, const Anzahlen& a) {
        SCOPED_TRACE(name);
        waehle(person("Vorname", name, a));
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        std::map<int, std::string> fenster;
        for (;;) {
            fenster[f->Seite()] = text(*f);
            if (f->Seite() == f->Seitenanzahl()) break;
            f->SSCommand2_Click();
        }
        const urteil::Befund b = urteil::befundDerPerson();
        // The window's table of page 10 lacks one row of the report's, and its rule 12 goes on in
        // a text of its own: there the two say their rule differently by design.
        const bool andereRegel = urteil::vergleich(b, urteil::Tafel::Fenster).text !=
                                 urteil::vergleich(b, urteil::Tafel::Bericht).text;
        f->Befehl3_Click();
        const std::map<int, std::string> druck = bericht();
        for (const auto& [seite, druckseite] : kSeiten) {
            SCOPED_TRACE("page " + std::to_string(seite) + " / report page " + std::to_string(druckseite));
            const bool imFenster = fenster.count(seite) != 0, imDruck = druck.count(druckseite) != 0;
            ASSERT_EQ(imFenster, imDruck);
            if (!imFenster) continue;
            std::string ist = fenster.at(seite);
            if (seite == 10 && andereRegel) continue;
            ist = vb::Replace(ist, "' wurde basierend auf den Antwortwerten '0 bis 4' und '3 bis 4' ", "");
            // The note on an unfinished test stands where each layout has room for it.
            std::string bei = druck.at(druckseite);
            const std::string hinweis = urteil::unvollstaendigText(b.beantwortet);
            EXPECT_EQ(ist.find(hinweis) != std::string::npos, bei.find(hinweis) != std::string::npos) << ist << "\n---\n"
                                                                                                      << bei;
            ist = vb::Replace(ist, hinweis, "");
            bei = vb::Replace(bei, hinweis, "");
            // The window's head above the page: the page starts with the report page's title.
            const std::string soll = worte(bei);
            std::string w = worte(ist);
            const size_t titel = w.find(soll.substr(0, 12));
            ASSERT_NE(titel, std::string::npos) << ist << "\n---\n" << druck.at(druckseite);
            EXPECT_EQ(w.substr(titel), soll) << ist << "\n---\n" << druck.at(druckseite);
            ++verglichen;
        }
    }
    int verglichen = 0;
};

}  // namespace

TEST_F(SeiteUndBericht, EachEvaluationPageSaysWhatItsReportPageSays) {
    for (const Person& p : kBesonderePersonen) vergleiche(p.name, p.anzahlen);
    for (const Person& p : kRegelPersonen) vergleiche(p.name, p.anzahlen);
    for (const Erzeugt& p : erzeugtePersonen(45, 31)) vergleiche(p.name, p.anzahlen);
    EXPECT_GT(verglichen, 72 * 10) << verglichen;
}
