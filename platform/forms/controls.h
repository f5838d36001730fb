#pragma once

// The controls of the programs' windows, with the property and event names the programs use.
// Layout is the window's business (Qt layouts); the controls only carry behaviour.

#include "platform/forms/control.h"
#include "platform/forms/data.h"
#include "platform/draw/picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;

namespace forms {

// The field of a data control that a control shows; each control says itself how it shows a value
// (its setDataSource).
class BoundControl {
public:
    Data* DataSource() const { return m_binding.source(); }
    void setDataField(const std::string& field) { m_binding.setField(field); }
    std::string DataField() const { return m_binding.field(); }

protected:
    Binding m_binding;
};

class Label : public Control<QLabel>, public BoundControl {
public:
    explicit Label(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }
    void setCaption(const std::string& c);  // runs Change when the text differs
    int32_t ForeColor() const { return m_fore; }
    void setForeColor(int32_t bgr);
    int32_t BackColor() const { return m_back; }
    void setBackColor(int32_t bgr);
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> Change;
    // Bound to a field of a data control (see data.h for when it writes back).
    void setDataSource(Data* source);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int32_t m_fore = 0;
    int32_t m_back = 0xFFFFFF;
};

// A text box; multi-line or single-line is fixed when it is made, as at design time.
class TextBox : public Control<QWidget>, public BoundControl {
public:
    explicit TextBox(bool multiLine = false, QWidget* parent = nullptr);
    bool MultiLine() const { return m_multi != nullptr; }
    std::string Text() const;
    void setText(const std::string& t);
    bool Locked() const { return m_locked; }
    void setLocked(bool on);
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int n);
    // Selection in characters.
    int SelStart() const;
    void setSelStart(int n);
    int SelLength() const;
    void setSelLength(int n);
    std::string SelText() const;
    void setSelText(const std::string& t);  // replaces the selection, or inserts at SelStart
    int32_t BackColor() const { return m_back; }
    void setBackColor(int32_t bgr);
    int32_t ForeColor() const { return m_fore; }
    void setForeColor(int32_t bgr);
    QWidget* editor() const;

    std::function<void()> Change;  // every change of the text, also by the program
    // Bound to a field of a data control (see data.h for when it writes back).
    void setDataSource(Data* source);

private:
    void textChanged();
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    bool m_locked = false;
    int m_maxLength = 0;
    int32_t m_back = 0xFFFFFF;
    int32_t m_fore = 0;
};

class CommandButton : public Control<QPushButton> {
public:
    explicit CommandButton(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }
    void setCaption(const std::string& c) { setText(QString::fromStdString(c)); }
    std::function<void()> Click;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// Value 0 unchecked, 1 checked, 2 greyed. Setting Value runs Click when it changes.
class CheckBox : public Control<QCheckBox>, public BoundControl {
public:
    explicit CheckBox(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }
    void setCaption(const std::string& c) { setText(QString::fromStdString(c)); }
    int Value() const;
    void setValue(int v);
    std::function<void()> Click;
    // Bound to a field of a data control (see data.h for when it writes back).
    void setDataSource(Data* source);

private:
    bool m_setting = false;
};

// An option button belongs to the group of its parent widget: setting one True clears the
// others; a group may hold no selected button at all (the program can clear them all).
class OptionButton : public Control<QRadioButton> {
public:
    explicit OptionButton(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }
    void setCaption(const std::string& c) { setText(QString::fromStdString(c)); }
    bool Value() const { return isChecked(); }
    void setValue(bool on);  // True runs Click
    std::function<void()> Click;

protected:
    void nextCheckState() override;

private:
    void clearSiblings();
    bool m_setting = false;
};

// Style 0: the text can be edited; style 2: a list only, Text must be one of the items.
class ComboBox : public Control<QComboBox>, public BoundControl {
public:
    explicit ComboBox(int style = 0, QWidget* parent = nullptr);
    int Style() const { return m_style; }
    void AddItem(const std::string& item, int index = -1);
    void Clear();
    int ListCount() const { return count(); }
    std::string List(int index) const;
    void setList(int index, const std::string& item);
    int ListIndex() const { return currentIndex(); }
    void setListIndex(int index);  // -1 clears; runs Click
    int32_t ItemData(int index) const;
    void setItemData(int index, int32_t value);
    int NewIndex() const { return m_newIndex; }
    std::string Text() const;
    // Style 2 accepts only a text of the list (else error 383); style 0 shows any text.
    void setText(const std::string& t);
    std::function<void()> Click;
    std::function<void()> Change;
    // Bound to a field of a data control (see data.h for when it writes back).
    void setDataSource(Data* source);

private:
    void writeBack();
    int m_style;
    int m_newIndex = -1;
    bool m_setting = false;
};

// MultiSelect 0 none, 1 simple, 2 extended.
class ListBox : public Control<QListWidget> {
public:
    explicit ListBox(int multiSelect = 0, QWidget* parent = nullptr);
    void AddItem(const std::string& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return count(); }
    std::string List(int index) const;
    void setList(int index, const std::string& item);
    // The current entry; setting it does not change the selection of a multi-select list.
    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);
    bool Selected(int index) const;
    void setSelected(int index, bool on);
    int SelCount() const;
    int32_t ItemData(int index) const;
    void setItemData(int index, int32_t value);
    int NewIndex() const { return m_newIndex; }
    std::string Text() const;
    std::function<void()> Click;
    std::function<void()> DblClick;

private:
    QListWidgetItem* at(int index) const;
    int m_newIndex = -1;
    bool m_setting = false;
};

class Frame : public Control<QGroupBox> {
public:
    explicit Frame(QWidget* parent = nullptr);
    std::string Caption() const { return title().toStdString(); }
    void setCaption(const std::string& c) { setTitle(QString::fromStdString(c)); }
};

// A tab control whose pages are made when it is made; each page is a plain widget to lay out.
class TabControl : public Control<QTabWidget> {
public:
    explicit TabControl(int tabs = 1, QWidget* parent = nullptr);
    int Tabs() const { return count(); }
    QWidget* page(int i) const { return widget(i); }
    std::string TabCaption(int i) const;
    void setTabCaption(int i, const std::string& c);
    int Tab() const { return currentIndex(); }
    void setTab(int i);
    bool TabVisible(int i) const { return isTabVisible(i); }
    std::function<void(int previousTab)> Click;

private:
    int m_previous = 0;
};

// A 3-D button with a picture and a tool tip.
class Button3D : public Control<QToolButton> {
public:
    explicit Button3D(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }
    void setCaption(const std::string& c);
    void setPicture(const QImage& img);
    std::function<void()> Click;
};

// A 3-D panel used as a caption strip or as a bar: FloodPercent fills it in FloodColor from the
// side FloodType gives, FloodShowPct prints the percentage in the middle (upwards in an upright bar
// too narrow for it).
class Panel3D : public Control<QFrame> {
public:
    explicit Panel3D(QWidget* parent = nullptr);
    std::string Caption() const { return m_caption; }
    void setCaption(const std::string& c);
    int FloodPercent() const { return m_percent; }
    // Negative values raise 380; a value above 100 fills the whole bar and shows as it is
    // (computed bars can overshoot). A fractional value is rounded half to even, as on assignment.
    void setFloodPercent(int p);
    void setFloodPercent(double p);
    int32_t FloodColor() const { return m_floodColor; }
    void setFloodColor(int32_t bgr);
    bool FloodShowPct() const { return m_showPct; }
    void setFloodShowPct(bool on);
    // 0 none, 1 from the left, 2 from the right, 3 from the top, 4 from the bottom.
    int FloodType() const { return m_floodType; }
    void setFloodType(int t);
    int32_t ForeColor() const { return m_fore; }
    void setForeColor(int32_t bgr);
    int32_t BackColor() const { return m_back; }
    void setBackColor(int32_t bgr);
    // The text drawn in the middle: the caption, or "nn%" while the bar shows a percentage.
    std::string shownText() const;
    std::function<void()> Click;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    std::string m_caption;
    int m_percent = 0;
    int32_t m_floodColor = 0xFF0000;  // blue
    bool m_showPct = true;
    int m_floodType = 1;
    int32_t m_fore = 0;
    int32_t m_back = 0xC0C0C0;
};

// A picture control; Stretch scales the picture to the control. A metafile keeps its lines
// sharp at every size: it is drawn anew into the control's frame.
class Image : public Control<QLabel> {
public:
    explicit Image(QWidget* parent = nullptr);
    void setPicture(const QImage& img);
    void setPicture(const draw::Picture& picture);
    const QImage& Picture() const { return m_picture; }
    bool Stretch() const { return m_stretch; }
    void setStretch(bool on);
    std::function<void()> Click;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void refreshPixmap();
    QImage m_picture;
    draw::Picture m_vector;
    bool m_stretch = false;
};

// A rectangle drawn as a border, e.g. around a splash window.
class Shape : public Control<QWidget> {
public:
    explicit Shape(QWidget* parent = nullptr);
    int32_t BorderColor() const { return m_border; }
    void setBorderColor(int32_t bgr);
    int BorderWidth() const { return m_width; }
    void setBorderWidth(int px);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int32_t m_border = 0;
    int m_width = 1;
};

// The status line at the bottom of a main window.
class StatusLine : public Control<QFrame> {
public:
    explicit StatusLine(QWidget* parent = nullptr);
    std::string Caption() const;
    // Shown at once, also in the middle of a long step.
    void setCaption(const std::string& c);
    QLabel* label() const { return m_label; }

private:
    QLabel* m_label;
};

// A scroll bar control: Value runs from Min to Max (0 and 32767 at first), the arrows move it by
// SmallChange, a click on the track by LargeChange. Change runs after every change of Value, by
// the person or by the program; while the thumb is dragged only Scroll runs, and Change follows
// when it is let go. Setting Value outside Min..Max raises 380.
class ScrollBar : public Control<QScrollBar> {
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
    int Min() const { return minimum(); }
    void setMin(int v);
    int Max() const { return maximum(); }
    void setMax(int v);
    int Value() const { return value(); }
    void setValue(int v);
    int SmallChange() const { return singleStep(); }
    void setSmallChange(int v);  // 380 below 1
    int LargeChange() const { return pageStep(); }
    void setLargeChange(int v);  // 380 below 1
    std::function<void()> Change;
    std::function<void()> Scroll;
};

class HScrollBar : public ScrollBar {
public:
    explicit HScrollBar(QWidget* parent = nullptr) : ScrollBar(Qt::Horizontal, parent) {}
};

class VScrollBar : public ScrollBar {
public:
    explicit VScrollBar(QWidget* parent = nullptr) : ScrollBar(Qt::Vertical, parent) {}
};

// Interval in ms; Enabled with an Interval > 0 ticks; the handler may switch it off.
class Timer : public QObject {
public:
    explicit Timer(QObject* parent = nullptr);
    int Interval() const { return m_interval; }
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);
    std::function<void()> Tick;  // the control's Timer event

private:
    void update();
    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

}  // namespace forms
