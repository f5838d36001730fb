#include "desk/charts/frm_chart.h"

#include <QString>

#include <algorithm>
#include <cmath>

#include "desk/charts/chart_farben.h"
#include "desk/charts/chart_fenster.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "platform/db/recordset.h"
#include "platform/draw/picture.h"
#include "platform/forms/host.h"
#include "platform/vb/color.h"
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
const Wertewahl& wertewahl(int i) {
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

frmChartOpt& optionen() { return forms::Default<frmChartOpt>(); }

// The chosen Option3 button; none chosen counts as all answer values.
int gewaehlteWerte() {
    frmChartOpt& o = optionen();
    int wahl = 0;
    for (int i = 0; i < 10; ++i)
        if (o.Option3[i].Value()) wahl = i;
    return wahl;
}

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

}  // namespace

frmChart::frmChart() : forms::Form("frmChart") {
    setMdiChild(true);
    MSChart1.setParent(this);
    MSChart1.setObjectName("MSChart1");
    Picture1.setParent(this);
    Picture1.setObjectName("Picture1");
    Picture1.hide();
    resize(640, 480);
    MSChart1.ChartActivated = [this] { MSChart1_ChartActivated(); };
    MSChart1.PlotActivated = [this] { MSChart1_PlotActivated(); };
    MSChart1.SeriesActivated = [this](int s) { MSChart1_SeriesActivated(s); };
    MSChart1.TitleActivated = [this] { MSChart1_TitleActivated(); };
    MSChart1.FootnoteActivated = [this] { MSChart1_FootnoteActivated(); };
    MSChart1.LegendActivated = [this] { MSChart1_LegendActivated(); };
    MSChart1.AxisTitleActivated = [this](int a, int i) { MSChart1_AxisTitleActivated(a, i); };
    MSChart1.AxisLabelActivated = [this](int a, int i, int s, int l) { MSChart1_AxisLabelActivated(a, i, s, l); };
}

// ==================================================================== life cycle

void frmChart::Form_Load() {
    mitFehlerfalle([this] {
        if (gDateivergleich == 0) setCaption(LabelTxt(153));
        if (gDateivergleich == 1) setCaption(LabelTxt(225));
        m_anfrage.diagrammArt = gDiagrammArt;
        m_anfrage.dateivergleich = gDateivergleich;
        m_anfrage.werte = gDiagrammWerte;
        m_anfrage.titel = gDiagrammTitel;
        m_anfrage.personID = gAktPersonID;
        SetChartType();
        DrawChart();
    });
}

void frmChart::Form_Resize() { MSChart1.setGeometry(0, 0, width(), height()); }

std::string frmChart::bildDatei() const {
    if (m_anfrage.dateivergleich == 1) return "ZUVVergleich.bmp";
    // A chart of the answer table is no chart of the report: it leaves the person's pictures alone.
    if (m_anfrage.diagrammArt == 10 || m_anfrage.diagrammArt == 11) return {};
    if (m_wertewahl == 0) return "ZUVGrafik1.bmp";
    if (m_wertewahl == 1) return "ZUVGrafik2.bmp";
    return "ZUVGrafik3.bmp";
}

QImage frmChart::bild() {
    QSize groesse = MSChart1.size();
    if (groesse.width() < 200 || groesse.height() < 150) groesse = QSize(800, 600);
    const QImage img = MSChart1.toImage(groesse);
    Picture1.setSizeTwips(groesse.width() * 15.0, groesse.height() * 15.0);
    Picture1.setAutoRedraw(true);
    Picture1.setPicture(draw::Picture::fromImage(img));
    Picture1.setAutoRedraw(false);
    return img;
}

void frmChart::bitmapSchreiben(const std::string& datei) {
    // Only while its person is the current one: a window activated while the windows close for the
    // next person must not leave its picture in that person's report.
    if (gAktPersonID != m_anfrage.personID) return;
    const std::string pfad = gAppPath + "\\" + datei;
    try {
        draw::SavePicture(draw::Picture::fromImage(bild()), pfad);
        m_bildFehler.clear();
    } catch (const vb::Error& e) {
        // Reported once for this window: every activation would otherwise bring the box again.
        if (m_bildFehler == pfad) return;
        m_bildFehler = pfad;
        throw vb::Error(e.number(), e.description() + gCrLf + DialogTxt(92));
    }
}

void frmChart::Form_Activate() {
    mitFehlerfalle([this] {
        if (Caption() == LabelTxt(153)) {
            DruckMenueGrafik(true);
            DruckMenueVergleich(false);
            gDateivergleich = 0;
            setWindowState(forms::vbMaximized);
            const std::string datei = bildDatei();
            if (!datei.empty()) bitmapSchreiben(datei);
        }
        if (Caption() == LabelTxt(225)) {
            DruckMenueGrafik(false);
            DruckMenueVergleich(true);
            gDateivergleich = 1;
            bitmapSchreiben(bildDatei());
        }
        ChildWindowsAnordnen();
    });
}

void frmChart::Form_Unload(int&) {
    mitFehlerfalle([] {
        // The print items follow the pictures there are to print, not this one window.
        DruckMenueNachBildern();
        ChildWindowClosed();
        AssistentNachVorn();
    });
}

// ==================================================================== chart type, data, look

void frmChart::SetChartType() {
    frmChartOpt& o = optionen();
    for (int i = 0; i < 9; ++i)
        if (o.Option1[i].Value()) MSChart1.ChartType = kDiagrammtyp[i];
}

void frmChart::DrawChart() {
    mitFehlerfalle([this] {
        frmChartOpt& opt = optionen();
        // Two persons side by side need two series, which a pie cannot show.
        if (gDateivergleich == 1 && MSChart1.ChartType == VtChChartType2dPie) MSChart1.ChartType = VtChChartType2dBar;
        const bool kreis = MSChart1.ChartType == VtChChartType2dPie;
        int wahl = gewaehlteWerte();
        // A pie, and each person of a comparison, has one series: of a grouped choice it shows the
        // total scores.
        if ((kreis || gDateivergleich == 1) && gruppiert(wahl)) wahl = 0;
        m_wertewahl = wahl;
        const Wertewahl& w = wertewahl(wahl);

        std::vector<std::vector<int16_t>> reihen(9, std::vector<int16_t>(1, 0));
        std::vector<int16_t> kreiswerte(9, 0);

        // A person's nine result rows, each placed by its type number (rows of other numbers are
        // left out). A person without rows, or whose rows hold no scores yet (never evaluated:
        // the comparison charts the stored rows as they are), is charted with zeros and named.
        auto ergebnisse = [&](db::DataControl& d, int32_t person, int reihe, const std::string& vorname,
                              const std::string& nachname) {
            d.setDatabaseName(gDatenbankName);
            d.setRecordSource("select * from ergebnis where personid = " + vb::Str(person) + " order by TypNummer");
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
            forms::MsgBox(DialogTxt(93) + vorname + " " + nachname + DialogTxt(zeilen == 0 ? 94 : 95) + DialogTxt(96),
                          forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        };

        if (gDiagrammArt == 10) {
            for (int k = 1; k <= 9; ++k) reihen[k - 1][0] = kreiswerte[k - 1] = gDiagrammWerte[k];
        } else if (gDiagrammArt == 11) {
            reihen.assign(5, std::vector<int16_t>(1, 0));
            for (int k = 1; k <= 5; ++k) reihen[k - 1][0] = kreiswerte[k - 1] = gDiagrammWerte[k];
        } else if (gDateivergleich == 0) {
            if (!kreis && w.spalten.size() > 1)
                for (auto& r : reihen) r.resize(w.spalten.size(), 0);
            ergebnisse(Data1, gAktPersonID, -1, gAktPerson[1], gAktPerson[2]);
        } else if (gDateivergleich == 1) {
            for (auto& r : reihen) r.resize(2, 0);
            ergebnisse(Data1, gVergleichPersonID, 0, gVergleichPerson[1], gVergleichPerson[2]);
            ergebnisse(Data2, gAktPersonID, 1, gAktPerson[1], gAktPerson[2]);
        }

        if (kreis)
            MSChart1.setChartData(kreiswerte);
        else
            MSChart1.setChartData(reihen);

        ScaleSpec& skala = MSChart1.Plot.Axis(VtChAxisIdY).AxisScale;
        if (opt.Option2[0].Value()) {
            skala.Type = VtChScaleTypeLogarithmic;
            skala.LogBase = 10;
        }
        if (opt.Option2[1].Value()) {
            skala.Type = VtChScaleTypePercent;
            skala.PercentBasis = VtChPercentAxisBasisMaxChart;
        }
        if (opt.Option2[2].Value()) skala.Type = VtChScaleTypeLinear;

        MSChart1.Backdrop.Fill.Style = VtFillStyleBrush;
        MSChart1.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        setzeTeile(MSChart1.Backdrop.Fill.Brush.FillColor, farbvariablen(kHintergrundfarbe));
        MSChart1.Plot.Backdrop.Fill.Style = VtFillStyleBrush;
        MSChart1.Plot.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        setzeTeile(MSChart1.Plot.Backdrop.Fill.Brush.FillColor, farbvariablen(kDiagrammHintergrundfarbe));

        if (opt.Check1[0].Value() == 1) ShowLegend();
        if (!kreis) {
            if (opt.Check1[1].Value() == 1)
                ShowTypeLabel();
            else
                for (int r = 1; r <= 9; ++r) MSChart1.DataGrid.setRowLabel(r, 1, "");
        } else {
            MSChart1.DataGrid.setRowLabel(1, 1, "");
        }
        if (opt.Check1[2].Value() == 1) ShowUeberschrift();
        if (opt.Check1[3].Value() == 1) ShowAchsenbeschriftung();
        if (opt.Check1[4].Value() == 1) ShowFussnote();

        const bool linie = isLine(MSChart1.ChartType);
        for (int n = 1; n <= std::min(MSChart1.Plot.SeriesCount(), 9); ++n) {
            SeriesSpec& s = MSChart1.Plot.SeriesCollection(n);
            setzeTeile(linie ? s.Pen.VtColor : s.DataPoints(-1).Brush.FillColor, reihenfarbe(n));
        }
        SetDiagramFont();
        SetDiagramStyle();
        MSChart1.Refresh();
    });
}

void frmChart::ShowLegend() {
    mitFehlerfalle([this] {
        const bool kreis = MSChart1.ChartType == VtChChartType2dPie;
        const int wahl = m_wertewahl;
        const Wertewahl& w = wertewahl(wahl);
        auto reihe = [this](int n) -> SeriesSpec* {
            return n <= MSChart1.Plot.SeriesCount() ? &MSChart1.Plot.SeriesCollection(n) : nullptr;
        };
        if (gDiagrammArt != 10 && gDiagrammArt != 11) {
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
                if (SeriesSpec* s = reihe(i))
                    s->LegendText = gDiagrammArt == 10 ? gTypbezeichnung[i]
                                    : i <= 5           ? LabelTxt(157) + " " + std::to_string(i - 1)
                                                       : std::string();
        } else if (SeriesSpec* s = reihe(1)) {
            s->LegendText = gDiagrammTitel;
        }
        if (gDateivergleich == 1) {
            // Each of the two series is named by its person, so the two can be told apart.
            const std::string wert = LabelTxt(w.texte[0]);
            if (SeriesSpec* s = reihe(1)) s->LegendText = gVergleichPerson[1] + " " + gVergleichPerson[2] + ": " + wert;
            if (SeriesSpec* s = reihe(2)) s->LegendText = gAktPerson[1] + " " + gAktPerson[2] + ": " + wert;
        }
        MSChart1.ShowLegend = true;
    });
}

void frmChart::ShowTypeLabel() {
    if (MSChart1.ChartType == VtChChartType2dPie) return;
    if (gDiagrammArt == 11) {
        for (int r = 1; r <= 5; ++r) MSChart1.DataGrid.setRowLabel(r, 1, std::to_string(r - 1));
    } else {
        for (int r = 1; r <= 9; ++r) MSChart1.DataGrid.setRowLabel(r, 1, gTypbezeichnung[r]);
    }
}

void frmChart::ShowUeberschrift() {
    frmChartOpt& o = optionen();
    if (gDateivergleich == 0) o.Text1.setText(gAktPerson[1] + " " + gAktPerson[2] + " / " + gAktPerson[11]);
    if (gDateivergleich == 1)
        o.Text1.setText(gVergleichPerson[1] + " " + gVergleichPerson[2] + " / " + gVergleichPerson[3] + " " +
                        LabelTxt(371) + " " + gAktPerson[1] + " " + gAktPerson[2] + " / " + gAktPerson[11]);
    MSChart1.setTitleText(o.Text1.Text());
}

void frmChart::ShowAchsenbeschriftung() {
    AxisTitleSpec& titel = MSChart1.Plot.Axis(VtChAxisIdX).AxisTitle;
    titel.Text = LabelTxt(126);
    if (gDiagrammArt == 11) titel.Text = LabelTxt(157);
    if (MSChart1.ChartType == VtChChartType2dPie) {
        if (gDiagrammArt == 10 || gDiagrammArt == 11)
            MSChart1.setRowLabel(gDiagrammTitel);
        else if (!gruppiert(m_wertewahl))
            MSChart1.setRowLabel(LabelTxt(wertewahl(m_wertewahl).texte[0]));
    }
}

void frmChart::ShowFussnote() { MSChart1.setFootnoteText(optionen().Text2.Text()); }

void frmChart::SetDiagramFont() {
    mitFehlerfalle([this] {
        Font* schriften[7] = {&MSChart1.Plot.Axis(VtChAxisIdX).AxisTitle.VtFont,
                              &MSChart1.Plot.Axis(VtChAxisIdY).Labels(1).VtFont,
                              &MSChart1.Plot.Axis(VtChAxisIdY2).Labels(1).VtFont,
                              &MSChart1.Plot.Axis(VtChAxisIdX).Labels(1).VtFont,
                              &MSChart1.Title.VtFont,
                              &MSChart1.Legend.VtFont,
                              &MSChart1.Footnote.VtFont};
        for (Font* f : schriften) {
            f->Name = gDiagrammFontname;
            f->Size = static_cast<float>(gDiagrammFontsize);
            if (gDiagrammFontBold && !gDiagrammFontItalic) f->Style = VtFontStyleBold;
            if (!gDiagrammFontBold && gDiagrammFontItalic) f->Style = VtFontStyleItalic;
            if (gDiagrammFontBold && gDiagrammFontItalic) f->Style = VtFontStyleBold | VtFontStyleItalic;
        }
    });
}

void frmChart::SetDiagramStyle() {
    mitFehlerfalle([this] {
        frmChartOpt& o = optionen();
        PlotSpec& plot = MSChart1.Plot;
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
            for (int n = 1; n <= std::min(bis, plot.SeriesCount()); ++n) plot.SeriesCollection(n).SeriesMarker.Show = true;
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
        if (o.Check5.Value() == 1) MSChart1.Stacking = true;
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

// ==================================================================== element double-clicks

void frmChart::farbeFuer(Colour& ziel) {
    const int32_t c = farbeAusDialog(dlgChart, vb::RGB(ziel.Red, ziel.Green, ziel.Blue));
    ziel.Set(GetRed(c), GetGreen(c), GetBlue(c));
}

void frmChart::schriftFuer(Font& ziel) {
    dlgChart.setCancelError(true);
    dlgChart.setFlags(forms::cdlCFBoth);
    dlgChart.setFontName(ziel.Name);
    dlgChart.setFontSize(ziel.Size);
    dlgChart.setFontBold(ziel.Style & VtFontStyleBold);
    dlgChart.setFontItalic(ziel.Style & VtFontStyleItalic);
    dlgChart.ShowFont();  // a cancel raises 32755, which the standard box passes over
    if (!dlgChart.FontName().empty()) ziel.Name = dlgChart.FontName();
    ziel.Size = vb::CInt(vb::Variant(dlgChart.FontSize()));
    // Regular is a style too: a title made bold can be made plain again.
    ziel.Style = (dlgChart.FontBold() ? VtFontStyleBold : 0) | (dlgChart.FontItalic() ? VtFontStyleItalic : 0);
    MSChart1.Refresh();
}

void frmChart::MSChart1_ChartActivated() {
    mitFehlerfalle([this] {
        farbeFuer(MSChart1.Backdrop.Fill.Brush.FillColor);
        MSChart1.Backdrop.Fill.Style = VtFillStyleBrush;
        MSChart1.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        MSChart1.Refresh();
    });
}

void frmChart::MSChart1_PlotActivated() {
    mitFehlerfalle([this] {
        farbeFuer(MSChart1.Plot.Backdrop.Fill.Brush.FillColor);
        MSChart1.Plot.Backdrop.Fill.Style = VtFillStyleBrush;
        MSChart1.Plot.Backdrop.Fill.Brush.Style = VtBrushStyleSolid;
        SetDiagramStyle();
        MSChart1.Refresh();
    });
}

void frmChart::MSChart1_SeriesActivated(int series) {
    mitFehlerfalle([this, series] {
        SeriesSpec& s = MSChart1.Plot.SeriesCollection(series);
        farbeFuer(isLine(MSChart1.ChartType) ? s.Pen.VtColor : s.DataPoints(-1).Brush.FillColor);
        MSChart1.Refresh();
    });
}

void frmChart::MSChart1_TitleActivated() {
    mitFehlerfalle([this] { schriftFuer(MSChart1.Title.VtFont); });
}

void frmChart::MSChart1_FootnoteActivated() {
    mitFehlerfalle([this] { schriftFuer(MSChart1.Footnote.VtFont); });
}

void frmChart::MSChart1_LegendActivated() {
    mitFehlerfalle([this] { schriftFuer(MSChart1.Legend.VtFont); });
}

void frmChart::MSChart1_AxisTitleActivated(int axisId, int) {
    mitFehlerfalle([this, axisId] { schriftFuer(MSChart1.Plot.Axis(axisId).AxisTitle.VtFont); });
}

void frmChart::MSChart1_AxisLabelActivated(int axisId, int, int, int) {
    mitFehlerfalle([this, axisId] { schriftFuer(MSChart1.Plot.Axis(axisId).Labels(1).VtFont); });
}
