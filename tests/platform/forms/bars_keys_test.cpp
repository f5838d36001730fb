#include "platform/draw/metafile.h"
#include "platform/draw/metafile_writer.h"
#include "platform/draw/picture.h"
#include "platform/draw/picture_box.h"
#include "platform/draw/printer.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/controls.h"
#include "platform/forms/grid.h"
#include "support/scripted_host.h"
#include "platform/forms/keys.h"
#include "platform/forms/rich_text_box.h"
#include "platform/forms/screen.h"
#include "platform/vb/error.h"
#include "support/gui_input.h"
#include "support/vb_error.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

using namespace forms;

namespace {

int codeOf(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, qtKey, mods);
    return vbKeyCode(&e);
}

// The preview's scroll bars: 0..100, page step 10, line step 1.
TEST(ScrollBarTest, ChangeFollowsEveryNewValueAndDraggingReportsScrollFirst) {
    HScrollBar bar;
    bar.setMax(100);
    bar.setLargeChange(10);
    bar.setSmallChange(1);
    std::vector<int> changes;
    int scrolls = 0;
    bar.Change = [&] { changes.push_back(bar.Value()); };
    bar.Scroll = [&] { ++scrolls; };

    bar.setValue(40);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(changes, (std::vector<int>{40, 50, 49}));

    // Dragging the thumb: Scroll while it moves, one Change when it is let go.
    changes.clear();
    bar.setSliderDown(true);
    bar.setSliderPosition(70);
    bar.setSliderPosition(75);
    EXPECT_EQ(scrolls, 2);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(bar.Value(), 49);
    bar.setSliderDown(false);
    EXPECT_EQ(changes, (std::vector<int>{75}));

    // The page step never carries the value past Max.
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.Value(), 100);

    EXPECT_EQ(errorOf([&] { bar.setValue(101); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { bar.setValue(-1); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { bar.setLargeChange(0); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(bar.Value(), 100);

    // Lowering Max below the value pulls the value down and reports it.
    changes.clear();
    bar.setMax(60);
    EXPECT_EQ(bar.Value(), 60);
    EXPECT_EQ(changes, (std::vector<int>{60}));
}

TEST(PanelTest, BarsTakeComputedValuesAboveHundredAndFractions) {
    Panel3D p;
    p.setFloodShowPct(true);
    p.setFloodPercent(130.4);  // a class sum far above the view's divisor
    EXPECT_EQ(p.FloodPercent(), 130);
    EXPECT_EQ(p.shownText(), "130%");
    p.setFloodPercent(62.5);  // rounded half to even, as the assignment to a whole number does
    EXPECT_EQ(p.FloodPercent(), 62);
    p.setFloodPercent(63.5);
    EXPECT_EQ(p.FloodPercent(), 64);
    EXPECT_EQ(errorOf([&] { p.setFloodPercent(-1); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(p.FloodPercent(), 64);
    p.resize(200, 20);
    const QImage shown = p.grab().toImage();  // a full bar paints without trouble
    EXPECT_FALSE(shown.isNull());
}

TEST(KeysTest, PunctuationUmlautsAndTheNumberBlockHaveTheirOwnCodes) {
    EXPECT_EQ(codeOf(Qt::Key_5), 53);
    EXPECT_EQ(codeOf(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(codeOf(Qt::Key_Comma), 188);
    EXPECT_EQ(codeOf(Qt::Key_Comma, Qt::KeypadModifier), 110);
    EXPECT_EQ(codeOf(Qt::Key_Minus), 189);
    EXPECT_EQ(codeOf(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(codeOf(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(codeOf(Qt::Key_Adiaeresis), 222);
    EXPECT_EQ(codeOf(Qt::Key_Odiaeresis), 192);
    EXPECT_EQ(codeOf(Qt::Key_Exclam, Qt::ShiftModifier), 49);  // Shift+1 is the key of the 1
    EXPECT_EQ(codeOf(Qt::Key_F1), vbKeyF1);
    EXPECT_EQ(codeOf(Qt::Key_F12), vbKeyF1 + 11);
}

// The chart options' number combos: every key is judged on the text before it takes effect; a
// wrong key empties the text but is not cancelled itself.
TEST(KeysTest, EditableComboSeesEveryKeyDownBeforeTheKeyTypes) {
    ComboBox combo(0);
    combo.AddItem("10");
    combo.AddItem("12");
    std::vector<int> seen;
    combo.KeyDown = [&](int& keyCode, int) {
        seen.push_back(keyCode);
        if (combo.Text().size() >= 3 || keyCode < 48 || keyCode > 57) combo.setText("");
    };
    combo.setText("1");
    SendKey(&combo, '2');
    EXPECT_EQ(combo.Text(), "12");
    SendKey(&combo, 188);  // a comma: not a digit
    SendKey(&combo, 101);  // the 5 of the number block counts as wrong as well
    EXPECT_EQ(seen, (std::vector<int>{'2', 188, 101}));
    EXPECT_EQ(combo.Text(), "5");

    // A handler that sets the code to 0 swallows the key.
    combo.KeyDown = [](int& keyCode, int) { keyCode = 0; };
    SendKey(&combo, '7');
    EXPECT_EQ(combo.Text(), "5");
}

TEST(KeysTest, TabIndexOrdersTheTextBoxesWhateverTheirCreationOrder) {
    QWidget window;
    TextBox c(false, &window), b(false, &window), a(false, &window);
    a.setTabIndex(0);
    b.setTabIndex(1);
    c.setTabIndex(2);
    // The editors in the order the Tab key reaches them, starting from the first.
    std::vector<QWidget*> order;
    QWidget* w = a.editor();
    for (int i = 0; i < 20 && order.size() < 3; ++i, w = w->nextInFocusChain())
        if (w == a.editor() || w == b.editor() || w == c.editor()) order.push_back(w);
    EXPECT_EQ(order, (std::vector<QWidget*>{a.editor(), b.editor(), c.editor()}));
    EXPECT_EQ(c.TabIndex(), 2);
    EXPECT_EQ(errorOf([&] { a.setTabIndex(-1); }), vb::err::InvalidPropertyValue);
}

TEST(ClipboardTest, PicturesGoOnTheClipboardAsBitmapsAndFormatsAreReported) {
    Clipboard::Clear();
    EXPECT_FALSE(Clipboard::GetFormat(vbCFBitmap));
    draw::PictureBox box;
    box.setSizeTwips(1500, 750);
    box.setBackColor(0xFFFFFF);
    box.Line(0, 0, 750, 750, 0x0000FF, true, true);
    Clipboard::SetData(box.Image(), vbCFBitmap);
    EXPECT_TRUE(Clipboard::GetFormat(vbCFBitmap));
    EXPECT_TRUE(Clipboard::GetFormat(vbCFDIB));
    const QImage back = Clipboard::GetData(vbCFBitmap);
    ASSERT_EQ(back.size(), QSize(100, 50));
    EXPECT_EQ(back.pixelColor(10, 10), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(90, 10), QColor(255, 255, 255));

    EXPECT_EQ(errorOf([&] { Clipboard::SetData(box.Image(), vbCFText); }), vb::err::FormatNotFitting);
    EXPECT_EQ(errorOf([&] { Clipboard::SetData(draw::Picture(), vbCFBitmap); }), vb::err::InvalidPicture);

    Clipboard::Clear();
    Clipboard::SetText("Zeile\tZelle");
    EXPECT_TRUE(Clipboard::GetFormat(vbCFText));
    EXPECT_FALSE(Clipboard::GetFormat(vbCFBitmap));
}

// The enneagram's figure: a metafile in an image control with a fixed frame.
TEST(ImageTest, AMetafileIsDrawnIntoTheWholeFrameAndLoadsThroughTheFormsLoader) {
    QTemporaryDir dir;
    draw::MetafileWriter w(1000, 1000);
    const int brush = w.createBrush(draw::MetafileWriter::BrushSolid, 0x0000FF);
    w.selectObject(brush);
    const int pen = w.createPen(draw::MetafileWriter::PenNull, 0, 0);
    w.selectObject(pen);
    w.rectangle(500, 500, 1000, 1000);  // the lower right quarter, red
    const std::string file = dir.filePath("Symbol.wmf").toStdString();
    w.save(file);

    const QImage loaded = forms::LoadPicture(dir.filePath("symbol.WMF").toStdString());
    EXPECT_FALSE(loaded.isNull());

    Image image;
    image.setStretch(true);
    image.resize(329, 329);  // 4932 twips
    image.setPicture(draw::LoadPicture(file));
    const QImage shown = image.pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(329, 329));
    EXPECT_EQ(shown.pixelColor(300, 300), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(300, 300).alpha(), 255);
    EXPECT_EQ(shown.pixelColor(30, 30).alpha(), 0);  // outside the drawing the window shows through
}

TEST(PrinterDialogTest, TheChoiceReachesTheProgramWidePrinter) {
    ScriptedHostGuard host;
    draw::Printer& printer = draw::printer();
    const int copiesBefore = printer.Copies();
    const int orientationBefore = printer.Orientation();

    CommonDialog dlg;
    dlg.setCancelError(true);
    dlg.setFlags(cdlPDPrintSetup);
    PrinterChoice p;
    p.printerName = "kein solcher Drucker";
    p.copies = 3;
    p.orientation = 2;
    host->choosePrinter(p);
    dlg.setAction(5);
    EXPECT_EQ(printer.Copies(), 3);
    EXPECT_EQ(printer.Orientation(), 2);
    EXPECT_EQ(host->last(HostRecord::Kind::Printer)->style, cdlPDPrintSetup);

    // Cancel: error 32755 and the printer as it was.
    host->cancelDialog();
    EXPECT_EQ(errorOf([&] { dlg.setAction(5); }), vb::err::CancelError);
    EXPECT_EQ(printer.Copies(), 3);

    PrinterChoice back;
    back.copies = copiesBefore;
    back.orientation = orientationBefore;
    applyToPrinter(back);
    EXPECT_EQ(printer.Orientation(), orientationBefore);
}

}  // namespace

namespace {

// The answer table: 10 x 7 cells without headers, coloured cells with centred text, painted
// into a picture box to be saved.
TEST(GridRenderTest, CellColoursAndCentredTextShowInThePaintedImage) {
    Grid g;
    g.setRows(10);
    g.setCols(7);
    g.setFixedRows(0);
    g.setFixedCols(0);
    for (int c = 0; c < 7; ++c) {
        g.setColWidth(c, 1200);
        g.setColAlignment(c, 4);
        EXPECT_EQ(g.ColAlignment(c), 4);
    }
    for (int r = 0; r < 10; ++r) g.setRowHeight(r, 360);
    g.setTextMatrix(2, 3, "4");
    g.setRow(2);
    g.setCol(3);
    g.setCellBackColor(QBColor(8));
    g.setCellFontBold(true);
    EXPECT_EQ(g.CellBackColor(), RGB(128, 128, 128));
    g.setRow(9);  // the current cell elsewhere, so its highlight does not cover the coloured one
    g.setCol(6);
    EXPECT_EQ(errorOf([&] { g.setColAlignment(0, 10); }), vb::err::InvalidPropertyValue);
    g.resize(7 * 80 + 4, 10 * 24 + 4);

    draw::PictureBox box;
    box.setSizeTwips(g.Width(), g.Height());
    box.setBackColor(0xFFFFFF);
    box.RenderControl(g);
    const QImage img = box.Image().image();

    const QRect cell = g.visualRect(g.model()->index(2, 3)).translated(g.viewport()->mapTo(&g, QPoint(0, 0)));
    EXPECT_EQ(img.pixelColor(cell.left() + 2, cell.top() + 2), QColor(128, 128, 128));
    // The digit's dark pixels sit around the middle of the cell.
    long sumX = 0, count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (img.pixelColor(x, y).lightness() < 60) sumX += x, ++count;
    ASSERT_GT(count, 0);
    EXPECT_NEAR(double(sumX) / count, cell.center().x(), 6);
}

TEST(PictureBoxFocusTest, AClickOrSetFocusGivesTheBoxTheFocusAndRunsGotFocus) {
    QWidget window;
    window.resize(300, 200);
    CommandButton other(&window);
    draw::PictureBox box(&window);
    box.setSizeTwips(3000, 1500);
    box.move(0, 40);
    int got = 0, lost = 0, clicks = 0;
    box.GotFocus = [&] {
        ++got;
        throw vb::Error(vb::err::InvalidProcedureCall);  // shown by the error box, never thrown into the event loop
    };
    box.LostFocus = [&] { ++lost; };
    box.Click = [&] { ++clicks; };
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    ScriptedHostGuard host;
    other.setFocus();
    QApplication::processEvents();

    const QPoint p(20, 20);
    mouseClick(&box, p);
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(got, 1);
    EXPECT_EQ(clicks, 1);

    other.setFocus();
    EXPECT_EQ(lost, 1);
    box.SetFocus();
    EXPECT_EQ(got, 2);
    box.hide();
    EXPECT_EQ(errorOf([&] { box.SetFocus(); }), vb::err::InvalidProcedureCall);
}

}  // namespace

namespace {

// The enneagram's copy: the figure below the strip, as wide as the picture and 48 pixels less
// high, put on the clipboard and read back as a bitmap of exactly that size.
TEST(ClipboardTest, ACapturedAreaHasItsSizeAndShowsTheChildControls) {
    QWidget picture;
    picture.resize(200, 150);
    picture.setAutoFillBackground(true);
    QPalette pal = picture.palette();
    pal.setColor(QPalette::Window, Qt::white);
    picture.setPalette(pal);
    Panel3D bar(&picture);
    bar.setFloodColor(0x0000FF);
    bar.setFloodPercent(100);
    bar.setFloodShowPct(false);
    bar.setGeometry(10, 60, 100, 20);

    const int y0 = 50;
    const QImage copy = CaptureArea(picture, QRect(0, y0, picture.width(), picture.height() - 48));
    ASSERT_EQ(copy.size(), QSize(200, 102));
    EXPECT_EQ(copy.pixelColor(50, 60 - y0 + 10), QColor(255, 0, 0));  // the bar, shifted up by y0
    EXPECT_EQ(copy.pixelColor(150, 20), QColor(255, 255, 255));
    EXPECT_EQ(copy.pixelColor(150, 101), QColor(255, 255, 255));  // below the picture: its ground

    Clipboard::Clear();
    Clipboard::SetData(copy);
    EXPECT_EQ(Clipboard::GetData().size(), QSize(200, 102));
}

}  // namespace

namespace {

// The reader's text box swallows typed characters, yet Ctrl+C must reach the copy command of
// the menu: a control never claims a key before the window's shortcuts.
TEST(KeysTest, ControlsLeaveShortcutKeysToTheMenus) {
    RichTextBox box;
    box.setText("Typ Eins");
    box.setSelStart(0);
    box.setSelLength(3);
    box.KeyPress = [](int& a) { a = 0; };
    QKeyEvent copy(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    copy.ignore();
    QApplication::sendEvent(&box, &copy);
    EXPECT_FALSE(copy.isAccepted());

    TextBox text;
    QKeyEvent paste(QEvent::ShortcutOverride, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    paste.ignore();
    QApplication::sendEvent(text.editor(), &paste);
    EXPECT_FALSE(paste.isAccepted());

    // Without a shortcut the key arrives and types as usual.
    SendKey(text.editor(), 'A');
    EXPECT_EQ(text.Text(), "a");
    SendKey(&box, 'A');
    EXPECT_EQ(box.Text(), "Typ Eins");
}

}  // namespace
