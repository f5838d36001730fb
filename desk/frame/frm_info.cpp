#include "desk/frame/frm_info.h"

#include "desk/common/globals.h"
#include "desk/frame/startup.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"

frmInfo::frmInfo() : forms::Form("frmInfo") {
    TitelFensterAufbauen(*this);
    Label6.setCaption("Version 2");
}

void frmInfo::Form_Initialize() {
    // Set up once per run. The engine is not set up again: the workspaces and the settings
    // database of the start-up stay valid, and the open data file is not disturbed.
}

void frmInfo::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        Shape1.setGeometry(0, 0, width(), height());
        Label1.setCaption(LabelTxt(0) + " " + LabelTxt(1));
        Label2.setCaption(kHinweis);
        Label3.setCaption(kProgrammTitel);
        Label4.setCaption(LabelTxt(159));
        SplashBildLaden(Image1);
    });
}

void frmInfo::Form_KeyPress(int&) { forms::Unload(*this); }

void StartBrowser_Click() { forms::OpenUrl(kWebAdresse); }
