#include "desk/charts/chart_druckbilder.h"

#include <QPainter>

#include "desk/charts/chart_zeichnung.h"
#include "desk/common/druckbild.h"
#include "desk/testing/testverwaltung.h"
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

// The chart of the current person for one answer-value choice, written as `name`.
void personenchart(const char* name, int wertewahl) {
    TestAuswerten();
    TypRangfolgeBestimmen();
    ChartAnfrage a = ChartAnfrageAusZustand(1, 0);
    a.wertewahl = wertewahl;
    chart::Chart c;
    ChartZeichnen(c, a);
    DruckbildSchreiben(draw::Picture::fromImage(ChartFuerDruck(c)), name);
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
}
