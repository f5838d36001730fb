#pragma once

// Start-up of the reader: the splash window sets up the engine with the workgroup login and the
// reader's texts; its one timer tick loads the settings and shows the main window.

#include "desk/common/startfenster.h"
#include "platform/forms/controls.h"

namespace codex {

// The lines of the splash and the about box: label texts 0 and 1, the fixed notice, the version,
// label text 39.
void TitelzeilenSetzen(forms::Label& l1, forms::Label& l2, forms::Label& l3, forms::Label& l4);

// From the start on, the desktop's end (SIGTERM, SIGHUP, SIGINT) ends the reader as its exit
// command does, without its question.
void BeiEndesignalBeenden();

class form9 : public Startfenster {
public:
    form9();
    forms::Label Label1, Label2, Label3, Label4;

    void Form_Load() override;

protected:
    void fensterLaden() override;
    forms::Form& hauptfenster() override;
    void startFehlerZeigen(const std::exception& e) override;
};

}  // namespace codex
