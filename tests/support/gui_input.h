#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

// Input sent straight to a widget, as a user's key or mouse would arrive.

// A key pressed and released on w.
inline void keyClick(QWidget* w, Qt::Key key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// A left click at p on w; with twice, the second click of a double click follows.
inline void mouseClick(QWidget* w, QPoint p, bool twice = false) {
    auto send = [&](QEvent::Type t) {
        QMouseEvent e(t, p, w->mapToGlobal(p), Qt::LeftButton,
                      t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    if (twice) {
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    }
}
