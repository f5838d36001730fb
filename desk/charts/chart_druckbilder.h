#pragma once

// The report's three chart pictures ("ZUVGrafik1.bmp" all answer values, "ZUVGrafik2.bmp" the
// grouped answer values, "ZUVGrafik3.bmp" another choice of the options dialog), drawn for print.

#include <QImage>

namespace chart {
class Chart;
}

// The chart laid out at the size a chart takes on the report's sheet (its printable width, three
// quarters of it high), its texts at their own size, at print resolution.
QImage ChartFuerDruck(const chart::Chart& c);

// Enters the makers of the three pictures, for the report to make a missing one off screen: the
// current person's chart with the stored chart configuration, for the answer values of its picture.
void ChartDruckbilderEintragen();
