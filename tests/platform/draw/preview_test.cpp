#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/draw/metafile_writer.h"
#include "platform/draw/picture.h"
#include "platform/draw/picture_box.h"
#include "platform/draw/printer.h"

using draw::PictureBox;

namespace {

bool isReddish(const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

// The print preview: an invisible page picture of the printer's size is drawn on in the
// printer's coordinates and copied at a scale into the picture the person sees, which moves
// inside its viewport as the scroll bars go.
TEST(Preview, ThePagePictureIsCopiedAtAScaleAndMovedInTwips) {
    draw::Printer& printer = draw::printer();
    QWidget viewport;
    viewport.resize(600, 500);
    PictureBox page(&viewport), shown(&viewport);
    page.setScaleMode(printer.ScaleMode());
    page.setSizeTwips(printer.Width(), printer.Height());
    page.setBackColor(0xFFFFFF);
    page.setVisible(false);
    EXPECT_FALSE(page.Visible());
    // A red block in the page's upper left quarter, as the engine would draw at printer places.
    page.Line(1000, 1200, 2287, 2487, 0x0000FF, true, true);
    page.setCurrentY(3000);
    page.Print({draw::Tab(10), "Typ 1"});

    const double factor = 2.0;
    shown.setSizeTwips(page.Width() / factor, page.Height() / factor);
    shown.setBackColor(0xFFFFFF);
    shown.PaintPicture(page.Image(), 0, 0, page.Width() / factor, page.Height() / factor);
    const QImage half = shown.Image().image();
    EXPECT_TRUE(isReddish(half.pixelColor(int((1000 + 640) / 15 / factor), int((1200 + 640) / 15 / factor))));
    EXPECT_EQ(half.pixelColor(int(5000 / 15 / factor), int(1800 / 15 / factor)), QColor(255, 255, 255));

    // Layout and scrolling in twips: centred with top 100, then moved left by half its width.
    shown.Move((viewport.width() * 15 - shown.Width()) / 2, 100);
    EXPECT_NEAR(shown.Top(), 100, 15);
    EXPECT_NEAR(shown.Left(), (9000 - shown.Width()) / 2, 15);
    shown.setLeft(-(50 / 100.0) * shown.Width());
    EXPECT_NEAR(shown.Left(), -shown.Width() / 2, 15);
    EXPECT_NEAR(shown.x(), -shown.width() / 2.0, 1);
    // Moving keeps the picture.
    EXPECT_EQ(shown.Image().image(), half);

    // Zooming in resizes the shown picture; what was painted stays and is painted again larger.
    shown.setWidth(page.Width() / 0.95);
    shown.setHeight(page.Height() / 0.95);
    EXPECT_NEAR(shown.Width(), page.Width() / 0.95, 15);
}

// The reader's letterhead symbol: a metafile painted on the printed page at 1000, 1200.
TEST(Preview, APrintedMetafileLandsAtItsPlaceOnTheSheet) {
    QTemporaryDir dir;
    draw::MetafileWriter w(100, 100);
    const int brush = w.createBrush(draw::MetafileWriter::BrushSolid, 0x0000FF);
    w.selectObject(brush);
    const int pen = w.createPen(draw::MetafileWriter::PenNull, 0, 0);
    w.selectObject(pen);
    w.rectangle(0, 0, 100, 100);
    const std::string wmf = dir.filePath("zuv_symb_druckkopf.wmf").toStdString();
    w.save(wmf);

    const QString pdf = dir.filePath("kopf.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf.toStdString());
    pr.setPaperSize(9);
    pr.setOrientation(1);
    pr.PaintPicture(draw::LoadPicture(wmf), 1440, 2880, 1440, 1440);  // one inch square, 1 in from the left, 2 down
    pr.EndDoc();

    // 72 dpi raster: one point per pixel, 1 inch = 72 pixels.
    QProcess p;
    p.start("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, dir.filePath("kopf")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QImage sheet(dir.filePath("kopf.png"));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_TRUE(isReddish(sheet.pixelColor(108, 180)));
    EXPECT_FALSE(isReddish(sheet.pixelColor(60, 180)));
    EXPECT_FALSE(isReddish(sheet.pixelColor(108, 230)));
}

}  // namespace
