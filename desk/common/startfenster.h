#pragma once

// The splash window both programs start through: its Form_Load sets the program up, and one tick
// of its timer, a wait later, shows the main window. A start that fails says why and ends the
// program instead of leaving the splash on the screen.

#include <exception>
#include <functional>
#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Startfenster : public forms::Form {
public:
    forms::Shape Shape1;
    forms::Timer Zeit1;

    void setupControls() override;
    void Form_Resize() override { Shape1.setGeometry(0, 0, width(), height()); }
    void Zeit1_Timer();

    // The splash's wait before the main window; tests and the start-up benchmarks shorten it.
    static int& wartezeit();
    // Whether the last start ran through to the main window.
    bool gestartet() const { return m_gestartet; }
    // Whether the start failed (the message was shown; the program is to end).
    bool abgebrochen() const { return m_abgebrochen; }

protected:
    explicit Startfenster(const std::string& name);
    // The program's set-up, run by its Form_Load; the timer starts when it ran through.
    void starten(const std::function<void()>& einrichten);
    // Loads the windows the program keeps hidden from the start on.
    virtual void fensterLaden() = 0;
    virtual forms::Form& hauptfenster() = 0;
    // What the person is told when the start fails.
    virtual void startFehlerZeigen(const std::exception& e) = 0;

private:
    void startFehler(const std::exception& e);
    bool m_gestartet = false;
    bool m_abgebrochen = false;
};
