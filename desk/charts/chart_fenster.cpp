#include "desk/charts/chart_fenster.h"

#include "desk/charts/frm_chart.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/testverwaltung.h"
#include "platform/files/paths.h"

frmChart* NeuesChartFenster(int beschriftung) {
    return static_cast<frmChart*>(ErgebnisfensterOeffnen(
        new frmChart, gChartFenster, [beschriftung](forms::Form& f) { f.setCaption(LabelTxt(beschriftung)); }));
}

void GrafikauswertungAnzeigen() {
    mitFehlerfalle([] {
        gDiagrammArt = 1;
        PersonFuerErgebnisfensterAuswerten();
        gDateivergleich = 0;
        if (!NeuesChartFenster(153)) return;
        DruckMenueGrafik(true);
        AssistentChartSchritt();
    });
}

void DateivergleichAnzeigen() {
    gDateivergleich = 1;
    frmChartOpt& o = forms::Default<frmChartOpt>();
    if (o.Option3[1].Value() || o.Option3[9].Value()) o.Option3[0].setValue(true);
    if (o.Option1[4].Value()) o.Option1[0].setValue(true);
    // The print item follows a comparison window that opened; a refused one leaves no picture.
    if (NeuesChartFenster(225)) DruckMenueVergleich(true);
}

void frmChartOptLaden() { forms::Default<frmChartOpt>(); }

void frmChartOptZeigen() { forms::Default<frmChartOpt>().Show(); }

void ChartNeuZeichnen(forms::Form& aktiv) {
    // Whatever the active chart showed (one person, two persons, a column or row of the answer
    // table), it gives way to a chart of the current person in the new settings.
    forms::Unload(aktiv);
    GrafikauswertungAnzeigen();
}

// ==================================================================== the main window

void DruckMenueGrafik(bool an) { DruckMenueAn(DruckMenue::Grafik, an); }
void DruckMenueVergleich(bool an) { DruckMenueAn(DruckMenue::Dateivergleich, an); }

void DruckMenueNachBildern() {
    auto da = [](const char* name) { return files::FileExists(gAppPath + "\\" + name); };
    DruckMenueGrafik(da("ZUVGrafik1.bmp") || da("ZUVGrafik2.bmp") || da("ZUVGrafik3.bmp"));
    DruckMenueVergleich(da("ZUVVergleich.bmp"));
}

void ChildWindowsAnordnen() {
    if (Hauptfenster* h = hauptfenster()) h->arrangeChildren(gFensterAnzahl == 1 ? 2 : 0);
}

void AssistentChartSchritt() { AssistentSchritt({{1, 4}, {2, 3}}, kDunkelblau); }
