#include "platform/forms/controls.h"

#include <QKeyEvent>

#include "platform/vb/error.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

void applyColors(QWidget* w, int32_t fore, int32_t back, bool setBack) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, toQColor(fore));
    p.setColor(QPalette::Text, toQColor(fore));
    if (setBack) {
        p.setColor(QPalette::Window, toQColor(back));
        p.setColor(QPalette::Base, toQColor(back));
    }
    w->setPalette(p);
    if (setBack) w->setAutoFillBackground(true);
}

[[noreturn]] void badIndex() {
    throw vb::Error(vb::err::InvalidPropertyArrayIndex, "Ungültiger Index für Eigenschaftenfeld");
}
}  // namespace

// ---------------------------------------------------------------- Label

Label::Label(QWidget* parent) : Control<QLabel>(parent) { setTextFormat(Qt::PlainText); }

void Label::setCaption(const std::string& c) {
    const QString t = QString::fromStdString(c);
    if (t == text()) return;
    setText(t);
    fire(Change);
}

void Label::setForeColor(int32_t bgr) {
    m_fore = bgr;
    applyColors(this, m_fore, m_back, false);
}

void Label::setBackColor(int32_t bgr) {
    m_back = bgr;
    applyColors(this, m_fore, m_back, true);
}

void Label::setDataSource(Data* source) {
    m_binding.bind(source, m_binding.field(), [this](const vb::Variant& v) { setCaption(vb::textOrEmpty(v)); });
}

void Label::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) fire(Click);
}

void Label::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    fire(DblClick);
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(bool multiLine, QWidget* parent) : Control<QWidget>(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* ed;
    if (multiLine) {
        m_multi = new QPlainTextEdit(this);
        connect(m_multi, &QPlainTextEdit::textChanged, this, [this] {
            if (m_maxLength > 0 && m_multi->toPlainText().size() > m_maxLength) {
                QTextCursor c = m_multi->textCursor();
                c.movePosition(QTextCursor::End);
                c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor,
                               static_cast<int>(m_multi->toPlainText().size()) - m_maxLength);
                c.removeSelectedText();
                return;
            }
            textChanged();
        });
        ed = m_multi;
    } else {
        m_line = new QLineEdit(this);
        connect(m_line, &QLineEdit::textChanged, this, [this] { textChanged(); });
        ed = m_line;
    }
    layout->addWidget(ed);
    setFocusProxy(ed);
    watch(ed);
}

void TextBox::textChanged() {
    m_binding.changed(vb::Variant(Text()));
    fire(Change);
}

void TextBox::setDataSource(Data* source) {
    m_binding.bind(source, m_binding.field(), [this](const vb::Variant& v) {
        // A text field's size limits what can be typed, unless the window set its own limit.
        const auto [type, size] = m_binding.source()->fieldShape(m_binding.field());
        if (m_line && m_maxLength == 0) m_line->setMaxLength(type == db::FieldType::Text && size > 0 ? size : 32767);
        setText(vb::textOrEmpty(v));
    });
}

QWidget* TextBox::editor() const { return m_line ? static_cast<QWidget*>(m_line) : static_cast<QWidget*>(m_multi); }

std::string TextBox::Text() const { return (m_line ? m_line->text() : m_multi->toPlainText()).toStdString(); }

// Line ends come as CR LF from the programs; the editor keeps plain line breaks.
void TextBox::setText(const std::string& t) {
    QString s = qs(t);
    if (m_line) {
        m_line->setText(s);
    } else {
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
        m_multi->setPlainText(s);
    }
}

void TextBox::setLocked(bool on) {
    m_locked = on;
    if (m_line) m_line->setReadOnly(on);
    else m_multi->setReadOnly(on);
}

void TextBox::setMaxLength(int n) {
    m_maxLength = std::max(0, n);
    if (m_line) m_line->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

int TextBox::SelStart() const {
    if (m_line) return m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
    return m_multi->textCursor().selectionStart();
}

int TextBox::SelLength() const {
    if (m_line) return static_cast<int>(m_line->selectedText().size());
    const QTextCursor c = m_multi->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

std::string TextBox::SelText() const {
    if (m_line) return m_line->selectedText().toStdString();
    QString s = m_multi->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s.toStdString();
}

void TextBox::setSelStart(int n) {
    const int len = static_cast<int>(qs(Text()).size());
    n = std::clamp(n, 0, len);
    if (m_line) {
        m_line->setCursorPosition(n);
        m_line->deselect();
    } else {
        QTextCursor c = m_multi->textCursor();
        c.setPosition(n);
        m_multi->setTextCursor(c);
    }
}

void TextBox::setSelLength(int n) {
    const int start = SelStart();
    const int len = static_cast<int>(qs(Text()).size());
    n = std::clamp(n, 0, len - start);
    if (m_line) {
        m_line->setSelection(start, n);
    } else {
        QTextCursor c = m_multi->textCursor();
        c.setPosition(start);
        c.setPosition(start + n, QTextCursor::KeepAnchor);
        m_multi->setTextCursor(c);
    }
}

void TextBox::setSelText(const std::string& t) {
    if (m_line) {
        m_line->insert(qs(t));
    } else {
        QString s = qs(t);
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_multi->textCursor().insertText(s);
    }
}

void TextBox::setBackColor(int32_t bgr) {
    m_back = bgr;
    applyColors(editor(), m_fore, m_back, true);
}

void TextBox::setForeColor(int32_t bgr) {
    m_fore = bgr;
    applyColors(editor(), m_fore, m_back, false);
}

// ---------------------------------------------------------------- CommandButton

CommandButton::CommandButton(QWidget* parent) : Control<QPushButton>(parent) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { fire(Click); });
}

void CommandButton::keyPressEvent(QKeyEvent* e) {
    // A button that has the focus is pressed by Enter as by the space bar: people move through a
    // window's boxes with Enter and press the button they land on with it.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !e->isAutoRepeat()) {
        e->accept();
        click();
        return;
    }
    Control<QPushButton>::keyPressEvent(e);
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(QWidget* parent) : Control<QCheckBox>(parent) {
    connect(this, &QCheckBox::clicked, this, [this] {
        // A click on a greyed box makes it checked, as the programs know it.
        if (checkState() == Qt::PartiallyChecked) setCheckState(Qt::Checked);
        if (!m_setting) {
            m_binding.changed(vb::Variant(Value() == 1));
            fire(Click);
        }
    });
}

int CheckBox::Value() const {
    switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) throw vb::Error(vb::err::InvalidPropertyValue);
    if (v == Value()) return;
    if (v == 2) setTristate(true);
    m_setting = true;
    setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    m_setting = false;
    m_binding.changed(vb::Variant(Value() == 1));
    fire(Click);
}

void CheckBox::setDataSource(Data* source) {
    m_binding.bind(source, m_binding.field(), [this](const vb::Variant& v) {
        int value = 0;
        try {
            value = (v.isNull() || v.isEmpty()) ? 0 : (v.toBool() ? 1 : 0);
        } catch (const vb::Error&) {
        }
        m_setting = true;
        setCheckState(value ? Qt::Checked : Qt::Unchecked);
        m_setting = false;
    });
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(QWidget* parent) : Control<QRadioButton>(parent) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::clicked, this, [this] {
        if (!m_setting) {
            clearSiblings();
            fire(Click);
        }
    });
}

void OptionButton::nextCheckState() {
    // A click on a selected option leaves it selected.
    setChecked(true);
}

void OptionButton::clearSiblings() {
    if (!parentWidget()) return;
    for (QObject* o : parentWidget()->children())
        if (auto* other = dynamic_cast<OptionButton*>(o); other && other != this && other->isChecked()) {
            other->m_setting = true;
            other->setChecked(false);
            other->m_setting = false;
        }
}

void OptionButton::setValue(bool on) {
    m_setting = true;
    setChecked(on);
    m_setting = false;
    if (on) {
        clearSiblings();
        fire(Click);
    }
}

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(int style, QWidget* parent) : Control<QComboBox>(parent), m_style(style) {
    setEditable(style == 0);
    setInsertPolicy(QComboBox::NoInsert);
    setCurrentIndex(-1);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) {
        writeBack();
        fire(Click);
    });
    if (style == 0)
        connect(this, &QComboBox::editTextChanged, this, [this] {
            if (m_setting) return;
            writeBack();
            fire(Change);
        });
}

void ComboBox::writeBack() { m_binding.changed(vb::Variant(Text())); }

void ComboBox::setDataSource(Data* source) {
    m_binding.bind(source, m_binding.field(), [this](const vb::Variant& v) {
        const QString s = QString::fromStdString(vb::textOrEmpty(v));
        m_setting = true;
        setCurrentIndex(findText(s, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        if (m_style == 0) setEditText(s);
        m_setting = false;
    });
}

void ComboBox::AddItem(const std::string& item, int index) {
    if (index < 0 || index > count()) index = count();
    m_setting = true;
    const int current = currentIndex();
    const QString keep = m_style == 0 ? currentText() : QString();
    insertItem(index, qs(item));
    // Adding to the list changes neither the selection nor the shown text.
    if (current < 0) {
        setCurrentIndex(-1);
        if (m_style == 0) setEditText(keep);
    }
    m_setting = false;
    m_newIndex = index;
}

void ComboBox::Clear() {
    m_setting = true;
    clear();
    if (m_style == 0) setEditText(QString());
    m_setting = false;
}

std::string ComboBox::List(int index) const {
    if (index < 0 || index >= count()) return {};
    return itemText(index).toStdString();
}

void ComboBox::setList(int index, const std::string& item) {
    if (index < 0 || index >= count()) badIndex();
    setItemText(index, qs(item));
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= count()) throw vb::Error(vb::err::InvalidPropertyValue);
    m_setting = true;
    setCurrentIndex(index);
    if (index < 0 && m_style == 0) setEditText(QString());
    m_setting = false;
    writeBack();
    fire(Click);
}

int32_t ComboBox::ItemData(int index) const {
    if (index < 0 || index >= count()) badIndex();
    return itemData(index).toInt();
}

void ComboBox::setItemData(int index, int32_t value) {
    if (index < 0 || index >= count()) badIndex();
    QComboBox::setItemData(index, value);
}

std::string ComboBox::Text() const {
    if (m_style == 0) return currentText().toStdString();
    return currentIndex() >= 0 ? itemText(currentIndex()).toStdString() : std::string();
}

void ComboBox::setText(const std::string& t) {
    const QString s = qs(t);
    const int i = findText(s, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (m_style != 0) {
        if (i < 0) throw vb::Error(vb::err::PropertyReadOnly, "Die Eigenschaft 'Text' ist schreibgeschützt");
        setListIndex(i);
        return;
    }
    m_setting = true;
    setCurrentIndex(i);
    setEditText(s);
    m_setting = false;
    writeBack();
    fire(Change);
}

// ---------------------------------------------------------------- ListBox

ListBox::ListBox(int multiSelect, QWidget* parent) : Control<QListWidget>(parent) {
    setSelectionMode(multiSelect == 1   ? QAbstractItemView::MultiSelection
                     : multiSelect == 2 ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, [this] { fire(Click); });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { fire(DblClick); });
}

QListWidgetItem* ListBox::at(int index) const {
    QListWidgetItem* it = index >= 0 ? item(index) : nullptr;
    if (!it) badIndex();
    return it;
}

void ListBox::AddItem(const std::string& item, int index) {
    if (index < 0 || index > count()) index = count();
    insertItem(index, qs(item));
    m_newIndex = index;
}

void ListBox::RemoveItem(int index) { delete takeItem(row(at(index))); }

void ListBox::Clear() { clear(); }

std::string ListBox::List(int index) const {
    if (index < 0 || index >= count()) return {};
    return item(index)->text().toStdString();
}

void ListBox::setList(int index, const std::string& text) { at(index)->setText(qs(text)); }

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= count()) throw vb::Error(vb::err::InvalidPropertyValue);
    if (selectionMode() == QAbstractItemView::SingleSelection) {
        setCurrentRow(index);
    } else {
        selectionModel()->setCurrentIndex(index >= 0 ? model()->index(index, 0) : QModelIndex(),
                                          QItemSelectionModel::NoUpdate);
    }
    fire(Click);
}

bool ListBox::Selected(int index) const { return at(index)->isSelected(); }

void ListBox::setSelected(int index, bool on) { at(index)->setSelected(on); }

int ListBox::SelCount() const { return static_cast<int>(selectedItems().size()); }

int32_t ListBox::ItemData(int index) const { return at(index)->data(Qt::UserRole).toInt(); }

void ListBox::setItemData(int index, int32_t value) { at(index)->setData(Qt::UserRole, value); }

std::string ListBox::Text() const { return currentRow() >= 0 ? item(currentRow())->text().toStdString() : std::string(); }

// ---------------------------------------------------------------- Frame, TabControl

Frame::Frame(QWidget* parent) : Control<QGroupBox>(parent) {}

TabControl::TabControl(int tabs, QWidget* parent) : Control<QTabWidget>(parent) {
    for (int i = 0; i < tabs; ++i) addTab(new QWidget, QStringLiteral("Register %1").arg(i));
    setCurrentIndex(0);
    connect(this, &QTabWidget::currentChanged, this, [this](int now) {
        const int prev = m_previous;
        m_previous = now;
        if (prev != now) fire(Click, prev);
    });
}

std::string TabControl::TabCaption(int i) const {
    if (i < 0 || i >= count()) badIndex();
    return tabText(i).toStdString();
}

void TabControl::setTabCaption(int i, const std::string& c) {
    if (i < 0 || i >= count()) badIndex();
    setTabText(i, qs(c));
}

void TabControl::setTab(int i) {
    if (i < 0 || i >= count()) throw vb::Error(vb::err::InvalidPropertyValue);
    setCurrentIndex(i);
}

// ---------------------------------------------------------------- Button3D

Button3D::Button3D(QWidget* parent) : Control<QToolButton>(parent) {
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(false);
    connect(this, &QToolButton::clicked, this, [this] { fire(Click); });
}

void Button3D::setCaption(const std::string& c) {
    setText(qs(c));
    setToolButtonStyle(c.empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
}

void Button3D::setPicture(const QImage& img) {
    setIcon(QIcon(QPixmap::fromImage(img)));
    if (!img.isNull()) setIconSize(img.size());
}

// ---------------------------------------------------------------- tab order

void applyTabOrder(QWidget* anyInWindow) {
    if (!anyInWindow) return;
    QWidget* top = anyInWindow->window();
    std::vector<std::pair<int, QWidget*>> ordered;
    auto add = [&](QWidget* w) {
        const QVariant v = w->property("vbTabIndex");
        if (v.isValid()) ordered.emplace_back(v.toInt(), w);
    };
    add(top);
    for (QWidget* w : top->findChildren<QWidget*>()) add(w);
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    auto focusOf = [](QWidget* w) { return w->focusProxy() ? w->focusProxy() : w; };
    for (std::size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(focusOf(ordered[i - 1].second), focusOf(ordered[i].second));
}

// ---------------------------------------------------------------- ScrollBar

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : Control<QScrollBar>(orientation, parent) {
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    // Change comes once the thumb is let go; dragging reports Scroll.
    setTracking(false);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int) { fire(Change); });
    connect(this, &QAbstractSlider::sliderMoved, this, [this](int) { fire(Scroll); });
}

void ScrollBar::setMin(int v) { setMinimum(v); }

void ScrollBar::setMax(int v) { setMaximum(v); }

void ScrollBar::setValue(int v) {
    if (v < minimum() || v > maximum()) throw vb::Error(vb::err::InvalidPropertyValue);
    QScrollBar::setValue(v);
}

void ScrollBar::setSmallChange(int v) {
    if (v < 1) throw vb::Error(vb::err::InvalidPropertyValue);
    setSingleStep(v);
}

void ScrollBar::setLargeChange(int v) {
    if (v < 1) throw vb::Error(vb::err::InvalidPropertyValue);
    setPageStep(v);
}

// ---------------------------------------------------------------- Panel3D

Panel3D::Panel3D(QWidget* parent) : Control<QFrame>(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumHeight(fontMetrics().height() + 6);
}

void Panel3D::setCaption(const std::string& c) {
    m_caption = c;
    update();
}

void Panel3D::setFloodPercent(int p) {
    if (p < 0) throw vb::Error(vb::err::InvalidPropertyValue);
    m_percent = p;
    update();
}

void Panel3D::setFloodPercent(double p) {
    if (!std::isfinite(p) || p > 2147483647.0) throw vb::Error(vb::err::Overflow);
    setFloodPercent(static_cast<int>(std::nearbyint(p)));
}

void Panel3D::setFloodColor(int32_t bgr) {
    m_floodColor = bgr;
    update();
}

void Panel3D::setFloodShowPct(bool on) {
    m_showPct = on;
    update();
}

void Panel3D::setFloodType(int t) {
    if (t < 0 || t > 4) throw vb::Error(vb::err::InvalidPropertyValue);
    m_floodType = t;
    update();
}

void Panel3D::setForeColor(int32_t bgr) {
    m_fore = bgr;
    update();
}

void Panel3D::setBackColor(int32_t bgr) {
    m_back = bgr;
    update();
}

std::string Panel3D::shownText() const {
    if (m_floodType != 0 && m_showPct) return std::to_string(m_percent) + "%";
    return m_caption;
}

void Panel3D::paintEvent(QPaintEvent* e) {
    {
        QPainter p(this);
        const QRect r = contentsRect();
        p.fillRect(r, toQColor(m_back));
        QRect bar;
        if (m_floodType != 0 && m_percent > 0) {
            const int anteil = std::min(m_percent, 100);
            bar = r;
            switch (m_floodType) {
            case 2: bar.setLeft(r.right() + 1 - r.width() * anteil / 100); break;
            case 3: bar.setHeight(r.height() * anteil / 100); break;
            case 4: bar.setTop(r.bottom() + 1 - r.height() * anteil / 100); break;
            default: bar.setWidth(r.width() * anteil / 100); break;
            }
            p.fillRect(bar, toQColor(m_floodColor));
        }
        const QString text = qs(shownText());
        if (m_floodType == 0) {
            // A caption strip: its text in its own colour.
            p.setPen(toQColor(m_fore));
            p.drawText(r, Qt::AlignCenter, text);
        } else if (!text.isEmpty()) {
            // A bar: every percentage written alike, whatever it shows and wherever the fill ends.
            // Upright bars too narrow for the widest percentage they show ("100%") write upwards,
            // so all bars of one size run the same way; the text takes the panel's colour with a
            // rim of the opposite brightness, so that it stands out from the fill and the ground.
            const QFontMetricsF fm(font());
            const double breit = std::max(fm.horizontalAdvance(text), fm.horizontalAdvance(QStringLiteral("100%")));
            const bool upwards = (m_floodType == 3 || m_floodType == 4) && breit > r.width();
            const QPointF grundlinie(-fm.horizontalAdvance(text) / 2, (fm.ascent() - fm.descent()) / 2);
            QPainterPath pfad;
            pfad.addText(grundlinie, font(), text);
            p.save();
            p.setRenderHint(QPainter::Antialiasing, true);
            p.translate(QRectF(r).center());
            if (upwards) p.rotate(-90);
            const QColor schrift = toQColor(m_fore);
            QPen rand(qGray(schrift.rgb()) < 128 ? Qt::white : Qt::black);
            rand.setWidthF(std::max(1.5, fm.height() / 5.0));
            rand.setJoinStyle(Qt::RoundJoin);
            p.strokePath(pfad, rand);
            p.setPen(schrift);
            p.drawText(grundlinie, text);
            p.restore();
        }
    }
    QFrame::paintEvent(e);
}

void Panel3D::mouseReleaseEvent(QMouseEvent* e) {
    QFrame::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) fire(Click);
}

// ---------------------------------------------------------------- Image, Shape

Image::Image(QWidget* parent) : Control<QLabel>(parent) { setAlignment(Qt::AlignLeft | Qt::AlignTop); }

void Image::setPicture(const QImage& img) {
    m_picture = img;
    m_vector = {};
    refreshPixmap();
}

void Image::setPicture(const draw::Picture& picture) {
    if (picture.isMetafile()) {
        m_vector = picture;
        m_picture = picture.image();
        refreshPixmap();
    } else {
        setPicture(picture.image());
    }
}

void Image::setStretch(bool on) {
    m_stretch = on;
    refreshPixmap();
}

void Image::refreshPixmap() {
    if (m_picture.isNull()) {
        setPixmap(QPixmap());
        return;
    }
    const bool stretched = m_stretch && width() > 0 && height() > 0;
    if (stretched && !m_vector.isNull()) {
        QImage shown(size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        QPainter p(&shown);
        p.setRenderHint(QPainter::Antialiasing, true);
        m_vector.draw(p, QRectF(QPointF(0, 0), QSizeF(size())));
        p.end();
        setPixmap(QPixmap::fromImage(shown));
        return;
    }
    QImage shown = stretched ? m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation) : m_picture;
    setPixmap(QPixmap::fromImage(shown));
}

void Image::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    if (m_stretch) refreshPixmap();
}

void Image::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton) fire(Click);
}

Shape::Shape(QWidget* parent) : Control<QWidget>(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void Shape::setBorderColor(int32_t bgr) {
    m_border = bgr;
    update();
}

void Shape::setBorderWidth(int px) {
    m_width = std::max(1, px);
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(toQColor(m_border));
    pen.setWidth(m_width);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    const int h = m_width / 2;
    p.drawRect(rect().adjusted(h, h, -h - 1, -h - 1));
}

// ---------------------------------------------------------------- StatusLine

StatusLine::StatusLine(QWidget* parent) : Control<QFrame>(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    m_label = new QLabel(this);
    m_label->setTextFormat(Qt::PlainText);
    layout->addWidget(m_label, 1);
}

std::string StatusLine::Caption() const { return m_label->text().toStdString(); }

void StatusLine::setCaption(const std::string& c) {
    m_label->setText(qs(c));
    if (isVisible()) m_label->repaint();
}

// ---------------------------------------------------------------- Timer

Timer::Timer(QObject* parent) : QObject(parent) {
    connect(&m_timer, &QTimer::timeout, this, [this] { fire(Tick); });
}

void Timer::setInterval(int ms) {
    if (ms < 0 || ms > 65535) throw vb::Error(vb::err::InvalidPropertyValue);
    m_interval = ms;
    update();
}

void Timer::setEnabled(bool on) {
    m_enabled = on;
    update();
}

void Timer::update() {
    if (m_enabled && m_interval > 0) m_timer.start(m_interval);
    else m_timer.stop();
}

}  // namespace forms
