#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "support/vb_error.h"
#include "platform/draw/metafile.h"
#include "platform/draw/metafile_writer.h"
#include "platform/vb/error.h"

using draw::Metafile;
using draw::MetafileWriter;

namespace {
// A picture like the enneagram symbol: a blue ring, a red filled triangle, a green box,
// a black polyline, all on a 1000 x 1000 unit frame.
MetafileWriter symbolLike() {
    MetafileWriter w(1000, 1000, 1000);
    const int ring = w.createPen(MetafileWriter::PenSolid, 20, 0xFF0000);  // blue as a VB colour
    const int none = w.createBrush(MetafileWriter::BrushNull, 0);
    w.selectObject(ring);
    w.selectObject(none);
    w.ellipse(100, 100, 900, 900);
    const int red = w.createBrush(MetafileWriter::BrushSolid, 0x0000FF);
    w.selectObject(red);
    w.polygon({{500, 150}, {800, 700}, {200, 700}});
    const int green = w.createBrush(MetafileWriter::BrushSolid, 0x00FF00);
    w.selectObject(green);
    w.rectangle(20, 20, 80, 80);
    const int black = w.createPen(MetafileWriter::PenSolid, 0, 0x000000);
    w.selectObject(black);
    w.polyline({{0, 999}, {500, 950}, {999, 999}});
    w.deleteObject(red);
    return w;
}

QColor at(const QImage& img, int x, int y) { return img.pixelColor(x, y); }
}  // namespace

TEST(Metafile, WriterOutputIsPlayedBackAtTheRightPlacesAndColours) {
    const auto bytes = symbolLike().bytes();
    // Placeable header key and the checksum over its first ten words.
    ASSERT_GE(bytes.size(), 22u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[3], 0x9A);
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    EXPECT_EQ(sum, static_cast<uint16_t>(bytes[20] | (bytes[21] << 8)));

    const Metafile m = Metafile::fromBytes(bytes);
    EXPECT_DOUBLE_EQ(m.widthTwips(), 1440.0);  // 1000 units at 1000 per inch
    EXPECT_DOUBLE_EQ(m.heightTwips(), 1440.0);

    const QImage img = m.toImage(QSize(200, 200));
    EXPECT_EQ(at(img, 100, 100), QColor(255, 0, 0));  // inside the triangle
    EXPECT_EQ(at(img, 10, 10), QColor(0, 255, 0));    // the box
    EXPECT_EQ(at(img, 100, 20), QColor(0, 0, 255));   // top of the ring
    EXPECT_EQ(at(img, 100, 170), QColor(Qt::white));  // ring not filled (null brush)
    EXPECT_EQ(at(img, 190, 100), QColor(Qt::white));  // outside
}

TEST(Metafile, DrawsIntoTheGivenRectangleOnly) {
    const Metafile m = Metafile::fromBytes(symbolLike().bytes());
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    m.draw(p, QRectF(200, 0, 200, 200));
    p.end();
    EXPECT_EQ(at(img, 300, 100), QColor(255, 0, 0));
    for (int x = 0; x < 195; x += 7)
        for (int y = 0; y < 200; y += 7) ASSERT_EQ(at(img, x, y), QColor(Qt::white)) << x << "," << y;
}

TEST(Metafile, MissingAndDamagedFilesRaiseTheirErrors) {
    QTemporaryDir dir;
    EXPECT_EQ(errorOf([&] { Metafile::load(dir.filePath("fehlt.wmf").toStdString()); }), vb::err::FileNotFound);

    QFile f(dir.filePath("text.wmf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Dies ist kein Bild, sondern Text.");
    f.close();
    EXPECT_EQ(errorOf([&] { Metafile::load(f.fileName().toStdString()); }), vb::err::InvalidPicture);

    auto bytes = symbolLike().bytes();
    EXPECT_EQ(errorOf([&] {
                  Metafile::fromBytes({bytes.begin(), bytes.begin() + bytes.size() / 2});
              }),
              vb::err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { Metafile::fromBytes({}); }), vb::err::InvalidPicture);
    // A polygon record that claims more points than it holds.
    MetafileWriter w(100, 100);
    w.polygon({{0, 0}, {50, 0}, {50, 50}});
    bytes = w.bytes();
    const size_t countAt = bytes.size() - 6 - 10 * 2 + 6;  // count word of the polygon record
    bytes[countAt] = 100;
    EXPECT_EQ(errorOf([&] { Metafile::fromBytes(bytes); }), vb::err::InvalidPicture);
    EXPECT_EQ(errorOf([&] { w.selectObject(3); }), vb::err::InvalidProcedureCall);
}

TEST(Metafile, NamesAreFoundWithoutRegardToCaseAndBackslashes) {
    QTemporaryDir dir;
    symbolLike().save(dir.filePath("zuv_symb_blau.wmf").toStdString());
    const std::string asked = QDir::toNativeSeparators(dir.path()).toStdString() + "\\ZUV_SYMB_Blau.wmf";
    EXPECT_NO_THROW(Metafile::load(asked));
    EXPECT_EQ(errorOf([&] { symbolLike().save(dir.filePath("nicht/da.wmf").toStdString()); }), vb::err::FolderNotFound);
}

TEST(Metafile, OutsideReaderAcceptsTheWrittenFile) {
    QTemporaryDir dir;
    const QString wmf = dir.filePath("zuv_symb_test.wmf");
    const QString svg = dir.filePath("zuv_symb_test.svg");
    symbolLike().save(wmf.toStdString());
    QProcess proc;
    proc.start("wmf2svg", {"-o", svg, wmf});
    ASSERT_TRUE(proc.waitForFinished(30000));
    EXPECT_EQ(proc.exitCode(), 0) << proc.readAllStandardError().toStdString();
    QFile out(svg);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("ellipse", Qt::CaseInsensitive));
    EXPECT_TRUE(text.contains("polygon", Qt::CaseInsensitive) || text.contains("path", Qt::CaseInsensitive));
}
