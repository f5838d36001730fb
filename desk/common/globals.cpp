#include "desk/common/globals.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/vb/strings.h"

// ---------------------------------------------------------------- state

std::string gAppPath;
std::string gIniDatei;
std::string gProgrammDB;
std::string gCrLf = "\r\n";
std::shared_ptr<db::Workspace> gWorkspace;
std::shared_ptr<db::Workspace> gWorkspace2;
std::shared_ptr<db::Database> gProgrammDatenbank;
std::shared_ptr<db::Database> gDatenbank;
std::string gDatenbankName;
bool gDateiOffen = false;
bool gNurLesen = false;
std::string gDateiVersion;
std::string gImportQuelle;

std::vector<std::string> gMenuTxt;
std::vector<std::string> gLabelTxt;
std::vector<DialogText> gDialogTxt;

std::vector<int16_t> gItemNummer;
std::vector<int16_t> gTypNummer;

std::string gStandardschriftart;
int16_t gStandardschriftGroesse = 0;
bool gStandardschriftFett = false;
bool gStandardschriftKursiv = false;
vb::Variant gStandardschriftfarbe;
std::string gExtraschriftart;
int16_t gExtraschriftGroesse = 0;
bool gExtraschriftFett = false;
bool gExtraschriftKursiv = false;
vb::Variant gExtraschriftfarbe;
vb::Variant gTypbenennung;
int16_t gDruckZeilenabstand = 0;
int16_t gAssistentanzeige = 0;

vb::Variant gHintergrundfarbeRot, gHintergrundfarbeGruen;
int16_t gHintergrundfarbeBlau = 0;
vb::Variant gDiagrammHintergrundfarbeRot, gDiagrammHintergrundfarbeGruen;
int16_t gDiagrammHintergrundfarbeBlau = 0;
vb::Variant gAchsenlinienfarbeRot, gAchsenlinienfarbeGruen;
int16_t gAchsenlinienfarbeBlau = 0;
vb::Variant gReihe1Rot, gReihe1Gruen;
int16_t gReihe1Blau = 0;
vb::Variant gReihe2Rot, gReihe2Gruen;
int16_t gReihe2Blau = 0;
vb::Variant gReihe3Rot, gReihe3Gruen;
int16_t gReihe3Blau = 0;
vb::Variant gReihe4Rot, gReihe4Gruen;
int16_t gReihe4Blau = 0;
vb::Variant gReihe5Rot, gReihe5Gruen;
int16_t gReihe5Blau = 0;
vb::Variant gReihe6Rot, gReihe6Gruen;
int16_t gReihe6Blau = 0;
vb::Variant gReihe7Rot, gReihe7Gruen;
int16_t gReihe7Blau = 0;
vb::Variant gReihe8Rot, gReihe8Gruen;
int16_t gReihe8Blau = 0;
vb::Variant gReihe9Rot, gReihe9Gruen;
int16_t gReihe9Blau = 0;
std::string gDiagrammFontname;
int16_t gDiagrammFontsize = 0;
bool gDiagrammFontBold = false;
bool gDiagrammFontItalic = false;

std::array<std::string, 10> gTypbezeichnung;

int32_t gAktPersonID = 0;
std::array<std::string, 15> gAktPerson;
int32_t gVergleichPersonID = 0;
std::array<std::string, 15> gVergleichPerson;
int16_t gAktAussage = 0;
int16_t gAuswahlAbgebrochen = 0;
int16_t gAktTyp = 0;

TypArray gTypgesamtsummeJeTyp{};
TypArray gTypsumme0JeTyp{};
TypArray gTypsumme1JeTyp{};
TypArray gTypsumme01JeTyp{};
TypArray gTypsumme2JeTyp{};
TypArray gTypsumme3JeTyp{};
TypArray gTypsumme4JeTyp{};
TypArray gTypsumme34JeTyp{};
AntwortAnzahl gAntwortAnzahlJeTyp;
std::array<int16_t, 11> gAWGesamtJeTyp{};
std::array<int16_t, 6> gAntwortAnzahlGesamt{};

RangListe gRang1Typgesamtsumme, gRang2Typgesamtsumme;
RangListe gRang1Typsumme34, gRang2Typsumme34;
RangListe gRang1Typsumme01, gRang2Typsumme01;
RangListe gRang1Typsumme2, gRang2Typsumme2;
RangListe gRang1Typsumme4, gRang2Typsumme4;
RangListe gRang1Typsumme3, gRang2Typsumme3;
RangListe gRang1Typsumme1, gRang2Typsumme1;
RangListe gRang1Typsumme0, gRang2Typsumme0;
int16_t gSpitzenwertTypgesamtsumme = 0;
int16_t gSpitzenwertTypsumme34 = 0;
int16_t gSpitzenwertTypsumme4 = 0;
int16_t gSpitzenwertTypsumme3 = 0;
int16_t gSpitzenwertTypsumme2 = 0;
int16_t gSpitzenwertTypsumme01 = 0;
int16_t gSpitzenwertTypsumme1 = 0;
int16_t gSpitzenwertTypsumme0 = 0;
int16_t gAnzahlRang1 = 0;
int16_t gHaupttyp = 0;
int16_t gHaupttypEindeutig = 0;
int16_t gVerbindungstyp1 = 0;
int16_t gVerbindungstyp2 = 0;
int16_t gRang1Gleich = 0;
int16_t gRang1GleichWert = 0;

float gSensitivity1 = 0;
float gSensitivity2 = 0;
int16_t gSensitivity1Index = 0;
int16_t gSensitivity2Index = 0;
bool gSensitivityGewaehlt = false;

int16_t gAuswertungsart = 0;
int16_t gSeite = 0;
int16_t gSeitenanzahl = 0;
int16_t gDiagrammArt = 0;
int16_t gDateivergleich = 0;
std::array<int16_t, 10> gDiagrammWerte{};
std::string gDiagrammTitel;
draw::Surface* gAusgabe = nullptr;
float gTypsummenMittel = 0;
int16_t gVergleichTyp = 0;
std::array<std::string, 10> gVergleichTypen;
int16_t gVergleichLauf = 0;
int16_t gAusgabeStartY = 0;
int16_t gMaxWert = 0;
double gInformationsmass = 0;
int16_t gZaehler = 0;
std::string gEinfuehrungstext;

int16_t gFensterAnzahl = 0;
std::string gStatustext;
int32_t gAntwort = 0;
QPointer<QWidget> gAuswertFenster;
QPointer<QWidget> gTabellenFenster;
QPointer<QWidget> gEnneagrammFenster;
QPointer<QWidget> gChartFenster;
QPointer<QWidget> gEinfuehrungFenster;
QPointer<QWidget> gScrollForm;
int32_t gScrollPosX = 0;
int32_t gScrollPosY = 0;
ScrollInfoRecord gScrollInfo;

void resetGlobals() {
    gAppPath.clear();
    gIniDatei.clear();
    gProgrammDB.clear();
    gCrLf = "\r\n";
    gDatenbank.reset();
    gProgrammDatenbank.reset();
    gWorkspace.reset();
    gWorkspace2.reset();
    gDatenbankName.clear();
    gDateiOffen = false;
    gNurLesen = false;
    gDateiVersion.clear();
    gImportQuelle.clear();
    gMenuTxt.clear();
    gLabelTxt.clear();
    gDialogTxt.clear();
    gItemNummer.clear();
    gTypNummer.clear();
    gStandardschriftart.clear();
    gStandardschriftGroesse = 0;
    gStandardschriftFett = gStandardschriftKursiv = false;
    gStandardschriftfarbe = {};
    gExtraschriftart.clear();
    gExtraschriftGroesse = 0;
    gExtraschriftFett = gExtraschriftKursiv = false;
    gExtraschriftfarbe = {};
    gTypbenennung = {};
    gDruckZeilenabstand = 0;
    gAssistentanzeige = 0;
    gHintergrundfarbeRot = {};
    gHintergrundfarbeGruen = {};
    gHintergrundfarbeBlau = 0;
    gDiagrammHintergrundfarbeRot = {};
    gDiagrammHintergrundfarbeGruen = {};
    gDiagrammHintergrundfarbeBlau = 0;
    gAchsenlinienfarbeRot = {};
    gAchsenlinienfarbeGruen = {};
    gAchsenlinienfarbeBlau = 0;
    gReihe1Rot = {};
    gReihe1Gruen = {};
    gReihe1Blau = 0;
    gReihe2Rot = {};
    gReihe2Gruen = {};
    gReihe2Blau = 0;
    gReihe3Rot = {};
    gReihe3Gruen = {};
    gReihe3Blau = 0;
    gReihe4Rot = {};
    gReihe4Gruen = {};
    gReihe4Blau = 0;
    gReihe5Rot = {};
    gReihe5Gruen = {};
    gReihe5Blau = 0;
    gReihe6Rot = {};
    gReihe6Gruen = {};
    gReihe6Blau = 0;
    gReihe7Rot = {};
    gReihe7Gruen = {};
    gReihe7Blau = 0;
    gReihe8Rot = {};
    gReihe8Gruen = {};
    gReihe8Blau = 0;
    gReihe9Rot = {};
    gReihe9Gruen = {};
    gReihe9Blau = 0;
    gDiagrammFontname.clear();
    gDiagrammFontsize = 0;
    gDiagrammFontBold = gDiagrammFontItalic = false;
    gTypbezeichnung = {};
    gAktPersonID = 0;
    gAktPerson = {};
    gVergleichPersonID = 0;
    gVergleichPerson = {};
    gAktAussage = gAuswahlAbgebrochen = gAktTyp = 0;
    for (TypArray* a : {&gTypgesamtsummeJeTyp, &gTypsumme0JeTyp, &gTypsumme1JeTyp, &gTypsumme01JeTyp, &gTypsumme2JeTyp,
                        &gTypsumme3JeTyp, &gTypsumme4JeTyp, &gTypsumme34JeTyp})
        a->fill(0);
    gAntwortAnzahlJeTyp.clear();
    gAWGesamtJeTyp.fill(0);
    gAntwortAnzahlGesamt.fill(0);
    for (RangListe* l : rangListen()) *l = {};
    gSpitzenwertTypgesamtsumme = gSpitzenwertTypsumme34 = gSpitzenwertTypsumme4 = gSpitzenwertTypsumme3 = 0;
    gSpitzenwertTypsumme2 = gSpitzenwertTypsumme01 = gSpitzenwertTypsumme1 = gSpitzenwertTypsumme0 = 0;
    gAnzahlRang1 = gHaupttyp = gHaupttypEindeutig = gVerbindungstyp1 = gVerbindungstyp2 = 0;
    gRang1Gleich = gRang1GleichWert = 0;
    gSensitivity1 = gSensitivity2 = 0;
    gSensitivity1Index = gSensitivity2Index = 0;
    gSensitivityGewaehlt = false;
    gAuswertungsart = gSeite = gSeitenanzahl = gDiagrammArt = gDateivergleich = 0;
    gDiagrammWerte.fill(0);
    gDiagrammTitel.clear();
    gAusgabe = nullptr;
    gTypsummenMittel = 0;
    gVergleichTyp = gVergleichLauf = gAusgabeStartY = gMaxWert = gZaehler = 0;
    gVergleichTypen = {};
    gInformationsmass = 0;
    gEinfuehrungstext.clear();
    gFensterAnzahl = 0;
    gStatustext.clear();
    gAntwort = 0;
    gAuswertFenster = gTabellenFenster = gEnneagrammFenster = gChartFenster = gEinfuehrungFenster = nullptr;
    gScrollForm = nullptr;
    gScrollPosX = gScrollPosY = 0;
    gScrollInfo = {};
}

// ---------------------------------------------------------------- texts and arrays

namespace {
[[noreturn]] void outOfRange() { throw vb::Error(vb::err::SubscriptOutOfRange); }
}  // namespace

const std::string& MenuTxt(int n) {
    if (n < 0 || n >= static_cast<int>(gMenuTxt.size())) outOfRange();
    return gMenuTxt[n];
}

const std::string& LabelTxt(int n) {
    if (n < 0 || n >= static_cast<int>(gLabelTxt.size())) outOfRange();
    return gLabelTxt[n];
}

const std::string& DialogTxt(int n) {
    if (n < 0 || n >= static_cast<int>(gDialogTxt.size())) outOfRange();
    return gDialogTxt[n].Text;
}

int16_t& AntwortAnzahl::operator()(int t, int r) {
    if (t < 0 || t > 9 || r < 0 || r > 5) outOfRange();
    return flat[t + 10 * r];
}

int16_t& AntwortAnzahl::operator[](int i) {
    if (i < 0 || i >= 60) outOfRange();
    return flat[i];
}

std::array<RangListe*, 16> rangListen() {
    return {&gRang1Typgesamtsumme, &gRang2Typgesamtsumme, &gRang1Typsumme34, &gRang2Typsumme34,
            &gRang1Typsumme01,     &gRang2Typsumme01,     &gRang1Typsumme2,  &gRang2Typsumme2,
            &gRang1Typsumme4,      &gRang2Typsumme4,      &gRang1Typsumme3,  &gRang2Typsumme3,
            &gRang1Typsumme1,      &gRang2Typsumme1,      &gRang1Typsumme0,  &gRang2Typsumme0};
}

// ---------------------------------------------------------------- procedures without windows

void TypnummernErsetzen() {
    const auto listen = rangListen();
    for (int p = 1; p <= 9; ++p) {
        for (int t = 1; t <= 9; ++t) {
            const std::string nummer = vb::Str(static_cast<int>(t));
            for (RangListe* l : listen) {
                if ((*l)[p] == nummer) (*l)[p] = gTypbezeichnung[t];
            }
        }
    }
}

int16_t GetRed(int32_t colour) { return static_cast<int16_t>(colour & 255); }
int16_t GetGreen(int32_t colour) { return static_cast<int16_t>((colour / 256) & 255); }
int16_t GetBlue(int32_t colour) { return static_cast<int16_t>((colour / 65536) & 255); }

bool TableExists(db::Database& database, const std::string& name) {
    const std::string wanted = vb::UCase(name);
    for (const std::string& t : database.TableDefs())
        if (vb::UCase(t) == wanted) return true;
    return false;
}

std::string Feldtext(db::Recordset& rs, const char* feld) {
    const vb::Variant v = rs.Fields(feld).Value();
    return v.isNull() || v.isEmpty() ? std::string() : vb::CStr(v);
}
