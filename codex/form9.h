#pragma once

// Start-up of the reader: the splash window sets up the engine with the workgroup login and the
// reader's texts; its one timer tick loads the settings and shows the main window.

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace codex {

// The lines of the splash and the about box: label texts 0 and 1, the fixed notice, the version,
// label text 39.
void TitelzeilenSetzen(forms::Label& l1, forms::Label& l2, forms::Label& l3, forms::Label& l4);

class form9 : public forms::Form {
public:
    form9();
    forms::Shape Shape1;
    forms::Label Label1, Label2, Label3, Label4;
    forms::Timer Zeit1;

    void setupControls() override;
    void Form_Load() override;
    void Form_Resize() override { Shape1.setGeometry(0, 0, width(), height()); }
    void Zeit1_Timer();

    // The splash's wait before the main window; tests and the start-up benchmark shorten it.
    static int& wartezeit();
    bool gestartet() const { return m_gestartet; }
    // The start failed: its message was shown and the program is to end.
    bool abgebrochen() const { return m_abgebrochen; }

private:
    void startFehler(const std::exception& e);
    bool m_gestartet = false;
    bool m_abgebrochen = false;
};

}  // namespace codex
