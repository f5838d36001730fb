#include "desk/frame/frm_import.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <map>
#include <set>

#include "desk/common/globals.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace {

std::string meldungFertig(const std::string& quelle) {
    return DialogTxt(37) + " " + quelle + " " + DialogTxt(38) + " " + gDatenbankName + " " + DialogTxt(39);
}

}  // namespace

frmImport::frmImport() : forms::Form("frmImport") {
    auto* l = new QVBoxLayout(this);
    List1.setParent(this);
    l->addWidget(&List1, 1);
    List2.setParent(this);
    List2.setVisible(false);
    auto* k = new QHBoxLayout;
    for (forms::CommandButton* b : {&Command2, &Command3, &Command1, &Command4}) {
        b->setParent(this);
        k->addWidget(b);
    }
    l->addLayout(k);
    resize(560, 420);
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command4.Click = [this] { Command4_Click(); };
}

void frmImport::setupControls() {
    List1.Clear();
    List2.Clear();
    Command2.setCaption("Alle importieren");
    Command3.setCaption("Nur ausgewählte Datensätze");
    Command1.setCaption("Abbrechen");
    Command4.setCaption("Help");
}

void frmImport::Form_Load() {
    bool geladen = false;
    mitFehlerfalle([&] {
        CenterForm(*this);
        setCaption(MenuTxt(17));
        Command2.setCaption(LabelTxt(208));
        Command3.setCaption(LabelTxt(209));
        Command1.setCaption(LabelTxt(69));
        Command4.setCaption(LabelTxt(68));
        QuelleLaden(gImportQuelle);
        geladen = true;
    });
    // A source that could not be read opens no window whose buttons would act on it.
    if (!geladen) forms::Unload(*this);
}

void frmImport::QuelleLaden(const std::string& quelle) {
    std::vector<std::string> eintraege, nummern;
    Data1.setDatabaseName(quelle);
    Data1.setReadOnly(true);
    Data1.setRecordSource("persdat");
    struct Schliessen {
        db::DataControl& d;
        ~Schliessen() { d.close(); }
    } schliessen{Data1};
    Data1.Refresh();
    auto rs = Data1.Recordset();
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        while (!rs->Eof()) {
            // Persons with empty fields are listed too: their entry just lacks that part.
            eintraege.push_back(Feldtext(*rs, "vorname") + " " + Feldtext(*rs, "nachname") + ", " +
                                Feldtext(*rs, "testdatum"));
            nummern.push_back(vb::CStr(rs->Fields("personid").Value()));
            rs->MoveNext();
        }
    }
    List1.Clear();
    List2.Clear();
    for (size_t i = 0; i < eintraege.size(); ++i) {
        List1.AddItem(eintraege[i]);
        List2.AddItem(nummern[i]);
    }
    m_quelle = quelle;
}

int frmImport::ablehnung(const std::string& quelle) {
    if (!gDateiOffen || !gDatenbank) return 106;
    if (files::samePath(files::resolve(quelle), files::resolve(gDatenbankName))) return 107;
    if (gNurLesen) return 108;
    return 0;
}

bool frmImport::abgelehnt() const {
    const int grund = ablehnung(m_quelle);
    if (grund) gAntwort = forms::MsgBox(DialogTxt(grund), forms::vbExclamation, DialogTxt(3));
    return grund != 0;
}

int frmImport::importiere(const std::string& quelle, const std::vector<int32_t>* nurDiese) {
    switch (ablehnung(quelle)) {
    case 106: throw vb::Error(vb::err::ObjectNotSet, DialogTxt(106));
    case 107: throw vb::Error(vb::err::InvalidProcedureCall, DialogTxt(107));
    case 108: throw vb::Error(vb::err::ReadOnlyDatabase, DialogTxt(108));
    }
    {
        // Opening it first checks that the source is one of our data files under this login.
        auto pruefung = gWorkspace->OpenDatabase(files::resolve(quelle), false, true);
        pruefung->Close();
    }
    // The path stands in the statement as a quoted text; doubled quotes keep it one text.
    const std::string in = " IN '" + vb::Replace(files::resolve(quelle), "'", "''") + "'";
    db::Database& ziel = *gDatenbank;
    const char* temp[] = {"persdattemp", "ergebnistemp", "persontestergebnistemp", "typwertzuweisungtemp",
                          "personzuordnungtemp"};
    // Leftovers of an import that was broken off (by a program of old) are removed first.
    for (const char* t : temp)
        if (TableExists(ziel, t)) ziel.Execute(std::string("drop table [") + t + "];");

    std::set<int32_t> gewaehlt;
    if (nurDiese) gewaehlt.insert(nurDiese->begin(), nurDiese->end());
    // A few chosen persons are read from the source through its index instead of with every row
    // of a large file; the rows that arrive are the same, as only the chosen persons' rows are used.
    std::string nurGewaehlte;
    if (nurDiese && !gewaehlt.empty() && gewaehlt.size() <= 1000) {
        for (const int32_t id : gewaehlt) nurGewaehlte += (nurGewaehlte.empty() ? "" : ",") + std::to_string(id);
        nurGewaehlte = " WHERE personid IN (" + nurGewaehlte + ")";
    }
    int anzahl = 0;
    db::inTransaction(ziel, [&] {
        ziel.Execute("SELECT * INTO persdattemp FROM persdat" + nurGewaehlte + in);
        ziel.Execute("CREATE TABLE [personzuordnungtemp] ([alt] Long, [neu] Long)");
        {
            // Each person gets the number the target's counter gives it; the old and new numbers
            // are kept side by side, so every child row finds its own person whatever the order.
            auto q = ziel.OpenRecordset("SELECT * FROM persdattemp ORDER BY PersonID", db::RecordsetType::Snapshot);
            auto z = ziel.OpenRecordset("SELECT * FROM PersDat WHERE PersonID = -1", db::RecordsetType::Dynaset);
            auto m = ziel.OpenRecordset("personzuordnungtemp", db::RecordsetType::Dynaset);
            std::vector<std::string> felder;
            for (int i = 0; i < q->FieldCount(); ++i) {
                const std::string n = q->Fields(i).Name();
                if (vb::UCase(n) != "PERSONID") felder.push_back(n);
            }
            if (q->RecordCount() > 0) q->MoveFirst();
            while (q->RecordCount() > 0 && !q->Eof()) {
                const int32_t alt = q->Fields("PersonID").Value().toLong();
                if (!nurDiese || gewaehlt.count(alt)) {
                    z->AddNew();
                    for (const std::string& f : felder) z->Fields(f) = q->Fields(f).Value();
                    const int32_t neu = z->Fields("PersonID").Value().toLong();
                    z->Update();
                    m->AddNew();
                    m->Fields("alt") = vb::Variant(alt);
                    m->Fields("neu") = vb::Variant(neu);
                    m->Update();
                    ++anzahl;
                }
                q->MoveNext();
            }
        }
        struct Kind {
            const char* tabelle;
            const char* temp;
            const char* spalten;
        };
        const Kind kinder[] = {
            {"ergebnis", "ergebnistemp",
             "typnummer, typgesamtsumme, typsumme0, typsumme1, typsumme01, typsumme2, typsumme3, typsumme4, "
             "typsumme34, aw0, aw1, aw2, aw3, aw4, awgesamt"},
            {"persontestergebnis", "persontestergebnistemp", "itemnummer, itemwert"},
            {"typwertzuweisung", "typwertzuweisungtemp", "itemnummer, typnummer, typrealwert"}};
        for (const Kind& k : kinder) {
            ziel.Execute(std::string("SELECT * INTO ") + k.temp + " FROM " + k.tabelle + nurGewaehlte + in);
            std::string auswahl;
            for (const std::string& sp : {std::string(k.spalten)}) {
                size_t pos = 0;
                while (pos < sp.size()) {
                    size_t e = sp.find(',', pos);
                    if (e == std::string::npos) e = sp.size();
                    auswahl += ", t." + vb::Trim(sp.substr(pos, e - pos));
                    pos = e + 1;
                }
            }
            ziel.Execute(std::string("INSERT INTO ") + k.tabelle + " (personid, " + k.spalten + ") SELECT m.neu" +
                         auswahl + " FROM " + k.temp + " AS t INNER JOIN personzuordnungtemp AS m ON t.personid = m.alt");
        }
        for (const char* t : temp) ziel.Execute(std::string("drop table [") + t + "];");
    });
    return anzahl;
}

void frmImport::Command2_Click() {
    mitFehlerfalle([this] {
        if (abgelehnt()) return;
        setMousePointer(forms::vbHourglass);
        struct Zeiger {
            frmImport* f;
            ~Zeiger() { f->setMousePointer(forms::vbDefault); }
        } zeiger{this};
        const int n = importiere(m_quelle, nullptr);
        setMousePointer(forms::vbDefault);
        if (n == 0) {
            gAntwort = forms::MsgBox(DialogTxt(109), forms::vbExclamation, DialogTxt(3));
            return;
        }
        gAntwort = forms::MsgBox(meldungFertig(m_quelle), forms::vbExclamation, DialogTxt(3));
    });
}

void frmImport::Command3_Click() {
    mitFehlerfalle([this] {
        std::vector<int32_t> nummern;
        for (int i = 0; i < List1.ListCount(); ++i)
            if (List1.Selected(i)) nummern.push_back(static_cast<int32_t>(vb::Val(List2.List(i))));
        if (nummern.empty()) {
            gAntwort = forms::MsgBox(DialogTxt(40), forms::vbExclamation, DialogTxt(3));
        } else if (!abgelehnt()) {
            setMousePointer(forms::vbHourglass);
            struct Zeiger {
                frmImport* f;
                ~Zeiger() { f->setMousePointer(forms::vbDefault); }
            } zeiger{this};
            importiere(m_quelle, &nummern);
            setMousePointer(forms::vbDefault);
            gAntwort = forms::MsgBox(meldungFertig(m_quelle), forms::vbExclamation, DialogTxt(3));
        }
        forms::Unload(*this);
    });
}

void frmImport::Command1_Click() { forms::Unload(*this); }

void frmImport::Command4_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw65wj.htm"); });
}
