// The reader on the installed content database: every topic of every type shows, and a type's whole
// description prints each topic once, in the order of the topic list.

#include "codex_fixture.h"

#include "platform/vb/strings.h"

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

TEST_F(CodexTest, EveryTopicOfEveryTypeShowsFromTheInstalledContents) {
    installierterInhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    ASSERT_GE(f.Combo1.ListCount(), 1);
    for (int typ = 0; typ < 9; ++typ) {
        f.Command6[typ].Click();
        for (int t = 0; t < f.Combo1.ListCount(); ++t) {
            f.Combo1.setListIndex(t);
            ASSERT_EQ(gThemaTitel, f.Combo1.List(t));
            EXPECT_FALSE(vb::Trim(gThemaInhalt).empty()) << typ + 1 << "/" << gThemaTitel;
            EXPECT_FALSE(gLiteraturzeile.empty());
        }
    }
    EXPECT_TRUE(h().messages().empty()) << h().messages()[0];
}

TEST_F(CodexTest, AWholeTypePrintsEachInstalledTopicOnceInListOrder) {
    installierterInhalt();
    ASSERT_TRUE(starte());
    erstes().Command6[8].Click();
    mdi().mnuDruckAlleThemen.choose();
    frmDruckMan& d = forms::Instance<frmDruckMan>();
    draw::printer().clearLog();
    h().answer(forms::vbYes);
    d.Command1_Click();
    ASSERT_EQ(h().messages().size(), 1u) << h().messages().back();
    EXPECT_EQ(h().messages()[0], DialogTxt(9) + " " + gTypbezeichnung[9] + " " + DialogTxt(10));

    // The titles in the extra font, in the order of the list.
    std::vector<std::string> titel;
    int seiten = 0;
    for (const auto& e : draw::printer().log()) {
        seiten = std::max(seiten, e.page);
        if (e.bold && e.fontSize == gExtraschriftGroesse && !e.text.empty()) titel.push_back(e.text);
    }
    std::vector<std::string> liste;
    for (int i = 0; i < d.List1.ListCount(); ++i) liste.push_back(d.List1.List(i));
    EXPECT_EQ(titel, liste);
    auto info = support::run("pdfinfo " + support::shellQuote(pfad("druck.pdf")) + " | grep '^Pages:'");
    EXPECT_EQ(std::atoi(info.output.substr(6).c_str()), seiten);
    const std::string text = support::run("pdftotext " + support::shellQuote(pfad("druck.pdf")) + " -").output;
    EXPECT_NE(text.find(liste.front()), std::string::npos);
}

}  // namespace

namespace {

TEST_F(CodexTest, ASessionOfReadingAndPrintingWritesNothingIntoTheDatabases) {
    installierterInhalt();
    auto inhalt = [&](const char* datei) {
        return support::run("sqlite3 -batch " + support::shellQuote(pfad(datei)) + " .dump").output;
    };
    const std::string einstellungen = inhalt("zuv.sdb"), texte = inhalt("zuv40typ.sdb");
    ASSERT_FALSE(einstellungen.empty());
    ASSERT_TRUE(starte());
    erstes().Command6[2].Click();
    erstes().Combo1.setListIndex(4);
    mdi().mnuTypeViewer_Click();
    mdi().mnuDruckTypKurz.choose();
    frmDruckMan& d = forms::Instance<frmDruckMan>();
    d.Check2[3].setValue(1 - d.Check2[3].Value());  // changed, not stored
    h().answer(forms::vbYes);
    d.Command1_Click();
    d.Command2_Click();
    mdi().mnuSchrift.choose();
    forms::Instance<Form4>().Option4.setValue(true);
    forms::Instance<Form4>().Befehl3_Click();
    h().answer(forms::vbYes);
    mdi().mnuBeenden.choose();
    forms::resetAllWindows();
    db::DBEngine::instance().reset();
    EXPECT_EQ(h().messages().size(), 2u) << h().messages().back();
    EXPECT_EQ(inhalt("zuv.sdb"), einstellungen);
    EXPECT_EQ(inhalt("zuv40typ.sdb"), texte);
}

}  // namespace
