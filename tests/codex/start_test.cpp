// Start-up, main window and window counting of the reader.

#include "codex_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "codex/frm_info.h"
#include "platform/forms/screen.h"
#include "platform/vb/ascii.h"
#include "platform/vb/strings.h"
#include "support/gui_input.h"
#include "support/konten.h"

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

TEST_F(CodexTest, StartOpensOneDescriptionWindowWithTheFirstTopic) {
    inhalt();
    ASSERT_TRUE(starte());
    form9& s = forms::Instance<form9>();
    EXPECT_EQ(s.Label1.Caption(), LabelTxt(0) + " " + LabelTxt(1));
    EXPECT_EQ(s.Label3.Caption(), "Z.U.V. 4.0");
    EXPECT_EQ(s.Label4.Caption(), LabelTxt(39));
    EXPECT_FALSE(s.Zeit1.Enabled());
    EXPECT_FALSE(s.Visible());
    EXPECT_TRUE(forms::IsLoaded<Form4>());
    EXPECT_FALSE(forms::Instance<Form4>().Visible());
    EXPECT_TRUE(mdi().Visible());
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 4.0 Typenbeschreibungen");
    EXPECT_EQ(mdi().mnuBeenden.Caption(), MenuTxt(0));
    EXPECT_EQ(mdi().mnuDruckAlleThemen.Caption(), MenuTxt(28));
    EXPECT_EQ(mdi().mnuUebereinander.Caption(), MenuTxt(23));
    // The reader's own texts and settings row.
    EXPECT_EQ(DialogTxt(3), "Z.U.V. Typenbeschreibungen");
    EXPECT_EQ(gStandardschriftart, "Arial");
    EXPECT_EQ(gTypbezeichnung[2], "Helfer");

    ASSERT_EQ(fenster().size(), 1u);
    EXPECT_EQ(gFensterAnzahl, 1);
    EXPECT_TRUE(mdi().mnuBearbeiten.Visible());
    EXPECT_TRUE(mdi().mnuWindow.Visible());
    EXPECT_FALSE(mdi().mnuKopieren.Enabled());
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));
    Form2& f = erstes();
    EXPECT_EQ(f.Combo1.Text(), "Thema 1");
    EXPECT_NE(f.RichTextBox1.Text().find("Text zu Thema 1 für Typ 1."), std::string::npos);
    EXPECT_EQ(f.Caption(), gTypbezeichnung[1]);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(CodexTest, AStartThatFailsEndsAfterItsMessage) {
    fs::remove(dir / "zuv.sdb");
    EXPECT_FALSE(starte());
    form9& s = forms::Instance<form9>();
    EXPECT_TRUE(s.abgebrochen());
    EXPECT_FALSE(s.Visible());
    EXPECT_FALSE(mdi().isLoaded());
    // The standard error box: its fixed words, the reason and the number.
    ASSERT_EQ(h().messages().size(), 1u);
    const std::string text = h().messages()[0];
    EXPECT_EQ(text.rfind("Folgender Fehler trat auf:\r\n\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("nicht gestartet"), std::string::npos);
    EXPECT_NE(text.find("zuv.sdb"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nNummer: "), std::string::npos);
    EXPECT_EQ(h().last(Kind::MsgBox)->title, "Z.U.V. 4.0 Typenbeschreibungen");
}

TEST_F(CodexTest, TheDataFolderOfTheIniFileIsFoundWhateverItsCase) {
    inhalt();
    std::string ini = support::readFile(dir / "Zuv50.ini");
    const std::string ordner = dir.string();
    const std::string anders = vb::ascii::upper(ordner);
    ini = vb::Replace(ini, ordner, anders);
    support::writeFile(dir / "Zuv50.ini", ini);
    ASSERT_TRUE(starte());
    EXPECT_EQ(fenster().size(), 1u);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(CodexTest, AnAdministratorsInstallationStartsOnTheUsersOwnIniAndSettings) {
    inhalt();
    const fs::path eigen = support::makeTempDir("zuv-eigen");
    ::setenv("XDG_CONFIG_HOME", (eigen / "konfig").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (eigen / "daten").c_str(), 1);
    struct Aufraeumen {
        fs::path eigen;
        ~Aufraeumen() {
            ::unsetenv("XDG_CONFIG_HOME");
            ::unsetenv("XDG_DATA_HOME");
            std::error_code ec;
            fs::remove_all(eigen, ec);
        }
    } aufraeumen{eigen};
    support::NurLesbareAnsicht ansicht(dir);
    if (!ansicht.fehler().empty()) GTEST_SKIP() << "no read-only mount on this machine: " << ansicht.fehler();
    files::setProgramFolder(ansicht.pfad().string());
    ASSERT_TRUE(starte()) << (h().messages().empty() ? "" : h().messages()[0]);
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(fenster().size(), 1u);
    EXPECT_EQ(gIniDatei, (eigen / "konfig" / "zuv" / "Zuv50.ini").string());
    EXPECT_EQ(gProgrammDB, (eigen / "konfig" / "zuv" / "zuv.sdb").string());
    // The content database is the installation's, read where it lies.
    EXPECT_EQ(fs::path(files::resolve(Inhaltsdatenbank())).parent_path(), ansicht.pfad());
    EXPECT_NE(erstes().RichTextBox1.Text().find("Text zu Thema 1 für Typ 1."), std::string::npos);
    forms::resetAllWindows();
    db::DBEngine::instance().reset();
}

TEST_F(CodexTest, TenWindowsAtMostAndTheMenusFollowTheirCount) {
    inhalt();
    ASSERT_TRUE(starte());
    for (int i = 0; i < 9; ++i) mdi().SSCommand1->Click();
    EXPECT_EQ(fenster().size(), 10u);
    EXPECT_EQ(gFensterAnzahl, 10);
    mdi().SSCommand1->Click();
    EXPECT_EQ(fenster().size(), 10u);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(33));
    EXPECT_EQ(h().last(Kind::MsgBox)->style, forms::vbOKOnly);
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);

    forms::Unload(*fenster()[4]);
    warte();
    EXPECT_EQ(gFensterAnzahl, 9);
    mdi().mnuTypeViewer.choose();
    EXPECT_EQ(fenster().size(), 10u);

    for (Form2* f : fenster()) forms::Unload(*f);
    warte();
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_FALSE(mdi().mnuBearbeiten.Visible());
    EXPECT_FALSE(mdi().mnuWindow.Visible());

    // One window fills the area; a second one cascades both.
    mdi().mnuTypeViewer_Click();
    EXPECT_TRUE(mdi().mnuWindow.Visible());
    const QRect bereich = mdi().mdiArea()->viewport()->rect();
    auto rahmen = [](Form2* f) { return f->outerWindow()->geometry(); };
    EXPECT_EQ(rahmen(fenster()[0]), bereich);
    mdi().mnuTypeViewer_Click();
    EXPECT_NE(rahmen(fenster()[0]).topLeft(), rahmen(fenster()[1]).topLeft());
    mdi().mnuVertikal_Click();
    EXPECT_EQ(rahmen(fenster()[0]).height(), bereich.height());
    EXPECT_EQ(rahmen(fenster()[1]).left(), rahmen(fenster()[0]).right() + 1);
    mdi().mnuHorizontal_Click();
    EXPECT_EQ(rahmen(fenster()[0]).width(), bereich.width());
    EXPECT_EQ(rahmen(fenster()[1]).top(), rahmen(fenster()[0]).bottom() + 1);
}

TEST_F(CodexTest, ExitAsksFirstAndNoLeavesEverythingOpen) {
    inhalt();
    ASSERT_TRUE(starte());
    h().answer(forms::vbNo);
    mdi().mnuBeenden.choose();
    ASSERT_EQ(h().records(Kind::MsgBox).size(), 1u);
    EXPECT_EQ(h().last(Kind::MsgBox)->text, DialogTxt(2));
    EXPECT_EQ(h().last(Kind::MsgBox)->style, 52);
    EXPECT_EQ(h().last(Kind::MsgBox)->title, DialogTxt(3));
    EXPECT_TRUE(mdi().isLoaded());
    EXPECT_EQ(fenster().size(), 1u);

    bool beendet = false;
    QObject::connect(&mdi(), &forms::Form::unloaded, [&] { beendet = true; });
    h().answer(forms::vbYes);
    mdi().mnuBeenden.choose();
    EXPECT_TRUE(beendet);
    EXPECT_FALSE(mdi().isLoaded());
    EXPECT_EQ(h().records(Kind::MsgBox).size(), 2u);  // no further question
}

TEST_F(CodexTest, HelpOpensTheFileItLookedForOrSaysItIsMissing) {
    inhalt();
    ASSERT_TRUE(starte());
    mdi().SSCommand3->Click();
    ASSERT_NE(h().last(Kind::Help), nullptr);
    EXPECT_EQ(h().last(Kind::Help)->text, (dir / "ZUVTYP.chm").string());
    EXPECT_EQ(h().last(Kind::Help)->title, "");

    fs::remove(dir / "ZUVTYP.chm");
    h().clearRecords();
    mdi().mnuInhalt.choose();
    EXPECT_EQ(h().last(Kind::Help), nullptr);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(7));
    EXPECT_EQ(h().last(Kind::MsgBox)->style, 48);
}

TEST_F(CodexTest, CopyPutsTheSelectedTextOnTheClipboard) {
    inhalt();
    ASSERT_TRUE(starte());
    Form2& f = erstes();
    forms::Clipboard::Clear();
    forms::Clipboard::SetText("vorher");
    mdi().mnuKopieren_Click();  // nothing selected
    EXPECT_EQ(forms::Clipboard::GetText(), "vorher");

    f.RichTextBox1.setSelStart(0);
    f.RichTextBox1.setSelLength(7);
    EXPECT_TRUE(mdi().mnuKopieren.Enabled());
    mdi().mnuKopieren.choose();
    EXPECT_EQ(forms::Clipboard::GetText(), "Thema 1");
    f.RichTextBox1.setSelLength(0);
    EXPECT_FALSE(mdi().mnuKopieren.Enabled());
}

TEST_F(CodexTest, ToolbarHintsAndTheAboutBox) {
    inhalt();
    ASSERT_TRUE(starte());
    EXPECT_EQ(mdi().SSCommand2->Caption(), LabelTxt(4));
    mdi().SSCommand_MouseMove(0);
    mdi().SSCommand_MouseMove(2);
    EXPECT_EQ(mdi().SSCommand1->ToolTipText(), LabelTxt(3));
    EXPECT_EQ(mdi().SSCommand3->ToolTipText(), LabelTxt(42));

    std::string zeile;
    imModal<frmInfo>([&](frmInfo& i) {
        zeile = i.Label1.Caption() + "|" + i.Label3.Caption() + "|" + i.Label4.Caption();
        keyClick(&i, Qt::Key_A, "a");
    });
    mdi().mnuUeber.choose();
    EXPECT_EQ(zeile, LabelTxt(0) + " " + LabelTxt(1) + "|Z.U.V. 4.0|" + LabelTxt(39));
    EXPECT_FALSE(forms::IsLoaded<frmInfo>());

    // A key that types nothing closes the box as well.
    bool offen = true;
    imModal<frmInfo>([&](frmInfo& i) {
        keyClick(&i, Qt::Key_F5);
        offen = forms::IsLoaded<frmInfo>();
        if (offen) forms::Unload(i);
    });
    mdi().mnuUeber.choose();
    EXPECT_FALSE(offen);
}

}  // namespace
