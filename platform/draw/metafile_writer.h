#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace draw {

// A point in the logical units of a metafile (16-bit, as the file stores them).
struct WmfPoint {
    int16_t x = 0;
    int16_t y = 0;
};

// Writes a small Windows metafile with a placeable header: pens, brushes, lines, polygons,
// ellipses and rectangles in a logical space of width x height units, where unitsPerInch units
// make one inch. The installer writes the symbol pictures with it; the player (metafile.h)
// and outside tools such as wmf2svg read the result.
//
// Colours are VB colour values (0x00BBGGRR), the layout the file format uses as well.
// Handles are slots of the metafile's object table: each create takes the lowest free slot,
// delete frees it, as a reader of the file replays it.
class MetafileWriter {
public:
    enum PenStyle { PenSolid = 0, PenDash = 1, PenDot = 2, PenDashDot = 3, PenDashDotDot = 4, PenNull = 5 };
    enum BrushStyle { BrushSolid = 0, BrushNull = 1, BrushHatched = 2 };
    enum Hatch {
        HatchHorizontal = 0,
        HatchVertical = 1,
        HatchForwardDiagonal = 2,
        HatchBackwardDiagonal = 3,
        HatchCross = 4,
        HatchDiagonalCross = 5
    };

    MetafileWriter(int16_t width, int16_t height, uint16_t unitsPerInch = 1440);

    int createPen(int style, int width, uint32_t color);
    int createBrush(int style, uint32_t color, int hatch = 0);
    void selectObject(int handle);
    void deleteObject(int handle);

    void moveTo(int16_t x, int16_t y);
    void lineTo(int16_t x, int16_t y);
    void polyline(const std::vector<WmfPoint>& points);
    void polygon(const std::vector<WmfPoint>& points);
    void ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom);
    void rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);

    // The whole file: placeable header, metafile header, records, end record.
    std::vector<uint8_t> bytes() const;
    // Writes the file, replacing an existing one; vb::Error 76 (folder missing) or 75 on failure.
    void save(const std::string& path) const;

private:
    void record(uint16_t function, const std::vector<uint16_t>& params);
    // A point count, then x and y of each point (at most 32,767 points, else error 6).
    void recordPoints(uint16_t function, const std::vector<WmfPoint>& points);
    int takeSlot();

    int16_t m_width;
    int16_t m_height;
    uint16_t m_unitsPerInch;
    std::vector<uint16_t> m_records;  // records as 16-bit words, little-endian on output
    std::vector<bool> m_slots;        // object table: true = in use
    uint32_t m_maxRecordWords = 0;
};

}  // namespace draw
