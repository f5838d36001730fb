#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <QProcess>
#include <QTemporaryDir>

#include "support/vb_error.h"
#include "platform/draw/metafile_writer.h"
#include "platform/draw/picture_box.h"
#include "platform/vb/error.h"

using draw::PictureBox;

namespace {
QColor pixelAtTwips(const PictureBox& box, double x, double y) {
    return box.Image().image().pixelColor(static_cast<int>(x / 15), static_cast<int>(y / 15));
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);
}  // namespace

TEST(PictureBox, DrawingSurvivesResizingHidingAndIsWhatTheWidgetShows) {
    PictureBox box;
    box.setSizeTwips(6000, 4500);
    box.setBackColor(0xFFFFFF);
    box.Line(1500, 1500, 3000, 3000, 0x0000FF, true, true);  // red as a VB colour
    box.show();
    box.setSizeTwips(600, 600);  // smaller than the drawing
    box.hide();
    box.setSizeTwips(6000, 4500);
    EXPECT_EQ(pixelAtTwips(box, 2250, 2250), kRed);
    EXPECT_EQ(pixelAtTwips(box, 4500, 2250), kWhite);
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(150, 150), kRed);
    EXPECT_EQ(box.Image().image().size(), QSize(400, 300));

    // Growing shows the back colour in the new part; drawing there is kept as well.
    box.setSizeTwips(9000, 4500);
    box.Line(7000, 0, 8000, 1000, 0xFF0000, true, true);
    EXPECT_EQ(pixelAtTwips(box, 6750, 2250), kWhite);
    EXPECT_EQ(pixelAtTwips(box, 7500, 500), kBlue);
}

TEST(PictureBox, AControlPaintsItselfIntoTheImageEvenWhenHidden) {
    QWidget control;
    control.resize(60, 40);
    control.setAutoFillBackground(true);
    QPalette pal = control.palette();
    pal.setColor(QPalette::Window, kBlue);
    control.setPalette(pal);  // never shown

    PictureBox box;
    box.setSizeTwips(1500, 1500);
    box.setBackColor(0xFFFFFF);
    box.RenderControl(control);
    EXPECT_EQ(pixelAtTwips(box, 15 * 59, 15 * 39), kBlue);
    EXPECT_EQ(pixelAtTwips(box, 15 * 61, 15 * 10), kWhite);
    // Made the picture, the control's image stays through Cls.
    box.setPicture(box.Image());
    box.Cls();
    EXPECT_EQ(pixelAtTwips(box, 15 * 30, 15 * 20), kBlue);
}

TEST(PictureBox, LinesBoxesAndCirclesUseTheirColoursAndFill) {
    PictureBox box;
    box.setSizeTwips(6000, 6000);
    box.setBackColor(0xFFFFFF);
    box.setFillStyle(0);
    box.setFillColor(0xFF0000);
    box.Line(300, 300, 1500, 1500, 0x0000FF, true);  // red frame, blue fill
    EXPECT_EQ(pixelAtTwips(box, 900, 900), kBlue);
    EXPECT_EQ(pixelAtTwips(box, 300, 900), kRed);
    EXPECT_DOUBLE_EQ(box.CurrentX(), 1500);

    box.setFillStyle(1);
    box.setDrawWidth(3);
    box.Circle(3000, 3000, 1500, 0x0000FF);
    EXPECT_EQ(pixelAtTwips(box, 3000, 3000), kWhite);  // not filled
    EXPECT_EQ(pixelAtTwips(box, 4500, 3000), kRed);    // on the rim
    EXPECT_EQ(pixelAtTwips(box, 3000, 1500), kRed);
    // An ellipse half as high: the rim at 750 above the centre, nothing at 1500.
    box.Cls();
    box.Circle(3000, 3000, 1500, 0x0000FF, {}, {}, 0.5);
    EXPECT_EQ(pixelAtTwips(box, 3000, 2250), kRed);
    EXPECT_EQ(pixelAtTwips(box, 3000, 1500), kWhite);
    EXPECT_EQ(errorOf([&] { box.setDrawWidth(0); }), vb::err::InvalidPropertyValue);
}

TEST(PictureBox, SavedImageIsA24BitWindowsBitmapThatOutsideToolsRead) {
    QTemporaryDir dir;
    PictureBox box;
    box.setSizeTwips(1500, 750);
    box.setBackColor(0xFFFFFF);
    box.Line(0, 0, 750, 750, 0x0000FF, true, true);
    const QString path = dir.filePath("ZUVAktuelleSeite.bmp");
    box.SavePicture(path.toStdString());

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(54);
    ASSERT_EQ(head.size(), 54);
    EXPECT_EQ(head.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(head[28]), 24);   // bits per pixel
    EXPECT_EQ(static_cast<uint8_t>(head[18]), 100);  // width in pixels

    QProcess identify;
    identify.start("identify", {"-format", "%m %w %h %z", path});
    ASSERT_TRUE(identify.waitForFinished(30000));
    EXPECT_EQ(identify.readAllStandardOutput().trimmed(), QByteArray("BMP3 100 50 8"));

    // Read back it is the same picture; saving again replaces the file.
    const draw::Picture back = draw::LoadPicture(path.toStdString());
    EXPECT_NEAR(back.widthTwips(), 1500, 1);
    EXPECT_EQ(back.image().pixelColor(10, 10), kRed);
    EXPECT_EQ(back.image().pixelColor(90, 10), kWhite);
    box.Cls();
    box.SavePicture(path.toStdString());
    EXPECT_EQ(draw::LoadPicture(path.toStdString()).image().pixelColor(10, 10), kWhite);

    EXPECT_EQ(errorOf([&] { box.SavePicture(dir.filePath("fehlt/bild.bmp").toStdString()); }), vb::err::FolderNotFound);
    EXPECT_EQ(errorOf([&] { draw::SavePicture(draw::Picture(), path.toStdString()); }), vb::err::InvalidPicture);
}

TEST(PictureBox, LoadPictureReadsBitmapsAndMetafilesAndReportsBadFiles) {
    QTemporaryDir dir;
    draw::MetafileWriter w(100, 100, 100);  // one inch square
    w.selectObject(w.createBrush(draw::MetafileWriter::BrushSolid, 0xFF0000));
    w.rectangle(0, 0, 100, 100);
    w.save(dir.filePath("zuv_symb_blau.wmf").toStdString());
    QFile bad(dir.filePath("kaputt.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM kein Bild");
    bad.close();

    const std::string folder = dir.path().toStdString();
    EXPECT_EQ(errorOf([&] { draw::LoadPicture(folder + "\\zuv_symb_druckkopf.bmp"); }), vb::err::FileNotFound);
    EXPECT_EQ(errorOf([&] { draw::LoadPicture(folder + "\\kaputt.bmp"); }), vb::err::InvalidPicture);
    EXPECT_TRUE(draw::LoadPicture("").isNull());

    PictureBox box;
    box.setAutoSize(true);
    box.LoadPicture(folder + "\\ZUV_SYMB_BLAU.WMF");
    ASSERT_TRUE(box.Picture().isMetafile());
    EXPECT_EQ(box.size(), QSize(96, 96));  // the box took the picture's size
    EXPECT_NEAR(box.ScaleWidth(), 1440, 0.01);
    EXPECT_EQ(pixelAtTwips(box, 700, 700), kBlue);

    // PaintPicture scales into the given rectangle on another box.
    PictureBox target;
    target.setSizeTwips(3000, 3000);
    target.setBackColor(0xFFFFFF);
    target.PaintPicture(box.Picture(), 1500, 1500, 750, 750);
    EXPECT_EQ(pixelAtTwips(target, 1800, 1800), kBlue);
    EXPECT_EQ(pixelAtTwips(target, 1200, 1800), kWhite);
    EXPECT_EQ(pixelAtTwips(target, 2400, 1800), kWhite);
    EXPECT_EQ(errorOf([&] { target.PaintPicture(draw::Picture(), 0, 0); }), vb::err::InvalidPicture);
}
