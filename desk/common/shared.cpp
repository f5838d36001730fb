// The shared procedures that need the window system.

#include <QFont>

#include <array>
#include <cmath>

#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/common/programm.h"
#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/draw/printer.h"
#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "platform/forms/common_dialog.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace {
Hauptfenster* g_hauptfenster = nullptr;

// A text position that may not be loaded yet (an error during start-up): the fixed words
// keep the error box readable.
std::string textOder(int n, const char* ersatz) {
    return n < static_cast<int>(gLabelTxt.size()) ? gLabelTxt[n] : std::string(ersatz);
}

int vbRound(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

Hauptfenster* hauptfenster() { return g_hauptfenster; }
void setHauptfenster(Hauptfenster* h) { g_hauptfenster = h; }

forms::CommonDialog& gemeinsamerDialog() {
    static forms::CommonDialog eigener;
    return g_hauptfenster ? g_hauptfenster->commonDialog() : eigener;
}

db::DataControl& HauptDaten(int n) {
    if (n < 1 || n > 5) throw vb::Error(vb::err::SubscriptOutOfRange);
    if (g_hauptfenster)
        if (db::DataControl* d = g_hauptfenster->daten(n)) return *d;
    static std::array<db::DataControl, 6> eigene;
    return eigene[n];
}

db::Recordset& DatenSatz(db::DataControl& d) {
    auto rs = d.Recordset();
    if (!rs) throw vb::Error(vb::err::ObjectNotSet);
    return *rs;
}

bool NurLesendGeoeffnet(const std::string& datei) {
    // The open data file itself, not the copy the report of such a file writes into.
    return gNurLesen && gDatenbank && gDatenbank->readOnly() && !datei.empty() &&
           files::samePath(datei, gDatenbank->Name());
}

db::Recordset& DatenBinden(db::DataControl& d, const std::string& datei, const std::string& quelle) {
    d.setDatabaseName(datei);
    // The data file opened read-only is read so by every window: a file that can only be read
    // shows what it holds, and a write is refused as one into a read-only file.
    d.setReadOnly(NurLesendGeoeffnet(datei));
    d.setRecordSource(quelle);
    d.Refresh();
    return DatenSatz(d);
}

void EnableFileMenus() {
    if (g_hauptfenster) g_hauptfenster->enableFileMenus();
}

void SetzeMenueStatus() {
    if (g_hauptfenster) g_hauptfenster->setzeMenueStatus();
}

void SchliesseUnterfenster() {
    if (g_hauptfenster) g_hauptfenster->schliesseUnterfenster();
}

void DruckMenueAn(DruckMenue menue, bool an) {
    if (g_hauptfenster) g_hauptfenster->setDruckMenue(menue, an);
}

void HauptfensterZeigen() {
    if (g_hauptfenster) g_hauptfenster->zeigen();
}

void HauptfensterTitel(const std::string& titel) {
    if (g_hauptfenster) g_hauptfenster->setMainCaption(titel);
}

void AssistentFarben(std::initializer_list<Schrittlabel> labels, int32_t farbe) {
    if (!g_hauptfenster || !gAssistentanzeige) return;
    for (const Schrittlabel& l : labels) g_hauptfenster->setAssistentFarbe(l, farbe);
}

void AssistentSchritt(std::initializer_list<Schrittlabel> hervorgehoben, int32_t farbe) {
    // Label2 and Label1 of each of the five steps, in the order of the steps.
    static constexpr Schrittlabel alle[10] = {{2, 7}, {1, 0}, {2, 0}, {1, 3}, {2, 5},
                                              {1, 2}, {2, 4}, {1, 1}, {2, 3}, {1, 4}};
    if (!g_hauptfenster || !gAssistentanzeige) return;
    for (const Schrittlabel& l : alle) {
        bool hell = false;
        for (const Schrittlabel& h : hervorgehoben) hell = hell || (h.label == l.label && h.index == l.index);
        g_hauptfenster->setAssistentFarbe(l, hell ? farbe : kSchwarz);
    }
}

void AssistentNachVorn() {
    if (g_hauptfenster && gAssistentanzeige) g_hauptfenster->assistentNachVorn();
}

forms::Form* ErgebnisfensterOeffnen(forms::Form* f, QPointer<QWidget>& ablage,
                                    const std::function<void(forms::Form&)>& vorbereiten) {
    ablage = f;
    if (!CanOpenChildWindow()) {
        // Refused before it was ever loaded: it goes without a trace.
        f->deleteLater();
        return nullptr;
    }
    try {
        if (vorbereiten) vorbereiten(*f);
        f->Show();
    } catch (...) {
        // One that never loaded has no unload to give its place back or to delete it.
        if (!f->isLoaded()) {
            ChildWindowClosed();
            f->deleteLater();
        }
        throw;
    }
    ChildWindowOpened();
    return f;
}

namespace {
int g_einmalTiefe = 0;
bool g_vollGemeldet = false;
bool g_eaGemeldet = false;
}  // namespace

PlattenfehlerEinmalMelden::PlattenfehlerEinmalMelden() { ++g_einmalTiefe; }

PlattenfehlerEinmalMelden::~PlattenfehlerEinmalMelden() {
    if (--g_einmalTiefe == 0) g_vollGemeldet = g_eaGemeldet = false;
}

void ShowErrorMessage(const vb::Error& e) {
    if (e.number() == vb::err::CancelError) return;
    // The engine's and the files' numbers for the same two causes.
    bool* gemeldet = e.number() == vb::err::DiskSpaceExhausted || e.number() == vb::err::DiskFull        ? &g_vollGemeldet
                     : e.number() == vb::err::DiskOrNetworkError || e.number() == vb::err::DeviceIOError ? &g_eaGemeldet
                                                                                                         : nullptr;
    const bool schonGemeldet = gemeldet && g_einmalTiefe > 0 && *gemeldet;
    if (gemeldet && g_einmalTiefe > 0) *gemeldet = true;
    const bool dateiVerloren = vb::err::fileLostWhileOpen(e.number());
    // For a file deleted, moved or write-protected while open the main window asks what is to
    // become of it instead: that question is the one message.
    if (dateiVerloren && g_hauptfenster) forms::Screen::setMousePointer(forms::vbDefault);
    if (!schonGemeldet && (!dateiVerloren || !g_hauptfenster || !g_hauptfenster->gehalteneDateiVerloren(e))) {
        const bool fest = programm().festeFehlerworte;
        const std::string text = (fest ? std::string("Folgender Fehler trat auf:")
                                       : textOder(363, "Folgender Fehler trat auf:")) +
                                 gCrLf + gCrLf + e.description() + gCrLf +
                                 (fest ? std::string("Nummer:") : textOder(364, "Nummer:")) + " " +
                                 std::to_string(e.number());
        forms::MsgBox(text, forms::vbOKOnly);
    }
    try {
        files::Close(1);
    } catch (...) {
    }
    if (programm().meldungBeendetWartezeit) {
        forms::Screen::setMousePointer(forms::vbDefault);
        try {
            SetStatusText("", false);
        } catch (...) {
        }
    }
}

void ShowErrorMessage(const std::exception& e) {
    if (auto* v = dynamic_cast<const vb::Error*>(&e)) return ShowErrorMessage(*v);
    ShowErrorMessage(vb::Error(vb::err::InternalError, std::string("Interner Fehler: ") + e.what()));
}

void ShowHelp(const std::string& topic) { forms::host().showHelp(Hilfedateipfad(), topic); }

void CenterForm(forms::Form& f) {
    f.setLeft((forms::Screen::Width() - f.Width()) / 2);
    f.setTop(vbRound((forms::Screen::Height() - f.Height()) / 2.5));
}

void FormZentrieren(forms::Form& f) {
    f.setLeft((forms::Screen::Width() - f.Width()) / 2);
    f.setTop((forms::Screen::Height() - f.Height()) / 2);
}

void SetStatusText(const std::string& text, bool withSuffix) {
    if (text != gStatustext) {
        std::string caption;
        if (text.empty()) caption = LabelTxt(5);
        else if (withSuffix) caption = text + LabelTxt(6);
        else caption = text;
        if (hauptfenster()) hauptfenster()->setStatusCaption(caption);
    }
    gStatustext = text;
}

void UpdateMainCaption() {
    std::string caption = programm().titel;
    if (!gAktPerson[1].empty()) {
        caption += ": " + gDatenbankName + " - " + DialogTxt(34) + " " + gAktPerson[1] + " " + gAktPerson[2] + "/" +
                   gAktPerson[11];
    } else if (gDateiOffen) {
        caption += ": " + gDatenbankName;
    }
    if (hauptfenster()) hauptfenster()->setMainCaption(caption);
}

void drucker_schriftartsetzen() {
    draw::Printer& p = draw::printer();
    p.setForeColor(vb::CLng(gStandardschriftfarbe.isEmpty() ? vb::Variant(int32_t(0)) : gStandardschriftfarbe));
    p.setFont(gStandardschriftart, gStandardschriftGroesse > 0 ? gStandardschriftGroesse : 10, gStandardschriftFett,
              gStandardschriftKursiv);
}

void ApplyFontSettings(QFont& font) {
    font.setFamily(QString::fromStdString(gStandardschriftart));
    if (gStandardschriftGroesse > 0) font.setPointSize(gStandardschriftGroesse);
    font.setItalic(gStandardschriftKursiv);
    font.setBold(gStandardschriftFett);
}

bool CanOpenChildWindow() {
    if (gFensterAnzahl >= kMaxFenster) {
        gAntwort = forms::MsgBox(DialogTxt(33), forms::vbOKOnly, DialogTxt(3));
        if (programm().meldungBeendetWartezeit) forms::Screen::setMousePointer(forms::vbDefault);
        SetStatusText("", true);
        return false;
    }
    ++gFensterAnzahl;
    return true;
}

void ChildWindowOpened() {
    mitFehlerfalle([] {
        if (!hauptfenster()) return;
        hauptfenster()->setEditAndWindowMenusVisible(true);
        hauptfenster()->arrangeChildren(gFensterAnzahl == 1 ? 2 : 0);
    });
}

void ChildWindowClosed() {
    gFensterAnzahl = static_cast<int16_t>(gFensterAnzahl - 1);
    if (gFensterAnzahl < 1) {
        gFensterAnzahl = 0;
        if (hauptfenster()) hauptfenster()->setEditAndWindowMenusVisible(false);
    }
}

void UnloadChildForms() {
    // A copy: unloading changes the list. Position 0, the first window of the run, stays.
    std::vector<QPointer<forms::Form>> fenster;
    for (forms::Form* f : forms::Forms()) fenster.emplace_back(f);
    for (int i = static_cast<int>(fenster.size()) - 1; i >= 1; --i) {
        forms::Form* f = fenster[i].data();
        if (f && f->Name() != "frmMDI" && f->isLoaded()) forms::Unload(*f);
    }
}
