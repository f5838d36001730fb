#include "desk/testing/form3.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "desk/common/globals.h"
#include "desk/testing/frm_pers.h"
#include "desk/common/main_window_port.h"
#include "platform/db/recordset.h"
#include "platform/forms/host.h"

Form3::Form3() : Form("Form3") {
    auto* haupt = new QVBoxLayout(this);
    auto* oben = new QHBoxLayout;
    oben->addWidget(&Bezeichnung1);
    oben->addWidget(&Bezeichnung2);
    oben->addStretch();
    oben->addWidget(&Befehl1);
    oben->addWidget(&Befehl2);
    haupt->addLayout(oben);
    haupt->addWidget(&Grid1, 1);
    Grid1.setMinimumSize(480, 300);
    Grid1.Click = [this] { Grid1_Click(); };
    Grid1.DblClick = [this] { Grid1_DblClick(); };
    Befehl1.Click = [this] { Befehl1_Click(); };
    Befehl2.Click = [this] { Befehl2_Click(); };
    Grid1.MouseMove = [](int, int, float, float) { SetStatusText(LabelTxt(221), false); };
}

void Form3::Form_MouseMove(int, int, float, float) { SetStatusText("", false); }

void Form3::Form_Unload(int&) { SetStatusText("", false); }

void Form3::setupControls() {
    Befehl1.setCaption("OK");
    Grid1.setCols(3);
    Grid1.setFixedCols(0);
    Grid1.setRows(2);
    Grid1.setFixedRows(1);
    Grid1.Clear();
    Grid1.setSelectionMode(forms::flexSelectionByRow);
}

void Form3::Form_Load() {
    mitFehlerfalle([this] {
        setCaption(LabelTxt(9));
        Befehl2.setCaption(LabelTxt(69));
        Bezeichnung1.setCaption(LabelTxt(59));
    });
}

void Form3::Form_Activate() {
    mitFehlerfalle([this] {
        auto& rs = DatenBinden(Data1, gDatenbankName, "select * from persdat order by nachname, vorname");
        if (rs.RecordCount() == 0) {
            gAntwort = forms::MsgBox(DialogTxt(6), forms::vbExclamation, DialogTxt(3));
            gAuswahlAbgebrochen = 1;
            forms::Unload(*this);
            return;
        }
        gAuswahlAbgebrochen = 0;
        // Every activation lists the persons afresh.
        Grid1.setRows(2);
        Grid1.Clear();
        Grid1.setTextMatrix(0, 0, LabelTxt(47));
        Grid1.setTextMatrix(0, 1, LabelTxt(48));
        Grid1.setTextMatrix(0, 2, LabelTxt(56));
        rs.MoveFirst();
        const char* felder[] = {"Vorname", "Nachname", "Testdatum"};
        for (int c = 0; c < 3; ++c) Grid1.setTextMatrix(1, c, vb::textOrEmpty(rs.Fields(felder[c]).Value()));
        for (rs.MoveNext(); !rs.Eof(); rs.MoveNext())
            Grid1.AddItem(vb::textOrEmpty(rs.Fields("Vorname").Value()) + "\t" +
                          vb::textOrEmpty(rs.Fields("Nachname").Value()) + "\t" +
                          vb::textOrEmpty(rs.Fields("Testdatum").Value()));
        Bezeichnung2.setCaption(std::to_string(rs.RecordCount()));
        Grid1.setRow(1);
    });
}

void Form3::Form_Resize() {
    mitFehlerfalle([this] {
        const int breite = Grid1.Width();
        for (int c = 0; c < 3; ++c) Grid1.setColWidth(c, breite / 3);
    });
}

void Form3::Form_QueryUnload(int&, int unloadMode) {
    // Closing the list through its frame chooses nobody.
    if (unloadMode == forms::vbFormControlMenu) gAuswahlAbgebrochen = 1;
}

void Form3::Grid1_Click() {
    mitFehlerfalle([this] {
        Befehl1.setEnabled(true);
        Grid1.setCol(0);
        Grid1.setColSel(2);
        if (Befehl1.isVisible()) Befehl1.setFocus(Qt::OtherFocusReason);
    });
}

void Form3::Grid1_DblClick() {
    Grid1_Click();
    Befehl1_Click();
}

void Form3::Befehl1_Click() {
    mitFehlerfalle([this] {
        auto& rs = DatenSatz(Data1);
        const int n = Grid1.Row() - 1;
        rs.MoveFirst();
        for (int z = 1; z <= n; ++z) rs.MoveNext();
        gAktPersonID = rs.Fields("personid").Value().toLong();
        gAktPerson[1] = vb::textOrEmpty(rs.Fields("Vorname").Value());
        gAktPerson[2] = vb::textOrEmpty(rs.Fields("Nachname").Value());
        gAktPerson[11] = vb::textOrEmpty(rs.Fields("Testdatum").Value());
        // The old person's result windows close before the caption names the new one.
        EnableFileMenus();
        SchliesseUnterfenster();
        UpdateMainCaption();
        forms::Unload(*this);
    });
}

void Form3::Befehl2_Click() {
    setMousePointer(forms::vbDefault);
    forms::Unload(*this);
    gAuswahlAbgebrochen = 1;
}
