#include "desk/charts/chart_farben.h"

#include <algorithm>
#include <cmath>

#include "desk/common/globals.h"
#include "platform/forms/common_dialog.h"
#include "platform/vb/color.h"
#include "platform/vb/error.h"

Farbvariablen farbvariablen(int n) {
    static const Farbvariablen alle[] = {
        {&gAchsenlinienfarbeRot, &gAchsenlinienfarbeGruen, &gAchsenlinienfarbeBlau},
        {&gHintergrundfarbeRot, &gHintergrundfarbeGruen, &gHintergrundfarbeBlau},
        {&gDiagrammHintergrundfarbeRot, &gDiagrammHintergrundfarbeGruen, &gDiagrammHintergrundfarbeBlau},
        {&gReihe1Rot, &gReihe1Gruen, &gReihe1Blau},
        {&gReihe2Rot, &gReihe2Gruen, &gReihe2Blau},
        {&gReihe3Rot, &gReihe3Gruen, &gReihe3Blau},
        {&gReihe4Rot, &gReihe4Gruen, &gReihe4Blau},
        {&gReihe5Rot, &gReihe5Gruen, &gReihe5Blau},
        {&gReihe6Rot, &gReihe6Gruen, &gReihe6Blau},
        {&gReihe7Rot, &gReihe7Gruen, &gReihe7Blau},
        {&gReihe8Rot, &gReihe8Gruen, &gReihe8Blau},
        {&gReihe9Rot, &gReihe9Gruen, &gReihe9Blau},
    };
    if (n < 0 || n > 11) throw vb::Error(vb::err::SubscriptOutOfRange);
    return alle[n];
}

int16_t farbteil(const vb::Variant& v) {
    if (v.isNull() || v.isEmpty()) return 0;
    double d = 0;
    try {
        d = v.toDouble();
    } catch (const vb::Error&) {
        return 0;
    }
    if (!std::isfinite(d)) return 0;
    return static_cast<int16_t>(std::clamp(std::nearbyint(d), 0.0, 255.0));
}

int32_t farbwert(const Farbvariablen& f) { return vb::RGB(farbteil(*f.rot), farbteil(*f.gruen), farbteil(*f.blau)); }

int32_t ReihenFarbe(int reihe) { return farbwert(reihenfarbe(reihe)); }

void setzeFarbe(const Farbvariablen& f, int32_t farbe) {
    *f.rot = GetRed(farbe);
    *f.gruen = GetGreen(farbe);
    *f.blau = GetBlue(farbe);
}

int32_t farbeAusDialog(forms::CommonDialog& d, int32_t vorher) {
    d.setCancelError(true);
    d.setFlags(forms::cdlCCRGBInit | forms::cdlCCFullOpen);
    d.setColor(vorher);
    d.ShowColor();
    return d.Color();
}
