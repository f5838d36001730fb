#pragma once

// The start assistant: five steps of a test and eight task buttons.

#include <array>

#include "desk/common/main_window_port.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class frmAssist : public forms::Form {
public:
    frmAssist();
    std::array<forms::Label, 1> Label3;
    forms::Frame Frame1;
    std::array<forms::Label, 5> Label1;
    std::array<forms::Label, 8> Label2;
    std::array<forms::Button3D, 8> SSCommand1;
    forms::CommandButton Command1;

    void setupControls() override;
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void SSCommand1_Click(int index);
    void Command1_Click();
    // Shows the assistant; one that was put aside (minimised) comes back in its normal state.
    void Zeigen();
};
