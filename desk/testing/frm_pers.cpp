#include "desk/testing/frm_pers.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <chrono>
#include <filesystem>

#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/form3.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

namespace {

constexpr std::array<const char*, 12> kFelder{"Vorname", "Nachname", "Geburtstag", "Strasse",   "PLZOrt",    "Land",
                                              "Telefon", "EMail",    "Bereich",    "Abteilung", "Bemerkung", "Testdatum"};
constexpr std::array<int, 12> kBeschriftung{47, 48, 49, 50, 51, 164, 52, 58, 53, 54, 55, 56};

// The indexes of the date boxes: birthday (may stay empty) and test date.
constexpr int kGeburtstag = 2;
constexpr int kTestdatum = 11;

// A date as the person window takes it: day.month.year, day and month of one or two digits, the
// year of four, and a day the calendar has.
bool istDatum(const std::string& t) {
    int teil[3] = {0, 0, 0};
    int stellen[3] = {0, 0, 0};
    int i = 0;
    for (const char c : t) {
        if (c == '.') {
            if (++i > 2) return false;
        } else if (c >= '0' && c <= '9') {
            if (++stellen[i] > 4) return false;
            teil[i] = teil[i] * 10 + (c - '0');
        } else {
            return false;
        }
    }
    if (i != 2 || stellen[0] < 1 || stellen[0] > 2 || stellen[1] < 1 || stellen[1] > 2 || stellen[2] != 4) return false;
    if (teil[2] == 0) return false;
    using namespace std::chrono;
    return year_month_day{year{teil[2]}, month{static_cast<unsigned>(teil[1])}, day{static_cast<unsigned>(teil[0])}}.ok();
}

void fokus(QWidget& w) {
    if (w.isVisible() && w.isEnabled()) w.setFocus(Qt::OtherFocusReason);
}

// The hourglass for the length of one step, back to normal on every way out.
struct Sanduhr {
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
};

// The program must not go on pointing at a person that no longer exists.
void aktuellePersonLoesen(int32_t id) {
    if (id == 0 || id != gAktPersonID) return;
    gAktPersonID = 0;
    gAktPerson[1].clear();
    gAktPerson[2].clear();
    gAktPerson[11].clear();
    // The data file stays open: the caption names it, as after opening it.
    SetzeMenueStatus();
    UpdateMainCaption();
}

}  // namespace

void PersonUebernehmen(int32_t id, const std::string& vorname, const std::string& nachname,
                       const std::string& testdatum) {
    gAktPersonID = id;
    gAktPerson[1] = vorname;
    gAktPerson[2] = nachname;
    gAktPerson[11] = testdatum;
    EnableFileMenus();
    UpdateMainCaption();
}

frmpers::frmpers() : Form("frmpers") {
    setKeyPreview(true);
    auto* haupt = new QVBoxLayout(this);
    auto* felder1 = new QGridLayout(&Frame1);
    auto* felder2 = new QGridLayout(&Frame2);
    for (int i = 0; i < 12; ++i) {
        auto* raster = (i <= 5 || i == 11) ? felder1 : felder2;
        const int zeile = raster->rowCount();
        raster->addWidget(&Beschriftung[i], zeile, 0);
        raster->addWidget(&Text1[i], zeile, 1);
        Text1[i].setMinimumWidth(260);
        Text1[i].KeyPress = [this, i](int& k) { Text1_KeyPress(i, k); };
        Text1[i].LostFocus = [this, i] { AktuellesFeld = i; };
    }
    auto* oben = new QHBoxLayout;
    oben->addWidget(&Frame1);
    oben->addWidget(&Frame2);
    haupt->addLayout(oben);
    auto* nav = new QHBoxLayout;
    for (auto* b : {&DataErster, &DataZurueck}) nav->addWidget(b);
    nav->addWidget(&DataCaption, 1);
    for (auto* b : {&DataVor, &DataLetzter}) nav->addWidget(b);
    nav->addWidget(&Bezeichnung14);
    nav->addWidget(&Bezeichnung15);
    haupt->addLayout(nav);
    auto* knoepfe1 = new QHBoxLayout;
    for (auto* b : {&Befehl4, &Befehl7, &Befehl5, &Befehl6, &Befehl3, &Befehl9}) knoepfe1->addWidget(b);
    haupt->addLayout(knoepfe1);
    auto* knoepfe2 = new QHBoxLayout;
    for (auto* b : {&Befehl8, &Befehl1, &Command2, &Command1, &Befehl2}) knoepfe2->addWidget(b);
    haupt->addLayout(knoepfe2);
    Text8.setParent(this);
    Text8.hide();
    Text2.setParent(this);
    Text2.hide();
    DataErster.setCaption("|<");
    DataZurueck.setCaption("<");
    DataVor.setCaption(">");
    DataLetzter.setCaption(">|");

    auto bewege = [this](void (db::Recordset::*schritt)()) {
        mitFehlerfalle([&] {
            auto& rs = DatenSatz(Data1);
            if (rs.RecordCount() == 0) return;
            (rs.*schritt)();
            if (rs.Eof()) rs.MoveLast();
            if (rs.Bof()) rs.MoveFirst();
        });
    };
    DataErster.Click = [=] { bewege(&db::Recordset::MoveFirst); };
    DataZurueck.Click = [=] { bewege(&db::Recordset::MovePrevious); };
    DataVor.Click = [=] { bewege(&db::Recordset::MoveNext); };
    DataLetzter.Click = [=] { bewege(&db::Recordset::MoveLast); };
    Befehl1.Click = [this] { Befehl1_Click(); };
    Befehl2.Click = [this] { Befehl2_Click(); };
    Befehl3.Click = [this] { Befehl3_Click(); };
    Befehl4.Click = [this] { Befehl4_Click(); };
    Befehl5.Click = [this] { Befehl5_Click(); };
    Befehl6.Click = [this] { Befehl6_Click(); };
    Befehl7.Click = [this] { Befehl7_Click(); };
    Befehl8.Click = [this] { Befehl8_Click(); };
    Befehl9.Click = [this] { Befehl9_Click(); };
    Command1.Click = [] { mitFehlerfalle([] { ShowHelp("html/zuvw45gu.htm"); }); };
    Command2.Click = [this] { Command2_Click(); };
    m_listener = Data1.addRowListener([this] { zeigeZeile(); });
}

void frmpers::setupControls() {
    NeuerSatzOffen = 0;
    NeuModus = 0;
    for (auto& t : Text1) t.setText("");
    Text8.setText("");
    Text2.setText("");
    for (auto* b : {&Befehl1, &Befehl2, &Befehl3, &Befehl4, &Befehl6, &Befehl7, &Befehl8, &Befehl9, &Command1, &Command2})
        b->setEnabled(true);
    Befehl5.setEnabled(false);
    setData1Enabled(true);
}

void frmpers::setData1Enabled(bool on) {
    m_data1Enabled = on;
    for (auto* b : {&DataErster, &DataZurueck, &DataVor, &DataLetzter}) b->setEnabled(on);
    DataCaption.setEnabled(on);
}

void frmpers::datenLaden() {
    setCaption(LabelTxt(9));
    DataCaption.setCaption("     " + LabelTxt(9));
    Befehl1.setCaption(LabelTxt(67));
    Befehl2.setCaption(LabelTxt(69));
    Befehl3.setCaption(LabelTxt(64));
    Befehl4.setCaption(LabelTxt(60));
    Befehl5.setCaption(LabelTxt(66));
    Befehl6.setCaption(LabelTxt(62));
    Befehl7.setCaption(LabelTxt(61));
    Befehl8.setCaption(LabelTxt(63));
    Befehl9.setCaption(LabelTxt(65));
    Command1.setCaption(LabelTxt(68));
    Command2.setCaption(LabelTxt(455));
    Frame1.setCaption(LabelTxt(46));
    Frame2.setCaption(LabelTxt(57));
    for (int i = 0; i < 12; ++i) Beschriftung[i].setCaption(LabelTxt(kBeschriftung[i]) + ":");
    Bezeichnung14.setCaption(LabelTxt(59));
    DatenBinden(Data1, gDatenbankName, "select * from persdat order by nachname");
    // The new person's rows are written through recordsets of their own (see Befehl5_Click), so
    // the main window's shared cursors are not bound here.
    for (int i = 0; i < 12; ++i)
        setTabOrder(i == 0 ? static_cast<QWidget*>(&Befehl7) : Text1[i - 1].editor(), Text1[i].editor());
    DisableTextFields();
}

void frmpers::Form_Load() {
    bool geladen = false;
    mitFehlerfalle([&] {
        datenLaden();
        geladen = true;
    });
    // The persons could not be read (the file held by another program, a disk error): the message
    // said why, and no window opens that would show the file as if it held nobody. A load that
    // ended otherwise (the file lost meanwhile and written back) shows what it could read.
    if (!geladen && !Data1.Recordset()) forms::Unload(*this);
}

long frmpers::anzahl() {
    auto rs = Data1.Recordset();
    return rs ? rs->RecordCount() : 0;
}

void frmpers::browseZustand(bool personenDa) {
    Befehl1.setEnabled(personenDa);
    Befehl7.setEnabled(personenDa);
    Befehl6.setEnabled(personenDa);
    Befehl3.setEnabled(personenDa);
    setData1Enabled(personenDa);
}

void frmpers::anderswoGeloescht(int meldung) {
    aktuellePersonLoesen(m_gezeigtePerson);
    m_gezeigtePerson = 0;
    Data1.Refresh();
    const long n = anzahl();
    Bezeichnung15.setCaption(std::to_string(n));
    if (NeuerSatzOffen == 0) {
        browseZustand(n != 0);
        if (n == 0) {
            for (auto& t : Text1) t.setText("");
            HauptfensterTitel(kProgrammTitel);
            SetzeMenueStatus();
        }
    }
    gAntwort = forms::MsgBox(DialogTxt(meldung), forms::vbExclamation, DialogTxt(3));
}

void frmpers::Form_Activate() {
    mitFehlerfalle([this] {
        // A new person or an edit in progress keeps what was typed.
        if (NeuerSatzOffen == 1 || Befehl5.isEnabled()) return;
        if (anzahl() != 0) {
            auto& rs = DatenSatz(Data1);
            rs.MoveLast();
            Bezeichnung15.setCaption(std::to_string(rs.RecordCount()));
            rs.FindFirst("PersonID =" + std::to_string(gAktPersonID));
            BindTextFieldsToDataControl();
            Befehl1.setEnabled(true);
            Befehl7.setEnabled(true);
            fokus(Befehl7);
        } else {
            Bezeichnung15.setCaption("0");
            browseZustand(false);
        }
    });
}

void frmpers::Form_Unload(int&) {
    // A change that was not saved is dropped with the window.
    if (auto rs = Data1.Recordset(); rs && rs->editMode() != db::Recordset::EditMode::None) rs->CancelUpdate();
    NeuerSatzOffen = 0;
    if (gAssistentanzeige != 0) AssistentNachVorn();
}

void frmpers::Form_KeyDown(int& keyCode, int) {
    if (keyCode == forms::vbKeyEscape) forms::Unload(*this);
    else if (keyCode == forms::vbKeyHome) fokus(*Text1[0].editor());
}

void frmpers::Text1_KeyPress(int index, int& k) {
    if (k != forms::vbKeyReturn) return;
    if (index < 11) fokus(*Text1[index + 1].editor());
    else fokus(Befehl5);
}

void frmpers::BindTextFieldsToDataControl() { zeigeZeile(); }

void frmpers::zeigeZeile() {
    if (NeuerSatzOffen == 1) return;
    auto rs = Data1.Recordset();
    if (!rs || rs->Eof() || rs->Bof() || rs->RecordCount() == 0) return;
    try {
        for (int i = 0; i < 12; ++i) Text1[i].setText(vb::textOrEmpty(rs->Fields(kFelder[i]).Value()));
        m_gezeigtePerson = rs->Fields("PersonID").Value().toLong();
    } catch (const vb::Error&) {
        // No current row (e.g. just deleted): the boxes keep what they show.
    }
}

void frmpers::zeileSchreiben(db::Recordset& rs) {
    // Say which box holds too much before the file refuses the row.
    for (int i = 0; i < 12; ++i) {
        db::Field& feld = rs.Fields(kFelder[i]);
        const int laenge = vb::Len(Text1[i].Text());
        if (feld.Type() == db::FieldType::Text && laenge > feld.Size())
            throw vb::Error(vb::err::FieldTooSmall, DialogTxt(113) + LabelTxt(kBeschriftung[i]) + DialogTxt(114) +
                                                        std::to_string(laenge) + DialogTxt(115) +
                                                        std::to_string(feld.Size()) + DialogTxt(116));
    }
    for (int i = 0; i < 12; ++i) {
        const std::string t = Text1[i].Text();
        rs.Fields(kFelder[i]) = t.empty() ? vb::Variant::null() : vb::Variant(t);
    }
}

bool frmpers::datenGueltig() {
    for (const int i : {kGeburtstag, kTestdatum}) {
        const std::string t = Text1[i].Text();
        if (istDatum(t) || (i == kGeburtstag && t.empty())) continue;
        // A person stored before with another text there keeps it while other boxes are edited.
        if (NeuModus == 0)
            if (auto rs = Data1.Recordset(); rs && vb::textOrEmpty(rs->Fields(kFelder[i]).Value()) == t) continue;
        gAntwort = forms::MsgBox(DialogTxt(68) + LabelTxt(kBeschriftung[i]) + DialogTxt(69) +
                                     (i == kGeburtstag ? DialogTxt(70) : std::string()),
                                 forms::vbExclamation, DialogTxt(3));
        fokus(*Text1[i].editor());
        return false;
    }
    return true;
}

void frmpers::EnableTextFields() {
    for (auto& t : Text1) t.setEnabled(true);
}

void frmpers::DisableTextFields() {
    for (auto& t : Text1) t.setEnabled(false);
}

std::string frmpers::personZeile() { return Text1[0].Text() + " " + Text1[1].Text() + "/" + Text1[11].Text(); }

void frmpers::personUebernehmen() {
    auto& rs = DatenSatz(Data1);
    // The person as stored now: one deleted by another program since the window showed it is
    // not made the program's person (3167 here, before anything changes).
    rs.setBookmark(rs.Bookmark());
    (void)rs.Fields("personid").Value();
    for (const char* bild : {"\\ZUVEnneagramm.bmp", "\\ZUVGrafik1.bmp", "\\ZUVGrafik2.bmp", "\\ZUVGrafik3.bmp",
                             "\\ZUVTabelle.bmp", "\\ZUVAktuelleSeite.bmp", "\\ZUVVergleich.bmp"}) {
        const std::string pfad = gAppPath + bild;
        if (files::FileExists(pfad)) {
            std::error_code fehler;
            std::filesystem::remove(files::resolve(pfad), fehler);
        }
    }
    PersonUebernehmen(rs.Fields("personid").Value().toLong(), vb::textOrEmpty(rs.Fields("vorname").Value()),
                      vb::textOrEmpty(rs.Fields("nachname").Value()), vb::textOrEmpty(rs.Fields("testdatum").Value()));
    // A new person is taken to the test next, a chosen one to the chart.
    if (NeuModus == 1) AssistentSchritt({{2, 5}, {1, 2}}, kDunkelblau);
    else AssistentSchritt({{2, 4}, {1, 1}}, kDunkelblau);
    SchliesseUnterfenster();
    forms::Unload(*this);
}

void frmpers::Befehl1_Click() {
    mitFehlerfalle([this] {
        try {
            personUebernehmen();
        } catch (const vb::Error& e) {
            if (e.number() != vb::err::RowDeleted) throw;
            anderswoGeloescht(159);
        }
    });
}

void frmpers::Befehl2_Click() {
    mitFehlerfalle([this] {
        // A new person begun here exists nowhere until it is saved: nothing to delete.
        NeuerSatzOffen = 0;
        forms::Unload(*this);
    });
}

void frmpers::Befehl3_Click() {
    mitFehlerfalle([this] {
        const std::string gesucht = forms::InputBox(LabelTxt(70), LabelTxt(71), "");
        if (gesucht.empty()) return;
        auto& rs = DatenSatz(Data1);
        if (rs.RecordCount() != 0) {
            rs.MoveFirst();
            for (; !rs.Eof(); rs.MoveNext()) {
                const vb::Variant n = rs.Fields("nachname").Value();
                if (n.isNull() || n.isEmpty()) continue;  // a person without a surname cannot match
                if (vb::UCase(n.toString()) == vb::UCase(gesucht)) return;
            }
        }
        gAntwort = forms::MsgBox(DialogTxt(22), forms::vbExclamation, DialogTxt(3));
        if (rs.RecordCount() != 0) rs.MoveLast();
    });
}

void frmpers::Befehl4_Click() {
    mitFehlerfalle([this] {
        NeuerSatzOffen = 1;
        NeuModus = 1;
        for (auto& t : Text1) t.setText("");
        Text8.setText("");
        setData1Enabled(false);
        for (auto* b : {&Befehl1, &Befehl7, &Befehl6, &Befehl4, &Befehl3, &Befehl8, &Befehl9}) b->setEnabled(false);
        Befehl5.setEnabled(true);
        EnableTextFields();
        Text1[11].setText(vb::Format(vb::Date(), "dd.mm.yyyy"));
        fokus(*Text1[0].editor());
    });
}

void frmpers::Befehl5_Click() {
    mitFehlerfalle([this] {
        fokus(*Text1[10].editor());
        if (Text1[0].Text().empty() || Text1[1].Text().empty() || Text1[11].Text().empty()) {
            gAntwort = forms::MsgBox(DialogTxt(18), forms::vbExclamation, DialogTxt(3));
            fokus(*Text1[AktuellesFeld].editor());
            return;
        }
        if (!datenGueltig()) return;
        if (NeuModus == 0) {
            bool anderswoGeaendert = false;
            bool anderswoGeloeschtWorden = false;
            {
                Sanduhr s;
                auto& rs = DatenSatz(Data1);
                try {
                    if (rs.editMode() == db::Recordset::EditMode::None) rs.Edit();
                    zeileSchreiben(rs);
                    rs.Update();
                } catch (const vb::Error& e) {
                    if (e.number() == vb::err::ChangedByOther) anderswoGeaendert = true;
                    else if (e.number() == vb::err::RowDeleted) anderswoGeloeschtWorden = true;
                    else throw;
                }
                if (anderswoGeloeschtWorden && rs.editMode() != db::Recordset::EditMode::None) rs.CancelUpdate();
            }
            if (anderswoGeloeschtWorden) {
                // Nothing of what was typed is lost: it stays in the boxes as a new person, which
                // "Speichern" stores under a number of its own.
                NeuModus = 1;
                NeuerSatzOffen = 1;
                Text8.setText("");
                anderswoGeloescht(158);
                fokus(*Text1[AktuellesFeld].editor());
                return;
            }
            if (anderswoGeaendert) {
                // What was typed stays in the boxes, and saving again is refused the same way: only
                // a window opened afresh edits the person as it is stored now.
                gAntwort = forms::MsgBox(DialogTxt(156), forms::vbExclamation, DialogTxt(3));
                fokus(*Text1[AktuellesFeld].editor());
                return;
            }
            for (auto* b : {&Befehl1, &Befehl4, &Befehl6, &Befehl7, &Befehl3, &Befehl8, &Befehl9}) b->setEnabled(true);
            setData1Enabled(true);
            Befehl5.setEnabled(false);
            DisableTextFields();
            return;
        }

        // The person row and its 109 + 126 + 9 blank rows are written together or not at all.
        if (!gDatenbank) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(117));
        int32_t id = 0;
        {
            Sanduhr s;
            db::inTransaction(*gDatenbank, [&] {
                auto rs = gDatenbank->OpenRecordset("select * from persdat where personid = 0");
                rs->AddNew();
                id = rs->Fields("PersonID").Value().toLong();
                zeileSchreiben(*rs);
                rs->Update();
                rs->Close();
                if (!zuvtest::hatTestdatensaetze(*gDatenbank, id))
                    zuvtest::legeTestdatensaetzeAn(*gDatenbank, id, {gItemNummer, gTypNummer});
            });
        }
        Text8.setText(std::to_string(id));
        NeuerSatzOffen = 0;
        Befehl5.setEnabled(false);
        Befehl4.setEnabled(true);
        Befehl6.setEnabled(true);
        for (auto* b : {&Befehl1, &Befehl2, &Befehl3, &Befehl8, &Befehl9, &Befehl7}) b->setEnabled(true);
        setData1Enabled(true);
        fokus(Befehl7);
        DisableTextFields();
        Data1.Refresh();
        Bezeichnung15.setCaption(std::to_string(anzahl()));
        DatenSatz(Data1).FindFirst("PersonID =" + std::to_string(id));

        gAntwort = forms::MsgBox(DialogTxt(19) + personZeile() + DialogTxt(20), forms::vbYesNo + forms::vbExclamation,
                                 DialogTxt(3));
        const bool jetztTesten = gAntwort == forms::vbYes;
        personUebernehmen();
        if (jetztTesten) {
            HauptfensterZeigen();
            TestDurchfuehren();
        }
        if (jetztTesten) AssistentSchritt({{2, 4}, {1, 1}}, kGelb);
        else AssistentSchritt({{2, 5}, {1, 2}}, kGelb);
    });
}

void frmpers::Befehl6_Click() {
    mitFehlerfalle([this] {
        gAntwort = forms::MsgBox(DialogTxt(23) + personZeile() + DialogTxt(24),
                                 forms::vbYesNoCancel + forms::vbExclamation, DialogTxt(3));
        if (gAntwort == forms::vbNo || gAntwort == forms::vbCancel) return;
        Hide();
        // The window comes back however the deletion ends, before any message about it.
        struct WiederZeigen {
            frmpers& f;
            ~WiederZeigen() {
                try {
                    if (f.isLoaded() && !f.isVisible()) f.Show();
                } catch (...) {
                }
            }
        } wiederZeigen{*this};
        bool geloescht = false;
        bool anderswoGeaendert = false;
        bool schonGeloescht = false;  // by another program, since the window showed the person
        {
            Sanduhr s;
            auto& rs = DatenSatz(Data1);
            vb::Variant nachname;
            try {
                nachname = rs.Fields("nachname").Value();
            } catch (const vb::Error& e) {
                if (e.number() != vb::err::RowDeleted) throw;
                schonGeloescht = true;
            }
            if (schonGeloescht) {
                // Nothing left to delete here.
            } else if (!nachname.isNull() && !nachname.toString().empty()) {
                const int32_t id = rs.Fields("personid").Value().toLong();
                try {
                    rs.Delete();
                    geloescht = true;
                } catch (const vb::Error& e) {
                    if (e.number() == vb::err::RowDeleted) {
                        schonGeloescht = true;
                    } else {
                        if (e.number() != vb::err::ChangedByOther) throw;
                        anderswoGeaendert = true;
                    }
                }
                if (geloescht) aktuellePersonLoesen(id);
                if (geloescht && rs.RecordCount() != 0) rs.MoveFirst();
            } else {
                Befehl6.setEnabled(false);
                Befehl7.setEnabled(false);
                Befehl1.setEnabled(false);
            }
            if (!schonGeloescht && rs.RecordCount() == 0) {
                browseZustand(false);
                HauptfensterTitel(kProgrammTitel);
                SetzeMenueStatus();
            }
        }
        if (schonGeloescht) {
            Show();
            anderswoGeloescht(159);
            return;
        }
        if (anderswoGeaendert) {
            // The window stays on the person and shows it as it is stored now, so that the user
            // decides on what is there.
            zeigeZeile();
            Show();
            gAntwort = forms::MsgBox(DialogTxt(157), forms::vbExclamation, DialogTxt(3));
            return;
        }
        Bezeichnung15.setCaption(std::to_string(anzahl()));
        datenLaden();
        if (anzahl() == 0) browseZustand(false);
        Show();
        gAntwort = forms::MsgBox(DialogTxt(geloescht ? 21 : 118), forms::vbExclamation, DialogTxt(3));
    });
}

void frmpers::Befehl7_Click() {
    mitFehlerfalle([this] {
        NeuModus = 0;
        NeuerSatzOffen = 0;
        try {
            DatenSatz(Data1).Edit();
        } catch (const vb::Error& e) {
            if (e.number() != vb::err::RowDeleted) throw;
            anderswoGeloescht(159);
            return;
        }
        // Edit reads the person as stored now, and a save is checked against that: the boxes must
        // show it, or what another program changed since the window showed the person would be
        // written back from them.
        zeigeZeile();
        EnableTextFields();
        for (auto* b : {&Befehl1, &Befehl4, &Befehl6, &Befehl7, &Befehl3, &Befehl8, &Befehl9}) b->setEnabled(false);
        setData1Enabled(false);
        Befehl5.setEnabled(true);
        fokus(*Text1[0].editor());
    });
}

void frmpers::Befehl8_Click() {
    mitFehlerfalle([this] {
        auto& f = forms::Instance<Form3>();
        f.ensureLoaded();
        if (!f.isLoaded()) return;
        FormZentrieren(f);
        f.Show(forms::vbModal);
        if (gAuswahlAbgebrochen != 1) forms::Unload(*this);
    });
}

void frmpers::Befehl9_Click() {
    mitFehlerfalle([this] { DatenBinden(Data1, gDatenbankName, "select * from persdat order by nachname, vorname"); });
}

void frmpers::Command2_Click() {
    mitFehlerfalle([this] {
        dlgcmd1.setFileName("");
        dlgcmd1.setDialogTitle(LabelTxt(454));
        dlgcmd1.setFilter("XML (*.xml)|*.xml");
        dlgcmd1.setCancelError(true);
        dlgcmd1.setFlags(6);
        dlgcmd1.ShowOpen();
        const std::string name = zuvtest::xmlDateiname(dlgcmd1.FileName());
        if (name.empty()) return;
        Text2.setText(name);
        ParseXML();
    });
}

void frmpers::ParseXML() {
    // One layout for every refusal: the heading and the reason on one line, the line of the file
    // (0 where the fault lies in no line) under it.
    auto fehlschlag = [](const std::string& grund, int zeile) {
        forms::MsgBox(LabelTxt(363) + " " + grund + "\r\n" + LabelTxt(364) + " " + std::to_string(zeile),
                      forms::vbExclamation, "");
    };
    m_xml = {};
    // The open data file (or its log) chosen by mistake is not read: a descriptor of our own on it
    // would drop the locks that keep other programs from taking its log away.
    if (db::DBEngine::instance().holdsFile(files::resolve(Text2.Text()))) {
        fehlschlag(DialogTxt(71), 0);
        return;
    }
    try {
        m_xml = zuvtest::leseXmlPerson(Text2.Text());
    } catch (const zuvtest::XmlImportFehler& e) {
        fehlschlag(e.grund(), e.zeile());
        return;
    }
    gAntwort = forms::MsgBox(DialogTxt(74), forms::vbYesNo + forms::vbQuestion, DialogTxt(3));
    if (gAntwort == forms::vbNo) {
        m_xml = {};
        return;
    }
    int32_t id = 0;
    try {
        if (!gDatenbank) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(117));
        Sanduhr s;
        id = zuvtest::schreibeXmlPerson(*gDatenbank, m_xml, {gItemNummer, gTypNummer});
    } catch (const vb::Error& e) {
        // The file was read whole; what failed is the data file (a full disk, a file deleted or moved
        // meanwhile), which the standard box names with its number: a line "Nummer: 0" of the XML
        // file would only mislead.
        ShowErrorMessage(e);
        return;
    } catch (const std::exception& e) {
        fehlschlag(e.what(), 0);
        return;
    }
    // The imported person is the current person, as a choice from the list makes it: the main
    // window names it and no result window of the previous person stays open.
    PersonUebernehmen(id, m_xml.texte[0], m_xml.texte[1], m_xml.texte[11]);
    SchliesseUnterfenster();
    // The list shows the new person, unless a new person or an edit is under way in the boxes:
    // what was typed there stays, and so does the row it belongs to.
    if (!Befehl5.isEnabled())
        mitFehlerfalle([this, id] {
            Data1.Refresh();
            Bezeichnung15.setCaption(std::to_string(anzahl()));
            browseZustand(anzahl() != 0);
            if (anzahl() != 0) DatenSatz(Data1).FindFirst("PersonID =" + std::to_string(id));
        });
    gAntwort = forms::MsgBox(DialogTxt(75), forms::vbExclamation, DialogTxt(3));
}
