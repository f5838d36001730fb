// The print manager and the print engine: modes and their topics, the printout into a PDF read back
// with pdftotext, the letterhead and footer, and the runs that fail or are refused.

#include "codex_fixture.h"

#include <algorithm>
#include <cmath>

#include "platform/db/database.h"
#include "platform/db/workspace.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

// Paragraph text of a topic for a type: a few sentences, long enough that some topics fill pages.
vb::Variant langerText(int t, int y) {
    std::string s;
    const int saetze = 4 + (t % 5) * 6;
    for (int k = 1; k <= saetze; ++k) {
        s += "Satz " + std::to_string(k) + " über Thema " + std::to_string(t) + " beim Typ " + std::to_string(y) +
             " zeigt, wie unterschiedlich Menschen ihre Stärken leben. ";
        if (k % 8 == 0) s += "\r\n\r\n";
    }
    return vb::Variant(s);
}

class Druck : public CodexTest {
protected:
    void SetUp() override {
        CodexTest::SetUp();
        support::Inhalt i;
        i.text = langerText;
        i.titel = [](int t) { return "Thema Nr. " + std::to_string(t); };
        inhalt(i);
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
    std::vector<int> markiert(frmDruckMan& d) {
        std::vector<int> p;
        for (int i = 0; i < d.List1.ListCount(); ++i)
            if (d.List1.Selected(i)) p.push_back(i);
        return p;
    }
    std::string pdf() const { return pfad("druck.pdf"); }
    std::string pdfText() {
        auto r = support::run("pdftotext -layout " + support::shellQuote(pdf()) + " -");
        EXPECT_EQ(r.status, 0) << r.output;
        return r.output;
    }
    int pdfSeiten() {
        auto r = support::run("pdfinfo " + support::shellQuote(pdf()) + " | grep '^Pages:'");
        return r.status == 0 ? std::atoi(r.output.substr(6).c_str()) : -1;
    }
    // The printed text, line by line, of every page of the last document.
    std::vector<std::string> zeilen() {
        std::vector<std::string> z;
        const auto& log = draw::printer().log();
        const int doc = log.empty() ? 1 : log.back().doc;
        int seiten = 0;
        for (const auto& e : log)
            if (e.doc == doc) seiten = std::max(seiten, e.page);
        for (int p = 1; p <= seiten; ++p)
            for (auto& l : draw::printer().pageLines(p, doc)) z.push_back(l);
        return z;
    }
    // Switches as the person sets them on the second tab.
    static void alleSchalter(frmDruckMan& d, int wert) {
        for (auto& c : d.Check2) c.setValue(wert);
        for (auto& c : d.Check1) c.setValue(wert);
        for (auto& c : d.Check4) c.setValue(wert);
    }
};

TEST_F(Druck, EachModeSelectsItsTopicsWhateverWasSelectedBefore) {
    frmDruckMan& d = manager(3);
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(d.Option1[3].Value());
    EXPECT_EQ(d.Caption(), LabelTxt(186));
    EXPECT_EQ(d.Label1.Caption(), gTypbezeichnung[1]);
    ASSERT_EQ(d.List1.ListCount(), 56);
    EXPECT_EQ(markiert(d).size(), 56u);

    manager(0);
    const std::vector<int> kurz = {0,  1,  2,  5,  6,  7,  8,  15, 16, 17, 18, 19,
                                   20, 21, 22, 23, 24, 25, 37, 38, 52, 53, 54, 55};
    EXPECT_EQ(markiert(d), kurz);
    EXPECT_TRUE(d.Frame4.isVisibleTo(&d));

    d.List1.setSelected(40, true);  // by hand
    manager(2);
    EXPECT_TRUE(d.Option1[2].Value());
    EXPECT_FALSE(d.Frame4.isVisibleTo(&d));
    EXPECT_EQ(markiert(d).size(), 25u);  // untouched

    manager(1);
    std::vector<int> lang = {0, 1, 2, 5, 6, 7, 8};
    for (int p = 11; p <= 30; ++p) lang.push_back(p);
    for (int p : {32, 37, 38, 43, 50, 51, 52, 53, 54, 55}) lang.push_back(p);
    EXPECT_EQ(markiert(d), lang);
    EXPECT_EQ(lang.size(), 37u);
    EXPECT_TRUE(d.Frame4.isVisibleTo(&d));
    EXPECT_EQ(d.List1.ListIndex(), 0);
}

TEST_F(Druck, AShortTopicTableSkipsThePositionsItDoesNotReach) {
    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    fs::remove(dir / "zuv40typ.sdb");
    support::Inhalt i;
    i.themen = 20;
    inhalt(i);
    ASSERT_TRUE(starte());
    h().clearRecords();
    frmDruckMan& d = manager(0);
    EXPECT_EQ(markiert(d), (std::vector<int>{0, 1, 2, 5, 6, 7, 8, 15, 16, 17, 18, 19}));
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Druck, AllTopicsGoIntoThePdfOnceEachInOrderWithHeaderAndFooter) {
    frmDruckMan& d = manager(3);
    alleSchalter(d, 1);
    h().answer(forms::vbYes);
    d.Command1_Click();
    ASSERT_EQ(h().records(Kind::MsgBox).size(), 1u) << h().messages().back();
    const forms::HostRecord& frage = *h().last(Kind::MsgBox);
    EXPECT_EQ(frage.text, DialogTxt(9) + " " + gTypbezeichnung[1] + " " + DialogTxt(10));
    EXPECT_EQ(frage.style, forms::vbYesNo | forms::vbQuestion);
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);
    EXPECT_FALSE(draw::printer().busy());

    ASSERT_TRUE(fs::exists(pdf()));
    const std::string text = pdfText();
    size_t pos = 0;
    for (int t = 1; t <= 56; ++t) {
        const std::string titel = "Thema Nr. " + std::to_string(t) + "\n";
        const size_t hier = text.find(titel, pos);
        ASSERT_NE(hier, std::string::npos) << "topic " << t << " missing or out of order";
        EXPECT_EQ(text.find(titel, hier + 1), std::string::npos) << "topic " << t << " twice";
        pos = hier;
    }
    EXPECT_EQ(text.find("beim Typ 2 "), std::string::npos);
    const int seiten = pdfSeiten();
    EXPECT_GT(seiten, 5);
    // Every page has the date in the letterhead and the footer, its number twice, and the rules.
    const std::string datum = vb::Format(vb::Date(), "dd.mm.yyyy");
    const auto z = zeilen();
    EXPECT_EQ(std::count_if(z.begin(), z.end(), [&](const std::string& l) { return l.find(datum) != std::string::npos; }),
              2 * seiten);
    EXPECT_EQ(std::count_if(z.begin(), z.end(),
                            [&](const std::string& l) { return l.find(std::string(90, '_')) != std::string::npos; }),
              2 * seiten);
    EXPECT_NE(text.find("Literatur: Redaktion Z.U.V.: Die neun Typen"), std::string::npos);
    EXPECT_TRUE(h().messages().size() == 1u);
}

TEST_F(Druck, ShortAndLongPrintTheirTopicsOnly) {
    frmDruckMan& d = manager(0);
    h().answer(forms::vbYes);
    d.Command1_Click();
    EXPECT_EQ(h().last(Kind::MsgBox)->text, DialogTxt(11) + " " + gTypbezeichnung[1] + " " + DialogTxt(10));
    // The job's title (a queue's, or the file's) names the type described.
    EXPECT_EQ(draw::printer().qprinter().docName().toStdString(), "Typenbeschreibung " + gTypbezeichnung[1]);
    std::string text = pdfText();
    const std::vector<int> kurz = {1,  2,  3,  6,  7,  8,  9,  16, 17, 18, 19, 20,
                                   21, 22, 23, 24, 25, 26, 38, 39, 53, 54, 55, 56};
    for (int t = 1; t <= 56; ++t) {
        const bool drin = std::find(kurz.begin(), kurz.end(), t) != kurz.end();
        EXPECT_EQ(text.find("Thema Nr. " + std::to_string(t) + "\n") != std::string::npos, drin) << t;
    }

    draw::printer().setOutputFileName(pfad("lang.pdf"));
    manager(1);
    h().answer(forms::vbYes);
    d.Command1_Click();
    EXPECT_EQ(h().last(Kind::MsgBox)->text, DialogTxt(12) + " " + gTypbezeichnung[1] + " " + DialogTxt(10));
    text = support::run("pdftotext " + pfad("lang.pdf") + " -").output;
    EXPECT_NE(text.find("Thema Nr. 44\n"), std::string::npos);
    EXPECT_EQ(text.find("Thema Nr. 45\n"), std::string::npos);
}

TEST_F(Druck, AnsweringNoDrawsNothing) {
    frmDruckMan& d = manager(3);
    h().answer(forms::vbNo);
    d.Command1_Click();
    EXPECT_FALSE(fs::exists(pdf()));
    EXPECT_FALSE(draw::printer().busy());
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);
}

TEST_F(Druck, TheQuestionNamesTheTypeThatIsPrinted) {
    frmDruckMan& d = manager(3);
    EXPECT_EQ(d.Label1.Caption(), gTypbezeichnung[1]);
    erstes().Command6[4].Click();  // another type in the description window, the dialog stays open
    h().clearRecords();
    h().answer(forms::vbYes);
    d.Command1_Click();
    EXPECT_EQ(h().last(Kind::MsgBox)->text, DialogTxt(9) + " " + gTypbezeichnung[5] + " " + DialogTxt(10));
    EXPECT_EQ(d.Label1.Caption(), gTypbezeichnung[5]);
    const std::string text = pdfText();
    EXPECT_NE(text.find("beim Typ 5 "), std::string::npos);
    EXPECT_EQ(text.find("beim Typ 1 "), std::string::npos);
}

TEST_F(Druck, ByTopicPrintsTheShownTopicWithoutAQuestion) {
    erstes().Combo1.setListIndex(6);
    frmDruckMan& d = manager(2);
    d.Check1[4].setValue(1);
    d.Command1_Click();
    EXPECT_TRUE(h().records(Kind::MsgBox).empty());
    std::string text = pdfText();
    EXPECT_NE(text.find("Thema Nr. 7"), std::string::npos);
    EXPECT_EQ(text.find("Thema Nr. 1\n"), std::string::npos);
    EXPECT_NE(text.find("Literatur: Redaktion Z.U.V.: Die neun Typen"), std::string::npos);

    draw::printer().setOutputFileName(pfad("ohne.pdf"));
    d.Check1[4].setValue(0);
    d.Command1_Click();
    text = support::run("pdftotext " + pfad("ohne.pdf") + " -").output;
    EXPECT_NE(text.find("Thema Nr. 7"), std::string::npos);
    EXPECT_EQ(text.find("Literatur"), std::string::npos);
}

// Each printed topic with the literature line that follows it, from the printer's log of its last
// document: the title in the extra font, then the small lines of its source joined again.
std::vector<std::pair<std::string, std::string>> themenMitQuelle() {
    std::vector<std::pair<std::string, std::string>> q;
    const auto& log = draw::printer().log();
    const int doc = log.empty() ? 1 : log.back().doc;
    for (const auto& e : log) {
        if (e.doc != doc || e.y < 4200 || e.text.empty()) continue;
        if (e.text.rfind("Thema Nr. ", 0) == 0 && e.fontSize == gExtraschriftGroesse) q.emplace_back(e.text, "");
        else if (e.fontSize == 8 && !q.empty()) q.back().second += (q.back().second.empty() ? "" : " ") + e.text;
    }
    return q;
}

// The source of topic t as its row in the test contents gives it (even topics: the author alone).
std::string quelleVon(const std::string& titel) {
    const int t = std::atoi(titel.substr(std::string("Thema Nr. ").size()).c_str());
    return LabelTxt(14) + ": " +
           (t % 2 == 0 ? "Redaktion Z.U.V."
                       : "Redaktion Z.U.V.: Die neun Typen; Arbeitsgruppe Typen " + LabelTxt(13) + "; Eigenverlag; 2024");
}

TEST_F(Druck, EveryPrintedTopicNamesTheSourceOfItsOwnRow) {
    erstes().Combo1.setListIndex(0);  // the window shows topic 1, whose source is the full reference
    frmDruckMan& d = manager(0);
    d.Check1[4].setValue(1);
    // The modes by list, one after the other in the open dialog: each topic with its own row's source.
    for (int modus : {0, 1, 3}) {
        d.Option1[modus].setValue(true);
        draw::printer().setOutputFileName(pfad("modus" + std::to_string(modus) + ".pdf"));
        h().answer(forms::vbYes);
        d.Command1_Click();
        const auto gedruckt = themenMitQuelle();
        ASSERT_EQ(gedruckt.size(), markiert(d).size()) << modus;
        for (const auto& [titel, quelle] : gedruckt) EXPECT_EQ(quelle, quelleVon(titel)) << modus << " " << titel;
    }
    // Then the topic the window shows, without closing the dialog: its own source, not that of the
    // topic printed last (topic 56, the author alone); on paper as in the window.
    d.Option1[2].setValue(true);
    draw::printer().setOutputFileName(pfad("thema.pdf"));
    d.Command1_Click();
    ASSERT_EQ(themenMitQuelle().size(), 1u);
    EXPECT_EQ(themenMitQuelle()[0].first, "Thema Nr. 1");
    EXPECT_EQ(themenMitQuelle()[0].second, quelleVon("Thema Nr. 1"));
    const std::string fenster = erstes().RichTextBox1.Text();
    EXPECT_NE(fenster.find(quelleVon("Thema Nr. 1")), std::string::npos);
    std::string papier = support::run("pdftotext " + support::shellQuote(pfad("thema.pdf")) + " -").output;
    EXPECT_NE(papier.find("Eigenverlag; 2024"), std::string::npos) << papier;

    // Another topic shown meanwhile: printed with its source, and the window keeps it.
    erstes().Combo1.setListIndex(1);
    draw::printer().setOutputFileName(pfad("thema2.pdf"));
    d.Command1_Click();
    ASSERT_EQ(themenMitQuelle().size(), 1u);
    EXPECT_EQ(themenMitQuelle()[0].second, quelleVon("Thema Nr. 2"));
    EXPECT_EQ(gLiteraturzeile, "Redaktion Z.U.V.");
    EXPECT_EQ(h().messages().size(), 3u) << h().messages().back();  // the three questions of the list modes
}

TEST_F(Druck, NoTopicOrNoTypeChosenSaysSoBeforeAnythingStarts) {
    frmDruckMan& d = manager(3);
    for (int i = 0; i < d.List1.ListCount(); ++i) d.List1.setSelected(i, false);
    d.Command1_Click();
    d.Command3_Click();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_NE(h().messages()[0].find("kein Thema ausgewählt"), std::string::npos);
    EXPECT_FALSE(fs::exists(pdf()));
    EXPECT_FALSE(forms::IsLoaded<frmPrintPreview>());

    // Before any description window has chosen a type.
    d.Command2_Click();
    gAktTyp = 0;
    frmDruckMan& neu = manager(0);
    EXPECT_EQ(neu.Label1.Caption(), "");
    h().clearRecords();
    neu.Command1_Click();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("noch kein Typ gewählt"), std::string::npos);
    EXPECT_FALSE(fs::exists(pdf()));
}

TEST_F(Druck, AFailedRunEndsItsJobAndGivesThePointerBack) {
    frmDruckMan& d = manager(0);
    // A printer that cannot take the job.
    draw::printer().setOutputFileName(pfad("fehlt/druck.pdf"));
    h().answer(forms::vbYes);
    d.Command1_Click();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_NE(h().messages()[1].find("Nummer: 482"), std::string::npos) << h().messages()[1];
    EXPECT_FALSE(draw::printer().busy());
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);

    // A failure after the first page was begun: nothing half-printed remains.
    draw::printer().setOutputFileName(pdf());
    d.Data1.close();
    h().clearRecords();
    h().answer(forms::vbYes);
    d.Command1_Click();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_NE(h().messages()[1].find("Briefkopf"), std::string::npos) << h().messages()[1];
    EXPECT_FALSE(draw::printer().busy());
    EXPECT_FALSE(fs::exists(pdf()));
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);

    // The next run works again.
    d.Command2_Click();
    frmDruckMan& neu = manager(0);
    h().answer(forms::vbYes);
    neu.Command1_Click();
    EXPECT_TRUE(fs::exists(pdf()));
}

TEST_F(Druck, TheSymbolIsPaintedWhenItsPictureIsThereAndLeftOutWhenNot) {
    frmDruckMan& d = manager(2);
    d.Check1[3].setValue(1);
    d.Command1_Click();
    auto bilder = support::run("pdfimages -list " + support::shellQuote(pdf()));
    EXPECT_EQ(support::lines(bilder.output).size(), 3u) << bilder.output;  // heading, rule, one picture

    fs::remove(dir / "zuv_symb_druckkopf.bmp");
    draw::printer().setOutputFileName(pfad("ohne.pdf"));
    d.Command1_Click();
    EXPECT_TRUE(h().messages().empty()) << h().messages()[0];
    bilder = support::run("pdfimages -list " + support::shellQuote(pfad("ohne.pdf")));
    EXPECT_EQ(support::lines(bilder.output).size(), 2u) << bilder.output;
    EXPECT_NE(support::run("pdftotext " + pfad("ohne.pdf") + " -").output.find("Thema Nr. 1"), std::string::npos);
}

TEST_F(Druck, TheLetterheadAndFooterStandWhereTheirSwitchesPutThem) {
    // The sender's row.
    {
        auto rs = forms::Default<frmDruckMan>().Data1.Recordset();
        rs->Edit();
        rs->Fields("VorName") = vb::Variant("Anna");
        rs->Fields("NachName") = vb::Variant("Berger");
        rs->Fields("Firma") = vb::Variant("Praxis am Sonnenweg");
        rs->Fields("Bereich") = vb::Variant("");
        rs->Fields("Telefon") = vb::Variant("0711 123456");
        rs->Fields("URL") = vb::Variant("www.beispiel.de");
        rs->Update();
    }
    frmDruckMan& d = manager(2);
    alleSchalter(d, 0);
    for (int i : {0, 1, 2, 7, 10}) d.Check2[i].setValue(1);
    d.Check1[0].setValue(1);
    d.Check1[1].setValue(1);
    d.Check1[2].setValue(1);
    d.Check4[0].setValue(1);
    d.Check4[2].setValue(1);
    draw::printer().clearLog();
    d.Command1_Click();
    draw::Printer& p = draw::printer();
    const double W = p.Width(), H = p.Height();
    auto eintrag = [&](const std::string& text) -> const draw::LogEntry* {
        for (const auto& e : p.log())
            if (e.text == text) return &e;
        return nullptr;
    };
    const std::string datum = vb::Format(vb::Date(), "dd.mm.yyyy");
    const draw::LogEntry* e = eintrag(datum);
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(e->y, 500, 1);
    e = eintrag("Anna Berger");
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(e->y, 500, 1);
    EXPECT_NEAR(e->x + e->width, W - 1000, 2);
    EXPECT_EQ(e->fontSize, 8);
    const draw::LogEntry* firma = eintrag("Praxis am Sonnenweg");
    ASSERT_NE(firma, nullptr);
    EXPECT_GT(firma->y, e->y);
    EXPECT_NEAR(firma->x + firma->width, W - 1000, 2);
    // The empty division takes no line; telephone and web address follow an empty line each.
    const draw::LogEntry* telefon = eintrag(LabelTxt(52) + ": 0711 123456");
    const draw::LogEntry* url = eintrag(LabelTxt(165) + ": www.beispiel.de");
    ASSERT_NE(telefon, nullptr);
    ASSERT_NE(url, nullptr);
    const double zeile = firma->y - e->y;
    EXPECT_NEAR(telefon->y - firma->y, 2 * zeile, 2);
    EXPECT_NEAR(url->y - telefon->y, 2 * zeile, 2);
    // Page number centred 500 twips left of the middle, its blank included.
    const draw::LogEntry* seite = nullptr;
    for (const auto& x : p.log())
        if (x.text == " 1" && std::fabs(x.y - 500) < 1) seite = &x;
    ASSERT_NE(seite, nullptr);
    EXPECT_NEAR(seite->x, (W - (seite->width + 1000)) / 2, 2);
    // The rule two lines below 3200, the text from 4200, the footer from H - 1500.
    const draw::LogEntry* regel = nullptr;
    for (const auto& x : p.log())
        if (x.text == std::string(90, '_')) {
            if (!regel) regel = &x;
        }
    ASSERT_NE(regel, nullptr);
    EXPECT_GT(regel->y, 3200);
    EXPECT_LT(regel->y, 4200);
    const draw::LogEntry* titel = eintrag("Thema Nr. 1");
    ASSERT_NE(titel, nullptr);
    EXPECT_NEAR(titel->y, 4200, 1);
    int fussRegeln = 0, fussSeiten = 0;
    for (const auto& x : p.log()) {
        if (x.text == std::string(90, '_') && std::fabs(x.y - (H - 1500)) < 1) ++fussRegeln;
        if (x.text == " 1" && x.y > H - 1500) ++fussSeiten;
        EXPECT_NE(x.text, datum + "x");
    }
    EXPECT_EQ(fussRegeln, 1);
    EXPECT_EQ(fussSeiten, 1);
    EXPECT_EQ(std::count_if(p.log().begin(), p.log().end(), [&](const draw::LogEntry& x) { return x.text == datum; }), 1);
}

TEST_F(Druck, PageOneHoldsFewerLinesThanTheNextAndTheTextKeepsItsSize) {
    gStandardschriftGroesse = 9;
    frmDruckMan& d = manager(3);
    alleSchalter(d, 1);
    h().answer(forms::vbYes);
    draw::printer().clearLog();
    d.Command1_Click();
    draw::Printer& p = draw::printer();
    auto textzeilen = [&](int seite) {
        int n = 0;
        for (const auto& e : p.log())
            if (e.page == seite && e.y >= 4200 && e.y < p.Height() - 1500 && e.fontSize == 9) ++n;
        return n;
    };
    ASSERT_GT(pdfSeiten(), 3);
    EXPECT_LT(textzeilen(1), textzeilen(2));
    EXPECT_GT(textzeilen(2), 0);
    // No text line of a page reaches into its footer.
    for (const auto& e : p.log())
        if (e.y >= p.Height() - 1500) {
            EXPECT_EQ(e.fontSize, 10) << e.text;
        }
}

TEST_F(Druck, MoreTopicRowsThanListEntriesStopAtTheList) {
    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    {
        EngineEinstellen(dir.string());
        auto ws = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
        auto c = ws->OpenDatabase(pfad("zuv40typ.sdb"));
        c->Execute("INSERT INTO thementitel (thementitelid, Titel) VALUES (57, 'Zusatzthema')");
        c->Execute("INSERT INTO thema (thementitelid, enneatypid, Inhalt, literaturid) VALUES (57, 1, 'Zusatz', 1)");
        c->Execute("INSERT INTO thema (thementitelid, enneatypid, Inhalt, literaturid) VALUES (58, 1, 'Ohne Titel', 1)");
        c->Execute("INSERT INTO thementitel (thementitelid, Titel) VALUES (58, 'Nachtrag')");
        c->Execute("DELETE FROM thementitel WHERE thementitelid = 58");
        c->Execute("INSERT INTO thema (thementitelid, enneatypid, Inhalt, literaturid) VALUES (57, 1, 'Doppelt', 1)");
        c->Close();
        db::DBEngine::instance().reset();
    }
    ASSERT_TRUE(starte());
    h().clearRecords();
    frmDruckMan& d = manager(3);
    ASSERT_EQ(d.List1.ListCount(), 57);
    h().answer(forms::vbYes);
    d.Command1_Click();
    EXPECT_EQ(h().messages().size(), 1u) << h().messages().back();
    const std::string text = pdfText();
    EXPECT_NE(text.find("Zusatzthema"), std::string::npos);
    EXPECT_EQ(text.find("Doppelt"), std::string::npos);
}

TEST_F(Druck, WithoutAPrinterThePrintGoesIntoAPdfFileThePersonNames) {
    draw::printer().setOutputFileName("");
    if (draw::printer().hasTarget()) GTEST_SKIP() << "a printer is set up on this machine";
    frmDruckMan& d = manager(0);
    h().answer(forms::vbYes).cancelFile();
    d.Command1_Click();
    EXPECT_EQ(h().records(Kind::FileSave).size(), 1u);
    EXPECT_EQ(h().messages().size(), 1u);  // the question only; a declined file is no error
    EXPECT_FALSE(draw::printer().busy());
    EXPECT_EQ(d.MousePointer(), forms::vbDefault);

    h().answer(forms::vbYes).chooseFile(pfad("Perfektionist kurz.pdf"));
    d.Command1_Click();
    EXPECT_EQ(h().messages().size(), 2u);
    const std::string text =
        support::run("pdftotext " + support::shellQuote(pfad("Perfektionist kurz.pdf")) + " -").output;
    EXPECT_NE(text.find("Thema Nr. 56"), std::string::npos);
}

TEST_F(Druck, HelpAndPrinterSetUp) {
    frmDruckMan& d = manager(0);
    d.Command6_Click();
    ASSERT_NE(h().last(Kind::Help), nullptr);
    EXPECT_EQ(h().last(Kind::Help)->title, "html/zuvt3m08.htm");
    fs::remove(dir / "ZUVTYP.chm");
    d.Command6_Click();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(7));

    h().clearRecords();
    h().cancelDialog();
    d.Command5_Click();
    ASSERT_EQ(h().records(Kind::Printer).size(), 1u);
    EXPECT_EQ(h().last(Kind::Printer)->style, forms::cdlPDPrintSetup);
    EXPECT_TRUE(h().messages().empty());
}

}  // namespace
