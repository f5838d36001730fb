#pragma once

// Start-up of ZUVDESK: the engine set-up with the workgroup login, the interface texts and the
// splash window whose timer finishes the start.

#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

// Paths from the INI file, the workgroup login on the data folder, the two workspaces and the
// settings database. No trap: errors go to the caller.
void InitDatabaseEngine();
// The data folder named in the INI file gIniDatei, upper-cased; the program folder when the file
// names none. Error 3044 for a folder that does not exist.
std::string DatenordnerAusIni();
// Whether the last DatenordnerAusIni found no data folder in the INI file and took the program folder.
bool& DatenordnerErsetzt();
// Workgroup file of `ordner`, default user and password of the engine.
void EngineEinstellen(const std::string& ordner);
// Loads the three text tables into gMenuTxt, gLabelTxt and gDialogTxt, by position in ID order; a
// row without text (Null) is an empty text. `suffix` "" reads MenuTxt/labelTxt/DialogTxt, "Typen"
// the reader's tables. Ends silently on an error, keeping what was loaded.
void LoadUiTexts(const std::string& suffix = "");

// The fixed notice and the picture that the splash and the about box share.
inline constexpr const char* kHinweis = "Dieses Programm ist urheberrechtlich geschützt.";
void SplashBildLaden(forms::Image& bild);

// The splash window and the about box show the same picture and lines in the same layout.
struct TitelFenster {
    forms::Shape& Shape1;
    forms::Image& Image1;
    forms::Label &Label1, &Label2, &Label3, &Label4, &Label6;
};
void TitelFensterAufbauen(QWidget& fenster, const TitelFenster& t);

class form9 : public forms::Form {
public:
    form9();
    forms::Shape Shape1;
    forms::Image Image1;
    forms::Label Label1, Label2, Label3, Label4, Label6;
    forms::Timer Zeit1;

    void setupControls() override;
    void Form_Load() override;
    void Form_Resize() override { Shape1.setGeometry(0, 0, width(), height()); }
    void Zeit1_Timer();

    // The splash's wait before the main window; tests and the start-up benchmark shorten it.
    static int& wartezeit();
    // Whether the last start ran through to the main window.
    bool gestartet() const { return m_gestartet; }
    // Whether the start failed (the message was shown; the program is to end).
    bool abgebrochen() const { return m_abgebrochen; }

private:
    void startFehler(const std::exception& e);
    bool m_gestartet = false;
    bool m_abgebrochen = false;
};
