#include "desk/frame/subsystem2_bridge.h"

#include "desk/frame/globals.h"
#include "desk/frame/subsystem2_hooks.h"
#include "platform/forms/form.h"

namespace s2 {

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
