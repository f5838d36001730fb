#include "codex/frm_druck_man.h"

#include "desk/common/engine_setup.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <algorithm>

#include "codex/frm_mdi.h"
#include "codex/frm_print_preview.h"
#include "codex/modul_global.h"
#include "desk/common/druckschalter_texte.h"
#include "desk/common/globals.h"
#include "desk/common/knopfzeile.h"
#include "desk/common/main_window_port.h"
#include "platform/db/recordset.h"
#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/host.h"
#include "platform/vb/strings.h"

namespace codex {

namespace {

// The preselections of the modes "type, short" and "type, long" (list positions from 0).
bool inKurzfassung(int p) {
    return p <= 2 || (p >= 5 && p <= 8) || (p >= 15 && p <= 25) || p == 37 || p == 38 || (p >= 52 && p <= 55);
}
bool inLangfassung(int p) {
    return p <= 2 || (p >= 5 && p <= 8) || (p >= 11 && p <= 30) || p == 32 || p == 37 || p == 38 || p == 43 ||
           (p >= 50 && p <= 55);
}

}  // namespace

const std::array<const char*, 20>& Druckschalterfelder() {
    static const std::array<const char*, 20> f = {
        "DruckNameKopf",         "DruckFirmaKopf",          "DruckBereichKopf",        "DruckAbteilungKopf",
        "DruckStrasseKopf",      "DruckPLZOrtKopf",         "DruckLandKopf",           "DruckTelefonKopf",
        "DruckFaxKopf",          "DruckEMailKopf",          "DruckHomepageKopf",       "DruckBemerkungKopf",
        "DruckSeitennummerKopf", "DruckAktuellesDatumKopf", "DruckLinieKopf",          "DruckEnneagrammSymbol",
        "DruckLiteratur",        "DruckSeitennummerFuss",   "DruckAktuellesDatumFuss", "DruckLinieFuss"};
    return f;
}

std::array<forms::CheckBox*, 20> frmDruckMan::schalter() {
    std::array<forms::CheckBox*, 20> s{};
    for (int i = 0; i < 12; ++i) s[i] = &Check2[i];
    for (int i = 0; i < 5; ++i) s[12 + i] = &Check1[i];
    for (int i = 0; i < 3; ++i) s[17 + i] = &Check4[i];
    return s;
}

frmDruckMan::frmDruckMan() : forms::Form("frmDruckMan") {
    auto* haupt = new QVBoxLayout(this);
    SSTab1.setParent(this);
    haupt->addWidget(&SSTab1, 1);

    // Tab 0: the mode, the type and the topics.
    {
        auto* l = new QGridLayout(SSTab1.page(0));
        Frame1.setParent(SSTab1.page(0));
        auto* modi = new QVBoxLayout(&Frame1);
        for (auto& o : Option1) {
            o.setParent(&Frame1);
            modi->addWidget(&o);
            o.Click = [this] { Option1_Click(); };
        }
        modi->addStretch(1);
        Frame6.setParent(SSTab1.page(0));
        auto* typ = new QVBoxLayout(&Frame6);
        Label1.setParent(&Frame6);
        QFont fett = Label1.font();
        fett.setBold(true);
        Label1.setFont(fett);
        typ->addWidget(&Label1);
        Frame4.setParent(SSTab1.page(0));
        auto* liste = new QVBoxLayout(&Frame4);
        List1.setParent(&Frame4);
        liste->addWidget(&List1);
        l->addWidget(&Frame1, 0, 0);
        l->addWidget(&Frame6, 1, 0);
        l->addWidget(&Frame4, 0, 1, 3, 1);
        l->setRowStretch(2, 1);
        l->setColumnStretch(1, 1);
    }
    // Tab 1: letterhead, header and footer switches.
    {
        auto* l = new QGridLayout(SSTab1.page(1));
        Frame2.setParent(SSTab1.page(1));
        auto* kopf = new QGridLayout(&Frame2);
        for (int i = 0; i < 12; ++i) {
            Check2[i].setParent(&Frame2);
            kopf->addWidget(&Check2[i], i % 6, i / 6);
        }
        Frame3.setParent(SSTab1.page(1));
        auto* kopfzeile = new QVBoxLayout(&Frame3);
        for (auto& c : Check1) {
            c.setParent(&Frame3);
            kopfzeile->addWidget(&c);
        }
        Frame5.setParent(SSTab1.page(1));
        auto* fuss = new QVBoxLayout(&Frame5);
        for (auto& c : Check4) {
            c.setParent(&Frame5);
            fuss->addWidget(&c);
        }
        fuss->addStretch(1);
        l->addWidget(&Frame2, 0, 0, 1, 2);
        l->addWidget(&Frame3, 1, 0);
        l->addWidget(&Frame5, 1, 1);
        l->setRowStretch(2, 1);
    }
    haupt->addLayout(Knopfzeile(*this, {&Command1, &Command3, &Command4, &Command5, &Command6}, {&Command2}));

    // The symbol picture's holder keeps its size whatever picture it gets and is not shown.
    Picture2.setParent(this);
    Picture2.setVisible(false);
    Picture2.setSizeTwips(495, 495);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    resize(760, 560);
}

void frmDruckMan::setupControls() {
    for (auto& o : Option1) o.setChecked(false);
    List1.Clear();
    for (forms::CheckBox* c : schalter()) c->setValue(0);
    Frame4.setVisible(true);
    Label1.setCaption("");
    Vorschau = false;
    m_druckTyp = -1;
    Data1.close();
    Data2.close();
    Data3.close();
}

void frmDruckMan::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(186));
        SSTab1.setTabCaption(0, LabelTxt(190));
        SSTab1.setTabCaption(1, LabelTxt(194));
        SSTab1.setTab(0);
        Frame6.setCaption(LabelTxt(11));
        Label1.setCaption(Druckbezeichnung(gAktTyp));
        for (int i = 0; i < 4; ++i) Option1[i].setCaption(LabelTxt(7 + i));
        Command1.setCaption(LabelTxt(180));
        Command2.setCaption(LabelTxt(69));
        Command3.setCaption(LabelTxt(187));
        Command5.setCaption(LabelTxt(37));
        Command6.setCaption(LabelTxt(68));
        DruckschalterBeschriften(*this, Check1);

        Data1.setDatabaseName(Einstellungsdatenbank());
        Data1.setRecordSource("KonfigurationTypen");
        Data1.Refresh();
        druckabfrageFuer(gAktTyp);
        Data2.setDatabaseName(Inhaltsdatenbank());
        Data2.setRecordSource("Thementitel");
        Data2.setReadOnly(true);
        Data2.Refresh();
        auto themen = Data2.Recordset();
        if (themen->RecordCount() > 0) themen->MoveFirst();
        for (; !themen->Eof(); themen->MoveNext()) List1.AddItem(Feldtext(*themen, "Titel"));
        AssignSettings();
    });
}

void frmDruckMan::druckabfrageFuer(int16_t typ) {
    m_druckTyp = typ;
    Label1.setCaption(Druckbezeichnung(typ));
    Data3.setDatabaseName(Inhaltsdatenbank());
    Data3.setRecordSource("select * from themenalleinfos where enneatypid = " + vb::Str(typ) +
                          " order by thema.thementitelid");
    Data3.setReadOnly(true);
    Data3.Refresh();
}

void frmDruckMan::Form_Activate() {
    Frame4.setVisible(Option1[0].Value() || Option1[1].Value() || Option1[3].Value());
    setMousePointer(forms::vbDefault);
    // Another type chosen in a description window meanwhile: the dialog names and prints that one.
    if (gAktTyp != m_druckTyp && m_druckTyp != -1) mitFehlerfalle([this] { druckabfrageFuer(gAktTyp); });
}

void frmDruckMan::Option1_Click() {
    if (Option1[0].Value() || Option1[1].Value() || Option1[3].Value()) {
        ThemenMarkieren();
        Frame4.setVisible(true);
    } else {
        Frame4.setVisible(false);
    }
}

void frmDruckMan::ThemenMarkieren() {
    // Positions of a preselection that the topic list does not reach are left out.
    for (int p = 0; p < List1.ListCount(); ++p) {
        bool an = false;
        if (Option1[3].Value()) an = true;
        if (Option1[0].Value() && inKurzfassung(p)) an = true;
        if (Option1[1].Value() && inLangfassung(p)) an = true;
        List1.setSelected(p, an);
    }
    if (List1.ListCount() > 0) List1.setListIndex(0);
}

void frmDruckMan::AssignSettings() {
    auto rs = Data1.Recordset();
    if (!rs) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(51));
    const auto boxen = schalter();
    for (int i = 0; i < 20; ++i) {
        const vb::Variant v = rs->Fields(Druckschalterfelder()[i]).Value();
        if (!v.isNull() && !v.isEmpty() && v.toBool()) boxen[i]->setValue(1);
    }
}

void frmDruckMan::SaveSettings() {
    auto rs = Data1.Recordset();
    if (!rs || rs->RecordCount() == 0) throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(52));
    rs->Edit();
    const auto boxen = schalter();
    for (int i = 0; i < 20; ++i)
        rs->Fields(Druckschalterfelder()[i]) = vb::Variant(static_cast<int16_t>(boxen[i]->Value()));
    rs->Update();
}

namespace {
// The person's way out of a print or preview: nothing to print is said before anything starts.
bool druckauswahlPruefen(frmDruckMan& d) {
    const bool nachListe = d.Option1[0].Value() || d.Option1[1].Value() || d.Option1[3].Value();
    if (!nachListe) return true;
    if (gAktTyp < 1 || gAktTyp > 9) {
        forms::MsgBox(DialogTxt(53), forms::vbExclamation, DialogTxt(3));
        return false;
    }
    if (d.List1.SelCount() == 0) {
        forms::MsgBox(DialogTxt(54), forms::vbExclamation, DialogTxt(3));
        return false;
    }
    return true;
}
}  // namespace

void frmDruckMan::Command1_Click() {
    draw::Printer& drucker = draw::printer();
    try {
        if (!druckauswahlPruefen(*this)) return;
        gAusgabe = nullptr;
        gAusgabe = &drucker;
        Vorschau = false;
        Drucken();
    } catch (const std::exception& e) {
        // A run that failed leaves no half document queued and no hourglass behind.
        try {
            if (drucker.busy()) drucker.KillDoc();
        } catch (...) {
        }
        setMousePointer(forms::vbDefault);
        ShowErrorMessage(e);
    }
}

void frmDruckMan::Command3_Click() {
    try {
        if (!druckauswahlPruefen(*this)) return;
        gAusgabe = nullptr;
        frmPrintPreview& vorschau = forms::Instance<frmPrintPreview>();
        forms::Load(vorschau);
        gAusgabe = &vorschau.Picture1;
        Vorschau = true;
        Drucken();
    } catch (const std::exception& e) {
        setMousePointer(forms::vbDefault);
        ShowErrorMessage(e);
    }
    // A preview that was drawn but never shown is not kept for the next one.
    if (forms::IsLoaded<frmPrintPreview>() && !forms::Instance<frmPrintPreview>().Visible())
        forms::Unload<frmPrintPreview>();
}

void frmDruckMan::Command2_Click() { forms::Unload(*this); }

void frmDruckMan::Command4_Click() {
    mitFehlerfalle([this] { SaveSettings(); });
}

void frmDruckMan::Command5_Click() {
    mitFehlerfalle([] {
        forms::CommonDialog& d = gemeinsamerDialog();
        d.setCancelError(true);
        d.setFlags(forms::cdlPDPrintSetup);
        d.setAction(5);
    });
}

void frmDruckMan::Command6_Click() {
    mitFehlerfalle([] { HilfeZeigen("html/zuvt3m08.htm"); });
}

}  // namespace codex
