// The evaluation and statistics pages of fixed persons, pinned by golden files, and the
// conclusion rules of pages 4, 8 and 10 with one person per rule.
//
// ZUV_GOLDEN_UPDATE=1 writes the golden files anew (into the source tree) instead of comparing.

#include <filesystem>
#include <set>

#include "auswert_fixture.h"
#include "support/golden.h"

using namespace auswert_test;

namespace {

struct Person {
    const char* name;
    Anzahlen anzahlen;
    int regel4;          // conclusion rule of page 4; 0: no rating 3 or 4
    int regel8;          // of page 8; 5: no rating 0 or 1, 6: rule 1 for several types
    const char* regel10;  // of page 10: the rule's number, or "spitze"/"null" when none applies
};

// Rule -> person: every rule of the three decision tables fires for at least one of these. The
// counts per type give how many of the type's 14 rows were rated 0, 1, 2, 3, 4.
const Person kRegelPersonen[] = {
    {"regel_01", {{{}, {3,2,5,0,4}, {4,0,9,0,1}, {1,4,0,6,3}, {0,5,1,3,5}, {4,2,4,0,4}, {2,3,3,0,6}, {5,0,8,1,0}, {5,2,5,0,2}, {2,0,6,6,0}}}, 9, 2, "spitze"},
    {"regel_02", {{{}, {3,2,5,2,2}, {3,1,2,3,5}, {1,4,7,1,1}, {0,5,1,2,6}, {1,0,8,3,2}, {0,6,0,2,6}, {4,0,6,1,3}, {0,5,6,3,0}, {2,0,10,1,1}}}, 4, 4, "10"},
    {"regel_03", {{{}, {0,1,5,2,6}, {1,5,1,3,4}, {2,3,3,5,1}, {5,5,2,1,1}, {2,4,5,0,3}, {0,3,10,0,1}, {1,2,6,1,4}, {4,2,4,3,1}, {3,4,3,4,0}}}, 3, 1, "3"},
    {"regel_04", {{{}, {2,4,6,0,2}, {1,3,4,4,2}, {2,6,4,1,1}, {5,0,5,2,2}, {3,0,11,0,0}, {1,4,3,0,6}, {0,5,4,4,1}, {1,2,3,3,5}, {2,4,3,3,2}}}, 6, 3, "5"},
    {"regel_05", {{{}, {2,5,0,2,5}, {1,6,1,0,6}, {0,2,10,1,1}, {2,1,6,1,4}, {3,1,6,3,1}, {0,3,7,1,3}, {0,1,1,6,6}, {2,6,0,5,1}, {0,6,3,2,3}}}, 1, 3, "1"},
    {"regel_06", {{{}, {4,0,10,0,0}, {6,2,6,0,0}, {1,2,4,1,6}, {1,6,4,3,0}, {4,0,2,4,4}, {1,6,2,1,4}, {0,5,5,2,2}, {0,6,6,2,0}, {4,3,6,1,0}}}, 7, 2, "6"},
    {"regel_07", {{{}, {4,2,6,0,2}, {3,1,6,2,2}, {5,3,4,0,2}, {1,5,1,3,4}, {0,4,3,3,4}, {3,3,7,0,1}, {2,4,7,1,0}, {3,2,5,1,3}, {1,6,5,1,1}}}, 2, 2, "8"},
    {"regel_08", {{{}, {6,0,7,0,1}, {2,1,8,3,0}, {3,1,1,5,4}, {1,0,3,6,4}, {0,3,7,0,4}, {0,1,11,2,0}, {2,4,2,5,1}, {5,0,7,0,2}, {2,2,3,1,6}}}, 5, 2, "4"},
    {"regel_09", {{{}, {0,4,3,3,4}, {2,6,6,0,0}, {2,1,7,4,0}, {5,2,5,1,1}, {0,2,5,3,4}, {6,2,3,2,1}, {3,5,5,1,0}, {2,6,4,0,2}, {4,1,3,0,6}}}, 8, 2, "spitze"},
    {"regel_10", {{{}, {3,2,3,3,3}, {2,2,10,0,0}, {2,2,4,4,2}, {3,3,4,2,2}, {0,5,1,4,4}, {3,4,5,0,2}, {4,2,3,3,2}, {3,0,6,4,1}, {2,1,5,5,1}}}, 3, 4, "9"},
    {"regel_11", {{{}, {0,2,11,0,1}, {0,1,4,6,3}, {4,5,2,3,0}, {1,2,8,1,2}, {0,2,2,6,4}, {4,5,2,1,2}, {2,1,4,4,3}, {0,5,7,0,2}, {0,5,4,3,2}}}, 2, 6, "2"},
    {"regel_12", {{{}, {1,4,7,0,2}, {0,6,0,4,4}, {1,1,11,0,1}, {2,1,5,0,6}, {4,1,4,1,4}, {4,2,1,3,4}, {5,0,7,2,0}, {4,4,4,2,0}, {4,3,5,0,2}}}, 7, 4, "13"},
    {"regel_13", {{{}, {4,5,2,1,2}, {5,2,2,4,1}, {4,4,2,4,0}, {2,4,7,0,1}, {2,3,1,6,2}, {6,5,1,0,2}, {3,4,4,1,2}, {6,2,1,0,5}, {5,2,4,3,0}}}, 5, 1, "11"},
    {"regel_14", {{{}, {4,3,4,2,1}, {2,4,5,1,2}, {2,3,5,0,4}, {5,3,6,0,0}, {4,0,6,3,1}, {1,3,6,3,1}, {6,1,7,0,0}, {6,2,5,0,1}, {1,5,0,3,5}}}, 1, 2, "7"},
    {"regel_15", {{{}, {1,2,7,3,1}, {2,6,0,6,0}, {1,5,4,3,1}, {4,1,7,1,1}, {3,4,2,4,1}, {4,1,6,3,0}, {0,5,2,3,4}, {1,4,3,2,4}, {5,0,3,0,6}}}, 6, 3, "12"},
};

// Persons that reach the other branches of the pages.
const Person kBesonderePersonen[] = {
    // One clear main type (type 3).
    {"klar", {{{}, {2,2,6,2,2}, {2,2,6,2,2}, {0,0,2,2,10}, {1,3,6,3,1}, {2,2,6,2,2}, {3,2,5,2,2}, {2,2,6,2,2}, {2,3,5,2,2}, {2,2,6,3,1}}}, 3, 2, "3"},
    // Types 2 and 7 tie at the top of the total.
    {"gleichstand_gesamt", {{{}, {2,2,6,2,2}, {0,1,5,2,6}, {2,2,6,2,2}, {1,3,6,3,1}, {2,2,6,2,2}, {3,2,5,2,2}, {0,1,5,2,6}, {2,3,5,2,2}, {2,2,6,3,1}}}, 9, 2, "spitze"},
    // Types 4 and 8 tie at the top of the 3-and-4 ranking: no main type, ten pages.
    {"gleichstand_34", {{{}, {2,2,6,2,2}, {2,2,6,2,2}, {2,2,6,2,2}, {0,0,6,4,4}, {2,2,6,2,2}, {3,2,5,2,2}, {2,2,6,2,2}, {2,2,2,4,4}, {2,2,6,3,1}}}, 1, 1, "1"},
    // Every total below zero.
    {"negativ", {{{}, {6,5,2,1,0}, {8,4,1,1,0}, {5,6,2,1,0}, {7,5,1,0,1}, {9,3,2,0,0}, {6,6,1,1,0}, {5,5,3,1,0}, {10,2,1,1,0}, {6,4,3,1,0}}}, 4, 2, "10"},
    // Half of the test answered.
    {"halb", {{{}, {1,1,3,1,1}, {0,2,2,2,1}, {1,0,2,1,3}, {2,1,2,1,1}, {1,1,3,2,0}, {0,1,3,2,1}, {1,2,2,1,1}, {2,2,1,1,1}, {1,1,2,2,1}}}, 3, 4, "3"},
    // Every rating 2, every rating 0, nothing answered.
    {"gleich", jederTyp({0, 0, 14, 0, 0}), 0, 5, "null"},
    {"alle_null", jederTyp({14, 0, 0, 0, 0}), 0, 6, "null"},
    {"ohne_bewertung", jederTyp({0, 0, 0, 0, 0}), 0, 5, "null"},
    // The top total is 0 and every other total lies below it.
    {"null_spitze", {{{}, {0,0,0,0,0}, {3,1,0,0,0}, {2,2,0,0,0}, {4,0,0,0,0}, {1,3,0,0,0}, {2,0,0,0,0}, {0,2,0,0,0}, {1,1,0,0,0}, {3,0,0,0,0}}}, 0, 2, "null"},
    // Mostly 2s: eight types share the top total, type 6 alone has a rating of 3.
    {"flach", {{{}, {0,0,14,0,0}, {0,0,14,0,0}, {0,0,14,0,0}, {0,0,14,0,0}, {0,0,14,0,0}, {1,0,12,1,0}, {0,0,14,0,0}, {0,0,14,0,0}, {0,0,14,0,0}}}, 9, 1, "spitze"},
    // Main type 1 between two rejected wings (totals -3 and -1); its second connected type 4 has
    // the higher total (50 against 46).
    {"eins", {{{}, {1,0,1,2,10}, {5,3,6,0,0}, {2,2,6,2,2}, {0,0,3,0,11}, {2,2,6,2,2}, {2,2,6,2,2}, {2,2,6,2,2}, {2,2,6,2,2}, {7,1,6,0,0}}}, 7, 2, "6"},
};

namespace fs = std::filesystem;

fs::path goldenOrdner() { return fs::path(ZUV_SOURCE_DIR) / "tests/desk/evaluation/golden"; }

class AuswertSeiten : public AuswertTest {
protected:
    // Every page of the window, from page 1 to the last, each headed by the window's two labels.
    std::string blaettern(auswertform& f, const char* art) {
        std::string out;
        for (int seite = 1;; ++seite) {
            EXPECT_EQ(f.Seite(), seite);
            out += "== " + std::string(art) + ": " + f.Label1.Caption() + " | " + f.Label2.Caption() + "\n";
            for (const std::string& z : zeilen(f)) out += z + "\n";
            if (seite == f.Seitenanzahl()) break;
            f.SSCommand2_Click();
        }
        return out;
    }

    std::string alleSeiten(const Person& p) {
        waehle(person("Vorname", p.name, p.anzahlen));
        auswertform* a = auswertung();
        EXPECT_NE(a, nullptr);
        if (!a) return {};
        std::string out = blaettern(*a, "Auswertung");
        a->Befehl3_Click();
        auswertform* s = statistik();
        EXPECT_NE(s, nullptr);
        if (!s) return out;
        out += blaettern(*s, "Statistik");
        s->Befehl3_Click();
        return out;
    }

    void vergleicheGolden(const std::string& name, const std::string& ist) {
        support::mitGoldenDateiVergleichen(goldenOrdner() / (name + ".txt"), ist);
    }

    // Lines of the page on view that start with the given label texts, in this order.
    static bool folgt(const std::vector<std::string>& seite, const std::vector<int>& labels) {
        auto it = seite.begin();
        for (int l : labels) {
            it = std::find_if(it, seite.end(), [&](const std::string& z) { return z.rfind(LabelTxt(l), 0) == 0; });
            if (it == seite.end()) return false;
            ++it;
        }
        return true;
    }

    void zuSeite(auswertform& f, int seite) {
        while (f.Seite() < seite) f.SSCommand2_Click();
    }
};

}  // namespace

TEST_F(AuswertSeiten, PagesOfFixedPersonsMatchTheirGoldenFiles) {
    for (const Person& p : kBesonderePersonen) vergleicheGolden(p.name, alleSeiten(p));
    for (const Person& p : kRegelPersonen) vergleicheGolden(p.name, alleSeiten(p));
}

TEST_F(AuswertSeiten, EachConclusionRuleFiresForItsPerson) {
    // The first lines of each rule (label texts), as the decision tables give them.
    const std::map<int, std::vector<int>> seite4 = {
        {1, {407, 408, 409}}, {2, {410, 408, 411, 412}}, {3, {413, 414, 411, 415}}, {4, {416, 408, 417, 418}},
        {5, {419, 408, 417, 420}}, {6, {421, 408, 417, 422, 452}}, {7, {423, 424, 417, 425, 452}},
        {8, {396, 397, 398, 399}}, {9, {392, 393, 394, 395}}, {0, {334, 335, 336}}};
    const std::map<int, std::vector<int>> seite8 = {
        {1, {426, 427, 428, 429}}, {2, {426, 430, 428, 431, 432, 433}}, {3, {426, 434, 428, 435, 436, 433}},
        {4, {290, 291}}, {5, {426, 327}}, {6, {426, 328, 428, 379}}};
    const std::map<std::string, std::pair<int, std::vector<int>>> seite10 = {
        {"1", {439, {440, 441, 442}}}, {"2", {443, {440, 441, 444}}}, {"3", {445, {440, 441, 409}}},
        {"4", {447, {440, 441, 411}}}, {"5", {448, {440, 441, 411}}}, {"6", {449, {440, 441, 411}}},
        {"7", {439, {440, 409}}},      {"8", {443, {440, 411}}},      {"9", {439, {440, 411}}},
        {"10", {446, {440, 411}}},     {"11", {447, {440, 417}}},     {"12", {448, {440, 417}}},
        {"13", {449, {440, 417}}},     {"spitze", {0, {329, 330, 331, 332, 333}}},
        {"null", {0, {334, 335, 336}}}};

    std::vector<const Person*> alle;
    for (const Person& p : kRegelPersonen) alle.push_back(&p);
    for (const Person& p : kBesonderePersonen) alle.push_back(&p);
    std::set<int> gesehen4, gesehen8;
    std::set<std::string> gesehen10;
    for (const Person* p : alle) {
        SCOPED_TRACE(p->name);
        waehle(person("Vorname", p->name, p->anzahlen));
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        zuSeite(*f, 4);
        EXPECT_TRUE(folgt(f->Bild1.pageLines(1), seite4.at(p->regel4))) << text(*f);
        zuSeite(*f, 8);
        EXPECT_TRUE(folgt(f->Bild1.pageLines(1), seite8.at(p->regel8))) << text(*f);
        zuSeite(*f, 10);
        const auto& [erste, weitere] = seite10.at(p->regel10);
        const auto zeilen10 = f->Bild1.pageLines(1);
        if (erste) {
            // "Ergebnis: Der Typ '<designation>' ..." with the rule's own text after the designation.
            const std::string kopf = LabelTxt(438);
            auto it = std::find_if(zeilen10.begin(), zeilen10.end(), [&](const std::string& z) {
                return z.rfind(kopf, 0) == 0 && z.find(LabelTxt(erste)) != std::string::npos;
            });
            ASSERT_NE(it, zeilen10.end()) << text(*f);
            EXPECT_TRUE(folgt(std::vector<std::string>(it + 1, zeilen10.end()), weitere)) << text(*f);
        } else {
            EXPECT_TRUE(folgt(zeilen10, weitere)) << text(*f);
        }
        f->Befehl3_Click();
        gesehen4.insert(p->regel4);
        gesehen8.insert(p->regel8);
        gesehen10.insert(p->regel10);
    }
    EXPECT_EQ(gesehen4.size(), seite4.size());
    EXPECT_EQ(gesehen8.size(), seite8.size());
    EXPECT_EQ(gesehen10.size(), seite10.size());
}

TEST_F(AuswertSeiten, MainTypePagesSayWhatTheirMainTypeRestsOnWhereTheComparisonNamesNoneOrAnother) {
    // klar: page 10 names the main type; regel_06: it names the leader by total (Macher), not the
    // leader by 3 and 4; flach: no rule applies. The first line says which: page 10 named another
    // type than these pages take, or none.
    const std::map<std::string, std::string> gesagt = {
        {"klar", ""}, {"regel_06", LabelTxt(381) + " Macher"}, {"flach", LabelTxt(325)}};
    std::vector<const Person*> alle;
    for (const Person& p : kRegelPersonen) alle.push_back(&p);
    for (const Person& p : kBesonderePersonen) alle.push_back(&p);
    for (const Person* p : alle) {
        if (!gesagt.count(p->name)) continue;
        SCOPED_TRACE(p->name);
        waehle(person("Vorname", p->name, p->anzahlen));
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->Seitenanzahl(), 12);
        for (int seite : {11, 12}) {
            zuSeite(*f, seite);
            const auto zeilen = f->Bild1.pageLines(1);
            // Under the title, before anything of the main type.
            const bool sagt = !gesagt.at(p->name).empty();
            ASSERT_GT(zeilen.size(), 2u);
            EXPECT_EQ(zeilen[1] == gesagt.at(p->name), sagt) << text(*f);
            EXPECT_EQ(zeilen[2].rfind(LabelTxt(326), 0) == 0, sagt) << text(*f);
        }
        f->Befehl3_Click();
    }
}
