#pragma once

// The description window: one type's text on one topic from the content database, the topic title
// in the extra font, the text in the standard font and the literature line in small print. Each
// request of the main window makes a new one (at most ten are open).

#include <QWidget>

#include <array>

#include "desk/common/cls_scroll.h"
#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/data.h"
#include "platform/forms/form.h"
#include "platform/forms/rich_text_box.h"

namespace codex {

class Form2 : public forms::Form {
public:
    Form2();
    ~Form2() override;

    // Containers first: they go last when the window is destroyed.
    QWidget Picture1;  // the area the scroll bars move; holds everything below
    QWidget Picture2;  // the strip at the top
    forms::Frame Frame2, Frame3, Frame4;
    std::array<forms::CommandButton, 9> Command6;  // button k stands for type k + 1
    forms::ComboBox Combo1{2};
    forms::CommandButton Command2;
    forms::Label Label2, Label3, Label4, Label5;
    forms::RichTextBox RichTextBox1;
    forms::Data Data1;  // table typ: the current row is the window's type
    db::DataControl Data2, Data3;
    clsScroll Scroller;
    bool Aktiviert = false;

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void Form_Message(int msg, std::intptr_t wParam, std::intptr_t lParam) override;

    // Shows the topic chosen in Combo1 for the type of Data1's current row.
    void typabschnittwahl();
    void Combo1_Click() { Command2_Click(); }
    void Command2_Click();
    void Command6_Click(int index);
    void Data1_Reposition();
    void Label2_Change();
    void RichTextBox1_SelChange();
    void RichTextBox1_KeyPress(int& keyAscii);
    void UpdateScrollBars();

    // The size the content is laid out for; cascading gives the windows this size.
    QSize sizeHint() const override;

private:
    void zeigen();
    // Set by every showing of a topic, so that a type button knows whether moving to its type
    // showed one.
    bool m_gezeigt = false;
};

}  // namespace codex
