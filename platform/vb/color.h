#pragma once

#include <cstdint>

// Colours as the programs keep them: a Long with red in the lowest byte, then green, then blue.
namespace vb {

// Parts outside 0..255 are clamped, as the language's RGB does.
int32_t RGB(int red, int green, int blue);

// The 16 colours of the old console palette; n outside 0..15 raises 5.
int32_t QBColor(int n);

inline int Red(int32_t colour) { return colour & 0xFF; }
inline int Green(int32_t colour) { return (colour >> 8) & 0xFF; }
inline int Blue(int32_t colour) { return (colour >> 16) & 0xFF; }

}  // namespace vb
