#include "desk/common/druckbild.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "desk/common/globals.h"
#include "platform/draw/image_surface.h"
#include "platform/draw/picture.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace {

struct Vermerk {
    std::string datei;
    int32_t personID = 0;
    std::string stand;
};

std::map<std::string, Vermerk>& vermerke() {
    static std::map<std::string, Vermerk> v;
    return v;
}

std::map<std::string, Druckbildmacher>& macher() {
    static std::map<std::string, Druckbildmacher> m;
    return m;
}

std::map<std::string, Druckbildquelle>& quellen() {
    static std::map<std::string, Druckbildquelle> q;
    return q;
}

template <std::size_t N>
void anhaengen(std::string& text, const std::array<int16_t, N>& werte) {
    for (int16_t w : werte) text += std::to_string(w) + ',';
    text += '\n';
}

// Pixels per metre of the picture as it is printed.
int punkteProMeter(const QImage& bild, int druckBreite) {
    const double zoll = druckBreite / 1440.0;
    return static_cast<int>(std::lround(bild.width() / zoll / 0.0254));
}

}  // namespace

QImage DruckbildLeinwand(const QSizeF& logisch, double& faktor, int druckBreite) {
    const double breite = std::max(1.0, logisch.width()), hoehe = std::max(1.0, logisch.height());
    // Whole pixels for the printed width; the drawing scales to them.
    const int pixel = static_cast<int>(std::ceil(kDruckbildPpi * druckBreite / 1440.0));
    faktor = pixel / breite;
    QImage bild(pixel, std::max(1, static_cast<int>(std::ceil(hoehe * faktor))), QImage::Format_RGB32);
    bild.fill(Qt::white);
    // Fonts given in points are measured at 96 dpi, as the drawing code lays them out on the screen.
    bild.setDotsPerMeterX(3780);
    bild.setDotsPerMeterY(3780);
    return bild;
}

void DruckbildAufloesung(QImage& bild, int druckBreite) {
    const int ppm = punkteProMeter(bild, druckBreite);
    bild.setDotsPerMeterX(ppm);
    bild.setDotsPerMeterY(ppm);
}

QImage WidgetFuerDruck(QWidget& w, int druckBreite) {
    w.ensurePolished();
    double faktor = 1;
    QImage bild = DruckbildLeinwand(QSizeF(w.size().expandedTo(QSize(1, 1))), faktor, druckBreite);
    {
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.scale(faktor, faktor);
        w.render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    DruckbildAufloesung(bild, druckBreite);
    return bild;
}

QImage SeiteFuerDruck(double breite, double hoehe, double rand, const std::function<void(draw::Surface&)>& zeichnen) {
    draw::ImageSurface seite(breite, hoehe, kDruckbildPpi);
    zeichnen(seite);
    const QImage bild = seite.image().convertToFormat(QImage::Format_RGB32);
    // How far the page was drawn on: the last column and row that are not the white ground.
    const QRgb weiss = qRgb(255, 255, 255);
    int rechts = -1, unten = -1;
    for (int y = 0; y < bild.height(); ++y) {
        const auto* zeile = reinterpret_cast<const QRgb*>(bild.constScanLine(y));
        for (int x = bild.width() - 1; x > rechts; --x)
            if (zeile[x] != weiss) {
                rechts = x;
                unten = y;
                break;
            }
        if (unten != y)
            for (int x = 0; x <= rechts; ++x)
                if (zeile[x] != weiss) {
                    unten = y;
                    break;
                }
    }
    const auto pixel = [](double twips) { return static_cast<int>(twips * kDruckbildPpi / 1440.0); };
    const int b = std::min(bild.width(), std::max(rechts + 1 + pixel(rand), pixel(kDruckbildBreite)));
    const int h = std::min(bild.height(), std::max(unten + 1 + pixel(rand), pixel(rand) * 2));
    QImage zugeschnitten = bild.copy(0, 0, b, h);
    // The resolution it was drawn at: its own size on paper, whatever width that is.
    DruckbildAufloesung(zugeschnitten, static_cast<int>(std::lround(b * 1440.0 / kDruckbildPpi)));
    return zugeschnitten;
}

void DruckbildSchreiben(const draw::Picture& bild, const std::string& name) {
    try {
        draw::SavePicture(bild, gAppPath + "\\" + name);
    } catch (const vb::Error& e) {
        if (e.number() != vb::err::PathFileAccessError && e.number() != vb::err::FolderNotFound) throw;
        throw vb::Error(e.number(), DialogTxt(87) + name + DialogTxt(88) + gAppPath + DialogTxt(89));
    }
}

std::string DruckbildStand() {
    // The person as last scored: the answers changed since make other scores.
    std::string stand;
    for (const TypArray* a : {&gTypgesamtsummeJeTyp, &gTypsumme0JeTyp, &gTypsumme1JeTyp, &gTypsumme01JeTyp,
                              &gTypsumme2JeTyp, &gTypsumme3JeTyp, &gTypsumme4JeTyp, &gTypsumme34JeTyp})
        anhaengen(stand, *a);
    anhaengen(stand, gAntwortAnzahlJeTyp.flat);
    for (const std::string& name : gTypbezeichnung) stand += name + '\t';
    for (const auto& [name, quelle] : quellen()) stand += '\n' + name + '\n' + quelle();
    return stand;
}

void DruckbildquelleEintragen(const std::string& name, Druckbildquelle quelle) { quellen()[name] = std::move(quelle); }

void DruckbildVermerken(const std::string& name, const std::string& datei, int32_t personID, const std::string& stand) {
    vermerke()[name] = Vermerk{datei, personID, stand};
}

void DruckbildVergessen(const std::string& name) { vermerke().erase(name); }

bool DruckbildZeigt(const std::string& name, const std::string& datei, int32_t personID) {
    const auto it = vermerke().find(name);
    if (it == vermerke().end() || it->second.personID != personID || it->second.datei != datei) return false;
    if (it->second.stand != DruckbildStand()) return false;
    return files::FileExists(gAppPath + "\\" + name);
}

void DruckbildmacherEintragen(const std::string& name, Druckbildmacher m) { macher()[name] = std::move(m); }

Druckbildmacher DruckbildmacherFuer(const std::string& name) {
    const auto it = macher().find(name);
    return it == macher().end() ? Druckbildmacher{} : it->second;
}
