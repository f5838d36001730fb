#pragma once

// Exchange bitmaps: the pictures the result windows leave in the data folder for the report and
// the print menu ("ZUVAktuelleSeite.bmp", "ZUVTabelle.bmp", "ZUVEnneagramm.bmp"). The caller draws
// them off screen, into a persistent image or by a control painting itself, never from screen
// pixels, so a covered, scrolled or minimised window gives the whole picture.

#include <cstdint>
#include <functional>
#include <string>

class QImage;
class QWidget;

namespace draw {
class Picture;
}

// gAppPath & "\" & name: the file of that name in the data folder.
std::string AustauschbildPfad(const std::string& name);

// Writes the picture as a Windows bitmap (24 bits) into the data folder, replacing the file.
// A missing folder (76) or one that cannot be written (75) raises the error with a dialog text
// that names the file and the folder.
void AustauschbildSchreiben(const draw::Picture& bild, const std::string& name);
void AustauschbildSchreiben(const QImage& bild, const std::string& name);

// What a result window does when it is activated: its widget `bild`, drawn off screen for print
// (or the picture `zeichnen` draws), becomes the bitmap `name`, noted as the window's person's and
// as drawn from the sources as they stood when the window drew its figure (`stand`, see
// DruckbildStand), but only while the window's person is the current one (a window activated while
// the windows close for the next person must not leave its picture in that person's report). A
// bitmap that cannot be written is said once per window (`gemeldet`) in the standard error box,
// its reason followed by `folge`; the window goes on showing.
void AustauschbildNachfuehren(QWidget& bild, const std::string& name, int32_t personID, const std::string& stand,
                              bool& gemeldet, const std::string& folge);
void AustauschbildNachfuehren(const std::function<QImage()>& zeichnen, const std::string& name, int32_t personID,
                              const std::string& stand, bool& gemeldet, const std::string& folge);

// A bitmap of that name lies in the data folder.
bool AustauschbildVorhanden(const std::string& name);

// The widget with its child controls as it paints itself, at its own size, on a white ground:
// drawn off screen, whether the widget is covered, scrolled away or hidden.
QImage zeichneAbseits(QWidget& w);

// Another loaded window of the name `fensterName` than `ausser` is open.
bool anderesFensterOffen(const std::string& fensterName, const QWidget* ausser);
