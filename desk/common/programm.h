#pragma once

// What the shared procedures do differently in the two programs that link them. Each program's
// start-up sets its own once, before the first window; until then ZUVDESK's holds.

#include <functional>
#include <string>

struct Programm {
    std::string titel;       // version title ("Z.U.V. 5.0", "Z.U.V. 4.0")
    std::string hilfedatei;  // the help file in the program folder
    // The error box's words: fixed in the reader, label texts 363 and 364 in ZUVDESK.
    bool festeFehlerworte = false;
    // The reader puts the mouse pointer back to normal and the status line to its idle text after
    // its error box and after refusing an eleventh window.
    bool meldungBeendetWartezeit = false;
    // The settings window's row ("Konfiguration" or "KonfigurationTypen" of the settings database).
    std::string einstellungstabelle;
    // Points above which the settings window asks before it takes a standard font.
    int standardschriftGrenze = 12;
    std::string einstellungenHilfethema;  // help topic of the settings window
};

extern const Programm kZuvdesk;
extern const Programm kZuvcodex;

const Programm& programm();
void setProgramm(const Programm& p);

// The help file of the running program, as ShowHelp opens it (found without regard to case).
std::string Hilfedateipfad();

// What both programs do before their first window: this program's settings, Qt's own dialogs in
// German, and the enneagram symbol as every window's icon.
void ProgrammVorbereiten(const Programm& p);

// When the desktop ends the program (SIGTERM, SIGHUP, SIGINT): `beenden` does what the program's
// own exit does after its question, then every database still open is closed, so that no file is
// left with its log beside it.
void EndesignaleAbfangen(std::function<void()> beenden);
