#include "desk/charts/chart_zeichnung.h"

#include <QString>

#include <algorithm>
#include <cmath>

#include "desk/charts/chart_farben.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/globals.h"
#include "platform/db/recordset.h"
#include "platform/forms/host.h"
#include "platform/vb/strings.h"

using namespace chart;

namespace {

// Option1 index -> chart type.
constexpr int kDiagrammtyp[9] = {VtChChartType2dBar,  VtChChartType3dBar,  VtChChartType2dLine,
                                 VtChChartType3dLine, VtChChartType2dPie,  VtChChartType2dArea,
                                 VtChChartType3dArea, VtChChartType2dStep, VtChChartType3dStep};

// Per Option3 choice: the score columns that become the series, and the label text of each.
struct Wertewahl {
    std::vector<const char*> spalten;
    std::vector<int> texte;
};
const Wertewahl& spaltenwahl(int i) {
    static const Wertewahl w[10] = {
        {{"typgesamtsumme"}, {109}},
        {{"TypSumme01", "TypSumme2", "TypSumme34"}, {113, 112, 111}},
        {{"typsumme34"}, {111}},
        {{"typsumme2"}, {112}},
        {{"typsumme01"}, {113}},
        {{"typsumme4"}, {114}},
        {{"typsumme3"}, {115}},
        {{"typsumme1"}, {116}},
        {{"typsumme0"}, {117}},
        {{"typsumme0", "TypSumme1", "TypSumme2", "TypSumme3", "TypSumme4"}, {117, 116, 112, 115, 114}},
    };
    return w[std::clamp(i, 0, 9)];
}
bool gruppiert(int wahl) { return wahl == 1 || wahl == 9; }
// The choices of the ratings 0 and 1, whose scores are never above 0: the size of the rejection.
bool ablehnung(int wahl) { return wahl == 4 || wahl == 7 || wahl == 8; }

frmChartOpt& optionen() { return forms::Default<frmChartOpt>(); }

int16_t zahlOderNull(const vb::Variant& v) { return v.isNull() || v.isEmpty() ? int16_t(0) : vb::CInt(v); }

// A combo's text as a number; a text that is no number gives the installation's value.
double zahl(const std::string& text, double vorgabe) {
    bool ok = false;
    const double d = QString::fromStdString(text).trimmed().replace(',', '.').toDouble(&ok);
    return ok && std::isfinite(d) ? d : vorgabe;
}

// A chart colour from one of the program-wide colour settings.
void setzeTeile(Colour& c, const Farbvariablen& f) {
    c.Set(farbteil(*f.rot), farbteil(*f.gruen), farbteil(vb::Variant(*f.blau)));
}

std::string name(const ChartPerson& p) { return p.vorname + " " + p.nachname; }

}  // namespace

int GewaehlteWertewahl() {
    frmChartOpt& o = optionen();
    int wahl = 0;
    for (int i = 0; i < 10; ++i)
        if (o.Option3[i].Value()) wahl = i;
    return wahl;
}

ChartAnfrage ChartAnfrageAusZustand(int16_t diagrammArt, int16_t dateivergleich) {
    ChartAnfrage a;
    a.diagrammArt = diagrammArt;
    a.dateivergleich = dateivergleich;
    if (a.tabelle()) {
        a.werte = gDiagrammWerte;
        a.titel = gDiagrammTitel;
    }
    a.wertewahl = GewaehlteWertewahl();
    a.person = {gAktPersonID, gAktPerson[1], gAktPerson[2], gAktPerson[11]};
    if (a.zweiPersonen())
        a.vergleich = {gVergleichPersonID, gVergleichPerson[1], gVergleichPerson[2], gVergleichPerson[3]};
    a.datenbank = gDatenbankName;
    return a;
}

ChartZeichnung::ChartZeichnung(Chart& chart, const ChartAnfrage& anfrage, Fehler fehler, db::DataControl& data1,
                               db::DataControl& data2)
    : m_chart(chart),
      m_anfrage(anfrage),
      m_fehler(fehler),
      m_data1(data1),
      m_data2(data2),
      m_wertewahl(anfrage.wertewahl) {}

template <class F>
void ChartZeichnung::schritt(F&& f) {
    if (m_fehler == Fehler::Melden) mitFehlerfalle(f);
    else f();
}

void ChartZeichnen(Chart& chart, const ChartAnfrage& anfrage) {
    db::DataControl d1, d2;
    ChartZeichnung z(chart, anfrage, ChartZeichnung::Fehler::Werfen, d1, d2);
    z.SetChartType();
    z.DrawChart();
}

// ==================================================================== chart type and data

void ChartZeichnung::SetChartType() {
    frmChartOpt& o = optionen();
    for (int i = 0; i < 9; ++i)
        if (o.Option1[i].Value()) m_chart.ChartType = kDiagrammtyp[i];
}

// A person's nine result rows, each placed by its type number (rows of other numbers are left
// out): into series `reihe`, or for reihe < 0 into the series of the value choice. A person
// without rows, or whose rows hold no scores yet (never evaluated: the comparison charts the
// stored rows as they are), is charted with zeros and named.
void ChartZeichnung::personenwerte(db::DataControl& d, const ChartPerson& p, int reihe,
                                   std::vector<std::vector<int16_t>>& reihen, std::vector<int16_t>& kreiswerte) {
    const bool kreis = m_chart.ChartType == VtChChartType2dPie;
    const Wertewahl& w = spaltenwahl(m_wertewahl);
    d.setDatabaseName(m_anfrage.datenbank);
    d.setRecordSource("select * from ergebnis where personid = " + vb::Str(p.id) + " order by TypNummer");
    d.Refresh();
    auto rs = d.Recordset();
    int zeilen = 0, werte = 0;
    auto wert = [&](const char* spalte) {
        const vb::Variant v = rs->Fields(spalte).Value();
        if (!v.isNull() && !v.isEmpty()) ++werte;
        return zahlOderNull(v);
    };
    while (rs && !rs->Eof()) {
        ++zeilen;
        const int typ = zahlOderNull(rs->Fields("TypNummer").Value());
        if (typ >= 1 && typ <= 9) {
            if (reihe >= 0) {
                reihen[typ - 1][reihe] = wert(w.spalten[0]);
            } else if (kreis) {
                kreiswerte[typ - 1] = wert(w.spalten[0]);
            } else {
                for (std::size_t s = 0; s < w.spalten.size(); ++s) reihen[typ - 1][s] = wert(w.spalten[s]);
            }
        }
        rs->MoveNext();
    }
    if (werte > 0) return;
    const std::string text = DialogTxt(93) + name(p) + DialogTxt(zeilen == 0 ? 94 : 95) + DialogTxt(96);
    if (m_fehler == Fehler::Werfen) throw vb::Error(vb::err::NoCurrentRecord, text);
    forms::MsgBox(text, forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
}

void ChartZeichnung::DrawChart() {
    schritt([this] {
        frmChartOpt& opt = optionen();
        const ChartAnfrage& a = m_anfrage;
        // Two persons side by side need two series, which a pie cannot show.
        if (a.zweiPersonen() && m_chart.ChartType == VtChChartType2dPie) m_chart.ChartType = VtChChartType2dBar;
        const bool kreis = m_chart.ChartType == VtChChartType2dPie;
        int wahl = std::clamp(a.wertewahl, 0, 9);
        // A pie, and each person of a comparison, has one series: of a grouped choice it shows the
        // total scores.
        if ((kreis || a.zweiPersonen()) && gruppiert(wahl)) wahl = 0;
        m_wertewahl = wahl;
        const Wertewahl& w = spaltenwahl(wahl);

        std::vector<std::vector<int16_t>> reihen(9, std::vector<int16_t>(1, 0));
        std::vector<int16_t> kreiswerte(9, 0);

        if (a.diagrammArt == 10) {
            for (int k = 1; k <= 9; ++k) reihen[k - 1][0] = kreiswerte[k - 1] = a.werte[k];
        } else if (a.diagrammArt == 11) {
            reihen.assign(5, std::vector<int16_t>(1, 0));
            for (int k = 1; k <= 5; ++k) reihen[k - 1][0] = kreiswerte[k - 1] = a.werte[k];
        } else if (!a.zweiPersonen()) {
            if (!kreis && w.spalten.size() > 1)
                for (auto& r : reihen) r.resize(w.spalten.size(), 0);
            personenwerte(m_data1, a.person, -1, reihen, kreiswerte);
        } else {
            for (auto& r : reihen) r.resize(2, 0);
            personenwerte(m_data1, a.vergleich, 0, reihen, kreiswerte);
            personenwerte(m_data2, a.person, 1, reihen, kreiswerte);
        }

        // A pie shares out a whole, which a negative value has no part of. Of the rejection scores
        // it shares out their sizes; of any other values a negative one is left out, and a note
        // under the pie names it with its value.
        std::string ausgelassen;
        if (kreis && !a.tabelle() && ablehnung(wahl)) {
            for (int16_t& v : kreiswerte) v = static_cast<int16_t>(-v);
        } else if (kreis) {
            for (int i = 1; i <= 9; ++i)
                if (kreiswerte[i - 1] < 0)
                    ausgelassen += (ausgelassen.empty() ? "" : ", ") + kreisstueck(i) + " " +
                                   std::to_string(kreiswerte[i - 1]);
        }
        if (kreis) m_chart.setChartData(kreiswerte);
        else m_chart.setChartData(reihen);

        ScaleSpec& skala = m_chart.Plot.Axis(VtChAxisIdY).AxisScale;
        if (opt.Option2[0].Value()) {
            skala.Type = VtChScaleTypeLogarithmic;
            skala.LogBase = 10;
        }
        if (opt.Option2[1].Value()) {
            skala.Type = VtChScaleTypePercent;
            skala.PercentBasis = VtChPercentAxisBasisMaxChart;
        }
        if (opt.Option2[2].Value()) skala.Type = VtChScaleTypeLinear;

        m_chart.Backdrop.Fill.Style = VtFillStyleBrush;
        m_chart.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        setzeTeile(m_chart.Backdrop.Fill.Brush.FillColor, farbvariablen(kHintergrundfarbe));
        m_chart.Plot.Backdrop.Fill.Style = VtFillStyleBrush;
        m_chart.Plot.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        setzeTeile(m_chart.Plot.Backdrop.Fill.Brush.FillColor, farbvariablen(kDiagrammHintergrundfarbe));

        if (opt.Check1[0].Value() == 1) ShowLegend();
        if (!kreis) {
            if (opt.Check1[1].Value() == 1) ShowTypeLabel();
            else
                for (int r = 1; r <= 9; ++r) m_chart.DataGrid.setRowLabel(r, 1, "");
        } else {
            m_chart.DataGrid.setRowLabel(1, 1, "");
        }
        if (opt.Check1[2].Value() == 1) ShowUeberschrift();
        if (opt.Check1[3].Value() == 1) ShowAchsenbeschriftung();
        if (opt.Check1[4].Value() == 1) ShowFussnote();
        if (!ausgelassen.empty()) {
            const std::string fuss = opt.Check1[4].Value() == 1 ? opt.Text2.Text() : std::string();
            const std::string hinweis = LabelTxt(380) + " " + ausgelassen;
            m_chart.setFootnoteText(fuss.empty() ? hinweis : fuss + "\n" + hinweis);
        }

        const bool linie = isLine(m_chart.ChartType);
        for (int n = 1; n <= std::min(m_chart.Plot.SeriesCount(), 9); ++n) {
            SeriesSpec& s = m_chart.Plot.SeriesCollection(n);
            setzeTeile(linie ? s.Pen.VtColor : s.DataPoints(-1).Brush.FillColor, reihenfarbe(n));
        }
        SetDiagramFont();
        SetDiagramStyle();
    });
}

// ==================================================================== labels, titles, font

void ChartZeichnung::ShowLegend() {
    schritt([this] {
        const ChartAnfrage& a = m_anfrage;
        const bool kreis = m_chart.ChartType == VtChChartType2dPie;
        const Wertewahl& w = spaltenwahl(m_wertewahl);
        auto reihe = [this](int n) -> SeriesSpec* {
            return n <= m_chart.Plot.SeriesCount() ? &m_chart.Plot.SeriesCollection(n) : nullptr;
        };
        if (!a.tabelle()) {
            if (kreis) {
                for (int i = 1; i <= 9; ++i)
                    if (SeriesSpec* s = reihe(i)) s->LegendText = gTypbezeichnung[i];
            } else {
                for (std::size_t i = 0; i < w.texte.size(); ++i)
                    if (SeriesSpec* s = reihe(static_cast<int>(i) + 1)) s->LegendText = LabelTxt(w.texte[i]) + "  ";
            }
        } else if (kreis) {
            // The slices of an answer-table pie are the types (a column) or the answer values (a
            // row); the table's own title stands under the pie.
            for (int i = 1; i <= 9; ++i)
                if (SeriesSpec* s = reihe(i)) s->LegendText = kreisstueck(i);
        } else if (SeriesSpec* s = reihe(1)) {
            s->LegendText = a.titel;
        }
        if (a.zweiPersonen()) {
            // Each of the two series is named by its person, so the two can be told apart.
            const std::string wert = LabelTxt(w.texte[0]);
            if (SeriesSpec* s = reihe(1)) s->LegendText = name(a.vergleich) + ": " + wert;
            if (SeriesSpec* s = reihe(2)) s->LegendText = name(a.person) + ": " + wert;
        }
        m_chart.ShowLegend = true;
    });
}

std::string ChartZeichnung::kreisstueck(int i) const {
    if (m_anfrage.diagrammArt != 11) return gTypbezeichnung[i];
    return i <= 5 ? LabelTxt(157) + " " + std::to_string(i - 1) : std::string();
}

void ChartZeichnung::ShowTypeLabel() {
    if (m_chart.ChartType == VtChChartType2dPie) return;
    if (m_anfrage.diagrammArt == 11) {
        for (int r = 1; r <= 5; ++r) m_chart.DataGrid.setRowLabel(r, 1, std::to_string(r - 1));
    } else {
        for (int r = 1; r <= 9; ++r) m_chart.DataGrid.setRowLabel(r, 1, gTypbezeichnung[r]);
    }
}

std::string ChartZeichnung::ueberschrift() const {
    const ChartPerson& p = m_anfrage.person;
    if (!m_anfrage.zweiPersonen()) return name(p) + " / " + p.testdatum;
    const ChartPerson& v = m_anfrage.vergleich;
    return name(v) + " / " + v.testdatum + " " + LabelTxt(371) + " " + name(p) + " / " + p.testdatum;
}

void ChartZeichnung::ShowUeberschrift() {
    const std::string titel = ueberschrift();
    if (titelInDieOptionen) optionen().Text1.setText(titel);
    m_chart.setTitleText(titel);
}

void ChartZeichnung::ShowAchsenbeschriftung() {
    AxisTitleSpec& titel = m_chart.Plot.Axis(VtChAxisIdX).AxisTitle;
    titel.Text = LabelTxt(126);
    if (m_anfrage.diagrammArt == 11) titel.Text = LabelTxt(157);
    if (m_chart.ChartType == VtChChartType2dPie) {
        if (m_anfrage.tabelle()) m_chart.setRowLabel(m_anfrage.titel);
        else if (!gruppiert(m_wertewahl)) m_chart.setRowLabel(LabelTxt(spaltenwahl(m_wertewahl).texte[0]));
    }
}

void ChartZeichnung::ShowFussnote() { m_chart.setFootnoteText(optionen().Text2.Text()); }

void ChartZeichnung::SetDiagramFont() {
    schritt([this] {
        Font* schriften[7] = {&m_chart.Plot.Axis(VtChAxisIdX).AxisTitle.VtFont,
                              &m_chart.Plot.Axis(VtChAxisIdY).Labels(1).VtFont,
                              &m_chart.Plot.Axis(VtChAxisIdY2).Labels(1).VtFont,
                              &m_chart.Plot.Axis(VtChAxisIdX).Labels(1).VtFont,
                              &m_chart.Title.VtFont,
                              &m_chart.Legend.VtFont,
                              &m_chart.Footnote.VtFont};
        for (Font* f : schriften) {
            f->Name = gDiagrammFontname;
            f->Size = static_cast<float>(gDiagrammFontsize);
            if (gDiagrammFontBold && !gDiagrammFontItalic) f->Style = VtFontStyleBold;
            if (!gDiagrammFontBold && gDiagrammFontItalic) f->Style = VtFontStyleItalic;
            if (gDiagrammFontBold && gDiagrammFontItalic) f->Style = VtFontStyleBold | VtFontStyleItalic;
        }
    });
}

// ==================================================================== style

void ChartZeichnung::SetDiagramStyle() {
    schritt([this] {
        frmChartOpt& o = optionen();
        PlotSpec& plot = m_chart.Plot;
        const Colour hinten = plot.Backdrop.Fill.Brush.FillColor;
        // A line the settings switch off is left out; it keeps the plot's colour, as it always had.
        auto verbergen = [&](LinePen& p) {
            p.Style = VtPenStyleNull;
            p.VtColor.Set(hinten.Red, hinten.Green, hinten.Blue);
        };
        Colour achse;
        setzeTeile(achse, farbvariablen(kAchsenfarbe));
        auto achsenfarbe = [&](LinePen& p) { p.VtColor = achse; };

        if (o.Check2[0].Value() != 1) verbergen(plot.Axis(VtChAxisIdY).AxisGrid.MajorPen);
        if (o.Check2[1].Value() != 1) verbergen(plot.Axis(VtChAxisIdX).AxisGrid.MajorPen);
        // Markers: switched on, the first series shows them, and each series of a grouped choice;
        // switched off, no series keeps any.
        if (o.Check3.Value() == 1) {
            const int bis = m_wertewahl == 1 ? 3 : m_wertewahl == 9 ? 5 : 1;
            for (int n = 1; n <= std::min(bis, plot.SeriesCount()); ++n)
                plot.SeriesCollection(n).SeriesMarker.Show = true;
        } else {
            for (int n = 1; n <= plot.SeriesCount(); ++n) plot.SeriesCollection(n).SeriesMarker.Show = false;
        }
        if (o.Check4[0].Value() != 1) verbergen(plot.Axis(VtChAxisIdY2).Pen);
        if (o.Check4[1].Value() != 1) {
            LabelSet& l = plot.Axis(VtChAxisIdY2).Labels(1);
            l.VtFont.VtColor.Set(hinten.Red, hinten.Green, hinten.Blue);
            l.Hide = true;
        }
        plot.View3d.Rotation = static_cast<float>(zahl(o.Combo1.Text(), 30));
        plot.View3d.Elevation = static_cast<float>(std::clamp(zahl(o.Combo2.Text(), 20), 0.0, 90.0));
        plot.Light.AmbientIntensity = static_cast<float>(zahl(o.Combo3.Text(), 70) / 100.0);
        plot.Light.EdgeIntensity = static_cast<float>(zahl(o.Combo4.Text(), 50) / 100.0);
        plot.Light.EdgeVisible = true;
        plot.xGap = static_cast<float>(zahl(o.Combo5.Text(), 10) / 10.0);
        if (o.Check5.Value() == 1) m_chart.Stacking = true;
        if (o.Check2[1].Value() == 1) achsenfarbe(plot.Axis(VtChAxisIdX).AxisGrid.MajorPen);
        if (o.Check2[0].Value() == 1) achsenfarbe(plot.Axis(VtChAxisIdY).AxisGrid.MajorPen);
        achsenfarbe(plot.Axis(VtChAxisIdY2).AxisGrid.MajorPen);
        achsenfarbe(plot.Axis(VtChAxisIdX).Pen);
        achsenfarbe(plot.Axis(VtChAxisIdY).Pen);
        if (o.Check4[0].Value() == 1) achsenfarbe(plot.Axis(VtChAxisIdY2).Pen);
        const float breite = static_cast<float>(zahl(o.Combo6.Text(), 5));
        for (int a : {VtChAxisIdX, VtChAxisIdY, VtChAxisIdY2}) plot.Axis(a).Pen.Width = breite;
        for (int a : {VtChAxisIdX, VtChAxisIdY, VtChAxisIdY2}) plot.Axis(a).AxisGrid.MajorPen.Width = breite;
    });
}
