#pragma once

// The answer table: for the current person, how many of each type's statements were rated 0 to 4,
// and each type's total score. A heading chosen in the table (a rating column or a type) can be
// shown as a chart. A new window for each request; its table is filled once, when it opens, so it
// keeps showing the person it was opened for.

#include <QImage>

#include <array>
#include <cstdint>
#include <string>

#include "desk/common/cls_scroll.h"
#include "desk/evaluation/antworttabelle.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/grid.h"

class Form15 : public forms::Form {
public:
    Form15();
    ~Form15() override;

    QWidget Picture2;            // the strip at the top
    forms::Button3D SSCommand1;  // chart of the chosen column or row
    forms::Button3D SSCommand2;  // help
    forms::Label Label1;         // the person
    QWidget Ansicht;             // the part of the window below the strip, in which Picture1 scrolls
    QWidget Picture1;            // holds the table; moved by the scroll bars
    forms::Grid Grid1;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void Form_Message(int msg, std::intptr_t wParam, std::intptr_t lParam) override;

    void Grid1_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();

    // The table as text, as the Edit menu's copy command takes it: ten lines, each the seven cells
    // of its row divided by tabs and ended by CR LF. The grid's current and selected column are 0
    // afterwards.
    std::string Tabellentext();

    // 1 after a rating column was chosen, 2 after a type; 0 before either.
    int16_t Auswahlart() const { return m_auswahl; }

    // The whole table under the strip: the size the window takes when the child windows are cascaded.
    QSize sizeHint() const override;
    // The cells made to follow the person's answers as stored now, the table filled anew when they
    // changed: on activation, for the clipboard and print, and when a rating of the person is stored.
    void nachfuehren();

private:
    void groessen();
    int mindestSpalte() const;
    int mindestZeile() const;

    clsScroll m_scroll;
    int16_t m_auswahl = 0;
    // This window's choice as it went to gDiagrammWerte and gDiagrammTitel: another table window
    // may have put its own there since, and the chart button must chart this one.
    std::array<int16_t, 10> m_werte{};
    int16_t m_stelle = 0;  // the chosen column or row
    std::string m_titel;
    std::string m_antwortstand;  // the answers the cells were scored from (Antwortstand)
    Antwortzellen m_tabelle;     // the cells as the window filled them when it opened
    int32_t m_personID = 0;      // the person whose scores the window shows
    bool m_bildFehlerGemeldet = false;
    std::string m_stand;  // the sources of the figure when the window drew it (DruckbildStand)
    bool m_inResize = false;
};
