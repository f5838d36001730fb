#include "platform/db/errors.h"

#include <sqlite3.h>

#include <cerrno>
#include <map>

#include "platform/vb/strings.h"

namespace db {

namespace {
// Only the texts the engine says otherwise than the general table, or that it alone has.
const std::map<int, std::string>& table() {
    static const std::map<int, std::string> t = {
        {3010, "Die Tabelle existiert bereits."},
        {3012, "Das Objekt existiert bereits."},
        {3020, "Update oder CancelUpdate ohne AddNew oder Edit."},
        {3034,
         "Sie haben versucht, eine Transaktion zu bestätigen oder zurückzusetzen, ohne sie mit "
         "BeginTrans zu beginnen."},
        {3043, "Datenträger- oder Netzwerkfehler."},
        {3051,
         "Die Datei kann nicht geöffnet werden: sie ist schreibgeschützt oder Sie haben keine "
         "Schreibberechtigung."},
        {3061, "Zu wenige Parameter: ein Name in der SQL-Anweisung ist kein Feld der Tabelle."},
        {3065, "Eine Auswahlabfrage kann nicht ausgeführt werden."},
        {3070, "Das Suchkriterium nennt ein Feld, das es in dieser Datensatzgruppe nicht gibt."},
        {3075, "Syntaxfehler in der SQL-Anweisung."},
        {3077, "Syntaxfehler im Suchkriterium."},
        {3129,
         "Ungültige SQL-Anweisung; 'DELETE', 'INSERT', 'SELECT', 'UPDATE', 'CREATE' oder 'DROP' "
         "erwartet."},
        {3142, "Zeichen nach dem Ende der SQL-Anweisung gefunden."},
        {3159, "Kein gültiges Lesezeichen."},
        {3164, "Das Feld kann nicht aktualisiert werden."},
        {3167, "Der Datensatz ist gelöscht."},
        {3197,
         "Der Datensatz wurde von einem anderen Programm geändert, seit er gelesen wurde. Es wurde nichts "
         "gespeichert; lesen Sie den Datensatz neu, bevor Sie ihn ändern oder löschen."},
        {3204, "Die Datenbank existiert bereits."},
        {3218, "Aktualisieren nicht möglich; die Daten sind zurzeit gesperrt."},
        {3292, "Syntaxfehler in der Felddefinition."},
        {3303, "Die Tabelle kann nicht gelöscht werden; sie ist an Beziehungen beteiligt."},
        {3314, "Das Feld darf keinen Nullwert enthalten."},
        {3317, "Der Wert verletzt eine Gültigkeitsregel des Feldes."},
        {3368, "Für das Feld der Primärtabelle gibt es keinen eindeutigen Index."},
        {3375, "Die Tabelle hat bereits einen Index mit diesem Namen."},
        {3420, "Das Objekt ist ungültig oder nicht mehr festgelegt."},
        {3900, "Die Datei wurde gelöscht, während sie geöffnet war; es wird nichts mehr in sie geschrieben."},
        {3901,
         "Die Datei wurde umbenannt oder verschoben, während sie geöffnet war; es wird nichts mehr in sie "
         "geschrieben."},
        {3902,
         "In die Datei kann nicht mehr geschrieben werden: sie ist schreibgeschützt, oder ihr Ordner erlaubt "
         "kein Schreiben mehr."},
    };
    return t;
}
}  // namespace

std::string errorText(int number) {
    auto it = table().find(number);
    return it != table().end() ? it->second : vb::errorDescription(number);
}

int diskErrorNumber(int sqliteCode, int systemErrno) {
    if ((sqliteCode & 0xFF) == SQLITE_FULL || systemErrno == ENOSPC || systemErrno == EDQUOT)
        return vb::err::DiskSpaceExhausted;
    return vb::err::DiskOrNetworkError;
}

void raise(int number, const std::string& detail) { raiseText(number, errorText(number), detail); }

void raiseText(int number, const std::string& description, const std::string& detail) {
    std::string d = description;
    // The detail quotes a path or a statement: a few lines at most, whatever it holds.
    if (!detail.empty()) d += " (" + vb::excerpt(detail) + ")";
    throw vb::Error(number, d);
}

}  // namespace db
