#pragma once

#include <string>

#include <QFont>

namespace draw {

// The font family that stands for a font name of the settings on this system: the Windows
// names the settings hold ("Arial", "Times New Roman", "Courier New", "MS Sans Serif", …) map
// to installed faces of the same widths (Nimbus Sans, Roman, Mono PS; DejaVu without them); a
// name this system knows is used as it is.
std::string familyFor(const std::string& name);

// A QFont for a name, a size in points and the styles.
QFont makeFont(const std::string& name, double pointSize, bool bold, bool italic, bool underline = false);

// Lets the window system draw the Windows font names in the faces the pages print them in, so a
// window shows a text as the printout does. Every window calls it as it is made; only the first
// call does the work.
void installFontSubstitutes();

}  // namespace draw
