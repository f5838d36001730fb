#pragma once

// What the frame and the later subsystems call of the test administration: the shared procedures
// over the program-wide state (globals.h) and the commands that open its windows.

#include <cstdint>
#include <functional>
#include <string>

#include "desk/testing/auswertung.h"

namespace zuvtest {
struct DruckSchalter;
}

// Fills gItemNummer / gTypNummer from the settings database through gWorkspace2. A failure
// shows the error box and leaves the arrays empty, so no person can be half-created later.
void LadeTestItemTyp();

// Scores gAktPersonID through the main window's cursors Data1..Data3 into its result rows and the
// score arrays; warns once about the first unanswered statement (not when `warnen` is false).
void TestAuswerten(bool warnen = true);
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

// ---- result windows that follow the answers
//
// A result window keeps what it shows while it is open, but the person's answers may change meanwhile:
// rated on in the test window of this program, or in another program on the same data file. Each
// window remembers the answers its picture was made from as a fingerprint and compares it with
// the fingerprint of the stored rows whenever it draws, is activated, prints or is told of a rating.

// The person's answers as stored in the open data file now, as one short text: two equal texts
// score alike. One read of the person's item-type rows; "" without a data file.
std::string Antwortstand(int32_t personId);

// The score arrays, the ranking and the result rows of gAktPersonID made to follow its stored
// answers: scored and ranked anew, without the warning about unanswered statements, when they were
// made for another person or from other answers. Returns the fingerprint they are now made from.
// 3021 as TestAuswerten for a person whose rows are missing.
std::string AuswertungNachfuehren();
// For a result window that opens on what its opener has just scored: the person's Antwortstand,
// but a failure leaves "" and no message, so that the window's first comparison scores anew and
// tells then.
std::string ErgebnisfensterAntwortstand(int32_t personId);

// Scores any person through cursors of its own into its result rows, leaving the current person's
// score arrays alone (a window of a person who is no longer the current one). The scores and the
// fingerprint they were made from.
struct EigeneAuswertung {
    zuvtest::Auswertung auswertung;
    std::string antwortstand;
};
EigeneAuswertung PersonFuerSichAuswerten(int32_t personId);

// Told whenever a rating of a person is stored in this program: each open result window of that
// person draws itself anew. Entered by a window with a key of its own, removed by that key.
using Bewertungsbeobachter = std::function<void(int32_t personId)>;
void BewertungsbeobachterEintragen(const void* schluessel, Bewertungsbeobachter beobachter);
void BewertungsbeobachterAustragen(const void* schluessel);
void BewertungenGespeichert(int32_t personId);
