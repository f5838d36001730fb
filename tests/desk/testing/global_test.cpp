#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>

#include "desk/testing/druck.h"
#include "desk/testing/frm_einfuehrung.h"
#include "desk/testing/rangfolge.h"
#include "desk/testing/testverwaltung.h"
#include "fenster_fixture.h"
#include "platform/draw/printer.h"
#include "platform/forms/screen.h"
#include "support/kill_test.h"

using namespace zuvtest_test;
using namespace std::chrono_literals;

namespace {

class Programm : public FensterTest {};

}  // namespace

TEST_F(Programm, ScoringWarnsOnceAboutTheFirstGapAndRankingFillsTheProgramState) {
    gAktPersonID = neuePerson("Anna", "Berg");
    datei->Execute("UPDATE typwertzuweisung SET typrealwert = 4 WHERE typnummer = 3 AND itemnummer <> 7");
    datei->Execute("UPDATE typwertzuweisung SET typrealwert = 1 WHERE typnummer <> 3 AND itemnummer <> 7");
    gSensitivity1 = 0.85f;
    gRang1Typsumme0[9] = " 8";  // left from an earlier person
    TestAuswerten();
    TypRangfolgeBestimmen();
    EXPECT_EQ(meldungen(), std::vector<std::string>{DialogTxt(65) + "  7 " + DialogTxt(66) + "\r\n" + DialogTxt(67)});
    EXPECT_EQ(gAktAussage, 7);
    EXPECT_EQ(gAktPerson[1], "Anna");
    EXPECT_GT(gTypsumme4JeTyp[3], 0);
    EXPECT_EQ(gAntwortAnzahlJeTyp(3, 5), gTypsumme4JeTyp[3] / 4);
    EXPECT_EQ(gRang1Typsumme34[9], " 3");
    EXPECT_EQ(gRang1Typsumme0[9], "");
    EXPECT_EQ(gHaupttypEindeutig, 1);
    EXPECT_EQ(gSeitenanzahl, 12);
    // The walks of the cross-check count on their own: a caller's loop on gZaehler runs through.
    int runden = 0;
    for (gZaehler = 1; gZaehler <= 3; ++gZaehler, ++runden) typrang::rangfolgenVergleichen();
    EXPECT_EQ(runden, 3);
    EXPECT_EQ(gRang1Typsumme34[9], " 3");

    // A person without rows: no current record, and no main type is left standing.
    gAktPersonID = 4711;
    EXPECT_EQ(dbtest::errorOf([] { TypRangfolgeBestimmen(); }), vb::err::NoCurrentRecord);
    EXPECT_EQ(gHaupttypEindeutig, 0);
    EXPECT_EQ(gSeitenanzahl, 10);
    EXPECT_EQ(gRang1Typsumme34[9], "");
}

TEST_F(Programm, ItemTypeTableLoadsAtStartAndAFailureIsShown) {
    gItemNummer.clear();
    LadeTestItemTyp();
    EXPECT_EQ(gItemNummer.size(), 126u);
    EXPECT_TRUE(meldungen().empty());
    gProgrammDB = path("fehlt.sdb");
    LadeTestItemTyp();
    EXPECT_TRUE(gItemNummer.empty());
    EXPECT_TRUE(gezeigt(LabelTxt(363)));
}

TEST_F(Programm, IntroductionWindowShowsTheTextAndAMissingFileOpensNone) {
    std::ofstream(path("zuvinfo.txt"), std::ios::binary) << "Gr\x81\xe1"
                                                            "e an alle\r\nZweite Zeile\r\n";
    gStandardschriftKursiv = true;
    EinfuehrungstextAnzeigen();
    EXPECT_EQ(gEinfuehrungstext, "Grüße an alle\r\nZweite Zeile\r\n");
    auto* f = qobject_cast<forms::Form*>(gEinfuehrungFenster.data());
    ASSERT_NE(f, nullptr);
    auto* e = static_cast<frmeinfuehrung*>(f);
    EXPECT_EQ(e->Text1.Text(), "Grüße an alle\nZweite Zeile\n");
    EXPECT_TRUE(e->Text1.font().italic());  // the standard font, italic included
    // A click into the text decides whether there is something to copy.
    auto klick = [&] {
        QWidget* flaeche = static_cast<QAbstractScrollArea*>(e->Text1.editor())->viewport();
        QMouseEvent los(QEvent::MouseButtonRelease, QPointF(5, 5), flaeche->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(flaeche, &los);
    };
    e->Text1.setSelLength(0);
    klick();
    EXPECT_FALSE(e->mnuTextBearbeiten.Enabled());
    e->Text1.setSelStart(0);
    e->Text1.setSelLength(5);
    klick();
    EXPECT_TRUE(e->mnuTextBearbeiten.Enabled());
    e->mnuTextkopieren_Click();
    EXPECT_EQ(forms::Clipboard::GetText(), "Grüße");
    forms::Unload(*f);

    std::filesystem::remove(path("zuvinfo.txt"));
    gEinfuehrungFenster = nullptr;
    EinfuehrungstextAnzeigen();
    EXPECT_TRUE(gezeigt("zuvinfo.txt"));
    EXPECT_EQ(gEinfuehrungFenster.data(), nullptr);
}

TEST_F(Programm, QuestionnaireCommandAsksFirstAndPrintsOneDocument) {
    std::filesystem::copy_file(std::string(ZUV_DIST_DIR) + "/zuv_symb_druckkopf.bmp", path("zuv_symb_druckkopf.bmp"));
    auto& pr = draw::printer();
    pr.setOutputFileName(path("fragebogen.pdf"));
    host->answer(forms::vbNo);
    FragebogenDrucken(zuvtest::DruckSchalter{});
    EXPECT_TRUE(pr.writtenFiles().empty());
    host->answer(forms::vbYes);
    FragebogenDrucken(zuvtest::DruckSchalter{});
    ASSERT_EQ(pr.writtenFiles().size(), 1u);
    EXPECT_GE(gSeite, 12);
    EXPECT_EQ(gAusgabe, &pr);
    pr.setOutputFileName("");
}

// The program is killed while it saves persons: the file stays sound, and every person in it is
// whole (1 + 109 + 126 + 9 rows) or not there at all.
TEST_F(Programm, KilledWhileSavingLeavesEveryPersonWholeOrAbsent) {
    datei->Close();
    datei.reset();
    gDatenbank.reset();
    const std::string file = path("test.ZDB");
    const std::string q = "sqlite3 '" + file + "' ";
    support::killAtManyMoments(
        3, 300ms,
        [&](const std::function<void()>& bereit, const std::function<void()>& soWeit) {
            auto d = ws->OpenDatabase(file);
            bereit();
            for (int i = 0;; ++i) {
                support::neuePerson(*d, tabelle, {{"Nachname", vb::Variant("Person " + std::to_string(i))}});
                soWeit();
            }
        },
        [&](const support::KillRound& r) {
            EXPECT_TRUE(r.killed) << "round " << r.index;
            EXPECT_EQ(shell(q + "'pragma integrity_check'"), "ok\n");
            EXPECT_EQ(shell(q + "\"select count(*) from persdat p where (select count(*) from persontestergebnis a "
                                "where a.personid = p.personid) <> 109 or (select count(*) from typwertzuweisung t "
                                "where t.personid = p.personid) <> 126 or (select count(*) from ergebnis e where "
                                "e.personid = p.personid) <> 9\""),
                      "0\n");
            EXPECT_EQ(shell(q + "\"select count(*) from typwertzuweisung where personid not in (select personid from "
                                "persdat)\""),
                      "0\n");
        });
    EXPECT_NE(shell(q + "'select count(*) from persdat'"), "0\n");
}
