#pragma once

// The chart window: a child window of the main window, made anew for each request, showing one
// chart of the nine types' values (or of an answer-table row's five counts) on the chart control.
// It is made with its whole request (what to chart, for whom) and draws from that alone; the look
// comes from the live settings of the chart options dialog when it loads. On each activation it
// leaves its picture as a bitmap in the data folder for the report.
//
// A creator makes the window with its request, asks CanOpenChildWindow, then sets the caption
// (label text 153, or 225 for two persons), which loads the window and draws it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "desk/charts/chart_zeichnung.h"
#include "desk/testing/auswertung.h"
#include "platform/chart/chart_control.h"
#include "platform/db/data_control.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/form.h"

class frmChart : public forms::Form {
public:
    explicit frmChart(const ChartAnfrage& anfrage);
    ~frmChart() override;

    chart::ChartControl MSChart1;
    draw::PictureBox Picture1;  // receives the chart for the exchange bitmap
    forms::CommonDialog dlgChart;
    db::DataControl Data1, Data2;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    // The size a chart window takes when the main window cascades it.
    QSize sizeHint() const override { return MSChart1.sizeHint(); }

    // The chart's type, then its data and look (Form_Load), and its style again after the plot's
    // colour changed; the steps themselves are the window's ChartZeichnung's.
    void SetChartType();
    void DrawChart();
    void SetDiagramStyle();

    // Double-clicks on the chart's elements.
    void MSChart1_ChartActivated();
    void MSChart1_PlotActivated();
    void MSChart1_SeriesActivated(int series);
    void MSChart1_TitleActivated();
    void MSChart1_FootnoteActivated();
    void MSChart1_LegendActivated();
    void MSChart1_AxisTitleActivated(int axisId, int axisIndex);
    void MSChart1_AxisLabelActivated(int axisId, int axisIndex, int labelSetIndex, int labelIndex);

    // What the window was asked to draw: it decides the data, the legend, the titles and the
    // picture the window leaves for the report, and for whom.
    const ChartAnfrage& anfrage() const { return m_zeichnung.anfrage(); }
    // The exchange bitmap this window writes on activation ("" for none): by its own chart, not
    // by what the options dialog shows at that moment.
    std::string bildDatei() const;
    // The chart as the exchange bitmap holds it.
    QImage bild();
    // The chart made to follow the answers of its persons as stored now: their result rows scored
    // anew and the chart drawn anew when they changed. On activation, for the clipboard and when a
    // rating of one of them is stored. A chart of the answer table takes its column or row of the
    // table anew from its person's scores.
    void nachfuehren();

private:
    // The persons' result rows scored anew when their answers changed; true when they did.
    bool ergebnisseNachfuehren();
    // The persons whose answers the chart shows, and the fingerprints of their answers.
    std::vector<int32_t> personen() const;
    std::string antwortstaende() const;
    // The values of an answer-table chart at its place of the table, from those scores.
    std::array<int16_t, 10> tabellenwerte(const zuvtest::Punkte& p) const;
    void farbeFuer(chart::Colour& ziel);
    void schriftFuer(chart::Font& ziel);
    void bitmapSchreiben(const std::string& datei);

    ChartZeichnung m_zeichnung;
    std::string m_bildFehler;    // a bitmap that could not be written is reported once
    std::string m_stand;         // the sources of the chart when the window drew it (DruckbildStand)
    std::string m_antwortstand;  // the answers of its persons the chart was drawn from
};
