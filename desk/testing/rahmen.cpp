#include "desk/testing/rahmen.h"

#include <array>
#include <memory>

#include "desk/frame/frm_assist.h"
#include "desk/frame/frm_mdi.h"
#include "desk/frame/globals.h"
#include "desk/frame/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/forms/form.h"
#include "platform/vb/error.h"

namespace zuvtest {

namespace {

std::function<db::DataControl*(int)>& quelle() {
    static std::function<db::DataControl*(int)> q;
    return q;
}

std::array<db::DataControl, 6>& eigene() {
    static std::array<db::DataControl, 6> d;
    return d;
}

}  // namespace

db::DataControl& hauptDaten(int n) {
    if (n < 1 || n > 5) throw vb::Error(vb::err::SubscriptOutOfRange);
    if (quelle())
        if (db::DataControl* d = quelle()(n)) return *d;
    return eigene()[n];
}

void setHauptDaten(std::function<db::DataControl*(int)> q) { quelle() = std::move(q); }

RahmenAufrufe& rahmen() {
    static RahmenAufrufe r;
    return r;
}

void verbindeRahmen() {
    setHauptDaten([](int n) -> db::DataControl* {
        frmMDI& m = forms::Default<frmMDI>();
        db::DataControl* d[] = {nullptr, &m.Data1, &m.Data2, &m.Data3, &m.Data4, &m.Data5};
        return d[n];
    });
    auto& r = rahmen();
    r.EnableFileMenus = [] { ::EnableFileMenus(); };
    r.SetzeMenueStatus = [] { ::SetzeMenueStatus(); };
    r.SchliesseUnterfenster = [] { ::SchliesseUnterfenster(); };
    r.HauptfensterZeigen = [] { forms::Default<frmMDI>().Show(); };
    r.TestDurchfuehren = [] { ::TestDurchfuehren(); };
    r.AssistentFarbe = [](const std::string& label, int index, int32_t farbe) {
        frmAssist& a = forms::Default<frmAssist>();
        if (label == "Label1" && index >= 0 && index < static_cast<int>(a.Label1.size())) a.Label1[index].setForeColor(farbe);
        if (label == "Label2" && index >= 0 && index < static_cast<int>(a.Label2.size())) a.Label2[index].setForeColor(farbe);
    };
    r.AssistentNachVorn = [] {
        if (!forms::IsLoaded<frmAssist>()) return;
        frmAssist& a = forms::Instance<frmAssist>();
        if (a.Visible() && a.WindowState() == forms::vbNormal) a.Show();
    };
}

void trenneRahmen() {
    setHauptDaten(nullptr);
    rahmen() = RahmenAufrufe{};
}

void rufe(const std::function<void()>& f) {
    if (f) f();
}

void fehlerBox(const std::exception& e) { ShowErrorMessage(e); }

void assistentSchritt(std::initializer_list<std::pair<const char*, int>> hervorgehoben, int32_t farbe) {
    auto& f = rahmen().AssistentFarbe;
    if (!f) return;
    static const std::array<std::pair<const char*, int>, 10> alle{{{"Label2", 7}, {"Label1", 0}, {"Label2", 0},
                                                                    {"Label1", 3}, {"Label2", 5}, {"Label1", 2},
                                                                    {"Label2", 4}, {"Label1", 1}, {"Label2", 3},
                                                                    {"Label1", 4}}};
    for (const auto& [label, index] : alle) {
        bool hell = false;
        for (const auto& [l, i] : hervorgehoben) hell = hell || (std::string(l) == label && i == index);
        f(label, index, hell ? farbe : kSchwarz);
    }
}

void hauptfensterTitel(const std::string& titel) {
    if (hauptfenster()) hauptfenster()->setMainCaption(titel);
}

}  // namespace zuvtest
