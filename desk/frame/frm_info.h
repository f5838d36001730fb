#pragma once

// The about box: the splash's texts, closed by any key.

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class frmInfo : public forms::Form {
public:
    frmInfo();
    forms::Shape Shape1;
    forms::Image Image1;
    forms::Label Label1, Label2, Label3, Label4, Label6;

    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override { Shape1.setGeometry(0, 0, width(), height()); }
    void Form_KeyPress(int& keyAscii) override;
};

// The maker's web site, opened in the default browser.
void StartBrowser_Click();
inline constexpr const char* kWebAdresse = "https://www.zuv-test.de/";
