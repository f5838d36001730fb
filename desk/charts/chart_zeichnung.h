#pragma once

// What a chart shows and the steps that draw it, apart from any window.
//
// A chart request is a plain value made once, when the chart is asked for: the kind of chart, the
// persons, the values of an answer-table chart, the answer values to chart and the data file. A
// chart window keeps the request it was made with and draws from it alone, so a later request
// (another window, the answer table, a comparison) cannot change what an open window shows or
// which picture it leaves for the report. The look (chart type, scale, switches, colours, font,
// 3-D view) comes from the chart options dialog, which holds the stored chart configuration.
//
// Drawing without a window, e.g. for the report:
//
//     ChartAnfrage a = ChartAnfrageAusZustand(1, 0);  // the current person's scores
//     a.wertewahl = 1;                                 // grouped answer values, whatever the dialog says
//     chart::Chart c;
//     ChartZeichnen(c, a);                             // throws vb::Error where it cannot draw
//     c.paint(painter, rect);                          // any device: image, printer, PDF

#include <array>
#include <cstdint>
#include <string>

#include "platform/chart/chart.h"
#include "platform/db/data_control.h"

struct ChartPerson {
    int32_t id = 0;
    std::string vorname, nachname, testdatum;
    bool operator==(const ChartPerson&) const = default;
};

struct ChartAnfrage {
    // 1 the scores of persons, 10 a column of the answer table, 11 a row of it.
    int16_t diagrammArt = 1;
    // 1 when two persons are set side by side (kind 1 only).
    int16_t dateivergleich = 0;
    // Kind 10: positions 1..9 the types' values; kind 11: positions 1..5 the counts of answer
    // values 0..4. The table's title of the choice goes with them.
    std::array<int16_t, 10> werte{};
    std::string titel;
    // Where in the answer table they stand: kind 10 the column (1..5 the answer values 0..4, 6 the
    // total), kind 11 the type's row (1..9); 0 for values of no known place.
    int16_t tabellenstelle = 0;
    // The chosen answer values, as the options dialog's Option3 index (0 all … 9 grouped 0 to 4).
    int wertewahl = 0;
    // The current person; of a comparison the person chosen second.
    ChartPerson person;
    // The person chosen first of a comparison.
    ChartPerson vergleich;
    // The data file that holds the persons' results.
    std::string datenbank;

    bool tabelle() const { return diagrammArt == 10 || diagrammArt == 11; }
    bool zweiPersonen() const { return !tabelle() && dateivergleich == 1; }
    bool operator==(const ChartAnfrage&) const = default;
};

// A request of that kind made from the program's state now: the current person (gAktPersonID,
// gAktPerson), for a comparison the person kept in gVergleichPersonID/gVergleichPerson, for an
// answer-table chart gDiagrammWerte and gDiagrammTitel, the open data file and the options
// dialog's answer-value choice.
ChartAnfrage ChartAnfrageAusZustand(int16_t diagrammArt, int16_t dateivergleich);

// The Option3 index of the chart options dialog; none chosen counts as all answer values.
int GewaehlteWertewahl();

// The steps that fill a chart from a request and give it its look, in the order a chart window
// runs them. The window's chart control or a bare chart alike; nothing here paints.
class ChartZeichnung {
public:
    // Melden: each trapped step shows the standard error box and the drawing goes on or ends as
    // a chart window's does, a person without results is named in a message box. Werfen: the first
    // error of any step, and a person without results, is thrown to the caller.
    enum class Fehler { Melden, Werfen };

    ChartZeichnung(chart::Chart& chart, const ChartAnfrage& anfrage, Fehler fehler, db::DataControl& data1,
                   db::DataControl& data2);

    // The Option1 choice as chart type.
    void SetChartType();
    // Data, backdrop, labels, titles, colours, font and style.
    void DrawChart();
    void ShowLegend();
    void ShowTypeLabel();
    void ShowUeberschrift();
    void ShowAchsenbeschriftung();
    void ShowFussnote();
    void SetDiagramFont();
    void SetDiagramStyle();

    const ChartAnfrage& anfrage() const { return m_anfrage; }
    // The values of an answer-table chart, taken anew from the person's scores now.
    void tabellenwerteSetzen(const std::array<int16_t, 10>& werte) { m_anfrage.werte = werte; }
    // The title a chart of this request carries: the person (first name, surname, test date), or
    // both persons joined by label text 371.
    std::string ueberschrift() const;
    // The answer-value choice the data was drawn with (a pie or a comparison charts the totals
    // for a grouped choice).
    int wertewahl() const { return m_wertewahl; }
    // A window also leaves the title it drew in the options dialog's title box.
    bool titelInDieOptionen = false;

private:
    // The name of slice i of a pie: a type, or an answer value of an answer-table row.
    std::string kreisstueck(int i) const;
    template <class F>
    void schritt(F&& f);
    void personenwerte(db::DataControl& d, const ChartPerson& p, int reihe, std::vector<std::vector<int16_t>>& reihen,
                       std::vector<int16_t>& kreiswerte);

    chart::Chart& m_chart;
    ChartAnfrage m_anfrage;
    Fehler m_fehler;
    db::DataControl& m_data1;
    db::DataControl& m_data2;
    int m_wertewahl = 0;
};

// The whole drawing of a request onto `chart` without a window: SetChartType, then DrawChart, with
// every error thrown (vb::Error). The options dialog is loaded hidden if it is not, so the stored
// chart configuration applies; its title box is left as it is.
void ChartZeichnen(chart::Chart& chart, const ChartAnfrage& anfrage);
