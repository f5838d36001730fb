#pragma once

// The evaluation window: the paged result of the current person, in the evaluation mode (twelve or
// ten pages) or the statistics mode (six pages). A new window for each request, a child window of
// the main window. It draws a page into the persistent image of its picture box Bild1 through the
// page routines, offers paging, the threshold choice of the evaluation pages, help by mode, and
// hands the page on view to the report window as "ZUVAktuelleSeite.bmp".
//
// Each window keeps its own mode, page, page count and person: several windows may be open, and
// each shows its own page of its own person; the program-wide mode, page, page count and output
// surface follow the window that draws. The thresholds stay program-wide, as the report reads
// them too.

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "desk/common/cls_scroll.h"
#include "platform/draw/picture_box.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class auswertform : public forms::Form {
public:
    auswertform();
    ~auswertform() override;

    // ---- controls
    QWidget Picture2;  // tool strip
    forms::Frame Frame1;
    forms::ComboBox Combo1{2}, Combo2{2};
    forms::CommandButton Command1;
    forms::Button3D SSCommand1, SSCommand2, SSCommand3;
    forms::CommandButton Befehl6, Befehl3;
    forms::Label Label1, Label2;
    QWidget Sicht;     // the visible part of the page below the tool strip
    QWidget Picture1;  // scrolled container, moved by the scroll class
    draw::PictureBox Bild1;

    // ---- life cycle and handlers
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_Message(int msg, std::intptr_t wParam, std::intptr_t lParam) override;
    void Bild1_GotFocus();
    void Command1_Click();
    void Befehl3_Click();
    void Befehl6_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();

    // ---- procedures
    void bild_schriftartsetzen();
    void ShowSensitivity();

    // The page on view as the clipboard takes it: the persistent image of Bild1, whole.
    QImage Seitenbild() const;
    // The page on view drawn anew for paper at print resolution, as far as it is drawn on:
    // what "ZUVAktuelleSeite.bmp" holds for the report.
    QImage SeiteFuerPapier();

    // The window's own page state.
    int16_t Seite() const { return m_seite; }
    int16_t Seitenanzahl() const { return m_seitenanzahl; }

private:
    void ZeigeKopfzeile();
    // Steps 2 to 7 of drawing the page on view (clear, head, start, surface, thresholds, page),
    // once more when the page made Bild1 grow.
    void seiteZeichnen();
    // Those steps on the surface `s`: Bild1, or a page for paper; false for a page out of range.
    bool seiteAuf(draw::Surface& s);
    void seiteAufrufen();
    // "The focus goes to Bild1": the page is drawn as when the box gains the focus.
    void seiteZeigen();
    // The program-wide mode, page and page count take this window's values.
    void zustandHerstellen();
    // A page that cannot be shown: its reason at the top of the page.
    void hinweisSeite(const std::string& zeile1, const std::string& zeile2);
    // Bild1 grows to hold a page printed in a large font; false when it had to grow.
    bool groesseAnpassen();
    void bildGroesse(double breite, double hoehe);
    bool personGiltNoch() const;
    // The score arrays made to follow the person's stored answers before a page is drawn: scored
    // anew when they changed, the page count with them. 3021 for a person without rows.
    void antwortenNachfuehren();
    // A rating of the window's person was stored: the page on view is drawn anew.
    void bewertungGespeichert(int32_t personId);
    void fuellen(forms::ComboBox& liste, std::initializer_list<double> werte);
    void paging(int schritt);

    clsScroll m_scroll;
    bool m_scrollBereit = false;
    bool m_zeichnet = false;
    int16_t m_art = 1;
    int16_t m_seite = 1;
    int16_t m_seitenanzahl = 12;
    int32_t m_personId = 0;
    std::array<std::string, 3> m_person;  // first name, surname, test date
    std::string m_antwortstand;           // the answers the page on view was scored from (Antwortstand)
    // The style the page on view started in.
    draw::FontSpec m_anfangsschrift;
    int32_t m_anfangsfarbe = 0;
};
