#include "platform/vb/error.h"

#include <map>

namespace vb {

namespace {
const std::map<int, std::string>& descriptions() {
    static const std::map<int, std::string> table = {
        {5, "Unzulässiger Prozeduraufruf oder ungültiges Argument"},
        {6, "Überlauf"},
        {7, "Nicht genügend Speicher"},
        {9, "Index außerhalb des gültigen Bereichs"},
        {11, "Division durch Null"},
        {13, "Typen unverträglich"},
        {52, "Dateiname oder -nummer falsch"},
        {53, "Datei nicht gefunden"},
        {55, "Datei bereits geöffnet"},
        {57, "Fehler beim Lesen oder Schreiben des Geräts"},
        {58, "Datei existiert bereits"},
        {61, "Datenträger voll"},
        {62, "Einlesen hinter Dateiende"},
        {70, "Zugriff verweigert"},
        {75, "Fehler beim Zugriff auf Pfad/Datei"},
        {76, "Pfad nicht gefunden"},
        {91, "Objektvariable oder With-Blockvariable nicht festgelegt"},
        {94, "Unzulässige Verwendung von Null"},
        {380, "Unzulässiger Eigenschaftswert"},
        {481, "Ungültiges Bild"},
        {482, "Druckerfehler"},
        {3010, "Tabelle existiert bereits."},
        {3011, "Das Objekt wurde nicht gefunden."},
        {3021, "Kein aktueller Datensatz."},
        {3022,
         "Die Änderungen wurden nicht durchgeführt, weil doppelte Werte im Index, Primärschlüssel "
         "oder in der Beziehung entstehen würden."},
        {3024, "Datei nicht gefunden."},
        {3026, "Nicht genügend Speicherplatz auf dem Datenträger."},
        {3027, "Aktualisieren nicht möglich. Datenbank oder Objekt ist schreibgeschützt."},
        {3028, "Die Arbeitsgruppen-Informationsdatei ist nicht vorhanden oder kann nicht geöffnet werden."},
        {3029, "Kein gültiges Konto oder Kennwort."},
        {3033, "Sie haben keine Berechtigung für diese Datenbank."},
        {3044, "Der Pfad ist ungültig."},
        {3045, "Die Datei konnte nicht verwendet werden; sie wird bereits verwendet."},
        {3051,
         "Die Datei konnte nicht geöffnet werden: sie wird von einem anderen Programm verwendet "
         "oder ist schreibgeschützt."},
        {3075, "Syntaxfehler im Ausdruck."},
        {3078, "Die Tabelle oder Abfrage wurde nicht gefunden."},
        {3163, "Das Feld ist zu klein für die Datenmenge, die Sie hinzufügen wollten."},
        {3201,
         "Der Datensatz kann nicht hinzugefügt oder geändert werden, da ein Datensatz in einer "
         "verknüpften Tabelle erforderlich ist."},
        {3265, "Element in dieser Auflistung nicht gefunden."},
        {3343, "Unerkanntes Datenbankformat."},
        {3349, "Numerischer Feldüberlauf."},
        {3356, "Die Datei ist bereits von einem anderen Benutzer exklusiv geöffnet."},
        {32755, "Abbrechen wurde ausgewählt."},
    };
    return table;
}
}  // namespace

std::string errorDescription(int number) {
    auto it = descriptions().find(number);
    if (it != descriptions().end()) return it->second;
    return "Anwendungs- oder objektdefinierter Fehler";
}

Error::Error(int number, std::string description)
    : std::runtime_error(description), m_number(number), m_description(std::move(description)) {}

Error::Error(int number) : Error(number, errorDescription(number)) {}

}  // namespace vb
