#include "desk/reports/druckzeile.h"

#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/vb/strings.h"

const std::string& Trennlinie() {
    static const std::string linie = vb::String(80, vb::Chr(175));
    return linie;
}

void SchreibeDruckzeile(int16_t Druckseite, int16_t ZeilenNr, const std::string& Zeilentext,
                        const std::string& Formatierung) {
    db::DataControl& d = HauptDaten(5);
    DatenSatz(d).AddNew();
    DatenSatz(d).Fields("Druckseite") = vb::Variant(Druckseite);
    DatenSatz(d).Fields("ZeilenNr") = vb::Variant(ZeilenNr);
    // A name of two long parts or a long label would not fit the field: the line is cut, the report goes on.
    DatenSatz(d).Fields("ZeilenText") = vb::Variant(
        vb::Len(Zeilentext) > kZeilentextLaenge ? vb::Left(Zeilentext, kZeilentextLaenge) : Zeilentext);
    DatenSatz(d).Fields("Formatierung") = vb::Variant(Formatierung);
    try {
        DatenSatz(d).Update();
    } catch (...) {
        // The failed row is not left pending for the next one.
        if (auto rs = d.Recordset(); rs && rs->editMode() != db::Recordset::EditMode::None) rs->CancelUpdate();
        throw;
    }
}

void DrucktabelleBinden() {
    db::DataControl& d = HauptDaten(5);
    DatenBinden(d, gDatenbankName, "Drucktabelle");
}
