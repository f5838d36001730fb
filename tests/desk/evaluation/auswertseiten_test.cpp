// The evaluation and statistics pages of fixed persons, pinned by golden files, and the
// conclusion rules of pages 4, 8 and 10 with one person per rule.
//
// ZUV_GOLDEN_UPDATE=1 writes the golden files anew (into the source tree) instead of comparing.

#include <filesystem>
#include <set>

#include "auswert_fixture.h"
#include "golden_personen.h"
#include "support/golden.h"

using namespace auswert_test;

namespace {

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
    // The first lines of each rule (label texts), as the decision tables give them; the last text
    // of a rule of page 10 is the one verdict on the support of all pages.
    const std::map<int, std::vector<int>> seite4 = {{1, {407, 408, 409}},           {2, {410, 408, 411, 412}},
                                                    {3, {413, 414, 411, 415}},      {4, {416, 408, 417, 418}},
                                                    {5, {419, 408, 417, 420}},      {6, {421, 408, 417, 422, 452}},
                                                    {7, {423, 424, 417, 425, 452}}, {8, {396, 397, 398, 399}},
                                                    {9, {392, 393, 394, 395}},      {0, {334, 335, 336}},
                                                    {10, {407, 408, 391}},          {11, {437, 394, 395}}};
    const std::map<int, std::vector<int>> seite8 = {{1, {426, 427, 428, 429}},
                                                    {2, {426, 430, 428, 431, 432, 433}},
                                                    {3, {426, 434, 428, 435, 436, 433}},
                                                    {4, {290, 291}},
                                                    {5, {426, 327}},
                                                    {6, {426, 328, 428, 379}},
                                                    {7, {426, 430, 428, 389, 429}},
                                                    {8, {426, 430, 428, 389, 379}},
                                                    {9, {426, 450, 428, 379}}};
    const std::map<std::string, std::pair<int, std::vector<int>>> seite10 = {
        {"1", {439, {440, 441, 442}}}, {"2", {443, {440, 441, 444}}},  {"3", {445, {440, 441, 444}}},
        {"4", {447, {440, 441, 417}}}, {"5", {448, {440, 441, 417}}},  {"6", {449, {440, 441, 417}}},
        {"7g", {439, {440, 391}}},     {"8", {443, {440, 411}}},       {"9", {439, {440, 411}}},
        {"10", {446, {440, 417}}},     {"11", {447, {440, 417}}},      {"12", {448, {440, 417}}},
        {"13", {449, {440, 417}}},     {"1g", {439, {440, 441, 391}}}, {"spitze", {0, {329, 330, 331, 332, 333}}},
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
    const std::map<std::string, std::string> gesagt = {{"klar", ""},
                                                       {"regel_06", LabelTxt(381) + " Macher"},
                                                       {"flach", LabelTxt(325)}};
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
