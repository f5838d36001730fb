#include "desk/charts/chart_druckbilder.h"

void ChartDruckbilderEintragen() {}
