#include "platform/forms/controls.h"
#include "platform/forms/grid.h"
#include "platform/forms/host.h"
#include "platform/forms/menu.h"
#include "platform/forms/rich_text_box.h"
#include "platform/vb/error.h"
#include "support/gui_input.h"
#include "support/vb_error.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

using namespace forms;

namespace {

// The person chooser's grid: header row, rows appended with tab-separated text, row selection.
TEST(GridTest, AddItemFillsCellsAndAClickSelectsTheWholeRow) {
    Grid g;
    g.setCols(3);
    g.setFixedCols(0);
    g.setSelectionMode(flexSelectionByRow);
    EXPECT_EQ(g.Rows(), 2);
    g.setTextMatrix(0, 0, "Vorname");
    g.setTextMatrix(1, 0, "Anna");
    g.setTextMatrix(1, 1, "Zeh");
    g.AddItem("Bert\tYork\t01.02.2026");
    g.AddItem("Carl\tXaver");  // fewer cells than columns: the rest stay empty
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(2, 2), "01.02.2026");
    EXPECT_EQ(g.TextMatrix(3, 1), "Xaver");
    EXPECT_EQ(g.TextMatrix(3, 2), "");
    EXPECT_EQ(g.Row(), 1);  // before any click the first data row is current

    int clicks = 0, doubles = 0;
    g.Click = [&] { ++clicks; };
    g.DblClick = [&] { ++doubles; };
    g.resize(300, 200);
    g.show();
    const QRect cell = g.visualRect(g.model()->index(3, 1));
    mouseClick(g.viewport(), cell.center(), true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.ColSel(), 2);
    EXPECT_EQ(g.Clip(), "Carl\tXaver\t");
    // A click on the header row chooses nothing.
    mouseClick(g.viewport(), g.visualRect(g.model()->index(0, 1)).center());
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(clicks, 1);
}

// The chooser of a large file: rows appended one by one are counted, read and shown at once, and
// the last of them can be chosen.
TEST(GridTest, ManyAppendedRowsAreListedAndTheLastCanBeChosen) {
    Grid g;
    g.setCols(3);
    g.setFixedCols(0);
    g.setSelectionMode(flexSelectionByRow);
    g.setTextMatrix(0, 0, "Vorname");
    for (int i = 1; i <= 20000; ++i) g.AddItem("V" + std::to_string(i) + "\tN" + std::to_string(i) + "\t01.02.2026");
    EXPECT_EQ(g.Rows(), 20002);
    EXPECT_EQ(g.TextMatrix(20001, 1), "N20000");
    EXPECT_EQ(g.model()->rowCount(), 20002);
    g.resize(300, 200);
    g.show();
    g.scrollToBottom();
    const QRect letzte = g.visualRect(g.model()->index(20001, 0));
    ASSERT_TRUE(g.viewport()->rect().contains(letzte.center()));
    mouseClick(g.viewport(), letzte.center());
    EXPECT_EQ(g.Row(), 20001);
    EXPECT_EQ(g.Clip(), "V20000\tN20000\t01.02.2026");
    // Rows inserted before the others and removed again keep the texts of the rest in place.
    g.AddItem("Erste\tZeile", 1);
    EXPECT_EQ(g.TextMatrix(2, 0), "");
    EXPECT_EQ(g.TextMatrix(3, 1), "N1");
    g.RemoveItem(1);
    EXPECT_EQ(g.TextMatrix(2, 1), "N1");
    g.setRows(2);
    g.Clear();
    EXPECT_EQ(g.TextMatrix(1, 1), "");
}

TEST(GridTest, SelectionClipAndLimits) {
    Grid g;
    g.setRows(10);
    g.setCols(7);
    g.setFixedRows(0);
    g.setFixedCols(0);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 7; ++c) g.setTextMatrix(r, c, std::to_string(r * 10 + c));
    // The answer table's copy: one row, columns 0 to 6.
    g.setRow(4);
    g.setCol(0);
    g.setColSel(6);
    EXPECT_EQ(g.Clip(), "40\t41\t42\t43\t44\t45\t46");
    g.setRowSel(5);
    g.setColSel(1);
    EXPECT_EQ(g.Clip(), "40\t41\r50\t51");
    // Setting Row again makes the current cell the whole selection.
    g.setRow(2);
    EXPECT_EQ(g.Clip(), "20");

    g.setColWidth(2, 1500);
    EXPECT_EQ(g.ColWidth(2), 1500);
    g.setCellBackColor(RGB(255, 246, 128));
    g.setCellFontBold(true);
    EXPECT_EQ(g.CellBackColor(), RGB(255, 246, 128));
    EXPECT_TRUE(g.CellFontBold());
    EXPECT_EQ(errorOf([&] { g.TextMatrix(10, 0); }), vb::err::InvalidRowValue);
    EXPECT_EQ(errorOf([&] { g.setCol(7); }), vb::err::InvalidColumnValue);
    g.Clear();
    EXPECT_EQ(g.TextMatrix(4, 4), "");
    EXPECT_EQ(g.Rows(), 10);
}

TEST(ListControlsTest, ComboBoxStylesAndListIndex) {
    ComboBox list(2);
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    list.AddItem("rot");
    list.AddItem("grün");
    list.AddItem("blau");
    EXPECT_EQ(list.ListIndex(), -1);  // adding items selects nothing
    EXPECT_EQ(list.Text(), "");
    list.setText("grün");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(errorOf([&] { list.setText("gelb"); }), vb::err::PropertyReadOnly);
    list.setListIndex(2);
    EXPECT_EQ(list.Text(), "blau");
    EXPECT_EQ(clicks, 2);
    list.setItemData(2, 42);
    EXPECT_EQ(list.ItemData(2), 42);
    EXPECT_EQ(errorOf([&] { list.setListIndex(3); }), vb::err::InvalidPropertyValue);

    // An editable combo shows a stored text that is not in its list.
    ComboBox edit(0);
    edit.AddItem("Arial");
    edit.setText("Frutiger");
    EXPECT_EQ(edit.Text(), "Frutiger");
    EXPECT_EQ(edit.ListIndex(), -1);
    edit.setText("Arial");
    EXPECT_EQ(edit.ListIndex(), 0);
}

TEST(ListControlsTest, MultiSelectListKeepsSelectionWhenListIndexMoves) {
    ListBox l(1);
    for (const char* s : {"Anna", "Bert", "Carl"}) l.AddItem(s);
    l.setItemData(l.NewIndex(), 7);
    l.setSelected(0, true);
    l.setSelected(2, true);
    l.setListIndex(1);
    EXPECT_TRUE(l.Selected(0));
    EXPECT_FALSE(l.Selected(1));
    EXPECT_TRUE(l.Selected(2));
    EXPECT_EQ(l.SelCount(), 2);
    EXPECT_EQ(l.Text(), "Bert");
    EXPECT_EQ(l.ItemData(2), 7);
    l.RemoveItem(0);
    EXPECT_EQ(l.ListCount(), 2);
    EXPECT_EQ(l.List(0), "Bert");
    EXPECT_EQ(l.List(5), "");
    EXPECT_EQ(errorOf([&] { l.Selected(5); }), vb::err::InvalidPropertyArrayIndex);
}

TEST(ButtonsTest, CheckBoxValuesAndOptionGroups) {
    CheckBox c;
    int clicks = 0;
    c.Click = [&] { ++clicks; };
    c.setValue(1);
    c.setValue(1);  // no change, no Click
    EXPECT_EQ(c.Value(), 1);
    c.setValue(2);
    EXPECT_EQ(c.Value(), 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errorOf([&] { c.setValue(3); }), vb::err::InvalidPropertyValue);

    QWidget group;
    OptionButton a(&group), b(&group), other;
    a.setValue(true);
    b.setValue(true);  // setting one clears the others of its group
    other.setValue(true);
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(other.Value());
    b.setValue(false);  // a group may end with none selected
    EXPECT_FALSE(a.Value());
    EXPECT_FALSE(b.Value());
    b.click();
    b.click();  // a click on a selected option keeps it selected
    EXPECT_TRUE(b.Value());
}

// Windows lead the focus to a button with Enter and expect the next Enter to press it; a
// handler that takes the key first keeps it from the button.
TEST(ButtonsTest, EnterPressesAFocusedButtonUnlessItsKeyHandlerTakesTheKey) {
    CommandButton b;
    int clicks = 0;
    b.Click = [&] { ++clicks; };
    keyClick(&b, Qt::Key_Return, "\r");
    keyClick(&b, Qt::Key_Enter, "\r");
    keyClick(&b, Qt::Key_A, "a");
    EXPECT_EQ(clicks, 2);
    b.KeyPress = [](int& k) {
        if (k == 13) k = 0;
    };
    keyClick(&b, Qt::Key_Return, "\r");
    EXPECT_EQ(clicks, 2);
}

TEST(TextTest, TextBoxLimitsSelectionAndChange) {
    TextBox t;
    int changes = 0;
    t.Change = [&] { ++changes; };
    t.setMaxLength(1);
    t.setText("3");
    EXPECT_EQ(changes, 1);
    t.setText("34");
    EXPECT_EQ(t.Text(), "3");

    TextBox m(true);
    m.setText("Zeile 1\r\nZeile 2");
    EXPECT_EQ(m.Text(), "Zeile 1\nZeile 2");
    m.setSelStart(6);
    m.setSelLength(1);
    EXPECT_EQ(m.SelText(), "1");
    m.setSelText("eins");
    EXPECT_EQ(m.Text(), "Zeile eins\nZeile 2");
    m.setSelStart(0);
    m.setSelLength(99);
    EXPECT_EQ(m.SelLength(), 18);
}

TEST(TextTest, RichTextBoxInsertsInTheFormatSetBefore) {
    RichTextBox r;
    int selChanges = 0;
    r.SelChange = [&] { ++selChanges; };
    r.setText("");
    r.setSelFontName("DejaVu Serif");
    r.setSelBold(true);
    r.setSelFontSize(14);
    r.setSelColor(RGB(0, 0, 170));
    r.setSelText("Titel");
    r.setSelBold(false);
    r.setSelFontSize(8);
    r.setSelText("\r\n\r\nInhalt");
    EXPECT_EQ(r.Text(), "Titel\r\n\r\nInhalt");

    r.setSelStart(0);
    r.setSelLength(5);
    EXPECT_EQ(r.SelText(), "Titel");
    EXPECT_GT(selChanges, 0);
    QTextCursor c(r.document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 14);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 0, 170));
    c.setPosition(10);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(c.charFormat().fontPointSize(), 8);
}

TEST(PanelTest, FloodPanelShowsPercentOrCaption) {
    Panel3D p;
    p.setCaption("Fortschritt");
    p.setFloodPercent(50);
    EXPECT_EQ(p.shownText(), "50%");
    p.setFloodShowPct(false);
    EXPECT_EQ(p.shownText(), "Fortschritt");
    EXPECT_EQ(errorOf([&] { p.setFloodPercent(-5); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(p.FloodPercent(), 50);
}

// The percentage stays readable where the dark bar runs under it: light text there, the
// panel's own text colour beside the bar.
TEST(PanelTest, PercentTextStandsOutFromTheBarUnderIt) {
    Panel3D p;
    p.resize(300, 24);
    p.setFloodPercent(100);
    const QRect innen = p.contentsRect().adjusted(2, 2, -2, -2);  // the frame's own light edge aside
    const QImage voll = p.grab().toImage();
    int hell = 0;
    for (int y = innen.top(); y <= innen.bottom(); ++y)
        for (int x = 100; x < 200; ++x) {
            const QColor c = voll.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() > 200) ++hell;
        }
    EXPECT_GT(hell, 10) << "no light text on the bar";

    p.setFloodPercent(0);
    const QImage leer = p.grab().toImage();
    int dunkel = 0;
    for (int y = innen.top(); y <= innen.bottom(); ++y)
        for (int x = 100; x < 200; ++x)
            if (leer.pixelColor(x, y).lightness() < 60) ++dunkel;
    EXPECT_GT(dunkel, 10) << "no dark text on the empty panel";
}

TEST(MenuTest, MenuArrayLoadsElementsInIndexOrderAndChecksIndexes) {
    QMenuBar bar;
    MenuItem file(&bar, "&Datei");
    MenuItem open(file, "Ö&ffnen");
    MenuArray recent(file, "-");
    MenuItem quit(file, "&Beenden");
    std::vector<int> chosen;
    recent.Click = [&](int i) { chosen.push_back(i); };

    recent.Load(3);
    recent(3).setCaption("&3 C:\\DATEN\\C.ZDB");
    recent.Load(1);
    recent(1).setCaption("&1 C:\\DATEN\\A.ZDB");
    const auto actions = file.menu()->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0], open.action());
    EXPECT_TRUE(actions[1]->isSeparator());  // element 0
    EXPECT_EQ(actions[2], recent(1).action());
    EXPECT_EQ(actions[3], recent(3).action());
    EXPECT_EQ(actions[4], quit.action());
    EXPECT_FALSE(recent(1).action()->isSeparator());
    EXPECT_EQ(recent.Count(), 3);  // gaps are not counted
    EXPECT_EQ(recent.UBound(), 3);

    recent(3).choose();
    EXPECT_EQ(chosen, std::vector<int>{3});
    recent(3).setEnabled(false);
    recent(3).choose();  // a disabled item does nothing
    EXPECT_EQ(chosen.size(), 1u);

    EXPECT_EQ(errorOf([&] { recent.Load(1); }), vb::err::ObjectAlreadyLoaded);
    EXPECT_EQ(errorOf([&] { recent(2); }), vb::err::ControlArrayElementMissing);
    EXPECT_EQ(errorOf([&] { recent.Unload(0); }), vb::err::CannotUnloadDesignTimeControl);
    recent.Unload(3);
    EXPECT_EQ(recent.Count(), 2);
    EXPECT_EQ(file.menu()->actions().size(), 4);
}

// A separator made from the caption "-" looks like Qt's own separator: no "-" beside the line.
TEST(MenuTest, SeparatorsShowTheirLineOnly) {
    QMenuBar bar;
    MenuItem file(&bar, "&Datei");
    MenuItem open(file, "Ö&ffnen");
    MenuItem sep(file, "-");
    MenuItem quit(file, "&Beenden");
    QMenu qt;
    qt.addAction("Ö&ffnen");
    QAction* qtSep = qt.addSeparator();
    qt.addAction("&Beenden");
    EXPECT_EQ(sep.Caption(), "-");
    EXPECT_TRUE(sep.action()->isSeparator());
    auto row = [](QMenu& m, QAction* a) {
        m.ensurePolished();
        m.adjustSize();
        return m.grab().toImage().copy(m.actionGeometry(a));
    };
    const QImage ours = row(*file.menu(), sep.action());
    ASSERT_FALSE(ours.isNull());
    EXPECT_EQ(ours, row(qt, qtSep));

    // Given a caption, it becomes an item again (recent-file entries start as "-").
    sep.setCaption("&1 Kartei.ZDB");
    EXPECT_FALSE(sep.action()->isSeparator());
    EXPECT_EQ(sep.action()->text(), "&1 Kartei.ZDB");
}

TEST(MenuTest, ItemsMayBeDestroyedInAnyOrder) {
    // Windows hold their items as members; a child declared before its parent outlives it.
    auto bar = std::make_unique<QMenuBar>();
    auto child = std::make_unique<MenuItem*>(nullptr);
    {
        auto parent = std::make_unique<MenuItem>(bar.get(), "&Hilfe");
        *child = new MenuItem(*parent, "&Inhalt");
        int clicks = 0;
        (*child)->Click = [&] { ++clicks; };
        (*child)->choose();
        EXPECT_EQ(clicks, 1);
    }
    (*child)->setCaption("gelöscht");  // its action went with the menu: nothing to touch
    (*child)->choose();
    delete *child;
    MenuItem top(bar.get(), "&Datei");
    bar.reset();  // the bar goes before the item
}

TEST(MiscTest, ColoursPicturesAndScreen) {
    EXPECT_EQ(QBColor(2), RGB(0, 128, 0));
    EXPECT_EQ(QBColor(14), RGB(255, 255, 0));
    EXPECT_EQ(QBColor(8), RGB(128, 128, 128));
    EXPECT_EQ(GetRed(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetBlue(RGB(1, 2, 3)), 3);
    EXPECT_EQ(Screen::TwipsPerPixelX(), 15);
    EXPECT_GT(Screen::Width(), 0);
    EXPECT_EQ(errorOf([] { LoadPicture("/nicht/da.bmp"); }), vb::err::FileNotFound);
    EXPECT_EQ(errorOf([] { LoadPicture(std::string(ZUV_SOURCE_DIR) + "/CMakeLists.txt"); }), vb::err::InvalidPicture);
    EXPECT_TRUE(LoadPicture("").isNull());

    Screen::setMousePointer(vbHourglass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen::setMousePointer(vbDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Clipboard::Clear();
    Clipboard::SetText("a\tb\r\n");
    EXPECT_EQ(Clipboard::GetText(), "a\tb\r\n");
}

}  // namespace
