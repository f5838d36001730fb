#pragma once

// What the frame calls of the test administration (see desk/frame/subsystem2_hooks.h).

#include "desk/testing/frm_einfuehrung.h"
#include "desk/testing/testverwaltung.h"

namespace forms {
class Form;
}

forms::Form& Form3Fenster();
forms::Form& frmpersFenster();
forms::Form& frmTestFenster();
// Body of the main window's questionnaire print command: asks, then prints on the printer.
void FragebogenDrucken();
