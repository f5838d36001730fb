#include "bericht_fixture.h"

#include "platform/db/field.h"

using namespace bericht_test;

namespace {

// The thirty stored switches by column, as the settings row holds them.
const char* kSpalten[30] = {"DruckNameKopf",           "DruckFirmaKopf",          "DruckBereichKopf",
                            "DruckAbteilungKopf",      "DruckStrasseKopf",        "DruckPLZOrtKopf",
                            "DruckLandKopf",           "DruckTelefonKopf",        "DruckFaxKopf",
                            "DruckEMailKopf",          "DruckHomepageKopf",       "DruckBemerkungKopf",
                            "TestDruckNameKopf",       "TestDruckGeburtstagKopf", "TestDruckStrasseKopf",
                            "TestDruckPLZOrtKopf",     "TestdruckLandKopf",       "TestDruckTelefonKopf",
                            "TestDruckEMailKopf",      "TestDruckBereichKopf",    "TestDruckAbteilungKopf",
                            "TestDruckBemerkungKopf",  "TestDruckTestDatumKopf",  "DruckSeitennummerKopf",
                            "DruckAktuellesDatumKopf", "DruckLinieKopf",          "DruckEnneagrammSymbol",
                            "DruckSeitennummerFuss",   "DruckAktuellesDatumFuss", "DruckLinieFuss"};

class Schalter : public BerichtTest {
protected:
    void setzeAlle(const std::string& wert) {
        std::string sql = "UPDATE Konfiguration SET ";
        for (int i = 0; i < 30; ++i) sql += std::string(i ? ", " : "") + kSpalten[i] + " = " + wert;
        programmDb->Execute(sql);
    }
    std::map<std::string, long> gespeichert() {
        std::map<std::string, long> m;
        auto rs = programmDb->OpenRecordset("select * from Konfiguration", db::RecordsetType::Snapshot);
        for (const char* s : kSpalten) {
            const vb::Variant v = rs->Fields(s).Value();
            m[s] = v.isNull() ? 99 : v.toLong();
        }
        return m;
    }
    // The thirty boxes in the order of the columns above.
    std::vector<forms::CheckBox*> kaesten(frmReport& r) {
        std::vector<forms::CheckBox*> k;
        for (auto& c : r.Check2) k.push_back(&c);
        for (int i : {0, 1, 2, 3, 10, 4, 5, 6, 7, 8, 9}) k.push_back(&r.Check3[i]);
        for (int i : {9, 10, 11, 12}) k.push_back(&r.Check1[i]);
        for (auto& c : r.Check4) k.push_back(&c);
        return k;
    }
};

}  // namespace

TEST_F(Schalter, LoadingTicksExactlyTheSwitchesStoredTrue) {
    setzeAlle("True");
    for (auto* k : kaesten(bericht())) EXPECT_EQ(k->Value(), 1);
    for (int i = 0; i <= 8; ++i) EXPECT_EQ(bericht().Check1[i].Value(), 0);  // the parts are not stored
    forms::Unload(bericht());

    setzeAlle("Null");
    for (auto* k : kaesten(bericht())) EXPECT_EQ(k->Value(), 0);
    forms::Unload(bericht());
    setzeAlle("False");
    for (auto* k : kaesten(bericht())) EXPECT_EQ(k->Value(), 0);
    // Loading the window to read a switch builds no report.
    EXPECT_EQ(dokument(), nullptr);
    EXPECT_FALSE(bericht().isVisible());
}

TEST_F(Schalter, SavingWritesAllThirtyAndReopeningShowsThem) {
    setzeAlle("True");
    frmReport& r = bericht();
    for (auto* k : kaesten(r)) k->setValue(0);
    r.Check3[10].setValue(1);
    r.Check1[3].setValue(1);
    r.Command4_Click();
    for (const auto& [spalte, wert] : gespeichert()) EXPECT_EQ(wert, spalte == "TestdruckLandKopf" ? -1 : 0) << spalte;

    forms::Unload(r);
    for (auto* k : kaesten(bericht())) EXPECT_EQ(k->Value(), k == &bericht().Check3[10] ? 1 : 0);
    EXPECT_EQ(bericht().Check1[3].Value(), 0);

    // Changes not stored are lost when the window closes.
    bericht().Check2[0].setValue(1);
    forms::Unload(bericht());
    EXPECT_EQ(gespeichert()["DruckNameKopf"], 0);
    EXPECT_EQ(bericht().Check2[0].Value(), 0);
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
}

TEST_F(Schalter, ARowWithoutOneSwitchLoadsTheSwitchesBeforeItAndStoresNone) {
    setzeAlle("True");
    programmDb->Execute("ALTER TABLE Konfiguration DROP COLUMN DruckFaxKopf");
    frmReport& r = bericht();
    const auto k = kaesten(r);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(k[i]->Value(), i < 8 ? 1 : 0) << kSpalten[i];
    EXPECT_EQ(meldungen().size(), 1u);

    r.Check2[0].setValue(0);
    r.Command4_Click();
    EXPECT_EQ(meldungen().size(), 2u);
    auto rs = programmDb->OpenRecordset("select DruckNameKopf from Konfiguration", db::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Fields(0).Value().toLong(), -1);
    EXPECT_EQ(r.Check2[0].Value(), 0);
}

TEST_F(Schalter, TheQuestionnaireReadsTheBoxesAsTheyStand) {
    setzeAlle("False");
    programmDb->Execute("UPDATE Konfiguration SET DruckAktuellesDatumKopf = True, DruckLinieFuss = True");
    auto s = druckSchalter();
    EXPECT_TRUE(s.kopfDatum);
    EXPECT_TRUE(s.fussLinie);
    EXPECT_FALSE(s.kopfSeitenzahl || s.kopfSymbol || s.fussSeitenzahl || s.fussDatum);
    // With the window open, its boxes count, saved or not.
    bericht().Check4[1].setValue(1);
    bericht().Check1[10].setValue(0);
    s = druckSchalter();
    EXPECT_TRUE(s.fussDatum);
    EXPECT_FALSE(s.kopfDatum);
}
