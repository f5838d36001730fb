// The description window: topics of the content database, type buttons, the literature line, the
// text box and the scroll bars, and what bad content does.

#include "codex_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "platform/db/database.h"
#include "platform/db/workspace.h"
#include "support/gui_input.h"

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

TEST_F(CodexTest, ATypeButtonShowsTheChosenTopicForItsType) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    EXPECT_EQ(f.Command6[0].Caption(), gTypbezeichnung[1]);
    EXPECT_EQ(f.Command6[8].Caption(), gTypbezeichnung[9]);
    EXPECT_EQ(f.Label4.Caption(), LabelTxt(17));
    EXPECT_EQ(f.Frame3.Caption(), LabelTxt(19));
    ASSERT_EQ(f.Combo1.ListCount(), 56);

    f.Combo1.setListIndex(2);
    EXPECT_EQ(f.Label5.Caption(), "Thema 3");
    // Moving to the type shows its topic; the click runs that query once, not a second time.
    std::shared_ptr<db::Recordset> nachDemWechsel;
    const auto wechsel = f.Data1.Reposition;
    f.Data1.Reposition = [&] {
        wechsel();
        nachDemWechsel = f.Data3.Recordset();
    };
    f.Command6[3].Click();
    ASSERT_TRUE(nachDemWechsel);
    EXPECT_EQ(f.Data3.Recordset().get(), nachDemWechsel.get());
    EXPECT_EQ(gAktTyp, 4);
    EXPECT_EQ(f.Caption(), gTypbezeichnung[4]);
    EXPECT_EQ(f.Label3.Caption(), gTypbezeichnung[4]);
    EXPECT_EQ(f.Label2.Caption(), "4");
    EXPECT_EQ(f.Combo1.Text(), "Thema 3");
    const std::string text = f.RichTextBox1.Text();
    EXPECT_EQ(text.rfind("Thema 3\r\n\r\nText zu Thema 3 für Typ 4.", 0), 0u) << text;
    EXPECT_EQ(gThemaTitel, "Thema 3");
    EXPECT_EQ(gThemaInhalt.rfind("Text zu Thema 3 für Typ 4.", 0), 0u);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(CodexTest, TheTextIsSetInTheConfiguredFontsWithTheLiteratureLineInSmallPrint) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    forms::RichTextBox& r = f.RichTextBox1;
    r.setSelStart(1);
    EXPECT_TRUE(r.SelBold());  // the extra font of the installed settings is bold
    EXPECT_EQ(r.SelColor(), Farbwert(gExtraschriftfarbe));
    r.setSelStart(12);
    EXPECT_FALSE(r.SelBold());
    EXPECT_EQ(r.SelFontSize(), gStandardschriftGroesse);
    const std::string text = r.Text();
    const std::string zeile =
        "Literatur: Redaktion Z.U.V.: Die neun Typen; Arbeitsgruppe Typen (Hrsg.); Eigenverlag; 2024";
    ASSERT_NE(text.find("\r\n\r\n\r\n" + zeile), std::string::npos) << text;
    r.setSelStart(static_cast<int>(QString::fromStdString(text).size()) - 3);
    EXPECT_EQ(r.SelFontSize(), 8);
    EXPECT_EQ(gLiteraturzeile, "Redaktion Z.U.V.: Die neun Typen; Arbeitsgruppe Typen (Hrsg.); Eigenverlag; 2024");

    // The author alone.
    f.Combo1.setListIndex(1);
    EXPECT_EQ(gLiteraturzeile, "Redaktion Z.U.V.");
    EXPECT_NE(r.Text().find("Literatur: Redaktion Z.U.V."), std::string::npos);
}

TEST_F(CodexTest, TitlesWithQuotesAreShownAndNeverPartOfAQuery) {
    support::Inhalt i;
    i.titel = [](int t) {
        if (t == 2) return std::string("Kind's Welt");
        if (t == 3) return std::string("x' or enneatypid = 9 or 'a' = 'a");
        if (t == 4) return std::string("Beziehung und „Nähe“");
        return "Thema " + std::to_string(t);
    };
    inhalt(i);
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    f.Command6[5].Click();
    for (int k : {1, 2, 3}) {
        f.Combo1.setListIndex(k);
        EXPECT_EQ(gThemaTitel, i.titel(k + 1));
        EXPECT_NE(f.RichTextBox1.Text().find("Text zu Thema " + std::to_string(k + 1) + " für Typ 6."),
                  std::string::npos);
    }
    EXPECT_TRUE(h().messages().empty()) << h().messages()[0];
}

TEST_F(CodexTest, ATopicWithoutTextSaysSoAndAMissingRowKeepsWhatWasShown) {
    support::Inhalt i;
    i.text = [](int t, int y) {
        if (t == 2 && y == 1) return vb::Variant::null();
        if (t == 3 && y == 1) return vb::Variant(std::string());
        return vb::Variant("Text " + std::to_string(t) + "/" + std::to_string(y));
    };
    i.literatur = [](int t) { return t == 2 ? 3 : 1; };
    inhalt(i);
    {
        EngineEinstellen(dir.string());
        auto ws = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
        auto c = ws->OpenDatabase(pfad("zuv40typ.sdb"));
        c->Execute("DELETE FROM thema WHERE thementitelid = 4 AND enneatypid = 1");
        c->Close();
        db::DBEngine::instance().reset();
    }
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    for (int k : {1, 2}) {
        f.Combo1.setListIndex(k);
        const std::string text = f.RichTextBox1.Text();
        EXPECT_EQ(text.rfind("Thema " + std::to_string(k + 1) + "\r\n\r\n(Zu diesem Thema", 0), 0u) << text;
        EXPECT_EQ(gThemaInhalt, "");
    }
    // A reference without an author starts with what there is.
    f.Combo1.setListIndex(1);
    EXPECT_EQ(gLiteraturzeile, "; Arbeitshefte");
    EXPECT_TRUE(h().messages().empty());

    const std::string vorher = f.RichTextBox1.Text();
    f.Combo1.setListIndex(3);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find(DialogTxt(46) + "Thema 4" + DialogTxt(47) + gTypbezeichnung[1] + DialogTxt(48)),
              std::string::npos)
        << h().messages()[0];
    EXPECT_EQ(h().messages()[0].rfind("Folgender Fehler trat auf:", 0), 0u);
    EXPECT_EQ(f.RichTextBox1.Text(), vorher);

    // A type button whose type lacks the topic says so once, though moving to the type and the
    // button each show the topic.
    f.Command6[1].Click();
    h().clearRecords();
    f.Command6[0].Click();
    EXPECT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(f.Label3.Caption(), gTypbezeichnung[1]);
}

TEST_F(CodexTest, AMissingOrDamagedContentDatabaseIsNamedOnceAndTheWindowStaysUsable) {
    ASSERT_TRUE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Die Inhaltsdatenbank zuv40typ.sdb fehlt"), std::string::npos);
    ASSERT_EQ(fenster().size(), 1u);
    EXPECT_EQ(erstes().Combo1.ListCount(), 0);
    // A type button without contents says why; the reader's error box gives the pointer and the
    // status line back.
    forms::Screen::setMousePointer(forms::vbHourglass);
    SetStatusText("Drucken", true);
    erstes().Command6[2].Click();
    EXPECT_EQ(h().messages().size(), 2u);
    EXPECT_NE(h().messages()[1].find("nicht geöffnet"), std::string::npos);
    EXPECT_EQ(h().messages()[1].rfind("Folgender Fehler trat auf:\r\n\r\n", 0), 0u);
    EXPECT_NE(h().messages()[1].find("\r\nNummer: 91"), std::string::npos);
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));

    forms::resetAllWindows();
    resetGlobals();
    db::DBEngine::instance().reset();
    h().clearRecords();
    support::writeFile(dir / "zuv40typ.sdb", std::string(4096, 'x'));
    ASSERT_TRUE(starte());
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("Nummer: 3343"), std::string::npos) << h().messages()[0];
    EXPECT_EQ(support::readFile(dir / "zuv40typ.sdb"), std::string(4096, 'x'));
}

TEST_F(CodexTest, ReadingLeavesTheContentDatabaseAsItWas) {
    inhalt();
    const std::string vorher = support::readFile(dir / "zuv40typ.sdb");
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    for (int k = 0; k < 9; ++k) f.Command6[k].Click();
    f.Combo1.setListIndex(20);
    mdi().mnuTypeViewer_Click();
    forms::resetAllWindows();
    db::DBEngine::instance().reset();
    EXPECT_EQ(support::readFile(dir / "zuv40typ.sdb"), vorher);
}

TEST_F(CodexTest, NoTopicChosenAsksForOneAndTypedKeysChangeNothing) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    const std::string vorher = f.RichTextBox1.Text();
    f.Combo1.setListIndex(-1);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(8));
    EXPECT_EQ(h().last(Kind::MsgBox)->style, 48);
    EXPECT_EQ(f.RichTextBox1.Text(), vorher);

    keyClick(&f.RichTextBox1, Qt::Key_X, "x");
    keyClick(&f.RichTextBox1, Qt::Key_Delete);
    keyClick(&f.RichTextBox1, Qt::Key_Backspace, "\b");
    EXPECT_EQ(f.RichTextBox1.Text(), vorher);
    int taste = 'x';
    f.RichTextBox1_KeyPress(taste);
    EXPECT_EQ(taste, 0);
}

TEST_F(CodexTest, TheActivatedWindowsTypeAndTopicAreWhatPrintsByTopic) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& a = erstes();
    a.Command6[3].Click();
    a.Combo1.setListIndex(4);
    mdi().mnuTypeViewer_Click();
    Form2& b = *fenster().at(1);
    b.Command6[6].Click();
    b.Combo1.setListIndex(9);
    EXPECT_EQ(gAktTyp, 7);
    EXPECT_EQ(gThemaTitel, "Thema 10");

    mdi().mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a.outerWindow()));
    a.activateSelf();
    EXPECT_EQ(gAktTyp, 4);
    EXPECT_EQ(gThemaTitel, "Thema 5");
    EXPECT_EQ(gThemaInhalt.rfind("Text zu Thema 5 für Typ 4.", 0), 0u);
}

TEST_F(CodexTest, ScrollBarsAppearBelowTheLaidOutSizeAndStepByTenAndThirty) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    QWidget* rahmen = f.outerWindow();
    rahmen->resize(1200, 800);
    warte();
    EXPECT_FALSE(f.isScrollBarShown(forms::SB_HORZ));
    EXPECT_FALSE(f.isScrollBarShown(forms::SB_VERT));

    rahmen->resize(700, 450);
    warte();
    ASSERT_TRUE(f.isScrollBarShown(forms::SB_HORZ));
    ASSERT_TRUE(f.isScrollBarShown(forms::SB_VERT));
    forms::ScrollInfo info;
    info.fMask = forms::SIF_ALL;
    f.GetScrollInfo(forms::SB_HORZ, info);
    EXPECT_EQ(info.nMax, 1000 - f.GetClientRect().width());
    f.GetScrollInfo(forms::SB_VERT, info);
    EXPECT_EQ(info.nMax, 600 - f.GetClientRect().height());

    f.sendScroll(forms::SB_VERT, forms::SB_LINEDOWN);
    EXPECT_EQ(f.Scroller.GetScrollPosition(1), 10);
    EXPECT_EQ(f.Picture1.y(), -10);
    f.sendScroll(forms::SB_VERT, forms::SB_PAGEDOWN);
    EXPECT_EQ(f.Scroller.GetScrollPosition(1), 40);
    f.sendScroll(forms::SB_VERT, forms::SB_ENDSCROLL);
    EXPECT_EQ(f.Scroller.GetScrollPosition(1), 40);
    f.sendScroll(forms::SB_HORZ, forms::SB_THUMBTRACK, 25);
    EXPECT_EQ(f.Scroller.GetScrollPosition(0), 25);
    EXPECT_EQ(f.Picture1.x(), -25);
    f.sendScroll(forms::SB_HORZ, forms::SB_PAGEUP);
    EXPECT_EQ(f.Scroller.GetScrollPosition(0), 0);
}

}  // namespace
