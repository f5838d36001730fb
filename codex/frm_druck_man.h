#pragma once

// The print manager: the four print modes for the current type, the topic list with the mode's
// preselection, the twenty print switches (letterhead, header, literature line, footer) stored in
// the reader's settings row, and print, preview, store, printer set-up, help and close. The print
// engine, the letterhead and the footer are its procedures and read its controls directly.

#include <array>
#include <string>

#include "platform/db/data_control.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace db {
class Recordset;
}

namespace codex {

class frmDruckMan : public forms::Form {
public:
    frmDruckMan();

    forms::TabControl SSTab1{2};
    forms::Frame Frame1, Frame4, Frame6, Frame2, Frame3, Frame5;
    std::array<forms::OptionButton, 4> Option1;  // 0 type short, 1 type long, 2 current topic, 3 all topics
    forms::ListBox List1{1};
    forms::Label Label1;
    std::array<forms::CheckBox, 12> Check2;  // letterhead fields
    std::array<forms::CheckBox, 5> Check1;   // page number, date, rule, symbol, literature line
    std::array<forms::CheckBox, 3> Check4;   // footer: page number, date, rule
    forms::CommandButton Command1, Command3, Command4, Command5, Command6, Command2;
    db::DataControl Data1, Data2, Data3;
    draw::PictureBox Picture2;  // the symbol picture of a run's letterheads

    // True while the output goes to the preview.
    bool Vorschau = false;
    // Page state of the run: the height the counted lines take, the text a line is measured on,
    // the font size kept across the literature line, the position of the current topic row.
    int16_t Druckhoehe = 0;
    std::string Messtext;
    int16_t Schriftgroesse = 0;
    int32_t Themenposition = 0;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;

    void Option1_Click();
    void ThemenMarkieren();
    void Command1_Click();  // print
    void Command2_Click();  // close
    void Command3_Click();  // preview
    void Command4_Click();  // store the switches
    void Command5_Click();  // printer set-up
    void Command6_Click();  // help

    // The twenty switches: settings row to check boxes and back.
    void AssignSettings();
    void SaveSettings();

    // The print engine: one run to gAusgabe (the printer or the preview's page).
    void Drucken();
    void PrintString(const std::string& sString, int16_t iTab);
    void MaxLinesCheck();
    // Letterhead and footer of the current page; the letterhead's symbol is the one the run read.
    void PrintDruckkopf(int16_t iTab);
    void PrintFusszeile(int16_t iTab);

private:
    // The print query and the type's designation follow the current type.
    void druckabfrageFuer(int16_t typ);
    void druckLauf();
    // One topic: title, text and (switched on) the literature line, rebuilt from the row when one
    // is given.
    void themenblock(const std::string& titel, const std::string& inhalt, db::Recordset* zeile);
    void zeile(const std::string& text, int16_t iTab, bool abstand);
    // Output to the preview ended with its first page: nothing more is drawn.
    bool vorschauVoll() const;
    // The check box of each of the twenty switches, in the order of the settings row.
    std::array<forms::CheckBox*, 20> schalter();

    int16_t m_druckTyp = -1;
};

// The designation of type `typ` as the print manager names and prints it; "" for no type.
std::string Druckbezeichnung(int16_t typ);

// The column names of the twenty switches, in their stored order.
const std::array<const char*, 20>& Druckschalterfelder();

}  // namespace codex
