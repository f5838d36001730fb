#include <map>

#include "desk/testing/auswertung.h"
#include "fixture.h"

using namespace zuvtest_test;
using zuvtest::RangListe;

namespace {

class Auswertung : public DatenTest {
protected:
    void SetUp() override {
        DatenTest::SetUp();
        id = neuePerson("Anna", "Berg");
    }

    // Every item-type row of the person gets a value (as the test form would leave them).
    void alleWerte(int16_t wert) {
        datei->Execute("UPDATE typwertzuweisung SET typrealwert = " + std::to_string(wert) +
                       " WHERE personid = " + std::to_string(id));
    }

    zuvtest::Auswertung auswerten(int16_t* luecke = nullptr) {
        zuvtest::AuswertCursor c{d1, d2, d3};
        const int16_t l = zuvtest::auswertCursorBinden(c, path("test.ZDB"), id);
        if (luecke) *luecke = l;
        return zuvtest::punkteBerechnen(c);
    }

    // Total and 3-and-4 score per type, straight into the result rows.
    void setzeErgebnis(const std::vector<int>& gesamt, const std::vector<int>& summe34) {
        for (int t = 1; t <= 9; ++t)
            datei->Execute("UPDATE ergebnis SET typgesamtsumme = " + std::to_string(gesamt[t - 1]) +
                           ", typsumme34 = " + std::to_string(summe34[t - 1]) +
                           " WHERE personid = " + std::to_string(id) + " AND typnummer = " + std::to_string(t));
    }

    zuvtest::Rangfolge rang(float schwelle = 0.85f) {
        return zuvtest::typRangfolgeBestimmen(d2, path("test.ZDB"), id, schwelle);
    }

    int32_t id = 0;
    db::DataControl d1, d2, d3;
};

RangListe liste(std::map<int, std::string> elemente) {
    RangListe l;
    for (auto& [i, t] : elemente) l[i] = t;
    return l;
}

}  // namespace

TEST_F(Auswertung, AllTwosCountTwoPerRowOfEachType) {
    alleWerte(2);
    int16_t luecke = -1;
    const auto a = auswerten(&luecke);
    EXPECT_EQ(luecke, 0);
    EXPECT_EQ(a.vorname, "Anna");
    EXPECT_EQ(a.testdatum, "01.02.2026");
    std::map<int, int> zeilenJeTyp;
    for (size_t k = 0; k < 126; ++k) ++zeilenJeTyp[tabelle.typNummer[k]];
    for (int t = 1; t <= 9; ++t) {
        EXPECT_EQ(a.punkte.summe2[t], 2 * zeilenJeTyp[t]);
        EXPECT_EQ(a.punkte.gesamt[t], 2 * zeilenJeTyp[t]);
        EXPECT_EQ(a.punkte.summe0[t] + a.punkte.summe1[t] + a.punkte.summe34[t] + a.punkte.summe01[t], 0);
        EXPECT_EQ(a.punkte.anzahl(t, 3), zeilenJeTyp[t]);
        EXPECT_EQ(a.punkte.awGesamt[t], zeilenJeTyp[t]);
    }
    EXPECT_EQ(a.punkte.awGesamt[10], 126);
    EXPECT_EQ(a.punkte.antwortAnzahlGesamt[3], 126);
    // The result rows hold the same figures.
    auto e = datei->OpenRecordset("select * from ergebnis where personid = " + std::to_string(id) + " and typnummer = 4",
                                  db::RecordsetType::Snapshot);
    EXPECT_EQ(e->Fields("typsumme2").Value().toInt(), 2 * zeilenJeTyp[4]);
    EXPECT_EQ(e->Fields("aw2").Value().toInt(), zeilenJeTyp[4]);
    EXPECT_EQ(e->Fields("aw0").Value().toInt(), 0);
}

TEST_F(Auswertung, ZeroAndFourOnOneTypeAndReversedPairsCountAsStored) {
    // Two rows of type 4 rated 0 and 4, nothing else rated.
    auto rs = datei->OpenRecordset("select * from typwertzuweisung where personid = " + std::to_string(id) +
                                   " and typnummer = 4");
    rs->Edit();
    rs->Fields("typrealwert") = int16_t(0);
    rs->Update();
    rs->MoveNext();
    rs->Edit();
    rs->Fields("typrealwert") = int16_t(4);
    rs->Update();
    // Statement 5 rated 0: type 9 holds 4 already reversed.
    auto alle = datei->OpenRecordset("select * from typwertzuweisung where personid = " + std::to_string(id));
    zuvtest::typWertSpeichern(*alle, 5, vb::Variant(int16_t(0)));

    int16_t luecke = 0;
    const auto p = auswerten(&luecke).punkte;
    EXPECT_EQ(luecke, 1);
    EXPECT_EQ(p.summe0[4], -2);
    EXPECT_EQ(p.summe01[4], -2);
    EXPECT_EQ(p.summe4[4], 4);
    EXPECT_EQ(p.summe34[4], 4);
    EXPECT_EQ(p.gesamt[4], 2);
    EXPECT_EQ(p.anzahl(4, 1), 1);
    EXPECT_EQ(p.anzahl(4, 5), 1);
    EXPECT_EQ(p.summe4[9], 4);
    EXPECT_EQ(p.summe0[8], -2);
    EXPECT_EQ(p.awGesamt[10], 4);
}

TEST_F(Auswertung, NoRatingsGiveZerosAndNameTheFirstStatement) {
    int16_t luecke = 0;
    const auto p = auswerten(&luecke).punkte;
    EXPECT_EQ(luecke, 1);
    for (int t = 0; t <= 9; ++t) EXPECT_EQ(p.gesamt[t], 0);
    EXPECT_EQ(p.awGesamt[10], 0);
    auto e = datei->OpenRecordset("select * from ergebnis where personid = " + std::to_string(id),
                                  db::RecordsetType::Snapshot);
    EXPECT_EQ(e->Fields("typgesamtsumme").Value().toInt(), 0);  // rewritten with zeros
}

TEST_F(Auswertung, PersonWithEmptyNameAndDateCanStillBeScored) {
    datei->Execute("UPDATE persdat SET vorname = NULL, testdatum = NULL WHERE personid = " + std::to_string(id));
    alleWerte(3);
    const auto a = auswerten();
    EXPECT_EQ(a.vorname, "");
    EXPECT_EQ(a.testdatum, "");
    EXPECT_GT(a.punkte.summe34[1], 0);
}

TEST_F(Auswertung, PersonWithoutRowsIsNoCurrentRecord) {
    id = 999;
    EXPECT_EQ(dbtest::errorOf([&] { auswerten(); }), vb::err::NoCurrentRecord);
    EXPECT_EQ(dbtest::errorOf([&] { rang(); }), vb::err::NoCurrentRecord);
}

TEST_F(Auswertung, TotalWalkMeasuresEachRowAgainstTheOneBefore) {
    setzeErgebnis({30, 27, 27, 20, 10, 10, 10, 10, 10}, {5, 0, 0, 0, 0, 0, 0, 0, 0});
    const auto r = rang();
    EXPECT_EQ(r.spitzeGesamt, 30);
    EXPECT_EQ(r.rang1Gesamt, liste({{9, " 1"}, {7, " 3"}}));
    EXPECT_EQ(r.rang2Gesamt, liste({{8, " 2"}}));
    EXPECT_EQ(r.haupttyp, 2);

    setzeErgebnis({30, 26, 26, 5, 5, 5, 5, 5, 5}, {5, 0, 0, 0, 0, 0, 0, 0, 0});
    const auto r2 = rang();
    EXPECT_EQ(r2.rang1Gesamt, liste({{9, " 1"}, {7, " 3"}}));
    EXPECT_EQ(r2.rang2Gesamt, liste({{8, " 2"}}));
}

TEST_F(Auswertung, SumOfThreesAndFoursIsMeasuredAgainstTheTopWithTheSingleThreshold) {
    setzeErgebnis({9, 8, 7, 6, 5, 4, 3, 2, 1}, {20, 18, 18, 16, 0, 0, 0, 0, 0});
    auto r = rang();
    EXPECT_EQ(r.rang1Summe34, liste({{9, " 1"}}));
    EXPECT_EQ(r.rang2Summe34, liste({{8, " 2"}, {7, " 3"}}));
    EXPECT_EQ(r.anzahlRang1, 1);

    // 17 / 20 = 0.85 does not reach the stored threshold, which is 0.8500000238.
    setzeErgebnis({9, 8, 7, 6, 5, 4, 3, 2, 1}, {20, 17, 0, 0, 0, 0, 0, 0, 0});
    r = rang();
    EXPECT_EQ(r.rang2Summe34, RangListe{});

    setzeErgebnis({9, 8, 7, 6, 5, 4, 3, 2, 1}, {20, 20, 18, 0, 0, 0, 0, 0, 0});
    r = rang();
    EXPECT_EQ(r.anzahlRang1, 2);
}

TEST_F(Auswertung, AllZeroScoresPutEveryTypeInGroupOneWithoutMainType) {
    setzeErgebnis({0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    const auto r = rang();
    EXPECT_EQ(r.anzahlRang1, 9);
    EXPECT_EQ(r.haupttyp, 9);
    EXPECT_EQ(r.rang1Gesamt[1], " 9");
}

TEST_F(Auswertung, ZeroTopTotalTakesTheReferenceAnewAndThresholdZeroTakesAllFollowers) {
    setzeErgebnis({0, 0, -4, -20, -30, -40, -50, -60, -70}, {8, 4, 2, 1, 0, 0, 0, 0, 0});
    auto r = rang(0.0f);
    EXPECT_EQ(r.rang1Gesamt, liste({{9, " 1"}, {8, " 2"}, {7, " 3"}}));
    // Below a negative reference every lower score passes the ratio test.
    EXPECT_EQ(r.rang2Gesamt[6], " 4");
    EXPECT_EQ(r.rang2Summe34,
              liste({{8, " 2"}, {7, " 3"}, {6, " 4"}, {5, " 5"}, {4, " 6"}, {3, " 7"}, {2, " 8"}, {1, " 9"}}));
}
