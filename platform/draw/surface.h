#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <QFont>
#include <QString>

#include "platform/draw/picture.h"
#include "platform/vb/variant.h"

class QPainter;
class QFontMetricsF;
class QPaintDevice;

namespace draw {

// ---- Items of a Print -----------------------------------------------------------------------
//
// Print works like the programs' Print statement: a list of items printed from the current
// position, one after the other without space (the ";" separator), then either the line ends
// (CurrentY moves down by one text height, CurrentX goes back to the left edge) or it is left
// open for the next Print:
//
//     s.Print({draw::Tab(2), "Summe:", draw::Num(-7)});            // Print Tab(2); "Summe:"; -7
//     s.Print({draw::Tab(10), text}, draw::LineEnd::Open);          // Print Tab(10); text;
//     s.Print({"a", draw::Zone(), "b"});                            // Print "a", "b"
//     s.Print();                                                    // Print  (ends / empty line)
//
// Tab(n) moves to print column n, where column 1 is the left edge and a column is the average
// character width of the current font; when the position is already past the column, the item
// goes to column n of the next line. Zone() is the "," separator: the next print zone of 14
// columns. Spc(n) moves on by n blanks. A carriage return or line feed inside a text ends the
// line there (a CR LF pair ends it once).
//
// A number item (Num, or a plain int or double) prints the language's way: a blank in place of
// the sign of a non-negative number ("-" for a negative one), its digits, one trailing blank.

enum class LineEnd { Newline, Open };

struct Tab {
    explicit Tab(int n) : column(n) {}
    int column;
};
struct Spc {
    explicit Spc(int n) : count(n) {}
    int count;
};
struct Zone {};

struct Num {
    explicit Num(long long v) : integer(v), isInteger(true) {}
    explicit Num(int v) : integer(v), isInteger(true) {}
    explicit Num(long v) : integer(v), isInteger(true) {}
    explicit Num(double v) : real(v) {}
    explicit Num(float v) : real(v), single(true) {}
    std::string text() const;  // " 12 ", "-7 ", " ,5 " (decimal separator of the locale)

    long long integer = 0;
    double real = 0;
    bool isInteger = false;
    bool single = false;
};

class Item {
public:
    enum class Kind { Text, Tab, Spc, Zone };
    Item(const char* text) : m_text(text ? text : "") {}
    Item(std::string text) : m_text(std::move(text)) {}
    Item(const QString& text) : m_text(text.toStdString()) {}
    Item(Tab t) : m_kind(Kind::Tab), m_n(t.column) {}
    Item(Spc s) : m_kind(Kind::Spc), m_n(s.count) {}
    Item(Zone) : m_kind(Kind::Zone) {}
    Item(Num n) : m_text(n.text()) {}
    Item(int v) : Item(Num(v)) {}
    Item(long v) : Item(Num(static_cast<long long>(v))) {}
    Item(long long v) : Item(Num(v)) {}
    Item(double v) : Item(Num(v)) {}
    Item(float v) : Item(Num(v)) {}
    Item(bool) = delete;  // say Num or text
    // A value as the language prints it: numbers as Num, text as is, Null as "Null", Empty as "".
    Item(const vb::Variant& v);

    Kind kind() const { return m_kind; }
    const std::string& text() const { return m_text; }
    int n() const { return m_n; }

private:
    Kind m_kind = Kind::Text;
    std::string m_text;
    int m_n = 0;
};

// ---- Fonts and the text log -----------------------------------------------------------------

struct FontSpec {
    std::string name = "Arial";
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// One printed piece of text: where it landed, in twips from the top left corner of the page
// (or picture), whatever the scale; its width in twips; the font it was printed in.
struct LogEntry {
    int doc = 1;  // the printer's document (a new one after each EndDoc); 1 on pictures
    int page = 1;
    double x = 0;
    double y = 0;
    double width = 0;
    std::string text;
    std::string fontName;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int32_t color = 0;
};

// ---- The surface ------------------------------------------------------------------------------

// The one drawing model of picture boxes, the printer and the preview. Positions are in the
// units of ScaleMode (1 twips, the default; 3 pixels; 2 points, 5 inches, 6 millimetres,
// 7 centimetres; 0 a scale of one's own, set through ScaleWidth/ScaleHeight), measured from
// ScaleLeft/ScaleTop at the top left corner. Colours are the language's colour values
// (0x00BBGGRR; 0x800000nn are system colours). Width and Height are always twips.
class Surface {
public:
    Surface();
    virtual ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Scale. Setting ScaleMode to a standard unit puts ScaleLeft and ScaleTop back to 0.
    int ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int mode);  // 380 for an unknown mode
    double ScaleLeft() const { return m_scaleLeft; }
    void setScaleLeft(double v) { m_scaleLeft = v; }
    double ScaleTop() const { return m_scaleTop; }
    void setScaleTop(double v) { m_scaleTop = v; }
    double ScaleWidth() const;
    void setScaleWidth(double v);  // a scale of one's own (ScaleMode 0); 380 for 0
    double ScaleHeight() const;
    void setScaleHeight(double v);

    double CurrentX() const;
    void setCurrentX(double x);
    double CurrentY() const;
    void setCurrentY(double y);

    // Font: the whole of it at once, or one property at a time.
    FontSpec Font() const { return m_font; }
    void setFont(const FontSpec& f);
    void setFont(const std::string& name, double size, bool bold, bool italic);
    std::string FontName() const { return m_font.name; }
    void setFontName(const std::string& v);
    double FontSize() const { return m_font.size; }
    void setFontSize(double v);  // 380 for a size that is not above 0
    bool FontBold() const { return m_font.bold; }
    void setFontBold(bool v);
    bool FontItalic() const { return m_font.italic; }
    void setFontItalic(bool v);
    bool FontUnderline() const { return m_font.underline; }
    void setFontUnderline(bool v);

    int32_t ForeColor() const { return m_foreColor; }
    void setForeColor(int32_t c) { m_foreColor = c; }
    int32_t BackColor() const { return m_backColor; }
    virtual void setBackColor(int32_t c) { m_backColor = c; }
    int32_t FillColor() const { return m_fillColor; }
    void setFillColor(int32_t c) { m_fillColor = c; }
    int FillStyle() const { return m_fillStyle; }  // 0 solid, 1 transparent (default), 2-7 hatches
    void setFillStyle(int s) { m_fillStyle = s; }
    int DrawWidth() const { return m_drawWidth; }  // pixels of the device
    void setDrawWidth(int w);                      // 380 below 1
    int DrawStyle() const { return m_drawStyle; }  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none, 6 inside
    void setDrawStyle(int s) { m_drawStyle = s; }

    // Text.
    void Print(std::initializer_list<Item> items = {}, LineEnd end = LineEnd::Newline);
    void Print(const std::vector<Item>& items, LineEnd end = LineEnd::Newline);
    double TextWidth(const std::string& text) const;   // the widest line
    double TextHeight(const std::string& text) const;  // one line height per line
    double averageCharWidth() const;                   // one print column, in scale units

    // Graphics. A colour of -1 means ForeColor. Line sets CurrentX/Y to the end point,
    // Circle to the centre. Circle: start/end in radians (a negative value draws the radius
    // to it too), aspect = height / width.
    void Line(double x1, double y1, double x2, double y2, int32_t color = -1, bool box = false, bool filled = false);
    void Circle(double x, double y, double radius, int32_t color = -1, std::optional<double> start = {},
                std::optional<double> end = {}, double aspect = 1.0);
    // The picture at (x, y), w x h in scale units (its own size when not given).
    void PaintPicture(const Picture& picture, double x, double y, std::optional<double> w = {},
                      std::optional<double> h = {});

    // Pages. Cls clears a picture (and its text log); NewPage, EndDoc and KillDoc belong to
    // the printer. Other surfaces answer them with error 438.
    virtual void Cls();
    virtual void NewPage();
    virtual void EndDoc();
    virtual void KillDoc();
    int Page() const { return m_page; }

    // Size of the page or picture in twips.
    double Width() const;
    double Height() const;

    // A preview surface shows pages of another surface (the printer) at its own resolution: it
    // takes that surface's page size and measures text on that surface's device, scaled to its
    // own pixels, and draws each text at the width so measured. Lines then break and pages end as
    // they do on paper, to the twip, whatever this surface's resolution. nullptr ends it. The
    // surface previewed must outlive the preview.
    void setPreviewOf(const Surface* page);
    const Surface* previewOf() const { return m_previewOf; }

    // What was printed where.
    const std::vector<LogEntry>& log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    // The lines of one page as a reader sees them: pieces at the same height joined left to
    // right, a single blank where a gap lies between two pieces; lines from top to bottom.
    std::vector<std::string> pageLines(int page, int doc = 1) const;

protected:
    // Device of the surface: what fonts are measured on, its size and resolution.
    virtual const QPaintDevice& metricsDevice() const = 0;
    virtual QSizeF pageSizePixels() const = 0;
    // A painter ready to draw on the current page (device pixels, origin at the top left).
    virtual QPainter& painter() = 0;
    // Called after something was drawn (a picture box shows it).
    virtual void drawn() {}

    double dpiX() const;
    double dpiY() const;
    QColor color(int32_t c) const;
    void setPage(int p) { m_page = p; }
    void setDoc(int d) { m_doc = d; }
    int doc() const { return m_doc; }
    void homePosition();  // CurrentX = CurrentY = 0
    const QFont& qfont() const;

private:
    // Pixels per unit of the scale mode, across (x) or down (y) the page.
    double pxPerUnit(bool across) const;
    double pxPerUnitX() const { return pxPerUnit(true); }
    double pxPerUnitY() const { return pxPerUnit(false); }
    double toPxX(double ux) const { return (ux - m_scaleLeft) * pxPerUnitX(); }
    double toPxY(double uy) const { return (uy - m_scaleTop) * pxPerUnitY(); }
    double toUnitsW(double px) const { return px / pxPerUnitX(); }
    double toUnitsH(double px) const { return px / pxPerUnitY(); }
    // The page in this surface's pixels: the previewed surface's page on a preview.
    QSizeF pagePixels() const;
    // Text is laid out on this device: the previewed surface's, else the surface's own. Its pixels
    // times layoutScaleX/Y are this surface's pixels.
    const QPaintDevice& layoutDevice() const;
    double layoutScaleX() const;
    double layoutScaleY() const;
    double advancePx(const QFontMetricsF& fm, const QString& text) const;
    double lineHeightPx() const;
    double avgCharPx() const;
    void endLine();
    void printText(const std::string& text);
    void drawPiece(const QString& piece);
    // The piece in runs from `origin` (its top left), in the pixels `fm` measures in.
    void drawRuns(QPainter& p, const QFontMetricsF& fm, const QString& piece, QPointF origin) const;
    QPen linePen(int32_t color) const;
    QBrush fillBrush() const;

    int m_scaleMode = 1;
    double m_scaleLeft = 0, m_scaleTop = 0;
    double m_userWidth = 0, m_userHeight = 0;  // ScaleMode 0
    double m_x = 0, m_y = 0;                   // current position in device pixels
    FontSpec m_font;
    mutable std::optional<QFont> m_qfont;
    const Surface* m_previewOf = nullptr;
    int32_t m_foreColor = 0;
    int32_t m_backColor = 0xFFFFFF;
    int32_t m_fillColor = 0;
    int m_fillStyle = 1;
    int m_drawWidth = 1;
    int m_drawStyle = 0;
    int m_page = 1;
    int m_doc = 1;
    std::vector<LogEntry> m_log;
};

}  // namespace draw
