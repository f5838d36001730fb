#include "bericht_fixture.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <filesystem>

#include "desk/charts/frm_chart_opt.h"
#include "desk/common/form4.h"
#include "desk/common/main_window_port.h"
#include "desk/reports/druckzeile.h"
#include "platform/db/field.h"
#include "platform/draw/printer.h"
#include "platform/files/paths.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "support/konten.h"

using namespace bericht_test;
namespace fs = std::filesystem;

namespace {

class Bericht : public BerichtTest {
protected:
    void TearDown() override {
        draw::printer().setOutputFileName("");
        BerichtTest::TearDown();
    }
    bool unterdrueckt(int bereich) { return layout()->Sections(bereich).Suppress(); }
    report::ReportObject* objekt(report::Report& r, const std::string& bereich, const std::string& name) {
        auto& s = r.Sections(bereich);
        for (int i = 1; i <= s.ReportObjectCount(); ++i)
            if (s.ReportObjects(i).Name() == name) return &s.ReportObjects(i);
        return nullptr;
    }
    // Rows a report before this one left in the print table.
    void alteZeilen() {
        DrucktabelleBinden();
        SchreibeDruckzeile(1, 1, "vom letzten Bericht", "DE");
        HauptDaten(5).close();
    }
};

}  // namespace

TEST_F(Bericht, TheFullReportPrintsEveryChosenFigureOfThePersonDrawnForTheSheet) {
    // Bitmaps of an earlier run, of nobody known, and one missing: none of them is placed as it is.
    alleBilder();
    std::remove(path("ZUVGrafik2.bmp").c_str());
    oeffnen({0, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    ASSERT_NE(dokument(), nullptr);
    EXPECT_EQ(layout()->Name(), "ZUVReport1");
    for (int b = 4; b <= 10; ++b) EXPECT_FALSE(unterdrueckt(b)) << b;
    EXPECT_EQ(bericht().CrystalReport1.Zoom(), 50);
    EXPECT_EQ(bericht().SSTab1.Tab(), 0);
    EXPECT_EQ(bericht().MousePointer(), forms::vbDefault);
    // The status line said what happened and is back to its idle text.
    ASSERT_GE(haupt.status.size(), 2u);
    EXPECT_NE(std::find(haupt.status.begin(), haupt.status.end(), LabelTxt(458)), haupt.status.end());
    EXPECT_EQ(haupt.status.back(), LabelTxt(5));
    // The scoring ran for the evaluation pages and left the report's thresholds.
    EXPECT_FLOAT_EQ(gSensitivity1, 0.85f);
    EXPECT_FLOAT_EQ(gSensitivity2, 0.4f);
    EXPECT_NE(zeilen("select sum(abs(TypGesamtSumme)) from Ergebnis"), 0);

    // Every figure drawn anew for the printable width at print resolution, and placed at that width.
    for (const char* n : {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp", "ZUVGrafik2.bmp", "ZUVGrafik3.bmp", "ZUVTabelle.bmp"}) {
        const QImage b(QString::fromStdString(path(n)));
        EXPECT_GE(b.width() * 1440.0 / 9638, 200) << n;
    }
    for (const auto& [teil, bereich] : {std::pair{"Enneagramm.rpt", "DetailSection1"},
                                        {"Grafik3.rpt", "ReportFooterSection1"},
                                        {"Tabelle.rpt", "ReportFooterSection1"}}) {
        auto* bild = objekt(layout()->OpenSubreport(teil), bereich, "Bild1");
        EXPECT_EQ(bild->Width(), 9638) << teil;
        EXPECT_EQ(bild->Left(), 0) << teil;
    }
    int bilder = 0;
    const report::Document* d = dokument();
    for (int p = 0; p < d->pageCount(); ++p)
        for (const auto& it : d->page(p))
            if (it.type == report::Item::Type::Picture && it.w > 2000) ++bilder;
    EXPECT_EQ(bilder, 5);
}

TEST_F(Bericht, LayoutsAndLetterheadFromTheProgramFolderAndTheFiguresFromTheDataFolderAllPrint) {
    // Where the program folder cannot be written, the layouts and the letterhead stay where they
    // were installed and the data folder holds only what the program draws.
    QTemporaryDir programm;
    ASSERT_TRUE(programm.isValid());
    const support::PutBack zurueck([vorher = files::programFolder()] { files::setProgramFolder(vorher); });
    files::setProgramFolder(programm.path().toStdString());
    for (const char* n : kLayouts) fs::rename(path(n), programm.path().toStdString() + "/" + n);
    oeffnen({0, 2, 3, 4, 5, 8});
    const std::vector<std::string> m = meldungen();
    const report::Document* d = dokument();
    ASSERT_TRUE(m.empty()) << m.front();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(layout()->folder(), programm.path().toStdString());
    int figuren = 0, briefkoepfe = 0;
    for (int p = 0; p < d->pageCount(); ++p)
        for (const auto& it : d->page(p))
            if (it.type == report::Item::Type::Picture) ++(it.w > 2000 ? figuren : briefkoepfe);
    EXPECT_EQ(figuren, 5);
    EXPECT_GE(briefkoepfe, 1);
    for (const char* n : {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp", "ZUVTabelle.bmp"})
        EXPECT_FALSE(fs::exists(programm.path().toStdString() + "/" + n)) << n;
}

TEST_F(Bericht, WithNoPartChosenTheFullReportHasOnlyItsFrameAndThePrintTableStaysEmpty) {
    alleBilder();
    alteZeilen();
    oeffnen({});
    for (int b = 4; b <= 10; ++b) EXPECT_TRUE(unterdrueckt(b)) << b;
    EXPECT_EQ(dokument()->pageCount(), 1);
    EXPECT_EQ(zeilen("select count(*) from Drucktabelle"), 0);
}

TEST_F(Bericht, StatisticsAloneScoresTheTestButLeavesTheThresholdsAndTheOtherParts) {
    alleBilder();
    gSensitivity1 = 0.7f;
    gSensitivity2 = 0.3f;
    oeffnen({7});
    for (int b = 4; b <= 9; ++b) EXPECT_TRUE(unterdrueckt(b)) << b;
    EXPECT_FALSE(unterdrueckt(10));
    EXPECT_FLOAT_EQ(gSensitivity1, 0.7f);
    EXPECT_FLOAT_EQ(gSensitivity2, 0.3f);
    EXPECT_NE(zeilen("select sum(AWGesamt) from Ergebnis"), 0);
}

TEST_F(Bericht, TheSwitchesHideTheirObjectsInHeaderAndFooter) {
    frmReport& r = bericht();
    for (auto& c : r.Check2) c.setValue(1);
    for (auto& c : r.Check3) c.setValue(1);
    for (int i = 9; i <= 12; ++i) r.Check1[i].setValue(1);
    for (auto& c : r.Check4) c.setValue(1);
    r.Check2[3].setValue(0);   // department: the area and department line goes
    r.Check3[9].setValue(0);   // the test date
    r.Check4[0].setValue(0);   // the page number in the footer
    r.Check1[11].setValue(0);  // the header rule
    oeffnen({2});
    auto& brief = layout()->OpenSubreport("ZUVHeader1.rpt");
    auto& getestet = layout()->OpenSubreport("ZUVHeader2.rpt");
    EXPECT_TRUE(objekt(brief, "D", "BereichAbteilung1")->Suppress());
    EXPECT_FALSE(objekt(brief, "D", "Name1")->Suppress());
    EXPECT_FALSE(objekt(brief, "D", "Picture2")->Suppress());
    EXPECT_TRUE(objekt(getestet, "D", "Testdatum1")->Suppress());
    EXPECT_FALSE(objekt(getestet, "D", "BereichAbteilung1")->Suppress());
    EXPECT_TRUE(objekt(*layout(), "PageFooterSection1", "Seitenzahl1")->Suppress());
    EXPECT_FALSE(objekt(*layout(), "PageFooterSection1", "Druckdatum2")->Suppress());
    EXPECT_TRUE(objekt(*layout(), "PageHeaderSection1", "LinieKopf1")->Suppress());

    const auto text = alleZeilen();
    const std::string heute = vb::Format(vb::Date(), "dd.mm.yyyy");
    EXPECT_TRUE(enthaelt(text, "Erika Muster"));
    EXPECT_TRUE(enthaelt(text, heute));
    EXPECT_FALSE(enthaelt(text, "Testdatum"));
    EXPECT_FALSE(enthaelt(text, " von "));
    EXPECT_TRUE(enthaelt(text, "Seite 1"));  // the header's page number
}

TEST_F(Bericht, ALongLetterheadLineBreaksBetweenWordsOnlyOrIsSetSmaller) {
    const std::string mail = "praxis@gross-luedenscheidt.example.de";
    const std::string firma = "Praxis für Gesprächstherapie, Paarberatung und Supervision Groß-Lüdenscheidt";
    support::run("sqlite3 " + support::shellQuote(path("zuv.sdb")) + " \"update Konfiguration set Mail = '" + mail +
                 "', Firma = '" + firma + "'\"");
    frmReport& r = bericht();
    for (auto& c : r.Check2) c.setValue(1);
    oeffnen({2});
    const report::Document* d = dokument();
    ASSERT_NE(d, nullptr);
    ASSERT_GE(d->pageCount(), 1);
    const std::string worte = " " + firma + " ";
    for (int p : {0, d->pageCount() - 1}) {
        SCOPED_TRACE(p);
        int ganz = 0;
        std::string firmaZeilen;
        for (const report::Item& it : d->page(p)) {
            if (it.type != report::Item::Type::Text) continue;
            if (it.text == mail) {
                ++ganz;
                EXPECT_LT(it.font.size, 8);  // set smaller to fit its box of 2700 twips
                EXPECT_LE(it.w, 2700 + 1);
            } else {
                EXPECT_EQ(it.text.find("praxis@"), std::string::npos) << it.text;
                EXPECT_EQ(it.text.find("example.de"), std::string::npos) << it.text;
            }
            if (firma.find(it.text) != std::string::npos && it.text.size() > 3) {
                // Each line of the company name begins and ends at a word's edge.
                EXPECT_NE(worte.find(" " + it.text + " "), std::string::npos) << it.text;
                firmaZeilen += (firmaZeilen.empty() ? "" : " ") + it.text;
            }
        }
        EXPECT_EQ(ganz, 1);
        EXPECT_EQ(firmaZeilen, firma);
    }
}

TEST_F(Bericht, CurrentPageAndTwoPersonReportsPlaceTheirPictureOrSayWhyItIsMissing) {
    bild("ZUVAktuelleSeite.bmp", 1000, 1400);
    oeffnen({0, 6}, true);
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(layout()->Name(), "ZUVReport2");
    // A screen's picture of 96 dpi is wider than the upright sheet: the sheet is turned.
    auto& seite = layout()->OpenSubreport("AktuelleSeite.rpt");
    EXPECT_TRUE(layout()->page().landscape());
    EXPECT_EQ(objekt(seite, "DetailSection1", "Bild1")->Width(), 16838 - 2 * 1134);
    EXPECT_TRUE(objekt(seite, "DetailSection1", "Hinweis1")->Suppress());
    // The chosen pages are written, but the layout shows only the page handed over.
    EXPECT_FALSE(unterdrueckt(4));
    forms::Unload(bericht());

    // The two persons' chart, drawn for the sheet, is placed at the sheet's printable width.
    bild("ZUVVergleich.bmp", 1607, 1205);
    oeffnen({}, false, true);
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(objekt(layout()->OpenSubreport("ZUVVergleich.rpt"), "DetailSection1", "Bild1")->Width(), 9638);
    forms::Unload(bericht());

    std::remove(path("ZUVVergleich.bmp").c_str());
    oeffnen({}, false, true);
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    EXPECT_EQ(layout()->Name(), "ZUVReport3");
    auto& vergleich = layout()->OpenSubreport("ZUVVergleich.rpt");
    EXPECT_TRUE(objekt(vergleich, "DetailSection1", "Bild1")->Suppress());
    EXPECT_FALSE(objekt(vergleich, "DetailSection1", "Hinweis1")->Suppress());
    EXPECT_TRUE(enthaelt(alleZeilen(), "liegt nicht als Bild vor"));
}

TEST_F(Bericht, EachActivationFromAnotherWindowBuildsAgainButItsOwnDialogsDoNot) {
    oeffnen({0});
    auto laeufe = [&] { return std::count(haupt.status.begin(), haupt.status.end(), LabelTxt(458)); };
    EXPECT_EQ(laeufe(), 1);
    forms::MsgBox("Zwischenfrage");  // a box of its own returns to the window without a new pass
    bericht().activateSelf();
    EXPECT_EQ(laeufe(), 1);
    forms::Default<Form4>();  // another window of the program, then back
    forms::Instance<Form4>().Show();
    bericht().Show();
    EXPECT_EQ(laeufe(), 2);
}

TEST_F(Bericht, TheCloseButtonEmptiesThePrintTableTheCloseBoxLeavesIt) {
    oeffnen({0});
    const long deckblatt = zeilen("select count(*) from Drucktabelle");
    EXPECT_GT(deckblatt, 0);
    DrucktabelleBinden();
    SchreibeDruckzeile(4, 1, "Zeile", "DE");
    bericht().close();
    EXPECT_FALSE(forms::IsLoaded<frmReport>());
    EXPECT_EQ(zeilen("select count(*) from Drucktabelle"), deckblatt + 1);

    oeffnen({0});
    SchreibeDruckzeile(4, 1, "Zeile", "DE");
    bericht().Command2_Click();
    EXPECT_FALSE(forms::IsLoaded<frmReport>());
    EXPECT_EQ(zeilen("select count(*) from Drucktabelle"), 0);

    // With the data file closed meanwhile the window still closes, without a message.
    oeffnen({0});
    gDatenbank.reset();
    bericht().Command2_Click();
    EXPECT_FALSE(forms::IsLoaded<frmReport>());
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
}

TEST_F(Bericht, WhatTheReportCannotBeMadeFromIsSaidPlainlyAndChangesNothing) {
    alteZeilen();
    const std::string vorher = drucktabelle();
    auto versuche = [&](const std::string& erwartet) {
        host->clearRecords();
        oeffnen({0, 1, 6, 7});
        ASSERT_EQ(meldungen().size(), 1u) << erwartet;
        EXPECT_NE(meldungen()[0].find(erwartet), std::string::npos) << meldungen()[0];
        EXPECT_EQ(dokument(), nullptr);
        EXPECT_EQ(drucktabelle(), vorher);
        EXPECT_EQ(bericht().MousePointer(), forms::vbDefault);
        EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
        forms::Unload(bericht());
    };
    gAktPersonID = 0;
    versuche("keine Person gewählt");
    gAktPersonID = person;
    datei->Execute("DELETE FROM PersDat WHERE PersonID = " + std::to_string(person));
    versuche("nicht mehr in der Datendatei");
    gAktPersonID = neuePerson("Ohne", "Ergebnis");
    datei->Execute("DELETE FROM Ergebnis WHERE PersonID = " + std::to_string(gAktPersonID));
    versuche("fehlen die Ergebniszeilen");

    gAktPersonID = neuePerson("Neu", "Angelegt");  // no statement answered yet
    support::writeFile(path("ZUVReport1.rpt"), "report name=ZUVReport1\nsection name=A type=irgendwas\n");
    versuche("ZUVReport1.rpt");
    std::remove(path("ZUVReport1.rpt").c_str());
    versuche("ZUVReport1.rpt\u201C fehlt");
    std::remove(path("ZUVHeader2.rpt").c_str());
    support::writeFile(path("ZUVReport1.rpt"), support::readFile(std::string(ZUV_DIST_DIR) + "/ZUVReport1.rpt"));
    versuche("ZUVHeader2.rpt");

    gDateiOffen = false;
    versuche("keine Datendatei");
}

TEST_F(Bericht, APersonWithoutNamesOrRatingsStillGetsAReport) {
    datei->Execute("UPDATE PersDat SET Vorname = Null, Nachname = Null, Testdatum = Null WHERE PersonID = " +
                   std::to_string(person));
    oeffnen({0, 1, 6, 7});
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    ASSERT_NE(dokument(), nullptr);
    // The header leaves the missing test date out; the cover page keeps its line, empty after the label.
    EXPECT_FALSE(enthaelt(alleZeilen(), "Testdatum "));
    const std::string druck = drucktabelle();
    EXPECT_NE(druck.find("1|9| |U2\n1|16||DE\n"), std::string::npos) << druck;
    EXPECT_NE(druck.find("1|23|" + LabelTxt(56) + ": |U2\n"), std::string::npos) << druck;

    // Nothing answered yet: the scoring says which statement is open, the report is still shown.
    host->clearRecords();
    forms::Unload(bericht());
    gAktPersonID = neuePerson("Neu", "Angelegt");
    oeffnen({0, 1, 6, 7});
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find(DialogTxt(65)), std::string::npos) << meldungen()[0];
    ASSERT_NE(dokument(), nullptr);
    EXPECT_TRUE(enthaelt(alleZeilen(), "Neu Angelegt"));
    EXPECT_EQ(zeilen("select sum(abs(TypGesamtSumme)) from Ergebnis where PersonID = " + std::to_string(gAktPersonID)),
              0);
}

TEST_F(Bericht, AReadOnlyDataFileGivesItsReportAndStaysAsItIs) {
    alleBilder();
    alteZeilen();
    datei->Close();
    const std::string vorher = support::readFile(path("test.ZDB"));
    gNurLesen = true;
    datei = ws->OpenDatabase(path("test.ZDB"), false, true);
    gDatenbank = datei;
    oeffnen({0, 1, 2, 6, 7});
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    ASSERT_NE(dokument(), nullptr);
    EXPECT_FALSE(unterdrueckt(5));
    EXPECT_EQ(gDatenbankName, path("test.ZDB"));
    bericht().Command2_Click();
    forms::resetAllWindows();
    datei->Close();
    gDatenbank.reset();
    for (int n = 1; n <= 5; ++n) HauptDaten(n).close();
    db::DBEngine::instance().reset();
    EXPECT_EQ(support::readFile(path("test.ZDB")), vorher);
    EXPECT_EQ(drucktabelle(), "1|1|vom letzten Bericht|DE\n");
}

TEST_F(Bericht, TheCopyForAReadOnlyFilesReportLiesInAPrivateFolderThatNoOneCouldTakeBeforehand) {
    // Another account expects the folder under the program's process number and puts a link to a
    // folder of the user's own in its place (a temporary folder of the test's, standing for /tmp).
    const fs::path tmp = support::makeTempDir("zuv-tmp");
    const fs::path eigen = support::makeTempDir("zuv-eigen");
    support::writeFile(eigen / "notizen.txt", "Notizen");
    support::writeFile(eigen / "Bericht.ZDB", "Sicherung");
    fs::create_directory_symlink(eigen, tmp / ("zuv-bericht-" + std::to_string(::getpid())));
    const char* alt = std::getenv("TMPDIR");
    const std::string altesTmp = alt ? alt : "";
    ::setenv("TMPDIR", tmp.c_str(), 1);
    auto kopien = [&] {
        std::vector<fs::path> k;
        for (const auto& e : fs::directory_iterator(tmp))
            if (!e.is_symlink() && e.path().filename().string().rfind("zuv-bericht-", 0) == 0) k.push_back(e.path());
        return k;
    };

    datei->Close();
    gNurLesen = true;
    datei = ws->OpenDatabase(path("test.ZDB"), false, true);
    gDatenbank = datei;
    oeffnen({0, 1, 6, 7});
    EXPECT_TRUE(meldungen().empty()) << meldungen().front();
    const auto waehrend = kopien();
    ASSERT_EQ(waehrend.size(), 1u);
    EXPECT_EQ(support::rechte(waehrend[0]), 0700u);
    EXPECT_TRUE(fs::exists(waehrend[0] / "Bericht.ZDB"));
    bericht().Command2_Click();
    forms::resetAllWindows();
    if (alt) ::setenv("TMPDIR", altesTmp.c_str(), 1);
    else ::unsetenv("TMPDIR");
    EXPECT_TRUE(kopien().empty());
    EXPECT_EQ(support::readFile(eigen / "notizen.txt"), "Notizen");
    EXPECT_EQ(support::readFile(eigen / "Bericht.ZDB"), "Sicherung");
    std::error_code ec;
    fs::remove_all(tmp, ec);
    fs::remove_all(eigen, ec);
}

TEST_F(Bericht, APictureLeftForAnotherPersonIsNeverPlacedAndAFigureThatCannotBeMadeIsSaidOnce) {
    // The enneagram and the table left for Erika; the report is then asked for Max.
    oeffnen({2, 8});
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    const QImage erikas(QString::fromStdString(path("ZUVTabelle.bmp")));
    const QImage erikasFigur(QString::fromStdString(path("ZUVEnneagramm.bmp")));
    forms::Unload(bericht());
    const int32_t max = neuePerson("Max", "Anders", "09.03.2026");
    datei->Execute("UPDATE TypWertZuweisung SET TypRealWert = 4 WHERE PersonID = " + std::to_string(max));
    gAktPersonID = max;
    // Max's table cannot be written: something of that name is in the way in the data folder.
    std::remove(path("ZUVTabelle.bmp").c_str());
    std::filesystem::create_directory(path("ZUVTabelle.bmp"));
    oeffnen({2, 8});
    ASSERT_EQ(meldungen().size(), 1u);
    const std::string m = meldungen()[0];
    EXPECT_EQ(m.rfind(DialogTxt(97), 0), 0u) << m;
    EXPECT_NE(m.find(bericht().Check1[8].Caption() + ": " + DialogTxt(87) + "ZUVTabelle.bmp"), std::string::npos) << m;
    EXPECT_EQ(m.find(bericht().Check1[2].Caption()), std::string::npos) << m;
    // Max's enneagram is printed, the table's section is left out rather than Erika's table shown.
    EXPECT_FALSE(unterdrueckt(5));
    EXPECT_NE(QImage(QString::fromStdString(path("ZUVEnneagramm.bmp"))), erikasFigur);
    EXPECT_TRUE(unterdrueckt(9));
    // Building again (the window activated once more) says nothing new.
    bericht().Command1_Click();
    EXPECT_EQ(meldungen().size(), 1u);
    EXPECT_TRUE(unterdrueckt(9));

    // Erika current again with her table's place free: hers is made anew, not Max's placed.
    std::filesystem::remove(path("ZUVTabelle.bmp"));
    forms::Unload(bericht());
    gAktPersonID = person;
    oeffnen({8});
    EXPECT_EQ(meldungen().size(), 1u);
    EXPECT_FALSE(unterdrueckt(9));
    EXPECT_EQ(QImage(QString::fromStdString(path("ZUVTabelle.bmp"))), erikas);
}

TEST_F(Bericht, AnIncompleteTestIsSaidOnceForTheReportAndItsFiguresTogether) {
    // Statement 17 not answered yet; every part chosen, no figure in the data folder yet.
    datei->Execute("UPDATE TypWertZuweisung SET TypRealWert = Null WHERE ItemNummer = 17 AND PersonID = " +
                   std::to_string(person));
    oeffnen({0, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(meldungen().size(), 1u);
    EXPECT_NE(meldungen()[0].find(DialogTxt(65) + "  17 "), std::string::npos) << meldungen()[0];
    for (int b = 4; b <= 10; ++b) EXPECT_FALSE(unterdrueckt(b)) << b;

    // The figures alone score the person too, and say it once.
    host->clearRecords();
    forms::Unload(bericht());
    for (const char* n : kBilder) std::remove(path(n).c_str());
    oeffnen({2, 3, 4, 5, 8});
    EXPECT_EQ(meldungen().size(), 1u);
    for (int b = 5; b <= 9; ++b) EXPECT_FALSE(unterdrueckt(b)) << b;
}

TEST_F(Bericht, AFigureMadeOffScreenIsMadeAgainOnceAnythingItWasDrawnFromChanges) {
    for (const char* n : {"zuv_symb_gelb.wmf"})
        std::filesystem::copy_file(std::string(ZUV_DIST_DIR) + "/" + n, path(n),
                                   std::filesystem::copy_options::overwrite_existing);
    const char* namen[] = {"ZUVEnneagramm.bmp", "ZUVGrafik1.bmp", "ZUVTabelle.bmp"};
    auto bericht = [&] {
        forms::Unload(this->bericht());
        oeffnen({2, 3, 8});
        EXPECT_TRUE(meldungen().empty()) << meldungen().front();
        for (int b : {5, 6, 9}) EXPECT_FALSE(unterdrueckt(b)) << b;
        std::vector<QImage> bilder;
        for (const char* n : namen) bilder.emplace_back(QString::fromStdString(path(n)));
        return bilder;
    };
    std::vector<QImage> vorher = bericht();
    // Made for the person and nothing changed since: placed again as they are, not made anew.
    for (const char* n : namen) report_test::bitmap(path(n), 300, 200);
    for (const QImage& b : bericht()) EXPECT_EQ(b.width(), 300);

    // Each change is followed by a report: the figures drawn from what changed are new.
    auto geaendert = [&](const char* was, std::initializer_list<int> welche) {
        SCOPED_TRACE(was);
        const std::vector<QImage> jetzt = bericht();
        for (int i : welche) EXPECT_TRUE(jetzt[i] != vorher[i]) << namen[i];
        vorher = jetzt;
    };
    // 3-D bars chosen and stored in the options dialog, no chart window opened.
    forms::Default<frmChartOpt>().Option1[1].setValue(true);
    forms::Instance<frmChartOpt>().Command1_Click();
    geaendert("3-D", {1});
    // The first series colour, which the enneagram's upper bars take too.
    host->chooseColor(forms::RGB(200, 30, 30));
    forms::Default<frmChartOpt>().Command4_Click(0);
    forms::Instance<frmChartOpt>().Command1_Click();
    geaendert("colour", {0, 1});
    // Another naming scheme, stored in the settings.
    forms::Default<Form4>().Option3.setValue(true);
    forms::Instance<Form4>().Command1_Click();
    geaendert("naming scheme", {0, 1, 2});
    // Another symbol colour.
    forms::Default<Form4>().Combo3.setText(LabelTxt(213));
    forms::Instance<Form4>().Command1_Click();
    geaendert("symbol", {0});
    // The person's answers changed in the test.
    datei->Execute("UPDATE TypWertZuweisung SET TypRealWert = 4 WHERE TypNummer = 2 AND PersonID = " +
                   std::to_string(person));
    geaendert("answers", {0, 1, 2});
}

TEST_F(Bericht, AConclusionMadeOfLabelTextsAndADesignationReadsAsOneSentence) {
    const char* namen[] = {"",           "Perfektionist", "Helfer",   "Macher", "Individualist",
                           "Beobachter", "Loyaler",       "Genießer", "Boss",   "Vermittler"};
    for (int t = 1; t <= 9; ++t) gTypbezeichnung[t] = namen[t];
    alleBilder();
    oeffnen({0, 1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(meldungen().empty()) << meldungen().front();
    const auto text = alleZeilen();
    // The designation stands inside its quotes, the sentence goes on after them.
    int ergebnis = 0;
    for (const auto& z : text) {
        if (z.rfind(LabelTxt(438), 0) != 0) continue;
        ++ergebnis;
        const auto zu = z.find("' ", LabelTxt(438).size());
        ASSERT_NE(zu, std::string::npos) << z;
        const std::string name = z.substr(LabelTxt(438).size(), zu - LabelTxt(438).size());
        EXPECT_NE(std::find(std::begin(namen) + 1, std::end(namen), name), std::end(namen)) << z;
        EXPECT_GT(z.size(), zu + 10) << z;
    }
    EXPECT_EQ(ergebnis, 1);
    // No quote is left on a line of its own, at a line's start or end.
    for (const auto& z : text) {
        EXPECT_NE(z.rfind("' ", 0), 0u) << z;
        EXPECT_FALSE(z.size() >= 2 && z.compare(z.size() - 2, 2, " '") == 0) << z;
        EXPECT_NE(z, "'");
    }
}
