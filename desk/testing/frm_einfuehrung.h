#pragma once

// The introduction text window: the installed introduction, read only, with copying of a
// selection and printing. A new window for each request.

#include <QMenuBar>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

class frmeinfuehrung : public forms::Form {
public:
    frmeinfuehrung();

    QMenuBar Menue;
    forms::MenuItem mnuTextBearbeiten;
    forms::MenuItem mnuTextkopieren;
    QWidget Picture1;
    forms::TextBox Text1{true};
    forms::CommandButton Command1, Command2;
    forms::Button3D SSCommand1, SSCommand2, SSCommand3;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;

    void text_schriftartsetzen();
    void druckeinfuehrungstext();
    void Text1_Click();
    void mnuTextkopieren_Click();
};

// Reads "zuvinfo.txt" of the data folder into gEinfuehrungstext and opens a new window on it.
void EinfuehrungstextAnzeigen();
