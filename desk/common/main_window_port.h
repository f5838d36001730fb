#pragma once

// What the shared procedures touch of a program's main window: the status line, the Edit and
// Window menus, the arrangement of the child windows and the caption. Each program's main window
// registers itself, so the shared code does not depend on one main window class.

#include <string>

namespace forms {
class CommonDialog;
}

class Hauptfenster {
public:
    virtual ~Hauptfenster() = default;
    virtual void setStatusCaption(const std::string& text) = 0;
    virtual void setEditAndWindowMenusVisible(bool visible) = 0;
    virtual void arrangeChildren(int arrangement) = 0;
    virtual void setMainCaption(const std::string& caption) = 0;
    // The one common dialog of the main window, shared by every file, font, colour and printer dialog.
    virtual forms::CommonDialog& commonDialog() = 0;
    // The start assistant after the settings were stored: shown when on, unloaded when off.
    virtual void assistentNachEinstellungen(bool an) { (void)an; }
    // The settings window closed: the assistant takes the focus when it is showing normally.
    virtual void assistentFokus() {}
};

// nullptr before a main window exists (start-up, tests of single windows).
Hauptfenster* hauptfenster();
void setHauptfenster(Hauptfenster* h);

// The main window's common dialog, or one of the program's own while there is no main window.
forms::CommonDialog& gemeinsamerDialog();
