#pragma once

// The one way from the windows and procedures below a program's main window up to it: the status
// line, the caption, the menus, the arrangement of the child windows, the common dialog, ZUVDESK's
// shared cursors Data1..Data5 and its start assistant. Each program's main window registers itself
// with setHauptfenster; a test of single windows registers a double or none. Everything a program
// without a member (ZUVCODEX has no shared cursors, no assistant) need not offer has a default.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace db {
class DataControl;
class Recordset;
}  // namespace db
namespace forms {
class CommonDialog;
}
namespace vb {
class Error;
}

// The print items whose state the result windows follow.
enum class DruckMenue { Enneagramm, Grafik, Auswertung, Statistik, Tabelle, Dateivergleich };

// One of the start assistant's ten step labels: Label1(index) (label 1) or Label2(index) (label 2).
struct Schrittlabel {
    int label;
    int index;
};

class Hauptfenster {
public:
    virtual ~Hauptfenster() = default;

    virtual void setStatusCaption(const std::string& text) = 0;
    virtual void setMainCaption(const std::string& caption) = 0;
    // The Edit and Window menus, shown while child windows are open.
    virtual void setEditAndWindowMenusVisible(bool visible) = 0;
    virtual void arrangeChildren(int arrangement) = 0;
    // The one common dialog of the main window, shared by every file, font, colour and printer dialog.
    virtual forms::CommonDialog& commonDialog() = 0;
    virtual void zeigen() {}

    // Data1 .. Data5; nullptr in a program without them.
    virtual db::DataControl* daten(int n) {
        (void)n;
        return nullptr;
    }
    // The menu states: a file with a chosen person; a file without a person.
    virtual void enableFileMenus() {}
    virtual void setzeMenueStatus() {}
    // Closes the result windows (the main window's child windows) and shows the assistant again.
    virtual void schliesseUnterfenster() {}
    virtual void setDruckMenue(DruckMenue menue, bool an) {
        (void)menue;
        (void)an;
    }

    // The start assistant: the fore colour of one step label; bringing it forward when it shows in
    // its normal state; shown or unloaded after the settings were stored.
    virtual void setAssistentFarbe(Schrittlabel label, int32_t farbe) {
        (void)label;
        (void)farbe;
    }
    virtual void assistentNachVorn() {}
    virtual void assistentNachEinstellungen(bool an) { (void)an; }

    // A file the program holds was deleted, moved or made unwritable while open, and a write was
    // refused for it (`fehler`, 3900–3902): the main window tells the user what became of which
    // file and offers to keep what the program still holds of it. False leaves it to the standard
    // error box.
    virtual bool gehalteneDateiVerloren(const vb::Error& fehler) {
        (void)fehler;
        return false;
    }
};

// nullptr before a main window exists (start-up, tests of single windows).
Hauptfenster* hauptfenster();
void setHauptfenster(Hauptfenster* h);

// ---------------------------------------------------------------- what the windows below call

// The main window's common dialog, or one of the program's own while there is no main window.
forms::CommonDialog& gemeinsamerDialog();

// Data1 .. Data5 of the main window (9 for other numbers). Without a main window that offers them,
// cursors of the program's own take their place, so no window loads the main window behind its
// caller's back.
db::DataControl& HauptDaten(int n);
// The recordset of a bound data control; 91 when the control is not bound.
db::Recordset& DatenSatz(db::DataControl& d);
// Binds a data control to the rows `quelle` of the file `datei` and opens them (Refresh); their
// recordset.
db::Recordset& DatenBinden(db::DataControl& d, const std::string& datei, const std::string& quelle);
// Whether `datei` is the data file the program opened read-only (gNurLesen).
bool NurLesendGeoeffnet(const std::string& datei);

void EnableFileMenus();
void SetzeMenueStatus();
void SchliesseUnterfenster();
void DruckMenueAn(DruckMenue menue, bool an);
void HauptfensterZeigen();
// The main window's caption as given (UpdateMainCaption builds it from the current person).
void HauptfensterTitel(const std::string& titel);

inline constexpr int32_t kSchwarz = 0;             // QBColor(0)
inline constexpr int32_t kDunkelblau = 170 << 16;  // RGB(0, 0, 170)
inline constexpr int32_t kGruen = 0x008000;        // QBColor(2)
inline constexpr int32_t kGelb = 0x00FFFF;         // QBColor(14)

// While the assistant is in use (gAssistentanzeige): `hervorgehoben` get `farbe`, the other of the
// ten step labels black.
void AssistentSchritt(std::initializer_list<Schrittlabel> hervorgehoben, int32_t farbe);
// While the assistant is in use: these labels get `farbe`, the others stay.
void AssistentFarben(std::initializer_list<Schrittlabel> labels, int32_t farbe);
// The assistant takes the focus when it shows in its normal state and is in use.
void AssistentNachVorn();
