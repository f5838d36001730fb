#pragma once

// Program-wide state of ZUVDESK and the shared procedures every window calls. The state is plain
// module-level data, read and written by all subsystems; the procedures sit beside it.

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vb/error.h"
#include "platform/vb/variant.h"

class QFont;

namespace db {
class Workspace;
class Database;
class Recordset;
}  // namespace db

namespace draw {
class Surface;
}

namespace forms {
class Form;
}

// ---------------------------------------------------------------- fixed values

inline constexpr const char* kProgrammTitel = "Z.U.V. 5.0";
inline constexpr const char* kIniDateiName = "Zuv50.ini";
inline constexpr const char* kProgrammDBName = "zuv.sdb";
inline constexpr const char* kWorkgroupDateiName = "Sys.mda";
inline constexpr const char* kBenutzer = "KestrelAdmin";
inline constexpr const char* kWorkspaceName = "Kestrel";
// The workgroup password; the same in every installation (see the engine's security notes).
inline constexpr const char* kKennwort = "MossGlade";
inline constexpr int kMaxFenster = 10;

// ---------------------------------------------------------------- paths and connections

extern std::string gAppPath;     // data folder ("AppPath" of the INI file, in its case on disk)
extern std::string gIniDatei;    // program folder & "\Zuv50.ini"
extern std::string gProgrammDB;  // gAppPath & "\zuv.sdb"
extern std::string gCrLf;        // "\r\n"
extern std::shared_ptr<db::Workspace> gWorkspace;
extern std::shared_ptr<db::Workspace> gWorkspace2;
extern std::shared_ptr<db::Database> gProgrammDatenbank;  // settings database, long-lived connection
extern std::shared_ptr<db::Database> gDatenbank;          // the open data file; null when none
extern std::string gDatenbankName;                        // path of the data file last created or opened
extern bool gDateiOffen;                                  // a data file is open
extern bool gNurLesen;                                    // the data file is (to be) opened read-only
extern std::string gDateiVersion;                         // "Version" of the open file's first Info row
extern std::string gImportQuelle;                         // full path of the source file of an import

// ---------------------------------------------------------------- interface texts

struct DialogText {
    int16_t ID = 0;
    std::string Text;
};
extern std::vector<std::string> gMenuTxt;
extern std::vector<std::string> gLabelTxt;
extern std::vector<DialogText> gDialogTxt;

// Element n of the text arrays; error 9 (subscript out of range) beyond the loaded texts.
const std::string& MenuTxt(int n);
const std::string& LabelTxt(int n);
const std::string& DialogTxt(int n);

// ---------------------------------------------------------------- statement-to-type table

extern std::vector<int16_t> gItemNummer;  // 126 item-type pairs, parallel arrays
extern std::vector<int16_t> gTypNummer;

// ---------------------------------------------------------------- settings

extern std::string gStandardschriftart;
extern int16_t gStandardschriftGroesse;
extern bool gStandardschriftFett;
extern bool gStandardschriftKursiv;
extern vb::Variant gStandardschriftfarbe;  // colour value, 32-bit
extern std::string gExtraschriftart;
extern int16_t gExtraschriftGroesse;
extern bool gExtraschriftFett;
extern bool gExtraschriftKursiv;
extern vb::Variant gExtraschriftfarbe;
extern vb::Variant gTypbenennung;    // naming scheme 1..7; Empty until first set
extern int16_t gDruckZeilenabstand;  // 1 or 2
extern int16_t gAssistentanzeige;    // -1 on, 0 off; readers ask only whether it is on

// Chart look, loaded from the stored chart settings: the red and green parts keep the database
// value as it came (a variant), the blue part is a 16-bit integer.
extern vb::Variant gHintergrundfarbeRot, gHintergrundfarbeGruen;
extern int16_t gHintergrundfarbeBlau;
extern vb::Variant gDiagrammHintergrundfarbeRot, gDiagrammHintergrundfarbeGruen;
extern int16_t gDiagrammHintergrundfarbeBlau;
extern vb::Variant gAchsenlinienfarbeRot, gAchsenlinienfarbeGruen;
extern int16_t gAchsenlinienfarbeBlau;
extern vb::Variant gReihe1Rot, gReihe1Gruen;
extern int16_t gReihe1Blau;
extern vb::Variant gReihe2Rot, gReihe2Gruen;
extern int16_t gReihe2Blau;
extern vb::Variant gReihe3Rot, gReihe3Gruen;
extern int16_t gReihe3Blau;
extern vb::Variant gReihe4Rot, gReihe4Gruen;
extern int16_t gReihe4Blau;
extern vb::Variant gReihe5Rot, gReihe5Gruen;
extern int16_t gReihe5Blau;
extern vb::Variant gReihe6Rot, gReihe6Gruen;
extern int16_t gReihe6Blau;
extern vb::Variant gReihe7Rot, gReihe7Gruen;
extern int16_t gReihe7Blau;
extern vb::Variant gReihe8Rot, gReihe8Gruen;
extern int16_t gReihe8Blau;
extern vb::Variant gReihe9Rot, gReihe9Gruen;
extern int16_t gReihe9Blau;
extern std::string gDiagrammFontname;
extern int16_t gDiagrammFontsize;
extern bool gDiagrammFontBold;
extern bool gDiagrammFontItalic;

// ---------------------------------------------------------------- type designations

extern std::array<std::string, 10> gTypbezeichnung;  // element 0 stays empty

// ---------------------------------------------------------------- current person

extern int32_t gAktPersonID;
extern std::array<std::string, 15> gAktPerson;  // 1 first name, 2 surname, 11 test date
extern int32_t gVergleichPersonID;
extern std::array<std::string, 15> gVergleichPerson;  // 1 first name, 2 surname, 3 test date
extern int16_t gAktAussage;                           // statement shown in the test form, 1..109
extern int16_t gAuswahlAbgebrochen;                   // 1 when the person chooser was left without a choice
extern int16_t gAktTyp;

// ---------------------------------------------------------------- scores of the current evaluation

using TypArray = std::array<int16_t, 10>;  // per type, element 0 unused
extern TypArray gTypgesamtsummeJeTyp;
extern TypArray gTypsumme0JeTyp;
extern TypArray gTypsumme1JeTyp;
extern TypArray gTypsumme01JeTyp;
extern TypArray gTypsumme2JeTyp;
extern TypArray gTypsumme3JeTyp;
extern TypArray gTypsumme4JeTyp;
extern TypArray gTypsumme34JeTyp;

// Answer counts: type 0..9 by row 0..5, row = rating + 1; element (t, r) is flat element
// t + 10 * r, as the evaluation pages address it.
struct AntwortAnzahl {
    std::array<int16_t, 60> flat{};
    int16_t& operator()(int t, int r);
    int16_t& operator[](int i);  // flat index; error 9 outside 0..59
    void clear() { flat.fill(0); }
};
extern AntwortAnzahl gAntwortAnzahlJeTyp;
extern std::array<int16_t, 11> gAWGesamtJeTyp;       // 10 = all types
extern std::array<int16_t, 6> gAntwortAnzahlGesamt;  // element v + 1 counts rating v

// ---------------------------------------------------------------- rankings

using RangListe = std::array<std::string, 10>;  // one type per element, " 5" or a designation
extern RangListe gRang1Typgesamtsumme, gRang2Typgesamtsumme;
extern RangListe gRang1Typsumme34, gRang2Typsumme34;
extern RangListe gRang1Typsumme01, gRang2Typsumme01;
extern RangListe gRang1Typsumme2, gRang2Typsumme2;
extern RangListe gRang1Typsumme4, gRang2Typsumme4;
extern RangListe gRang1Typsumme3, gRang2Typsumme3;
extern RangListe gRang1Typsumme1, gRang2Typsumme1;
extern RangListe gRang1Typsumme0, gRang2Typsumme0;
// The 16 lists in the order TypnummernErsetzen walks them.
std::array<RangListe*, 16> rangListen();

extern int16_t gSpitzenwertTypgesamtsumme;
extern int16_t gSpitzenwertTypsumme34;
extern int16_t gSpitzenwertTypsumme4;
extern int16_t gSpitzenwertTypsumme3;
extern int16_t gSpitzenwertTypsumme2;
extern int16_t gSpitzenwertTypsumme01;
extern int16_t gSpitzenwertTypsumme1;
extern int16_t gSpitzenwertTypsumme0;
extern int16_t gAnzahlRang1;
extern int16_t gHaupttyp;
extern int16_t gHaupttypEindeutig;
extern int16_t gVerbindungstyp1;
extern int16_t gVerbindungstyp2;
extern int16_t gRang1Gleich;
extern int16_t gRang1GleichWert;

// Sensitivity thresholds: Single as stored, compared with double ratios (0.85 acts as 0.8500000238).
extern float gSensitivity1;
extern float gSensitivity2;
extern int16_t gSensitivity1Index;
extern int16_t gSensitivity2Index;
extern bool gSensitivityGewaehlt;

// ---------------------------------------------------------------- evaluation and chart state

extern int16_t gAuswertungsart;  // 1 evaluation pages, 2 statistics pages
extern int16_t gSeite;
extern int16_t gSeitenanzahl;  // 12 or 10 evaluation pages, 6 statistics pages
extern int16_t gDiagrammArt;
extern int16_t gDateivergleich;  // 1 while two persons are charted side by side
extern std::array<int16_t, 10> gDiagrammWerte;
extern std::string gDiagrammTitel;
extern draw::Surface* gAusgabe;  // where page and print routines draw
extern float gTypsummenMittel;
extern int16_t gVergleichTyp;
extern std::array<std::string, 10> gVergleichTypen;
extern int16_t gVergleichLauf;
extern int16_t gAusgabeStartY;
extern int16_t gMaxWert;
extern double gInformationsmass;
extern int16_t gZaehler;  // the lower wing that pages 11 and 17 leave; loops count on their own
extern std::string gEinfuehrungstext;

// ---------------------------------------------------------------- windows and messages

extern int16_t gFensterAnzahl;  // open result windows, 0..10
extern std::string gStatustext;
extern int32_t gAntwort;  // answer of the last message box (6 Yes, 7 No, 2 Cancel)
// The last result window of each kind; not cleared when the window closes (QPointer: null then).
extern QPointer<QWidget> gAuswertFenster;
extern QPointer<QWidget> gTabellenFenster;
extern QPointer<QWidget> gEnneagrammFenster;
extern QPointer<QWidget> gChartFenster;
extern QPointer<QWidget> gEinfuehrungFenster;
// Scroll state shared by the scrolling windows and the scroll class.
struct ScrollInfoRecord {
    int32_t cbSize = 28, fMask = 0, nMin = 0, nMax = 0, nPage = 0, nPos = 0, nTrackPos = 0;
};
extern QPointer<QWidget> gScrollForm;
extern int32_t gScrollPosX;
extern int32_t gScrollPosY;
extern ScrollInfoRecord gScrollInfo;

// Back to the start-of-run values (tests run several sessions in one process).
void resetGlobals();

// ---------------------------------------------------------------- shared procedures

// The standard error box: label text 363, two line breaks, the description, a line break,
// label text 364, a blank, the number; nothing for a cancelled common dialog (32755). Then file
// number 1 is closed.
void ShowErrorMessage(const vb::Error& e);
// Any exception reaching a trap: a std exception is shown as the standard box too.
void ShowErrorMessage(const std::exception& e);
// While one lives, a full disk and an I/O error are each told once: the parts of a command that
// trap their own errors (the file, the settings, the recent-files list) all fail on a disk that
// stays full, and the user is to read the cause once, not once per part. The outermost one counts.
class PlattenfehlerEinmalMelden {
public:
    PlattenfehlerEinmalMelden();
    ~PlattenfehlerEinmalMelden();
    PlattenfehlerEinmalMelden(const PlattenfehlerEinmalMelden&) = delete;
    PlattenfehlerEinmalMelden& operator=(const PlattenfehlerEinmalMelden&) = delete;
};
// Runs the body of an event handler with the standard trap around it.
template <class F>
void mitFehlerfalle(F&& body) {
    try {
        body();
    } catch (const vb::Error& e) {
        ShowErrorMessage(e);
    } catch (const std::exception& e) {
        ShowErrorMessage(e);
    }
}

void ShowHelp(const std::string& topic);
void CenterForm(forms::Form& f);      // top at (screen - window) / 2.5
void FormZentrieren(forms::Form& f);  // top at (screen - window) / 2
void SetStatusText(const std::string& text, bool withSuffix);
void UpdateMainCaption();
// Nothing calls it; it stays as one of the program's named procedures.
void drucker_schriftartsetzen();
// Nothing calls it; it stays as one of the program's named procedures.
void ApplyFontSettings(QFont& font);
void TypnummernErsetzen();
bool TableExists(db::Database& database, const std::string& name);
// A field of the current row as text: Null and Empty are "".
std::string Feldtext(db::Recordset& rs, const char* feld);
int16_t GetRed(int32_t colour);
int16_t GetGreen(int32_t colour);
int16_t GetBlue(int32_t colour);
bool CanOpenChildWindow();
void ChildWindowOpened();
void ChildWindowClosed();
// Opens `f`, a new result window made for this request, as a child window of the main window and
// keeps it in `ablage`: the window limit is asked first (a refused window is deleted unloaded and
// nullptr comes back); then `vorbereiten` sets caption and menus, the window shows and is counted.
// A window that fails to load gives its place back and is deleted.
forms::Form* ErgebnisfensterOeffnen(forms::Form* f, QPointer<QWidget>& ablage,
                                    const std::function<void(forms::Form&)>& vorbereiten);
// Unloads every loaded window but the main window.
void UnloadChildForms();
