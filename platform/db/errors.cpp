#include "platform/db/errors.h"

#include <map>

namespace db {

namespace {
const std::map<int, std::string>& table() {
    static const std::map<int, std::string> t = {
        {3010, "Die Tabelle existiert bereits."},
        {3011, "Das Objekt wurde nicht gefunden."},
        {3012, "Das Objekt existiert bereits."},
        {3020, "Update oder CancelUpdate ohne AddNew oder Edit."},
        {3021, "Kein aktueller Datensatz."},
        {3024, "Datei nicht gefunden."},
        {3027, "Aktualisieren nicht möglich. Datenbank oder Objekt ist schreibgeschützt."},
        {3033, "Sie haben keine Berechtigung für diese Datenbank."},
        {3034, "Sie haben versucht, eine Transaktion zu bestätigen oder zurückzusetzen, ohne sie mit "
               "BeginTrans zu beginnen."},
        {3043, "Datenträger- oder Netzwerkfehler."},
        {3044, "Der Pfad ist ungültig."},
        {3045, "Die Datei konnte nicht verwendet werden; sie wird bereits verwendet."},
        {3051, "Die Datei kann nicht geöffnet werden: sie ist schreibgeschützt oder Sie haben keine "
               "Schreibberechtigung."},
        {3061, "Zu wenige Parameter: ein Name in der SQL-Anweisung ist kein Feld der Tabelle."},
        {3065, "Eine Auswahlabfrage kann nicht ausgeführt werden."},
        {3070, "Das Suchkriterium nennt ein Feld, das es in dieser Datensatzgruppe nicht gibt."},
        {3075, "Syntaxfehler in der SQL-Anweisung."},
        {3077, "Syntaxfehler im Suchkriterium."},
        {3078, "Die Tabelle oder Abfrage wurde nicht gefunden."},
        {3129, "Ungültige SQL-Anweisung; 'DELETE', 'INSERT', 'SELECT', 'UPDATE', 'CREATE' oder 'DROP' "
               "erwartet."},
        {3142, "Zeichen nach dem Ende der SQL-Anweisung gefunden."},
        {3159, "Kein gültiges Lesezeichen."},
        {3163, "Das Feld ist zu klein für die Datenmenge, die Sie hinzufügen wollten."},
        {3164, "Das Feld kann nicht aktualisiert werden."},
        {3167, "Der Datensatz ist gelöscht."},
        {3201, "Der Datensatz kann nicht hinzugefügt oder geändert werden, da ein Datensatz in einer "
               "verknüpften Tabelle erforderlich ist."},
        {3204, "Die Datenbank existiert bereits."},
        {3218, "Aktualisieren nicht möglich; die Daten sind zurzeit gesperrt."},
        {3265, "Element in dieser Auflistung nicht gefunden."},
        {3292, "Syntaxfehler in der Felddefinition."},
        {3303, "Die Tabelle kann nicht gelöscht werden; sie ist an Beziehungen beteiligt."},
        {3314, "Das Feld darf keinen Nullwert enthalten."},
        {3317, "Der Wert verletzt eine Gültigkeitsregel des Feldes."},
        {3343, "Unerkanntes Datenbankformat."},
        {3349, "Numerischer Feldüberlauf."},
        {3368, "Für das Feld der Primärtabelle gibt es keinen eindeutigen Index."},
        {3375, "Die Tabelle hat bereits einen Index mit diesem Namen."},
        {3420, "Das Objekt ist ungültig oder nicht mehr festgelegt."},
    };
    return t;
}
}  // namespace

std::string errorText(int number) {
    auto it = table().find(number);
    return it != table().end() ? it->second : vb::errorDescription(number);
}

void raise(int number, const std::string& detail) {
    std::string d = errorText(number);
    if (!detail.empty()) d += " (" + detail + ")";
    throw vb::Error(number, d);
}

}  // namespace db
