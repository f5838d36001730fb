// The engine set-up with the workgroup login and the interface texts: shared by both programs,
// independent of their main windows.

#include "desk/common/engine_setup.h"

#include <QCoreApplication>
#include <QTimer>

#include "desk/common/globals.h"
#include "platform/forms/form.h"
#include "platform/forms/screen.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/own_folders.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/ini/ini_file.h"
#include "platform/vb/strings.h"

// The data folder named in the INI file. Without the key the program folder is taken (the value
// the installation writes there), so a damaged INI file does not leave a path of NUL characters.
bool& DatenordnerErsetzt() {
    static bool ersetzt = false;
    return ersetzt;
}

namespace {
// A folder with an INI file or a ZUVDESK of its own is the folder of an installation.
bool installationsordner(const std::string& ordner) {
    return files::FileExists(files::joinPath(ordner, kIniDateiName)) ||
           files::FileExists(files::joinPath(ordner, "zuvdesk"));
}

constexpr const char* kEigenerOrdnerName = "zuv";

std::string programmOrdnerDatei(const char* name) { return files::programFolder() + "\\" + name; }

// The user's copy of an installation file in `ordner`, made from the installation's at the first
// start; a copy there is kept as the user changed it. It is the user's file, private as the umask
// makes every new file, however the installation's own is set.
std::string eigeneKopie(const std::string& ordner, const char* name) {
    files::makeOwnFolder(ordner);
    const std::string ziel = files::joinPath(ordner, name);
    const std::string quelle = files::resolve(programmOrdnerDatei(name));
    if (!files::FileExists(ziel) && files::FileExists(quelle)) {
        try {
            files::copyAsNewFile(quelle, ziel);
        } catch (const vb::Error& e) {
            throw vb::Error(e.number(), vb::errorDescription(e.number()) + ": " + ziel);
        }
    }
    return ziel;
}
}  // namespace

bool ProgrammordnerSchreibbar() { return files::folderWritable(files::resolve(files::programFolder())); }

std::string Einstellungsordner() {
    return ProgrammordnerSchreibbar() ? files::programFolder() : files::userConfigFolder(kEigenerOrdnerName);
}

std::string Standarddatenordner() {
    if (ProgrammordnerSchreibbar()) return files::programFolder();
    const std::string ordner = files::userDataFolder(kEigenerOrdnerName);
    try {
        files::makeOwnFolder(ordner);
    } catch (const vb::Error&) {
        // Every file then looked for there names the folder in its own message.
    }
    return ordner;
}

std::string Installationsdatei(const std::string& name) {
    if (!gAppPath.empty())
        if (const std::string dort = gAppPath + "\\" + name; files::FileExists(dort)) return dort;
    return files::programFolder() + "\\" + name;
}

std::string EinstellungsdatenbankFuer(const std::string& datenordner) {
    const std::string dort = datenordner + "\\" + kProgrammDBName;
    const bool schreibbar = ProgrammordnerSchreibbar();
    if (files::FileExists(dort) && (schreibbar || files::folderWritable(files::resolve(datenordner)))) return dort;
    if (schreibbar) return files::FileExists(dort) ? dort : programmOrdnerDatei(kProgrammDBName);
    return eigeneKopie(Einstellungsordner(), kProgrammDBName);
}

std::string Einstellungsdatenbank() { return gProgrammDB.empty() ? gAppPath + "/" + kProgrammDBName : gProgrammDB; }

std::string DatenordnerFuer(const std::string& wert) {
    if (!ini::present(wert)) return Standarddatenordner();
    std::string ordner = wert;
    // A relative value is read where the INI file lies, not in whatever folder the program was
    // started from.
    for (char& c : ordner)
        if (c == '\\') c = '/';
    if (ordner.front() != '/') ordner = files::joinPath(files::programFolder(), ordner);
    // The folder as it is written on disk, so that it can be shown, stored and pasted elsewhere;
    // the file's own spelling may differ in case.
    ordner = files::resolve(ordner);
    // A copied or moved installation brings the INI file of the original, which names the
    // original's folder: that folder, or what is left of it, is not this installation's.
    if (!files::FolderExists(ordner)) return Standarddatenordner();
    // An installation closed to the user keeps no data of the user's.
    if (files::samePath(ordner, files::programFolder()))
        return ProgrammordnerSchreibbar() ? ordner : Standarddatenordner();
    return installationsordner(ordner) ? Standarddatenordner() : ordner;
}

std::string DatenordnerAusIni() {
    const std::string wert = ini::ReadIniString("ZUV", "AppPath", gIniDatei);
    DatenordnerErsetzt() = !ini::present(wert);
    return DatenordnerFuer(wert);
}

void EngineEinstellen(const std::string& ordner) {
    db::DBEngine& e = db::DBEngine::instance();
    // The workgroup file is only read: a data folder without one uses the installation's.
    std::string datei = files::resolve(ordner + "\\" + kWorkgroupDateiName);
    if (!files::FileExists(datei)) datei = files::resolve(programmOrdnerDatei(kWorkgroupDateiName));
    e.setSystemDB(datei);
    e.setDefaultUser(kBenutzer);
    e.setDefaultPassword(kKennwort);
    SperrenFragen();
    SanduhrBeimWarten();
}

void SperrenFragen() {
    db::DBEngine& e = db::DBEngine::instance();
    e.setTakeOverQuestion([](const std::string& pfad, const db::LockHolder& h) {
        // One answer ends the action: the lock the user just chose to keep is not asked about
        // again by the next statement of the same action, only once the program took its events
        // again (the user's next action).
        static std::string behalten;
        if (!behalten.empty() && behalten == h.record) return false;
        const std::string text =
            "Die Datendatei „" + pfad + "“ ist gesperrt, " + h.described() +
            ".\n\nArbeitet dort niemand mehr mit dieser Datei (das Programm wurde beendet oder der Computer ist "
            "abgestürzt), können Sie die Sperre aufheben. Heben Sie sie nicht auf, solange dort noch gespeichert "
            "wird.\n\nSperre aufheben?";
        if (forms::MsgBox(text, forms::vbYesNo | forms::vbQuestion | forms::vbDefaultButton2) == forms::vbYes)
            return true;
        behalten = h.record;
        QTimer::singleShot(0, [] { behalten.clear(); });
        return false;
    });
}

void SanduhrBeimWarten() {
    // A statement waits for another program's lock in the program's own thread: the hourglass
    // shows from the moment the wait begins until the program takes its events again (when the
    // action is over, or its message is shown).
    db::DBEngine::instance().setLockWaitHook([] {
        if (!QCoreApplication::instance() || forms::Screen::MousePointer() == forms::vbHourglass) return;
        const int vorher = forms::Screen::MousePointer();
        forms::Screen::setMousePointer(forms::vbHourglass);
        QTimer::singleShot(0, [vorher] {
            if (forms::Screen::MousePointer() == forms::vbHourglass) forms::Screen::setMousePointer(vorher);
        });
    });
}

namespace {
// The INI file: the program folder's, or the user's own copy where the program folder is closed.
std::string iniDatei() {
    if (ProgrammordnerSchreibbar()) return programmOrdnerDatei(kIniDateiName);
    return eigeneKopie(Einstellungsordner(), kIniDateiName);
}
}  // namespace

void InitDatabaseEngine() {
    gCrLf = "\r\n";
    gIniDatei = iniDatei();
    gAppPath = DatenordnerAusIni();
    gProgrammDB = EinstellungsdatenbankFuer(gAppPath);
    EngineEinstellen(gAppPath);
    gWorkspace = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
    gWorkspace2 = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
    gProgrammDatenbank = gWorkspace2->OpenDatabase(files::resolve(gProgrammDB), false, gNurLesen);
}

void StartEngineEinrichten() {
    gAppPath = files::programFolder();
    gProgrammDB = gAppPath + "\\" + kProgrammDBName;
    EngineEinstellen(files::programFolder());
    gWorkspace = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
    gIniDatei = iniDatei();
    gAppPath = DatenordnerAusIni();
    InitDatabaseEngine();
}

namespace {
// A text row left empty in the table (Null) is an empty text: it must not end the loading, or
// every later position would be missing.
std::string textFeld(db::Recordset& rs) { return Feldtext(rs, "BeschriftungDtsch"); }
}  // namespace

void LoadUiTexts(const std::string& suffix) {
    gMenuTxt.clear();
    gDialogTxt.clear();
    gLabelTxt.clear();
    try {
        auto lokal = gWorkspace->OpenDatabase(files::resolve(gProgrammDB));
        auto lade = [&](const std::string& tabelle, bool mitId, auto ablegen) {
            const std::string t = tabelle + suffix;
            const std::string sql = mitId ? "SELECT DISTINCTROW " + t + ".ID, " + t + ".BeschriftungDtsch " + "FROM " +
                                                t + " ORDER BY " + t + ".ID;"
                                          : "SELECT DISTINCTROW " + t + ".BeschriftungDtsch " + "FROM " + t +
                                                " ORDER BY " + t + ".ID;";
            auto rs = lokal->OpenRecordset(sql, db::RecordsetType::Snapshot);
            if (rs->RecordCount() != 0) {
                rs->MoveLast();
                const long n = rs->RecordCount();
                if (n > 32767) throw vb::Error(vb::err::Overflow);
                rs->MoveFirst();
                for (long i = 0; i < n; ++i) {
                    ablegen(*rs);
                    if (!rs->Eof()) rs->MoveNext();
                    if (rs->Eof()) break;
                }
            }
            rs->Close();
        };
        lade("MenuTxt", false, [](db::Recordset& rs) { gMenuTxt.push_back(textFeld(rs)); });
        lade("labelTxt", false, [](db::Recordset& rs) { gLabelTxt.push_back(textFeld(rs)); });
        lade("DialogTxt", true, [](db::Recordset& rs) {
            DialogText d;
            d.ID = vb::CInt(rs.Fields("id").Value());
            d.Text = textFeld(rs);
            gDialogTxt.push_back(std::move(d));
        });
        lokal->Close();
    } catch (const vb::Error& e) {
        // A missing table ends the loading silently: what was loaded stays, and the start names the
        // first table left empty. Any other fault (a failing disk, a damaged file, a number out of
        // range) is the caller's to tell: a table cut short would pass for loaded.
        if (e.number() != vb::err::TableNotFound) throw;
    }
}

void StartTexteLaden(const std::string& suffix) {
    LoadUiTexts(suffix);
    // The loading stops at the first table it cannot read, so the first empty one is named.
    const char* fehlend = gMenuTxt.empty()     ? "MenuTxt"
                          : gLabelTxt.empty()  ? "labelTxt"
                          : gDialogTxt.empty() ? "DialogTxt"
                                               : nullptr;
    if (fehlend)
        throw vb::Error(vb::err::ObjectNotFound, "Die Texttabelle " + std::string(fehlend) + suffix +
                                                     " der Einstellungsdatenbank " + kProgrammDBName +
                                                     " fehlt oder ist leer.");
}
