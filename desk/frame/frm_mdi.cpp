#include "desk/frame/frm_mdi.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "desk/charts/chart_druckbilder.h"
#include "desk/charts/chart_fenster.h"
#include "desk/charts/frm_chart.h"
#include "desk/common/engine_setup.h"
#include "desk/common/form4.h"
#include "desk/frame/frm_assist.h"
#include "desk/frame/frm_import.h"
#include "desk/frame/frm_info.h"
#include "desk/frame/datendatei_schema.h"
#include "desk/common/globals.h"
#include "desk/common/programm.h"
#include "desk/evaluation/auswertform.h"
#include "desk/evaluation/druckbilder.h"
#include "desk/evaluation/form15.h"
#include "desk/evaluation/form2.h"
#include "desk/reports/frm_report.h"
#include "desk/testing/druck.h"
#include "desk/testing/frm_einfuehrung.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/testverwaltung.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/draw/picture_box.h"
#include "platform/files/paths.h"
#include "platform/forms/flow_layout.h"
#include "platform/forms/grid.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/ini/ini_file.h"
#include "platform/vb/strings.h"

using forms::MenuItem;

namespace {

constexpr const char* kZdbFilter = "ZDBs (*.ZDB)|*.ZDB";
constexpr const char* kLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0";

frmMDI& mdi() { return forms::Default<frmMDI>(); }

void sanduhr() { forms::Screen::setMousePointer(forms::vbHourglass); }
void normalZeiger() { forms::Screen::setMousePointer(forms::vbDefault); }

// The name part of a path holds a dot: then the name is taken as it is, else ".ZDB" is added.
std::string mitEndung(const std::string& pfad) {
    return files::fileName(pfad).find('.') == std::string::npos ? pfad + ".ZDB" : pfad;
}

// "&k path", the caption of entry k of the recent-files list. Built by appending: GCC 12 warns
// falsely (-Wrestrict) on a string put in front of a number's text.
std::string eintragsTitel(int k, const std::string& pfad) {
    std::string t(1, '&');
    t += std::to_string(k);
    t += ' ';
    t += pfad;
    return t;
}

bool gleicherPfad(const std::string& a, const std::string& b) { return vb::UCase(a) == vb::UCase(b); }

// Errors of the print-table upgrade that leave the file usable as it is (3218: our engine's number
// for a file another program holds locked, where the table-in-use error 3211 would stand).
bool upgradeFehlerUebergehen(int nummer) {
    for (int n : {vb::err::ObjectExists, vb::err::TableInUse, vb::err::RecordLocked, vb::err::NoSuchIndex,
                  vb::err::IndexExists, vb::err::TableDoesNotExist, vb::err::FieldExists, vb::err::NameExistsInCollection,
                  vb::err::InvalidProcedureCall, vb::err::ObjectNotSet})
        if (n == nummer) return true;
    return false;
}

}  // namespace

// ==================================================================== construction

frmMDI::frmMDI()
    : forms::MdiForm("frmMDI"),
      mnuFile(menuBar(), "&Datei"),
      mnuNew(mnuFile, "&Neu …"),
      mnuOpen(mnuFile, "Ö&ffnen …"),
      mnuClose(mnuFile, "S&chließen"),
      mnuSep1(mnuFile, "-"),
      mnuBackup(mnuFile, "&Sicherungskopie …"),
      mnuSep2(mnuFile, "-"),
      mnuDBkomprimieren(mnuFile, "Datendatei &komprimieren …"),
      mnuSep3(mnuFile, "-"),
      mnuDrucken(mnuFile, "&Drucken"),
      mnuPrintReport(mnuDrucken, "&Bericht drucken …"),
      mnuDruckEnneagramm(mnuDrucken, "&Enneagramm"),
      mnuDruckGrafik(mnuDrucken, "&Grafische Auswertung"),
      mnuDruckAuswertung(mnuDrucken, "&Auswertung"),
      mnuDruckStatistik(mnuDrucken, "&Statistik"),
      mnuDruckTabelle(mnuDrucken, "Antwort&tabelle"),
      mnuDruckDateivergleich(mnuDrucken, "&Vergleich zweier Personen"),
      mnuDruckFragebogen(mnuDrucken, "&Fragebogen"),
      mnuDruckDeckblatt(mnuDrucken, "&Deckblatt"),
      mnuDruckErläuterungen(mnuDrucken, "E&rläuterungen"),
      mnuTrennlinie13(mnuFile, "-"),
      mnuImport(mnuFile, "&Import"),
      mnuImportZUV40(mnuImport, "Import aus einer anderen Datendatei …"),
      mnuFileArray(mnuFile, "-"),
      mnuSep4(mnuFile, "-"),
      mnuBeenden(mnuFile, "&Beenden"),
      mnuBearbeiten(menuBar(), "&Bearbeiten"),
      mnuKopieren(mnuBearbeiten, "&Kopieren"),
      mnuPersonendaten(menuBar(), "&Personendaten"),
      mnuTest(menuBar(), "&Test"),
      mnuDurchführen(mnuTest, "Test &durchführen"),
      mnuWiederholen(mnuTest, "Test &wiederholen ab …"),
      mnuTestauswertung(menuBar(), "Test&auswertung"),
      mnuGrafikauswertung(mnuTestauswertung, "&Grafische Auswertung"),
      mnuEnneagramm(mnuTestauswertung, "&Enneagramm"),
      mnuTabelle(mnuTestauswertung, "Antwort&tabelle"),
      mnuAuswertung(mnuTestauswertung, "&Auswertung"),
      mnuStatistik(mnuTestauswertung, "&Statistik"),
      mnuDateivergleich(mnuTestauswertung, "&Dateivergleich"),
      mnuKonfiguration(menuBar(), "&Konfiguration"),
      mnuZUVParameter(mnuKonfiguration, "&Einstellungen …"),
      mnuDiagrammOptions(mnuKonfiguration, "&Diagrammoptionen …"),
      mnuSep5(mnuKonfiguration, "-"),
      mnuDruckereinrichtung(mnuKonfiguration, "&Druckereinrichtung …"),
      mnuExtras(menuBar(), "E&xtras"),
      mnuEinführung(mnuExtras, "&Einführung"),
      mnuSep6(mnuExtras, "-"),
      mnuTypenbeschreibungen(mnuExtras, "&Typenbeschreibungen"),
      mnuBilder(mnuExtras, "&Bilder"),
      mnuLernen(mnuExtras, "&Lernprogramm"),
      mnuAssistent(mnuExtras, "&Startassistent"),
      mnuSep7(mnuExtras, "-"),
      mnuEditor(mnuExtras, "E&ditor"),
      mnuTexteditor(mnuEditor, "&Texteditor"),
      mnuGrafikeditor(mnuEditor, "&Grafikeditor"),
      mnuWindow(menuBar(), "&Fenster"),
      mnuCascade(mnuWindow, "Ü&berlappend"),
      mnuTilevertical(mnuWindow, "&Nebeneinander"),
      mnuTile(mnuWindow, "&Untereinander"),
      mnuHilfe(menuBar(), "&Hilfe"),
      mnuHilfeinhalt(mnuHilfe, "&Hilfethemen"),
      mnuSep8(mnuHilfe, "-"),
      mnuWebsite(mnuHilfe, "Z.U.V. im &Internet"),
      mnuSep9(mnuHilfe, "-"),
      mnuÜber(mnuHilfe, "Ü&ber Z.U.V. …") {
    setHauptfenster(this);
    // The report makes a figure no window left for the current person with the figures' own code.
    AuswertungsDruckbilderEintragen();
    ChartDruckbilderEintragen();
    resize(forms::fitOnScreen(QSize(1100, 780)));

    Rahmen1 = new QWidget(this);
    // The buttons go on in a second row rather than widen the window past the screen.
    auto* leiste = new forms::FlowLayout(Rahmen1, 2);
    leiste->setContentsMargins(4, 2, 4, 2);
    static const char* kurz[16] = {"Person",    "Test",      "Grafik",     "Enneagramm", "Tabelle",       "Auswertung",
                                   "Statistik", "Vergleich", "Fragebogen", "Diagramm",   "Einstellungen", "Einführung",
                                   "Typen",     "Bilder",    "Lernen",     "Hilfe"};
    for (int i = 0; i < 16; ++i) {
        auto* b = new forms::Button3D(Rahmen1);
        b->setCaption(kurz[i]);
        b->setObjectName(QString("SSCommand1_%1").arg(i));
        b->Click = [this, i] { SSCommand1_Click(i); };
        b->MouseMove = [this, i](int, int, float, float) { SSCommand1_MouseMove(i); };
        SSCommand1[i] = b;
        leiste->addWidget(b);
    }
    addTopWidget(Rahmen1);

    txtStatusMsg = new forms::StatusLine(this);
    addBottomWidget(txtStatusMsg);

    mnuWindow.setWindowList(this);
    wireHandlers();
}

frmMDI::~frmMDI() {
    if (hauptfenster() == this) setHauptfenster(nullptr);
}

void frmMDI::wireHandlers() {
    auto trap = [](auto f) { return [f] { mitFehlerfalle(f); }; };
    mnuNew.Click = trap([this] { mnuNew_Click(); });
    mnuOpen.Click = trap([this] { mnuOpen_Click(); });
    mnuClose.Click = trap([this] { mnuClose_Click(); });
    mnuBackup.Click = trap([this] { BackUpDB(); });
    mnuDBkomprimieren.Click = trap([this] { CompactDB(); });
    mnuDrucken.Click = [this] { mnuDrucken_Click(); };
    mnuPrintReport.Click = trap([this] { druckBericht({0, 1, 2, 3, 4, 5, 6, 7, 8}, false); });
    mnuDruckDeckblatt.Click = trap([this] { druckBericht({0}, false); });
    mnuDruckErläuterungen.Click = trap([this] { druckBericht({1}, false); });
    mnuDruckEnneagramm.Click = trap([this] { druckBericht({2}, false); });
    mnuDruckGrafik.Click = trap([this] { druckBericht({3, 4, 5}, false); });
    mnuDruckAuswertung.Click = trap([this] { druckBericht({6}, false); });
    mnuDruckStatistik.Click = trap([this] { druckBericht({7}, false); });
    mnuDruckTabelle.Click = trap([this] { druckBericht({8}, false); });
    mnuDruckDateivergleich.Click = trap([this] { druckBericht({}, true); });
    mnuDruckFragebogen.Click = trap([] { FragebogenDrucken(druckSchalter()); });
    mnuImportZUV40.Click = trap([this] { mnuImportZUV40_Click(); });
    mnuFileArray.Click = [this](int i) { mitFehlerfalle([&] { mnuFileArray_Click(i); }); };
    mnuBeenden.Click = trap([this] { mnuBeenden_Click(); });
    mnuKopieren.Click = trap([this] { CopyToClipboard(); });
    mnuPersonendaten.Click = trap([] { PersonendatenAnzeigen(); });
    mnuDurchführen.Click = [] { TestDurchfuehren(); };
    mnuWiederholen.Click = trap([this] { mnuWiederholen_Click(); });
    mnuGrafikauswertung.Click = [] { GrafikauswertungAnzeigen(); };
    mnuEnneagramm.Click = trap([this] { mnuEnneagramm_Click(); });
    mnuTabelle.Click = trap([this] { mnuTabelle_Click(); });
    mnuAuswertung.Click = trap([this] { mnuAuswertung_Click(); });
    mnuStatistik.Click = trap([this] { mnuStatistik_Click(); });
    mnuDateivergleich.Click = trap([this] { mnuDateivergleich_Click(); });
    mnuZUVParameter.Click = trap([] { forms::Default<Form4>().Show(); });
    mnuDiagrammOptions.Click = [] { frmChartOptZeigen(); };
    mnuDruckereinrichtung.Click = trap([this] { mnuDruckereinrichtung_Click(); });
    mnuEinführung.Click = [] { mitFehlerfalle([] { EinfuehrungstextAnzeigen(); }); };
    mnuTypenbeschreibungen.Click = trap([this] { mnuTypenbeschreibungen_Click(); });
    mnuBilder.Click = trap([this] { mnuBilder_Click(); });
    mnuLernen.Click = trap([this] { mnuLernen_Click(); });
    mnuAssistent.Click = trap([] { forms::Default<frmAssist>().Zeigen(); });
    mnuCascade.Click = [this] { Arrange(forms::vbCascade); };
    mnuTile.Click = [this] { Arrange(forms::vbTileHorizontal); };
    mnuTilevertical.Click = [this] { Arrange(forms::vbTileVertical); };
    mnuHilfeinhalt.Click = trap([this] { mnuHilfeinhalt_Click(); });
    mnuWebsite.Click = trap([this] { mnuWebsite_Click(); });
    mnuÜber.Click = trap([] { forms::Instance<frmInfo>().Show(forms::vbModal); });
}

void frmMDI::setupControls() {
    mnuBearbeiten.setVisible(false);
    mnuWindow.setVisible(false);
    mnuFileArray(0).setVisible(false);  // the separator shows once the list has an entry
}

// ==================================================================== Hauptfenster

void frmMDI::setStatusCaption(const std::string& text) { txtStatusMsg->setCaption(text); }

void frmMDI::setEditAndWindowMenusVisible(bool visible) {
    mnuBearbeiten.setVisible(visible);
    mnuWindow.setVisible(visible);
}

void frmMDI::arrangeChildren(int arrangement) { Arrange(arrangement); }

void frmMDI::assistentNachEinstellungen(bool an) {
    if (!an) forms::Unload<frmAssist>();
    else forms::Default<frmAssist>().Zeigen();
}

void frmMDI::assistentNachVorn() {
    if (!forms::IsLoaded<frmAssist>()) return;
    frmAssist& a = forms::Instance<frmAssist>();
    if (a.Visible() && a.WindowState() == forms::vbNormal) a.SetFocus();
}

void frmMDI::setAssistentFarbe(Schrittlabel label, int32_t farbe) {
    frmAssist& a = forms::Default<frmAssist>();
    if (label.label == 1 && label.index >= 0 && label.index < 5) a.Label1[label.index].setForeColor(farbe);
    if (label.label == 2 && label.index >= 0 && label.index < 8) a.Label2[label.index].setForeColor(farbe);
}

db::DataControl* frmMDI::daten(int n) {
    db::DataControl* d[] = {&Data1, &Data2, &Data3, &Data4, &Data5};
    return n >= 1 && n <= 5 ? d[n - 1] : nullptr;
}

void frmMDI::setDruckMenue(DruckMenue menue, bool an) {
    switch (menue) {
    case DruckMenue::Enneagramm: mnuDruckEnneagramm.setEnabled(an); break;
    case DruckMenue::Grafik: mnuDruckGrafik.setEnabled(an); break;
    case DruckMenue::Auswertung: mnuDruckAuswertung.setEnabled(an); break;
    case DruckMenue::Statistik: mnuDruckStatistik.setEnabled(an); break;
    case DruckMenue::Tabelle: mnuDruckTabelle.setEnabled(an); break;
    case DruckMenue::Dateivergleich: mnuDruckDateivergleich.setEnabled(an); break;
    }
}

void frmMDI::setMainCaption(const std::string& caption) { setCaption(caption); }

// ==================================================================== life cycle

void frmMDI::SetMenuCaptions() {
    const std::pair<MenuItem*, int> menue[] = {{&mnuFile, 0},
                                               {&mnuNew, 1},
                                               {&mnuOpen, 2},
                                               {&mnuClose, 3},
                                               {&mnuDBkomprimieren, 4},
                                               {&mnuBackup, 6},
                                               {&mnuWebsite, 11},
                                               {&mnuDruckGrafik, 14},
                                               {&mnuImport, 15},
                                               {&mnuImportZUV40, 17},
                                               {&mnuDruckAuswertung, 18},
                                               {&mnuDruckStatistik, 19},
                                               {&mnuDruckDeckblatt, 20},
                                               {&mnuDruckErläuterungen, 21},
                                               {&mnuBeenden, 42},
                                               {&mnuPersonendaten, 41},
                                               {&mnuTest, 38},
                                               {&mnuWiederholen, 39},
                                               {&mnuDurchführen, 40},
                                               {&mnuTestauswertung, 32},
                                               {&mnuGrafikauswertung, 14},
                                               {&mnuEnneagramm, 33},
                                               {&mnuTabelle, 34},
                                               {&mnuAuswertung, 35},
                                               {&mnuStatistik, 36},
                                               {&mnuDateivergleich, 37},
                                               {&mnuWindow, 7},
                                               {&mnuCascade, 8},
                                               {&mnuTilevertical, 9},
                                               {&mnuTile, 10},
                                               {&mnuKonfiguration, 30},
                                               {&mnuZUVParameter, 31},
                                               {&mnuExtras, 22},
                                               {&mnuEinführung, 23},
                                               {&mnuTypenbeschreibungen, 24},
                                               {&mnuBilder, 25},
                                               {&mnuAssistent, 26},
                                               {&mnuLernen, 27},
                                               {&mnuHilfeinhalt, 28},
                                               {&mnuÜber, 29},
                                               {&mnuPrintReport, 45}};
    for (const auto& [item, n] : menue) {
        item->setCaption(MenuTxt(n));
        if (item == &mnuDateivergleich) mnuDiagrammOptions.setCaption(LabelTxt(152));
    }
}

void frmMDI::Form_Load() {
    mitFehlerfalle([this] {
        SetMenuCaptions();
        gFensterAnzahl = 0;
        GenerateFileMenu();
        DisableFileMenus();
        const std::string letzte = vb::UCase(ini::ReadIniString("File1", " 1", gIniDatei));
        if (ini::present(letzte)) {
            mnuFileArray_Click(1);
        } else {
            // The first start: a new data file under a name the user gives, in the program folder,
            // or in the user's own data folder where the program folder is closed to the user.
            for (;;) {
                const std::string name = forms::InputBox(
                    "Es wird eine neue Datenbank angelegt. In der Datenbank werden alle Z.U.V. Datensätze "
                    "gespeichert. Bitte geben Sie einen (frei wählbaren) Datenbank-Namen ein:",
                    "Z.U.V.");
                if (name.empty()) break;
                if (name.find_first_of("\\/:*?\"<>|") != std::string::npos || vb::Trim(name).empty()) {
                    forms::MsgBox(DialogTxt(100), forms::vbExclamation, DialogTxt(3));
                    continue;
                }
                const std::string pfad = files::joinPath(Standarddatenordner(), name + ".ZDB");
                if (files::FileExists(pfad)) {
                    // An existing file is never replaced here: it may hold persons.
                    forms::MsgBox(DialogTxt(101) + name + DialogTxt(102), forms::vbExclamation, DialogTxt(3));
                    continue;
                }
                if (NewLocalDB(pfad), gDateiOffen) {
                    SetzeMenueStatus();
                    UpdateMenu();
                }
                break;
            }
        }
        mErsteAktivierung = true;
    });
}

void frmMDI::Form_Activate() {
    mitFehlerfalle([this] {
        if (mErsteAktivierung) {
            if (gAssistentanzeige) forms::Default<frmAssist>().Zeigen();
            mErsteAktivierung = false;
        }
        UpdateMainCaption();
    });
}

void frmMDI::Form_QueryUnload(int& cancel, int unloadMode) {
    (void)cancel;
    // Closed by its frame: no question, but the data file is closed and the list written, so
    // nothing of the session is lost.
    if (unloadMode == forms::vbFormControlMenu || unloadMode == forms::vbAppWindows ||
        unloadMode == forms::vbAppTaskManager) {
        mitFehlerfalle([] {
            if (gDateiOffen) CloseDataFile();
        });
        mitFehlerfalle([this] { WriteIniFile(); });
    }
}

// ==================================================================== menu states

void frmMDI::DisableFileMenus() {
    frmMDI& m = *this;
    m.mnuClose.setEnabled(false);
    m.mnuBackup.setEnabled(false);
    m.mnuImportZUV40.setEnabled(false);
    m.mnuPersonendaten.setVisible(false);
    for (MenuItem* i : {&m.mnuTest, &m.mnuDrucken, &m.mnuPrintReport, &m.mnuTrennlinie13, &m.mnuTestauswertung,
                        &m.mnuKonfiguration, &m.mnuExtras})
        i->setVisible(false);
    m.Rahmen1->setVisible(false);
}

void frmMDI::setzeMenueStatus() {
    frmMDI& m = *this;
    m.mnuClose.setEnabled(true);
    m.mnuBackup.setEnabled(true);
    m.mnuImportZUV40.setEnabled(true);
    m.mnuDruckGrafik.setEnabled(false);
    m.mnuDruckDateivergleich.setEnabled(false);
    m.mnuPersonendaten.setVisible(true);
    for (MenuItem* i : {&m.mnuTest, &m.mnuDrucken, &m.mnuPrintReport, &m.mnuTrennlinie13, &m.mnuTestauswertung})
        i->setVisible(false);
    m.mnuKonfiguration.setVisible(true);
    m.mnuExtras.setVisible(true);
    m.mnuDiagrammOptions.setVisible(false);
    for (int i = 1; i <= 9; ++i) m.SSCommand1[i]->setVisible(false);
    m.Rahmen1->setVisible(true);
    frmAssist& a = forms::Default<frmAssist>();
    a.SSCommand1[0].setEnabled(false);
    a.SSCommand1[2].setEnabled(false);
    // The assistant flag comes from the stored settings row.
    auto rs = forms::Default<Form4>().Data1.Recordset();
    if (rs) gAssistentanzeige = rs->Fields("Assistentanzeige").Value().toBool() ? -1 : 0;
    if (gAssistentanzeige) a.Zeigen();
}

void frmMDI::enableFileMenus() {
    frmMDI& m = *this;
    frmChartOptLaden();
    forms::Default<Form4>();
    m.mnuClose.setEnabled(true);
    m.mnuBackup.setEnabled(true);
    m.mnuImportZUV40.setEnabled(true);
    m.mnuPersonendaten.setVisible(true);
    for (MenuItem* i : {&m.mnuTest, &m.mnuDrucken, &m.mnuPrintReport, &m.mnuTrennlinie13, &m.mnuTestauswertung,
                        &m.mnuKonfiguration, &m.mnuExtras, &m.mnuDiagrammOptions})
        i->setVisible(true);
    m.Rahmen1->setVisible(false);
    for (int i = 1; i <= 9; ++i) m.SSCommand1[i]->setVisible(true);
    m.Rahmen1->setVisible(true);
    // The whole toolbar in one row where the screen has room for it.
    const int breite = Rahmen1->sizeHint().width() + (frameGeometry().width() - width());
    if (isWindow() && width() < breite) resize(forms::fitOnScreen(QSize(breite, height())));
    frmAssist& a = forms::Default<frmAssist>();
    a.SSCommand1[0].setEnabled(true);
    a.SSCommand1[2].setEnabled(true);
}

void frmMDI::schliesseUnterfenster() {
    if (gFensterAnzahl < 1) return;
    if (forms::IsLoaded<frmAssist>()) forms::Instance<frmAssist>().Hide();
    // Only the result windows go. The chooser or person window that runs this is still at work,
    // the chart options hold the live chart settings and the settings window is read by others.
    std::vector<QPointer<forms::Form>> fenster;
    for (forms::Form* f : forms::Forms()) fenster.emplace_back(f);
    for (int i = static_cast<int>(fenster.size()) - 1; i >= 1; --i) {
        forms::Form* f = fenster[i].data();
        if (f && f->isLoaded() && f->Name() != "frmMDI" && f->isMdiChild()) forms::Unload(*f);
    }
    if (gAssistentanzeige) forms::Default<frmAssist>().Zeigen();
}

void frmMDI::ResetMenus() {
    setCaption(kProgrammTitel);
    for (MenuItem* i : {&mnuTest, &mnuAuswertung, &mnuStatistik, &mnuTabelle, &mnuEnneagramm, &mnuGrafikauswertung,
                        &mnuDruckAuswertung, &mnuDruckStatistik})
        i->setEnabled(false);
}

// ==================================================================== data file

namespace {

void CreateTables(db::Database& d) {
    for (const char* sql : kDatendateiAnweisungen) d.Execute(sql);
}

void CreateRelations(db::Database& d, const std::string& name, const std::string& primaer, const std::string& fremd,
                     const std::string& feld, const std::string& fremdfeld) {
    d.CreateRelation(name, primaer, fremd, db::dbRelationUpdateCascade | db::dbRelationDeleteCascade, feld, fremdfeld);
}

void CreateQueries(db::Database&) {}

void RechteEntziehen(db::Database& d) {
    auto entziehen = [](db::Document& doc) {
        doc.setUserName("Admins");
        doc.setPermissions(0);
        doc.setUserName("Users");
        doc.setPermissions(0);
    };
    db::Container datenbanken = d.Containers("Databases");
    entziehen(datenbanken.Documents(0));
    db::Container tabellen = d.Containers("Tables");
    const int n = std::min<int>(static_cast<int>(d.TableDefs().size()), tabellen.DocumentCount());
    for (int i = 0; i < n; ++i) entziehen(tabellen.Documents(i));
}

}  // namespace

void frmMDI::NewLocalDB(const std::string& pfad) {
    std::shared_ptr<db::Database> neu;
    try {
        sanduhr();
        SetStatusText(LabelTxt(7), true);
        neu = gWorkspace->CreateDatabase(pfad, kLocale, db::dbEncrypt);
        // The whole schema or nothing: a file that is only partly built is removed again.
        db::inTransaction(*neu, [&] {
            CreateTables(*neu);
            CreateRelations(*neu, "PersDat_PersonTestErgebnis", "PersDat", "PersonTestErgebnis", "PersonID", "PersonID");
            CreateRelations(*neu, "PersDat_Ergebnis", "PersDat", "Ergebnis", "PersonID", "PersonID");
            CreateRelations(*neu, "PersDat_TypWertzuweisung", "PersDat", "TypWertzuweisung", "PersonID", "PersonID");
            CreateQueries(*neu);
            RechteEntziehen(*neu);
            auto info = neu->OpenRecordset("Info", db::RecordsetType::Table);
            info->AddNew();
            info->Fields("Version") = vb::Variant("32-Bit");
            info->Update();
            info->Close();
        });
        gDatenbankName = pfad;
        gDatenbank = neu;
        SetStatusText("", true);
        normalZeiger();
        gDateiOffen = true;
        setCaption(std::string(kProgrammTitel) + ": " + pfad);
    } catch (const std::exception& e) {
        const bool angelegt = neu != nullptr;
        if (neu) {
            try {
                neu->Close();
            } catch (...) {
            }
        }
        if (angelegt) {
            // With its log and shared-memory file: a new file made later under this name must not
            // find pages of this one beside it.
            try {
                db::DBEngine::instance().removeDatabaseFile(pfad);
            } catch (...) {
            }
        }
        gDateiOffen = false;
        ShowErrorMessage(e);
        SetStatusText("", true);
        normalZeiger();
    }
}

void frmMDI::OpenLocalDB(std::string pfad, bool& abbruch) {
    abbruch = false;
    try {
        if (gDateiOffen) {
            if (forms::MsgBox(DialogTxt(2), forms::vbYesNo | forms::vbQuestion, DialogTxt(3)) != forms::vbYes) {
                abbruch = true;
                return;
            }
            CloseDataFile();
            DisableFileMenus();
        }
        bool nurLesen = gNurLesen;
        if (pfad.empty()) {
            CommonDialog1.setInitDir(gAppPath);
            CommonDialog1.setDefaultExt("ZDB");
            CommonDialog1.setFilter(LabelTxt(272));
            CommonDialog1.setDialogTitle(LabelTxt(451));
            CommonDialog1.setCancelError(true);
            CommonDialog1.setFileName("");
            CommonDialog1.setFlags(forms::cdlOFNFileMustExist);
            CommonDialog1.ShowOpen();
            if (CommonDialog1.FileName().empty()) {
                abbruch = true;
                return;
            }
            pfad = CommonDialog1.FileName();
            nurLesen = (CommonDialog1.Flags() & forms::cdlOFNReadOnly) != 0;
        }
        sanduhr();
        SetStatusText(LabelTxt(8), true);
        auto datei = gWorkspace->OpenDatabase(pfad, false, nurLesen);
        try {
            // A file without its Info row is refused before anything is written into it, so that a
            // file that is no data file stays exactly as it was.
            auto info = datei->OpenRecordset("Info", db::RecordsetType::Table);
            info->MoveFirst();
            gDateiVersion = vb::CStr(info->Fields("Version").Value().isNull() ? vb::Variant("")
                                                                              : info->Fields("Version").Value());
            info->Close();
            // Files made before the print table existed get it; a file opened read-only is left as
            // it is (the report then cannot run, everything else can).
            if (!nurLesen && !TableExists(*datei, "Drucktabelle")) {
                try {
                    auto pruefung = gWorkspace->OpenDatabase(pfad, false, false);
                    pruefung->BeginTrans();
                    pruefung->Execute(kDrucktabelleAnlegen);
                    pruefung->Execute(kDrucktabelleSchluesselAnlegen);
                    pruefung->CommitTrans();
                    pruefung->Close();
                } catch (const vb::Error& e) {
                    // The file is usable without the print table: a table that exists after all, or
                    // one another user holds locked, does not stop the opening.
                    if (!upgradeFehlerUebergehen(e.number())) throw;
                }
            }
        } catch (...) {
            datei->Close();
            throw;
        }
        gDatenbank = datei;
        gDatenbankName = pfad;
        gNurLesen = nurLesen;
        setCaption(std::string(kProgrammTitel) + ": " + gDatenbankName);
        gDateiOffen = true;
        SetStatusText("", true);
        normalZeiger();
    } catch (const std::exception& ex) {
        abbruch = true;
        gDateiOffen = false;
        gDatenbankName.clear();
        gDatenbank.reset();
        const auto* e = dynamic_cast<const vb::Error*>(&ex);
        const int nummer = e ? e->number() : 0;
        if (nummer == vb::err::ObjectNotFound || nummer == vb::err::NoCurrentRecord) {
            // No Info table or no Info row: not one of our data files.
            forms::MsgBox(DialogTxt(4), forms::vbOKOnly, LabelTxt(4));
        } else if (nummer == vb::err::ForeignLog && !pfad.empty()) {
            // The file is whole and only the log beside it does not fit: set aside on the user's
            // word alone, and kept under its new name; otherwise both stay exactly as they are.
            const int antwort = forms::MsgBox(e->description() + gCrLf + gCrLf + DialogTxt(161),
                                              forms::vbYesNo | forms::vbQuestion | forms::vbDefaultButton2, DialogTxt(3));
            if (antwort == forms::vbYes) {
                bool beiseite = false;
                mitFehlerfalle([&] {
                    db::DBEngine::instance().setLogAside(pfad);
                    beiseite = true;
                });
                if (beiseite) {
                    normalZeiger();
                    OpenLocalDB(pfad, abbruch);
                    return;
                }
            }
        } else if (nummer != vb::err::CancelError) {
            ShowErrorMessage(ex);
            CloseDataFile();
        }
        mitFehlerfalle([] { SetStatusText("", true); });
        normalZeiger();
    }
}

void CloseDataFile() {
    mitFehlerfalle([] {
        frmMDI& m = mdi();
        m.mnuWindow.setVisible(false);
        m.mnuBearbeiten.setVisible(false);
        if (!gDateiOffen) return;
        const std::string datei = gDatenbankName;
        m.setCaption(kProgrammTitel);
        UnloadChildForms();
        gAktPerson = {};
        gDateiOffen = false;
        gNurLesen = false;
        if (gDatenbank) gDatenbank->Close();
        // The print-table cursor is let go as well: every user binds it anew, and a cursor kept on
        // the closed file would hold that file open (compaction and backup work on it next).
        for (db::DataControl* d : {&m.Data1, &m.Data2, &m.Data3, &m.Data4, &m.Data5}) d->close();
        gDatenbank.reset();
        gProgrammDatenbank.reset();
        // Whatever else a window bound to the file (also a window unloaded since, or one that
        // stays loaded hidden) lets go of it too: a connection kept here would be handed out
        // again at the next opening, and the file's locks are to be taken anew then.
        if (!datei.empty()) db::DBEngine::instance().releaseFile(datei);
    });
}

// ==================================================================== a file lost while open

bool frmMDI::gehalteneDateiVerloren(const vb::Error&) {
    // Only one question at a time: a write refused while it is on screen gets the standard box.
    static bool dabei = false;
    if (dabei) return false;
    dabei = true;
    struct Ende {
        ~Ende() { dabei = false; }
    } ende;
    db::DBEngine& engine = db::DBEngine::instance();
    if (gDateiOffen && !gDatenbankName.empty()) {
        const db::HeldFile zustand = engine.heldFileFate(gDatenbankName);
        if (zustand.fate != db::HeldFile::Fate::InPlace) {
            datendateiVerloren(zustand);
            return true;
        }
    }
    if (!gProgrammDB.empty()) {
        // The settings are needed under their name at the next start; another file put there is
        // not replaced (the standard box says what happened).
        const db::HeldFile zustand = engine.heldFileFate(files::resolve(gProgrammDB));
        if ((zustand.fate == db::HeldFile::Fate::Deleted || zustand.fate == db::HeldFile::Fate::Moved) &&
            !zustand.nameTaken) {
            einstellungenVerloren(zustand);
            return true;
        }
    }
    return false;
}

void frmMDI::datendateiVerloren(const db::HeldFile& zustand) {
    using Fate = db::HeldFile::Fate;
    const std::string datei = gDatenbankName;
    const int32_t person = gAktPersonID;
    const std::string kopf = DialogTxt(123) + datei;
    if (zustand.fate == Fate::Moved && !zustand.now.empty()) {
        // The file is whole where it is now (its log goes into it when it is closed): the
        // program follows it there.
        forms::MsgBox(kopf + DialogTxt(141) + gCrLf + gCrLf + DialogTxt(150) + zustand.now + DialogTxt(151),
                      forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        weiterMitDatei(zustand.now, person);
        return;
    }
    // Deleted (or moved where it cannot be found) or no longer writable: what the program still
    // holds is written into a file the user names, or under the old name where that is free.
    const bool unterAltemNamen = zustand.fate != Fate::NotWritable && !zustand.nameTaken;
    std::string frage;
    if (zustand.fate == Fate::NotWritable) {
        frage = kopf + DialogTxt(142) + gCrLf + gCrLf + DialogTxt(147) + gCrLf + DialogTxt(149);
    } else {
        frage = kopf +
                DialogTxt(zustand.nameTaken             ? 140
                          : zustand.fate == Fate::Moved ? 141
                                                        : 139) +
                gCrLf + gCrLf + DialogTxt(143) + gCrLf + gCrLf;
        frage += unterAltemNamen ? DialogTxt(144) + gCrLf + DialogTxt(145) + gCrLf + DialogTxt(146)
                                 : DialogTxt(147) + gCrLf + DialogTxt(148);
    }
    const int stil = (unterAltemNamen ? forms::vbYesNoCancel : forms::vbYesNo) | forms::vbExclamation;
    for (;;) {
        const int antwort = forms::MsgBox(frage, stil, DialogTxt(3));
        std::string ziel;
        bool ersetzen = false;
        if (unterAltemNamen && antwort == forms::vbYes) {
            ziel = datei;
        } else if (antwort == (unterAltemNamen ? forms::vbNo : forms::vbYes)) {
            try {
                ziel = zdbZielWaehlen(DialogTxt(154));
            } catch (const vb::Error& e) {
                if (e.number() != vb::err::CancelError) throw;
            }
            if (ziel.empty()) continue;  // no name chosen: the question again
            ersetzen = true;             // the dialog asked before an existing file is replaced
        } else {
            CloseDataFile();
            DisableFileMenus();
            return;
        }
        try {
            sanduhr();
            db::DBEngine::instance().saveHeldFileAs(datei, ziel, ersetzen);
            normalZeiger();
        } catch (const std::exception& e) {
            normalZeiger();
            ShowErrorMessage(e);  // nothing was written: the question again
            continue;
        }
        // The windows go on as they are, on the file written now: what was refused a moment ago
        // still stands in them, to be saved again. Where that cannot be, the file is opened anew.
        bool gefolgt = false;
        try {
            gefolgt = db::DBEngine::instance().followHeldFile(datei, ziel);
        } catch (const std::exception& e) {
            // Written, but refused as it was opened again: the user reads why, and the file is
            // opened anew (which says so again where it still cannot be).
            ShowErrorMessage(e);
        }
        if (gefolgt) {
            gDatenbankName = ziel;
            if (gDatenbank) gDatenbank->setName(ziel);
            UpdateMainCaption();
            UpdateMenu();
            forms::MsgBox(DialogTxt(152) + ziel + DialogTxt(160), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        } else {
            weiterMitDatei(ziel, person);
            forms::MsgBox(DialogTxt(152) + ziel + DialogTxt(153), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        }
        return;
    }
}

void frmMDI::weiterMitDatei(const std::string& pfad, int32_t person) {
    CloseDataFile();
    DisableFileMenus();
    bool abbruch = false;
    OpenLocalDB(pfad, abbruch);
    if (abbruch) return;  // the opening said why; no file is open
    SetzeMenueStatus();
    UpdateMenu();
    if (person == 0) return;
    mitFehlerfalle([person] {
        auto rs = gDatenbank->OpenRecordset("select * from persdat where personid = " + std::to_string(person),
                                            db::RecordsetType::Snapshot);
        if (rs->RecordCount() == 0) return;
        PersonUebernehmen(person, Feldtext(*rs, "vorname"), Feldtext(*rs, "nachname"), Feldtext(*rs, "testdatum"));
    });
}

void frmMDI::einstellungenVerloren(const db::HeldFile& zustand) {
    const std::string datei = files::resolve(gProgrammDB);
    std::string frage = DialogTxt(123) + datei + DialogTxt(zustand.fate == db::HeldFile::Fate::Moved ? 141 : 139);
    if (!zustand.now.empty()) frage += " " + DialogTxt(150) + zustand.now + "“.";
    frage += gCrLf + gCrLf + DialogTxt(143) + " " + DialogTxt(155);
    for (;;) {
        // No: the program goes on with what it holds, and asks again at the next change.
        if (forms::MsgBox(frage, forms::vbYesNo | forms::vbExclamation, DialogTxt(3)) != forms::vbYes) return;
        try {
            sanduhr();
            db::DBEngine::instance().saveHeldFileAs(datei, datei, false);
            normalZeiger();
            break;
        } catch (const std::exception& e) {
            normalZeiger();
            ShowErrorMessage(e);
        }
    }
    // Every window bound to the settings lets go of the old file and binds the new one when it
    // opens again; the program's own connection to it is made anew.
    UnloadChildForms();
    gProgrammDatenbank.reset();
    db::DBEngine::instance().releaseFile(datei);
    mitFehlerfalle([datei] { gProgrammDatenbank = gWorkspace2->OpenDatabase(datei, false, false); });
    forms::MsgBox(DialogTxt(152) + datei + DialogTxt(153), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
}

void frmMDI::mnuNew_Click() {
    const PlattenfehlerEinmalMelden einmal;
    if (gDateiOffen) {
        if (forms::MsgBox(DialogTxt(2), forms::vbYesNo | forms::vbQuestion, DialogTxt(3)) != forms::vbYes) return;
        CloseDataFile();
        DisableFileMenus();
    }
    std::string pfad;
    try {
        pfad = zdbZielWaehlen(LabelTxt(4));
    } catch (const vb::Error& e) {
        if (e.number() != vb::err::CancelError) throw;
        return;
    }
    if (pfad.empty()) return;
    // The old file goes with its log and shared-memory file (a new file beside an old log would
    // take the old pages for its own); one that another program works with stays, and so does
    // the choice: nothing is made.
    try {
        db::DBEngine::instance().removeDatabaseFile(pfad);
    } catch (const std::exception& e) {
        ShowErrorMessage(e);
        return;
    }
    NewLocalDB(pfad);
    if (!gDateiOffen) return;  // the error box was shown; nothing else changes
    SetzeMenueStatus();
    UpdateMenu();
}

void frmMDI::mnuOpen_Click() {
    const PlattenfehlerEinmalMelden einmal;
    bool abbruch = false;
    OpenLocalDB("", abbruch);
    if (!abbruch) {
        SetzeMenueStatus();
        UpdateMenu();
    }
}

void frmMDI::mnuClose_Click() {
    CloseDataFile();
    DisableFileMenus();
}

// ==================================================================== INI file and recent files

std::string frmMDI::recentPath(int k) { return vb::Mid(mnuFileArray(k).Caption(), 4); }

void frmMDI::WriteIniFile() {
    try {
        std::vector<ini::Section> s;
        // The data folder stays what the file says, read as the start reads it: where the file
        // names none, or no folder, or another installation's, the program folder is written.
        const std::string appPath = DatenordnerFuer(ini::ReadIniString("ZUV", "AppPath", gIniDatei));
        s.push_back({"ZUV", {{"AppPath", appPath}}});
        s.push_back(
            {"Options", {{"SystemDB", files::resolve(files::joinPath(files::programFolder(), kWorkgroupDateiName))}}});
        int k = 0;
        for (int i = 1; i <= mnuFileArray.UBound(); ++i) {
            if (!mnuFileArray.exists(i)) continue;
            ++k;
            s.push_back({"File" + std::to_string(k), {{std::to_string(k), recentPath(i)}}});
        }
        ini::writeIniFile(files::resolve(gIniDatei), s);
    } catch (const std::exception& e) {
        ShowErrorMessage(e);
    }
}

void frmMDI::GenerateFileMenu() {
    try {
        for (int k = 1; k <= 8; ++k) {
            const std::string wert = ini::ReadIniString("File" + std::to_string(k), vb::Str(k), gIniDatei);
            if (!ini::present(wert)) continue;
            mnuFileArray(0).setVisible(true);
            if (!mnuFileArray.exists(k)) mnuFileArray.Load(k);
            mnuFileArray(k).setVisible(true);
            // Shown as the file is named on disk, whatever case the INI file holds it in.
            mnuFileArray(k).setCaption(eintragsTitel(k, files::resolve(wert)));
        }
    } catch (const std::exception& e) {
        ShowErrorMessage(e);
    }
}

void frmMDI::UpdateMenu() {
    try {
        std::vector<std::string> liste;
        for (int i = 1; i <= mnuFileArray.UBound(); ++i)
            if (mnuFileArray.exists(i)) liste.push_back(recentPath(i));
        if (!liste.empty() && gleicherPfad(liste.front(), gDatenbankName)) return;
        // The file moves to the top; it is not listed twice.
        liste.erase(std::remove_if(liste.begin(), liste.end(),
                                   [](const std::string& p) { return gleicherPfad(p, gDatenbankName); }),
                    liste.end());
        if (liste.size() >= 4) liste.erase(liste.begin() + 3);
        liste.insert(liste.begin(), gDatenbankName);
        for (int i = mnuFileArray.UBound(); i >= 1; --i)
            if (mnuFileArray.exists(i)) mnuFileArray.Unload(i);
        for (size_t k = 0; k < liste.size(); ++k) {
            mnuFileArray.Load(static_cast<int>(k + 1));
            mnuFileArray(static_cast<int>(k + 1)).setCaption(eintragsTitel(static_cast<int>(k + 1), liste[k]));
        }
        WriteIniFile();
        for (int i = mnuFileArray.UBound(); i >= 1; --i)
            if (mnuFileArray.exists(i)) mnuFileArray.Unload(i);
        GenerateFileMenu();
    } catch (const std::exception& e) {
        ShowErrorMessage(e);
    }
}

void frmMDI::mnuFileArray_Click(int index) {
    const PlattenfehlerEinmalMelden einmal;
    const std::string pfad = recentPath(index);
    bool abbruch = false;
    OpenLocalDB(pfad, abbruch);
    if (!abbruch) {
        SetzeMenueStatus();
        UpdateMenu();
    }
}

// ==================================================================== compaction and backup

// The Save dialog for a data file to be written: the chosen path with ".ZDB" where the name has
// no dot, "" when none was chosen; 32755 when it was cancelled.
std::string frmMDI::zdbZielWaehlen(const std::string& titel) {
    CommonDialog1.setInitDir(gAppPath);
    CommonDialog1.setDefaultExt("ZDB");
    CommonDialog1.setDialogTitle(titel);
    CommonDialog1.setFilterIndex(1);
    CommonDialog1.setFilter(kZdbFilter);
    CommonDialog1.setFileName("");
    CommonDialog1.setCancelError(true);
    CommonDialog1.setFlags(forms::cdlOFNOverwritePrompt | forms::cdlOFNHideReadOnly);
    CommonDialog1.ShowSave();
    return CommonDialog1.FileName().empty() ? std::string() : mitEndung(CommonDialog1.FileName());
}

void frmMDI::wartungFehlgeschlagen(const std::exception& e) {
    normalZeiger();
    mitFehlerfalle([] { SetStatusText("", true); });
    ShowErrorMessage(e);
}

void frmMDI::CompactDB() {
    try {
        if (gDateiOffen) {
            if (forms::MsgBox(DialogTxt(7), forms::vbYesNo | forms::vbQuestion, DialogTxt(3)) != forms::vbYes) return;
            CloseDataFile();
            DisableFileMenus();
        }
        CommonDialog1.setInitDir(gAppPath);
        CommonDialog1.setFilter(kZdbFilter);
        CommonDialog1.setDefaultExt("ZDB");
        CommonDialog1.setDialogTitle(LabelTxt(11));
        CommonDialog1.setFileName("");
        CommonDialog1.setFilterIndex(1);
        CommonDialog1.setFlags(forms::cdlOFNHideReadOnly);
        CommonDialog1.setCancelError(true);
        CommonDialog1.ShowOpen();
        if (CommonDialog1.FileName().empty()) return;
        const std::string quelle = CommonDialog1.FileName();
        const std::string ziel = zdbZielWaehlen(LabelTxt(4));
        if (ziel.empty()) return;
        const bool gleich = files::samePath(quelle, ziel);
        sanduhr();
        SetStatusText(LabelTxt(12) + " " + quelle + " " + LabelTxt(13) + " " + ziel, true);
        if (gleich || !files::FileExists(ziel)) {
            // The engine refuses a target equal to the source (the file is never touched), and
            // writes a new target under its name only when the copy is complete.
            db::DBEngine::instance().CompactDatabase(quelle, ziel, "", db::dbEncrypt);
        } else {
            // The old target gives way only to a complete copy: it is made under a temporary name
            // beside the target and then takes its place in one step.
            const std::string neu = files::tempNameBeside(ziel);
            try {
                db::DBEngine::instance().CompactDatabase(quelle, neu, "", db::dbEncrypt);
                files::moveIntoPlace(neu, ziel, true);
            } catch (...) {
                std::error_code ec;
                std::filesystem::remove(neu, ec);
                throw;
            }
        }
        SetStatusText("", true);
        normalZeiger();
        gAntwort = forms::MsgBox(DialogTxt(11) + " " + quelle + " " + DialogTxt(10) + " " + ziel + "!",
                                 forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
    } catch (const std::exception& e) {
        wartungFehlgeschlagen(e);
    }
}

void frmMDI::BackUpDB() {
    try {
        std::string quelle;
        if (gDateiOffen) {
            if (forms::MsgBox(DialogTxt(14), forms::vbYesNo | forms::vbQuestion, DialogTxt(3)) != forms::vbYes) return;
            quelle = gDatenbankName;
            CloseDataFile();
            DisableFileMenus();
        }
        const std::string ziel = zdbZielWaehlen(DialogTxt(3) + LabelTxt(13));
        if (ziel.empty()) return;
        if (quelle.empty()) throw vb::Error(vb::err::FileNotFoundDb, DialogTxt(103));
        if (files::samePath(quelle, ziel)) throw vb::Error(vb::err::InvalidProcedureCall, DialogTxt(104));
        sanduhr();
        SetStatusText(DialogTxt(11) + " " + quelle + " " + DialogTxt(17) + " " + ziel, true);
        // Copied through the engine: a consistent copy even if another program still writes into
        // the file, and an existing target replaced only by a complete one.
        db::copyDatabaseFile(quelle, ziel);
        SetStatusText("", true);
        normalZeiger();
        gAntwort = forms::MsgBox(DialogTxt(11) + " " + quelle + " " + DialogTxt(16) + " " + ziel + "!",
                                 forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
    } catch (const std::exception& e) {
        wartungFehlgeschlagen(e);
    }
}

// ==================================================================== window commands

void frmMDI::mnuBeenden_Click() {
    if (forms::MsgBox(DialogTxt(5), forms::vbYesNo | forms::vbQuestion, DialogTxt(3)) == forms::vbNo) return;
    beenden();
}

void frmMDI::beenden() {
    if (gDateiOffen) CloseDataFile();
    WriteIniFile();
    forms::Unload(*this);
}

void HilfeinhaltZeigen() {
    // The file looked for is the file the help viewer opens: beside the program, wherever the
    // INI file puts the data folder.
    if (!files::FileExists(Hilfedateipfad())) {
        gAntwort = forms::MsgBox(DialogTxt(57), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
    } else {
        ShowHelp("");
    }
}

void frmMDI::mnuHilfeinhalt_Click() { HilfeinhaltZeigen(); }

void frmMDI::mnuWebsite_Click() { StartBrowser_Click(); }

void frmMDI::CopyToClipboard() {
    forms::Form* aktiv = ActiveForm();
    if (!aktiv) return;
    const std::string name = aktiv->Name();
    if (name == "auswertform") {
        // The page of the evaluation window on view, which need not be the one made last.
        forms::Clipboard::Clear();
        sanduhr();
        if (auto* auswertung = dynamic_cast<auswertform*>(aktiv)) forms::Clipboard::SetData(auswertung->Seitenbild());
        normalZeiger();
    } else if (auto* figur = dynamic_cast<Form2*>(aktiv)) {
        // The active window's own figure (the last one opened may show another person), drawn
        // off screen.
        sanduhr();
        forms::Clipboard::SetData(figur->Abbild());
        normalZeiger();
    } else if (auto* tabelle = dynamic_cast<Form15*>(aktiv)) {
        forms::Clipboard::Clear();
        sanduhr();
        forms::Clipboard::SetText(tabelle->Tabellentext());
        normalZeiger();
    } else if (auto* diagramm = dynamic_cast<frmChart*>(aktiv)) {
        // The active chart (the last one opened may be another), drawn off screen at its size.
        forms::Clipboard::Clear();
        forms::Clipboard::SetData(diagramm->bild());
        normalZeiger();
    }
}

// ==================================================================== commands (menus and toolbar)

// art: 1 evaluation, 2 statistics, 3 answer table, 4 enneagram: the person scored and ranked, the
// evaluation state set, and a new window of the kind opened.
void frmMDI::ergebnisFensterOeffnen(int art) {
    sanduhr();
    struct Zeiger {
        ~Zeiger() { normalZeiger(); }
    } zeiger;
    if (art == 1) gSensitivityGewaehlt = false;
    if (art == 4) gDateivergleich = 0;
    PersonFuerErgebnisfensterAuswerten();
    forms::Form* offen = nullptr;
    switch (art) {
    case 1:
    case 2:
        gAuswertungsart = static_cast<int16_t>(art);
        gSeite = 1;
        offen = ErgebnisfensterOeffnen(new auswertform(), gAuswertFenster,
                                       [art](forms::Form& f) { f.setCaption(LabelTxt(art == 1 ? 158 : 210)); });
        break;
    case 3: ErgebnisfensterOeffnen(new Form15, gTabellenFenster, nullptr); return;
    case 4:
        offen = ErgebnisfensterOeffnen(new Form2, gEnneagrammFenster, [this](forms::Form& f) {
            f.setCaption(LabelTxt(154));
            mnuDruckEnneagramm.setEnabled(true);
        });
        break;
    default: return;
    }
    if (offen) AssistentSchritt({{1, 4}, {2, 3}}, kGruen);
}

void frmMDI::mnuAuswertung_Click() { ergebnisFensterOeffnen(1); }
void frmMDI::mnuStatistik_Click() { ergebnisFensterOeffnen(2); }
void frmMDI::mnuTabelle_Click() { ergebnisFensterOeffnen(3); }
void frmMDI::mnuEnneagramm_Click() { ergebnisFensterOeffnen(4); }

void frmMDI::mnuDateivergleich_Click() {
    PersonWaehlen();
    if (gAuswahlAbgebrochen == 1) return;
    gAntwort = forms::MsgBox(DialogTxt(58) + " '" + gAktPerson[1] + " " + gAktPerson[2] + "/" + gAktPerson[11] + "' " +
                                 DialogTxt(59),
                             forms::vbYesNoCancel | forms::vbQuestion, DialogTxt(3));
    if (gAntwort != forms::vbYes) return;
    gVergleichPersonID = gAktPersonID;
    gVergleichPerson[1] = gAktPerson[1];
    gVergleichPerson[2] = gAktPerson[2];
    gVergleichPerson[3] = gAktPerson[11];
    PersonWaehlen();
    if (gAuswahlAbgebrochen == 1) return;
    if (gAktPersonID == gVergleichPersonID) {
        forms::MsgBox(DialogTxt(105), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
        return;
    }
    DateivergleichAnzeigen();
}

// The print items choose the report's parts and kind in the report window, whose activation
// builds the report.
void frmMDI::druckBericht(std::initializer_list<int> teile, bool zweiPersonen) {
    frmReport& bericht = forms::Default<frmReport>();
    if (zweiPersonen) gSeite = 1;
    for (int i = 0; i <= 8; ++i)
        bericht.Check1[i].setValue(std::find(teile.begin(), teile.end(), i) != teile.end() ? 1 : 0);
    bericht.Option1[0].setValue(false);
    bericht.Option1[1].setValue(zweiPersonen);
    bericht.Show();
}

void frmMDI::mnuDrucken_Click() {
    auto da = [](const char* name) { return files::FileExists(gAppPath + "\\" + name); };
    mnuDruckEnneagramm.setEnabled(da("ZUVEnneagramm.bmp"));
    mnuDruckGrafik.setEnabled(da("ZUVGrafik1.bmp") || da("ZUVGrafik2.bmp") || da("ZUVGrafik3.bmp"));
    mnuDruckDateivergleich.setEnabled(da("ZUVVergleich.bmp"));
    mnuDruckTabelle.setEnabled(da("ZUVTabelle.bmp"));
}

std::string GeschwisterProgramm(const std::string& datei) {
    // The programs carry their Windows names in the code; here they are installed without ".exe",
    // beside ZUVDESK, which is the data folder too unless the INI file names another one.
    std::string name = datei;
    if (name.size() > 4 && vb::LCase(name.substr(name.size() - 4)) == ".exe") name.resize(name.size() - 4);
    for (const std::string& ordner : {gAppPath, files::programFolder()}) {
        const std::string pfad = ordner + "\\" + name;
        if (!files::Dir(pfad).empty()) return files::resolve(pfad);
    }
    return {};
}

void ProgrammStarten(const char* datei, int dialogText, int stil, int ohnePerson) {
    const std::string pfad = GeschwisterProgramm(datei);
    if (pfad.empty()) {
        std::string text = DialogTxt(dialogText);
        if (ohnePerson) {
            if (vb::Trim(gAktPerson[1]).empty() && vb::Trim(gAktPerson[2]).empty()) text = DialogTxt(ohnePerson);
            else text += gAktPerson[1] + " " + gAktPerson[2] + "/";
        }
        gAntwort = forms::MsgBox(text, stil, DialogTxt(3));
        return;
    }
    gAntwort = static_cast<int32_t>(forms::Shell(pfad));
}

void TypenbeschreibungenStarten() {
    ProgrammStarten("zuvcodex.exe", 54, forms::vbOKOnly | forms::vbExclamation, 44);
    AssistentFarben({{1, 4}, {2, 3}}, kSchwarz);
}

void frmMDI::mnuTypenbeschreibungen_Click() { TypenbeschreibungenStarten(); }

void frmMDI::mnuBilder_Click() { ProgrammStarten("zuvscope.exe", 56, forms::vbOKOnly | forms::vbQuestion); }

void frmMDI::mnuLernen_Click() { ProgrammStarten("zuvtutor.exe", 55, forms::vbOKOnly | forms::vbExclamation); }

void frmMDI::StartImportProgram() {
    gAntwort = forms::vbYes;
    if (gDateiOffen) gAntwort = forms::MsgBox(DialogTxt(41), forms::vbYesNo | forms::vbExclamation, DialogTxt(3));
    if (gAntwort != forms::vbYes) return;
    CloseDataFile();
    DisableFileMenus();
    forms::Shell(gAppPath + "\\zuvbridge.exe");
}

void frmMDI::mnuDruckereinrichtung_Click() {
    CommonDialog1.setCancelError(true);
    CommonDialog1.setFlags(forms::cdlPDPrintSetup);
    try {
        CommonDialog1.setAction(5);
    } catch (const vb::Error& e) {
        if (e.number() != vb::err::CancelError) throw;
    }
}

void frmMDI::mnuImportZUV40_Click() {
    CommonDialog1.setCancelError(true);
    CommonDialog1.setInitDir(gAppPath);
    CommonDialog1.setFileName("*.ZDB");
    CommonDialog1.setDefaultExt("ZDB");
    CommonDialog1.setDialogTitle(MenuTxt(17));
    CommonDialog1.setFilter(LabelTxt(273));
    CommonDialog1.setFilterIndex(1);
    CommonDialog1.setFlags(forms::cdlOFNFileMustExist | forms::cdlOFNHideReadOnly);
    try {
        CommonDialog1.setAction(1);
    } catch (const vb::Error& e) {
        if (e.number() == vb::err::CancelError) return;
        throw;
    }
    const std::string quelle = CommonDialog1.FileName();
    if (quelle.empty() || quelle.find('*') != std::string::npos) return;
    // What keeps any import from this file is said at once, in words, before a window offers one.
    if (const int grund = frmImport::ablehnung(quelle)) {
        gAntwort = forms::MsgBox(DialogTxt(grund), forms::vbExclamation, DialogTxt(3));
        return;
    }
    // A window still open lists the file now chosen; a file it cannot read leaves it as it was.
    if (forms::IsLoaded<frmImport>()) forms::Instance<frmImport>().QuelleLaden(quelle);
    gImportQuelle = quelle;
    forms::Instance<frmImport>().Show(forms::vbModal);
}

void frmMDI::mnuWiederholen_Click() {
    for (;;) {
        const std::string antwort = forms::InputBox(DialogTxt(60), DialogTxt(61), "1");
        if (antwort.empty()) return;
        const double wert = vb::Val(antwort);
        if (wert >= 1 && wert <= 109) {
            gAktAussage = static_cast<int16_t>(std::nearbyint(wert));
            TestZeigen();
            return;
        }
        forms::MsgBox(DialogTxt(62), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
    }
}

void frmMDI::SSCommand1_Click(int index) {
    static const bool sanduhrJa[16] = {true, true,  true, false, false, false, false, true,
                                       true, false, true, true,  true,  true,  true,  true};
    if (index < 0 || index > 15) return;
    if (sanduhrJa[index]) sanduhr();
    switch (index) {
    case 0: PersonendatenAnzeigen(); break;
    case 1: TestDurchfuehren(); break;
    case 2: GrafikauswertungAnzeigen(); break;
    case 3: mitFehlerfalle([this] { mnuEnneagramm_Click(); }); break;
    case 4: mitFehlerfalle([this] { mnuTabelle_Click(); }); break;
    case 5: mitFehlerfalle([this] { mnuAuswertung_Click(); }); break;
    case 6: mitFehlerfalle([this] { mnuStatistik_Click(); }); break;
    case 7: mitFehlerfalle([this] { mnuDateivergleich_Click(); }); break;
    case 8: mitFehlerfalle([] { FragebogenDrucken(druckSchalter()); }); break;
    case 9: mnuDiagrammOptions.Click(); break;
    case 10: mitFehlerfalle([] { forms::Default<Form4>().Show(); }); break;
    case 11: mitFehlerfalle([] { EinfuehrungstextAnzeigen(); }); break;
    case 12: mitFehlerfalle([this] { mnuTypenbeschreibungen_Click(); }); break;
    case 13: mitFehlerfalle([this] { mnuBilder_Click(); }); break;
    case 14: mitFehlerfalle([this] { mnuLernen_Click(); }); break;
    case 15: mitFehlerfalle([this] { mnuHilfeinhalt_Click(); }); break;
    }
    if (sanduhrJa[index]) normalZeiger();
}

void frmMDI::SSCommand1_MouseMove(int index) {
    static const int tipp[16] = {3, 45, 35, 31, 34, 32, 33, 43, 36, 152, 38, 41, 39, 44, 40, 42};
    if (index < 0 || index > 15) return;
    if (index < static_cast<int>(gLabelTxt.size()) && tipp[index] < static_cast<int>(gLabelTxt.size()))
        SSCommand1[index]->setToolTipText(LabelTxt(tipp[index]));
}
