#include "desk/evaluation/druckbilder.h"

#include "desk/common/druckbild.h"
#include "desk/evaluation/antworttabelle.h"
#include "desk/evaluation/austauschbild.h"
#include "desk/evaluation/enneagramm_figur.h"

void AuswertungsDruckbilderEintragen() {
    DruckbildmacherEintragen("ZUVEnneagramm.bmp",
                             [] { AustauschbildSchreiben(EnneagrammFuerDruck(), "ZUVEnneagramm.bmp"); });
    DruckbildmacherEintragen("ZUVTabelle.bmp", [] {
        AustauschbildSchreiben(AntworttabelleFuerDruck(Antwortzellen::aktuelle()), "ZUVTabelle.bmp");
    });
    DruckbildquelleEintragen("Symbol", SymbolStand);
}
