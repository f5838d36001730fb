#pragma once

// The chart commands the main window (and the assistant, the answer table, the options dialog)
// runs, and the few things of the main window that the chart windows touch.

#include <array>
#include <cstdint>
#include <string>

namespace forms {
class Form;
}
class frmChart;
struct ChartAnfrage;

// The chart of the current person (menu item, toolbar, start assistant, the options' OK): the
// person is scored and ranked again, then a new chart window shows their scores.
void GrafikauswertungAnzeigen();
// The chart of two persons, once both are chosen (gVergleichPersonID the first, the current person
// the second): choices a two-person chart cannot draw are replaced in the options dialog, then a
// new chart window compares the two persons' stored results.
void DateivergleichAnzeigen();
// A new chart window for the request, kept in gChartFenster, with label text 153 (one person, an
// answer-table chart) or 225 (two persons) as its caption; nullptr when the limit of result
// windows refuses it (the limit's message has been shown then).
frmChart* NeuesChartFenster(const ChartAnfrage& anfrage);
// The answer table's chart of a column (kind 10: the nine types' values) or a row (kind 11: a
// type's five counts), titled `titel`, standing at `stelle` of the table (ChartAnfrage's
// tabellenstelle); the chart print item goes on once the window opened.
frmChart* TabellenchartAnzeigen(int16_t art, const std::array<int16_t, 10>& werte, const std::string& titel,
                                int16_t stelle = 0);

// The chart options dialog: loaded hidden when a person becomes current; shown, not modal.
void frmChartOptLaden();
void frmChartOptZeigen();
// The options' OK while a chart window is active: it closes and a chart of the current person
// opens with the new settings.
void ChartNeuZeichnen(forms::Form& aktiv);

// ---- the main window, as the chart windows see it
void DruckMenueGrafik(bool an);
void DruckMenueVergleich(bool an);
// The chart print items by the chart pictures there are in the data folder.
void DruckMenueNachBildern();
// Tiled side by side for one result window, cascaded for more.
void ChildWindowsAnordnen();
// The start assistant's chart step done: the type descriptions are next.
void AssistentChartSchritt();
