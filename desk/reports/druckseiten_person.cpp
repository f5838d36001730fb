// Report page 1, the cover sheet with the tested person's data, and pages 2 and 3, the fixed
// explanations.

#include "desk/common/main_window_port.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckseiten_text.h"
#include "platform/db/data_control.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"

using druckseiten::Seite;

namespace {

// A column counts as given when it holds text, blanks included.
bool vorhanden(const vb::Variant& v) { return !vb::textOrEmpty(v).empty(); }

}  // namespace

void DruckSeitePersonendaten() {
    DrucktabelleBinden();
    const std::string id = vb::Str(static_cast<long>(gAktPersonID));
    db::Recordset& rs = DatenBinden(HauptDaten(2), gDatenbankName, "select * from persdat where personid = " + id);
    // The row is read whole before the first line, so a person deleted meanwhile leaves no half page.
    const auto feld = [&rs](const char* name) { return rs.Fields(name).Value(); };
    const vb::Variant vorname = feld("vorname"), nachname = feld("nachname"), geburtstag = feld("geburtstag");
    const vb::Variant strasse = feld("strasse"), plzort = feld("plzort"), land = feld("land");
    const vb::Variant telefon = feld("telefon"), email = feld("email");
    const vb::Variant bereich = feld("bereich"), abteilung = feld("abteilung"), testdatum = feld("testdatum");

    const Seite s(1);
    s.leer(1);
    s.leer(2);
    s.trennlinie(3);
    s.leer(4);
    s.leer(5);
    s.label(6, 230, kFormatPerson);
    s.leer(7);
    s.leer(8);
    // A missing first name, surname or test date prints as empty rather than ending the report.
    s.zeile(9, vb::textOrEmpty(vorname) + " " + vb::textOrEmpty(nachname), kFormatPerson);
    if (vorhanden(geburtstag)) {
        s.leer(10);
        s.zeile(11, LabelTxt(49) + ": " + vb::textOrEmpty(geburtstag), kFormatPerson);
        s.leer(12);
    }
    if (vorhanden(strasse)) s.zeile(13, vb::textOrEmpty(strasse), kFormatPerson);
    if (vorhanden(plzort)) s.zeile(14, vb::textOrEmpty(plzort), kFormatPerson);
    if (vorhanden(land)) s.zeile(15, vb::textOrEmpty(land), kFormatPerson);
    s.leer(16);
    if (vorhanden(telefon)) s.zeile(17, LabelTxt(52) + ": " + vb::textOrEmpty(telefon), kFormatPerson);
    if (vorhanden(email)) s.zeile(18, LabelTxt(58) + ": " + vb::textOrEmpty(email), kFormatPerson);
    s.leer(19);
    if (vorhanden(bereich)) s.zeile(20, vb::textOrEmpty(bereich), kFormatPerson);
    if (vorhanden(abteilung)) s.zeile(21, vb::textOrEmpty(abteilung), kFormatPerson);
    s.leer(22);
    s.zeile(23, LabelTxt(56) + ": " + vb::textOrEmpty(testdatum), kFormatPerson);
    // A report of an unfinished test says so before anything of its result.
    const int beantwortet = urteil::beantworteteAussagen();
    if (beantwortet < urteil::Befund::kAussagen) {
        s.leer(24);
        s.zeile(25, urteil::unvollstaendigText(beantwortet), kFormatPerson);
    }
}

void DruckSeiteErlaeuterung() {
    DrucktabelleBinden();
    // Line, label text (0: an empty line) and code; the numbers between them stand for nothing.
    struct Zeile {
        int nr, label;
        const char* code;
    };
    static constexpr Zeile kSeite2[] = {
        {1, 403, "U1"},  {2, 0, "DE"},  {3, 404, "DE"},  {4, 0, "DE"},    {5, 0, "DE"},
        {6, 258, "U1"},  {7, 0, "DE"},  {8, 0, "DE"},    {9, 259, "DE"},  {11, 231, "DE"},
        {12, 232, "DE"}, {13, 0, "DE"}, {14, 0, "DE"},   {15, 260, "DE"}, {17, 233, "DE"},
        {18, 0, "DE"},   {19, 0, "DE"}, {20, 261, "DE"}, {22, 234, "DE"},
    };
    static constexpr Zeile kSeite3[] = {
        {1, 262, "U1"}, {2, 0, "DE"},    {3, 0, "DE"},    {4, 263, "DE"},  {6, 235, "DE"},  {7, 236, "DE"},
        {8, 0, "DE"},   {10, 264, "DE"}, {12, 237, "DE"}, {14, 0, "DE"},   {15, 265, "DE"}, {17, 238, "DE"},
        {19, 0, "DE"},  {20, 266, "DE"}, {22, 242, "DE"}, {24, 0, "DE"},   {25, 267, "DE"}, {27, 239, "DE"},
        {29, 0, "DE"},  {30, 268, "DE"}, {32, 240, "DE"}, {33, 241, "DE"},
    };
    const auto schreiben = [](int16_t seite, const auto& zeilen) {
        const Seite s(seite);
        for (const Zeile& z : zeilen) s.zeile(z.nr, z.label ? LabelTxt(z.label) : std::string(), z.code);
    };
    schreiben(2, kSeite2);
    schreiben(3, kSeite3);
}
