#pragma once

// The enneagram window: the enneagram symbol in the colour of the settings, the nine type names
// around it and two bars per type that show one of eight score views of the person. A new window
// for each request; it keeps the scores of the person it was opened for, so a later scoring of
// another person never shows under this person's name.

#include <QImage>

#include <array>
#include <cstdint>
#include <string>

#include "desk/common/cls_scroll.h"
#include "desk/evaluation/enneagramm_figur.h"
#include "desk/evaluation/form2_balken.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form2 : public forms::Form {
public:
    Form2();
    ~Form2() override;

    QWidget Picture2;            // the strip at the top
    forms::ComboBox Combo1{2};   // the score view
    forms::Button3D SSCommand1;  // help
    forms::Label Label2;         // the person
    QWidget Ansicht;             // the part of the window below the strip, in which Picture1 scrolls
    EnneagrammFigur Picture1;    // the figure: symbol, names and bars
    forms::Image& Image1 = Picture1.Image1;
    std::array<forms::Label, 9>& Label1 = Picture1.Label1;
    std::array<forms::Panel3D, 9>& SSPanel1 = Picture1.SSPanel1;  // upper bar of type k + 1
    std::array<forms::Panel3D, 9>& SSPanel2 = Picture1.SSPanel2;  // lower bar of type k + 1

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void Form_Message(int msg, std::intptr_t wParam, std::intptr_t lParam) override;

    void Combo1_Click();
    void SSPanel1_Click(int index);
    void SSCommand1_Click();

    // The figure drawn off screen: the exchange bitmap "ZUVEnneagramm.bmp" and what the Edit menu
    // copies.
    QImage Abbild();

    // The whole figure under the strip: the size the window takes when the child windows are cascaded.
    QSize sizeHint() const override;

    // The scores this window shows.
    const EnneagrammWerte& Werte() const { return m_werte; }
    // The scores made to follow the person's answers as stored now, the bars drawn anew when they
    // changed: on activation, for the clipboard, and when a rating of the person is stored.
    void nachfuehren();

private:
    clsScroll m_scroll;
    int16_t m_zaehler = 0;  // the bar refresh's loop variable
    EnneagrammWerte m_werte;
    std::string m_antwortstand;  // the answers m_werte were scored from (Antwortstand)
    int32_t m_personID = 0;      // the person whose scores the window shows
    bool m_bildFehlerGemeldet = false;
    std::string m_stand;  // the sources of the figure when the window drew it (DruckbildStand)
    bool m_inResize = false;
};
