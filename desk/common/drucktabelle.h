#pragma once

// The print table the report writes its lines into: made with every new data file, added to a
// file made before it existed, and made in the copy that a read-only file's report is written to.

inline constexpr const char* kDrucktabelleAnlegen =
    "CREATE TABLE [Drucktabelle] ([Druckseite] short,[ZeilenNr] long,[Zeilentext] TEXT(255),[Formatierung] TEXT(2))";
inline constexpr const char* kDrucktabelleSchluesselAnlegen =
    "CREATE UNIQUE INDEX [PrimaryKey] ON [Drucktabelle] ([Druckseite],[ZeilenNr]) WITH PRIMARY";
