#pragma once

// The chart window: a child window of the main window, made anew for each request, showing one
// chart of the nine types' values (or of an answer-table row's five counts) on the chart control.
// It reads the live settings of the chart options dialog when it loads and keeps no settings of
// its own; on each activation it leaves its picture as a bitmap in the data folder for the report.
//
// A creator sets the program-wide request first (gDiagrammArt 1 with gDateivergleich 0 or 1, or
// gDiagrammArt 10/11 with gDiagrammWerte and gDiagrammTitel), asks CanOpenChildWindow, then sets
// the caption (label text 153, or 225 for two persons), which loads the window and draws it.

#include <array>
#include <cstdint>
#include <string>

#include "platform/chart/chart_control.h"
#include "platform/db/data_control.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/form.h"

class frmChart : public forms::Form {
public:
    frmChart();

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

    // The chart's data and look (called by Form_Load, in this order).
    void SetChartType();
    void DrawChart();
    void ShowLegend();
    void ShowTypeLabel();
    void ShowUeberschrift();
    void ShowAchsenbeschriftung();
    void ShowFussnote();
    void SetDiagramFont();
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

    // What the window was asked to draw, kept from its load: it decides the picture the window
    // leaves for the report, and for whom.
    struct Anfrage {
        int16_t diagrammArt = 1;
        int16_t dateivergleich = 0;
        std::array<int16_t, 10> werte{};
        std::string titel;
        int32_t personID = 0;
    };
    const Anfrage& anfrage() const { return m_anfrage; }
    // The exchange bitmap this window writes on activation ("" for none): by its own chart, not
    // by what the options dialog shows at that moment.
    std::string bildDatei() const;
    // The chart as the exchange bitmap holds it.
    QImage bild();

private:
    void farbeFuer(chart::Colour& ziel);
    void schriftFuer(chart::Font& ziel);
    void bitmapSchreiben(const std::string& datei);

    Anfrage m_anfrage;
    int m_wertewahl = 0;  // the Option3 choice the chart was drawn with
    std::string m_bildFehler;  // a bitmap that could not be written is reported once
};
