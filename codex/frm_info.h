#pragma once

// The reader's about box: the splash's lines, closed by any key.

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace codex {

class frmInfo : public forms::Form {
public:
    frmInfo();
    forms::Shape Shape1;
    forms::Label Label1, Label2, Label3, Label4;

    void Form_Load() override;
    void Form_Resize() override { Shape1.setGeometry(0, 0, width(), height()); }
    // Any key closes the box, a key that types nothing as well.
    void Form_KeyDown(int& keyCode, int shift) override;
};

}  // namespace codex
