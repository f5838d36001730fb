#pragma once

// A report laid out into pages: what stands where on each sheet, in twips from the sheet's top
// left corner. The same pages are painted into the preview, onto a printer and into a PDF file.

#include <string>
#include <vector>

#include <QFont>
#include <QRectF>

#include "platform/draw/picture.h"
#include "platform/report/report.h"

class QPainter;

namespace draw {
class Printer;
}

namespace report {

struct PrintContext {
    std::string date;  // what the date fields show ("dd.mm.yyyy")
};

// One thing drawn on a sheet.
struct Item {
    enum class Type { Text, Line, Box, Picture };
    Type type = Type::Text;
    // Text: x is where the text starts, y the top of its line, w its width, h the line height.
    // Line: from (x, y) to (x + w, y + h). Box and picture: the rectangle.
    double x = 0, y = 0, w = 0, h = 0;
    std::string text;
    TextFont font;
    int32_t color = 0;     // 0x00BBGGRR; the fill of a filled box
    double thickness = 0;  // lines and box borders, twips
    bool filled = false;
    draw::Picture picture;
    double ascent = 0;  // text: from the top of the line to the baseline
    // Text of a page-number field: the box it is aligned in once the number is known.
    double boxLeft = 0, boxWidth = 0;
    Align align = Align::Left;
};

class Document {
public:
    // Lays the report out: page header and footer on every sheet, the other sections one after
    // the other, a sheet filled up continuing on the next. Errors: a picture file that cannot be
    // read (53, 481); a layout whose header and footer leave no room (DamagedLayout).
    static Document layout(const Report& report, const PrintContext& context = {});

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    double pageWidth() const { return m_page.width; }
    double pageHeight() const { return m_page.height; }
    // The printable area: the sheet without its margins.
    QRectF contentRect() const;
    // The items of a sheet, from 0.
    const std::vector<Item>& page(int index) const;

    // Paints a sheet onto a painter whose origin is the sheet's top left corner.
    void paint(QPainter& painter, int index, double pixelsPerTwip) const;

    // The text of a sheet as a reader sees it: pieces on one line joined by a blank where a gap
    // lies between them (pieces of one word in several fonts join directly), lines from top to
    // bottom.
    std::vector<std::string> pageLines(int index) const;

private:
    PageSetup m_page;
    std::vector<std::vector<Item>> m_pages;
};

// Prints every sheet as one document on the printer (the chosen printer or its PDF file) and
// ends the document; after a failure nothing half-printed stays queued.
void print(const Document& document, draw::Printer& printer);

// The font as the engine measures and draws it: its pixel size counts twips.
QFont qfont(const TextFont& font);

}  // namespace report
