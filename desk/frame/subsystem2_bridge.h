#pragma once

// The frame's calls into the test administration; each does nothing (or reports "no choice")
// while that subsystem is not built in.

namespace forms {
class Form;
}

namespace s2 {
bool vorhanden();
// Hands the main window's shared cursors and menu procedures to the test administration.
void verbinden();
void LadeTestItemTyp();
void TestAuswerten();
void TypRangfolgeBestimmen();
void Form3Laden();           // the person chooser, loaded hidden
void PersonWaehlen();        // the person chooser centred and shown modal; sets gAuswahlAbgebrochen
void PersonendatenZeigen();  // the person window centred and shown
void TestZeigen();           // the test form centred and shown
void EinfuehrungstextAnzeigen();
void FragebogenDrucken();
}  // namespace s2
