#pragma once

// The person chooser: a modal list of all persons of the open data file, sorted by surname and
// first name; OK makes the chosen person the program's current person.

#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/grid.h"

class Form3 : public forms::Form {
public:
    Form3();

    db::DataControl Data1;
    forms::Grid Grid1;
    forms::CommandButton Befehl1, Befehl2;
    forms::Label Bezeichnung1, Bezeichnung2;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;

    void Grid1_Click();
    void Grid1_DblClick();
    void Befehl1_Click();
    void Befehl2_Click();
};
