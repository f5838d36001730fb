#include "platform/draw/picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <filesystem>

#include "platform/draw/metafile.h"
#include "platform/files/file_io.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace draw {

namespace {
// Bitmaps count in screen pixels of 15 twips whatever resolution their file claims, so a box
// sized to a bitmap and the bitmap saved from a box keep the same size.
constexpr double kTwipsPerPixel = 15.0;
}  // namespace

Picture Picture::fromImage(const QImage& image) {
    Picture p;
    if (!image.isNull()) p.m_image = std::make_shared<const QImage>(image);
    return p;
}

Picture Picture::fromMetafile(const Metafile& metafile) {
    Picture p;
    p.m_metafile = std::make_shared<const Metafile>(metafile);
    return p;
}

double Picture::widthTwips() const {
    if (m_metafile) return m_metafile->widthTwips();
    if (m_image) return m_image->width() * kTwipsPerPixel;
    return 0;
}

double Picture::heightTwips() const {
    if (m_metafile) return m_metafile->heightTwips();
    if (m_image) return m_image->height() * kTwipsPerPixel;
    return 0;
}

QImage Picture::image() const {
    if (m_image) return *m_image;
    if (m_metafile) {
        const QSize size(std::max(1, qRound(widthTwips() / kTwipsPerPixel)),
                         std::max(1, qRound(heightTwips() / kTwipsPerPixel)));
        return m_metafile->toImage(size);
    }
    return {};
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    if (m_metafile) {
        m_metafile->draw(painter, target);
    } else if (m_image) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        // A PDF keeps the bitmap as it is: a figure's thin lines and small figures blur in JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        // A bitmap drawn for print shown far smaller (a preview) is made smaller as a whole first:
        // the painter's own scaling would skip pixels and break up its thin lines and small texts.
        const QSize ziel = painter.transform().mapRect(target).size().toSize();
        if (ziel.width() > 0 && ziel.height() > 0 && ziel.width() * 2 < m_image->width())
            painter.drawImage(target, m_image->scaled(ziel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        else painter.drawImage(target, *m_image);
        painter.restore();
    }
}

Picture LoadPicture(const std::string& path) {
    if (path.empty()) return {};
    const std::string p = files::resolve(path);
    const QString name = QString::fromStdString(p);
    const QFileInfo info(name);
    if (!info.exists() || info.isDir())
        throw vb::Error(vb::err::FileNotFound, vb::errorDescription(vb::err::FileNotFound) + ": " + p);
    files::refuseHeldFile(p);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(vb::err::InvalidPicture, vb::errorDescription(vb::err::InvalidPicture) + ": " + p);
    const QByteArray bytes = file.readAll();
    const bool placeable = bytes.size() >= 4 && static_cast<uint8_t>(bytes[0]) == 0xD7 &&
                           static_cast<uint8_t>(bytes[1]) == 0xCD && static_cast<uint8_t>(bytes[2]) == 0xC6 &&
                           static_cast<uint8_t>(bytes[3]) == 0x9A;
    const bool plainMetafile = bytes.size() >= 4 && (bytes[0] == 1 || bytes[0] == 2) && bytes[1] == 0 && bytes[2] == 9 &&
                               bytes[3] == 0;
    if (placeable || plainMetafile)
        return Picture::fromMetafile(Metafile::fromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end())));
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw vb::Error(vb::err::InvalidPicture, vb::errorDescription(vb::err::InvalidPicture) + ": " + p);
    return Picture::fromImage(image);
}

void SavePicture(const Picture& picture, const std::string& path) {
    if (picture.isNull())
        throw vb::Error(vb::err::InvalidPicture,
                        vb::errorDescription(vb::err::InvalidPicture) + ": kein Bild zum Speichern");
    const std::string p = files::resolve(path);
    const std::filesystem::path fp(p);
    std::error_code ec;
    if (fp.has_parent_path() && !std::filesystem::is_directory(fp.parent_path(), ec))
        throw vb::Error(vb::err::FolderNotFound,
                        vb::errorDescription(vb::err::FolderNotFound) + ": " + fp.parent_path().string());
    // 24 bits per pixel, the form every reader of Windows bitmaps accepts.
    const QImage rgb = picture.image().convertToFormat(QImage::Format_RGB888);
    files::refuseHeldFile(p);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !rgb.save(&buffer, "BMP"))
        throw vb::Error(vb::err::PathFileAccessError, vb::errorDescription(vb::err::PathFileAccessError) + ": " + p);
    // Through the program's own writes: a full disk leaves no truncated picture under the name.
    files::FileReplacement out(p);
    out.write(bytes.constData(), static_cast<size_t>(bytes.size()));
    out.commit();
}

}  // namespace draw
