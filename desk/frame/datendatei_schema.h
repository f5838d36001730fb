#pragma once

#include "desk/common/drucktabelle.h"

// The statements that make a data file, in their order.
inline constexpr const char* kDatendateiAnweisungen[] = {
    "CREATE TABLE [Info] ([ID] COUNTER,[Version] TEXT( 50))",
    "CREATE TABLE [PersDat] ([PersonID] Counter,[Vorname] TEXT(150),[Nachname] TEXT(150),[Geburtstag] TEXT(10),"
    "[Strasse] TEXT(255), [PLZOrt] TEXT(150), [Land] TEXT(150), [Telefon] TEXT(150), [EMail] TEXT(150), "
    "[Testdatum] TEXT(10), [Bereich] TEXT(255), [Abteilung] TEXT(255), [Bemerkung] LONGTEXT, [Metasatz] BIT )",
    "CREATE TABLE [PersonTestErgebnis] ([PersonID] Long,[ItemNummer] short,[ItemWert] short)",
    "CREATE TABLE [TypWertZuweisung] ([PersonID] Long,[ItemNummer] short,[TypNummer] short,[TypRealWert] short)",
    "CREATE TABLE [Ergebnis] ([PersonID] Long,[TypNummer] short,[TypGesamtSumme] short,[TypSumme0] short,"
    "[TypSumme1] short,[TypSumme01] short,[TypSumme2] short,[TypSumme3] short,[TypSumme4] short,[TypSumme34] short,"
    "[AW0] short,[AW1] short,[AW2] short,[AW3] short,[AW4] short,[AWGesamt] short)",
    kDrucktabelleAnlegen,
    "CREATE UNIQUE INDEX [PrimaryKey] ON [PersDat] ([PersonID]) WITH PRIMARY",
    "CREATE INDEX [PersonID] ON [PersonTestErgebnis] ([PersonID])",
    "CREATE INDEX [PersonID] ON [Ergebnis] ([PersonID])",
    "CREATE INDEX [PersonID] ON [TypWertZuweisung] ([PersonID])",
    kDrucktabelleSchluesselAnlegen,
};
