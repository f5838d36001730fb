#pragma once

// Start-up of ZUVDESK: the engine set-up with the workgroup login, the interface texts and the
// splash window whose timer finishes the start.

#include <string>

#include "desk/common/engine_setup.h"
#include "desk/common/startfenster.h"
#include "desk/common/titelfenster.h"

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

// The fixed notice and the picture that the splash and the about box share.
inline constexpr const char* kHinweis = "Dieses Programm ist urheberrechtlich geschützt.";
void SplashBildLaden(forms::Image& bild);

// The splash window and the about box show the same picture and lines in the same layout.
template <class F>
void TitelFensterAufbauen(F& fenster) {
    TitelfensterAufbauen(fenster, fenster.Shape1, &fenster.Image1,
                         {&fenster.Label1, &fenster.Label3, &fenster.Label4, &fenster.Label2, &fenster.Label6});
}

// Removes the temporary files that a killed compaction, backup or INI update left in the data
// folder, the program folder and beside the recent data files. Part of every start.
void ResteAufraeumen();

// From the start on, the desktop's end (SIGTERM, SIGHUP, SIGINT) ends ZUVDESK as "Beenden" does,
// without its question.
void BeiEndesignalBeenden();

class form9 : public Startfenster {
public:
    form9();
    forms::Image Image1;
    forms::Label Label1, Label2, Label3, Label4, Label6;

    void setupControls() override;
    void Form_Load() override;

protected:
    void fensterLaden() override;
    forms::Form& hauptfenster() override;
    void startFehlerZeigen(const std::exception& e) override;
};
