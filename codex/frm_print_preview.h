#pragma once

// The print preview: an invisible page picture as large as the printer's sheet, on which the print
// engine draws the first page, and a visible copy of it that can be zoomed in seven steps and
// scrolled.

#include <QWidget>

#include "platform/draw/picture_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace codex {

class frmPrintPreview : public forms::Form {
public:
    frmPrintPreview();

    QWidget Picture2;           // the viewport
    draw::PictureBox Picture1;  // the page, drawn on by the engine, never shown
    draw::PictureBox Picture3;  // the zoomed copy the person sees
    forms::HScrollBar HScroll1;
    forms::VScrollBar VScroll1;
    forms::CommandButton Command3, Command2, Command1;  // "Zoom -", "Zoom +", close

    void setupControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

    void Command1_Click();
    void Command2_Click();  // larger
    void Command3_Click();  // smaller
    void HScroll1_Change();
    void VScroll1_Change();

    // The page is shown at (page size / factor); 2.0 after loading.
    float zoom() const { return m_zoom; }

private:
    void seiteMalen();
    void zentrieren();
    // The page one step larger (a negative factor step) or smaller, drawn anew and centred.
    void zoomen(float schritt);
    float m_zoom = 2.0f;
};

}  // namespace codex
