// The reader's settings dialog on its own row of KonfigurationTypen, and the print manager's twenty
// stored switches.

#include "codex_fixture.h"

#include <QFont>
#include <QFontInfo>

#include "platform/draw/fonts.h"

using namespace codex_test;
using Kind = forms::HostRecord::Kind;

namespace {

forms::FontChoice schrift(const std::string& name, double groesse, bool fett = false) {
    forms::FontChoice f;
    f.name = name;
    f.size = groesse;
    f.bold = fett;
    return f;
}

class Einstellungen : public CodexTest {
protected:
    void SetUp() override {
        CodexTest::SetUp();
        inhalt();
    }
    void los() {
        ASSERT_TRUE(starte());
        h().clearRecords();
    }
    std::string wert(const std::string& sql) {
        auto r = support::run("sqlite3 -batch " + support::shellQuote(pfad("zuv.sdb")) + " " + support::shellQuote(sql));
        EXPECT_EQ(r.status, 0) << r.output;
        return r.output.empty() ? r.output : r.output.substr(0, r.output.size() - 1);
    }
};

TEST_F(Einstellungen, TheStandardFontAsksAboveTenPointsAndOutsideTheList) {
    los();
    Form4& d = forms::Default<Form4>();
    h().chooseFont(schrift("Arial", 10, true));
    d.Befehl4_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(gStandardschriftart, "Arial");
    EXPECT_EQ(gStandardschriftGroesse, 10);
    EXPECT_TRUE(gStandardschriftFett);

    // 11 points: No opens the dialog again, Yes takes it.
    h().clearRecords();
    h().chooseFont(schrift("Arial", 11)).answer(forms::vbNo).chooseFont(schrift("Arial", 11)).answer(forms::vbYes);
    d.Befehl4_Click();
    ASSERT_EQ(h().messages().size(), 2u);
    EXPECT_EQ(h().messages()[0], DialogTxt(35));
    EXPECT_EQ(h().records(Kind::Font).size(), 2u);
    EXPECT_EQ(gStandardschriftGroesse, 11);

    // A font outside the list: after a No, a valid choice is taken at once.
    h().clearRecords();
    h().chooseFont(schrift("Fantasie", 9)).answer(forms::vbNo).chooseFont(schrift("Times New Roman", 9));
    d.Befehl4_Click();
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(h().messages()[0], DialogTxt(36));
    EXPECT_EQ(gStandardschriftart, "Times New Roman");

    // The faces the recommended fonts are drawn in on this system, on the screen and on paper,
    // count as recommended; a name spelt otherwise does not.
    for (const char* empfohlen : {"Arial", "Times New Roman", "Courier New"}) {
        for (const std::string& hier : {QFontInfo(QFont(empfohlen)).family().toStdString(), draw::familyFor(empfohlen)}) {
            h().clearRecords();
            h().chooseFont(schrift(hier, 9));
            d.Befehl4_Click();
            EXPECT_TRUE(h().messages().empty()) << empfohlen << " is drawn in " << hier;
            EXPECT_EQ(gStandardschriftart, hier);
        }
    }
    h().clearRecords();
    h().chooseFont(schrift("times new roman", 9)).answer(forms::vbNo).cancelDialog();
    d.Befehl4_Click();
    EXPECT_EQ(h().messages(), std::vector<std::string>{DialogTxt(36)});
    h().chooseFont(schrift("Times New Roman", 9));
    d.Befehl4_Click();

    // Cancelling leaves the loop and the font as it was.
    h().clearRecords();
    h().cancelDialog();
    d.Befehl4_Click();
    EXPECT_TRUE(h().messages().empty());
    EXPECT_EQ(gStandardschriftart, "Times New Roman");
    EXPECT_EQ(gStandardschriftGroesse, 9);
}

TEST_F(Einstellungen, OkStoresTheReadersRowAndTakesTheNamingScheme) {
    los();
    Form4& d = forms::Default<Form4>();
    EXPECT_EQ(d.Data1.RecordSource(), "KonfigurationTypen");
    d.Option5[1].setValue(true);
    d.Combo2.setText(LabelTxt(184));
    h().chooseFont(schrift("Courier New", 9));
    d.Befehl4_Click();
    d.Text6[2].setText("Praxis Sonnenweg");
    d.Command1_Click();
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(gTypbenennung.toInt(), 6);
    EXPECT_EQ(gDruckZeilenabstand, 2);
    EXPECT_EQ(gTypbezeichnung[1], "Idealist");
    EXPECT_EQ(gTypbezeichnung[9], "Ausgleicher");
    EXPECT_EQ(wert("SELECT typbenennungquimbly, typbenennungzuvstandard, Standardschriftart, StandardschriftGroesse, "
                   "DruckZeilenabstand, Firma FROM KonfigurationTypen"),
              "-1|0|Courier New|9|" + LabelTxt(184) + "|Praxis Sonnenweg");
    // ZUVDESK's row stays as it was.
    EXPECT_EQ(wert("SELECT typbenennungquimbly, typbenennungzuvstandard, Standardschriftart FROM Konfiguration"),
              "0|-1|Arial");

    // A window opened afterwards names the types in the new scheme.
    mdi().mnuTypeViewer_Click();
    EXPECT_EQ(fenster().back()->Command6[0].Caption(), "Idealist");
}

TEST_F(Einstellungen, CancelAndTheCloseBoxStoreNothing) {
    const std::string vorher = wert("SELECT * FROM KonfigurationTypen");
    los();
    Form4& d = forms::Default<Form4>();
    d.Option3.setValue(true);
    h().chooseFont(schrift("Arial", 8));
    d.Befehl4_Click();
    d.Befehl3_Click();
    EXPECT_EQ(wert("SELECT * FROM KonfigurationTypen"), vorher);
    EXPECT_EQ(gStandardschriftGroesse, 10);  // the chosen font goes back to the stored one
    EXPECT_EQ(gTypbezeichnung[1], "Perfektionist");
}

TEST_F(Einstellungen, HelpOfTheDialogOpensTheReadersTopic) {
    los();
    forms::Default<Form4>().Command2_Click();
    ASSERT_NE(h().last(Kind::Help), nullptr);
    EXPECT_EQ(h().last(Kind::Help)->text, pfad("ZUVTYP.chm"));
    EXPECT_EQ(h().last(Kind::Help)->title, "html/zuvt33qm.htm");
}

TEST_F(Einstellungen, TheTwentySwitchesAreStoredAndReadBackBoxByBox) {
    wert("UPDATE KonfigurationTypen SET DruckFaxKopf = NULL, DruckLinieFuss = 0, DruckNameKopf = -1");
    los();
    frmDruckMan& d = forms::Default<frmDruckMan>();
    EXPECT_EQ(d.Check2[8].Value(), 0);  // Null
    EXPECT_EQ(d.Check4[2].Value(), 0);  // False
    EXPECT_EQ(d.Check2[0].Value(), 1);
    EXPECT_EQ(d.Check2[8].Caption(), LabelTxt(163));
    EXPECT_EQ(d.Check1[4].Caption(), LabelTxt(12));
    EXPECT_EQ(d.Check4[0].Caption(), d.Check1[0].Caption());

    // A pattern every box differs in from its neighbours, header and footer boxes apart.
    auto boxen = [&] {
        std::vector<forms::CheckBox*> b;
        for (auto& c : d.Check2) b.push_back(&c);
        for (auto& c : d.Check1) b.push_back(&c);
        for (auto& c : d.Check4) b.push_back(&c);
        return b;
    };
    const auto b = boxen();
    for (size_t i = 0; i < b.size(); ++i) b[i]->setValue(i % 3 == 0 ? 1 : 0);
    d.Check1[0].setValue(1);
    d.Check4[0].setValue(0);
    d.Command4_Click();
    EXPECT_TRUE(h().messages().empty());
    std::string erwartet;
    for (size_t i = 0; i < b.size(); ++i) erwartet += std::string(i ? "|" : "") + (b[i]->Value() ? "-1" : "0");
    std::string spalten;
    for (size_t i = 0; i < 20; ++i) spalten += std::string(i ? ", " : "") + Druckschalterfelder()[i];
    EXPECT_EQ(wert("SELECT " + spalten + " FROM KonfigurationTypen"), erwartet);

    // Unsaved changes are lost on closing; the stored state comes back.
    std::vector<int> gespeichert;
    for (auto* c : b) gespeichert.push_back(c->Value());
    d.Check2[5].setValue(1 - d.Check2[5].Value());
    d.Command2_Click();
    EXPECT_FALSE(d.isLoaded());
    frmDruckMan& neu = forms::Default<frmDruckMan>();
    const auto c = boxen();
    for (size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i]->Value(), gespeichert[i]) << i;
    (void)neu;
}

TEST_F(Einstellungen, StoringWithoutASettingsRowSaysSoAndWritesNothing) {
    wert("DELETE FROM KonfigurationTypen");
    los();
    frmDruckMan& d = forms::Default<frmDruckMan>();
    d.Command4_Click();
    ASSERT_FALSE(h().messages().empty());
    EXPECT_NE(h().messages().back().find("keine Zeile"), std::string::npos) << h().messages().back();
    EXPECT_EQ(wert("SELECT count(*) FROM KonfigurationTypen"), "0");
}

}  // namespace
