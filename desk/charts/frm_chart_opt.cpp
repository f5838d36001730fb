#include "desk/charts/frm_chart_opt.h"

#include "desk/common/engine_setup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cmath>

#include "desk/charts/chart_farben.h"
#include "desk/charts/chart_fenster.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "platform/db/recordset.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/forms/mdi_form.h"
#include "platform/vb/color.h"
#include "platform/vb/strings.h"

namespace {

// The columns of the stored row, in the order the save writes them.
constexpr const char* kTypSpalten[9] = {"Balken 2D", "Balken 3D", "Linie 2D",   "Linie 3D",  "Kreis 2D",
                                        "Fläche 2D", "Fläche 3D", "Schritt 2D", "Schritt 3D"};
constexpr const char* kSkalaSpalten[3] = {"SkalierungLog", "SkalierungProzent", "SkalierungLinear"};
constexpr const char* kWerteSpalten[10] = {"AlleAntwortwerte",  "AntwortwerteGruppiert",
                                           "Antwortwerte3und4", "Antwortwerte2",
                                           "Antwortwerte0und1", "Antwortwerte4",
                                           "Antwortwerte3",     "Antwortwerte1",
                                           "Antwortwerte0",     "AntwortwerteGruppiert0bis4"};
constexpr const char* kAnzeigeSpalten[5] = {"ShowLegend", "ShowTypeLabel", "ShowÜberschrift", "Achsenbeschriftung",
                                            "ShowFussnote"};
// Colour columns: axis lines, chart backdrop, plot backdrop, series 1..9 (the order of farbvariablen).
std::array<std::array<std::string, 3>, 12> farbSpalten() {
    std::array<std::array<std::string, 3>, 12> s{};
    s[0] = {"Achsenlinienfarberot", "Achsenlinienfarbegrün", "Achsenlinienfarbeblau"};
    s[1] = {"HintergrundfarbeRot", "HintergrundfarbeGrün", "HintergrundfarbeBlau"};
    s[2] = {"DiagrammHintergrundfarbeRot", "DiagrammHintergrundfarbeGrün", "DiagrammHintergrundfarbeBlau"};
    for (int n = 1; n <= 9; ++n) {
        const std::string r = "Reihe" + std::to_string(n);
        s[2 + n] = {r + "Rot", r + "Grün", r + "Blau"};
    }
    return s;
}

// A Yes/No value: True only for a non-zero number (Null, Empty and text count as False).
bool wahr(const vb::Variant& v) {
    if (v.isNull() || v.isEmpty()) return false;
    try {
        return v.toBool();
    } catch (const vb::Error&) {
        return false;
    }
}

// The stored text of a list-only combo: an entry of its list as it stands, else the entry nearest
// to the stored number, else the installation's value.
void listenText(forms::ComboBox& box, const vb::Variant& v, const std::string& vorgabe) {
    const std::string text = vb::textOrEmpty(v);
    for (int i = 0; i < box.ListCount(); ++i)
        if (box.List(i) == text) {
            box.setListIndex(i);
            return;
        }
    bool ok = false;
    const double zahl = QString::fromStdString(text).trimmed().replace(',', '.').toDouble(&ok);
    if (!ok || !std::isfinite(zahl)) {
        box.setText(vorgabe);
        return;
    }
    auto eintrag = [&](int i) { return QString::fromStdString(box.List(i)).toDouble(); };
    int best = 0;
    for (int i = 1; i < box.ListCount(); ++i)
        if (std::abs(eintrag(i) - zahl) < std::abs(eintrag(best) - zahl)) best = i;
    box.setListIndex(best);
}

// Sees the keys of a combo's edit field before the field does.
class TastenFilter : public QObject {
public:
    explicit TastenFilter(std::function<void(int&, int)> down) : m_down(std::move(down)) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
            return forms::handleKeyEvent(o, e, forms::KeyHooks{m_down, {}, {}}, 2);
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void(int&, int)> m_down;
};

QIcon farbfeld(int32_t farbe) {
    QPixmap pm(16, 16);
    pm.fill(QColor(vb::Red(farbe), vb::Green(farbe), vb::Blue(farbe)));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pm);
}

}  // namespace

struct frmChartOpt::Stand {
    std::array<vb::Variant, 12> rot, gruen;
    std::array<int16_t, 12> blau{};
    std::string fontname;
    int16_t fontsize = 0;
    bool fett = false, kursiv = false;

    static Stand jetzt() {
        Stand s;
        for (int n = 0; n < 12; ++n) {
            const Farbvariablen f = farbvariablen(n);
            s.rot[n] = *f.rot;
            s.gruen[n] = *f.gruen;
            s.blau[n] = *f.blau;
        }
        s.fontname = gDiagrammFontname;
        s.fontsize = gDiagrammFontsize;
        s.fett = gDiagrammFontBold;
        s.kursiv = gDiagrammFontItalic;
        return s;
    }
    void zurueck() const {
        for (int n = 0; n < 12; ++n) {
            const Farbvariablen f = farbvariablen(n);
            *f.rot = rot[n];
            *f.gruen = gruen[n];
            *f.blau = blau[n];
        }
        gDiagrammFontname = fontname;
        gDiagrammFontsize = fontsize;
        gDiagrammFontBold = fett;
        gDiagrammFontItalic = kursiv;
    }
};

const char* frmChartOpt::standardFussnote() {
    return "Z.U.V. – Persönlichkeitsinventar auf der Grundlage des Enneagramms";
}

frmChartOpt::frmChartOpt() : forms::Form("frmChartOpt") {
    layoutControls();
    setKeyPreview(true);

    SSTab1.Click = [this](int previous) { SSTab1_Click(previous); };
    for (auto& o : Option1) o.Click = [this] { Optionsregeln(); };
    for (auto& o : Option3) o.Click = [this] { Optionsregeln(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command7.Click = [this] { Command7_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    for (int i = 0; i < 9; ++i) Command4[i].Click = [this, i] { Command4_Click(i); };

    // Rotation and elevation take digits only: keys are checked as they come, and a pasted text
    // must be digits too.
    m_tasten1 = std::make_unique<TastenFilter>([this](int& k, int s) { Combo1_KeyDown(k, s); });
    m_tasten2 = std::make_unique<TastenFilter>([this](int& k, int s) { Combo2_KeyDown(k, s); });
    Combo1.lineEdit()->installEventFilter(m_tasten1.get());
    Combo2.lineEdit()->installEventFilter(m_tasten2.get());
    Combo1.setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,3}"), &Combo1));
    Combo2.setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,2}"), &Combo2));
}

frmChartOpt::~frmChartOpt() {
    if (Combo1.lineEdit()) Combo1.lineEdit()->removeEventFilter(m_tasten1.get());
    if (Combo2.lineEdit()) Combo2.lineEdit()->removeEventFilter(m_tasten2.get());
}

void frmChartOpt::layoutControls() {
    auto* haupt = new QVBoxLayout(this);
    SSTab1.setParent(this);
    haupt->addWidget(&SSTab1, 1);
    auto seite = [this](int i) { return SSTab1.page(i); };
    auto rahmen = [](forms::Frame& f, QWidget* in, QBoxLayout* l) {
        f.setParent(in);
        l->addWidget(&f);
    };

    // 0: which answer values.
    {
        auto* l = new QVBoxLayout(seite(0));
        rahmen(Frame4, seite(0), l);
        auto* g = new QVBoxLayout(&Frame4);
        for (auto& o : Option3) {
            o.setParent(&Frame4);
            g->addWidget(&o);
        }
        l->addStretch(1);
    }
    // 1: chart type.
    {
        auto* l = new QVBoxLayout(seite(1));
        rahmen(Frame1, seite(1), l);
        auto* g = new QGridLayout(&Frame1);
        for (int i = 0; i < 9; ++i) {
            Option1[i].setParent(&Frame1);
            g->addWidget(&Option1[i], i % 5, i / 5);
        }
        l->addStretch(1);
    }
    // 2: labels, title, footnote, font.
    {
        auto* l = new QVBoxLayout(seite(2));
        rahmen(Frame5, seite(2), l);
        auto* g = new QGridLayout(&Frame5);
        for (int i = 0; i < 5; ++i) {
            Check1[i].setParent(&Frame5);
            g->addWidget(&Check1[i], i, 0);
        }
        Text1.setParent(&Frame5);
        Text2.setParent(&Frame5);
        Text1.setMaxLength(255);
        Text2.setMaxLength(255);
        g->addWidget(&Text1, 2, 1);
        g->addWidget(&Text2, 4, 1);
        g->setColumnStretch(1, 1);
        rahmen(Frame6, seite(2), l);
        auto* f6 = new QHBoxLayout(&Frame6);
        Label1.setParent(&Frame6);
        Command5.setParent(&Frame6);
        f6->addWidget(&Label1, 1);
        f6->addWidget(&Command5);
        l->addStretch(1);
    }
    // 3: colours.
    {
        auto* l = new QVBoxLayout(seite(3));
        rahmen(Frame2, seite(3), l);
        auto* g = new QGridLayout(&Frame2);
        Command3.setParent(&Frame2);
        Command6.setParent(&Frame2);
        g->addWidget(&Command3, 0, 0);
        g->addWidget(&Command6, 0, 1);
        Label2.setParent(&Frame2);
        g->addWidget(&Label2, 1, 0, 1, 3);
        for (int i = 0; i < 9; ++i) {
            Command4[i].setParent(&Frame2);
            g->addWidget(&Command4[i], 2 + i / 3, i % 3);
        }
        l->addStretch(1);
    }
    // 4: value axis scale.
    {
        auto* l = new QVBoxLayout(seite(4));
        rahmen(Frame3, seite(4), l);
        auto* g = new QVBoxLayout(&Frame3);
        for (auto& o : Option2) {
            o.setParent(&Frame3);
            g->addWidget(&o);
        }
        l->addStretch(1);
    }
    // 5: 3-D view, gap, stacking, markers and second axis, axis lines.
    {
        auto* l = new QGridLayout(seite(5));
        Frame9.setParent(seite(5));
        auto* f9 = new QGridLayout(&Frame9);
        forms::ComboBox* ansicht[4] = {&Combo1, &Combo2, &Combo3, &Combo4};
        for (int i = 0; i < 4; ++i) {
            Label3[i].setParent(&Frame9);
            ansicht[i]->setParent(&Frame9);
            f9->addWidget(&Label3[i], i, 0);
            f9->addWidget(ansicht[i], i, 1);
        }
        l->addWidget(&Frame9, 0, 0, 2, 1);
        Frame10.setParent(seite(5));
        auto* f10 = new QHBoxLayout(&Frame10);
        Label4.setParent(&Frame10);
        Combo5.setParent(&Frame10);
        f10->addWidget(&Label4);
        f10->addWidget(&Combo5);
        l->addWidget(&Frame10, 0, 1);
        Frame11.setParent(seite(5));
        auto* f11 = new QVBoxLayout(&Frame11);
        Check5.setParent(&Frame11);
        f11->addWidget(&Check5);
        l->addWidget(&Frame11, 1, 1);
        Frame8.setParent(seite(5));
        auto* f8 = new QVBoxLayout(&Frame8);
        for (forms::CheckBox* c : {&Check3, &Check4[0], &Check4[1]}) {
            c->setParent(&Frame8);
            f8->addWidget(c);
        }
        l->addWidget(&Frame8, 2, 0);
        Frame7.setParent(seite(5));
        auto* f7 = new QGridLayout(&Frame7);
        Label5.setParent(&Frame7);
        Combo6.setParent(&Frame7);
        f7->addWidget(&Label5, 0, 0);
        f7->addWidget(&Combo6, 0, 1);
        for (int i = 0; i < 2; ++i) {
            Check2[i].setParent(&Frame7);
            f7->addWidget(&Check2[i], 1 + i, 0, 1, 2);
        }
        Command7.setParent(&Frame7);
        f7->addWidget(&Command7, 3, 0, 1, 2);
        l->addWidget(&Frame7, 2, 1);
        l->setRowStretch(3, 1);
    }
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    for (forms::CommandButton* b : {&Command1, &Command2, &Command8}) {
        b->setParent(this);
        knoepfe->addWidget(b);
    }
    haupt->addLayout(knoepfe);
    Command1.setDefault(true);
    resize(720, 480);
}

void frmChartOpt::setupControls() {
    for (auto& o : Option1) o.setChecked(false), o.setEnabled(true);
    for (auto& o : Option2) o.setChecked(false);
    for (auto& o : Option3) o.setChecked(false), o.setEnabled(true);
    for (auto& c : Check1) c.setValue(0);
    for (auto& c : Check2) c.setValue(0);
    for (auto& c : Check4) c.setValue(0);
    Check3.setValue(0);
    Check5.setValue(0);
    Text1.setText("");
    Text2.setText("");
    for (forms::ComboBox* c : {&Combo1, &Combo2, &Combo3, &Combo4, &Combo5, &Combo6}) c->Clear();
    Data1.close();
    Data2.close();
    m_geladen = false;
    m_stand.reset();
}

void frmChartOpt::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(83));
        const int tabs[6] = {108, 84, 119, 93, 104, 135};
        for (int i = 0; i < 6; ++i) SSTab1.setTabCaption(i, LabelTxt(tabs[i]));
        for (int i = 0; i < 10; ++i) Option3[i].setCaption(LabelTxt(109 + i));
        const int typen[9] = {85, 86, 88, 89, 90, 91, 92, 136, 137};
        for (int i = 0; i < 9; ++i) Option1[i].setCaption(LabelTxt(typen[i]));
        for (int i = 0; i < 5; ++i) Check1[i].setCaption(LabelTxt(120 + i));
        Command5.setCaption(LabelTxt(125));
        Label1.setCaption(LabelTxt(127));
        Command3.setCaption(LabelTxt(129));
        Command6.setCaption(LabelTxt(94));
        for (int i = 0; i < 9; ++i) Command4[i].setCaption(LabelTxt(95 + i));
        Label2.setCaption(LabelTxt(128));
        for (int i = 0; i < 3; ++i) Option2[i].setCaption(LabelTxt(105 + i));
        Frame9.setCaption(LabelTxt(145));
        for (int i = 0; i < 4; ++i) Label3[i].setCaption(LabelTxt(141 + i));
        Frame10.setCaption(LabelTxt(146));
        Label4.setCaption(LabelTxt(147));
        Frame11.setCaption(LabelTxt(148));
        Check5.setCaption(LabelTxt(149));
        Check3.setCaption(LabelTxt(138));
        Check4[0].setCaption(LabelTxt(139));
        Check4[1].setCaption(LabelTxt(140));
        Frame7.setCaption(LabelTxt(130));
        Label5.setCaption(LabelTxt(150));
        Check2[0].setCaption(LabelTxt(132));
        Check2[1].setCaption(LabelTxt(133));
        Command7.setCaption(LabelTxt(151));
        Command1.setCaption(LabelTxt(87));
        Command2.setCaption(LabelTxt(69));
        Command8.setCaption(LabelTxt(68));

        for (int i = 0; i <= 360; i += 10) Combo1.AddItem(std::to_string(i));
        for (int i = 0; i <= 90; i += 10) Combo2.AddItem(std::to_string(i));
        for (int i = 0; i <= 100; i += 10) {
            Combo3.AddItem(std::to_string(i));
            Combo4.AddItem(std::to_string(i));
            Combo5.AddItem(std::to_string(i));
        }
        for (int i = 0; i <= 100; i += 5) Combo6.AddItem(std::to_string(i));
        SSTab1.setTab(0);
    });
    SetChartType();
    farbknoepfeZeigen();
}

void frmChartOpt::SetChartType() {
    m_geladen = false;
    mitFehlerfalle([this] {
        Data1.setDatabaseName(Einstellungsdatenbank());
        Data1.setRecordSource("chartkonfiguration");
        Data1.Refresh();
        auto rs = Data1.Recordset();
        if (!rs || rs->Eof()) throw vb::Error(vb::err::NoCurrentRecord);
        auto wert = [&](const std::string& spalte) { return rs->Fields(spalte).Value(); };
        auto haken = [&](forms::CheckBox& c, const char* spalte) {
            if (wahr(wert(spalte))) c.setValue(1);
        };

        for (int i = 0; i < 9; ++i) Option1[i].setValue(wahr(wert(kTypSpalten[i])));
        for (int i = 0; i < 10; ++i) Option3[i].setValue(wahr(wert(kWerteSpalten[i])));
        for (int i = 0; i < 3; ++i) haken(Check1[i], kAnzeigeSpalten[i]);

        // The title of the current person. A missing name part counts as empty and a missing
        // person or data file leaves the title empty: the load goes on either way, since the
        // chart builds its own title when it draws.
        try {
            Data2.setDatabaseName(gDatenbankName);
            Data2.setReadOnly(NurLesendGeoeffnet(gDatenbankName));
            Data2.setRecordSource("select * from persdat where personID = " + vb::Str(gAktPersonID));
            Data2.Refresh();
            auto p = Data2.Recordset();
            if (p && !p->Eof())
                Text1.setText(vb::textOrEmpty(p->Fields("Vorname").Value()) + " " +
                              vb::textOrEmpty(p->Fields("Nachname").Value()) + " / " +
                              vb::textOrEmpty(p->Fields("Testdatum").Value()));
        } catch (const vb::Error&) {
            Text1.setText("");
        }

        haken(Check1[3], kAnzeigeSpalten[3]);
        haken(Check1[4], kAnzeigeSpalten[4]);
        const std::string fussnote = vb::textOrEmpty(wert("DiagrammFussnote"));
        Text2.setText(fussnote.empty() ? standardFussnote() : fussnote);
        // A long text is shown from its beginning.
        for (forms::TextBox* t : {&Text1, &Text2})
            if (auto* feld = qobject_cast<QLineEdit*>(t->editor())) feld->setCursorPosition(0);

        gDiagrammFontname = vb::textOrEmpty(wert("DiagrammFontname"));
        try {
            gDiagrammFontsize = vb::CInt(wert("DiagrammFontsize"));
        } catch (const vb::Error&) {
            gDiagrammFontsize = 10;  // no number stored: the installation's size
        }
        gDiagrammFontBold = wahr(wert("DiagrammFontbold"));
        gDiagrammFontItalic = wahr(wert("DiagrammFontItalic"));

        for (int i = 0; i < 3; ++i) Option2[i].setValue(wahr(wert(kSkalaSpalten[i])));
        haken(Check2[0], "AchsenrasterY");
        haken(Check2[1], "AchsenrasterX");
        haken(Check3, "ShowMarkierungen");
        haken(Check4[0], "ZweiteYAchseLinie");
        haken(Check4[1], "ZweiteYAchseSkala");

        Combo1.setText(vb::textOrEmpty(wert("3DRotation")));
        Combo2.setText(vb::textOrEmpty(wert("3DElevation")));
        listenText(Combo3, wert("3DBeleuchtung"), "70");
        listenText(Combo4, wert("3DKantenBeleuchtung"), "50");
        listenText(Combo5, wert("Balkenabstand"), "10");
        haken(Check5, "Datenreihenuebereinander");
        listenText(Combo6, wert("Achsenlinienbreite"), "5");

        // Colours: red and green as the column holds them, blue as a 16-bit integer; a Null or
        // out-of-range part is taken as the nearest byte value.
        const auto spalten = farbSpalten();
        for (int n = 0; n < 12; ++n) {
            const Farbvariablen f = farbvariablen(n);
            const vb::Variant r = wert(spalten[n][0]), g = wert(spalten[n][1]);
            *f.rot = r.isNumeric() && farbteil(r) == r.toDouble() ? r : vb::Variant(farbteil(r));
            *f.gruen = g.isNumeric() && farbteil(g) == g.toDouble() ? g : vb::Variant(farbteil(g));
            *f.blau = farbteil(wert(spalten[n][2]));
        }
        m_geladen = true;
    });
    m_stand = std::make_unique<Stand>(Stand::jetzt());
}

void frmChartOpt::SaveChartType() {
    m_gespeichert = false;
    mitFehlerfalle([this] {
        auto rs = Data1.Recordset();
        if (!rs || rs->Eof()) throw vb::Error(vb::err::NoCurrentRecord);
        if (!m_geladen) throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(125));
        auto setze = [&](const std::string& spalte, const vb::Variant& v) { rs->Fields(spalte) = v; };
        auto kasten = [](const forms::CheckBox& c) { return vb::Variant(static_cast<int16_t>(c.Value())); };
        rs->Edit();
        try {
            for (int i = 0; i < 9; ++i) setze(kTypSpalten[i], Option1[i].Value());
            for (int i = 0; i < 3; ++i) setze(kSkalaSpalten[i], Option2[i].Value());
            for (int i = 0; i < 10; ++i) setze(kWerteSpalten[i], Option3[i].Value());
            for (int i = 0; i < 5; ++i) setze(kAnzeigeSpalten[i], kasten(Check1[i]));
            // The title names the current person; the settings are shared by everyone who uses the
            // program, so no name is kept in them.
            setze("DiagrammÜberschrift", vb::Variant(std::string()));
            setze("DiagrammFussnote", vb::Variant(Text2.Text()));
            if (gDiagrammFontname.empty()) gDiagrammFontname = "Arial";
            setze("DiagrammFontname", vb::Variant(gDiagrammFontname));
            setze("DiagrammFontsize", vb::Variant(gDiagrammFontsize));
            setze("DiagrammFontBold", vb::Variant(gDiagrammFontBold));
            setze("DiagrammFontItalic", vb::Variant(gDiagrammFontItalic));
            setze("AchsenrasterY", kasten(Check2[0]));
            setze("AchsenrasterX", kasten(Check2[1]));
            setze("ShowMarkierungen", kasten(Check3));
            setze("ZweiteYAchseLinie", kasten(Check4[0]));
            setze("ZweiteYAchseSkala", kasten(Check4[1]));
            setze("3DRotation", vb::Variant(Combo1.Text()));
            setze("3DElevation", vb::Variant(Combo2.Text()));
            setze("3DBeleuchtung", vb::Variant(Combo3.Text()));
            setze("3DKantenBeleuchtung", vb::Variant(Combo4.Text()));
            setze("Balkenabstand", vb::Variant(Combo5.Text()));
            setze("Datenreihenuebereinander", kasten(Check5));
            setze("Achsenlinienbreite", vb::Variant(Combo6.Text()));
            const auto spalten = farbSpalten();
            for (int n = 0; n < 12; ++n) {
                const Farbvariablen f = farbvariablen(n);
                setze(spalten[n][0], *f.rot);
                setze(spalten[n][1], *f.gruen);
                setze(spalten[n][2], vb::Variant(*f.blau));
            }
            rs->Update();
        } catch (...) {
            rs->CancelUpdate();
            throw;
        }
        m_stand = std::make_unique<Stand>(Stand::jetzt());
        m_gespeichert = true;
    });
}

void frmChartOpt::Form_Activate() {
    if (gDateivergleich == 1) {
        Option3[1].setEnabled(false);
        Option3[9].setEnabled(false);
        Option1[4].setEnabled(false);
    }
}

void frmChartOpt::Optionsregeln() {
    if (gDateivergleich != 0) return;
    Option1[4].setEnabled(!(Option3[1].Value() || Option3[9].Value()));
    const bool kreis = Option1[4].Value();
    Option3[1].setEnabled(!kreis);
    Option3[9].setEnabled(!kreis);
}

void frmChartOpt::SSTab1_Click(int) { Optionsregeln(); }

void frmChartOpt::zahlenTaste(forms::ComboBox& box, int maxStellen, int dialogText, int& keyCode, int shift) {
    // Moving about and deleting are always allowed, as are the keys of the dialog itself.
    switch (keyCode) {
    case forms::vbKeyBack:
    case forms::vbKeyDelete:
    case forms::vbKeyLeft:
    case forms::vbKeyRight:
    case forms::vbKeyHome:
    case forms::vbKeyEnd:
    case forms::vbKeyTab:
    case forms::vbKeyReturn:
    case forms::vbKeyEscape:
    case forms::vbKeyUp:
    case forms::vbKeyDown:
    case 16:
    case 17:
    case 18:  // Shift, Ctrl, Alt alone
        return;
    default: break;
    }
    if (shift & 2) return;  // copy, paste and the like; a pasted text is checked by the field
    const bool ziffer = (keyCode >= 48 && keyCode <= 57 && !(shift & 1)) || (keyCode >= 96 && keyCode <= 105);
    QLineEdit* feld = box.lineEdit();
    const int laenge = feld ? feld->text().size() - feld->selectedText().size() : 0;
    if (ziffer && laenge < maxStellen) return;
    keyCode = 0;
    forms::MsgBox(DialogTxt(dialogText), forms::vbOKOnly | forms::vbExclamation, DialogTxt(3));
}

void frmChartOpt::Combo1_KeyDown(int& keyCode, int shift) { zahlenTaste(Combo1, 3, 31, keyCode, shift); }
void frmChartOpt::Combo2_KeyDown(int& keyCode, int shift) { zahlenTaste(Combo2, 2, 32, keyCode, shift); }

void frmChartOpt::farbWaehlen(int ziel) {
    mitFehlerfalle([&] {
        const Farbvariablen f = farbvariablen(ziel);
        setzeFarbe(f, farbeAusDialog(dlgChartColor, farbwert(f)));
        farbknoepfeZeigen();
    });
}

void frmChartOpt::farbknoepfeZeigen() {
    Command3.setIcon(farbfeld(farbwert(farbvariablen(kHintergrundfarbe))));
    Command6.setIcon(farbfeld(farbwert(farbvariablen(kDiagrammHintergrundfarbe))));
    Command7.setIcon(farbfeld(farbwert(farbvariablen(kAchsenfarbe))));
    for (int i = 0; i < 9; ++i) Command4[i].setIcon(farbfeld(ReihenFarbe(i + 1)));
}

void frmChartOpt::Command3_Click() { farbWaehlen(kHintergrundfarbe); }
void frmChartOpt::Command6_Click() { farbWaehlen(kDiagrammHintergrundfarbe); }
void frmChartOpt::Command7_Click() { farbWaehlen(kAchsenfarbe); }
void frmChartOpt::Command4_Click(int index) { farbWaehlen(3 + index); }

void frmChartOpt::Command5_Click() {
    mitFehlerfalle([this] {
        dlgChartColor.setCancelError(true);
        dlgChartColor.setFlags(forms::cdlCFBoth);
        dlgChartColor.setFontName(gDiagrammFontname);
        dlgChartColor.setFontSize(gDiagrammFontsize);
        dlgChartColor.setFontBold(gDiagrammFontBold);
        dlgChartColor.setFontItalic(gDiagrammFontItalic);
        dlgChartColor.ShowFont();  // a cancel raises 32755, which the trap passes over: the font stays
        if (!dlgChartColor.FontName().empty()) gDiagrammFontname = dlgChartColor.FontName();
        gDiagrammFontsize = vb::CInt(vb::Variant(dlgChartColor.FontSize()));
        gDiagrammFontBold = dlgChartColor.FontBold();
        gDiagrammFontItalic = dlgChartColor.FontItalic();
    });
}

void frmChartOpt::Command1_Click() {
    mitFehlerfalle([this] {
        SaveChartType();
        // A row that could not be stored keeps the dialog open with what the person chose.
        if (!m_gespeichert) return;
        if (gFensterAnzahl > 0)
            if (forms::MdiForm* haupt = forms::MdiForm::main())
                if (forms::Form* aktiv = haupt->ActiveForm(); aktiv && aktiv->Name() == "frmChart")
                    ChartNeuZeichnen(*aktiv);
        forms::Unload(*this);
    });
}

void frmChartOpt::Command2_Click() { forms::Unload(*this); }

void frmChartOpt::Command8_Click() {
    mitFehlerfalle([] { ShowHelp("html/zuvw4zms.htm"); });
}

void frmChartOpt::Form_KeyDown(int& keyCode, int) {
    if (keyCode == forms::vbKeyEscape) {
        keyCode = 0;
        Command2_Click();
    }
}

void frmChartOpt::Form_Unload(int&) {
    // Left without storing (Cancel, Escape, the close box): colours and fonts chosen in this visit
    // go back to what was read, as the controls do at the next load.
    if (m_stand) m_stand->zurueck();
    m_stand.reset();
    mitFehlerfalle([] { AssistentNachVorn(); });
}
