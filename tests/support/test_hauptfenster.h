#pragma once

// A main window for tests of single windows: it stands behind the port while it lives and
// records what the windows below asked of it.

#include <string>
#include <vector>

#include "desk/common/main_window_port.h"
#include "platform/forms/common_dialog.h"

namespace support {

class TestHauptfenster : public Hauptfenster {
public:
    TestHauptfenster() { setHauptfenster(this); }
    ~TestHauptfenster() override {
        if (hauptfenster() == this) setHauptfenster(nullptr);
    }
    TestHauptfenster(const TestHauptfenster&) = delete;
    TestHauptfenster& operator=(const TestHauptfenster&) = delete;

    void setStatusCaption(const std::string& text) override { status.push_back(text); }
    void setMainCaption(const std::string& caption) override { titel.push_back(caption); }
    void setEditAndWindowMenusVisible(bool) override {}
    void arrangeChildren(int) override {}
    forms::CommonDialog& commonDialog() override { return dialog; }
    void enableFileMenus() override { ++dateiMenues; }
    void setzeMenueStatus() override { ++menueStatus; }
    void schliesseUnterfenster() override { ++unterfensterZu; }

    std::vector<std::string> status, titel;
    int dateiMenues = 0, menueStatus = 0, unterfensterZu = 0;
    forms::CommonDialog dialog;
};

}  // namespace support
