// The page builders beyond the pinned persons: each part alone, lines that would not fit their
// column, a main type that no designation names, and the state the ranking pages leave.

#include "druckseiten_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "desk/testing/urteile.h"
#include "pdf_druck.h"
#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/report/report_fixture.h"
#include "platform/vb/strings.h"

using namespace druckseiten_test;

namespace {

namespace fs = std::filesystem;

// Main type 5 (Beobachter), alone at the top of the ratings 3 and 4.
const Anzahlen kHaupttyp5 = {{{},
                              kMitte,
                              kMitte,
                              kMitte,
                              {0, 3, 9, 2, 0},
                              {0, 3, 0, 11, 0},
                              {0, 2, 10, 2, 0},
                              {0, 2, 11, 1, 0},
                              {7, 0, 7, 0, 0},
                              kMitte}};
// Types 4 and 8 tie at the top of the ratings 3 and 4.
const Anzahlen kOhneHaupttyp = {
    {{}, kMitte, kMitte, kMitte, {0, 0, 6, 4, 4}, kMitte, {3, 2, 5, 2, 2}, kMitte, {2, 2, 2, 4, 4}, kMitte}};

class Druckseiten : public DruckseitenTest {};

std::set<int> seitenVon(const std::vector<Zeile>& zeilen) {
    std::set<int> s;
    for (const Zeile& z : zeilen) s.insert(z.seite);
    return s;
}

}  // namespace

TEST_F(Druckseiten, EachPartWritesItsOwnPagesAndNothingElse) {
    const int32_t id = person("Teile", kHaupttyp5);

    seitenSchreiben(id, true, false, false, false);
    EXPECT_EQ(seitenVon(drucktabelle()), std::set<int>({1}));

    seitenSchreiben(id, false, true, false, false);
    EXPECT_EQ(seitenVon(drucktabelle()), std::set<int>({2, 3}));
    EXPECT_EQ(seite(2).size(), 19u);
    EXPECT_EQ(seite(3).size(), 22u);
    // Page 3 holds its texts in the order of its groups, not in the order of their positions.
    std::vector<std::string> texte;
    for (const Zeile& z : seite(3))
        if (!z.text.empty()) texte.push_back(z.text);
    std::vector<std::string> erwartet;
    for (int l : {262, 263, 235, 236, 264, 237, 265, 238, 266, 242, 267, 239, 268, 240, 241})
        erwartet.push_back(LabelTxt(l));
    EXPECT_EQ(texte, erwartet);

    seitenSchreiben(id, false, false, true, false);
    EXPECT_EQ(seitenVon(drucktabelle()), std::set<int>({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
    EXPECT_FLOAT_EQ(gSensitivity1, 0.85f);
    EXPECT_FLOAT_EQ(gSensitivity2, 0.4f);

    seitenSchreiben(id, false, false, false, true);
    EXPECT_EQ(seitenVon(drucktabelle()), std::set<int>({19, 20, 21, 22, 23, 24}));
    // Pages 22 to 24 leave 15 and 18 out; the row counts of the statistics pages.
    EXPECT_EQ(nummern(22), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 20}));
    EXPECT_EQ(nummern(24), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 20, 21, 22, 23}));
    EXPECT_EQ(seite(19).size(), 15u);
    // The most frequent count over all types stays behind.
    EXPECT_EQ(gMaxWert, 61);
}

TEST_F(Druckseiten, LinesThatWouldNotFitTheirColumnAreKeptWithinItAndTheReportGoesOn) {
    const std::string lang(150, 'a');
    const int32_t id = support::personSchreiben(*gDatenbank, gItemNummer, gTypNummer, lang, std::string(150, 'b'),
                                                kHaupttyp5);
    // A designation wider than the type columns of pages 15 and 22 to 24.
    gTypbezeichnung[1] = "Perfektionist mit Zusatz und mehr Text";
    seitenSchreiben(id, true, false, true, true);
    EXPECT_TRUE(h().messages().empty()) << h().messages().front();

    EXPECT_EQ(vb::Len(text(1, 9)), 255);
    EXPECT_EQ(text(1, 9), lang + " " + std::string(104, 'b'));
    // The difference follows the designation directly, the page goes on to its last line.
    EXPECT_EQ(text(15, 16).rfind(gTypbezeichnung[1] + "000,22", 0), 0u) << text(15, 16);
    EXPECT_EQ(text(15, 26), Trennlinie());
    // Pages 22 to 24 keep the designation whole and the value after it.
    EXPECT_EQ(text(22, 6), gTypbezeichnung[1] + LabelTxt(157) + " 2                 ");
    EXPECT_EQ(text(24, 6).rfind(gTypbezeichnung[1] + "0,", 0), 0u) << text(24, 6);
}

TEST_F(Druckseiten, PageFifteenClassesATotalAboveANegativeMeanAsAboveAndAZeroMeanNot) {
    // Mean -25 with the report's bounds: -15 lies 40 % of the mean's size above it, -30 20 % below.
    DrucktabelleBinden();
    urteil::Befund b;
    b.gesamtJeTyp = {0, -5, -10, -15, -20, -25, -30, -35, -40, -45};
    gSensitivity1 = -0.2f;
    gSensitivity2 = 0.4f;
    DruckSeiteMittelwertAbweichung(b);
    // The quotient of a total and a mean not above 0 is no ratio to it: its field stays empty.
    const auto zeile = [&](int t, const std::string& differenz, const std::string& rest) {
        const std::string& name = gTypbezeichnung[t];
        EXPECT_EQ(text(15, 15 + t), name + std::string(20 - name.size(), ' ') + differenz +
                                        std::string(20 - differenz.size() + 19, ' ') + rest)
            << t;
    };
    zeile(1, "020,00", LabelTxt(310));
    zeile(3, "010,00", LabelTxt(310));
    zeile(4, "005,00", LabelTxt(311));
    zeile(6, "-005,00", LabelTxt(312));
    zeile(9, "-020,00", LabelTxt(312));

    // A mean of 0 divides by nothing: no ratio, and no row gets a class.
    gDatenbank->Execute("DELETE * FROM Drucktabelle;");
    DrucktabelleBinden();
    b.gesamtJeTyp = {0, 3, -3, 0, 0, 0, 0, 0, 0, 0};
    DruckSeiteMittelwertAbweichung(b);
    zeile(1, "003,00", "");
    zeile(2, "-003,00", "");
}

TEST_F(Druckseiten, WithoutAMainTypeNeitherWingsNorConnectedTypesArePrinted) {
    // The ranking leaves the count of its top group in gHaupttyp; that count is no type.
    const int32_t ohne = person("Ohne", kOhneHaupttyp);
    seitenSchreiben(ohne, false, false, true, false);
    EXPECT_EQ(gHaupttypEindeutig, 0);
    EXPECT_TRUE(seite(17).empty());
    EXPECT_TRUE(seite(18).empty());

    // One main type whose designation carries blanks: the type that leads alone is still the main
    // type, as the evaluation window's page 11 takes it.
    const int32_t id = person("Haupttyp", kHaupttyp5);
    gTypbezeichnung[5] = " Beobachter ";
    seitenSchreiben(id, false, false, true, false);
    EXPECT_EQ(gHaupttypEindeutig, 1);
    EXPECT_EQ(gHaupttyp, 5);
    EXPECT_FALSE(seite(17).empty());
    EXPECT_FALSE(seite(18).empty());

    gTypbezeichnung[5] = "Beobachter";
    seitenSchreiben(id, false, false, true, false);
    EXPECT_EQ(gHaupttyp, 5);
    EXPECT_EQ(gZaehler, 4);  // the wings: 4 and 6
    EXPECT_EQ(gVerbindungstyp1, 8);
    EXPECT_EQ(gVerbindungstyp2, 7);
    EXPECT_EQ(text(17, 4), "Individualist " + LabelTxt(371) + " Loyaler");
    EXPECT_EQ(text(18, 4), "Boss");
    EXPECT_EQ(text(18, 19), "Genießer");
}

TEST_F(Druckseiten, AMergedListNamesATypeWhoseDesignationLiesInsideAnotherOne) {
    // Page 10 lists the leader by total, then the top group by the ratings 3 (types 8, 5, 2); type 4
    // alone leads by 3 and 4 and by 4.
    const int32_t id = person("Liste", {{{},
                                         {3, 2, 5, 2, 2},
                                         {3, 1, 2, 3, 5},
                                         {1, 4, 7, 1, 1},
                                         {0, 5, 1, 2, 6},
                                         {1, 0, 8, 3, 2},
                                         {0, 6, 1, 2, 5},
                                         {4, 0, 6, 1, 3},
                                         {0, 5, 6, 3, 0},
                                         {2, 0, 10, 1, 1}}});
    gTypbezeichnung[8] = "Beob";
    seitenSchreiben(id, false, false, true, false);
    EXPECT_EQ(text(10, 21), LabelTxt(416));
    EXPECT_EQ(text(10, 26), "Beobachter Beob Helfer");
}

TEST_F(Druckseiten, TheRankingPagesLeaveTheirGroupsForTheEvaluationWindow) {
    seitenSchreiben(person("Haupttyp", kHaupttyp5), false, false, true, false);
    // Lists hold designations; the two top groups agree on the one leading type.
    EXPECT_EQ(gRang1Typsumme34[9], "Beobachter");
    EXPECT_EQ(gRang1Typgesamtsumme[9], "Beobachter");
    EXPECT_EQ(gSpitzenwertTypsumme34, 33);
    EXPECT_EQ(gAnzahlRang1, 1);
    EXPECT_EQ(gRang1Gleich, 1);
    EXPECT_EQ(gRang1GleichWert, 9);
    EXPECT_FLOAT_EQ(gTypsummenMittel, 178.0f / 9);

    seitenSchreiben(person("Ohne", kOhneHaupttyp), false, false, true, false);
    EXPECT_EQ(gRang1Gleich, 0);
    EXPECT_EQ(gRang1GleichWert, 0);
}

TEST_F(Druckseiten, TheFullReportOfAPersonPrintsIntoAPdfPageByPageWithItsTablesInColumns) {
    // The pictures as the windows leave them, so that the report is the whole one.
    const std::pair<const char*, QSize> bilder[] = {{"ZUVEnneagramm.bmp", {620, 620}},
                                                    {"ZUVGrafik1.bmp", {900, 560}},
                                                    {"ZUVGrafik2.bmp", {900, 560}},
                                                    {"ZUVGrafik3.bmp", {900, 560}},
                                                    {"ZUVTabelle.bmp", {760, 420}}};
    for (const auto& [name, groesse] : bilder)
        report_test::bitmap(gAppPath + "/" + name, groesse.width(), groesse.height());
    berichtDrucken(person("klar", {{{},
                                    {2, 2, 6, 2, 2},
                                    {2, 2, 6, 2, 2},
                                    {0, 0, 2, 2, 10},
                                    {1, 3, 6, 3, 1},
                                    {2, 2, 6, 2, 2},
                                    {3, 2, 5, 2, 2},
                                    {2, 2, 6, 2, 2},
                                    {2, 3, 5, 2, 2},
                                    {2, 2, 6, 3, 1}}}));
    frmReport& bericht = forms::Instance<frmReport>();
    const report::Document* d = bericht.CrystalReport1.document();
    ASSERT_NE(d, nullptr);
    report_test::allesImDruckbereich(*d);

    const std::string pdf = pfad("Bericht.pdf");
    pdf_druck::drucken(h(), bericht.CrystalReport1, pdf);
    pdf_druck::druckerZuruecksetzen();
    ASSERT_TRUE(h().messages().empty()) << h().messages().front();
    if (const char* kopie = std::getenv("ZUV_BERICHT_PDF"))
        fs::copy_file(pdf, kopie, fs::copy_options::overwrite_existing);
    ASSERT_EQ(report_test::pdfSeiten(pdf), d->pageCount());

    // Each page of the print table starts a sheet of its own, in page order: its first line of
    // text (the title, the cover page's heading) heads the sheet's text below the letterhead.
    std::vector<std::string> anfaenge;
    int vorige = 0;
    for (const Zeile& z : drucktabelle()) {
        if (z.seite != vorige && !z.text.empty() && z.text != Trennlinie()) {
            anfaenge.push_back(z.text);
            vorige = z.seite;
        }
    }
    ASSERT_EQ(anfaenge.size(), 21u);
    std::string alles;
    for (int s = 1; s <= d->pageCount(); ++s) alles += report_test::pdfText(pdf, s) + "\f";
    // Every title is found as it stands: no letters joined into a ligature the search would miss.
    size_t pos = 0;
    for (const std::string& a : anfaenge) {
        const size_t gefunden = alles.find(a, pos);
        ASSERT_NE(gefunden, std::string::npos) << a;
        pos = gefunden + a.size();
    }

    // A label, its number and its unit stand on one line of the sheet, as the evaluation page shows
    // them: each ranking page's top score, the deviation page's mean per statement.
    for (const auto& [seite, label] : {std::pair{7, 276}, {10, 281}, {12, 295}, {13, 289}})
        EXPECT_NE(alles.find(LabelTxt(label) + " " + vb::LTrim(text(seite, 5)) + " " + LabelTxt(277)), std::string::npos)
            << seite;
    EXPECT_NE(alles.find(text(15, 5) + " " + text(15, 6) + " " + text(15, 7)), std::string::npos);

    // Rules are drawn as lines, never as rows of macrons; the tables of pages 19 to 21 stand in
    // columns whose cells end at the same place from the heads to the total row.
    int tabellen = 0;
    for (int p = 0; p < d->pageCount(); ++p) {
        std::map<long, std::vector<const report::Item*>> jeZeile;
        for (const report::Item& it : d->page(p)) {
            EXPECT_EQ(it.text.find("¯"), std::string::npos) << "Blatt " << p + 1;
            if (it.type == report::Item::Type::Text) jeZeile[std::lround(it.y)].push_back(&it);
        }
        std::vector<std::vector<long>> kanten;
        for (auto& [y, stuecke] : jeZeile) {
            if (stuecke.size() < 11) continue;
            std::sort(stuecke.begin(), stuecke.end(), [](auto* a, auto* b) { return a->x < b->x; });
            std::vector<long> rechts;
            for (size_t i = 1; i < stuecke.size(); ++i) rechts.push_back(std::lround(stuecke[i]->x + stuecke[i]->w));
            kanten.push_back(rechts);
        }
        if (kanten.empty()) continue;
        ++tabellen;
        EXPECT_EQ(kanten.size(), 7u) << "Blatt " << p + 1;  // the heads, five values, the total row
        for (const auto& k : kanten) EXPECT_EQ(k, kanten.front()) << "Blatt " << p + 1;
    }
    EXPECT_EQ(tabellen, 3);
}

TEST_F(Druckseiten, DatesOfAnOldFileThatAreNoDatesPrintAsTheyStand) {
    const int32_t id = person("Alt", kHaupttyp5,
                              {{"Geburtstag", vb::Variant("abc")}, {"Testdatum", vb::Variant("morgen")}});
    seitenSchreiben(id, true, false, false, false);
    EXPECT_EQ(text(1, 11), LabelTxt(49) + ": abc");
    EXPECT_EQ(text(1, 23), LabelTxt(56) + ": morgen");
}
