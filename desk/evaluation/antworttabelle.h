#pragma once

// The answer table's cells, as the answer table window shows them and as the report prints them:
// for each type the number of its statements rated 0 to 4 and its total score.

#include <array>
#include <string>

#include <QImage>

#include "desk/testing/auswertung.h"

namespace forms {
class Grid;
}

struct Antwortzellen {
    // Row 0 the headings, column 0 the type names.
    std::array<std::array<std::string, 7>, 10> text;

    // From the program-wide arrays of the last scoring.
    static Antwortzellen aktuelle();
    // The cells of a person scored on its own (not the current one).
    static Antwortzellen aus(const zuvtest::Punkte& p);
    // Fills a grid of 10 rows and 7 columns and styles its heading row and column: the heading row
    // left to right, then the heading column top to bottom, then columns 1 to 5 and last column 6.
    void fuellen(forms::Grid& g) const;
};

// The narrowest column and row of a grid that hold its texts in bold.
int TabellenMindestspalte(const forms::Grid& g);
int TabellenMindestzeile(const forms::Grid& g);

// The table drawn for the report's sheet: laid out at the sheet's width, its texts at their own
// size, at print resolution; the exchange bitmap "ZUVTabelle.bmp".
QImage AntworttabelleFuerDruck(const Antwortzellen& t);
