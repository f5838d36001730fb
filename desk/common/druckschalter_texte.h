#pragma once

// The print switches that both programs' print windows offer alike, captioned alike.

#include <span>

#include "desk/common/globals.h"
#include "platform/forms/controls.h"

// The letterhead fields (Frame2, Check2), the header switches (Frame3 and `kopf`: page number,
// date, rule, symbol, literature line, as many as the window has), the footer switches (Frame5,
// Check4: page number, date, rule) and the button that stores them all (Command4).
template <class Fenster>
void DruckschalterBeschriften(Fenster& f, std::span<forms::CheckBox> kopf) {
    static constexpr int briefkopf[12] = {196, 162, 53, 54, 50, 51, 164, 52, 163, 58, 165, 55};
    static constexpr int kopfzeile[5] = {198, 199, 202, 226, 12};
    static constexpr int fusszeile[3] = {198, 199, 202};
    f.Frame2.setCaption(LabelTxt(161));
    for (int i = 0; i < 12; ++i) f.Check2[i].setCaption(LabelTxt(briefkopf[i]));
    f.Frame3.setCaption(LabelTxt(197));
    for (size_t i = 0; i < kopf.size() && i < 5; ++i) kopf[i].setCaption(LabelTxt(kopfzeile[i]));
    f.Command4.setCaption(LabelTxt(203));
    f.Frame5.setCaption(LabelTxt(205));
    for (int i = 0; i < 3; ++i) f.Check4[i].setCaption(LabelTxt(fusszeile[i]));
}
