#pragma once

#include <string>

#include <QFont>

namespace draw {

// The font family that stands for a font name of the settings on this system: the Windows
// names the settings hold ("Arial", "Times New Roman", "Courier New", "MS Sans Serif", …) map
// to the DejaVu families of the same kind; a name this system knows is used as it is.
std::string familyFor(const std::string& name);

// A QFont for a name, a size in points and the styles.
QFont makeFont(const std::string& name, double pointSize, bool bold, bool italic, bool underline = false);

}  // namespace draw
