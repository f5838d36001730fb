#pragma once

// Import of persons from another data file into the open one.

#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class frmImport : public forms::Form {
public:
    frmImport();
    forms::ListBox List1{2};
    forms::ListBox List2;
    db::DataControl Data1, Data2;
    forms::CommandButton Command2, Command3, Command1, Command4;

    void setupControls() override;
    void Form_Load() override;
    void Command2_Click();  // import all
    void Command3_Click();  // import the selected persons
    void Command1_Click();  // close
    void Command4_Click();  // help

    // Lists the persons of the data file `quelle`, which the window then imports from. A file
    // that cannot be read as a data file raises its error and leaves the lists and the file the
    // window acts on as they were.
    void QuelleLaden(const std::string& quelle);
    // The file the window lists and imports from.
    const std::string& quelle() const { return m_quelle; }

    // Why nothing can be imported from `quelle` into the open data file, as a dialog text (no file
    // open, the open file itself, opened read-only); 0 when nothing stands in the way.
    static int ablehnung(const std::string& quelle);
    // The import itself, without the window: copies the persons of `quelle` (all, or those with the
    // given numbers) into the open data file in one transaction and returns how many were copied.
    static int importiere(const std::string& quelle, const std::vector<int32_t>* nurDiese);

private:
    // Shows the refusal and returns true when there is one.
    bool abgelehnt() const;
    std::string m_quelle;
};
