#pragma once

// The rich-text box of the description window: text is inserted at the insertion point in the
// format set just before (SelFontName, SelBold, SelItalic, SelFontSize, SelColor); the person
// can select and copy but not type (the window swallows KeyPress).

#include "platform/forms/control.h"

#include <QTextEdit>

#include <cstdint>
#include <functional>
#include <string>

namespace forms {

class RichTextBox : public Control<QTextEdit> {
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    std::string Text() const;            // line breaks as CR LF
    void setText(const std::string& t);  // plain text; "" clears the box and its formats

    int SelStart() const;
    void setSelStart(int n);
    int SelLength() const;
    void setSelLength(int n);
    std::string SelText() const;
    // Replaces the selection (or inserts at the insertion point) in the current insertion format.
    void setSelText(const std::string& t);

    void setSelFontName(const std::string& name);
    void setSelFontSize(double pt);
    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);
    void setSelColor(int32_t bgr);
    std::string SelFontName() const;
    double SelFontSize() const;
    bool SelBold() const;
    bool SelItalic() const;
    int32_t SelColor() const;

    bool Locked() const { return isReadOnly(); }
    void setLocked(bool on) { setReadOnly(on); }

    std::function<void()> SelChange;
    std::function<void()> Change;

private:
    void mergeFormat(const QTextCharFormat& f);
};

}  // namespace forms
