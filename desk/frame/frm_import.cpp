#include "desk/frame/frm_import.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <map>
#include <set>

#include "desk/frame/globals.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace {

std::string text(db::Recordset& rs, const char* feld) {
    const vb::Variant v = rs.Fields(feld).Value();
    return v.isNull() || v.isEmpty() ? std::string() : vb::CStr(v);
}

std::string meldungFertig() {
    return DialogTxt(37) + " " + gImportQuelle + " " + DialogTxt(38) + " " + gDatenbankName + " " + DialogTxt(39);
}

void copyRows(db::Database& quelle, db::Database& ziel, const std::string& tabelle,
              const std::map<int32_t, int32_t>& neueNummer) {
    auto q = quelle.OpenRecordset("SELECT * FROM " + tabelle + " ORDER BY PersonID", db::RecordsetType::Snapshot);
    auto z = ziel.OpenRecordset("SELECT * FROM " + tabelle + " WHERE PersonID = -1", db::RecordsetType::Dynaset);
    std::vector<std::string> felder;
    for (int i = 0; i < q->FieldCount(); ++i) {
        const std::string n = q->Fields(i).Name();
        if (vb::UCase(n) != "PERSONID") felder.push_back(n);
    }
    if (q->RecordCount() == 0) return;
    q->MoveFirst();
    while (!q->Eof()) {
        const vb::Variant alt = q->Fields("PersonID").Value();
        if (!alt.isNull()) {
            auto it = neueNummer.find(alt.toLong());
            if (it != neueNummer.end()) {
                z->AddNew();
                z->Fields("PersonID") = vb::Variant(it->second);
                for (const std::string& f : felder) z->Fields(f) = q->Fields(f).Value();
                z->Update();
            }
        }
        q->MoveNext();
    }
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
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(MenuTxt(17));
        Command2.setCaption(LabelTxt(208));
        Command3.setCaption(LabelTxt(209));
        Command1.setCaption(LabelTxt(69));
        Command4.setCaption(LabelTxt(68));
        Data1.setDatabaseName(gImportQuelle);
        Data1.setReadOnly(true);
        Data1.setRecordSource("persdat");
        Data1.Refresh();
        auto rs = Data1.Recordset();
        if (rs->RecordCount() == 0) return;  // an empty source: nothing to list
        rs->MoveFirst();
        while (!rs->Eof()) {
            // Persons with empty fields are listed too: their entry just lacks that part.
            List1.AddItem(text(*rs, "vorname") + " " + text(*rs, "nachname") + ", " + text(*rs, "testdatum"));
            List2.AddItem(vb::CStr(rs->Fields("personid").Value()));
            rs->MoveNext();
        }
        Data1.close();
    });
}

int frmImport::importiere(const std::string& quelle, const std::vector<int32_t>* nurDiese) {
    if (!gDateiOffen || !gDatenbank)
        throw vb::Error(vb::err::ObjectNotSet, "Es ist keine Datendatei geöffnet, in die importiert werden könnte.");
    if (files::samePath(files::resolve(quelle), files::resolve(gDatenbankName)))
        throw vb::Error(vb::err::InvalidProcedureCall,
                        "Die gewählte Datei ist die geöffnete Datendatei selbst. Bitte wählen Sie eine andere "
                        "Datendatei, aus der importiert werden soll.");
    if (gNurLesen)
        throw vb::Error(vb::err::ReadOnlyDatabase,
                        "Die Datendatei ist schreibgeschützt geöffnet; es kann nichts importiert werden.");
    // The source path goes to the engine as a file name, never into a statement text.
    auto src = gWorkspace->OpenDatabase(files::resolve(quelle), false, true);
    db::Database& ziel = *gDatenbank;
    std::set<int32_t> gewaehlt;
    if (nurDiese) gewaehlt.insert(nurDiese->begin(), nurDiese->end());
    std::map<int32_t, int32_t> neueNummer;
    ziel.BeginTrans();
    try {
        auto q = src->OpenRecordset("SELECT * FROM PersDat ORDER BY PersonID", db::RecordsetType::Snapshot);
        auto z = ziel.OpenRecordset("SELECT * FROM PersDat WHERE PersonID = -1", db::RecordsetType::Dynaset);
        std::vector<std::string> felder;
        for (int i = 0; i < q->FieldCount(); ++i) {
            const std::string n = q->Fields(i).Name();
            if (vb::UCase(n) != "PERSONID") felder.push_back(n);
        }
        if (q->RecordCount() > 0) {
            q->MoveFirst();
            while (!q->Eof()) {
                const int32_t alt = q->Fields("PersonID").Value().toLong();
                if (!nurDiese || gewaehlt.count(alt)) {
                    z->AddNew();
                    for (const std::string& f : felder) z->Fields(f) = q->Fields(f).Value();
                    const int32_t neu = z->Fields("PersonID").Value().toLong();
                    z->Update();
                    neueNummer[alt] = neu;
                }
                q->MoveNext();
            }
        }
        for (const char* t : {"Ergebnis", "PersonTestErgebnis", "TypWertZuweisung"})
            copyRows(*src, ziel, t, neueNummer);
        ziel.CommitTrans();
    } catch (...) {
        ziel.Rollback();
        src->Close();
        throw;
    }
    src->Close();
    return static_cast<int>(neueNummer.size());
}

void frmImport::Command2_Click() {
    mitFehlerfalle([this] {
        setMousePointer(forms::vbHourglass);
        struct Zeiger {
            frmImport* f;
            ~Zeiger() { f->setMousePointer(forms::vbDefault); }
        } zeiger{this};
        const int n = importiere(gImportQuelle, nullptr);
        setMousePointer(forms::vbDefault);
        if (n == 0) {
            gAntwort = forms::MsgBox("Die gewählte Datendatei enthält keine Personen.", forms::vbExclamation,
                                     DialogTxt(3));
            return;
        }
        gAntwort = forms::MsgBox(meldungFertig(), forms::vbExclamation, DialogTxt(3));
    });
}

void frmImport::Command3_Click() {
    mitFehlerfalle([this] {
        std::vector<int32_t> nummern;
        for (int i = 0; i < List1.ListCount(); ++i)
            if (List1.Selected(i)) nummern.push_back(static_cast<int32_t>(vb::Val(List2.List(i))));
        if (nummern.empty()) {
            gAntwort = forms::MsgBox(DialogTxt(40), forms::vbExclamation, DialogTxt(3));
        } else {
            setMousePointer(forms::vbHourglass);
            struct Zeiger {
                frmImport* f;
                ~Zeiger() { f->setMousePointer(forms::vbDefault); }
            } zeiger{this};
            importiere(gImportQuelle, &nummern);
            setMousePointer(forms::vbDefault);
            gAntwort = forms::MsgBox(meldungFertig(), forms::vbExclamation, DialogTxt(3));
        }
        forms::Unload(*this);
    });
}

void frmImport::Command1_Click() { forms::Unload(*this); }

void frmImport::Command4_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw65wj.htm"); });
}
