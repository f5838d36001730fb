#include "platform/host/screen_area.h"

#include <QGuiApplication>
#include <QScreen>

namespace forms {

QSize fitOnScreen(const QSize& designed) {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return designed;
    // The frame the window manager adds is not known before the window is shown: room for a
    // usual title bar and border.
    const QSize frame(16, 40);
    return designed.boundedTo(s->availableGeometry().size() - frame).expandedTo(QSize(200, 150));
}

}  // namespace forms
