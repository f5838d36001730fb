#pragma once

// The screen, the mouse pointer, the clipboard and colour values as the programs use them.

#include "platform/host/screen_area.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <string>

class QWidget;

namespace draw {
class Picture;
}

namespace forms {

class Screen {
public:
    // Size of the primary screen in twips.
    static int Width();
    static int Height();
    // 15 at 96 dpi.
    static int TwipsPerPixelX();
    static int TwipsPerPixelY();
    // 11 hourglass, 0 default; applies to every window of the program.
    static int MousePointer();
    static void setMousePointer(int pointer);
};

Qt::CursorShape cursorShapeFor(int pointer);

// Clipboard formats with the numbers the programs pass.
inline constexpr int vbCFText = 1;
inline constexpr int vbCFBitmap = 2;
inline constexpr int vbCFMetafile = 3;
inline constexpr int vbCFDIB = 8;

class Clipboard {
public:
    static void Clear();
    static void SetText(const std::string& text);
    static std::string GetText();
    // A picture for the bitmap formats (2, 8) or a metafile (3, drawn as a bitmap for other
    // programs); the text format and unknown formats raise 461 / 380.
    static void SetData(const QImage& image, int format = vbCFBitmap);
    static void SetData(const draw::Picture& picture, int format = vbCFBitmap);
    // The picture on the clipboard (a null image when it holds none).
    static QImage GetData(int format = vbCFBitmap);
    // Whether the clipboard holds data of the format.
    static bool GetFormat(int format);
};

// A copy of what a window part shows: the rectangle `pixels` of the widget's own area, with its
// child controls, exactly that size. Parts of the rectangle outside the widget come out in the
// widget's background colour (never undefined pixels).
QImage CaptureArea(QWidget& widget, const QRect& pixels);

// Colours are Longs with red in the lowest byte.
inline int32_t RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
inline int GetRed(int32_t c) { return c & 0xFF; }
inline int GetGreen(int32_t c) { return (c >> 8) & 0xFF; }
inline int GetBlue(int32_t c) { return (c >> 16) & 0xFF; }
// The 16 basic colours 0..15; raises 5 outside.
int32_t QBColor(int index);
inline QColor toQColor(int32_t c) { return QColor(GetRed(c), GetGreen(c), GetBlue(c)); }
inline int32_t fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// Reads a picture file: "" gives an empty picture, a missing file error 53, a file that is no
// readable picture error 481.
QImage LoadPicture(const std::string& path);

}  // namespace forms
