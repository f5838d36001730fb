#include "desk/testing/rahmen.h"

#include <array>
#include <memory>

#include "desk/frame/globals.h"
#include "platform/db/data_control.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/screen.h"
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

std::string labelOder(int n, const char* ersatz) {
    try {
        return LabelTxt(n);
    } catch (...) {
        return ersatz;
    }
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

void zentrieren(forms::Form& f) {
    f.setTop((forms::Screen::Height() - f.Height()) / 2);
    f.setLeft((forms::Screen::Width() - f.Width()) / 2);
}

void hilfe(const std::string& topic) {
    if (rahmen().ShowHelp) rahmen().ShowHelp(topic);
}

void rufe(const std::function<void()>& f) {
    if (f) f();
}

void fehlerBox(const std::exception& e) {
    int nummer = 0;
    std::string text = e.what();
    if (const auto* v = dynamic_cast<const vb::Error*>(&e)) {
        if (v->number() == vb::err::CancelError) return;
        nummer = v->number();
        text = v->description();
    }
    forms::MsgBox(labelOder(363, "Folgender Fehler ist aufgetreten:") + "\r\n\r\n" + text + "\r\n" +
                      labelOder(364, "Nummer:") + " " + std::to_string(nummer),
                  forms::vbOKOnly, "");
}

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

}  // namespace zuvtest
