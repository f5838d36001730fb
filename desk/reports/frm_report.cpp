#include "desk/reports/frm_report.h"

#include "desk/common/engine_setup.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "desk/common/druckschalter_texte.h"
#include "desk/common/globals.h"
#include "desk/common/knopfzeile.h"
#include "desk/common/main_window_port.h"
#include "platform/db/database.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"

namespace {

// The thirty stored switches in the order both procedures handle them.
struct Schalter {
    const char* spalte;
    int feld;  // 1 Check1, 2 Check2, 3 Check3, 4 Check4
    int index;
};
constexpr Schalter kSchalter[30] = {
    {"DruckNameKopf", 2, 0},
    {"DruckFirmaKopf", 2, 1},
    {"DruckBereichKopf", 2, 2},
    {"DruckAbteilungKopf", 2, 3},
    {"DruckStrasseKopf", 2, 4},
    {"DruckPLZOrtKopf", 2, 5},
    {"DruckLandKopf", 2, 6},
    {"DruckTelefonKopf", 2, 7},
    {"DruckFaxKopf", 2, 8},
    {"DruckEMailKopf", 2, 9},
    {"DruckHomepageKopf", 2, 10},
    {"DruckBemerkungKopf", 2, 11},
    {"TestDruckNameKopf", 3, 0},
    {"TestDruckGeburtstagKopf", 3, 1},
    {"TestDruckStrasseKopf", 3, 2},
    {"TestDruckPLZOrtKopf", 3, 3},
    {"TestdruckLandKopf", 3, 10},
    {"TestDruckTelefonKopf", 3, 4},
    {"TestDruckEMailKopf", 3, 5},
    {"TestDruckBereichKopf", 3, 6},
    {"TestDruckAbteilungKopf", 3, 7},
    {"TestDruckBemerkungKopf", 3, 8},
    {"TestDruckTestDatumKopf", 3, 9},
    {"DruckSeitennummerKopf", 1, 9},
    {"DruckAktuellesDatumKopf", 1, 10},
    {"DruckLinieKopf", 1, 11},
    {"DruckEnneagrammSymbol", 1, 12},
    {"DruckSeitennummerFuss", 4, 0},
    {"DruckAktuellesDatumFuss", 4, 1},
    {"DruckLinieFuss", 4, 2},
};

}  // namespace

frmReport::frmReport() : forms::Form("frmReport") {
    auto* haupt = new QVBoxLayout(this);
    SSTab1.setParent(this);
    haupt->addWidget(&SSTab1, 1);

    // Tab 0: the report.
    {
        auto* l = new QVBoxLayout(SSTab1.page(0));
        l->setContentsMargins(0, 0, 0, 0);
        CrystalReport1.setParent(SSTab1.page(0));
        l->addWidget(&CrystalReport1);
    }
    // Tab 1: the parts and the kind of report.
    {
        auto* l = new QVBoxLayout(SSTab1.page(1));
        Frame1.setParent(SSTab1.page(1));
        auto* g = new QGridLayout(&Frame1);
        Label1.setParent(&Frame1);
        g->addWidget(&Label1, 0, 0, 1, 2);
        for (int i = 0; i <= 8; ++i) {
            Check1[i].setParent(&Frame1);
            g->addWidget(&Check1[i], 1 + i % 5, i / 5);
        }
        // The two kinds form a group of their own, in which neither may be chosen.
        auto* arten = new QWidget(&Frame1);
        auto* a = new QVBoxLayout(arten);
        a->setContentsMargins(0, 8, 0, 0);
        for (auto& o : Option1) {
            o.setParent(arten);
            a->addWidget(&o);
        }
        g->addWidget(arten, 6, 0, 1, 2);
        l->addWidget(&Frame1);
        l->addStretch(1);
    }
    // Tab 2: letterhead, header, person data and footer.
    {
        auto* l = new QGridLayout(SSTab1.page(2));
        auto fuellen = [](forms::Frame& rahmen, auto& kaesten, int von, int bis) {
            auto* v = new QVBoxLayout(&rahmen);
            for (int i = von; i <= bis; ++i) {
                kaesten[i].setParent(&rahmen);
                v->addWidget(&kaesten[i]);
            }
            v->addStretch(1);
        };
        for (forms::Frame* f : {&Frame2, &Frame3, &Frame4, &Frame5}) f->setParent(SSTab1.page(2));
        fuellen(Frame2, Check2, 0, 11);
        fuellen(Frame3, Check1, 9, 12);
        fuellen(Frame4, Check3, 0, 10);
        fuellen(Frame5, Check4, 0, 2);
        l->addWidget(&Frame2, 0, 0, 2, 1);
        l->addWidget(&Frame3, 0, 1);
        l->addWidget(&Frame5, 1, 1);
        l->addWidget(&Frame4, 0, 2, 2, 1);
        Command4.setParent(SSTab1.page(2));
        auto* unten = new QHBoxLayout;
        unten->addStretch(1);
        unten->addWidget(&Command4);
        l->addLayout(unten, 2, 0, 1, 3);
        l->setRowStretch(1, 1);
    }
    haupt->addLayout(Knopfzeile(*this, {&Command1, &Command3}, {&Command2}));

    for (draw::PictureBox* p : {&Picture1, &Picture2}) {
        p->setParent(this);
        p->hide();
    }
    Picture1.setAutoSize(true);
    Picture2.setAutoSize(true);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    CrystalReport1.onError = [](const std::exception& e) { ShowErrorMessage(e); };
    CrystalReport1.setDialog([]() -> forms::CommonDialog& { return gemeinsamerDialog(); });
}

frmReport::~frmReport() { kopieSchliessen(false); }

void frmReport::setupControls() {
    for (auto& c : Check1) c.setValue(0);
    for (auto& c : Check2) c.setValue(0);
    for (auto& c : Check4) c.setValue(0);
    for (auto& c : Check3) c.setValue(0);
    for (auto& o : Option1) o.setChecked(false);
    SSTab1.setTab(0);
    mReport.reset();
    CrystalReport1.clear();
    for (db::DataControl* d : {&Data1, &Data2, &Data3, &Data4, &Data5}) d->close();
}

void frmReport::Form_Load() {
    mitFehlerfalle([this] {
        // The preview wants room, but the window with its title bar stays on a small screen.
        if (const QScreen* bildschirm = QGuiApplication::primaryScreen()) {
            const QRect frei = bildschirm->availableGeometry();
            resize(std::min(980, frei.width() * 92 / 100), std::min(760, frei.height() * 88 / 100));
        }
        CenterForm(*this);
        setCaption("Z.U.V. - " + LabelTxt(405));
        Command1.setCaption(LabelTxt(187) + " " + LabelTxt(456));
        Command2.setCaption(LabelTxt(69));
        Command3.setCaption(LabelTxt(68));
        SSTab1.setTabCaption(0, LabelTxt(187));
        SSTab1.setTabCaption(1, LabelTxt(181));
        SSTab1.setTabCaption(2, LabelTxt(194));
        Frame1.setCaption(LabelTxt(190));
        SSTab1.setTab(0);
        Label1.setCaption(LabelTxt(459));
        const int teile[9] = {228, 229, 31, 457, 457, 457, 32, 33, 34};
        for (int i = 0; i <= 8; ++i)
            Check1[i].setCaption(LabelTxt(teile[i]) + (i >= 3 && i <= 5 ? " " + std::to_string(i - 2) : ""));
        Option1[0].setCaption(LabelTxt(191));
        Option1[1].setCaption(LabelTxt(225));
        DruckschalterBeschriften(*this, std::span(Check1).subspan(9));
        Frame4.setCaption(LabelTxt(200));
        const int person[11] = {196, 49, 50, 51, 52, 58, 53, 54, 55, 201, 164};
        for (int i = 0; i < 11; ++i) Check3[i].setCaption(LabelTxt(person[i]));

        DatenBinden(Data4, Einstellungsdatenbank(), "Konfiguration");
        AssignSettings();
    });
}

void frmReport::Form_Activate() { Command1_Click(); }

void frmReport::Form_Unload(int& cancel) {
    (void)cancel;
    mReport.reset();
    CrystalReport1.clear();
    kopieSchliessen(true);
}

void frmReport::Command2_Click() {
    // The window closes whatever the data file allows: a file closed meanwhile or opened
    // read-only keeps the last report's rows, which the next report replaces anyway.
    try {
        if (m_kopie) m_kopie->Execute("DELETE * FROM Drucktabelle;");
        else if (gDatenbank) gDatenbank->Execute("DELETE * FROM Drucktabelle;");
    } catch (const std::exception&) {
    }
    forms::Unload(*this);
}

void frmReport::Command3_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw3mpa.htm"); });
}

void frmReport::Command4_Click() { SaveSettings(); }

namespace {
forms::CheckBox& kasten(frmReport& f, const Schalter& s) {
    switch (s.feld) {
    case 1: return f.Check1[s.index];
    case 2: return f.Check2[s.index];
    case 3: return f.Check3[s.index];
    default: return f.Check4[s.index];
    }
}
}  // namespace

void frmReport::AssignSettings() {
    mitFehlerfalle([this] {
        db::Recordset& rs = DatenSatz(Data4);
        for (const Schalter& s : kSchalter) {
            const vb::Variant v = rs.Fields(s.spalte).Value();
            if (v.isNumeric() && v.toDouble() == -1) kasten(*this, s).setValue(1);
        }
    });
}

void frmReport::SaveSettings() {
    mitFehlerfalle([this] {
        db::Recordset& rs = DatenSatz(Data4);
        rs.Edit();
        try {
            for (const Schalter& s : kSchalter) rs.Fields(s.spalte) = vb::Variant(int16_t(kasten(*this, s).Value()));
            rs.Update();
        } catch (...) {
            // Nothing is stored unless all thirty are.
            if (rs.editMode() != db::Recordset::EditMode::None) rs.CancelUpdate();
            throw;
        }
    });
}

zuvtest::DruckSchalter druckSchalter() {
    frmReport& r = forms::Default<frmReport>();
    zuvtest::DruckSchalter s;
    s.kopfSeitenzahl = r.Check1[9].Value() == 1;
    s.kopfDatum = r.Check1[10].Value() == 1;
    s.kopfSymbol = r.Check1[12].Value() == 1;
    s.fussSeitenzahl = r.Check4[0].Value() == 1;
    s.fussDatum = r.Check4[1].Value() == 1;
    s.fussLinie = r.Check4[2].Value() == 1;
    return s;
}
