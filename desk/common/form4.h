#pragma once

// The settings window: loader and editor of the user's settings (the single row of Konfiguration in
// ZUVDESK, of KonfigurationTypen in the reader).

#include <array>

#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form4 : public forms::Form {
public:
    Form4();
    forms::TabControl SSTab2{4};
    db::DataControl Data1, Data2;
    forms::Frame Frame1, Frame2, Frame3, Frame4, Frame5, Anzeige1;
    forms::CheckBox Check1;
    forms::OptionButton Option1, Option3, Option2, Option4;
    std::array<forms::OptionButton, 3> Option5;
    std::array<forms::ComboBox, 5> Combo1;
    forms::CommandButton Befehl4, Befehl5, Command4, Command5, Command3;
    forms::Label Label2, Label5;
    forms::ComboBox Combo2, Combo3;
    std::array<forms::Label, 13> Label4;
    std::array<forms::TextBox, 13> Text6;
    forms::CommandButton Command1, Command2, Befehl3;

    void setupControls() override;
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Unload(int& cancel) override;

    void TypbezeichnungZuweisen();
    void BindTextFieldsToDataControl();
    void DatenSpeichern();
    void DatenZuweisen();

    void Command1_Click();  // OK
    void Befehl3_Click();   // Cancel
    void Befehl4_Click();   // standard font
    void Command4_Click();  // extra font
    void Befehl5_Click();   // standard colour
    void Command5_Click();  // extra colour
    void Command3_Click();  // printer set-up
    void Command2_Click();  // help
    void Text6_KeyPress(int index, int& keyAscii);

    // The letterhead fields in the order of Text6(0) … Text6(12).
    static const std::array<const char*, 13>& briefkopfFelder();

private:
    void schemaAusOptionen();  // gTypbenennung from the option set; none set leaves it
    void schriftWaehlen(bool standard);
    void farbeWaehlen(bool standard);
    void briefkopfLesen();
    // What the settings held when the window was loaded: Cancel puts it back.
    struct Stand;
    std::shared_ptr<Stand> m_stand;
};
