#pragma once

// Keys typed on the keyboard: press and release enter through the window system, so that Qt routes
// them as it routes a person's keys (to an open drop-down list first, otherwise to the focus).

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace support {

// The window that the keyboard types into: the active top-level window.
inline QWindow* tastaturFenster() {
    if (QWindow* w = QGuiApplication::focusWindow()) return w;
    QWidget* aktiv = QApplication::activeWindow();
    if (!aktiv && QApplication::focusWidget()) aktiv = QApplication::focusWidget()->window();
    return aktiv ? aktiv->windowHandle() : nullptr;
}

inline void tippe(Qt::Key key) {
    QWindow* fenster = tastaturFenster();
    QTest::keyPress(fenster, key);
    QApplication::processEvents();
    // A window closed by the press hands the keyboard back to the window it stood over.
    QWindow* danach = tastaturFenster();
    if (!danach) danach = fenster->isVisible() || !fenster->transientParent() ? fenster : fenster->transientParent();
    QTest::keyRelease(danach, key);
    QApplication::processEvents();
}

// Opens the list of a combo box as a click on its arrow does; true when it is open.
inline bool listeOeffnen(QComboBox& box) {
    box.setFocus();
    box.showPopup();
    QApplication::processEvents();
    return QApplication::activePopupWidget() != nullptr && box.view()->isVisible();
}

}  // namespace support
