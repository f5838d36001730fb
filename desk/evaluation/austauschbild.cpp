#include "desk/evaluation/austauschbild.h"

#include <QPainter>
#include <QWidget>

#include "desk/common/globals.h"
#include "platform/draw/picture.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"

QImage zeichneAbseits(QWidget& w) {
    w.ensurePolished();
    QImage bild(w.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    bild.fill(Qt::white);
    // 96 dpi in the file whatever the screen: the report sizes the picture by it.
    bild.setDotsPerMeterX(3780);
    bild.setDotsPerMeterY(3780);
    QPainter p(&bild);
    w.render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return bild;
}

std::string austauschbildPfad(const std::string& name) { return gAppPath + "\\" + name; }

void AustauschbildSchreiben(const QImage& bild, const std::string& name) {
    draw::SavePicture(draw::Picture::fromImage(bild), austauschbildPfad(name));
}

bool austauschbildVorhanden(const std::string& name) { return files::FileExists(austauschbildPfad(name)); }

bool anderesFensterOffen(const std::string& fensterName, const QWidget* ausser) {
    for (forms::Form* f : forms::Forms())
        if (f != ausser && f->isLoaded() && f->Name() == fensterName) return true;
    return false;
}
