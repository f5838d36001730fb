#include "desk/charts/frm_chart.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

#include "desk/charts/chart_druckbilder.h"
#include "desk/charts/chart_farben.h"
#include "desk/charts/chart_fenster.h"
#include "desk/charts/frm_chart_opt.h"
#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/recordset.h"
#include "platform/draw/picture.h"
#include "platform/forms/host.h"
#include "platform/vb/color.h"
#include "platform/vb/strings.h"

using namespace chart;

frmChart::frmChart(const ChartAnfrage& anfrage)
    : forms::Form("frmChart"), m_zeichnung(MSChart1, anfrage, ChartZeichnung::Fehler::Melden, Data1, Data2) {
    m_zeichnung.titelInDieOptionen = true;
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

frmChart::~frmChart() { BewertungsbeobachterAustragen(this); }

// ==================================================================== life cycle

void frmChart::Form_Load() {
    BewertungsbeobachterEintragen(this, [this](int32_t id) {
        if (isLoaded() && (id == anfrage().person.id || (anfrage().zweiPersonen() && id == anfrage().vergleich.id)))
            mitFehlerfalle([this] { nachfuehren(); });
    });
    // The chart reads the persons' result rows as its opener left them; answers stored from now on
    // have them scored anew.
    m_antwortstand = antwortstaende();
    mitFehlerfalle([this] {
        setCaption(LabelTxt(anfrage().zweiPersonen() ? 225 : 153));
        SetChartType();
        DrawChart();
    });
    // What the chart was drawn from: once that changes, the report draws the chart anew.
    m_stand = DruckbildStand();
}

std::vector<int32_t> frmChart::personen() const {
    // A chart of the answer table whose values stand nowhere known keeps them.
    if (anfrage().tabelle() && anfrage().tabellenstelle == 0) return {};
    std::vector<int32_t> p{anfrage().person.id};
    if (anfrage().zweiPersonen()) p.push_back(anfrage().vergleich.id);
    return p;
}

std::string frmChart::antwortstaende() const {
    std::string stand;
    for (int32_t id : personen()) stand += ErgebnisfensterAntwortstand(id) + '|';
    return stand;
}

bool frmChart::ergebnisseNachfuehren() {
    if (personen().empty()) return false;
    std::string jetzt;
    for (int32_t id : personen()) jetzt += Antwortstand(id) + '|';
    if (jetzt == m_antwortstand) return false;
    for (int32_t id : personen()) {
        zuvtest::Punkte p;
        if (id == gAktPersonID) {
            AuswertungNachfuehren();
            p.antwortAnzahl = gAntwortAnzahlJeTyp.flat;
            p.gesamt = gTypgesamtsummeJeTyp;
        } else {
            p = PersonFuerSichAuswerten(id).auswertung.punkte;
        }
        if (anfrage().tabelle()) m_zeichnung.tabellenwerteSetzen(tabellenwerte(p));
    }
    m_antwortstand = jetzt;
    return true;
}

std::array<int16_t, 10> frmChart::tabellenwerte(const zuvtest::Punkte& p) const {
    // As the answer table shows them: column c (answer value c - 1, or the total) of each type,
    // or row r (a type) of each answer value.
    std::array<int16_t, 10> werte{};
    const int stelle = anfrage().tabellenstelle;
    if (anfrage().diagrammArt == 10)
        for (int typ = 1; typ <= 9; ++typ) werte[typ] = stelle == 6 ? p.gesamt[typ] : p.anzahl(typ, stelle);
    else
        for (int k = 1; k <= 5; ++k) werte[k] = p.anzahl(stelle, k);
    return werte;
}

void frmChart::nachfuehren() {
    if (!ergebnisseNachfuehren()) return;
    DrawChart();
    m_stand = DruckbildStand();
}

void frmChart::Form_Resize() { MSChart1.setGeometry(0, 0, width(), height()); }

std::string frmChart::bildDatei() const {
    if (anfrage().zweiPersonen()) return "ZUVVergleich.bmp";
    // A chart of the answer table is no chart of the report: it leaves the person's pictures alone.
    if (anfrage().tabelle()) return {};
    const int wahl = m_zeichnung.wertewahl();
    if (wahl == 0) return "ZUVGrafik1.bmp";
    if (wahl == 1) return "ZUVGrafik2.bmp";
    return "ZUVGrafik3.bmp";
}

QImage frmChart::bild() {
    mitFehlerfalle([this] { nachfuehren(); });
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
    if (gAktPersonID != anfrage().person.id) return;
    const std::string pfad = gAppPath + "\\" + datei;
    // Drawn for the report's sheet, the two-person chart as the others; the window keeps the
    // screen's picture for the clipboard.
    try {
        bild();
        draw::SavePicture(draw::Picture::fromImage(ChartFuerDruck(MSChart1)), pfad);
        if (!anfrage().zweiPersonen()) DruckbildVermerken(datei, anfrage().datenbank, anfrage().person.id, m_stand);
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
        nachfuehren();
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

void frmChart::SetChartType() { m_zeichnung.SetChartType(); }

void frmChart::DrawChart() {
    m_zeichnung.DrawChart();
    MSChart1.Refresh();
}

void frmChart::SetDiagramStyle() { m_zeichnung.SetDiagramStyle(); }

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
