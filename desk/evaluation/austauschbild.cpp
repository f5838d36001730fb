#include "desk/evaluation/austauschbild.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "desk/common/druckbild.h"
#include "desk/common/globals.h"
#include "platform/draw/picture.h"
#include "platform/files/paths.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/vb/error.h"

std::string AustauschbildPfad(const std::string& name) { return gAppPath + "\\" + name; }

void AustauschbildSchreiben(const draw::Picture& bild, const std::string& name) { DruckbildSchreiben(bild, name); }

void AustauschbildSchreiben(const QImage& bild, const std::string& name) {
    AustauschbildSchreiben(draw::Picture::fromImage(bild), name);
}

void AustauschbildNachfuehren(QWidget& bild, const std::string& name, int32_t personID, const std::string& stand,
                              bool& gemeldet, const std::string& folge) {
    AustauschbildNachfuehren([&bild] { return WidgetFuerDruck(bild); }, name, personID, stand, gemeldet, folge);
}

void AustauschbildNachfuehren(const std::function<QImage()>& zeichnen, const std::string& name, int32_t personID,
                              const std::string& stand, bool& gemeldet, const std::string& folge) {
    if (gAktPersonID != personID) return;
    try {
        AustauschbildSchreiben(zeichnen(), name);
        DruckbildVermerken(name, gDatenbankName, personID, stand);
    } catch (const vb::Error& e) {
        // Every change between windows activates the window again.
        if (gemeldet) return;
        gemeldet = true;
        ShowErrorMessage(vb::Error(e.number(), e.description() + gCrLf + gCrLf + folge));
    }
}

bool AustauschbildVorhanden(const std::string& name) { return files::FileExists(AustauschbildPfad(name)); }

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

bool anderesFensterOffen(const std::string& fensterName, const QWidget* ausser) {
    for (forms::Form* f : forms::Forms())
        if (f != ausser && f->isLoaded() && f->Name() == fensterName) return true;
    return false;
}
