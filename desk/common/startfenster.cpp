#include "desk/common/startfenster.h"

#include <QApplication>
#include <QThread>

int& Startfenster::wartezeit() {
    static int ms = 1000;
    return ms;
}

Startfenster::Startfenster(const std::string& name) : forms::Form(name) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    Zeit1.Tick = [this] { Zeit1_Timer(); };
}

void Startfenster::setupControls() {
    Zeit1.setEnabled(false);
    Zeit1.setInterval(wartezeit() > 0 ? wartezeit() : 1);
}

void Startfenster::starten(const std::function<void()>& einrichten) {
    m_gestartet = false;
    m_abgebrochen = false;
    try {
        einrichten();
        Shape1.setGeometry(0, 0, width(), height());
        Zeit1.setEnabled(true);
    } catch (const std::exception& e) {
        startFehler(e);
    }
}

void Startfenster::Zeit1_Timer() {
    try {
        fensterLaden();
        Zeit1.setEnabled(false);
        hauptfenster().Show();
        Hide();
        m_gestartet = true;
    } catch (const std::exception& e) {
        Zeit1.setEnabled(false);
        startFehler(e);
    }
}

void Startfenster::startFehler(const std::exception& e) {
    startFehlerZeigen(e);
    Zeit1.setEnabled(false);
    Hide();
    m_abgebrochen = true;
    // Inside the event loop the run ends here; before it, main() sees the flag and does not start it.
    if (QThread::currentThread()->loopLevel() > 0) QApplication::exit(1);
}
