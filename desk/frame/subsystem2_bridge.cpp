#include "desk/frame/subsystem2_bridge.h"

#include "desk/common/globals.h"
#include "desk/frame/subsystem2_hooks.h"
#include "platform/forms/form.h"

#if __has_include("desk/testing/rahmen.h")
#include "desk/frame/frm_assist.h"
#include "desk/frame/frm_mdi.h"
#include "desk/testing/rahmen.h"
#define ZUV_HAS_RAHMEN 1
#else
#define ZUV_HAS_RAHMEN 0
#endif

namespace s2 {

void verbinden() {
#if ZUV_HAS_RAHMEN
    zuvtest::setHauptDaten([](int n) -> db::DataControl* {
        frmMDI& m = forms::Instance<frmMDI>();
        db::DataControl* d[] = {&m.Data1, &m.Data2, &m.Data3, &m.Data4, &m.Data5};
        return n >= 1 && n <= 5 ? d[n - 1] : nullptr;
    });
    zuvtest::RahmenAufrufe& r = zuvtest::rahmen();
    r.EnableFileMenus = [] { ::EnableFileMenus(); };
    r.SetzeMenueStatus = [] { ::SetzeMenueStatus(); };
    r.SchliesseUnterfenster = [] { ::SchliesseUnterfenster(); };
    r.UpdateMainCaption = [] { ::UpdateMainCaption(); };
    r.HauptfensterZeigen = [] { forms::Default<frmMDI>().Show(); };
    r.AssistentFarbe = [](const std::string& label, int index, int32_t farbe) {
        frmAssist& a = forms::Default<frmAssist>();
        if (label == "Label1" && index >= 0 && index < 5) a.Label1[index].setForeColor(farbe);
        if (label == "Label2" && index >= 0 && index < 8) a.Label2[index].setForeColor(farbe);
    };
    r.AssistentNachVorn = [] {
        if (!forms::IsLoaded<frmAssist>()) return;
        frmAssist& a = forms::Instance<frmAssist>();
        if (a.Visible() && a.WindowState() == forms::vbNormal && gAssistentanzeige) a.SetFocus();
    };
    r.ShowHelp = [](const std::string& topic) { ::ShowHelp(topic); };
    r.TestDurchfuehren = [] { ::TestDurchfuehren(); };
    r.setMainCaption = [](const std::string& c) { forms::Instance<frmMDI>().setCaption(c); };
#endif
}

#if ZUV_HAS_SUBSYSTEM2
bool vorhanden() { return true; }
void LadeTestItemTyp() { ::LadeTestItemTyp(); }
void TestAuswerten() { ::TestAuswerten(); }
void TypRangfolgeBestimmen() { ::TypRangfolgeBestimmen(); }
void Form3Laden() { forms::Load(Form3Fenster()); }
void PersonWaehlen() {
    forms::Form& f = Form3Fenster();
    f.ensureLoaded();
    FormZentrieren(f);
    if (f.isLoaded()) f.Show(forms::vbModal);
}
void PersonendatenZeigen() {
    forms::Form& f = frmpersFenster();
    f.ensureLoaded();
    FormZentrieren(f);
    f.Show();
}
void TestZeigen() {
    forms::Form& f = frmTestFenster();
    f.ensureLoaded();
    FormZentrieren(f);
    f.Show();
}
void EinfuehrungstextAnzeigen() { ::EinfuehrungstextAnzeigen(); }
void FragebogenDrucken() { ::FragebogenDrucken(); }
#else
bool vorhanden() { return false; }
void LadeTestItemTyp() {}
void TestAuswerten() {}
void TypRangfolgeBestimmen() {}
void Form3Laden() {}
void PersonWaehlen() { gAuswahlAbgebrochen = 1; }
void PersonendatenZeigen() {}
void TestZeigen() {}
void EinfuehrungstextAnzeigen() {}
void FragebogenDrucken() {}
#endif

}  // namespace s2
