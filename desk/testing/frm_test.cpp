#include "desk/testing/frm_test.h"

#include "desk/common/engine_setup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "desk/common/globals.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/testverwaltung.h"
#include "desk/common/main_window_port.h"
#include "platform/db/recordset.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/vb/strings.h"

namespace {

void meldung(int dialogText) { gAntwort = forms::MsgBox(DialogTxt(dialogText), forms::vbExclamation, DialogTxt(3)); }

// The scale above the five rating buttons: each value of the scale caption stands over the
// middle of its button and the arrow runs from the first button's middle to the last one's,
// whatever width the window and its font give the buttons. The two labels keep their captions;
// this draws them in line with the buttons.
class Skala : public QWidget {
public:
    Skala(forms::Label& werte, forms::Label& pfeil, std::array<forms::CommandButton, 5>& knoepfe)
        : m_werte(werte), m_pfeil(pfeil), m_knoepfe(knoepfe) {
        werte.setParent(this);
        pfeil.setParent(this);
        werte.hide();
        pfeil.hide();
        setMinimumHeight(2 * fontMetrics().height() + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(palette().color(QPalette::WindowText));
        const QStringList werte = m_werte.text().split(' ', Qt::SkipEmptyParts);
        const int zeile = fontMetrics().height();
        std::array<double, 5> mitte{};
        for (std::size_t i = 0; i < m_knoepfe.size(); ++i)
            mitte[i] = mapFromGlobal(m_knoepfe[i].mapToGlobal(QPointF(m_knoepfe[i].width() / 2.0, 0))).x();
        for (std::size_t i = 0; i < mitte.size() && i < static_cast<std::size_t>(werte.size()); ++i)
            p.drawText(QRectF(mitte[i] - 40, 0, 80, zeile), Qt::AlignCenter, werte[static_cast<int>(i)]);
        if (m_pfeil.text().isEmpty()) return;
        const double y = zeile + zeile / 2.0;
        const double spitze = zeile / 3.0;
        p.drawLine(QPointF(mitte.front(), y), QPointF(mitte.back(), y));
        for (auto [x, richtung] : {std::pair{mitte.front(), 1.0}, std::pair{mitte.back(), -1.0}}) {
            p.drawLine(QPointF(x, y), QPointF(x + richtung * spitze, y - spitze / 1.5));
            p.drawLine(QPointF(x, y), QPointF(x + richtung * spitze, y + spitze / 1.5));
        }
    }

private:
    forms::Label& m_werte;
    forms::Label& m_pfeil;
    std::array<forms::CommandButton, 5>& m_knoepfe;
};

}  // namespace

void TestSchritteMarkieren() { AssistentSchritt({{1, 1}, {2, 4}}, kDunkelblau); }

frmTest::frmTest() : Form("frmTest") {
    setKeyPreview(true);
    auto* haupt = new QVBoxLayout(this);
    haupt->addWidget(&Label1);
    auto* kopf = new QHBoxLayout;
    kopf->addWidget(&Bezeichnung10);
    kopf->addWidget(&Bild3);
    kopf->addStretch();
    kopf->addWidget(&SSCommand1);
    kopf->addWidget(&SSCommand2);
    haupt->addLayout(kopf);
    haupt->addWidget(&Text2);
    auto* legende = new QVBoxLayout;
    for (auto* b : {&Bezeichnung3, &Bezeichnung4, &Bezeichnung5, &Bezeichnung6, &Bezeichnung7}) legende->addWidget(b);
    haupt->addLayout(legende);
    auto* skala = new Skala(Bezeichnung2, Bezeichnung8, Befehl);
    haupt->addWidget(skala);
    auto* knoepfe = new QHBoxLayout;
    for (auto& b : Befehl) knoepfe->addWidget(&b);
    haupt->addLayout(knoepfe);

    auto* eingabe = new QHBoxLayout;
    eingabe->addWidget(&Bezeichnung1);
    eingabe->addWidget(&Text1);
    eingabe->addWidget(&Befehl6);
    eingabe->addStretch();
    haupt->addLayout(eingabe);
    auto* fortschritt = new QHBoxLayout;
    fortschritt->addWidget(&Bezeichnung11);
    fortschritt->addWidget(&SSPanel1, 1);
    haupt->addLayout(fortschritt);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(&Befehl9);
    unten->addWidget(&Befehl10);
    unten->addWidget(&Command1);
    haupt->addLayout(unten);

    Text1.setMaxLength(1);
    Text1.setFixedWidth(40);
    Text2.setLocked(true);
    Text2.setBackColor(0xE0E0E0);
    Text2.setMinimumSize(520, 90);
    Bild3.setFontSize(14);
    Bild3.setFontBold(true);
    SSPanel1.setMinimumHeight(22);

    for (int i = 0; i < 5; ++i) Befehl[i].Click = [this, i] { BefehlZiffer_Click(i); };
    Befehl6.Click = [this] { Befehl6_Click(); };
    Befehl9.Click = [this] { Befehl9_Click(); };
    Befehl10.Click = [this] { Befehl10_Click(); };
    Command1.Click = [] { mitFehlerfalle([] { ShowHelp("html/zuvw65wo.htm"); }); };
    SSCommand1.Click = [this] { SSCommand1_Click(); };
    SSCommand2.Click = [this] { SSCommand2_Click(); };
    Text1.KeyPress = [this](int& k) { Text1_KeyPress(k); };
    Text2.KeyPress = [](int& k) { k = 0; };
    Text2.GotFocus = [this] { Text2_GotFocus(); };
}

void frmTest::setupControls() {
    setCaption("Z.U.V. Test");
    for (int i = 0; i < 5; ++i) Befehl[i].setCaption(std::string(1, '&') += std::to_string(i));
    Bezeichnung2.setCaption("0          1          2          3          4        ");
    Bezeichnung8.setCaption("<------------------------------------->");
    Text1.setText("");
    Text2.setText("");
}

void frmTest::Form_Load() {
    m_aktiviert = m_gebunden = false;
    m_gezeigt = 0;
    m_gezeigtFuer = 0;
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(45));
        Bezeichnung10.setCaption(LabelTxt(72));
        Bezeichnung1.setCaption(LabelTxt(73));
        Befehl6.setCaption(LabelTxt(74));
        Befehl9.setCaption(LabelTxt(75));
        Befehl10.setCaption(LabelTxt(69));
        Command1.setCaption(LabelTxt(68));
        Bezeichnung3.setCaption(LabelTxt(76));
        Bezeichnung4.setCaption(LabelTxt(77));
        Bezeichnung5.setCaption(LabelTxt(78));
        Bezeichnung6.setCaption(LabelTxt(79));
        Bezeichnung7.setCaption(LabelTxt(80));
        Bezeichnung11.setCaption(LabelTxt(81));
        SSCommand1.setToolTipText(LabelTxt(249));
        SSCommand2.setToolTipText(LabelTxt(250));
        SSCommand1.setCaption("<");
        SSCommand2.setCaption(">");
    });
}

void frmTest::binden() {
    m_gebunden = false;
    DatenBinden(Daten1, Einstellungsdatenbank(), "testitems");
    const std::string id = std::to_string(gAktPersonID);
    DatenBinden(Daten2, gDatenbankName, "select * from persontestergebnis where personid like " + id);
    DatenBinden(Daten3, gDatenbankName, "select * from typwertzuweisung where personid like " + id);
    DatenSatz(Daten1).MoveFirst();
    if (DatenSatz(Daten2).RecordCount() != 0) DatenSatz(Daten2).MoveFirst();
    if (DatenSatz(Daten3).RecordCount() != 0) DatenSatz(Daten3).MoveFirst();
    m_gebunden = true;
    setCaption(LabelTxt(45));
    Label1.setCaption(LabelTxt(82) + " " + gAktPerson[1] + " " + gAktPerson[2] + "/" + gAktPerson[11]);
}

void frmTest::neuLesen() {
    // After a refused read the window's rows are gone: all three are read again, not only the answers.
    if (!m_gebunden) {
        binden();
        return;
    }
    m_gebunden = false;
    Daten2.Refresh();
    m_gebunden = true;
}

void frmTest::Form_Activate() {
    m_aktiviert = true;
    mitFehlerfalle([this] { binden(); });
    if (m_gebunden) aufAussage();
    // The person's rows could not be read (the file held by another program, a disk error): the
    // message said why. A window that has shown no statement yet, or shows another person than
    // the current one, closes rather than show a statement without its rating; one that has keeps
    // the statement and rating it read.
    if (m_gezeigt == 0 || (!m_gebunden && m_gezeigtFuer != gAktPersonID)) forms::Unload(*this);
}

void frmTest::fokusBewertung() {
    if (Text1.isVisible() && Text1.isEnabled()) Text1.SetFocus();
}

void frmTest::aufAussage() {
    Text2_GotFocus();
    fokusBewertung();
}

void frmTest::Text2_GotFocus() {
    bool gelesen = false;
    mitFehlerfalle([&] {
        if (!m_aktiviert) {  // nothing read yet
            Bild3.setCaption(std::to_string(gAktAussage));
            SSPanel1.setFloodPercent(vb::Variant((gAktAussage - 1) / 1.08).toInt());
            return;
        }
        neuLesen();
        auto& texte = DatenSatz(Daten1);
        const std::string kriterium = "itemnummer like " + std::to_string(gAktAussage);
        texte.FindFirst(kriterium);
        const std::string text = texte.NoMatch() ? std::string() : vb::textOrEmpty(texte.Fields("itemtext").Value());
        auto& antworten = DatenSatz(Daten2);
        antworten.FindFirst(kriterium);
        std::string wert = antworten.NoMatch() ? std::string() : vb::textOrEmpty(antworten.Fields("itemwert").Value());
        if (m_ungespeichertBei == gAktAussage) wert = m_ungespeichert;
        else m_ungespeichertBei = 0;
        // Number, text and rating change together, once all three are read.
        Bild3.setCaption(std::to_string(gAktAussage));
        SSPanel1.setFloodPercent(vb::Variant((gAktAussage - 1) / 1.08).toInt());
        Text2.setText(text);
        Text1.setText(wert);
        m_gezeigt = gAktAussage;
        m_gezeigtFuer = gAktPersonID;
        gelesen = true;
    });
    // A statement whose rating could not be read is not shown: the window stays on the one it
    // shows, and a rating confirmed now belongs to that one.
    if (!gelesen && m_gezeigt != 0) gAktAussage = m_gezeigt;
    fokusBewertung();
}

void frmTest::BefehlZiffer_Click(int ziffer) {
    Text1.setText(std::to_string(ziffer));
    fokusBewertung();
}

void frmTest::SSCommand1_Click() {
    gAktAussage = static_cast<int16_t>(gAktAussage - 1);
    if (gAktAussage < 1) {
        meldung(30);
        gAktAussage = 1;
    }
    aufAussage();
}

void frmTest::SSCommand2_Click() {
    gAktAussage = static_cast<int16_t>(gAktAussage + 1);
    if (gAktAussage > 109) {
        meldung(29);
        gAktAussage = 109;
    }
    aufAussage();
}

int16_t frmTest::ersteLuecke() {
    auto& zeilen = DatenSatz(Daten3);
    if (zeilen.RecordCount() == 0) return 0;
    zeilen.MoveFirst();
    zeilen.FindFirst("typrealwert is Null");
    if (zeilen.NoMatch()) return 0;
    return zeilen.Fields("itemnummer").Value().toInt();
}

void frmTest::testBeenden() {
    TestSchritteMarkieren();
    forms::Unload(*this);
}

void frmTest::Befehl6_Click() {
    mitFehlerfalle([this] {
        if (Text1.Text().empty()) {
            meldung(25);
            fokusBewertung();
            return;
        }
        // Text pasted into the box passes no key check: only 0 to 4 is a rating.
        const std::string eingabe = Text1.Text();
        if (eingabe.size() != 1 || eingabe[0] < '0' || eingabe[0] > '4') {
            Text1.setText("");
            meldung(28);
            fokusBewertung();
            return;
        }
        // The rating belongs to the statement shown: never write it into another statement's row,
        // and never into rows another window has deleted meanwhile.
        neuLesen();
        auto& antworten = DatenSatz(Daten2);
        if (antworten.RecordCount() == 0) throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(119));
        antworten.FindFirst("itemnummer like " + std::to_string(gAktAussage));
        if (antworten.NoMatch())
            throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(120) + std::to_string(gAktAussage) + DialogTxt(121));
        // The answer row and the statement's item-type rows change together or not at all.
        m_ungespeichertBei = gAktAussage;
        m_ungespeichert = eingabe;
        try {
            zuvtest::bewertungSpeichern(*Daten2.Database(), antworten, DatenSatz(Daten3), gAktAussage,
                                        vb::Variant(static_cast<int16_t>(eingabe[0] - '0')));
        } catch (const vb::Error& e) {
            // Deleted by another program since the rows were read.
            if (e.number() != vb::err::RowDeleted) throw;
            m_ungespeichertBei = 0;
            throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(119));
        }
        m_ungespeichertBei = 0;
        // The result windows of the person show the rating at once.
        BewertungenGespeichert(gAktPersonID);

        if (gAktAussage < 109) {
            gAktAussage = static_cast<int16_t>(gAktAussage + 1);
            aufAussage();
            return;
        }
        const int16_t luecke = ersteLuecke();
        if (luecke == 0) {
            meldung(27);
            testBeenden();
            return;
        }
        meldung(26);
        zurAussage(luecke);
    });
}

void frmTest::zurAussage(int16_t aussage) {
    Text1.setText("");
    gAktAussage = aussage;
    aufAussage();
}

void frmTest::Befehl9_Click() {
    mitFehlerfalle([this] {
        const int16_t luecke = ersteLuecke();
        if (luecke == 0) {
            testBeenden();
            return;
        }
        meldung(26);
        zurAussage(luecke);
    });
}

void frmTest::Befehl10_Click() {
    mitFehlerfalle([this] {
        const int16_t luecke = ersteLuecke();
        if (luecke == 0) {
            testBeenden();
            return;
        }
        gAntwort = forms::MsgBox(
            "Es wurden nicht alle 109 Z.U.V. Test-Aussagen korrekt beantwortet! Eine sinnvolle Testauswertung ist "
            "aufgrund der noch fehlenden Daten nicht möglich! Wiederholen Sie die noch unbeantworteten Z.U.V. "
            "Test-Aussagen und bestätigen Sie Ihre Bewertungen nach jeder Antwort! Möchten Sie dies jetzt tun?",
            forms::vbYesNo + forms::vbQuestion, "Z.U.V. Hinweismeldung");
        if (gAntwort == forms::vbYes) {
            zurAussage(luecke);
        } else {
            testBeenden();
        }
    });
}

void frmTest::Text1_KeyPress(int& k) {
    if (k == forms::vbKeyReturn) {
        k = 0;
        Befehl6_Click();
    } else if (k == forms::vbKeyEscape) {
        // Esc closes the window (Form_KeyUp); it is no wrong rating.
    } else if (k >= '0' && k <= '4') {
        Text1.setText(std::string(1, static_cast<char>(k)));
        k = 0;
        fokusBewertung();
    } else {
        k = 0;
        Text1.setText("");
        meldung(28);
        fokusBewertung();
    }
}

void frmTest::Form_KeyUp(int& keyCode, int) {
    switch (keyCode) {
    case forms::vbKeyEscape: forms::Unload(*this); break;
    case forms::vbKeyPageUp: SSCommand1_Click(); break;
    case forms::vbKeyPageDown: SSCommand2_Click(); break;
    case forms::vbKeyEnd: Befehl9_Click(); break;
    default: break;
    }
}

void frmTest::Form_Unload(int&) {
    if (gAssistentanzeige != 0) AssistentNachVorn();
}
