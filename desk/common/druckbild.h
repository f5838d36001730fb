#pragma once

// The report's figures (enneagram, the three charts, the answer table) as the result windows and
// the report leave them in the data folder: drawn for print, by the figure's own drawing code at
// print resolution, and noted with the person they show, so that the report never places a
// picture of another person and makes a missing one itself.

#include <cstdint>
#include <functional>
#include <string>

#include <QImage>
#include <QSizeF>

class QWidget;

namespace draw {
class Picture;
class Surface;
}  // namespace draw

// The width a figure takes on the report's sheet: the printable width of its A4 page, in twips.
inline constexpr int kDruckbildBreite = 9638;
// Pixels per inch of a figure at that width.
inline constexpr int kDruckbildPpi = 240;

// A white picture for a figure laid out at `logisch` (pixels of 96 dpi, the unit its drawing code
// lays out in) that holds kDruckbildPpi pixels per inch when it is printed `druckBreite` twips
// wide. `faktor` is the scale the drawing code's painter takes.
QImage DruckbildLeinwand(const QSizeF& logisch, double& faktor, int druckBreite = kDruckbildBreite);
// The picture marked with the resolution it is drawn for, once it is drawn.
void DruckbildAufloesung(QImage& bild, int druckBreite = kDruckbildBreite);

// The widget with its child controls as it paints itself, laid out at its own size and drawn at
// print resolution (texts and lines drawn anew, not enlarged pixels), whether it is shown or not.
QImage WidgetFuerDruck(QWidget& w, int druckBreite = kDruckbildBreite);

// A page of the print model (texts and lines in twips, as the evaluation pages draw them), drawn by
// `zeichnen` on a page of `breite` x `hoehe` twips at print resolution: texts and lines drawn for
// paper, not enlarged pixels. The picture ends a margin (`rand` twips, the page's own left margin)
// after the last thing drawn, to the right and below; it is at least the sheet's printable width
// wide, so that on the sheet a page narrower than that keeps the size it was laid out in. The
// picture notes its resolution: its size on paper is the size it was drawn in.
QImage SeiteFuerDruck(double breite, double hoehe, double rand, const std::function<void(draw::Surface&)>& zeichnen);

// Writes the picture as a Windows bitmap (24 bits) as `name` into the data folder, replacing the
// file. A missing folder (76) or one that cannot be written (75) raises the error with a dialog text
// that names the file and the folder.
void DruckbildSchreiben(const draw::Picture& bild, const std::string& name);

// What a figure is drawn from besides its data file and person, as one text: the person's scores
// and the type designations of the naming scheme, and what each layer that owns another source
// enters (the chart options and colours, the symbol picture). Two equal texts draw equal figures.
std::string DruckbildStand();
// A layer enters, under a name of its own, a step that describes the present state of its sources.
using Druckbildquelle = std::function<std::string()>;
void DruckbildquelleEintragen(const std::string& name, Druckbildquelle quelle);

// The data file and person the picture `name` in the data folder shows, and the state of the
// sources it was drawn from (DruckbildStand() when it was drawn): noted by whoever writes it. The
// notes last while the program runs; a file of an earlier run shows nobody known.
void DruckbildVermerken(const std::string& name, const std::string& datei, int32_t personID, const std::string& stand);
void DruckbildVergessen(const std::string& name);
// The picture lies in the data folder, shows that person of that data file, and was drawn from the
// sources as they are now: nothing it was drawn from changed since.
bool DruckbildZeigt(const std::string& name, const std::string& datei, int32_t personID);

// Makers: the layer that owns a figure's drawing code enters, under the picture's name, a step that
// draws the figure of the current person off screen, with the stored settings its window uses, and
// writes the picture into the data folder; a failure raises vb::Error with a German text. A maker
// draws the person as last scored: whoever asks for the figure has scored the person once before.
using Druckbildmacher = std::function<void()>;
void DruckbildmacherEintragen(const std::string& name, Druckbildmacher macher);
// The maker of that picture, or an empty one.
Druckbildmacher DruckbildmacherFuer(const std::string& name);
