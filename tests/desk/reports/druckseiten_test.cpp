// The page builders beyond the pinned persons: each part alone, lines that would not fit their
// column, a main type that no designation names, and the state the ranking pages leave.

#include "druckseiten_fixture.h"

#include <set>

#include "platform/vb/strings.h"

using namespace druckseiten_test;

namespace {

constexpr std::array<int, 5> kMitte = {2, 2, 6, 2, 2};

// Main type 5 (Beobachter), alone at the top of the ratings 3 and 4.
const Anzahlen kHaupttyp5 = {{{}, kMitte, kMitte, kMitte, {0,3,9,2,0}, {0,3,0,11,0}, {0,2,10,2,0}, {0,2,11,1,0}, {7,0,7,0,0}, kMitte}};
// Types 4 and 8 tie at the top of the ratings 3 and 4.
const Anzahlen kOhneHaupttyp = {{{}, kMitte, kMitte, kMitte, {0,0,6,4,4}, kMitte, {3,2,5,2,2}, kMitte, {2,2,2,4,4}, kMitte}};

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
    EXPECT_EQ(nummern(24),
              std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 20, 21, 22, 23}));
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

TEST_F(Druckseiten, WithoutAMainTypeNeitherWingsNorConnectedTypesArePrinted) {
    // The ranking leaves the count of its top group in gHaupttyp; that count is no type.
    const int32_t ohne = person("Ohne", kOhneHaupttyp);
    seitenSchreiben(ohne, false, false, true, false);
    EXPECT_EQ(gHaupttypEindeutig, 0);
    EXPECT_TRUE(seite(17).empty());
    EXPECT_TRUE(seite(18).empty());

    // One main type, but its designation carries blanks and so names no type: no page 17 lines
    // for wings of a stale type, and page 18 has no main type to connect.
    const int32_t id = person("Haupttyp", kHaupttyp5);
    gTypbezeichnung[5] = " Beobachter ";
    seitenSchreiben(id, false, false, true, false);
    EXPECT_EQ(gHaupttypEindeutig, 1);
    EXPECT_EQ(gHaupttyp, 0);
    EXPECT_TRUE(seite(17).empty());
    EXPECT_TRUE(seite(18).empty());
    EXPECT_FALSE(seite(16).empty());

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
