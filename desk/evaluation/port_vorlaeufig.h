#pragma once
// TEMPORARY until the main-window port offers these; removed at the next merge of main.
#include "desk/common/main_window_port.h"
enum class DruckMenue { Enneagramm, Grafik, Auswertung, Statistik, Tabelle, Dateivergleich };
inline void DruckMenueAn(DruckMenue, bool) {}
inline void AssistentNachVorn() {
    if (hauptfenster()) hauptfenster()->assistentFokus();
}
