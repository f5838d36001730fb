#pragma once

// Exchange bitmaps: the pictures of the result windows that the printed report places and the
// print menu looks for in the data folder ("ZUVTabelle.bmp", "ZUVEnneagramm.bmp", …). A window
// draws them off screen, never from the pixels on the screen, so a covered, scrolled, minimised or
// half visible window gives the same picture as one in full view.

#include <QImage>

#include <string>

class QWidget;

// The widget with its child controls as it paints itself, at its own size, on a white ground.
QImage zeichneAbseits(QWidget& w);

// gAppPath & "\" & name.
std::string austauschbildPfad(const std::string& name);

// Writes the picture as a Windows bitmap into the data folder, replacing the file of that name in
// one step (a reader never sees half a file). vb::Error 76 when the data folder is missing, 75
// when the file cannot be written.
void AustauschbildSchreiben(const QImage& bild, const std::string& name);

// A bitmap of that name lies in the data folder.
bool austauschbildVorhanden(const std::string& name);

// Whether another loaded window of the name `fensterName` than `ausser` is open.
bool anderesFensterOffen(const std::string& fensterName, const QWidget* ausser);
