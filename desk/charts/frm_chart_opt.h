#pragma once

// The chart options dialog: one program-wide window whose controls are the live chart settings
// the chart windows read, loaded from and stored into the one row of table chartkonfiguration.

#include <array>
#include <memory>
#include <string>

#include "platform/db/data_control.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class frmChartOpt : public forms::Form {
public:
    frmChartOpt();
    ~frmChartOpt() override;

    forms::TabControl SSTab1{6};
    forms::Frame Frame1, Frame2, Frame3, Frame4, Frame5, Frame6, Frame7, Frame8, Frame9, Frame10, Frame11;
    std::array<forms::OptionButton, 9> Option1;   // chart type
    std::array<forms::OptionButton, 3> Option2;   // value axis scale: log, percent, linear
    std::array<forms::OptionButton, 10> Option3;  // which answer values
    std::array<forms::CheckBox, 5> Check1;        // legend, type labels, title, axis title, footnote
    std::array<forms::CheckBox, 2> Check2;        // grid lines of the Y and of the X axis
    forms::CheckBox Check3;                       // markers
    std::array<forms::CheckBox, 2> Check4;        // second value axis: line, scale
    forms::CheckBox Check5;                       // series stacked
    forms::TextBox Text1, Text2;                  // title, footnote
    forms::CommandButton Command3, Command5, Command6, Command7;
    std::array<forms::CommandButton, 9> Command4;
    forms::Label Label1, Label2, Label4, Label5;
    std::array<forms::Label, 4> Label3;
    forms::ComboBox Combo1{0}, Combo2{0}, Combo3{2}, Combo4{2}, Combo5{2}, Combo6{2};
    forms::CommandButton Command1, Command2, Command8;  // OK, Cancel, Help
    forms::CommonDialog dlgChartColor;
    db::DataControl Data1, Data2;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Unload(int& cancel) override;

    // The stored row into the controls and the program-wide chart look; the controls back into it.
    void SetChartType();
    void SaveChartType();

    void SSTab1_Click(int previousTab);
    void Combo1_KeyDown(int& keyCode, int shift);
    void Combo2_KeyDown(int& keyCode, int shift);
    void Command1_Click();           // OK
    void Command2_Click();           // Cancel
    void Command8_Click();           // Help
    void Command3_Click();           // chart backdrop colour
    void Command6_Click();           // plot backdrop colour
    void Command7_Click();           // axis line colour
    void Command4_Click(int index);  // colour of series index + 1
    void Command5_Click();           // chart font

    // The rules between chart type and answer values: the pie draws one series only.
    void Optionsregeln();
    // True once SetChartType read the whole row; only then may SaveChartType write it.
    bool vollstaendigGeladen() const { return m_geladen; }

    // The fixed footnote when the row holds none.
    static const char* standardFussnote();

private:
    void layoutControls();
    void zahlenTaste(forms::ComboBox& box, int maxStellen, int dialogText, int& keyCode, int shift);
    void farbknoepfeZeigen();
    void farbWaehlen(int ziel);

    // The chart look as it was when the row was read: leaving without OK puts it back.
    struct Stand;
    std::unique_ptr<Stand> m_stand;
    bool m_geladen = false;
    bool m_gespeichert = false;
    std::unique_ptr<QObject> m_tasten1, m_tasten2;
};
