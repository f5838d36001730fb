#pragma once

// The engine set-up both programs share: the data folder from the INI file, the workgroup login and
// the interface texts.

#include <string>

// Where the program folder is closed to the user (an administrator's installation), what the
// programs write lives in the user's own folders, made from the installation's copies at the first
// start: the INI file and the settings database in $XDG_CONFIG_HOME/zuv, the data folder (the
// first data file, the pictures saved for the report) in $XDG_DATA_HOME/zuv. What is only read
// (programs, pictures, layouts, help, content database) stays in the program folder. An
// installation the user may write keeps everything in its own folder.
bool ProgrammordnerSchreibbar();
// The folder of the INI file and the settings database: the program folder, or the user's own.
std::string Einstellungsordner();
// The data folder where the INI file names none of its own: the program folder, or the user's own.
std::string Standarddatenordner();
// A file of the installation that is only read (a picture, a layout, the introduction text, the
// content database): the data folder's where it holds one (a copy of the user's own), else the
// program folder's.
std::string Installationsdatei(const std::string& name);
// The settings database of the data folder `datenordner`: the one there where the user may write
// it, else the program folder's, or the user's own copy where the program folder is closed.
std::string EinstellungsdatenbankFuer(const std::string& datenordner);
// The settings database of the run (gProgrammDB; before the start has set it, the data folder's).
std::string Einstellungsdatenbank();

// Paths from the INI file, the workgroup login on the data folder, the two workspaces and the
// settings database. No trap: errors go to the caller.
void InitDatabaseEngine();
// The data folder that the INI value "AppPath" names, in the case it has on disk. The program
// folder (Standarddatenordner) holds where the value names none, names no existing folder, or
// names the folder of another installation (one with an INI file or a ZUVDESK of its own): a copied or moved
// installation then works on its own files, not on the original's. A relative value is taken
// from the program folder.
std::string DatenordnerFuer(const std::string& wert);
// DatenordnerFuer the value of the INI file gIniDatei.
std::string DatenordnerAusIni();
// Whether the last DatenordnerAusIni found no data folder in the INI file and took the program folder.
bool& DatenordnerErsetzt();
// Workgroup file of `ordner`, default user and password of the engine, and how the engine asks
// about a data file on a shared folder that stays locked (SperrenFragen) and shows that it waits
// (SanduhrBeimWarten).
void EngineEinstellen(const std::string& ordner);
// The engine asks through a message box whether a lock of another computer on a data file of a
// shared folder that stays may be taken over.
void SperrenFragen();
// The hourglass while a statement waits for a lock another program (or computer) holds on the file.
void SanduhrBeimWarten();
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
