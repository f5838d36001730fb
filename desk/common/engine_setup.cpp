// The engine set-up with the workgroup login and the interface texts: shared by both programs,
// independent of their main windows.

#include "desk/common/engine_setup.h"

#include "desk/common/globals.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
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
}  // namespace

std::string DatenordnerFuer(const std::string& wert) {
    if (!ini::present(wert)) return files::programFolder();
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
    if (!files::FolderExists(ordner)) return files::programFolder();
    if (files::samePath(ordner, files::programFolder())) return ordner;
    return installationsordner(ordner) ? files::programFolder() : ordner;
}

std::string DatenordnerAusIni() {
    const std::string wert = ini::ReadIniString("ZUV", "AppPath", gIniDatei);
    DatenordnerErsetzt() = !ini::present(wert);
    return DatenordnerFuer(wert);
}

void EngineEinstellen(const std::string& ordner) {
    db::DBEngine& e = db::DBEngine::instance();
    e.setSystemDB(files::resolve(ordner + "\\" + kWorkgroupDateiName));
    e.setDefaultUser(kBenutzer);
    e.setDefaultPassword(kKennwort);
}

namespace {
std::string programmOrdnerDatei(const char* name) { return files::programFolder() + "\\" + name; }
}  // namespace

void InitDatabaseEngine() {
    gCrLf = "\r\n";
    gIniDatei = programmOrdnerDatei(kIniDateiName);
    gAppPath = DatenordnerAusIni();
    gProgrammDB = gAppPath + "\\" + kProgrammDBName;
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
    gIniDatei = programmOrdnerDatei(kIniDateiName);
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
            const std::string sql = mitId ? "SELECT DISTINCTROW " + t + ".ID, " + t + ".BeschriftungDtsch " +
                                                "FROM " + t + " ORDER BY " + t + ".ID;"
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
        if (e.number() != 3078) throw;
    }
}

void StartTexteLaden(const std::string& suffix) {
    LoadUiTexts(suffix);
    // The loading stops at the first table it cannot read, so the first empty one is named.
    const char* fehlend = gMenuTxt.empty() ? "MenuTxt" : gLabelTxt.empty() ? "labelTxt" : gDialogTxt.empty() ? "DialogTxt" : nullptr;
    if (fehlend)
        throw vb::Error(vb::err::ObjectNotFound, "Die Texttabelle " + std::string(fehlend) + suffix +
                                                     " der Einstellungsdatenbank " + kProgrammDBName +
                                                     " fehlt oder ist leer.");
}
