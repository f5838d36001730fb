#pragma once

// The reader's main window: menus, a toolbar of three buttons, the status line and the common
// dialog; it holds the description windows as its children.

#include "desk/common/main_window_port.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/controls.h"
#include "platform/forms/mdi_form.h"
#include "platform/forms/menu.h"

namespace codex {

class frmMDI : public forms::MdiForm, public Hauptfenster {
public:
    frmMDI();
    ~frmMDI() override;

    // ---- menus (design order)
    forms::MenuItem mnuDatei, mnuDrucken, mnuDruckTypKurz, mnuDruckTypLang, mnuDruckThema, mnuDruckAlleThemen,
        mnuTrennLinie1, mnuBeenden;
    forms::MenuItem mnuBearbeiten, mnuKopieren;
    forms::MenuItem mnuTypeViewer;
    forms::MenuItem mnuKonfig, mnuSchrift;
    forms::MenuItem mnuWindow, mnuUebereinander, mnuVertikal, mnuHorizontal;
    forms::MenuItem mnuHilfe, mnuInhalt, mnuUeber;

    // ---- other controls
    QWidget* Picture1;  // toolbar strip
    forms::Button3D* SSCommand1;
    forms::Button3D* SSCommand2;
    forms::Button3D* SSCommand3;
    QWidget* picStatusBar;
    forms::StatusLine* txtStatusMsg;
    forms::CommonDialog CommonDialog1;

    void setupControls() override;
    void Form_Load() override;  // MDIForm_Load
    void Form_QueryUnload(int& cancel, int unloadMode) override;

    void mnuBeenden_Click();
    // What the exit command does once it was answered with Yes; also the end the desktop asks
    // for with a signal.
    void beenden();
    void mnuDruckTypKurz_Click() { druckManagerZeigen(0); }
    void mnuDruckTypLang_Click() { druckManagerZeigen(1); }
    void mnuDruckThema_Click() { druckManagerZeigen(2); }
    void mnuDruckAlleThemen_Click() { druckManagerZeigen(3); }
    void mnuKopieren_Click();
    void mnuTypeViewer_Click();
    void mnuSchrift_Click();
    void mnuUebereinander_Click() { Arrange(forms::vbCascade); }
    void mnuVertikal_Click() { Arrange(forms::vbTileVertical); }
    void mnuHorizontal_Click() { Arrange(forms::vbTileHorizontal); }
    void mnuInhalt_Click();
    void mnuUeber_Click();
    void SSCommand_MouseMove(int button);

    // Hauptfenster
    void setStatusCaption(const std::string& text) override;
    void setEditAndWindowMenusVisible(bool visible) override;
    void arrangeChildren(int arrangement) override { Arrange(arrangement); }
    void setMainCaption(const std::string& caption) override { setCaption(caption); }
    forms::CommonDialog& commonDialog() override { return CommonDialog1; }

private:
    void druckManagerZeigen(int modus);
};

}  // namespace codex
