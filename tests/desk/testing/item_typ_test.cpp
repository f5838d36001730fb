#include <map>

#include "fixture.h"

using namespace zuvtest_test;
using zuvtest::typWertSpeichern;

TEST_F(DatenTest, ItemTypeTableIsLoadedWholeInStoredOrder) {
    ASSERT_EQ(tabelle.itemNummer.size(), 126u);
    ASSERT_EQ(tabelle.typNummer.size(), 126u);
    EXPECT_EQ(tabelle.itemNummer[0], 1);
    EXPECT_EQ(tabelle.typNummer[0], 1);
    // Every statement counts for a type, and every reversed pair is in the table.
    std::set<int> aussagen(tabelle.itemNummer.begin(), tabelle.itemNummer.end());
    EXPECT_EQ(aussagen.size(), 109u);
    std::set<std::pair<int, int>> paare;
    for (size_t k = 0; k < 126; ++k) paare.insert({tabelle.itemNummer[k], tabelle.typNummer[k]});
    for (auto p : std::vector<std::pair<int, int>>{
             {5, 9}, {5, 8}, {28, 2}, {29, 5}, {30, 3}, {32, 1}, {32, 7}, {32, 8}, {47, 7}, {63, 4}, {64, 8}, {81, 6}})
        EXPECT_TRUE(paare.count(p)) << p.first << "/" << p.second;
}

TEST_F(DatenTest, NewPersonGetsItsBlankRowsOnce) {
    const int32_t id = neuePerson("Anna", "Berg");
    EXPECT_EQ(zaehle("persontestergebnis", id), 109);
    EXPECT_EQ(zaehle("typwertzuweisung", id), 126);
    EXPECT_EQ(zaehle("ergebnis", id), 9);
    EXPECT_TRUE(zuvtest::hatTestdatensaetze(*datei, id));
    EXPECT_FALSE(zuvtest::hatTestdatensaetze(*datei, id + 1));
    auto e = datei->OpenRecordset("select * from ergebnis where personid = " + std::to_string(id));
    EXPECT_TRUE(e->Fields("typgesamtsumme").Value().isNull());
    // An outside client sees the same file.
    EXPECT_EQ(shell("sqlite3 '" + path("test.ZDB") +
                    "' 'select count(*) from TypWertZuweisung where typrealwert is null'"),
              "126\n");
}

TEST_F(DatenTest, ShortItemTypeTableLeavesNoHalfPerson) {
    tabelle.itemNummer.resize(100);
    tabelle.typNummer.resize(100);
    try {
        neuePerson("Anna", "Berg");
        ADD_FAILURE() << "a person from a short table";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::SubscriptOutOfRange);
        EXPECT_EQ(e.description(), DialogTxt(136) + "100" + DialogTxt(137) + "126" + DialogTxt(138));
    }
    datei->Rollback();
    auto p = datei->OpenRecordset("persdat", db::RecordsetType::Snapshot);
    EXPECT_EQ(p->RecordCount(), 0);
    auto a = datei->OpenRecordset("persontestergebnis", db::RecordsetType::Snapshot);
    EXPECT_EQ(a->RecordCount(), 0);
}

TEST_F(DatenTest, LongerItemTypeTableGivesTheFirst126Pairs) {
    tabelle.itemNummer.push_back(1);
    tabelle.typNummer.push_back(9);
    const int32_t id = neuePerson("Anna", "Berg");
    EXPECT_EQ(zaehle("typwertzuweisung", id), 126);
}

TEST_F(DatenTest, RatingReachesEveryTypeRowOfItsStatementReversedWhereTheTableSays) {
    const int32_t id = neuePerson("Anna", "Berg");
    auto rs = datei->OpenRecordset("select * from typwertzuweisung where personid like " + std::to_string(id));

    EXPECT_EQ(typWertSpeichern(*rs, 32, vb::Variant(int16_t(3))), 3);
    EXPECT_EQ(typWerte(id, 32), (std::map<int, std::string>{{1, "1"}, {7, "3"}, {8, "3"}}));

    typWertSpeichern(*rs, 5, vb::Variant(int16_t(0)));
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, "0"}, {9, "4"}}));

    typWertSpeichern(*rs, 10, vb::Variant(int16_t(2)));
    for (auto& [typ, wert] : typWerte(id, 10)) EXPECT_EQ(wert, "2") << typ;

    // Rated again: overwritten; cleared: empty again, the reversed row included.
    typWertSpeichern(*rs, 5, vb::Variant(int16_t(4)));
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, "4"}, {9, "0"}}));
    typWertSpeichern(*rs, 5, vb::Variant::null());
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, ""}, {9, ""}}));
    // Statement 1 and 11 are different statements: "like  1" must not touch 10 to 19.
    typWertSpeichern(*rs, 1, vb::Variant(int16_t(1)));
    for (auto& [typ, wert] : typWerte(id, 11)) EXPECT_EQ(wert, "") << typ;
}

TEST_F(DatenTest, MappingStatementRowOfAnUnlistedTypeKeepsItsValue) {
    vb::Variant out;
    EXPECT_FALSE(zuvtest::typRealWert(32, 4, vb::Variant(int16_t(3)), out));
    EXPECT_TRUE(zuvtest::typRealWert(32, 1, vb::Variant(int16_t(3)), out));
    EXPECT_EQ(out.toInt(), 1);
    EXPECT_TRUE(zuvtest::typRealWert(33, 4, vb::Variant(int16_t(3)), out));
    EXPECT_EQ(out.toInt(), 3);
}

TEST_F(DatenTest, StatementWithoutRowsWritesNothing) {
    const int32_t id = neuePerson("Anna", "Berg");
    auto rs = datei->OpenRecordset("select * from typwertzuweisung where personid like " + std::to_string(id));
    rs->MoveLast();
    EXPECT_EQ(typWertSpeichern(*rs, 110, vb::Variant(int16_t(3))), 0);
    auto alle = datei->OpenRecordset("select * from typwertzuweisung where typrealwert is not null",
                                     db::RecordsetType::Snapshot);
    EXPECT_EQ(alle->RecordCount(), 0);
}

// A rating, rated again, cleared: the answer row and the statement's item-type rows change together,
// and a rating that fails half-way leaves the one before it in both.
TEST_F(DatenTest, RatingsAreStoredWithTheirItemTypeRowsOrNotAtAll) {
    const int32_t id = neuePerson("Anna", "Berg");
    db::DataControl antworten, typen;
    for (auto [dc, tabelleName] : {std::pair{&antworten, "persontestergebnis"}, std::pair{&typen, "typwertzuweisung"}}) {
        dc->setDatabaseName(path("test.ZDB"));
        dc->setRecordSource(std::string("select * from ") + tabelleName + " where personid like " + std::to_string(id));
        dc->Refresh();
    }
    auto bewerte = [&](int aussage, const vb::Variant& wert) {
        antworten.Recordset()->FindFirst("itemnummer like " + std::to_string(aussage));
        zuvtest::bewertungSpeichern(*antworten.Database(), *antworten.Recordset(), *typen.Recordset(), aussage, wert);
    };
    auto antwort = [&](int aussage) {
        auto rs = datei->OpenRecordset("select * from persontestergebnis where personid = " + std::to_string(id) +
                                           " and itemnummer = " + std::to_string(aussage),
                                       db::RecordsetType::Snapshot);
        const vb::Variant v = rs->Fields("itemwert").Value();
        return v.isNull() ? std::string() : v.toString();
    };
    bewerte(5, vb::Variant(int16_t(0)));
    EXPECT_EQ(antwort(5), "0");
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, "0"}, {9, "4"}}));
    bewerte(5, vb::Variant(int16_t(3)));  // rated again
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, "3"}, {9, "1"}}));
    bewerte(5, vb::Variant::null());  // cleared
    EXPECT_EQ(antwort(5), "");
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, ""}, {9, ""}}));

    // The file refuses one of the statement's item-type rows (here a trigger of another program
    // does): the rating is refused as a whole, and the answer keeps its former value like the rows.
    bewerte(32, vb::Variant(int16_t(2)));
    EXPECT_EQ(shell("sqlite3 '" + path("test.ZDB") +
                    "' \"CREATE TRIGGER nein BEFORE UPDATE ON TypWertZuweisung WHEN new.ItemNummer = 32 AND "
                    "new.TypNummer = 8 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END\""),
              "");
    EXPECT_NE(dbtest::errorOf([&] { bewerte(32, vb::Variant(int16_t(4))); }), 0);
    EXPECT_EQ(antwort(32), "2");
    EXPECT_EQ(typWerte(id, 32), (std::map<int, std::string>{{1, "2"}, {7, "2"}, {8, "2"}}));
    EXPECT_EQ(shell("sqlite3 '" + path("test.ZDB") + "' 'pragma integrity_check'"), "ok\n");
}
