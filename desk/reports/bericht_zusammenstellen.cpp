// One pass of the report window's build: the print table emptied and written anew by the page
// builders, the layout of the chosen kind opened and fed, its header objects and sections
// switched, the exchange bitmaps placed, the report handed to the viewer.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cmath>
#include <stdexcept>

#include "desk/common/druckbild.h"
#include "desk/common/drucktabelle.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/reports/frm_report.h"
#include "desk/common/engine_setup.h"
#include "platform/files/own_folders.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/draw/printer.h"
#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "platform/forms/host.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

namespace {

// A situation the person can mend, said plainly rather than as an error number.
struct Hinweis : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Dialog texts of the situations the person can mend.
constexpr int kKeineDatei = 80;
constexpr int kKeinePerson = 81;
constexpr int kPersonFehlt = 82;
constexpr int kErgebnisFehlt = 83;

// Dialog texts of a chosen figure that cannot be printed: the heading of the list, and two reasons.
constexpr int kBilderFehlen = 97;
constexpr int kKeinBildmacher = 98;
constexpr int kBildUnlesbar = 99;

// The page on view may be made smaller by a tenth on a sheet upright; more turns the sheet.
constexpr double kHoechstensKleiner = 0.9;

// The tables the report reads of the current person, copied for a read-only data file.
constexpr const char* kPersonTabellen[] = {"PersDat", "TypWertZuweisung", "Ergebnis"};

bool gewaehlt(const forms::CheckBox& c) { return c.Value() == 1; }

// A data file the report cannot write into: opened read-only, or write-protected on disk.
bool schreibgeschuetzt(const std::string& pfad) {
    if (gNurLesen) return true;
    const QFileInfo datei(QString::fromStdString(files::resolve(pfad)));
    return !datei.isWritable() || !QFileInfo(datei.absolutePath()).isWritable();
}

std::string spaltenTyp(const db::Field& f) {
    switch (f.Type()) {
    case db::FieldType::Boolean: return "BIT";
    case db::FieldType::Byte: return "BYTE";
    case db::FieldType::Integer: return "SHORT";
    case db::FieldType::Long:
    case db::FieldType::Counter: return "LONG";
    case db::FieldType::Currency: return "CURRENCY";
    case db::FieldType::Single: return "SINGLE";
    case db::FieldType::Double: return "DOUBLE";
    case db::FieldType::Date: return "DATETIME";
    case db::FieldType::Memo: return "LONGTEXT";
    case db::FieldType::Text: return "TEXT(" + std::to_string(std::max(1, f.Size())) + ")";
    default: return "LONGTEXT";
    }
}

std::string dateiname(std::string s) {
    for (char& c : s)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"') c = '-';
    return s;
}

}  // namespace

struct frmReport::Lauf {
    std::string datenbankName;  // the data file, put back after a pass on the copy
    bool aufKopie = false;
    std::shared_ptr<db::Database> transaktion;
    std::string fehlendeBilder;  // the chosen figures that could not be printed, each with its reason
    void zurueck() {
        if (aufKopie) gDatenbankName = datenbankName;
        aufKopie = false;
    }
    ~Lauf() { zurueck(); }
};

void frmReport::Command1_Click() {
    Lauf lauf;
    try {
        zusammenstellen(lauf);
    } catch (const std::exception& e) {
        // No half-written print table: the rows of this pass go, those of the last report stay.
        if (lauf.transaktion) {
            try {
                lauf.transaktion->Rollback();
            } catch (const std::exception&) {
            }
        }
        lauf.zurueck();
        mReport.reset();
        CrystalReport1.clear();
        setMousePointer(forms::vbDefault);
        SetStatusText("", false);
        if (dynamic_cast<const Hinweis*>(&e))
            forms::MsgBox(e.what(), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        else ShowErrorMessage(e);
        return;
    }
    SSTab1.setTab(0);
    setMousePointer(forms::vbDefault);
    SetStatusText("", false);
    // Said before anything is printed, once: the box closing activates the window and builds again.
    if (lauf.fehlendeBilder.empty()) {
        m_bildMeldung.clear();
    } else if (lauf.fehlendeBilder != m_bildMeldung) {
        m_bildMeldung = lauf.fehlendeBilder;
        forms::MsgBox(DialogTxt(kBilderFehlen) + lauf.fehlendeBilder, forms::vbOKOnly | forms::vbExclamation,
                      DialogTxt(3));
    }
}

std::string frmReport::bildMachen(const std::string& bild, const std::string& datei) {
    const Druckbildmacher macher = DruckbildmacherFuer(bild);
    if (!macher) return DialogTxt(kKeinBildmacher);
    try {
        macher();
        DruckbildVermerken(bild, datei, gAktPersonID, DruckbildStand());
        return {};
    } catch (const vb::Error& e) {
        DruckbildVergessen(bild);
        return e.description();
    } catch (const std::exception& e) {
        DruckbildVergessen(bild);
        return e.what();
    }
}

void frmReport::zusammenstellen(Lauf& lauf) {
    gAusgabe = &draw::printer();
    draw::printer().setScaleMode(3);
    setMousePointer(forms::vbHourglass);
    SetStatusText(LabelTxt(458), false);

    if (!gDateiOffen || gDatenbankName.empty() || !gWorkspace) throw Hinweis(DialogTxt(kKeineDatei));
    if (gAktPersonID == 0) throw Hinweis(DialogTxt(kKeinePerson));
    gDatenbank = gWorkspace->OpenDatabase(gDatenbankName, false, gNurLesen);
    if (schreibgeschuetzt(gDatenbankName)) {
        // The report of a read-only file is written into a copy of the person's rows.
        kopieBereitstellen();
        lauf.datenbankName = gDatenbankName;
        lauf.aufKopie = true;
        gDatenbankName = m_kopiePfad;
    }

    DatenBinden(Data5, Einstellungsdatenbank(), "select * from Konfiguration");
    const std::string id = std::to_string(gAktPersonID);
    DatenBinden(Data2, gDatenbankName, "select * from persdat where personid = " + id);
    if (DatenSatz(Data2).RecordCount() == 0) throw Hinweis(DialogTxt(kPersonFehlt));
    DatenSatz(Data2).MoveFirst();
    DatenBinden(Data3, gDatenbankName, "select * from ergebnis where personid = " + id);
    if (DatenSatz(Data3).RecordCount() == 0) throw Hinweis(DialogTxt(kErgebnisFehlt));
    DatenSatz(Data3).MoveFirst();

    std::shared_ptr<db::Database> druck = lauf.aufKopie ? m_kopie : gDatenbank;
    druck->BeginTrans();
    lauf.transaktion = druck;
    druck->Execute("DELETE * FROM Drucktabelle;");

    const bool aktuelleSeite = Option1[0].Value();
    const bool zweiPersonen = !aktuelleSeite && Option1[1].Value();
    const char* datei = aktuelleSeite ? "ZUVReport2.rpt" : zweiPersonen ? "ZUVReport3.rpt" : "ZUVReport1.rpt";
    mReport.reset();
    if (!mReportEngine) mReportEngine = std::make_unique<report::Engine>();
    // The figures the windows drew for the person lie in the data folder, the layouts and the
    // letterhead are installed with the program; the two are one folder only where the program
    // folder can be written.
    mReportEngine->setPictureFolder(gAppPath);
    mReport = mReportEngine->OpenReport(Installationsdatei(datei));

    DrucktabelleBinden();
    // One scoring for the pages and the figures alike: an incomplete test is said once.
    const bool vollerBericht = !aktuelleSeite && !zweiPersonen;
    const bool mitBildern = vollerBericht && (gewaehlt(Check1[2]) || gewaehlt(Check1[3]) || gewaehlt(Check1[4]) ||
                                              gewaehlt(Check1[5]) || gewaehlt(Check1[8]));
    BerichtsseitenSchreiben(gewaehlt(Check1[0]), gewaehlt(Check1[1]), gewaehlt(Check1[6]), gewaehlt(Check1[7]),
                            mitBildern);
    druck->CommitTrans();
    lauf.transaktion.reset();

    DatenBinden(Data1, gDatenbankName, "select * from Drucktabelle order by Druckseite, ZeilenNr;");
    if (DatenSatz(Data1).RecordCount() != 0) DatenSatz(Data1).MoveFirst();

    report::Report& briefkopf = mReport->OpenSubreport("ZUVHeader1.rpt");
    briefkopf.SetDataSource(DatenSatz(Data5));
    report::Report& person = mReport->OpenSubreport("ZUVHeader2.rpt");
    person.SetDataSource(DatenSatz(Data2));
    if (!aktuelleSeite && !zweiPersonen) {
        for (const char* teil : {"Grafik1.rpt", "Grafik2.rpt", "Grafik3.rpt", "Tabelle.rpt", "Enneagramm.rpt"})
            mReport->OpenSubreport(teil);
        mReport->OpenSubreport("AuswertungSeite1bis3.rpt").SetDataSource(DatenSatz(Data1));
        mReport->OpenSubreport("AuswertungAbSeite4.rpt").SetDataSource(DatenSatz(Data1));
    }

    schalterAnwenden(briefkopf, person, aktuelleSeite || zweiPersonen ? 6 : 12);

    if (aktuelleSeite) {
        bildOderHinweis(mReport->OpenSubreport("AktuelleSeite.rpt"), "ZUVAktuelleSeite.bmp", true);
    } else if (zweiPersonen) {
        bildOderHinweis(mReport->OpenSubreport("ZUVVergleich.rpt"), "ZUVVergleich.bmp");
    } else {
        if (!gewaehlt(Check1[0]) && !gewaehlt(Check1[1])) mReport->Sections(4).setSuppress(true);
        struct Teil {
            int kasten;
            int bereich;
            const char* bild;
            const char* unterbericht;
            const char* bildBereich;
        };
        const Teil teile[] = {
            {2, 5, "ZUVEnneagramm.bmp", "Enneagramm.rpt", "3"},
            {3, 6, "ZUVGrafik1.bmp", "Grafik1.rpt", "3"},
            {4, 7, "ZUVGrafik2.bmp", "Grafik2.rpt", "ReportFooterSection1"},
            {5, 8, "ZUVGrafik3.bmp", "Grafik3.rpt", "ReportFooterSection1"},
            {8, 9, "ZUVTabelle.bmp", "Tabelle.rpt", "ReportFooterSection1"},
        };
        const std::string datenDatei = lauf.aufKopie ? lauf.datenbankName : gDatenbankName;
        for (const Teil& t : teile) {
            if (!gewaehlt(Check1[t.kasten])) {
                mReport->Sections(t.bereich).setSuppress(true);
                continue;
            }
            // A chosen figure is printed: one that no window left for this person is made now.
            std::string grund;
            if (!DruckbildZeigt(t.bild, datenDatei, gAktPersonID)) grund = bildMachen(t.bild, datenDatei);
            if (grund.empty() && !bildLaden(t.bild)) grund = DialogTxt(kBildUnlesbar);
            if (!grund.empty()) {
                mReport->Sections(t.bereich).setSuppress(true);
                lauf.fehlendeBilder += gCrLf + Check1[t.kasten].Caption() + ": " + grund;
                continue;
            }
            bildPlatzieren(mReport->OpenSubreport(t.unterbericht), t.bildBereich, t.kasten == 2);
        }
        if (!gewaehlt(Check1[6]) && !gewaehlt(Check1[7])) mReport->Sections(10).setSuppress(true);
    }

    mReport->SetDataSource(DatenSatz(Data2));

    const vb::Variant vorname = DatenSatz(Data2).Fields("Vorname").Value();
    const vb::Variant nachname = DatenSatz(Data2).Fields("Nachname").Value();
    std::string name = vb::Trim(vb::textOrEmpty(nachname) + " " + vb::textOrEmpty(vorname));
    CrystalReport1.setReportSource(mReport);
    CrystalReport1.setDisplayToolbar(true);
    CrystalReport1.setPrintContext({vb::Format(vb::Date(), "dd.mm.yyyy")});
    CrystalReport1.setExportFileName(dateiname(name.empty() ? "Bericht.pdf" : "Bericht " + name + ".pdf"));
    CrystalReport1.ViewReport();
    CrystalReport1.setZoom(50);
}

void BerichtsseitenSchreiben(bool deckblatt, bool erlaeuterungen, bool auswertung, bool statistik, bool mitBildern) {
    if (deckblatt) DruckSeitePersonendaten();
    if (erlaeuterungen) DruckSeiteErlaeuterung();
    if (auswertung || statistik || mitBildern) {
        TestAuswerten();
        TypRangfolgeBestimmen();
    }
    if (auswertung) {
        gSensitivity1 = 0.85f;
        DruckSeiteRangfolgeTypgesamtsumme();
        DruckSeiteRangfolgeTypsumme4();
        DruckSeiteRangfolgeTypsumme3();
        DruckSeiteRangfolgeTypsumme34();
        DruckSeiteRangfolgeTypsumme2();
        DruckSeiteRangfolgeTypsumme1();
        DruckSeiteRangfolgeTypsumme0();
        DruckSeiteRangfolgeTypsumme01();
        gSensitivity1 = -0.2f;
        gSensitivity2 = 0.4f;
        DruckSeiteMittelwertAbweichung();
        gSensitivity1 = 0.85f;
        DruckSeiteRangfolgeVergleich();
        DruckSeiteHaupttyp();
        DruckSeiteVerbindungstypen();
    }
    if (statistik) {
        DruckSeiteTabelle();
        DruckSeiteAntwortwerteAnzahl();
        DruckSeiteAntwortwerteProzent();
        DruckSeiteHaeufigsteAntwortwerte();
        DruckSeiteMittlereAntwortwerte();
        DruckSeiteInformationsmass();
    }
}

void frmReport::schalterAnwenden(report::Report& briefkopf, report::Report& person, int fussBereich) {
    // An object of a section is hidden when its switch, or one of its two, is off.
    struct Regel {
        const char* objekt;
        const forms::CheckBox* a;
        const forms::CheckBox* b;
    };
    auto aus = [](const forms::CheckBox& c) { return c.Value() == 0; };
    auto anwenden = [&aus](report::Section& s, const auto& regeln) {
        for (int i = 1; i <= s.ReportObjectCount(); ++i) {
            report::ReportObject& o = s.ReportObjects(i);
            for (const Regel& g : regeln)
                if (o.Name() == g.objekt && (aus(*g.a) || (g.b && aus(*g.b)))) o.setSuppress(true);
        }
    };

    // The page footer and header, the letterhead and the tested person's data.
    const Regel fuss[] = {{"Seitenzahl1", &Check4[0], nullptr},
                          {"Druckdatum2", &Check4[1], nullptr},
                          {"LinieFuss1", &Check4[2], nullptr}};
    const Regel kopf[] = {{"LinieKopf1", &Check1[11], nullptr}};
    const Regel brief[] = {
        {"Name1", &Check2[0], nullptr},
        {"Firma2", &Check2[1], nullptr},
        {"BereichAbteilung1", &Check2[2], &Check2[3]},
        {"Strasse2", &Check2[4], nullptr},
        {"PLZOrt2", &Check2[5], nullptr},
        {"Land2", &Check2[6], nullptr},
        {"Telefon2", &Check2[7], nullptr},
        {"Fax2", &Check2[8], nullptr},
        {"Mail2", &Check2[9], nullptr},
        {"URL2", &Check2[10], nullptr},
        {"Bemerkung2", &Check2[11], nullptr},
        {"Picture2", &Check1[12], nullptr},
        {"Druckdatum1", &Check1[10], nullptr},
        {"Seitenzahl2", &Check1[9], nullptr},
    };
    const Regel getestet[] = {
        {"Name1", &Check3[0], nullptr},
        {"Geburtstag1", &Check3[1], nullptr},
        {"Strasse1", &Check3[2], nullptr},
        {"PLZOrt1", &Check3[3], nullptr},
        {"Telefon1", &Check3[4], nullptr},
        {"EMail1", &Check3[5], nullptr},
        {"BereichAbteilung1", &Check3[6], &Check3[7]},
        {"Bemerkung1", &Check3[8], nullptr},
        {"Land1", &Check3[10], nullptr},
        {"Testdatum1", &Check3[9], nullptr},
    };
    anwenden(mReport->Sections(fussBereich), fuss);
    anwenden(mReport->Sections(2), kopf);
    anwenden(briefkopf.Sections("D"), brief);
    anwenden(person.Sections("D"), getestet);
}

bool frmReport::bildLaden(const std::string& bild) {
    const std::string pfad = gAppPath + "\\" + bild;
    if (!files::FileExists(pfad)) return false;
    Picture1.setScaleMode(1);
    draw::printer().setScaleMode(1);
    try {
        Picture1.LoadPicture(pfad);
    } catch (const vb::Error&) {
        // A bitmap that cannot be read counts as missing.
        return false;
    }
    return Picture1.ScaleWidth() > 0 && Picture1.ScaleHeight() > 0;
}

void frmReport::bildPlatzieren(report::Report& unterbericht, const std::string& bereich, bool zentriert,
                               bool eigeneGroesse) {
    report::Section& s = bereich.find_first_not_of("0123456789") == std::string::npos
                             ? unterbericht.Sections(std::stoi(bereich))
                             : unterbericht.Sections(bereich);
    report::ReportObject* bild = nullptr;
    for (int i = 1; i <= s.ReportObjectCount() && !bild; ++i)
        if (s.ReportObjects(i).Kind() == report::PictureObject) bild = &s.ReportObjects(i);
    if (!bild)
        throw vb::Error(report::err::DamagedLayout,
                        DialogTxt(84) + unterbericht.Name() + DialogTxt(85) + s.Name() + DialogTxt(86));
    // Every exchange picture is drawn for the sheet's printable width (not the paper's: a picture
    // as wide as the sheet would run off it), so it is placed at that width; a screen factor would
    // shrink its texts below what can be read. The page on view keeps the size it was drawn in: a
    // page the sheet would make smaller by more than a tenth turns it, and only one wider than the
    // turned sheet is made smaller.
    double p = mReport->page().contentWidth();
    if (eigeneGroesse) {
        const QImage b = Picture1.Picture().image();
        const int proMeter = b.dotsPerMeterX();
        const double eigen = proMeter > 0 ? b.width() / (proMeter * 0.0254) * 1440 : b.width() * 15.0;
        if (eigen * kHoechstensKleiner > p) mReport->setLandscape(true);
        p = std::min<double>(eigen, mReport->page().contentWidth());
    }
    const double sw = Picture1.ScaleWidth(), sh = Picture1.ScaleHeight();
    const double breite = p, hoehe = p / sw * sh;
    if (zentriert) bild->setLeft(static_cast<int>(std::lround((p - breite) / 2)));
    bild->setWidth(static_cast<int>(std::lround(breite)));
    bild->setHeight(static_cast<int>(std::lround(hoehe)));
}

void frmReport::bildOderHinweis(report::Report& unterbericht, const std::string& bild, bool eigeneGroesse) {
    if (bildLaden(bild)) {
        bildPlatzieren(unterbericht, "3", false, eigeneGroesse);
        return;
    }
    // The picture is not there: the report says so and how to get it.
    report::Section& s = unterbericht.Sections(3);
    for (int i = 1; i <= s.ReportObjectCount(); ++i) {
        report::ReportObject& o = s.ReportObjects(i);
        if (o.Kind() == report::PictureObject) o.setSuppress(true);
        if (o.Name() == "Hinweis1") o.setSuppress(false);
    }
}

namespace {
// The report copy of a read-only data file holds a client's data: it lies in a folder of its own
// that no other account can read or put in its place, and only what the copy made goes with it.
constexpr const char* kKopieOrdnerVorsilbe = "zuv-bericht-";
const std::vector<std::string>& kopieDateien() {
    static const std::vector<std::string> namen{"Bericht.ZDB", "Bericht.ZDB-wal", "Bericht.ZDB-shm",
                                                "Bericht.ZDB-journal"};
    return namen;
}
}  // namespace

void BerichtsresteAufraeumen() { files::removeStalePrivateTempFolders(kKopieOrdnerVorsilbe, kopieDateien()); }

void frmReport::kopieBereitstellen() {
    if (!m_kopie) {
        const std::string ordner = files::makePrivateTempFolder(kKopieOrdnerVorsilbe);
        m_kopiePfad = ordner + "/" + kopieDateien().front();
        std::shared_ptr<db::Database> kopie;
        try {
            kopie = gWorkspace->CreateDatabase(m_kopiePfad);
        } catch (...) {
            files::removePrivateTempFolder(ordner, kopieDateien());
            m_kopiePfad.clear();
            throw;
        }
        for (const char* tabelle : kPersonTabellen) {
            auto muster = gDatenbank->OpenRecordset(std::string("select * from ") + tabelle + " where personid = -1",
                                                    db::RecordsetType::Snapshot);
            std::string sql = std::string("CREATE TABLE [") + tabelle + "] (";
            for (int i = 0; i < muster->FieldCount(); ++i)
                sql += (i ? ", [" : "[") + muster->Fields(i).Name() + "] " + spaltenTyp(muster->Fields(i));
            kopie->Execute(sql + ")");
            muster->Close();
        }
        kopie->Execute(kDrucktabelleAnlegen);
        kopie->Execute(kDrucktabelleSchluesselAnlegen);
        m_kopie = kopie;
    }
    m_kopie->BeginTrans();
    try {
        m_kopie->Execute("DELETE * FROM Drucktabelle;");
        const std::string id = std::to_string(gAktPersonID);
        for (const char* tabelle : kPersonTabellen) {
            m_kopie->Execute(std::string("DELETE * FROM ") + tabelle + ";");
            auto quelle = gDatenbank->OpenRecordset(std::string("select * from ") + tabelle + " where personid = " + id,
                                                    db::RecordsetType::Snapshot);
            auto ziel = m_kopie->OpenRecordset(tabelle, db::RecordsetType::Table);
            for (; !quelle->Eof(); quelle->MoveNext()) {
                ziel->AddNew();
                for (int i = 0; i < quelle->FieldCount(); ++i)
                    ziel->Fields(quelle->Fields(i).Name()) = quelle->Fields(i).Value();
                ziel->Update();
            }
            ziel->Close();
            quelle->Close();
        }
        m_kopie->CommitTrans();
    } catch (...) {
        m_kopie->Rollback();
        throw;
    }
}

void frmReport::kopieSchliessen(bool mitHauptDaten) {
    if (!m_kopie && m_kopiePfad.empty()) return;
    if (mitHauptDaten) {
        // The main window's cursors rebind before each use; none keeps the copy open.
        for (int n = 1; n <= 5; ++n)
            if (HauptDaten(n).DatabaseName() == m_kopiePfad) HauptDaten(n).close();
        for (db::DataControl* d : {&Data1, &Data2, &Data3}) d->close();
    }
    if (m_kopie) {
        try {
            m_kopie->Close();
        } catch (const std::exception&) {
        }
        m_kopie.reset();
    }
    if (const size_t schnitt = m_kopiePfad.find_last_of('/'); schnitt != std::string::npos)
        files::removePrivateTempFolder(m_kopiePfad.substr(0, schnitt), kopieDateien());
    m_kopiePfad.clear();
}
