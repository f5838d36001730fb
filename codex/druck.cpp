// The reader's print engine and its letterhead and footer: procedures of the print manager that
// draw on gAusgabe, the printer or the preview's page. Positions are twips from the page's top
// left corner.

#include <QString>

#include "desk/common/engine_setup.h"

#include <cmath>

#include "codex/frm_druck_man.h"
#include "codex/frm_print_preview.h"
#include "codex/modul_global.h"
#include "desk/common/globals.h"
#include "platform/db/recordset.h"
#include "platform/draw/printer.h"
#include "platform/forms/host.h"
#include "platform/vb/datetime.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

namespace codex {

namespace {

constexpr int16_t kTextTab = 10;
constexpr int16_t kLiteraturTab = 15;
constexpr double kTextanfang = 4200;  // top of the text on every page

// A failure of the printer itself ends the run: going on would only fail again on every line.
bool druckerFehler(const vb::Error& e) { return e.number() == vb::err::PrinterError; }

// Trim as the language trims: blanks only.
QString ohneBlanks(const QString& s) {
    int a = 0, b = static_cast<int>(s.size());
    while (a < b && s[a] == ' ') ++a;
    while (b > a && s[b - 1] == ' ') --b;
    return s.mid(a, b - a);
}
QString ohneEndblanks(const QString& s) {
    int b = static_cast<int>(s.size());
    while (b > 0 && s[b - 1] == ' ') --b;
    return s.left(b);
}

std::string heute() { return vb::Format(vb::Date(), "dd.mm.yyyy"); }

}  // namespace

std::string Druckbezeichnung(int16_t typ) { return typ >= 0 && typ <= 9 ? gTypbezeichnung[typ] : std::string(); }

bool frmDruckMan::vorschauVoll() const { return Vorschau && gSeiteVoll; }

// ==================================================================== the run

void frmDruckMan::Drucken() {
    // The question names the current type, and the run prints that same type.
    if (gAktTyp != m_druckTyp) druckabfrageFuer(gAktTyp);
    if (!Vorschau) {
        int frage = 0;
        if (Option1[3].Value()) frage = 9;
        else if (Option1[0].Value()) frage = 11;
        else if (Option1[1].Value()) frage = 12;
        if (frage != 0) {
            gAntwort = forms::MsgBox(DialogTxt(frage) + " " + Druckbezeichnung(gAktTyp) + " " + DialogTxt(10),
                                     forms::vbYesNo | forms::vbQuestion, DialogTxt(3));
            if (gAntwort == forms::vbNo) return;
        }
    }
    // Without a printer the file to print into is asked for before the long work starts.
    // The job (or the PDF file offered) names the type described, as the report names its client.
    if (gAusgabe == &draw::printer()) draw::printer().setDocName("Typenbeschreibung " + Druckbezeichnung(m_druckTyp));
    if (gAusgabe == &draw::printer()) draw::printer().ensureTarget();
    setMousePointer(forms::vbHourglass);
    druckLauf();
    setMousePointer(forms::vbDefault);
}

void frmDruckMan::druckLauf() {
    draw::Surface& s = *gAusgabe;
    const bool drucker = &s == &draw::printer();
    gSeitennummer = 1;
    gSeiteVoll = false;
    ApplyFontSettings(s);
    s.setForeColor(Farbwert(gStandardschriftfarbe));
    Messtext = "Texthoehe";
    Druckhoehe = 0;
    // The symbol picture is read once a run, for every letterhead of it; one that is missing or
    // unreadable leaves them without it.
    Picture2.setPicture({});
    if (Check1[3].Value() == 1) {
        try {
            Picture2.LoadPicture(Installationsdatei("zuv_symb_druckkopf.bmp"));
        } catch (const vb::Error&) {
        }
    }
    PrintDruckkopf(kTextTab);
    s.setCurrentY(kTextanfang);
    if (Option1[2].Value()) {
        themenblock(gThemaTitel, gThemaInhalt, nullptr);
        if (vorschauVoll()) return;  // the preview showed its full page already
        PrintFusszeile(kTextTab);
        if (drucker) s.EndDoc();
    } else {
        auto rs = Data3.Recordset();
        if (!rs) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(37) + kInhaltDB + DialogTxt(38));
        if (rs->RecordCount() == 0)
            throw vb::Error(vb::err::NoCurrentRecord,
                            DialogTxt(39) + kInhaltDB + DialogTxt(40) + Druckbezeichnung(m_druckTyp) + DialogTxt(41));
        rs->MoveFirst();
        Themenposition = 0;
        while (!rs->Eof()) {
            // Row k belongs to list entry k; rows beyond the list have no choice to read.
            if (Themenposition >= List1.ListCount()) break;
            if (List1.Selected(Themenposition))
                themenblock(Feldtext(*rs, "thementitel.titel"), Feldtext(*rs, "inhalt"), rs.get());
            if (vorschauVoll()) return;
            ++Themenposition;
            rs->MoveNext();
        }
        PrintFusszeile(kTextTab);
        if (drucker) s.EndDoc();
    }
    if (!drucker) {
        forms::Instance<frmPrintPreview>().Show(forms::vbModal);
        Show();
    }
}

void frmDruckMan::themenblock(const std::string& titel, const std::string& inhalt, db::Recordset* zeile) {
    draw::Surface& s = *gAusgabe;
    auto zaehlen = [&] { Druckhoehe = static_cast<int16_t>(Druckhoehe + std::lround(s.TextHeight(Messtext))); };
    s.Print({draw::Tab(kTextTab), ""}, draw::LineEnd::Open);
    ApplyExtraFontSettings(s);
    s.setForeColor(Farbwert(gExtraschriftfarbe));
    s.Print({titel});
    zaehlen();
    ApplyFontSettings(s);
    s.setForeColor(Farbwert(gStandardschriftfarbe));
    s.Print();
    zaehlen();
    PrintString(inhalt, kTextTab);
    if (vorschauVoll()) return;
    s.Print();
    zaehlen();
    if (Check1[4].Value() == 1) {
        // A row prints its own source. The description window's line belongs to the topic it
        // shows; writing a printed row's line there would give a later print of that topic
        // another topic's source.
        const std::string literatur = zeile ? Literaturzeile(*zeile) : gLiteraturzeile;
        Schriftgroesse = static_cast<int16_t>(std::lround(s.FontSize()));
        s.setFontSize(8);
        PrintString(LabelTxt(14) + ": " + literatur, kLiteraturTab);
        s.setFontSize(Schriftgroesse);
        if (vorschauVoll()) return;
        if (zeile) {
            s.Print();
            zaehlen();
        }
    }
}

// ==================================================================== lines and pages

void frmDruckMan::zeile(const std::string& text, int16_t iTab, bool abstand) {
    if (vorschauVoll()) return;
    draw::Surface& s = *gAusgabe;
    s.Print({draw::Tab(iTab), ohneBlanks(QString::fromStdString(text)).toStdString()});
    MaxLinesCheck();
    if (abstand && gDruckZeilenabstand == 2 && !vorschauVoll()) {
        s.Print();
        MaxLinesCheck();
    }
}

void frmDruckMan::PrintString(const std::string& sString, int16_t iTab) {
    try {
        draw::Surface& s = *gAusgabe;
        const QString text = QString::fromStdString(sString);
        const double grenze = s.Width() - 4000;
        // Where the paper's printable width ends for a line that starts at the tab column.
        const double rand = s.Width() - 1000 - (iTab - 1) * s.averageCharWidth();
        auto breite = [&](const QString& q) { return s.TextWidth(q.toStdString()); };
        QString puffer;
        // A line is broken after the blank that takes it past the limit, so it may run on by one
        // word; a word that would reach past the paper's edge goes to the next line instead, and a
        // word longer than a whole line is cut where it still fits.
        auto randPruefen = [&] {
            for (;;) {
                if (vorschauVoll()) return;
                const QString inhalt = ohneEndblanks(puffer);
                if (inhalt.isEmpty() || breite(inhalt) <= rand) return;
                const int blank = static_cast<int>(inhalt.lastIndexOf(' '));
                if (blank > 0 && !ohneBlanks(inhalt.left(blank)).isEmpty()) {
                    zeile(inhalt.left(blank).toStdString(), iTab, true);
                    puffer = puffer.mid(blank + 1);
                } else {
                    int lo = 1, hi = static_cast<int>(inhalt.size()) - 1;
                    while (lo < hi) {
                        const int mitte = (lo + hi + 1) / 2;
                        if (breite(inhalt.left(mitte)) <= rand) lo = mitte;
                        else hi = mitte - 1;
                    }
                    zeile(inhalt.left(lo).toStdString(), iTab, true);
                    puffer = puffer.mid(lo);
                }
            }
        };
        for (int i = 0; i < text.size(); ++i) {
            if (vorschauVoll()) return;
            const QChar c = text[i];
            if (c == '\r' || c == '\n') {
                // A carriage return ends the line and takes the line feed after it along; a line
                // feed on its own ends the line as well. No other character is lost.
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                randPruefen();
                zeile(puffer.toStdString(), iTab, true);
                puffer.clear();
                continue;
            }
            puffer += c;
            if (c == ' ') {
                double w = breite(puffer);
                if (w > rand) {
                    randPruefen();
                    w = breite(puffer);
                }
                if (w > grenze) {
                    zeile(puffer.toStdString(), iTab, true);
                    puffer.clear();
                }
            }
        }
        randPruefen();
        zeile(puffer.toStdString(), iTab, false);
    } catch (const vb::Error& e) {
        if (druckerFehler(e)) throw;
        ShowErrorMessage(e);
    }
}

void frmDruckMan::MaxLinesCheck() {
    try {
        draw::Surface& s = *gAusgabe;
        Druckhoehe = static_cast<int16_t>(Druckhoehe + std::lround(s.TextHeight(Messtext)));
        if (Druckhoehe < s.Height() - 4200 - 2500) return;
        const bool drucker = &s == &draw::printer();
        const double groesse = s.FontSize();
        PrintFusszeile(kTextTab);
        if (!drucker) forms::Instance<frmPrintPreview>().Show(forms::vbModal);
        gSeiteVoll = true;
        if (drucker) {
            gSeiteVoll = false;
            s.NewPage();
            gSeitennummer = static_cast<int16_t>(gSeitennummer + 1);
            PrintDruckkopf(kTextTab);
            // The text goes on in the size it had before the footer.
            s.setFontSize(groesse);
            s.setCurrentY(kTextanfang);
        }
        Druckhoehe = 0;
    } catch (const vb::Error& e) {
        if (druckerFehler(e)) throw;
        ShowErrorMessage(e);
    }
}

// ==================================================================== letterhead and footer

void frmDruckMan::PrintDruckkopf(int16_t iTab) {
    draw::Surface& s = *gAusgabe;
    draw::Printer& drucker = draw::printer();
    s.setScaleLeft(0);
    s.setFontSize(10);
    s.Print();
    Druckhoehe = static_cast<int16_t>(Druckhoehe + std::lround(drucker.TextHeight(Messtext)));
    if (Check1[1].Value() == 1) {
        s.setCurrentY(500);
        s.Print({draw::Tab(iTab), heute()});
        Druckhoehe = static_cast<int16_t>(Druckhoehe + std::lround(drucker.TextHeight(Messtext)));
    }
    if (Check1[0].Value() == 1) {
        s.setCurrentY(500);
        const std::string seite = vb::Str(static_cast<int>(gSeitennummer));
        s.setCurrentX((s.Width() - (s.TextWidth(seite) + 1000)) / 2);
        s.Print({seite});
    }
    s.setCurrentY(500);
    const double groesse = s.FontSize();
    s.setFontSize(8);
    auto rs = Data1.Recordset();
    if (!rs) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(42));
    auto feld = [&](const char* name) { return Feldtext(*rs, name); };
    auto rechts = [&](const std::string& t) {
        s.setCurrentX(s.Width() - (s.TextWidth(t) + 1000));
        s.Print({t});
    };
    auto wennDa = [&](const std::string& wert, const std::string& text) {
        if (!wert.empty()) rechts(text);
    };
    if (Check2[0].Value() == 1) rechts(feld("VorName") + " " + feld("NachName"));
    const char* einfach[6] = {"Firma", "Bereich", "Abteilung", "Strasse", "PLZOrt", "Land"};
    for (int i = 0; i < 6; ++i)
        if (Check2[1 + i].Value() == 1) wennDa(feld(einfach[i]), feld(einfach[i]));
    if (Check2[7].Value() == 1) {
        s.Print();
        wennDa(feld("Telefon"), LabelTxt(52) + ": " + feld("Telefon"));
    }
    if (Check2[8].Value() == 1) wennDa(feld("Fax"), LabelTxt(163) + ": " + feld("Fax"));
    if (Check2[9].Value() == 1) wennDa(feld("Mail"), LabelTxt(58) + ": " + feld("Mail"));
    if (Check2[10].Value() == 1) {
        s.Print();
        wennDa(feld("URL"), LabelTxt(165) + ": " + feld("URL"));
    }
    if (Check2[11].Value() == 1) {
        s.Print();
        wennDa(feld("Bemerkung"), feld("Bemerkung"));
    }
    s.setFontSize(groesse);
    if (Check1[3].Value() == 1 && !Picture2.Picture().isNull())
        s.PaintPicture(Picture2.Picture(), 1000, 1200, Picture2.Width() * 2.6, Picture2.Height() * 2.6);
    s.setCurrentY(3200);
    if (Check1[2].Value() == 1) {
        s.Print();
        s.Print();
        s.Print({draw::Tab(iTab), std::string(90, '_')});
        Druckhoehe = static_cast<int16_t>(Druckhoehe + std::lround(s.TextHeight(Messtext)));
    }
}

void frmDruckMan::PrintFusszeile(int16_t iTab) {
    try {
        draw::Surface& s = *gAusgabe;
        const double unten = s.Height() - 1500;
        s.setFontSize(10);
        s.setCurrentY(unten);
        if (Check4[2].Value() == 1) s.Print({draw::Tab(iTab), std::string(90, '_')});
        if (Check4[1].Value() == 1) {
            s.setCurrentY(unten);
            s.Print();
            s.Print({draw::Tab(iTab), heute()});
        }
        if (Check4[0].Value() == 1) {
            s.setCurrentY(unten);
            s.Print();
            const std::string seite = vb::Str(static_cast<int>(gSeitennummer));
            s.setCurrentX((s.Width() - (s.TextWidth(seite) + 1000)) / 2);
            s.Print({seite});
        }
    } catch (const vb::Error& e) {
        if (druckerFehler(e)) throw;
        ShowErrorMessage(e);
    }
}

}  // namespace codex
