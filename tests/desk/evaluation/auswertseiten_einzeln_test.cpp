// The page routines that work from the program-wide scores alone (main type, connected types,
// deviation, statistics, the heading word wrap), each edge of their decision bounds on a picture
// of its own. Label texts are their own position ("L341"), so a line shows which text it took.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desk/common/globals.h"
#include "desk/evaluation/auswertseiten.h"
#include "desk/evaluation/auswertseiten_stil.h"
#include "desk/testing/urteile.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/form.h"
#include "support/scripted_host.h"
#include "platform/vb/locale.h"

namespace {

class Seite : public ::testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        vb::setDecimalSeparator(',');
        for (int i = 0; i <= 460; ++i) gLabelTxt.push_back("L" + std::to_string(i));
        for (int t = 1; t <= 9; ++t) gTypbezeichnung[t] = "T" + std::to_string(t);
        gStandardschriftart = gExtraschriftart = "Arial";
        gStandardschriftGroesse = gExtraschriftGroesse = 10;
        gExtraschriftFett = true;
        gExtraschriftfarbe = vb::Variant(int32_t(0x800000));
        gStandardschriftfarbe = vb::Variant(int32_t(0));
        box.setSizeTwips(15000, 10000);
        box.setFont("Arial", 10, false, false);
        gAusgabe = &box;
    }
    void TearDown() override {
        gAusgabe = nullptr;
        resetGlobals();
        vb::setDecimalSeparator(0);  // the regional settings again
    }

    std::vector<std::string> zeilen() const { return box.pageLines(1); }
    bool hat(const std::string& zeile) const {
        for (const std::string& z : zeilen())
            if (z == zeile) return true;
        return false;
    }
    bool enthaelt(const std::string& teil) const {
        for (const std::string& z : zeilen())
            if (z.find(teil) != std::string::npos) return true;
        return false;
    }
    std::string alles() const {
        std::string t;
        for (const std::string& z : zeilen()) t += z + "\n";
        return t;
    }
    // The entry printed with this text, or nullptr.
    const draw::LogEntry* eintrag(const std::string& text) const {
        for (const draw::LogEntry& e : box.log())
            if (e.text == text) return &e;
        return nullptr;
    }
    void neu() { box.Cls(); }
    // The deviation page of these type totals between these bounds.
    static void abweichung(const TypArray& summen, float untere, float obere) {
        gTypgesamtsummeJeTyp = summen;
        gSensitivity1 = untere;
        gSensitivity2 = obere;
        ShowResultDeviation(befund());
    }

    // The results the pages are drawn on: the leader by the ratings 3 and 4 as gRang1Typsumme34(9)
    // names it, alone at the top where gHaupttypEindeutig says so, and the totals and answer
    // counts set in the program-wide arrays.
    static urteil::Befund befund() {
        urteil::Befund b;
        b.summe34.eins[9] = gRang1Typsumme34[9];
        b.summe34.spitze = 1;
        b.anzahlSpitze34 = gHaupttypEindeutig ? 1 : 2;
        b.gesamtJeTyp = gTypgesamtsummeJeTyp;
        b.summe34JeTyp = gTypsumme34JeTyp;
        for (int t = 1; t <= 9; ++t) {
            for (int v = 0; v <= 4; ++v) b.antwortenJeTyp[t][v] = gAntwortAnzahlJeTyp[t + 10 * (v + 1)];
            b.niedrigJeTyp[t] = static_cast<int16_t>(b.antwortenJeTyp[t][0] + b.antwortenJeTyp[t][1]);
        }
        return b;
    }
    // The same with this type the main type.
    static urteil::Befund befund(int haupttyp) {
        urteil::Befund b = befund();
        b.summe34.eins[9] = gTypbezeichnung[haupttyp];
        b.anzahlSpitze34 = 1;
        return b;
    }

    // Count of rating value v (0..4) of type t.
    static void anzahl(int t, int v, int n) { gAntwortAnzahlJeTyp[t + 10 * (v + 1)] = static_cast<int16_t>(n); }

    draw::PictureBox box;
    forms::ScriptedHostGuard host;
};

}  // namespace

TEST_F(Seite, MainTypeNeighboursAndTheirVerdictsAtTheBounds) {
    gHaupttypEindeutig = 1;
    gRang1Typsumme34[9] = "T1";
    gTypgesamtsummeJeTyp = {0, 20, 0, 0, 0, 0, 0, 0, 0, 10};  // lower neighbour 9: r = 2.0; upper 2: total 0
    ShowResultMainType(befund());
    EXPECT_EQ(gHaupttyp, 1);
    EXPECT_EQ(gZaehler, 9);
    EXPECT_EQ(gVerbindungstyp2, 2);
    EXPECT_TRUE(hat("L337 T9 L371 T2")) << alles();
    EXPECT_TRUE(hat("L338 T9 L339  10 ")) << alles();
    EXPECT_TRUE(hat("L340 L311")) << alles();  // exactly twice: the middle verdict
    EXPECT_TRUE(hat("L340 L341")) << alles();  // a total of 0
    // The wings are compared also beside an upper total of 0: 10 outweighs it.
    EXPECT_TRUE(hat("L343 T1")) << alles();
    EXPECT_TRUE(hat("L344 T9")) << alles();

    // Main type 9, r exactly 1.4 and a lower neighbour stronger by exactly 1.3.
    neu();
    gRang1Typsumme34[9] = "T9";
    gTypgesamtsummeJeTyp = {0, 10, 0, 0, 0, 0, 0, 0, 13, 14};
    ShowResultMainType(befund());
    EXPECT_EQ(gHaupttyp, 9);
    EXPECT_TRUE(hat("L337 T8 L371 T1")) << alles();
    EXPECT_TRUE(hat("L340 L342")) << alles();  // 14 / 13
    EXPECT_TRUE(hat("L340 L311")) << alles();  // 14 / 10 = 1.4
    EXPECT_TRUE(hat("L343 T9")) << alles();
    EXPECT_TRUE(hat("L344 T8")) << alles();
    EXPECT_EQ(eintrag("T8")->color, 0x800000);  // the stronger one in the extra style

    // q exactly 0.8: no neighbour is stronger.
    neu();
    gRang1Typsumme34[9] = " T5 ";  // types 2 to 8 are compared without their blanks
    gTypgesamtsummeJeTyp = {0, 0, 0, 0, 8, 20, 10, 0, 0, 0};
    ShowResultMainType(befund());
    EXPECT_EQ(gHaupttyp, 5);
    EXPECT_TRUE(hat("L343 T5")) << alles();
    EXPECT_TRUE(hat("L345")) << alles();
    EXPECT_TRUE(hat("L340 L341")) << alles();  // 20 / 8 = 2.5

    // The list still in the ranking's number form names its type too.
    neu();
    gRang1Typsumme34[9] = " 3";
    gTypgesamtsummeJeTyp = {0, 0, 5, 10, 20, 0, 0, 0, 0, 0};
    ShowResultMainType(befund());
    EXPECT_EQ(gHaupttyp, 3);
    EXPECT_EQ(urteil::haupttypen(befund()), std::vector<int>{3});
    EXPECT_TRUE(hat("L343 T3")) << alles();
    EXPECT_TRUE(hat("L344 T4")) << alles();  // 5 / 20 < 0.8: the upper neighbour

    // No single main type: nothing at all, the surface as it was.
    neu();
    gHaupttypEindeutig = 0;
    box.setFontItalic(true);
    ShowResultMainType(befund());
    EXPECT_TRUE(box.log().empty());
    EXPECT_TRUE(box.FontItalic());
}

TEST_F(Seite, NegativeTotalsCountAsRejectionNotAsStrength) {
    gHaupttypEindeutig = 1;
    gRang1Typsumme34[9] = "T1";
    // Wings rejected with -3 and -1: the one rejected less is the stronger, and a positive main
    // type outweighs both by far.
    gTypgesamtsummeJeTyp = {0, 46, -1, 0, 0, 0, 0, 0, 0, -3};
    ShowResultMainType(befund());
    EXPECT_TRUE(hat("L344 T2")) << alles();
    EXPECT_FALSE(enthaelt("L344 T9")) << alles();
    EXPECT_FALSE(enthaelt("L340 L342")) << alles();
    EXPECT_FALSE(enthaelt("L340 L311")) << alles();

    // A rejected main type outweighs no wing above it, however small its rejection; beside one
    // rejected more strongly the ratio of the rejections counts: -20 against -41 is over twice.
    neu();
    gTypgesamtsummeJeTyp = {0, -20, 8, 0, 0, 0, 0, 0, 0, -41};
    ShowResultMainType(befund());
    EXPECT_TRUE(hat("L340 L322")) << alles();  // the upper wing at +8
    EXPECT_TRUE(hat("L340 L341")) << alles();  // the lower wing at -41
    EXPECT_TRUE(hat("L344 T2")) << alles();
    neu();
    gTypgesamtsummeJeTyp = {0, -20, -15, 0, 0, 0, 0, 0, 0, -27};
    ShowResultMainType(befund());
    EXPECT_TRUE(hat("L340 L322")) << alles();  // -15 lies above -20
    EXPECT_TRUE(hat("L340 L342")) << alles();  // 27 / 20 below 1.4
    EXPECT_TRUE(hat("L344 T2")) << alles();    // 15 / 27 below 0.8: the upper wing

    // A main total of 0: a wing below it is outweighed, one above it is not; two totals of 0 weigh
    // alike.
    neu();
    gTypgesamtsummeJeTyp = {0, 0, 5, 0, 0, 0, 0, 0, 0, -5};
    ShowResultMainType(befund());
    EXPECT_TRUE(hat("L340 L341")) << alles();
    EXPECT_TRUE(hat("L340 L322")) << alles();
    EXPECT_TRUE(hat("L344 T2")) << alles();
    neu();
    gTypgesamtsummeJeTyp = {0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    ShowResultMainType(befund());
    EXPECT_TRUE(hat("L340 L342")) << alles();  // the lower wing, also at 0

    // The second connected type (4 for main type 1) at or above the main type says so, and a
    // higher total is no distance of the main type, whatever the signs.
    const struct {
        int haupt, zweiter, urteil, hinweis;
    } faelle[] = {{26, 28, 322, 323},  {26, 26, 342, 324},   {27, 24, 342, 362}, {-12, 5, 322, 323},
                  {12, -12, 341, 460}, {-12, -12, 342, 324}, {-6, -12, 311, 0},  {0, 0, 342, 324}};
    anzahl(7, 0, 5);  // the first connected type's remark, so that 460 stands only for the second
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::to_string(f.haupt) + " " + std::to_string(f.zweiter));
        neu();
        gTypgesamtsummeJeTyp = {};
        gTypgesamtsummeJeTyp[1] = static_cast<int16_t>(f.haupt);
        gTypgesamtsummeJeTyp[4] = static_cast<int16_t>(f.zweiter);
        ShowResultConnectedTypes(befund(1));
        EXPECT_TRUE(hat("L359 L" + std::to_string(f.urteil))) << alles();
        for (int h : {323, 324, 361, 362, 460})
            EXPECT_EQ(enthaelt("L" + std::to_string(h)), h == f.hinweis || (h == 460 && f.hinweis == 0)) << h;
    }
}

TEST_F(Seite, ConnectedTypesNotesAtTheBounds) {
    struct Fall {
        int haupttyp, v1, v2;
        int niedrig1;  // ratings 0 and 1 of the first connected type
        int gesamt2;   // total of the second one (the main type's total is 12)
        std::vector<std::string> zeilen;
        std::vector<std::string> nicht;
    };
    const std::vector<Fall> faelle = {
        {5, 8, 7, 4, 8, {"L348  6 ", "L350  4  L351", "L359 L311"}, {"L353", "L354", "L355", "L361", "L362"}},
        {9, 3, 6, 5, 0, {"L353", "L291", "L359 L341"}, {"L361", "L362"}},
        {4, 1, 2, 10, 10, {"L354", "L291", "L361"}, {"L362"}},                // 12 / 10 = 1.2
        {1, 7, 4, 12, -12, {"L355", "L356", "L359 L341"}, {"L361", "L362"}},  // 12 against -12
        {2, 4, 8, 7, 8, {"L359 L311", "L353"}, {"L361", "L362"}},             // 12 / 8 = 1.5
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.haupttyp);
        neu();
        gAntwortAnzahlJeTyp.clear();
        gTypgesamtsummeJeTyp = {};
        gTypgesamtsummeJeTyp[f.haupttyp] = 12;
        gTypgesamtsummeJeTyp[f.v1] = 6;
        gTypgesamtsummeJeTyp[f.v2] = static_cast<int16_t>(f.gesamt2);
        anzahl(f.v1, 0, f.niedrig1 / 2);
        anzahl(f.v1, 1, f.niedrig1 - f.niedrig1 / 2);
        ShowResultConnectedTypes(befund(f.haupttyp));
        EXPECT_EQ(gHaupttyp, f.haupttyp);
        EXPECT_EQ(gVerbindungstyp1, f.v1);
        EXPECT_EQ(gVerbindungstyp2, f.v2);
        EXPECT_TRUE(hat("L347 T" + std::to_string(f.v1))) << alles();
        EXPECT_TRUE(hat("L357 T" + std::to_string(f.v2))) << alles();
        for (const std::string& z : f.zeilen) EXPECT_TRUE(enthaelt(z)) << z << "\n" << alles();
        for (const std::string& z : f.nicht) EXPECT_FALSE(enthaelt(z)) << z << "\n" << alles();
    }
}

TEST_F(Seite, DeviationClassesAtTheThresholdsAndAZeroMean) {
    // Totals of mean 8: 12 lies 0.5 above it, 4 lies 0.5 below it, both exact in single precision.
    abweichung({0, 12, 4, 8, 8, 8, 8, 8, 8, 8}, -0.5f, 0.5f);
    EXPECT_EQ(gTypsummenMittel, 8.0f);
    EXPECT_TRUE(hat("L300 08,00")) << alles();
    EXPECT_TRUE(hat("L301 00,57 L302")) << alles();
    EXPECT_TRUE(hat("L303 L304")) << alles();
    EXPECT_TRUE(hat("T1 004,00 01,50 L310")) << alles();
    EXPECT_TRUE(hat("T2 -004,00 00,50 L312")) << alles();
    EXPECT_TRUE(hat("T3 000,00 01,00 L311")) << alles();
    EXPECT_EQ(eintrag("L310")->color, 0x800000);
    EXPECT_EQ(eintrag("L311")->color, 0);

    // The default bounds -0.2 and 0.4 are not exact in binary: a total 20 % below or 40 % above
    // the mean lies on the bound and takes the outer class, as on the printed report.
    neu();
    abweichung({0, 5, 10, 15, 20, 25, 30, 35, 40, 45}, -0.2f, 0.4f);
    EXPECT_TRUE(hat("T4 -005,00 00,80 L312")) << alles();
    EXPECT_TRUE(hat("T5 000,00 01,00 L311")) << alles();
    EXPECT_TRUE(hat("T6 005,00 01,20 L311")) << alles();
    EXPECT_TRUE(hat("T7 010,00 01,40 L310")) << alles();

    neu();
    gTypgesamtsummeJeTyp = {0, 3, -3, 0, 0, 0, 0, 0, 0, 0};
    ShowResultDeviation(befund());
    EXPECT_TRUE(hat("L303 L304")) << alles();
    EXPECT_TRUE(hat("T1 003,00")) << alles();  // no ratio to a mean of 0
    EXPECT_FALSE(enthaelt("L31")) << alles();  // no class texts without a mean

    // A level above 2.3 per statement.
    neu();
    gTypgesamtsummeJeTyp = {0, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    ShowResultDeviation(befund());
    EXPECT_TRUE(hat("L303 L305")) << alles();
}

TEST_F(Seite, DeviationFromANegativeMeanClassesATotalAboveItAsAbove) {
    // Mean -25: -15 lies 40 % of the mean's size above it, -30 lies 20 % below it, both on the bounds.
    abweichung({0, -5, -10, -15, -20, -25, -30, -35, -40, -45}, -0.2f, 0.4f);
    EXPECT_EQ(gTypsummenMittel, -25.0f);
    // The quotient of a total and a negative mean is no ratio to it: the column says nothing.
    EXPECT_TRUE(hat("T1 020,00 L310")) << alles();
    EXPECT_TRUE(hat("T3 010,00 L310")) << alles();
    EXPECT_TRUE(hat("T4 005,00 L311")) << alles();
    EXPECT_TRUE(hat("T5 000,00 L311")) << alles();
    EXPECT_TRUE(hat("T6 -005,00 L312")) << alles();
    EXPECT_TRUE(hat("T9 -020,00 L312")) << alles();
    EXPECT_EQ(eintrag("L312")->color, 0x800000);

    // Bounds of 0.5 around a mean of -10, exact in binary.
    neu();
    abweichung({0, -5, -15, -10, -10, -10, -10, -10, -10, -10}, -0.5f, 0.5f);
    EXPECT_TRUE(hat("T1 005,00 L310")) << alles();
    EXPECT_TRUE(hat("T2 -005,00 L312")) << alles();
    EXPECT_TRUE(hat("T3 000,00 L311")) << alles();
}

TEST_F(Seite, RoutinesCalledInsideALoopOverTheProgramWideCounterLeaveThatLoopAlone) {
    // A caller whose own loop runs on gZaehler, as a page builder's once did around these calls.
    const std::pair<const char*, void (*)()> routinen[] = {
        {"TypnummernErsetzen", TypnummernErsetzen}, {"ShowResultDeviation", [] { ShowResultDeviation(befund()); }},
        {"ShowStatistics1", ShowStatistics1},       {"ShowStatistics2", ShowStatistics2},
        {"ShowStatistics3", ShowStatistics3},       {"ShowStatistics4", ShowStatistics4},
        {"ShowStatistics5", ShowStatistics5},       {"ShowStatistics6", ShowStatistics6}};
    gTypgesamtsummeJeTyp = {0, 12, 4, 8, 8, 8, 8, 8, 8, 8};
    gRang1Typsumme4[9] = " 3";
    for (const auto& [name, routine] : routinen) {
        int runden = 0;
        for (gZaehler = 1; gZaehler <= 3; ++gZaehler) {
            neu();
            routine();
            ++runden;
        }
        EXPECT_EQ(runden, 3) << name;
    }
    TypnummernErsetzen();
    EXPECT_EQ(gRang1Typsumme4[9], "T3");  // and the numbers are still replaced
}

TEST_F(Seite, StatisticsHighlightSevenAndFindModeMedianAndSpread) {
    gAusgabeStartY = 300;
    for (int t = 1; t <= 9; ++t) {
        anzahl(t, 2, 14);
        gAWGesamtJeTyp[t] = 14;
    }
    anzahl(1, 2, 0);
    anzahl(1, 0, 7);  // type 1: seven 0s and seven 4s
    anzahl(1, 4, 7);
    anzahl(2, 2, 8);
    anzahl(2, 1, 6);  // type 2: six 1s, eight 2s
    anzahl(3, 2, 6);
    anzahl(3, 1, 8);  // type 3: eight 1s
    anzahl(5, 2, 7);
    anzahl(5, 0, 3);  // type 5: seven ratings at or below 1, seven 2s
    anzahl(5, 1, 4);
    gAntwortAnzahlGesamt = {0, 8, 14, 96, 0, 8};
    gAWGesamtJeTyp[10] = 126;

    ShowStatistics1();
    // Counts of 7 or more stand out in the extra style, 6 does not.
    int hervor = 0, schlicht = 0;
    for (const draw::LogEntry& e : box.log()) {
        if (e.text == " 7 ") hervor += e.color == 0x800000;
        if (e.text == " 6 ") schlicht += e.color == 0;
    }
    EXPECT_EQ(hervor, 3) << alles();  // type 1's two counts and type 5's seven 2s
    EXPECT_EQ(schlicht, 2) << alles();

    neu();
    ShowStatistics4();
    // Both values of a tie, lower first, each apart from the word before it.
    EXPECT_TRUE(enthaelt("T1  L157 0     4    ")) << alles();
    EXPECT_TRUE(enthaelt("T3  L157 1    ")) << alles();
    EXPECT_TRUE(enthaelt("L252  L157 2    ")) << alles();
    EXPECT_EQ(gMaxWert, 96);

    neu();
    ShowStatistics5();
    EXPECT_TRUE(enthaelt("T1  L157 3  L371  4 ")) << alles();  // seven at or below 3, then the 4s
    EXPECT_TRUE(enthaelt("T2  L157 2 ")) << alles();
    EXPECT_TRUE(enthaelt("T3  L157 1 ")) << alles();           // eight at or below 1
    EXPECT_TRUE(enthaelt("T5  L157 1  L371  2 ")) << alles();  // exactly seven at or below 1
    EXPECT_TRUE(enthaelt("L252  L157 2 ")) << alles();

    neu();
    ShowStatistics6();
    EXPECT_TRUE(enthaelt("T4 0,0000L373")) << alles();  // every rating the same: no spread
    EXPECT_EQ(eintrag("L373          ")->color, 0x800000);
    EXPECT_TRUE(enthaelt("T1 1,0000L374")) << alles();  // half 0, half 4
}

TEST_F(Seite, HeadingWordsStackAndLongWordsAreHyphenatedWithinTheirPiece) {
    gAusgabeStartY = 300;
    const double zeile = box.TextHeight("X");
    DruckeTextUmbrochen("Typ", 2);
    DruckeTextUmbrochen("Leistungsträger", 10);  // 15 characters
    DruckeTextUmbrochen("Abenteurers", 30);      // 11: only one would remain
    DruckeTextUmbrochen("zwei Beobachte", 50);   // a word of 9 after a blank
    DruckeTextUmbrochen("Friedensstifterinnen", 70);
    DruckeTextUmbrochen("Xqzxqzxqzxqzxqz", 80);  // no hyphenation point: cut where the piece is full
    PrintWrapped("Leistungsträger", 90);
    for (const char* erstes : {"Typ", "Leistungs", "Abenteurers", "zwei", "Friedens", "Xqzxqzxqzx"}) {
        ASSERT_NE(eintrag(erstes), nullptr) << erstes;
        EXPECT_DOUBLE_EQ(eintrag(erstes)->y, 1300) << erstes;
    }
    // A word is broken at its last hyphenation point within the first 10 characters (9 later),
    // never inside a syllable.
    EXPECT_DOUBLE_EQ(eintrag("träger")->y, 1300 + zeile);
    EXPECT_DOUBLE_EQ(eintrag("Beobachte")->y, 1300 + zeile);
    EXPECT_DOUBLE_EQ(eintrag("stifterin")->y, 1300 + zeile);
    EXPECT_DOUBLE_EQ(eintrag("nen")->y, 1300 + 2 * zeile);
    EXPECT_DOUBLE_EQ(eintrag("qzxqz")->y, 1300 + zeile);
    int striche = 0;
    for (const draw::LogEntry& e : box.log()) striche += e.text == "-";
    EXPECT_EQ(striche, 4);
    ASSERT_NE(eintrag("Leistungsträger"), nullptr);  // no cut without the forced cut
    EXPECT_DOUBLE_EQ(eintrag("Leistungsträger")->y, 1300);
}

TEST_F(Seite, JoinedUnionNamesADesignationThatIsPartOfAnother) {
    RangListe x, y;
    x[8] = "Machermensch";
    x[9] = "Boss";
    y[7] = "Boss";
    y[8] = "Macher";
    y[9] = "Mensch";
    EXPECT_EQ(auswertseiten::verbunden(x), " Machermensch Boss");
    EXPECT_EQ(auswertseiten::vereinigt(x, y), " Machermensch Boss Macher Mensch");
    EXPECT_EQ(auswertseiten::alleNeun(x), "       Machermensch Boss");
    EXPECT_FALSE(auswertseiten::inGruppe1("", x));
    EXPECT_TRUE(auswertseiten::inGruppe1("Boss", x));
    EXPECT_FALSE(auswertseiten::inGruppe1("Mach", x));
}
