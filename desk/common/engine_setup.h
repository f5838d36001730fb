#pragma once

// The engine set-up both programs share: the data folder from the INI file, the workgroup login and
// the interface texts.

#include <string>

// Paths from the INI file, the workgroup login on the data folder, the two workspaces and the
// settings database. No trap: errors go to the caller.
void InitDatabaseEngine();
// The data folder that the INI value "AppPath" names, in the case it has on disk. The program
// folder holds where the value names none, names no existing folder, or names the folder of
// another installation (one with an INI file or a ZUVDESK of its own): a copied or moved
// installation then works on its own files, not on the original's. A relative value is taken
// from the program folder.
std::string DatenordnerFuer(const std::string& wert);
// DatenordnerFuer the value of the INI file gIniDatei.
std::string DatenordnerAusIni();
// Whether the last DatenordnerAusIni found no data folder in the INI file and took the program folder.
bool& DatenordnerErsetzt();
// Workgroup file of `ordner`, default user and password of the engine.
void EngineEinstellen(const std::string& ordner);
// The engine set-up of either program's start: first on the program folder, whose workgroup file
// the run keeps, then through InitDatabaseEngine on the data folder the INI file names. No trap.
void StartEngineEinrichten();
// LoadUiTexts for the start: a text table that is missing or empty is an error that names it, since
// no window can be captioned without its texts.
void StartTexteLaden(const std::string& suffix = "");
// Loads the three text tables into gMenuTxt, gLabelTxt and gDialogTxt, by position in ID order; a
// row without text (Null) is an empty text. `suffix` "" reads MenuTxt/labelTxt/DialogTxt, "Typen"
// the reader's tables. Ends silently at a missing table, keeping what was loaded; any other error
// goes to the caller.
void LoadUiTexts(const std::string& suffix = "");
