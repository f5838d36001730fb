#pragma once

// The report window: chooses the report's parts, its kind and the header and footer contents,
// assembles the report of the current person into the print table and shows it in its viewer,
// from which the person prints it or saves it as a PDF file. A top-level window with one
// program-wide default instance (forms::Default<frmReport>()).
//
// Openers set the part boxes Check1(0) … Check1(8) and the kind Option1(0) (the current
// evaluation page) or Option1(1) (two persons), neither for the full report, then Show() it: every
// activation assembles the report anew. The blank questionnaire reads the header and footer
// switches Check1(9), Check1(10), Check1(12), Check4(0) … Check4(2) (druckSchalter()); touching
// them loads the window hidden with the stored switches and builds no report.

#include <array>
#include <memory>
#include <string>

#include "desk/testing/druck.h"
#include "platform/db/data_control.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/report/report.h"
#include "platform/report/viewer.h"

namespace db {
class Database;
}

class frmReport : public forms::Form {
public:
    frmReport();
    ~frmReport() override;

    // ---- controls (containers before what they hold)
    forms::TabControl SSTab1{3};
    forms::Frame Frame1, Frame2, Frame3, Frame4, Frame5;
    report::Viewer CrystalReport1;
    forms::CommandButton Command1, Command2, Command3, Command4;
    forms::Label Label1;
    std::array<forms::CheckBox, 13> Check1;  // 0 … 8 the parts, 9 … 12 the header switches
    std::array<forms::OptionButton, 2> Option1;
    std::array<forms::CheckBox, 12> Check2;  // letterhead
    std::array<forms::CheckBox, 11> Check3;  // the tested person's data
    std::array<forms::CheckBox, 3> Check4;   // footer
    db::DataControl Data1, Data2, Data3, Data4, Data5;
    draw::PictureBox Picture1;  // hidden: measures the exchange bitmaps
    draw::PictureBox Picture2;  // the letterhead picture of the questionnaire

    // ---- life cycle and handlers
    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Command1_Click();  // assembles and shows the report
    void Command2_Click();  // empties the print table and closes the window
    void Command3_Click();  // help
    void Command4_Click();  // stores the layout switches

    // The thirty layout switches: stored into and restored from the settings row (Data4).
    void SaveSettings();
    void AssignSettings();


private:
    struct Lauf;
    void zusammenstellen(Lauf& lauf);
    void schalterAnwenden(report::Report& briefkopf, report::Report& person, int fussBereich);
    // Loads an exchange bitmap of the data folder into Picture1; false when it is missing or unreadable.
    bool bildLaden(const std::string& bild);
    // Sizes the first picture object of a subreport's section (by position or name) for Picture1's bitmap.
    // `eigeneGroesse`: at the size its resolution gives it, the sheet turned for a wider one.
    void bildPlatzieren(report::Report& unterbericht, const std::string& bereich, bool zentriert,
                        bool eigeneGroesse = false);
    void bildOderHinweis(report::Report& unterbericht, const std::string& bild, bool eigeneGroesse = false);
    // Makes a figure of the current person off screen; "" when it was made, else why not.
    std::string bildMachen(const std::string& bild, const std::string& datei);
    void kopieBereitstellen();
    void kopieSchliessen(bool mitHauptDaten);

    std::unique_ptr<report::Engine> mReportEngine;
    std::shared_ptr<report::Report> mReport;
    // The scratch copy the report of a read-only data file is written into.
    std::shared_ptr<db::Database> m_kopie;
    std::string m_kopiePfad;
    // The figures last said to be missing from the report.
    std::string m_bildMeldung;
};

// Removes the private folders of report copies that a killed ZUVDESK of this account left in the
// temporary folder. Part of every start.
void BerichtsresteAufraeumen();

// The questionnaire's header and footer switches as the report window holds them.
zuvtest::DruckSchalter druckSchalter();
