// The print table of the full report for fixed persons, all 24 pages, pinned by golden files: the
// kinds of persons the evaluation pages are pinned on, and a person for each branch the page
// builders choose between (the table below says which person takes which branch, and the test
// checks that it does).
//
// ZUV_GOLDEN_UPDATE=1 writes the golden files anew (into the source tree) instead of comparing.

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "../evaluation/golden_personen.h"
#include "druckseiten_fixture.h"
#include "support/golden.h"

using namespace druckseiten_test;

namespace {

namespace fs = std::filesystem;

struct Person {
    const char* name;
    Anzahlen anzahlen;
    support::Personendaten daten = {{"Testdatum", vb::Variant("12.03.2026")}};
};

// The persons of the evaluation pages' golden files (the kinds of results, then one person for
// each conclusion of the rankings), and after them the persons of the report's own branches.
std::vector<Person> allePersonen() {
    std::vector<Person> alle;
    for (const auto& p : auswert_test::kBesonderePersonen) alle.push_back({p.name, p.anzahlen});
    for (const auto& p : auswert_test::kRegelPersonen) alle.push_back({p.name, p.anzahlen});
    const Person eigene[] = {
        // The cover page: every column filled; no optional column and not even name or test date;
        // a birthday of blanks, a street without town, the e-mail without telephone, the area alone.
        {"daten_voll",
         jederTyp({0, 0, 14, 0, 0}),
         {{"Geburtstag", vb::Variant("02.05.1980")},
          {"Strasse", vb::Variant("Lindenweg 4")},
          {"PLZOrt", vb::Variant("12345 Neustadt")},
          {"Land", vb::Variant("Deutschland")},
          {"Telefon", vb::Variant("0123 45678")},
          {"EMail", vb::Variant("greta@example.org")},
          {"Bereich", vb::Variant("Vertrieb")},
          {"Abteilung", vb::Variant("Außendienst")},
          {"Testdatum", vb::Variant("12.03.2026")},
          {"Bemerkung", vb::Variant("nicht gedruckt")}}},
        {"daten_leer", jederTyp({0, 0, 14, 0, 0}), {{"Vorname", vb::Variant::null()}, {"Nachname", vb::Variant::null()}}},
        {"daten_teils",
         jederTyp({0, 0, 14, 0, 0}),
         {{"Geburtstag", vb::Variant("   ")},
          {"Strasse", vb::Variant("Am Markt 1")},
          {"PLZOrt", vb::Variant("")},
          {"EMail", vb::Variant("post@example.org")},
          {"Bereich", vb::Variant("Einkauf")},
          {"Testdatum", vb::Variant("12.03.2026")}}},

        // Ratings of 4 only: the highest verdict on the ratings per statement.
        {"alle_vier", jederTyp({0, 0, 0, 0, 14})},
        // Totals 5, 10, ..., 45 for types 1 to 9: a mean of 25 and deviations on the bounds.
        {"mittel_beispiel",
         {{{},
           {0, 8, 5, 1, 0},
           {0, 6, 8, 0, 0},
           {0, 5, 7, 2, 0},
           {0, 3, 10, 1, 0},
           {0, 1, 13, 0, 0},
           {0, 0, 12, 2, 0},
           {0, 0, 7, 7, 0},
           {0, 0, 2, 12, 0},
           {0, 0, 0, 11, 3}}}},
        // Totals 20, 17, 18 for types 1 to 3: 17 of 20 is exactly 0.85 and not close.
        {"schwelle",
         {{{},
           {0, 3, 10, 1, 0},
           {0, 4, 9, 1, 0},
           {0, 4, 8, 2, 0},
           {0, 6, 8, 0, 0},
           {0, 6, 8, 0, 0},
           {0, 6, 8, 0, 0},
           {0, 6, 8, 0, 0},
           {0, 6, 8, 0, 0},
           {0, 6, 8, 0, 0}}}},

        // Main type 5 with its wings 4 and 6 and its connected types 8 and 7.
        {"fluegel_rechts",
         {{{},
           kMitte,
           kMitte,
           kMitte,
           {0, 5, 7, 2, 0},
           {0, 1, 0, 11, 2},
           {0, 1, 13, 0, 0},
           {0, 0, 6, 8, 0},
           {0, 3, 10, 1, 0},
           kMitte}}},
        {"fluegel_gleich",
         {{{},
           kMitte,
           kMitte,
           kMitte,
           {0, 3, 9, 2, 0},
           {0, 3, 0, 11, 0},
           {0, 2, 10, 2, 0},
           {0, 2, 11, 1, 0},
           {7, 0, 7, 0, 0},
           kMitte}}},
        {"fluegel_links",
         {{{},
           kMitte,
           kMitte,
           kMitte,
           {0, 3, 10, 1, 0},
           {0, 3, 0, 11, 0},
           {0, 6, 8, 0, 0},
           {0, 10, 2, 2, 0},
           {0, 12, 2, 0, 0},
           kMitte}}},
        {"fluegel_null",
         {{{},
           {2, 2, 8, 2, 0},
           {2, 2, 8, 2, 0},
           {2, 2, 8, 2, 0},
           {0, 8, 6, 0, 0},
           {11, 0, 0, 0, 3},
           {0, 10, 2, 2, 0},
           {0, 8, 5, 1, 0},
           {0, 8, 4, 2, 0},
           {2, 2, 8, 2, 0}}}},

        // The statistics pages' cases, type by type: two most frequent values; the middle between
        // 1 and 2 with seven answers below (two ways); the middle value 2 alone; half 0, half 4; half 1,
        // half 2; all but one 2; all 4; only seven answers, all 0.
        {"statistik",
         {{{},
           {0, 2, 5, 5, 2},
           {7, 0, 7, 0, 0},
           {3, 4, 1, 3, 3},
           {0, 0, 8, 3, 3},
           {7, 0, 0, 0, 7},
           {0, 7, 7, 0, 0},
           {0, 1, 13, 0, 0},
           {0, 0, 0, 0, 14},
           {7, 0, 0, 0, 0}}}},
        // Over all types 30, 30, 30, 20, 16 answers of the values 0 to 4.
        {"verteilung",
         {{{},
           {4, 4, 3, 2, 1},
           {4, 4, 3, 2, 1},
           {4, 4, 3, 2, 1},
           {4, 4, 3, 2, 1},
           {4, 4, 3, 2, 1},
           {4, 4, 3, 2, 1},
           {2, 2, 4, 3, 3},
           {2, 2, 4, 3, 3},
           {2, 2, 4, 2, 4}}}},
    };
    alle.insert(alle.end(), std::begin(eigene), std::end(eigene));
    return alle;
}

const std::vector<Person> kPersonen = allePersonen();

fs::path goldenOrdner() { return fs::path(ZUV_SOURCE_DIR) / "tests/desk/reports/golden"; }

class Golden : public DruckseitenTest {
protected:
    void vergleiche(const std::string& name, const std::string& ist) {
        support::mitGoldenDateiVergleichen(goldenOrdner() / (name + ".txt"), ist);
    }
};

// The print table of one person, line by line.
class Tabelle {
public:
    explicit Tabelle(std::vector<Zeile> zeilen) : m_zeilen(std::move(zeilen)) {}
    const Zeile* zeile(int seite, int nr) const {
        for (const Zeile& z : m_zeilen)
            if (z.seite == seite && z.nr == nr) return &z;
        return nullptr;
    }
    bool hat(int seite, int nr) const { return zeile(seite, nr) != nullptr; }
    std::string text(int seite, int nr) const { return hat(seite, nr) ? zeile(seite, nr)->text : "-"; }
    std::string code(int seite, int nr) const { return hat(seite, nr) ? zeile(seite, nr)->code : "-"; }
    // The line carries label text `label` with the code given.
    bool label(int seite, int nr, int label, const char* code = "DE") const {
        return text(seite, nr) == LabelTxt(label) && this->code(seite, nr) == code;
    }
    int anzahl(int seite) const {
        int n = 0;
        for (const Zeile& z : m_zeilen) n += z.seite == seite;
        return n;
    }
    const std::vector<Zeile>& zeilen() const { return m_zeilen; }

private:
    std::vector<Zeile> m_zeilen;
};

// Branch -> person: each branch the page builders choose between, the person that takes it, and
// what the print table shows when it does.
struct Zweig {
    const char* zweig;
    const char* person;
    std::function<bool(const Tabelle&)> genommen;
};

const std::vector<Zweig> kZweige = {
    // Page 1: which of the person's lines stand.
    {"p1 every column given: 23 lines", "daten_voll",
     [](const Tabelle& t) { return t.anzahl(1) == 23 && t.text(1, 11) == LabelTxt(49) + ": 02.05.1980"; }},
    {"p1 nothing given, not even name and test date", "daten_leer",
     [](const Tabelle& t) { return t.anzahl(1) == 13 && t.text(1, 9) == " " && t.text(1, 23) == LabelTxt(56) + ": "; }},
    {"p1 blank birthday, street without town, e-mail alone, area alone", "daten_teils",
     [](const Tabelle& t) {
         return t.text(1, 11) == LabelTxt(49) + ":    " && t.hat(1, 13) && !t.hat(1, 14) && !t.hat(1, 17) &&
                t.hat(1, 18) && t.hat(1, 20) && !t.hat(1, 21);
     }},
    // Pages 7 to 13: the close group, or label 204 when it is empty.
    {"p7 close group", "schwelle", [](const Tabelle& t) { return t.text(7, 16) == "Macher" && !t.hat(7, 17); }},
    {"p7 no close group", "klar", [](const Tabelle& t) { return !t.hat(7, 16) && t.label(7, 17, 204, "H1"); }},
    // Every total below zero, the others far behind the top: the distance is measured against the
    // top's size, so none of them is close.
    {"p7 negative top: the totals far behind it are not close", "negativ",
     [](const Tabelle& t) { return !t.hat(7, 16) && t.label(7, 17, 204, "H1"); }},
    {"p7 top total 0 above negative totals: none close", "null_spitze",
     [](const Tabelle& t) { return !t.hat(7, 16) && t.label(7, 17, 204, "H1"); }},
    {"p11 empty close group: an empty line, then label 204", "klar",
     [](const Tabelle& t) { return t.text(11, 17).empty() && t.label(11, 18, 204, "H1"); }},
    // Page 10: the nine conclusions.
    {"p10 case 1", "regel_17", [](const Tabelle& t) { return t.label(10, 21, 407, "H2") && t.label(10, 24, 409, "H2"); }},
    {"p10 case 2", "regel_19",
     [](const Tabelle& t) { return t.label(10, 21, 410, "H2") && t.text(10, 23).rfind(" ", 0) == 0; }},
    {"p10 case 3", "regel_03", [](const Tabelle& t) { return t.label(10, 21, 413, "H2") && t.label(10, 25, 415, "H2"); }},
    {"p10 case 4", "regel_11", [](const Tabelle& t) { return t.label(10, 21, 416, "H2") && t.code(10, 26) == "H3"; }},
    {"p10 case 5", "regel_08", [](const Tabelle& t) { return t.label(10, 21, 419, "H2") && t.label(10, 25, 420, "H2"); }},
    {"p10 case 6", "regel_04", [](const Tabelle& t) { return t.label(10, 21, 421, "H2") && t.code(10, 27) == "H3"; }},
    {"p10 case 7", "regel_06", [](const Tabelle& t) { return t.label(10, 21, 423, "H2") && t.code(10, 26) == "H3"; }},
    {"p10 case 8: the top total shared", "gleichstand_gesamt",
     [](const Tabelle& t) { return t.label(10, 21, 392, "H2") && t.label(10, 25, 395, "H2"); }},
    {"p10 case 9", "regel_16", [](const Tabelle& t) { return t.label(10, 21, 396, "H2") && t.label(10, 24, 399, "H2"); }},
    // Case 1 beside other types near the top total, and a top of 3 and 4 that several types share.
    {"p10 case 1 beside types near the top total", "regel_18",
     [](const Tabelle& t) { return t.label(10, 21, 407, "H2") && t.label(10, 24, 391, "H2"); }},
    {"p10 the top of 3 and 4 shared: all named, none as the leader", "gleichstand_34",
     [](const Tabelle& t) {
         return t.label(10, 21, 437, "H2") && t.code(10, 22) == "H3" && t.label(10, 23, 394, "H2") && !t.hat(10, 25);
     }},
    // Page 14: the four conclusions.
    {"p14 case 1", "regel_16", [](const Tabelle& t) { return t.label(14, 14, 427, "H2") && !t.hat(14, 18); }},
    {"p14 case 2", "regel_03", [](const Tabelle& t) { return t.label(14, 14, 430, "H2") && t.label(14, 20, 433, "H2"); }},
    {"p14 case 3", "regel_18", [](const Tabelle& t) { return t.label(14, 14, 434, "H2") && t.label(14, 20, 433, "H2"); }},
    {"p14 case 4", "regel_01", [](const Tabelle& t) { return t.label(14, 13, 290, "H2") && !t.hat(14, 15); }},
    {"p14 several types share the top of 0 and 1, not those of 0 and of 1", "regel_02",
     [](const Tabelle& t) { return t.label(14, 14, 450, "H2") && t.label(14, 17, 379, "H2"); }},
    {"p14 several types share the tops of 0 and 1, of 0 and of 1", "regel_20",
     [](const Tabelle& t) { return t.label(14, 14, 328, "H2") && t.label(14, 17, 379, "H2"); }},
    {"p14 no answer of 0 or 1: case 1 says none is rejected; label 204", "gleich",
     [](const Tabelle& t) {
         return t.label(14, 14, 327, "H2") && !t.hat(14, 15) && t.text(14, 26).empty() && t.label(14, 27, 204, "H1");
     }},
    {"p14 nobody rated 1, several types tied at the top: none rejected clearly", "alle_null",
     [](const Tabelle& t) {
         return t.label(14, 14, 430, "H2") && t.label(14, 17, 389, "H2") && t.label(14, 18, 379, "H2");
     }},
    {"p10 and p16 no rating 3 or 4, though one type leads by total", "null_spitze",
     [](const Tabelle& t) {
         return t.label(10, 21, 334, "H2") && t.label(10, 23, 336, "H2") && !t.hat(10, 24) && t.label(16, 16, 334) &&
                t.label(16, 19, 336);
     }},
    // Page 15: the verdict on the ratings per statement, and the classes.
    {"p15 verdict low", "klar", [](const Tabelle& t) { return t.label(15, 10, 304, "H2"); }},
    {"p15 verdict balanced", "gleich", [](const Tabelle& t) { return t.label(15, 10, 306, "H2"); }},
    {"p15 verdict high", "alle_vier", [](const Tabelle& t) { return t.label(15, 10, 305, "H2"); }},
    {"p15 a mean of 25: deviations on the bounds belong to the outer class", "mittel_beispiel",
     [](const Tabelle& t) {
         return t.text(15, 4) == "25,00" && t.text(15, 6) == "01,79" &&
                t.text(15, 16) == "Perfektionist       -020,00             00,20              " + LabelTxt(312) &&
                t.text(15, 19).substr(59) == LabelTxt(312) && t.text(15, 20).substr(59) == LabelTxt(311) &&
                t.text(15, 21).substr(59) == LabelTxt(311) && t.text(15, 22).substr(60) == LabelTxt(310) &&
                t.text(15, 24) == "Vermittler          020,00              01,80              " + LabelTxt(310);
     }},
    // Over a mean of 0 the quotient is no ratio: the field stays empty, the class too.
    {"p15 mean 0: no ratio, no class", "ohne_bewertung",
     [](const Tabelle& t) { return t.text(15, 16) == "Perfektionist       000,00" + std::string(33, ' '); }},
    // Page 16: the opening, the fourteen rows of the conclusion and the two endings.
    {"p16 one type near the top", "klar", [](const Tabelle& t) { return t.label(16, 3, 315) && !t.hat(16, 14); }},
    {"p16 several types near the top", "schwelle",
     [](const Tabelle& t) { return t.label(16, 3, 319) && t.text(16, 7) == "Perfektionist Macher"; }},
    {"p16 row 1", "regel_17", [](const Tabelle& t) { return t.label(16, 18, 439) && t.label(16, 21, 442); }},
    {"p16 row 2", "regel_19", [](const Tabelle& t) { return t.label(16, 18, 443) && t.label(16, 21, 444); }},
    // Leading by total and by 4, not by 3: probable, as page 10 says.
    {"p16 row 3", "klar", [](const Tabelle& t) { return t.label(16, 18, 445) && t.label(16, 21, 444); }},
    {"p16 row 1 beside types near the top total", "regel_18",
     [](const Tabelle& t) { return t.label(16, 18, 439) && t.label(16, 21, 391); }},
    {"p16 row 5", "regel_08", [](const Tabelle& t) { return t.label(16, 18, 447) && t.label(16, 20, 441); }},
    {"p16 row 6", "regel_04", [](const Tabelle& t) { return t.label(16, 18, 448) && t.label(16, 20, 441); }},
    {"p16 row 7", "regel_06", [](const Tabelle& t) { return t.label(16, 18, 449) && t.label(16, 20, 441); }},
    // Beside types near the top total the assignment is not called settled.
    {"p16 row 8", "regel_22",
     [](const Tabelle& t) { return t.label(16, 18, 439) && t.label(16, 20, 391) && !t.hat(16, 21); }},
    {"p16 row 9", "regel_21", [](const Tabelle& t) { return t.label(16, 18, 443) && t.label(16, 20, 411); }},
    {"p16 row 10", "regel_10", [](const Tabelle& t) { return t.label(16, 18, 439) && t.label(16, 20, 411); }},
    {"p16 row 11", "negativ", [](const Tabelle& t) { return t.label(16, 18, 446) && t.label(16, 20, 417); }},
    {"p16 row 12", "regel_13", [](const Tabelle& t) { return t.label(16, 18, 447) && t.label(16, 20, 417); }},
    {"p16 row 13", "regel_15", [](const Tabelle& t) { return t.label(16, 18, 448) && t.label(16, 20, 417); }},
    {"p16 row 14", "regel_12", [](const Tabelle& t) { return t.label(16, 18, 449) && t.label(16, 20, 417); }},
    {"p16 no row, ratings 3 and 4 given", "gleichstand_gesamt",
     [](const Tabelle& t) { return t.label(16, 16, 329) && t.code(16, 24) == "H1" && !t.hat(16, 17); }},
    {"p16 no row: the top of 3 and 4 shared", "gleichstand_34",
     [](const Tabelle& t) { return t.label(16, 16, 329) && t.text(16, 24) == "Boss Individualist"; }},
    {"p16 no row, no rating 3 or 4", "gleich",
     [](const Tabelle& t) { return t.label(16, 16, 334) && t.label(16, 19, 336) && !t.hat(16, 20); }},
    // Page 17: no main type; the verdicts on the wings and the closing statement.
    {"p17 no single main type: no page", "gleichstand_34", [](const Tabelle& t) { return t.anzahl(17) == 0; }},
    {"p17 right wing stronger; verdicts 341 and 311", "fluegel_rechts",
     [](const Tabelle& t) {
         return t.label(17, 13, 341, "H1") && t.label(17, 21, 311, "H1") && t.label(17, 27, 344) &&
                t.text(17, 28) == "Loyaler";
     }},
    {"p17 neither wing stronger; verdict 342", "fluegel_gleich",
     [](const Tabelle& t) { return t.label(17, 21, 342, "H1") && t.label(17, 27, 345) && !t.hat(17, 28); }},
    {"p17 left wing stronger", "fluegel_links",
     [](const Tabelle& t) { return t.label(17, 27, 344) && t.text(17, 28) == "Individualist"; }},
    {"p17 right wing total 0: compared all the same; wings above a negative main total are not outweighed",
     "fluegel_null",
     [](const Tabelle& t) {
         return t.label(17, 13, 322, "H1") && t.label(17, 21, 322, "H1") && t.label(17, 27, 344) &&
                t.text(17, 28) == "Individualist";
     }},
    {"p17 and p18 under a conclusion that names the main type: line 2 empty", "klar",
     [](const Tabelle& t) { return t.text(17, 2).empty() && t.text(18, 2).empty(); }},
    {"p17 and p18 where no rule names a main type: line 2 says what it rests on", "flach",
     [](const Tabelle& t) {
         const std::string grundlage = LabelTxt(325) + " " + LabelTxt(326) + " Loyaler";
         return t.text(17, 2) == grundlage && t.code(17, 2) == "H2" && t.text(18, 2) == grundlage;
     }},
    {"p17 and p18 where the conclusion names another type than the leader by 3 and 4: line 2 names both", "eins",
     [](const Tabelle& t) {
         const std::string grundlage = LabelTxt(381) + " Individualist. " + LabelTxt(326) + " Perfektionist";
         return t.text(17, 2) == grundlage && t.text(18, 2) == grundlage;
     }},
    {"p17 two rejected wings: the one rejected less is the stronger", "eins",
     [](const Tabelle& t) {
         return t.label(17, 13, 341, "H1") && t.label(17, 21, 341, "H1") && t.label(17, 27, 344) &&
                t.text(17, 28) == "Helfer";
     }},
    // Page 18: no main type; the remark by the low answers; the closing remark, or the text that
    // none applies under each heading.
    {"p18 no single main type: no page", "gleichstand_34", [](const Tabelle& t) { return t.anzahl(18) == 0; }},
    {"p18 fewer than 5 low answers; second type close (362)", "fluegel_rechts",
     [](const Tabelle& t) { return t.label(18, 15, 460, "DE") && !t.hat(18, 16) && t.label(18, 30, 362, "H2"); }},
    {"p18 5 to 9 low answers; second type near (361)", "fluegel_gleich",
     [](const Tabelle& t) {
         return t.label(18, 15, 353, "H2") && t.label(18, 16, 291, "H2") && t.label(18, 30, 361, "H2");
     }},
    // 12 of a type's 14 statements rated 0 or 1 reach the last step; the second type's note gives
    // its low answers too (10), as the first one's does.
    {"p18 12 low answers; 10 of the second type, whose total is 0", "fluegel_links",
     [](const Tabelle& t) {
         return t.label(18, 15, 355, "H2") && t.label(18, 16, 356, "H2") && t.label(18, 24, 341, "H1") &&
                t.label(18, 30, 354, "H2") && t.label(18, 31, 291, "H2") && !t.hat(18, 32);
     }},
    {"p18 second type far below", "klar", [](const Tabelle& t) { return t.label(18, 30, 460, "DE") && !t.hat(18, 31); }},
    {"p18 both connected types above a negative main total", "fluegel_null",
     [](const Tabelle& t) {
         return t.label(18, 9, 322, "H1") && t.label(18, 24, 322, "H1") && t.label(18, 30, 323, "H2");
     }},
    {"p18 second type above a positive main total: the stronger (323), no distance (322)", "eins",
     [](const Tabelle& t) { return t.label(18, 24, 322, "H1") && t.label(18, 30, 323, "H2"); }},
    // Pages 22 to 24.
    {"p22 two most frequent values", "statistik",
     [](const Tabelle& t) { return t.text(22, 6).find(LabelTxt(157) + " 2   3   ") != std::string::npos; }},
    {"p22 nothing answered: all five values", "ohne_bewertung",
     [](const Tabelle& t) { return t.text(22, 6).find(LabelTxt(157) + " 0   1   2   3   4   ") != std::string::npos; }},
    {"p23 the middle between two values", "statistik",
     [](const Tabelle& t) {
         return t.text(23, 7).find(LabelTxt(157) + "  1 " + LabelTxt(371) + "  2") != std::string::npos;
     }},
    {"p23 one middle value", "statistik",
     [](const Tabelle& t) { return t.text(23, 9).find(LabelTxt(157) + "  2 ") != std::string::npos; }},
    {"p23 only seven answers, all 0: between 3 and 4; nothing answered: 4", "statistik",
     [](const Tabelle& t) {
         return t.text(23, 14).find(LabelTxt(157) + "  3 " + LabelTxt(371) + "  4") != std::string::npos &&
                t.text(23, 13).find(LabelTxt(157) + "  4 ") != std::string::npos;
     }},
    {"p23 and p24 over all types of 30, 30, 30, 20, 16 answers", "verteilung",
     [](const Tabelle& t) {
         return t.text(23, 17).find(LabelTxt(157) + "  2") != std::string::npos &&
                t.text(24, 17).find("0,7517          " + LabelTxt(374)) != std::string::npos;
     }},
    {"p24 the three classes", "statistik",
     [](const Tabelle& t) {
         return t.text(24, 10).find("1,0000          " + LabelTxt(374)) != std::string::npos &&
                t.text(24, 11).find("0,2500          " + LabelTxt(373)) != std::string::npos &&
                t.text(24, 7).find("0,5000          " + LabelTxt(375)) != std::string::npos;
     }},
};

}  // namespace

TEST_F(Golden, EachPersonsPrintTableMatchesItsGoldenFileAndTakesItsBranches) {
    std::map<std::string, Tabelle> tabellen;
    for (const Person& p : kPersonen) {
        SCOPED_TRACE(p.name);
        berichtDrucken(
            support::personSchreiben(*gDatenbank, gItemNummer, gTypNummer, "Vorname", p.name, p.anzahlen, true, p.daten));
        ASSERT_TRUE(forms::Instance<frmReport>().CrystalReport1.document()) << p.name;
        tabellen.emplace(p.name, Tabelle(drucktabelle()));
        vergleiche(p.name, alsText(tabellen.at(p.name).zeilen()));
        forms::Unload(forms::Instance<frmReport>());
    }
    for (const Zweig& z : kZweige) {
        ASSERT_TRUE(tabellen.count(z.person)) << z.person;
        EXPECT_TRUE(z.genommen(tabellen.at(z.person))) << z.zweig << " (" << z.person << ")";
    }
}
