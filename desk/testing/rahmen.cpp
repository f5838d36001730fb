#include "desk/testing/rahmen.h"

#include <array>
#include <memory>

#include "desk/common/globals.h"
#include "platform/db/data_control.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/keys.h"
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

void trenneRahmen() {
    setHauptDaten(nullptr);
    rahmen() = RahmenAufrufe{};
}

db::Recordset& satz(db::DataControl& d) {
    auto rs = d.Recordset();
    if (!rs) throw vb::Error(vb::err::ObjectNotSet);
    return *rs;
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
    if (rahmen().setMainCaption) rahmen().setMainCaption(titel);
}

void hilfe(const std::string& topic) {
    if (rahmen().ShowHelp) rahmen().ShowHelp(topic);
}

}  // namespace zuvtest
