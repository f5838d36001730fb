#pragma once

// The person window: browse, create, edit, find and delete the persons of the open data file,
// make one the current person, and import a person from an XML file.

#include <array>

#include "desk/testing/xml_import.h"
#include "platform/db/data_control.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class frmpers : public forms::Form {
public:
    frmpers();

    // Containers first: they must outlive the controls placed in them.
    forms::Frame Frame1, Frame2;
    std::array<forms::TextBox, 12> Text1;
    forms::TextBox Text8;  // PersonID of a saved new person, not shown
    forms::TextBox Text2;  // path of the XML file, not shown
    db::DataControl Data1;
    // The data control's navigator: first, previous, next, last, and its caption.
    forms::CommandButton DataErster, DataZurueck, DataVor, DataLetzter;
    forms::Label DataCaption;
    forms::CommandButton Befehl1, Befehl2, Befehl3, Befehl4, Befehl5, Befehl6, Befehl7, Befehl8, Befehl9, Command1,
        Command2;
    std::array<forms::Label, 12> Beschriftung;  // field captions in box order
    forms::Label Bezeichnung14, Bezeichnung15;
    forms::CommonDialog dlgcmd1;

    int NeuerSatzOffen = 0;
    int NeuModus = 0;
    int AktuellesFeld = 0;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Form_KeyDown(int& keyCode, int shift) override;

    void BindTextFieldsToDataControl();
    void EnableTextFields();
    void DisableTextFields();
    void ParseXML();

    void Befehl1_Click();
    void Befehl2_Click();
    void Befehl3_Click();
    void Befehl4_Click();
    void Befehl5_Click();
    void Befehl6_Click();
    void Befehl7_Click();
    void Befehl8_Click();
    void Befehl9_Click();
    void Command2_Click();
    void Text1_KeyPress(int index, int& keyAscii);

    // The data control's state as the window shows it.
    void setData1Enabled(bool on);
    bool Data1Enabled() const { return m_data1Enabled; }

private:
    void personUebernehmen();
    void datenLaden();
    void zeigeZeile();                       // the current row into the boxes
    void zeileSchreiben(db::Recordset& rs);  // the boxes into the row's edit buffer
    bool datenGueltig();                     // false after saying which date box holds no date
    long anzahl();
    std::string personZeile();  // Vorname Nachname/Testdatum of the boxes
    void browseZustand(bool personenDa);
    // The person the boxes show was deleted by another program: the program stops pointing at
    // it, the list no longer offers it, and the window says so (`meldung`).
    void anderswoGeloescht(int meldung);

    int32_t m_gezeigtePerson = 0;  // PersonID of the row the boxes show

    bool m_data1Enabled = true;
    int m_listener = 0;
    zuvtest::XmlPerson m_xml;
};

// The person whose row was deleted, or that was chosen, stops or becomes the program's current
// person; the main window follows.
void PersonUebernehmen(int32_t id, const std::string& vorname, const std::string& nachname, const std::string& testdatum);
