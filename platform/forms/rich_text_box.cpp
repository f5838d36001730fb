#include "platform/forms/rich_text_box.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace forms {

namespace {
QString toEditor(const std::string& s) {
    QString q = QString::fromStdString(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    return q;
}
std::string fromEditor(QString q) {
    q.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
    q.replace('\n', QStringLiteral("\r\n"));
    return q.toStdString();
}
}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : Control<QTextEdit>(parent) {
    setAcceptRichText(false);
    watch(viewport(), false);
    connect(this, &QTextEdit::selectionChanged, this, [this] { fire(SelChange); });
    connect(this, &QTextEdit::textChanged, this, [this] { fire(Change); });
}

std::string RichTextBox::Text() const { return fromEditor(toPlainText()); }

void RichTextBox::setText(const std::string& t) {
    clear();
    setCurrentCharFormat(QTextCharFormat());
    if (!t.empty()) insertPlainText(toEditor(t));
}

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelStart(int n) {
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(n, 0, document()->characterCount() - 1));
    setTextCursor(c);
}

int RichTextBox::SelLength() const { return textCursor().selectionEnd() - textCursor().selectionStart(); }

void RichTextBox::setSelLength(int n) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + n, start, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

std::string RichTextBox::SelText() const { return fromEditor(textCursor().selectedText()); }

void RichTextBox::setSelText(const std::string& t) {
    QTextCursor c = textCursor();
    const QTextCharFormat f = currentCharFormat();
    c.insertText(toEditor(t), f);
    setTextCursor(c);
    setCurrentCharFormat(f);
}

void RichTextBox::mergeFormat(const QTextCharFormat& f) {
    QTextCursor c = textCursor();
    if (c.hasSelection()) c.mergeCharFormat(f);
    mergeCurrentCharFormat(f);
}

void RichTextBox::setSelFontName(const std::string& name) {
    QTextCharFormat f;
    f.setFontFamilies({QString::fromStdString(name)});
    mergeFormat(f);
}

void RichTextBox::setSelFontSize(double pt) {
    if (pt <= 0) return;
    QTextCharFormat f;
    f.setFontPointSize(pt);
    mergeFormat(f);
}

void RichTextBox::setSelBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

void RichTextBox::setSelItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

void RichTextBox::setSelUnderline(bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

void RichTextBox::setSelColor(int32_t bgr) {
    QTextCharFormat f;
    f.setForeground(toQColor(bgr));
    mergeFormat(f);
}

std::string RichTextBox::SelFontName() const {
    const QStringList fams = currentCharFormat().fontFamilies().toStringList();
    return fams.isEmpty() ? font().family().toStdString() : fams.front().toStdString();
}

double RichTextBox::SelFontSize() const {
    const double pt = currentCharFormat().fontPointSize();
    return pt > 0 ? pt : font().pointSizeF();
}

bool RichTextBox::SelBold() const { return currentCharFormat().fontWeight() >= QFont::Bold; }

bool RichTextBox::SelItalic() const { return currentCharFormat().fontItalic(); }

int32_t RichTextBox::SelColor() const {
    const QBrush b = currentCharFormat().foreground();
    return b.style() == Qt::NoBrush ? fromQColor(palette().text().color()) : fromQColor(b.color());
}

}  // namespace forms
