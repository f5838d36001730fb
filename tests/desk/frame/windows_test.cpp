#include "desk/evaluation/form15.h"
#include "frame_fixture.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include "desk/frame/frm_info.h"
#include "platform/forms/grid.h"
#include "platform/forms/screen.h"
#include "support/gui_input.h"
#include "support/sobald.h"

using namespace frame_test;

namespace {

class WindowsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        h().input("Kartei");
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
};

TEST_F(WindowsTest, AboutBoxRepeatsTheSplashTextsAndAnyKeyClosesIt) {
    auto* engineVorher = gWorkspace.get();
    imModal<frmInfo>([](frmInfo& f) {
        EXPECT_EQ(f.Label1.Caption(), LabelTxt(0) + " " + LabelTxt(1));
        EXPECT_EQ(f.Label3.Caption(), "Z.U.V. 5.0");
        EXPECT_EQ(f.Label2.Caption(), forms::Instance<form9>().Label2.Caption());
        EXPECT_EQ(f.Label4.Caption(), LabelTxt(159));
        keyClick(&f, Qt::Key_Return, "\r");
    });
    mdi().mnuÜber.Click();
    EXPECT_FALSE(forms::Instance<frmInfo>().isLoaded()) << ::testing::PrintToString(h().messages());
    imModal<frmInfo>([](frmInfo& f) { keyClick(&f, Qt::Key_Escape, "\x1b"); });
    mdi().mnuÜber.Click();
    EXPECT_FALSE(forms::Instance<frmInfo>().isLoaded());
    // The open data file and the login stay as they were.
    EXPECT_EQ(gWorkspace.get(), engineVorher);
    EXPECT_TRUE(gDateiOffen);
    mdi().mnuWebsite_Click();
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Url).size(), 1u);
}

TEST_F(WindowsTest, AssistantTasksReportMissingProgramsAndKeepColoursWhenOff) {
    frmAssist& a = forms::Default<frmAssist>();
    EXPECT_EQ(a.Label1[0].ForeColor(), kDunkelblau);
    EXPECT_EQ(a.Label2[7].ForeColor(), kDunkelblau);
    gAssistentanzeige = 0;
    a.Label1[4].setForeColor(kGruen);
    a.SSCommand1_Click(1);  // the reader program is not installed
    // No person chosen: the message names none.
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(44)});
    EXPECT_EQ(a.Label1[4].ForeColor(), kGruen);
    EXPECT_EQ(a.MousePointer(), forms::vbDefault);
    gAssistentanzeige = -1;
    a.SSCommand1_Click(1);
    EXPECT_EQ(a.Label1[4].ForeColor(), kSchwarz);
    EXPECT_EQ(a.Label2[3].ForeColor(), kSchwarz);

    // F1 opens the help start page and is consumed.
    int taste = 112;
    a.Form_KeyDown(taste, 0);
    EXPECT_EQ(taste, 0);
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Help).size(), 1u);
    a.Command1_Click();
    EXPECT_EQ(a.WindowState(), forms::vbMinimized);
    // Put aside, it comes back when the menu shows it again.
    mdi().mnuAssistent.Click();
    EXPECT_EQ(a.WindowState(), forms::vbNormal);
    EXPECT_TRUE(a.Visible());
}

// The assistant is a window of its own that the main window owns: it stays above it at every
// start and whenever it is shown again. The main window fits the screen it starts on.
TEST_F(WindowsTest, AssistantStaysAboveTheMainWindowWhichFitsTheScreen) {
    ASSERT_TRUE(mdi().isVisible());
    ASSERT_NE(mdi().windowHandle(), nullptr);
    mdi().mnuAssistent.Click();
    frmAssist& a = forms::Instance<frmAssist>();
    ASSERT_TRUE(a.isVisible());
    ASSERT_NE(a.windowHandle(), nullptr);
    EXPECT_EQ(a.windowHandle()->transientParent(), mdi().windowHandle());
    a.Hide();
    forms::Unload(a);
    mdi().mnuAssistent.Click();
    ASSERT_NE(forms::Instance<frmAssist>().windowHandle(), nullptr);
    EXPECT_EQ(forms::Instance<frmAssist>().windowHandle()->transientParent(), mdi().windowHandle());

    const QRect frei = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(mdi().height() + 40, frei.height());
}

// Within each menu of the main window an access key leads to one item only, with the texts of
// the installed settings database.
TEST_F(WindowsTest, NoTwoItemsOfAMenuShareAnAccessKey) {
    std::vector<std::string> doppelt;
    std::function<void(QMenu*)> pruefe = [&](QMenu* menue) {
        std::map<QChar, QString> tasten;
        for (QAction* a : menue->actions()) {
            if (a->isSeparator() || a->property("zuvWindowList").toBool()) continue;
            if (a->menu()) pruefe(a->menu());
            const QString t = a->text();
            const qsizetype i = t.indexOf('&');
            if (i < 0 || i + 1 >= t.size()) continue;
            const QChar taste = t.at(i + 1).toUpper();
            if (tasten.count(taste)) doppelt.push_back((menue->title() + ": " + tasten[taste] + " / " + t).toStdString());
            tasten[taste] = t;
        }
    };
    for (QAction* a : mdi().menuBar()->actions())
        if (a->menu()) pruefe(a->menu());
    EXPECT_TRUE(doppelt.empty()) << ::testing::PrintToString(doppelt);
}

TEST_F(WindowsTest, TenResultWindowsAtMostAndTheFirstFillsTheMainWindow) {
    struct Ergebnis : forms::Form {
        Ergebnis() : forms::Form("auswertform") { setMdiChild(true); }
        void Form_Unload(int&) override { ChildWindowClosed(); }
    };
    // The calling order of every result window.
    auto oeffnen = [&]() -> Ergebnis* {
        auto* e = new Ergebnis();
        if (!CanOpenChildWindow()) {
            delete e;
            return nullptr;
        }
        e->Show();
        ChildWindowOpened();
        return e;
    };
    std::vector<Ergebnis*> offen;
    offen.push_back(oeffnen());
    ASSERT_TRUE(offen[0]);
    EXPECT_TRUE(mdi().mnuWindow.Visible());
    EXPECT_TRUE(mdi().mnuBearbeiten.Visible());
    EXPECT_EQ(offen[0]->parentWidget()->geometry(), mdi().mdiArea()->viewport()->rect());
    for (int i = 2; i <= 10; ++i) {
        offen.push_back(oeffnen());
        ASSERT_TRUE(offen.back()) << i;
    }
    EXPECT_TRUE(h().messages().empty());
    SetStatusText("Auswertung wird berechnet", true);
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), "Auswertung wird berechnet" + LabelTxt(6));

    // The eleventh is refused with the limit message; the status line goes back to idle.
    EXPECT_EQ(oeffnen(), nullptr);
    EXPECT_EQ(gFensterAnzahl, 10);
    ASSERT_EQ(h().records(forms::HostRecord::Kind::MsgBox).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::MsgBox)[0].text, DialogTxt(33));
    EXPECT_EQ(h().records(forms::HostRecord::Kind::MsgBox)[0].title, DialogTxt(3));
    EXPECT_EQ(mdi().txtStatusMsg->Caption(), LabelTxt(5));

    // One closed: the next one opens.
    forms::Unload(*offen.back());
    offen.pop_back();
    offen.push_back(oeffnen());
    EXPECT_TRUE(offen.back());
    EXPECT_EQ(gFensterAnzahl, 10);
    for (Ergebnis* e : offen) forms::Unload(*e);
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_FALSE(mdi().mnuWindow.Visible());
    EXPECT_FALSE(mdi().mnuBearbeiten.Visible());
    ChildWindowClosed();  // once too often: the count stays at 0
    EXPECT_EQ(gFensterAnzahl, 0);
}

TEST_F(WindowsTest, ErrorBoxAndCaptionAreBuiltFromTheTexts) {
    ShowErrorMessage(vb::Error(vb::err::CancelError, "abgebrochen"));
    EXPECT_TRUE(h().messages().empty());
    ShowErrorMessage(vb::Error(vb::err::PathNotFound, "Pfad nicht gefunden"));
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], LabelTxt(363) + "\r\n\r\nPfad nicht gefunden\r\n" + LabelTxt(364) + " 3044");
    EXPECT_EQ(h().records(forms::HostRecord::Kind::MsgBox)[0].style, forms::vbOKOnly);

    gAktPerson[1] = "Anna";
    gAktPerson[2] = "Berg";
    gAktPerson[11] = "01.02.2026";
    UpdateMainCaption();
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + gDatenbankName + " - " + DialogTxt(34) + " Anna Berg/01.02.2026");
    gAktPerson = {};
    UpdateMainCaption();
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0: " + gDatenbankName);
    mdi().mnuClose_Click();
    UpdateMainCaption();
    EXPECT_EQ(mdi().Caption(), "Z.U.V. 5.0");
}

TEST_F(WindowsTest, CopyPutsTheAnswerTableAsTextAndNothingWithoutAWindow) {
    forms::Clipboard::SetText("vorher");
    mdi().CopyToClipboard();
    EXPECT_EQ(forms::Clipboard::GetText(), "vorher");

    gAntwortAnzahlJeTyp(3, 2) = 7;
    auto* t = new Form15();
    gTabellenFenster = t;
    ASSERT_TRUE(CanOpenChildWindow());
    t->Show();
    ChildWindowOpened();
    mdi().mnuKopieren.choose();
    const std::string text = forms::Clipboard::GetText();
    size_t zeilen = 0;
    for (size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++zeilen;
    EXPECT_EQ(zeilen, 10u);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), LabelTxt(157) + "\t0\t1\t2\t3\t4\t" + LabelTxt(252));
    EXPECT_NE(text.find(gTypbezeichnung[3] + "\t0\t7\t0\t0\t0\t0\r\n"), std::string::npos);

    // Closing the windows after a person was taken: the result window goes, the assistant returns,
    // and the windows that are no result windows (the settings, the chooser whose OK runs this)
    // stay loaded.
    forms::Default<Form4>();
    struct Waehler : forms::Form {
        Waehler() : forms::Form("Form3") {}
    };
    QPointer<Waehler> waehler = new Waehler();
    waehler->Show();
    QPointer<Form15> tabelle = t;
    SchliesseUnterfenster();
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_TRUE(tabelle.isNull() || !tabelle->isLoaded());
    EXPECT_TRUE(forms::IsLoaded<Form4>());
    ASSERT_FALSE(waehler.isNull());
    EXPECT_TRUE(waehler->isLoaded());
    forms::Unload(*waehler);
    EXPECT_TRUE(forms::Instance<frmAssist>().Visible());
    // With no result window open nothing is unloaded.
    forms::Default<Form4>();
    SchliesseUnterfenster();
    EXPECT_TRUE(forms::IsLoaded<Form4>());
}

}  // namespace

#include "desk/testing/form3.h"

namespace {

TEST_F(WindowsTest, TwoPersonChartNeedsTwoDifferentPersons) {
    personenAnlegen(*gDatenbank, 2);
    auto charts = [this] {
        int n = 0;
        for (forms::Form* c : mdi().children()) n += c->Name() == "frmChart";
        return n;
    };
    // The person chooser, shown modally one time after the other, gets these rows chosen.
    auto waehle = [](std::vector<int> zeilen) {
        auto rest = std::make_shared<std::vector<int>>(std::move(zeilen));
        support::sobald("the person chooser Form3", [rest] {
            if (rest->empty()) return true;
            if (!forms::IsLoaded<Form3>() || !forms::Instance<Form3>().isModalShown()) return false;
            Form3& f = forms::Instance<Form3>();
            f.Grid1.setRow(rest->front());
            rest->erase(rest->begin());
            f.Befehl1_Click();
            return rest->empty();
        });
    };
    // No after the first choice: nothing changes.
    gVergleichPersonID = 0;
    waehle({1});
    h().answer(forms::vbNo);
    mdi().mnuDateivergleich_Click();
    EXPECT_EQ(gVergleichPersonID, 0);
    EXPECT_EQ(charts(), 0);

    // The same person twice is refused with a message.
    waehle({1, 1});
    h().answer(forms::vbYes);
    mdi().mnuDateivergleich_Click();
    EXPECT_EQ(charts(), 0);
    EXPECT_EQ(gDateivergleich, 0);
    EXPECT_NE(h().messages().back().find("andere"), std::string::npos);

    // Two different persons: both are taken for the chart.
    waehle({1, 2});
    h().answer(forms::vbYes);
    mdi().mnuDateivergleich_Click();
    EXPECT_EQ(charts(), 1);
    EXPECT_EQ(gDateivergleich, 1);
    EXPECT_NE(gVergleichPersonID, gAktPersonID);
    EXPECT_EQ(mdi().ActiveForm()->Caption(), LabelTxt(225));
}

}  // namespace
