#include "desk/frame/frm_assist.h"

#include "desk/charts/chart_fenster.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "desk/frame/frm_mdi.h"
#include "desk/common/globals.h"
#include "desk/common/main_window_port.h"
#include "desk/testing/frm_einfuehrung.h"
#include "desk/testing/testverwaltung.h"
#include "platform/forms/host.h"
#include "platform/forms/mdi_form.h"
#include "platform/forms/screen.h"
#include "platform/vb/strings.h"

namespace {
// Step rows: (Label2 index, Label1 index, task button), in the order of the steps.
constexpr int kSchritte[5][3] = {{7, 0, 7}, {0, 3, 5}, {5, 2, 0}, {4, 1, 2}, {3, 4, 1}};
}  // namespace

frmAssist::frmAssist() : forms::Form("frmAssist") {
    setToolWindow(true);
    auto* l = new QVBoxLayout(this);
    Label3[0].setParent(this);
    Label3[0].setWordWrap(true);
    QFont f = Label3[0].font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    Label3[0].setFont(f);
    l->addWidget(&Label3[0]);
    Frame1.setParent(this);
    auto* g = new QGridLayout(&Frame1);
    for (int s = 0; s < 5; ++s) {
        auto& b = SSCommand1[kSchritte[s][2]];
        auto& l1 = Label1[kSchritte[s][1]];
        auto& l2 = Label2[kSchritte[s][0]];
        b.setParent(&Frame1);
        l1.setParent(&Frame1);
        l2.setParent(&Frame1);
        l2.setWordWrap(true);
        g->addWidget(&b, s * 2, 0, 2, 1);
        g->addWidget(&l1, s * 2, 1);
        g->addWidget(&l2, s * 2 + 1, 1);
    }
    l->addWidget(&Frame1);
    auto* extra = new QHBoxLayout;
    for (int i : {3, 4, 6}) {
        SSCommand1[i].setParent(this);
        extra->addWidget(&SSCommand1[i]);
    }
    extra->addStretch(1);
    l->addLayout(extra);
    Label2[6].setParent(this);
    Label2[6].setWordWrap(true);
    l->addWidget(&Label2[6]);
    Command1.setParent(this);
    l->addWidget(&Command1, 0, Qt::AlignRight);
    for (int i = 0; i < 8; ++i) SSCommand1[i].Click = [this, i] { SSCommand1_Click(i); };
    Command1.Click = [this] { Command1_Click(); };
    setKeyPreview(true);
}

void frmAssist::setupControls() {
    static const char* symbol[8] = {"Test", "Typen", "Grafik", "Bilder", "Lernen", "Person", "Hilfe", "Einführung"};
    for (int i = 0; i < 8; ++i) SSCommand1[i].setCaption(symbol[i]);
    for (auto& x : Label1) x.setForeColor(kSchwarz);
    for (auto& x : Label2) x.setForeColor(kSchwarz);
    Label2[4].setCaption("Die Ergebnisse als Diagramm betrachten");
    Frame1.setVisible(true);
}

void frmAssist::Form_Load() {
    mitFehlerfalle([this] {
        CenterForm(*this);
        setCaption(LabelTxt(16));
        Label3[0].setCaption(LabelTxt(14));
        Frame1.setCaption(LabelTxt(18));
        const std::pair<int, int> l1[] = {{0, 19}, {1, 22}, {2, 21}, {3, 20}, {4, 23}};
        for (auto [i, n] : l1) Label1[i].setCaption(LabelTxt(n));
        const std::pair<int, int> l2[] = {{7, 24}, {0, 25}, {5, 26}, {3, 27}, {6, 29}};
        for (auto [i, n] : l2) Label2[i].setCaption(LabelTxt(n));
        Command1.setCaption(LabelTxt(15));
        Label2[7].setForeColor(kDunkelblau);
        Label1[0].setForeColor(kDunkelblau);
        const std::pair<int, int> tipps[] = {{7, 41}, {5, 3}, {0, 45}, {2, 35}, {1, 39}, {6, 42}};
        for (auto [i, n] : tipps) SSCommand1[i].setToolTipText(LabelTxt(n));
        // As large as its texts need at the screen's font size, never larger than the screen.
        resize(forms::fitOnScreen(sizeHint().expandedTo(QSize(460, 0))));
        CenterForm(*this);
    });
}

void frmAssist::Form_KeyDown(int& keyCode, int) {
    if (keyCode != 112) return;
    keyCode = 0;
    mitFehlerfalle([] { ShowHelp(""); });
}

void frmAssist::SSCommand1_Click(int index) {
    setMousePointer(forms::vbHourglass);
    mitFehlerfalle([&] {
        switch (index) {
        case 0: TestDurchfuehren(); break;
        case 1: TypenbeschreibungenStarten(); break;
        case 2: GrafikauswertungAnzeigen(); break;
        case 3: ProgrammStarten("zuvscope.exe", 56, forms::vbOKOnly | forms::vbExclamation); break;
        case 4: ProgrammStarten("zuvtutor.exe", 55, forms::vbOKOnly | forms::vbExclamation); break;
        case 5: PersonendatenAnzeigen(); break;
        case 6: HilfeinhaltZeigen(); break;
        case 7: EinfuehrungstextAnzeigen(); break;
        default: break;
        }
    });
    setMousePointer(forms::vbDefault);
}

void frmAssist::Command1_Click() { setWindowState(forms::vbMinimized); }

void frmAssist::Zeigen() {
    if (isLoaded() && WindowState() == forms::vbMinimized) setWindowState(forms::vbNormal);
    // A window of its own that stays above the main window, as a tool window of it.
    Show(forms::vbModeless, forms::MdiForm::main());
}
