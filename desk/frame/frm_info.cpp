#include "desk/frame/frm_info.h"

#include <QVBoxLayout>

#include "desk/frame/globals.h"
#include "desk/frame/startup.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"

frmInfo::frmInfo() : forms::Form("frmInfo") {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(24, 24, 24, 24);
    for (QWidget* w : std::initializer_list<QWidget*>{&Image1, &Label1, &Label3, &Label4, &Label2, &Label6}) {
        w->setParent(this);
        l->addWidget(w);
    }
    Shape1.setParent(this);
    Shape1.lower();
    Label1.setWordWrap(true);
    QFont f = Label1.font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    Label1.setFont(f);
    Label3.setFont(f);
    Label6.setCaption("Version 2");
    resize(520, 360);
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
