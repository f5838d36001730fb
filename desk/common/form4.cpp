#include "desk/common/form4.h"

#include "desk/common/engine_setup.h"

#include <QGridLayout>
#include <QFont>
#include <QFontInfo>
#include <QVBoxLayout>

#include <cmath>

#include "desk/common/globals.h"
#include "desk/common/knopfzeile.h"
#include "desk/common/main_window_port.h"
#include "desk/common/programm.h"
#include "platform/draw/fonts.h"
#include "platform/db/recordset.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/vb/strings.h"

namespace {

constexpr const char* kErlaubteSchriften[] = {"Times New Roman", "Arial",     "MS Sans Serif", "Courier New",
                                              "Modern",          "Fixed Sys", "Terminal",      "Courier",
                                              "System",          "MS Serif",  "Roman"};

std::string settingsPfad() { return Einstellungsdatenbank(); }

// A family as the font list names it, without the maker that a list of several makers adds
// ("Nimbus Sans [urw]").
QString ohneHersteller(const QString& familie) {
    const int klammer = static_cast<int>(familie.indexOf(QStringLiteral(" [")));
    return klammer > 0 && familie.endsWith(QLatin1Char(']')) ? familie.left(klammer) : familie;
}

// The recommended fonts by their names, and the faces they are drawn in here, on the screen and on
// paper: a system without "Arial" draws it in a face of its own, and choosing that face gives the
// same pages as choosing the name. Any other name, one spelt differently included, is not
// recommended.
bool empfohleneSchrift(const std::string& name) {
    for (const char* s : kErlaubteSchriften)
        if (name == s) return true;
    const QString gewaehlt = ohneHersteller(QString::fromStdString(name));
    for (const char* s : kErlaubteSchriften) {
        if (ohneHersteller(QFontInfo(QFont(QString::fromLatin1(s))).family()) == gewaehlt) return true;
        if (QString::fromStdString(draw::familyFor(s)) == gewaehlt) return true;
    }
    return false;
}

}  // namespace

struct Form4::Stand {
    std::string sArt, eArt;
    int16_t sGr = 0, eGr = 0;
    bool sFett = false, sKursiv = false, eFett = false, eKursiv = false;
    vb::Variant sFarbe, eFarbe;
};

const std::array<const char*, 13>& Form4::briefkopfFelder() {
    static const std::array<const char*, 13> f = {"Vorname", "Nachname", "firma",    "Bereich", "Abteilung",
                                                  "Strasse", "PLZOrt",   "land",     "Telefon", "Fax",
                                                  "Mail",    "URL",      "Bemerkung"};
    return f;
}

Form4::Form4() : forms::Form("Form4") {
    auto* haupt = new QVBoxLayout(this);
    SSTab2.setParent(this);
    haupt->addWidget(&SSTab2, 1);

    // Tab 0: letterhead.
    {
        auto* l = new QGridLayout(SSTab2.page(0));
        for (int i = 0; i < 13; ++i) {
            Label4[i].setParent(SSTab2.page(0));
            Text6[i].setParent(SSTab2.page(0));
            l->addWidget(&Label4[i], i, 0);
            l->addWidget(&Text6[i], i, 1);
            Text6[i].KeyPress = [this, i](int& k) { Text6_KeyPress(i, k); };
        }
    }
    // Tab 1: naming scheme and the assistant at start.
    {
        auto* l = new QVBoxLayout(SSTab2.page(1));
        Frame1.setParent(SSTab2.page(1));
        auto* g = new QGridLayout(&Frame1);
        forms::OptionButton* opts[] = {&Option1, &Option3, &Option2, &Option4, &Option5[0], &Option5[1], &Option5[2]};
        for (int i = 0; i < 7; ++i) {
            opts[i]->setParent(&Frame1);
            g->addWidget(opts[i], i, 0);
            if (i >= 2) {
                Combo1[i - 2].setParent(&Frame1);
                g->addWidget(&Combo1[i - 2], i, 1);
            }
        }
        l->addWidget(&Frame1);
        Frame3.setParent(SSTab2.page(1));
        auto* f3 = new QVBoxLayout(&Frame3);
        Check1.setParent(&Frame3);
        f3->addWidget(&Check1);
        l->addWidget(&Frame3);
        l->addStretch(1);
    }
    // Tab 2: fonts, colours and the symbol colour.
    {
        auto* l = new QGridLayout(SSTab2.page(2));
        forms::CommandButton* b[] = {&Befehl4, &Befehl5, &Command4, &Command5};
        for (int i = 0; i < 4; ++i) {
            b[i]->setParent(SSTab2.page(2));
            l->addWidget(b[i], i / 2, i % 2);
        }
        Label5.setParent(SSTab2.page(2));
        Combo3.setParent(SSTab2.page(2));
        l->addWidget(&Label5, 2, 0);
        l->addWidget(&Combo3, 2, 1);
        l->setRowStretch(3, 1);
    }
    // Tab 3: printing.
    {
        auto* l = new QGridLayout(SSTab2.page(3));
        Label2.setParent(SSTab2.page(3));
        Combo2.setParent(SSTab2.page(3));
        l->addWidget(&Label2, 0, 0);
        l->addWidget(&Combo2, 0, 1);
        Command3.setParent(SSTab2.page(3));
        l->addWidget(&Command3, 1, 0);
        l->setRowStretch(2, 1);
    }
    haupt->addLayout(Knopfzeile(*this, {}, {&Command1, &Command2, &Befehl3}));
    setKeyPreview(true);
    resize(620, 520);

    Command1.Click = [this] { Command1_Click(); };
    Befehl3.Click = [this] { Befehl3_Click(); };
    Befehl4.Click = [this] { Befehl4_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Befehl5.Click = [this] { Befehl5_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command2.Click = [this] { Command2_Click(); };
}

void Form4::setupControls() {
    Check1.setValue(0);
    for (forms::OptionButton* o : {&Option1, &Option3, &Option2, &Option4, &Option5[0], &Option5[1], &Option5[2]})
        o->setChecked(false);
    for (auto& c : Combo1) c.Clear();
    Combo2.Clear();
    Combo3.Clear();
    for (auto& t : Text6) t.setText("");
    Data1.close();
    Data2.close();
}

void Form4::Form_Load() {
    // Each step traps on its own: a failing step shows the error box and the load goes on.
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(160));
        const int tabs[4] = {161, 166, 175, 181};
        for (int i = 0; i < 4; ++i) SSTab2.setTabCaption(i, LabelTxt(tabs[i]));
        Frame1.setCaption(LabelTxt(167));
        Frame3.setCaption(LabelTxt(168));
        Check1.setCaption(LabelTxt(169));
        const int briefkopf[13] = {47, 48, 162, 53, 54, 50, 51, 164, 52, 163, 58, 165, 55};
        for (int i = 0; i < 13; ++i) Label4[i].setCaption(LabelTxt(briefkopf[i]));
        Option1.setCaption(LabelTxt(170));
        Option3.setCaption(LabelTxt(171));
        Option2.setCaption(LabelTxt(172));
        Option4.setCaption(LabelTxt(173));
        Option5[0].setCaption(LabelTxt(174));
        Option5[1].setCaption(LabelTxt(243));
        Option5[2].setCaption(LabelTxt(244));
        Befehl4.setCaption(LabelTxt(176));
        Befehl5.setCaption(LabelTxt(177));
        Command4.setCaption(LabelTxt(192));
        Command5.setCaption(LabelTxt(193));
        Label2.setCaption(LabelTxt(182));
        Command3.setCaption(LabelTxt(37));
        Label5.setCaption(LabelTxt(211));
        Command1.setCaption(LabelTxt(87));
        Command2.setCaption(LabelTxt(68));
        Befehl3.setCaption(LabelTxt(69));
        SSTab2.setTab(0);

        Data2.setDatabaseName(settingsPfad());
        Data2.setRecordSource("Typ");
        Data2.Refresh();
        auto typ = Data2.Recordset();
        const char* spalten[5] = {"typbezeichnungZUVStandard", "typbezeichnungOdrell", "typbezeichnungTarvik",
                                  "typbezeichnungQuimbly", "typbezeichnungFenwarth"};
        if (typ->RecordCount() > 0) typ->MoveFirst();
        while (!typ->Eof()) {
            for (int i = 0; i < 5; ++i) Combo1[i].AddItem(vb::CStr(typ->Fields(spalten[i]).Value()));
            typ->MoveNext();
        }
        for (auto& c : Combo1)
            if (c.ListCount() > 0) c.setListIndex(0);

        for (int n = 212; n <= 220; ++n) Combo3.AddItem(LabelTxt(n));
        Combo3.setListIndex(0);

        Data1.setDatabaseName(settingsPfad());
        Data1.setRecordSource(programm().einstellungstabelle);
        Data1.Refresh();
    });
    mitFehlerfalle([this] {
        auto rs = Data1.Recordset();
        if (!rs) return;
        Combo2.AddItem(LabelTxt(183));
        Combo2.AddItem(LabelTxt(184));
        const std::string abstand = vb::CStr(rs->Fields("DruckZeilenabstand").Value());
        if (abstand == LabelTxt(183)) Combo2.setListIndex(0);
        if (abstand == LabelTxt(184)) Combo2.setListIndex(1);
        BindTextFieldsToDataControl();
        DatenZuweisen();
        TypbezeichnungZuweisen();
    });
    m_stand = std::make_shared<Stand>(
        Stand{gStandardschriftart, gExtraschriftart, gStandardschriftGroesse, gExtraschriftGroesse, gStandardschriftFett,
              gStandardschriftKursiv, gExtraschriftFett, gExtraschriftKursiv, gStandardschriftfarbe, gExtraschriftfarbe});
}

void Form4::BindTextFieldsToDataControl() { briefkopfLesen(); }

void Form4::briefkopfLesen() {
    auto rs = Data1.Recordset();
    if (!rs) return;
    for (int i = 0; i < 13; ++i) Text6[i].setText(Feldtext(*rs, briefkopfFelder()[i]));
}

void Form4::DatenZuweisen() {
    mitFehlerfalle([this] {
        auto rs = Data1.Recordset();
        if (!rs) throw vb::Error(vb::err::NoCurrentRecord);
        auto flag = [&](const char* f) { return rs->Fields(f).Value().toBool(); };
        Check1.setValue(flag("Assistentanzeige") ? 1 : 0);
        // In this order: the last option set wins in its group.
        const std::pair<forms::OptionButton*, const char*> optionen[] = {{&Option1, "typbenennungziffer"},
                                                                         {&Option3, "typbenennungzifferausgeschrieben"},
                                                                         {&Option2, "typbenennungzuvstandard"},
                                                                         {&Option4, "typbenennungodrell"},
                                                                         {&Option5[0], "typbenennungtarvik"},
                                                                         {&Option5[1], "typbenennungquimbly"},
                                                                         {&Option5[2], "typbenennungfenwarth"}};
        for (const auto& [o, f] : optionen)
            if (flag(f)) o->setValue(true);  // clears the option set before it
        schemaAusOptionen();
        gStandardschriftfarbe = rs->Fields("Standardschriftfarbe").Value();
        gStandardschriftart = vb::CStr(rs->Fields("Standardschriftart").Value());
        gStandardschriftGroesse = vb::CInt(rs->Fields("StandardschriftGroesse").Value());
        gStandardschriftFett = flag("StandardschriftFett");
        gStandardschriftKursiv = flag("StandardschriftKursiv");
        const std::string abstand = vb::CStr(rs->Fields("DruckZeilenabstand").Value());
        Combo2.setText(abstand);
        if (abstand == LabelTxt(183)) gDruckZeilenabstand = 1;
        if (abstand == LabelTxt(184)) gDruckZeilenabstand = 2;
        gExtraschriftfarbe = rs->Fields("Extraschriftfarbe").Value();
        gExtraschriftart = vb::CStr(rs->Fields("Extraschriftart").Value());
        gExtraschriftGroesse = vb::CInt(rs->Fields("ExtraschriftGroesse").Value());
        gExtraschriftFett = flag("ExtraschriftFett");
        gExtraschriftKursiv = flag("ExtraschriftKursiv");
        Combo3.setText(vb::CStr(rs->Fields("ZUVSymbolFarbe").Value()));
    });
}

void Form4::DatenSpeichern() {
    auto rs = Data1.Recordset();
    if (!rs) throw vb::Error(vb::err::NoCurrentRecord);
    auto ja = [](bool b) { return vb::Variant(b); };
    rs->Fields("Assistentanzeige") = ja(Check1.Value() != 0);
    rs->Fields("typbenennungziffer") = ja(Option1.Value());
    rs->Fields("typbenennungzifferausgeschrieben") = ja(Option3.Value());
    rs->Fields("typbenennungzuvstandard") = ja(Option2.Value());
    rs->Fields("typbenennungodrell") = ja(Option4.Value());
    rs->Fields("typbenennungtarvik") = ja(Option5[0].Value());
    rs->Fields("typbenennungquimbly") = ja(Option5[1].Value());
    rs->Fields("typbenennungfenwarth") = ja(Option5[2].Value());
    rs->Fields("Standardschriftfarbe") = gStandardschriftfarbe;
    rs->Fields("Standardschriftart") = vb::Variant(gStandardschriftart);
    rs->Fields("StandardschriftGroesse") = vb::Variant(gStandardschriftGroesse);
    rs->Fields("StandardschriftFett") = ja(gStandardschriftFett);
    rs->Fields("StandardschriftKursiv") = ja(gStandardschriftKursiv);
    rs->Fields("DruckZeilenabstand") = vb::Variant(Combo2.Text());
    rs->Fields("Extraschriftfarbe") = gExtraschriftfarbe;
    rs->Fields("Extraschriftart") = vb::Variant(gExtraschriftart);
    rs->Fields("ExtraschriftGroesse") = vb::Variant(gExtraschriftGroesse);
    rs->Fields("ExtraschriftFett") = ja(gExtraschriftFett);
    rs->Fields("ExtraschriftKursiv") = ja(gExtraschriftKursiv);
    rs->Fields("ZUVSymbolFarbe") = vb::Variant(Combo3.Text());
}

void Form4::schemaAusOptionen() {
    if (Option1.Value()) gTypbenennung = int16_t(2);
    if (Option2.Value()) gTypbenennung = int16_t(3);
    if (Option3.Value()) gTypbenennung = int16_t(1);
    if (Option4.Value()) gTypbenennung = int16_t(4);
    if (Option5[0].Value()) gTypbenennung = int16_t(5);
    if (Option5[1].Value()) gTypbenennung = int16_t(6);
    if (Option5[2].Value()) gTypbenennung = int16_t(7);
}

void Form4::TypbezeichnungZuweisen() {
    mitFehlerfalle([this] {
        auto rs = Data2.Recordset();
        if (!rs) throw vb::Error(vb::err::ObjectNotSet);
        static const char* spalte[8] = {"",
                                        "typnummer",
                                        "typbezeichnung",
                                        "typbezeichnungzuvstandard",
                                        "typbezeichnungodrell",
                                        "typbezeichnungtarvik",
                                        "typbezeichnungquimbly",
                                        "typbezeichnungfenwarth"};
        const int schema = gTypbenennung.isEmpty() ? 0 : gTypbenennung.toInt();
        if (rs->RecordCount() == 0) return;
        rs->MoveFirst();
        int k = 1;
        while (!rs->Eof()) {
            if (schema >= 1 && schema <= 7) {
                if (k > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
                const vb::Variant v = rs->Fields(spalte[schema]).Value();
                gTypbezeichnung[k] = vb::CStr(v);  // a Null stops here; the rows before are taken
            }
            ++k;
            rs->MoveNext();
        }
    });
}

void Form4::Command1_Click() {
    mitFehlerfalle([this] {
        // Fresh row first: the report window keeps its switches in the same row, and they must
        // not be overwritten by what this window read when it was loaded.
        Data1.Refresh();
        auto rs = Data1.Recordset();
        if (!rs || rs->RecordCount() == 0) throw vb::Error(vb::err::NoCurrentRecord);
        rs->Edit();
        DatenSpeichern();
        for (int i = 0; i < 13; ++i) rs->Fields(briefkopfFelder()[i]) = vb::Variant(Text6[i].Text());
        rs->Update();
        gAssistentanzeige = Check1.Value() != 0 ? -1 : 0;
        if (hauptfenster()) hauptfenster()->assistentNachEinstellungen(gAssistentanzeige != 0);
        schemaAusOptionen();
        if (Combo2.Text() == LabelTxt(183)) gDruckZeilenabstand = 1;
        if (Combo2.Text() == LabelTxt(184)) gDruckZeilenabstand = 2;
        TypbezeichnungZuweisen();
        m_stand.reset();
        forms::Unload(*this);
    });
}

void Form4::Befehl3_Click() { forms::Unload(*this); }

void Form4::Form_KeyDown(int& keyCode, int) {
    if (keyCode == 27) Befehl3_Click();
}

void Form4::Form_Unload(int&) {
    // Left without OK (Cancel, Escape or the close box): fonts and colours chosen in this visit go
    // back to what was stored.
    if (m_stand) {
        gStandardschriftart = m_stand->sArt;
        gExtraschriftart = m_stand->eArt;
        gStandardschriftGroesse = m_stand->sGr;
        gExtraschriftGroesse = m_stand->eGr;
        gStandardschriftFett = m_stand->sFett;
        gStandardschriftKursiv = m_stand->sKursiv;
        gExtraschriftFett = m_stand->eFett;
        gExtraschriftKursiv = m_stand->eKursiv;
        gStandardschriftfarbe = m_stand->sFarbe;
        gExtraschriftfarbe = m_stand->eFarbe;
        m_stand.reset();
    }
    mitFehlerfalle([] { AssistentNachVorn(); });
}

void Form4::schriftWaehlen(bool standard) {
    mitFehlerfalle([&] {
        std::string& art = standard ? gStandardschriftart : gExtraschriftart;
        int16_t& groesse = standard ? gStandardschriftGroesse : gExtraschriftGroesse;
        bool& fett = standard ? gStandardschriftFett : gExtraschriftFett;
        bool& kursiv = standard ? gStandardschriftKursiv : gExtraschriftKursiv;
        const double grenze = standard ? programm().standardschriftGrenze : 10;
        forms::CommonDialog& d = gemeinsamerDialog();
        for (;;) {
            d.setCancelError(true);
            d.setFontName(art);
            d.setFontSize(groesse);
            d.setFontItalic(kursiv);
            d.setFontBold(fett);
            d.setFlags(forms::cdlCFBoth);
            d.ShowFont();
            bool nein = false;
            if (d.FontSize() > grenze) nein |= forms::MsgBox(DialogTxt(35), forms::vbYesNo, DialogTxt(3)) == forms::vbNo;
            if (!empfohleneSchrift(d.FontName()))
                nein |= forms::MsgBox(DialogTxt(36), forms::vbYesNo, DialogTxt(3)) == forms::vbNo;
            // Any "No" rejects the choice: the dialog opens again with the stored font.
            if (!nein) break;
        }
        art = d.FontName();
        groesse = static_cast<int16_t>(std::nearbyint(d.FontSize()));
        kursiv = d.FontItalic();
        fett = d.FontBold();
    });
}

void Form4::farbeWaehlen(bool standard) {
    mitFehlerfalle([&] {
        vb::Variant& farbe = standard ? gStandardschriftfarbe : gExtraschriftfarbe;
        forms::CommonDialog& d = gemeinsamerDialog();
        d.setFlags(forms::cdlCCFullOpen);
        d.setCancelError(true);
        d.setColor(farbe.isEmpty() || farbe.isNull() ? 0 : vb::CLng(farbe));
        d.ShowColor();
        farbe = vb::Variant(static_cast<int32_t>(d.Color()));
    });
}

void Form4::Befehl4_Click() { schriftWaehlen(true); }
void Form4::Command4_Click() { schriftWaehlen(false); }
void Form4::Befehl5_Click() { farbeWaehlen(true); }
void Form4::Command5_Click() { farbeWaehlen(false); }

void Form4::Command3_Click() {
    mitFehlerfalle([] {
        forms::CommonDialog& d = gemeinsamerDialog();
        d.setCancelError(true);
        d.setFlags(forms::cdlPDPrintSetup);
        d.setAction(5);
    });
}

void Form4::Command2_Click() {
    mitFehlerfalle([] { ShowHelp(programm().einstellungenHilfethema); });
}

void Form4::Text6_KeyPress(int index, int& keyAscii) {
    if (keyAscii != 13) return;
    if (index < 12) Text6[index + 1].setFocus();
    else Command1.setFocus();
}
