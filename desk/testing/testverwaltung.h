#pragma once

// The shared procedures of the test administration over the program-wide state (globals.h).

#include <cstdint>

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
