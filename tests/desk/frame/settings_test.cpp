#include "frame_fixture.h"

using namespace frame_test;

namespace {

class SettingsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
    // The stored settings row, read anew.
    vb::Variant gespeichert(const std::string& feld) {
        auto d = gWorkspace->OpenDatabase(files::resolve(gProgrammDB));
        auto rs = d->OpenRecordset("Konfiguration", db::RecordsetType::Snapshot);
        rs->MoveFirst();
        vb::Variant v = rs->Fields(feld).Value();
        d->Close();
        return v;
    }
    std::string typSpalte(const std::string& spalte, int zeile) {
        auto d = gWorkspace->OpenDatabase(files::resolve(gProgrammDB));
        auto rs = d->OpenRecordset("Typ", db::RecordsetType::Snapshot);
        rs->MoveFirst();
        for (int i = 1; i < zeile; ++i) rs->MoveNext();
        return vb::CStr(rs->Fields(spalte).Value());
    }
};

TEST_F(SettingsTest, NamingSchemesFillTheDesignations) {
    // The installed row chooses the standard names.
    EXPECT_EQ(gTypbenennung.toInt(), 3);
    EXPECT_EQ(gTypbezeichnung[1], typSpalte("typbezeichnungZUVStandard", 1));
    EXPECT_EQ(gTypbezeichnung[0], "");

    Form4& f = forms::Default<Form4>();
    f.Show();
    f.Option3.setValue(true);  // the digits
    f.Command1_Click();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(gTypbenennung.toInt(), 1);
    for (int t = 1; t <= 9; ++t) EXPECT_EQ(gTypbezeichnung[t], std::to_string(t));
    EXPECT_TRUE(gespeichert("typbenennungzifferausgeschrieben").toBool());
    EXPECT_FALSE(gespeichert("typbenennungzuvstandard").toBool());

    // Option1 and its flag select the column typbezeichnung.
    forms::Default<Form4>().Option1.setValue(true);
    forms::Instance<Form4>().Command1_Click();
    EXPECT_EQ(gTypbenennung.toInt(), 2);
    EXPECT_EQ(gTypbezeichnung[9], typSpalte("typbezeichnung", 9));
    EXPECT_TRUE(gespeichert("typbenennungziffer").toBool());

    // The next load reads the stored choice back.
    forms::Default<Form4>();
    EXPECT_TRUE(forms::Instance<Form4>().Option1.Value());
    EXPECT_EQ(gTypbezeichnung[9], typSpalte("typbezeichnung", 9));
}

TEST_F(SettingsTest, OkStoresCancelRestoresAndReportSwitchesSurvive) {
    Form4& f = forms::Default<Form4>();
    f.Show();
    const std::string alteSchrift = gStandardschriftart;
    // A font within the limits is taken without a question.
    forms::FontChoice fc;
    fc.name = "Arial";
    fc.size = 12;
    fc.bold = true;
    h().chooseFont(fc);
    f.Befehl4_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(gStandardschriftart, "Arial");
    EXPECT_TRUE(gStandardschriftFett);
    h().chooseColor(0x123456);
    f.Command5_Click();
    EXPECT_EQ(vb::CLng(gExtraschriftfarbe), 0x123456);

    // Cancel: nothing stored, and memory goes back to the stored settings.
    f.Befehl3_Click();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(gStandardschriftart, alteSchrift);
    EXPECT_NE(vb::CLng(gExtraschriftfarbe), 0x123456);
    EXPECT_EQ(vb::CStr(gespeichert("Standardschriftart")), alteSchrift);

    // The close box leaves the window like Cancel: the chosen colour is not kept.
    Form4& z = forms::Default<Form4>();
    z.Show();
    h().chooseColor(0x654321);
    z.Befehl5_Click();
    EXPECT_EQ(vb::CLng(gStandardschriftfarbe), 0x654321);
    z.close();
    EXPECT_FALSE(z.isLoaded());
    EXPECT_NE(vb::CLng(gStandardschriftfarbe), 0x654321);

    // The report window changes its switch while the settings window is open; OK keeps it.
    Form4& g = forms::Default<Form4>();
    g.Show();
    {
        auto d = gWorkspace->OpenDatabase(files::resolve(gProgrammDB));
        d->Execute("UPDATE Konfiguration SET DruckNameKopf = 0");
        d->Close();
    }
    h().chooseFont(fc);
    g.Befehl4_Click();
    g.Text6[0].setText("Erika");
    g.Combo2.setListIndex(1);
    g.Check1.setValue(0);
    g.Command1_Click();
    EXPECT_EQ(vb::CStr(gespeichert("Standardschriftart")), "Arial");
    EXPECT_TRUE(gespeichert("StandardschriftFett").toBool());
    EXPECT_EQ(vb::CStr(gespeichert("Vorname")), "Erika");
    EXPECT_EQ(vb::CStr(gespeichert("DruckZeilenabstand")), LabelTxt(184));
    EXPECT_EQ(gDruckZeilenabstand, 2);
    EXPECT_FALSE(gespeichert("Assistentanzeige").toBool());
    EXPECT_EQ(gAssistentanzeige, 0);
    EXPECT_FALSE(forms::IsLoaded<frmAssist>());
    EXPECT_FALSE(gespeichert("DruckNameKopf").toBool());
}

TEST_F(SettingsTest, FontQuestionsReopenTheDialogWithTheStoredFont) {
    Form4& f = forms::Default<Form4>();
    const std::string alt = gExtraschriftart;
    forms::FontChoice gross;
    gross.name = "Arial";
    gross.size = 10.5;  // above the extra font's limit of 10
    forms::FontChoice fremd;
    fremd.name = "arial";  // not exactly one of the recommended names
    fremd.size = 10;
    forms::FontChoice gut;
    gut.name = "Courier New";
    gut.size = 10;
    h().chooseFont(gross).answer(forms::vbNo).chooseFont(fremd).answer(forms::vbNo).chooseFont(gut);
    f.Command4_Click();
    const auto fonts = h().records(forms::HostRecord::Kind::Font);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(h().lastFontPreset().name, alt);  // reopened with the stored font, not the rejected one
    EXPECT_EQ(h().messages(), (std::vector<std::string>{DialogTxt(35), DialogTxt(36)}));
    EXPECT_EQ(gExtraschriftart, "Courier New");
    EXPECT_EQ(gExtraschriftGroesse, 10);

    // Both questions in one pass: either No rejects the choice.
    forms::FontChoice beides;
    beides.name = "Fantasie";
    beides.size = 14;
    h().clearRecords();
    h().chooseFont(beides).answer(forms::vbNo).answer(forms::vbYes).cancelDialog();
    f.Befehl4_Click();
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Font).size(), 2u);
    EXPECT_NE(gStandardschriftart, "Fantasie");
}

TEST_F(SettingsTest, UnusualStoredRowsLoadAsTheyStand) {
    auto aendere = [&](const std::string& sql) {
        forms::Unload<Form4>();
        auto d = gWorkspace->OpenDatabase(files::resolve(gProgrammDB));
        d->Execute(sql);
        d->Close();
    };
    // Several naming flags: the option set last in load order wins the group and decides the
    // scheme (Option2 is set after Option3, so the standard names, not the digits).
    // A line spacing that is neither list entry is shown as it stands and leaves the variable.
    // A cleared assistant flag clears the box.
    gDruckZeilenabstand = 2;
    aendere(
        "UPDATE Konfiguration SET typbenennungzifferausgeschrieben = -1, typbenennungzuvstandard = -1, "
        "DruckZeilenabstand = 'anderthalb', Assistentanzeige = 0");
    Form4& f = forms::Default<Form4>();
    EXPECT_TRUE(f.Option2.Value());
    EXPECT_FALSE(f.Option3.Value());
    EXPECT_EQ(gTypbenennung.toInt(), 3);
    EXPECT_EQ(gTypbezeichnung[1], typSpalte("typbezeichnungZUVStandard", 1));
    EXPECT_EQ(f.Combo2.Text(), "anderthalb");
    EXPECT_EQ(gDruckZeilenabstand, 2);
    EXPECT_EQ(f.Check1.Value(), 0);
    f.Show();
    f.Command1_Click();
    EXPECT_EQ(vb::CStr(gespeichert("DruckZeilenabstand")), "anderthalb");
    EXPECT_TRUE(gespeichert("typbenennungzuvstandard").toBool());
    EXPECT_FALSE(gespeichert("typbenennungzifferausgeschrieben").toBool());
    EXPECT_EQ(gDruckZeilenabstand, 2);

    // No flag at all: no option, the scheme and the designations stay as they were.
    aendere("UPDATE Konfiguration SET typbenennungzuvstandard = 0");
    const std::string vorher = gTypbezeichnung[4];
    Form4& g = forms::Default<Form4>();
    for (forms::OptionButton* o :
         {&g.Option1, &g.Option3, &g.Option2, &g.Option4, &g.Option5[0], &g.Option5[1], &g.Option5[2]})
        EXPECT_FALSE(o->Value());
    EXPECT_EQ(gTypbenennung.toInt(), 3);
    EXPECT_EQ(gTypbezeichnung[4], vorher);
}

TEST_F(SettingsTest, EleventhResultWindowIsRefusedAndTheCountComesBack) {
    neueDatei("A");
    personenAnlegen(*gDatenbank, 1);
    gAktPersonID = 1;
    struct Testfenster : forms::Form {
        Testfenster() : forms::Form("auswertform") { setMdiChild(true); }
        void Form_Unload(int&) override { ChildWindowClosed(); }
    };
    // Every result window opens through the one shared procedure, as the commands open theirs.
    auto oeffnen = [](const std::string& titel) {
        return ErgebnisfensterOeffnen(new Testfenster(), gAuswertFenster, [&](forms::Form& f) { f.setCaption(titel); });
    };
    mdi().mnuAuswertung_Click();  // the evaluation window is the first
    EXPECT_EQ(gAuswertungsart, 1);
    EXPECT_EQ(gSeite, 1);
    EXPECT_EQ(gFensterAnzahl, 1);
    for (int i = 2; i <= 10; ++i) {
        EXPECT_NE(oeffnen(LabelTxt(158)), nullptr);
        EXPECT_EQ(gFensterAnzahl, i);
        EXPECT_TRUE(mdi().mnuWindow.Visible());
        EXPECT_TRUE(mdi().mnuBearbeiten.Visible());
    }
    EXPECT_EQ(mdi().children().size(), 10u);
    h().clearRecords();
    EXPECT_EQ(oeffnen(LabelTxt(158)), nullptr);
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(33)});
    EXPECT_EQ(gFensterAnzahl, 10);
    EXPECT_EQ(mdi().children().size(), 10u);
    EXPECT_EQ(forms::Screen::MousePointer(), forms::vbDefault);

    forms::Unload(*mdi().children().front());
    EXPECT_EQ(gFensterAnzahl, 9);
    mdi().mnuStatistik_Click();
    EXPECT_EQ(gAuswertungsart, 2);
    EXPECT_EQ(gFensterAnzahl, 10);
    EXPECT_EQ(mdi().ActiveForm()->Caption(), LabelTxt(210));

    // Closing the data file closes them all and hides the window menus.
    mdi().mnuClose_Click();
    EXPECT_EQ(gFensterAnzahl, 0);
    EXPECT_FALSE(mdi().mnuWindow.Visible());
}

TEST_F(SettingsTest, CommandsForPrintMenuRepeatAndSiblingPrograms) {
    neueDatei("A");
    std::ofstream(dir / "ZUVGrafik2.bmp") << "x";
    mdi().mnuDruckEnneagramm.setEnabled(true);
    mdi().mnuDrucken_Click();
    EXPECT_TRUE(mdi().mnuDruckGrafik.Enabled());
    EXPECT_FALSE(mdi().mnuDruckEnneagramm.Enabled());
    EXPECT_FALSE(mdi().mnuDruckDateivergleich.Enabled());
    EXPECT_FALSE(mdi().mnuDruckTabelle.Enabled());

    // Repeat from a statement: 0, 110 and text are refused; 108.6 gives 109.
    h().input("0").input("110").input("abc").input("108.6");
    mdi().mnuWiederholen_Click();
    EXPECT_EQ(h().messages(), (std::vector<std::string>(3, DialogTxt(62))));
    EXPECT_EQ(gAktAussage, 109);
    h().input("1.4");
    mdi().mnuWiederholen_Click();
    EXPECT_EQ(gAktAussage, 1);
    h().clearRecords();
    h().cancelInput();
    mdi().mnuWiederholen_Click();
    EXPECT_TRUE(h().messages().empty());

    // Missing sibling programs are named; a present one is started.
    mdi().mnuLernen_Click();
    mdi().mnuBilder_Click();
    EXPECT_EQ(h().messages(), (std::vector<std::string>{DialogTxt(55), DialogTxt(56)}));
    std::ofstream(dir / "zuvcodex") << "#!/bin/sh\n";
    mdi().mnuTypenbeschreibungen_Click();
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Shell).size(), 1u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Shell)[0].text, (dir / "zuvcodex").string());

    // Help: the installed help file opens at its start page, from the menu and from the assistant.
    mdi().mnuHilfeinhalt_Click();
    forms::Default<frmAssist>().SSCommand1_Click(6);
    ASSERT_EQ(h().records(forms::HostRecord::Kind::Help).size(), 2u);
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Help)[0].title, "");
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Help)[1].title, "");

    // The file looked for is the file that opens: with the data in a folder of its own, the help
    // beside the program still opens, and a missing one is said to be missing.
    const std::string datenordner = gAppPath;
    fs::create_directories(dir / "Daten");
    gAppPath = (dir / "Daten").string();
    h().clearRecords();
    mdi().mnuHilfeinhalt_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Help).size(), 1u);
    fs::rename(dir / "ZUVDESK.chm", dir / "weg.chm");
    std::ofstream(dir / "Daten" / "ZUVDESK.chm") << "x";
    mdi().mnuHilfeinhalt_Click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(57)});
    EXPECT_EQ(h().records(forms::HostRecord::Kind::Help).size(), 1u);
    fs::rename(dir / "weg.chm", dir / "ZUVDESK.chm");
    gAppPath = datenordner;
}

}  // namespace
