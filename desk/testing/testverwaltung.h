#pragma once

// What the frame and the later subsystems call of the test administration: the shared procedures
// over the program-wide state (globals.h) and the commands that open its windows.

#include <cstdint>

namespace zuvtest {
struct DruckSchalter;
}

// Fills gItemNummer / gTypNummer from the settings database through gWorkspace2. A failure
// shows the error box and leaves the arrays empty, so no person can be half-created later.
void LadeTestItemTyp();

// Scores gAktPersonID through the main window's cursors Data1..Data3 into its result rows and the
// score arrays; warns once about the first unanswered statement.
void TestAuswerten();
void PruefeAlleAussagenBeantwortet();

// Ranks the nine types of gAktPersonID into the group lists, top scores and main-type decision,
// through the main window's cursor Data2 and the threshold gSensitivity1.
void TypRangfolgeBestimmen();
// Both, for a result window about to show the current person: a person whose rows the scoring
// needs are missing from the data file is refused with a message that says so, instead of one
// that names only a missing record.
void PersonFuerErgebnisfensterAuswerten();

// The person window, centred and shown.
void PersonendatenAnzeigen();
// The person chooser, centred and shown modal; gAuswahlAbgebrochen is 1 when it was left without
// a choice.
void PersonWaehlen();
// The test form, centred and shown at statement gAktAussage.
void TestZeigen();
// The test form at statement 1; the assistant marks the test step.
void TestDurchfuehren();
// Asks, then prints the blank questionnaire on the printer with the report window's header and
// footer switches.
void FragebogenDrucken(const zuvtest::DruckSchalter& schalter);
