#include "codex/form2.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QVBoxLayout>

#include <algorithm>

#include "codex/frm_mdi.h"
#include "codex/modul_global.h"
#include "desk/common/globals.h"
#include "platform/db/recordset.h"
#include "platform/files/paths.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace codex {

namespace {
constexpr int kVirtuelleBreite = 1000;  // pixels: the window's content is laid out for this size
constexpr int kVirtuelleHoehe = 600;

int tw() { return forms::Screen::TwipsPerPixelX(); }
int th() { return forms::Screen::TwipsPerPixelY(); }
}  // namespace

Form2::Form2() : forms::Form("Form2") {
    setMdiChild(true);
    Picture1.setParent(this);
    Picture1.setObjectName("Picture1");
    Picture2.setParent(&Picture1);
    Picture2.setObjectName("Picture2");

    auto* streifen = new QHBoxLayout(&Picture2);
    streifen->setContentsMargins(4, 4, 4, 4);
    Frame2.setParent(&Picture2);
    auto* typen = new QHBoxLayout(&Frame2);
    typen->setSpacing(3);
    for (int k = 0; k < 9; ++k) {
        Command6[k].setParent(&Frame2);
        Command6[k].setObjectName(QString("Command6_%1").arg(k));
        typen->addWidget(&Command6[k]);
        Command6[k].Click = [this, k] { Command6_Click(k); };
    }
    streifen->addWidget(&Frame2);
    Frame4.setParent(&Picture2);
    auto* thema = new QGridLayout(&Frame4);
    for (forms::Label* l : {&Label2, &Label3, &Label4, &Label5}) l->setParent(&Frame4);
    thema->addWidget(&Label2, 0, 0);
    thema->addWidget(&Label3, 0, 1);
    thema->addWidget(&Label4, 1, 0);
    thema->addWidget(&Label5, 1, 1);
    thema->setColumnStretch(1, 1);
    QFont fett = Label3.font();
    fett.setBold(true);
    Label3.setFont(fett);
    Label5.setFont(fett);
    Label5.setMinimumWidth(180);
    streifen->addWidget(&Frame4, 1);

    Frame3.setParent(&Picture1);
    auto* themen = new QVBoxLayout(&Frame3);
    Combo1.setParent(&Frame3);
    Command2.setParent(&Frame3);
    Command2.setCaption("&Anzeigen");
    themen->addWidget(&Combo1);
    themen->addWidget(&Command2);
    Combo1.setMaxVisibleItems(20);
    Frame3.setFixedWidth(230);

    RichTextBox1.setParent(&Picture1);
    RichTextBox1.setLocked(true);  // selectable and copyable, never edited

    Data1.setParent(this);
    Data1.setVisible(false);

    Combo1.Click = [this] { Combo1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Data1.Reposition = [this] { Data1_Reposition(); };
    Label2.Change = [this] { Label2_Change(); };
    RichTextBox1.SelChange = [this] { RichTextBox1_SelChange(); };
    RichTextBox1.KeyPress = [this](int& k) { RichTextBox1_KeyPress(k); };
    resize(1000, 640);
}

Form2::~Form2() = default;

QSize Form2::sizeHint() const {
    // Within the main window's area, with room for the offsets of a few cascaded windows.
    QSize s(kVirtuelleBreite, kVirtuelleHoehe + 40);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* bereich = qobject_cast<QMdiArea*>(w)) {
            const QSize frei = bereich->viewport()->size();
            s = s.boundedTo(QSize(std::max(400, frei.width() - 60), std::max(300, frei.height() - 80)));
            break;
        }
    return s;
}

void Form2::setupControls() {
    Aktiviert = false;
    Combo1.Clear();
    RichTextBox1.setText("");
}

void Form2::Form_Load() {
    mitFehlerfalle([this] {
        Label4.setCaption(LabelTxt(17));
        Frame2.setCaption(LabelTxt(18));
        Frame3.setCaption(LabelTxt(19));
        Frame4.setCaption(LabelTxt(20));
        Scroller.setSmallChange(10);
        Scroller.setLargeChange(30);
        Scroller.setVirtualHeight(kVirtuelleHoehe);
        Scroller.setVirtualWidth(kVirtuelleBreite);
        gScrollForm = this;
        Aktiviert = false;
        for (int k = 0; k < 9; ++k) {
            Command6[k].setFontName("MS Serif");
            Command6[k].setFontSize(8);
            Command6[k].setCaption(gTypbezeichnung[k + 1]);
        }
        Picture2.adjustSize();
        Frame3.adjustSize();
        if (!files::FileExists(Inhaltsdatenbank()))
            throw vb::Error(vb::err::FileNotFoundDb,
                            DialogTxt(39) + kInhaltDB + DialogTxt(43) + files::programFolder() + DialogTxt(44));
        Data1.setDatabaseName(Inhaltsdatenbank());
        Data1.setRecordSource("typ");
        Data1.setReadOnly(true);
        Data1.Refresh();
        Data2.setDatabaseName(Inhaltsdatenbank());
        Data2.setRecordSource("thementitel");
        Data2.setReadOnly(true);
        Data2.Refresh();
        Combo1.Clear();
        auto themen = Data2.Recordset();
        if (themen->RecordCount() > 0) themen->MoveFirst();
        while (!themen->Eof()) {
            Combo1.AddItem(Feldtext(*themen, "Titel"));
            themen->MoveNext();
        }
        if (Combo1.ListCount() == 0) throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(39) + kInhaltDB + DialogTxt(45));
        Combo1.setListIndex(0);  // shows the first topic (Combo1_Click)
        Label2.setDataField("typnummer");
        Label2.setDataSource(&Data1);
        Label5.setCaption(Combo1.Text());
        setCaption(gTypbezeichnung[1]);
        gAktTyp = 1;
        Picture1.resize(10000 / tw(), 10000 / th());
    });
}

void Form2::Form_Activate() {
    mitFehlerfalle([this] {
        typabschnittwahl();
        if (!Aktiviert) {
            Picture1.resize(Width() / tw(), Picture1.height());
            if (0.4 * Picture2.height() * th() <= Height())
                Picture1.resize(Picture1.width(), static_cast<int>((Height() - 0.4 * Picture2.height() * th()) / th()));
        }
        Aktiviert = true;
        Form_Resize();
    });
}

void Form2::Form_Resize() {
    SendMessage(forms::WM_SETREDRAW, 0);
    const int p2h = Picture2.height();
    Picture1.move(0, p2h);
    Frame3.move(0, p2h);
    RichTextBox1.move(Frame3.width(), p2h);
    const bool minimiert = WindowState() == forms::vbMinimized;
    if (Aktiviert) {
        // The area follows the window, and never gets smaller than the content is laid out for:
        // below that the scroll bars reach the rest.
        Picture1.resize(std::max({Width() / tw(), kVirtuelleBreite, Picture2.width()}),
                        std::max(static_cast<int>((Height() - 0.4 * p2h * th()) / th()), kVirtuelleHoehe));
    }
    if (!minimiert && Width() > Frame3.width() * tw() && Width() > 7000)
        RichTextBox1.resize(static_cast<int>((Width() - 1.1 * Frame3.width() * tw()) / tw()), RichTextBox1.height());
    if (!minimiert && Picture1.height() * th() > 1500)
        RichTextBox1.resize(RichTextBox1.width(), Picture1.height() - 1500 / th());
    gScrollForm = this;
    UpdateScrollBars();
    SendMessage(forms::WM_SETREDRAW, 1);
    RedrawWindow();
}

void Form2::UpdateScrollBars() {
    Scroller.setVirtualHeight(kVirtuelleHoehe);
    Scroller.setVirtualWidth(kVirtuelleBreite);
    Scroller.UpdateScrollBars();
}

void Form2::Form_Message(int msg, std::intptr_t wParam, std::intptr_t) {
    if (msg == forms::WM_SIZE) {
        if (WindowState() == forms::vbNormal) UpdateScrollBars();
        return;
    }
    RollNachricht(*this, Scroller, msg, wParam);
}

void Form2::Form_Unload(int&) {
    SetStatusText("", false);
    ChildWindowClosed();
}

void Form2::typabschnittwahl() {
    m_gezeigt = true;
    mitFehlerfalle([this] { zeigen(); });
}

void Form2::zeigen() {
    auto typen = Data1.Recordset();
    if (!typen) return;  // the content database could not be opened; the load said so
    const int16_t typ = vb::CInt(typen->Fields("typnummer").Value());
    gAktTyp = typ;
    // The title is compared here, never written into the query: titles may hold quotes.
    Data3.setDatabaseName(Inhaltsdatenbank());
    Data3.setRecordSource("select * from themenalleinfos where enneatypid = " + vb::Str(typ));
    Data3.setReadOnly(true);
    Data3.Refresh();
    auto rs = Data3.Recordset();
    const std::string titel = Combo1.Text();
    bool gefunden = false;
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        for (; !rs->Eof(); rs->MoveNext())
            if (Feldtext(*rs, "thementitel.titel") == titel) {
                gefunden = true;
                break;
            }
    }
    if (!gefunden) {
        const std::string wer = typ >= 1 && typ <= 9 ? gTypbezeichnung[typ] : "Typ" + vb::Str(typ);
        throw vb::Error(vb::err::NoCurrentRecord, DialogTxt(46) + titel + DialogTxt(47) + wer + DialogTxt(48));
    }
    const std::string thema = Feldtext(*rs, "thementitel.titel");
    const std::string inhalt = Feldtext(*rs, "Inhalt");
    RichTextBox1.setText("");
    RichTextBox1.setSelFontName(gExtraschriftart);
    RichTextBox1.setSelBold(gExtraschriftFett);
    RichTextBox1.setSelItalic(gExtraschriftKursiv);
    RichTextBox1.setSelFontSize(gExtraschriftGroesse);
    RichTextBox1.setSelColor(Farbwert(gExtraschriftfarbe));
    RichTextBox1.setSelText(thema);
    RichTextBox1.setSelFontName(gStandardschriftart);
    RichTextBox1.setSelColor(Farbwert(gStandardschriftfarbe));
    RichTextBox1.setSelBold(gStandardschriftFett);
    RichTextBox1.setSelItalic(gStandardschriftKursiv);
    RichTextBox1.setSelFontSize(gStandardschriftGroesse);
    // A topic without text says so instead of showing an empty page.
    RichTextBox1.setSelText(gCrLf + gCrLf + (vb::Trim(inhalt).empty() ? DialogTxt(49) : inhalt));
    gThemaTitel = thema;
    gThemaInhalt = inhalt;
    gLiteraturzeile = Literaturzeile(*rs);
    RichTextBox1.setSelFontSize(8);
    RichTextBox1.setSelText(gCrLf + gCrLf + gCrLf + LabelTxt(14) + ": " + gLiteraturzeile);
    RichTextBox1.setSelStart(0);
    Label5.setCaption(Combo1.Text());
}

void Form2::Command2_Click() {
    mitFehlerfalle([this] {
        if (Combo1.ListIndex() >= 0) {
            typabschnittwahl();
        } else {
            gAntwort = forms::MsgBox(DialogTxt(8), forms::vbExclamation, DialogTxt(3));
        }
    });
}

void Form2::Command6_Click(int index) {
    mitFehlerfalle([this, index] {
        auto typen = Data1.Recordset();
        if (!typen) throw vb::Error(vb::err::ObjectNotSet, DialogTxt(39) + kInhaltDB + DialogTxt(50));
        m_gezeigt = false;
        typen->FindFirst("typnummer = " + vb::Str(index + 1));
        // Moving to another type has shown its topic already, or said why it could not: showing it
        // a second time would only run the query again and repeat a message.
        if (m_gezeigt) return;
        Command2_Click();
    });
}

void Form2::Data1_Reposition() {
    if (Aktiviert) typabschnittwahl();
}

void Form2::Label2_Change() {
    for (int i = 1; i <= 9; ++i)
        if (vb::Val(Label2.Caption()) == i) {
            Label3.setCaption(gTypbezeichnung[i]);
            setCaption(gTypbezeichnung[i]);
        }
}

void Form2::RichTextBox1_SelChange() {
    if (!forms::IsLoaded<frmMDI>()) return;
    forms::Instance<frmMDI>().mnuKopieren.setEnabled(!RichTextBox1.SelText().empty());
}

void Form2::RichTextBox1_KeyPress(int& keyAscii) {
    keyAscii = 0;
    if (Command2.isVisible() && Command2.isEnabled()) Command2.SetFocus();
}

}  // namespace codex
