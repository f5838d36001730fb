#pragma once

// The enneagram figure: the symbol, the nine type names around it and two bars per type that show
// one score view of a person. The enneagram window scrolls it; the report draws it off screen.

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "desk/evaluation/form2_balken.h"
#include "platform/draw/picture.h"
#include "platform/forms/controls.h"

class EnneagrammFigur : public QWidget {
public:
    EnneagrammFigur();

    forms::Image Image1;
    std::array<forms::Label, 9> Label1;
    std::array<forms::Panel3D, 9> SSPanel1;  // upper bar of type k + 1
    std::array<forms::Panel3D, 9> SSPanel2;  // lower bar of type k + 1

    // The type designations of gTypbezeichnung as the names, then the places sized to them.
    void namenSetzen();
    // The places of the figure, with the names sized to their texts; the figure takes their size.
    void anordnen();
    // The symbol file of the symbol colour setting `farbe` (one of label texts 212 to 220, compared
    // exactly); a text that matches none keeps the picture the symbol has. Error 53 for a missing file.
    void symbolWaehlen(const std::string& farbe);
    // The 18 bars for score view `ansicht`; `zaehler` is the loop variable, left at 9.
    void balkenSetzen(int ansicht, const EnneagrammWerte& werte, int16_t& zaehler);

    // The built-in picture of the symbol (one ellipse and nine lines), kept when no symbol file is
    // chosen.
    static draw::Picture eingebautesSymbol();
};

// The enneagram of the current person as the report prints it, made off screen without a window:
// the person as last scored, the bars of the first score view in the stored series colours, the
// symbol of the stored symbol colour; drawn for print.
QImage EnneagrammFuerDruck();
// What the symbol is drawn from: the symbol colour setting and the symbol file it chooses.
std::string SymbolStand();
