#include "desk/evaluation/antworttabelle.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>
#include <array>

#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "platform/forms/grid.h"
#include "platform/forms/screen.h"

namespace {

constexpr int kZeilen = 10;
constexpr int kSpalten = 7;
constexpr int32_t kTypFarbe = 0x80F6FF;  // RGB(255, 246, 128)

QFontMetrics fettMetrik(const forms::Grid& g) {
    QFont fett = g.font();
    fett.setBold(true);
    return QFontMetrics(fett);
}

// The narrowest width that holds every text of columns [von, bis) in bold, with the cell's margins.
int mindestbreite(const forms::Grid& g, int von, int bis) {
    const QFontMetrics fm = fettMetrik(g);
    int breit = 0;
    for (int r = 0; r < g.Rows(); ++r)
        for (int c = von; c < bis; ++c)
            breit = std::max(breit, fm.horizontalAdvance(QString::fromStdString(g.TextMatrix(r, c))));
    return breit + 2 * fm.averageCharWidth() + 4;
}

}  // namespace

Antwortzellen Antwortzellen::aktuelle() {
    zuvtest::Punkte p;
    p.antwortAnzahl = gAntwortAnzahlJeTyp.flat;
    p.gesamt = gTypgesamtsummeJeTyp;
    return aus(p);
}

Antwortzellen Antwortzellen::aus(const zuvtest::Punkte& p) {
    Antwortzellen t;
    t.text[0][0] = LabelTxt(157);
    for (int c = 1; c <= 5; ++c) t.text[0][c] = std::to_string(c - 1);
    t.text[0][6] = LabelTxt(252);
    for (int r = 1; r <= 9; ++r) {
        t.text[r][0] = gTypbezeichnung[r];
        for (int k = 1; k <= 5; ++k) t.text[r][k] = std::to_string(p.antwortAnzahl[r + 10 * k]);
        t.text[r][6] = std::to_string(p.gesamt[r]);
    }
    return t;
}

void Antwortzellen::fuellen(forms::Grid& g) const {
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setCols(kSpalten);
    g.setRows(kZeilen);
    auto zelle = [&g, this](int r, int c, bool fett, int32_t farbe, bool farbig) {
        g.setRow(r);
        g.setCol(c);
        g.setText(text[r][c]);
        if (fett) g.setCellFontBold(true);
        if (farbig) g.setCellBackColor(farbe);
    };
    const int32_t grau = forms::QBColor(8);
    for (int c = 0; c < kSpalten; ++c) zelle(0, c, true, grau, true);
    for (int r = 1; r < kZeilen; ++r) zelle(r, 0, true, kTypFarbe, true);
    for (int c = 1; c < kSpalten; ++c)
        for (int r = 1; r < kZeilen; ++r) zelle(r, c, false, 0, false);
}

int TabellenMindestspalte(const forms::Grid& g) { return mindestbreite(g, 0, g.Cols()); }

int TabellenMindestzeile(const forms::Grid& g) { return fettMetrik(g).height() + 8; }

QImage AntworttabelleFuerDruck(const Antwortzellen& t) {
    forms::Grid g;
    g.setFrameShape(QFrame::NoFrame);
    g.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g.verticalHeader()->setMinimumSectionSize(1);
    g.horizontalHeader()->setMinimumSectionSize(1);
    t.fuellen(g);
    // Seven equal columns across the sheet's width, as the window divides its width; where the type
    // names need more, their column takes what they need and the six columns of numbers share the
    // rest, so the table keeps to the sheet and its texts keep their size. Pixels of 96 dpi.
    const int tx = forms::Screen::TwipsPerPixelX(), ty = forms::Screen::TwipsPerPixelY();
    const int breite = kDruckbildBreite / 15;
    const int zeile = TabellenMindestzeile(g) * 3 / 2;
    std::array<int, kSpalten> spalten;
    spalten.fill(breite / kSpalten);
    if (TabellenMindestspalte(g) > breite / kSpalten) {
        spalten[0] = mindestbreite(g, 0, 1);
        const int zahlen = std::max(mindestbreite(g, 1, kSpalten), (breite - spalten[0]) / (kSpalten - 1));
        for (int c = 1; c < kSpalten; ++c) spalten[c] = zahlen;
    }
    int summeB = 0, summeH = 0;
    for (int c = 0; c < kSpalten; ++c) {
        g.setColWidth(c, spalten[c] * tx);
        if (c >= 1) {
            g.setColAlignment(c, 4);
            g.setFixedAlignment(c, 4);
        }
        summeB += g.columnWidth(c);
    }
    for (int r = 0; r < kZeilen; ++r) {
        g.setRowHeight(r, zeile * ty);
        summeH += g.rowHeight(r);
    }
    g.resize(summeB, summeH);
    return WidgetFuerDruck(g);
}
