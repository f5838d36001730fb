#pragma once

// What the frame needs of the test administration (desk/testing). That subsystem declares these
// in "desk/testing/subsystem2.h"; the frame picks the header up when it exists, so the frame
// builds and runs before the test administration does. Without it the commands that would open
// its windows do nothing, and the start-up loads no statement-to-type table.
//
// Contract of desk/testing/subsystem2.h (free functions, global namespace):
//   void LadeTestItemTyp();            // fills gItemNummer / gTypNummer from TestItemTyp (through gWorkspace2)
//   void TestAuswerten();              // scores gAktPersonID into Ergebnis and the score arrays
//   void TypRangfolgeBestimmen();      // ranks the nine types into the group lists
//   forms::Form& Form3Fenster();       // default instance of the person chooser (not loaded by this call)
//   forms::Form& frmpersFenster();     // default instance of the person window
//   forms::Form& frmTestFenster();     // default instance of the test form
//   void EinfuehrungstextAnzeigen();   // opens the introduction text window
//   void FragebogenDrucken();          // body of the main window's questionnaire print command

#if __has_include("desk/testing/subsystem2.h")
#include "desk/testing/subsystem2.h"
#define ZUV_HAS_SUBSYSTEM2 1
#else
#define ZUV_HAS_SUBSYSTEM2 0
#endif
