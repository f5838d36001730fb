#include "desk/charts/chart_fenster.h"

#include "desk/charts/chart_zeichnung.h"

#include "desk/charts/frm_chart.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/testverwaltung.h"
#include "platform/files/paths.h"

frmChart* NeuesChartFenster(const ChartAnfrage& anfrage) {
    const int beschriftung = anfrage.zweiPersonen() ? 225 : 153;
    return static_cast<frmChart*>(
        ErgebnisfensterOeffnen(new frmChart(anfrage), gChartFenster,
                               [beschriftung](forms::Form& f) { f.setCaption(LabelTxt(beschriftung)); }));
}

void GrafikauswertungAnzeigen() {
    mitFehlerfalle([] {
        gDiagrammArt = 1;
        PersonFuerErgebnisfensterAuswerten();
        gDateivergleich = 0;
        if (!NeuesChartFenster(ChartAnfrageAusZustand(1, 0))) return;
        DruckMenueGrafik(true);
        AssistentChartSchritt();
    });
}

void DateivergleichAnzeigen() {
    gDiagrammArt = 1;
    gDateivergleich = 1;
    frmChartOpt& o = forms::Default<frmChartOpt>();
    if (o.Option3[1].Value() || o.Option3[9].Value()) o.Option3[0].setValue(true);
    if (o.Option1[4].Value()) o.Option1[0].setValue(true);
    // The print item follows a comparison window that opened; a refused one leaves no picture.
    if (NeuesChartFenster(ChartAnfrageAusZustand(1, 1))) DruckMenueVergleich(true);
}

frmChart* TabellenchartAnzeigen(int16_t art, const std::array<int16_t, 10>& werte, const std::string& titel,
                                int16_t stelle) {
    gDiagrammArt = art;
    for (int i = 1; i <= (art == 10 ? 9 : 5); ++i) gDiagrammWerte[i] = werte[i];
    gDiagrammTitel = titel;
    gDateivergleich = 0;
    ChartAnfrage anfrage = ChartAnfrageAusZustand(art, 0);
    anfrage.tabellenstelle = stelle;
    frmChart* f = NeuesChartFenster(anfrage);
    // Like the comparison's: a refused window switches nothing on.
    if (f) DruckMenueGrafik(true);
    return f;
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
