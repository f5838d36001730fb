#pragma once

#include <memory>
#include <string>

#include <QImage>
#include <QRectF>

class QPainter;

namespace draw {

class Metafile;

// A picture as the programs pass it around: a bitmap or a metafile, or nothing (the empty
// picture of LoadPicture("")). Copies share the picture.
class Picture {
public:
    Picture() = default;
    static Picture fromImage(const QImage& image);
    static Picture fromMetafile(const Metafile& metafile);

    bool isNull() const { return !m_image && !m_metafile; }
    bool isMetafile() const { return static_cast<bool>(m_metafile); }
    // Natural size in twips: bitmaps 15 twips per pixel, metafiles by their header.
    double widthTwips() const;
    double heightTwips() const;
    // The picture as a bitmap: a bitmap as it is, a metafile drawn at its natural size at 96 dpi.
    QImage image() const;
    void draw(QPainter& painter, const QRectF& target) const;

private:
    std::shared_ptr<const QImage> m_image;
    std::shared_ptr<const Metafile> m_metafile;
};

// Loads a Windows bitmap, a metafile or a PNG/JPEG picture, by content, not by extension.
// "" gives the empty picture. vb::Error 53 when the file is missing, 481 when it is no picture.
// "\" in the path is taken as "/", and names are matched without regard to case.
Picture LoadPicture(const std::string& path);

// Writes the picture as a Windows bitmap (24 bits per pixel), replacing an existing file.
// vb::Error 76 when the folder is missing, 75 when the file cannot be written, 481 for an
// empty picture.
void SavePicture(const Picture& picture, const std::string& path);

}  // namespace draw
