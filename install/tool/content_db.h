#pragma once

#include <string>

namespace install {

// Writes the reader's content database "zuv40typ.sdb" from the sources under `sourceDir`
// (install/typen/ for the topics, their texts and the literature; install/settings/Typ.txt for the
// types), through the engine and the login of the workgroup file `workgroupPath`.
// An existing file is replaced.
//
// Tables: typ (one row per type, the designations as the settings database holds them),
// thementitel (one row per topic in list order; thementitelid runs 1, 2, … in that order),
// Literatur, thema (one row per topic and type). The stored query themenalleinfos joins them and
// names its columns as the reader reads them: "thementitel.titel", "thema.thementitelid",
// enneatypid, Inhalt, Autor, "Literatur.Titel", Reihe, Herausgeber, Auflage, Verlag, Ort, Jahr.
// No column the reader reads holds Null: an empty literature field is an empty text.
void writeContentDatabase(const std::string& sourceDir, const std::string& path, const std::string& workgroupPath);

}  // namespace install
