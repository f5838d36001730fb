// Result windows left open while the person's answers change: a test broken off and finished later
// in the test window of this program, and ratings written by another program. Every window that
// shows the person's scores, and what it prints or copies, follows the answers as stored now.

#include <filesystem>

#include "auswert_fixture.h"
#include "desk/evaluation/form15.h"
#include "desk/evaluation/form2.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/recordset.h"

using namespace auswert_test;

namespace {

class Nachfuehren : public AuswertTest {
protected:
    // Nothing rated yet: every item-type row empty.
    int32_t leerePerson() { return person("Clara", "Zorn", jederTyp({0, 0, 0, 0, 0})); }

    // Ratings typed into the test window, statement by statement from `von` to `bis`.
    void bewerten(int von, int bis, auto wert) {
        gAktAussage = static_cast<int16_t>(von);
        TestZeigen();
        frmTest& t = forms::Instance<frmTest>();
        ASSERT_TRUE(t.isLoaded());
        for (int n = von; n <= bis; ++n) {
            ASSERT_EQ(gAktAussage, n);
            t.Text1.setText(std::to_string(wert(n)));
            t.Befehl6_Click();
        }
        if (t.isLoaded()) forms::Unload(t);
    }

    // The total score per type as the rule gives it from the stored item-type rows.
    std::array<int, 10> gesamtAusZeilen(int32_t id) {
        std::array<int, 10> g{};
        auto rs = gDatenbank->OpenRecordset("select typnummer, typrealwert from typwertzuweisung where personid = " +
                                                std::to_string(id),
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            const vb::Variant w = rs->Fields("typrealwert").Value();
            if (w.isNull()) continue;
            const int v = w.toInt();
            g[rs->Fields("typnummer").Value().toInt()] += v == 0 ? -2 : v == 1 ? -1 : v;
        }
        return g;
    }
    // The stored total of each type's result row.
    std::array<int, 10> gesamtGespeichert(int32_t id) {
        std::array<int, 10> g{};
        auto rs = gDatenbank->OpenRecordset("select typnummer, typgesamtsumme from ergebnis where personid = " +
                                                std::to_string(id),
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            g[rs->Fields("typnummer").Value().toInt()] = rs->Fields("typgesamtsumme").Value().toInt();
        return g;
    }
    static int hoechste(const std::array<int, 10>& g) { return *std::max_element(g.begin() + 1, g.end()); }

    // The line of page 1 that names the top total.
    static std::string spitzenzeile(const auswertform& f) {
        for (const std::string& z : f.Bild1.pageLines(1))
            if (z.find("Gesamtpunktzahl:") != std::string::npos) return z;
        return "(keine)";
    }
    static bool nenntSpitze(const auswertform& f, int spitze) {
        return spitzenzeile(f).find(vb::Str(spitze) + " ") != std::string::npos;
    }
};

}  // namespace

TEST_F(Nachfuehren, AnOpenEvaluationFollowsTheTestFinishedInThisProgramAndPrintsTheNewPage) {
    const int32_t id = leerePerson();
    waehle(id);
    bewerten(1, 40, [](int n) { return n % 3 == 0 ? 4 : 2; });
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    const int vorher = hoechste(gesamtAusZeilen(id));
    EXPECT_TRUE(nenntSpitze(*a, vorher)) << spitzenzeile(*a);

    // The client finishes the test while the window stays open: each rating stored redraws it.
    bewerten(41, 109, [](int n) { return n % 5 == 0 ? 1 : 4; });
    const std::array<int, 10> nachher = gesamtAusZeilen(id);
    ASSERT_NE(hoechste(nachher), vorher);
    EXPECT_TRUE(nenntSpitze(*a, hoechste(nachher))) << spitzenzeile(*a);
    EXPECT_EQ(gesamtGespeichert(id), nachher);

    // Paged away and back, and printed: the new scores, as a window opened now shows them.
    a->SSCommand2_Click();
    a->SSCommand1_Click();
    EXPECT_TRUE(nenntSpitze(*a, hoechste(nachher))) << spitzenzeile(*a);
    h().clearRecords();
    a->Befehl6_Click();
    const QImage gedruckt(QString::fromStdString((std::filesystem::path(gAppPath) / "ZUVAktuelleSeite.bmp").string()));
    forms::Unload(forms::Instance<frmReport>());
    auswertform* neu = auswertung();
    ASSERT_NE(neu, nullptr);
    EXPECT_EQ(text(*neu), text(*a));
    EXPECT_EQ(neu->Label2.Caption(), a->Label2.Caption());
    a->Show();
    EXPECT_EQ(gedruckt.convertToFormat(QImage::Format_RGB32), a->SeiteFuerPapier().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Nachfuehren, RatingsWrittenByAnotherProgramAreScoredBeforeTheWindowShowsOrPrints) {
    const int32_t id = person("Ida", "Roth", jederTyp({2, 2, 6, 2, 2}));
    waehle(id);
    auswertform* a = auswertung();
    ASSERT_NE(a, nullptr);
    const std::string vorherText = text(*a);

    // Another program rates every statement 4 on the same file.
    support::run("sqlite3 '" + gDatenbankName +
                 "' \"update typwertzuweisung set typrealwert = 4 where personid = " + std::to_string(id) + "\"");
    ASSERT_EQ(Antwortstand(id).find("-;"), std::string::npos);
    const std::array<int, 10> nachher = gesamtAusZeilen(id);

    // Printed straight away, without the window shown anew first: the page for paper is the new one.
    h().clearRecords();
    a->Befehl6_Click();
    forms::Unload(forms::Instance<frmReport>());
    EXPECT_NE(text(*a), vorherText);
    EXPECT_TRUE(nenntSpitze(*a, hoechste(nachher))) << spitzenzeile(*a);
    EXPECT_EQ(gesamtGespeichert(id), nachher);
}

TEST_F(Nachfuehren, EnneagramAndAnswerTableFollowTheRatingsToo) {
    const int32_t id = leerePerson();
    waehle(id);
    bewerten(1, 40, [](int) { return 2; });
    mdi().mnuEnneagramm.choose();
    Form2* e = dynamic_cast<Form2*>(mdi().ActiveForm());
    ASSERT_NE(e, nullptr);
    mdi().mnuTabelle.choose();
    Form15* t = dynamic_cast<Form15*>(mdi().ActiveForm());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Grid1.TextMatrix(1, 5), "0");  // no rating 4 yet

    bewerten(41, 109, [](int) { return 4; });
    const std::array<int, 10> nachher = gesamtAusZeilen(id);
    for (int typ = 1; typ <= 9; ++typ) EXPECT_EQ(t->Grid1.TextMatrix(typ, 6), std::to_string(nachher[typ])) << typ;
    EXPECT_NE(t->Tabellentext().find("\t" + std::to_string(nachher[1]) + "\r\n"), std::string::npos);
    // The enneagram's bars show the scores of the answers as stored now.
    EXPECT_EQ(e->Werte().summe34, EnneagrammWerte::aktuelle().summe34);
    EXPECT_NE(e->Werte().summe34[1], 0);

    // A person no longer the current one is scored on its own when its answers change elsewhere.
    waehle(person("Otto", "Lang", jederTyp({2, 2, 6, 2, 2})));
    support::run("sqlite3 '" + gDatenbankName +
                 "' \"update typwertzuweisung set typrealwert = 0 where personid = " + std::to_string(id) + "\"");
    e->Show();  // activated
    EXPECT_EQ(e->Werte().summe34[1], 0);
    EXPECT_EQ(e->Werte().summe0[1], -28);
    t->Show();
    for (int typ = 1; typ <= 9; ++typ) EXPECT_EQ(t->Grid1.TextMatrix(typ, 6), "-28") << typ;
    EXPECT_EQ(gesamtGespeichert(id)[1], -28);
}
