#include "desk/evaluation/austauschbild.h"

#include <QImage>

#include "desk/common/globals.h"
#include "platform/draw/picture.h"
#include "platform/vb/error.h"

std::string AustauschbildPfad(const std::string& name) { return gAppPath + "\\" + name; }

void AustauschbildSchreiben(const draw::Picture& bild, const std::string& name) {
    try {
        draw::SavePicture(bild, AustauschbildPfad(name));
    } catch (const vb::Error& e) {
        if (e.number() != 75 && e.number() != 76) throw;
        throw vb::Error(e.number(), "Das Bild \"" + name + "\" kann nicht im Datenordner \"" + gAppPath +
                                        "\" gespeichert werden. Bitte prüfen Sie, ob der Ordner vorhanden ist "
                                        "und Sie darin schreiben dürfen.");
    }
}

void AustauschbildSchreiben(const QImage& bild, const std::string& name) {
    AustauschbildSchreiben(draw::Picture::fromImage(bild), name);
}
