#include "platform/forms/screen.h"

#include "platform/draw/picture.h"
#include "platform/files/held_files.h"

#include "platform/host/local_path.h"
#include "platform/vb/error.h"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QScreen>

#include <cmath>

namespace forms {

namespace {
int g_pointer = 0;

double dpiX() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}
double dpiY() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}
}  // namespace

int Screen::TwipsPerPixelX() { return std::max(1, static_cast<int>(std::lround(1440.0 / dpiX()))); }
int Screen::TwipsPerPixelY() { return std::max(1, static_cast<int>(std::lround(1440.0 / dpiY()))); }

int Screen::Width() {
    QScreen* s = QGuiApplication::primaryScreen();
    return (s ? s->geometry().width() : 1024) * TwipsPerPixelX();
}
int Screen::Height() {
    QScreen* s = QGuiApplication::primaryScreen();
    return (s ? s->geometry().height() : 768) * TwipsPerPixelY();
}

int Screen::MousePointer() { return g_pointer; }

void Screen::setMousePointer(int pointer) {
    if (pointer == g_pointer) return;
    if (g_pointer != 0) QApplication::restoreOverrideCursor();
    g_pointer = pointer;
    if (pointer != 0) QApplication::setOverrideCursor(QCursor(cursorShapeFor(pointer)));
}

void Clipboard::Clear() { QGuiApplication::clipboard()->clear(); }

void Clipboard::SetText(const std::string& text) { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); }

std::string Clipboard::GetText() { return QGuiApplication::clipboard()->text().toStdString(); }

namespace {
void checkPictureFormat(int format) {
    if (format == vbCFText) throw vb::Error(vb::err::FormatNotFitting, "Das Format passt nicht zu den Daten.");
    if (format != vbCFBitmap && format != vbCFMetafile && format != vbCFDIB)
        throw vb::Error(vb::err::InvalidPropertyValue);
}
}  // namespace

void Clipboard::SetData(const QImage& image, int format) {
    checkPictureFormat(format);
    QGuiApplication::clipboard()->setImage(image);
}

void Clipboard::SetData(const draw::Picture& picture, int format) {
    checkPictureFormat(format);
    if (picture.isNull()) throw vb::Error(vb::err::InvalidPicture);
    QGuiApplication::clipboard()->setImage(picture.image());
}

QImage Clipboard::GetData(int format) {
    checkPictureFormat(format);
    return QGuiApplication::clipboard()->image();
}

bool Clipboard::GetFormat(int format) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return false;
    switch (format) {
    case vbCFText: return data->hasText();
    case vbCFBitmap:
    case vbCFMetafile:
    case vbCFDIB: return data->hasImage();
    default: return false;
    }
}

QImage CaptureArea(QWidget& widget, const QRect& pixels) {
    QImage out(pixels.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    out.fill(widget.palette().color(widget.backgroundRole()));
    const QRect inside = pixels.intersected(widget.rect());
    if (!inside.isEmpty()) {
        QPainter p(&out);
        p.drawPixmap(inside.topLeft() - pixels.topLeft(), widget.grab(inside));
    }
    return out;
}

int32_t QBColor(int index) {
    static constexpr int32_t table[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    if (index < 0 || index > 15) throw vb::Error(vb::err::InvalidProcedureCall);
    return table[index];
}

QImage LoadPicture(const std::string& path) {
    if (path.empty()) return {};
    const QString local = QString::fromStdString(resolveLocalPath(path));
    if (!QFileInfo(local).isFile()) throw vb::Error(vb::err::FileNotFound);
    files::refuseHeldFile(local.toStdString(), path);
    QImageReader reader(local);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull()) return draw::LoadPicture(path).image();  // a metafile, or error 481
    return img;
}

}  // namespace forms
