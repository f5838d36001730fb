#pragma once

// What the test administration uses of the main window. The shared procedures of globals.h
// (error box, centring, status line) are called directly. The main window's cursors
// Data1..Data5, its menu states, caption and the start assistant are reached through the hooks
// below, which the main window sets when it is made; until then (and in tests of single windows)
// the test administration keeps cursors of its own and the menu calls do nothing, so no window
// loads the main window behind the caller's back.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace db {
class DataControl;
class Recordset;
}
namespace forms {
class CommandButton;
class Form;
}

namespace zuvtest {

// Data1 .. Data5 of the main window.
db::DataControl& hauptDaten(int n);
void setHauptDaten(std::function<db::DataControl*(int)> quelle);

struct RahmenAufrufe {
    std::function<void()> EnableFileMenus;
    std::function<void()> SetzeMenueStatus;
    std::function<void()> SchliesseUnterfenster;
    std::function<void()> UpdateMainCaption;
    std::function<void()> HauptfensterZeigen;
    // Fore colour of one of the start assistant's step labels ("Label1" or "Label2", index).
    std::function<void(const std::string& label, int index, int32_t farbe)> AssistentFarbe;
    // The assistant window is showing in its normal state: bring it forward.
    std::function<void()> AssistentNachVorn;
    // Opens the test form at statement 1 (the main window's command); when unset the test
    // administration shows its own test form.
    std::function<void()> TestDurchfuehren;
    std::function<void(const std::string& topic)> ShowHelp;
    // The main window's caption without a person ("Z.U.V. 5.0").
    std::function<void(const std::string&)> setMainCaption;
};
RahmenAufrufe& rahmen();

// Lets go of the main window's hooks (tests).
void trenneRahmen();

// Help topic through the main window's help, when it is there.
void hilfe(const std::string& topic);

// The recordset of a bound data control; 91 when the control is not bound.
db::Recordset& satz(db::DataControl& d);

// Calls one of the hooks above when it is set.
void rufe(const std::function<void()>& f);

// The standard error box (ShowErrorMessage).
void fehlerBox(const std::exception& e);

// Runs an event handler's body with the standard error box as its trap.
template <class F>
void mitFalle(F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        fehlerBox(e);
    }
}

inline constexpr int32_t kSchwarz = 0x000000;
inline constexpr int32_t kDunkelblau = 0xAA0000;  // RGB(0, 0, 170)
inline constexpr int32_t kGelb = 0x00FFFF;        // QBColor(14)

// Colours the assistant's step labels: the given (label, index) pairs get `farbe`, the rest of
// the ten step labels black.
void assistentSchritt(std::initializer_list<std::pair<const char*, int>> hervorgehoben, int32_t farbe);

// The main window's caption without a person.
void hauptfensterTitel(const std::string& titel);

}  // namespace zuvtest
