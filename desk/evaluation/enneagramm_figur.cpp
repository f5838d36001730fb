#include "desk/evaluation/enneagramm_figur.h"

#include "desk/common/engine_setup.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPalette>

#include <algorithm>
#include <cmath>

#include "desk/charts/chart_fenster.h"
#include "desk/common/druckbild.h"
#include "desk/common/form4.h"
#include "desk/common/globals.h"
#include "platform/draw/metafile.h"
#include "platform/draw/metafile_writer.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/screen.h"
#include "platform/vb/error.h"

namespace {

// Places in the figure, in twips: name, upper bar, lower bar of each type; type 9 at the top, the
// others clockwise around the symbol.
struct Platz {
    int x, y;
};
constexpr Platz kName[9] = {{6120, 1800}, {7080, 3120}, {6960, 4920}, {5640, 5880}, {2520, 5880},
                            {1320, 4920}, {1080, 3120}, {2160, 1680}, {4440, 840}};
constexpr Platz kOben[9] = {{5280, 1200}, {6240, 2520}, {6120, 4320}, {4800, 5280}, {3000, 5280},
                            {1800, 4320}, {1560, 2520}, {2640, 1200}, {3960, 840}};
constexpr Platz kUnten[9] = {{5640, 1800}, {6600, 3120}, {6480, 4920}, {5160, 5880}, {3360, 5880},
                             {2160, 4920}, {1920, 3120}, {3000, 1800}, {4320, 1440}};
constexpr int kNameB = 372, kNameH = 192, kBalkenB = 372, kBalkenH = 696;
constexpr Platz kSymbol = {1680, 1200};
constexpr int kSymbolSeite = 4932;
constexpr int kRand = 240;

// The symbol files by the label text of the symbol colour setting.
constexpr const char* kSymbolDatei[9] = {"\\zuv_symb_blau.wmf",   "\\zuv_symb_gelb.wmf",     "\\zuv_symb_bunt.wmf",
                                         "\\zuv_symb_orange.wmf", "\\zuv_symb_violett.wmf",  "\\zuv_symb_braun.wmf",
                                         "\\zuv_symb_rot.wmf",    "\\zuv_symb_hellgrün.wmf", "\\zuv_symb_grün.wmf"};

// Names of the types on the left half of the figure grow to the left, away from their bars.
bool linksStehend(int k) { return k >= 4 && k <= 7; }

double px(int twips, int twipsProPixel) { return static_cast<double>(twips) / twipsProPixel; }

}  // namespace

draw::Picture EnneagrammFigur::eingebautesSymbol() {
    static const draw::Picture bild = [] {
        // 1000 units on 292 units per inch: the 4932-twip frame of the symbol.
        draw::MetafileWriter w(1000, 1000, 292);
        const int leer = w.createBrush(draw::MetafileWriter::BrushNull, 0);
        w.selectObject(leer);
        int stift = w.createPen(draw::MetafileWriter::PenSolid, 8, 0x800000);
        w.selectObject(stift);
        w.ellipse(130, 130, 870, 870);
        w.deleteObject(stift);
        auto punkt = [](int typ) {
            const double winkel = (-90.0 + 40.0 * (typ % 9)) * M_PI / 180.0;
            return draw::WmfPoint{static_cast<int16_t>(std::lround(500 + 370 * std::cos(winkel))),
                                  static_cast<int16_t>(std::lround(500 + 370 * std::sin(winkel)))};
        };
        auto linien = [&](std::initializer_list<int> folge, uint32_t farbe) {
            stift = w.createPen(draw::MetafileWriter::PenSolid, 6, farbe);
            w.selectObject(stift);
            int vorher = -1;
            for (int typ : folge) {
                const draw::WmfPoint p = punkt(typ);
                if (vorher < 0) w.moveTo(p.x, p.y);
                else w.lineTo(p.x, p.y);
                vorher = typ;
            }
            w.deleteObject(stift);
        };
        linien({3, 6, 9, 3}, 0x0000C0);           // the triangle
        linien({1, 4, 2, 8, 5, 7, 1}, 0x008000);  // the six lines of the other points
        const std::vector<uint8_t> daten = w.bytes();
        return draw::Picture::fromMetafile(draw::Metafile::fromBytes(daten));
    }();
    return bild;
}

EnneagrammFigur::EnneagrammFigur() {
    setAutoFillBackground(true);
    QPalette weiss = palette();
    weiss.setColor(QPalette::Window, Qt::white);
    setPalette(weiss);
    Image1.setParent(this);
    Image1.setStretch(true);
    Image1.setPicture(eingebautesSymbol());
    QFont klein = font();
    klein.setPointSize(7);
    for (int k = 0; k < 9; ++k) {
        Label1[k].setParent(this);
        Label1[k].setAlignment((linksStehend(k) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        for (forms::Panel3D* balken : {&SSPanel1[k], &SSPanel2[k]}) {
            balken->setParent(this);
            balken->setFont(klein);
            balken->setMinimumHeight(0);
            balken->setFloodType(4);  // upright bars fill from the bottom
            balken->setFloodPercent(0);
        }
        SSPanel2[k].setObjectName(QString("SSPanel2_%1").arg(k));
        SSPanel1[k].setObjectName(QString("SSPanel1_%1").arg(k));
        Label1[k].setObjectName(QString("Label1_%1").arg(k));
    }
}

void EnneagrammFigur::namenSetzen() {
    for (int t = 1; t <= 9; ++t) {
        Label1[t - 1].setFontSize(10);
        Label1[t - 1].setCaption(gTypbezeichnung[t]);
    }
    anordnen();
}

void EnneagrammFigur::symbolWaehlen(const std::string& farbe) {
    // Compared exactly with the nine colour names; a text that matches none keeps the picture.
    for (int i = 0; i < 9; ++i)
        if (farbe == LabelTxt(212 + i)) Image1.setPicture(draw::LoadPicture(Installationsdatei(kSymbolDatei[i] + 1)));
}

void EnneagrammFigur::balkenSetzen(int ansicht, const EnneagrammWerte& werte, int16_t& zaehler) {
    for (zaehler = 0; zaehler < 9; ++zaehler) {
        const Balkenpaar paar = balkenFuer(ansicht, werte, zaehler + 1);
        auto setze = [](forms::Panel3D& balken, const Balken& b) {
            if (b.reihe == 0) {
                balken.setFloodPercent(0);
                return;
            }
            balken.setFloodColor(balkenfarbe(b.reihe));
            balken.setFloodShowPct(true);
            balken.setFloodPercent(b.wert);
        };
        setze(SSPanel1[zaehler], paar.oben);
        setze(SSPanel2[zaehler], paar.unten);
    }
}

// The places of the figure, with the names sized to their texts: a name on the left half
// ends where its place ends, one on the right half starts where its place starts. The figure moves
// right as far as a long name on the left needs.
void EnneagrammFigur::anordnen() {
    const int tx = forms::Screen::TwipsPerPixelX(), ty = forms::Screen::TwipsPerPixelY();
    std::array<QRectF, 9> namen;
    double links = px(kSymbol.x, tx), oben = px(kName[8].y, ty);
    for (int k = 0; k < 9; ++k) {
        const QSize text = Label1[k].sizeHint();
        const double b = std::max<double>(text.width(), px(kNameB, tx));
        const double h = std::max<double>(text.height(), px(kNameH, ty));
        const double x = linksStehend(k) ? px(kName[k].x + kNameB, tx) - b : px(kName[k].x, tx);
        namen[k] = QRectF(x, px(kName[k].y, ty), b, h);
        links = std::min(links, x);
        oben = std::min(oben, namen[k].y());
    }
    const double dx = std::max(0.0, px(kRand, tx) - links), dy = std::max(0.0, px(kRand, ty) - oben);
    auto setze = [&](QWidget& w, double x, double y, double b, double h) {
        w.setGeometry(static_cast<int>(std::lround(x + dx)), static_cast<int>(std::lround(y + dy)),
                      static_cast<int>(std::lround(b)), static_cast<int>(std::lround(h)));
    };
    setze(Image1, px(kSymbol.x, tx), px(kSymbol.y, ty), px(kSymbolSeite, tx), px(kSymbolSeite, ty));
    QRect alles = Image1.geometry();
    for (int k = 0; k < 9; ++k) {
        setze(Label1[k], namen[k].x(), namen[k].y(), namen[k].width(), namen[k].height());
        setze(SSPanel1[k], px(kOben[k].x, tx), px(kOben[k].y, ty), px(kBalkenB, tx), px(kBalkenH, ty));
        setze(SSPanel2[k], px(kUnten[k].x, tx), px(kUnten[k].y, ty), px(kBalkenB, tx), px(kBalkenH, ty));
        alles |= Label1[k].geometry() | SSPanel1[k].geometry() | SSPanel2[k].geometry();
    }
    resize(alles.right() + 1 + static_cast<int>(px(kRand, tx)), alles.bottom() + 1 + static_cast<int>(px(kRand, ty)));
}

std::string SymbolStand() {
    const std::string farbe = forms::Default<Form4>().Combo3.Text();
    std::string stand = farbe;
    for (int i = 0; i < 9; ++i)
        if (farbe == LabelTxt(212 + i)) {
            // The file may be replaced in the data folder while the program runs.
            const QFileInfo datei(QString::fromStdString(files::resolve(Installationsdatei(kSymbolDatei[i] + 1))));
            stand += '\t' + std::to_string(datei.exists() ? datei.size() : -1) + '\t' +
                     std::to_string(datei.exists() ? datei.lastModified().toMSecsSinceEpoch() : 0);
        }
    return stand;
}

QImage EnneagrammFuerDruck() {
    // The stored settings first: the naming scheme of the type names and the symbol colour.
    const std::string farbe = forms::Default<Form4>().Combo3.Text();
    // The series colours of the stored chart configuration, as the window's bars take them.
    frmChartOptLaden();
    EnneagrammFigur figur;
    figur.namenSetzen();
    try {
        figur.symbolWaehlen(farbe);
    } catch (const vb::Error&) {
        // A symbol file gone from the data folder: the figure keeps the built-in symbol, as the
        // window does after its error box.
    }
    int16_t zaehler = 0;
    figur.balkenSetzen(0, EnneagrammWerte::aktuelle(), zaehler);
    return WidgetFuerDruck(figur);
}
