#pragma once

// The main window of ZUVDESK: the whole menu, the toolbar, the status line, the five shared data
// controls and the data-file commands (create, open, close, compact, back up, recent files).

#include <array>
#include <memory>
#include <string>

#include "desk/common/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/db/engine.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/controls.h"
#include "platform/forms/mdi_form.h"
#include "platform/forms/menu.h"

class frmMDI : public forms::MdiForm, public Hauptfenster {
public:
    frmMDI();
    ~frmMDI() override;

    // ---- menus (design order)
    forms::MenuItem mnuFile;
    forms::MenuItem mnuNew, mnuOpen, mnuClose, mnuSep1, mnuBackup, mnuSep2, mnuDBkomprimieren, mnuSep3, mnuDrucken;
    forms::MenuItem mnuPrintReport, mnuDruckEnneagramm, mnuDruckGrafik, mnuDruckAuswertung, mnuDruckStatistik,
        mnuDruckTabelle, mnuDruckDateivergleich, mnuDruckFragebogen, mnuDruckDeckblatt, mnuDruckErläuterungen;
    forms::MenuItem mnuTrennlinie13, mnuImport, mnuImportZUV40;
    forms::MenuArray mnuFileArray;
    forms::MenuItem mnuSep4, mnuBeenden;
    forms::MenuItem mnuBearbeiten, mnuKopieren;
    forms::MenuItem mnuPersonendaten;
    forms::MenuItem mnuTest, mnuDurchführen, mnuWiederholen;
    forms::MenuItem mnuTestauswertung, mnuGrafikauswertung, mnuEnneagramm, mnuTabelle, mnuAuswertung, mnuStatistik,
        mnuDateivergleich;
    forms::MenuItem mnuKonfiguration, mnuZUVParameter, mnuDiagrammOptions, mnuSep5, mnuDruckereinrichtung;
    forms::MenuItem mnuExtras, mnuEinführung, mnuSep6, mnuTypenbeschreibungen, mnuBilder, mnuLernen, mnuAssistent,
        mnuSep7, mnuEditor, mnuTexteditor, mnuGrafikeditor;
    forms::MenuItem mnuWindow, mnuCascade, mnuTilevertical, mnuTile;
    forms::MenuItem mnuHilfe, mnuHilfeinhalt, mnuSep8, mnuWebsite, mnuSep9, mnuÜber;

    // ---- other controls
    QWidget* Rahmen1;  // toolbar panel
    std::array<forms::Button3D*, 16> SSCommand1{};
    forms::StatusLine* txtStatusMsg;  // status line
    db::DataControl Data1, Data2, Data3, Data4, Data5;
    forms::CommonDialog CommonDialog1;

    // ---- life cycle
    void setupControls() override;
    void Form_Load() override;  // MDIForm_Load
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    // ---- data file (create, open, close)
    void NewLocalDB(const std::string& pfad);
    void OpenLocalDB(std::string pfad, bool& abbruch);
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuClose_Click();
    // ---- recent files and INI file
    void WriteIniFile();
    void GenerateFileMenu();
    void UpdateMenu();
    void mnuFileArray_Click(int index);
    // ---- compaction and backup
    void CompactDB();
    void BackUpDB();
    // ---- window commands
    void mnuBeenden_Click();
    // What "Beenden" does once it was answered with Yes: the data file closed, the INI file
    // written, the window unloaded. Also the end the desktop asks for with a signal.
    void beenden();
    void mnuHilfeinhalt_Click();
    void mnuWebsite_Click();
    void CopyToClipboard();
    // Nothing calls it; it stays as one of the program's named procedures.
    void ResetMenus();
    void SetMenuCaptions();
    // ---- commands of the menus and the toolbar
    void mnuDrucken_Click();
    void mnuImportZUV40_Click();
    void mnuWiederholen_Click();
    void mnuDateivergleich_Click();
    void mnuAuswertung_Click();
    void mnuStatistik_Click();
    void mnuTabelle_Click();
    void mnuEnneagramm_Click();
    void mnuTypenbeschreibungen_Click();
    void mnuBilder_Click();
    void mnuLernen_Click();
    void mnuDruckereinrichtung_Click();
    // No menu item runs it; it stays as one of the program's named procedures.
    void StartImportProgram();
    void SSCommand1_Click(int index);
    void SSCommand1_MouseMove(int index);

    // Hauptfenster
    void setStatusCaption(const std::string& text) override;
    void setEditAndWindowMenusVisible(bool visible) override;
    void arrangeChildren(int arrangement) override;
    void setMainCaption(const std::string& caption) override;
    forms::CommonDialog& commonDialog() override { return CommonDialog1; }
    void zeigen() override { Show(); }
    db::DataControl* daten(int n) override;
    void enableFileMenus() override;
    void setzeMenueStatus() override;
    void schliesseUnterfenster() override;
    void setDruckMenue(DruckMenue menue, bool an) override;
    void setAssistentFarbe(Schrittlabel label, int32_t farbe) override;
    void assistentNachVorn() override;
    void assistentNachEinstellungen(bool an) override;
    bool gehalteneDateiVerloren(const vb::Error& fehler) override;

    // The menu state without a data file.
    void DisableFileMenus();

    // The path of entry k of the recent-files list (its caption from the fourth character on).
    std::string recentPath(int k);

private:
    std::string zdbZielWaehlen(const std::string& titel);
    void wartungFehlgeschlagen(const std::exception& e);
    void wireHandlers();
    void druckBericht(std::initializer_list<int> teile, bool zweiPersonen);
    void ergebnisFensterOeffnen(int art);
    // What becomes of the data file or the settings database deleted, moved or write-protected
    // while open (see gehalteneDateiVerloren).
    void datendateiVerloren(const db::HeldFile& zustand);
    void einstellungenVerloren(const db::HeldFile& zustand);
    // Closes the data file and opens `pfad` in its place, with the person `person` chosen again
    // where the file holds it.
    void weiterMitDatei(const std::string& pfad, int32_t person);

    bool mErsteAktivierung = false;
};

// Closes the open data file and resets the main window.
void CloseDataFile();

// Starts a sibling program of the data folder; when it is missing, says so with dialog text
// `dialogText`. Where `ohnePerson` is a dialog text, `dialogText` names the current person after it,
// and `ohnePerson` says the same without one when no person is chosen. The result goes to gAntwort.
void ProgrammStarten(const char* datei, int dialogText, int stil, int ohnePerson = 0);
// Where a sibling program named by its Windows name ("zuvcodex.exe") is installed; "" when nowhere.
std::string GeschwisterProgramm(const std::string& datei);

// Module-level commands also run by the assistant.
void TypenbeschreibungenStarten();
// The help file at its start page; dialog text 57 when the data folder has none.
void HilfeinhaltZeigen();
