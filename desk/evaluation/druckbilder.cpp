#include "desk/evaluation/druckbilder.h"

#include "desk/common/druckbild.h"
#include "desk/evaluation/antworttabelle.h"
#include "desk/evaluation/austauschbild.h"
#include "desk/evaluation/enneagramm_figur.h"
#include "desk/testing/testverwaltung.h"

void AuswertungsDruckbilderEintragen() {
    DruckbildmacherEintragen("ZUVEnneagramm.bmp",
                             [] { AustauschbildSchreiben(EnneagrammFuerDruck(), "ZUVEnneagramm.bmp"); });
    DruckbildmacherEintragen("ZUVTabelle.bmp", [] {
        TestAuswerten();
        AustauschbildSchreiben(AntworttabelleFuerDruck(Antwortzellen::aktuelle()), "ZUVTabelle.bmp");
    });
}
