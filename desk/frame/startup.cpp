#include "desk/frame/startup.h"

#include "desk/common/form4.h"
#include "desk/frame/frm_assist.h"
#include "desk/frame/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/form3.h"
#include "desk/testing/testverwaltung.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/ini/ini_file.h"
#include "platform/vb/strings.h"

#include <set>

namespace {
std::string programmOrdnerDatei(const char* name) { return files::programFolder() + "\\" + name; }
}  // namespace

// ==================================================================== splash window

form9::form9() : Startfenster("form9") { TitelFensterAufbauen(*this); }

void form9::setupControls() {
    Startfenster::setupControls();
    Label6.setCaption("Version 2");
    Label2.setCaption(kHinweis);
    SplashBildLaden(Image1);
}

void SplashBildLaden(forms::Image& bild) {
    // Without the picture the window still shows its texts.
    try {
        bild.setPicture(forms::LoadPicture(files::resolve(programmOrdnerDatei("zuv_splash.bmp"))));
    } catch (...) {
    }
}

void form9::startFehlerZeigen(const std::exception& e) {
    const auto* v = dynamic_cast<const vb::Error*>(&e);
    const std::string text = "Z.U.V. kann nicht gestartet werden." + gCrLf + gCrLf +
                             (v ? v->description() : std::string(e.what())) + gCrLf +
                             "Fehlernummer: " + std::to_string(v ? v->number() : vb::err::InternalError);
    forms::MsgBox(text, forms::vbOKOnly | forms::vbCritical);
}

void ResteAufraeumen() {
    // A compaction, backup or INI update killed half-way leaves its temporary file beside its
    // target: in the data folder, the program folder or beside a recent data file.
    // Usually these are one folder: each is looked through once.
    std::set<std::string> ordner;
    auto merken = [&](std::string pfad) {
        while (pfad.size() > 1 && pfad.back() == '/') pfad.pop_back();
        if (!pfad.empty()) ordner.insert(std::move(pfad));
    };
    merken(files::resolve(gAppPath));
    merken(files::resolve(files::programFolder()));
    if (const size_t schnitt = files::resolve(gIniDatei).find_last_of('/'); schnitt != std::string::npos && schnitt > 0)
        merken(files::resolve(gIniDatei).substr(0, schnitt));
    for (int k = 1; k <= 8; ++k) {
        const std::string datei = ini::ReadIniString("File" + std::to_string(k), vb::Str(k), gIniDatei);
        if (!ini::present(datei)) continue;
        const std::string echt = files::resolve(datei);
        const size_t schnitt = echt.find_last_of('/');
        if (schnitt != std::string::npos && schnitt > 0) merken(echt.substr(0, schnitt));
    }
    for (const std::string& o : ordner) files::removeStaleTempFiles(o);
    BerichtsresteAufraeumen();
}

void BeiEndesignalBeenden() {
    // Before the main window has loaded there is no data file and no list of recent files yet,
    // and the INI file stays as it is.
    EndesignaleAbfangen([] {
        if (forms::IsLoaded<frmMDI>()) forms::Instance<frmMDI>().beenden();
    });
}

void form9::Form_Load() {
    starten([this] {
        CenterForm(*this);
        StartEngineEinrichten();
        ResteAufraeumen();
        StartTexteLaden();
        LadeTestItemTyp();
        Label1.setCaption(LabelTxt(0) + " " + LabelTxt(1));
        Label3.setCaption(kProgrammTitel);
        Label4.setCaption(LabelTxt(159));
        forms::setAppTitle(DialogTxt(3));
        if (DatenordnerErsetzt()) {
            // Where the program folder is closed to the user, the data folder is the user's own.
            const std::string text = ProgrammordnerSchreibbar()
                                         ? DialogTxt(110) + kIniDateiName + DialogTxt(111) + files::programFolder() +
                                               DialogTxt(112)
                                         : DialogTxt(110) + gIniDatei +
                                               " ist kein Datenordner eingetragen. Z.U.V. verwendet den Ordner " +
                                               gAppPath + DialogTxt(112);
            forms::MsgBox(text, forms::vbOKOnly | forms::vbInformation, DialogTxt(3));
        }
    });
}

void form9::fensterLaden() {
    forms::Load(forms::Instance<frmAssist>());
    forms::Load(forms::Instance<Form4>());
    forms::Load(forms::Instance<Form3>());
}

forms::Form& form9::hauptfenster() { return forms::Default<frmMDI>(); }
