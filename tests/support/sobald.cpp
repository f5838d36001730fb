#include "support/sobald.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <iostream>
#include <memory>
#include <vector>

namespace support {

namespace {

struct Schritt {
    QPointer<QTimer> uhr;
    std::string was;
    std::shared_ptr<bool> vorbei;  // taken, or given up at its deadline
};

std::vector<Schritt>& offen() {
    static std::vector<Schritt> s;
    return s;
}

// Every modal window on screen, the newest first: the one the test waits in among them.
void schliesseModal() {
    QList<QWidget*> modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal()) modal.prepend(w);
    if (QWidget* w = QApplication::activeModalWidget(); w && !modal.contains(w)) modal.prepend(w);
    for (QWidget* w : modal) {
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        else w->close();
    }
}

}  // namespace

void sobald(std::string was, std::function<bool()> schritt, int fristMs) {
    auto* uhr = new QTimer;
    uhr->setInterval(5);
    auto seit = std::make_shared<QElapsedTimer>();
    seit->start();
    auto vorbei = std::make_shared<bool>(false);
    QObject::connect(uhr, &QTimer::timeout, uhr, [uhr, seit, vorbei, fristMs, was, schritt = std::move(schritt)] {
        if (seit->elapsed() > fristMs) {
            uhr->stop();
            uhr->deleteLater();
            *vorbei = true;
            const QWidget* w = QApplication::activeModalWidget();
            ADD_FAILURE() << "waited " << fristMs / 1000.0 << " s for " << was << " in vain; the modal window "
                          << (w ? "showing is a " + std::string(w->metaObject()->className()) + " \"" +
                                      w->windowTitle().toStdString() + "\""
                                : std::string("is none"));
            schliesseModal();
            return;
        }
        // Stopped before the step: a step that opens a window of its own runs that window's loop.
        uhr->stop();
        if (schritt()) {
            uhr->deleteLater();
            *vorbei = true;
            return;
        }
        uhr->start();
    });
    offen().push_back({uhr, was, vorbei});
    uhr->start();
}

void schritteVerwerfen(bool nennen) {
    for (Schritt& s : offen()) {
        if (!s.uhr) continue;
        if (!*s.vorbei && nennen) std::cerr << "note: the step waiting for " << s.was << " was never taken\n";
        delete s.uhr.data();
    }
    offen().clear();
}

}  // namespace support
