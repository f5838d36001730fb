#include "desk/charts/chart_druckbilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include "desk/charts/chart_farben.h"
#include "desk/charts/chart_zeichnung.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "platform/chart/chart.h"
#include "platform/draw/picture.h"

QImage ChartFuerDruck(const chart::Chart& c) {
    // The sheet's printable width in pixels of 96 dpi, the unit the chart lays out its fonts in.
    const QSizeF logisch(kDruckbildBreite / 15.0, kDruckbildBreite / 15.0 * 3 / 4);
    double faktor = 1;
    QImage bild = DruckbildLeinwand(logisch, faktor);
    {
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.scale(faktor, faktor);
        c.paint(p, QRectF(QPointF(0, 0), logisch));
    }
    DruckbildAufloesung(bild);
    return bild;
}

namespace {

// The chart of the current person as last scored, for one answer-value choice, written as `name`.
void personenchart(const char* name, int wertewahl) {
    ChartAnfrage a = ChartAnfrageAusZustand(1, 0);
    a.wertewahl = wertewahl;
    chart::Chart c;
    ChartZeichnen(c, a);
    DruckbildSchreiben(draw::Picture::fromImage(ChartFuerDruck(c)), name);
}

// What a chart is drawn from in the options dialog: every choice, list and text box the chart
// reads (not the title box, which the chart windows write), the colours and the chart font.
std::string optionenStand() {
    frmChartOpt& o = forms::Default<frmChartOpt>();
    std::string stand;
    for (QWidget* w : o.findChildren<QWidget*>()) {
        if (auto* knopf = qobject_cast<QAbstractButton*>(w); knopf && knopf->isCheckable())
            stand += knopf->isChecked() ? '1' : '0';
        else if (auto* liste = qobject_cast<QComboBox*>(w)) stand += liste->currentText().toStdString() + '\t';
        else if (auto* feld = qobject_cast<QLineEdit*>(w);
                 feld && !qobject_cast<QComboBox*>(feld->parentWidget()) && !o.Text1.isAncestorOf(feld))
            stand += feld->text().toStdString() + '\t';
    }
    for (int n = 0; n < 12; ++n) stand += std::to_string(farbwert(farbvariablen(n))) + ',';
    stand += gDiagrammFontname + ' ' + std::to_string(gDiagrammFontsize) + (gDiagrammFontBold ? " f" : "") +
             (gDiagrammFontItalic ? " k" : "");
    return stand;
}

}  // namespace

void ChartDruckbilderEintragen() {
    DruckbildmacherEintragen("ZUVGrafik1.bmp", [] { personenchart("ZUVGrafik1.bmp", 0); });
    DruckbildmacherEintragen("ZUVGrafik2.bmp", [] { personenchart("ZUVGrafik2.bmp", 1); });
    // The third picture shows what the options dialog chooses besides the two above, its first such
    // choice when it chooses one of them.
    DruckbildmacherEintragen("ZUVGrafik3.bmp", [] {
        const int wahl = GewaehlteWertewahl();
        personenchart("ZUVGrafik3.bmp", wahl >= 2 ? wahl : 2);
    });
    DruckbildquelleEintragen("Diagrammoptionen", optionenStand);
}
