#pragma once

// The test form: the current person rates the 109 statements one at a time, by button or digit
// key; each confirmed rating is stored in its answer row and copied into the statement's
// item-type rows.

#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <array>

class frmTest : public forms::Form {
public:
    frmTest();

    forms::TextBox Text1;                        // the rating (one character)
    forms::TextBox Text2{true};                  // the statement text, read only
    forms::Label Bild3;                          // the statement's number
    std::array<forms::CommandButton, 5> Befehl;  // Befehl1 .. Befehl5: "&0" .. "&4"
    forms::CommandButton Befehl6, Befehl9, Befehl10, Command1;
    forms::Button3D SSCommand1, SSCommand2;  // previous / next
    forms::Panel3D SSPanel1;                 // progress
    forms::Label Label1;                     // the person line
    forms::Label Bezeichnung1, Bezeichnung2, Bezeichnung3, Bezeichnung4, Bezeichnung5, Bezeichnung6, Bezeichnung7,
        Bezeichnung8, Bezeichnung10, Bezeichnung11;
    db::DataControl Daten1, Daten2, Daten3;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_Unload(int& cancel) override;

    void BefehlZiffer_Click(int ziffer);  // Befehl1_Click .. Befehl5_Click
    void Befehl6_Click();
    void Befehl9_Click();
    void Befehl10_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void Text1_KeyPress(int& keyAscii);
    // What the statement box's GotFocus does: show gAktAussage and stand on its rows.
    void Text2_GotFocus();

private:
    void binden();
    void neuLesen();                   // the answers again, or all rows where a read was refused
    void aufAussage();                 // positions and then gives the rating box the focus
    void zurAussage(int16_t aussage);  // an empty rating box on that statement
    // The first statement whose item-type row is empty; 0 when none.
    int16_t ersteLuecke();
    void testBeenden();
    void fokusBewertung();

    // A rating typed for this statement that could not be stored (the file locked by another
    // program): the box keeps showing it, also when the window comes to the front again, so that
    // the next "Speichern" stores it.
    int16_t m_ungespeichertBei = 0;
    std::string m_ungespeichert;
    bool m_aktiviert = false;   // the rows were bound (or tried) at least once
    bool m_gebunden = false;    // all rows of the person read by the last binding
    int16_t m_gezeigt = 0;      // the statement whose text and rating the window shows
    int32_t m_gezeigtFuer = 0;  // and the person they are of
};

// Marks the assistant's step "test taken".
void TestSchritteMarkieren();
